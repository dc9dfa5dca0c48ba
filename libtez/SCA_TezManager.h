// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "libmor/SCA_Event.h"
#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Object.h"
#include "libtez/SCA_TezActionRepeat.h"
#include "libtez/SCA_TezCondEval.h"
#include "model/SCA_TezProcessStatus.h"
#include "model/SCA_TezProfile.h"
#include "model/SCA_TezReport.h"
#include "perf/SCA_PerfMonitor.h"
#include "perf/SCA_PerfSnapshotStore.h"

class SCA_ConfigObj;
class SCA_SrvMonitor;
class SCA_TezAction;
class SCA_TezActionCtrl;
class SCA_TezConfig;
class SCA_TezConfigUser;
class SCA_TezCounter;
class SCA_TezReportIndex;
class SCA_TezSampleClock;
struct SCA_TezUserSnapshot;

// Called after each sample with the profile sampled, the report and the sample time.
using SCA_TezSampleCallback = int (*)(SCA_TezProfile* profile, SCA_TezReport* report,
                                      uint64_t absTime, void* userData);

// Milliseconds between two samples unless a test sets another interval.
inline constexpr uint32_t SCA_TEZ_SAMPLE_INTERVAL_MS = 1000;
// Error records a report keeps; older ones give way, so a condition that acts every second does
// not grow a monitor that runs for weeks.
inline constexpr uint32_t SCA_TEZ_MAX_ERROR_RECORDS = 1000;

// The sampling manager of a counter monitor. Driven by the sample clock of its interval (one
// thread for every manager of that interval, see SCA_TezSampleClock) it samples the live
// counters on the boundaries of the sample interval of the wall clock (so every monitor of the
// service samples in the same tick and shares the collector's reads, and charts of different
// monitors line up), keeps each counter's samples and statistics, evaluates the counter's
// conditions and the user's rules for its counter type, records errors and queues actions.
//
// The profile it samples is the one StartProcess is given, shared with its owner, who adds and
// deletes counters in it; the manager's live counters (the report's counter list) follow through
// AddCounter, DeleteCounter and DeleteAllCounters. Its ready event (automatic, signalled at
// first) is the lock of the live data: every operation that reads or changes it takes the lock,
// so readers get consistent snapshots.
class SCA_TezManager : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    // Everything passed is the caller's and outlives the manager; any of it may be null. The
    // construction flag is 0 when an embedded part cannot be made.
    SCA_TezManager(SCA_TezConfig* config, SCA_TezConfigUser* userConfig, SCA_ConfigObj* params,
                   SCA_TezActionCtrl* actionCtrl, SCA_TezReportIndex* reportIndex,
                   SCA_SrvMonitor* monitor);
    // Leaves the clock before the data it samples goes.
    ~SCA_TezManager() override;
    SCA_TezManager(const SCA_TezManager&) = delete;
    SCA_TezManager& operator=(const SCA_TezManager&) = delete;

    SCA_TezConfig* GetConfig() const { return m_Config; }
    SCA_TezConfigUser* GetUserConfig() const { return m_UserConfig; }
    SCA_ConfigObj* GetParams() const { return m_Params; }
    SCA_TezActionCtrl* GetActionCtrl() const { return m_ActionCtrl; }
    SCA_TezReportIndex* GetReportIndex() const { return m_ReportIndex; }
    SCA_SrvMonitor* GetSrvMonitor() const { return m_Monitor; }

    // The profile sampled: the one given to StartProcess, or the manager's own before that.
    SCA_TezProfile* GetProfile() { return m_SampledProfile; }
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
    // Sampled run time in whole seconds; paused time does not count.
    uint64_t GetProcessTime() const { return m_ProcessTimeNs / kNanosPerSecond; }
    uint64_t GetHostTotalMemory() const { return m_HostTotalMemory; }
    SCA_Event* GetReady() { return &m_Ready; }
    SCA_PerfMonitor* GetPerfMonitor() { return &m_PerfMonitor; }
    SCA_TezReport* GetReport() { return &m_Report; }

    // The live counters: the report's counter list.
    SCA_TezReportCounters* GetCounterList() { return m_Report.GetCounterList(); }
    // Takes the data lock.
    uint32_t GetActiveCounters();

    void SetSampleCallback(SCA_TezSampleCallback callback, void* userData);
    // Before StartProcess: the milliseconds between samples, and where the collector reads
    // (tests give fixture trees; by default the real /proc and /sys shared by the process).
    void SetSampleInterval(uint32_t ms) { m_SampleIntervalMs = ms != 0 ? ms : 1; }
    void SetSnapshotStore(std::shared_ptr<SCA_PerfSnapshotStore> store) {
        m_Store = std::move(store);
    }

    // Makes the manager ready to sample profile (null: its own) of host (null or empty: this
    // computer) under name, without starting the thread: the collector is connected, the run
    // state is running and the start time set. Counters go live through AddCounter (the loader
    // adds them all). 0 with *error when the collector refuses the host.
    int PrepareProcess(SCA_TezProfile* profile, const char* name, const char* host,
                       uint32_t* error);
    // PrepareProcess, then joins the clock of its interval. mode is reserved (1).
    int StartProcess(SCA_TezProfile* profile, const char* name, const char* host, uint32_t mode,
                     uint32_t* error);
    // One sample of every live counter, as the clock takes it on each tick: tickKey names the
    // tick (collectors of the same tick share their reads), monotonicNs measures the run time,
    // absTime stamps the samples. A paused manager takes no sample.
    int SampleTick(uint64_t tickKey, uint64_t monotonicNs, uint64_t absTime);
    int Pause();
    int Resume();
    // Forgets every sample, status, error and the run time; the counters stay live.
    int ResetAll();
    // Leaves the clock, once a tick of this manager that runs has ended; the data stays
    // readable. flags is reserved (0).
    int StopAll(uint32_t flags);

    // Makes the profile's counter with that id live (already live: nothing to do). 0 when the
    // profile has no such counter or the collector refuses it.
    int AddCounter(uint32_t counterId);
    int DeleteCounter(uint32_t counterId);
    int DeleteAllCounters();
    // The ids of the sampled profile's counters, read under the data lock (the owner changes the
    // profile under it too).
    std::vector<uint32_t> GetProfileCounterIds();

    // "CSL": one value field per live counter, named by its id, with its status text.
    int BuildCountersStatusList(SCA_ConfigObj* list);
    // The counters status list, and into data the samples of counterId taken after since, the
    // newest count of them ("CCD"). An unknown counter leaves data empty.
    int GetStatusEx(SCA_ConfigObj* list, uint32_t counterId, uint64_t since, uint32_t count,
                    SCA_ConfigObj* data);
    // One counter: its samples after since (the newest count) into data ("CD") and its status
    // text into text. 0 for an unknown counter.
    int GetCounterStatusEx(uint32_t counterId, uint64_t since, uint32_t count, SCA_ConfigObj* data,
                           char* text, uint32_t size);
    // Brings the report up to date: header (names, times, counts), summary and statistics.
    int UpdateReport();
    // The report (after UpdateReport) and the error records.
    int SerializeReport(SCA_ConfigObj* object);
    int SerializeErrorList(SCA_ConfigObj* object);
    // The collector's open counters (SCA_PerfMonitor::GetCounterList), under the data lock.
    int SerializePerfCounters(SCA_ConfigObj* list);

    // The status table: 6 rows (see SCA_TezStatusTable.h).
    static uint32_t GetStatusCount();
    static const char* GetStatusName(uint32_t index);
    static const char* GetStatusIcon(uint32_t index);
    // Empties buf, then writes the value of the row: run state, run time, active counters,
    // counters in error, in warning, memory of the report. Any other index writes "INV" and
    // answers 0. A size of 0 writes nothing.
    int GetStatusValue(uint32_t index, char* buf, uint32_t size);

    // 1 from StartProcess to StopAll.
    int IsSampling() const { return m_Clock != nullptr ? 1 : 0; }

private:
    static constexpr uint64_t kNanosPerSecond = 1000000000;

    // What one condition or rule remembers between samples of one counter.
    struct CondMemory {
        tagSCA_TEZ_COND_STATE Eval;
        tagSCA_TEZ_ACTION_REPEAT Repeat;
    };

    // What the manager keeps for one live counter besides the counter itself.
    struct LiveState {
        uint32_t PerfCounterId = 0;
        bool HasPrevious = false;
        double Previous = 0.0;
        std::map<uint32_t, CondMemory> Conds; // by condition id
        std::map<uint32_t, CondMemory> Rules; // by rule item id
    };

    // One sampling tick: the user configuration as published when it began, and its times.
    struct Tick {
        const SCA_TezUserSnapshot* Config;
        uint64_t MonotonicNs;
        uint64_t AbsTime;
    };

    class DataLock;

    void SampleCounter(SCA_TezCounter* counter, LiveState* state, const Tick& tick);
    uint32_t EvaluateConditions(SCA_TezCounter* counter, LiveState* state, const Tick& tick,
                                const tagSCA_TEZ_COND_INPUT& input);
    uint32_t Apply(const SCA_TezCond& cond, const tagSCA_TEZ_COND_RESULT& result,
                   SCA_TezCounter* counter, double value, const Tick& tick,
                   tagSCA_TEZ_ACTION_REPEAT* repeat);
    void RecordError(const SCA_TezCond& cond, SCA_TezCounter* counter, double value,
                     uint64_t absTime);
    void QueueAction(const SCA_TezCond& cond, const Tick& tick, tagSCA_TEZ_ACTION_REPEAT* repeat);
    // Queues the save of the monitor's report when its periodic saving is on and a period has
    // passed since the run began, the saving was turned on, or the last save.
    void QueuePeriodicReport(const Tick& tick);
    void Queue(SCA_TezAction* action);
    void CountStatuses();
    int WriteStatusList(SCA_ConfigObj* list);
    void UpdateReportLocked();

    SCA_TezConfig* m_Config;
    SCA_TezConfigUser* m_UserConfig;
    SCA_ConfigObj* m_Params;
    SCA_TezActionCtrl* m_ActionCtrl;
    SCA_TezReportIndex* m_ReportIndex;
    SCA_SrvMonitor* m_Monitor;
    SCA_TezProfile m_Profile;
    SCA_TezProfile* m_SampledProfile = &m_Profile;
    char m_HostName[256] = "";
    char m_UserName[256] = "";
    char m_MonitorName[256] = "";
    // Read by other threads without the data lock.
    std::atomic<int> m_Paused{0};
    std::atomic<uint32_t> m_ProcessStatus{SCA_PROCESS_IDLE};
    uint32_t m_AbortStatusCode = 0;
    std::atomic<uint32_t> m_ErrorCounters{0};
    std::atomic<uint32_t> m_WarningCounters{0};
    uint64_t m_AbsStartTime = 0;
    std::atomic<uint64_t> m_ProcessTimeNs{0};
    uint64_t m_LastSampleNs = 0;  // 0: the next sample starts the run-time count again
    uint64_t m_PeriodStartNs = 0; // 0: periodic saving is off or starts its period next tick
    uint64_t m_HostTotalMemory = 0;
    uint32_t m_SampleIntervalMs = SCA_TEZ_SAMPLE_INTERVAL_MS;
    uint32_t m_NextErrorId = 1;
    SCA_Event m_Ready;
    SCA_PerfMonitor m_PerfMonitor;
    std::shared_ptr<SCA_PerfSnapshotStore> m_Store;
    SCA_TezReport m_Report;
    std::map<uint32_t, LiveState> m_Live; // by counter id
    // The clock that drives the manager while it samples; set and cleared by its owner's
    // StartProcess and StopAll, which never run at once.
    std::shared_ptr<SCA_TezSampleClock> m_Clock;
    SCA_TezSampleCallback m_SampleCallback = nullptr;
    void* m_SampleUserData = nullptr;
};
