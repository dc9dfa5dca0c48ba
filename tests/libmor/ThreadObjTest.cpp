// SPDX-License-Identifier: MIT
#include <atomic>
#include <cerrno>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

#include "TestSupport.h"
#include "libmor/SCA_Clock.h"
#include "libmor/SCA_Heap.h"
#include "libmor/SCA_ManualClock.h"
#include "libmor/SCA_Sync.h"
#include "libmor/SCA_ThreadObj.h"
#include "tests/support/ManualClockSupport.h"

namespace {

// A body that runs until asked to stop, or for ownMs by itself; a deaf one ignores the stop.
class Worker : public SCA_ThreadObj {
public:
    explicit Worker(uint32_t ownMs = SCA_INFINITE, bool deaf = false)
        : m_OwnMs(ownMs), m_Deaf(deaf) {}
    ~Worker() override { Unlock(__FILE__); }

    int ThreadFunc() override {
        ++m_Runs;
        if (m_Deaf) {
            SCA_GetClock().SleepFor(m_OwnMs);
        } else {
            GetStopEvent()->Wait(m_OwnMs);
        }
        m_Returned = true;
        return 0;
    }

    int Runs() const { return m_Runs; }
    bool Returned() const { return m_Returned; }

private:
    const uint32_t m_OwnMs;
    const bool m_Deaf;
    std::atomic<int> m_Runs{0};
    std::atomic<bool> m_Returned{false};
};

TEST(ThreadObjTest, WaitBeforeAnyThreadAnswersZeroAtOnce) {
    Worker worker;
    ASSERT_EQ(worker.IsConstructed(), 1u);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(worker.Wait(5000), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_EQ(worker.IsRunning(), 0);
    EXPECT_EQ(worker.Unlock(__FILE__), 1);
}

TEST(ThreadObjTest, UnlockStopsBodyWaitingOnStopEvent) {
    Worker worker;
    uint32_t error = 0;
    ASSERT_EQ(worker.Lock(&error), 1);
    EXPECT_EQ(worker.IsRunning(), 1);
    EXPECT_EQ(worker.Wait(20), SCA_WAIT_TIMEOUT);
    EXPECT_EQ(worker.Unlock(__FILE__), 1);
    EXPECT_TRUE(worker.Returned());
    EXPECT_EQ(worker.IsRunning(), 0);
    EXPECT_EQ(worker.Wait(0), SCA_WAIT_OK);
}

TEST(ThreadObjTest, LockAgainRestartsWithStopEventCleared) {
    Worker worker;
    uint32_t error = 0;
    ASSERT_EQ(worker.Lock(&error), 1);
    EXPECT_EQ(worker.Lock(&error), 1); // still running: no second body
    worker.Unlock(__FILE__);
    EXPECT_EQ(worker.Runs(), 1);

    ASSERT_EQ(worker.Lock(&error), 1);
    EXPECT_EQ(worker.Wait(20), SCA_WAIT_TIMEOUT); // the stop event was reset
    EXPECT_EQ(worker.Runs(), 2);
}

TEST(ThreadObjTest, BodyThatEndsByItselfCanBeStartedAgain) {
    Worker worker(10);
    uint32_t error = 0;
    ASSERT_EQ(worker.Lock(&error), 1);
    EXPECT_EQ(worker.Wait(SCA_INFINITE), SCA_WAIT_OK);
    EXPECT_EQ(worker.IsRunning(), 0);
    ASSERT_EQ(worker.Lock(&error), 1); // joins the ended thread first
    EXPECT_EQ(worker.Wait(SCA_INFINITE), SCA_WAIT_OK);
    EXPECT_EQ(worker.Runs(), 2);
}

// What a thread keeps of its own (as a library keeps its per-thread state) goes with it.
std::atomic<int> g_ThreadStatesLeft{0};
struct ThreadState {
    ThreadState() { ++g_ThreadStatesLeft; }
    ~ThreadState() { --g_ThreadStatesLeft; }
};

class StatefulWorker : public Worker {
public:
    using Worker::Worker;
    int ThreadFunc() override {
        thread_local ThreadState state;
        return Worker::ThreadFunc();
    }
};

// A body whose work is done is joined by whoever asks, not only by its owner's stop, and its
// thread's own state is gone by then; a body that runs is left alone, at once.
TEST(ThreadObjTest, AnEndedBodyIsJoinedFromAnotherThreadAndARunningOneLeftAlone) {
    StatefulWorker running;
    EXPECT_EQ(running.JoinIfEnded(), 0) << "before any Lock: nothing to do";
    uint32_t error = 0;
    ASSERT_EQ(running.Lock(&error), 1);
    EXPECT_EQ(running.JoinIfEnded(), 0);
    EXPECT_EQ(running.IsRunning(), 1);
    running.Unlock(__FILE__);

    StatefulWorker done(0);
    ASSERT_EQ(done.Lock(&error), 1);
    ASSERT_EQ(done.Wait(SCA_INFINITE), SCA_WAIT_OK);
    int joined = 0;
    std::thread other([&] { joined = done.JoinIfEnded(); });
    other.join();
    EXPECT_EQ(joined, 1);
    EXPECT_EQ(g_ThreadStatesLeft.load(), 0);
    EXPECT_EQ(done.JoinIfEnded(), 0) << "joined once only";

    // Joins from another thread while the owner starts and stops the body again and again.
    constexpr int kRuns = 50;
    StatefulWorker restarted(0);
    std::atomic<bool> restarting{true};
    std::thread joiner([&] {
        while (restarting) {
            restarted.JoinIfEnded();
        }
    });
    for (int i = 0; i < kRuns; ++i) {
        ASSERT_EQ(restarted.Lock(&error), 1);
        restarted.Wait(SCA_INFINITE);
        restarted.Unlock(__FILE__);
    }
    restarting = false;
    joiner.join();
    EXPECT_EQ(restarted.Runs(), kRuns);
    EXPECT_EQ(g_ThreadStatesLeft.load(), 0);
}

TEST(ThreadObjTest, SlowBodyGivesOneWarningAndUnlockStillWaits) {
    ReportCapture capture;
    SCA_ManualClock clock;
    Worker worker(100, true);
    worker.SetThreadExitTimeout(20);
    uint32_t error = 0;
    ASSERT_EQ(worker.Lock(&error), 1);
    ASSERT_TRUE(korvanta_test::SleepersOn(clock, 1)); // the deaf body
    std::atomic<bool> unlocked{false};
    std::thread unlocker([&] {
        EXPECT_EQ(worker.Unlock("MonitorThread.cpp"), 1);
        unlocked = true;
    });
    ASSERT_TRUE(korvanta_test::SleepersOn(clock, 2)); // and Unlock, up to the exit time-out
    clock.Advance(std::chrono::milliseconds(20));
    ASSERT_TRUE(
        korvanta_test::WaitUntil("the awaited state", [&] { return !capture.Records().empty(); }));
    EXPECT_FALSE(unlocked) << "Unlock goes on waiting after the warning";
    clock.Advance(std::chrono::milliseconds(80));
    unlocker.join();
    EXPECT_TRUE(worker.Returned());

    const auto records = capture.Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].Level, SCA_LEVEL_WARNING);
    EXPECT_NE(records[0].Text.find("MonitorThread.cpp"), std::string::npos);
}

TEST(ThreadObjTest, AllocationFailuresMakeLockFail) {
    SCA_HeapFailAfter(1); // the stop event
    Worker broken;
    EXPECT_EQ(broken.IsConstructed(), 0u);
    uint32_t error = 0;
    EXPECT_EQ(broken.Lock(&error), 0);
    EXPECT_EQ(error, static_cast<uint32_t>(ENOMEM));

    Worker worker;
    SCA_HeapFailAfter(1); // the thread object
    error = 0;
    EXPECT_EQ(worker.Lock(&error), 0);
    EXPECT_EQ(error, static_cast<uint32_t>(ENOMEM));
    EXPECT_EQ(worker.Wait(0), 0);
    EXPECT_EQ(worker.Lock(&error), 1);
}

} // namespace
