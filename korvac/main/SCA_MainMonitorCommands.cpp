// SPDX-License-Identifier: MIT
// The commands on the selected monitors, the context menu that offers them, and opening a
// monitor in a live window, a detached viewer or a desktop shortcut.
#include "korvac/main/SCA_MainMonitorCommands.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QMenu>
#include <QMessageBox>
#include <QTreeWidgetItem>

#include "korvac/kit/SCA_ClientSession.h"
#include "korvac/kit/SCA_DetachedMenu.h"
#include "korvac/kit/SCA_ViewerCommand.h"
#include "korvac/main/SCA_AddMonitorCommands.h"
#include "korvac/main/SCA_DesktopShortcut.h"
#include "korvac/main/SCA_GuiUpdateLock.h"
#include "korvac/main/SCA_MainStatusPoll.h"
#include "korvac/main/SCA_MonitorsView.h"
#include "korvac/main/SCA_SrvGui.h"
#include "korvac/viewer/SCA_WindowKinds.h"
#include "libmor/SCA_Report.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "libvop/SCA_ErrorListDlg.h"
#include "libvop/SCA_IconEngine.h"
#include "libvop/SCA_ModalHook.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezErrorList.h"
#include "model/SCA_TezProcessStatus.h"

namespace {

constexpr const char* kSelectMonitor = "Please, select a monitor.";

} // namespace

SCA_MainMonitorCommands::SCA_MainMonitorCommands(const SCA_MainCommandContext& context,
                                                 SCA_SrvGui* window, SCA_MainStatusPoll* poll,
                                                 SCA_AddMonitorCommands* add)
    : QObject(window), m_Context(context), m_Window(*window), m_Poll(*poll), m_AddCommands(*add) {
    setObjectName(QStringLiteral("MonitorCommands"));
}

void SCA_MainMonitorCommands::WorkOn(SCA_MonitorsView* monitors) {
    m_MonitorsView = monitors;
}

void SCA_MainMonitorCommands::Offer(QAction* action, void (SCA_MainMonitorCommands::*slot)()) {
    connect(action, &QAction::triggered, this, slot);
}

void SCA_MainMonitorCommands::MonitorDoubleClicked(QTreeWidgetItem*, int) {
    ViewMonitor();
}

// --- the context menu ------------------------------------------------------------------------

int SCA_MainMonitorCommands::BuildMonitorContextMenu(QContextMenuEvent* event) {
    if (!m_Context.CheckConnected(0)) {
        return 0;
    }
    QMenu menu(m_Context.Window);
    menu.setToolTipsVisible(true);
    QMenu* add = menu.addMenu(SCA_IconEngine::Load(QStringLiteral(":/images/add_16px.png")),
                              QStringLiteral("Add Monitor"));
    add->setToolTipsVisible(true);
    m_AddCommands.BuildMenu(add);
    menu.addSeparator();
    Offer(SCA_MainCommandContext::AddMenuAction(&menu, "Start Monitor", "play_16px.png"),
          &SCA_MainMonitorCommands::StartMonitor);
    Offer(SCA_MainCommandContext::AddMenuAction(&menu, "Pause Monitor", "pause_16px.png"),
          &SCA_MainMonitorCommands::PauseMonitor);
    Offer(SCA_MainCommandContext::AddMenuAction(&menu, "Reset Monitor", "clear_16px.png"),
          &SCA_MainMonitorCommands::ResetMonitor);
    Offer(SCA_MainCommandContext::AddMenuAction(&menu, "Stop Monitor", "stop_16px.png"),
          &SCA_MainMonitorCommands::StopMonitor);
    menu.addSeparator();
    Offer(SCA_MainCommandContext::AddMenuAction(&menu, "View Monitor ...", "chart_16px.png"),
          &SCA_MainMonitorCommands::ViewMonitor);
    SCA_DetachedMenu::AddEntries(&menu, "View Detached",
                                 [this](uint32_t screen) { ViewDetached(screen); });
    Offer(SCA_MainCommandContext::AddMenuAction(&menu, "View Errors ...", "action_16px.png"),
          &SCA_MainMonitorCommands::ViewErrors);
    menu.addSeparator();
    Offer(SCA_MainCommandContext::AddMenuAction(&menu, "Save Report ...", "save_16px.png"),
          &SCA_MainMonitorCommands::SaveReport);
    menu.addSeparator();
    Offer(SCA_MainCommandContext::AddMenuAction(&menu, "Edit Monitor ...", "options_16px.png"),
          &SCA_MainMonitorCommands::EditMonitor);
    Offer(SCA_MainCommandContext::AddMenuAction(&menu, "Create Desktop Shortcut", "korva_16px.png"),
          &SCA_MainMonitorCommands::CreateDesktopShortcut);
    menu.addSeparator();
    Offer(SCA_MainCommandContext::AddMenuAction(&menu, "Move Monitor Up", "move_up_16px.png"),
          &SCA_MainMonitorCommands::MoveMonitorUp);
    Offer(SCA_MainCommandContext::AddMenuAction(&menu, "Move Monitor Down", "move_down_16px.png"),
          &SCA_MainMonitorCommands::MoveMonitorDown);
    menu.addSeparator();
    Offer(SCA_MainCommandContext::AddMenuAction(&menu, "Delete Monitor", "close_16px.png"),
          &SCA_MainMonitorCommands::DeleteMonitor);
    SCA_ExecMenu(&menu, event != nullptr ? event->globalPos() : QCursor::pos());
    return 1;
}

// --- commands on the selected monitors -------------------------------------------------------

int SCA_MainMonitorCommands::CheckMonitorSelected(const char* selectText) {
    if (!m_Context.CheckConnected(1)) {
        return 0;
    }
    if (m_MonitorsView->SelectedMonitor() == nullptr) {
        SCA_MainCommandContext::ShowMessage(m_Context.Window, SCA_LEVEL_INFO, selectText);
        return 0;
    }
    return 1;
}

void SCA_MainMonitorCommands::RunOnSelectedMonitors(const char* selectText, const char* failure,
                                                    int (SCA_KorvantaInterface::*call)(uint32_t),
                                                    int fullRefresh, const char* question) {
    if (!CheckMonitorSelected(selectText)) {
        return;
    }
    if (question != nullptr &&
        SCA_AskMessageBox(m_Context.Window, SCA_LEVEL_WARNING, QStringLiteral("Warning"),
                          QString::fromLatin1(question),
                          QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    for (const uint32_t id : m_MonitorsView->SelectedMonitorIds()) {
        if (!m_Context.Session->Command(
                [&](SCA_KorvantaInterface& client) { return (client.*call)(id); })) {
            SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "%s - %u", failure, id);
            return;
        }
    }
    m_MonitorsView->ClearMonitorSelection();
    m_Poll.UpdateStatus(fullRefresh);
}

void SCA_MainMonitorCommands::PauseMonitor() {
    RunOnSelectedMonitors("Please, select a monitor to pause.", "Cannot pause monitor",
                          &SCA_KorvantaInterface::PauseMonitor, 0, nullptr);
}

void SCA_MainMonitorCommands::ResetMonitor() {
    RunOnSelectedMonitors("Please, select a monitor to reset.", "Cannot reset monitor",
                          &SCA_KorvantaInterface::ResetMonitor, 0, nullptr);
}

void SCA_MainMonitorCommands::StopMonitor() {
    RunOnSelectedMonitors("Please, select a monitor to stop.", "Cannot stop monitor",
                          &SCA_KorvantaInterface::StopMonitor, 0, nullptr);
}

void SCA_MainMonitorCommands::DeleteMonitor() {
    RunOnSelectedMonitors("Please, select a monitor to delete.", "Cannot delete monitor",
                          &SCA_KorvantaInterface::DeleteMonitor, 1,
                          "Are you sure you want to delete the selected monitors?");
}

void SCA_MainMonitorCommands::StartMonitor() {
    if (!CheckMonitorSelected("Please, select a monitor to start.")) {
        return;
    }
    for (const uint32_t id : m_MonitorsView->SelectedMonitorIds()) {
        SCA_KorvantaInterface::MonitorStats stats;
        if (!m_Context.Session->Command([&](SCA_KorvantaInterface& client) {
                return client.GetMonitorStats(id, &stats);
            })) {
            SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                      "Cannot get monitor status - %u", id);
            return;
        }
        if (stats.Type == SCA_SRV_MONITOR_COUNTERS && stats.Counters == 0) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "Cannot start monitor %u, no counters configured", id);
            continue;
        }
        if (!m_Context.Session->Command(
                [&](SCA_KorvantaInterface& client) { return client.StartMonitor(id); })) {
            SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "Cannot start monitor - %u",
                                                      id);
        }
    }
    m_MonitorsView->ClearMonitorSelection();
    m_Poll.UpdateStatus(0);
}

void SCA_MainMonitorCommands::EditMonitor() {
    const SCA_GuiUpdateLock lock(m_Context.UpdateLock);
    if (!CheckMonitorSelected("Please, select a monitor to edit.")) {
        return;
    }
    const uint32_t id = SCA_MonitorsView::MonitorIdOf(m_MonitorsView->SelectedMonitor());
    SCA_SrvMonitor monitor(m_Context.LocalConfig, m_Context.UserConfig);
    if (!m_Context.Session->Command(
            [&](SCA_KorvantaInterface& client) { return client.GetMonitor(id, &monitor); })) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "Cannot get monitor - %u", id);
        return;
    }
    if (!m_AddCommands.RunMonitorDialog(&monitor, QStringLiteral("Edit Monitor"))) {
        return;
    }
    if (!m_Context.Session->Command(
            [&](SCA_KorvantaInterface& client) { return client.SetMonitor(id, &monitor); })) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "Cannot set monitor - %u", id);
        return;
    }
    m_MonitorsView->ClearMonitorSelection();
    m_Poll.UpdateStatus(1);
}

void SCA_MainMonitorCommands::MoveSelectedMonitor(int (SCA_KorvantaInterface::*call)(uint32_t)) {
    if (!CheckMonitorSelected("Please, select a monitor to move.")) {
        return;
    }
    const uint32_t id = SCA_MonitorsView::MonitorIdOf(m_MonitorsView->SelectedMonitor());
    if (!m_Context.Session->Command(
            [&](SCA_KorvantaInterface& client) { return (client.*call)(id); })) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "Cannot move monitor - %u", id);
        return;
    }
    m_Poll.UpdateStatus(1);
}

void SCA_MainMonitorCommands::MoveMonitorUp() {
    MoveSelectedMonitor(&SCA_KorvantaInterface::MoveMonitorUp);
}

void SCA_MainMonitorCommands::MoveMonitorDown() {
    MoveSelectedMonitor(&SCA_KorvantaInterface::MoveMonitorDown);
}

void SCA_MainMonitorCommands::ViewErrors() {
    const SCA_GuiUpdateLock lock(m_Context.UpdateLock);
    if (!m_Context.CheckConnected(1)) {
        return;
    }
    // Without a selected monitor the errors of every monitor are listed.
    const std::vector<uint32_t> ids = m_MonitorsView->SelectedMonitor() != nullptr
                                          ? m_MonitorsView->SelectedMonitorIds()
                                          : m_MonitorsView->AllMonitorIds();
    SCA_TezErrorList errors;
    SCA_TezErrorList collected;
    for (const uint32_t id : ids) {
        // Each monitor's query starts from an empty list: no error is counted twice.
        errors.ClearAll();
        if (!m_Context.Session->Command([&](SCA_KorvantaInterface& client) {
                return client.GetMonitorErrors(id, &errors);
            })) {
            SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                      "Cannot get errors for monitor - %u", id);
            return;
        }
        if (!collected.AddErrors(errors)) {
            return;
        }
    }
    SCA_ErrorListDlg dialog(m_Context.Window, &collected, nullptr, "System Monitoring");
    if (dialog.FillDialog()) {
        SCA_ExecDialog(&dialog);
    }
}

void SCA_MainMonitorCommands::ViewMonitor() {
    if (!m_Context.CheckConnected(1)) {
        return;
    }
    const uint32_t monitorId = m_MonitorsView->SelectedMonitorId();
    if (monitorId == SCA_ALL_ONES) {
        SCA_MainCommandContext::ShowMessage(m_Context.Window, SCA_LEVEL_INFO,
                                            "Please, select a monitor.");
        return;
    }
    ViewMonitor(monitorId);
}

int SCA_MainMonitorCommands::ViewMonitor(uint32_t monitorId) {
    const SCA_GuiUpdateLock lock(m_Context.UpdateLock);
    // Failures here and in the window are logged: the user sees the state at the next poll.
    SCA_KorvantaInterface::MonitorStats stats;
    if (!m_Context.Session->Command([&](SCA_KorvantaInterface& client) {
            return client.GetMonitorStats(monitorId, &stats);
        })) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_SrvGui::ViewMonitor: Cannot get monitor status - %u", monitorId);
        return 0;
    }
    const SCA_WindowKind* kind = SCA_WindowKind::Of(stats.Type);
    return kind != nullptr ? kind->RunMonitor(&m_Window, m_Window.WindowContext(), monitorId) : 1;
}

void SCA_MainMonitorCommands::ViewDetached() {
    ViewDetached(SCA_ALL_ONES);
}

int SCA_MainMonitorCommands::ViewDetached(uint32_t screen) {
    if (!CheckMonitorSelected(kSelectMonitor)) {
        return 0;
    }
    return SCA_ViewerCommand::StartMonitorViewer(
        {.MonitorId = m_MonitorsView->SelectedMonitorId(), .CounterId = {}, .ProcessId = {}},
        screen, m_Context.ConfigName, m_Context.Session->Client(), "SCA_SrvGui::ViewDetached");
}

QString SCA_MainMonitorCommands::DesktopShortcutName(SCA_SrvMonitor* monitor) {
    const QString description = QString::fromUtf8(monitor->GetDescription());
    if (!monitor->IsRemoteMonitor()) {
        return description;
    }
    return QStringLiteral("%1 - %2").arg(description,
                                         QString::fromUtf8(monitor->GetComputerName()));
}

void SCA_MainMonitorCommands::CreateDesktopShortcut() {
    const auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    if (!CheckMonitorSelected(kSelectMonitor)) {
        return;
    }
    const uint32_t monitorId = m_MonitorsView->SelectedMonitorId();
    SCA_SrvMonitor monitor(m_Context.LocalConfig, m_Context.UserConfig);
    if (!m_Context.Session->Command([&](SCA_KorvantaInterface& client) {
            return client.GetMonitor(monitorId, &monitor);
        })) {
        report(SCA_LEVEL_ERROR, "SCA_SrvGui::CreateDesktopShortcut: cannot get monitor - %u",
               monitorId);
        return;
    }
    const QString program = SCA_ViewerCommand::Program("SCA_SrvGui::CreateDesktopShortcut");
    if (program.isEmpty()) {
        return;
    }
    // The shortcut carries no password: the viewer it starts asks for one.
    const QStringList arguments = SCA_ViewerCommand::Arguments(
        SCA_ViewerCommand::ForClient(SCA_ViewerCommand::Kind::Monitor, monitorId,
                                     m_Context.ConfigName, m_Context.Session->Client()));
    const QByteArray name = DesktopShortcutName(&monitor).toUtf8();
    if (SCA_IsDesktopShortcutExists(name.constData()) &&
        SCA_AskMessageBox(m_Context.Window, SCA_LEVEL_INFO, QStringLiteral("Message"),
                          QStringLiteral("A desktop shortcut with the same name already "
                                         "exists.\nDo you want to overwrite the existing desktop "
                                         "shortcut?"),
                          QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    uint32_t error = 0;
    if (!SCA_CreateDesktopShortcut(name.constData(), program, arguments, &error)) {
        report(SCA_LEVEL_ERROR, "Cannot create desktop shortcut - %s", name.constData());
        return;
    }
    SCA_MainCommandContext::ShowMessage(m_Context.Window, SCA_LEVEL_INFO,
                                        "Monitor desktop shortcut successfully created.");
}
