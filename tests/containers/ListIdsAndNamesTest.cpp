// SPDX-License-Identifier: MIT
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "containers/SCA_List.h"
#include "libmor/SCA_Heap.h"
#include "tests/containers/ContainerTestSupport.h"

namespace {

using containers_test::HeapFailure;
using containers_test::Holds;
using containers_test::Ids;
using containers_test::IsSound;

constexpr uint32_t kNoId = 0xFFFFFFFFu;

using ValueList = SCA_List<uint32_t>;

TEST(ListIds, NewListIsEmptyAndHandsOutIdsFromItsFirstId) {
    ValueList list(5);
    EXPECT_EQ(1u, list.IsConstructed());
    EXPECT_EQ(0u, list.Count());
    EXPECT_EQ(nullptr, list.GetHead());
    EXPECT_EQ(nullptr, list.GetTail());
    uint32_t out = 99;
    EXPECT_EQ(0, list.GetHeadItem(&out));
    EXPECT_EQ(0, list.GetTailItem(&out));
    EXPECT_EQ(99u, out);
    EXPECT_EQ(5u, list.GetNextItemId());

    uint32_t first = 0;
    uint32_t second = 0;
    ASSERT_EQ(1, list.AddItemToTail(10, &first));
    ASSERT_EQ(1, list.AddItemToTail(20, &second));
    EXPECT_EQ(5u, first);
    EXPECT_EQ(6u, second);
    EXPECT_EQ(7u, list.GetNextItemId());
    EXPECT_EQ((std::vector<uint32_t>{5, 6}), Ids(list));
    EXPECT_EQ(1, list.GetHeadItem(&out));
    EXPECT_EQ(10u, out);
    EXPECT_EQ(1, list.GetTailItem(&out));
    EXPECT_EQ(20u, out);

    EXPECT_EQ(1, list.Clear());
    EXPECT_TRUE(Holds(list, {}));
    EXPECT_EQ(5u, list.GetNextItemId());
    uint32_t again = 0;
    ASSERT_EQ(1, list.AddItemToHead(30, &again));
    EXPECT_EQ(5u, again);
}

TEST(ListIds, ClearGoesBackToTheFirstIdAlsoAfterSetNextItemId) {
    ValueList list(3);
    list.SetNextItemId(100);
    uint32_t id = 0;
    ASSERT_EQ(1, list.AddItemToTail(1, &id));
    EXPECT_EQ(100u, id);
    list.Clear();
    EXPECT_EQ(3u, list.GetNextItemId());
}

TEST(ListIds, EveryHandingOutOverloadTakesTheNextIdInTurn) {
    ValueList list(0);
    uint32_t ids[6] = {kNoId, kNoId, kNoId, kNoId, kNoId, kNoId};
    ASSERT_EQ(1, list.AddItemToTail(1, &ids[0]));              // 1
    ASSERT_EQ(1, list.AddItemToHead(0, &ids[1]));              // 0 1
    ASSERT_EQ(1, list.AddItemToTail(3, "three", &ids[2]));     // 0 1 3
    ASSERT_EQ(1, list.AddItemByPos(2, 2, &ids[3]));            // 0 1 2 3 (middle)
    ASSERT_EQ(1, list.AddItemByPos(9, 0, &ids[4]));            // 9 0 1 2 3 (head)
    ASSERT_EQ(1, list.AddItemByPos(4, list.Count(), &ids[5])); // 9 0 1 2 3 4 (tail)
    for (uint32_t i = 0; i < 6; ++i) {
        EXPECT_EQ(i, ids[i]) << "insertion " << i;
    }
    EXPECT_TRUE(Holds(list, {9, 0, 1, 2, 3, 4}));
    EXPECT_EQ((std::vector<uint32_t>{4, 1, 0, 3, 2, 5}), Ids(list));
    EXPECT_EQ(6u, list.GetNextItemId());

    // The counter is a plain unsigned 32-bit one: after all ones comes 0.
    list.SetNextItemId(0xFFFFFFFEu);
    uint32_t a = 0;
    uint32_t b = 0;
    uint32_t c = 0;
    ASSERT_EQ(1, list.AddItemToTail(7, &a));
    ASSERT_EQ(1, list.AddItemToTail(8, &b));
    ASSERT_EQ(1, list.AddItemToTail(9, &c));
    EXPECT_EQ(0xFFFFFFFEu, a);
    EXPECT_EQ(0xFFFFFFFFu, b);
    EXPECT_EQ(0u, c);
}

TEST(ListIds, ExplicitIdsAreStoredAsGivenAndLeaveTheCounterAlone) {
    ValueList list(0);
    const uint32_t seven = 7;
    ASSERT_EQ(1, list.AddItemToTail(70, seven));
    EXPECT_EQ(7u, list.GetTail()->GetId());
    EXPECT_EQ(0u, list.GetNextItemId());

    uint32_t handed = kNoId;
    ASSERT_EQ(1, list.AddItemToTail(80, &handed));
    EXPECT_EQ(0u, handed);

    const uint32_t nine = 9;
    const uint32_t eleven = 11;
    const uint32_t twelve = 12;
    ASSERT_EQ(1, list.AddItemToHead(90, nine));
    ASSERT_EQ(1, list.AddItemToTail(110, "eleven", eleven));
    ASSERT_EQ(1, list.AddItemByPos(120, 1, twelve));
    EXPECT_TRUE(Holds(list, {90, 120, 70, 80, 110}));
    EXPECT_EQ((std::vector<uint32_t>{9, 12, 7, 0, 11}), Ids(list));
    EXPECT_EQ(1u, list.GetNextItemId());
    EXPECT_STREQ("eleven", list.GetItemNameById(11));
}

TEST(ListIds, NodesWithoutAnIdCarryAllOnes) {
    ValueList list(0);
    const uint32_t four = 4;
    ASSERT_EQ(1, list.AddItemToTail(40, four));
    ASSERT_EQ(1, list.AddItemToTail(1));
    ASSERT_EQ(1, list.AddItemToTail(2, "named"));
    ASSERT_EQ(1, list.AddItemToHead(0));
    ASSERT_EQ(1, list.AddItemByPos(3, 4));
    SCA_ListItem<uint32_t>* node = nullptr;
    ASSERT_EQ(1, list.AddItemToTail(5, "out", &node));
    ASSERT_EQ(1, list.AddItemBefore(6, list.GetHead()));
    ASSERT_EQ(1, list.AddItemAfter(7, list.GetTail()));
    EXPECT_EQ((std::vector<uint32_t>{kNoId, kNoId, 4, kNoId, kNoId, kNoId, kNoId, kNoId}),
              Ids(list));
    EXPECT_EQ(0u, list.GetNextItemId());

    // Lookups by the all-ones id find the first such node from the head.
    EXPECT_EQ(0u, list.GetItemPos(kNoId));
    uint32_t out = 0;
    EXPECT_EQ(1, list.GetItem(kNoId, &out));
    EXPECT_EQ(6u, out);
}

TEST(ListIds, DuplicateIdsResolveToTheNodeNearerTheHead) {
    ValueList list(0);
    const uint32_t id = 3;
    ASSERT_EQ(1, list.AddItemToTail(1));
    ASSERT_EQ(1, list.AddItemToTail(10, id));
    ASSERT_EQ(1, list.AddItemToTail(20, id));
    EXPECT_EQ(1u, list.GetItemPos(id));
    EXPECT_EQ(list.GetListItemByPos(1), list.GetListItem(id));
    uint32_t out = 0;
    ASSERT_EQ(1, list.DeleteItem(id, &out));
    EXPECT_EQ(10u, out);
    EXPECT_TRUE(Holds(list, {1, 20}));
    ASSERT_EQ(1, list.DeleteItem(id));
    EXPECT_TRUE(Holds(list, {1}));
    EXPECT_EQ(0, list.DeleteItem(id));
}

TEST(ListIds, NeighbourIdsAndPositions) {
    ValueList list(0);
    for (uint32_t i = 0; i < 3; ++i) {
        uint32_t id = 0;
        ASSERT_EQ(1, list.AddItemToTail(i * 10, &id));
    }
    EXPECT_EQ(1u, list.GetNextItemId(0));
    EXPECT_EQ(2u, list.GetNextItemId(1));
    EXPECT_EQ(kNoId, list.GetNextItemId(2));  // the tail
    EXPECT_EQ(kNoId, list.GetNextItemId(42)); // absent
    EXPECT_EQ(kNoId, list.GetPrevItemId(0));  // the head
    EXPECT_EQ(0u, list.GetPrevItemId(1));
    EXPECT_EQ(1u, list.GetPrevItemId(2));
    EXPECT_EQ(kNoId, list.GetPrevItemId(42));
    EXPECT_EQ(2u, list.GetItemPos(2));
    EXPECT_EQ(kNoId, list.GetItemPos(42));

    uint32_t out = 77;
    const uint32_t absent = 42;
    EXPECT_EQ(0, list.GetItem(absent, &out));
    EXPECT_EQ(nullptr, list.GetListItem(absent));
    EXPECT_EQ(0, list.DeleteItem(absent, &out));
    EXPECT_EQ(77u, out);
    EXPECT_TRUE(Holds(list, {0, 10, 20}));
}

// Every insertion form, run with its allocation(s) failing: a failed insertion links nothing,
// writes no out-parameter and hands out no id.
TEST(ListIds, FailedInsertionsChangeNothingAndConsumeNoId) {
    struct Insertion {
        const char* what;
        int (*insert)(ValueList&, uint32_t* outId, SCA_ListItem<uint32_t>** outNode);
        uint32_t allocations;
    };
    const Insertion insertions[] = {
        {"head",
         [](ValueList& l, uint32_t*, SCA_ListItem<uint32_t>**) { return l.AddItemToHead(9); }, 1},
        {"head, id out",
         [](ValueList& l, uint32_t* o, SCA_ListItem<uint32_t>**) { return l.AddItemToHead(9, o); },
         1},
        {"head, named",
         [](ValueList& l, uint32_t*, SCA_ListItem<uint32_t>**) {
             return l.AddItemToHead(9, "nine");
         },
         2},
        {"tail, id out",
         [](ValueList& l, uint32_t* o, SCA_ListItem<uint32_t>**) { return l.AddItemToTail(9, o); },
         1},
        {"tail, named, id out",
         [](ValueList& l, uint32_t* o, SCA_ListItem<uint32_t>**) {
             return l.AddItemToTail(9, "nine", o);
         },
         2},
        {"tail, named, given id",
         [](ValueList& l, uint32_t*, SCA_ListItem<uint32_t>**) {
             return l.AddItemToTail(9, "nine", uint32_t{50});
         },
         2},
        {"tail, named, node out",
         [](ValueList& l, uint32_t*, SCA_ListItem<uint32_t>** n) {
             return l.AddItemToTail(9, "nine", n);
         },
         2},
        {"middle, id out",
         [](ValueList& l, uint32_t* o, SCA_ListItem<uint32_t>**) {
             return l.AddItemByPos(9, 1, o);
         },
         1},
        {"middle, named",
         [](ValueList& l, uint32_t*, SCA_ListItem<uint32_t>**) {
             return l.AddItemByPos(9, 1, "nine");
         },
         2},
        {"end by position, id out",
         [](ValueList& l, uint32_t* o, SCA_ListItem<uint32_t>**) {
             return l.AddItemByPos(9, l.Count(), o);
         },
         1},
        {"before",
         [](ValueList& l, uint32_t*, SCA_ListItem<uint32_t>**) {
             return l.AddItemBefore(9, l.GetTail());
         },
         1},
        {"after",
         [](ValueList& l, uint32_t*, SCA_ListItem<uint32_t>**) {
             return l.AddItemAfter(9, l.GetHead());
         },
         1},
    };
    for (const Insertion& insertion : insertions) {
        SCOPED_TRACE(insertion.what);
        ValueList list(20);
        uint32_t id = 0;
        ASSERT_EQ(1, list.AddItemToTail(1, &id));
        ASSERT_EQ(1, list.AddItemToTail(2, &id));
        const uint32_t nextId = list.GetNextItemId();

        for (uint32_t n = 1; n <= insertion.allocations; ++n) {
            SCOPED_TRACE("allocation " + std::to_string(n) + " fails");
            uint32_t outId = 12345;
            SCA_ListItem<uint32_t>* outNode = nullptr;
            HeapFailure failure(n);
            const uint64_t before = SCA_HeapAllocCount();
            EXPECT_EQ(0, insertion.insert(list, &outId, &outNode));
            EXPECT_EQ(n, SCA_HeapAllocCount() - before);
            EXPECT_EQ(12345u, outId);
            EXPECT_EQ(nullptr, outNode);
            EXPECT_EQ(nextId, list.GetNextItemId());
            EXPECT_TRUE(Holds(list, {1, 2}));
        }

        // Without a failure the same insertion allocates exactly as often, and then works.
        uint32_t outId = 12345;
        SCA_ListItem<uint32_t>* outNode = nullptr;
        const uint64_t before = SCA_HeapAllocCount();
        EXPECT_EQ(1, insertion.insert(list, &outId, &outNode));
        EXPECT_EQ(insertion.allocations, SCA_HeapAllocCount() - before);
        EXPECT_EQ(3u, list.Count());
        EXPECT_TRUE(IsSound(list));
    }
}

TEST(ListIds, RefusedPositionsAndAnchorsAllocateNothing) {
    ValueList list(0);
    uint32_t id = 0;
    ASSERT_EQ(1, list.AddItemToTail(1, &id));
    const uint64_t before = SCA_HeapAllocCount();
    uint32_t outId = 12345;
    EXPECT_EQ(0, list.AddItemByPos(9, 2));
    EXPECT_EQ(0, list.AddItemByPos(9, 2, &outId));
    EXPECT_EQ(0, list.AddItemByPos(9, 5, uint32_t{3}));
    EXPECT_EQ(0, list.AddItemByPos(9, 0xFFFFFFFFu, "far"));
    EXPECT_EQ(0, list.AddItemBefore(9, nullptr));
    EXPECT_EQ(0, list.AddItemAfter(9, nullptr));
    EXPECT_EQ(0u, SCA_HeapAllocCount() - before);
    EXPECT_EQ(12345u, outId);
    EXPECT_EQ(1u, list.GetNextItemId());
    EXPECT_TRUE(Holds(list, {1}));
}

// --- names --------------------------------------------------------------------------------------

TEST(ListNames, NameIsAPrivateCopyComparedExactly) {
    ValueList list(0);
    char name[] = "Disk";
    ASSERT_EQ(1, list.AddItemToTail(1, name));
    name[0] = 'X'; // the caller's buffer changes; the node's name does not
    ASSERT_EQ(1, list.AddItemToTail(2, "Disk0"));
    ASSERT_EQ(1, list.AddItemToTail(3, "disk"));

    uint32_t out = 0;
    ASSERT_EQ(1, list.GetItem("Disk", &out));
    EXPECT_EQ(1u, out);
    EXPECT_EQ(0, list.GetItem("Xisk", &out));
    EXPECT_EQ(0, list.GetItem("Dis", &out));    // a prefix is not a match
    EXPECT_EQ(0, list.GetItem("Disk00", &out)); // nor is a longer text
    ASSERT_EQ(1, list.GetItem("disk", &out));   // case matters
    EXPECT_EQ(3u, out);
    EXPECT_EQ(list.GetListItemByPos(1), list.GetListItem("Disk0"));
    EXPECT_EQ(1, list.IsItemExists("Disk0"));
    EXPECT_EQ(0, list.IsItemExists("DISK"));
}

TEST(ListNames, NullNamesFindNothingAndNameNoNode) {
    ValueList list(0);
    ASSERT_EQ(1, list.AddItemToTail(1, static_cast<const char*>(nullptr)));
    ASSERT_EQ(1, list.AddItemToHead(0, static_cast<const char*>(nullptr)));
    EXPECT_EQ(nullptr, list.GetHead()->GetName());
    EXPECT_EQ(nullptr, list.GetTail()->GetName());
    uint32_t out = 55;
    EXPECT_EQ(nullptr, list.GetListItem(static_cast<const char*>(nullptr)));
    EXPECT_EQ(0, list.GetItem(static_cast<const char*>(nullptr), &out));
    EXPECT_EQ(0, list.IsItemExists(nullptr));
    EXPECT_EQ(0, list.SetItemId(nullptr, 4));
    EXPECT_EQ(0, list.DeleteItem(static_cast<const char*>(nullptr)));
    EXPECT_EQ(0, list.MoveItemToHead(static_cast<const char*>(nullptr)));
    EXPECT_EQ(0, list.MoveItemToTail(static_cast<const char*>(nullptr)));
    EXPECT_EQ(0, list.MoveItemUp(static_cast<const char*>(nullptr)));
    EXPECT_EQ(0, list.MoveItemDown(static_cast<const char*>(nullptr)));
    EXPECT_EQ(55u, out);
    EXPECT_TRUE(Holds(list, {0, 1}));
}

// An empty name is a name: found by the empty text, unlike an unnamed node, but never reported
// as existing.
TEST(ListNames, EmptyNameDiffersFromNone) {
    ValueList list(0);
    const uint32_t unnamedId = 1;
    const uint32_t emptyId = 2;
    ASSERT_EQ(1, list.AddItemToTail(10, unnamedId));
    ASSERT_EQ(1, list.AddItemToTail(20, "", emptyId));
    ASSERT_NE(nullptr, list.GetTail()->GetName());
    EXPECT_EQ(nullptr, list.GetHead()->GetName());

    uint32_t out = 0;
    ASSERT_EQ(1, list.GetItem("", &out));
    EXPECT_EQ(20u, out);
    EXPECT_EQ(list.GetTail(), list.GetListItem(""));
    EXPECT_EQ(0, list.IsItemExists(""));

    ASSERT_NE(nullptr, list.GetItemNameById(emptyId));
    EXPECT_STREQ("", list.GetItemNameById(emptyId));
    char buf[8];
    std::memset(buf, '#', sizeof(buf));
    EXPECT_EQ(1, list.GetItemName(emptyId, buf, sizeof(buf)));
    EXPECT_STREQ("", buf);

    // Every operation by the empty name reaches the named node, never the unnamed one.
    ASSERT_EQ(1, list.SetItemId("", 7));
    EXPECT_EQ(7u, list.GetTail()->GetId());
    EXPECT_EQ(1, list.MoveItemToHead(""));
    EXPECT_TRUE(Holds(list, {20, 10}));
    ASSERT_EQ(1, list.ChangeItemName("", "filled"));
    EXPECT_STREQ("filled", list.GetHead()->GetName());
    EXPECT_EQ(nullptr, list.GetTail()->GetName());
    // A rename cannot give the empty name back, so nothing answers to it any more.
    EXPECT_EQ(0, list.SetItemName(7, ""));
    EXPECT_STREQ("filled", list.GetHead()->GetName());
    EXPECT_EQ(nullptr, list.GetListItem(""));
    EXPECT_EQ(0, list.DeleteItem(""));
    EXPECT_EQ(1, list.DeleteItem("filled"));
    EXPECT_TRUE(Holds(list, {10}));
}

TEST(ListNames, NamesByIdAndPositionGiveEmptyTextForUnnamedAndNullForNothing) {
    ValueList list(0);
    const uint32_t unnamedId = 1;
    const uint32_t namedId = 2;
    ASSERT_EQ(1, list.AddItemToTail(10, unnamedId));
    ASSERT_EQ(1, list.AddItemToTail(20, "cpu", namedId));

    ASSERT_NE(nullptr, list.GetItemNameById(unnamedId));
    EXPECT_STREQ("", list.GetItemNameById(unnamedId));
    EXPECT_STREQ("cpu", list.GetItemNameById(namedId));
    EXPECT_EQ(nullptr, list.GetItemNameById(3));

    ASSERT_NE(nullptr, list.GetItemNameByPos(0));
    EXPECT_STREQ("", list.GetItemNameByPos(0));
    EXPECT_STREQ("cpu", list.GetItemNameByPos(1));
    EXPECT_EQ(nullptr, list.GetItemNameByPos(2)); // the count
    EXPECT_EQ(nullptr, list.GetItemNameByPos(0xFFFFFFFFu));

    char buf[8];
    std::memset(buf, '#', sizeof(buf));
    EXPECT_EQ(1, list.GetItemName(unnamedId, buf, sizeof(buf)));
    EXPECT_STREQ("", buf);
    std::memset(buf, '#', sizeof(buf));
    EXPECT_EQ(0, list.GetItemName(3, buf, sizeof(buf)));
    EXPECT_STREQ("", buf); // emptied even when no node matches
}

// GetItemName never writes more than size bytes; a long name is cut, terminated and never split
// inside a UTF-8 character.
TEST(ListNames, GetItemNameStaysWithinItsBuffer) {
    ValueList list(0);
    const uint32_t asciiId = 1;
    const uint32_t utf8Id = 2;
    ASSERT_EQ(1, list.AddItemToTail(1, "abcdef", asciiId));
    ASSERT_EQ(1, list.AddItemToTail(2, "a\xC3\xA9z", utf8Id)); // "a", e-acute, "z"

    struct Case {
        uint32_t id;
        uint32_t size;
        const char* expected;
    };
    const Case cases[] = {
        {asciiId, 7, "abcdef"},    {asciiId, 6, "abcde"},    {asciiId, 4, "abc"}, {asciiId, 1, ""},
        {utf8Id, 5, "a\xC3\xA9z"}, {utf8Id, 4, "a\xC3\xA9"}, {utf8Id, 3, "a"},    {utf8Id, 2, "a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("id " + std::to_string(c.id) + ", size " + std::to_string(c.size));
        char buf[16];
        std::memset(buf, '#', sizeof(buf));
        EXPECT_EQ(1, list.GetItemName(c.id, buf, c.size));
        EXPECT_STREQ(c.expected, buf);
        for (size_t i = c.size; i < sizeof(buf); ++i) {
            EXPECT_EQ('#', buf[i]) << "byte " << i << " written";
        }
    }

    // A size of 0 writes nothing at all, whatever the id.
    char buf[4] = {'#', '#', '#', '#'};
    list.GetItemName(asciiId, buf, 0);
    list.GetItemName(99, buf, 0);
    EXPECT_EQ(0, std::memcmp(buf, "####", 4));
}

TEST(ListNames, DuplicateNamesActOnTheNodeNearerTheHead) {
    // Fresh list per operation: unnamed 0, "dup" 1 (id 11), "dup" 2 (id 12).
    auto build = [](ValueList& list) {
        ASSERT_EQ(1, list.AddItemToTail(0));
        ASSERT_EQ(1, list.AddItemToTail(1, "dup", uint32_t{11}));
        ASSERT_EQ(1, list.AddItemToTail(2, "dup", uint32_t{12}));
    };
    {
        ValueList list(0);
        build(list);
        uint32_t out = 0;
        ASSERT_EQ(1, list.GetItem("dup", &out));
        EXPECT_EQ(1u, out);
        EXPECT_EQ(list.GetListItemByPos(1), list.GetListItem("dup"));
    }
    {
        ValueList list(0);
        build(list);
        ASSERT_EQ(1, list.SetItemId("dup", 50));
        EXPECT_EQ((std::vector<uint32_t>{kNoId, 50, 12}), Ids(list));
        EXPECT_EQ(0u, list.GetNextItemId());
    }
    {
        ValueList list(0);
        build(list);
        ASSERT_EQ(1, list.ChangeItemName("dup", "first"));
        EXPECT_STREQ("first", list.GetItemNameById(11));
        EXPECT_STREQ("dup", list.GetItemNameById(12));
        ASSERT_EQ(1, list.RenameItem("dup", "second"));
        EXPECT_STREQ("second", list.GetItemNameById(12));
        EXPECT_EQ(0, list.RenameItem("dup", "third"));
    }
    {
        ValueList list(0);
        build(list);
        ASSERT_EQ(1, list.DeleteItem("dup"));
        EXPECT_TRUE(Holds(list, {0, 2}));
    }
    {
        ValueList list(0);
        build(list);
        ASSERT_EQ(1, list.MoveItemToTail("dup"));
        EXPECT_TRUE(Holds(list, {0, 2, 1}));
    }
    {
        ValueList list(0);
        build(list);
        ASSERT_EQ(1, list.MoveItemUp("dup"));
        EXPECT_TRUE(Holds(list, {1, 0, 2}));
    }
}

TEST(ListNames, RenamesReplaceTheNameOrFailKeepingIt) {
    ValueList list(0);
    const uint32_t id = 1;
    const uint32_t unnamedId = 2;
    ASSERT_EQ(1, list.AddItemToTail(10, "old", id));
    ASSERT_EQ(1, list.AddItemToTail(20, unnamedId));

    ASSERT_EQ(1, list.SetItemName(id, "new"));
    EXPECT_STREQ("new", list.GetItemNameById(id));
    EXPECT_EQ(nullptr, list.GetListItem("old"));
    EXPECT_EQ(list.GetHead(), list.GetListItem("new"));

    // Refused renames keep the name.
    EXPECT_EQ(0, list.SetItemName(id, ""));
    EXPECT_EQ(0, list.SetItemName(id, nullptr));
    EXPECT_EQ(0, list.SetItemName(99, "other"));
    EXPECT_EQ(0, list.ChangeItemName("new", ""));
    EXPECT_EQ(0, list.ChangeItemName("new", nullptr));
    EXPECT_EQ(0, list.ChangeItemName(nullptr, "other"));
    EXPECT_EQ(0, list.ChangeItemName("absent", "other"));
    EXPECT_EQ(0, list.RenameItem("new", ""));
    EXPECT_STREQ("new", list.GetItemNameById(id));

    // A rename copies the text; an unnamed node gets its first name the same way.
    char text[] = "late";
    ASSERT_EQ(1, list.SetItemName(unnamedId, text));
    text[0] = 'X';
    EXPECT_STREQ("late", list.GetItemNameById(unnamedId));
    ASSERT_EQ(1, list.ChangeItemName("late", "later"));
    EXPECT_STREQ("later", list.GetItemNameById(unnamedId));
    EXPECT_TRUE(Holds(list, {10, 20}));
}

TEST(ListNames, RenameWhoseCopyCannotBeAllocatedKeepsTheOldName) {
    ValueList list(0);
    const uint32_t id = 1;
    ASSERT_EQ(1, list.AddItemToTail(10, "old", id));
    {
        HeapFailure failure(1);
        EXPECT_EQ(0, list.SetItemName(id, "new"));
    }
    EXPECT_STREQ("old", list.GetItemNameById(id));
    {
        HeapFailure failure(1);
        EXPECT_EQ(0, list.ChangeItemName("old", "new"));
    }
    EXPECT_STREQ("old", list.GetItemNameById(id));
    EXPECT_EQ(list.GetHead(), list.GetListItem("old"));

    // The node's own rename behaves the same.
    SCA_ListItem<uint32_t>* node = list.GetHead();
    {
        HeapFailure failure(1);
        EXPECT_EQ(0, node->SetName("new"));
    }
    EXPECT_STREQ("old", node->GetName());
    EXPECT_EQ(1, node->SetName("new"));
    EXPECT_STREQ("new", node->GetName());
}

TEST(ListNames, SetItemIdByName) {
    ValueList list(7);
    ASSERT_EQ(1, list.AddItemToTail(10, "a"));
    ASSERT_EQ(1, list.AddItemToTail(20));
    EXPECT_EQ(0, list.SetItemId("absent", 3));
    ASSERT_EQ(1, list.SetItemId("a", 3));
    uint32_t out = 0;
    ASSERT_EQ(1, list.GetItem(uint32_t{3}, &out));
    EXPECT_EQ(10u, out);
    EXPECT_EQ(7u, list.GetNextItemId());
}

TEST(ListNames, NodeBuiltDirectlyCopiesItsName) {
    char text[] = "node";
    auto* named = new SCA_ListItem<double>(1.5, text);
    text[0] = 'X';
    EXPECT_EQ(1u, named->IsConstructed());
    EXPECT_STREQ("node", named->GetName());
    EXPECT_EQ(0xFFFFFFFFu, named->GetId());
    EXPECT_EQ(nullptr, named->GetNext());
    EXPECT_EQ(nullptr, named->GetPrev());
    EXPECT_EQ(1.5, named->GetItem());
    named->Destroy();

    auto* unnamed = new SCA_ListItem<double>(2.5);
    EXPECT_EQ(nullptr, unnamed->GetName());
    EXPECT_EQ(0, unnamed->SetName(""));
    EXPECT_EQ(nullptr, unnamed->GetName());
    SCA_Object::Destroy(unnamed);

    // A name copy that cannot be allocated leaves the node unconstructed, and safe to destroy.
    SCA_ListItem<double>* failed = nullptr;
    {
        HeapFailure failure(2);
        failed = new (std::nothrow) SCA_ListItem<double>(3.5, "name");
    }
    ASSERT_NE(nullptr, failed);
    EXPECT_EQ(0u, failed->IsConstructed());
    EXPECT_EQ(nullptr, failed->GetName());
    failed->Destroy();
}

} // namespace
