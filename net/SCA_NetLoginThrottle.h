// SPDX-License-Identifier: MIT
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <unordered_map>

// Slows down the guessing of passwords without keeping out whoever knows one. After a few
// failed logins from one peer address, that address waits before its next login is checked,
// twice as long after every further failure, up to kLongestWaitMs; the wait runs from the start
// of the latest failed check. A login that comes while its address waits is held, never refused
// unchecked, and every login held when the wait ends is checked then, in one round: so a held
// login is checked at most kLongestWaitMs after it came, however many others its address
// guesses meanwhile, and since a connection sends one request at a time, a round checks at most
// one login per connection (MostChecksPerMinute).
//
// A login that succeeds changes nothing: forgetting the failures would give a guesser on the
// same address fresh tries each time its administrator logs in. Failures are forgotten a while
// after the last one; other addresses are not affected.
//
// Times are milliseconds of the process's clock (SCA_GetClock), given by the caller or, where
// a login is held, read from it. Safe from any thread.
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
    // How often a held login looks whether its connection is still there, in real time.
    static constexpr uint32_t kLookMs = 100;

    // How long address must still wait before its next login is checked; 0: now.
    uint32_t GetWaitMs(const std::string& address, uint64_t nowMs) const;

    // A login from address that came at nowMs: 0 when it may be checked at once, else the
    // round of checks it is held for.
    uint64_t Enter(const std::string& address, uint64_t nowMs);
    // Whether the login held for round may be checked at nowMs. The first login to find its
    // address's wait over opens the round for all that are held with it.
    bool IsTurn(const std::string& address, uint64_t round, uint64_t nowMs);
    // Enter, then holds the login until IsTurn on the process's clock. False, and the login is
    // to be dropped unchecked, once dropped() holds: it is looked at after every Wake, and at
    // least every kLookMs. *startMs: when the check may begin.
    bool AwaitTurn(const std::string& address, const std::function<bool()>& dropped,
                   uint64_t* startMs);
    // Makes every held login look at its dropped() now (a connection stops).
    void Wake();
    // Logins held now.
    uint32_t GetHeldCount() const;

    // The check of a login from address that began at startMs failed.
    void LoginFailed(const std::string& address, uint64_t startMs);

    // The most failed checks an address gets in any minute when at most connections of it
    // hold a login at once: two rounds at the longest wait, plus the failures before the
    // wait reaches it.
    static uint32_t MostChecksPerMinute(uint32_t connections);

    // Milliseconds of the monotonic clock that callers pass as now.
    static uint64_t NowMs();

private:
    struct Failures {
        uint32_t Count = 0;
        uint64_t LastMs = 0;
        // Rounds opened so far: a held login waits for the next one.
        uint64_t Round = 0;
    };

    static uint32_t WaitAfter(uint32_t failures);
    // The failures after which an address waits the longest wait.
    static uint32_t FailuresToLongestWait();
    // Under m_Lock: when address's next check is due (0 for an address without failures).
    uint64_t DueMsLocked(const std::string& address) const;
    uint64_t EnterLocked(const std::string& address, uint64_t nowMs);
    bool IsTurnLocked(const std::string& address, uint64_t round, uint64_t nowMs);
    void ForgetOldest();

    mutable std::mutex m_Lock;
    std::condition_variable m_Changed;
    std::unordered_map<std::string, Failures> m_Addresses;
    uint32_t m_Held = 0;
    // Counts the calls of Wake, so that a held login sees one that came while it looked.
    uint64_t m_Wakes = 0;
};
