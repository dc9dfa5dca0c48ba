// SPDX-License-Identifier: MIT
// The intrusive child list: links at both ends, moves, lookups, ownership and sorting.
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

#include "model/SCA_Field.h"
#include "model/SCA_FieldList.h"
#include "tests/model/ModelTestSupport.h"

namespace {

using model_test::HeapFailure;
using model_test::IsSound;
using model_test::Names;
using Order = std::vector<std::string>;

static_assert(!std::is_copy_constructible_v<SCA_FieldList> &&
                  !std::is_copy_assignable_v<SCA_FieldList>,
              "a copy would share the fields of its source");

// A field that counts its destructions.
class CountedField : public SCA_Field {
public:
    CountedField(const char* name, int* destroyed)
        : SCA_Field(name, nullptr), m_Destroyed(destroyed) {}
    ~CountedField() override { ++*m_Destroyed; }

private:
    int* m_Destroyed;
};

// A list holding counted fields with these names, in this order.
class CountedList {
public:
    explicit CountedList(const Order& names) {
        for (const std::string& name : names) {
            m_List.AddItemToTail(new CountedField(name.c_str(), &m_Destroyed));
        }
    }
    SCA_FieldList& List() { return m_List; }
    int Destroyed() const { return m_Destroyed; }

private:
    int m_Destroyed = 0; // declared first: the list destroys its fields before it goes
    SCA_FieldList m_List;
};

::testing::AssertionResult Holds(const SCA_FieldList& list, const Order& expected) {
    ::testing::AssertionResult sound = IsSound(list);
    if (!sound) {
        return sound;
    }
    const Order actual = Names(list);
    if (actual != expected) {
        std::string text;
        for (const std::string& name : actual) {
            text += " " + name;
        }
        return ::testing::AssertionFailure() << "order is" << text;
    }
    return ::testing::AssertionSuccess();
}

int ByName(const void* a, const void* b) {
    const SCA_Field* x = *static_cast<SCA_Field* const*>(a);
    const SCA_Field* y = *static_cast<SCA_Field* const*>(b);
    return std::strcmp(x->GetName(), y->GetName());
}

TEST(FieldListTest, LinksAtBothEnds) {
    SCA_FieldList list;
    EXPECT_EQ(1u, list.IsConstructed());
    EXPECT_TRUE(Holds(list, {}));
    SCA_Field* b = new SCA_Field("B", nullptr);
    SCA_Field* a = new SCA_Field("A", nullptr);
    SCA_Field* c = new SCA_Field("C", nullptr);
    EXPECT_EQ(1, list.AddItemToTail(b));
    EXPECT_EQ(1, list.AddItemToHead(a));
    EXPECT_EQ(1, list.AddItemToTail(c));
    EXPECT_TRUE(Holds(list, {"A", "B", "C"}));
    EXPECT_EQ(a, list.GetHead());
    EXPECT_EQ(c, list.GetTail());
    SCA_Field* head = nullptr;
    EXPECT_EQ(1, list.GetHeadItem(&head));
    EXPECT_EQ(a, head);
}

TEST(FieldListTest, RefusesNullAndLinkedFields) {
    CountedList first({"A", "B"});
    CountedList second({"X"});
    SCA_Field* a = first.List().GetHead();
    SCA_Field* x = second.List().GetHead();

    EXPECT_EQ(0, second.List().AddItemToHead(a));
    EXPECT_EQ(0, second.List().AddItemToTail(a));
    EXPECT_EQ(0, first.List().AddItemToTail(a)) << "already in this very list";
    EXPECT_EQ(0, first.List().AddItemToHead(nullptr));
    EXPECT_EQ(0, first.List().AddItemToTail(nullptr));
    EXPECT_EQ(0, second.List().InsertItemAfter(a, x));
    // A detached field is not linked next to a field of another list.
    int destroyed = 0;
    auto* loose = new CountedField("L", &destroyed);
    EXPECT_EQ(0, first.List().InsertItemBefore(loose, x));
    EXPECT_EQ(0, first.List().InsertItemAfter(loose, nullptr));
    EXPECT_FALSE(loose->IsLinked());
    // Nor is a field of another list unlinked or destroyed by this one.
    EXPECT_EQ(0, first.List().RemoveListItem(x));
    EXPECT_EQ(0, first.List().DeleteListItem(x));
    EXPECT_EQ(0, first.List().DeleteListItem(nullptr));

    EXPECT_TRUE(Holds(first.List(), {"A", "B"}));
    EXPECT_TRUE(Holds(second.List(), {"X"}));
    EXPECT_EQ(0, second.Destroyed());
    loose->Destroy();
    EXPECT_EQ(1, destroyed);
}

TEST(FieldListTest, InsertsNextToAFieldAndUpdatesTheEnds) {
    CountedList list({"B"});
    int destroyed = 0;
    SCA_Field* b = list.List().GetHead();
    EXPECT_EQ(1, list.List().InsertItemBefore(new CountedField("A", &destroyed), b));
    EXPECT_EQ(1, list.List().InsertItemAfter(new CountedField("C", &destroyed), b));
    EXPECT_EQ(1, list.List().InsertItemAfter(new CountedField("B2", &destroyed), b));
    EXPECT_TRUE(Holds(list.List(), {"A", "B", "B2", "C"}));
}

// One move and the order it must leave; every move keeps the count and the links sound.
struct Move {
    int (SCA_FieldList::*Operation)(const char*);
    const char* Name;
    int Result;
    Order After;
};

TEST(FieldListTest, MovesAtBothEndsAndInTheMiddle) {
    CountedList list({"A", "B", "C", "D"});
    const Move moves[] = {
        {&SCA_FieldList::MoveItemToHead, "A", 1, {"A", "B", "C", "D"}},
        {&SCA_FieldList::MoveItemToTail, "D", 1, {"A", "B", "C", "D"}},
        {&SCA_FieldList::MoveItemUp, "A", 1, {"A", "B", "C", "D"}},
        {&SCA_FieldList::MoveItemDown, "D", 1, {"A", "B", "C", "D"}},
        {&SCA_FieldList::MoveItemToHead, "D", 1, {"D", "A", "B", "C"}},
        {&SCA_FieldList::MoveItemToTail, "D", 1, {"A", "B", "C", "D"}},
        {&SCA_FieldList::MoveItemToHead, "C", 1, {"C", "A", "B", "D"}},
        {&SCA_FieldList::MoveItemToTail, "A", 1, {"C", "B", "D", "A"}},
        {&SCA_FieldList::MoveItemUp, "B", 1, {"B", "C", "D", "A"}},
        {&SCA_FieldList::MoveItemDown, "D", 1, {"B", "C", "A", "D"}},
        {&SCA_FieldList::MoveItemUp, "A", 1, {"B", "A", "C", "D"}},
        {&SCA_FieldList::MoveItemDown, "A", 1, {"B", "C", "A", "D"}},
        {&SCA_FieldList::MoveItemToHead, "d", 0, {"B", "C", "A", "D"}},
        {&SCA_FieldList::MoveItemToTail, "E", 0, {"B", "C", "A", "D"}},
        {&SCA_FieldList::MoveItemUp, nullptr, 0, {"B", "C", "A", "D"}},
        {&SCA_FieldList::MoveItemDown, "", 0, {"B", "C", "A", "D"}},
    };
    for (const Move& move : moves) {
        EXPECT_EQ(move.Result, (list.List().*move.Operation)(move.Name))
            << (move.Name != nullptr ? move.Name : "(null)");
        EXPECT_TRUE(Holds(list.List(), move.After));
        ASSERT_EQ(4u, list.List().Count());
    }
    EXPECT_EQ(0, list.Destroyed());
}

TEST(FieldListTest, MovesInATwoFieldList) {
    CountedList list({"A", "B"});
    EXPECT_EQ(1, list.List().MoveItemDown("A"));
    EXPECT_TRUE(Holds(list.List(), {"B", "A"}));
    EXPECT_EQ(1, list.List().MoveItemUp("A"));
    EXPECT_TRUE(Holds(list.List(), {"A", "B"}));
    EXPECT_EQ(1, list.List().MoveItemToTail("A"));
    EXPECT_TRUE(Holds(list.List(), {"B", "A"}));
}

TEST(FieldListTest, LooksUpByExactNameAndPosition) {
    CountedList list({"Port", "Host", "Port", ""});
    SCA_FieldList& fields = list.List();
    SCA_Field* found = nullptr;
    ASSERT_EQ(1, fields.GetItem("Port", &found));
    EXPECT_EQ(fields.GetHead(), found) << "the first of two fields of that name";
    SCA_Field* untouched = fields.GetTail();
    found = untouched;
    EXPECT_EQ(0, fields.GetItem("port", &found));
    EXPECT_EQ(0, fields.GetItem("Por", &found));
    EXPECT_EQ(0, fields.GetItem("Port ", &found));
    EXPECT_EQ(0, fields.GetItem(nullptr, &found));
    EXPECT_EQ(untouched, found);

    EXPECT_EQ(1, fields.IsItemValid("Host"));
    EXPECT_EQ(0, fields.IsItemValid("host"));
    EXPECT_EQ(0, fields.IsItemValid("")) << "an empty name is never valid";
    EXPECT_EQ(0, fields.IsItemValid(nullptr));

    ASSERT_EQ(1, fields.GetItemByPos(3, &found));
    EXPECT_EQ(fields.GetTail(), found);
    EXPECT_EQ(0, fields.GetItemByPos(4, &found));
    EXPECT_EQ(fields.GetTail(), found);
    EXPECT_STREQ("Host", fields.GetNameByPos(1));
    EXPECT_EQ(nullptr, fields.GetNameByPos(4));

    SCA_FieldList empty;
    EXPECT_EQ(0, empty.GetHeadItem(&found));
    EXPECT_EQ(0, empty.GetItem("Port", &found));
    EXPECT_EQ(0, empty.GetItemByPos(0, &found));
    EXPECT_EQ(fields.GetTail(), found);
}

TEST(FieldListTest, DeletesDestroyExactlyOneField) {
    CountedList list({"A", "B", "C", "B", "D", "E"});
    SCA_FieldList& fields = list.List();
    EXPECT_EQ(1, fields.DeleteHeadItem());
    EXPECT_TRUE(Holds(fields, {"B", "C", "B", "D", "E"}));
    EXPECT_EQ(1, fields.DeleteTailItem());
    EXPECT_TRUE(Holds(fields, {"B", "C", "B", "D"}));
    EXPECT_EQ(1, fields.DeleteItem("B"));
    EXPECT_TRUE(Holds(fields, {"C", "B", "D"}));
    EXPECT_EQ(0, fields.DeleteItem("b"));
    EXPECT_EQ(0, fields.DeleteItem(nullptr));
    EXPECT_EQ(0, fields.DeleteItemByPos(3));
    EXPECT_EQ(1, fields.DeleteItemByPos(1));
    EXPECT_TRUE(Holds(fields, {"C", "D"}));
    EXPECT_EQ(4, list.Destroyed());
    EXPECT_EQ(1, fields.DeleteItemByPos(1));
    EXPECT_EQ(1, fields.DeleteTailItem());
    EXPECT_TRUE(Holds(fields, {}));
    EXPECT_EQ(0, fields.DeleteHeadItem());
    EXPECT_EQ(0, fields.DeleteTailItem());
    EXPECT_EQ(0, fields.DeleteItem("C"));
    EXPECT_EQ(0, fields.DeleteItemByPos(0));
    EXPECT_EQ(6, list.Destroyed());
}

TEST(FieldListTest, RemovedFieldBelongsToTheCallerAndCanBeLinkedAgain) {
    CountedList list({"A", "B", "C"});
    SCA_Field* b = list.List().GetListItem("B");
    ASSERT_NE(nullptr, b);
    EXPECT_EQ(1, list.List().RemoveItem("B"));
    EXPECT_TRUE(Holds(list.List(), {"A", "C"}));
    EXPECT_FALSE(b->IsLinked());
    EXPECT_EQ(nullptr, b->GetNext());
    EXPECT_EQ(nullptr, b->GetPrev());
    EXPECT_EQ(0, list.List().RemoveItem("B"));
    EXPECT_EQ(0, list.List().RemoveItem(nullptr));
    EXPECT_EQ(0, list.Destroyed());

    CountedList other({"X"});
    EXPECT_EQ(1, other.List().AddItemToHead(b));
    EXPECT_TRUE(Holds(other.List(), {"B", "X"}));
    other.List().Clear();
    EXPECT_EQ(2, list.Destroyed() + other.Destroyed());
    EXPECT_TRUE(Holds(other.List(), {}));
}

TEST(FieldListTest, ClearAndDestructorDestroyEveryField) {
    int destroyed = 0;
    {
        SCA_FieldList list;
        for (const char* name : {"A", "B", "C"}) {
            list.AddItemToTail(new CountedField(name, &destroyed));
        }
        EXPECT_EQ(1, list.Clear());
        EXPECT_EQ(3, destroyed);
        EXPECT_TRUE(Holds(list, {}));
        list.AddItemToTail(new CountedField("D", &destroyed));
        list.AddItemToHead(new CountedField("E", &destroyed));
    }
    EXPECT_EQ(5, destroyed);
}

TEST(FieldListTest, SortsWithTheComparatorAndRelinksTheEnds) {
    CountedList list({"d", "b", "e", "a", "c"});
    ASSERT_EQ(1, list.List().SortFields(ByName));
    EXPECT_TRUE(Holds(list.List(), {"a", "b", "c", "d", "e"}));
    EXPECT_STREQ("a", list.List().GetHead()->GetName());
    EXPECT_STREQ("e", list.List().GetTail()->GetName());

    // The sorted list keeps working as a list.
    EXPECT_EQ(1, list.List().MoveItemToHead("e"));
    EXPECT_EQ(1, list.List().DeleteTailItem());
    EXPECT_TRUE(Holds(list.List(), {"e", "a", "b", "c"}));
    EXPECT_EQ(1, list.Destroyed());
}

TEST(FieldListTest, SortOfEmptyAndSingleListsAndRefusals) {
    SCA_FieldList empty;
    EXPECT_EQ(1, empty.SortFields(ByName));
    EXPECT_TRUE(Holds(empty, {}));

    CountedList single({"only"});
    EXPECT_EQ(1, single.List().SortFields(ByName));
    EXPECT_TRUE(Holds(single.List(), {"only"}));

    CountedList list({"b", "a", "c"});
    EXPECT_EQ(0, list.List().SortFields(nullptr));
    EXPECT_TRUE(Holds(list.List(), {"b", "a", "c"}));
    {
        HeapFailure failure(1);
        EXPECT_EQ(0, list.List().SortFields(ByName));
    }
    EXPECT_TRUE(Holds(list.List(), {"b", "a", "c"}));
}

} // namespace
