// SPDX-License-Identifier: MIT
#include "libtez/SCA_TezProcessMonitor.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

#include "libmor/SCA_Clock.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_Sync.h"
#include "libmor/SCA_System.h"
#include "libmor/SCA_Time.h"
#include "libtez/SCA_TezProcessStatusText.h"
#include "libtez/SCA_TezStatusTable.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezRepStatus.h"

namespace {

// Kept when no user configuration says how many log items to keep.
constexpr uint32_t kDefaultLogLength = 1000;

// Holds the monitor's data lock (its ready event) for a scope.
class DataLock {
public:
    explicit DataLock(SCA_Event* ready) : m_Ready(ready) { m_Ready->Wait(SCA_INFINITE); }
    ~DataLock() { m_Ready->Set(); }
    DataLock(const DataLock&) = delete;
    DataLock& operator=(const DataLock&) = delete;

private:
    SCA_Event* m_Ready;
};

void AddMeasure(tagSCA_TEZ_PROCESS_STATUS* status, uint32_t index,
                const tagSCA_TEZ_PROC_VALUES& sums, uint32_t slot) {
    if (sums.Has(slot)) {
        status->Measure[index] = sums.Value[slot];
        status->MeasureValid |= 1u << index;
    }
}

} // namespace

// The ready event is automatic and signalled: the first waiter gets the data, Set hands it on.
SCA_TezProcessMonitor::SCA_TezProcessMonitor(SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                                             SCA_ConfigObj* params, SCA_TezActionCtrl* actionCtrl)
    : m_Config(config), m_UserConfig(userConfig), m_Params(params), m_ActionCtrl(actionCtrl),
      m_ExcludeList("ExcludeList", nullptr), m_Ready(0, 1) {
    if (!m_ExcludeList.IsConstructed() || !m_Ready.IsConstructed() ||
        !m_PerfMonitor.IsConstructed() || !m_ProcessLog.IsConstructed()) {
        SetConstructed(0);
    }
}

void SCA_TezProcessMonitor::SetUpdateCallback(SCA_TezProcessMonitorCallback callback,
                                              void* userData) {
    m_UpdateCallback = callback;
    m_UpdateUserData = userData;
}

void SCA_TezProcessMonitor::SetComputerName(const char* name) {
    SCA_StrnCpy(m_ComputerName, name, sizeof(m_ComputerName));
}

void SCA_TezProcessMonitor::SetDebugLogFileName(const char* name) {
    SCA_StrnCpy(m_DebugLogFileName, name, sizeof(m_DebugLogFileName));
}

uint32_t SCA_TezProcessMonitor::GetStatusCount() {
    return SCA_TEZ_STATUS_ROWS;
}

const char* SCA_TezProcessMonitor::GetStatusName(uint32_t index) {
    return SCA_TezGetStatusName(index);
}

const char* SCA_TezProcessMonitor::GetStatusIcon(uint32_t index) {
    return SCA_TezGetStatusIcon(index);
}

int SCA_TezProcessMonitor::GetStatusValue(uint32_t index, char* buf, uint32_t size) {
    const DataLock lock(&m_Ready);
    const tagSCA_TEZ_STATUS_VALUES values{
        m_ProcessStatus, m_ProcessTime,  m_ProcessList.GetNumOfCounters(),
        m_ErrorCount,    m_WarningCount, m_ProcessList.CalcMemoryUsage()};
    return SCA_TezWriteStatusValue(index, values, buf, size);
}

int SCA_TezProcessMonitor::IsThisComputer(const char* host) const {
    char own[256] = "";
    SCA_GetHostName(own, sizeof(own));
    return host == nullptr || host[0] == '\0' || std::strcmp(host, "localhost") == 0 ||
           std::strcmp(host, "127.0.0.1") == 0 || std::strcmp(host, own) == 0;
}

int SCA_TezProcessMonitor::StartProcess(const char* host, uint32_t periodMs,
                                        SCA_ConfigObj* excludeList, uint32_t* error) {
    if (!IsThisComputer(host)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR,
            "SCA_TezProcessMonitor::StartProcess: remote computers are not supported - %s", host);
        *error = SCA_PROCESS_MONITOR_REMOTE_ERROR;
        return 0;
    }
    StopProcess(1);
    {
        const DataLock lock(&m_Ready);
        // A copy: the caller's list is often a temporary of its own.
        m_ExcludeList.Clear();
        if (excludeList != nullptr && !m_ExcludeList.SetContent(excludeList)) {
            *error = ENOMEM;
            return 0;
        }
        m_ExcludeList.SetName("ExcludeList");
        m_PeriodMs = periodMs != 0 ? periodMs : 1;
        m_Paused = 0;
        m_StartTime = SCA_GetAbsTime();
        m_ProcessTime = 0;
        m_ProcessList.SetAbsStartTime(m_StartTime);
        m_ProcessLog.SetAbsStartTime(m_StartTime);
        m_ProcessStatus = SCA_PROCESS_RUNNING;
    }
    if (!Lock(error)) {
        m_ProcessStatus = SCA_PROCESS_FAILED;
        return 0;
    }
    return 1;
}

int SCA_TezProcessMonitor::StopProcess(int /*wait*/) {
    // The thread always ends before this returns: its data may go right after.
    Unlock(__FILE__);
    if (m_ProcessStatus == SCA_PROCESS_RUNNING || m_ProcessStatus == SCA_PROCESS_PAUSED) {
        m_ProcessStatus = SCA_PROCESS_STOPPED;
    }
    m_Paused = 0;
    return 1;
}

int SCA_TezProcessMonitor::Pause() {
    if (m_ProcessStatus != SCA_PROCESS_RUNNING) {
        return 0;
    }
    m_Paused = 1;
    m_ProcessStatus = SCA_PROCESS_PAUSED;
    return 1;
}

int SCA_TezProcessMonitor::Resume() {
    if (m_ProcessStatus != SCA_PROCESS_PAUSED) {
        return 0;
    }
    m_Paused = 0;
    m_ProcessStatus = SCA_PROCESS_RUNNING;
    return 1;
}

int SCA_TezProcessMonitor::ResetAll() {
    const DataLock lock(&m_Ready);
    m_ErrorList.ClearAll();
    m_ProcessLog.ClearAll();
    m_ProcessList.ClearAll();
    m_ScanUpdater.Clear();
    m_RuleCheck.Clear();
    m_Scanner.Reset();
    m_ErrorCount = 0;
    m_WarningCount = 0;
    m_CounterCount = 0;
    ++m_ProcessListStatus;
    return 1;
}

uint32_t SCA_TezProcessMonitor::GetRepStatus() const {
    if (m_ErrorCount != 0) {
        return SCA_REP_STATUS_ERROR;
    }
    return m_WarningCount != 0 ? SCA_REP_STATUS_WARNING : SCA_REP_STATUS_MESSAGE;
}

int SCA_TezProcessMonitor::ThreadFunc() {
    SCA_Event* stop = GetStopEvent();
    do {
        if (!m_Paused) {
            ScanOnce(SCA_GetClock().MonotonicNs(), SCA_GetAbsTime());
        }
    } while (stop->Wait(m_PeriodMs) == SCA_WAIT_TIMEOUT);
    return 0;
}

int SCA_TezProcessMonitor::ScanOnce(uint64_t monotonicNs, uint64_t absTime) {
    // The settings and rules as the user configuration's owner last published them.
    const auto config = m_UserConfig != nullptr ? m_UserConfig->GetSnapshot() : nullptr;
    const DataLock lock(&m_Ready);
    if (!m_Scanner.Scan(monotonicNs)) {
        return 0;
    }
    const uint32_t logLength =
        config != nullptr ? config->Settings.ProcessLogLength : kDefaultLogLength;
    if (m_ScanUpdater.Apply(&m_Scanner, absTime, &m_ExcludeList, logLength)) {
        ++m_ProcessListStatus;
    }
    m_ScanUpdater.ForEachRemoved([this](uint32_t id) { m_RuleCheck.Forget(id); });
    CheckRulesAndTotals(config != nullptr ? &config->ProcRules : nullptr, absTime);
    m_ProcessTime = absTime > m_StartTime ? absTime - m_StartTime : 0;
    m_LoadCompleted = 1;
    ++m_UpdateStatus;
    if (m_UpdateCallback != nullptr) {
        m_UpdateCallback(absTime, this, m_UpdateUserData);
    }
    return 1;
}

// The counts are made aside and stored at the end: readers without the lock (a status poll)
// see the last scan's figures, never a count half made.
void SCA_TezProcessMonitor::CheckRulesAndTotals(const SCA_TezProcessRules* rules,
                                                uint64_t absTime) {
    const tagSCA_TEZ_PROC_VALUES none;
    tagSCA_TEZ_PROC_VALUES totals;
    uint32_t errors = 0;
    uint32_t warnings = 0;
    uint32_t counters = 0;
    m_TotalProcesses = 0;
    m_MaxCpuUsage = m_MaxMemUsed = m_MaxThreads = m_MaxHandles = 0.0;
    for (auto* node = m_ProcessList.GetHead(); node != nullptr; node = node->GetNext()) {
        SCA_TezProcess* process = node->GetItem();
        const tagSCA_TEZ_PROC_VALUES* found = m_ScanUpdater.GetSums(process->GetProcessId());
        const tagSCA_TEZ_PROC_VALUES& sums = found != nullptr ? *found : none;
        const uint32_t status = m_RuleCheck.Check(process, sums, rules, absTime);
        errors += status == SCA_REP_STATUS_ERROR ? 1 : 0;
        warnings += status == SCA_REP_STATUS_WARNING ? 1 : 0;
        counters += process->GetDataCounters()->Count();
        m_TotalProcesses += process->GetInstanceCount();
        for (uint32_t slot = 0; slot < SCA_PROC_COUNTERS; ++slot) {
            if (sums.Has(slot)) {
                totals.Add(slot, sums.Value[slot]);
            }
        }
        m_MaxCpuUsage = std::max(m_MaxCpuUsage, sums.Value[SCA_PROC_CPU]);
        m_MaxMemUsed = std::max(m_MaxMemUsed, sums.Value[SCA_PROC_MEMORY]);
        m_MaxThreads = std::max(m_MaxThreads, sums.Value[SCA_PROC_THREADS]);
        m_MaxHandles = std::max(m_MaxHandles, sums.Value[SCA_PROC_HANDLES]);
    }
    m_TotalCpuUsage = totals.Value[SCA_PROC_CPU];
    m_TotalMemUsed = totals.Value[SCA_PROC_MEMORY];
    m_TotalThreads = totals.Value[SCA_PROC_THREADS];
    m_TotalHandles = totals.Value[SCA_PROC_HANDLES];
    m_ErrorCount = errors;
    m_WarningCount = warnings;
    m_CounterCount = counters;
}

int SCA_TezProcessMonitor::GetProcessListStatus(SCA_ConfigObj* list) {
    if (list == nullptr) {
        return 0;
    }
    char text[256];
    const tagSCA_TEZ_PROC_VALUES none;
    for (auto* node = m_ProcessList.GetHead(); node != nullptr; node = node->GetNext()) {
        const SCA_TezProcess* process = node->GetItem();
        const tagSCA_TEZ_PROC_VALUES* found = m_ScanUpdater.GetSums(process->GetProcessId());
        tagSCA_TEZ_PROCESS_STATUS status;
        status.ProcessId = process->GetProcessId();
        status.Status = process->GetStatus();
        status.RepStatus = process->GetRepStatus();
        status.InstanceCount = process->GetInstanceCount();
        AddMeasure(&status, 0, found != nullptr ? *found : none, SCA_PROC_CPU);
        AddMeasure(&status, 1, found != nullptr ? *found : none, SCA_PROC_MEMORY);
        AddMeasure(&status, 2, found != nullptr ? *found : none, SCA_PROC_THREADS);
        AddMeasure(&status, 3, found != nullptr ? *found : none, SCA_PROC_HANDLES);
        status.Errors = process->GetTotalErrors();
        status.Warnings = process->GetTotalWarnings();
        // Names were cleaned when the record was made: they are valid field names.
        if (!SCA_TezFormatProcessStatus(status, text, sizeof(text)) ||
            !list->AddField(process->GetProcessName(), text)) {
            return 0;
        }
    }
    return 1;
}

int SCA_TezProcessMonitor::GetProcessListStatusEx(SCA_ConfigObj* list, uint32_t fromLogId,
                                                  SCA_ConfigObj* log) {
    return GetProcessListStatus(list) && m_ProcessLog.Serialize(fromLogId, log);
}

int SCA_TezProcessMonitor::LoadPidInfo(SCA_TezProcessPid* pid) {
    const tagSCA_PROC_ENTRY* entry = m_Scanner.FindLive(pid->GetProcessId());
    auto* info = new (std::nothrow) SCA_ConfigObj("ProcessInfo", nullptr);
    if (entry == nullptr || info == nullptr || !info->IsConstructed() ||
        !m_Scanner.GetReader()->LoadInfo(pid->GetProcessId(), entry->Sample.Stat.StartTicks,
                                         m_Scanner.GetTicksPerSecond(), info)) {
        SCA_Object::Destroy(info);
        return 0;
    }
    pid->SetProcessInfo(info);
    return 1;
}

int SCA_TezProcessMonitor::ReadModules(uint32_t pid, SCA_ExeModuleList* modules, uint32_t* error) {
    // A reader of its own: the scanning thread's buffer is not shared.
    SCA_ProcReader reader(m_Scanner.GetReader()->GetRoot());
    return reader.ReadModules(pid, modules, error);
}
