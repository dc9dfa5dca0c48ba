// SPDX-License-Identifier: MIT
#include "libvop/SCA_ListView.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>
#include <QTreeWidget>
#include <algorithm>

void SCA_SetupListView(QTreeWidget* view, const QStringList& labels, const int* widths) {
    view->setColumnCount(static_cast<int>(labels.size()));
    view->setHeaderLabels(labels);
    for (int column = 0; column < labels.size(); ++column) {
        view->setColumnWidth(column, widths[column]);
    }
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->header()->setSectionsMovable(false);
}

namespace {

void Widen(QTreeWidget* view, int column) {
    const int width = view->columnWidth(column);
    view->resizeColumnToContents(column);
    view->setColumnWidth(column, std::max(width, view->columnWidth(column)));
}

} // namespace

void SCA_FitColumnsToContents(QTreeWidget* view) {
    for (int column = 0; column < view->columnCount(); ++column) {
        Widen(view, column);
    }
}

void SCA_FitColumnsToText(QTreeWidget* view, const QTreeWidgetItem* row, int first, int last) {
    const QFontMetrics metrics(view->font());
    // The cell's padding and a margin: what resizeColumnToContents adds to the text.
    const int padding =
        2 * view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) +
        metrics.averageCharWidth();
    for (int column = first; column <= last && column < view->columnCount(); ++column) {
        if (metrics.horizontalAdvance(row->text(column)) + padding > view->columnWidth(column)) {
            Widen(view, column);
        }
    }
}
