// The window's commands on the service. Each asks for a connection first; what a command does
// once connected arrives with the connection to a service.
#include "korvac/SCA_SrvGui.h"
#include "libtez/SCA_KorvantaInterface.h"

void SCA_SrvGui::MonitorDoubleClicked(QTreeWidgetItem*, int) {
    ViewMonitor();
}

#define SCA_SRV_GUI_SERVICE_COMMAND(Name)                                                          \
    void SCA_SrvGui::Name() {                                                                      \
        CheckConnected(1);                                                                         \
    }

SCA_SRV_GUI_SERVICE_COMMAND(AddSystemMonitor)
SCA_SRV_GUI_SERVICE_COMMAND(AddProcessMonitor)
SCA_SRV_GUI_SERVICE_COMMAND(AddCpuUsageMonitor)
SCA_SRV_GUI_SERVICE_COMMAND(AddMemoryUsageMonitor)
SCA_SRV_GUI_SERVICE_COMMAND(AddDiskActivityMonitor)
SCA_SRV_GUI_SERVICE_COMMAND(AddPhysicalDisksMonitor)
SCA_SRV_GUI_SERVICE_COMMAND(AddNetworkActivityMonitor)
SCA_SRV_GUI_SERVICE_COMMAND(AddNetworkFilterMonitor)
SCA_SRV_GUI_SERVICE_COMMAND(AddTcpProtocolMonitor)
SCA_SRV_GUI_SERVICE_COMMAND(AddUdpProtocolMonitor)
SCA_SRV_GUI_SERVICE_COMMAND(AddActiveDirMonitor)
SCA_SRV_GUI_SERVICE_COMMAND(AddSmbServerMonitor)
SCA_SRV_GUI_SERVICE_COMMAND(AddSqlServerMonitor)
SCA_SRV_GUI_SERVICE_COMMAND(AddWebServiceMonitor)
SCA_SRV_GUI_SERVICE_COMMAND(AddISCSITargetMonitor)
SCA_SRV_GUI_SERVICE_COMMAND(AddPrinterMonitor)
SCA_SRV_GUI_SERVICE_COMMAND(AddEmptyMonitor)
SCA_SRV_GUI_SERVICE_COMMAND(ViewMonitor)
SCA_SRV_GUI_SERVICE_COMMAND(EditMonitor)
SCA_SRV_GUI_SERVICE_COMMAND(MoveMonitorUp)
SCA_SRV_GUI_SERVICE_COMMAND(MoveMonitorDown)
SCA_SRV_GUI_SERVICE_COMMAND(StartMonitor)
SCA_SRV_GUI_SERVICE_COMMAND(PauseMonitor)
SCA_SRV_GUI_SERVICE_COMMAND(ResetMonitor)
SCA_SRV_GUI_SERVICE_COMMAND(StopMonitor)
SCA_SRV_GUI_SERVICE_COMMAND(DeleteMonitor)
SCA_SRV_GUI_SERVICE_COMMAND(ViewErrors)
SCA_SRV_GUI_SERVICE_COMMAND(ViewReports)
SCA_SRV_GUI_SERVICE_COMMAND(SaveReport)

#undef SCA_SRV_GUI_SERVICE_COMMAND

void SCA_SrvGui::ClearServerDebugLog() {
    if (CheckConnected(1)) {
        m_Client->ClearDebugLog();
    }
}
