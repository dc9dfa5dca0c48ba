// SPDX-License-Identifier: MIT
#pragma once

#include "libmor/SCA_Clock.h"

// The operating system's clocks: CLOCK_MONOTONIC and CLOCK_REALTIME.
class SCA_SystemClock final : public SCA_Clock {
public:
    Monotonic Now() override;
    uint64_t AbsTime() override;
    bool WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                   Monotonic deadline, const std::function<bool()>& ready) override;
};
