// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "korvac/main/SCA_MainCommandContext.h"

class QAction;
class QContextMenuEvent;
class QTreeWidgetItem;
class SCA_AddMonitorCommands;
class SCA_KorvantaInterface;
class SCA_MainStatusPoll;
class SCA_MonitorsView;
class SCA_SrvGui;
class SCA_SrvMonitor;

// The main window's commands on the monitors selected in its tree: start, pause, reset, stop,
// delete, move, edit, view (in a live window or a detached viewer), desktop shortcuts, errors
// and reports, and the tree's context menu that offers them. Each refreshes the tree by the
// window's status poll when the service's monitors changed.
class SCA_MainMonitorCommands : public QObject {
    Q_OBJECT
public:
    // The windows the commands open are built from window's context; add runs the monitor
    // dialog that "Edit Monitor" shares with the add commands.
    SCA_MainMonitorCommands(const SCA_MainCommandContext& context, SCA_SrvGui* window,
                            SCA_MainStatusPoll* poll, SCA_AddMonitorCommands* add);

    // The tree the commands work on, once the window has built it.
    void WorkOn(SCA_MonitorsView* monitors);
    // Runs the monitors' context menu at the event's position; 0 when not connected (no menu).
    int BuildMonitorContextMenu(QContextMenuEvent* event);
    // Opens the live window of a monitor, modally, while the window's own poll is held; 1 when
    // a window was shown (or the monitor's type has none), 0 on failure.
    int ViewMonitor(uint32_t monitorId);
    // Starts a detached viewer of the selected monitor on a screen (all ones: where the
    // windowing system puts it); 1 when the viewer process was started.
    int ViewDetached(uint32_t screen);
    // The name of the desktop shortcut of a monitor: its description, and for a remote monitor
    // " - " and its computer.
    static QString DesktopShortcutName(SCA_SrvMonitor* monitor);
    // The format that the next "Save Report" offers first.
    uint32_t SaveReportFormat() const { return m_SaveReportFormat; }

public slots:
    void MonitorDoubleClicked(QTreeWidgetItem* item, int column);
    void ViewMonitor();
    void ViewDetached();
    void CreateDesktopShortcut();
    void EditMonitor();
    void MoveMonitorUp();
    void MoveMonitorDown();
    void StartMonitor();
    void PauseMonitor();
    void ResetMonitor();
    void StopMonitor();
    void DeleteMonitor();
    void ViewErrors();
    void ViewReports();
    void SaveReport();

private:
    // An entry of the context menu that runs slot.
    void Offer(QAction* action, void (SCA_MainMonitorCommands::*slot)());
    // Connected and a monitor selected; else the user is told (selectText) and 0.
    int CheckMonitorSelected(const char* selectText);
    // A command on every selected monitor: call for each in tree order, stopping at the
    // first failure (logged as "<failure> - <id>"); then the selection is cleared and the
    // tree refreshed. A question (Yes or No) is asked first when given.
    void RunOnSelectedMonitors(const char* selectText, const char* failure,
                               int (SCA_KorvantaInterface::*call)(uint32_t), int fullRefresh,
                               const char* question);
    void MoveSelectedMonitor(int (SCA_KorvantaInterface::*call)(uint32_t));
    // Saves one monitor's report into the run's folder (a monitor without a run is skipped);
    // 0 when the run must stop. The paths written go to *written.
    int SaveMonitorReport(uint32_t monitorId, uint32_t format, uint32_t option, const char* folder,
                          const char* stamp, std::vector<std::string>* written);

    SCA_MainCommandContext m_Context;
    SCA_SrvGui& m_Window;
    SCA_MainStatusPoll& m_Poll;
    SCA_AddMonitorCommands& m_AddCommands;
    SCA_MonitorsView* m_MonitorsView = nullptr;
    // The last valid choice of "Save Report", offered first next time.
    uint32_t m_SaveReportFormat = 0;
    uint32_t m_SaveReportOption = 0;
};
