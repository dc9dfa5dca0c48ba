// SPDX-License-Identifier: MIT
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

#include "containers/SCA_DataQueue.h"
#include "containers/SCA_List.h"
#include "containers/SCA_ListItem.h"
#include "containers/SCA_Queue.h"
#include "tests/containers/ContainerTestSupport.h"

namespace {

using containers_test::Holds;

// Lists, nodes and queues own what they link; a copy would share it.
static_assert(!std::is_copy_constructible_v<SCA_List<int*>>);
static_assert(!std::is_copy_assignable_v<SCA_List<int*>>);
static_assert(!std::is_copy_constructible_v<SCA_ListItem<char*>>);
static_assert(!std::is_copy_assignable_v<SCA_ListItem<char*>>);
static_assert(!std::is_copy_constructible_v<SCA_Queue<double>>);
static_assert(!std::is_copy_assignable_v<SCA_Queue<double>>);
static_assert(!std::is_copy_constructible_v<SCA_DataQueue<int*>>);
static_assert(!std::is_copy_assignable_v<SCA_DataQueue<int*>>);

// A record that counts its destructions.
struct Record {
    explicit Record(int* destroyed) : Destroyed(destroyed) {}
    ~Record() { ++*Destroyed; }
    Record(const Record&) = delete;
    Record& operator=(const Record&) = delete;
    int* Destroyed;
};

TEST(ListElements, TextsOfACharListOutliveTheNodes) {
    char first[] = "first";
    char second[] = "second";
    char third[] = "third";
    SCA_List<char*> list(0);
    ASSERT_EQ(1, list.AddItemToTail(first, "a"));
    ASSERT_EQ(1, list.AddItemToTail(second, "b"));
    ASSERT_EQ(1, list.AddItemToTail(third, "c"));

    // The list stores the pointer, not a copy of the text.
    char* out = nullptr;
    ASSERT_EQ(1, list.GetItem("b", &out));
    EXPECT_EQ(second, out);
    second[0] = 'S';
    ASSERT_EQ(1, list.GetItemByPos(1, &out));
    EXPECT_STREQ("Second", out);

    out = nullptr;
    ASSERT_EQ(1, list.DeleteItem(0xFFFFFFFFu, &out));
    EXPECT_EQ(first, out);
    EXPECT_EQ(1, list.DeleteItem("c"));
    EXPECT_EQ(1, list.Clear());
    // Stack arrays: had the list freed them, the sanitizer would have stopped the test.
    EXPECT_STREQ("first", first);
    EXPECT_STREQ("Second", second);
    EXPECT_STREQ("third", third);
}

TEST(ListElements, ClearDeleteAndDestroyLeaveRecordsAlone) {
    int destroyed = 0;
    std::vector<std::unique_ptr<Record>> records;
    for (int i = 0; i < 6; ++i) {
        records.push_back(std::make_unique<Record>(&destroyed));
    }

    auto* list = new SCA_List<Record*>(0);
    for (int i = 0; i < 6; ++i) {
        ASSERT_EQ(1, list->AddItemToTail(records[i].get(), i % 2 == 0 ? "even" : nullptr));
    }
    ASSERT_EQ(1, list->DeleteHeadItem());
    ASSERT_EQ(1, list->DeleteTailItem());
    ASSERT_EQ(1, list->DeleteItem("even"));
    ASSERT_EQ(1, list->DeleteItemByPos(0));
    ASSERT_EQ(1, list->DeleteListItem(list->GetHead()));
    EXPECT_EQ(1u, list->Count());
    EXPECT_EQ(0, destroyed);

    ASSERT_EQ(1, list->Clear());
    EXPECT_EQ(0, destroyed);
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(1, list->AddItemToHead(records[i].get()));
    }
    list->Destroy(); // the nodes go, the records stay
    EXPECT_EQ(0, destroyed);

    auto* node = new SCA_ListItem<Record*>(records[0].get(), "node");
    node->Destroy();
    EXPECT_EQ(0, destroyed);

    records.clear();
    EXPECT_EQ(6, destroyed);
}

TEST(ListElements, PlainValuesAreStoredAsTheyAre) {
    SCA_List<uint32_t> values(0);
    const uint32_t big = 0xFFFFFFFFu;
    ASSERT_EQ(1, values.AddItemToTail(big, uint32_t{1}));
    ASSERT_EQ(1, values.AddItemToTail(0u, uint32_t{2}));
    uint32_t out = 5;
    ASSERT_EQ(1, values.GetItem(uint32_t{1}, &out));
    EXPECT_EQ(big, out);
    ASSERT_EQ(1, values.GetItem(uint32_t{2}, &out));
    EXPECT_EQ(0u, out);
    // An element that looks like the all-ones id is still just an element.
    EXPECT_EQ(0xFFFFFFFFu, values.GetItemPos(big));

    SCA_List<double> doubles(0);
    const double tiny = std::numeric_limits<double>::denorm_min();
    ASSERT_EQ(1, doubles.AddItemToTail(-0.0, "negative zero"));
    ASSERT_EQ(1, doubles.AddItemToTail(tiny, "tiny"));
    ASSERT_EQ(1, doubles.AddItemToTail(1e308, "huge"));
    double d = 0.0;
    ASSERT_EQ(1, doubles.GetItem("negative zero", &d));
    EXPECT_TRUE(std::signbit(d));
    ASSERT_EQ(1, doubles.GetItem("tiny", &d));
    EXPECT_EQ(tiny, d);
    ASSERT_EQ(1, doubles.GetTailItem(&d));
    EXPECT_EQ(1e308, d);
}

// The command tables keep member-function pointers as elements.
class Handlers {
public:
    int Twice(int value) { return 2 * value; }
    int Negate(int value) { return -value; }
};
using Handler = int (Handlers::*)(int);

TEST(ListElements, MemberFunctionPointers) {
    SCA_List<Handler> table(0);
    ASSERT_EQ(1, table.AddItemToTail(&Handlers::Twice, "twice"));
    ASSERT_EQ(1, table.AddItemToTail(&Handlers::Negate, "negate"));
    Handlers handlers;
    Handler handler = nullptr;
    ASSERT_EQ(1, table.GetItem("negate", &handler));
    EXPECT_EQ(-4, (handlers.*handler)(4));
    ASSERT_EQ(1, table.GetItem("twice", &handler));
    EXPECT_EQ(8, (handlers.*handler)(4));
    EXPECT_EQ(0, table.GetItem("absent", &handler));
    EXPECT_EQ(&Handlers::Twice, handler);
}

} // namespace
