// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <cstdint>
#include <vector>

#include "korvac/main/SCA_MainCommandContext.h"
#include "libmor/SCA_Limits.h"
#include "libtez/SCA_KorvantaMonitorRow.h"
#include "libtez/SCA_KorvantaServerStatus.h"

class QMainWindow;
class SCA_MonitorsView;
class SCA_SideBar;
class SCA_SrvActionCtrl;
class SCA_SrvLogView;
class SCA_SysTray;

// The main window's status poll: the service's status in the side bar and the tray, its
// monitor rows in the tree, its new log messages in the message pane, and the hand-over of
// new notification sounds to the sound worker. Waited for after a command, asked for by the
// window's timer; a poll that fails asks for the disconnection.
class SCA_MainStatusPoll : public QObject {
    Q_OBJECT
public:
    // More monitors than any service keeps: a list that long is refused, not shown.
    static constexpr size_t kMaxMonitorRows = 10000;
    // What the status bar says while the monitor rows on screen are not the last poll's.
    static constexpr const char* kRowsUnreadText =
        "Monitor list not updated: the service's monitor rows could not be read";

    // The poll shows in window's status bar, the tray and the panes given to ShowIn; sounds go
    // to actions.
    SCA_MainStatusPoll(const SCA_MainCommandContext& context, QMainWindow* window,
                       SCA_SysTray* tray, SCA_SrvActionCtrl* actions);

    // The panes the poll fills, once the window has built them.
    void ShowIn(SCA_SideBar* sideBar, SCA_MonitorsView* monitors, SCA_SrvLogView* log);

    // The status, waited for; 1 when it was shown.
    int UpdateStatus(int fullRefresh);
    // The status, asked for: shown when it comes, unless a newer one was shown meanwhile.
    void AskStatus();
    // Reads one monitor's status text (the codec's reading, reported when it fails).
    static int ParseMonitorStatusString(const char* text, uint32_t* state, uint32_t* runState,
                                        uint32_t* counters, uint32_t* errors, uint32_t* warnings,
                                        char* host, uint32_t hostSize, char* description,
                                        uint32_t descriptionSize);
    int UpdateStatusTitle(const SCA_KorvantaServerStatus& serverStatus);
    // Also called by the monitor windows' polls: never a box.
    int PlayNotificationSounds();
    // A new connection: the log is read from its start, and the first poll takes the service's
    // sound-action time instead of playing every sound the service ever queued.
    void Restart();
    // The rows shown are gone: the next rows are shown in full.
    void Forget() { m_LastMonitorsStatusId = SCA_ALL_ONES; }

    uint32_t LastMonitorsStatusId() const { return m_LastMonitorsStatusId; }
    uint32_t LastServerMessageId() const { return m_LastServerMessageId; }
    uint64_t LastSoundActionTime() const { return m_LastSoundActionTime; }

signals:
    // A poll failed: the session is to be closed.
    void Failed();

private:
    struct Poll;
    int ShowStatus(Poll& poll, int fullRefresh);
    void ShowMonitorRows(Poll& poll, int fullRefresh);
    void ShowLog(Poll& poll);

    SCA_MainCommandContext m_Context;
    QMainWindow& m_Window;
    SCA_SysTray& m_Tray;
    SCA_SrvActionCtrl& m_Actions;
    SCA_SideBar* m_SideBar = nullptr;
    SCA_MonitorsView* m_MonitorsView = nullptr;
    SCA_SrvLogView* m_LogView = nullptr;
    uint32_t m_LastMonitorsStatusId = SCA_ALL_ONES;
    // The storage the next poll reads its rows into.
    std::vector<SCA_KorvantaMonitorRow> m_SpareRows;
    uint32_t m_LastServerMessageId = SCA_ALL_ONES;
    // Statuses shown so far: a poll answered after a newer one was shown is dropped.
    uint64_t m_StatusesShown = 0;
    uint64_t m_LastSoundActionTime = 0;
    bool m_SoundTimeKnown = false;
};
