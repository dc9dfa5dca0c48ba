// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <cstdlib>
#include <new>

#include "containers/SCA_ListItem.h"
#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Object.h"
#include "libmor/SCA_String.h"

// The one general-purpose container: a doubly linked list of SCA_ListItem<T> nodes, each with
// an element, a 32-bit id and an optional name. Elements are reached by node, id, name and
// 0-based position from the head; every search runs from the head and takes the first match.
//
// The list owns its nodes, never their elements: deleting a node leaves its element to whoever
// put it in. Nothing here throws or reports; failures are results (0, null, or all ones for ids
// and positions), and a failed operation leaves the list as it was.
//
// Ids: an insertion with an id out-parameter hands out the next id; one with an explicit id
// stores it unchanged; any other gives the all-ones id. Ids are not checked for uniqueness.
//
// One thread at a time; lists that threads share are guarded by their owners.
template <typename T>
class SCA_List : public SCA_Object {
public:
    using Item = SCA_ListItem<T>;
    using Comparator = int (*)(const void*, const void*);

    static constexpr uint32_t kNoId = SCA_ALL_ONES;

    explicit SCA_List(uint32_t firstId = 0) : m_NextId(firstId), m_FirstId(firstId) {
        SetConstructed();
    }
    ~SCA_List() override { DestroyNodes(); }

    SCA_List(const SCA_List&) = delete;
    SCA_List& operator=(const SCA_List&) = delete;

    // --- bulk ---------------------------------------------------------------------------------

    // Destroys every node; the next id goes back to the first id.
    int Clear() {
        DestroyNodes();
        m_NextId = m_FirstId;
        return 1;
    }

    uint32_t Count() const { return m_Count; }
    Item* GetHead() const { return m_Head; }
    Item* GetTail() const { return m_Tail; }

    int GetHeadItem(T* out) const { return CopyElement(m_Head, out); }
    int GetTailItem(T* out) const { return CopyElement(m_Tail, out); }

    uint32_t GetNextItemId() const { return m_NextId; }
    void SetNextItemId(uint32_t id) { m_NextId = id; }

    // --- insertion ----------------------------------------------------------------------------

    int AddItemToHead(T item) { return AddAtHead(item, nullptr, IdRule::None()); }
    int AddItemToHead(T item, uint32_t* outId) {
        return AddAtHead(item, nullptr, IdRule::HandOut(outId));
    }
    int AddItemToHead(T item, uint32_t id) { return AddAtHead(item, nullptr, IdRule::Given(id)); }
    int AddItemToHead(T item, const char* name) { return AddAtHead(item, name, IdRule::None()); }

    int AddItemToTail(T item) { return AddAtTail(item, nullptr, IdRule::None()); }
    int AddItemToTail(T item, uint32_t* outId) {
        return AddAtTail(item, nullptr, IdRule::HandOut(outId));
    }
    int AddItemToTail(T item, uint32_t id) { return AddAtTail(item, nullptr, IdRule::Given(id)); }
    int AddItemToTail(T item, const char* name) { return AddAtTail(item, name, IdRule::None()); }
    int AddItemToTail(T item, const char* name, uint32_t id) {
        return AddAtTail(item, name, IdRule::Given(id));
    }
    int AddItemToTail(T item, const char* name, uint32_t* outId) {
        return AddAtTail(item, name, IdRule::HandOut(outId));
    }
    // A non-null outNode receives the new node.
    int AddItemToTail(T item, const char* name, Item** outNode) {
        Item* node = NewNode(item, name);
        if (node == nullptr) {
            return 0;
        }
        LinkTail(node);
        if (outNode != nullptr) {
            *outNode = node;
        }
        return 1;
    }

    // pos 0 inserts at the head, pos == Count() at the tail, a pos above the count fails.
    int AddItemByPos(T item, uint32_t pos) { return AddAtPos(item, pos, nullptr, IdRule::None()); }
    int AddItemByPos(T item, uint32_t pos, uint32_t* outId) {
        return AddAtPos(item, pos, nullptr, IdRule::HandOut(outId));
    }
    int AddItemByPos(T item, uint32_t pos, uint32_t id) {
        return AddAtPos(item, pos, nullptr, IdRule::Given(id));
    }
    int AddItemByPos(T item, uint32_t pos, const char* name) {
        return AddAtPos(item, pos, name, IdRule::None());
    }

    int AddItemBefore(T item, Item* where) {
        if (where == nullptr) {
            return 0;
        }
        Item* node = NewNode(item, nullptr);
        if (node == nullptr) {
            return 0;
        }
        LinkBefore(node, where);
        return 1;
    }
    int AddItemAfter(T item, Item* where) {
        if (where == nullptr) {
            return 0;
        }
        Item* node = NewNode(item, nullptr);
        if (node == nullptr) {
            return 0;
        }
        LinkAfter(node, where);
        return 1;
    }

    // Links a caller's node (the list owns it from now on); it keeps its id, element and name.
    int InsertItemBefore(Item* node, Item* where) {
        if (node == nullptr || where == nullptr) {
            return 0;
        }
        LinkBefore(node, where);
        return 1;
    }
    int InsertItemAfter(Item* node, Item* where) {
        if (node == nullptr || where == nullptr) {
            return 0;
        }
        LinkAfter(node, where);
        return 1;
    }

    // --- lookup -------------------------------------------------------------------------------

    Item* GetListItem(uint32_t id) const { return FindById(id); }
    Item* GetListItem(const char* name) const { return FindByName(name); }
    Item* GetListItemByPos(uint32_t pos) const { return FindByPos(pos); }
    int GetListItemByPos(uint32_t pos, Item** out) const {
        Item* node = FindByPos(pos);
        if (node == nullptr) {
            return 0;
        }
        if (out != nullptr) {
            *out = node;
        }
        return 1;
    }

    int GetItem(uint32_t id, T* out) const { return CopyElement(FindById(id), out); }
    int GetItem(const char* name, T* out) const { return CopyElement(FindByName(name), out); }
    int GetItemByPos(uint32_t pos, T* out) const { return CopyElement(FindByPos(pos), out); }

    uint32_t GetItemPos(uint32_t id) const {
        uint32_t pos = 0;
        for (Item* node = m_Head; node != nullptr; node = node->m_Next, ++pos) {
            if (node->m_Id == id) {
                return pos;
            }
        }
        return kNoId;
    }
    // The id of the node after (before) the node with this id; all ones at the end or when absent.
    uint32_t GetNextItemId(uint32_t id) const {
        Item* node = FindById(id);
        return node != nullptr && node->m_Next != nullptr ? node->m_Next->m_Id : kNoId;
    }
    uint32_t GetPrevItemId(uint32_t id) const {
        Item* node = FindById(id);
        return node != nullptr && node->m_Prev != nullptr ? node->m_Prev->m_Id : kNoId;
    }

    // An empty name never "exists" here, although a node may carry one.
    int IsItemExists(const char* name) const {
        if (name == nullptr || name[0] == '\0') {
            return 0;
        }
        return FindByName(name) != nullptr ? 1 : 0;
    }

    // --- names --------------------------------------------------------------------------------

    // The node's name, an empty text for an unnamed node, null when no node has the id.
    const char* GetItemNameById(uint32_t id) const { return NameOrEmpty(FindById(id)); }
    const char* GetItemNameByPos(uint32_t pos) const { return NameOrEmpty(FindByPos(pos)); }

    // Copies the name into buf, cut to size bytes with its terminating zero. buf is emptied
    // first; an unnamed node answers 1 with buf empty. A size of 0 writes nothing.
    int GetItemName(uint32_t id, char* buf, uint32_t size) const {
        if (buf != nullptr && size > 0) {
            buf[0] = '\0';
        }
        Item* node = FindById(id);
        if (node == nullptr) {
            return 0;
        }
        if (node->m_Name != nullptr && buf != nullptr) {
            SCA_StrnCpy(buf, node->m_Name, size);
        }
        return 1;
    }

    int SetItemName(uint32_t id, const char* name) {
        if (name == nullptr) {
            return 0;
        }
        Item* node = FindById(id);
        return node != nullptr ? node->SetName(name) : 0;
    }
    int ChangeItemName(const char* oldName, const char* newName) {
        if (oldName == nullptr || newName == nullptr) {
            return 0;
        }
        Item* node = FindByName(oldName);
        return node != nullptr ? node->SetName(newName) : 0;
    }
    int RenameItem(const char* oldName, const char* newName) {
        return ChangeItemName(oldName, newName);
    }
    int SetItemId(const char* name, uint32_t id) {
        Item* node = FindByName(name);
        if (node == nullptr) {
            return 0;
        }
        node->m_Id = id;
        return 1;
    }

    // --- removal ------------------------------------------------------------------------------

    // Unlinks a node of this list without destroying it; the caller owns it afterwards.
    int RemoveListItem(Item* node) {
        if (node == nullptr) {
            return 0;
        }
        Unlink(node);
        return 1;
    }
    int DeleteListItem(Item* node) {
        if (node == nullptr) {
            return 0;
        }
        Unlink(node);
        delete node;
        return 1;
    }
    int DeleteHeadItem() { return DeleteListItem(m_Head); }
    int DeleteTailItem() { return DeleteListItem(m_Tail); }
    int DeleteItem(uint32_t id) { return DeleteListItem(FindById(id)); }
    // Hands the element of the deleted node back through out (untouched when none matches).
    int DeleteItem(uint32_t id, T* out) {
        Item* node = FindById(id);
        if (node == nullptr) {
            return 0;
        }
        if (out != nullptr) {
            *out = node->m_Item;
        }
        return DeleteListItem(node);
    }
    int DeleteItem(const char* name) { return DeleteListItem(FindByName(name)); }
    int DeleteItemByPos(uint32_t pos) { return DeleteListItem(FindByPos(pos)); }

    // --- moves (a moved node keeps its id, element and name) ---------------------------------

    int MoveItemToHead(uint32_t id) { return MoveToHead(FindById(id)); }
    int MoveItemToHead(const char* name) { return MoveToHead(FindByName(name)); }
    int MoveItemToTail(uint32_t id) { return MoveToTail(FindById(id)); }
    int MoveItemToTail(const char* name) { return MoveToTail(FindByName(name)); }

    int MoveItemUp(uint32_t id) { return MoveItemUp(FindById(id)); }
    int MoveItemUp(const char* name) { return MoveItemUp(FindByName(name)); }
    int MoveItemUp(Item* node) {
        if (node == nullptr) {
            return 0;
        }
        Item* before = node->m_Prev;
        if (before != nullptr) {
            Unlink(node);
            LinkBefore(node, before);
        }
        return 1;
    }
    int MoveItemDown(uint32_t id) { return MoveDown(FindById(id)); }
    int MoveItemDown(const char* name) { return MoveDown(FindByName(name)); }

    // --- sorting ------------------------------------------------------------------------------

    // Reorders the nodes with qsort over an array of tagSCA_SORT_ITEM pairs {node, name}; the
    // comparator reaches an element through the pair's node. Not stable. 0, with the list
    // unchanged, when the array cannot be allocated.
    int SortItems(Comparator cmp) {
        if (m_Head == nullptr) {
            return 1;
        }
        auto* pairs = static_cast<tagSCA_SORT_ITEM*>(
            SCA_HeapAlloc(sizeof(tagSCA_SORT_ITEM) * static_cast<size_t>(m_Count)));
        if (pairs == nullptr) {
            return 0;
        }
        const uint32_t count = m_Count;
        uint32_t i = 0;
        for (Item* node = m_Head; node != nullptr; node = node->m_Next, ++i) {
            pairs[i].Item = node;
            pairs[i].Name = node->m_Name;
        }
        std::qsort(pairs, count, sizeof(tagSCA_SORT_ITEM), cmp);
        m_Head = m_Tail = nullptr;
        m_Count = 0;
        for (i = 0; i < count; ++i) {
            LinkTail(static_cast<Item*>(pairs[i].Item));
        }
        SCA_HeapFree(pairs);
        return 1;
    }
    int SortItemsByName() { return SortItems(sca_compare_items); }

private:
    // How an insertion gives the new node its id.
    struct IdRule {
        enum Kind { kNone, kGiven, kHandOut } kind;
        uint32_t id;
        uint32_t* out;
        static IdRule None() { return {kNone, kNoId, nullptr}; }
        static IdRule Given(uint32_t value) { return {kGiven, value, nullptr}; }
        static IdRule HandOut(uint32_t* target) { return {kHandOut, 0, target}; }
    };

    // A new unlinked node with its name copied, or null when either allocation fails.
    static Item* NewNode(T item, const char* name) {
        Item* node = new (std::nothrow) Item(item, name);
        if (node != nullptr && !node->IsConstructed()) {
            delete node;
            return nullptr;
        }
        return node;
    }

    // Makes the node for an insertion and applies the id rule; ids are handed out only once
    // the node exists, so a failed insertion consumes none.
    Item* NewNodeWithId(T item, const char* name, const IdRule& rule) {
        Item* node = NewNode(item, name);
        if (node == nullptr) {
            return nullptr;
        }
        if (rule.kind == IdRule::kGiven) {
            node->m_Id = rule.id;
        } else if (rule.kind == IdRule::kHandOut) {
            node->m_Id = m_NextId++;
            if (rule.out != nullptr) {
                *rule.out = node->m_Id;
            }
        }
        return node;
    }

    int AddAtHead(T item, const char* name, const IdRule& rule) {
        Item* node = NewNodeWithId(item, name, rule);
        if (node == nullptr) {
            return 0;
        }
        LinkHead(node);
        return 1;
    }
    int AddAtTail(T item, const char* name, const IdRule& rule) {
        Item* node = NewNodeWithId(item, name, rule);
        if (node == nullptr) {
            return 0;
        }
        LinkTail(node);
        return 1;
    }
    int AddAtPos(T item, uint32_t pos, const char* name, const IdRule& rule) {
        if (pos == 0) {
            return AddAtHead(item, name, rule);
        }
        if (pos == m_Count) {
            return AddAtTail(item, name, rule);
        }
        Item* where = FindByPos(pos);
        if (where == nullptr) {
            return 0;
        }
        Item* node = NewNodeWithId(item, name, rule);
        if (node == nullptr) {
            return 0;
        }
        LinkBefore(node, where);
        return 1;
    }

    void LinkHead(Item* node) {
        node->m_Prev = nullptr;
        node->m_Next = m_Head;
        if (m_Head != nullptr) {
            m_Head->m_Prev = node;
        } else {
            m_Tail = node;
        }
        m_Head = node;
        ++m_Count;
    }
    void LinkTail(Item* node) {
        node->m_Next = nullptr;
        node->m_Prev = m_Tail;
        if (m_Tail != nullptr) {
            m_Tail->m_Next = node;
        } else {
            m_Head = node;
        }
        m_Tail = node;
        ++m_Count;
    }
    void LinkBefore(Item* node, Item* where) {
        node->m_Next = where;
        node->m_Prev = where->m_Prev;
        if (where->m_Prev != nullptr) {
            where->m_Prev->m_Next = node;
        } else {
            m_Head = node;
        }
        where->m_Prev = node;
        ++m_Count;
    }
    void LinkAfter(Item* node, Item* where) {
        node->m_Prev = where;
        node->m_Next = where->m_Next;
        if (where->m_Next != nullptr) {
            where->m_Next->m_Prev = node;
        } else {
            m_Tail = node;
        }
        where->m_Next = node;
        ++m_Count;
    }
    // Leaves the node's own links as they were; a relink overwrites them.
    void Unlink(Item* node) {
        if (node->m_Prev != nullptr) {
            node->m_Prev->m_Next = node->m_Next;
        } else {
            m_Head = node->m_Next;
        }
        if (node->m_Next != nullptr) {
            node->m_Next->m_Prev = node->m_Prev;
        } else {
            m_Tail = node->m_Prev;
        }
        --m_Count;
    }

    int MoveToHead(Item* node) {
        if (node == nullptr) {
            return 0;
        }
        if (node != m_Head) {
            Unlink(node);
            LinkHead(node);
        }
        return 1;
    }
    int MoveToTail(Item* node) {
        if (node == nullptr) {
            return 0;
        }
        if (node != m_Tail) {
            Unlink(node);
            LinkTail(node);
        }
        return 1;
    }
    int MoveDown(Item* node) {
        if (node == nullptr) {
            return 0;
        }
        Item* after = node->m_Next;
        if (after != nullptr) {
            Unlink(node);
            LinkAfter(node, after);
        }
        return 1;
    }

    Item* FindById(uint32_t id) const {
        for (Item* node = m_Head; node != nullptr; node = node->m_Next) {
            if (node->m_Id == id) {
                return node;
            }
        }
        return nullptr;
    }
    // Exact, case-sensitive; unnamed nodes never match and a null name finds nothing.
    Item* FindByName(const char* name) const {
        if (name == nullptr) {
            return nullptr;
        }
        for (Item* node = m_Head; node != nullptr; node = node->m_Next) {
            if (node->m_Name != nullptr && SameText(node->m_Name, name)) {
                return node;
            }
        }
        return nullptr;
    }
    Item* FindByPos(uint32_t pos) const {
        if (pos >= m_Count) {
            return nullptr;
        }
        Item* node = m_Head;
        while (pos-- > 0) {
            node = node->m_Next;
        }
        return node;
    }

    static bool SameText(const char* a, const char* b) {
        while (*a != '\0' && *a == *b) {
            ++a;
            ++b;
        }
        return *a == *b;
    }
    static const char* NameOrEmpty(const Item* node) {
        if (node == nullptr) {
            return nullptr;
        }
        return node->m_Name != nullptr ? node->m_Name : "";
    }
    static int CopyElement(const Item* node, T* out) {
        if (node == nullptr) {
            return 0;
        }
        if (out != nullptr) {
            *out = node->m_Item;
        }
        return 1;
    }

    void DestroyNodes() {
        Item* node = m_Head;
        while (node != nullptr) {
            Item* next = node->m_Next;
            delete node;
            node = next;
        }
        m_Head = m_Tail = nullptr;
        m_Count = 0;
    }

    Item* m_Head = nullptr;
    Item* m_Tail = nullptr;
    uint32_t m_NextId;
    uint32_t m_FirstId;
    uint32_t m_Count = 0;
};
