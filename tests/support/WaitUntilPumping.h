// SPDX-License-Identifier: MIT
#pragma once

// The wait of WaitUntil.h for a test whose condition comes about through the Qt event loop of
// its own thread (a timer, a socket, a process's output): the loop runs between looks.

#include <QEventLoop>
#include <QTimer>

#include "tests/support/WaitUntil.h"

namespace korvanta_test {

// Runs this thread's event loop for step: timers fire and queued work is done meanwhile.
inline void PumpEvents(std::chrono::milliseconds step) {
    QEventLoop loop;
    QTimer::singleShot(step, &loop, &QEventLoop::quit);
    loop.exec();
}

template <typename Done>
::testing::AssertionResult WaitUntilPumping(std::string_view what, Done&& done,
                                            std::chrono::milliseconds deadline = kWaitDeadline) {
    return WaitUntilWith(what, std::forward<Done>(done), PumpEvents, deadline);
}

} // namespace korvanta_test
