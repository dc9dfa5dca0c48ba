// SPDX-License-Identifier: MIT
// Opening a monitor's live window from the main window.
#include <QTreeWidgetItem>

#include "korvac/SCA_GuiUpdateLock.h"
#include "korvac/SCA_MonitorsView.h"
#include "korvac/SCA_ProcessWindows.h"
#include "korvac/SCA_SrvGui.h"
#include "korvac/SCA_SrvMonStatusDlg.h"
#include "libmor/SCA_Report.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "libvop/SCA_ModalHook.h"
#include "libvop/SCA_TreeRows.h"
#include "model/SCA_SrvMonitor.h"

uint32_t SCA_SrvGui::GetSelectedMonitorId() const {
    const QTreeWidgetItem* row = m_MonitorsView->currentItem();
    return row != nullptr && row->isSelected() ? SCA_TreeRows::IdOf(row).toUInt() : SCA_ALL_ONES;
}

void SCA_SrvGui::ViewMonitor() {
    if (!CheckConnected(1)) {
        return;
    }
    const uint32_t monitorId = GetSelectedMonitorId();
    if (monitorId == SCA_ALL_ONES) {
        ShowMessage(this, SCA_LEVEL_INFO, "Please, select a monitor.");
        return;
    }
    ViewMonitor(monitorId);
}

int SCA_SrvGui::ViewMonitor(uint32_t monitorId) {
    const SCA_GuiUpdateLock lock(this);
    // Failures here and in the window are logged: the user sees the state at the next poll.
    SCA_KorvantaInterface::MonitorStats stats;
    if (!m_Session->Command([&](SCA_KorvantaInterface& client) {
            return client.GetMonitorStats(monitorId, &stats);
        })) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_SrvGui::ViewMonitor: Cannot get monitor status - %u", monitorId);
        return 0;
    }
    if (stats.Type == SCA_SRV_MONITOR_PROCESS) {
        return SCA_RunProcessMonitorWindow(this, this, &m_ServerConfig, &m_ServerUserConfig,
                                           &m_UserConfig, &m_Params, m_ConfigName, m_Session,
                                           monitorId);
    }
    if (stats.Type != SCA_SRV_MONITOR_COUNTERS) {
        return 1;
    }
    SCA_SrvMonStatusDlg window(this, this, &m_ServerConfig, &m_ServerUserConfig, &m_UserConfig,
                               &m_Params, m_ConfigName, m_Session, monitorId);
    if (!window.StartProcess()) {
        return 0;
    }
    // Through the hook but with the window's own frame: it can be maximised.
    SCA_GetModalHook()->Exec(&window);
    window.StopProcess();
    return 1;
}
