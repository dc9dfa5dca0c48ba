// SPDX-License-Identifier: MIT
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <optional>
#include <string>

#include "libmor/SCA_Time.h"

namespace {

// 2024-02-29 13:45:07.123 UTC, a Thursday.
constexpr uint64_t kLeapDay = 1709214307ull * SCA_ABS_TIME_SECOND + 1234567;

void SetZone(const char* zone) {
    setenv("TZ", zone, 1);
    tzset();
}

class TimeTest : public testing::Test {
protected:
    void SetUp() override {
        const char* zone = std::getenv("TZ");
        m_OldZone = zone != nullptr ? std::optional<std::string>(zone) : std::nullopt;
        SetZone("UTC");
    }
    void TearDown() override {
        if (m_OldZone) {
            SetZone(m_OldZone->c_str());
        } else {
            unsetenv("TZ");
            tzset();
        }
    }

private:
    std::optional<std::string> m_OldZone;
};

using Formatter = int (*)(uint64_t, char*, uint32_t);

std::string Format(Formatter formatter, uint64_t value) {
    char buf[64];
    EXPECT_EQ(formatter(value, buf, sizeof(buf)), 1);
    return buf;
}

TEST_F(TimeTest, AbsTimeCountsHundredNanosecondsSince1970) {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto expected = std::chrono::duration_cast<std::chrono::microseconds>(now).count() * 10;
    EXPECT_NEAR(static_cast<double>(SCA_GetAbsTime()), static_cast<double>(expected),
                static_cast<double>(SCA_ABS_TIME_SECOND));
}

TEST_F(TimeTest, ConvertGivesLocalDateAndTime) {
    tagSCA_DATE date{};
    tagSCA_TIME time{};
    ASSERT_EQ(SCA_ConvertAbsTime(kLeapDay, &date, &time), 1);
    EXPECT_EQ(date.Year, 2024u);
    EXPECT_EQ(date.Month, 2u);
    EXPECT_EQ(date.Day, 29u);
    EXPECT_EQ(date.DayOfWeek, 4u);
    EXPECT_EQ(time.Hour, 13u);
    EXPECT_EQ(time.Minute, 45u);
    EXPECT_EQ(time.Second, 7u);
    EXPECT_EQ(time.Milliseconds, 123u);

    SetZone("ABC-11"); // a fixed UTC+11 zone: the local date is already March
    ASSERT_EQ(SCA_ConvertAbsTime(kLeapDay, &date, &time), 1);
    EXPECT_EQ(date.Month, 3u);
    EXPECT_EQ(date.Day, 1u);
    EXPECT_EQ(date.DayOfWeek, 5u);
    EXPECT_EQ(time.Hour, 0u);
}

TEST_F(TimeTest, DateAndTimeFormats) {
    const tagSCA_DATE date{2024, 2, 9, 5};
    const tagSCA_TIME time{9, 5, 3, 0};
    char buf[32];
    ASSERT_EQ(SCA_FormatDateString(&date, 0, "/", buf, sizeof(buf)), 1);
    EXPECT_STREQ(buf, "2024/02/09");
    ASSERT_EQ(SCA_FormatDateString(&date, 0, "", buf, sizeof(buf)), 1);
    EXPECT_STREQ(buf, "20240209");
    ASSERT_EQ(SCA_FormatTimeString(&time, buf, sizeof(buf)), 1);
    EXPECT_STREQ(buf, "09:05:03");
    EXPECT_EQ(Format(&SCA_FormatAbsTime, kLeapDay), "2024-02-29 13:45:07");

    ASSERT_EQ(SCA_GetDateTimeStringEx(buf, sizeof(buf), "_", "."), 1);
    EXPECT_THAT(buf, testing::MatchesRegex("[0-9]{4}(_[0-9]{2}){2} [0-9]{2}(\\.[0-9]{2}){2}"));
}

TEST_F(TimeTest, FormatsAreBounded) {
    const tagSCA_DATE date{2024, 2, 9, 5};
    char buf[8] = "untouch";
    EXPECT_EQ(SCA_FormatDateString(&date, 0, "-", buf, 0), 0);
    EXPECT_STREQ(buf, "untouch");
    EXPECT_EQ(SCA_FormatDateString(&date, 0, "-", buf, 8), 0);
    EXPECT_STREQ(buf, "2024-02");
}

TEST_F(TimeTest, DurationsWithAndWithoutDays) {
    constexpr uint64_t s = SCA_ABS_TIME_SECOND;
    EXPECT_EQ(Format(&SCA_FormatTime, 0), "00:00:00");
    EXPECT_EQ(Format(&SCA_FormatTime, 3661 * s + s - 1), "01:01:01");
    EXPECT_EQ(Format(&SCA_FormatTime, 86399 * s), "23:59:59");
    EXPECT_EQ(Format(&SCA_FormatTime, 86402 * s), "1 day(s) 00:00:02");
    EXPECT_EQ(Format(&SCA_FormatTimeEx, 5 * s + 70000), "00:00:05.007");
    EXPECT_EQ(Format(&SCA_FormatTimeEx, (3 * 86400 + 3661) * s + s / 2), "3 day(s) 01:01:01.500");
}

TEST_F(TimeTest, SizesUseBinaryUnits) {
    EXPECT_EQ(Format(&SCA_FormatSize, 0), "0 B");
    EXPECT_EQ(Format(&SCA_FormatSize, 512), "512 B");
    EXPECT_EQ(Format(&SCA_FormatSize, 1023), "1023 B");
    EXPECT_EQ(Format(&SCA_FormatSize, 1024), "1.00 KB");
    EXPECT_EQ(Format(&SCA_FormatSize, 1536), "1.50 KB");
    EXPECT_EQ(Format(&SCA_FormatSize, 3355443), "3.20 MB");
    EXPECT_EQ(Format(&SCA_FormatSize, 1048575), "1.00 MB"); // not "1024.00 KB"
    EXPECT_EQ(Format(&SCA_FormatSize, 1ull << 30), "1.00 GB");
    EXPECT_EQ(Format(&SCA_FormatSize, 2ull << 40), "2.00 TB");
    EXPECT_EQ(Format(&SCA_FormatSize, 18446744073709551615ull), "16777216.00 TB");
}

} // namespace
