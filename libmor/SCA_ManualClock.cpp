// SPDX-License-Identifier: MIT
#include "libmor/SCA_ManualClock.h"

#include <memory>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "libmor/SCA_SystemClock.h"
#include "libmor/SCA_Time.h"

namespace {

// How often a waiter looks at the clock again in real time. Advance notifies every waiter, but
// it cannot hold the waiters' own locks, so a notification can fall between a waiter's look at
// the clock and its sleep; the next look catches it.
constexpr std::chrono::milliseconds kLookAgain{5};

} // namespace

// The part of a manual clock the process holds: its time and its waiters, and after the clock
// is destroyed a stand-in for the clock it replaced.
class SCA_ManualClock::Kept final : public SCA_Clock {
public:
    explicit Kept(SCA_Clock* previous) : m_Previous(previous) {
        SCA_SystemClock system;
        m_Now = system.Now();
        m_AbsTime = system.AbsTime();
    }

    Monotonic Now() override {
        std::unique_lock<std::mutex> hold(m_Lock);
        if (m_Retired) {
            hold.unlock();
            return m_Previous->Now();
        }
        return m_Now;
    }

    uint64_t AbsTime() override {
        std::unique_lock<std::mutex> hold(m_Lock);
        if (m_Retired) {
            hold.unlock();
            return m_Previous->AbsTime();
        }
        return m_AbsTime;
    }

    bool WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                   Monotonic deadline, const std::function<bool()>& ready) override {
        if (deadline == kNever) {
            cv.wait(lock, ready);
            return true;
        }
        Register(&cv);
        bool held = ready();
        auto [now, retired] = Look();
        while (!held && now < deadline && !retired) {
            cv.wait_for(lock, kLookAgain);
            held = ready();
            std::tie(now, retired) = Look();
        }
        Unregister(&cv);
        if (held || now >= deadline) {
            return held;
        }
        // The test's clock is gone: the rest of the wait is the current clock's.
        SCA_Clock& current = SCA_GetClock();
        return current.WaitUntil(cv, lock, current.Now() + (deadline - now), ready);
    }

    void Advance(std::chrono::milliseconds step) {
        std::lock_guard<std::mutex> hold(m_Lock);
        m_Now += step;
        m_AbsTime += static_cast<uint64_t>(step.count()) * (SCA_ABS_TIME_SECOND / 1000);
        WakeWaiters();
    }

    void SetAbsTime(uint64_t absTime) {
        std::lock_guard<std::mutex> hold(m_Lock);
        m_AbsTime = absTime;
        WakeWaiters();
    }

    size_t Waiters() {
        std::lock_guard<std::mutex> hold(m_Lock);
        size_t count = 0;
        for (const auto& entry : m_Waiting) {
            count += entry.second;
        }
        return count;
    }

    void Retire() {
        std::lock_guard<std::mutex> hold(m_Lock);
        m_Retired = true;
        WakeWaiters();
    }

private:
    // The manual time as the clock stands, and whether the test's clock is gone. Once it is, a
    // waiter stops at the time it last saw and carries the rest over.
    std::pair<Monotonic, bool> Look() {
        std::lock_guard<std::mutex> hold(m_Lock);
        return {m_Now, m_Retired};
    }

    void Register(std::condition_variable* cv) {
        std::lock_guard<std::mutex> hold(m_Lock);
        ++m_Waiting[cv];
    }

    void Unregister(std::condition_variable* cv) {
        std::lock_guard<std::mutex> hold(m_Lock);
        if (--m_Waiting[cv] == 0) {
            m_Waiting.erase(cv);
        }
    }

    void WakeWaiters() {
        // Called with m_Lock held: a registered condition variable outlives its registration.
        for (const auto& entry : m_Waiting) {
            entry.first->notify_all();
        }
    }

    // The system clock or another kept part: both live as long as the process.
    SCA_Clock* const m_Previous;
    std::mutex m_Lock;
    Monotonic m_Now;
    uint64_t m_AbsTime;
    // The condition variables being waited on with a deadline, with how many wait on each.
    std::unordered_map<std::condition_variable*, size_t> m_Waiting;
    bool m_Retired = false;
};

namespace {

// A test program makes a few hundred manual clocks at most; keeping their parts reachable to the
// end costs little and is what makes a late reader safe.
SCA_ManualClock::Kept* KeepForTheProcess(std::unique_ptr<SCA_ManualClock::Kept> clock) {
    static std::mutex lock;
    static auto* kept = new std::vector<std::unique_ptr<SCA_ManualClock::Kept>>();
    std::lock_guard<std::mutex> hold(lock);
    kept->push_back(std::move(clock));
    return kept->back().get();
}

} // namespace

SCA_ManualClock::SCA_ManualClock()
    : m_Previous(&SCA_GetClock()), m_Kept(KeepForTheProcess(std::make_unique<Kept>(m_Previous))) {
    SCA_SetClock(m_Kept);
}

SCA_ManualClock::~SCA_ManualClock() {
    SCA_SetClock(m_Previous);
    m_Kept->Retire();
}

SCA_Clock::Monotonic SCA_ManualClock::Now() {
    return m_Kept->Now();
}

uint64_t SCA_ManualClock::AbsTime() {
    return m_Kept->AbsTime();
}

bool SCA_ManualClock::WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                                Monotonic deadline, const std::function<bool()>& ready) {
    return m_Kept->WaitUntil(cv, lock, deadline, ready);
}

void SCA_ManualClock::Advance(std::chrono::milliseconds step) {
    m_Kept->Advance(step);
}

void SCA_ManualClock::SetAbsTime(uint64_t absTime) {
    m_Kept->SetAbsTime(absTime);
}

size_t SCA_ManualClock::Waiters() {
    return m_Kept->Waiters();
}
