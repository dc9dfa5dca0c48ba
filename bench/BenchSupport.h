// SPDX-License-Identifier: MIT
#pragma once

// What the benchmarks that time rounds of their own share: the 50th and 99th percentile of the
// rounds after a warm-up, and a client that runs offscreen in a home of its own.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

namespace korvanta_bench {

struct Percentiles {
    double P50;
    double P99;
};

// Runs round(i) warmUp + rounds times and times the last rounds, in microseconds.
template <typename Round>
Percentiles Measure(int rounds, int warmUp, Round round) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> micros;
    micros.reserve(static_cast<size_t>(rounds));
    for (int i = 0; i < warmUp + rounds; ++i) {
        const auto start = Clock::now();
        round(i);
        const double elapsed =
            std::chrono::duration<double, std::micro>(Clock::now() - start).count();
        if (i >= warmUp) {
            micros.push_back(elapsed);
        }
    }
    std::sort(micros.begin(), micros.end());
    return {micros[micros.size() / 2], micros[micros.size() * 99 / 100]};
}

// Offscreen, with every folder a client reads and writes in folder (a temporary one).
inline void RunClientIn(const std::string& folder) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "KORVANTA_HOME"}) {
        setenv(name, folder.c_str(), 1);
    }
}

} // namespace korvanta_bench
