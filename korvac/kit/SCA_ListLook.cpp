// SPDX-License-Identifier: MIT
#include "korvac/kit/SCA_ListLook.h"

#include <QHeaderView>
#include <QTreeWidget>

const char* const SCA_ListLook::kSelectionStyle =
    "QTreeWidget { selection-color: black; selection-background-color: qlineargradient(x1: 0, "
    "y1: 0, x2: 0, y2: 1, stop: 0.0 #bac4cf, stop: 0.06 #dae4ef, stop: 0.87 #dae4ef, stop: 1.0 "
    "#bac4cf); }";

void SCA_ListLook::Apply(QTreeWidget* tree) {
    tree->setStyleSheet(QString::fromLatin1(kSelectionStyle));
    tree->setRootIsDecorated(false);
    tree->setUniformRowHeights(true);
    tree->setSortingEnabled(false);
    tree->setItemsExpandable(false);
    tree->setAllColumnsShowFocus(true);
    tree->header()->setSectionsMovable(false);
}
