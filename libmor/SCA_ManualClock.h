// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstddef>
#include <mutex>
#include <unordered_map>

#include "libmor/SCA_Clock.h"

// A clock that stands still until a test moves it. While it lives it is the process's current
// clock (the one it replaced comes back when it is destroyed), so create it before the threads
// that should see it. Moving it wakes every thread waiting on it.
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

private:
    void WakeWaiters();

    SCA_Clock* m_Previous;
    std::mutex m_Lock;
    Monotonic m_Now;
    uint64_t m_AbsTime;
    // The condition variables being waited on with a deadline, with how many wait on each.
    std::unordered_map<std::condition_variable*, size_t> m_Waiting;
};
