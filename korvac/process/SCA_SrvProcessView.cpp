// SPDX-License-Identifier: MIT
#include "korvac/process/SCA_SrvProcessView.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <iterator>

#include "korvac/kit/SCA_ListLook.h"
#include "korvac/process/SCA_ProcessStatusRecords.h"
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

void SetText(QTreeWidgetItem* item, int column, const QString& text) {
    // Unchanged cells stay untouched: a repaint of thousands of rows each second is the cost.
    if (item->text(column) != text) {
        item->setText(column, text);
    }
}

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

void SCA_SrvProcessView::FillRow(QTreeWidgetItem* item, const SCA_ProcessStatusRecord& record,
                                 bool created) {
    if (created) {
        item->setData(SCA_PROC_COL_ICON, kIdRole, record.ProcessId);
    }
    // A process id the system gave again to another program keeps its row, not its name.
    SetText(item, SCA_PROC_COL_NAME, QString::fromUtf8(record.Name));
    const QVariant shown = item->data(SCA_PROC_COL_NAME, kIdRole);
    if (created || !shown.isValid() || shown.toUInt() != record.RepStatus) {
        item->setIcon(SCA_PROC_COL_ICON,
                      SCA_IconEngine::Load(QString::fromLatin1(RepStatusIcon(record.RepStatus))));
        item->setData(SCA_PROC_COL_NAME, kIdRole, record.RepStatus);
    }
    const auto valid = [&](uint32_t measure) { return (record.MeasureValid >> measure) & 1u; };
    SetText(item, SCA_PROC_COL_INSTANCES, QString::number(record.InstanceCount));
    SetText(item, SCA_PROC_COL_CPU,
            ValueText(SCA_COUNTER_PROCESS_CPU_USAGE, record.CpuUsage, valid(0)));
    SetText(item, SCA_PROC_COL_MEMORY,
            ValueText(SCA_COUNTER_PROCESS_MEM_USED, record.MemoryUsage, valid(1)));
    SetText(item, SCA_PROC_COL_THREADS,
            ValueText(SCA_COUNTER_PROCESS_THREADS, record.Threads, valid(2)));
    SetText(item, SCA_PROC_COL_HANDLES,
            ValueText(SCA_COUNTER_PROCESS_HANDLES, record.Handles, valid(3)));
    SetText(item, SCA_PROC_COL_ERRORS, QString::number(record.Errors));
    SetText(item, SCA_PROC_COL_WARNINGS, QString::number(record.Warnings));
}

void SCA_SrvProcessView::contextMenuEvent(QContextMenuEvent* event) {
    emit MenuAsked(event);
    event->accept();
}

void SCA_SrvProcessView::paintEvent(QPaintEvent* event) {
    QTreeWidget::paintEvent(event);
    SCA_PaintEmptyHint(this, QStringLiteral("No processes: the monitor is not running."));
}
