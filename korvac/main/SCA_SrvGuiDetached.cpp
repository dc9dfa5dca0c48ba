// SPDX-License-Identifier: MIT
// The main window's detached viewers of a monitor and its desktop shortcuts.
#include <QMessageBox>

#include "korvac/kit/SCA_ViewerCommand.h"
#include "korvac/main/SCA_DesktopShortcut.h"
#include "korvac/main/SCA_MonitorsView.h"
#include "korvac/main/SCA_SrvGui.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "libvop/SCA_ModalHook.h"
#include "model/SCA_SrvMonitor.h"

namespace {

constexpr const char* kSelectMonitor = "Please, select a monitor.";

} // namespace

void SCA_SrvGui::ViewDetached() {
    ViewDetached(SCA_ALL_ONES);
}

int SCA_SrvGui::ViewDetached(uint32_t screen) {
    if (!CheckMonitorSelected(kSelectMonitor)) {
        return 0;
    }
    return SCA_ViewerCommand::StartMonitorViewer(
        {.MonitorId = m_MonitorsView->SelectedMonitorId(), .CounterId = {}, .ProcessId = {}},
        screen, m_ConfigName, m_Session->Client(), "SCA_SrvGui::ViewDetached");
}

QString SCA_SrvGui::DesktopShortcutName(SCA_SrvMonitor* monitor) {
    const QString description = QString::fromUtf8(monitor->GetDescription());
    if (!monitor->IsRemoteMonitor()) {
        return description;
    }
    return QStringLiteral("%1 - %2").arg(description,
                                         QString::fromUtf8(monitor->GetComputerName()));
}

void SCA_SrvGui::CreateDesktopShortcut() {
    const auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    if (!CheckMonitorSelected(kSelectMonitor)) {
        return;
    }
    const uint32_t monitorId = m_MonitorsView->SelectedMonitorId();
    SCA_SrvMonitor monitor(&m_LocalConfig, &m_UserConfig);
    if (!m_Session->Command([&](SCA_KorvantaInterface& client) {
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
    const QStringList arguments = SCA_ViewerCommand::Arguments(SCA_ViewerCommand::ForClient(
        SCA_ViewerCommand::Kind::Monitor, monitorId, m_ConfigName, m_Session->Client()));
    const QByteArray name = DesktopShortcutName(&monitor).toUtf8();
    if (SCA_IsDesktopShortcutExists(name.constData()) &&
        SCA_AskMessageBox(this, SCA_LEVEL_INFO, QStringLiteral("Message"),
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
    ShowMessage(this, SCA_LEVEL_INFO, "Monitor desktop shortcut successfully created.");
}
