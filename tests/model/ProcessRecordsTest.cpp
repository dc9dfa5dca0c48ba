// SPDX-License-Identifier: MIT
// The process monitor's records: process ids with their statistics, processes with their
// instances and counters, the process list, log items and the process log.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

#include "libmor/SCA_Limits.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezProcess.h"
#include "model/SCA_TezProcessList.h"
#include "model/SCA_TezProcessLog.h"
#include "model/SCA_TezProcessLogItem.h"
#include "model/SCA_TezProcessPid.h"
#include "model/SCA_TezProcessRule.h"
#include "model/SCA_TezVocabulary.h"
#include "tests/model/RecordTestSupport.h"

namespace {

using records_test::ChildObjects;
using records_test::Travel;

static_assert(!std::is_copy_constructible_v<SCA_TezProcess>, "a process owns its lists");
static_assert(!std::is_copy_constructible_v<SCA_TezProcessPid>, "a pid owns its statistics");
static_assert(std::is_copy_constructible_v<SCA_TezProcessLogItem>, "a log item is plain");

SCA_TezProcessPid* NewPid(uint32_t id, uint32_t parent = 1) {
    auto* pid = new SCA_TezProcessPid();
    pid->SetProcessId(id);
    pid->SetParentProcessId(parent);
    return pid;
}

SCA_TezProcessInst* NewInstance(uint32_t id, const char* name) {
    auto* instance = new SCA_TezProcessInst();
    instance->SetInstanceId(id);
    instance->SetInstance(name);
    return instance;
}

SCA_TezProcess* NewProcess(uint32_t id, const char* name) {
    auto* process = new SCA_TezProcess();
    process->SetProcessId(id);
    process->SetProcessName(name);
    return process;
}

SCA_TezProcessLogItem* NewItem(uint32_t id, uint32_t opCode, const char* name) {
    auto* item = new SCA_TezProcessLogItem();
    item->SetItemId(id);
    item->SetOpCode(opCode);
    item->SetProcessName(name);
    return item;
}

std::vector<uint32_t> ItemIds(const SCA_TezProcessLog& log) {
    std::vector<uint32_t> ids;
    for (auto* node = log.GetHead(); node != nullptr; node = node->GetNext()) {
        ids.push_back(node->GetItem()->GetItemId());
        EXPECT_EQ(node->GetId(), node->GetItem()->GetItemId()) << "list id = item id";
    }
    return ids;
}

SCA_TezProcessRule Rule(uint32_t ruleType) {
    SCA_TezProcessRule rule;
    rule.SetRuleType(ruleType);
    return rule;
}

TEST(ProcessPidTest, TextsAreCutAndTellWhetherTheyAreSet) {
    SCA_TezProcessPid pid;
    EXPECT_EQ(0, pid.IsUserNameSet());
    EXPECT_EQ(0, pid.IsParentProcessSet());
    EXPECT_EQ(0, pid.IsParentUserSet());
    pid.SetUserName(std::string(300, 'u').c_str());
    pid.SetParentProcess("systemd");
    pid.SetParentUser(records_test::StraddlingText(256).c_str());
    EXPECT_EQ(255u, std::strlen(pid.GetUserName()));
    EXPECT_EQ(254u, std::strlen(pid.GetParentUser()));
    EXPECT_EQ(1, pid.IsUserNameSet());
    EXPECT_EQ(1, pid.IsParentProcessSet());
    pid.SetParentProcess("");
    EXPECT_EQ(0, pid.IsParentProcessSet());
}

TEST(ProcessPidTest, StatisticsAreKeptPerCounterTypeAndTravel) {
    SCA_TezProcessPid pid;
    pid.SetProcessId(4242);
    pid.SetFirstUpdateTime(1700000000);
    pid.SetUserName("www-data");
    ASSERT_EQ(1, pid.SetCounter({43, 5, 2.0, 1.0, 9.0, 3.5}));
    ASSERT_EQ(1, pid.SetCounter({46, 5, 100.0, 90.0, 120.0, 101.0}));
    ASSERT_EQ(1, pid.SetCounter({43, 6, 4.0, 1.0, 9.0, 3.6}));
    EXPECT_EQ(2u, pid.GetCounters()->Count()) << "a second entry for a type replaces the first";
    auto* info = new SCA_ConfigObj("Info", nullptr);
    ASSERT_EQ(1, info->AddField("Command Line", "nginx -g daemon off;"));
    pid.SetProcessInfo(info);

    SCA_ConfigObj object("Pid", nullptr);
    ASSERT_EQ(1, pid.Serialize(&object));
    auto received = Travel(object);
    ASSERT_NE(nullptr, received);
    SCA_TezProcessPid read;
    ASSERT_EQ(1, read.Deserialize(received.get()));
    EXPECT_EQ(4242u, read.GetProcessId());
    EXPECT_EQ(1700000000u, read.GetFirstUpdateTime());
    EXPECT_STREQ("www-data", read.GetUserName());
    tagSCA_TEZ_PROCESS_COUNTER* cpu = nullptr;
    ASSERT_EQ(1, read.GetCounter(43, &cpu));
    EXPECT_EQ(6u, cpu->ValueCount);
    EXPECT_EQ(4.0, cpu->LastValue);
    EXPECT_EQ(9.0, cpu->MaxValue);
    EXPECT_EQ(3.6, cpu->AverageValue);
    tagSCA_TEZ_PROCESS_COUNTER* untouched = cpu;
    EXPECT_EQ(0, read.GetCounter(47, &untouched));
    EXPECT_EQ(cpu, untouched);
    ASSERT_NE(nullptr, read.GetProcessInfo());
    char command[64] = "";
    ASSERT_EQ(1, read.GetProcessInfo()->GetField("Command Line", command, sizeof(command)));
    EXPECT_STREQ("nginx -g daemon off;", command);
}

TEST(ProcessPidTest, AbsentPropertiesTravelAsNone) {
    SCA_TezProcessPid pid;
    pid.SetProcessId(5);
    SCA_ConfigObj object("Pid", nullptr);
    ASSERT_EQ(1, pid.Serialize(&object));
    SCA_TezProcessPid read;
    read.SetProcessInfo(new SCA_ConfigObj("Old", nullptr));
    ASSERT_EQ(1, read.Deserialize(&object));
    EXPECT_EQ(nullptr, read.GetProcessInfo());
}

TEST(ProcessTest, InstanceCountPrefersTheCountSet) {
    SCA_TezProcess process;
    ASSERT_EQ(1, process.AddInstance(NewInstance(0, "chrome")));
    ASSERT_EQ(1, process.AddInstance(NewInstance(1, "chrome#1")));
    ASSERT_EQ(1, process.AddInstance(NewInstance(2, "chrome#2")));
    EXPECT_EQ(3u, process.GetInstanceCount());
    process.SetInstanceCount(5);
    EXPECT_EQ(5u, process.GetInstanceCount());
    SCA_TezProcessInst* instance = nullptr;
    ASSERT_EQ(1, process.GetInstance("chrome#1", &instance));
    EXPECT_EQ(1u, instance->GetInstanceId());
    EXPECT_EQ(0, process.GetInstance("Chrome#1", &instance));
    EXPECT_EQ(0, process.GetInstance(nullptr, &instance));
}

TEST(ProcessTest, CountersByItemIdAndByCounterId) {
    SCA_TezProcess process;
    auto* cpu = new SCA_TezCounter();
    cpu->SetCounterId(8);
    cpu->SetCounterType(SCA_COUNTER_PROCESS_CPU_USAGE);
    ASSERT_EQ(1, process.AddDataCounter(cpu));
    SCA_TezCounter* found = nullptr;
    ASSERT_EQ(1, process.GetCounter(8u, &found));
    EXPECT_EQ(cpu, found);
    ASSERT_EQ(1, process.GetCounterById(8, &found));
    EXPECT_EQ(cpu, found);
    EXPECT_EQ(0, process.GetCounterById(9, &found));
}

TEST(ProcessTest, StatusTextsAndProcessCounters) {
    SCA_TezProcess process;
    const std::vector<std::pair<uint32_t, std::string>> table = {
        {1, "Normal"}, {2, "Unknown"}, {3, "Normal"}, {4, "Warning"}, {5, "Error"}, {7, "Unknown"}};
    for (const auto& [status, text] : table) {
        process.SetRepStatus(status);
        EXPECT_EQ(text, process.GetRepStatusDescr()) << "status " << status;
    }
    const std::vector<uint32_t> perProcess = {43, 46, 47, 48, 51, 53, 55, 87, 114};
    for (uint32_t type = 0; type < 400; ++type) {
        const bool expected =
            std::find(perProcess.begin(), perProcess.end(), type) != perProcess.end();
        EXPECT_EQ(expected ? 1 : 0, SCA_TezProcess::IsProcessCounter(type)) << "type " << type;
    }
}

TEST(ProcessTest, SimilarRulesCompareTheCountersTheyMeasure) {
    const SCA_TezProcessRule threads = Rule(2); // counter type 48
    const SCA_TezProcessRule handles = Rule(3); // counter type 47
    const SCA_TezProcessRule unknown = Rule(9);
    const SCA_TezProcessRule* selected[] = {&unknown, &threads};
    SCA_TezProcessRule measuresThreads = Rule(2);
    ASSERT_EQ(48u, measuresThreads.GetCounterType());
    EXPECT_NE(0, SCA_TezProcess::IsSimilarRuleSelected(&measuresThreads, selected, 2));
    EXPECT_EQ(0, SCA_TezProcess::IsSimilarRuleSelected(&handles, selected, 2));
    EXPECT_EQ(0, SCA_TezProcess::IsSimilarRuleSelected(&measuresThreads, selected, 1));
    EXPECT_EQ(0, SCA_TezProcess::IsSimilarRuleSelected(&measuresThreads, selected, 0));
    const SCA_TezProcessRule* unknowns[] = {&unknown};
    EXPECT_EQ(0, SCA_TezProcess::IsSimilarRuleSelected(&unknown, unknowns, 1))
        << "a rule type outside the table matches nothing, not even itself";
    EXPECT_EQ(0, SCA_TezProcess::IsSimilarRuleSelected(nullptr, selected, 2));
}

TEST(ProcessTest, DetailsTravelOnlyWhenAskedFor) {
    SCA_TezProcess process;
    process.SetProcessId(300);
    process.SetProcessName("postgres");
    process.SetStatus(11);
    process.SetRepStatus(4);
    process.SetTotalErrors(2);
    process.SetTotalWarnings(3);
    process.SetStartTime(1700000000);
    ASSERT_EQ(1, process.GetPids()->AddPid(NewPid(300)));
    ASSERT_EQ(1, process.GetPids()->AddPid(NewPid(301, 300)));
    ASSERT_EQ(1, process.AddInstance(NewInstance(0, "postgres")));
    auto* counter = new SCA_TezCounter();
    counter->SetCounterId(1);
    counter->SetCounterType(SCA_COUNTER_PROCESS_MEM_USED);
    ASSERT_EQ(1, process.AddDataCounter(counter));

    SCA_ConfigObj brief("Process", nullptr);
    ASSERT_EQ(1, process.Serialize(&brief, 0));
    EXPECT_EQ(0u, ChildObjects(brief));

    SCA_ConfigObj full("Process", nullptr);
    ASSERT_EQ(1, process.Serialize(&full, 1));
    auto received = Travel(full);
    ASSERT_NE(nullptr, received);
    SCA_TezProcess read;
    ASSERT_EQ(1, read.Deserialize(received.get()));
    EXPECT_EQ(300u, read.GetProcessId());
    EXPECT_STREQ("postgres", read.GetProcessName());
    EXPECT_EQ(11u, read.GetStatus());
    EXPECT_EQ(4u, read.GetRepStatus());
    EXPECT_EQ(2u, read.GetTotalErrors());
    EXPECT_EQ(3u, read.GetTotalWarnings());
    EXPECT_EQ(1700000000u, read.GetStartTime());
    EXPECT_EQ(2u, read.GetPids()->GetPidCount());
    SCA_TezProcessPid* child = nullptr;
    ASSERT_EQ(1, read.GetPids()->GetPid(301, &child));
    EXPECT_EQ(300u, child->GetParentProcessId());
    EXPECT_EQ(0, read.GetPids()->IsPidExists(302));
    EXPECT_EQ(1u, read.GetInstanceCount());
    SCA_TezCounter* memory = nullptr;
    ASSERT_EQ(1, read.GetCounter(1u, &memory));
    EXPECT_EQ(46u, memory->GetCounterType());
}

TEST(ProcessListTest, LookupsCountsAndRoundTrip) {
    SCA_TezProcessList list;
    list.SetReportTitle("Web servers");
    list.SetAbsStartTime(10);
    SCA_TezProcess* nginx = NewProcess(100, "nginx");
    auto* counter = new SCA_TezCounter();
    counter->SetCounterId(1);
    ASSERT_EQ(1, nginx->AddDataCounter(counter));
    ASSERT_EQ(1, list.AddProcess(nginx));
    ASSERT_EQ(1, list.AddProcess(NewProcess(200, "php-fpm")));
    EXPECT_EQ(2u, list.GetProcessCount());
    EXPECT_EQ(1, list.IsProcessExists(200));
    EXPECT_EQ(0, list.IsProcessExists(300));
    SCA_TezProcess* found = nullptr;
    ASSERT_EQ(1, list.GetProcess("php-fpm", &found));
    EXPECT_EQ(200u, found->GetProcessId());
    ASSERT_EQ(1, list.GetProcess(100u, &found));
    EXPECT_STREQ("nginx", found->GetProcessName());
    EXPECT_EQ(0, list.GetProcess("NGINX", &found));
    EXPECT_EQ(1u, list.GetNumOfCounters());
    const uint64_t before = list.CalcMemoryUsage();
    ASSERT_EQ(1, found->GetPids()->AddPid(NewPid(100)));
    EXPECT_GT(list.CalcMemoryUsage(), before);

    SCA_ConfigObj object("ProcessList", nullptr);
    ASSERT_EQ(1, list.Serialize(&object, 1));
    auto received = Travel(object);
    ASSERT_NE(nullptr, received);
    SCA_TezProcessList read;
    ASSERT_EQ(1, read.Deserialize(received.get()));
    EXPECT_STREQ("Web servers", read.GetReportTitle());
    EXPECT_EQ(10u, read.GetAbsStartTime());
    ASSERT_EQ(2u, read.GetProcessCount());
    ASSERT_EQ(1, read.GetProcess("nginx", &found));
    EXPECT_EQ(1u, found->GetPids()->GetPidCount());
    EXPECT_EQ(1u, read.GetNumOfCounters());
}

TEST(ProcessLogItemTest, UserNameFallsBackToTheDefault) {
    SCA_TezProcessLogItem item;
    EXPECT_STREQ("---", item.GetUserNameEx("---"));
    item.SetUserName("root");
    EXPECT_STREQ("root", item.GetUserNameEx("---"));
}

TEST(ProcessLogItemTest, DescriptionsOfStartsAndEnds) {
    SCA_TezProcessLogItem item;
    char text[256];
    ASSERT_EQ(1, item.BuildDescription(text, sizeof(text)));
    EXPECT_STREQ("Process started", text);
    item.SetParentProcess("bash");
    item.SetParentPid(812);
    ASSERT_EQ(1, item.BuildDescription(text, sizeof(text)));
    EXPECT_STREQ("Process started by bash (PID 812)", text);
    item.SetOpCode(SCA_PROCESS_LOG_END);
    item.SetRunTime(3725);
    ASSERT_EQ(1, item.BuildDescription(text, sizeof(text)));
    EXPECT_STREQ("Process ended after 01:02:05", text);
    item.SetOpCode(7);
    ASSERT_EQ(1, item.BuildDescription(text, 6));
    EXPECT_STREQ("Event", text) << "bounded by the size given";
    text[0] = 'x';
    EXPECT_EQ(0, item.BuildDescription(text, 0));
    EXPECT_EQ('x', text[0]);
}

TEST(ProcessLogItemTest, CopiesAndRoundTripKeepEveryMember) {
    SCA_TezProcessLogItem item;
    item.SetItemId(9);
    item.SetOpCode(SCA_PROCESS_LOG_END);
    item.SetProcessId(77);
    item.SetParentPid(1);
    item.SetAbsTime(1700000000);
    item.SetRunTime(60);
    item.SetCpuUsage(12.5);
    item.SetUsedMemory(1048576.0);
    item.SetDataTransfer(1.25);
    item.SetTotalDataTransfer(99.5);
    item.SetThreadCount(8);
    item.SetHandleCount(64);
    item.SetProcessName("cron");
    item.SetUserName("root");
    item.SetParentProcess("systemd");
    item.SetParentUser("root");

    SCA_ConfigObj object("Item", nullptr);
    ASSERT_EQ(1, SCA_TezProcessLogItem(item).Serialize(&object));
    auto received = Travel(object);
    ASSERT_NE(nullptr, received);
    SCA_TezProcessLogItem read;
    ASSERT_EQ(1, read.Deserialize(received.get()));
    EXPECT_EQ(9u, read.GetItemId());
    EXPECT_EQ(SCA_PROCESS_LOG_END, read.GetOpCode());
    EXPECT_EQ(77u, read.GetProcessId());
    EXPECT_EQ(1u, read.GetParentPid());
    EXPECT_EQ(1700000000u, read.GetAbsTime());
    EXPECT_EQ(60u, read.GetRunTime());
    EXPECT_EQ(12.5, read.GetCpuUsage());
    EXPECT_EQ(1048576.0, read.GetUsedMemory());
    EXPECT_EQ(1.25, read.GetDataTransfer());
    EXPECT_EQ(99.5, read.GetTotalDataTransfer());
    EXPECT_EQ(8.0, read.GetThreadCount());
    EXPECT_EQ(64.0, read.GetHandleCount());
    EXPECT_STREQ("cron", read.GetProcessName());
    EXPECT_STREQ("root", read.GetUserName());
    EXPECT_STREQ("systemd", read.GetParentProcess());
    EXPECT_STREQ("root", read.GetParentUser());
}

TEST(ProcessLogTest, ItemsCountStartsAndEndsAndGetIds) {
    SCA_TezProcessLog log;
    ASSERT_EQ(1u, log.IsConstructed());
    std::vector<uint32_t> seen;
    log.SetCallback(
        [](SCA_TezProcessLogItem* item, void* data) {
            static_cast<std::vector<uint32_t>*>(data)->push_back(item->GetItemId());
            return 1;
        },
        &seen);
    ASSERT_EQ(1, log.AddItem(NewItem(SCA_ALL_ONES, SCA_PROCESS_LOG_START, "a")));
    ASSERT_EQ(1, log.AddItem(NewItem(10, SCA_PROCESS_LOG_END, "b")));
    ASSERT_EQ(1, log.AddItem(NewItem(SCA_ALL_ONES, SCA_PROCESS_LOG_START, "c")));
    EXPECT_EQ((std::vector<uint32_t>{0, 10, 11}), ItemIds(log));
    EXPECT_EQ(seen, ItemIds(log)) << "the callback sees every item";
    EXPECT_EQ(2u, log.GetDetectedProcesses());
    EXPECT_EQ(1u, log.GetCompletedProcesses());
    EXPECT_EQ(3u, log.GetStatusId());
    EXPECT_EQ(1, log.OnProcessStart(0, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(1, log.OnProcessStop(0, nullptr, nullptr)) << "no callback: nothing to refuse";
}

TEST(ProcessLogTest, SerialiseFromTheLastItemShown) {
    SCA_TezProcessLog log;
    log.SetAbsStartTime(1234);
    for (uint32_t id = 5; id <= 7; ++id) {
        ASSERT_EQ(1, log.AddItem(NewItem(id, id % 2, "p")));
    }
    SCA_ConfigObj newer("ProcessLog", nullptr);
    ASSERT_EQ(1, log.Serialize(5, &newer));
    auto received = Travel(newer);
    ASSERT_NE(nullptr, received);
    SCA_TezProcessLog read;
    ASSERT_EQ(1, read.AddItem(NewItem(1, 0, "stale")));
    ASSERT_EQ(1, read.Deserialize(received.get()));
    EXPECT_EQ((std::vector<uint32_t>{6, 7}), ItemIds(read));
    EXPECT_EQ(1234u, read.GetAbsStartTime());
    EXPECT_EQ(log.GetStatusId(), read.GetStatusId());
    EXPECT_EQ(log.GetDetectedProcesses(), read.GetDetectedProcesses())
        << "the counts are the service's, not those of the items sent";

    SCA_ConfigObj all("ProcessLog", nullptr);
    ASSERT_EQ(1, log.Serialize(SCA_ALL_ONES, &all));
    EXPECT_EQ(3u, ChildObjects(all));
    SCA_ConfigObj none("ProcessLog", nullptr);
    ASSERT_EQ(1, log.Serialize(7, &none));
    EXPECT_EQ(0u, ChildObjects(none));
}

} // namespace
