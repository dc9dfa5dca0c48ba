// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>

// Slows down the guessing of passwords: after a few failed logins from one peer address, that
// address must wait before its next login is checked, twice as long after every further
// failure, up to a limit. A login that succeeds forgets the address's failures, and failures
// are forgotten a while after the last one. Other addresses are not affected. Times are
// milliseconds of a monotonic clock, given by the caller. Safe from any thread.
class SCA_NetLoginThrottle {
public:
    // Failures an address may have before it must wait.
    static constexpr uint32_t kFreeFailures = 3;
    static constexpr uint32_t kFirstWaitMs = 1000;
    static constexpr uint32_t kLongestWaitMs = 30000;
    // How long after its last failure an address is forgotten.
    static constexpr uint64_t kForgetMs = 15 * 60 * 1000;
    // Addresses kept at most; beyond, the one whose last failure is oldest is forgotten.
    static constexpr size_t kMaxAddresses = 4096;

    // How long address must still wait before its next login is checked; 0: now.
    uint32_t GetWaitMs(const std::string& address, uint64_t nowMs) const;
    void LoginFailed(const std::string& address, uint64_t nowMs);
    void LoginSucceeded(const std::string& address);

    // Milliseconds of the monotonic clock that callers pass as now.
    static uint64_t NowMs();

private:
    struct Failures {
        uint32_t Count = 0;
        uint64_t LastMs = 0;
    };

    static uint32_t WaitAfter(uint32_t failures);
    void ForgetOldest();

    mutable std::mutex m_Lock;
    std::unordered_map<std::string, Failures> m_Addresses;
};
