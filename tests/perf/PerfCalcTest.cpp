// SPDX-License-Identifier: MIT
// The counter arithmetic on plain numbers.
#include <gtest/gtest.h>

#include "perf/SCA_PerfCalc.h"

namespace {

TEST(PerfCalcTest, RatesNeedForwardCountersAndElapsedTime) {
    EXPECT_DOUBLE_EQ(250.0, *SCA_PerfCalc::Rate(1000, 1500, 2.0));
    EXPECT_DOUBLE_EQ(0.0, *SCA_PerfCalc::Rate(7, 7, 1.0));
    // A reset or a wrap gives no value, never a huge one.
    EXPECT_FALSE(SCA_PerfCalc::Rate(1500, 1000, 2.0));
    EXPECT_FALSE(SCA_PerfCalc::Rate(UINT64_MAX - 1, 3, 1.0));
    EXPECT_FALSE(SCA_PerfCalc::Rate(1, 2, 0.0));
    EXPECT_FALSE(SCA_PerfCalc::Rate(1, 2, std::nullopt));
    EXPECT_DOUBLE_EQ(1.5, *SCA_PerfCalc::Elapsed(1000000000u, 2500000000u));
    EXPECT_FALSE(SCA_PerfCalc::Elapsed(5, 5));
    EXPECT_FALSE(SCA_PerfCalc::Elapsed(6, 5));
}

TEST(PerfCalcTest, SharesStayWithinZeroAndHundred) {
    EXPECT_DOUBLE_EQ(25.0, *SCA_PerfCalc::ShareOfDelta(100, 150, 1000, 1200));
    EXPECT_FALSE(SCA_PerfCalc::ShareOfDelta(100, 150, 1000, 1000)); // no time passed
    EXPECT_FALSE(SCA_PerfCalc::ShareOfDelta(150, 100, 1000, 1200));
    EXPECT_FALSE(SCA_PerfCalc::ShareOfDelta(100, 150, 1200, 1000));
    EXPECT_DOUBLE_EQ(100.0, *SCA_PerfCalc::Percent(130.0, 100.0));
    EXPECT_FALSE(SCA_PerfCalc::Percent(1.0, 0.0));
    EXPECT_FALSE(SCA_PerfCalc::Percent(-1.0, 10.0));
}

TEST(PerfCalcTest, SpaceUsageCountsWhatUsersCanHave) {
    // 1000 blocks, 300 free of which 250 for users: 700 used of 950 usable.
    EXPECT_NEAR(73.684, *SCA_PerfCalc::SpaceUsage(1000, 300, 250), 0.001);
    EXPECT_DOUBLE_EQ(0.0, *SCA_PerfCalc::SpaceUsage(1000, 1000, 1000));
    EXPECT_FALSE(SCA_PerfCalc::SpaceUsage(0, 0, 0));
    EXPECT_FALSE(SCA_PerfCalc::SpaceUsage(100, 200, 50)); // inconsistent statvfs
    EXPECT_DOUBLE_EQ(4096.0, *SCA_PerfCalc::PerEvent(40960, 10));
    EXPECT_FALSE(SCA_PerfCalc::PerEvent(10, 0));
}

} // namespace
