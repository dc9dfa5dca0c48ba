// SPDX-License-Identifier: MIT
// The service's tasks: the status code rules, a counter task's run over a captured /proc tree
// (loading, sampling on its own thread, pause, a rule in error, the report kept only after a
// long enough run, answers from the profile while idle), and a process task on this machine.
#include <chrono>
#include <csignal>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

#include "korvas/SCA_SrvTaskMonitor.h"
#include "korvas/SCA_SrvTaskProcess.h"
#include "libmor/SCA_Time.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezCondType.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezCounterStatus.h"
#include "model/SCA_TezReportIndex.h"
#include "model/SCA_TezVocabulary.h"
#include "tests/perf/PerfTestSupport.h"
#include "tests/support/KorvantaTestSupport.h"
#include "tests/support/WaitUntil.h"

namespace {

constexpr uint32_t kSampleMs = 10;

TEST(TaskStatusTest, TheFirstRuleThatAppliesWins) {
    struct Row {
        uint32_t State, Errors, Warnings, Code;
    };
    const Row rows[] = {
        {SCA_PROCESS_PAUSED, 3, 1, SCA_TASK_STATUS_PAUSED},
        {SCA_PROCESS_RUNNING, 1, 1, SCA_TASK_STATUS_ERROR},
        {SCA_PROCESS_FAILED, 0, 0, SCA_TASK_STATUS_ERROR},
        {SCA_PROCESS_RUNNING, 0, 2, SCA_TASK_STATUS_WARNING},
        {SCA_PROCESS_STOPPED, 0, 1, SCA_TASK_STATUS_WARNING},
        {SCA_PROCESS_RUNNING, 0, 0, SCA_TASK_STATUS_RUNNING},
        {SCA_PROCESS_STOPPED, 0, 0, SCA_TASK_STATUS_STOPPED},
        {SCA_PROCESS_IDLE, 0, 0, SCA_TASK_STATUS_IDLE},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.Code, SCA_SrvTask::StatusCode(row.State, row.Errors, row.Warnings))
            << "state " << row.State;
    }
}

class CounterTaskTest : public testing::Test {
protected:
    CounterTaskTest()
        : m_Config(SCA_PRODUCT_TYPE_KORVANTA), m_UserConfig(&m_Config),
          m_Index(&m_Config, &m_UserConfig), m_Monitor(&m_Config, &m_UserConfig),
          m_Task(&m_Config, &m_UserConfig, nullptr, &m_Index, nullptr) {
        m_Index.SetReportsDir(m_Dir.Path().c_str());
        m_Monitor.SetMonitorId(7);
        m_Monitor.SetMonitorType(SCA_SRV_MONITOR_COUNTERS);
        m_Monitor.SetDescription("Memory");
        uint32_t id = 0;
        EXPECT_EQ(1, m_Monitor.GetProfile()->GetCounterList()->AddCounter(SCA_COUNTER_MEMORY_USAGE,
                                                                          "", "", "", &id));
        m_Task.GetManager()->SetSnapshotStore(perf_test::Store("two-cpu", "s1"));
        m_Task.GetManager()->SetSampleInterval(kSampleMs);
    }

    uint32_t ValueCount() {
        SCA_ConfigObj list("CSL", nullptr);
        EXPECT_EQ(1, m_Task.BuildCountersStatusList(&list));
        char text[256] = "";
        list.GetField("1", text, sizeof(text));
        tagSCA_TEZ_COUNTER_STATUS status{};
        return SCA_TezGetCounterStatus(text, &status) ? status.ValueCount : 0;
    }

    korvanta_test::TempDir m_Dir;
    SCA_TezConfig m_Config;
    SCA_TezConfigUser m_UserConfig;
    SCA_TezReportIndex m_Index;
    SCA_SrvMonitor m_Monitor;
    SCA_SrvTaskMonitor m_Task;
};

TEST_F(CounterTaskTest, ARunSamplesPausesAndEndsWithoutAReportWhenShort) {
    ASSERT_EQ(1, m_Task.Init(m_Monitor));
    EXPECT_STREQ("Memory", m_Task.GetMonitor()->GetProfile()->GetProfileName());
    EXPECT_EQ(SCA_TASK_STATUS_IDLE, m_Task.GetStatus());
    SCA_ConfigObj idle("CSL", nullptr);
    ASSERT_EQ(1, m_Task.GetStatusEx(&idle, 1, 0, 60, nullptr));
    EXPECT_EQ(1u, idle.GetFieldCount()) << "an idle task answers from its profile";
    korvanta_test::ReportCapture reports;
    EXPECT_EQ(0, m_Task.Reset()) << "not active";

    ASSERT_EQ(1, m_Task.StartProcess());
    EXPECT_EQ(0, m_Task.StartProcess()) << "already active";
    ASSERT_TRUE(korvanta_test::WaitUntil("three values", [&] { return ValueCount() >= 3; }));
    EXPECT_EQ(SCA_TASK_STATUS_RUNNING, m_Task.GetStatus());
    EXPECT_EQ(1u, m_Task.GetActiveCounters());

    ASSERT_EQ(1, m_Task.Pause());
    EXPECT_EQ(SCA_TASK_STATUS_PAUSED, m_Task.GetStatus());
    EXPECT_EQ(1, m_Task.Reset()) << "a paused task is active";
    EXPECT_EQ(0u, ValueCount()) << "the reset forgot the samples";
    ASSERT_EQ(1, m_Task.Resume());
    ASSERT_TRUE(korvanta_test::WaitUntil("a value", [&] { return ValueCount() >= 1; }));
    ASSERT_EQ(1, m_Task.StopProcess());
    EXPECT_EQ(SCA_TASK_STATUS_STOPPED, m_Task.GetStatus());
    EXPECT_EQ(0u, m_Index.Count()) << "a run under ten seconds leaves no report";
    SCA_ConfigObj last("CSL", nullptr);
    SCA_ConfigObj data("CCD", nullptr);
    ASSERT_EQ(1, m_Task.GetStatusEx(&last, 1, 0, 600, &data));
    EXPECT_GT(data.GetFieldCount(), 0u) << "a stopped task answers from its last run";
}

TEST_F(CounterTaskTest, ARuleInErrorShowsAndALongRunIsKept) {
    SCA_TezRule* rule = new SCA_TezRule();
    rule->SetCounterType(SCA_COUNTER_MEMORY_USAGE);
    rule->SetCondType(SCA_COND_ABOVE);
    rule->SetCondValue(20.0);
    rule->SetRepStatus(5);
    rule->SetEnabled(1);
    m_UserConfig.GetRules()->ClearAll();
    ASSERT_EQ(1, m_UserConfig.GetRules()->AddRule(rule, nullptr));
    m_UserConfig.SetMaxDatabaseReports(5);
    ASSERT_EQ(1, m_UserConfig.PublishSnapshot());
    ASSERT_EQ(1, m_Task.Init(m_Monitor));
    ASSERT_EQ(1, m_Task.StartProcess());
    ASSERT_TRUE(korvanta_test::WaitUntil(
        "the task in error", [&] { return m_Task.GetStatus() == SCA_TASK_STATUS_ERROR; }));
    EXPECT_EQ(1u, m_Task.GetErrors());
    // Twenty seconds of run time in one step, as a long run would have gathered them.
    const uint64_t later = SCA_PerfSnapshotStore::GetMonotonicNs() + 20 * perf_test::kSecond;
    ASSERT_EQ(1, m_Task.GetManager()->SampleTick(1, later, SCA_GetAbsTime()));
    ASSERT_EQ(1, m_Task.StopProcess());
    ASSERT_EQ(1u, m_Index.Count());
    SCA_TezReport report(&m_Config, &m_UserConfig);
    ASSERT_EQ(1, m_Index.LoadReport(m_Index.GetHead()->GetId(), &report));
    EXPECT_STREQ("Memory", report.GetDescription());
    EXPECT_GE(report.GetErrorList()->Count(), 1u);
    EXPECT_TRUE(std::filesystem::exists(m_Dir / "report_index.hdx"));
}

class ProcessTaskTest : public testing::Test {
protected:
    ProcessTaskTest()
        : m_Config(SCA_PRODUCT_TYPE_KORVANTA), m_UserConfig(&m_Config),
          m_Monitor(&m_Config, &m_UserConfig),
          m_Task(&m_Config, &m_UserConfig, nullptr, nullptr, nullptr) {
        m_Monitor.SetMonitorId(9);
        m_Monitor.SetMonitorType(SCA_SRV_MONITOR_PROCESS);
        m_Monitor.SetDescription("Processes");
    }

    // Runs a copy of sleep under name; its process id. Spawned rather than forked: a child forked
    // from a process with threads may hang before its exec under ThreadSanitizer.
    pid_t RunAs(const std::string& name) {
        const std::string path = m_Dir / name;
        std::filesystem::copy_file("/bin/sleep", path);
        char seconds[] = "30";
        char* const argv[] = {const_cast<char*>(name.c_str()), seconds, nullptr};
        pid_t child = -1;
        return posix_spawn(&child, path.c_str(), nullptr, nullptr, argv, environ) == 0 ? child : -1;
    }

    bool Lists(const std::string& name) {
        SCA_ConfigObj list("ProcessListStatus", nullptr);
        uint32_t status = 0, processStatus = 0, listStatus = 0;
        uint64_t start = 0;
        EXPECT_EQ(1, m_Task.GetListStatus(&status, &processStatus, &start, &listStatus, &list));
        SCA_Field* field = nullptr;
        return list.GetFieldByName(name.c_str(), &field) != 0;
    }

    korvanta_test::TempDir m_Dir;
    SCA_TezConfig m_Config;
    SCA_TezConfigUser m_UserConfig;
    SCA_SrvMonitor m_Monitor;
    SCA_SrvTaskProcess m_Task;
};

TEST_F(ProcessTaskTest, TheServicesOwnProcessesNeverShowAndUnknownIdsAnswerNeutrally) {
    const pid_t service = RunAs("korvas");
    const pid_t other = RunAs("korvatest-sleep");
    ASSERT_GT(service, 0);
    ASSERT_GT(other, 0);
    uint32_t status = 0, processStatus = 0, listStatus = 0;
    uint64_t start = 99;
    SCA_ConfigObj none("ProcessListStatus", nullptr);
    ASSERT_EQ(1, m_Task.GetListStatus(&status, &processStatus, &start, &listStatus, &none));
    EXPECT_EQ(SCA_TASK_STATUS_IDLE, status);
    EXPECT_EQ(99u, start) << "untouched while idle";

    ASSERT_EQ(1, m_Task.Init(m_Monitor));
    ASSERT_EQ(1, m_Task.StartProcess());
    EXPECT_TRUE(korvanta_test::WaitUntil("the sleeping child in the list",
                                         [&] { return Lists("korvatest-sleep"); }));
    EXPECT_FALSE(Lists("korvas"));

    tagSCA_TASK_PROCESS_STATE state{};
    SCA_ConfigObj counters("CountersStatus", nullptr);
    ASSERT_EQ(1, m_Task.GetProcessCountersStatus(SCA_ALL_ONES - 1, &state, &counters));
    EXPECT_EQ(SCA_TASK_STATUS_IDLE, state.RepStatus);
    EXPECT_EQ(0u, state.Errors + state.Warnings + state.Instances);
    SCA_ConfigObj report("Report", nullptr);
    EXPECT_EQ(1, m_Task.SerializeReport(&report));
    EXPECT_EQ(0u, report.GetFieldCount());
    ASSERT_EQ(1, m_Task.StopProcess());
    EXPECT_EQ(SCA_TASK_STATUS_STOPPED, m_Task.GetStatus());
    for (pid_t child : {service, other}) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
}

TEST_F(ProcessTaskTest, AnotherComputerFailsTheStart) {
    korvanta_test::ReportCapture reports;
    m_Monitor.SetRemoteMonitor(1);
    m_Monitor.SetComputerName("far-away-host");
    ASSERT_EQ(1, m_Task.Init(m_Monitor));
    EXPECT_EQ(0, m_Task.StartProcess());
    EXPECT_EQ(SCA_PROCESS_FAILED, m_Task.GetState());
    EXPECT_EQ(SCA_TASK_STATUS_ERROR, m_Task.GetStatus());
}

} // namespace
