// SPDX-License-Identifier: MIT
// The sample store's statistics and the status and sample texts that carry them to clients.
#include <cmath>
#include <cstring>
#include <string>

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
