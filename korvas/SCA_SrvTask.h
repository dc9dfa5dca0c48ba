// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "korvas/SCA_SrvStatusLock.h"
#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Object.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezProcessStatus.h"
#include "model/SCA_TezTaskStatus.h"

class SCA_ConfigObj;
class SCA_TezConfig;
class SCA_TezConfigUser;
class SCA_TezReportIndex;

// The run lock of a task: its release tells the status board that the run may have changed.
using SCA_SrvRunLock = SCA_SrvStatusLock<std::mutex>;

// Task types.
inline constexpr uint32_t SCA_TASK_COUNTERS = 0;
inline constexpr uint32_t SCA_TASK_PROCESSES = 1;

// What the service runs for one started monitor: its own copy of the monitor and the run state
// (idle, running, paused, stopped, failed), behind the interface the control object drives.
// Not copyable: the tasks own threads.
class SCA_SrvTask : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    // The configurations, parameters and report index are the service's and outlive the task.
    SCA_SrvTask(SCA_TezConfig* config, SCA_TezConfigUser* userConfig, SCA_ConfigObj* params,
                SCA_TezReportIndex* reportIndex, uint32_t taskType);
    ~SCA_SrvTask() override = default;
    SCA_SrvTask(const SCA_SrvTask&) = delete;
    SCA_SrvTask& operator=(const SCA_SrvTask&) = delete;

    virtual int Init(const SCA_SrvMonitor& monitor) = 0;
    virtual int StartProcess() = 0;
    virtual int Restart() = 0;
    virtual int Reset() = 0;
    virtual int Pause() = 0;
    virtual int Resume() = 0;
    virtual int StopProcess() = 0;
    virtual uint32_t GetStatus() = 0;
    virtual uint32_t GetActiveCounters() = 0;
    virtual uint32_t GetErrors() = 0;
    virtual uint32_t GetWarnings() = 0;
    virtual uint64_t GetProcessTime() = 0;
    virtual int BuildCountersStatusList(SCA_ConfigObj* list) = 0;
    virtual int GetStatusEx(SCA_ConfigObj* list, uint32_t counterId, uint64_t since, uint32_t count,
                            SCA_ConfigObj* data) = 0;
    virtual int GetCounterStatusEx(uint32_t counterId, uint64_t since, uint32_t count,
                                   SCA_ConfigObj* data, char* text, uint32_t size) = 0;
    virtual int SerializeReport(SCA_ConfigObj* report) = 0;
    virtual int SerializeErrorList(SCA_ConfigObj* errors) = 0;
    // The counters open in the task's collector, read under the lock of the collector's owner.
    virtual int SerializePerfCounters(SCA_ConfigObj* list) = 0;

    // Takes a copy of monitor's changed definition while the task may run; the base copies it.
    virtual int UpdateMonitor(const SCA_SrvMonitor& monitor) {
        return m_Monitor.SetContent(monitor);
    }

    uint32_t GetState() const { return m_State.load(); }
    // The control object records the outcome of the runs it drives.
    void SetState(uint32_t state) {
        m_State.store(state);
        TouchStatus();
    }
    // Serialises the control operations on one task (start, stop, pause, reads of its data):
    // they come from many connections at once. Held while a run stops, so never taken under
    // the control object's own lock.
    SCA_SrvRunLock& GetRunLock() { return m_RunLock; }
    // The board that shows the task's status row (not owned; it outlives the task). Set
    // before the first start.
    void SetStatusBoard(SCA_SrvStatusBoard* board) {
        m_Board.store(board);
        m_RunLock.SetBoard(board);
    }
    uint32_t GetTaskType() const { return m_TaskType; }
    SCA_SrvMonitor* GetMonitor() { return &m_Monitor; }
    // Running or paused.
    bool IsActive() const {
        const uint32_t state = m_State.load();
        return state == SCA_PROCESS_RUNNING || state == SCA_PROCESS_PAUSED;
    }

    // The status code of a task in state with counters in error and in warning.
    static uint32_t StatusCode(uint32_t state, uint32_t errors, uint32_t warnings);

protected:
    // Takes a copy of monitor (the profile named after its description, a remote monitor's
    // computer recorded among the remote servers). The messages name className.
    int CopyMonitor(const SCA_SrvMonitor& monitor, const char* className);
    // The monitor's computer when it is a remote monitor with one, else null (this computer).
    const char* GetHost() const;
    // After each sample or scan, on the thread that made it: tells the status board when the
    // status or a count of the row moved since the last call.
    void NoteSampledStatus();

    SCA_TezConfig* m_Config;
    SCA_TezConfigUser* m_UserConfig;
    SCA_ConfigObj* m_Params;
    SCA_TezReportIndex* m_ReportIndex;

private:
    // What the status row showed of the task at the last sample.
    struct SampledStatus {
        uint32_t Status = 0;
        uint32_t Counters = 0;
        uint32_t Errors = 0;
        uint32_t Warnings = 0;
        bool operator==(const SampledStatus&) const = default;
    };

    void TouchStatus() {
        if (SCA_SrvStatusBoard* board = m_Board.load()) {
            board->Touch();
        }
    }

    std::atomic<uint32_t> m_State{SCA_PROCESS_IDLE};
    SCA_SrvRunLock m_RunLock;
    std::atomic<SCA_SrvStatusBoard*> m_Board{nullptr};
    // Written by the thread that samples or scans; a tick may also be run by whoever drives the
    // manager beside its sample clock, so the comparison is held.
    std::mutex m_SampledLock;
    SampledStatus m_Sampled;
    uint32_t m_TaskType;
    SCA_SrvMonitor m_Monitor;
};
