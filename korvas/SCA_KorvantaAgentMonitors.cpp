// SPDX-License-Identifier: MIT
// The agent's monitor, task, counter, process, report and network operations: the login guard,
// then the control object, which keeps the lists under its lock.
#include <new>

#include "korvas/SCA_KorvantaAgent.h"
#include "korvas/SCA_KorvantaCtrl.h"
#include "korvas/SCA_SrvTaskProcess.h"
#include "libkvn/SCA_KorvantaNetInterface.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Report.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_SrvMonitorList.h"
#include "model/SCA_TezConfigUser.h"

namespace {

// The text buffers of the client operations.
constexpr uint32_t kTextSize = 256;

} // namespace

int SCA_KorvantaAgent::AddMonitor(uint32_t type, uint32_t mode, const char* description,
                                  uint32_t* monitorId) {
    if (!IsLoggedIn()) {
        return 0;
    }
    SCA_SrvMonitor* monitor = nullptr;
    // The new monitor takes the list's next id, read under the same hold of the data lock as
    // the change, so that no other connection's monitor takes it meanwhile.
    const int stored = m_Ctrl->WithData([&] {
        return m_Ctrl->StoreMonitor(m_Monitors->GetNextItemId(), [&] {
            if (description == nullptr ||
                !m_Monitors->AddMonitor(type, mode, description, &monitor)) {
                SCA_GetReportFunction(__FILE__, __LINE__)(
                    SCA_LEVEL_ERROR, "SCA_KorvantaAgent::AddMonitor: cannot add monitor - %s",
                    description != nullptr ? description : "");
                return 0;
            }
            *monitorId = monitor->GetMonitorId();
            return 1;
        });
    });
    if (stored) {
        ReportInfo("Add Monitor: %s (Type=%u, Mode=%u)", description, type, mode);
    }
    return stored;
}

int SCA_KorvantaAgent::SetMonitorObj(uint32_t monitorId, SCA_ConfigObj* monitor) {
    return IsLoggedIn() && m_Ctrl->SetMonitorObj(monitorId, monitor) ? 1 : 0;
}

int SCA_KorvantaAgent::DeleteMonitor(uint32_t monitorId) {
    return IsLoggedIn() && m_Ctrl->DeleteMonitor(monitorId) ? 1 : 0;
}

int SCA_KorvantaAgent::DeleteAllMonitors() {
    return IsLoggedIn() && m_Ctrl->DeleteAllMonitors() ? 1 : 0;
}

int SCA_KorvantaAgent::StartMonitor(uint32_t monitorId) {
    return IsLoggedIn() && m_Ctrl->StartMonitor(monitorId) ? 1 : 0;
}

int SCA_KorvantaAgent::PauseMonitor(uint32_t monitorId) {
    return IsLoggedIn() && m_Ctrl->PauseMonitor(monitorId) ? 1 : 0;
}

int SCA_KorvantaAgent::ResetMonitor(uint32_t monitorId) {
    return IsLoggedIn() && m_Ctrl->ResetMonitor(monitorId) ? 1 : 0;
}

int SCA_KorvantaAgent::RestartMonitor(uint32_t monitorId) {
    return IsLoggedIn() && m_Ctrl->RestartMonitor(monitorId) ? 1 : 0;
}

int SCA_KorvantaAgent::StopMonitor(uint32_t monitorId) {
    return IsLoggedIn() && m_Ctrl->StopMonitor(monitorId) ? 1 : 0;
}

int SCA_KorvantaAgent::StartAllMonitors() {
    return IsLoggedIn() && m_Ctrl->StartAllMonitors() ? 1 : 0;
}

int SCA_KorvantaAgent::StopAllMonitors() {
    return IsLoggedIn() && m_Ctrl->StopAllTasks() ? 1 : 0;
}

int SCA_KorvantaAgent::GetMonitorStats(uint32_t monitorId, uint32_t* type, uint32_t* status,
                                       uint32_t* runState, uint32_t* counters, uint32_t* errors,
                                       uint32_t* warnings) {
    return m_Ctrl->GetMonitorStats(monitorId, type, status, runState, counters, errors, warnings);
}

int SCA_KorvantaAgent::GetMonitorStatus(uint32_t monitorId, uint32_t* type, uint32_t* status,
                                        uint32_t* runState, uint32_t* countersStatusId,
                                        SCA_ConfigObj** countersStatus) {
    if (!IsLoggedIn() || !FindMonitorType(monitorId, "GetMonitorStatus", type)) {
        return 0;
    }
    SCA_ConfigObj* object = SCA_KorvantaAgent::NewReply(
        "CSL", "GetMonitorStatus", "cannot create counters status list object");
    if (object == nullptr) {
        return 0;
    }
    if (!m_Ctrl->GetMonitorStatus(monitorId, status, runState, countersStatusId, object)) {
        SCA_Object::Destroy(object);
        return 0;
    }
    *countersStatus = object;
    return 1;
}

int SCA_KorvantaAgent::GetMonitorReport(uint32_t monitorId, SCA_ConfigObj** report) {
    uint32_t type = 0;
    if (!IsLoggedIn() || !FindMonitorType(monitorId, "GetMonitorReport", &type)) {
        return 0;
    }
    SCA_ConfigObj* object = SCA_KorvantaAgent::NewReply("Report", "GetMonitorReport",
                                                        "cannot create report config object");
    if (object == nullptr) {
        return 0;
    }
    if (!m_Ctrl->GetMonitorReport(monitorId, object)) {
        SCA_Object::Destroy(object);
        return 0;
    }
    *report = object;
    return 1;
}

int SCA_KorvantaAgent::GetMonitorErrors(uint32_t monitorId, SCA_ConfigObj** errors) {
    uint32_t type = 0;
    if (!IsLoggedIn() || !FindMonitorType(monitorId, "GetMonitorErrors", &type)) {
        return 0;
    }
    SCA_ConfigObj* object = SCA_KorvantaAgent::NewReply(
        "Errors", "GetMonitorErrors", "cannot create monitor errors config object");
    if (object == nullptr) {
        return 0;
    }
    if (!m_Ctrl->GetMonitorErrors(monitorId, object)) {
        SCA_Object::Destroy(object);
        return 0;
    }
    *errors = object;
    return 1;
}

int SCA_KorvantaAgent::AddCounter(uint32_t monitorId, uint32_t counterType, const char* computer,
                                  const char* instance, const char* namePrefix,
                                  uint32_t* counterId) {
    return IsLoggedIn() && m_Ctrl->AddCounter(monitorId, counterType, computer, instance,
                                              namePrefix, counterId)
               ? 1
               : 0;
}

int SCA_KorvantaAgent::IsCounterExists(uint32_t monitorId, uint32_t counterType,
                                       const char* computer, const char* instance,
                                       const char* namePrefix, uint32_t* counterId) {
    return IsLoggedIn() && m_Ctrl->IsCounterExists(monitorId, counterType, computer, instance,
                                                   namePrefix, counterId)
               ? 1
               : 0;
}

int SCA_KorvantaAgent::DeleteCounter(uint32_t monitorId, uint32_t counterId) {
    return IsLoggedIn() && m_Ctrl->DeleteCounter(monitorId, counterId) ? 1 : 0;
}

int SCA_KorvantaAgent::DeleteAllCounters(uint32_t monitorId) {
    return IsLoggedIn() && m_Ctrl->DeleteAllCounters(monitorId) ? 1 : 0;
}

int SCA_KorvantaAgent::GetMonitorProcessLog(uint32_t monitorId, SCA_ConfigObj** processLog) {
    return IsLoggedIn() && m_Ctrl->GetMonitorProcessLog(monitorId, processLog) ? 1 : 0;
}

int SCA_KorvantaAgent::GetMonitorProcessListStatus(uint32_t monitorId, uint32_t* type,
                                                   uint32_t* status, uint32_t* processStatus,
                                                   uint64_t* startTime, uint32_t* listStatus,
                                                   SCA_ConfigObj** processListStatus) {
    return IsLoggedIn() &&
                   m_Ctrl->GetMonitorProcessListStatus(monitorId, type, status, processStatus,
                                                       startTime, listStatus, processListStatus)
               ? 1
               : 0;
}

int SCA_KorvantaAgent::GetReportIndexObj(SCA_ConfigObj** reportIndex) {
    return IsLoggedIn() && m_Ctrl->GetReportIndexObj(reportIndex) ? 1 : 0;
}

int SCA_KorvantaAgent::AddReportObj(SCA_ConfigObj* report, uint32_t* reportId) {
    return IsLoggedIn() && m_Ctrl->AddReportObj(report, reportId) ? 1 : 0;
}

int SCA_KorvantaAgent::DeleteReport(uint32_t reportId) {
    return IsLoggedIn() && m_Ctrl->DeleteReport(reportId) ? 1 : 0;
}

int SCA_KorvantaAgent::IsReportExists(SCA_ConfigObj* reportInfo, uint32_t* exists) {
    return IsLoggedIn() && m_Ctrl->IsReportExists(reportInfo, exists) ? 1 : 0;
}

int SCA_KorvantaAgent::GetReportObj(uint32_t reportId, SCA_ConfigObj** report) {
    return IsLoggedIn() && m_Ctrl->GetReportObj(reportId, report) ? 1 : 0;
}

int SCA_KorvantaAgent::DeleteAllReports() {
    return IsLoggedIn() && m_Ctrl->DeleteAllReports() ? 1 : 0;
}

int SCA_KorvantaAgent::StartSelfTest(uint32_t kind, uint32_t* status, char* statusText) {
    return IsLoggedIn() && m_Ctrl->StartSelfTest(kind, status, statusText, kTextSize) ? 1 : 0;
}

int SCA_KorvantaAgent::GetSelfTestStatus(uint32_t* status, uint32_t* progress, char* statusText) {
    return IsLoggedIn() && m_Ctrl->GetSelfTestStatus(progress, status, statusText, kTextSize) ? 1
                                                                                              : 0;
}

int SCA_KorvantaAgent::GetSelfTestLog(SCA_ConfigObj** log) {
    if (!IsLoggedIn()) {
        return 0;
    }
    SCA_ConfigObj* object = SCA_KorvantaAgent::NewReply(
        "Log", "GetSelfTestLog", "cannot create self-test log config object");
    if (object == nullptr) {
        return 0;
    }
    if (!m_Ctrl->GetSelfTestLog(object)) {
        SCA_Object::Destroy(object);
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KorvantaAgent::GetSelfTestLog: cannot get self-test log");
        return 0;
    }
    *log = object;
    return 1;
}

int SCA_KorvantaAgent::DeleteSelfTest() {
    return IsLoggedIn() && m_Ctrl->DeleteSelfTest() ? 1 : 0;
}

int SCA_KorvantaAgent::ConnectToNetwork(const char* serverHost, const char* deviceHost,
                                        uint32_t* deviceId) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    *deviceId = SCA_ALL_ONES;
    if (!IsLoggedIn()) {
        return 0;
    }
    SCA_KorvantaNetInterface* network = nullptr;
    if (!m_Ctrl->DoConnect(serverHost, &network, 1)) {
        report(SCA_LEVEL_ERROR, "SCA_KorvantaAgent::ConnectToNetwork: cannot connect to - %s",
               serverHost != nullptr ? serverHost : "");
        return 1;
    }
    uint32_t id = SCA_ALL_ONES;
    // The device is registered under the host name the client gave.
    const int added = deviceHost != nullptr && network->AddDevice(deviceHost, &id);
    delete network;
    if (!added) {
        report(SCA_LEVEL_ERROR, "SCA_KorvantaAgent::ConnectToNetwork: cannot add device - %s",
               deviceHost != nullptr ? deviceHost : "");
        return 1;
    }
    StoreConfigChange("ConnectToNetwork", [&] {
        m_UserConfig->SetNetHostName(serverHost);
        m_UserConfig->SetDevHostName(deviceHost);
        m_UserConfig->SetDeviceId(id);
        return 1;
    });
    ReportInfo("%s - connected to KVN @ %s as device %u", deviceHost, serverHost, id);
    m_Ctrl->SetNetworkJoined(1);
    *deviceId = id;
    return 1;
}

int SCA_KorvantaAgent::DisconnectFromNetwork() {
    if (!IsLoggedIn()) {
        return 0;
    }
    const int saved = StoreConfigChange("DisconnectFromNetwork", [&] {
        m_UserConfig->SetNetHostName("");
        m_UserConfig->SetDeviceId(SCA_ALL_ONES);
        return 1;
    });
    if (!saved) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR,
            "SCA_KorvantaDevAgent::DisconnectFromNetwork: cannot save configuration file");
        return 0;
    }
    m_Ctrl->CloseNetworkSession();
    m_Ctrl->SetNetworkJoined(0);
    ReportInfo("Disconnected from Korvanta Network");
    return 1;
}
