// SPDX-License-Identifier: MIT
#include "korvac/process/SCA_SrvProcessView.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QSignalBlocker>
#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

#include "korvac/kit/SCA_ListLook.h"
#include "libvop/SCA_EmptyHint.h"
#include "libvop/SCA_IconEngine.h"
#include "model/SCA_TezCounterMeta.h"
#include "model/SCA_TezRepStatus.h"
#include "model/SCA_TezVocabulary.h"

namespace {

constexpr int kIdRole = Qt::UserRole;
constexpr uint32_t kValueTextSize = 256;

QString ValueText(uint32_t counterType, double value, bool valid) {
    if (!valid) {
        return QStringLiteral("---");
    }
    char text[kValueTextSize] = "";
    SCA_TezBuildValueString(counterType, value, text, sizeof(text), 0);
    return QString::fromLatin1(text);
}

const char* RepStatusIcon(uint32_t repStatus) {
    switch (repStatus) {
    case SCA_REP_STATUS_WARNING:
        return ":/images/app_warning_16px.png";
    case SCA_REP_STATUS_ERROR:
        return ":/images/app_error_16px.png";
    default:
        return ":/images/app_16px.png";
    }
}

// The whole numbers of a row, by column.
struct CountColumn {
    int Column;
    uint32_t SCA_ProcessStatusRecord::*Value;
};
constexpr CountColumn kCountColumns[] = {
    {SCA_PROC_COL_INSTANCES, &SCA_ProcessStatusRecord::InstanceCount},
    {SCA_PROC_COL_ERRORS, &SCA_ProcessStatusRecord::Errors},
    {SCA_PROC_COL_WARNINGS, &SCA_ProcessStatusRecord::Warnings},
};

// The measures of a row in the order of the record's valid bits, each with its column and the
// counter type that formats it.
struct MeasureColumn {
    int Column;
    uint32_t CounterType;
    double SCA_ProcessStatusRecord::*Value;
};
constexpr MeasureColumn kMeasureColumns[] = {
    {SCA_PROC_COL_CPU, SCA_COUNTER_PROCESS_CPU_USAGE, &SCA_ProcessStatusRecord::CpuUsage},
    {SCA_PROC_COL_MEMORY, SCA_COUNTER_PROCESS_MEM_USED, &SCA_ProcessStatusRecord::MemoryUsage},
    {SCA_PROC_COL_THREADS, SCA_COUNTER_PROCESS_THREADS, &SCA_ProcessStatusRecord::Threads},
    {SCA_PROC_COL_HANDLES, SCA_COUNTER_PROCESS_HANDLES, &SCA_ProcessStatusRecord::Handles},
};

} // namespace

SCA_SrvProcessView::SCA_SrvProcessView(QWidget* parent) : QTreeWidget(parent) {
    SCA_ListLook::Apply(this);
    setColumnCount(SCA_PROC_COLUMNS);
    setHeaderLabels({QString(), QStringLiteral("Process"), QStringLiteral("Instances"),
                     QStringLiteral("CPU"), QStringLiteral("Memory"), QStringLiteral("Threads"),
                     QStringLiteral("Handles"), QStringLiteral("Errors"),
                     QStringLiteral("Warnings")});
    constexpr int kWidths[] = {24, 222, 68, 82, 82, 82, 82, 82, 82};
    for (int column = 0; column < static_cast<int>(std::size(kWidths)); ++column) {
        setColumnWidth(column, kWidths[column]);
    }
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
}

uint32_t SCA_SrvProcessView::ProcessIdOf(const QTreeWidgetItem* item) {
    return item != nullptr ? item->data(SCA_PROC_COL_ICON, kIdRole).toUInt() : 0;
}

bool SCA_SrvProcessView::FillRow(QTreeWidgetItem* item, const SCA_ProcessStatusRecord& record,
                                 bool created) {
    if (created) {
        item->setData(SCA_PROC_COL_ICON, kIdRole, record.ProcessId);
    }
    auto [found, first] = m_Shown.try_emplace(record.ProcessId, ShownRow{item, record});
    if (created || first) {
        found->second = ShownRow{item, record};
        WriteCells(item, nullptr, record);
        return true;
    }
    found->second.Item = item;
    return WriteCells(item, &found->second.Record, record);
}

bool SCA_SrvProcessView::WriteCells(QTreeWidgetItem* item, SCA_ProcessStatusRecord* shown,
                                    const SCA_ProcessStatusRecord& record) {
    bool moved = false;
    // A process id the system gave again to another program keeps its row, not its name.
    if (shown == nullptr || std::strcmp(shown->Name, record.Name) != 0) {
        item->setText(SCA_PROC_COL_NAME, QString::fromUtf8(record.Name));
        moved = true;
    }
    if (shown == nullptr || shown->RepStatus != record.RepStatus) {
        item->setIcon(SCA_PROC_COL_ICON,
                      SCA_IconEngine::Load(QString::fromLatin1(RepStatusIcon(record.RepStatus))));
        item->setData(SCA_PROC_COL_NAME, kIdRole, record.RepStatus);
        moved = true;
    }
    for (const CountColumn& count : kCountColumns) {
        if (shown == nullptr || shown->*count.Value != record.*count.Value) {
            item->setText(count.Column, QString::number(record.*count.Value));
            moved = true;
        }
    }
    for (uint32_t measure = 0; measure < std::size(kMeasureColumns); ++measure) {
        const MeasureColumn& column = kMeasureColumns[measure];
        const bool valid = ((record.MeasureValid >> measure) & 1u) != 0;
        if (shown == nullptr ||
            ((shown->MeasureValid ^ record.MeasureValid) >> measure & 1u) != 0 ||
            shown->*column.Value != record.*column.Value) {
            item->setText(column.Column,
                          ValueText(column.CounterType, record.*column.Value, valid));
            moved = true;
        }
    }
    if (moved && shown != nullptr) {
        *shown = record;
    }
    return moved;
}

void SCA_SrvProcessView::ForgetGone(const SCA_ProcessStatusRecords& records) {
    std::erase_if(m_Shown,
                  [&records](const auto& shown) { return records.Find(shown.first) == nullptr; });
}

void SCA_SrvProcessView::UpdateRows(const SCA_ProcessStatusRecords& records) {
    const int first = VisibleRow(viewport()->rect().topLeft(), 0);
    const int last = VisibleRow(viewport()->rect().bottomLeft(), topLevelItemCount() - 1);
    std::vector<const QTreeWidgetItem*> onScreen;
    for (int index = first; index <= last; ++index) {
        onScreen.push_back(topLevelItem(index));
    }
    bool paint = false;
    {
        // The view would look up the place of every changed cell, thousands a second: the
        // rows on screen are all it paints.
        const QSignalBlocker quiet(model());
        for (size_t index = 0; index < records.Count(); ++index) {
            const SCA_ProcessStatusRecord& record = records.At(index);
            const auto found = m_Shown.find(record.ProcessId);
            if (found != m_Shown.end() &&
                WriteCells(found->second.Item, &found->second.Record, record)) {
                paint = paint || std::find(onScreen.begin(), onScreen.end(), found->second.Item) !=
                                     onScreen.end();
            }
        }
    }
    if (paint) {
        emit model()->dataChanged(model()->index(first, 0),
                                  model()->index(last, SCA_PROC_COLUMNS - 1));
    }
}

int SCA_SrvProcessView::VisibleRow(const QPoint& point, int outside) const {
    const QModelIndex index = indexAt(point);
    return index.isValid() ? index.row() : outside;
}

void SCA_SrvProcessView::contextMenuEvent(QContextMenuEvent* event) {
    emit MenuAsked(event);
    event->accept();
}

void SCA_SrvProcessView::paintEvent(QPaintEvent* event) {
    QTreeWidget::paintEvent(event);
    SCA_PaintEmptyHint(this, QStringLiteral("No processes: the monitor is not running."));
}
