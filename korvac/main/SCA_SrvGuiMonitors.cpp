// SPDX-License-Identifier: MIT
// The window's commands on the service's monitors: the selection in the tree, the context
// menu, registering and opening a monitor, and the commands on the selected monitors.
#include <QContextMenuEvent>
#include <QCursor>
#include <QMenu>
#include <QMessageBox>
#include <QTreeWidgetItemIterator>

#include "korvac/kit/SCA_DetachedMenu.h"
#include "korvac/main/SCA_AddMonitorCommands.h"
#include "korvac/main/SCA_GuiUpdateLock.h"
#include "korvac/main/SCA_MonitorsView.h"
#include "korvac/main/SCA_SrvGui.h"
#include "korvac/main/SCA_SrvMonDlg.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "libvop/SCA_ErrorListDlg.h"
#include "libvop/SCA_IconEngine.h"
#include "libvop/SCA_ModalHook.h"
#include "libvop/SCA_TreeRows.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezErrorList.h"
#include "model/SCA_TezProcessStatus.h"

void SCA_SrvGui::ClearServerDebugLog() {
    const CommandAnswer answer(this);
    if (CheckConnected(1)) {
        m_Session->Command([](SCA_KorvantaInterface& client) { return client.ClearDebugLog(); });
    }
}

void SCA_SrvGui::MonitorDoubleClicked(QTreeWidgetItem*, int) {
    ViewMonitor();
}

// --- the context menu ------------------------------------------------------------------------

int SCA_SrvGui::BuildMonitorContextMenu(QContextMenuEvent* event) {
    if (!CheckConnected(0)) {
        return 0;
    }
    QMenu menu(this);
    menu.setToolTipsVisible(true);
    QMenu* add = menu.addMenu(SCA_IconEngine::Load(QStringLiteral(":/images/add_16px.png")),
                              QStringLiteral("Add Monitor"));
    add->setToolTipsVisible(true);
    m_AddCommands->BuildMenu(add);
    menu.addSeparator();
    ConnectCommand(SCA_MainCommandContext::AddMenuAction(&menu, "Start Monitor", "play_16px.png"),
                   &SCA_SrvGui::StartMonitor);
    ConnectCommand(SCA_MainCommandContext::AddMenuAction(&menu, "Pause Monitor", "pause_16px.png"),
                   &SCA_SrvGui::PauseMonitor);
    ConnectCommand(SCA_MainCommandContext::AddMenuAction(&menu, "Reset Monitor", "clear_16px.png"),
                   &SCA_SrvGui::ResetMonitor);
    ConnectCommand(SCA_MainCommandContext::AddMenuAction(&menu, "Stop Monitor", "stop_16px.png"),
                   &SCA_SrvGui::StopMonitor);
    menu.addSeparator();
    ConnectCommand(
        SCA_MainCommandContext::AddMenuAction(&menu, "View Monitor ...", "chart_16px.png"),
        &SCA_SrvGui::ViewMonitor);
    SCA_DetachedMenu::AddEntries(&menu, "View Detached",
                                 [this](uint32_t screen) { ViewDetached(screen); });
    ConnectCommand(
        SCA_MainCommandContext::AddMenuAction(&menu, "View Errors ...", "action_16px.png"),
        &SCA_SrvGui::ViewErrors);
    menu.addSeparator();
    ConnectCommand(SCA_MainCommandContext::AddMenuAction(&menu, "Save Report ...", "save_16px.png"),
                   &SCA_SrvGui::SaveReport);
    menu.addSeparator();
    ConnectCommand(
        SCA_MainCommandContext::AddMenuAction(&menu, "Edit Monitor ...", "options_16px.png"),
        &SCA_SrvGui::EditMonitor);
    ConnectCommand(
        SCA_MainCommandContext::AddMenuAction(&menu, "Create Desktop Shortcut", "korva_16px.png"),
        &SCA_SrvGui::CreateDesktopShortcut);
    menu.addSeparator();
    ConnectCommand(
        SCA_MainCommandContext::AddMenuAction(&menu, "Move Monitor Up", "move_up_16px.png"),
        &SCA_SrvGui::MoveMonitorUp);
    ConnectCommand(
        SCA_MainCommandContext::AddMenuAction(&menu, "Move Monitor Down", "move_down_16px.png"),
        &SCA_SrvGui::MoveMonitorDown);
    menu.addSeparator();
    ConnectCommand(SCA_MainCommandContext::AddMenuAction(&menu, "Delete Monitor", "close_16px.png"),
                   &SCA_SrvGui::DeleteMonitor);
    SCA_ExecMenu(&menu, event != nullptr ? event->globalPos() : QCursor::pos());
    return 1;
}

// --- commands on the selected monitors -------------------------------------------------------

int SCA_SrvGui::CheckMonitorSelected(const char* selectText) {
    if (!CheckConnected(1)) {
        return 0;
    }
    if (m_MonitorsView->SelectedMonitor() == nullptr) {
        ShowMessage(this, SCA_LEVEL_INFO, selectText);
        return 0;
    }
    return 1;
}

void SCA_SrvGui::RunOnSelectedMonitors(const char* selectText, const char* failure,
                                       int (SCA_KorvantaInterface::*call)(uint32_t),
                                       int fullRefresh, const char* question) {
    if (!CheckMonitorSelected(selectText)) {
        return;
    }
    if (question != nullptr &&
        SCA_AskMessageBox(this, SCA_LEVEL_WARNING, QStringLiteral("Warning"),
                          QString::fromLatin1(question),
                          QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    for (const uint32_t id : m_MonitorsView->SelectedMonitorIds()) {
        if (!m_Session->Command(
                [&](SCA_KorvantaInterface& client) { return (client.*call)(id); })) {
            SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "%s - %u", failure, id);
            return;
        }
    }
    m_MonitorsView->ClearMonitorSelection();
    UpdateStatus(fullRefresh);
}

void SCA_SrvGui::PauseMonitor() {
    RunOnSelectedMonitors("Please, select a monitor to pause.", "Cannot pause monitor",
                          &SCA_KorvantaInterface::PauseMonitor, 0, nullptr);
}

void SCA_SrvGui::ResetMonitor() {
    RunOnSelectedMonitors("Please, select a monitor to reset.", "Cannot reset monitor",
                          &SCA_KorvantaInterface::ResetMonitor, 0, nullptr);
}

void SCA_SrvGui::StopMonitor() {
    RunOnSelectedMonitors("Please, select a monitor to stop.", "Cannot stop monitor",
                          &SCA_KorvantaInterface::StopMonitor, 0, nullptr);
}

void SCA_SrvGui::DeleteMonitor() {
    RunOnSelectedMonitors("Please, select a monitor to delete.", "Cannot delete monitor",
                          &SCA_KorvantaInterface::DeleteMonitor, 1,
                          "Are you sure you want to delete the selected monitors?");
}

void SCA_SrvGui::StartMonitor() {
    if (!CheckMonitorSelected("Please, select a monitor to start.")) {
        return;
    }
    for (const uint32_t id : m_MonitorsView->SelectedMonitorIds()) {
        SCA_KorvantaInterface::MonitorStats stats;
        if (!m_Session->Command([&](SCA_KorvantaInterface& client) {
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
        if (!m_Session->Command(
                [&](SCA_KorvantaInterface& client) { return client.StartMonitor(id); })) {
            SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "Cannot start monitor - %u",
                                                      id);
        }
    }
    m_MonitorsView->ClearMonitorSelection();
    UpdateStatus(0);
}

void SCA_SrvGui::EditMonitor() {
    const SCA_GuiUpdateLock lock(this);
    if (!CheckMonitorSelected("Please, select a monitor to edit.")) {
        return;
    }
    const uint32_t id = SCA_MonitorsView::MonitorIdOf(m_MonitorsView->SelectedMonitor());
    SCA_SrvMonitor monitor(&m_LocalConfig, &m_UserConfig);
    if (!m_Session->Command(
            [&](SCA_KorvantaInterface& client) { return client.GetMonitor(id, &monitor); })) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "Cannot get monitor - %u", id);
        return;
    }
    if (!m_AddCommands->RunMonitorDialog(&monitor, QStringLiteral("Edit Monitor"))) {
        return;
    }
    if (!m_Session->Command(
            [&](SCA_KorvantaInterface& client) { return client.SetMonitor(id, &monitor); })) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "Cannot set monitor - %u", id);
        return;
    }
    m_MonitorsView->ClearMonitorSelection();
    UpdateStatus(1);
}

void SCA_SrvGui::MoveSelectedMonitor(int (SCA_KorvantaInterface::*call)(uint32_t)) {
    if (!CheckMonitorSelected("Please, select a monitor to move.")) {
        return;
    }
    const uint32_t id = SCA_MonitorsView::MonitorIdOf(m_MonitorsView->SelectedMonitor());
    if (!m_Session->Command([&](SCA_KorvantaInterface& client) { return (client.*call)(id); })) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "Cannot move monitor - %u", id);
        return;
    }
    UpdateStatus(1);
}

void SCA_SrvGui::MoveMonitorUp() {
    MoveSelectedMonitor(&SCA_KorvantaInterface::MoveMonitorUp);
}

void SCA_SrvGui::MoveMonitorDown() {
    MoveSelectedMonitor(&SCA_KorvantaInterface::MoveMonitorDown);
}

void SCA_SrvGui::ViewErrors() {
    const SCA_GuiUpdateLock lock(this);
    if (!CheckConnected(1)) {
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
        if (!m_Session->Command([&](SCA_KorvantaInterface& client) {
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
    SCA_ErrorListDlg dialog(this, &collected, nullptr, "System Monitoring");
    if (dialog.FillDialog()) {
        SCA_ExecDialog(&dialog);
    }
}
