// The collector's inline part and updater, and the status tables of the counter monitor's
// manager and of the process monitor.
#include <chrono>
#include <cstdint>
#include <cstring>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

#include "libmor/SCA_Sync.h"
#include "libmor/SCA_Time.h"
#include "libmor/perf/SCA_PerfMonProcList.h"
#include "libmor/perf/SCA_PerfMonitor.h"
#include "libmor/perf/SCA_PerfMonitorUpdate.h"
#include "libmor/perf/SCA_TezManager.h"
#include "libmor/perf/SCA_TezProcessMonitor.h"
#include "model/SCA_PerfMonCounter.h"

namespace {

static_assert(!std::is_copy_constructible_v<SCA_PerfMonitor>, "a collector owns its counters");
static_assert(!std::is_copy_constructible_v<SCA_TezManager>, "a manager owns its thread");

// The sampling bodies are supplied by the jobs that run them; these do nothing.
class Manager : public SCA_TezManager {
public:
    Manager() : SCA_TezManager(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr) {}
    int ThreadFunc() override { return 0; }
};

class ProcessMonitor : public SCA_TezProcessMonitor {
public:
    ProcessMonitor() : SCA_TezProcessMonitor(nullptr, nullptr, nullptr, nullptr) {}
    int ThreadFunc() override { return 0; }
};

SCA_TezCounter* NewCounter(uint32_t id) {
    auto* counter = new SCA_TezCounter();
    counter->SetCounterId(id);
    return counter;
}

std::string Value(SCA_TezManager& manager, uint32_t index, int* result = nullptr) {
    char buf[64];
    std::memset(buf, 'x', sizeof(buf));
    const int answer = manager.GetStatusValue(index, buf, sizeof(buf));
    if (result != nullptr) {
        *result = answer;
    }
    return buf;
}

std::string Value(SCA_TezProcessMonitor& monitor, uint32_t index, int* result = nullptr) {
    char buf[64];
    std::memset(buf, 'x', sizeof(buf));
    const int answer = monitor.GetStatusValue(index, buf, sizeof(buf));
    if (result != nullptr) {
        *result = answer;
    }
    return buf;
}

TEST(PerfMonitorTest, CountersAreFoundByIdAndOwnedByTheCollector) {
    SCA_PerfMonitor collector;
    EXPECT_EQ(0, collector.IsQueryInitialized());
    EXPECT_EQ(collector.IsAddCounterFuncSet(), collector.IsAddEnglishCounterAvailable());
    auto* cpu = new SCA_PerfMonCounter();
    cpu->SetType(1);
    ASSERT_EQ(1, collector.GetCounterList()->AddItemToTail(cpu, 7u));
    SCA_PerfMonCounter* found = nullptr;
    ASSERT_EQ(1, collector.GetCounter(7, &found));
    EXPECT_EQ(cpu, found);
    SCA_PerfMonCounter* untouched = cpu;
    EXPECT_EQ(0, collector.GetCounter(8, &untouched));
    EXPECT_EQ(cpu, untouched);
    // The collector frees its counter; the leak check would fail the run otherwise.
}

TEST(PerfMonitorUpdateTest, TicksUntilToldToStop) {
    SCA_PerfMonitorUpdate updater;
    EXPECT_EQ(10u, updater.GetProcessStatus());
    EXPECT_EQ(1000u, updater.GetUpdateInterval());
    updater.SetUpdateInterval(5);
    uint32_t error = 0;
    ASSERT_EQ(1, updater.Lock(&error));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (updater.GetUpdateCount() < 3 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_GE(updater.GetUpdateCount(), 3u);
    EXPECT_EQ(11u, updater.GetProcessStatus());
    ASSERT_EQ(1, updater.Unlock(__FILE__));
    EXPECT_EQ(1u, updater.GetProcessStatus());
    const uint32_t ticks = updater.GetUpdateCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(ticks, updater.GetUpdateCount()) << "no tick after the stop";
}

TEST(PerfMonitorUpdateTest, AStopEndsALongWaitAtOnce) {
    SCA_PerfMonitorUpdate updater;
    updater.SetUpdateInterval(60000);
    uint32_t error = 0;
    ASSERT_EQ(1, updater.Lock(&error));
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(1, updater.Unlock(__FILE__));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(0u, updater.GetUpdateCount());
}

TEST(StatusTableTest, NamesAndIconsOfBothMonitors) {
    const std::vector<std::string> names = {"Status", "Time",     "Counters",
                                            "Errors", "Warnings", "Memory"};
    ASSERT_EQ(6u, SCA_TezManager::GetStatusCount());
    ASSERT_EQ(6u, SCA_TezProcessMonitor::GetStatusCount());
    for (uint32_t i = 0; i < 6; ++i) {
        EXPECT_EQ(names[i], SCA_TezManager::GetStatusName(i));
        EXPECT_EQ(names[i], SCA_TezProcessMonitor::GetStatusName(i));
    }
    EXPECT_STREQ("Invalid Status", SCA_TezManager::GetStatusName(6));
    EXPECT_STREQ("Invalid Status", SCA_TezProcessMonitor::GetStatusName(0xFFFFFFFFu));
    for (uint32_t i : {0u, 5u, 6u, 100u}) {
        EXPECT_STREQ(":/images/attr_16px.png", SCA_TezManager::GetStatusIcon(i));
        EXPECT_STREQ(":/images/attr_16px.png", SCA_TezProcessMonitor::GetStatusIcon(i));
    }
}

TEST(StatusTableTest, ManagerValues) {
    Manager manager;
    ASSERT_EQ(1u, manager.IsConstructed());
    manager.SetProcessStatus(11);
    manager.SetErrorCounters(2);
    manager.SetWarningCounters(4294967295u);
    ASSERT_EQ(1, manager.GetReport()->AddCounter(NewCounter(1)));
    ASSERT_EQ(1, manager.GetReport()->AddCounter(NewCounter(2)));
    EXPECT_EQ(2u, manager.GetActiveCounters());
    EXPECT_EQ(manager.GetReport()->GetCounterList(), manager.GetCounterList());

    int result = 0;
    EXPECT_EQ("Running", Value(manager, 0, &result));
    EXPECT_EQ(1, result);
    EXPECT_EQ("00:00:00", Value(manager, 1));
    EXPECT_EQ("2", Value(manager, 2));
    EXPECT_EQ("2", Value(manager, 3));
    EXPECT_EQ("4294967295", Value(manager, 4));
    char size[64];
    SCA_FormatSize(manager.GetReport()->CalcMemoryUsage(), size, sizeof(size));
    EXPECT_EQ(size, Value(manager, 5, &result));
    EXPECT_EQ(1, result);
    EXPECT_EQ("INV", Value(manager, 6, &result));
    EXPECT_EQ(0, result);
}

TEST(StatusTableTest, ProcessMonitorValues) {
    ProcessMonitor monitor;
    ASSERT_EQ(1u, monitor.IsConstructed());
    EXPECT_EQ(1, monitor.IsLocal());
    auto* process = new SCA_TezProcess();
    process->SetProcessId(10);
    process->SetProcessName("nginx");
    ASSERT_EQ(1, process->AddDataCounter(NewCounter(1)));
    ASSERT_EQ(1, process->AddDataCounter(NewCounter(2)));
    ASSERT_EQ(1, monitor.GetProcessList()->AddProcess(process));
    EXPECT_EQ(1u, monitor.GetProcessCount());

    int result = 0;
    EXPECT_EQ("Idle", Value(monitor, 0, &result));
    EXPECT_EQ(1, result);
    EXPECT_EQ("2", Value(monitor, 2));
    EXPECT_EQ("0", Value(monitor, 3));
    char size[64];
    SCA_FormatSize(monitor.GetProcessList()->CalcMemoryUsage(), size, sizeof(size));
    EXPECT_EQ(size, Value(monitor, 5));
    EXPECT_EQ("INV", Value(monitor, 7, &result));
    EXPECT_EQ(0, result);
}

TEST(StatusTableTest, AZeroSizeBufferGetsNothing) {
    Manager manager;
    ProcessMonitor monitor;
    char buf[4] = {'k', 'e', 'e', 'p'};
    for (uint32_t index : {0u, 2u, 9u}) {
        EXPECT_EQ(0, manager.GetStatusValue(index, buf, 0));
        EXPECT_EQ(0, monitor.GetStatusValue(index, buf, 0));
    }
    EXPECT_EQ(0, std::memcmp(buf, "keep", 4));
    EXPECT_EQ(0, manager.GetStatusValue(0, nullptr, 16));
    char small[4];
    ASSERT_EQ(1, manager.GetStatusValue(0, small, sizeof(small)));
    EXPECT_STREQ("Idl", small) << "bounded by the size given";
}

TEST(ProcessMonitorTest, ItsDataLockIsTakenAndHandedOn) {
    ProcessMonitor monitor;
    SCA_Event* ready = monitor.GetReady();
    ASSERT_EQ(SCA_WAIT_OK, ready->Wait(0)) << "free at first";
    EXPECT_EQ(SCA_WAIT_TIMEOUT, ready->Wait(0)) << "held until set again";
    ASSERT_EQ(1, ready->Set());
    EXPECT_EQ(SCA_WAIT_OK, ready->Wait(0));
    monitor.SetComputerName(std::string(300, 'h').c_str());
    EXPECT_EQ(255u, std::strlen(monitor.GetComputerName()));
    EXPECT_EQ(0, monitor.IsLocal());
    EXPECT_STREQ("ExcludeList", monitor.GetExcludeList()->GetName());
}

} // namespace
