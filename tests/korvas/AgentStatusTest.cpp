// SPDX-License-Identifier: MIT
// What the client's windows poll, written by the service and read back through the client
// object's typed wrappers: the status record and monitor rows, a running monitor's counters
// and samples, one counter, and a process monitor's list; and the monitor rows that the
// service encodes once per change, against the rows of the moment written the old way.
#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "libtez/SCA_TezActionCtrl.h"
#include "model/SCA_EncodedObject.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_StringStor.h"
#include "model/SCA_TezAction.h"
#include "model/SCA_TezActionType.h"
#include "model/SCA_TezCond.h"
#include "model/SCA_TezProcessLog.h"
#include "model/SCA_TezProcessStatus.h"
#include "model/SCA_TezReportIndex.h"
#include "model/SCA_TezReportInfo.h"
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

namespace {

// The status record's counts that the service publishes for the poll to read without their
// locks follow every change: reports added and deleted, log messages, a sound played.
TEST_F(AgentStatusTest, TheStatusFollowsReportsLogMessagesAndSounds) {
    const auto poll = [this] {
        SCA_KorvantaServerStatus status;
        std::vector<SCA_KorvantaMonitorRow> rows;
        int rowsRead = 0;
        EXPECT_EQ(1, m_Client.GetStatusEx(&status, &rows, &rowsRead));
        return status;
    };
    const SCA_KorvantaServerStatus before = poll();

    SCA_TezReportIndex* reports = m_Ctrl.GetReportIndex();
    SCA_TezReportInfo info;
    info.SetReportTitle("Published");
    uint32_t first = 0;
    uint32_t second = 0;
    ASSERT_EQ(1, reports->AddReport(info, 0, &first));
    ASSERT_EQ(1, reports->AddReport(info, 0, &second));
    EXPECT_EQ(before.TotalReports + 2, poll().TotalReports);
    ASSERT_EQ(1, reports->DeleteReport(first));
    EXPECT_EQ(before.TotalReports + 1, poll().TotalReports);
    ASSERT_EQ(1, reports->DeleteAllReports());
    EXPECT_EQ(0u, poll().TotalReports);

    tagSCA_ERROR_DESCR message{};
    message.Level = SCA_LEVEL_WARNING;
    ASSERT_EQ(1, m_Ctrl.GetDebugLog()->AddMessage(&message, SCA_ALL_ONES));
    ASSERT_EQ(1, m_Ctrl.GetDebugLog()->AddMessage(&message, SCA_ALL_ONES));
    EXPECT_EQ(m_Ctrl.GetDebugLog()->GetLastMessageId(), poll().LastDebugMessageId);
    EXPECT_LT(before.LastDebugMessageId, m_Ctrl.GetDebugLog()->GetLastMessageId());

    constexpr uint64_t kSoundTime = 7654321;
    SCA_TezCond cond;
    cond.SetActionType(SCA_ACTION_PLAY_SOUND);
    cond.SetActionValue("Alarm");
    SCA_TezAction action;
    action.SetActionType(SCA_ACTION_PLAY_SOUND);
    action.SetActionTime(kSoundTime);
    action.SetSubject(nullptr, nullptr, &cond, nullptr, nullptr);
    ASSERT_EQ(1, m_Ctrl.GetActionCtrl()->DoAction(&action));
    EXPECT_EQ(kSoundTime, poll().LastSoundActionTime);
}

// The rows GetStatusEx sends ready-made against the rows written the old way, one field per
// row into the object, from what the monitors show at that moment.
class StatusRowsTest : public korvas_test::AgentClientTest {
protected:
    static std::string Bytes(SCA_ConfigObj* object) {
        SCA_StringStor stor;
        EXPECT_EQ(1, object->Serialize(&stor));
        return std::string(stor.GetData(), stor.GetSize());
    }
    std::string Sent() {
        const auto snapshot = m_Ctrl.GetStatusSnapshot();
        EXPECT_NE(nullptr, snapshot);
        if (snapshot == nullptr) {
            return "";
        }
        m_SentCounts = snapshot->Counts;
        SCA_EncodedObject rows("MonitorsStatus", snapshot->Rows);
        return Bytes(&rows);
    }
    std::string WrittenNow() {
        std::vector<SCA_KorvantaMonitorRow> rows;
        uint64_t generation = 0;
        EXPECT_EQ(1, m_Ctrl.CollectStatus(&rows, &m_WrittenCounts, &generation));
        SCA_ConfigObj object("MonitorsStatus", nullptr);
        for (const SCA_KorvantaMonitorRow& row : rows) {
            EXPECT_EQ(1, row.Write(&object));
        }
        return Bytes(&object);
    }
    // The two agree, rows and counts.
    bool Agree() { return Sent() == WrittenNow() && m_SentCounts == m_WrittenCounts; }
    void ExpectAgreement(const char* step) {
        EXPECT_EQ(WrittenNow(), Sent()) << step;
        EXPECT_TRUE(m_SentCounts == m_WrittenCounts) << step;
    }
    // Sampling threads change counts between two reads: agreement is awaited while they run.
    void AwaitAgreement(const char* step) {
        EXPECT_TRUE(korvanta_test::WaitUntil(step, [&] { return Agree(); })) << step;
    }
    uint32_t AddMonitor(uint32_t type, const char* description) {
        uint32_t id = 0;
        EXPECT_EQ(1, m_Client.AddMonitor(type, kSystemMode, description, &id));
        return id;
    }

    tagSCA_SRV_STATUS_COUNTS m_SentCounts;
    tagSCA_SRV_STATUS_COUNTS m_WrittenCounts;
};

// Monitors of both kinds through every run state: after each operation the ready rows are the
// rows of that moment, without waiting, where no sampling thread runs; and the reply a client
// reads carries them.
TEST_F(StatusRowsTest, TheReadyRowsAreTheRowsOfTheMomentAfterEveryOperation) {
    const uint32_t counters = AddMonitor(SCA_SRV_MONITOR_COUNTERS, "Processor  and   memory");
    uint32_t cpu = 0;
    ASSERT_EQ(1, m_Client.AddCounter(counters, SCA_COUNTER_CPU_USAGE, "", "", "", &cpu));
    const uint32_t processes = AddMonitor(SCA_SRV_MONITOR_PROCESS, "Procs");
    // The longest description a client can give, ending in a character of three bytes.
    const uint32_t longest =
        AddMonitor(SCA_SRV_MONITOR_COUNTERS, (std::string(252, 'x') + "\xE2\x82\xAC").c_str());
    const uint32_t remote = AddMonitor(SCA_SRV_MONITOR_PROCESS, "Far away");
    ExpectAgreement("added");
    ASSERT_EQ(1, m_Ctrl.StoreMonitor(remote, [&] {
        SCA_SrvMonitor* monitor = nullptr;
        m_Ctrl.GetMonitorList()->GetMonitor(remote, &monitor);
        monitor->SetRemoteMonitor(1);
        monitor->SetComputerName("far-away-host");
        return 1;
    }));
    ExpectAgreement("made remote");
    EXPECT_EQ(0, m_Client.StartMonitor(remote));
    ExpectAgreement("failed start");
    EXPECT_EQ(1u, m_SentCounts.FailedMonitors);

    ASSERT_EQ(1, m_Client.StartMonitor(processes));
    AwaitAgreement("process monitor running");
    ASSERT_EQ(1, m_Client.StopMonitor(processes));
    ExpectAgreement("process monitor stopped");

    ASSERT_EQ(1, m_Client.StartMonitor(counters));
    AwaitAgreement("counter monitor running");
    EXPECT_EQ(1u, m_SentCounts.ActiveMonitors);
    ASSERT_EQ(1, m_Client.PauseMonitor(counters));
    // A sample already under way when the pause came may still count its errors.
    AwaitAgreement("paused");
    uint32_t memory = 0;
    ASSERT_EQ(1, m_Client.AddCounter(counters, SCA_COUNTER_MEMORY_USAGE, "", "", "", &memory));
    AwaitAgreement("counter added while paused");
    ASSERT_EQ(1, m_Client.StopMonitor(counters));
    ExpectAgreement("stopped");
    ASSERT_EQ(1, m_Client.DeleteMonitor(longest));
    ExpectAgreement("deleted");

    // What a client reads is what was sent.
    SCA_KorvantaServerStatus status;
    std::vector<SCA_KorvantaMonitorRow> rows;
    int rowsRead = 0;
    ASSERT_EQ(1, m_Client.GetStatusEx(&status, &rows, &rowsRead));
    ASSERT_EQ(1, rowsRead);
    SCA_ConfigObj read("MonitorsStatus", nullptr);
    for (const SCA_KorvantaMonitorRow& row : rows) {
        ASSERT_EQ(1, row.Write(&read));
    }
    EXPECT_EQ(WrittenNow(), Bytes(&read));
    EXPECT_EQ(m_WrittenCounts.MonitorCount, status.MonitorCount);
    EXPECT_EQ(m_WrittenCounts.FailedMonitors, status.FailedMonitors);
    EXPECT_EQ(m_WrittenCounts.MonitorsStatusId, status.MonitorsStatusId);
    ASSERT_EQ(3u, rows.size());
    EXPECT_STREQ("far-away-host", rows[2].Host);
    EXPECT_EQ(SCA_PROCESS_FAILED, rows[2].RunState);
}

// Clients that poll while monitors are added, started, paused and stopped each get the rows
// and counts of one moment: as many rows as the count says, each monitor once.
TEST_F(StatusRowsTest, ClientsPollingWhileMonitorsChangeGetTheRowsOfOneMoment) {
    constexpr int kPollers = 4;
    constexpr uint32_t kMonitors = 6;
    std::atomic<bool> changing{true};
    std::atomic<uint32_t> torn{0};
    std::atomic<uint32_t> polls{0};
    std::vector<std::thread> pollers;
    for (int i = 0; i < kPollers; ++i) {
        pollers.emplace_back([&] {
            SCA_KorvantaInterface client;
            uint32_t status = 0;
            if (!Connect(&client) || !client.Login("tester", "any", &status)) {
                ++torn;
                return;
            }
            do {
                SCA_KorvantaServerStatus record;
                std::vector<SCA_KorvantaMonitorRow> rows;
                int rowsRead = 0;
                if (client.GetStatusEx(&record, &rows, &rowsRead) != 1 || rowsRead != 1) {
                    ++torn;
                    continue;
                }
                std::set<uint32_t> ids;
                for (const SCA_KorvantaMonitorRow& row : rows) {
                    ids.insert(row.MonitorId);
                }
                if (rows.size() != record.MonitorCount || ids.size() != rows.size() ||
                    record.ActiveMonitors > record.MonitorCount) {
                    ++torn;
                }
                ++polls;
            } while (changing);
        });
    }
    for (uint32_t i = 0; i < kMonitors; ++i) {
        const uint32_t id =
            AddMonitor(i % 2 == 0 ? SCA_SRV_MONITOR_COUNTERS : SCA_SRV_MONITOR_PROCESS, "Churn");
        EXPECT_EQ(1, m_Client.StartMonitor(id));
        EXPECT_EQ(1, m_Client.PauseMonitor(id));
        EXPECT_EQ(1, m_Client.StartMonitor(id));
        if (i % 3 == 0) {
            EXPECT_EQ(1, m_Client.StopMonitor(id));
        }
    }
    EXPECT_TRUE(korvanta_test::WaitUntil("a poll of every client",
                                         [&] { return polls.load() >= 2 * kPollers; }));
    changing = false;
    for (std::thread& poller : pollers) {
        poller.join();
    }
    EXPECT_EQ(0u, torn.load());
    AwaitAgreement("after the churn");
}

} // namespace
