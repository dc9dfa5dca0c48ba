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
#include "korvac/main/SCA_SysTray.h"
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
void ReportError(const char* text) {
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "%s", text);
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
    m_ErrorBadge->setText(SCA_MonitorsView::CountText(unseen, "error", "errors"));
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
    m_MonitorsView->ShowRows(rows, !fullRefresh && monitorsStatusId == m_LastMonitorsStatusId);
    m_LastMonitorsStatusId = monitorsStatusId;
    // The rows shown are kept to compare the next poll's with; the ones they replace take the
    // next poll's rows. A freed reply of a few hundred rows would be handed back to the system
    // at every poll, at the cost of a flush of every processor's address cache.
    m_MonitorsView->KeepShownRows(poll.Rows);
    m_SpareRows.swap(poll.Rows);
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

int SCA_SrvGui::UpdateStatusTitle(const SCA_KorvantaServerStatus& serverStatus) {
    const uint32_t active = serverStatus.ActiveMonitors;
    const uint32_t warnings = serverStatus.MonitorWarnings;
    const uint64_t errors =
        static_cast<uint64_t>(serverStatus.MonitorErrors) + serverStatus.FailedMonitors;
    char text[256];
    uint32_t state = SCA_SysTray::kNoActive;
    auto plural = [](uint64_t count) { return count == 1 ? "" : "s"; };
    if (errors > 0) {
        std::snprintf(text, sizeof(text), "Korvanta Client - %llu Error%s",
                      static_cast<unsigned long long>(errors), plural(errors));
        state = SCA_SysTray::kErrors;
    } else if (warnings > 0) {
        std::snprintf(text, sizeof(text), "Korvanta Client - %u Warning%s", warnings,
                      plural(warnings));
        state = SCA_SysTray::kWarnings;
    } else if (active > 0) {
        std::snprintf(text, sizeof(text), "Korvanta Client - %u Monitor%s", active, plural(active));
        state = SCA_SysTray::kRunning;
    } else {
        SCA_StrnCpy(text, "Korvanta Client - No Active Monitors", sizeof(text));
    }
    m_Tray->SetStatus(state, text);
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
