// SPDX-License-Identifier: MIT
// The byte form of a single value field, and the limits and refusals of its name and value.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "model/SCA_ConfigObj.h"
#include "model/SCA_Field.h"
#include "tests/model/ModelTestSupport.h"

namespace {

using model_test::ExactCopy;
using model_test::HeapFailure;
using model_test::ObjectOpen;
using model_test::Reports;
using model_test::ValueForm;

// Port=8000: the digit 1, 0x01, "Port", 0x01, "8000", 0x01.
const std::string kPortForm = std::string("1\x01"
                                          "Port\x01"
                                          "8000\x01",
                                          12);

// Parses the whole of bytes into field from an exactly sized heap block.
int ParseExact(SCA_Field* field, const std::string& bytes, uint32_t* position) {
    const auto block = ExactCopy(bytes);
    return field->DoDeserialize(block.get(), static_cast<uint32_t>(bytes.size()), position,
                                nullptr);
}

// Serialises field into a block of exactly size bytes; the bytes written, or "" on refusal.
std::string SerializeExact(SCA_Field* field, uint32_t size, int* result, uint32_t* position) {
    const std::unique_ptr<char[]> block(new char[size]);
    std::memset(block.get(), 0x55, size);
    *position = 0;
    *result = field->DoSerialize(block.get(), size, position);
    return std::string(block.get(), *position);
}

TEST(FieldByteFormTest, PortFieldIsTwelveBytesWithinItsClaimedSeventeen) {
    SCA_Field port("Port", nullptr);
    ASSERT_EQ(1u, port.IsConstructed());
    ASSERT_EQ(1, port.SetValue(8000));
    EXPECT_EQ(6u, port.GetNameLength());
    EXPECT_EQ(6u, port.GetValueLength());
    EXPECT_EQ(17u, port.GetDataSize());

    char buffer[17];
    std::memset(buffer, 0x55, sizeof(buffer));
    uint32_t position = 0;
    ASSERT_EQ(1, port.DoSerialize(buffer, sizeof(buffer), &position));
    EXPECT_EQ(12u, position);
    EXPECT_EQ(kPortForm, std::string(buffer, 12));
    EXPECT_EQ(std::string(5, '\x55'), std::string(buffer + 12, 5)) << "wrote past the form";
}

TEST(FieldByteFormTest, SerialisingAtAnOffsetAppendsAfterIt) {
    SCA_Field port("Port", nullptr);
    ASSERT_EQ(1, port.SetValue("8000"));
    std::string buffer(3 + 12, 'x');
    uint32_t position = 3;
    ASSERT_EQ(1, port.DoSerialize(buffer.data(), static_cast<uint32_t>(buffer.size()), &position));
    EXPECT_EQ(15u, position);
    EXPECT_EQ("xxx" + kPortForm, buffer);
}

TEST(FieldByteFormTest, TooSmallBufferIsRefusedWithoutWritingPastIt) {
    SCA_Field port("Port", nullptr);
    ASSERT_EQ(1, port.SetValue(8000));
    int result = 0;
    uint32_t position = 0;
    EXPECT_EQ(kPortForm, SerializeExact(&port, 12, &result, &position));
    EXPECT_EQ(1, result);
    for (uint32_t size = 0; size < 12; ++size) {
        SCA_Field field("Port", nullptr);
        ASSERT_EQ(1, field.SetValue(8000));
        SerializeExact(&field, size, &result, &position);
        EXPECT_EQ(0, result) << "size " << size;
        EXPECT_EQ(0u, position) << "size " << size;
    }
    // A position already beyond the buffer writes nothing either.
    char buffer[4] = {};
    position = 5;
    EXPECT_EQ(0, port.DoSerialize(buffer, sizeof(buffer), &position));
    EXPECT_EQ(5u, position);
}

TEST(FieldByteFormTest, EmptyValueHasItsOwnFormAndReadsBackAsEmpty) {
    SCA_Field empty("Name", nullptr);
    ASSERT_EQ(1, empty.SetValue(""));
    const std::string form("1\x01Name\x01\x01", 8);
    int result = 0;
    uint32_t position = 0;
    EXPECT_EQ(form, SerializeExact(&empty, 8, &result, &position));
    EXPECT_EQ(1, result);

    SCA_Field read("Other", nullptr);
    ASSERT_EQ(1, read.SetValue("old"));
    position = 0;
    ASSERT_EQ(1, ParseExact(&read, form, &position));
    EXPECT_EQ(8u, position);
    EXPECT_STREQ("Name", read.GetName());
    EXPECT_EQ(1, read.HasValue());
    EXPECT_STREQ("", read.GetValue());
    EXPECT_EQ(2u, read.GetValueLength());
}

TEST(FieldByteFormTest, FieldThatNeverHadAValueIsWrittenAsTheEmptyValue) {
    SCA_Field bare("Name", nullptr);
    ASSERT_EQ(0, bare.HasValue());
    EXPECT_EQ(0u, bare.GetValueLength());
    EXPECT_EQ(11u, bare.GetDataSize());
    int result = 0;
    uint32_t position = 0;
    EXPECT_EQ(std::string("1\x01Name\x01\x01", 8), SerializeExact(&bare, 8, &result, &position));
    EXPECT_EQ(1, result);
}

TEST(FieldByteFormTest, ReadingSetsNameValueParentAndConstruction) {
    SCA_ConfigObj parent("Config", nullptr);
    SCA_Field field("Before", nullptr);
    const auto block = ExactCopy(kPortForm);
    uint32_t position = 0;
    ASSERT_EQ(1, field.DoDeserialize(block.get(), 12, &position, &parent));
    EXPECT_EQ(12u, position);
    EXPECT_STREQ("Port", field.GetName());
    EXPECT_EQ(6u, field.GetNameLength());
    EXPECT_STREQ("8000", field.GetValue());
    EXPECT_EQ(6u, field.GetValueLength());
    EXPECT_EQ(SCA_FIELD_TYPE_VALUE, field.GetType());
    EXPECT_EQ(&parent, field.GetParent());
}

TEST(FieldByteFormTest, NameOfTheLimitReadsAndOneMoreByteFails) {
    const std::string longest(SCA_FIELD_MAX_NAME, 'n');
    SCA_Field field("x", nullptr);
    uint32_t position = 0;
    ASSERT_EQ(1, ParseExact(&field, ValueForm(longest, "v"), &position));
    EXPECT_EQ(longest, field.GetName());
    EXPECT_EQ(SCA_FIELD_MAX_NAME + 2, field.GetNameLength());

    SCA_Field tooLong("x", nullptr);
    position = 0;
    EXPECT_EQ(0, ParseExact(&tooLong, ValueForm(longest + "n", "v"), &position));
    EXPECT_EQ(0u, position);
}

TEST(FieldByteFormTest, ValueOfTheLimitReadsAndOneMoreByteFails) {
    const std::string longest(SCA_FIELD_MAX_VALUE, 'v');
    SCA_Field field("x", nullptr);
    uint32_t position = 0;
    ASSERT_EQ(1, ParseExact(&field, ValueForm("Big", longest), &position));
    EXPECT_EQ(longest, field.GetValue());
    EXPECT_EQ(SCA_FIELD_MAX_VALUE + 2, field.GetValueLength());

    SCA_Field tooLong("x", nullptr);
    position = 0;
    EXPECT_EQ(0, ParseExact(&tooLong, ValueForm("Big", longest + "v"), &position));
    EXPECT_EQ(0u, position);
}

TEST(FieldByteFormTest, ObjectDigitFailsAndLeavesThePosition) {
    SCA_Field field("x", nullptr);
    ASSERT_EQ(1, field.SetValue("kept"));
    for (const char digit : {'2', '0', '3', 'a'}) {
        std::string form = kPortForm;
        form[0] = digit;
        uint32_t position = 0;
        EXPECT_EQ(0, ParseExact(&field, form, &position)) << digit;
        EXPECT_EQ(0u, position) << digit;
    }
}

TEST(FieldByteFormTest, RunsOfSeparatorsAfterAValueAreAbsorbed) {
    const std::string first = ValueForm("A", "x") + "\x01\x01";
    const std::string input = first + ValueForm("B", "y");
    const auto block = ExactCopy(input);
    const auto size = static_cast<uint32_t>(input.size());

    SCA_Field a("a", nullptr);
    uint32_t position = 0;
    ASSERT_EQ(1, a.DoDeserialize(block.get(), size, &position, nullptr));
    EXPECT_EQ(first.size(), position) << "all three 0x01 after the value are consumed";
    EXPECT_STREQ("x", a.GetValue());

    SCA_Field b("b", nullptr);
    ASSERT_EQ(1, b.DoDeserialize(block.get(), size, &position, nullptr));
    EXPECT_EQ(size, position);
    EXPECT_STREQ("B", b.GetName());

    // Separators that run to the end of the input stop there.
    SCA_Field c("c", nullptr);
    position = 0;
    ASSERT_EQ(1, ParseExact(&c, ValueForm("C", "z") + "\x01\x01\x01", &position));
    EXPECT_EQ(9u, position);
}

TEST(FieldByteFormTest, EveryTruncationFailsWithoutReadingPastTheEnd) {
    for (const std::string& form :
         {kPortForm, ValueForm("Name", ""), ValueForm("", "v"), ValueForm("", "")}) {
        uint32_t position = 0;
        SCA_Field whole("x", nullptr);
        ASSERT_EQ(1, ParseExact(&whole, form, &position));
        ASSERT_EQ(form.size(), position);
        for (size_t length = 0; length < form.size(); ++length) {
            SCA_Field field("x", nullptr);
            position = 0;
            EXPECT_EQ(0, ParseExact(&field, form.substr(0, length), &position))
                << "cut at " << length << " of " << form.size();
            EXPECT_EQ(0u, position);
        }
    }
}

TEST(FieldByteFormTest, ParsingAtAnOffsetStartsThere) {
    const std::string input = "junk" + kPortForm;
    SCA_Field field("x", nullptr);
    uint32_t position = 4;
    ASSERT_EQ(1, ParseExact(&field, input, &position));
    EXPECT_EQ(input.size(), position);
    EXPECT_STREQ("Port", field.GetName());

    position = static_cast<uint32_t>(input.size());
    EXPECT_EQ(0, ParseExact(&field, input, &position)) << "nothing left to read";
    EXPECT_EQ(input.size(), position);
}

TEST(FieldByteFormTest, ZeroBytesInsideANameOrValueFailTheParse) {
    for (const std::string& form :
         {ValueForm(std::string("Po\0rt", 5), "8000"), ValueForm("Port", std::string("80\0", 3))}) {
        SCA_Field field("x", nullptr);
        uint32_t position = 0;
        EXPECT_EQ(0, ParseExact(&field, form, &position));
        EXPECT_EQ(0u, position);
    }
}

TEST(FieldByteFormTest, FailedAllocationFailsTheParse) {
    for (uint32_t failing = 1; failing <= 2; ++failing) {
        SCA_Field field("x", nullptr);
        uint32_t position = 0;
        HeapFailure failure(failing);
        EXPECT_EQ(0, ParseExact(&field, kPortForm, &position)) << "allocation " << failing;
        EXPECT_EQ(0u, position);
    }
}

TEST(FieldValueTest, SeparatorAndZeroBytesAreRefusedAndTheOldTextKept) {
    SCA_Field field("Name", nullptr);
    ASSERT_EQ(1, field.SetValue("old"));
    EXPECT_EQ(0, field.SetValue("a\x01z", 3));
    EXPECT_EQ(0, field.SetValue(std::string("a\0z", 3).data(), 3));
    EXPECT_STREQ("old", field.GetValue());
    EXPECT_EQ(5u, field.GetValueLength());

    EXPECT_EQ(0, field.SetName("Na\x01me"));
    EXPECT_EQ(0, field.SetName(nullptr));
    EXPECT_STREQ("Name", field.GetName());
    EXPECT_EQ(6u, field.GetNameLength());
}

TEST(FieldValueTest, LimitsAreEnforcedWhenSetting) {
    SCA_Field field("Name", nullptr);
    const std::string value(SCA_FIELD_MAX_VALUE, 'v');
    EXPECT_EQ(1, field.SetValue(value.c_str()));
    EXPECT_EQ(SCA_FIELD_MAX_VALUE + 2, field.GetValueLength());
    const std::string longer = value + "w";
    EXPECT_EQ(0, field.SetValue(longer.c_str()));
    EXPECT_EQ(0, field.SetValue(longer.data(), static_cast<uint32_t>(longer.size())));
    EXPECT_EQ(value, field.GetValue());

    const std::string name(SCA_FIELD_MAX_NAME, 'n');
    EXPECT_EQ(1, field.SetName(name.c_str()));
    EXPECT_EQ(0, field.SetName((name + "n").c_str()));
    EXPECT_EQ(name, field.GetName());

    // Whatever can be set can be written and read back.
    std::string buffer(field.GetDataSize(), '\0');
    uint32_t position = 0;
    ASSERT_EQ(1, field.DoSerialize(buffer.data(), static_cast<uint32_t>(buffer.size()), &position));
    SCA_Field read("x", nullptr);
    uint32_t readPosition = 0;
    ASSERT_EQ(1, ParseExact(&read, buffer.substr(0, position), &readPosition));
    EXPECT_EQ(name, read.GetName());
    EXPECT_EQ(value, read.GetValue());
}

TEST(FieldValueTest, InvalidNamesLeaveTheFieldUnconstructedWithAReport) {
    Reports reports;
    const std::string tooLong(SCA_FIELD_MAX_NAME + 1, 'n');
    for (const char* name : {static_cast<const char*>(nullptr), "a\x01", tooLong.c_str()}) {
        SCA_Field field(name, nullptr);
        EXPECT_EQ(0u, field.IsConstructed());
        EXPECT_EQ(0, field.HasName());
    }
    const std::vector<std::string> texts = reports.TakeTexts();
    EXPECT_EQ(std::vector<std::string>(3, "Invalid field name."), texts);
    EXPECT_TRUE(reports.AllAtLevel(SCA_LEVEL_CONFIG));

    HeapFailure failure(1);
    SCA_Field unnamed("Name", nullptr);
    EXPECT_EQ(0u, unnamed.IsConstructed());
    EXPECT_TRUE(reports.TakeTexts().empty()) << "a failed allocation is silent";
}

TEST(FieldValueTest, NumbersAreStoredAsTheirCLocaleText) {
    SCA_Field field("n", nullptr);
    ASSERT_EQ(1, field.SetValue(std::numeric_limits<int>::min()));
    EXPECT_STREQ("-2147483648", field.GetValue());
    EXPECT_EQ(13u, field.GetValueLength());
    ASSERT_EQ(1, field.SetValue(std::numeric_limits<uint32_t>::max()));
    EXPECT_STREQ("4294967295", field.GetValue());
    ASSERT_EQ(1, field.SetValue(std::numeric_limits<uint64_t>::max()));
    EXPECT_STREQ("18446744073709551615", field.GetValue());
    ASSERT_EQ(1, field.SetValue(0.1));
    EXPECT_STREQ("0.10000000000000001", field.GetValue());
    for (const double value : {-1.5e300, 1.0 / 3.0, 5e-324, 1e21, 123456789.0}) {
        char expected[40];
        std::snprintf(expected, sizeof(expected), "%.17g", value);
        ASSERT_EQ(1, field.SetValue(value));
        EXPECT_STREQ(expected, field.GetValue());
    }
}

TEST(FieldValueTest, NullValueLeavesNoValueAndFailedAllocationToo) {
    SCA_Field field("n", nullptr);
    ASSERT_EQ(1, field.SetValue("abc"));
    EXPECT_EQ(1, field.SetValue(nullptr, 7));
    EXPECT_EQ(0, field.HasValue());
    EXPECT_EQ(0u, field.GetValueLength());

    ASSERT_EQ(1, field.SetValue("abc"));
    HeapFailure failure(1);
    EXPECT_EQ(0, field.SetValue("def"));
    EXPECT_EQ(0, field.HasValue());
    EXPECT_EQ(0u, field.GetValueLength());
}

TEST(FieldValueTest, ObjectFormDoesNotReadAsAValueField) {
    const std::string form = ObjectOpen("Server") + ValueForm("Port", "8000") + "0\x01";
    SCA_Field field("x", nullptr);
    uint32_t position = 0;
    EXPECT_EQ(0, ParseExact(&field, form, &position));
    EXPECT_EQ(0u, position);
}

} // namespace
