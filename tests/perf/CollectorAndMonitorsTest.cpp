// SPDX-License-Identifier: MIT
// The collector's interface: counters it owns, the local computer only, counters without a
// source, shared reads per tick, the real /proc, and the periodic updater.
#include <chrono>
#include <cstdint>
#include <memory>
#include <thread>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

#include "libmor/SCA_ManualClock.h"
#include "libmor/SCA_System.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezCounterMeta.h"
#include "perf/SCA_PerfErrors.h"
#include "perf/SCA_PerfMonitor.h"
#include "perf/SCA_PerfMonitorUpdate.h"
#include "perf/SCA_PerfSourceTable.h"
#include "tests/perf/PerfTestSupport.h"
#include "tests/support/KorvantaTestSupport.h"
#include "tests/support/ManualClockSupport.h"
#include "tests/support/WaitUntil.h"

namespace {

using perf_test::kSecond;

static_assert(!std::is_copy_constructible_v<SCA_PerfMonitor>, "a collector owns its counters");

TEST(PerfMonitorTest, OnlyTheLocalComputerIsServed) {
    korvanta_test::ReportCapture reports;
    SCA_PerfMonitor collector;
    uint32_t error = 0;
    EXPECT_EQ(0, collector.Connect("", &error));
    EXPECT_EQ(SCA_PERF_ERROR_NOT_INIT, error);
    ASSERT_EQ(1, collector.Init(perf_test::Store("two-cpu", "s1"), &error));
    char host[256] = "";
    ASSERT_EQ(1, SCA_GetHostName(host, sizeof(host)));
    for (const char* local :
         {"", "localhost", "LOCALHOST", "127.0.0.1", static_cast<const char*>(host)}) {
        EXPECT_EQ(1, collector.Connect(local, &error)) << local;
    }
    uint64_t bytes = 0;
    ASSERT_EQ(1, collector.GetTotalMemory(nullptr, &bytes, &error));
    EXPECT_EQ(uint64_t{8000000} * 1024, bytes);
    error = 0;
    EXPECT_EQ(0, collector.Connect("far-away.example", &error));
    EXPECT_EQ(SCA_PERF_ERROR_REMOTE, error);
    EXPECT_EQ(0, collector.GetTotalMemory("10.1.2.3", &bytes, &error));
    EXPECT_EQ(1, reports.Count(5, "SCA_PerfMonitor::Connect: remote computers are not supported"));
    char text[256] = "";
    SCA_GetErrorDescr(SCA_PERF_ERROR_REMOTE, text, sizeof(text));
    EXPECT_STREQ("remote computers are not supported", text);
}

TEST(PerfMonitorTest, FeatureTestsNeverAnswerSuccessAsAnError) {
    SCA_PerfMonitor collector;
    uint32_t error = 0;
    ASSERT_EQ(1, collector.Init(perf_test::Store("two-cpu", "s1"), &error));
    EXPECT_EQ(1, collector.IsTCPv6Supported("", &error));
    EXPECT_EQ(1, collector.IsUDPv6Supported("", &error));
    for (auto test : {&SCA_PerfMonitor::IsWFPv4Supported, &SCA_PerfMonitor::IsWFPv6Supported,
                      &SCA_PerfMonitor::IsActiveDirectorySupported}) {
        error = 1;
        EXPECT_EQ(0, (collector.*test)("", &error));
        EXPECT_EQ(SCA_PERF_ERROR_NOT_SUPPORTED, error);
    }
    SCA_PerfMonitor noProc;
    EXPECT_EQ(0, noProc.Init(perf_test::Store("no-such-machine", "s1"), &error));
    EXPECT_NE(0u, error);
    EXPECT_NE(1u, error);
    EXPECT_EQ(SCA_PERF_ERROR_PERMISSION, SCA_PerfErrorFromErrno(1));
}

TEST(PerfMonitorTest, CountersWithoutSourceAreOfferedButNeverHaveAValue) {
    SCA_PerfMonitor collector;
    uint32_t error = 0;
    ASSERT_EQ(1, collector.Init(perf_test::Store("two-cpu", "s1"), &error));
    uint32_t id = 0;
    EXPECT_EQ(0, collector.OpenCounter(0, "", &id, &error));
    EXPECT_EQ(SCA_PERF_ERROR_BAD_TYPE, error);
    EXPECT_EQ(0, collector.OpenCounter(SCA_TEZ_MAX_COUNTER_TYPE + 1, "", &id, &error));
    // Every type of the vocabulary opens; those without a source sample as "no value".
    std::vector<uint32_t> unsourced;
    for (uint32_t type = 1; type <= SCA_TEZ_MAX_COUNTER_TYPE; ++type) {
        if (SCA_TezGetCounterMeta(type) == nullptr) {
            continue;
        }
        ASSERT_EQ(1, collector.OpenCounter(type, "", &id, &error)) << type;
        if (!SCA_PerfSourceTable::HasSource(type)) {
            unsourced.push_back(id);
        }
    }
    EXPECT_GT(unsourced.size(), 100u) << "SQL, web, iSCSI, shares, filter, directory at least";
    ASSERT_EQ(1, collector.Sample(1, 10 * kSecond));
    ASSERT_EQ(1, collector.Sample(2, 11 * kSecond));
    for (uint32_t counter : unsourced) {
        double value = -1.0;
        EXPECT_EQ(0, collector.GetCounterValue(counter, &value)) << counter;
        EXPECT_EQ(-1.0, value) << "untouched, never a made-up 0";
        SCA_PerfMonCounter* record = nullptr;
        ASSERT_EQ(1, collector.GetCounter(counter, &record));
        EXPECT_EQ(0, record->IsValid());
        EXPECT_EQ(2u, record->GetUpdateCount());
    }
    SCA_ConfigObj list("CounterList", nullptr);
    ASSERT_EQ(1, collector.GetCounterList(&list));
    EXPECT_EQ(collector.GetCounterCount(), list.GetFieldCount());
    EXPECT_EQ(1, collector.CloseCounter(unsourced.front()));
    EXPECT_EQ(0, collector.CloseCounter(unsourced.front()));
}

TEST(PerfMonitorTest, MonitorsOfOneTickShareOneReadOfEachFile) {
    auto store = perf_test::Store("two-cpu", "s1");
    std::vector<std::unique_ptr<SCA_PerfMonitor>> monitors;
    uint32_t error = 0;
    for (int i = 0; i < 20; ++i) {
        monitors.push_back(std::make_unique<SCA_PerfMonitor>());
        ASSERT_EQ(1, monitors.back()->Init(store, &error));
        uint32_t id = 0;
        ASSERT_EQ(1, monitors.back()->OpenCounter(1, "", &id, &error));
    }
    std::vector<std::thread> threads;
    for (auto& monitor : monitors) {
        threads.emplace_back([&monitor] { monitor->Sample(1, 10 * kSecond); });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(1u, store->GetSnapshotCount());
    store->SetRoots(perf_test::Roots("two-cpu", "s2"));
    for (auto& monitor : monitors) {
        ASSERT_EQ(1, monitor->Sample(2, 12 * kSecond));
        double value = 0.0;
        ASSERT_EQ(1, monitor->GetCounterValue(1, &value));
        EXPECT_DOUBLE_EQ(35.0, value);
    }
    EXPECT_EQ(2u, store->GetSnapshotCount());
}

TEST(PerfMonitorTest, CapturedMachineGivesPlausibleValues) {
    auto store = perf_test::Store("vm-real", "s1");
    SCA_PerfMonitor collector;
    uint32_t error = 0;
    ASSERT_EQ(1, collector.Init(store, &error));
    std::vector<uint32_t> shares;
    uint32_t id = 0;
    for (const char* cpu : {"", "0", "1", "2", "3"}) {
        for (uint32_t type : {1u, 2u, 3u, 60u}) {
            ASSERT_EQ(1, collector.OpenCounter(type, cpu, &id, &error));
            shares.push_back(id);
        }
    }
    ASSERT_EQ(1, collector.OpenCounter(4, "", &id, &error));
    shares.push_back(id);
    ASSERT_EQ(1, collector.OpenCounter(248, "", &id, &error));
    shares.push_back(id);
    ASSERT_EQ(1, collector.Sample(1, 10 * kSecond));
    store->SetRoots(perf_test::Roots("vm-real", "s2"));
    ASSERT_EQ(1, collector.Sample(2, 11 * kSecond));
    for (uint32_t counter : shares) {
        double value = -1.0;
        ASSERT_EQ(1, collector.GetCounterValue(counter, &value)) << counter;
        EXPECT_GE(value, 0.0) << counter;
        EXPECT_LE(value, 100.0) << counter;
    }
}

TEST(PerfMonitorTest, RealProcIsPlausible) {
    SCA_PerfMonitor collector;
    uint32_t error = 0;
    ASSERT_EQ(1, collector.Init(&error));
    uint64_t total = 0;
    ASSERT_EQ(1, collector.GetTotalMemory("", &total, &error));
    const uint32_t cpus = std::thread::hardware_concurrency();
    std::vector<uint32_t> cpuIds;
    uint32_t id = 0;
    ASSERT_EQ(1, collector.OpenCounter(1, "", &id, &error));
    cpuIds.push_back(id);
    for (uint32_t cpu = 0; cpu < cpus; ++cpu) {
        ASSERT_EQ(1, collector.OpenCounter(1, std::to_string(cpu).c_str(), &id, &error));
        cpuIds.push_back(id);
    }
    uint32_t used = 0;
    uint32_t available = 0;
    uint32_t processes = 0;
    ASSERT_EQ(1, collector.OpenCounter(19, "", &used, &error));
    ASSERT_EQ(1, collector.OpenCounter(5, "", &available, &error));
    ASSERT_EQ(1, collector.OpenCounter(38, "", &processes, &error));
    ASSERT_EQ(1, collector.Sample(1));
    // A rate needs the machine's tick counts to move between two samples: real time.
    uint64_t tick = 1;
    uint32_t withValue = 0;
    EXPECT_TRUE(korvanta_test::WaitUntil("the awaited state", [&] {
        EXPECT_EQ(1, collector.Sample(++tick));
        withValue = 0;
        for (uint32_t counter : cpuIds) {
            double value = -1.0;
            if (collector.GetCounterValue(counter, &value)) {
                ++withValue;
                EXPECT_GE(value, 0.0);
                EXPECT_LE(value, 100.0);
            }
        }
        return withValue >= 1;
    })) << "at least the total has a value";
    double usedBytes = 0.0;
    double availableBytes = 0.0;
    double processCount = 0.0;
    ASSERT_EQ(1, collector.GetCounterValue(used, &usedBytes));
    ASSERT_EQ(1, collector.GetCounterValue(available, &availableBytes));
    ASSERT_EQ(1, collector.GetCounterValue(processes, &processCount));
    EXPECT_GT(usedBytes, 0.0);
    EXPECT_LT(usedBytes, static_cast<double>(total));
    EXPECT_LE(availableBytes, static_cast<double>(total));
    EXPECT_GE(processCount, 1.0);
}

TEST(PerfMonitorUpdateTest, TicksUntilToldToStop) {
    SCA_ManualClock clock;
    SCA_PerfMonitorUpdate updater;
    EXPECT_EQ(10u, updater.GetProcessStatus());
    EXPECT_EQ(1000u, updater.GetUpdateInterval());
    updater.SetUpdateInterval(5);
    uint32_t error = 0;
    ASSERT_EQ(1, updater.Lock(&error));
    // One tick per interval the clock moves, once the thread waits for it.
    for (uint32_t tick = 1; tick <= 3; ++tick) {
        ASSERT_TRUE(korvanta_test::SleepersOn(clock));
        clock.Advance(std::chrono::milliseconds(5));
        ASSERT_TRUE(korvanta_test::WaitUntil("the awaited state",
                                             [&] { return updater.GetUpdateCount() == tick; }));
    }
    EXPECT_EQ(11u, updater.GetProcessStatus());
    ASSERT_EQ(1, updater.Unlock(__FILE__));
    EXPECT_EQ(1u, updater.GetProcessStatus());
    clock.Advance(std::chrono::milliseconds(20));
    EXPECT_EQ(3u, updater.GetUpdateCount()) << "no tick after the stop";
}

TEST(PerfMonitorUpdateTest, AStopEndsALongWaitAtOnce) {
    SCA_ManualClock clock; // stands still: only the stop can end the wait
    SCA_PerfMonitorUpdate updater;
    updater.SetUpdateInterval(60000);
    uint32_t error = 0;
    ASSERT_EQ(1, updater.Lock(&error));
    ASSERT_EQ(1, updater.Unlock(__FILE__));
    EXPECT_EQ(0u, updater.GetUpdateCount());
}

} // namespace
