#pragma once

#include <cstdint>

#include "libmor/SCA_Event.h"
#include "libmor/SCA_Heap.h"
#include "libmor/SCA_ThreadObj.h"
#include "model/SCA_TezProcessStatus.h"
#include "model/SCA_TezProfile.h"
#include "model/SCA_TezReport.h"
#include "perf/SCA_PerfMonitor.h"

class SCA_ConfigObj;
class SCA_SrvMonitor;
class SCA_TezActionCtrl;
class SCA_TezConfig;
class SCA_TezConfigUser;
class SCA_TezReportIndex;

// Called after each sample with the profile sampled, the report and the sample time.
using SCA_TezSampleCallback = int (*)(SCA_TezProfile* profile, SCA_TezReport* report,
                                      uint64_t absTime, void* userData);

// The sampling manager of a counter monitor: it samples the profile's counters on a thread of
// its own (ThreadFunc, supplied by the sampling job) into the live counters of its report and
// keeps the counts of counters in error and in warning. Its ready event (automatic, signalled
// at first) is the lock of its data.
class SCA_TezManager : public SCA_ThreadObj {
public:
    SCA_HEAP_OPERATORS

    // Everything passed is the caller's and outlives the manager. The construction flag is 0
    // when an embedded part cannot be made.
    SCA_TezManager(SCA_TezConfig* config, SCA_TezConfigUser* userConfig, SCA_ConfigObj* params,
                   SCA_TezActionCtrl* actionCtrl, SCA_TezReportIndex* reportIndex,
                   SCA_SrvMonitor* monitor);
    // Stops the sampling thread before the data it writes goes.
    ~SCA_TezManager() override { Unlock(__FILE__); }

    SCA_TezConfig* GetConfig() const { return m_Config; }
    SCA_TezConfigUser* GetUserConfig() const { return m_UserConfig; }
    SCA_ConfigObj* GetParams() const { return m_Params; }
    SCA_TezActionCtrl* GetActionCtrl() const { return m_ActionCtrl; }
    SCA_TezReportIndex* GetReportIndex() const { return m_ReportIndex; }
    SCA_SrvMonitor* GetSrvMonitor() const { return m_Monitor; }

    SCA_TezProfile* GetProfile() { return &m_Profile; }
    const char* GetHostName() const { return m_HostName; }
    const char* GetMonitorName() const { return m_MonitorName; }
    int IsPaused() const { return m_Paused; }
    uint32_t GetProcessStatus() const { return m_ProcessStatus; }
    void SetProcessStatus(uint32_t status) { m_ProcessStatus = status; }
    uint32_t GetAbortStatusCode() const { return m_AbortStatusCode; }
    void SetAbortStatusCode(uint32_t code) { m_AbortStatusCode = code; }
    uint32_t GetErrorCounters() const { return m_ErrorCounters; }
    void SetErrorCounters(uint32_t count) { m_ErrorCounters = count; }
    uint32_t GetWarningCounters() const { return m_WarningCounters; }
    void SetWarningCounters(uint32_t count) { m_WarningCounters = count; }
    uint64_t GetAbsStartTime() const { return m_AbsStartTime; }
    // Elapsed run time, 100-ns units.
    uint64_t GetProcessTime() const { return m_ProcessTime; }
    uint64_t GetHostTotalMemory() const { return m_HostTotalMemory; }
    SCA_Event* GetReady() { return &m_Ready; }
    SCA_PerfMonitor* GetPerfMonitor() { return &m_PerfMonitor; }
    SCA_TezReport* GetReport() { return &m_Report; }

    // The live counters: the report's counter list.
    SCA_TezReportCounters* GetCounterList() { return m_Report.GetCounterList(); }
    uint32_t GetActiveCounters() { return m_Report.GetCounterList()->Count(); }

    void SetSampleCallback(SCA_TezSampleCallback callback, void* userData);

    // The status table: 6 rows (see SCA_TezStatusTable.h).
    static uint32_t GetStatusCount();
    static const char* GetStatusName(uint32_t index);
    static const char* GetStatusIcon(uint32_t index);
    // Empties buf, then writes the value of the row: run state, run time, active counters,
    // counters in error, in warning, memory of the report. Any other index writes "INV" and
    // answers 0. A size of 0 writes nothing.
    int GetStatusValue(uint32_t index, char* buf, uint32_t size);

private:
    SCA_TezConfig* m_Config;
    SCA_TezConfigUser* m_UserConfig;
    SCA_ConfigObj* m_Params;
    SCA_TezActionCtrl* m_ActionCtrl;
    SCA_TezReportIndex* m_ReportIndex;
    SCA_SrvMonitor* m_Monitor;
    SCA_TezProfile m_Profile;
    char m_HostName[256] = "";
    char m_MonitorName[256] = "";
    int m_Paused = 0;
    uint32_t m_ProcessStatus = SCA_PROCESS_IDLE;
    uint32_t m_AbortStatusCode = 0;
    uint32_t m_ErrorCounters = 0;
    uint32_t m_WarningCounters = 0;
    uint64_t m_AbsStartTime = 0;
    uint64_t m_ProcessTime = 0;
    uint64_t m_HostTotalMemory = 0;
    SCA_Event m_Ready;
    SCA_PerfMonitor m_PerfMonitor;
    SCA_TezReport m_Report;
    SCA_TezSampleCallback m_SampleCallback = nullptr;
    void* m_SampleUserData = nullptr;
};
