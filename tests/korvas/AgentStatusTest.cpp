// SPDX-License-Identifier: MIT
// What the client's windows poll, written by the service and read back through the client
// object's typed wrappers: the status record and monitor rows, a running monitor's counters
// and samples, one counter, and a process monitor's list.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezProcessLog.h"
#include "model/SCA_TezProcessStatus.h"
#include "model/SCA_TezTaskStatus.h"
#include "model/SCA_TezVocabulary.h"
#include "tests/korvas/AgentClientTest.h"
#include "tests/support/KorvantaTestSupport.h"
#include "tests/support/WaitUntil.h"

namespace {

constexpr uint32_t kSystemMode = 0;
constexpr uint32_t kSamples = 600;

using AgentStatusTest = korvas_test::AgentClientTest;

TEST_F(AgentStatusTest, EveryPolledReplyReadsBackThroughTheClientsCodecs) {
    uint32_t counters = 0;
    uint32_t processes = 0;
    ASSERT_EQ(1, m_Client.AddMonitor(SCA_SRV_MONITOR_COUNTERS, kSystemMode,
                                     "Processor  and   memory", &counters));
    ASSERT_EQ(1, m_Client.AddMonitor(SCA_SRV_MONITOR_PROCESS, kSystemMode, "Procs", &processes));
    uint32_t cpu = 0;
    uint32_t memory = 0;
    ASSERT_EQ(1, m_Client.AddCounter(counters, SCA_COUNTER_CPU_USAGE, "", "", "", &cpu));
    ASSERT_EQ(1, m_Client.AddCounter(counters, SCA_COUNTER_MEMORY_USAGE, "", "", "", &memory));

    SCA_KorvantaServerStatus status;
    std::vector<SCA_KorvantaMonitorRow> rows;
    int rowsRead = 0;
    ASSERT_EQ(1, m_Client.GetStatusEx(&status, &rows, &rowsRead));
    ASSERT_EQ(1, rowsRead);
    EXPECT_EQ(1u, status.ServerStatus);
    EXPECT_EQ(2u, status.MonitorCount);
    EXPECT_EQ(0u, status.ActiveMonitors);
    ASSERT_EQ(2u, rows.size());
    EXPECT_EQ(counters, rows[0].MonitorId);
    EXPECT_STREQ("Processor  and   memory", rows[0].Description);
    EXPECT_STREQ("", rows[0].Host);
    EXPECT_EQ(2u, rows[0].Counters);
    EXPECT_EQ(SCA_TASK_STATUS_IDLE, rows[0].State);
    EXPECT_EQ(SCA_PROCESS_IDLE, rows[0].RunState);
    const uint32_t setId = status.MonitorsStatusId;

    ASSERT_EQ(1, m_Client.StartMonitor(counters));
    ASSERT_EQ(1, m_Client.StartMonitor(processes));
    SCA_KorvantaInterface::MonitorStatus monitor;
    ASSERT_TRUE(korvanta_test::WaitUntil("the monitor's samples", [&] {
        return m_Client.GetMonitorStatusEx(counters, memory, 0, kSamples, &monitor) == 1 &&
               monitor.Counters.size() == 2 && monitor.Counters[1].Status.ValueCount > 0 &&
               !monitor.Samples.empty();
    }));
    EXPECT_EQ(SCA_SRV_MONITOR_COUNTERS, monitor.Type);
    EXPECT_EQ(SCA_PROCESS_RUNNING, monitor.RunState);
    EXPECT_EQ(cpu, monitor.Counters[0].CounterId);
    EXPECT_EQ(SCA_COUNTER_CPU_USAGE, monitor.Counters[0].Status.CounterType);
    EXPECT_EQ(memory, monitor.Counters[1].CounterId);
    EXPECT_TRUE(monitor.Samples.back().HasValue);

    tagSCA_TEZ_COUNTER_STATUS one{};
    std::vector<tagSCA_TEZ_SAMPLE> samples;
    ASSERT_EQ(1, m_Client.GetCounterStatusEx(counters, memory, 0, kSamples, &one, &samples));
    EXPECT_EQ(SCA_COUNTER_MEMORY_USAGE, one.CounterType);
    EXPECT_TRUE(one.HasCurrent);
    EXPECT_GE(samples.size(), monitor.Samples.size());

    // The process monitor lists this program under its name, and its log comes along.
    const std::string name = program_invocation_short_name;
    SCA_KorvantaInterface::ProcessListStatus list;
    SCA_TezProcessLog log;
    ASSERT_TRUE(korvanta_test::WaitUntil("the process list", [&] {
        if (m_Client.GetMonitorProcessListStatusEx(processes, 0, &list, &log) != 1) {
            return false;
        }
        for (const auto& row : list.Processes) {
            if (name == row.Name && row.Status.ProcessId != 0) {
                return true;
            }
        }
        return false;
    })) << name;
    EXPECT_EQ(SCA_SRV_MONITOR_PROCESS, list.Type);
    EXPECT_GT(list.Processes.size(), 1u);
    EXPECT_GT(list.StartTime, 0u);

    ASSERT_EQ(1, m_Client.GetStatusEx(&status, &rows, &rowsRead));
    EXPECT_EQ(2u, status.ActiveMonitors);
    EXPECT_EQ(setId, status.MonitorsStatusId) << "starting changes rows, not the set";
    EXPECT_EQ(SCA_PROCESS_RUNNING, rows[1].RunState);
    ASSERT_EQ(1, m_Client.StopMonitor(counters));
    ASSERT_EQ(1, m_Client.StopMonitor(processes));
}

// A monitor that is not there is the service's refusal: reported by the wrapper, the
// connection kept.
TEST_F(AgentStatusTest, AnUnknownMonitorIsRefusedNotLost) {
    SCA_KorvantaInterface::MonitorStatus monitor;
    EXPECT_EQ(0, m_Client.GetMonitorStatusEx(4242, 0, 0, kSamples, &monitor));
    EXPECT_EQ(0, m_Client.LostConnection());
    EXPECT_EQ(1,
              m_Reports.Count(SCA_LEVEL_ERROR,
                              "SCA_KorvantaInterface::GetMonitorStatusEx: the operation failed"));
    SCA_KorvantaServerStatus status;
    std::vector<SCA_KorvantaMonitorRow> rows;
    int rowsRead = 0;
    EXPECT_EQ(1, m_Client.GetStatusEx(&status, &rows, &rowsRead));
}

} // namespace
