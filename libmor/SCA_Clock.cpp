// SPDX-License-Identifier: MIT
#include "libmor/SCA_Clock.h"

#include <atomic>

#include "libmor/SCA_SystemClock.h"

namespace {

SCA_SystemClock& SystemClock() {
    static SCA_SystemClock clock;
    return clock;
}

std::atomic<SCA_Clock*> g_Current{nullptr};

} // namespace

bool SCA_Clock::WaitFor(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                        uint32_t timeoutMs, const std::function<bool()>& ready) {
    if (timeoutMs == SCA_INFINITE) {
        // No deadline, so no clock can end it: only ready() can.
        cv.wait(lock, ready);
        return true;
    }
    return WaitUntil(cv, lock, DeadlineIn(timeoutMs), ready);
}

void SCA_Clock::SleepFor(uint32_t timeoutMs) {
    std::mutex mutex;
    std::condition_variable never;
    std::unique_lock<std::mutex> lock(mutex);
    WaitUntil(never, lock, DeadlineIn(timeoutMs), [] { return false; });
}

SCA_Clock::Monotonic SCA_Clock::DeadlineIn(uint32_t timeoutMs) {
    if (timeoutMs == SCA_INFINITE) {
        return kNever;
    }
    return Now() + std::chrono::milliseconds(timeoutMs);
}

uint64_t SCA_Clock::MonotonicMs() {
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Now().time_since_epoch()).count());
}

SCA_Clock& SCA_GetClock() {
    SCA_Clock* current = g_Current.load(std::memory_order_acquire);
    return current != nullptr ? *current : SystemClock();
}

SCA_Clock* SCA_SetClock(SCA_Clock* clock) {
    SCA_Clock* previous = g_Current.exchange(clock, std::memory_order_acq_rel);
    return previous != nullptr ? previous : &SystemClock();
}
