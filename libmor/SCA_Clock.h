// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

#include "libmor/SCA_Sync.h"

// Where the process reads the time and waits for it to pass. Everything that measures or waits
// asks the current clock, so that tests can replace it with one they move (SCA_ManualClock)
// instead of sleeping. A timed wait belongs to the clock too: a thread waiting for a deadline
// must wake when a test moves the clock, not when real time reaches it.
//
// One clock serves the whole process (rather than one per object) because the threads that wait
// sit deep below the objects tests build; replacing it is for tests, before they start threads.
class SCA_Clock {
public:
    using Monotonic = std::chrono::steady_clock::time_point;
    // A deadline that never comes.
    static constexpr Monotonic kNever = Monotonic::max();

    SCA_Clock() = default;
    virtual ~SCA_Clock() = default;
    SCA_Clock(const SCA_Clock&) = delete;
    SCA_Clock& operator=(const SCA_Clock&) = delete;

    // Monotonic time: for intervals and deadlines, never for dates.
    virtual Monotonic Now() = 0;
    // Wall time in 100-ns units since 1970-01-01 00:00 UTC (see SCA_Time.h).
    virtual uint64_t AbsTime() = 0;
    // Waits on cv, with lock held, until ready() holds or deadline has come on this clock;
    // whether ready() held. cv is notified by whoever makes ready() true.
    virtual bool WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                           Monotonic deadline, const std::function<bool()>& ready) = 0;

    // WaitUntil for timeoutMs from now; SCA_INFINITE waits for ever.
    bool WaitFor(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                 uint32_t timeoutMs, const std::function<bool()>& ready);
    // Lets timeoutMs pass on this clock. For pacing only: whoever waits for something to happen
    // waits on it (WaitFor), not for a time.
    void SleepFor(uint32_t timeoutMs);
    // The deadline timeoutMs from now; kNever for SCA_INFINITE.
    Monotonic DeadlineIn(uint32_t timeoutMs);
    // Milliseconds on the monotonic clock since an arbitrary start.
    uint64_t MonotonicMs();
};

// The clock the process uses: the system clock unless a test installed another.
SCA_Clock& SCA_GetClock();
// Makes clock the current one (null: the system clock again); answers the previous one.
SCA_Clock* SCA_SetClock(SCA_Clock* clock);
