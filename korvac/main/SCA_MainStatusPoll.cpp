// SPDX-License-Identifier: MIT
#include "korvac/main/SCA_MainStatusPoll.h"

#include <QMainWindow>
#include <QStatusBar>
#include <cstdio>
#include <memory>
#include <new>

#include "korvac/kit/SCA_ClientSession.h"
#include "korvac/main/SCA_MonitorsView.h"
#include "korvac/main/SCA_SideBar.h"
#include "korvac/main/SCA_SrvActionCtrl.h"
#include "korvac/main/SCA_SrvLogView.h"
#include "korvac/main/SCA_SysTray.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "model/SCA_DebugLog.h"
#include "model/SCA_SoundActions.h"

namespace {

constexpr uint32_t kLogBatch = 500;
// How many times the rows shown the spare rows' room may hold.
constexpr size_t kKeptRowsRoom = 2;
void ReportError(const char* text) {
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "%s", text);
}

} // namespace

// What one status poll brings: the service's status, its monitor rows, and the log messages
// after the newest one shown when the status says there are any.
struct SCA_MainStatusPoll::Poll {
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
        if (Rows.size() > kMaxMonitorRows) {
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

SCA_MainStatusPoll::SCA_MainStatusPoll(const SCA_MainCommandContext& context, QMainWindow* window,
                                       SCA_SysTray* tray, SCA_SrvActionCtrl* actions)
    : QObject(window), m_Context(context), m_Window(*window), m_Tray(*tray), m_Actions(*actions) {
    setObjectName(QStringLiteral("StatusPoll"));
}

void SCA_MainStatusPoll::ShowIn(SCA_SideBar* sideBar, SCA_MonitorsView* monitors,
                                SCA_SrvLogView* log) {
    m_SideBar = sideBar;
    m_MonitorsView = monitors;
    m_LogView = log;
}

void SCA_MainStatusPoll::Restart() {
    m_LastServerMessageId = SCA_ALL_ONES;
    m_SoundTimeKnown = false;
}

int SCA_MainStatusPoll::UpdateStatus(int fullRefresh) {
    // Polls run from the timer: not connected is a state to show, not a box.
    if (!m_Context.CheckConnected(0)) {
        return 0;
    }
    Poll poll;
    poll.LogFrom = m_LastServerMessageId;
    poll.Rows.swap(m_SpareRows);
    if (!m_Context.Session->Poll(
            [&poll](SCA_KorvantaInterface& client) { return poll.Fetch(client); })) {
        emit Failed();
        return 0;
    }
    return ShowStatus(poll, fullRefresh);
}

void SCA_MainStatusPoll::AskStatus() {
    if (!m_Context.CheckConnected(0)) {
        return;
    }
    const uint32_t logFrom = m_LastServerMessageId;
    const uint64_t shown = m_StatusesShown;
    m_Context.Session->Ask<Poll>(
        this,
        [logFrom, spare = std::move(m_SpareRows)](SCA_KorvantaInterface& client,
                                                  Poll& poll) mutable {
            poll.LogFrom = logFrom;
            poll.Rows.swap(spare);
            return poll.Fetch(client);
        },
        [this, shown](int ok, Poll& poll) {
            if (!ok) {
                emit Failed();
            } else if (shown == m_StatusesShown) {
                // Else a command showed a status fetched after this one meanwhile.
                ShowStatus(poll, 0);
            }
        });
}

int SCA_MainStatusPoll::ShowStatus(Poll& poll, int fullRefresh) {
    const SCA_KorvantaServerStatus& status = poll.Status;
    ++m_StatusesShown;
    m_SideBar->UpdateStatus(status);
    UpdateStatusTitle(status);
    ShowMonitorRows(poll, fullRefresh);
    if (poll.LogRead) {
        ShowLog(poll);
    }
    if (!m_SoundTimeKnown) {
        m_LastSoundActionTime = status.LastSoundActionTime;
        m_SoundTimeKnown = true;
    } else if (status.LastSoundActionTime > m_LastSoundActionTime) {
        PlayNotificationSounds();
    }
    return 1;
}

void SCA_MainStatusPoll::ShowLog(Poll& poll) {
    // A read that brought nothing found every message up to the status's last id shown or
    // gone (cleared, or an empty log): the next poll reads only once that id moves. One logged
    // between the status and the read came with the read, and its id is the one kept.
    if (poll.Log.GetMessageCount() == 0) {
        m_LastServerMessageId = poll.Status.LastDebugMessageId;
    }
    m_LogView->AddMessages(&poll.Log, poll.LogSessionId, &m_LastServerMessageId);
}

void SCA_MainStatusPoll::ShowMonitorRows(Poll& poll, int fullRefresh) {
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
        m_Window.statusBar()->showMessage(why);
        return;
    }
    const std::vector<SCA_KorvantaMonitorRow>& rows = poll.Rows;
    const uint32_t monitorsStatusId = poll.Status.MonitorsStatusId;
    if (!m_MonitorsView->isEnabled()) {
        m_MonitorsView->setEnabled(true);
        m_Window.statusBar()->clearMessage();
    }
    m_MonitorsView->ShowRows(rows, !fullRefresh && monitorsStatusId == m_LastMonitorsStatusId);
    m_LastMonitorsStatusId = monitorsStatusId;
    // The rows shown are kept to compare the next poll's with; the ones they replace take the
    // next poll's rows. A freed reply of a few hundred rows would be handed back to the system
    // at every poll, at the cost of a flush of every processor's address cache.
    m_MonitorsView->KeepShownRows(poll.Rows);
    m_SpareRows.swap(poll.Rows);
    // Room a much longer list took is not kept for the shorter ones after it.
    const size_t room = m_SpareRows.capacity();
    if (room > kKeptRowsRoom * static_cast<size_t>(m_MonitorsView->topLevelItemCount()) &&
        room * sizeof(SCA_KorvantaMonitorRow) > SCA_ClientSession::kMappedAboveBytes) {
        std::vector<SCA_KorvantaMonitorRow>().swap(m_SpareRows);
    }
}

int SCA_MainStatusPoll::ParseMonitorStatusString(const char* text, uint32_t* state,
                                                 uint32_t* runState, uint32_t* counters,
                                                 uint32_t* errors, uint32_t* warnings, char* host,
                                                 uint32_t hostSize, char* description,
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

int SCA_MainStatusPoll::UpdateStatusTitle(const SCA_KorvantaServerStatus& serverStatus) {
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
    m_Tray.SetStatus(state, text);
    return 1;
}

int SCA_MainStatusPoll::PlayNotificationSounds() {
    if (!m_Context.CheckConnected(0)) {
        return 0;
    }
    std::unique_ptr<SCA_SoundActions> actions(new (std::nothrow) SCA_SoundActions());
    if (actions == nullptr) {
        ReportError("SCA_SrvGui::PlayNotificationSounds: cannot create sound actions object");
        return 0;
    }
    uint64_t lastTime = m_LastSoundActionTime;
    if (!m_Context.Session->Poll([&](SCA_KorvantaInterface& client) {
            return client.GetSoundActions(m_LastSoundActionTime, &lastTime, actions.get());
        })) {
        if (m_Context.Session->IsConnected()) {
            ReportError("SCA_SrvGui::PlayNotificationSounds: cannot get sound actions object");
        }
        return 0;
    }
    m_LastSoundActionTime = lastTime;
    if (actions->Count() == 0) {
        return 1;
    }
    // The controller owns the batch from here, also when it refuses it.
    return m_Actions.AddActions(actions.release());
}
