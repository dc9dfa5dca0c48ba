// SPDX-License-Identifier: MIT
// The comparison of two reports: counters paired by type and instance in the first report's
// order, the change of each average judged against the thresholds, the counters only one report
// has, and the counts the comparison keeps.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <type_traits>

#include "ReportFixtures.h"
#include "model/SCA_TezDeltaReport.h"
#include "model/SCA_TezRepStatus.h"

namespace {

using korvanta_test::AddFixtureCounter;
using korvanta_test::kFixtureCpu;
using korvanta_test::kFixtureDisk;
using korvanta_test::kFixtureMemory;

constexpr uint32_t kMajor = 20;
constexpr uint32_t kMinor = 5;

static_assert(!std::is_copy_constructible_v<SCA_TezDeltaReport>);
static_assert(!std::is_copy_assignable_v<SCA_TezDeltaReport>);

uint32_t SummaryValue(SCA_TezDeltaReport* delta, const char* name) {
    uint32_t value = 0xDEADu;
    delta->GetSummary()->GetField(name, &value);
    return value;
}

struct Row {
    uint32_t Type;
    const char* Instance;
    uint32_t Icon;
    uint32_t Status;
    const char* Change;
    const char* Relative;
};

// The first report's counters and the second's, with one row each of what the comparison must
// say, in the order it must list them.
TEST(DeltaReport, PairsCountersAndJudgesEachChange) {
    SCA_TezReport first;
    SCA_TezReport second;
    korvanta_test::SetReportHeader(&first, "Monday", "Web", "web-1", 3,
                                   korvanta_test::kFixtureStart, 60);
    korvanta_test::SetReportHeader(&second, "Tuesday", "Web", "web-1", 3,
                                   korvanta_test::kFixtureStart + 86400 * SCA_ABS_TIME_SECOND, 60);
    AddFixtureCounter(&first, kFixtureCpu, "0", {10, 30});   // average 20
    AddFixtureCounter(&first, kFixtureCpu, "1", {40});       // 40
    AddFixtureCounter(&first, kFixtureMemory, "", {50});     // 50
    AddFixtureCounter(&first, kFixtureDisk, "sda", {0});     // 0
    AddFixtureCounter(&first, kFixtureDisk, "sdb", {10});    // only in the first
    AddFixtureCounter(&first, kFixtureDisk, "sdc", {});      // no values
    AddFixtureCounter(&first, kFixtureCpu, "0", {60});       // a second "CPU 0"
    AddFixtureCounter(&second, kFixtureMemory, "", {52});    // +4%: no change worth naming
    AddFixtureCounter(&second, kFixtureCpu, "1", {30});      // -25%: major
    AddFixtureCounter(&second, kFixtureCpu, "0", {21});      // +5%: minor, at the threshold
    AddFixtureCounter(&second, kFixtureDisk, "sda", {3});    // from 0: major
    AddFixtureCounter(&second, kFixtureDisk, "sdc", {7});    // the first had no values
    AddFixtureCounter(&second, kFixtureCpu, "0", {60});      // pairs the second "CPU 0"
    AddFixtureCounter(&second, kFixtureDisk, "SDA", {1});    // instances are exact
    AddFixtureCounter(&second, kFixtureMemory, "swap", {1}); // only in the second

    SCA_TezDeltaReport delta;
    ASSERT_EQ(delta.Compare(&first, &second, kMajor, kMinor), 1);

    const Row expected[] = {
        {kFixtureCpu, "0", SCA_TEZ_DELTA_UP, SCA_REP_STATUS_WARNING, "+1.0%", "+5.0%"},
        {kFixtureCpu, "1", SCA_TEZ_DELTA_DOWN, SCA_REP_STATUS_ERROR, "-10.0%", "-25.0%"},
        {kFixtureMemory, "", SCA_TEZ_DELTA_UP, SCA_REP_STATUS_MESSAGE, "+2.0%", "+4.0%"},
        {kFixtureDisk, "sda", SCA_TEZ_DELTA_UP, SCA_REP_STATUS_ERROR, "+3.0%", "---"},
        {kFixtureDisk, "sdb", SCA_TEZ_DELTA_FIRST_ONLY, SCA_REP_STATUS_MESSAGE, "---", "---"},
        {kFixtureDisk, "sdc", SCA_TEZ_DELTA_NO_VALUES, SCA_REP_STATUS_MESSAGE, "---", "---"},
        {kFixtureCpu, "0", SCA_TEZ_DELTA_SAME, SCA_REP_STATUS_MESSAGE, "---", "---"},
        {kFixtureDisk, "SDA", SCA_TEZ_DELTA_SECOND_ONLY, SCA_REP_STATUS_MESSAGE, "---", "---"},
        {kFixtureMemory, "swap", SCA_TEZ_DELTA_SECOND_ONLY, SCA_REP_STATUS_MESSAGE, "---", "---"},
    };
    ASSERT_EQ(delta.Count(), std::size(expected));
    uint32_t id = 1;
    for (const Row& row : expected) {
        SCA_TezDeltaCounter* counter = nullptr;
        ASSERT_EQ(delta.GetCounter(id, &counter), 1);
        SCOPED_TRACE(std::to_string(id) + ": " + counter->GetInstance());
        EXPECT_EQ(counter->GetCounterId(), id);
        EXPECT_EQ(counter->GetCounterType(), row.Type);
        EXPECT_STREQ(counter->GetInstance(), row.Instance);
        EXPECT_EQ(counter->GetDeltaIcon(), row.Icon);
        EXPECT_EQ(counter->GetRepStatus(), row.Status);
        EXPECT_STREQ(counter->GetValueDeltaString(), row.Change);
        EXPECT_STREQ(counter->GetRelDeltaString(), row.Relative);
        ++id;
    }

    // The figures of both runs travel with each pair.
    SCA_TezDeltaCounter* cpu = nullptr;
    ASSERT_EQ(delta.GetCounterByType(kFixtureCpu, "0", &cpu), 1);
    EXPECT_DOUBLE_EQ(cpu->GetCounterData1()->Average, 20.0);
    EXPECT_DOUBLE_EQ(cpu->GetCounterData1()->Minimum, 10.0);
    EXPECT_DOUBLE_EQ(cpu->GetCounterData1()->Maximum, 30.0);
    EXPECT_EQ(cpu->GetCounterData1()->ValueCount, 2u);
    EXPECT_DOUBLE_EQ(cpu->GetCounterData2()->Average, 21.0);
    EXPECT_DOUBLE_EQ(cpu->GetValueDelta(), 1.0);
    EXPECT_DOUBLE_EQ(cpu->GetRelDelta(), 5.0);
    SCA_TezDeltaCounter* disk = nullptr;
    ASSERT_EQ(delta.GetCounterByType(kFixtureDisk, "sda", &disk), 1);
    EXPECT_TRUE(std::isinf(disk->GetRelDelta()));
    SCA_TezDeltaCounter* memory = nullptr;
    EXPECT_EQ(delta.GetCounterByType(kFixtureMemory, nullptr, &memory), 1);
    EXPECT_EQ(memory->GetCounterType(), kFixtureMemory);
    EXPECT_STREQ(memory->GetInstance(), "");
    EXPECT_EQ(delta.GetCounterByType(kFixtureMemory, "SWAP", &memory), 0);

    EXPECT_EQ(delta.GetMajorChanges(), 2u);
    EXPECT_EQ(delta.GetMinorChanges(), 1u);
    EXPECT_EQ(delta.GetRepStatus(), SCA_REP_STATUS_ERROR);
    EXPECT_EQ(SummaryValue(&delta, "Counters"), 9u);
    EXPECT_EQ(SummaryValue(&delta, "Compared"), 5u);
    EXPECT_EQ(SummaryValue(&delta, "FirstOnly"), 1u);
    EXPECT_EQ(SummaryValue(&delta, "SecondOnly"), 2u);
    EXPECT_EQ(SummaryValue(&delta, "MajorThreshold"), kMajor);
    EXPECT_STREQ(delta.GetReportInfo1()->GetReportTitle(), "Monday");
    EXPECT_STREQ(delta.GetReportInfo2()->GetReportTitle(), "Tuesday");
    EXPECT_EQ(delta.GetReportInfo2()->GetStartTime(), second.GetStartTime());
}

// A second comparison replaces the first, the thresholds are the caller's, and comparing a
// report with itself finds nothing.
TEST(DeltaReport, ComparesAgainWithOtherThresholds) {
    SCA_TezReport first;
    SCA_TezReport second;
    AddFixtureCounter(&first, kFixtureCpu, "", {100});
    AddFixtureCounter(&second, kFixtureCpu, "", {109});
    SCA_TezDeltaReport delta;
    ASSERT_EQ(delta.Compare(&first, &second, kMajor, kMinor), 1);
    EXPECT_EQ(delta.GetMinorChanges(), 1u);
    EXPECT_EQ(delta.GetRepStatus(), SCA_REP_STATUS_WARNING);
    ASSERT_EQ(delta.Compare(&first, &second, 9, 1), 1);
    EXPECT_EQ(delta.Count(), 1u);
    EXPECT_EQ(delta.GetMajorChanges(), 1u);
    EXPECT_EQ(delta.GetMinorChanges(), 0u);
    ASSERT_EQ(delta.Compare(&first, &first, 0, 0), 1);
    EXPECT_EQ(delta.GetMajorChanges() + delta.GetMinorChanges(), 0u);
    EXPECT_EQ(delta.GetRepStatus(), SCA_REP_STATUS_MESSAGE);
    EXPECT_EQ(delta.Compare(&first, nullptr, kMajor, kMinor), 0);

    // A change too small to show keeps no sign: it reads as none.
    SCA_TezReport tiny;
    AddFixtureCounter(&tiny, kFixtureCpu, "", {99.999});
    ASSERT_EQ(delta.Compare(&first, &tiny, kMajor, kMinor), 1);
    SCA_TezDeltaCounter* counter = nullptr;
    ASSERT_EQ(delta.GetCounter(1, &counter), 1);
    EXPECT_EQ(counter->GetDeltaIcon(), SCA_TEZ_DELTA_DOWN);
    EXPECT_STREQ(counter->GetRelDeltaString(), "0.0%");
    EXPECT_EQ(std::string(counter->GetValueDeltaString()).find('-'), std::string::npos)
        << counter->GetValueDeltaString();
}

} // namespace
