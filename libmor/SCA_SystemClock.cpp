// SPDX-License-Identifier: MIT
#include "libmor/SCA_SystemClock.h"

#include <ctime>

#include "libmor/SCA_Time.h"

SCA_Clock::Monotonic SCA_SystemClock::Now() {
    return std::chrono::steady_clock::now();
}

uint64_t SCA_SystemClock::AbsTime() {
    struct timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<uint64_t>(now.tv_sec) * SCA_ABS_TIME_SECOND +
           static_cast<uint64_t>(now.tv_nsec) / 100;
}

bool SCA_SystemClock::WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                                Monotonic deadline, const std::function<bool()>& ready) {
    if (deadline == kNever) {
        cv.wait(lock, ready);
        return true;
    }
    return cv.wait_until(lock, deadline, ready);
}
