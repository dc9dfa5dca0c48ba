#include "korvac/SCA_SrvReportsView.h"

#include <QContextMenuEvent>
#include <QHeaderView>

#include "korvac/SCA_MonitorsView.h"
#include "korvac/SCA_SrvReportsDlg.h"
#include "libvop/SCA_EmptyHint.h"

namespace {

constexpr int kWidths[SCA_SrvReportsView::kColumns] = {22, 134, 148, 160, 140, 80, 80};

} // namespace

SCA_SrvReportsView::SCA_SrvReportsView(SCA_SrvReportsDlg* window)
    : QTreeWidget(window), m_Window(window) {
    setStyleSheet(QString::fromLatin1(SCA_MonitorsView::kSelectionStyle));
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSortingEnabled(false);
    setItemsExpandable(false);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    header()->setSectionsMovable(false);
    setColumnCount(kColumns);
    setHeaderLabels({QString(), QStringLiteral("Start Time"), QStringLiteral("Duration"),
                     QStringLiteral("Monitor Profile"), QStringLiteral("Host Name"),
                     QStringLiteral("Counters"), QStringLiteral("Errors")});
    for (int column = 0; column < kColumns; ++column) {
        setColumnWidth(column, kWidths[column]);
    }
}

void SCA_SrvReportsView::SetEmptyHint(const QString& hint) {
    if (hint != m_Hint) {
        m_Hint = hint;
        viewport()->update();
    }
}

void SCA_SrvReportsView::contextMenuEvent(QContextMenuEvent* event) {
    m_Window->ShowContextMenu(event);
}

void SCA_SrvReportsView::paintEvent(QPaintEvent* event) {
    QTreeWidget::paintEvent(event);
    SCA_PaintEmptyHint(this, m_Hint);
}
