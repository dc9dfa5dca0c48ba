// SPDX-License-Identifier: MIT
#include "net/SCA_NetLoginThrottle.h"

#include <algorithm>

#include "libmor/SCA_Clock.h"

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

uint32_t SCA_NetLoginThrottle::GetWaitMs(const std::string& address, uint64_t nowMs) const {
    std::lock_guard<std::mutex> hold(m_Lock);
    const auto found = m_Addresses.find(address);
    if (found == m_Addresses.end()) {
        return 0;
    }
    const uint64_t until = found->second.LastMs + WaitAfter(found->second.Count);
    return until > nowMs ? static_cast<uint32_t>(until - nowMs) : 0;
}

void SCA_NetLoginThrottle::LoginFailed(const std::string& address, uint64_t nowMs) {
    std::lock_guard<std::mutex> hold(m_Lock);
    auto found = m_Addresses.find(address);
    if (found != m_Addresses.end() && nowMs - found->second.LastMs >= kForgetMs) {
        found->second = Failures{};
    }
    if (found == m_Addresses.end()) {
        if (m_Addresses.size() >= kMaxAddresses) {
            ForgetOldest();
        }
        found = m_Addresses.emplace(address, Failures{}).first;
    }
    ++found->second.Count;
    found->second.LastMs = nowMs;
}

void SCA_NetLoginThrottle::LoginSucceeded(const std::string& address) {
    std::lock_guard<std::mutex> hold(m_Lock);
    m_Addresses.erase(address);
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
