// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <memory>

#include "korvas/SCA_SrvTask.h"
#include "libtez/SCA_TezLoader.h"
#include "libtez/SCA_TezManager.h"

class SCA_TezActionCtrl;

// The task of a counter monitor: the monitoring core's loader makes the counters of the task's
// own monitor copy live in its sampling manager, which samples that copy's profile on its own
// thread. A run of at least SCA_TASK_MIN_REPORT_SECONDS ends in a stored report.
inline constexpr uint64_t SCA_TASK_MIN_REPORT_SECONDS = 10;

class SCA_SrvTaskMonitor : public SCA_SrvTask {
public:
    SCA_HEAP_OPERATORS

    SCA_SrvTaskMonitor(SCA_TezConfig* config, SCA_TezConfigUser* userConfig, SCA_ConfigObj* params,
                       SCA_TezReportIndex* reportIndex, SCA_TezActionCtrl* actionCtrl);
    // Stops the run first.
    ~SCA_SrvTaskMonitor() override;

    int Init(const SCA_SrvMonitor& monitor) override;
    int StartProcess() override;
    // Nothing to do for a counter monitor.
    int Restart() override { return 1; }
    int Reset() override;
    int Pause() override;
    int Resume() override;
    int StopProcess() override;
    uint32_t GetStatus() override;
    uint32_t GetActiveCounters() override { return m_Manager.GetActiveCounters(); }
    uint32_t GetErrors() override { return m_Manager.GetErrorCounters(); }
    uint32_t GetWarnings() override { return m_Manager.GetWarningCounters(); }
    uint64_t GetProcessTime() override { return m_Manager.GetProcessTime(); }
    int BuildCountersStatusList(SCA_ConfigObj* list) override;
    int GetStatusEx(SCA_ConfigObj* list, uint32_t counterId, uint64_t since, uint32_t count,
                    SCA_ConfigObj* data) override;
    int GetCounterStatusEx(uint32_t counterId, uint64_t since, uint32_t count, SCA_ConfigObj* data,
                           char* text, uint32_t size) override;
    int SerializeReport(SCA_ConfigObj* report) override;
    int SerializeErrorList(SCA_ConfigObj* errors) override;
    int SerializePerfCounters(SCA_ConfigObj* list) override {
        return m_Manager.SerializePerfCounters(list);
    }

    // The sampled profile is the task's monitor copy: changes to it are made under the
    // manager's lock, as its thread reads it.
    int UpdateMonitor(const SCA_SrvMonitor& monitor) override;
    // Gives the sampled profile the monitor's counter list (same ids and order).
    int SyncCounters(const SCA_TezCounterList& counters);
    // The counter information of object into the sampled profile's counter counterId (1 when
    // the profile has none) and into the live counter with that id.
    int SetCounterInfo(uint32_t counterId, SCA_ConfigObj* object);

    // A run's report that could not be stored when the run stopped is kept and tried again
    // here (the control loop calls it now and then, and a new start first); meanwhile the task
    // shows the error status. 1 when nothing is pending any more.
    int RetryPendingReport();
    bool HasPendingReport() const { return m_PendingStage.load() != PendingStage::kNone; }
    // At a stop on a full disk: the pending report's file goes into the room that the report
    // index keeps for it (SCA_TEZ_REPORT_INTO_RESERVE), and the index is written if it can be.
    // 1 when no report waits in memory only any more.
    int StorePendingInReserve();
    // Whether a report waits in memory only, its file not written: what a stop would lose.
    // (One whose file is written waits only for the index, which the next start makes up from
    // the report files.)
    bool IsPendingReportInMemory() const {
        return m_PendingStage.load() == PendingStage::kAddReport;
    }

    SCA_TezManager* GetManager() { return &m_Manager; }
    SCA_TezLoader* GetLoader() { return &m_Loader; }

private:
    // What is left to do for a report that could not be stored: add it to the index (its file
    // written first), or only write the index that already lists it.
    enum class PendingStage { kNone, kAddReport, kSaveIndex };

    // After each sample, on the sampling thread: the status row's counts, and the loader's
    // thread joined once its load is done (it would keep its stack until the run stops).
    static int OnSample(SCA_TezProfile* profile, SCA_TezReport* report, uint64_t absTime,
                        void* task);

    // The run's report into the service's report index, when it lasted long enough.
    void SaveReport();
    // Stores the pending report as far as it can, writing its file as flags say
    // (SCA_TezReportIndex::AddReport); reports what failed.
    void StorePending(uint32_t flags);
    // Stopped tasks still answer from the manager's last data; idle ones from the profile.
    bool HasRunData() const;

    SCA_TezLoader m_Loader;
    SCA_TezManager m_Manager;
    // A copy of the report being stored, taken from the manager so that a new run does not
    // reset it; read and written under the task's run lock.
    std::unique_ptr<SCA_TezReport> m_PendingReport;
    std::atomic<PendingStage> m_PendingStage{PendingStage::kNone};
};
