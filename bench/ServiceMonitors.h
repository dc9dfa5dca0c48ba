// SPDX-License-Identifier: MIT
#pragma once

// The counter monitors the service benches set up in a real korvas.
#include <cstdint>
#include <string>

#include "libtez/SCA_KorvantaInterface.h"
#include "model/SCA_SrvMonitor.h"

namespace korvanta_bench {

// Ten counters that sample on any Linux machine: CPU (total, user, system), memory (usage,
// available), disk (activity, transfer rate), network transfer rate, processes and threads.
inline constexpr uint32_t kServiceCounterTypes[] = {1, 2, 3, 4, 5, 7, 10, 16, 38, 39};

// Adds a counter monitor of the system mode named name with those ten counters, and starts it
// when asked; false when the service refused a step.
inline bool AddCounterMonitor(SCA_KorvantaInterface* client, const std::string& name, bool start) {
    constexpr uint32_t kSystemMode = 0;
    uint32_t id = 0;
    if (!client->AddMonitor(SCA_SRV_MONITOR_COUNTERS, kSystemMode, name.c_str(), &id) ||
        !client->DeleteAllCounters(id)) {
        return false;
    }
    for (const uint32_t type : kServiceCounterTypes) {
        uint32_t counter = 0;
        if (!client->AddCounter(id, type, "", "", "", &counter)) {
            return false;
        }
    }
    return !start || client->StartMonitor(id) == 1;
}

} // namespace korvanta_bench
