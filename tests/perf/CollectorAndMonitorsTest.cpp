// The collector's counter list and its periodic updater.
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
#include "model/SCA_PerfMonCounter.h"
#include "perf/SCA_PerfMonProcList.h"
#include "perf/SCA_PerfMonitor.h"
#include "perf/SCA_PerfMonitorUpdate.h"

namespace {

static_assert(!std::is_copy_constructible_v<SCA_PerfMonitor>, "a collector owns its counters");

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

} // namespace
