// SPDX-License-Identifier: MIT
// The byte form of whole trees: exact framing, round trips, the depth limit, and refusal of
// truncated, malformed or over-long input without touching the object.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/SCA_ConfigObj.h"
#include "model/SCA_Field.h"
#include "model/SCA_StringStor.h"
#include "tests/model/ModelTestSupport.h"

namespace {

using model_test::Bytes;
using model_test::ExactCopy;
using model_test::HeapFailure;
using model_test::kObjectEnd;
using model_test::Names;
using model_test::ObjectOpen;
using model_test::ParentsAreSound;
using model_test::Parse;
using model_test::Reports;
using model_test::ValueForm;
using Texts = std::vector<std::string>;

// Config { Port=8000, Server { Host=alpha }, Empty {} }
constexpr char kSampleBytes[] = "2\x01"
                                "Config\x01"
                                "1\x01"
                                "Port\x01"
                                "8000\x01"
                                "2\x01"
                                "Server\x01"
                                "1\x01"
                                "Host\x01"
                                "alpha\x01"
                                "0\x01"
                                "2\x01"
                                "Empty\x01"
                                "0\x01"
                                "0\x01";
const std::string kSampleForm(kSampleBytes, sizeof(kSampleBytes) - 1);

void BuildSample(SCA_ConfigObj* config) {
    ASSERT_EQ(1, config->AddField("Port", 8000));
    SCA_ConfigObj* server = config->AddConfigObj("Server");
    ASSERT_NE(nullptr, server);
    ASSERT_EQ(1, server->AddField("Host", "alpha"));
    ASSERT_NE(nullptr, config->AddConfigObj("Empty"));
}

// levels nested objects named L around one value field.
std::string NestedForm(uint32_t levels) {
    std::string form;
    for (uint32_t i = 0; i < levels; ++i) {
        form += ObjectOpen("L");
    }
    form += ValueForm("Leaf", "x");
    for (uint32_t i = 0; i < levels; ++i) {
        form += kObjectEnd;
    }
    return form;
}

// Appends a chain of objects below root until the tree has levels objects in all; the deepest.
SCA_ConfigObj* Deepen(SCA_ConfigObj* root, uint32_t levels) {
    SCA_ConfigObj* object = root;
    for (uint32_t i = 1; i < levels && object != nullptr; ++i) {
        object = object->AddConfigObj("L");
    }
    return object;
}

// Reads bytes into a fresh object from an exactly sized block; position and result.
int ParseFreshExact(const std::string& bytes, uint32_t* position) {
    const auto block = ExactCopy(bytes);
    SCA_ConfigObj object("Fresh", nullptr);
    *position = 0;
    return object.DoDeserialize(block.get(), static_cast<uint32_t>(bytes.size()), position,
                                nullptr);
}

TEST(ConfigObjStoreTest, ObjectFramingIsExact) {
    SCA_ConfigObj config("Config", nullptr);
    BuildSample(&config);
    EXPECT_EQ(kSampleForm, Bytes(config));

    // The bound: each object its name length + 11, each value field its own claim.
    EXPECT_EQ((6u + 2 + 11) + 17 + (6u + 2 + 11) + (4u + 2 + 5 + 2 + 5) + (5u + 2 + 11),
              config.GetDataSize());
    std::string buffer(config.GetDataSize(), '\x55');
    uint32_t position = 0;
    ASSERT_EQ(1,
              config.DoSerialize(buffer.data(), static_cast<uint32_t>(buffer.size()), &position));
    EXPECT_EQ(kSampleForm.size(), position);
    EXPECT_EQ(kSampleForm, buffer.substr(0, position));
    EXPECT_EQ(std::string(buffer.size() - position, '\x55'), buffer.substr(position));
}

TEST(ConfigObjStoreTest, TooSmallBufferIsRefusedWithoutWritingPastIt) {
    SCA_ConfigObj config("Config", nullptr);
    BuildSample(&config);
    const auto size = static_cast<uint32_t>(kSampleForm.size());
    for (uint32_t available = 0; available <= size; ++available) {
        const std::unique_ptr<char[]> block(new char[available]);
        uint32_t position = 0;
        const int result = config.DoSerialize(block.get(), available, &position);
        EXPECT_EQ(available == size ? 1 : 0, result) << "size " << available;
        EXPECT_EQ(available == size ? size : 0u, position) << "size " << available;
    }
}

TEST(ConfigObjStoreTest, RoundTripReplacesNameAndChildren) {
    SCA_ConfigObj source("Config", nullptr);
    BuildSample(&source);
    SCA_ConfigObj* server = nullptr;
    ASSERT_EQ(1, source.GetField("Server", &server));
    ASSERT_EQ(1, server->AddField("Empty", ""));
    ASSERT_EQ(1, server->AddField("Long", std::string(SCA_FIELD_MAX_VALUE, 'v').c_str()));
    ASSERT_EQ(1, source.AddField(std::string(SCA_FIELD_MAX_NAME, 'n').c_str(), "x"));
    ASSERT_EQ(1, source.AddField("Same", 1));
    ASSERT_EQ(1, source.AddField("Same", 2));
    const std::string bytes = Bytes(source);

    SCA_ConfigObj target("Target", nullptr);
    ASSERT_EQ(1, target.AddField("Old", 1));
    ASSERT_EQ(1, Parse(&target, bytes));
    EXPECT_STREQ("Config", target.GetName());
    EXPECT_EQ(Names(source), Names(target));
    EXPECT_EQ(bytes, Bytes(target));
    EXPECT_EQ(1, source.Compare(&target));
    EXPECT_TRUE(ParentsAreSound(target));
    EXPECT_EQ(nullptr, target.GetParent());
}

TEST(ConfigObjStoreTest, RunsOfSeparatorsBetweenChildrenAreAbsorbed) {
    const std::string runs = "\x01\x01\x01";
    const std::string input = ObjectOpen("Config") + ValueForm("Port", "8000") + runs +
                              ObjectOpen("Server") + ValueForm("Host", "alpha") + runs +
                              kObjectEnd + runs + ObjectOpen("Empty") + kObjectEnd + kObjectEnd;
    SCA_ConfigObj read("Read", nullptr);
    ASSERT_EQ(1, Parse(&read, input));
    EXPECT_EQ(kSampleForm, Bytes(read));
}

TEST(ConfigObjStoreTest, ObjectReadInPlaceTakesParentAndStopsAtItsEnd) {
    SCA_ConfigObj parent("Parent", nullptr);
    const std::string input = kSampleForm + ValueForm("Next", "1");
    const auto block = ExactCopy(input);
    SCA_ConfigObj object("Object", nullptr);
    uint32_t position = 0;
    ASSERT_EQ(1, object.DoDeserialize(block.get(), static_cast<uint32_t>(input.size()), &position,
                                      &parent));
    EXPECT_EQ(kSampleForm.size(), position);
    EXPECT_EQ(&parent, object.GetParent());
    EXPECT_EQ(kSampleForm, Bytes(object));
    EXPECT_TRUE(ParentsAreSound(object));

    SCA_Field next("x", nullptr);
    ASSERT_EQ(1, next.DoDeserialize(block.get(), static_cast<uint32_t>(input.size()), &position,
                                    &parent));
    EXPECT_EQ(input.size(), position);
    EXPECT_STREQ("Next", next.GetName());
}

TEST(ConfigObjStoreTest, ObjectReadInPlaceIsTheTreeItReadOrUnchanged) {
    SCA_ConfigObj object("Object", nullptr);
    ASSERT_EQ(1, object.AddField("Old", 1));
    const std::string before = Bytes(object);
    for (size_t length = 0; length < kSampleForm.size(); ++length) {
        const auto block = ExactCopy(kSampleForm.substr(0, length));
        uint32_t position = 0;
        EXPECT_EQ(0, object.DoDeserialize(block.get(), static_cast<uint32_t>(length), &position,
                                          nullptr));
        EXPECT_EQ(0u, position);
        EXPECT_EQ(Texts{"Old"}, Names(object)) << "cut at " << length;
    }
    EXPECT_EQ(before, Bytes(object));

    const auto block = ExactCopy(kSampleForm);
    uint32_t position = 0;
    ASSERT_EQ(1, object.DoDeserialize(block.get(), static_cast<uint32_t>(kSampleForm.size()),
                                      &position, nullptr));
    EXPECT_EQ(kSampleForm, Bytes(object)) << "the children read replace the old ones";
}

TEST(ConfigObjStoreTest, EveryTruncationIsRefusedAndLeavesTheObject) {
    SCA_ConfigObj object("Object", nullptr);
    ASSERT_EQ(1, object.AddField("Kept", "yes"));
    const std::string before = Bytes(object);
    for (size_t length = 0; length < kSampleForm.size(); ++length) {
        const std::string cut = kSampleForm.substr(0, length);
        EXPECT_EQ(0, Parse(&object, cut)) << "cut at " << length;
        uint32_t position = 0;
        EXPECT_EQ(0, ParseFreshExact(cut, &position)) << "cut at " << length;
        EXPECT_EQ(0u, position);
    }
    EXPECT_EQ(before, Bytes(object));
}

TEST(ConfigObjStoreTest, MalformedInputIsRefusedAndLeavesTheObject) {
    const std::string root = ObjectOpen("Root");
    const std::string inputs[] = {
        ValueForm("Port", "8000"),                                 // not an object
        "3\x01Root\x01" + kObjectEnd,                              // unknown digit at the root
        root + "3\x01X\x01y\x01" + kObjectEnd,                     // unknown digit of a child
        root + "0" + kObjectEnd,                                   // end mark without 0x01
        root + "0x",                                               //
        std::string("2\x02Root\x01", 7) + kObjectEnd,              // bad separator
        std::string("2\x01Ro\0t\x01", 7) + kObjectEnd,             // zero byte in a name
        root + ValueForm("A", std::string("b\0", 2)) + kObjectEnd, // zero byte in a value
        root + ObjectOpen(std::string(SCA_FIELD_MAX_NAME + 1, 'n')) + kObjectEnd + kObjectEnd,
        kSampleForm + "x",                 // trailing garbage
        kSampleForm + ValueForm("A", "b"), // a second tree or field after the root
        kSampleForm + kObjectEnd,          // one end mark too many
    };
    SCA_ConfigObj object("Object", nullptr);
    ASSERT_EQ(1, object.AddField("Kept", "yes"));
    const std::string before = Bytes(object);
    for (const std::string& input : inputs) {
        EXPECT_EQ(0, Parse(&object, input)) << ::testing::PrintToString(input);
        EXPECT_EQ(before, Bytes(object));
    }
    for (size_t i = 0; i < 9; ++i) {
        uint32_t position = 0;
        EXPECT_EQ(0, ParseFreshExact(inputs[i], &position)) << ::testing::PrintToString(inputs[i]);
        EXPECT_EQ(0u, position);
    }
}

TEST(ConfigObjStoreTest, SixtyFourLevelsAreTheDeepestTree) {
    Reports reports;
    SCA_ConfigObj deep("L", nullptr);
    SCA_ConfigObj* bottom = Deepen(&deep, SCA_CONFIG_MAX_DEPTH);
    ASSERT_NE(nullptr, bottom);
    ASSERT_EQ(1, bottom->AddField("Leaf", "x"));
    const std::string bytes = Bytes(deep);
    EXPECT_EQ(NestedForm(SCA_CONFIG_MAX_DEPTH), bytes);
    SCA_ConfigObj read("Read", nullptr);
    ASSERT_EQ(1, Parse(&read, bytes));
    EXPECT_EQ(1, deep.Compare(&read));
    EXPECT_EQ(SCA_CONFIG_MAX_DEPTH + 1, read.GetTotalFieldCount());
    EXPECT_TRUE(reports.TakeTexts().empty());

    // One level more is neither written nor read.
    SCA_ConfigObj* below = bottom->AddConfigObj("L");
    ASSERT_NE(nullptr, below);
    SCA_StringStor stor;
    EXPECT_EQ(0, deep.Serialize(&stor));
    EXPECT_EQ(0u, stor.GetSize());
    std::string buffer(deep.GetDataSize(), '\0');
    uint32_t position = 0;
    EXPECT_EQ(0, deep.DoSerialize(buffer.data(), static_cast<uint32_t>(buffer.size()), &position));
    EXPECT_EQ(0u, position);
    EXPECT_EQ(2u, reports.TakeTexts().size());

    const std::string before = Bytes(read);
    EXPECT_EQ(0, Parse(&read, NestedForm(SCA_CONFIG_MAX_DEPTH + 1)));
    EXPECT_EQ(0, Parse(&read, NestedForm(100000))) << "no stack is spent on hostile depth";
    EXPECT_EQ(before, Bytes(read));
    EXPECT_EQ(0, ParseFreshExact(NestedForm(SCA_CONFIG_MAX_DEPTH + 1), &position));
}

TEST(ConfigObjStoreTest, FieldsReadFromBytesCanBeChangedAndFreedOneByOne) {
    SCA_ConfigObj config("Config", nullptr);
    ASSERT_EQ(1, Parse(&config, kSampleForm));
    SCA_Field* port = config.GetHead();
    ASSERT_EQ(1, port->SetValue("a much longer value than before"));
    ASSERT_EQ(1, port->SetName("ControlPort"));
    ASSERT_EQ(1, config.RenameField("Server", "Host"));
    SCA_ConfigObj* host = nullptr;
    ASSERT_EQ(1, config.GetField("Host", &host));
    ASSERT_EQ(1, host->GetHead()->SetValue(7));
    SCA_Field* empty = config.RemoveField("Empty");
    ASSERT_NE(nullptr, empty);
    empty->Destroy();
    SCA_Field source("Source", nullptr);
    ASSERT_EQ(1, source.SetValue("v"));
    ASSERT_EQ(1, host->GetHead()->SetContent(&source));
    EXPECT_EQ(ObjectOpen("Config") + ValueForm("ControlPort", "a much longer value than before") +
                  ObjectOpen("Host") + ValueForm("Source", "v") + kObjectEnd + kObjectEnd,
              Bytes(config));
    SCA_Field* clone = host->Clone();
    ASSERT_NE(nullptr, clone);
    clone->Destroy();
    ASSERT_EQ(1, Parse(&config, kSampleForm)) << "a second read replaces the first";
    EXPECT_EQ(kSampleForm, Bytes(config));
}

TEST(ConfigObjStoreTest, FailedAllocationsWhileReadingLeaveTheObject) {
    SCA_ConfigObj object("Object", nullptr);
    ASSERT_EQ(1, object.AddField("Kept", "yes"));
    const std::string before = Bytes(object);
    uint32_t failing = 1;
    for (;; ++failing) {
        int result = 0;
        {
            HeapFailure failure(failing);
            result = Parse(&object, kSampleForm);
        }
        if (result) {
            break;
        }
        EXPECT_EQ(before, Bytes(object)) << "allocation " << failing;
    }
    EXPECT_EQ(kSampleForm, Bytes(object));
    // The root's name, the staging name, three objects' and one value field's blocks at least.
    EXPECT_GE(failing, 5u);
}

TEST(ConfigObjStoreTest, WideTreesRoundTrip) {
    SCA_ConfigObj wide("Wide", nullptr);
    for (int i = 0; i < 20000; ++i) {
        const std::string name = "Field" + std::to_string(i);
        ASSERT_EQ(1, i % 100 == 0 ? (wide.AddConfigObj(name.c_str()) != nullptr ? 1 : 0)
                                  : wide.AddField(name.c_str(), i));
    }
    const std::string bytes = Bytes(wide);
    EXPECT_LE(bytes.size(), wide.GetDataSize());
    SCA_ConfigObj read("Read", nullptr);
    ASSERT_EQ(1, Parse(&read, bytes));
    EXPECT_EQ(20000u, read.GetFieldCount());
    EXPECT_EQ(bytes, Bytes(read));
}

} // namespace
