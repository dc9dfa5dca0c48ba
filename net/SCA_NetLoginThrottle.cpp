// SPDX-License-Identifier: MIT
#include "net/SCA_NetLoginThrottle.h"

#include <algorithm>
#include <chrono>

#include "libmor/SCA_Clock.h"

namespace {

constexpr uint64_t kMinuteMs = 60 * 1000;

} // namespace

uint32_t SCA_NetLoginThrottle::WaitAfter(uint32_t failures) {
    if (failures < kFreeFailures) {
        return 0;
    }
    uint64_t wait = kFirstWaitMs;
    for (uint32_t i = kFreeFailures; i < failures && wait < kLongestWaitMs; ++i) {
        wait *= 2;
    }
    return static_cast<uint32_t>(std::min<uint64_t>(wait, kLongestWaitMs));
}

uint32_t SCA_NetLoginThrottle::FailuresToLongestWait() {
    uint32_t failures = kFreeFailures;
    while (WaitAfter(failures) < kLongestWaitMs) {
        ++failures;
    }
    return failures;
}

uint32_t SCA_NetLoginThrottle::MostChecksPerMinute(uint32_t connections) {
    // Rounds at the longest wait come at least that far apart; the rounds before it, whose
    // waits are shorter, are all but the last one made of fewer failures than bring the wait
    // to the longest, and that last one of at most one check per connection.
    const uint32_t longRounds = static_cast<uint32_t>(kMinuteMs / kLongestWaitMs);
    return connections * longRounds + FailuresToLongestWait() - 1;
}

uint64_t SCA_NetLoginThrottle::DueMsLocked(const std::string& address) const {
    const auto found = m_Addresses.find(address);
    if (found == m_Addresses.end()) {
        return 0;
    }
    return found->second.LastMs + WaitAfter(found->second.Count);
}

uint32_t SCA_NetLoginThrottle::GetWaitMs(const std::string& address, uint64_t nowMs) const {
    std::lock_guard<std::mutex> hold(m_Lock);
    const uint64_t due = DueMsLocked(address);
    return due > nowMs ? static_cast<uint32_t>(due - nowMs) : 0;
}

uint64_t SCA_NetLoginThrottle::Enter(const std::string& address, uint64_t nowMs) {
    std::lock_guard<std::mutex> hold(m_Lock);
    return EnterLocked(address, nowMs);
}

uint64_t SCA_NetLoginThrottle::EnterLocked(const std::string& address, uint64_t nowMs) {
    const auto found = m_Addresses.find(address);
    if (found == m_Addresses.end()) {
        return 0;
    }
    if (nowMs >= DueMsLocked(address)) {
        // Those held for this round are as due as this login: none of them may be left for
        // the next because this one failed first.
        ++found->second.Round;
        return 0;
    }
    return found->second.Round + 1;
}

bool SCA_NetLoginThrottle::IsTurn(const std::string& address, uint64_t round, uint64_t nowMs) {
    std::lock_guard<std::mutex> hold(m_Lock);
    return IsTurnLocked(address, round, nowMs);
}

bool SCA_NetLoginThrottle::IsTurnLocked(const std::string& address, uint64_t round,
                                        uint64_t nowMs) {
    const auto found = m_Addresses.find(address);
    if (round == 0 || found == m_Addresses.end() || found->second.Round >= round) {
        return true;
    }
    if (nowMs < DueMsLocked(address)) {
        return false;
    }
    ++found->second.Round;
    return true;
}

bool SCA_NetLoginThrottle::AwaitTurn(const std::string& address,
                                     const std::function<bool()>& dropped, uint64_t* startMs) {
    SCA_Clock& clock = SCA_GetClock();
    std::unique_lock<std::mutex> hold(m_Lock);
    uint64_t now = clock.MonotonicMs();
    const uint64_t round = EnterLocked(address, now);
    ++m_Held;
    bool turn = false;
    // A login its address need not hold is checked whatever its connection is doing: only one
    // that waits for its turn is given up when its client goes.
    for (;;) {
        now = clock.MonotonicMs();
        if (IsTurnLocked(address, round, now)) {
            turn = true;
            break;
        }
        if (dropped()) {
            break;
        }
        const uint64_t due = DueMsLocked(address);
        const uint64_t waitMs = std::min<uint64_t>(due > now ? due - now : 0, kLookMs);
        const uint64_t wakes = m_Wakes;
        clock.WaitUntil(m_Changed, hold, clock.Now() + std::chrono::milliseconds(waitMs),
                        [&] { return m_Wakes != wakes || dropped(); });
    }
    --m_Held;
    if (turn && startMs != nullptr) {
        *startMs = now;
    }
    return turn;
}

void SCA_NetLoginThrottle::Wake() {
    {
        std::lock_guard<std::mutex> hold(m_Lock);
        ++m_Wakes;
    }
    m_Changed.notify_all();
}

uint32_t SCA_NetLoginThrottle::GetHeldCount() const {
    std::lock_guard<std::mutex> hold(m_Lock);
    return m_Held;
}

void SCA_NetLoginThrottle::LoginFailed(const std::string& address, uint64_t startMs) {
    std::lock_guard<std::mutex> hold(m_Lock);
    auto found = m_Addresses.find(address);
    if (found != m_Addresses.end() && startMs >= found->second.LastMs &&
        startMs - found->second.LastMs >= kForgetMs) {
        // Logins held for the next round still wait for it.
        found->second.Count = 0;
    }
    if (found == m_Addresses.end()) {
        if (m_Addresses.size() >= kMaxAddresses) {
            ForgetOldest();
        }
        found = m_Addresses.emplace(address, Failures{}).first;
    }
    ++found->second.Count;
    // Checks of one round may end in any order: the wait runs from the latest start.
    found->second.LastMs = std::max(found->second.LastMs, startMs);
}

void SCA_NetLoginThrottle::ForgetOldest() {
    const auto oldest =
        std::min_element(m_Addresses.begin(), m_Addresses.end(), [](const auto& a, const auto& b) {
            return a.second.LastMs < b.second.LastMs;
        });
    if (oldest != m_Addresses.end()) {
        m_Addresses.erase(oldest);
    }
}

uint64_t SCA_NetLoginThrottle::NowMs() {
    return SCA_GetClock().MonotonicMs();
}
