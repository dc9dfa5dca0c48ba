// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstddef>

#include "libmor/SCA_Clock.h"

// A clock that stands still until a test moves it. While it lives it is the process's current
// clock; the one it replaced comes back when it is destroyed. Moving it wakes every thread
// waiting on it. Create it before the threads that should see it: a wait begun before keeps its
// clock.
//
// Threads may still hold it when it goes: a service's thread that read the current clock just
// before a test ended. So what the process holds is a part that lives as long as the process;
// once this clock is destroyed, that part answers with the clock it replaced, and threads
// waiting on it wait out what is left of their time on the current one.
class SCA_ManualClock final : public SCA_Clock {
public:
    SCA_ManualClock();
    ~SCA_ManualClock() override;

    Monotonic Now() override;
    uint64_t AbsTime() override;
    bool WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                   Monotonic deadline, const std::function<bool()>& ready) override;

    // Moves monotonic and wall time forward together and wakes the waiters.
    void Advance(std::chrono::milliseconds step);
    // Sets the wall time (100-ns units since 1970) alone, as a user changing the date would;
    // wakes the waiters.
    void SetAbsTime(uint64_t absTime);
    // How many threads wait on this clock with a deadline: lets a test move the clock only
    // once the thread it drives has gone to sleep.
    size_t Waiters();

    class Kept;

private:
    SCA_Clock* m_Previous;
    Kept* m_Kept; // owned by the process, see above
};
