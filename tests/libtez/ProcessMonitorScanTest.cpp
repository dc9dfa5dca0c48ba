// SPDX-License-Identifier: MIT
// The process monitor end to end over the two fixture trees (two seconds apart, 100 ticks a
// second, two CPUs): the grouped records, the log of starts and ends, the ten-token status
// list read back, the counters of a process, the copied exclude list, and the process rules.
#include <cstring>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "libmor/SCA_Time.h"
#include "libtez/SCA_TezActionCtrl.h"
#include "libtez/SCA_TezProcessMonitor.h"
#include "libtez/SCA_TezProcessRuleCheck.h"
#include "libtez/SCA_TezProcessStatusText.h"
#include "model/SCA_Field.h"
#include "model/SCA_TezCounterList.h"
#include "model/SCA_TezProcessRules.h"
#include "model/SCA_TezVocabulary.h"
#include "tests/support/TestPaths.h"

namespace {

const std::string kFirst = korvanta_test::PerfFixtures() + "/processes/proc-a";
const std::string kSecond = korvanta_test::PerfFixtures() + "/processes/proc-b";
constexpr uint64_t kSecondNs = 1000000000ull;
constexpr uint64_t kStart = 1700000100ull * SCA_ABS_TIME_SECOND;

class ActionCtrl : public SCA_TezActionCtrl {
public:
    ActionCtrl() : SCA_TezActionCtrl(nullptr, nullptr, nullptr, nullptr, 1) {}
    int ThreadFunc() override { return 0; }
};

std::map<std::string, tagSCA_TEZ_PROCESS_STATUS> ReadStatusList(SCA_ConfigObj* list) {
    std::map<std::string, tagSCA_TEZ_PROCESS_STATUS> out;
    for (uint32_t i = 0; i < list->GetFieldCount(); ++i) {
        SCA_Field* field = nullptr;
        EXPECT_EQ(1, list->GetFieldByIndex(i, &field));
        tagSCA_TEZ_PROCESS_STATUS status;
        EXPECT_EQ(1, SCA_TezParseProcessStatus(field->GetValue(), &status)) << field->GetName();
        out[field->GetName()] = status;
    }
    return out;
}

class ProcessMonitorScanTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(1u, monitor.IsConstructed());
        monitor.GetScanner()->SetTicksPerSecond(100);
        // The caller's exclude list goes away once the monitor has started.
        auto* exclude = new SCA_ConfigObj("Exclude", nullptr);
        exclude->AddField("old-prog", "");
        monitor.SetProcRoot(kFirst.c_str());
        uint32_t error = 0;
        ASSERT_EQ(1, monitor.StartProcess("", 60000, exclude, &error)) << error;
        exclude->Destroy();
        monitor.StopProcess(1);
        monitor.ResetAll(); // forget the thread's own first pass
        ASSERT_EQ(1, monitor.ScanOnce(1 * kSecondNs, kStart));
        monitor.SetProcRoot(kSecond.c_str());
        ASSERT_EQ(1, monitor.ScanOnce(3 * kSecondNs, kStart + 2 * SCA_ABS_TIME_SECOND));
    }
    SCA_TezProcessMonitor monitor{nullptr, nullptr, nullptr, nullptr};
};

TEST_F(ProcessMonitorScanTest, StatusListGroupsByNameInTenTokens) {
    EXPECT_STREQ("ExcludeList", monitor.GetExcludeList()->GetName());
    SCA_ConfigObj list("ProcessListStatus", nullptr);
    ASSERT_EQ(1, monitor.GetProcessListStatus(&list));
    const auto status = ReadStatusList(&list);
    ASSERT_EQ(4u, status.size());
    EXPECT_EQ(0u, status.count("old-prog")) << "excluded, and ended anyway";
    EXPECT_EQ(0u, status.count("kworker/0:1"));
    const tagSCA_TEZ_PROCESS_STATUS& worker = status.at("korva-worker");
    EXPECT_EQ(1u, worker.InstanceCount) << "pid 500 ended, 100 is left";
    EXPECT_DOUBLE_EQ(50.0, worker.Measure[0]);
    EXPECT_DOUBLE_EQ(4096.0 * 1024.0, worker.Measure[1]);
    EXPECT_DOUBLE_EQ(4.0, worker.Measure[2]);
    EXPECT_DOUBLE_EQ(5.0, worker.Measure[3]);
    EXPECT_EQ(SCA_REP_STATUS_MESSAGE, worker.RepStatus);
    const tagSCA_TEZ_PROCESS_STATUS& web = status.at("Web Co) x");
    EXPECT_EQ(0u, web.MeasureValid & (1u << 3)) << "handles not available, not 0";
    EXPECT_EQ(1u, status.count("bad??name")) << "control and non-UTF-8 bytes cleaned";
    EXPECT_EQ(5u, monitor.GetTotalProcesses() + 1) << "4 pids; kernel and gone ones skipped";
    EXPECT_DOUBLE_EQ(60.0, monitor.GetTotalCpuUsage()) << "50 + 10; new ones have no share";
}

TEST_F(ProcessMonitorScanTest, LogHoldsEndsThenStartsOfTheSecondPassOnly) {
    SCA_ConfigObj log("ProcessLog", nullptr);
    ASSERT_EQ(1, monitor.GetProcessLog()->Serialize(SCA_ALL_ONES, &log));
    std::vector<std::pair<uint32_t, uint32_t>> events; // (op code, pid)
    for (auto* node = monitor.GetProcessLog()->GetHead(); node != nullptr; node = node->GetNext()) {
        events.emplace_back(node->GetItem()->GetOpCode(), node->GetItem()->GetProcessId());
    }
    // old-prog is excluded; the worker 500 ended; 400 came back as new-prog; 600 started.
    const std::vector<std::pair<uint32_t, uint32_t>> expected = {
        {SCA_PROCESS_LOG_END, 500}, {SCA_PROCESS_LOG_START, 400}, {SCA_PROCESS_LOG_START, 600}};
    EXPECT_EQ(expected, events);
    const SCA_TezProcessLogItem* end = monitor.GetProcessLog()->GetHead()->GetItem();
    EXPECT_EQ(2u, end->GetRunTime());
    const uint32_t first = monitor.GetProcessLog()->GetHead()->GetId();
    SCA_ConfigObj list("ProcessListStatus", nullptr);
    SCA_ConfigObj after("ProcessLog", nullptr);
    ASSERT_EQ(1, monitor.GetProcessListStatusEx(&list, first, &after));
    SCA_TezProcessLog read;
    ASSERT_EQ(1, read.Deserialize(&after));
    EXPECT_EQ(2u, read.Count()) << "only the items after the one given";
}

TEST_F(ProcessMonitorScanTest, ProcessCountersAndReuseOfAPid) {
    SCA_TezProcess* reused = nullptr;
    ASSERT_EQ(1, monitor.GetProcessList()->GetProcess("new-prog", &reused));
    EXPECT_EQ(1, reused->GetPids()->IsPidExists(400));
    SCA_TezProcess* worker = nullptr;
    ASSERT_EQ(1, monitor.GetProcessList()->GetProcess("korva-worker", &worker));
    SCA_ConfigObj status("CountersStatus", nullptr);
    SCA_ConfigObj current("CurrentCounterData", nullptr);
    ASSERT_EQ(1, worker->GetCountersStatusEx(&status, 1, 0, 600, &current));
    char text[256] = "";
    ASSERT_EQ(1, status.GetField("1", text, sizeof(text)));
    EXPECT_STREQ("43 0 1 50 50 50 50", text) << "one CPU value: the first pass has none";
    ASSERT_EQ(1, status.GetField("9", text, sizeof(text)));
    EXPECT_STREQ("87 0 0 - - - -", text) << "non-paged pool: never a value";
    // The CPU series: a gap at the first pass, then 50, as the counter monitors send theirs.
    ASSERT_EQ(2u, current.GetFieldCount());
    ASSERT_EQ(1, current.GetField("17000001020000000", text, sizeof(text)));
    EXPECT_STREQ("50", text);
    SCA_ConfigObj counters("CounterList", nullptr);
    ASSERT_EQ(1, worker->SerializeCounterList(&counters));
    SCA_TezCounterList read;
    ASSERT_EQ(1, read.Deserialize(&counters));
    SCA_TezCounterInfo* info = nullptr;
    ASSERT_EQ(9u, read.Count());
    ASSERT_EQ(1, read.GetCounterByType(SCA_COUNTER_PROCESS_PAGE_FAULT_RATE, &info));
    EXPECT_EQ(8u, info->GetCounterId()) << "the id its status line carries";
}

TEST(ProcessMonitorTest, AnotherComputerIsRefused) {
    SCA_TezProcessMonitor monitor(nullptr, nullptr, nullptr, nullptr);
    uint32_t error = 0;
    EXPECT_EQ(0, monitor.StartProcess("far.example", 1000, nullptr, &error));
    EXPECT_EQ(SCA_PROCESS_MONITOR_REMOTE_ERROR, error);
}

TEST(ProcessRuleCheckTest, ARuleCountsWhenItBecomesTrueAndQueuesItsAction) {
    SCA_TezErrorList errors;
    ActionCtrl ctrl;
    SCA_TezProcessRuleCheck check(&errors, &ctrl);
    SCA_TezProcessRules rules;
    auto* rule = new SCA_TezProcessRule();
    rule->SetRuleType(SCA_PROC_CPU);
    rule->SetCondType(SCA_PROCESS_RULE_ABOVE);
    rule->SetCondValue(40.0);
    rule->SetRepStatus(SCA_REP_STATUS_ERROR);
    rule->SetExecuteAction(1);
    uint32_t id = 0;
    ASSERT_EQ(1, rules.AddRule(rule, &id));
    SCA_TezProcess process;
    process.SetProcessId(7);
    process.SetProcessName("korva-worker");
    tagSCA_TEZ_PROC_VALUES values;
    EXPECT_EQ(SCA_REP_STATUS_MESSAGE, check.Check(&process, values, &rules, 1))
        << "a value that is not available holds no rule";
    values.Set(SCA_PROC_CPU, 50.0);
    EXPECT_EQ(SCA_REP_STATUS_ERROR, check.Check(&process, values, &rules, 2));
    EXPECT_EQ(SCA_REP_STATUS_ERROR, check.Check(&process, values, &rules, 3));
    EXPECT_EQ(1u, process.GetTotalErrors()) << "counted once while it stays true";
    EXPECT_EQ(1u, errors.Count());
    EXPECT_EQ(1u, ctrl.GetActionQueue()->Count());
    values.Set(SCA_PROC_CPU, 30.0);
    EXPECT_EQ(SCA_REP_STATUS_MESSAGE, check.Check(&process, values, &rules, 4));
    values.Set(SCA_PROC_CPU, 45.0);
    check.Check(&process, values, &rules, 5);
    EXPECT_EQ(2u, process.GetTotalErrors()) << "true again: counted again";
    EXPECT_EQ(2u, ctrl.GetActionQueue()->Count()) << "and acts again";
    EXPECT_EQ(0u, rule->GetActionCount()) << "the rules are only read: other threads share them";
}

TEST(ProcessStatusTextTest, TokensRoundTripAndBadTextIsRefused) {
    tagSCA_TEZ_PROCESS_STATUS status;
    status.ProcessId = 3;
    status.InstanceCount = 2;
    status.Measure[1] = 1.5;
    status.MeasureValid = 1u << 1;
    status.Warnings = 9;
    char text[256];
    ASSERT_EQ(1, SCA_TezFormatProcessStatus(status, text, sizeof(text)));
    EXPECT_STREQ("3 0 0 2 - 1.5 - - 0 9", text);
    tagSCA_TEZ_PROCESS_STATUS read;
    ASSERT_EQ(1, SCA_TezParseProcessStatus(text, &read));
    EXPECT_EQ(2u, read.InstanceCount);
    EXPECT_EQ(1u << 1, read.MeasureValid);
    EXPECT_EQ(9u, read.Warnings);
    for (const char* bad : {"3 0 0 2 - 1.5 - - 0", "3 0 0 2 - 1.5 - - 0 9 1", "3 0 0 x - 1 - - 0 9",
                            "3 0 0 2 nan 1 - - 0 9", ""}) {
        EXPECT_EQ(0, SCA_TezParseProcessStatus(bad, &read)) << bad;
    }
    char name[8];
    SCA_TezCleanProcessName("", name, sizeof(name));
    EXPECT_STREQ("?", name);
    SCA_TezCleanProcessName("a\tb\xC3\xA9", name, sizeof(name));
    EXPECT_STREQ("a?b\xC3\xA9", name);
    SCA_TezCleanProcessName("abcdef\xC3\xA9", name, sizeof(name));
    EXPECT_STREQ("abcdef", name) << "cut on a character boundary";
}

} // namespace
