// SPDX-License-Identifier: MIT
#pragma once

#include "korvas/SCA_SrvTask.h"
#include "libtez/SCA_TezProcessMonitor.h"

class SCA_TezActionCtrl;

// Milliseconds between two scans of a process monitor.
inline constexpr uint32_t SCA_TASK_PROCESS_PERIOD_MS = 1000;

// What a process query answers about one process of a process task.
struct tagSCA_TASK_PROCESS_STATE {
    uint32_t MonitorProcessStatus; // the process monitor's run state
    uint32_t Status;
    uint32_t RepStatus;
    uint32_t Errors;
    uint32_t Warnings;
    uint32_t Instances;
    uint64_t StartTime;
};

// The task of a process monitor: the monitoring core's process monitor watches every process
// of the computer on its own thread; the task answers the per-process queries under the
// process monitor's lock. Stopping it saves no report.
class SCA_SrvTaskProcess : public SCA_SrvTask {
public:
    SCA_HEAP_OPERATORS

    SCA_SrvTaskProcess(SCA_TezConfig* config, SCA_TezConfigUser* userConfig, SCA_ConfigObj* params,
                       SCA_TezReportIndex* reportIndex, SCA_TezActionCtrl* actionCtrl);
    // Stops the run first.
    ~SCA_SrvTaskProcess() override;

    int Init(const SCA_SrvMonitor& monitor) override;
    int StartProcess() override;
    int Restart() override;
    int Reset() override;
    int Pause() override;
    int Resume() override;
    int StopProcess() override;
    uint32_t GetStatus() override;
    uint32_t GetActiveCounters() override { return m_Monitor.GetNumOfCounters(); }
    uint32_t GetErrors() override { return m_Monitor.GetNumOfErrors(); }
    uint32_t GetWarnings() override { return m_Monitor.GetNumOfWarnings(); }
    uint64_t GetProcessTime() override { return m_Monitor.GetProcessTime(); }
    // A process monitor has no counters list, no samples of its own and no report.
    int BuildCountersStatusList(SCA_ConfigObj* /*list*/) override { return 1; }
    int GetStatusEx(SCA_ConfigObj*, uint32_t, uint64_t, uint32_t, SCA_ConfigObj*) override {
        return 1;
    }
    int GetCounterStatusEx(uint32_t, uint64_t, uint32_t, SCA_ConfigObj*, char*, uint32_t) override {
        return 1;
    }
    int SerializePerfCounters(SCA_ConfigObj* list) override;
    int SerializeReport(SCA_ConfigObj* /*report*/) override { return 1; }
    int SerializeErrorList(SCA_ConfigObj* errors) override;

    // The list status: status, process status, start time (untouched while idle), list status
    // and the status list ("ProcessListStatus"); the Ex form adds the log from fromLogId on.
    int GetListStatus(uint32_t* status, uint32_t* processStatus, uint64_t* startTime,
                      uint32_t* listStatus, SCA_ConfigObj* list);
    int GetListStatusEx(uint32_t* status, uint32_t* processStatus, uint64_t* startTime,
                        uint32_t* listStatus, SCA_ConfigObj* list, uint32_t fromLogId,
                        SCA_ConfigObj* log);
    // One process by record id: its state, and its counter list, counters status or counters
    // status with the samples of one counter. An id not (or no longer) listed answers the
    // neutral state (report status SCA_TASK_STATUS_IDLE, zero counts) and success.
    int GetProcessCounterList(uint32_t processId, tagSCA_TASK_PROCESS_STATE* state,
                              SCA_ConfigObj* list);
    int GetProcessCountersStatus(uint32_t processId, tagSCA_TASK_PROCESS_STATE* state,
                                 SCA_ConfigObj* list);
    int GetProcessCountersStatusEx(uint32_t processId, tagSCA_TASK_PROCESS_STATE* state,
                                   SCA_ConfigObj* list, uint32_t counterId, uint64_t since,
                                   uint32_t count, SCA_ConfigObj* data);

    // The process log from the first entry ("ProcessLog"), the process list with details
    // ("ProcessList") and one process, refreshed first when load is set ("Process"), each read
    // under the process monitor's lock. 0 for an unknown process id or a failed serialisation.
    int SerializeProcessLog(SCA_ConfigObj* log);
    int SerializeProcessList(SCA_ConfigObj* list, uint32_t details);
    int SerializeProcess(uint32_t processId, uint32_t load, SCA_ConfigObj* object);
    // The name of a listed process (at most size bytes) and the system process id of its first
    // instance, 0 when it has none. 0 for an unknown process id.
    int GetProcessInstance(uint32_t processId, char* name, uint32_t size, uint32_t* pid);
    // The names the process monitor leaves out, copied out and in under its lock.
    int GetExcludeList(SCA_ConfigObj* object);
    int SetExcludeList(SCA_ConfigObj* object);

    // Milliseconds between two scans from the next start on (tests scan faster).
    void SetPeriod(uint32_t periodMs) { m_Period = periodMs; }
    SCA_TezProcessMonitor* GetProcessMonitor() { return &m_Monitor; }

private:
    // After each scan, on the scanning thread: the status row's counts.
    static int OnScan(uint64_t absTime, SCA_TezProcessMonitor* monitor, void* task);

    template <typename Read>
    int ReadProcess(uint32_t processId, tagSCA_TASK_PROCESS_STATE* state, Read&& read);
    int Refuse(const char* operation);

    uint32_t m_Period = SCA_TASK_PROCESS_PERIOD_MS;
    SCA_TezProcessMonitor m_Monitor;
};
