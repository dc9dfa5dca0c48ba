// SPDX-License-Identifier: MIT
#include "korvac/process/SCA_SrvProcessView.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QSignalBlocker>
#include <algorithm>
#include <vector>

#include "korvac/kit/SCA_ListLook.h"
#include "korvac/process/SCA_ProcessRowItem.h"
#include "libvop/SCA_EmptyHint.h"

namespace {

constexpr int kIdRole = Qt::UserRole;

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

QTreeWidgetItem* SCA_SrvProcessView::MakeRow() {
    return new SCA_ProcessRowItem();
}

bool SCA_SrvProcessView::FillRow(QTreeWidgetItem* item, const SCA_ProcessStatusRecord& record,
                                 bool created) {
    auto* row = dynamic_cast<SCA_ProcessRowItem*>(item);
    if (row == nullptr) {
        return false;
    }
    if (created) {
        item->setData(SCA_PROC_COL_ICON, kIdRole, record.ProcessId);
    }
    m_Shown[record.ProcessId] = row;
    return row->Show(record);
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
        // A row whose report status moved sets its icon through the model, which would look up
        // the row's place each time: the rows on screen are all the view paints.
        const QSignalBlocker quiet(model());
        for (size_t index = 0; index < records.Count(); ++index) {
            const SCA_ProcessStatusRecord& record = records.At(index);
            const auto found = m_Shown.find(record.ProcessId);
            if (found != m_Shown.end() && found->second->Show(record)) {
                paint = paint || std::find(onScreen.begin(), onScreen.end(), found->second) !=
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
