// SPDX-License-Identifier: MIT
#include "libvop/SCA_ListView.h"

#include <QHeaderView>
#include <QTreeWidget>

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
