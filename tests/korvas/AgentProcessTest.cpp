// SPDX-License-Identifier: MIT
// The process-monitor queries, the open counters of a performance monitor and the sound actions
// as a client reaches them, over a process monitor that watches this machine.
#include <cerrno>
#include <chrono>
#include <string>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

#include "libmor/SCA_Limits.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezProcessStatus.h"
#include "tests/korvas/AgentClientTest.h"
#include "tests/support/KorvantaTestSupport.h"
#include "tests/support/WaitUntil.h"

namespace {

constexpr uint32_t kSystemMode = 0;

using AgentProcessTest = korvas_test::AgentClientTest;

TEST_F(AgentProcessTest, AMonitorsCountersAreListedOnlyWhileItRuns) {
    SCA_ConfigObj* list = nullptr;
    ASSERT_EQ(1, m_Client.PerfMonitorGetCounters(SCA_ALL_ONES, &list)) << "the service's own";
    ASSERT_NE(nullptr, list);
    SCA_Object::Destroy(list);

    uint32_t monitor = 0;
    ASSERT_EQ(1, m_Client.AddMonitor(SCA_SRV_MONITOR_PROCESS, kSystemMode, "Procs", &monitor));
    list = nullptr;
    EXPECT_EQ(0, m_Client.PerfMonitorGetCounters(monitor, &list));
    EXPECT_EQ(nullptr, list);
    EXPECT_EQ(1, m_Reports.Count(SCA_LEVEL_ERROR, "SCA_KorvantaAgent::PerfMonitorGetCounters: "
                                                  "monitor " +
                                                      std::to_string(monitor) + " is not active"));
    EXPECT_EQ(0, m_Client.PerfMonitorGetCounters(monitor + 100, &list));
    EXPECT_EQ(1, m_Reports.Count(SCA_LEVEL_ERROR, "SCA_KorvantaAgent::PerfMonitorGetCounters: "
                                                  "invalid monitor ID - " +
                                                      std::to_string(monitor + 100)));
    ASSERT_EQ(1, m_Client.StartMonitor(monitor));
    ASSERT_EQ(1, m_Client.PerfMonitorGetCounters(monitor, &list));
    ASSERT_NE(nullptr, list);
    SCA_Object::Destroy(list);
    ASSERT_EQ(1, m_Client.StopMonitor(monitor));
}

TEST_F(AgentProcessTest, TheTestsOwnProcessIsQueriedThroughTheRunningProcessMonitor) {
    uint32_t monitor = 0;
    ASSERT_EQ(1, m_Client.AddMonitor(SCA_SRV_MONITOR_PROCESS, kSystemMode, "Procs", &monitor));
    ASSERT_EQ(1, m_Client.StartMonitor(monitor));
    // The first scan of /proc lists this program: one field per process name, whose value
    // begins with the process's id in the monitor.
    const std::string name = program_invocation_short_name;
    uint32_t type = 9, status = 0, processStatus = 0, listStatus = 0;
    uint64_t startTime = 0;
    uint32_t listedCount = 0;
    char line[512] = "";
    ASSERT_TRUE(korvanta_test::WaitUntil("the agent's process list", [&] {
        SCA_ConfigObj* listed = nullptr;
        SCA_ConfigObj* log = nullptr;
        const int read = m_Client.GetMonitorProcessListStatusEx(
            monitor, &type, &status, &processStatus, &startTime, &listStatus, &listed, 0, &log);
        const bool found = read == 1 && listed != nullptr && log != nullptr &&
                           listed->GetField(name.c_str(), line, sizeof(line)) == 1;
        listedCount = listed != nullptr ? listed->GetFieldCount() : 0;
        SCA_Object::Destroy(listed);
        SCA_Object::Destroy(log);
        return found;
    })) << name;
    EXPECT_EQ(SCA_SRV_MONITOR_PROCESS, type);
    EXPECT_EQ(SCA_PROCESS_RUNNING, processStatus);
    EXPECT_GT(listedCount, 1u) << "more processes than this one";
    EXPECT_GT(startTime, 0u);
    const auto self = static_cast<uint32_t>(std::stoul(line));

    SCA_ConfigObj* process = nullptr;
    ASSERT_EQ(1, m_Client.GetMonitorProcess(monitor, self, 0, &process));
    ASSERT_NE(nullptr, process);
    EXPECT_GT(process->GetFieldCount(), 0u);
    SCA_Object::Destroy(process);

    uint32_t state = 9, repStatus = 0, errors = 9, warnings = 9, instances = 0;
    SCA_ConfigObj* counters = nullptr;
    ASSERT_EQ(1, m_Client.GetMonitorProcessCounterList(monitor, &state, self, &status, &repStatus,
                                                       &errors, &warnings, &instances, &startTime,
                                                       &counters));
    ASSERT_NE(nullptr, counters);
    EXPECT_EQ(SCA_PROCESS_RUNNING, state);
    EXPECT_GT(counters->GetFieldCount(), 0u);
    SCA_Object::Destroy(counters);

    SCA_ConfigObj* statusList = nullptr;
    SCA_ConfigObj* data = nullptr;
    uint64_t soundTime = 1;
    state = 9;
    ASSERT_EQ(1, m_Client.GetMonitorProcessCountersStatusEx(
                     monitor, &state, self, &status, &repStatus, &errors, &warnings, &instances,
                     &statusList, 0, 0, 1, &data, &soundTime));
    EXPECT_EQ(SCA_PROCESS_RUNNING, state);
    EXPECT_EQ(0u, soundTime) << "no sound action has been played";
    ASSERT_NE(nullptr, statusList);
    EXPECT_GT(statusList->GetFieldCount(), 0u);
    SCA_Object::Destroy(statusList);
    SCA_Object::Destroy(data);

    // The exclude list goes to the task and comes back.
    SCA_ConfigObj exclude("ExcludeList", nullptr);
    ASSERT_EQ(1, exclude.AddField("no-such-daemon", "1"));
    ASSERT_EQ(1, m_Client.SetMonitorProcessExcludeList(monitor, &exclude));
    SCA_ConfigObj* back = nullptr;
    ASSERT_EQ(1, m_Client.GetMonitorProcessExcludeList(monitor, &back));
    ASSERT_NE(nullptr, back);
    char value[16] = "";
    EXPECT_EQ(1, back->GetField("no-such-daemon", value, sizeof(value)));
    SCA_Object::Destroy(back);

    // A process that does not exist is an error, not an empty answer.
    process = nullptr;
    EXPECT_EQ(0, m_Client.GetMonitorProcess(monitor, SCA_ALL_ONES - 1, 0, &process));
    EXPECT_EQ(nullptr, process);
    ASSERT_EQ(1, m_Client.StopMonitor(monitor));
}

TEST_F(AgentProcessTest, SoundActionsAndCounterDataAnswerALoggedInClientOnly) {
    SCA_ConfigObj* actions = nullptr;
    uint64_t last = 1;
    ASSERT_EQ(1, m_Client.GetSoundActions(0, &last, &actions));
    ASSERT_NE(nullptr, actions);
    EXPECT_EQ(0u, actions->GetFieldCount());
    EXPECT_EQ(0u, last);
    SCA_Object::Destroy(actions);
    SCA_ConfigObj* data = nullptr;
    // Empty whatever it asks: no client reads samples this way.
    EXPECT_EQ(1, m_Client.GetCounterData(1, 1, 0, 1, &data));
    ASSERT_NE(nullptr, data);
    EXPECT_EQ(0u, data->GetFieldCount());
    SCA_Object::Destroy(data);

    SCA_KorvantaInterface stranger;
    ASSERT_EQ(1, Connect(&stranger));
    actions = nullptr;
    EXPECT_EQ(0, stranger.GetSoundActions(0, &last, &actions));
    EXPECT_EQ(nullptr, actions);
    EXPECT_EQ(0, stranger.GetCounterData(1, 1, 0, 1, &data));
    EXPECT_EQ(0, stranger.PerfMonitorGetCounters(SCA_ALL_ONES, &data));
}

} // namespace
