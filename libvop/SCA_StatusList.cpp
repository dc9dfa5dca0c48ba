// SPDX-License-Identifier: MIT
#include "libvop/SCA_StatusList.h"

#include <QHeaderView>
#include <QTreeWidgetItem>

#include "libvop/SCA_IconEngine.h"

SCA_StatusList::SCA_StatusList(QWidget* parent, int labelWidth, int alternate)
    : QTreeWidget(parent) {
    setColumnCount(3);
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::NoFocus);
    setAlternatingRowColors(alternate != 0);
    setIconSize(QSize(16, 16));
    setIndentation(0);
    // The values are short; a scroll bar for the last pixels of a narrow pane only hides rows.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The values must stay in sight however narrow the pane: they take what they need and the
    // labels give way.
    header()->setStretchLastSection(false);
    header()->setMinimumSectionSize(0);
    header()->setSectionResizeMode(0, QHeaderView::Fixed);
    header()->setSectionResizeMode(1, QHeaderView::Stretch);
    header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    setColumnWidth(0, 22);
    setMinimumWidth(22 + labelWidth);
}

QTreeWidgetItem* SCA_StatusList::AddItem(const QString& iconPath, const QString& label) {
    auto* item = new QTreeWidgetItem(this);
    item->setIcon(0, SCA_IconEngine::Load(iconPath));
    item->setText(1, label);
    item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    return item;
}
