// SPDX-License-Identifier: MIT
// The sample store's statistics and the status and sample texts that carry them to clients.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezCounter.h"
#include "model/SCA_TezCounterStatus.h"
#include "model/SCA_TezSampleStore.h"
#include "tests/model/RecordTestSupport.h"

namespace {

TEST(SampleStoreTest, StatisticsCoverTheWholeRunAndTheRingKeepsTheNewest) {
    SCA_TezSampleStore store(3);
    EXPECT_EQ(0u, store.GetValueCount());
    EXPECT_EQ(0.0, store.GetAverageValue()) << "no values: no 0/0";
    store.AddSample(10, 1.0, true);
    store.AddSample(20, 0.0, false);
    store.AddSample(30, 2.0, true);
    store.AddSample(40, 3.0, true);
    store.AddSample(50, 4.0, true);
    EXPECT_EQ(4u, store.GetValueCount());
    EXPECT_EQ(1.0, store.GetMinValue());
    EXPECT_EQ(4.0, store.GetMaxValue());
    EXPECT_EQ(2.5, store.GetAverageValue());
    EXPECT_EQ(10u, store.GetFirstTime());
    EXPECT_EQ(50u, store.GetLastTime());
    ASSERT_EQ(3u, store.KeptSamples());
    EXPECT_EQ(30u, store.GetSample(0).AbsTime);
    EXPECT_EQ(3.0, store.GetAverage10()->GetAverageValue()) << "the window reads what is kept";
    store.AddSample(60, 0.0, false);
    EXPECT_FALSE(store.HasLastValue());
    EXPECT_EQ(4.0, store.GetLastValue()) << "the last value stays the last one there was";

    SCA_ConfigObj stored("Data", nullptr);
    ASSERT_EQ(1, store.Serialize(&stored));
    auto received = records_test::Travel(stored);
    ASSERT_NE(nullptr, received);
    SCA_TezSampleStore read;
    ASSERT_EQ(1, read.Deserialize(received.get()));
    EXPECT_EQ(4u, read.GetValueCount());
    EXPECT_EQ(2.5, read.GetAverageValue());
    EXPECT_EQ(3u, read.KeptSamples());
    EXPECT_FALSE(read.GetSample(2).HasValue);
    EXPECT_EQ(10u, read.GetFirstTime());

    // A NaN is no value: it keeps its place as a gap and leaves the statistics alone.
    store.AddSample(70, std::nan(""), true);
    EXPECT_FALSE(store.HasLastValue());
    EXPECT_EQ(4u, store.GetValueCount());
    EXPECT_EQ(2.5, store.GetAverageValue());
    const tagSCA_TEZ_SAMPLE gap = store.GetSample(2);
    EXPECT_EQ(70u, gap.AbsTime);
    EXPECT_FALSE(gap.HasValue);
    EXPECT_EQ(0.0, gap.Value);
}

// The store keeps each time as a small offset from the run's usual step and keeps whole the
// steps that do not fit; every kept sample must come back as it went in, through the wrap of
// the ring (which drops the whole steps of samples gone), clock steps back and gaps, and
// through a stored form.
TEST(SampleStoreTest, KeptSamplesComeBackBitForBitWhateverTheirTimes) {
    constexpr uint64_t kSecond = 10000000; // in absolute time units
    constexpr uint64_t kStart = 134000000000000000ULL;
    constexpr uint64_t kWideStep = 3000000000ULL; // 300 s
    constexpr int64_t kStepLimit = 2147483647;
    constexpr uint64_t kOffsetLimit = 32767; // the largest offset from the usual step kept small
    struct Scenario {
        const char* Name;
        uint32_t Capacity;
        std::vector<uint64_t> Times;
    };
    std::vector<uint64_t> jittered;
    std::vector<uint64_t> narrowThenWide;
    std::vector<uint64_t> stepsBack;
    std::vector<uint64_t> veryLate; // every other sample 4 ms late, some aside at each wrap
    std::vector<uint64_t> offsetEdges{kStart, kStart + kSecond};
    for (const int64_t offset : {32767LL, -32767LL, -32768LL, 32768LL, 0LL, -32769LL, 1LL}) {
        offsetEdges.push_back(offsetEdges.back() + kSecond + static_cast<uint64_t>(offset));
    }
    for (uint64_t i = 0; i < 14; ++i) {
        veryLate.push_back(kStart + i * kSecond + (i % 2 == 1 ? 40000 : 0));
        jittered.push_back(kStart + i * kSecond + (i * 7919) % 5003);
        narrowThenWide.push_back(kStart + i * kSecond + (i >= 9 ? kWideStep : 0));
        stepsBack.push_back(kStart + i * kSecond - (i >= 5 ? 2 * kSecond + kSecond / 2 : 0) -
                            (i >= 11 ? 3600 * kSecond : 0));
    }
    const Scenario scenarios[] = {
        {"one-second steps with jitter, wrapping", 5, jittered},
        {"a step too far after the ring wrapped", 5, narrowThenWide},
        {"lateness beyond the small offsets, wrapping", 5, veryLate},
        {"offsets at the edge of 16 bits", 4, offsetEdges},
        {"an irregular first step",
         3,
         {kStart, kStart + 1, kStart + kSecond, kStart + kOffsetLimit, kStart + 2 * kOffsetLimit}},
        {"the clock steps back a little, then an hour", 4, stepsBack},
        {"steps at the edge of 32 bits",
         3,
         {kStart, kStart + kStepLimit, kStart + kStepLimit - kStepLimit - 1,
          kStart + kStepLimit + 1, kStart, kStart + 1}},
        {"times far apart and across the top of the range",
         6,
         {1, kStart, 5, UINT64_MAX - 1, UINT64_MAX, 7, kStart + 1, kStart - kWideStep}},
        {"a ring of one", 1, {kStart, kStart + kSecond, kStart + kWideStep, 3}},
    };
    for (const Scenario& scenario : scenarios) {
        SCOPED_TRACE(scenario.Name);
        SCA_TezSampleStore store(scenario.Capacity);
        std::deque<tagSCA_TEZ_SAMPLE> expected;
        for (size_t i = 0; i < scenario.Times.size(); ++i) {
            // Every third sample a gap, every fifth a value that cannot be told from 0 by eye.
            const bool hasValue = i % 3 != 2;
            const double value = i % 5 == 4 ? 1e-300 * static_cast<double>(i) : 0.1 * i;
            store.AddSample(scenario.Times[i], value, hasValue);
            expected.push_back({scenario.Times[i], hasValue ? value : 0.0, hasValue});
            if (expected.size() > scenario.Capacity) {
                expected.pop_front();
            }
            const std::vector<tagSCA_TEZ_SAMPLE> kept = store.GetSamples();
            ASSERT_EQ(expected.size(), kept.size()) << "after sample " << i;
            for (size_t k = 0; k < kept.size(); ++k) {
                SCOPED_TRACE("after sample " + std::to_string(i) + ", kept " + std::to_string(k));
                EXPECT_EQ(expected[k].AbsTime, kept[k].AbsTime);
                EXPECT_EQ(expected[k].HasValue, kept[k].HasValue);
                EXPECT_EQ(expected[k].Value, kept[k].Value);
                EXPECT_EQ(expected[k].AbsTime, store.GetSample(static_cast<uint32_t>(k)).AbsTime);
            }
        }
        // A client that holds the sample before the newest gets the newest, by its time.
        const bool newestIsLater =
            expected.size() >= 2 && expected.back().AbsTime > expected[expected.size() - 2].AbsTime;
        if (newestIsLater) {
            const tagSCA_TEZ_SAMPLE& held = expected[expected.size() - 2];
            SCA_ConfigObj newest("CD", nullptr);
            ASSERT_EQ(1, store.WriteSamples(held.AbsTime, SCA_TEZ_LIVE_SAMPLES, &newest));
            ASSERT_EQ(1u, newest.GetFieldCount());
            tagSCA_TEZ_SAMPLE sent{};
            ASSERT_EQ(1, SCA_TezReadSampleField(newest.GetHead(), &sent));
            EXPECT_EQ(expected.back().AbsTime, sent.AbsTime);
        }
        SCA_ConfigObj stored("Data", nullptr);
        ASSERT_EQ(1, store.Serialize(&stored));
        SCA_TezSampleStore read;
        ASSERT_EQ(1, read.Deserialize(&stored));
        const std::vector<tagSCA_TEZ_SAMPLE> again = read.GetSamples();
        ASSERT_EQ(expected.size(), again.size());
        for (size_t k = 0; k < again.size(); ++k) {
            EXPECT_EQ(expected[k].AbsTime, again[k].AbsTime) << "read back, kept " << k;
            EXPECT_EQ(expected[k].Value, again[k].Value) << "read back, kept " << k;
        }
    }
}

// Clients poll with the time of the last sample they hold, as the live windows do, while the
// wall clock steps back or forward between samples, by hours or by exactly one interval, or
// stands still. Sample i has the value i: every client must hold 0, 1, 2, ... - none twice,
// none skipped - and each poll must bring only what came since the one before.
TEST(SampleStoreTest, APollingClientGetsEachSampleOnceWhateverTheWallClockDoes) {
    constexpr uint64_t kSecond = 10000000; // in absolute time units
    constexpr uint64_t kStart = 134000000000000000ULL;
    constexpr uint64_t kTwoHours = 7200 * kSecond;
    constexpr uint32_t kSamples = 40;
    constexpr uint32_t kCapacity = 30; // the ring wraps: the step's samples leave it again
    struct Scenario {
        const char* Name;
        uint32_t At;     // the step comes before this sample
        int64_t Step;    // added to the time the clock would have shown
        uint32_t Polled; // samples between two polls of the slower client
    };
    const Scenario scenarios[] = {
        {"two hours back", 12, -static_cast<int64_t>(kTwoHours), 3},
        {"exactly one interval back", 12, -static_cast<int64_t>(kSecond), 2},
        {"three intervals back, polled after each of them", 12, -3 * static_cast<int64_t>(kSecond),
         1},
        {"an interval and a half back", 12, -static_cast<int64_t>(kSecond * 3 / 2), 4},
        {"an hour forward", 12, static_cast<int64_t>(3600 * kSecond), 3},
        {"the clock stands still", 0, -static_cast<int64_t>(kSecond), 5},
    };
    for (const Scenario& scenario : scenarios) {
        SCOPED_TRACE(scenario.Name);
        SCA_TezSampleStore store(kCapacity);
        // Two windows: one polls after every sample, one after every few.
        SCA_TezCounter everySample;
        SCA_TezCounter everyFew;
        uint64_t everySampleLast = 0;
        uint64_t everyFewLast = 0;
        const auto poll = [&store](SCA_TezCounter* window, uint64_t* last, size_t expected) {
            SCA_ConfigObj reply("CD", nullptr);
            ASSERT_EQ(1, store.WriteSamples(*last, SCA_TEZ_LIVE_SAMPLES, &reply));
            EXPECT_EQ(expected, reply.GetFieldCount()) << "new samples in one reply";
            ASSERT_EQ(1, window->AddData(&reply, last));
        };
        uint64_t clock = kStart;
        std::vector<uint64_t> taken;
        for (uint32_t i = 0; i < kSamples; ++i) {
            const bool still = scenario.At == 0;
            if (i == scenario.At || (still && i > 0)) {
                clock += static_cast<uint64_t>(scenario.Step);
            }
            store.AddSample(clock, i, true);
            taken.push_back(clock);
            clock += kSecond;
            poll(&everySample, &everySampleLast, 1);
            if ((i + 1) % scenario.Polled == 0) {
                poll(&everyFew, &everyFewLast, scenario.Polled);
            }
            poll(&everySample, &everySampleLast, 0);
        }
        poll(&everyFew, &everyFewLast, kSamples % scenario.Polled);
        for (SCA_TezCounter* window : {&everySample, &everyFew}) {
            const auto* held = dynamic_cast<SCA_TezSampleStore*>(window->GetCounterData());
            ASSERT_NE(nullptr, held);
            const std::vector<tagSCA_TEZ_SAMPLE> samples = held->GetSamples();
            ASSERT_EQ(kSamples, samples.size());
            for (uint32_t k = 0; k < kSamples; ++k) {
                EXPECT_EQ(k, samples[k].Value) << "held " << k;
            }
        }
        // Every time names one sample, and lies a tenth of a microsecond after the time it was
        // taken at for each kept sample that was taken at that time too, at most.
        const std::vector<tagSCA_TEZ_SAMPLE> kept = store.GetSamples();
        ASSERT_EQ(kCapacity, kept.size());
        for (size_t k = 0; k < kept.size(); ++k) {
            EXPECT_LE(kept[k].AbsTime - taken[kSamples - kCapacity + k], kCapacity) << k;
            for (size_t other = 0; other < k; ++other) {
                EXPECT_NE(kept[k].AbsTime, kept[other].AbsTime) << k << " and " << other;
            }
        }
    }
}

TEST(SampleStoreTest, AStoredCapacityDoesNotReserveStorageUpFront) {
    // A file may name any capacity; reading it must not try to take that much memory at once.
    SCA_ConfigObj stored("Data", nullptr);
    ASSERT_EQ(1, stored.AddField("Capacity", 4000000000u));
    for (const char* name : {"Count", "Total", "Minimum", "Maximum", "FirstTime", "LastTime"}) {
        ASSERT_EQ(1, stored.AddField(name, 1u));
    }
    SCA_ConfigObj* samples = stored.AddConfigObj("Samples");
    ASSERT_NE(nullptr, samples);
    ASSERT_EQ(1, SCA_TezAddSampleField(samples, tagSCA_TEZ_SAMPLE{5, 1.5, true}));
    SCA_TezSampleStore read;
    ASSERT_EQ(1, read.Deserialize(&stored));
    EXPECT_EQ(4000000000u, read.GetCapacity());
    ASSERT_EQ(1u, read.KeptSamples());
    EXPECT_EQ(1.5, read.GetSample(0).Value);
}

// The averages as a reader would add them up: the newest values kept, newest first, gaps left
// out; with the bound of the rounding that another order of additions may differ by, over the
// values that passed through the window since it was last added up (at most twice its size).
struct NaiveAverage {
    double Value = 0.0;
    double Bound = 0.0;
};

NaiveAverage NaiveAverageOf(const std::vector<tagSCA_TEZ_SAMPLE>& kept, uint32_t size) {
    double sum = 0.0;
    double magnitude = 0.0;
    uint32_t count = 0;
    for (auto sample = kept.rbegin(); sample != kept.rend() && count < 2 * size; ++sample) {
        if (!sample->HasValue) {
            continue;
        }
        if (count < size) {
            sum += sample->Value;
        }
        magnitude += std::fabs(sample->Value);
        ++count;
    }
    count = std::min(count, size);
    const double rounding = 4.0 * size * std::numeric_limits<double>::epsilon() * magnitude;
    return count == 0 ? NaiveAverage{} : NaiveAverage{sum / count, rounding / count};
}

// The store keeps its 10, 30 and 60 value averages as running sums; over random runs (gaps as
// missing values and as NaNs, rings shorter and longer than the windows, long runs, values of
// every size, infinities and sums beyond a double's range) they must stay what adding up the
// kept values gives, updated when a value comes and left as they are by a gap.
TEST(SampleStoreTest, RunningAveragesMatchTheKeptValuesAddedUp) {
    enum class Values { SmallIntegers, Mixed, Extremes };
    struct Run {
        const char* Name;
        Values Kind;
        uint32_t Capacity;
        uint32_t Samples;
        double GapShare;
    };
    const Run runs[] = {
        {"one kept sample", Values::SmallIntegers, 1, 500, 0.3},
        {"ring shorter than the windows", Values::SmallIntegers, 7, 2000, 0.3},
        {"ring of ten", Values::SmallIntegers, 10, 2000, 0.5},
        {"ring between the windows", Values::Mixed, 45, 5000, 0.2},
        {"ring one longer than the last window", Values::SmallIntegers, 61, 5000, 0.1},
        {"mostly gaps", Values::SmallIntegers, 600, 5000, 0.95},
        {"live ring, values of every size", Values::Mixed, 600, 12000, 0.05},
        {"infinities and overflowing sums", Values::Extremes, 90, 20000, 0.2},
    };
    for (const Run& run : runs) {
        SCOPED_TRACE(run.Name);
        std::mt19937_64 random(run.Capacity * 7919u + run.Samples);
        std::uniform_real_distribution<double> share(0.0, 1.0);
        std::uniform_int_distribution<int> integer(-1000, 1000);
        std::uniform_real_distribution<double> exponent(-3.0, 12.0);
        const auto valueOf = [&]() {
            switch (run.Kind) {
            case Values::SmallIntegers:
                return static_cast<double>(integer(random));
            case Values::Mixed:
                return (share(random) < 0.001 ? 1e20 : std::pow(10.0, exponent(random))) *
                       (integer(random) < 0 ? -1.0 : 1.0);
            case Values::Extremes:
                break;
            }
            const double pick = share(random);
            const double huge = std::numeric_limits<double>::max() / 2;
            return pick < 0.02   ? std::numeric_limits<double>::infinity()
                   : pick < 0.04 ? -std::numeric_limits<double>::infinity()
                   : pick < 0.10 ? huge
                                 : static_cast<double>(integer(random));
        };
        SCA_TezSampleStore store(run.Capacity);
        NaiveAverage expected[3];
        for (uint32_t i = 0; i < run.Samples; ++i) {
            const double gap = share(random);
            if (gap < run.GapShare / 2) {
                store.AddSample(i + 1, 0.0, false);
            } else if (gap < run.GapShare) {
                store.AddSample(i + 1, std::nan(""), true);
            } else {
                store.AddSample(i + 1, valueOf(), true);
                const std::vector<tagSCA_TEZ_SAMPLE> kept = store.GetSamples();
                expected[0] = NaiveAverageOf(kept, 10);
                expected[1] = NaiveAverageOf(kept, 30);
                expected[2] = NaiveAverageOf(kept, 60);
            }
            const double got[3] = {store.GetAverage10()->GetAverageValue(),
                                   store.GetAverage30()->GetAverageValue(),
                                   store.GetAverage60()->GetAverageValue()};
            for (int w = 0; w < 3; ++w) {
                const NaiveAverage& want = expected[w];
                const bool exact = run.Kind == Values::SmallIntegers || !std::isfinite(want.Value);
                if (std::isnan(want.Value)) {
                    ASSERT_TRUE(std::isnan(got[w])) << "sample " << i << ", window " << w;
                } else if (exact) {
                    ASSERT_EQ(want.Value, got[w]) << "sample " << i << ", window " << w;
                } else {
                    ASSERT_NEAR(want.Value, got[w], want.Bound)
                        << "sample " << i << ", window " << w;
                }
            }
        }
    }
}

TEST(CounterStatusTest, TextsRoundTripExactly) {
    const tagSCA_TEZ_COUNTER_STATUS statuses[] = {
        {4, 5, 3, true, 25.0, 0.1, 1e20, -3.25},
        {1, 3, 0, false, 0.0, 0.0, 0.0, 0.0},
        {374, 4, 4294967295u, false, 0.0, -1e-300, 2.5, 1.0 / 3.0},
    };
    for (const auto& status : statuses) {
        char text[SCA_TEZ_COUNTER_STATUS_SIZE];
        ASSERT_EQ(1, SCA_TezBuildCounterStatus(status, text, sizeof(text)));
        tagSCA_TEZ_COUNTER_STATUS read{};
        SCA_TezCounter counter;
        ASSERT_EQ(1, SCA_TezGetCounterStatus(text, &read, &counter)) << text;
        EXPECT_EQ(status.CounterType, read.CounterType);
        EXPECT_EQ(status.Status, read.Status);
        EXPECT_EQ(status.ValueCount, read.ValueCount);
        EXPECT_EQ(status.HasCurrent, read.HasCurrent);
        if (status.ValueCount != 0) {
            EXPECT_EQ(status.Minimum, read.Minimum) << text;
            EXPECT_EQ(status.Maximum, read.Maximum) << text;
            EXPECT_EQ(status.Average, read.Average) << text;
        }
        EXPECT_EQ(status.CounterType, counter.GetCounterType());
        EXPECT_EQ(status.Status, counter.GetRepStatus());
    }
    char tiny[8];
    EXPECT_EQ(0, SCA_TezBuildCounterStatus(statuses[0], tiny, sizeof(tiny)));
    EXPECT_STREQ("", tiny);
}

TEST(CounterStatusTest, AnythingElseIsRefusedAndLeavesTheRecord) {
    const char* bad[] = {
        "",
        "1 2 3",
        "1 2 3 4 5 6 7 8",
        "1  2 3 - - - -",
        " 1 2 3 4 5 6 7",
        "1 2 3 4 5 6 7 ",
        "a 2 3 4 5 6 7",
        "1 2 -3 4 5 6 7",
        "1 2 3 4 5 6 x",
        "1 2 0 - 1 2 3",
        "1 2 1 5 - - -",
        "1 2 3 nan 5 6 7",
        "1 2 3 4 inf 6 7",
        "4294967296 2 3 4 5 6 7",
        "1 2 3 4,5 5 6 7",
    };
    for (const char* text : bad) {
        tagSCA_TEZ_COUNTER_STATUS status{};
        status.CounterType = 99;
        EXPECT_EQ(0, SCA_TezGetCounterStatus(text, &status)) << '"' << text << '"';
        EXPECT_EQ(99u, status.CounterType);
    }
    const std::string endless(1000, '1');
    tagSCA_TEZ_COUNTER_STATUS status{};
    EXPECT_EQ(0, SCA_TezGetCounterStatus(endless.c_str(), &status));
    EXPECT_EQ(0, SCA_TezGetCounterStatus(nullptr, &status));
}

TEST(CounterStatusTest, AddDataTakesOnlyWhatIsNewAndStopsAtABadField) {
    SCA_TezSampleStore store;
    for (uint64_t t = 1; t <= 5; ++t) {
        store.AddSample(t, static_cast<double>(t * 10), t != 3);
    }
    SCA_ConfigObj all("CD", nullptr);
    ASSERT_EQ(1, store.WriteSamples(0, 600, &all));
    EXPECT_EQ(5u, all.GetFieldCount());
    SCA_ConfigObj newest("CD", nullptr);
    ASSERT_EQ(1, store.WriteSamples(1, 2, &newest));
    EXPECT_EQ(2u, newest.GetFieldCount());

    SCA_TezCounter history;
    uint64_t lastTime = 2;
    ASSERT_EQ(1, history.AddData(&all, &lastTime));
    EXPECT_EQ(5u, lastTime);
    EXPECT_EQ(2u, history.GetValueCount()) << "samples 3 (a gap), 4 and 5";
    EXPECT_EQ(3u, history.GetHistoryLength());

    SCA_ConfigObj broken("CD", nullptr);
    broken.AddField("6", "60");
    broken.AddField("seven", "70");
    broken.AddField("8", "80");
    EXPECT_EQ(0, history.AddData(&broken, &lastTime));
    EXPECT_EQ(6u, lastTime) << "what came before the bad field is kept";
    history.ClearAll();
    EXPECT_EQ(0u, history.GetValueCount());
}

} // namespace
