// SPDX-License-Identifier: MIT
// An object whose children travel as bytes encoded before: written exactly as the object holding
// those fields would be, on both serialising paths, and read back as an ordinary object.
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/SCA_ConfigObj.h"
#include "model/SCA_EncodedObject.h"
#include "model/SCA_Field.h"
#include "model/SCA_StringStor.h"

namespace {

struct Row {
    const char* Name;
    const char* Value;
};

const std::vector<Row> kRows = {
    {"7", "1 11 12 0 0 - Processor  and   memory"},
    {"8", ""},
    {"12", "9 11 3 1 4294967295 db1 \xC3\xA9t\xC3\xA9 \xE2\x82\xAC"},
};

// A reply's tree: a value before and after the object of rows, as the rows object sits in a
// reply among other outputs.
std::unique_ptr<SCA_ConfigObj> Reply(SCA_ConfigObj* rows) {
    auto reply = std::make_unique<SCA_ConfigObj>("Data", nullptr);
    reply->AddField("Before", 1u);
    reply->AddField("MonitorsStatus", rows, 0);
    reply->AddField("After", "end");
    return reply;
}

std::string Serialized(SCA_ConfigObj* tree) {
    SCA_StringStor stor;
    EXPECT_EQ(1, tree->Serialize(&stor));
    return std::string(stor.GetData(), stor.GetSize());
}

// DoSerialize into a buffer of exactly size bytes; "" when refused.
std::string SerializedInto(SCA_ConfigObj* tree, uint32_t size) {
    std::string buffer(size, '\x55');
    uint32_t position = 0;
    if (!tree->DoSerialize(buffer.data(), size, &position)) {
        return "";
    }
    return buffer.substr(0, position);
}

std::shared_ptr<const std::string> Encoded(const std::vector<Row>& rows) {
    auto bytes = std::make_shared<std::string>();
    for (const Row& row : rows) {
        EXPECT_EQ(1, SCA_Field::AppendValueForm(row.Name, row.Value, bytes.get())) << row.Name;
    }
    return bytes;
}

TEST(EncodedObjectTest, WritesTheBytesOfTheObjectHoldingThoseFieldsAndReadsBackAsIt) {
    for (const std::vector<Row>& rows : {kRows, std::vector<Row>{}}) {
        auto* plain = new SCA_ConfigObj("Rows", nullptr);
        for (const Row& row : rows) {
            ASSERT_EQ(1, plain->AddField(row.Name, row.Value));
        }
        const auto expected = Reply(plain);
        const auto sent = Reply(new SCA_EncodedObject("Rows", Encoded(rows)));
        const std::string bytes = Serialized(expected.get());
        EXPECT_EQ(bytes, Serialized(sent.get())) << rows.size() << " rows";

        // The sized path: the bound it gives holds the form, and one byte less than the form
        // is refused.
        const uint32_t bound = sent->GetDataSize();
        ASSERT_GE(bound, bytes.size());
        EXPECT_EQ(bytes, SerializedInto(sent.get(), bound));
        EXPECT_EQ(bytes, SerializedInto(sent.get(), static_cast<uint32_t>(bytes.size())));
        EXPECT_EQ("", SerializedInto(sent.get(), static_cast<uint32_t>(bytes.size() - 1)));

        SCA_StringStor stor;
        stor.SetData(bytes.data(), static_cast<uint32_t>(bytes.size()));
        SCA_ConfigObj read("x", nullptr);
        ASSERT_EQ(1, read.Deserialize(&stor));
        SCA_ConfigObj* readRows = nullptr;
        ASSERT_EQ(1, read.GetField("MonitorsStatus", &readRows));
        ASSERT_EQ(rows.size(), readRows->GetFieldCount());
        SCA_Field* field = readRows->GetHead();
        for (const Row& row : rows) {
            EXPECT_STREQ(row.Name, field->GetName());
            EXPECT_STREQ(row.Value, field->GetValue());
            field = field->GetNext();
        }
    }
}

TEST(EncodedObjectTest, AValueFormIsRefusedWhereAddingTheFieldIsAndNothingIsAppended) {
    const std::string separator(1, '\x01');
    const std::string tooLong(SCA_FIELD_MAX_VALUE + 1, 'v');
    const Row refused[] = {
        {"", "value"},
        {"a\x01name", "value"},
        {"name", "a\x01value"},
        {"name", tooLong.c_str()},
    };
    for (const Row& row : refused) {
        std::string out = "kept";
        EXPECT_EQ(0, SCA_Field::AppendValueForm(row.Name, row.Value, &out)) << row.Name;
        EXPECT_EQ("kept", out);
        SCA_ConfigObj object("o", nullptr);
        EXPECT_EQ(0, object.AddField(row.Name, row.Value)) << "AddField agrees: " << row.Name;
    }
    std::string out;
    EXPECT_EQ(0, SCA_Field::AppendValueForm(nullptr, "v", &out));
    EXPECT_EQ(0, SCA_Field::AppendValueForm("n", nullptr, &out));
    EXPECT_EQ("", out);
}

} // namespace
