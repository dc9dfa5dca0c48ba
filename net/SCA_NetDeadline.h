// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <climits>
#include <cstdint>

#include "libmor/SCA_Sync.h"

// The moment a wait must end, on the monotonic clock, so that a wait made of several polls
// (a frame arriving in parts, a poll interrupted by a signal) still ends on time.
// SCA_INFINITE never ends.
//
// It reads the system's monotonic clock, not the process's replaceable one: the waits it bounds
// are poll() calls that the kernel ends, which a test clock could not shorten.
class SCA_NetDeadline {
public:
    explicit SCA_NetDeadline(uint32_t timeoutMs)
        : m_Infinite(timeoutMs == SCA_INFINITE),
          m_End(Clock::now() + std::chrono::milliseconds(timeoutMs)) {}

    bool IsInfinite() const { return m_Infinite; }
    bool Passed() const { return !m_Infinite && Clock::now() >= m_End; }

    // Milliseconds left, rounded up so that a poll never wakes just before the end and spins;
    // SCA_INFINITE without an end.
    uint32_t RemainingMs() const {
        if (m_Infinite) {
            return SCA_INFINITE;
        }
        const auto left = m_End - Clock::now();
        if (left <= Clock::duration::zero()) {
            return 0;
        }
        const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
        return ms >= static_cast<long long>(SCA_INFINITE) ? SCA_INFINITE - 1
                                                          : static_cast<uint32_t>(ms);
    }

    // The time-out argument of poll(): -1 without an end.
    static int ForPoll(uint32_t timeoutMs) {
        if (timeoutMs == SCA_INFINITE) {
            return -1;
        }
        return timeoutMs > static_cast<uint32_t>(INT_MAX) ? INT_MAX : static_cast<int>(timeoutMs);
    }

private:
    using Clock = std::chrono::steady_clock;

    bool m_Infinite;
    Clock::time_point m_End;
};
