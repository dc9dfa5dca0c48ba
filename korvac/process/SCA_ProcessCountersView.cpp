// SPDX-License-Identifier: MIT
#include "korvac/process/SCA_ProcessCountersView.h"

#include <QContextMenuEvent>
#include <iterator>

#include "korvac/kit/SCA_ListLook.h"
#include "libvop/SCA_EmptyHint.h"

SCA_ProcessCountersView::SCA_ProcessCountersView(QWidget* parent) : QTreeWidget(parent) {
    SCA_ListLook::Apply(this);
    setColumnCount(kColumnCount);
    setHeaderLabels({QString(), QStringLiteral("Counter"), QStringLiteral("Computer"),
                     QStringLiteral("Current"), QStringLiteral("Average"),
                     QStringLiteral("Minimum"), QStringLiteral("Maximum")});
    constexpr int kWidths[] = {24, 180, 108, 108, 108, 108};
    for (int column = 0; column < static_cast<int>(std::size(kWidths)); ++column) {
        setColumnWidth(column, kWidths[column]);
    }
}

void SCA_ProcessCountersView::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
}

void SCA_ProcessCountersView::paintEvent(QPaintEvent* event) {
    QTreeWidget::paintEvent(event);
    SCA_PaintEmptyHint(this, QStringLiteral("The service measures no counters of this process."));
}
