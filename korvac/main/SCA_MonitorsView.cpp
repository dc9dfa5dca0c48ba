// SPDX-License-Identifier: MIT
#include "korvac/main/SCA_MonitorsView.h"
#include "korvac/kit/SCA_ListLook.h"

#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>
#include <QTreeWidgetItemIterator>
#include <algorithm>
#include <cmath>

#include "korvac/kit/SCA_ClientSession.h"
#include "libvop/SCA_EmptyHint.h"
#include "libvop/SCA_ErrorListDlg.h"
#include "libvop/SCA_IconEngine.h"
#include "libvop/SCA_TreeRows.h"
#include "model/SCA_TezProcessStatus.h"
#include "model/SCA_TezTaskStatus.h"

namespace {

constexpr int kIdRole = Qt::UserRole;
// The monitors tree's columns.
enum MonitorColumn : int {
    kStateColumn,
    kDescriptionColumn,
    kHostColumn,
    kCountersColumn,
    kErrorsColumn,
    kWarningsColumn,
    kStatusColumn
};
// The column whose row data is the monitor's run state (see MonitorRowFill).
constexpr int kRunStateColumn = kDescriptionColumn;

QIcon StateIcon(uint32_t state) {
    const char* name = "tez_command_48px.png";
    switch (state) {
    case SCA_TASK_STATUS_STOPPED:
        name = "tez_ready_48px.png";
        break;
    case SCA_TASK_STATUS_WARNING:
        name = "tez_warning_48px.png";
        break;
    case SCA_TASK_STATUS_ERROR:
        name = "tez_error_48px.png";
        break;
    case SCA_TASK_STATUS_PAUSED:
        name = "tez_paused_48px.png";
        break;
    case SCA_TASK_STATUS_RUNNING:
        name = "tez_active_48px.png";
        break;
    default:
        break;
    }
    return SCA_IconEngine::Load(QStringLiteral(":/images/") + QLatin1String(name));
}

bool SameIds(const std::vector<SCA_KorvantaMonitorRow>& rows, const QList<QVariant>& ids) {
    return std::equal(rows.begin(), rows.end(), ids.begin(), ids.end(),
                      [](const SCA_KorvantaMonitorRow& row, const QVariant& id) {
                          return id.value<uint32_t>() == row.MonitorId;
                      });
}

QList<QVariant> IdsOf(const std::vector<SCA_KorvantaMonitorRow>& rows) {
    QList<QVariant> ids;
    ids.reserve(static_cast<qsizetype>(rows.size()));
    for (const SCA_KorvantaMonitorRow& row : rows) {
        ids.append(QVariant(row.MonitorId));
    }
    return ids;
}

// The width the Status column needs for its longest text ("Stopped - Warnings") in the tree's
// font, with the margins a cell keeps on both sides: a cut state would hide what matters most.
// A cell elides a text whose laid-out width, a fraction of a pixel included, exceeds its room.
int StatusColumnWidth(const QTreeWidget* tree, int least) {
    const int margins =
        2 * (tree->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, tree) + 1);
    const QFontMetricsF metrics(tree->font());
    int width = least;
    for (const uint32_t run : {SCA_PROCESS_FAILED, SCA_PROCESS_STOPPED, SCA_PROCESS_IDLE,
                               SCA_PROCESS_RUNNING, SCA_PROCESS_PAUSED}) {
        for (const uint32_t state : {SCA_TASK_STATUS_ERROR, SCA_TASK_STATUS_WARNING}) {
            const QString text = SCA_MonitorsView::MonitorStateText(state, run);
            width = std::max(width, static_cast<int>(std::ceil(metrics.horizontalAdvance(text))) +
                                        margins);
        }
    }
    return width;
}

} // namespace

SCA_MonitorsView::~SCA_MonitorsView() = default;

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
    : QTreeWidget(parent), m_Session(*session), m_Rows(std::make_unique<SCA_TreeRows>(this)) {
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

QString SCA_MonitorsView::CountText(uint32_t count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

QString SCA_MonitorsView::MonitorStateTip(const SCA_KorvantaMonitorRow& row) {
    const QString text = MonitorStateText(row.State, row.RunState);
    if (row.State != SCA_TASK_STATUS_ERROR && row.State != SCA_TASK_STATUS_WARNING) {
        return text;
    }
    return QStringLiteral("%1: %2, %3")
        .arg(text, CountText(row.Errors, "error", "errors"),
             CountText(row.Warnings, "warning", "warnings"));
}

void SCA_MonitorsView::ShowRows(const std::vector<SCA_KorvantaMonitorRow>& rows, bool sameSet) {
    // The ids of most polls are the last one's: the list given then is given again.
    if (!SameIds(rows, m_ShownIds)) {
        m_ShownIds = IdsOf(rows);
    }
    if (!sameSet) {
        m_Rows->Rebuild(m_ShownIds, MonitorRowFill(rows));
        return;
    }
    const auto fill = MonitorRowFill(rows);
    m_Rows->Apply(m_ShownIds, [this, &rows, &fill](QTreeWidgetItem* item, int index, bool created) {
        // A row shows what the last poll brought for its monitor: only monitors that
        // changed are written.
        const auto at = static_cast<size_t>(index);
        if (!created && at < m_ShownRows.size() && m_ShownRows[at] == rows[at]) {
            return;
        }
        fill(item, index, created);
    });
}

std::function<void(QTreeWidgetItem*, int, bool)>
SCA_MonitorsView::MonitorRowFill(const std::vector<SCA_KorvantaMonitorRow>& rows) {
    return [&rows](QTreeWidgetItem* item, int index, bool created) {
        const SCA_KorvantaMonitorRow& row = rows[static_cast<size_t>(index)];
        if (created || item->data(kHostColumn, kIdRole).toUInt() != row.State) {
            item->setIcon(kStateColumn, StateIcon(row.State));
            item->setData(kHostColumn, kIdRole, row.State);
        }
        item->setText(kDescriptionColumn, QString::fromUtf8(row.Description));
        item->setText(kHostColumn,
                      row.Host[0] != '\0' ? QString::fromUtf8(row.Host) : QStringLiteral("Local"));
        item->setText(kCountersColumn, QString::number(row.Counters));
        item->setText(kErrorsColumn, QString::number(row.Errors));
        item->setText(kWarningsColumn, QString::number(row.Warnings));
        item->setText(kStatusColumn, MonitorStateText(row.State, row.RunState));
        item->setData(kDescriptionColumn, kIdRole, row.RunState);
        const QString tip = MonitorStateTip(row);
        item->setToolTip(kStateColumn, tip);
        item->setToolTip(kStatusColumn, tip);
    };
}

uint32_t SCA_MonitorsView::MonitorIdOf(const QTreeWidgetItem* item) {
    if (item == nullptr) {
        return 0;
    }
    bool ok = false;
    const uint32_t id = item->data(0, kIdRole).toUInt(&ok);
    return ok ? id : 0;
}

QTreeWidgetItem* SCA_MonitorsView::SelectedMonitor() const {
    QTreeWidgetItem* current = currentItem();
    return current != nullptr && current->treeWidget() != nullptr && current->isSelected()
               ? current
               : nullptr;
}

bool SCA_MonitorsView::IsSelectedMonitorPaused() const {
    const QTreeWidgetItem* row = SelectedMonitor();
    return row != nullptr && row->data(kRunStateColumn, kIdRole).toUInt() == SCA_PROCESS_PAUSED;
}

std::vector<uint32_t> SCA_MonitorsView::SelectedMonitorIds() const {
    std::vector<uint32_t> ids;
    for (QTreeWidgetItemIterator it(const_cast<SCA_MonitorsView*>(this),
                                    QTreeWidgetItemIterator::Selected);
         *it; ++it) {
        ids.push_back(MonitorIdOf(*it));
    }
    return ids;
}

std::vector<uint32_t> SCA_MonitorsView::AllMonitorIds() const {
    std::vector<uint32_t> ids;
    for (QTreeWidgetItemIterator it(const_cast<SCA_MonitorsView*>(this)); *it; ++it) {
        ids.push_back(MonitorIdOf(*it));
    }
    return ids;
}

int SCA_MonitorsView::ClearMonitorSelection() {
    clearSelection();
    clearFocus();
    return 1;
}

uint32_t SCA_MonitorsView::SelectedMonitorId() const {
    const QTreeWidgetItem* row = currentItem();
    return row != nullptr && row->isSelected() ? SCA_TreeRows::IdOf(row).toUInt() : SCA_ALL_ONES;
}
