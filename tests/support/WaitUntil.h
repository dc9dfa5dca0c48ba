// SPDX-License-Identifier: MIT
#pragma once

// The one way a test waits for something another thread or process brings about: look again
// until it holds, up to a deadline far beyond any honest delay, and fail naming what never came.
// A test asserts on the condition it waited for, never on what happened within some time.

#include <chrono>
#include <string>
#include <string_view>
#include <thread>
#include <utility>

#include <gtest/gtest.h>

namespace korvanta_test {

// Long enough for a sanitizer build on a machine at load 20; a wait that runs out is a fault,
// not a slow machine.
inline constexpr std::chrono::milliseconds kWaitDeadline = std::chrono::seconds(60);
// Often enough that a test ends soon after its condition holds.
inline constexpr std::chrono::milliseconds kWaitStep{5};

// Looks at done() until it holds or deadline passes, calling pause(kWaitStep) between looks
// (the caller's way to let time pass: sleep, or run an event loop). Converts to whether done()
// held; its message names what was awaited.
template <typename Done, typename Pause>
::testing::AssertionResult WaitUntilWith(std::string_view what, Done&& done, Pause&& pause,
                                         std::chrono::milliseconds deadline = kWaitDeadline) {
    const auto start = std::chrono::steady_clock::now();
    while (!done()) {
        const auto waited = std::chrono::steady_clock::now() - start;
        if (waited > deadline) {
            return ::testing::AssertionFailure()
                   << "waited "
                   << std::chrono::duration_cast<std::chrono::milliseconds>(waited).count()
                   << " ms for " << what << ", and it never came";
        }
        pause(kWaitStep);
    }
    return ::testing::AssertionSuccess();
}

// The same for a test whose condition is brought about by other threads or processes alone.
template <typename Done>
::testing::AssertionResult WaitUntil(std::string_view what, Done&& done,
                                     std::chrono::milliseconds deadline = kWaitDeadline) {
    return WaitUntilWith(
        what, std::forward<Done>(done),
        [](std::chrono::milliseconds step) { std::this_thread::sleep_for(step); }, deadline);
}

} // namespace korvanta_test
