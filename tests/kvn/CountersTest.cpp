// SPDX-License-Identifier: MIT
// Per-minute records, counters and counter lists.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "KvnTestSupport.h"
#include "libkvn/SCA_KvnCounter.h"
#include "libkvn/SCA_KvnCounterList.h"
#include "libkvn/SCA_KvnCounterMinutes.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezVocabulary.h"

using kvn_test::HeapFailure;
using kvn_test::Names;
using kvn_test::Printed;
using kvn_test::Value;
using Texts = std::vector<std::string>;

namespace {

constexpr uint64_t kTen = 36000; // 10:00:00 of the first day, in seconds

const tag_SCA_KVN_COUNTER_MINUTE& Record(const SCA_KvnCounterMinutes& minutes, uint32_t pos) {
    return *minutes.GetListItemByPos(pos)->GetItem();
}

} // namespace

TEST(CounterMinutes, ValuesGoToTheMinuteThatOpenedLast) {
    SCA_KvnCounterMinutes minutes;
    ASSERT_EQ(1, minutes.AddValue(nullptr, kTen + 5, 2.0));
    ASSERT_EQ(1, minutes.AddValue(nullptr, kTen + 59, 4.0));
    ASSERT_EQ(1u, minutes.Count());
    EXPECT_EQ(2u, Record(minutes, 0).ValueCount);
    EXPECT_EQ(kTen + 5, Record(minutes, 0).StartTime);
    EXPECT_EQ(kTen + 59, Record(minutes, 0).StopTime);
    EXPECT_EQ(3.0, Record(minutes, 0).AvgValue);

    ASSERT_EQ(1, minutes.AddValue(nullptr, kTen + 60, 10.0));
    ASSERT_EQ(2u, minutes.Count());
    // A late value of an earlier minute joins the newest record.
    ASSERT_EQ(1, minutes.AddValue(nullptr, kTen + 30, 1.0));
    const tag_SCA_KVN_COUNTER_MINUTE& last = Record(minutes, 1);
    EXPECT_EQ(2u, last.ValueCount);
    EXPECT_EQ(kTen + 30, last.StopTime);
    EXPECT_EQ(1.0, last.LastValue);
    EXPECT_EQ(11.0, last.TotalValue);
    EXPECT_EQ(5.5, last.AvgValue);
    EXPECT_EQ(1.0, last.MinValue);
    EXPECT_EQ(10.0, last.MaxValue);
}

TEST(CounterMinutes, BoundsStartFromTheFirstValue) {
    SCA_KvnCounterMinutes minutes;
    minutes.AddValue(nullptr, kTen, 2000000.0);
    minutes.AddValue(nullptr, kTen + 60, -5000000.0);
    double avg = 0;
    double min = 0;
    double max = 0;
    ASSERT_EQ(1, minutes.GetMinuteData(kTen + 10, &avg, &min, &max));
    EXPECT_EQ(2000000.0, min);
    EXPECT_EQ(2000000.0, max);
    ASSERT_EQ(1, minutes.GetMinuteData(kTen + 60, &avg, &min, &max));
    EXPECT_EQ(-5000000.0, min);
    EXPECT_EQ(-5000000.0, max);

    avg = min = max = 7.0;
    EXPECT_EQ(0, minutes.GetMinuteData(kTen + 300, &avg, &min, &max));
    EXPECT_EQ(7.0, avg);
    EXPECT_EQ(7.0, min);
    EXPECT_EQ(7.0, max);
}

TEST(CounterMinutes, StatisticsOverAllValues) {
    SCA_KvnCounterMinutes minutes;
    double avg = -1;
    double min = -1;
    double max = -1;
    EXPECT_EQ(0, minutes.GetStatistics(&avg, &min, &max));
    EXPECT_EQ(0.0, avg);
    EXPECT_EQ(0.0, min);
    EXPECT_EQ(0.0, max);

    minutes.AddValue(nullptr, kTen, 4.0);
    minutes.AddValue(nullptr, kTen + 1, 8.0);
    minutes.AddValue(nullptr, kTen + 120, -3.0);
    ASSERT_EQ(1, minutes.GetStatistics(&avg, &min, &max));
    EXPECT_EQ(3.0, avg);
    EXPECT_EQ(-3.0, min);
    EXPECT_EQ(8.0, max);
    EXPECT_EQ(48u + 2 * 128u, minutes.CalcMemoryUsage());
}

TEST(CounterMinutes, StoredFormRoundTripAndPartialRecords) {
    SCA_KvnCounterMinutes minutes;
    minutes.AddValue(nullptr, kTen + 7, 1.25);
    minutes.AddValue(nullptr, kTen + 61, 0.1);
    SCA_KvnCounterMinutes* clone = minutes.Clone();
    ASSERT_NE(nullptr, clone);
    ASSERT_EQ(2u, clone->Count());
    EXPECT_EQ(kTen + 7, Record(*clone, 0).StartTime);
    EXPECT_EQ(0.1, Record(*clone, 1).MinValue);
    clone->Destroy();

    SCA_ConfigObj stored("Minutes", nullptr);
    stored.AddConfigObj("a")->AddField("ValueCount", 3u);
    stored.AddConfigObj("b");
    stored.AddConfigObj("c")->AddField("MaxValue", 9.5);
    SCA_KvnCounterMinutes read;
    read.AddValue(nullptr, 1, 1.0);
    ASSERT_EQ(1, read.Deserialize(&stored));
    ASSERT_EQ(3u, read.Count());
    EXPECT_EQ(3u, Record(read, 0).ValueCount);
    EXPECT_EQ(0.0, Record(read, 2).MinValue);
    EXPECT_EQ(9.5, Record(read, 2).MaxValue);
}

TEST(Counter, DefaultsStatusTextsAndReading) {
    SCA_KvnCounter counter;
    SCA_ConfigObj object("Counter", nullptr);
    ASSERT_EQ(1, counter.Serialize(&object));
    EXPECT_EQ((Texts{"CounterId", "CounterType", "Units", "TotalValues", "FixedMaxValue",
                     "RepStatus", "LastTriggerTime", "Minutes"}),
              Names(object));
    EXPECT_EQ("4294967295", Value(object, "CounterId"));
    EXPECT_EQ("4294967295", Value(object, "CounterType"));
    EXPECT_EQ("3", Value(object, "RepStatus"));

    EXPECT_STREQ("Error", [] {
        SCA_KvnCounter c;
        c.SetRepStatus(6);
        return c.GetRepStatusString();
    }());
    EXPECT_STREQ("Normal", counter.GetRepStatusString());

    SCA_ConfigObj noMinutes("Counter", nullptr);
    noMinutes.AddField("CounterId", 12u);
    counter.AddValue(nullptr, kTen, 1.0);
    ASSERT_EQ(1, counter.Deserialize(&noMinutes));
    EXPECT_EQ(12u, counter.GetCounterId());
    EXPECT_EQ(0u, counter.GetMinutes()->Count());
    EXPECT_EQ(1u, counter.GetTotalValues()); // kept: not in the object
}

TEST(Counter, CopiesOwnTheirMinutesAndFailedValuesChangeNothing) {
    SCA_KvnCounter counter;
    counter.SetCounterId(4);
    counter.SetCounterType(SCA_COUNTER_MEMORY_FREE);
    counter.AddValue(nullptr, kTen, 1.0);
    SCA_KvnCounter copy(counter);
    ASSERT_EQ(1u, copy.IsConstructed());
    copy.AddValue(nullptr, kTen + 60, 2.0);
    EXPECT_EQ(1u, counter.GetMinutes()->Count());
    EXPECT_EQ(2u, copy.GetMinutes()->Count());
    EXPECT_EQ(5u, copy.GetCounterType());

    {
        HeapFailure failure(1);
        EXPECT_EQ(0, counter.AddValue(nullptr, kTen + 120, 3.0));
    }
    EXPECT_EQ(1u, counter.GetTotalValues());
    EXPECT_EQ(1u, counter.GetMinutes()->Count());
    EXPECT_EQ(104u + counter.GetMinutes()->CalcMemoryUsage(), counter.CalcMemoryUsage());

    const std::string text = Printed([&] { counter.Show(); });
    EXPECT_NE(std::string::npos, text.find(" - ID:4 TP:5 FMV:0 RPS:3\n\n")) << text;
    EXPECT_NE(std::string::npos, text.find(" - CNT: 1 AVG:1.0  MIN:1.0  MAX:1.0 \n")) << text;
}

TEST(CounterList, DuplicatesStatusIdsAndDeletes) {
    SCA_KvnCounterList list;
    SCA_KvnCounter* first = nullptr;
    SCA_KvnCounter* second = nullptr;
    ASSERT_EQ(1, list.AddCounter(7, &first));
    ASSERT_EQ(1, list.AddCounter(7, &second));
    first->SetCounterType(SCA_COUNTER_MEMORY_USAGE);
    second->SetCounterType(SCA_COUNTER_MEMORY_FREE);
    EXPECT_EQ(2u, list.Count());
    EXPECT_EQ(2u, list.GetCountersStatusId());
    SCA_KvnCounter* found = nullptr;
    ASSERT_EQ(1, list.GetCounter(7, &found));
    EXPECT_EQ(first, found);
    EXPECT_EQ(1, list.IsCounterTypeExists(5));
    EXPECT_EQ(0, list.IsCounterTypeExists(6));

    EXPECT_EQ(1, list.DeleteCounter(7));
    ASSERT_EQ(1, list.GetCounter(7, &found));
    EXPECT_EQ(second, found);
    EXPECT_EQ(3u, list.GetCountersStatusId());
    EXPECT_EQ(1, list.DeleteCounter(8));
    EXPECT_EQ(3u, list.GetCountersStatusId());

    SCA_KvnCounterList empty;
    EXPECT_EQ(1, empty.ClearAll());
    EXPECT_EQ(1u, empty.GetCountersStatusId());
}

TEST(CounterList, StoredFormNamesAndReadsById) {
    SCA_KvnCounterList list;
    SCA_KvnCounter* counter = nullptr;
    list.AddCounter(3, &counter);
    counter->AddValue(nullptr, kTen, 5.0);
    list.AddCounter(12, &counter);
    SCA_ConfigObj stored("Counters", nullptr);
    ASSERT_EQ(1, list.Serialize(&stored));
    EXPECT_EQ((Texts{"3", "12"}), Names(stored));

    SCA_ConfigObj renamed("Counters", nullptr);
    renamed.AddConfigObj("a")->AddField("CounterId", 30u);
    renamed.AddConfigObj("b")->AddField("CounterId", 40u);
    SCA_KvnCounterList read;
    ASSERT_EQ(1, read.Deserialize(&renamed));
    EXPECT_EQ(2u, read.GetCountersStatusId());
    EXPECT_EQ(1, read.GetCounter(40, &counter));

    SCA_KvnCounterList* clone = list.Clone();
    ASSERT_NE(nullptr, clone);
    ASSERT_EQ(1, clone->GetCounter(3, &counter));
    EXPECT_EQ(1u, counter->GetTotalValues());
    clone->Destroy();
    SCA_KvnCounterList* emptyClone = SCA_KvnCounterList().Clone();
    ASSERT_NE(nullptr, emptyClone);
    EXPECT_EQ(0u, emptyClone->Count());
    emptyClone->Destroy();

    SCA_KvnCounterList copy(list);
    EXPECT_EQ(list.GetCountersStatusId(), copy.GetCountersStatusId());
    EXPECT_EQ(2u, copy.Count());
}
