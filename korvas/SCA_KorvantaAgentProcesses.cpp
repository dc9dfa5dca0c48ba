// SPDX-License-Identifier: MIT
// The agent's process-monitor queries over the control object, the counters a monitor's
// performance monitor has open, and the sound actions.
#include <new>

#include "korvas/SCA_KorvantaAgent.h"
#include "korvas/SCA_KorvantaCtrl.h"
#include "korvas/SCA_SrvTaskProcess.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Report.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_SrvMonitorList.h"

namespace {

// The state of a process as the client operations hand it out.
void GiveState(const tagSCA_TASK_PROCESS_STATE& state, uint32_t* processStatus, uint32_t* status,
               uint32_t* reportStatus, uint32_t* errors, uint32_t* warnings, uint32_t* instances) {
    *processStatus = state.MonitorProcessStatus;
    *status = state.Status;
    *reportStatus = state.RepStatus;
    *errors = state.Errors;
    *warnings = state.Warnings;
    *instances = state.Instances;
}

} // namespace

int SCA_KorvantaAgent::GetMonitorProcessList(uint32_t monitorId, uint32_t details,
                                             SCA_ConfigObj** processList) {
    return IsLoggedIn() && m_Ctrl->GetMonitorProcessList(monitorId, details, processList) ? 1 : 0;
}

int SCA_KorvantaAgent::GetMonitorProcessListStatusEx(uint32_t monitorId, uint32_t* type,
                                                     uint32_t* status, uint32_t* processStatus,
                                                     uint64_t* startTime, uint32_t* listStatus,
                                                     SCA_ConfigObj** processListStatus,
                                                     uint32_t logFromId,
                                                     SCA_ConfigObj** processLog) {
    return IsLoggedIn() && m_Ctrl->GetMonitorProcessListStatusEx(
                               monitorId, type, status, processStatus, startTime, listStatus,
                               logFromId, processListStatus, processLog)
               ? 1
               : 0;
}

int SCA_KorvantaAgent::GetMonitorProcessCounterList(uint32_t monitorId, uint32_t* processStatus,
                                                    uint32_t processId, uint32_t* status,
                                                    uint32_t* reportStatus, uint32_t* errors,
                                                    uint32_t* warnings, uint32_t* instances,
                                                    uint64_t* startTime,
                                                    SCA_ConfigObj** counterList) {
    if (!IsLoggedIn()) {
        return 0;
    }
    tagSCA_TASK_PROCESS_STATE state{};
    if (!m_Ctrl->GetMonitorProcessCounterList(monitorId, processId, &state, counterList)) {
        return 0;
    }
    GiveState(state, processStatus, status, reportStatus, errors, warnings, instances);
    *startTime = state.StartTime;
    return 1;
}

int SCA_KorvantaAgent::GetMonitorProcessCountersStatus(uint32_t monitorId, uint32_t* processStatus,
                                                       uint32_t processId, uint32_t* status,
                                                       uint32_t* reportStatus, uint32_t* errors,
                                                       uint32_t* warnings, uint32_t* instances,
                                                       SCA_ConfigObj** countersStatus) {
    if (!IsLoggedIn()) {
        return 0;
    }
    tagSCA_TASK_PROCESS_STATE state{};
    if (!m_Ctrl->GetMonitorProcessCountersStatus(monitorId, processId, &state, countersStatus)) {
        return 0;
    }
    GiveState(state, processStatus, status, reportStatus, errors, warnings, instances);
    return 1;
}

int SCA_KorvantaAgent::GetMonitorProcessCountersStatusEx(
    uint32_t monitorId, uint32_t* processStatus, uint32_t processId, uint32_t* status,
    uint32_t* reportStatus, uint32_t* errors, uint32_t* warnings, uint32_t* instances,
    SCA_ConfigObj** countersStatus, uint32_t counterId, uint64_t lastDataTime, uint32_t range,
    SCA_ConfigObj** counterData, uint64_t* lastSoundTime) {
    if (!IsLoggedIn()) {
        return 0;
    }
    tagSCA_TASK_PROCESS_STATE state{};
    uint64_t dataTime = 0;
    if (!m_Ctrl->GetMonitorProcessCountersStatusEx(monitorId, processId, &state, counterId,
                                                   lastDataTime, range, countersStatus, counterData,
                                                   &dataTime)) {
        return 0;
    }
    GiveState(state, processStatus, status, reportStatus, errors, warnings, instances);
    *lastSoundTime = m_Ctrl->GetActionCtrl()->GetLastSoundActionTime();
    return 1;
}

int SCA_KorvantaAgent::GetMonitorProcess(uint32_t monitorId, uint32_t processId, uint32_t loadInfo,
                                         SCA_ConfigObj** process) {
    return IsLoggedIn() && m_Ctrl->GetMonitorProcess(monitorId, processId, loadInfo, process) ? 1
                                                                                              : 0;
}

int SCA_KorvantaAgent::GetMonitorProcessModules(uint32_t monitorId, uint32_t processId,
                                                uint32_t option, char* processName,
                                                SCA_ConfigObj** modules, uint32_t* ok,
                                                uint32_t* error) {
    return IsLoggedIn() && m_Ctrl->GetMonitorProcessModules(monitorId, processId, option,
                                                            processName, modules, ok, error)
               ? 1
               : 0;
}

int SCA_KorvantaAgent::GetMonitorProcessExcludeList(uint32_t monitorId,
                                                    SCA_ConfigObj** excludeList) {
    return IsLoggedIn() && m_Ctrl->GetMonitorProcessExcludeList(monitorId, excludeList) ? 1 : 0;
}

int SCA_KorvantaAgent::SetMonitorProcessExcludeList(uint32_t monitorId,
                                                    SCA_ConfigObj* excludeList) {
    return IsLoggedIn() && m_Ctrl->SetMonitorProcessExcludeList(monitorId, excludeList) ? 1 : 0;
}

int SCA_KorvantaAgent::PerfMonitorGetCounters(uint32_t monitorId, SCA_ConfigObj** counterList) {
    if (!IsLoggedIn()) {
        return 0;
    }
    SCA_ConfigObj* object =
        NewReply("CounterList", "PerfMonitorGetCounters", "cannot create counter list");
    if (object == nullptr) {
        return 0;
    }
    if (!m_Ctrl->GetPerfCounters(monitorId, object)) {
        SCA_Object::Destroy(object);
        return 0;
    }
    *counterList = object;
    return 1;
}

int SCA_KorvantaAgent::GetCounterData(uint32_t, uint32_t, uint64_t, uint32_t,
                                      SCA_ConfigObj** counterData) {
    if (!IsLoggedIn()) {
        return 0;
    }
    // No client reads counter data this way: the answer carries an empty object, since a reply
    // needs its object.
    SCA_ConfigObj* object = SCA_NewConfigObj("CounterData");
    if (object == nullptr) {
        return 0;
    }
    *counterData = object;
    return 1;
}

int SCA_KorvantaAgent::GetSoundActions(uint64_t since, uint64_t* lastActionTime,
                                       SCA_ConfigObj** actions) {
    if (!IsLoggedIn()) {
        return 0;
    }
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    SCA_ConfigObj* object =
        NewReply("ActionList", "GetSoundActions", "cannot create action list config object");
    if (object == nullptr) {
        return 0;
    }
    if (!m_Ctrl->GetActionCtrl()->SerializeSoundActions(since, object)) {
        report(SCA_LEVEL_ERROR, "SCA_KorvantaAgent::GetSoundActions: cannot serialize sound "
                                "action list");
        SCA_Object::Destroy(object);
        return 0;
    }
    *lastActionTime = m_Ctrl->GetActionCtrl()->GetLastSoundActionTime();
    *actions = object;
    return 1;
}
