// SPDX-License-Identifier: MIT
#pragma once

// What the benchmarks that time rounds of their own share: the 50th and 99th percentile of the
// rounds after a warm-up, a measured path and its floor timed in turn over three windows with
// the load of each and the spread of their figures, and a client that runs offscreen in a home
// of its own.
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

// min/median/max of a figure over windows or runs.
struct Spread {
    std::vector<double> Values;

    void Add(double value) { Values.push_back(value); }
    // "min/median/max" with that many decimals.
    std::string Text(int decimals) const {
        if (Values.empty()) {
            return "-";
        }
        const std::vector<double> sorted = Sorted();
        char text[128];
        std::snprintf(text, sizeof(text), "%.*f/%.*f/%.*f", decimals, sorted.front(), decimals,
                      sorted[sorted.size() / 2], decimals, sorted.back());
        return text;
    }
    double Median() const {
        const std::vector<double> sorted = Sorted();
        return sorted.empty() ? 0.0 : sorted[sorted.size() / 2];
    }
    double Max() const { return Values.empty() ? 0.0 : Sorted().back(); }

private:
    std::vector<double> Sorted() const {
        std::vector<double> sorted = Values;
        std::sort(sorted.begin(), sorted.end());
        return sorted;
    }
};

// One figure over another, window by window.
inline Spread RatiosOf(const Spread& over, const Spread& under) {
    Spread ratios;
    for (size_t window = 0; window < over.Values.size() && window < under.Values.size(); ++window) {
        ratios.Add(over.Values[window] / under.Values[window]);
    }
    return ratios;
}

// A figure timed alone in each window, beside the path and floor timed in turn there: prints
// each window's percentiles, then their spread and, given the floor's p50 of the same windows,
// the ratio to it.
inline void PrintWindowFigure(const char* name, const std::vector<Percentiles>& windows,
                              const Spread* floorP50 = nullptr) {
    Spread p50;
    Spread p99;
    for (size_t window = 0; window < windows.size(); ++window) {
        std::printf("  %s, window %zu: p50 %.1f us p99 %.1f us\n", name, window + 1,
                    windows[window].P50, windows[window].P99);
        p50.Add(windows[window].P50);
        p99.Add(windows[window].P99);
    }
    std::printf("  %s min/median/max: p50 %s us, p99 %s us", name, p50.Text(1).c_str(),
                p99.Text(1).c_str());
    if (floorP50 != nullptr) {
        std::printf("; ratio to the floor p50 %s", RatiosOf(p50, *floorP50).Text(2).c_str());
    }
    std::printf("\n");
}

// Every figure is taken in this many windows, one after the other, and given as the spread of
// its windows: one window alone says as much about the machine's other work as about the code.
constexpr int kWindows = 3;

// The spreads of a measured path and its floor over the windows, and of their ratios.
struct WindowSpreads {
    Spread PathP50;
    Spread PathP99;
    Spread FloorP50;
    Spread FloorP99;
    Spread RatioP50;
    Spread RatioP99;

    void Add(const InTurn& timed) {
        PathP50.Add(timed.Measured.P50);
        PathP99.Add(timed.Measured.P99);
        FloorP50.Add(timed.Floor.P50);
        FloorP99.Add(timed.Floor.P99);
        RatioP50.Add(timed.Measured.P50 / timed.Floor.P50);
        RatioP99.Add(timed.Measured.P99 / timed.Floor.P99);
    }
};

// Runs window(number) kWindows times, each answering the path and the floor timed in turn in
// microseconds, and prints each window's percentiles with the load as it began and ended, then
// the spread of each figure over the windows; path and floor name the two in the lines.
template <typename Window>
WindowSpreads MeasureWindows(const char* path, const char* floor, Window window) {
    WindowSpreads spreads;
    for (int number = 1; number <= kWindows; ++number) {
        const double before = LoadAverage();
        const InTurn timed = window(number);
        std::printf("  window %d (load %.2f -> %.2f): %s p50 %.1f us p99 %.1f us | %s p50 %.1f us "
                    "p99 %.1f us | ratio p50 %.2f p99 %.2f\n",
                    number, before, LoadAverage(), path, timed.Measured.P50, timed.Measured.P99,
                    floor, timed.Floor.P50, timed.Floor.P99, timed.Measured.P50 / timed.Floor.P50,
                    timed.Measured.P99 / timed.Floor.P99);
        spreads.Add(timed);
    }
    std::printf("  min/median/max: %s p50 %s us, p99 %s us; %s p50 %s us, p99 %s us; ratio p50 %s, "
                "p99 %s\n",
                path, spreads.PathP50.Text(1).c_str(), spreads.PathP99.Text(1).c_str(), floor,
                spreads.FloorP50.Text(1).c_str(), spreads.FloorP99.Text(1).c_str(),
                spreads.RatioP50.Text(2).c_str(), spreads.RatioP99.Text(2).c_str());
    return spreads;
}

// Prints whether a figure met its target in every window.
inline bool PrintVerdict(const char* target, bool met) {
    std::printf("  target: %s in every window: %s\n", target, met ? "PASS" : "FAIL");
    return met;
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
