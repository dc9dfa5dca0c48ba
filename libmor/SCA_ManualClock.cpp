// SPDX-License-Identifier: MIT
#include "libmor/SCA_ManualClock.h"

#include "libmor/SCA_SystemClock.h"
#include "libmor/SCA_Time.h"

namespace {

// How often a waiter looks at the clock again in real time. Advance notifies every waiter, but
// it cannot hold the waiters' own locks, so a notification can fall between a waiter's look at
// the clock and its sleep; the next look catches it.
constexpr std::chrono::milliseconds kLookAgain{5};

} // namespace

SCA_ManualClock::SCA_ManualClock() {
    SCA_SystemClock system;
    m_Now = system.Now();
    m_AbsTime = system.AbsTime();
    m_Previous = SCA_SetClock(this);
}

SCA_ManualClock::~SCA_ManualClock() {
    SCA_SetClock(m_Previous);
}

SCA_Clock::Monotonic SCA_ManualClock::Now() {
    std::lock_guard<std::mutex> hold(m_Lock);
    return m_Now;
}

uint64_t SCA_ManualClock::AbsTime() {
    std::lock_guard<std::mutex> hold(m_Lock);
    return m_AbsTime;
}

bool SCA_ManualClock::WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                                Monotonic deadline, const std::function<bool()>& ready) {
    if (deadline == kNever) {
        cv.wait(lock, ready);
        return true;
    }
    {
        std::lock_guard<std::mutex> hold(m_Lock);
        ++m_Waiting[&cv];
    }
    bool held = ready();
    while (!held && Now() < deadline) {
        cv.wait_for(lock, kLookAgain);
        held = ready();
    }
    std::lock_guard<std::mutex> hold(m_Lock);
    if (--m_Waiting[&cv] == 0) {
        m_Waiting.erase(&cv);
    }
    return held;
}

void SCA_ManualClock::Advance(std::chrono::milliseconds step) {
    std::lock_guard<std::mutex> hold(m_Lock);
    m_Now += step;
    m_AbsTime += static_cast<uint64_t>(step.count()) * (SCA_ABS_TIME_SECOND / 1000);
    WakeWaiters();
}

void SCA_ManualClock::SetAbsTime(uint64_t absTime) {
    std::lock_guard<std::mutex> hold(m_Lock);
    m_AbsTime = absTime;
    WakeWaiters();
}

size_t SCA_ManualClock::Waiters() {
    std::lock_guard<std::mutex> hold(m_Lock);
    size_t count = 0;
    for (const auto& entry : m_Waiting) {
        count += entry.second;
    }
    return count;
}

void SCA_ManualClock::WakeWaiters() {
    // Called with m_Lock held: a registered condition variable outlives its registration.
    for (const auto& entry : m_Waiting) {
        entry.first->notify_all();
    }
}
