// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "libmor/SCA_Clock.h"
#include "libmor/SCA_Event.h"
#include "libmor/SCA_ManualClock.h"
#include "libmor/SCA_Semaphore.h"
#include "libmor/SCA_ThreadObj.h"
#include "libmor/SCA_Time.h"
#include "tests/support/ManualClockSupport.h"
#include "tests/support/WaitUntil.h"

using namespace std::chrono_literals;

namespace {

// Counts how often its wait on the stop event ran out, as a sampling thread counts ticks.
class TickingThread : public SCA_ThreadObj {
public:
    explicit TickingThread(uint32_t periodMs) : m_PeriodMs(periodMs) {}
    ~TickingThread() override { Unlock(__FILE__); }
    int ThreadFunc() override {
        while (GetStopEvent()->Wait(m_PeriodMs) == SCA_WAIT_TIMEOUT) {
            ++Ticks;
        }
        return 0;
    }
    std::atomic<int> Ticks{0};

private:
    const uint32_t m_PeriodMs;
};

} // namespace

TEST(ClockTest, ManualClockIsTheProcessClockWhileItLivesAndMovesOnlyWhenAdvanced) {
    SCA_Clock* system = &SCA_GetClock();
    {
        SCA_ManualClock clock;
        EXPECT_NE(&SCA_GetClock(), system);
        const SCA_Clock::Monotonic start = clock.Now();
        const uint64_t startAbs = SCA_GetAbsTime();
        EXPECT_EQ(SCA_GetClock().Now(), start);

        clock.Advance(1500ms);
        EXPECT_EQ(SCA_GetClock().Now() - start, 1500ms);
        EXPECT_EQ(SCA_GetAbsTime() - startAbs, 15 * SCA_ABS_TIME_SECOND / 10);

        // A date change moves the wall time alone.
        clock.SetAbsTime(42 * SCA_ABS_TIME_SECOND);
        EXPECT_EQ(SCA_GetAbsTime(), 42 * SCA_ABS_TIME_SECOND);
        EXPECT_EQ(SCA_GetClock().Now() - start, 1500ms);
    }
    EXPECT_EQ(&SCA_GetClock(), system);
    EXPECT_GT(SCA_GetAbsTime(), 42 * SCA_ABS_TIME_SECOND);
}

TEST(ClockTest, TimedWaitsEndWhenTheClockPassesTheirDeadlineAndNotBefore) {
    SCA_ManualClock clock;
    SCA_Event event(1, 0);
    SCA_Semaphore semaphore(0, 1);
    std::atomic<int> eventResult{0};
    std::atomic<int> semaphoreResult{0};
    std::thread eventWaiter([&] { eventResult = event.Wait(60000); });
    std::thread semaphoreWaiter([&] { semaphoreResult = semaphore.Wait(120000); });
    ASSERT_TRUE(korvanta_test::SleepersOn(clock, 2));

    clock.Advance(59999ms);
    EXPECT_EQ(eventResult, 0);
    EXPECT_EQ(semaphoreResult, 0);
    clock.Advance(1ms);
    eventWaiter.join();
    EXPECT_EQ(eventResult, SCA_WAIT_TIMEOUT);
    EXPECT_EQ(semaphoreResult, 0);

    // A release still ends the other wait before its deadline.
    EXPECT_EQ(semaphore.Release(), 1);
    semaphoreWaiter.join();
    EXPECT_EQ(semaphoreResult, SCA_WAIT_OK);
    EXPECT_EQ(clock.Waiters(), 0u);
}

TEST(ClockTest, APeriodicThreadTicksOncePerPeriodTheClockMovesAndStopsAtOnce) {
    SCA_ManualClock clock;
    TickingThread thread(1000);
    uint32_t error = 0;
    ASSERT_EQ(thread.Lock(&error), 1);
    for (int tick = 1; tick <= 3; ++tick) {
        ASSERT_TRUE(korvanta_test::SleepersOn(clock, 1));
        clock.Advance(999ms);
        EXPECT_EQ(thread.Ticks, tick - 1);
        clock.Advance(1ms);
        ASSERT_TRUE(
            korvanta_test::WaitUntil("the awaited state", [&] { return thread.Ticks == tick; }));
    }
    // Stopping does not wait for the period: the clock is not moved again.
    EXPECT_EQ(thread.Unlock(__FILE__), 1);
    EXPECT_EQ(thread.Ticks, 3);
}

TEST(ClockTest, SleepForAndWaitsWithoutDeadlineFollowTheClock) {
    SCA_ManualClock clock;
    std::atomic<bool> slept{false};
    std::thread sleeper([&] {
        clock.SleepFor(5000);
        slept = true;
    });
    ASSERT_TRUE(korvanta_test::SleepersOn(clock, 1));
    EXPECT_FALSE(slept);
    clock.Advance(5000ms);
    sleeper.join();
    EXPECT_TRUE(slept);

    // An endless wait is not a deadline: moving the clock far does not end it, a signal does.
    SCA_Event event(1, 0);
    std::atomic<int> result{0};
    std::thread waiter([&] { result = event.Wait(SCA_INFINITE); });
    clock.Advance(std::chrono::hours(24 * 365));
    EXPECT_EQ(result, 0);
    event.Set();
    waiter.join();
    EXPECT_EQ(result, SCA_WAIT_OK);
}

TEST(ClockTest, AWaitOutlivingItsManualClockGoesOnOnTheClockBefore) {
    SCA_Event event(1, 0);
    std::atomic<int> result{0};
    std::thread waiter;
    {
        SCA_ManualClock clock;
        waiter = std::thread([&] { result = event.Wait(600000); });
        ASSERT_TRUE(korvanta_test::SleepersOn(clock, 1));
        clock.Advance(1000ms);
    }
    // The system clock has ten minutes left to wait: the wait neither ended nor crashed.
    EXPECT_EQ(result, 0);
    event.Set();
    waiter.join();
    EXPECT_EQ(result, SCA_WAIT_OK);
}

// A service's thread may have taken the process's clock just before a test's clock went: what
// it holds then tells the time of the clock before, not that of a clock destroyed.
TEST(ClockTest, AClockTakenBeforeItsManualClockWentTellsTheTimeOfTheClockBefore) {
    SCA_Clock* held = nullptr;
    {
        SCA_ManualClock clock;
        clock.SetAbsTime(42 * SCA_ABS_TIME_SECOND);
        held = &SCA_GetClock();
        EXPECT_EQ(held->AbsTime(), 42 * SCA_ABS_TIME_SECOND);
    }
    const SCA_Clock::Monotonic before = SCA_GetClock().Now();
    const uint64_t beforeAbs = SCA_GetAbsTime();
    EXPECT_GE(held->Now(), before);
    EXPECT_GE(held->AbsTime(), beforeAbs);

    std::mutex mutex;
    std::unique_lock<std::mutex> lock(mutex);
    std::condition_variable never;
    EXPECT_FALSE(held->WaitUntil(never, lock, held->Now() + 20ms, [] { return false; }));
    EXPECT_GE(SCA_GetClock().Now() - before, 20ms);
}
