// SPDX-License-Identifier: MIT
// Every counter monitor of one interval is sampled by one clock thread: the monitors all get
// their samples, the service does not grow a thread per monitor, a stopped monitor gets no
// sample once its stop returned, and a stop waits for the monitor's tick under way.
#include <dirent.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "libmor/SCA_Clock.h"
#include "libmor/SCA_ManualClock.h"
#include "libtez/SCA_TezManager.h"
#include "libtez/SCA_TezSampleClock.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezVocabulary.h"
#include "tests/perf/PerfTestSupport.h"
#include "tests/support/ManualClockSupport.h"

namespace {

constexpr uint32_t kIntervalMs = 7; // no other test samples at this interval
constexpr std::chrono::milliseconds kInterval{kIntervalMs};
constexpr size_t kMonitors = 40;

size_t ThreadCount() {
    size_t count = 0;
    if (DIR* dir = opendir("/proc/self/task")) {
        while (const dirent* entry = readdir(dir)) {
            count += entry->d_name[0] != '.' ? 1 : 0;
        }
        closedir(dir);
    }
    return count;
}

// One monitor of one memory counter over a captured machine, counting its samples.
struct Monitor {
    Monitor(SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
            const std::shared_ptr<SCA_PerfSnapshotStore>& store)
        : Manager(config, userConfig, nullptr, nullptr, nullptr, nullptr) {
        uint32_t id = 0;
        Profile.GetCounterList()->AddCounter(SCA_COUNTER_MEMORY_USAGE, "", "", "", &id);
        Manager.SetSnapshotStore(store);
        Manager.SetSampleInterval(kIntervalMs);
        Manager.SetSampleCallback(
            [](SCA_TezProfile*, SCA_TezReport*, uint64_t, void* self) {
                auto* monitor = static_cast<Monitor*>(self);
                monitor->InTick = true;
                SCA_GetClock().SleepFor(monitor->TickLengthMs);
                ++monitor->Samples;
                monitor->InTick = false;
                return 1;
            },
            this);
    }

    int Start() {
        uint32_t error = 0;
        return Manager.StartProcess(&Profile, "Clocked", nullptr, 1, &error) &&
               Manager.AddCounter(Profile.GetCounterList()->GetHead()->GetId());
    }

    SCA_TezProfile Profile;
    SCA_TezManager Manager;
    std::atomic<int> Samples{0};
    std::atomic<bool> InTick{false};
    uint32_t TickLengthMs = 0;
};

class SampleClockTest : public testing::Test {
protected:
    SampleClockTest() : m_UserConfig(&m_Config), m_Store(perf_test::Store("two-cpu", "s1")) {}

    // Moves the clock an interval at a time until done() holds.
    template <typename Done>
    bool TicksUntil(Done done) {
        return korvanta_test::AdvanceUntil(m_Clock, kInterval, done);
    }

    // First, so that it outlives the clock thread.
    SCA_ManualClock m_Clock;
    SCA_TezConfig m_Config{SCA_PRODUCT_TYPE_KORVANTA};
    SCA_TezConfigUser m_UserConfig;
    std::shared_ptr<SCA_PerfSnapshotStore> m_Store;
};

TEST_F(SampleClockTest, ManyMonitorsShareOneThreadAndStoppedOnesGetNoSample) {
    std::vector<std::unique_ptr<Monitor>> monitors;
    for (size_t i = 0; i < kMonitors; ++i) {
        monitors.push_back(std::make_unique<Monitor>(&m_Config, &m_UserConfig, m_Store));
    }
    // The first start makes the clock's thread (and, under a sanitizer, maybe its own).
    ASSERT_EQ(1, monitors.front()->Start());
    const size_t withOne = ThreadCount();
    for (size_t i = 1; i < kMonitors; ++i) {
        ASSERT_EQ(1, monitors[i]->Start());
    }
    EXPECT_EQ(withOne, ThreadCount()) << "one clock thread for every monitor";
    EXPECT_EQ(kMonitors, SCA_TezSampleClock::ForInterval(kIntervalMs)->GetManagerCount());
    ASSERT_TRUE(TicksUntil([&] {
        for (auto& monitor : monitors) {
            if (monitor->Samples < 3) {
                return false;
            }
        }
        return true;
    })) << "every monitor is sampled";

    const size_t half = kMonitors / 2;
    std::vector<int> stoppedAt;
    for (size_t i = 0; i < half; ++i) {
        ASSERT_EQ(1, monitors[i]->Manager.StopAll(0));
        stoppedAt.push_back(monitors[i]->Samples);
    }
    const int runningAt = monitors[half]->Samples;
    ASSERT_TRUE(TicksUntil([&] { return monitors[half]->Samples >= runningAt + 3; }))
        << "the others go on";
    for (size_t i = 0; i < half; ++i) {
        EXPECT_EQ(stoppedAt[i], monitors[i]->Samples.load()) << "monitor " << i;
        EXPECT_EQ(0, monitors[i]->Manager.IsSampling());
    }
    // A stopped monitor starts again on the same clock.
    ASSERT_EQ(1, monitors[0]->Manager.DeleteAllCounters());
    ASSERT_EQ(1, monitors[0]->Start());
    ASSERT_TRUE(TicksUntil([&] { return monitors[0]->Samples >= stoppedAt[0] + 2; }));

    monitors.clear();
    EXPECT_TRUE(korvanta_test::WaitUntil("the awaited state", [&] {
        return ThreadCount() == withOne - 1;
    })) << "the clock ends its thread with its last monitor";
}

TEST_F(SampleClockTest, AStopWaitsForTheTickUnderWay) {
    Monitor slow(&m_Config, &m_UserConfig, m_Store);
    slow.TickLengthMs = 60;
    Monitor quick(&m_Config, &m_UserConfig, m_Store);
    ASSERT_EQ(1, slow.Start());
    ASSERT_EQ(1, quick.Start());
    ASSERT_TRUE(TicksUntil([&] { return slow.InTick.load(); }));
    // The slow tick lasts until the clock moves on, which it does only once the stop began.
    std::atomic<bool> stopping{false};
    std::atomic<bool> inTickAtReturn{true};
    std::thread stopper([&] {
        stopping = true;
        EXPECT_EQ(1, slow.Manager.StopAll(0));
        inTickAtReturn = slow.InTick.load();
    });
    ASSERT_TRUE(korvanta_test::WaitUntil("the awaited state", [&] { return stopping.load(); }));
    m_Clock.Advance(std::chrono::milliseconds(slow.TickLengthMs));
    stopper.join();
    EXPECT_FALSE(inTickAtReturn) << "the stop returned while the tick still sampled";
    const int last = slow.Samples;
    ASSERT_TRUE(TicksUntil([&] { return quick.Samples >= 3; }));
    EXPECT_EQ(last, slow.Samples.load());
    EXPECT_EQ(SCA_PROCESS_STOPPED, slow.Manager.GetProcessStatus());
}

} // namespace
