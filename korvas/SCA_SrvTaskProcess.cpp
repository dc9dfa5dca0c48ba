// SPDX-License-Identifier: MIT
#include "korvas/SCA_SrvTaskProcess.h"

#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_Sync.h"
#include "libmor/SCA_System.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_Field.h"
#include "model/SCA_TezProcessList.h"
#include "model/SCA_TezProcessLog.h"
#include "model/SCA_TezProcessPids.h"

namespace {

// Processes a process monitor of the service never shows: the service's own and the
// placeholders some systems list as processes.
constexpr const char* kExcluded[] = {"_Total",   "Idle",  "Registry", "WmiApSrv",
                                     "WmiPrvSE", "korva", "korvac",   "korvas"};
constexpr uint32_t kErrorTextSize = 256;

// The process monitor's ready event as a lock.
class ReadyLock {
public:
    explicit ReadyLock(SCA_Event* ready) : m_Ready(ready) { m_Ready->Wait(SCA_INFINITE); }
    ~ReadyLock() { m_Ready->Set(); }
    ReadyLock(const ReadyLock&) = delete;
    ReadyLock& operator=(const ReadyLock&) = delete;

private:
    SCA_Event* m_Ready;
};

} // namespace

SCA_SrvTaskProcess::SCA_SrvTaskProcess(SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                                       SCA_ConfigObj* params, SCA_TezReportIndex* reportIndex,
                                       SCA_TezActionCtrl* actionCtrl)
    : SCA_SrvTask(config, userConfig, params, reportIndex, SCA_TASK_PROCESSES),
      m_Monitor(config, userConfig, params, actionCtrl) {
    if (!m_Monitor.IsConstructed()) {
        SetConstructed(0);
    }
    m_Monitor.SetUpdateCallback(&SCA_SrvTaskProcess::OnScan, this);
}

int SCA_SrvTaskProcess::OnScan(uint64_t /*absTime*/, SCA_TezProcessMonitor* /*monitor*/,
                               void* task) {
    static_cast<SCA_SrvTaskProcess*>(task)->NoteSampledStatus();
    return 1;
}

SCA_SrvTaskProcess::~SCA_SrvTaskProcess() {
    StopProcess();
}

int SCA_SrvTaskProcess::Init(const SCA_SrvMonitor& monitor) {
    return CopyMonitor(monitor, "SCA_SrvTaskProcess");
}

int SCA_SrvTaskProcess::StartProcess() {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    SCA_ConfigObj excludeList("ExcludeList", nullptr);
    if (IsActive()) {
        report(SCA_LEVEL_ERROR, "SCA_SrvTaskProcess::Init: monitor %u is already active",
               GetMonitor()->GetMonitorId());
        return 0;
    }
    char errorText[kErrorTextSize] = "";
    uint32_t error = 0;
    const char* host = GetHost();
    if (host != nullptr && !m_Monitor.GetPerfMonitor()->Connect(host, &error)) {
        SCA_GetErrorDescr(error, errorText, sizeof(errorText));
        report(SCA_LEVEL_ERROR,
               "SCA_SrvTaskProcess::StartProcess: cannot connect (%s) to remote host - %s",
               errorText, host);
        SetState(SCA_PROCESS_FAILED);
        return 0;
    }
    // The names every run leaves out, then the user's own list kept with the monitor.
    for (const char* name : kExcluded) {
        excludeList.AddField(name, "");
    }
    for (const SCA_Field* field = GetMonitor()->GetExcludeList()->GetHead(); field != nullptr;
         field = field->GetNext()) {
        if (!field->IsObject()) {
            excludeList.AddField(field->GetName(), "", 1);
        }
    }
    if (!m_Monitor.StartProcess(host, m_Period, &excludeList, &error)) {
        SCA_GetErrorDescr(error, errorText, sizeof(errorText));
        report(SCA_LEVEL_ERROR,
               "SCA_SrvTaskProcess::StartProcess: cannot start (%s) process monitor - %u",
               errorText, GetMonitor()->GetMonitorId());
        SetState(SCA_PROCESS_FAILED);
        return 0;
    }
    SetState(SCA_PROCESS_RUNNING);
    return 1;
}

int SCA_SrvTaskProcess::Refuse(const char* operation) {
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                              "SCA_SrvTaskProcess::%s: monitor %u is not active",
                                              operation, GetMonitor()->GetMonitorId());
    return 0;
}

int SCA_SrvTaskProcess::Restart() {
    return IsActive() ? 1 : Refuse("Restart");
}

int SCA_SrvTaskProcess::Reset() {
    return IsActive() ? m_Monitor.ResetAll() : Refuse("Reset");
}

int SCA_SrvTaskProcess::Pause() {
    if (!IsActive()) {
        return Refuse("Pause");
    }
    if (!m_Monitor.Pause()) {
        return 0;
    }
    SetState(SCA_PROCESS_PAUSED);
    return 1;
}

int SCA_SrvTaskProcess::Resume() {
    if (!IsActive()) {
        return Refuse("Resume");
    }
    if (!m_Monitor.Resume()) {
        return 0;
    }
    SetState(SCA_PROCESS_RUNNING);
    return 1;
}

int SCA_SrvTaskProcess::StopProcess() {
    if (IsActive()) {
        m_Monitor.StopProcess(1);
        SetState(SCA_PROCESS_STOPPED);
    }
    return 1;
}

uint32_t SCA_SrvTaskProcess::GetStatus() {
    return StatusCode(GetState(), GetErrors(), GetWarnings());
}

int SCA_SrvTaskProcess::SerializeErrorList(SCA_ConfigObj* errors) {
    if (GetState() == SCA_PROCESS_IDLE) {
        return 1;
    }
    ReadyLock lock(m_Monitor.GetReady());
    return m_Monitor.SerializeErrorList(errors);
}

int SCA_SrvTaskProcess::SerializePerfCounters(SCA_ConfigObj* list) {
    ReadyLock lock(m_Monitor.GetReady());
    return m_Monitor.GetPerfMonitor()->GetCounterList(list);
}

int SCA_SrvTaskProcess::GetListStatus(uint32_t* status, uint32_t* processStatus,
                                      uint64_t* startTime, uint32_t* listStatus,
                                      SCA_ConfigObj* list) {
    return GetListStatusEx(status, processStatus, startTime, listStatus, list, 0, nullptr);
}

int SCA_SrvTaskProcess::GetListStatusEx(uint32_t* status, uint32_t* processStatus,
                                        uint64_t* startTime, uint32_t* listStatus,
                                        SCA_ConfigObj* list, uint32_t fromLogId,
                                        SCA_ConfigObj* log) {
    if (GetState() == SCA_PROCESS_IDLE) {
        *status = SCA_TASK_STATUS_IDLE;
        *processStatus = SCA_PROCESS_IDLE;
        *listStatus = 0;
        return 1;
    }
    ReadyLock lock(m_Monitor.GetReady());
    *status = m_Monitor.GetRepStatus();
    *processStatus = m_Monitor.GetProcessStatus();
    *startTime = m_Monitor.GetStartTime();
    *listStatus = m_Monitor.GetProcessListStatus();
    return log != nullptr ? m_Monitor.GetProcessListStatusEx(list, fromLogId, log)
                          : m_Monitor.GetProcessListStatus(list);
}

template <typename Read>
int SCA_SrvTaskProcess::ReadProcess(uint32_t processId, tagSCA_TASK_PROCESS_STATE* state,
                                    Read&& read) {
    *state = {};
    state->MonitorProcessStatus = m_Monitor.GetProcessStatus();
    state->RepStatus = SCA_TASK_STATUS_IDLE;
    ReadyLock lock(m_Monitor.GetReady());
    SCA_TezProcess* process = nullptr;
    if (!m_Monitor.GetProcessList()->GetProcess(processId, &process)) {
        return 1;
    }
    state->Status = process->GetStatus();
    state->RepStatus = process->GetRepStatus();
    state->Errors = process->GetTotalErrors();
    state->Warnings = process->GetTotalWarnings();
    state->Instances = process->GetInstanceCount();
    state->StartTime = process->GetStartTime();
    return read(*process);
}

int SCA_SrvTaskProcess::GetProcessCounterList(uint32_t processId, tagSCA_TASK_PROCESS_STATE* state,
                                              SCA_ConfigObj* list) {
    return ReadProcess(processId, state, [list](const SCA_TezProcess& process) {
        return process.SerializeCounterList(list);
    });
}

int SCA_SrvTaskProcess::GetProcessCountersStatus(uint32_t processId,
                                                 tagSCA_TASK_PROCESS_STATE* state,
                                                 SCA_ConfigObj* list) {
    return ReadProcess(processId, state, [list](const SCA_TezProcess& process) {
        return process.GetCountersStatus(list);
    });
}

int SCA_SrvTaskProcess::GetProcessCountersStatusEx(uint32_t processId,
                                                   tagSCA_TASK_PROCESS_STATE* state,
                                                   SCA_ConfigObj* list, uint32_t counterId,
                                                   uint64_t since, uint32_t count,
                                                   SCA_ConfigObj* data) {
    return ReadProcess(processId, state, [&](const SCA_TezProcess& process) {
        return process.GetCountersStatusEx(list, counterId, since, count, data);
    });
}

int SCA_SrvTaskProcess::SerializeProcessLog(SCA_ConfigObj* log) {
    ReadyLock lock(m_Monitor.GetReady());
    return m_Monitor.GetProcessLog()->Serialize(SCA_ALL_ONES, log);
}

int SCA_SrvTaskProcess::SerializeProcessList(SCA_ConfigObj* list, uint32_t details) {
    ReadyLock lock(m_Monitor.GetReady());
    return m_Monitor.GetProcessList()->Serialize(list, details);
}

int SCA_SrvTaskProcess::SerializeProcess(uint32_t processId, uint32_t load, SCA_ConfigObj* object) {
    ReadyLock lock(m_Monitor.GetReady());
    SCA_TezProcess* process = nullptr;
    if (!m_Monitor.GetProcessList()->GetProcess(processId, &process)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::GetMonitorProcess: invalid process ID - %u",
            processId);
        return 0;
    }
    if (load != 0) {
        process->LoadProcessInfo(&m_Monitor);
    }
    return process->Serialize(object, 1);
}

int SCA_SrvTaskProcess::GetProcessInstance(uint32_t processId, char* name, uint32_t size,
                                           uint32_t* pid) {
    ReadyLock lock(m_Monitor.GetReady());
    SCA_TezProcess* process = nullptr;
    if (!m_Monitor.GetProcessList()->GetProcess(processId, &process)) {
        return 0;
    }
    SCA_StrnCpy(name, process->GetProcessName(), size);
    const auto* first = process->GetPids()->GetHead();
    *pid = first != nullptr ? first->GetId() : 0;
    return 1;
}

int SCA_SrvTaskProcess::GetExcludeList(SCA_ConfigObj* object) {
    ReadyLock lock(m_Monitor.GetReady());
    return object->SetContent(m_Monitor.GetExcludeList());
}

int SCA_SrvTaskProcess::SetExcludeList(SCA_ConfigObj* object) {
    ReadyLock lock(m_Monitor.GetReady());
    return m_Monitor.GetExcludeList()->SetContent(object);
}
