// SPDX-License-Identifier: MIT
#include "korvac/main/SCA_MonitorsView.h"
#include "korvac/kit/SCA_ListLook.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>
#include <algorithm>

#include "korvac/kit/SCA_ClientSession.h"
#include "libvop/SCA_EmptyHint.h"
#include "libvop/SCA_ErrorListDlg.h"
#include "model/SCA_TezProcessStatus.h"
#include "model/SCA_TezTaskStatus.h"

namespace {

constexpr int kErrorsColumn = 4;
constexpr int kWarningsColumn = 5;
constexpr int kStatusColumn = 6;

// The width the Status column needs for its longest text ("Running - Warnings") in the tree's
// font, with the margins a cell keeps on both sides: a cut state would hide what matters most.
int StatusColumnWidth(const QTreeWidget* tree, int least) {
    const int margins =
        2 * (tree->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, tree) + 1);
    int width = least;
    for (const uint32_t run : {SCA_PROCESS_FAILED, SCA_PROCESS_STOPPED, SCA_PROCESS_IDLE,
                               SCA_PROCESS_RUNNING, SCA_PROCESS_PAUSED}) {
        for (const uint32_t state : {SCA_TASK_STATUS_ERROR, SCA_TASK_STATUS_WARNING}) {
            const QString text = SCA_MonitorsView::MonitorStateText(state, run);
            width = std::max(width, tree->fontMetrics().horizontalAdvance(text) + margins);
        }
    }
    return width;
}

} // namespace

QString SCA_MonitorsView::MonitorStateText(uint32_t state, uint32_t runState) {
    const QString run = QString::fromLatin1(SCA_TezGetProcessStatusDescr(runState));
    if (state == SCA_TASK_STATUS_ERROR) {
        return run + QStringLiteral(" - Errors");
    }
    if (state == SCA_TASK_STATUS_WARNING) {
        return run + QStringLiteral(" - Warnings");
    }
    return run;
}

SCA_MonitorsView::SCA_MonitorsView(const SCA_ClientSession* session, QWidget* parent)
    : QTreeWidget(parent), m_Session(*session) {
    SCA_ListLook::Apply(this);
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
    setColumnWidth(kStatusColumn, StatusColumnWidth(this, widths[kStatusColumn]));
    headerItem()->setToolTip(kErrorsColumn, QLatin1String(SCA_ERRORS_COLUMN_TIP));
    headerItem()->setToolTip(kWarningsColumn, QLatin1String(SCA_WARNINGS_COLUMN_TIP));
    // The description takes the width the other columns leave.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(1, QHeaderView::Stretch);
}

void SCA_MonitorsView::paintEvent(QPaintEvent* event) {
    QTreeWidget::paintEvent(event);
    SCA_PaintEmptyHint(this, m_Session.IsConnected()
                                 ? QStringLiteral("The service has no monitors.")
                                 : QStringLiteral("Not connected to Korvanta Server."));
}

void SCA_MonitorsView::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        emit OpenRequested();
    } else if (plain && key == Qt::Key_Delete) {
        emit DeleteRequested();
    } else if ((plain && key == Qt::Key_Menu) ||
               (key == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)) {
        // The menu opens at the current row, or at the top of the list without one.
        const QRect row = visualItemRect(currentItem());
        const QPoint at = row.isValid() ? row.center() : QPoint(0, 0);
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, viewport()->mapToGlobal(at));
        contextMenuEvent(&menu);
    } else {
        QTreeWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void SCA_MonitorsView::contextMenuEvent(QContextMenuEvent* event) {
    emit MenuAsked(event);
    event->accept();
}
