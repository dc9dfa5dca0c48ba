// SPDX-License-Identifier: MIT
#include "korvac/reports/SCA_SrvReportsView.h"

#include <QContextMenuEvent>

#include "korvac/kit/SCA_ListLook.h"
#include "korvac/reports/SCA_RightAlignedDelegate.h"
#include "libvop/SCA_EmptyHint.h"
#include "libvop/SCA_ListView.h"

namespace {

constexpr int kWidths[SCA_SrvReportsView::kColumns] = {22, 134, 148, 160, 140, 80, 80};

} // namespace

SCA_SrvReportsView::SCA_SrvReportsView(QWidget* parent) : QTreeWidget(parent) {
    setStyleSheet(QString::fromLatin1(SCA_ListLook::kSelectionStyle));
    SCA_SetupListView(this,
                      {QString(), QStringLiteral("Start Time"), QStringLiteral("Duration"),
                       QStringLiteral("Monitor Profile"), QStringLiteral("Host Name"),
                       QStringLiteral("Counters"), QStringLiteral("Errors")},
                      kWidths);
    setSortingEnabled(false);
    setItemsExpandable(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setItemDelegate(new SCA_RightAlignedDelegate({kCounters, kErrors}, this));
}

void SCA_SrvReportsView::SetEmptyHint(const QString& hint) {
    if (hint != m_Hint) {
        m_Hint = hint;
        viewport()->update();
    }
}

void SCA_SrvReportsView::contextMenuEvent(QContextMenuEvent* event) {
    emit MenuAsked(event);
}

void SCA_SrvReportsView::paintEvent(QPaintEvent* event) {
    QTreeWidget::paintEvent(event);
    SCA_PaintEmptyHint(this, m_Hint);
}
