// SPDX-License-Identifier: MIT
#include "korvac/SCA_VdmGui.h"

#include "korvac/SCA_ClientSession.h"
#include "korvac/SCA_ProcessWindows.h"
#include "korvac/SCA_SrvCounterDlg.h"
#include "korvac/SCA_SrvMonStatusDlg.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezProcess.h"
#include "model/SCA_TezVocabulary.h"

namespace {

constexpr const char* kCounterParam = "counter";
constexpr const char* kPidParam = "pid";
// The single-counter window of a viewer can be minimised.
constexpr int kWithMinimizeButton = 1;

} // namespace

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
    uint32_t id = 0;
    switch (stats.Type) {
    case SCA_SRV_MONITOR_COUNTERS:
        return SCA_ViewerCommand::ReadNumber(&m_Params, kCounterParam, &id) ? ExecuteCounter(id)
                                                                            : ExecuteMonitor();
    case SCA_SRV_MONITOR_PROCESS:
        return SCA_ViewerCommand::ReadNumber(&m_Params, kPidParam, &id) ? ExecuteProcessMonitor(id)
                                                                        : ExecuteProcessList();
    default:
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_VdmGui::DoProcess: Unsupported monitor type - %u", stats.Type);
        return 0;
    }
}

int SCA_VdmGui::ExecuteMonitor() {
    SCA_SrvMonStatusDlg window(nullptr, nullptr, &m_ServerConfig, &m_ServerUserConfig,
                               &m_ClientUserConfig, &m_Params, m_ConfigName, m_Session.get(),
                               m_ObjectId);
    const int shown = RunWindow(&window, [&] { return window.StartProcess(); });
    window.StopProcess();
    return shown;
}

int SCA_VdmGui::ExecuteCounter(uint32_t counterId) {
    SCA_SrvCounterDlg window(nullptr, &m_ServerConfig, &m_ServerUserConfig, &m_ClientUserConfig,
                             &m_Params, m_Session.get(), m_ObjectId, counterId,
                             kWithMinimizeButton);
    const int shown = RunWindow(&window, [&] { return window.StartProcess(); });
    window.StopProcess();
    return shown;
}

int SCA_VdmGui::ExecuteProcessList() {
    return RunHookedWindow([this] {
        return SCA_RunProcessMonitorWindow(nullptr, nullptr, &m_ServerConfig, &m_ServerUserConfig,
                                           &m_ClientUserConfig, &m_Params, m_ConfigName,
                                           m_Session.get(), m_ObjectId);
    });
}

int SCA_VdmGui::ExecuteProcessMonitor(uint32_t processId) {
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
    return RunHookedWindow([this, processId] {
        return SCA_RunProcessWindow(nullptr, nullptr, &m_ServerConfig, &m_ServerUserConfig,
                                    &m_ClientUserConfig, &m_Params, m_ConfigName, m_Session.get(),
                                    m_ObjectId, processId);
    });
}
