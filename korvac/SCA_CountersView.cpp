// SPDX-License-Identifier: MIT
#include "korvac/SCA_CountersView.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <iterator>

#include "korvac/SCA_MonitorsView.h"
#include "korvac/SCA_SrvMonStatusDlg.h"
#include "libvop/SCA_EmptyHint.h"

SCA_CountersView::SCA_CountersView(QWidget* parent, SCA_SrvMonStatusDlg* window)
    : QTreeWidget(parent), m_Window(window) {
    SCA_MonitorsView::SetListLook(this);
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
    m_Window->ShowCountersMenu(event);
    event->accept();
}

void SCA_CountersView::paintEvent(QPaintEvent* event) {
    QTreeWidget::paintEvent(event);
    SCA_PaintEmptyHint(this, QStringLiteral("This monitor has no counters."));
}
