// SPDX-License-Identifier: MIT
#include "korvac/monitor/SCA_CountersView.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <iterator>

#include "korvac/kit/SCA_ListLook.h"
#include "libvop/SCA_EmptyHint.h"

SCA_CountersView::SCA_CountersView(QWidget* parent) : QTreeWidget(parent) {
    SCA_ListLook::Apply(this);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setColumnCount(kColumnCount);
    setHeaderLabels({QString(), QStringLiteral("Counter"), QStringLiteral("Instance"),
                     QStringLiteral("Computer"), QStringLiteral("Current"),
                     QStringLiteral("Average"), QStringLiteral("Minimum"),
                     QStringLiteral("Maximum")});
    constexpr int kWidths[] = {24, 160, 123, 100, 80, 80, 80};
    for (int column = 0; column < static_cast<int>(std::size(kWidths)); ++column) {
        setColumnWidth(column, kWidths[column]);
    }
}

void SCA_CountersView::contextMenuEvent(QContextMenuEvent* event) {
    emit MenuAsked(event);
    event->accept();
}

void SCA_CountersView::paintEvent(QPaintEvent* event) {
    QTreeWidget::paintEvent(event);
    SCA_PaintEmptyHint(this, QStringLiteral("This monitor has no counters."));
}
