// SPDX-License-Identifier: MIT
#include "korvac/SCA_MonitorsView.h"

#include <QContextMenuEvent>
#include <QHeaderView>

#include "korvac/SCA_SrvGui.h"
#include "libvop/SCA_EmptyHint.h"

const char* const SCA_MonitorsView::kSelectionStyle =
    "QTreeWidget { selection-color: black; selection-background-color: qlineargradient(x1: 0, "
    "y1: 0, x2: 0, y2: 1, stop: 0.0 #bac4cf, stop: 0.06 #dae4ef, stop: 0.87 #dae4ef, stop: 1.0 "
    "#bac4cf); }";

void SCA_MonitorsView::SetListLook(QTreeWidget* tree) {
    tree->setStyleSheet(QString::fromLatin1(kSelectionStyle));
    tree->setRootIsDecorated(false);
    tree->setUniformRowHeights(true);
    tree->setSortingEnabled(false);
    tree->setItemsExpandable(false);
    tree->setAllColumnsShowFocus(true);
    tree->header()->setSectionsMovable(false);
}

SCA_MonitorsView::SCA_MonitorsView(SCA_SrvGui* window, QWidget* parent)
    : QTreeWidget(parent), m_Window(window) {
    SetListLook(this);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setIconSize(QSize(48, 48));
    setColumnCount(7);
    setHeaderLabels({QString(), QStringLiteral("Monitor"), QStringLiteral("Host"),
                     QStringLiteral("Counters"), QStringLiteral("Errors"),
                     QStringLiteral("Warnings"), QStringLiteral("Status")});
    const int widths[] = {52, 196, 100, 70, 70, 70, 60};
    for (int column = 0; column < 7; ++column) {
        setColumnWidth(column, widths[column]);
    }
    // The description takes the width the other columns leave.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(1, QHeaderView::Stretch);
}

void SCA_MonitorsView::paintEvent(QPaintEvent* event) {
    QTreeWidget::paintEvent(event);
    SCA_PaintEmptyHint(this, m_Window->CheckConnected(0)
                                 ? QStringLiteral("The service has no monitors.")
                                 : QStringLiteral("Not connected to Korvanta Server."));
}

void SCA_MonitorsView::contextMenuEvent(QContextMenuEvent* event) {
    m_Window->BuildMonitorContextMenu(event);
    event->accept();
}
