// The window's commands on the service's monitors. This version has none of them yet: their
// entries are disabled (ConnectCommand) and the slots do nothing, so that neither a keyboard
// shortcut nor a double click reaches a command that is not there.
#include "korvac/SCA_SrvGui.h"
#include "libtez/SCA_KorvantaInterface.h"

namespace {

using Slot = void (SCA_SrvGui::*)();

constexpr Slot kMissingCommands[] = {
    &SCA_SrvGui::AddSystemMonitor,
    &SCA_SrvGui::AddProcessMonitor,
    &SCA_SrvGui::AddCpuUsageMonitor,
    &SCA_SrvGui::AddMemoryUsageMonitor,
    &SCA_SrvGui::AddDiskActivityMonitor,
    &SCA_SrvGui::AddPhysicalDisksMonitor,
    &SCA_SrvGui::AddNetworkActivityMonitor,
    &SCA_SrvGui::AddNetworkFilterMonitor,
    &SCA_SrvGui::AddTcpProtocolMonitor,
    &SCA_SrvGui::AddUdpProtocolMonitor,
    &SCA_SrvGui::AddActiveDirMonitor,
    &SCA_SrvGui::AddSmbServerMonitor,
    &SCA_SrvGui::AddSqlServerMonitor,
    &SCA_SrvGui::AddWebServiceMonitor,
    &SCA_SrvGui::AddISCSITargetMonitor,
    &SCA_SrvGui::AddPrinterMonitor,
    &SCA_SrvGui::AddEmptyMonitor,
    &SCA_SrvGui::ViewMonitor,
    &SCA_SrvGui::EditMonitor,
    &SCA_SrvGui::MoveMonitorUp,
    &SCA_SrvGui::MoveMonitorDown,
    &SCA_SrvGui::StartMonitor,
    &SCA_SrvGui::PauseMonitor,
    &SCA_SrvGui::ResetMonitor,
    &SCA_SrvGui::StopMonitor,
    &SCA_SrvGui::DeleteMonitor,
    &SCA_SrvGui::ViewErrors,
    &SCA_SrvGui::SaveReport,
};

} // namespace

int SCA_SrvGui::IsMissingCommand(void (SCA_SrvGui::*slot)()) {
    for (Slot missing : kMissingCommands) {
        if (missing == slot) {
            return 1;
        }
    }
    return 0;
}

void SCA_SrvGui::MonitorDoubleClicked(QTreeWidgetItem*, int) {
    ViewMonitor();
}

#define SCA_SRV_GUI_MISSING_COMMAND(Name)                                                          \
    void SCA_SrvGui::Name() {}

SCA_SRV_GUI_MISSING_COMMAND(AddSystemMonitor)
SCA_SRV_GUI_MISSING_COMMAND(AddProcessMonitor)
SCA_SRV_GUI_MISSING_COMMAND(AddCpuUsageMonitor)
SCA_SRV_GUI_MISSING_COMMAND(AddMemoryUsageMonitor)
SCA_SRV_GUI_MISSING_COMMAND(AddDiskActivityMonitor)
SCA_SRV_GUI_MISSING_COMMAND(AddPhysicalDisksMonitor)
SCA_SRV_GUI_MISSING_COMMAND(AddNetworkActivityMonitor)
SCA_SRV_GUI_MISSING_COMMAND(AddNetworkFilterMonitor)
SCA_SRV_GUI_MISSING_COMMAND(AddTcpProtocolMonitor)
SCA_SRV_GUI_MISSING_COMMAND(AddUdpProtocolMonitor)
SCA_SRV_GUI_MISSING_COMMAND(AddActiveDirMonitor)
SCA_SRV_GUI_MISSING_COMMAND(AddSmbServerMonitor)
SCA_SRV_GUI_MISSING_COMMAND(AddSqlServerMonitor)
SCA_SRV_GUI_MISSING_COMMAND(AddWebServiceMonitor)
SCA_SRV_GUI_MISSING_COMMAND(AddISCSITargetMonitor)
SCA_SRV_GUI_MISSING_COMMAND(AddPrinterMonitor)
SCA_SRV_GUI_MISSING_COMMAND(AddEmptyMonitor)
SCA_SRV_GUI_MISSING_COMMAND(ViewMonitor)
SCA_SRV_GUI_MISSING_COMMAND(EditMonitor)
SCA_SRV_GUI_MISSING_COMMAND(MoveMonitorUp)
SCA_SRV_GUI_MISSING_COMMAND(MoveMonitorDown)
SCA_SRV_GUI_MISSING_COMMAND(StartMonitor)
SCA_SRV_GUI_MISSING_COMMAND(PauseMonitor)
SCA_SRV_GUI_MISSING_COMMAND(ResetMonitor)
SCA_SRV_GUI_MISSING_COMMAND(StopMonitor)
SCA_SRV_GUI_MISSING_COMMAND(DeleteMonitor)
SCA_SRV_GUI_MISSING_COMMAND(ViewErrors)
SCA_SRV_GUI_MISSING_COMMAND(SaveReport)

#undef SCA_SRV_GUI_MISSING_COMMAND

void SCA_SrvGui::ClearServerDebugLog() {
    const CommandAnswer answer(this);
    if (CheckConnected(1)) {
        m_Session->Command([](SCA_KorvantaInterface& client) { return client.ClearDebugLog(); });
    }
}
