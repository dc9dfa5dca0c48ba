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
#include "tests/libmor/TestSupport.h"

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

// Waits (in real time) until a thread sleeps on the clock, so that moving it reaches that thread.
void WaitForSleepers(SCA_ManualClock& clock, size_t count) {
    ASSERT_TRUE(korvanta_test::Eventually([&] { return clock.Waiters() >= count; }));
}

} // namespace

TEST(ClockTest, ManualClockIsTheProcessClockWhileItLivesAndMovesOnlyWhenAdvanced) {
    SCA_Clock* system = &SCA_GetClock();
    {
        SCA_ManualClock clock;
        EXPECT_EQ(&SCA_GetClock(), &clock);
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
    WaitForSleepers(clock, 2);

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
        WaitForSleepers(clock, 1);
        clock.Advance(999ms);
        EXPECT_EQ(thread.Ticks, tick - 1);
        clock.Advance(1ms);
        ASSERT_TRUE(korvanta_test::Eventually([&] { return thread.Ticks == tick; }));
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
    WaitForSleepers(clock, 1);
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
