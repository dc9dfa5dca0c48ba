// SPDX-License-Identifier: MIT
// One second's samples of a monitor of ten counters whose ten-minute rings are full, added to
// their sample stores, against the least that keeps the same figures: a plain ring of values
// and times per counter, the run's count, total, minimum and maximum, and three plain running
// sums over the newest 10, 30 and 60 values (a queue of the values in the windows). One sample
// in twenty is a gap. Three windows of each, interleaved in the same run; the ratio per window
// as min/median/max, and the load average.
//
// Usage: bench_sample_store [TICKS_PER_WINDOW] (default 200000)
#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <limits>
#include <vector>

#include "model/SCA_TezSampleStore.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kCounters = 10;
constexpr int kWindows = 3;
constexpr int kDefaultTicks = 200000;
constexpr int kGapEvery = 20;
constexpr uint64_t kSecond = 10000000ull;
constexpr uint32_t kAverageSizes[] = {10, 30, 60};

double ValueAt(int tick, int counter) {
    return 50.0 + 30.0 * std::sin(tick / 23.0 + counter) + (tick % 7);
}

// The floor: what any store of these figures must do for a sample.
class PlainCounter {
public:
    PlainCounter() : m_Values(SCA_TEZ_LIVE_SAMPLES), m_Times(SCA_TEZ_LIVE_SAMPLES) {}

    void Add(uint64_t time, double value, bool hasValue) {
        m_Values[m_Next] = hasValue ? value : std::numeric_limits<double>::quiet_NaN();
        m_Times[m_Next] = time;
        m_Next = (m_Next + 1) % SCA_TEZ_LIVE_SAMPLES;
        if (!hasValue) {
            return;
        }
        m_Min = m_Count == 0 ? value : std::min(m_Min, value);
        m_Max = m_Count == 0 ? value : std::max(m_Max, value);
        m_Total += value;
        ++m_Count;
        for (int w = 0; w < kWindows; ++w) {
            Window& window = m_Averages[w];
            window.Values.push_back(value);
            window.Sum += value;
            if (window.Values.size() > kAverageSizes[w]) {
                window.Sum -= window.Values.front();
                window.Values.pop_front();
            }
        }
    }
    double Average60() const {
        return m_Averages[2].Sum / static_cast<double>(m_Averages[2].Values.size());
    }

private:
    struct Window {
        std::deque<double> Values;
        double Sum = 0.0;
    };
    std::vector<double> m_Values;
    std::vector<uint64_t> m_Times;
    uint32_t m_Next = 0;
    uint32_t m_Count = 0;
    double m_Min = 0.0;
    double m_Max = 0.0;
    double m_Total = 0.0;
    std::array<Window, kWindows> m_Averages;
};

template <typename Counters, typename AddOne>
double TimeTicks(Counters* counters, int* tick, int ticks, AddOne addOne) {
    const auto start = Clock::now();
    double sink = 0.0;
    for (int t = 0; t < ticks; ++t, ++*tick) {
        for (int c = 0; c < kCounters; ++c) {
            sink += addOne(&(*counters)[c], *tick, c);
        }
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return sink == 0.123 ? 0.0 : seconds; // keeps the figures from being optimised away
}

double LoadAverage() {
    double load[1] = {0.0};
    return getloadavg(load, 1) == 1 ? load[0] : -1.0;
}

} // namespace

int main(int argc, char** argv) {
    const int ticks = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultTicks;
    std::vector<SCA_TezSampleStore> stores(kCounters);
    std::vector<PlainCounter> plain(kCounters);
    int storeTick = 0;
    int plainTick = 0;
    const auto addToStore = [](SCA_TezSampleStore* store, int tick, int counter) {
        store->AddSample(static_cast<uint64_t>(tick + 1) * kSecond, ValueAt(tick, counter),
                         tick % kGapEvery != 0);
        return store->GetAverage60()->GetAverageValue();
    };
    const auto addToPlain = [](PlainCounter* counter, int tick, int index) {
        counter->Add(static_cast<uint64_t>(tick + 1) * kSecond, ValueAt(tick, index),
                     tick % kGapEvery != 0);
        return counter->Average60();
    };
    // Rings full first, as after ten minutes of sampling.
    TimeTicks(&stores, &storeTick, SCA_TEZ_LIVE_SAMPLES, addToStore);
    TimeTicks(&plain, &plainTick, SCA_TEZ_LIVE_SAMPLES, addToPlain);
    std::vector<double> ratios;
    std::printf("%d ticks of %d counters per window\n", ticks, kCounters);
    for (int w = 0; w < kWindows; ++w) {
        const double load = LoadAverage();
        const double store = TimeTicks(&stores, &storeTick, ticks, addToStore);
        const double floor = TimeTicks(&plain, &plainTick, ticks, addToPlain);
        const double perSampleStore = store / ticks / kCounters * 1e9;
        const double perSampleFloor = floor / ticks / kCounters * 1e9;
        std::printf("window %d (load %.2f): sample store %.1f ns a sample, floor %.1f ns, "
                    "ratio %.2f\n",
                    w + 1, load, perSampleStore, perSampleFloor, store / floor);
        ratios.push_back(store / floor);
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf("sample store / floor: min %.2f median %.2f max %.2f\n", ratios[0], ratios[1],
                ratios[2]);
    return 0;
}
