// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstdint>

#include "libmor/SCA_Event.h"
#include "libmor/SCA_Heap.h"
#include "libmor/SCA_ThreadObj.h"
#include "libmor/SCA_Time.h"
#include "libtez/SCA_TezProcessRuleCheck.h"
#include "libtez/SCA_TezProcessUpdater.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezErrorList.h"
#include "model/SCA_TezProcessInfoSource.h"
#include "model/SCA_TezProcessList.h"
#include "model/SCA_TezProcessLog.h"
#include "model/SCA_TezProcessStatus.h"
#include "perf/SCA_PerfErrors.h"
#include "perf/SCA_PerfMonitor.h"
#include "perf/SCA_ProcScanner.h"

class SCA_ExeModuleList;
class SCA_TezActionCtrl;
class SCA_TezConfig;
class SCA_TezConfigUser;
class SCA_TezProcessMonitor;
class SCA_TezProcessRules;

// Called after each update of the process list.
using SCA_TezProcessMonitorCallback = int (*)(uint64_t absTime, SCA_TezProcessMonitor* monitor,
                                              void* userData);

// Error of StartProcess for any computer but this one.
inline constexpr uint32_t SCA_PROCESS_MONITOR_REMOTE_ERROR = SCA_PERF_ERROR_REMOTE;

// The process monitor of the monitoring core: it watches the processes of the local computer
// on a thread of its own, one pass over /proc per period, and keeps the process list, the
// process log, the errors, and totals over all processes. Its ready event (automatic,
// signalled at first) is the lock of its data: wait on it, read or change, set it again. The
// Get...Status and Serialize... operations expect the caller to hold it; ScanOnce, Reset and
// the thread take it themselves.
class SCA_TezProcessMonitor : public SCA_ThreadObj, public SCA_TezProcessInfoSource {
public:
    SCA_HEAP_OPERATORS

    // The configurations, parameters and action controller are the caller's and outlive the
    // monitor. The construction flag is 0 when an embedded part cannot be made.
    SCA_TezProcessMonitor(SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                          SCA_ConfigObj* params, SCA_TezActionCtrl* actionCtrl);
    // Stops the sampling thread before the data it writes goes.
    ~SCA_TezProcessMonitor() override { Unlock(__FILE__); }

    // Starts watching: host must be empty (or null), "localhost", 127.0.0.1 or this
    // computer's name. The exclude list (process names as field names) is copied: the
    // caller's object may go away. 0 with *error when the host is another computer or the
    // thread cannot start.
    int StartProcess(const char* host, uint32_t periodMs, SCA_ConfigObj* excludeList,
                     uint32_t* error);
    // Stops the thread (always waiting for it); the run state becomes stopped. 1.
    int StopProcess(int wait);
    int Pause();
    int Resume();
    // Clears the errors, the log, the counts and the statistics; the next pass starts over.
    int ResetAll();
    // 5 while a process is in error, 4 while one is in warning, else 3.
    uint32_t GetRepStatus() const;
    // One field per process, named by its process name, with the ten status tokens.
    int GetProcessListStatus(SCA_ConfigObj* list);
    // The same, and the log items after fromLogId (all ones: all) into log.
    int GetProcessListStatusEx(SCA_ConfigObj* list, uint32_t fromLogId, SCA_ConfigObj* log);
    int SerializeErrorList(SCA_ConfigObj* object) { return m_ErrorList.Serialize(object); }

    // The /proc tree read (tests point it at fixtures); set before StartProcess.
    void SetProcRoot(const char* root) { m_Scanner.GetReader()->SetRoot(root); }
    SCA_ProcScanner* GetScanner() { return &m_Scanner; }
    // One pass at the given clocks (monotonic ns for rates, absolute time for records), under
    // the lock. 0 when /proc cannot be listed.
    int ScanOnce(uint64_t monotonicNs, uint64_t absTime);
    // The properties of a watched process id (SCA_TezProcess::LoadProcessInfo).
    int LoadPidInfo(SCA_TezProcessPid* pid) override;
    // The file-backed modules of pid; 0 with an errno value in *error when they cannot be read.
    int ReadModules(uint32_t pid, SCA_ExeModuleList* modules, uint32_t* error);

    int ThreadFunc() override;

    SCA_TezConfig* GetConfig() const { return m_Config; }
    SCA_TezConfigUser* GetUserConfig() const { return m_UserConfig; }
    SCA_ConfigObj* GetParams() const { return m_Params; }
    SCA_TezActionCtrl* GetActionCtrl() const { return m_ActionCtrl; }
    void SetUpdateCallback(SCA_TezProcessMonitorCallback callback, void* userData);

    // Empty for the local computer; cut on a UTF-8 boundary when it does not fit.
    const char* GetComputerName() const { return m_ComputerName; }
    void SetComputerName(const char* name);
    int IsLocal() const { return m_ComputerName[0] == '\0' ? 1 : 0; }
    // The names of the processes that are not watched, as fields.
    SCA_ConfigObj* GetExcludeList() { return &m_ExcludeList; }

    uint32_t GetTargetProcessId() const { return m_TargetProcessId; }
    void SetTargetProcessId(uint32_t id) { m_TargetProcessId = id; }
    uint32_t GetCpuCount() const { return m_CpuCount; }
    void SetCpuCount(uint32_t count) { m_CpuCount = count; }
    int IsPaused() const { return m_Paused; }
    int IsLoadCompleted() const { return m_LoadCompleted; }
    uint32_t GetProcessStatus() const { return m_ProcessStatus; }
    void SetProcessStatus(uint32_t status) { m_ProcessStatus = status; }
    uint32_t GetStatusCode() const { return m_StatusCode; }
    void SetStatusCode(uint32_t code) { m_StatusCode = code; }

    SCA_Event* GetReady() { return &m_Ready; }
    SCA_PerfMonitor* GetPerfMonitor() { return &m_PerfMonitor; }
    uint64_t GetStartTime() const { return m_StartTime; }
    // Run time in whole seconds, as the counter monitors count theirs.
    uint64_t GetProcessTime() const { return m_ProcessTime / SCA_ABS_TIME_SECOND; }
    uint64_t GetHostTotalMemory() const { return m_HostTotalMemory; }

    SCA_TezErrorList* GetErrorList() { return &m_ErrorList; }
    SCA_TezProcessLog* GetProcessLog() { return &m_ProcessLog; }
    SCA_TezProcessList* GetProcessList() { return &m_ProcessList; }
    uint32_t GetProcessCount() const { return m_ProcessList.Count(); }
    uint32_t GetProcessListStatus() const { return m_ProcessListStatus; }
    uint32_t GetUpdateStatus() const { return m_UpdateStatus; }
    uint32_t GetTotalProcesses() const { return m_TotalProcesses; }
    // The counts of the last scan; read without the lock.
    uint32_t GetNumOfCounters() const { return m_CounterCount; }
    uint32_t GetNumOfErrors() const { return m_ErrorCount; }
    uint32_t GetNumOfWarnings() const { return m_WarningCount; }

    double GetTotalCpuUsage() const { return m_TotalCpuUsage; }
    double GetTotalMemUsed() const { return m_TotalMemUsed; }
    double GetTotalThreads() const { return m_TotalThreads; }
    double GetTotalHandles() const { return m_TotalHandles; }
    double GetMaxCpuUsage() const { return m_MaxCpuUsage; }
    double GetMaxMemUsed() const { return m_MaxMemUsed; }
    double GetMaxThreads() const { return m_MaxThreads; }
    double GetMaxHandles() const { return m_MaxHandles; }

    int GetVerboseMessages() const { return m_VerboseMessages; }
    void SetVerboseMessages(int verbose) { m_VerboseMessages = verbose; }
    int GetEnableDebugLogFile() const { return m_EnableDebugLogFile; }
    void SetEnableDebugLogFile(int enable) { m_EnableDebugLogFile = enable; }
    const char* GetDebugLogFileName() const { return m_DebugLogFileName; }
    // Cut on a UTF-8 boundary when it does not fit.
    void SetDebugLogFileName(const char* name);

    // The status table (the same rows as the counter monitor's): 6 rows.
    static uint32_t GetStatusCount();
    static const char* GetStatusName(uint32_t index);
    static const char* GetStatusIcon(uint32_t index);
    // Empties buf, then writes the value of the row: run state, run time, counters, errors,
    // warnings, memory of the process list. Any other index writes "INV" and answers 0. A
    // size of 0 writes nothing. Takes the lock.
    int GetStatusValue(uint32_t index, char* buf, uint32_t size);

private:
    void CheckRulesAndTotals(const SCA_TezProcessRules* rules, uint64_t absTime);
    int IsThisComputer(const char* host) const;

    SCA_TezConfig* m_Config;
    SCA_TezConfigUser* m_UserConfig;
    SCA_ConfigObj* m_Params;
    SCA_TezActionCtrl* m_ActionCtrl;
    SCA_TezProcessMonitorCallback m_UpdateCallback = nullptr;
    void* m_UpdateUserData = nullptr;
    char m_ComputerName[256] = "";
    SCA_ConfigObj m_ExcludeList;
    uint32_t m_TargetProcessId = 0;
    uint32_t m_CpuCount = 0;
    // Read by other threads without the lock.
    std::atomic<int> m_Paused{0};
    std::atomic<int> m_LoadCompleted{0};
    std::atomic<uint32_t> m_ProcessStatus{SCA_PROCESS_IDLE};
    uint32_t m_StatusCode = 0;
    SCA_Event m_Ready;
    SCA_PerfMonitor m_PerfMonitor;
    std::atomic<uint64_t> m_StartTime{0};
    std::atomic<uint64_t> m_ProcessTime{0};
    uint64_t m_HostTotalMemory = 0;
    SCA_TezErrorList m_ErrorList;
    SCA_TezProcessLog m_ProcessLog;
    SCA_TezProcessList m_ProcessList;
    uint32_t m_ProcessListStatus = 0;
    uint32_t m_UpdateStatus = 0;
    uint32_t m_TotalProcesses = 0;
    std::atomic<uint32_t> m_ErrorCount{0};
    std::atomic<uint32_t> m_WarningCount{0};
    std::atomic<uint32_t> m_CounterCount{0};
    double m_TotalCpuUsage = 0.0;
    double m_TotalMemUsed = 0.0;
    double m_TotalThreads = 0.0;
    double m_TotalHandles = 0.0;
    double m_MaxCpuUsage = 0.0;
    double m_MaxMemUsed = 0.0;
    double m_MaxThreads = 0.0;
    double m_MaxHandles = 0.0;
    uint32_t m_PeriodMs = 0;
    SCA_ProcScanner m_Scanner;
    SCA_TezProcessUpdater m_ScanUpdater{&m_ProcessList, &m_ProcessLog};
    SCA_TezProcessRuleCheck m_RuleCheck{&m_ErrorList, m_ActionCtrl};
    int m_VerboseMessages = 0;
    int m_EnableDebugLogFile = 0;
    char m_DebugLogFileName[4096] = "";
};
