// SPDX-License-Identifier: MIT
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "libmor/SCA_String.h"

namespace {

// SCA_StrnCpy into a buffer of the given size, as a string.
std::string Copy(const char* src, size_t size) {
    std::vector<char> buf(size + 1, 'x');
    SCA_StrnCpy(buf.data(), src, size);
    return buf.data();
}

TEST(StringTest, StrnCpyBoundsAndTerminates) {
    EXPECT_EQ(Copy("abc", 10), "abc");
    EXPECT_EQ(Copy("abc", 4), "abc");
    EXPECT_EQ(Copy("abcdef", 4), "abc");
    EXPECT_EQ(Copy("abc", 1), "");
    EXPECT_EQ(Copy(nullptr, 4), "");
}

TEST(StringTest, StrnCpyNeverSplitsACharacter) {
    const char* twoByte = "a\xC3\xA9";          // a é
    const char* threeByte = "ab\xE2\x82\xAC";   // ab €
    const char* fourByte = "a\xF0\x9F\x98\x80"; // a and an emoji
    EXPECT_EQ(Copy(twoByte, 3), "a");
    EXPECT_EQ(Copy(twoByte, 4), twoByte);
    EXPECT_EQ(Copy(threeByte, 4), "ab");
    EXPECT_EQ(Copy(threeByte, 5), "ab");
    EXPECT_EQ(Copy(threeByte, 6), threeByte);
    EXPECT_EQ(Copy(fourByte, 3), "a");
    EXPECT_EQ(Copy(fourByte, 5), "a");
    EXPECT_EQ(Copy(fourByte, 6), fourByte);
    EXPECT_EQ(Copy("\xC3\xA9\xC3\xA9", 4), "\xC3\xA9");
}

TEST(StringTest, SizeZeroLeavesBufferUntouched) {
    char buf[4] = {'q', 'r', 's', 't'};
    EXPECT_EQ(SCA_StrnCpy(buf, "abc", 0), buf);
    EXPECT_EQ(std::memcmp(buf, "qrst", 4), 0);
    EXPECT_EQ(SCA_StrCopyToUpper("abc", buf, 0), 0);
    EXPECT_EQ(std::memcmp(buf, "qrst", 4), 0);
}

TEST(StringTest, CopyToUpperChangesOnlyAsciiLetters) {
    char buf[16];
    EXPECT_EQ(SCA_StrCopyToUpper("cpu-0 \xC3\xA9z", buf, sizeof(buf)), 1);
    EXPECT_STREQ(buf, "CPU-0 \xC3\xA9Z");
    EXPECT_EQ(SCA_StrCopyToUpper("abcdef", buf, 4), 1);
    EXPECT_STREQ(buf, "ABC");
}

TEST(StringTest, AtoUint64ReadsLeadingNumberAndSaturates) {
    constexpr uint64_t kMax = 18446744073709551615ull;
    EXPECT_EQ(SCA_AtoUint64(" \t42abc"), 42u);
    EXPECT_EQ(SCA_AtoUint64("-5"), 0u);
    EXPECT_EQ(SCA_AtoUint64(""), 0u);
    EXPECT_EQ(SCA_AtoUint64(nullptr), 0u);
    EXPECT_EQ(SCA_AtoUint64("18446744073709551615"), kMax);
    EXPECT_EQ(SCA_AtoUint64("18446744073709551614"), kMax - 1);
    EXPECT_EQ(SCA_AtoUint64("18446744073709551616"), kMax);
    EXPECT_EQ(SCA_AtoUint64("99999999999999999999999"), kMax);
}

TEST(StringTest, GetToken1WalksThroughBlankSeparatedTokens) {
    const char* text = "  alpha\tbeta   gamma ";
    uint32_t position = 0;
    char buf[16];
    ASSERT_EQ(SCA_GetToken1(text, &position, buf, sizeof(buf)), 1);
    EXPECT_STREQ(buf, "alpha");
    EXPECT_EQ(position, 7u);
    ASSERT_EQ(SCA_GetToken1(text, &position, buf, sizeof(buf)), 1);
    EXPECT_STREQ(buf, "beta");
    ASSERT_EQ(SCA_GetToken1(text, &position, buf, sizeof(buf)), 1);
    EXPECT_STREQ(buf, "gamma");
    EXPECT_EQ(SCA_GetToken1(text, &position, buf, sizeof(buf)), 0);
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(SCA_GetToken1(text, &position, buf, sizeof(buf)), 0);
}

TEST(StringTest, GetToken1CutsLongTokensAndSurvivesBadInput) {
    uint32_t position = 0;
    char buf[4];
    ASSERT_EQ(SCA_GetToken1("ab\xC3\xA9z next", &position, buf, sizeof(buf)), 1);
    EXPECT_STREQ(buf, "ab"); // the é would not fit whole
    EXPECT_EQ(position, 5u); // but the whole token is passed
    ASSERT_EQ(SCA_GetToken1("ab\xC3\xA9z next", &position, buf, sizeof(buf)), 1);
    EXPECT_STREQ(buf, "nex");

    position = 100;
    EXPECT_EQ(SCA_GetToken1("short", &position, buf, sizeof(buf)), 0);
    position = 0;
    EXPECT_EQ(SCA_GetToken1(nullptr, &position, buf, sizeof(buf)), 0);
    EXPECT_EQ(SCA_GetToken1(" \t ", &position, buf, sizeof(buf)), 0);
}

TEST(StringTest, CompareItemsSortsByBytesUnnamedFirst) {
    int nodes[5] = {};
    std::vector<tagSCA_SORT_ITEM> items = {{&nodes[0], "b"},
                                           {&nodes[1], "\xC3\xA9"},
                                           {&nodes[2], nullptr},
                                           {&nodes[3], "B"},
                                           {&nodes[4], "a"}};
    std::qsort(items.data(), items.size(), sizeof(tagSCA_SORT_ITEM), &sca_compare_items);
    EXPECT_EQ(items[0].Item, &nodes[2]);
    EXPECT_STREQ(items[1].Name, "B");
    EXPECT_STREQ(items[2].Name, "a");
    EXPECT_STREQ(items[3].Name, "b");
    EXPECT_STREQ(items[4].Name, "\xC3\xA9"); // bytes above 0x7F sort after ASCII
}

} // namespace
