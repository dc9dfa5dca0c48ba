// SPDX-License-Identifier: MIT
#pragma once

// What the benchmarks that time rounds of their own share: the 50th and 99th percentile of the
// rounds after a warm-up, and a client that runs offscreen in a home of its own.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/KorvantaTestSupport.h"

namespace korvanta_bench {

struct Percentiles {
    double P50;
    double P99;
};

// Runs before(i), then round(i) on the clock; keeps the time of a round past the warm-up, in
// microseconds.
template <typename Before, typename Round>
void TimeRound(Before& before, Round& round, int i, int warmUp, std::vector<double>* micros) {
    using Clock = std::chrono::steady_clock;
    before(i);
    const auto start = Clock::now();
    round(i);
    const double elapsed = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    if (i >= warmUp) {
        micros->push_back(elapsed);
    }
}

inline Percentiles PercentilesOf(std::vector<double>* micros) {
    std::sort(micros->begin(), micros->end());
    return {(*micros)[micros->size() / 2], (*micros)[micros->size() * 99 / 100]};
}

// Runs before(i) and round(i) warmUp + rounds times and times the last rounds' round(i) alone,
// in microseconds.
template <typename Before, typename Round>
Percentiles Measure(int rounds, int warmUp, Before before, Round round) {
    std::vector<double> micros;
    micros.reserve(static_cast<size_t>(rounds));
    for (int i = 0; i < warmUp + rounds; ++i) {
        TimeRound(before, round, i, warmUp, &micros);
    }
    return PercentilesOf(&micros);
}

// Runs round(i) warmUp + rounds times and times the last rounds, in microseconds.
template <typename Round>
Percentiles Measure(int rounds, int warmUp, Round round) {
    return Measure(
        rounds, warmUp, [](int) {}, round);
}

// The percentiles of a measured path and of its floor, timed in turn.
struct InTurn {
    Percentiles Measured;
    Percentiles Floor;
};

// Runs measured(i) and floor(i) in turn, warmUp + rounds times each, before(i) ahead of each
// one outside the clock, and times the last rounds of each, in microseconds. Taking turns puts
// both under the same load: on a shared machine whose load moves during a run, timing one
// after the other favours whichever ran in the quieter part.
template <typename Before, typename Measured, typename Floor>
InTurn MeasureInTurn(int rounds, int warmUp, Before before, Measured measured, Floor floor) {
    std::vector<double> measuredMicros;
    std::vector<double> floorMicros;
    measuredMicros.reserve(static_cast<size_t>(rounds));
    floorMicros.reserve(static_cast<size_t>(rounds));
    for (int i = 0; i < warmUp + rounds; ++i) {
        TimeRound(before, measured, i, warmUp, &measuredMicros);
        TimeRound(before, floor, i, warmUp, &floorMicros);
    }
    return {PercentilesOf(&measuredMicros), PercentilesOf(&floorMicros)};
}

// The machine's load over the last minute (-1 when unknown): the machine may be shared.
inline double LoadAverage() {
    double load[1] = {0.0};
    return getloadavg(load, 1) == 1 ? load[0] : -1.0;
}

// Prints what the program measures and answers true when it was asked for --help, so that
// the check of every program's --help need not wait for a run.
inline bool AnswerHelp(int argc, char** argv, const char* what) {
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--help") {
            std::printf("%s: %s\nNo options; prints its figures and exits.\n", argv[0], what);
            return true;
        }
    }
    return false;
}

// A temporary folder that every folder a client reads and writes points at, offscreen, for as
// long as it lives.
class ClientHome {
public:
    ClientHome() {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "KORVANTA_HOME"}) {
            setenv(name, m_Dir.Path().c_str(), 1);
        }
    }

private:
    korvanta_test::TempDir m_Dir;
};

} // namespace korvanta_bench
