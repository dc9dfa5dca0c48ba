// SPDX-License-Identifier: MIT
#include "korvac/viewer/SCA_VdmGui.h"

#include "korvac/kit/SCA_ClientSession.h"
#include "korvac/viewer/SCA_WindowKinds.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezProcess.h"
#include "model/SCA_TezVocabulary.h"

SCA_VdmGui::SCA_VdmGui(QApplication* app) : SCA_ViewerGui(app, "SCA_VdmGui") {}

SCA_VdmGui::~SCA_VdmGui() = default;

int SCA_VdmGui::DoProcess(int argc, char** argv) {
    if (!StartUp(argc, argv, SCA_ViewerCommand::kMonitorParam)) {
        return 0;
    }
    SCA_KorvantaInterface::MonitorStats stats;
    if (!m_Session->Command([&](SCA_KorvantaInterface& client) {
            return client.GetMonitorStats(m_ObjectId, &stats);
        })) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_VdmGui::DoProcess: Cannot get monitor status - %u", m_ObjectId);
        return 0;
    }
    const SCA_WindowKind* kind = SCA_WindowKind::Of(stats.Type);
    if (kind == nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_VdmGui::DoProcess: Unsupported monitor type - %u", stats.Type);
        return 0;
    }
    uint32_t itemId = 0;
    if (!SCA_ViewerCommand::ReadNumber(&m_Params, kind->ItemParam, &itemId)) {
        return RunHookedWindow(
            [&] { return kind->RunMonitor(nullptr, WindowContext(), m_ObjectId); });
    }
    if (stats.Type == SCA_SRV_MONITOR_PROCESS && !CheckProcess(itemId)) {
        return 0;
    }
    return RunHookedWindow(
        [&] { return kind->RunItem(nullptr, WindowContext(), m_ObjectId, itemId); });
}

int SCA_VdmGui::CheckProcess(uint32_t processId) {
    const auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    SCA_SrvMonitor monitor(&m_ServerConfig, &m_ServerUserConfig);
    if (!m_Session->Command([&](SCA_KorvantaInterface& client) {
            return client.GetMonitor(m_ObjectId, &monitor);
        })) {
        report(SCA_LEVEL_ERROR, "SCA_VdmGui::ExecuteProcessMonitor: cannot get monitor - %u",
               m_ObjectId);
        return 0;
    }
    SCA_TezProcess process;
    if (!m_Session->Command([&](SCA_KorvantaInterface& client) {
            return client.GetMonitorProcess(m_ObjectId, processId, 0, &process);
        })) {
        report(SCA_LEVEL_ERROR, "SCA_VdmGui::ExecuteProcessMonitor: Cannot get process - %u:%u",
               m_ObjectId, processId);
        return 0;
    }
    return 1;
}
