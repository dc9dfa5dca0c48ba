// SPDX-License-Identifier: MIT
// The main window's status poll: the 500 ms timer, the service's status, the monitors tree,
// the tray title, the message pane and the hand-over of notification sounds.
#include <QStatusBar>
#include <QStringList>
#include <QTimer>
#include <QTimerEvent>
#include <QToolButton>
#include <QTreeWidgetItem>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "korvac/main/SCA_MonitorsView.h"
#include "korvac/main/SCA_SideBar.h"
#include "korvac/main/SCA_SrvActionCtrl.h"
#include "korvac/main/SCA_SrvGui.h"
#include "korvac/main/SCA_SrvLogView.h"
#include "libmor/SCA_String.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "libvop/SCA_IconEngine.h"
#include "libvop/SCA_TreeRows.h"
#include "model/SCA_DebugLog.h"
#include "model/SCA_SoundActions.h"
#include "model/SCA_TezProcessStatus.h"
#include "model/SCA_TezTaskStatus.h"

namespace {

constexpr uint32_t kLogBatch = 500;
constexpr uint32_t kReconnectTicks = 6;
constexpr int kIdRole = Qt::UserRole;
// How many times the rows shown the spare rows' room may hold.
constexpr size_t kKeptRowsRoom = 2;

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

void ReportError(const char* text) {
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "%s", text);
}

QList<QVariant> IdsOf(const std::vector<SCA_KorvantaMonitorRow>& rows) {
    QList<QVariant> ids;
    ids.reserve(static_cast<qsizetype>(rows.size()));
    for (const SCA_KorvantaMonitorRow& row : rows) {
        ids.append(QVariant(row.MonitorId));
    }
    return ids;
}

QString Plural(uint32_t count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

} // namespace

void SCA_SrvGui::timerEvent(QTimerEvent* event) {
    if (event == nullptr || event->timerId() != m_UpdateTimerId) {
        QMainWindow::timerEvent(event);
        return;
    }
    UpdateErrorBadge();
    CollectUpdateCheck();
    // A call in flight holds the tick: the next one polls again.
    if (m_UpdateLock >= 1 || m_Session->IsWaiting()) {
        return;
    }
    if (m_Session->IsConnected() && m_TickCount % 2 == 0) {
        AskStatus();
    }
    if (m_AutoConnect && !m_Session->IsConnected() && !m_ConnectDialogOpen && m_TickCount != 0 &&
        m_TickCount % kReconnectTicks == 0) {
        m_ReconnectTimer->start();
    }
    ++m_TickCount;
}

void SCA_SrvGui::UpdateErrorBadge() {
    if (m_ErrorBadge == nullptr) {
        return;
    }
    const uint32_t errors = m_ClientLog.GetErrorCount();
    const uint32_t unseen = errors > m_SeenErrorCount ? errors - m_SeenErrorCount : 0;
    if (unseen == 0) {
        m_ErrorBadge->hide();
        return;
    }
    m_ErrorBadge->setText(Plural(unseen, "error", "errors"));
    m_ErrorBadge->show();
}

void SCA_SrvGui::ShowErrorsSince(uint32_t errorCount) {
    const uint32_t errors = m_ClientLog.GetErrorCount();
    if (errors <= errorCount) {
        return;
    }
    uint32_t wanted = errors - errorCount;
    QStringList texts;
    for (uint32_t position = m_ClientLog.GetMessageCount(); position > 0 && wanted > 0;
         --position) {
        tagSCA_ERROR_DESCR* message = nullptr;
        if (m_ClientLog.GetMessageByPos(position - 1, &message) &&
            message->Level == SCA_LEVEL_ERROR) {
            texts.prepend(QString::fromUtf8(message->Text));
            --wanted;
        }
    }
    // Errors that waited for the console before the command keep waiting.
    m_SeenErrorCount += errors - errorCount;
    UpdateErrorBadge();
    ShowMessage(this, SCA_LEVEL_ERROR, texts.join(QLatin1Char('\n')).toUtf8().constData());
}

// What one status poll brings: the service's status, its monitor rows, and the log messages
// after the newest one shown when the status says there are any.
struct SCA_SrvGui::StatusPoll {
    SCA_KorvantaServerStatus Status;
    std::vector<SCA_KorvantaMonitorRow> Rows;
    int RowsRead = 0;
    // How many rows a reply listed when they were more than any service keeps.
    size_t Listed = 0;
    uint32_t LogFrom = SCA_ALL_ONES;
    int LogRead = 0;
    uint32_t LogSessionId = 0;
    SCA_DebugLog Log{kLogBatch};

    // On the network thread: the status, then the new log messages. 0 when the status failed,
    // or the log's call lost the connection.
    int Fetch(SCA_KorvantaInterface& client) {
        if (!client.GetStatusEx(&Status, &Rows, &RowsRead)) {
            return 0;
        }
        if (Rows.size() > SCA_SrvGui::kMaxMonitorRows) {
            Listed = Rows.size();
            RowsRead = 0;
            std::vector<SCA_KorvantaMonitorRow>().swap(Rows);
        }
        if (Status.LastDebugMessageId != LogFrom) {
            LogRead = client.GetDebugLog(LogFrom, kLogBatch, &LogSessionId, &Log);
            return LogRead || !client.LostConnection() ? 1 : 0;
        }
        return 1;
    }
};

int SCA_SrvGui::UpdateStatus(int fullRefresh) {
    // Polls run from the timer: not connected is a state to show, not a box.
    if (!CheckConnected(0)) {
        return 0;
    }
    StatusPoll poll;
    poll.LogFrom = m_LastServerMessageId;
    poll.Rows.swap(m_SpareRows);
    if (!m_Session->Poll([&poll](SCA_KorvantaInterface& client) { return poll.Fetch(client); })) {
        Disconnect();
        return 0;
    }
    return ShowStatus(poll, fullRefresh);
}

void SCA_SrvGui::AskStatus() {
    if (!CheckConnected(0)) {
        return;
    }
    const uint32_t logFrom = m_LastServerMessageId;
    const uint64_t shown = m_StatusesShown;
    m_Session->Ask<StatusPoll>(
        this,
        [logFrom, spare = std::move(m_SpareRows)](SCA_KorvantaInterface& client,
                                                  StatusPoll& poll) mutable {
            poll.LogFrom = logFrom;
            poll.Rows.swap(spare);
            return poll.Fetch(client);
        },
        [this, shown](int ok, StatusPoll& poll) {
            if (!ok) {
                Disconnect();
            } else if (shown == m_StatusesShown) {
                // Else a command showed a status fetched after this one meanwhile.
                ShowStatus(poll, 0);
            }
        });
}

int SCA_SrvGui::ShowStatus(StatusPoll& poll, int fullRefresh) {
    const SCA_KorvantaServerStatus& status = poll.Status;
    ++m_StatusesShown;
    m_SideBar->UpdateStatus(status);
    UpdateStatusTitle(status);
    ShowMonitorRows(poll, fullRefresh);
    if (poll.LogRead) {
        m_LogView->AddMessages(&poll.Log, poll.LogSessionId, &m_LastServerMessageId);
    }
    if (!m_SoundTimeKnown) {
        m_LastSoundActionTime = status.LastSoundActionTime;
        m_SoundTimeKnown = true;
    } else if (status.LastSoundActionTime > m_LastSoundActionTime) {
        PlayNotificationSounds();
    }
    return 1;
}

void SCA_SrvGui::ShowMonitorRows(StatusPoll& poll, int fullRefresh) {
    if (!poll.RowsRead) {
        // Rows kept from an earlier poll are not this one's: they stay, greyed, the status bar
        // says why, and the next poll rebuilds them.
        const QString why =
            poll.Listed != 0
                ? QStringLiteral("Monitor list not updated: the service listed %1 monitors, "
                                 "more than %2")
                      .arg(poll.Listed)
                      .arg(kMaxMonitorRows)
                : QString::fromLatin1(kRowsUnreadText);
        ReportError(poll.Listed != 0
                        ? why.toUtf8().constData()
                        : "SCA_SrvGui::ParseMonitorStatusString: invalid monitor status string");
        m_MonitorsView->setEnabled(false);
        statusBar()->showMessage(why);
        return;
    }
    const std::vector<SCA_KorvantaMonitorRow>& rows = poll.Rows;
    const uint32_t monitorsStatusId = poll.Status.MonitorsStatusId;
    if (!m_MonitorsView->isEnabled()) {
        m_MonitorsView->setEnabled(true);
        statusBar()->clearMessage();
    }
    const bool sameSet = !fullRefresh && monitorsStatusId == m_LastMonitorsStatusId;
    if (sameSet ? UpdateMonitorsView(rows) : FillMonitorsView(rows)) {
        m_LastMonitorsStatusId = monitorsStatusId;
    }
    // The rows shown are kept to compare the next poll's with; the ones they replace take the
    // next poll's rows. A freed reply of a few hundred rows would be handed back to the system
    // at every poll, at the cost of a flush of every processor's address cache.
    m_ShownRows.swap(poll.Rows);
    m_SpareRows.swap(poll.Rows);
    // Room a much longer list took is not kept for the shorter ones after it.
    const size_t room = m_SpareRows.capacity();
    if (room > kKeptRowsRoom * m_ShownRows.size() &&
        room * sizeof(SCA_KorvantaMonitorRow) > SCA_ClientSession::kMappedAboveBytes) {
        std::vector<SCA_KorvantaMonitorRow>().swap(m_SpareRows);
    }
}

int SCA_SrvGui::ParseMonitorStatusString(const char* text, uint32_t* state, uint32_t* runState,
                                         uint32_t* counters, uint32_t* errors, uint32_t* warnings,
                                         char* host, uint32_t hostSize, char* description,
                                         uint32_t descriptionSize) {
    SCA_StrnCpy(host, "", hostSize);
    SCA_StrnCpy(description, "", descriptionSize);
    SCA_KorvantaMonitorRow row;
    if (!row.Parse(text)) {
        ReportError("SCA_SrvGui::ParseMonitorStatusString: invalid monitor status string");
        return 0;
    }
    *state = row.State;
    *runState = row.RunState;
    *counters = row.Counters;
    *errors = row.Errors;
    *warnings = row.Warnings;
    SCA_StrnCpy(host, row.Host, hostSize);
    SCA_StrnCpy(description, row.Description, descriptionSize);
    return 1;
}

QString SCA_SrvGui::MonitorStateTip(const SCA_KorvantaMonitorRow& row) {
    const QString text = SCA_MonitorsView::MonitorStateText(row.State, row.RunState);
    if (row.State != SCA_TASK_STATUS_ERROR && row.State != SCA_TASK_STATUS_WARNING) {
        return text;
    }
    return QStringLiteral("%1: %2, %3")
        .arg(text, Plural(row.Errors, "error", "errors"),
             Plural(row.Warnings, "warning", "warnings"));
}

int SCA_SrvGui::FillMonitorsView(const std::vector<SCA_KorvantaMonitorRow>& rows) {
    m_MonitorRows->Rebuild(IdsOf(rows), MonitorRowFill(rows));
    return 1;
}

int SCA_SrvGui::UpdateMonitorsView(const std::vector<SCA_KorvantaMonitorRow>& rows) {
    const auto fill = MonitorRowFill(rows);
    m_MonitorRows->Apply(
        IdsOf(rows), [this, &rows, &fill](QTreeWidgetItem* item, int index, bool created) {
            // A row shows what the last poll brought for its monitor: only monitors that changed
            // are written.
            const auto at = static_cast<size_t>(index);
            if (!created && at < m_ShownRows.size() && m_ShownRows[at] == rows[at]) {
                return;
            }
            fill(item, index, created);
        });
    return 1;
}

std::function<void(QTreeWidgetItem*, int, bool)>
SCA_SrvGui::MonitorRowFill(const std::vector<SCA_KorvantaMonitorRow>& rows) {
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
        item->setText(kStatusColumn, SCA_MonitorsView::MonitorStateText(row.State, row.RunState));
        item->setData(kDescriptionColumn, kIdRole, row.RunState);
        const QString tip = MonitorStateTip(row);
        item->setToolTip(kStateColumn, tip);
        item->setToolTip(kStatusColumn, tip);
    };
}

int SCA_SrvGui::UpdateStatusTitle(const SCA_KorvantaServerStatus& serverStatus) {
    const uint32_t active = serverStatus.ActiveMonitors;
    const uint32_t warnings = serverStatus.MonitorWarnings;
    const uint64_t errors =
        static_cast<uint64_t>(serverStatus.MonitorErrors) + serverStatus.FailedMonitors;
    char text[256];
    uint32_t state = kTrayNoActive;
    auto plural = [](uint64_t count) { return count == 1 ? "" : "s"; };
    if (errors > 0) {
        std::snprintf(text, sizeof(text), "Korvanta Client - %llu Error%s",
                      static_cast<unsigned long long>(errors), plural(errors));
        state = kTrayErrors;
    } else if (warnings > 0) {
        std::snprintf(text, sizeof(text), "Korvanta Client - %u Warning%s", warnings,
                      plural(warnings));
        state = kTrayWarnings;
    } else if (active > 0) {
        std::snprintf(text, sizeof(text), "Korvanta Client - %u Monitor%s", active, plural(active));
        state = kTrayRunning;
    } else {
        SCA_StrnCpy(text, "Korvanta Client - No Active Monitors", sizeof(text));
    }
    SetSysTrayStatus(state, text);
    return 1;
}

int SCA_SrvGui::PlayNotificationSounds() {
    // Also called by the monitor windows' polls: never a box.
    if (!CheckConnected(0)) {
        return 0;
    }
    std::unique_ptr<SCA_SoundActions> actions(new (std::nothrow) SCA_SoundActions());
    if (actions == nullptr) {
        ReportError("SCA_SrvGui::PlayNotificationSounds: cannot create sound actions object");
        return 0;
    }
    uint64_t lastTime = m_LastSoundActionTime;
    if (!m_Session->Poll([&](SCA_KorvantaInterface& client) {
            return client.GetSoundActions(m_LastSoundActionTime, &lastTime, actions.get());
        })) {
        if (m_Session->IsConnected()) {
            ReportError("SCA_SrvGui::PlayNotificationSounds: cannot get sound actions object");
        }
        return 0;
    }
    m_LastSoundActionTime = lastTime;
    if (actions->Count() == 0) {
        return 1;
    }
    // The controller owns the batch from here, also when it refuses it.
    return m_ActionCtrl->AddActions(actions.release());
}
