// SPDX-License-Identifier: MIT
#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "containers/SCA_List.h"
#include "libmor/SCA_Heap.h"
#include "tests/containers/ContainerTestSupport.h"

namespace {

using containers_test::Holds;
using containers_test::Ids;
using containers_test::IsSound;

using ValueList = SCA_List<uint32_t>;
using Node = SCA_ListItem<uint32_t>;

// Builds the list 0, 1, ... count - 1 where each element is also its node's id, and its name is
// "n<element>".
void Build(ValueList& list, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        const std::string name = "n" + std::to_string(i);
        ASSERT_EQ(1, list.AddItemToTail(i, name.c_str(), i));
    }
}

// The node has kept its id, element and name.
::testing::AssertionResult KeptIdentity(const Node* node, uint32_t element) {
    if (node == nullptr) {
        return ::testing::AssertionFailure() << "no node";
    }
    const std::string name = "n" + std::to_string(element);
    if (node->GetId() != element || node->GetItem() != element || node->GetName() == nullptr ||
        name != node->GetName()) {
        return ::testing::AssertionFailure() << "node " << element << " changed";
    }
    return ::testing::AssertionSuccess();
}

TEST(ListPositions, AddItemByPosPlacesTheNodeAtThatPosition) {
    {
        ValueList list(0);
        EXPECT_EQ(0, list.AddItemByPos(7, 1)); // past the end of an empty list
        ASSERT_EQ(1, list.AddItemByPos(7, 0));
        EXPECT_TRUE(Holds(list, {7}));
    }
    const std::vector<std::vector<uint32_t>> expected = {
        {9, 0, 1, 2}, {0, 9, 1, 2}, {0, 1, 9, 2}, {0, 1, 2, 9}};
    for (uint32_t pos = 0; pos <= 3; ++pos) {
        SCOPED_TRACE("pos " + std::to_string(pos));
        ValueList unnamed(0);
        Build(unnamed, 3);
        ASSERT_EQ(1, unnamed.AddItemByPos(9, pos));
        EXPECT_TRUE(Holds(unnamed, expected[pos]));
        EXPECT_EQ(0xFFFFFFFFu, unnamed.GetListItemByPos(pos)->GetId());

        ValueList named(0);
        Build(named, 3);
        ASSERT_EQ(1, named.AddItemByPos(9, pos, "nine"));
        EXPECT_TRUE(Holds(named, expected[pos]));
        EXPECT_EQ(pos, named.GetItemPos(0xFFFFFFFFu));
        EXPECT_STREQ("nine", named.GetItemNameByPos(pos));

        ValueList given(0);
        Build(given, 3);
        ASSERT_EQ(1, given.AddItemByPos(9, pos, uint32_t{40}));
        EXPECT_TRUE(Holds(given, expected[pos]));
        EXPECT_EQ(pos, given.GetItemPos(40));
    }
    ValueList list(0);
    Build(list, 3);
    uint32_t id = 12345;
    EXPECT_EQ(0, list.AddItemByPos(9, 4));
    EXPECT_EQ(0, list.AddItemByPos(9, 4, &id));
    EXPECT_EQ(0, list.AddItemByPos(9, 4, "nine"));
    EXPECT_EQ(12345u, id);
    EXPECT_EQ(0u, list.GetNextItemId());
    EXPECT_TRUE(Holds(list, {0, 1, 2}));
}

TEST(ListPositions, LookupsByPosition) {
    ValueList list(0);
    Build(list, 3);
    uint32_t out = 77;
    Node* node = nullptr;
    for (uint32_t pos = 0; pos < 3; ++pos) {
        EXPECT_EQ(1, list.GetItemByPos(pos, &out));
        EXPECT_EQ(pos, out);
        ASSERT_EQ(1, list.GetListItemByPos(pos, &node));
        EXPECT_EQ(list.GetListItemByPos(pos), node);
        EXPECT_EQ(pos, node->GetItem());
    }
    out = 77;
    node = nullptr;
    EXPECT_EQ(0, list.GetItemByPos(3, &out));
    EXPECT_EQ(0, list.GetListItemByPos(3, &node));
    EXPECT_EQ(nullptr, list.GetListItemByPos(3));
    EXPECT_EQ(nullptr, list.GetListItemByPos(0xFFFFFFFFu));
    EXPECT_EQ(77u, out);
    EXPECT_EQ(nullptr, node);
}

TEST(ListPositions, AddBeforeAndAfterANode) {
    ValueList list(0);
    Build(list, 2);
    ASSERT_EQ(1, list.AddItemBefore(5, list.GetHead())); // new head
    ASSERT_EQ(1, list.AddItemAfter(6, list.GetTail()));  // new tail
    ASSERT_EQ(1, list.AddItemAfter(7, list.GetHead()));
    ASSERT_EQ(1, list.AddItemBefore(8, list.GetTail()));
    EXPECT_TRUE(Holds(list, {5, 7, 0, 1, 8, 6}));

    Node* node = nullptr;
    ASSERT_EQ(1, list.AddItemToTail(9, "nine", &node));
    EXPECT_EQ(list.GetTail(), node);
    ASSERT_EQ(1, list.AddItemToTail(10, "ten", static_cast<Node**>(nullptr)));
    EXPECT_STREQ("ten", list.GetTail()->GetName());
    EXPECT_EQ(0xFFFFFFFFu, list.GetTail()->GetId());
}

// The moves on A, B, C (0, 1, 2), by id, by name and by node.
TEST(ListMoves, MovesOnThreeNodes) {
    struct Case {
        const char* what;
        int (*move)(ValueList&);
        std::vector<uint32_t> expected;
    };
    const Case cases[] = {
        {"A to tail", [](ValueList& l) { return l.MoveItemToTail(uint32_t{0}); }, {1, 2, 0}},
        {"C to head", [](ValueList& l) { return l.MoveItemToHead(uint32_t{2}); }, {2, 0, 1}},
        {"B up", [](ValueList& l) { return l.MoveItemUp(uint32_t{1}); }, {1, 0, 2}},
        {"B down", [](ValueList& l) { return l.MoveItemDown(uint32_t{1}); }, {0, 2, 1}},
        {"A up", [](ValueList& l) { return l.MoveItemUp(uint32_t{0}); }, {0, 1, 2}},
        {"C down", [](ValueList& l) { return l.MoveItemDown(uint32_t{2}); }, {0, 1, 2}},
        {"A to head", [](ValueList& l) { return l.MoveItemToHead(uint32_t{0}); }, {0, 1, 2}},
        {"C to tail", [](ValueList& l) { return l.MoveItemToTail(uint32_t{2}); }, {0, 1, 2}},
        {"A to tail by name", [](ValueList& l) { return l.MoveItemToTail("n0"); }, {1, 2, 0}},
        {"C to head by name", [](ValueList& l) { return l.MoveItemToHead("n2"); }, {2, 0, 1}},
        {"C up by name", [](ValueList& l) { return l.MoveItemUp("n2"); }, {0, 2, 1}},
        {"A down by name", [](ValueList& l) { return l.MoveItemDown("n0"); }, {1, 0, 2}},
        {"C up by node", [](ValueList& l) { return l.MoveItemUp(l.GetTail()); }, {0, 2, 1}},
        {"A up by node", [](ValueList& l) { return l.MoveItemUp(l.GetHead()); }, {0, 1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ValueList list(0);
        Build(list, 3);
        const uint64_t allocations = SCA_HeapAllocCount();
        EXPECT_EQ(1, c.move(list));
        EXPECT_EQ(allocations, SCA_HeapAllocCount()); // moves never allocate
        EXPECT_TRUE(Holds(list, c.expected));
        for (uint32_t element = 0; element < 3; ++element) {
            EXPECT_TRUE(KeptIdentity(list.GetListItem(element), element));
        }
    }
}

TEST(ListMoves, MovesOnTwoNodes) {
    const struct {
        const char* what;
        int (*move)(ValueList&);
        std::vector<uint32_t> expected;
    } cases[] = {
        {"A to tail", [](ValueList& l) { return l.MoveItemToTail(uint32_t{0}); }, {1, 0}},
        {"B to head", [](ValueList& l) { return l.MoveItemToHead(uint32_t{1}); }, {1, 0}},
        {"B up", [](ValueList& l) { return l.MoveItemUp(uint32_t{1}); }, {1, 0}},
        {"A down", [](ValueList& l) { return l.MoveItemDown(uint32_t{0}); }, {1, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ValueList list(0);
        Build(list, 2);
        EXPECT_EQ(1, c.move(list));
        EXPECT_TRUE(Holds(list, c.expected));
        // And back again.
        EXPECT_EQ(1, list.MoveItemToHead(uint32_t{0}));
        EXPECT_TRUE(Holds(list, {0, 1}));
    }
}

TEST(ListMoves, MovesThatFindNothingFail) {
    ValueList empty(0);
    EXPECT_EQ(0, empty.MoveItemToHead(uint32_t{0}));
    EXPECT_EQ(0, empty.MoveItemToTail(uint32_t{0}));
    EXPECT_EQ(0, empty.MoveItemUp(uint32_t{0}));
    EXPECT_EQ(0, empty.MoveItemDown(uint32_t{0}));
    EXPECT_TRUE(Holds(empty, {}));

    ValueList one(0);
    Build(one, 1);
    EXPECT_EQ(1, one.MoveItemToHead(uint32_t{0}));
    EXPECT_EQ(1, one.MoveItemToTail(uint32_t{0}));
    EXPECT_EQ(1, one.MoveItemUp(uint32_t{0}));
    EXPECT_EQ(1, one.MoveItemDown(uint32_t{0}));
    EXPECT_TRUE(Holds(one, {0}));

    ValueList list(0);
    Build(list, 3);
    EXPECT_EQ(0, list.MoveItemToHead(uint32_t{5}));
    EXPECT_EQ(0, list.MoveItemToTail("absent"));
    EXPECT_EQ(0, list.MoveItemUp(static_cast<Node*>(nullptr)));
    EXPECT_EQ(0, list.MoveItemDown("N1"));
    EXPECT_TRUE(Holds(list, {0, 1, 2}));
}

// Every move of every node of a five-node list, against a vector that does the same.
TEST(ListMoves, EveryMoveOfEveryNodeMatchesAModel) {
    enum Move { kToHead, kToTail, kUp, kDown };
    for (int move = kToHead; move <= kDown; ++move) {
        for (uint32_t pos = 0; pos < 5; ++pos) {
            SCOPED_TRACE("move " + std::to_string(move) + " of position " + std::to_string(pos));
            ValueList list(0);
            Build(list, 5);
            std::vector<uint32_t> model = {0, 1, 2, 3, 4};
            const uint32_t id = pos;
            int result = 0;
            switch (move) {
            case kToHead:
                result = list.MoveItemToHead(id);
                std::rotate(model.begin(), model.begin() + pos, model.begin() + pos + 1);
                break;
            case kToTail:
                result = list.MoveItemToTail(id);
                std::rotate(model.begin() + pos, model.begin() + pos + 1, model.end());
                break;
            case kUp:
                result = list.MoveItemUp(id);
                if (pos > 0) {
                    std::swap(model[pos - 1], model[pos]);
                }
                break;
            default:
                result = list.MoveItemDown(id);
                if (pos < 4) {
                    std::swap(model[pos], model[pos + 1]);
                }
                break;
            }
            EXPECT_EQ(1, result);
            EXPECT_TRUE(Holds(list, model));
        }
    }
}

TEST(ListRemoval, RemovedNodeCanBeLinkedAgainIntact) {
    ValueList list(0);
    Build(list, 3);
    Node* node = list.GetListItem(uint32_t{1});
    ASSERT_EQ(1, list.RemoveListItem(node));
    EXPECT_TRUE(Holds(list, {0, 2}));
    EXPECT_EQ(nullptr, list.GetListItem(uint32_t{1}));
    EXPECT_EQ(nullptr, list.GetListItem("n1"));
    ASSERT_EQ(1, list.InsertItemAfter(node, list.GetTail()));
    EXPECT_TRUE(Holds(list, {0, 2, 1}));
    EXPECT_EQ(list.GetTail(), node);
    EXPECT_TRUE(KeptIdentity(node, 1));

    // Head out, back in before the new head.
    node = list.GetHead();
    ASSERT_EQ(1, list.RemoveListItem(node));
    EXPECT_TRUE(Holds(list, {2, 1}));
    ASSERT_EQ(1, list.InsertItemBefore(node, list.GetHead()));
    EXPECT_TRUE(Holds(list, {0, 2, 1}));
    EXPECT_EQ(list.GetHead(), node);

    // Tail out, into the middle.
    node = list.GetTail();
    ASSERT_EQ(1, list.RemoveListItem(node));
    ASSERT_EQ(1, list.InsertItemBefore(node, list.GetTail()));
    EXPECT_TRUE(Holds(list, {0, 1, 2}));
    EXPECT_TRUE(KeptIdentity(node, 1));

    EXPECT_EQ(0, list.RemoveListItem(nullptr));
    EXPECT_EQ(0, list.InsertItemAfter(nullptr, list.GetHead()));
    EXPECT_EQ(0, list.InsertItemBefore(list.GetHead(), nullptr));
    EXPECT_TRUE(Holds(list, {0, 1, 2}));
}

TEST(ListRemoval, RemovedNodeBelongsToTheCaller) {
    ValueList list(0);
    Build(list, 1);
    Node* node = list.GetHead();
    ASSERT_EQ(1, list.RemoveListItem(node));
    EXPECT_TRUE(Holds(list, {}));
    // The list no longer destroys it; the caller does (the sanitizer sees a leak or a double
    // free otherwise).
    list.Clear();
    EXPECT_TRUE(KeptIdentity(node, 0));
    node->Destroy();

    // A caller's node, linked into a list, is then the list's.
    auto* own = new Node(42, "own");
    ASSERT_EQ(1, list.AddItemToTail(1));
    ASSERT_EQ(1, list.InsertItemBefore(own, list.GetHead()));
    EXPECT_TRUE(Holds(list, {42, 1}));
    EXPECT_EQ(1, list.IsItemExists("own"));
}

TEST(ListRemoval, DeletionsByNodeEndIdAndPosition) {
    ValueList list(0);
    EXPECT_EQ(0, list.DeleteHeadItem());
    EXPECT_EQ(0, list.DeleteTailItem());
    EXPECT_EQ(0, list.DeleteItemByPos(0));
    EXPECT_EQ(0, list.DeleteListItem(nullptr));

    Build(list, 6);
    const uint64_t allocations = SCA_HeapAllocCount();
    ASSERT_EQ(1, list.DeleteHeadItem());
    EXPECT_TRUE(Holds(list, {1, 2, 3, 4, 5}));
    ASSERT_EQ(1, list.DeleteTailItem());
    EXPECT_TRUE(Holds(list, {1, 2, 3, 4}));
    EXPECT_EQ(0, list.DeleteItemByPos(4));
    ASSERT_EQ(1, list.DeleteItemByPos(3));
    EXPECT_TRUE(Holds(list, {1, 2, 3}));
    ASSERT_EQ(1, list.DeleteItemByPos(1));
    EXPECT_TRUE(Holds(list, {1, 3}));
    ASSERT_EQ(1, list.DeleteListItem(list.GetTail()));
    EXPECT_TRUE(Holds(list, {1}));
    ASSERT_EQ(1, list.DeleteItem("n1"));
    EXPECT_TRUE(Holds(list, {}));
    EXPECT_EQ(allocations, SCA_HeapAllocCount()); // removals never allocate
}

// A long random run of insertions, removals and moves, checked against a vector after every
// step.
TEST(ListInvariants, RandomOperationsMatchAModel) {
    std::mt19937 random(20240611u);
    ValueList list(0);
    std::vector<uint32_t> model;
    std::vector<Node*> removed;
    uint32_t nextElement = 0;

    for (int step = 0; step < 3000; ++step) {
        const uint32_t count = static_cast<uint32_t>(model.size());
        const uint32_t pos = count == 0 ? 0 : random() % count;
        const uint32_t op = random() % 10;
        SCOPED_TRACE("step " + std::to_string(step) + " op " + std::to_string(op));
        switch (op) {
        case 0: {
            const uint32_t at = random() % (count + 1);
            ASSERT_EQ(1, list.AddItemByPos(nextElement, at));
            model.insert(model.begin() + at, nextElement++);
            break;
        }
        case 1:
            ASSERT_EQ(1, list.AddItemToHead(nextElement));
            model.insert(model.begin(), nextElement++);
            break;
        case 2:
            ASSERT_EQ(1, list.AddItemToTail(nextElement));
            model.push_back(nextElement++);
            break;
        case 3:
            if (count > 0) {
                ASSERT_EQ(1, list.DeleteItemByPos(pos));
                model.erase(model.begin() + pos);
            }
            break;
        case 4:
            if (count > 0) {
                Node* node = list.GetListItemByPos(pos);
                ASSERT_EQ(1, list.RemoveListItem(node));
                model.erase(model.begin() + pos);
                removed.push_back(node);
            }
            break;
        case 5:
            if (!removed.empty() && count > 0) {
                Node* node = removed.back();
                removed.pop_back();
                const bool after = random() % 2 == 0;
                const uint32_t element = node->GetItem();
                if (after) {
                    ASSERT_EQ(1, list.InsertItemAfter(node, list.GetListItemByPos(pos)));
                    model.insert(model.begin() + pos + 1, element);
                } else {
                    ASSERT_EQ(1, list.InsertItemBefore(node, list.GetListItemByPos(pos)));
                    model.insert(model.begin() + pos, element);
                }
            }
            break;
        case 6:
            if (count > 0) {
                ASSERT_EQ(1, list.MoveItemUp(list.GetListItemByPos(pos)));
                if (pos > 0) {
                    std::swap(model[pos - 1], model[pos]);
                }
            }
            break;
        case 7:
            if (count > 0) {
                // Unnamed nodes all share the all-ones id; move this one by a name it alone has.
                Node* node = list.GetListItemByPos(pos);
                ASSERT_EQ(1, node->SetName("moving"));
                const uint32_t element = model[pos];
                switch (random() % 3) {
                case 0:
                    ASSERT_EQ(1, list.MoveItemDown("moving"));
                    if (pos + 1 < count) {
                        std::swap(model[pos], model[pos + 1]);
                    }
                    break;
                case 1:
                    ASSERT_EQ(1, list.MoveItemToHead("moving"));
                    model.erase(model.begin() + pos);
                    model.insert(model.begin(), element);
                    break;
                default:
                    ASSERT_EQ(1, list.MoveItemToTail("moving"));
                    model.erase(model.begin() + pos);
                    model.push_back(element);
                    break;
                }
                ASSERT_EQ(1, node->SetName("still"));
            }
            break;
        case 8:
            if (count > 0) {
                ASSERT_EQ(1, list.DeleteHeadItem());
                model.erase(model.begin());
            }
            break;
        default:
            if (count > 0) {
                ASSERT_EQ(1, list.DeleteTailItem());
                model.pop_back();
            }
            break;
        }
        ASSERT_TRUE(Holds(list, model));
    }
    for (Node* node : removed) {
        node->Destroy();
    }
}

} // namespace
