// SPDX-License-Identifier: MIT
#pragma once

// Driving threads that wait on the process's clock from a test, without real time passing.

#include <chrono>
#include <cstddef>

#include "libmor/SCA_ManualClock.h"
#include "tests/support/WaitUntil.h"

namespace korvanta_test {

// Waits until at least count threads sleep on the clock, so that moving it reaches them.
inline bool SleepersOn(SCA_ManualClock& clock, size_t count = 1) {
    return static_cast<bool>(
        WaitUntil("threads to sleep on the clock", [&] { return clock.Waiters() >= count; }));
}

// Moves the clock step by step, each time some thread sleeps on it, until done() holds; whether
// it held before the wait's deadline. For conditions that need time to pass an unknown number of
// times (periodic threads that may also be busy when the clock moves).
template <typename Done>
bool AdvanceUntil(SCA_ManualClock& clock, std::chrono::milliseconds step, Done&& done) {
    return static_cast<bool>(WaitUntil("the state the clock brings about", [&] {
        if (done()) {
            return true;
        }
        if (clock.Waiters() > 0) {
            clock.Advance(step);
        }
        return done();
    }));
}

} // namespace korvanta_test
