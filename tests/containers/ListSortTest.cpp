// SPDX-License-Identifier: MIT
#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "containers/SCA_List.h"
#include "libmor/SCA_Heap.h"
#include "libmor/SCA_String.h"
#include "tests/containers/ContainerTestSupport.h"

namespace {

using containers_test::HeapFailure;
using containers_test::Holds;
using containers_test::IsSound;

using DoubleList = SCA_List<double>;

// Comparators reach the element through the pair's node.
int AscendingByElement(const void* a, const void* b) {
    const double x =
        static_cast<const SCA_ListItem<double>*>(static_cast<const tagSCA_SORT_ITEM*>(a)->Item)
            ->GetItem();
    const double y =
        static_cast<const SCA_ListItem<double>*>(static_cast<const tagSCA_SORT_ITEM*>(b)->Item)
            ->GetItem();
    return x < y ? -1 : (x > y ? 1 : 0);
}

int DescendingById(const void* a, const void* b) {
    const uint32_t x =
        static_cast<const SCA_ListItem<double>*>(static_cast<const tagSCA_SORT_ITEM*>(a)->Item)
            ->GetId();
    const uint32_t y =
        static_cast<const SCA_ListItem<double>*>(static_cast<const tagSCA_SORT_ITEM*>(b)->Item)
            ->GetId();
    return x > y ? -1 : (x < y ? 1 : 0);
}

// Records every pair a sort hands its comparator.
std::vector<tagSCA_SORT_ITEM>* g_SeenPairs = nullptr;

int RecordingByElement(const void* a, const void* b) {
    if (g_SeenPairs != nullptr) {
        g_SeenPairs->push_back(*static_cast<const tagSCA_SORT_ITEM*>(a));
        g_SeenPairs->push_back(*static_cast<const tagSCA_SORT_ITEM*>(b));
    }
    return AscendingByElement(a, b);
}

// Installs the recording for one scope.
class RecordPairs {
public:
    RecordPairs() { g_SeenPairs = &m_Pairs; }
    ~RecordPairs() { g_SeenPairs = nullptr; }
    RecordPairs(const RecordPairs&) = delete;
    RecordPairs& operator=(const RecordPairs&) = delete;
    const std::vector<tagSCA_SORT_ITEM>& Pairs() const { return m_Pairs; }

private:
    std::vector<tagSCA_SORT_ITEM> m_Pairs;
};

TEST(ListSort, ByElementThroughThePairsNode) {
    DoubleList list(0);
    const double values[] = {3.5, -1.0, 2.25, 0.0, -7.75};
    for (double value : values) {
        uint32_t id = 0;
        ASSERT_EQ(1, list.AddItemToTail(value, &id));
    }
    const uint64_t allocations = SCA_HeapAllocCount();
    ASSERT_EQ(1, list.SortItems(AscendingByElement));
    EXPECT_EQ(1u, SCA_HeapAllocCount() - allocations); // one temporary array
    EXPECT_TRUE(Holds(list, {-7.75, -1.0, 0.0, 2.25, 3.5}));
    // Ids travel with their elements.
    EXPECT_EQ(4u, list.GetHead()->GetId());
    EXPECT_EQ(0u, list.GetTail()->GetId());
    EXPECT_EQ(5u, list.GetNextItemId());

    ASSERT_EQ(1, list.SortItems(DescendingById));
    EXPECT_TRUE(Holds(list, {-7.75, 0.0, 2.25, -1.0, 3.5}));
}

TEST(ListSort, ByNameKeepsIdsAndElementsWithTheirNames) {
    SCA_List<uint32_t> list(0);
    const char* names[] = {"delta", "alpha", "charlie", "Bravo", "bravo"};
    for (uint32_t i = 0; i < 5; ++i) {
        ASSERT_EQ(1, list.AddItemToTail(i * 10, names[i], i));
    }
    ASSERT_EQ(1, list.SortItemsByName());
    EXPECT_TRUE(IsSound(list));
    // Byte order: upper case before lower case.
    const char* expected[] = {"Bravo", "alpha", "bravo", "charlie", "delta"};
    for (uint32_t pos = 0; pos < 5; ++pos) {
        SCOPED_TRACE(expected[pos]);
        EXPECT_STREQ(expected[pos], list.GetItemNameByPos(pos));
        SCA_ListItem<uint32_t>* node = list.GetListItemByPos(pos);
        EXPECT_STREQ(names[node->GetId()], node->GetName());
        EXPECT_EQ(node->GetId() * 10, node->GetItem());
    }
    EXPECT_EQ(5u, list.Count());
}

TEST(ListSort, UnnamedNodesReachTheComparatorWithANullName) {
    DoubleList list(0);
    ASSERT_EQ(1, list.AddItemToTail(3.0, "three"));
    ASSERT_EQ(1, list.AddItemToTail(1.0));
    ASSERT_EQ(1, list.AddItemToTail(2.0, "")); // an empty name is still a name
    ASSERT_EQ(1, list.AddItemToTail(0.5));
    std::vector<const SCA_ListItem<double>*> nodes;
    for (const SCA_ListItem<double>* n = list.GetHead(); n != nullptr; n = n->GetNext()) {
        nodes.push_back(n);
    }

    RecordPairs record;
    ASSERT_EQ(1, list.SortItems(RecordingByElement));
    ASSERT_FALSE(record.Pairs().empty());
    for (const tagSCA_SORT_ITEM& pair : record.Pairs()) {
        const auto* node = static_cast<const SCA_ListItem<double>*>(pair.Item);
        ASSERT_NE(nodes.end(), std::find(nodes.begin(), nodes.end(), node));
        if (node->GetName() == nullptr) {
            EXPECT_EQ(nullptr, pair.Name) << "element " << node->GetItem();
        } else {
            ASSERT_NE(nullptr, pair.Name) << "element " << node->GetItem();
            EXPECT_STREQ(node->GetName(), pair.Name);
        }
    }
    EXPECT_TRUE(Holds(list, {0.5, 1.0, 2.0, 3.0}));
}

TEST(ListSort, ByNamePutsUnnamedNodesFirst) {
    SCA_List<uint32_t> list(0);
    ASSERT_EQ(1, list.AddItemToTail(1, "b"));
    ASSERT_EQ(1, list.AddItemToTail(2));
    ASSERT_EQ(1, list.AddItemToTail(3, "a"));
    ASSERT_EQ(1, list.SortItemsByName());
    EXPECT_TRUE(Holds(list, {2, 3, 1}));
}

TEST(ListSort, EmptyListSortsWithoutAllocatingOrComparing) {
    DoubleList list(0);
    RecordPairs record;
    const uint64_t allocations = SCA_HeapAllocCount();
    {
        // Even with every allocation failing, an empty list has nothing to sort.
        HeapFailure failure(1);
        EXPECT_EQ(1, list.SortItems(RecordingByElement));
        EXPECT_EQ(1, list.SortItemsByName());
    }
    EXPECT_EQ(allocations, SCA_HeapAllocCount());
    EXPECT_TRUE(record.Pairs().empty());
    EXPECT_TRUE(Holds(list, {}));
}

TEST(ListSort, FailedAllocationLeavesTheListUnchanged) {
    DoubleList list(0);
    const double values[] = {3.0, 1.0, 2.0};
    for (uint32_t i = 0; i < 3; ++i) {
        ASSERT_EQ(1, list.AddItemToTail(values[i], std::to_string(i).c_str(), i));
    }
    RecordPairs record;
    {
        HeapFailure failure(1);
        EXPECT_EQ(0, list.SortItems(RecordingByElement));
    }
    EXPECT_TRUE(record.Pairs().empty());
    EXPECT_TRUE(Holds(list, {3.0, 1.0, 2.0}));
    {
        HeapFailure failure(1);
        EXPECT_EQ(0, list.SortItemsByName());
    }
    EXPECT_TRUE(Holds(list, {3.0, 1.0, 2.0}));
    EXPECT_STREQ("0", list.GetItemNameByPos(0));
}

TEST(ListSort, ManyElementsEndSortedAndNoneLost) {
    std::mt19937 random(7u);
    std::uniform_real_distribution<double> value(-1000.0, 1000.0);
    DoubleList list(0);
    std::vector<double> model;
    for (int i = 0; i < 2000; ++i) {
        const double v = i % 7 == 0 ? 1.0 : value(random); // with duplicates
        ASSERT_EQ(1, list.AddItemToHead(v));
        model.push_back(v);
    }
    ASSERT_EQ(1, list.SortItems(AscendingByElement));
    std::sort(model.begin(), model.end());
    EXPECT_TRUE(Holds(list, model));

    DoubleList single(0);
    ASSERT_EQ(1, single.AddItemToTail(4.0));
    ASSERT_EQ(1, single.SortItems(AscendingByElement));
    EXPECT_TRUE(Holds(single, {4.0}));
}

} // namespace
