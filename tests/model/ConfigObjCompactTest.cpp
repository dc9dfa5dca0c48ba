// SPDX-License-Identifier: MIT
// Fields made in one allocation with their name and value (typed adders, child objects,
// clones): the same trees and bytes as fields built piece by piece, and every later change,
// copy and destruction as safe as on any other field.
#include <cstdint>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "libmor/SCA_Heap.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_Field.h"
#include "tests/model/ModelTestSupport.h"

namespace {

using model_test::Bytes;
using model_test::HeapFailure;
using model_test::ParentsAreSound;

// Allocations the calling thread makes while add runs.
template <typename Add>
uint64_t AllocationsOf(Add add) {
    const uint64_t before = SCA_HeapAllocCount();
    add();
    return SCA_HeapAllocCount() - before;
}

// A value field built piece by piece: its name and value each in their own allocation.
void AddPieceByPiece(SCA_ConfigObj* object, const char* name, const char* value) {
    auto* field = new SCA_Field(name, nullptr);
    ASSERT_EQ(1u, field->IsConstructed());
    ASSERT_EQ(1, field->SetValue(value));
    ASSERT_EQ(1, object->AddField(field, 0));
}

// Every typed adder makes its field, text included, in one allocation, and the tree it builds
// is the same, bytes and lengths, as one built piece by piece.
TEST(ConfigObjCompactTest, TypedAddersTakeOneAllocationAndBuildTheSameTree) {
    SCA_ConfigObj compact("Reply", nullptr);
    SCA_ConfigObj* rows = nullptr;
    const uint64_t allocations[] = {
        AllocationsOf([&] { ASSERT_EQ(1, compact.AddField("Text", "9 11 12 0 1 - CPU")); }),
        AllocationsOf([&] { ASSERT_EQ(1, compact.AddField("Empty", "")); }),
        AllocationsOf([&] { ASSERT_EQ(1, compact.AddField("Null", nullptr)); }),
        AllocationsOf(
            [&] { ASSERT_EQ(1, compact.AddField("Int", std::numeric_limits<int>::min())); }),
        AllocationsOf(
            [&] { ASSERT_EQ(1, compact.AddField("U32", std::numeric_limits<uint32_t>::max())); }),
        AllocationsOf([&] { ASSERT_EQ(1, compact.AddField("U16", uint16_t{65535})); }),
        AllocationsOf(
            [&] { ASSERT_EQ(1, compact.AddField("U64", std::numeric_limits<uint64_t>::max())); }),
        AllocationsOf([&] { ASSERT_EQ(1, compact.AddField("Double", 0.1)); }),
        AllocationsOf([&] { ASSERT_EQ(1, compact.AddFieldToHead("Head", -7)); }),
        AllocationsOf([&] { rows = compact.AddConfigObj("Rows"); }),
        AllocationsOf([&] { ASSERT_EQ(1, rows->AddField("17", "0 0 2 0 0 - Disk")); }),
    };
    for (const uint64_t count : allocations) {
        EXPECT_EQ(1u, count);
    }

    SCA_ConfigObj pieces("Reply", nullptr);
    AddPieceByPiece(&pieces, "Head", "-7");
    AddPieceByPiece(&pieces, "Text", "9 11 12 0 1 - CPU");
    AddPieceByPiece(&pieces, "Empty", "");
    AddPieceByPiece(&pieces, "Null", "");
    AddPieceByPiece(&pieces, "Int", "-2147483648");
    AddPieceByPiece(&pieces, "U32", "4294967295");
    AddPieceByPiece(&pieces, "U16", "65535");
    AddPieceByPiece(&pieces, "U64", "18446744073709551615");
    AddPieceByPiece(&pieces, "Double", "0.10000000000000001");
    auto* pieceRows = new SCA_ConfigObj("Rows", nullptr);
    AddPieceByPiece(pieceRows, "17", "0 0 2 0 0 - Disk");
    ASSERT_EQ(1, pieces.AddField(pieceRows, 0));

    EXPECT_EQ(Bytes(pieces), Bytes(compact));
    EXPECT_EQ(1, pieces.Compare(&compact));
    EXPECT_TRUE(ParentsAreSound(compact));
    SCA_Field* mine = compact.GetHead();
    for (SCA_Field* theirs = pieces.GetHead(); theirs != nullptr; theirs = theirs->GetNext()) {
        ASSERT_NE(nullptr, mine);
        EXPECT_EQ(theirs->GetNameLength(), mine->GetNameLength()) << theirs->GetName();
        EXPECT_EQ(theirs->GetValueLength(), mine->GetValueLength()) << theirs->GetName();
        EXPECT_EQ(theirs->HasValue(), mine->HasValue()) << theirs->GetName();
        mine = mine->GetNext();
    }
    // The sized byte form writes the same bytes as the grown one.
    const std::string expected = Bytes(compact);
    std::string sized(compact.GetDataSize(), '\0');
    uint32_t position = 0;
    ASSERT_EQ(1, compact.DoSerialize(sized.data(), static_cast<uint32_t>(sized.size()), &position));
    EXPECT_EQ(expected, sized.substr(0, position));
}

// Names and values set after the field was made move to the heap, however long or short, and
// are freed with the field; the bytes first made with it are never freed on their own (the
// sanitizers of the test build report either fault).
TEST(ConfigObjCompactTest, LaterChangesOfNameAndValueWork) {
    SCA_ConfigObj config("Config", nullptr);
    ASSERT_EQ(1, config.AddField("Row", "short"));
    SCA_Field* field = config.GetHead();

    const std::string longer(SCA_FIELD_MAX_VALUE, 'v');
    ASSERT_EQ(1, field->SetValue(longer.c_str()));
    EXPECT_EQ(longer, field->GetValue());
    ASSERT_EQ(1, field->SetValue("x"));
    EXPECT_STREQ("x", field->GetValue());
    EXPECT_EQ(3u, field->GetValueLength());
    EXPECT_EQ(0, field->SetValue("bad\x01"));
    EXPECT_STREQ("x", field->GetValue()) << "a refused value keeps the old one";

    const std::string longName(200, 'n');
    ASSERT_EQ(1, field->SetName(longName.c_str()));
    EXPECT_EQ(longName, field->GetName());
    EXPECT_EQ(0, field->SetName("a\x01"));
    EXPECT_EQ(longName, field->GetName());
    ASSERT_EQ(1, config.RenameField(longName.c_str(), "R"));
    EXPECT_EQ(3u, field->GetNameLength());

    ASSERT_EQ(1, config.AddField("Gone", 12));
    ASSERT_EQ(1, config.GetFieldList()->GetTail()->SetValue(nullptr, 0));
    EXPECT_EQ(0, config.GetFieldList()->GetTail()->HasValue());
    ASSERT_EQ(1, config.AddField("Failed", 13));
    {
        HeapFailure failure(1);
        EXPECT_EQ(0, config.GetFieldList()->GetTail()->SetValue(14));
    }
    EXPECT_EQ(0, config.GetFieldList()->GetTail()->HasValue());

    const std::string bytes = Bytes(config);
    EXPECT_EQ(model_test::ObjectOpen("Config") + model_test::ValueForm("R", "x") +
                  model_test::ValueForm("Gone", "") + model_test::ValueForm("Failed", "") +
                  model_test::kObjectEnd,
              bytes);
    SCA_ConfigObj read("Read", nullptr);
    ASSERT_EQ(1, model_test::Parse(&read, bytes));
    EXPECT_EQ(bytes, Bytes(read));

    SCA_Field* removed = config.RemoveField("R");
    ASSERT_EQ(field, removed);
    removed->Destroy();
    config.GetFieldList()->DeleteItem("Gone");
    EXPECT_EQ(1u, config.GetFieldCount());
}

// A clone is one allocation, keeps what its source is (no value, the empty name, the type read
// last) and is as independent of it as SetContent copies are in both directions.
TEST(ConfigObjCompactTest, ClonesAndContentCopiesAreIndependent) {
    SCA_ConfigObj config("Config", nullptr);
    ASSERT_EQ(1, config.AddField("Port", 8000));
    SCA_Field* port = config.GetHead();
    SCA_Field* clone = nullptr;
    EXPECT_EQ(1u, AllocationsOf([&] { clone = port->Clone(); }));
    ASSERT_NE(nullptr, clone);
    EXPECT_EQ(1, port->Compare(clone));
    ASSERT_EQ(1, clone->SetValue("9000 and a value longer than the one it was made with"));
    ASSERT_EQ(1, clone->SetName("Other"));
    EXPECT_STREQ("8000", port->GetValue());
    EXPECT_STREQ("Port", port->GetName());
    clone->Destroy();

    // A field without a value, and one that changed after it was made.
    SCA_Field* bare = nullptr;
    ASSERT_EQ(1, config.AddField("Bare", &bare, 1, 1));
    SCA_Field* bareClone = bare->Clone();
    ASSERT_NE(nullptr, bareClone);
    EXPECT_EQ(0, bareClone->HasValue());
    EXPECT_EQ(1, bare->Compare(bareClone));
    bareClone->Destroy();
    ASSERT_EQ(1, port->SetValue("changed"));
    SCA_Field* changedClone = port->Clone();
    ASSERT_NE(nullptr, changedClone);
    EXPECT_STREQ("changed", changedClone->GetValue());
    changedClone->Destroy();

    // The type number a failed parse leaves is copied too.
    SCA_Field odd("Odd", nullptr);
    const std::string object = model_test::ObjectOpen("X") + model_test::kObjectEnd;
    uint32_t position = 0;
    EXPECT_EQ(0, odd.DoDeserialize(object.data(), static_cast<uint32_t>(object.size()), &position,
                                   nullptr));
    SCA_Field* oddClone = odd.Clone();
    ASSERT_NE(nullptr, oddClone);
    EXPECT_EQ(odd.GetType(), oddClone->GetType());
    EXPECT_FALSE(oddClone->IsObject());
    oddClone->Destroy();

    // SetContent into and out of a field made with its texts; the source goes first.
    ASSERT_EQ(1, config.AddField("Target", "t"));
    SCA_Field* target = config.GetFieldList()->GetTail();
    auto* source = new SCA_Field("Source", nullptr);
    ASSERT_EQ(1, source->SetValue("from the heap"));
    ASSERT_EQ(1, target->SetContent(source));
    source->Destroy();
    EXPECT_STREQ("Source", target->GetName());
    EXPECT_STREQ("from the heap", target->GetValue());
    SCA_Field copy("Copy", nullptr);
    ASSERT_EQ(1, copy.SetContent(target));
    config.GetFieldList()->DeleteItem("Source");
    EXPECT_STREQ("Source", copy.GetName());
    EXPECT_STREQ("from the heap", copy.GetValue());
}

} // namespace
