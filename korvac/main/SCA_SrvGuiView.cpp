// SPDX-License-Identifier: MIT
// Opening a monitor's live window from the main window.
#include <QTreeWidgetItem>

#include "korvac/main/SCA_GuiUpdateLock.h"
#include "korvac/main/SCA_MonitorsView.h"
#include "korvac/main/SCA_SrvGui.h"
#include "korvac/viewer/SCA_WindowKinds.h"
#include "libmor/SCA_Report.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "libvop/SCA_TreeRows.h"
#include "model/SCA_SrvMonitor.h"

void SCA_SrvGui::ViewMonitor() {
    if (!CheckConnected(1)) {
        return;
    }
    const uint32_t monitorId = m_MonitorsView->SelectedMonitorId();
    if (monitorId == SCA_ALL_ONES) {
        ShowMessage(this, SCA_LEVEL_INFO, "Please, select a monitor.");
        return;
    }
    ViewMonitor(monitorId);
}

SCA_WindowContext SCA_SrvGui::WindowContext() {
    return {.ProductConfig = &m_ServerConfig,
            .UserConfig = &m_ServerUserConfig,
            .ClientUserConfig = &m_UserConfig,
            .Params = &m_Params,
            .ConfigName = m_ConfigName,
            .Session = m_Session,
            .Host = &m_WindowHost};
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
    const SCA_WindowKind* kind = SCA_WindowKind::Of(stats.Type);
    return kind != nullptr ? kind->RunMonitor(this, WindowContext(), monitorId) : 1;
}
