// SPDX-License-Identifier: MIT
// The control object's monitor tasks over a captured /proc tree: the run states a client sees
// through a start, pause, second start, reset and stop (with the report it leaves), counters
// changed while a monitor runs, process-monitor queries, deletion of running monitors, and
// many connections driving the same monitors at once.
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "korvas/SCA_KorvantaCtrl.h"
#include "korvas/SCA_SrvTaskMonitor.h"
#include "korvas/SCA_SrvTaskProcess.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Time.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezConfigFiles.h"
#include "model/SCA_TezProcessStatus.h"
#include "model/SCA_TezVocabulary.h"
#include "tests/korvas/ControlTestFixture.h"
#include "tests/perf/PerfTestSupport.h"
#include "tests/support/KorvantaTestSupport.h"
#include "tests/support/WaitUntil.h"

namespace {

constexpr uint32_t kThreads = 8;
constexpr uint32_t kRounds = 20;

using ControlTasksTest = korvas_test::ControlTestFixture;

TEST_F(ControlTasksTest, StartPauseStartResetStopShowTheirStatesAndLeaveAReport) {
    const uint32_t id =
        AddMonitor(SCA_SRV_MONITOR_COUNTERS, "Memory watch", SCA_COUNTER_MEMORY_USAGE);
    EXPECT_EQ("7 10 1 0 0 - Memory watch", Shown(id)) << "never started";

    ASSERT_EQ(1, m_Ctrl.StartMonitor(id));
    EXPECT_TRUE(korvanta_test::WaitUntil("the monitor to show as running", [&] {
        return Shown(id) == "9 11 1 0 0 - Memory watch";
    })) << Shown(id);
    EXPECT_EQ(1u, m_Ctrl.GetActiveMonitors());
    SCA_SrvTaskRef task = m_Ctrl.GetTask(id);
    ASSERT_TRUE(task);

    ASSERT_EQ(1, m_Ctrl.PauseMonitor(id));
    EXPECT_EQ("8 12 1 0 0 - Memory watch", Shown(id));
    EXPECT_EQ(1u, m_Ctrl.GetActiveMonitors()) << "a paused monitor is active";
    ASSERT_EQ(1, m_Ctrl.StartMonitor(id));
    EXPECT_EQ("9 11 1 0 0 - Memory watch", Shown(id));
    EXPECT_EQ(task, m_Ctrl.GetTask(id)) << "resumed, not started anew";

    auto* counters = static_cast<SCA_SrvTaskMonitor*>(task.get());
    ASSERT_TRUE(korvanta_test::WaitUntil("the counter's status", [&] {
        SCA_ConfigObj data("CD", nullptr);
        char text[256] = "";
        return m_Ctrl.GetCounterStatusEx(id, 1, 0, 600, &data, text, sizeof(text)) &&
               data.GetFieldCount() >= 2;
    }));
    ASSERT_EQ(1, m_Ctrl.ResetMonitor(id));
    EXPECT_EQ(0u, counters->GetManager()->GetProcessTime()) << "the reset forgot the run";

    // Twenty seconds of run time in one step, so that the stop keeps a report.
    const uint64_t now = SCA_PerfSnapshotStore::GetMonotonicNs();
    ASSERT_EQ(1, counters->GetManager()->SampleTick(1, now, SCA_GetAbsTime()));
    ASSERT_EQ(
        1, counters->GetManager()->SampleTick(2, now + 20 * perf_test::kSecond, SCA_GetAbsTime()));
    ASSERT_EQ(1, m_Ctrl.StopMonitor(id));
    EXPECT_EQ("1 1 1 0 0 - Memory watch", Shown(id));
    EXPECT_EQ(1u, m_Ctrl.GetStoppedMonitors());
    EXPECT_EQ(0u, m_Ctrl.GetActiveMonitors());

    SCA_ConfigObj* index = nullptr;
    ASSERT_EQ(1, m_Ctrl.GetReportIndexObj(&index));
    ASSERT_EQ(1u, m_Ctrl.GetReportIndex()->Count());
    SCA_Object::Destroy(index);
    const uint32_t reportId = m_Ctrl.GetReportIndex()->GetHead()->GetId();
    SCA_ConfigObj* stored = nullptr;
    ASSERT_EQ(1, m_Ctrl.GetReportObj(reportId, &stored));
    // A report given back by a client is a new report with a new id.
    uint32_t copyId = SCA_ALL_ONES;
    ASSERT_EQ(1, m_Ctrl.AddReportObj(stored, &copyId));
    SCA_Object::Destroy(stored);
    EXPECT_NE(reportId, copyId);
    EXPECT_EQ(copyId, m_Ctrl.GetReportIndex()->GetTail()->GetId());
    ASSERT_EQ(1, m_Ctrl.DeleteReport(reportId));
    EXPECT_EQ(1u, m_Ctrl.GetReportIndex()->Count());
    SCA_ConfigObj* gone = nullptr;
    EXPECT_EQ(0, m_Ctrl.GetReportObj(reportId, &gone));
    EXPECT_GE(m_Reports.Count(SCA_LEVEL_ERROR, "cannot load report - " + std::to_string(reportId)),
              1);
}

TEST_F(ControlTasksTest, OnlyARunningTaskPausesAndABadIdIsRefused) {
    const uint32_t id = AddMonitor(SCA_SRV_MONITOR_COUNTERS, "Memory", SCA_COUNTER_MEMORY_USAGE);
    ASSERT_EQ(1, m_Ctrl.StartMonitor(id));
    ASSERT_EQ(1, m_Ctrl.StopMonitor(id));
    ASSERT_EQ(1, m_Ctrl.PauseMonitor(id));
    EXPECT_EQ(SCA_PROCESS_STOPPED, m_Ctrl.GetTask(id)->GetState()) << "a stopped task stays so";
    EXPECT_EQ(1u, m_Ctrl.GetStoppedMonitors());
    EXPECT_EQ(0, m_Ctrl.StartMonitor(id + 100));
    EXPECT_EQ(1, m_Reports.Count(SCA_LEVEL_ERROR,
                                 "StartMonitor: invalid monitor ID - " + std::to_string(id + 100)));
    // Started again after a stop, the same task runs a new run.
    ASSERT_EQ(1, m_Ctrl.StartMonitor(id));
    EXPECT_EQ(SCA_PROCESS_RUNNING, m_Ctrl.GetTask(id)->GetState());
    const uint32_t empty = AddMonitor(SCA_SRV_MONITOR_COUNTERS, "Nothing", 0);
    EXPECT_EQ(1, m_Ctrl.StartMonitor(empty));
    EXPECT_FALSE(m_Ctrl.GetTask(empty)) << "a monitor without counters gets no task";
}

TEST_F(ControlTasksTest, CountersChangeWhileTheMonitorRuns) {
    const uint32_t id = AddMonitor(SCA_SRV_MONITOR_COUNTERS, "Memory", SCA_COUNTER_MEMORY_USAGE);
    ASSERT_EQ(1, m_Ctrl.StartMonitor(id));
    uint32_t added = 0;
    ASSERT_EQ(1, m_Ctrl.AddCounter(id, SCA_COUNTER_CPU_USAGE, "", "", "", &added));
    uint32_t again = SCA_ALL_ONES;
    ASSERT_EQ(1, m_Ctrl.AddCounter(id, SCA_COUNTER_CPU_USAGE, "", "", "", &again));
    EXPECT_EQ(added, again) << "the same counter is not added twice";
    auto* task = static_cast<SCA_SrvTaskMonitor*>(m_Ctrl.GetTask(id).get());
    EXPECT_TRUE(korvanta_test::WaitUntil("two active counters",
                                         [&] { return task->GetActiveCounters() == 2u; }));
    uint32_t found = 0;
    ASSERT_EQ(1, m_Ctrl.IsCounterExists(id, SCA_COUNTER_CPU_USAGE, "", "", "nope", &found));
    EXPECT_EQ(SCA_ALL_ONES, found);

    ASSERT_EQ(1, m_Ctrl.DeleteCounter(id, 1));
    EXPECT_EQ(1u, task->GetActiveCounters());
    EXPECT_EQ(1u, task->GetMonitor()->GetProfile()->GetCounterList()->Count());
    ASSERT_TRUE(korvanta_test::WaitUntil("the added counter's status", [&] {
        SCA_ConfigObj data("CD", nullptr);
        char text[256] = "";
        return m_Ctrl.GetCounterStatusEx(id, added, 0, 600, &data, text, sizeof(text)) &&
               data.GetFieldCount() >= 1;
    })) << "the counter added while running samples";
    ASSERT_EQ(1, m_Ctrl.DeleteAllCounters(id));
    EXPECT_EQ(0u, task->GetActiveCounters());
}

TEST_F(ControlTasksTest, ChangedMonitorsKeepTheirIdAndTypeWhileTheyHaveATask) {
    const uint32_t id = AddMonitor(SCA_SRV_MONITOR_COUNTERS, "Memory", SCA_COUNTER_MEMORY_USAGE);
    ASSERT_EQ(1, m_Ctrl.StartMonitor(id));
    SCA_SrvMonitor changed(m_Ctrl.GetConfig(), m_Ctrl.GetUserConfig());
    changed.SetMonitorId(id + 50);
    changed.SetMonitorType(SCA_SRV_MONITOR_COUNTERS);
    changed.SetDescription("Renamed");
    SCA_ConfigObj object("Monitor", nullptr);
    ASSERT_EQ(1, changed.Serialize(&object));
    ASSERT_EQ(1, m_Ctrl.SetMonitorObj(id, &object));
    SCA_SrvMonitor* monitor = nullptr;
    ASSERT_EQ(1, m_Ctrl.GetMonitorList()->GetMonitor(id, &monitor));
    EXPECT_EQ(id, monitor->GetMonitorId());
    EXPECT_STREQ("Renamed", m_Ctrl.GetTask(id)->GetMonitor()->GetDescription());
    EXPECT_EQ(id, m_Ctrl.GetTask(id)->GetMonitor()->GetMonitorId());

    changed.SetMonitorType(SCA_SRV_MONITOR_PROCESS);
    SCA_ConfigObj other("Monitor", nullptr);
    ASSERT_EQ(1, changed.Serialize(&other));
    EXPECT_EQ(0, m_Ctrl.SetMonitorObj(id, &other));
    EXPECT_EQ(SCA_SRV_MONITOR_COUNTERS, monitor->GetMonitorType());
}

TEST_F(ControlTasksTest, ProcessMonitorsListTheirProcessesAndCounterMonitorsRefuse) {
    const uint32_t counters =
        AddMonitor(SCA_SRV_MONITOR_COUNTERS, "Memory", SCA_COUNTER_MEMORY_USAGE);
    const uint32_t id = AddMonitor(SCA_SRV_MONITOR_PROCESS, "Processes", 0);
    uint32_t type = 99, status = 0, processStatus = 0, listStatus = 9;
    uint64_t start = 5;
    SCA_ConfigObj* list = nullptr;
    ASSERT_EQ(1, m_Ctrl.GetMonitorProcessListStatus(id, &type, &status, &processStatus, &start,
                                                    &listStatus, &list));
    EXPECT_EQ(SCA_SRV_MONITOR_PROCESS, type);
    EXPECT_EQ(SCA_TASK_STATUS_IDLE, status) << "never started";
    EXPECT_EQ(0u, start + listStatus);
    SCA_Object::Destroy(list);
    EXPECT_EQ(0, m_Ctrl.GetMonitorProcessListStatus(counters, &type, &status, &processStatus,
                                                    &start, &listStatus, &list));
    EXPECT_EQ(SCA_SRV_MONITOR_COUNTERS, type);
    EXPECT_EQ(1, m_Reports.Count(SCA_LEVEL_ERROR, "invalid monitor type - 0"));

    ASSERT_EQ(1, m_Ctrl.StartMonitor(id));
    ASSERT_TRUE(korvanta_test::WaitUntil("the process list", [&] {
        SCA_ConfigObj* current = nullptr;
        if (!m_Ctrl.GetMonitorProcessListStatus(id, &type, &status, &processStatus, &start,
                                                &listStatus, &current)) {
            return false;
        }
        const bool listed = current->GetFieldCount() > 0;
        SCA_Object::Destroy(current);
        return listed;
    }));
    SCA_ConfigObj* log = nullptr;
    ASSERT_EQ(1, m_Ctrl.GetMonitorProcessLog(id, &log));
    SCA_Object::Destroy(log);
    SCA_ConfigObj* excluded = nullptr;
    ASSERT_EQ(1, m_Ctrl.GetMonitorProcessExcludeList(id, &excluded));
    EXPECT_TRUE(excluded->IsFieldExists("korvas"));
    SCA_Object::Destroy(excluded);
    tagSCA_TASK_PROCESS_STATE state{};
    SCA_ConfigObj* none = nullptr;
    ASSERT_EQ(1, m_Ctrl.GetMonitorProcessCountersStatus(id, SCA_ALL_ONES - 1, &state, &none));
    EXPECT_EQ(SCA_TASK_STATUS_IDLE, state.RepStatus);
    SCA_Object::Destroy(none);
    ASSERT_EQ(1, m_Ctrl.StopMonitor(id));
    EXPECT_EQ(SCA_TASK_STATUS_STOPPED, m_Ctrl.GetTask(id)->GetStatus());
}

TEST_F(ControlTasksTest, DeletedMonitorsTakeTheirTasksAndIdsAreNotReused) {
    const uint32_t id = AddMonitor(SCA_SRV_MONITOR_COUNTERS, "Memory", SCA_COUNTER_MEMORY_USAGE);
    ASSERT_EQ(1, m_Ctrl.StartMonitor(id));
    std::weak_ptr<SCA_SrvTask> task = m_Ctrl.GetTask(id);
    ASSERT_EQ(1, m_Ctrl.DeleteMonitor(id));
    EXPECT_TRUE(task.expired()) << "the task went with its monitor";
    EXPECT_EQ(0u, m_Ctrl.GetActiveMonitors());
    const uint32_t next = AddMonitor(SCA_SRV_MONITOR_COUNTERS, "Memory", SCA_COUNTER_MEMORY_USAGE);
    EXPECT_NE(id, next);
    EXPECT_FALSE(m_Ctrl.GetTask(next));
}

TEST_F(ControlTasksTest, ManyConnectionsStartStopAndDeleteAtOnce) {
    std::vector<uint32_t> ids;
    for (uint32_t i = 0; i < kThreads / 2; ++i) {
        ids.push_back(AddMonitor(SCA_SRV_MONITOR_COUNTERS, "Memory", SCA_COUNTER_MEMORY_USAGE));
    }
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (uint32_t t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            while (!go.load()) {
                std::this_thread::yield();
            }
            for (uint32_t round = 0; round < kRounds; ++round) {
                const uint32_t id = ids[(t + round) % ids.size()];
                m_Ctrl.StartMonitor(id);
                m_Ctrl.PauseMonitor(id);
                m_Ctrl.StartMonitor(id);
                EXPECT_NE(nullptr, m_Ctrl.GetStatusSnapshot());
                m_Ctrl.StopMonitor(id);
                if (t == 0 && round == kRounds / 2) {
                    m_Ctrl.DeleteMonitor(ids[1]);
                }
            }
        });
    }
    go.store(true);
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_FALSE(m_Ctrl.GetTask(ids[1])) << "no task outlives its monitor";
    EXPECT_EQ(0u, m_Ctrl.GetActiveMonitors());
    EXPECT_EQ(1, m_Ctrl.StartAllMonitors());
    EXPECT_EQ(ids.size() - 1, m_Ctrl.GetActiveMonitors());
    EXPECT_EQ(1, m_Ctrl.DeleteAllTasks());
    EXPECT_EQ(0u, m_Ctrl.GetActiveMonitors());
}

} // namespace
