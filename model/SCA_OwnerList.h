// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <new>
#include <type_traits>

#include "containers/SCA_List.h"
#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Object.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezRecordFields.h"

// The base of every list that owns its elements: clearing or destroying the list, or deleting an
// element through it, destroys the element too. An element that derives from SCA_Object is
// released through its Destroy; any other is a block from SCA_HeapAlloc and is freed.
//
// The list is an SCA_List only to itself and the lists built on it. SCA_List's Clear and
// deletes leave elements behind and none of them is virtual, so reaching an owning list as an
// SCA_List would leak: outside code sees only the operations below, which either keep every
// element in the list, take one in, hand one back to the caller or destroy it.
//
// Stored forms: elements that offer Serialize(SCA_ConfigObj*) const and
// Deserialize(SCA_ConfigObj*) travel as child objects, one per element, here named by position;
// lists built on this one name and read their children their own way through the shared loops.
template <typename T>
class SCA_OwnerList : protected SCA_List<T*> {
    using Base = SCA_List<T*>;

public:
    using Item = typename Base::Item;
    using Comparator = typename Base::Comparator;
    using Base::kNoId;

    explicit SCA_OwnerList(uint32_t firstId = 0) : Base(firstId) {}
    ~SCA_OwnerList() override { DestroyRecords(); }

    SCA_OwnerList(const SCA_OwnerList&) = delete;
    SCA_OwnerList& operator=(const SCA_OwnerList&) = delete;

    using Base::Destroy;
    using Base::IsConstructed;

    using Base::Count;
    using Base::GetHead;
    using Base::GetHeadItem;
    using Base::GetNextItemId;
    using Base::GetPrevItemId;
    using Base::GetTail;
    using Base::GetTailItem;
    using Base::SetNextItemId;

    // Insertions: on success the list owns the element, on failure the caller still does.
    using Base::AddItemAfter;
    using Base::AddItemBefore;
    using Base::AddItemByPos;
    using Base::AddItemToHead;
    using Base::AddItemToTail;
    using Base::InsertItemAfter;
    using Base::InsertItemBefore;

    using Base::GetItem;
    using Base::GetItemByPos;
    using Base::GetItemPos;
    using Base::GetListItem;
    using Base::GetListItemByPos;
    using Base::IsItemExists;

    using Base::ChangeItemName;
    using Base::GetItemName;
    using Base::GetItemNameById;
    using Base::GetItemNameByPos;
    using Base::RenameItem;
    using Base::SetItemId;
    using Base::SetItemName;

    using Base::MoveItemDown;
    using Base::MoveItemToHead;
    using Base::MoveItemToTail;
    using Base::MoveItemUp;
    using Base::SortItems;
    using Base::SortItemsByName;

    // Destroys every element and empties the list; the next id goes back to the first id.
    int ClearAll() {
        DestroyRecords();
        return Base::Clear();
    }
    int Clear() { return ClearAll(); }

    // Unlinks the element with that id and hands it to the caller through out (untouched when
    // none matches); the caller owns it from then on.
    int DeleteItem(uint32_t id, T** out) { return Base::DeleteItem(id, out); }

    // Unlink and destroy one element: by id, by node of this list, and the head.
    int DestroyItem(uint32_t id) { return DestroyListItem(this->GetListItem(id)); }
    int DestroyListItem(Item* node) {
        if (node == nullptr) {
            return 0;
        }
        T* record = node->GetItem();
        Base::DeleteListItem(node);
        DestroyRecord(record);
        return 1;
    }
    int DestroyHeadItem() { return DestroyListItem(this->GetHead()); }

    // Writes each element with T's Serialize into a child object of its own, named by its
    // position.
    int SerializeRecords(SCA_ConfigObj* object) const {
        return WriteRecords(object, kAll, KeepAll, ByPosition, WriteRecord) == Failure::kNone;
    }
    // The same with write(record, child) in place of T's Serialize.
    template <typename Write>
    int SerializeRecords(SCA_ConfigObj* object, Write&& write) const {
        return WriteRecords(object, kAll, KeepAll, ByPosition, write) == Failure::kNone;
    }
    // Empties the list, then makes an element of every child object with T's Deserialize and
    // hands it to add(record), which links it in (the list owns it) or answers 0. On failure
    // the list holds the elements read so far.
    template <typename Add>
    int DeserializeRecords(SCA_ConfigObj* object, Add&& add) {
        if (object == nullptr) {
            return 0;
        }
        ClearAll();
        const auto make = [](SCA_ConfigObj* /*child*/) { return new (std::nothrow) T(); };
        const auto read = [](T* record, SCA_ConfigObj* child) {
            return record->Deserialize(child);
        };
        const auto take = [&add](T* record, SCA_ConfigObj* /*child*/) { return add(record); };
        return ReadRecords(object, make, read, take) == Failure::kNone;
    }

protected:
    // Where the shared loops below stopped.
    enum class Failure {
        kNone,
        kNoObject,
        kNoChild,
        kNotWritten,
        kNotCreated,
        kNotRead,
        kNotAdded
    };

    static constexpr uint32_t kAll = SCA_ALL_ONES;

    // Releases an element the way this list owns it; null is ignored.
    static void DestroyRecord(T* record) {
        if constexpr (std::is_base_of_v<SCA_Object, T>) {
            if (record != nullptr) {
                record->Destroy();
            }
        } else {
            SCA_HeapFree(record);
        }
    }

    // Destroys every element and its node; unlike ClearAll it leaves the next id where it is.
    void DestroyRecords() {
        while (DestroyHeadItem()) {
        }
    }

    // The elements that keep(node) accepts, from the head, each written by write(record, child)
    // into a new child of object numbered name(node, written so far). Stops, successfully,
    // once maxCount are written (checked after each, so 0 still writes one).
    template <typename Keep, typename Name, typename Write>
    Failure WriteRecords(SCA_ConfigObj* object, uint32_t maxCount, Keep&& keep, Name&& name,
                         Write&& write) const {
        if (object == nullptr) {
            return Failure::kNoObject;
        }
        uint32_t written = 0;
        for (Item* node = this->GetHead(); node != nullptr; node = node->GetNext()) {
            if (!keep(node)) {
                continue;
            }
            SCA_ConfigObj* child = SCA_AddNumberedObj(object, name(node, written));
            if (child == nullptr) {
                return Failure::kNoChild;
            }
            if (!write(node->GetItem(), child)) {
                return Failure::kNotWritten;
            }
            if (++written >= maxCount) {
                break;
            }
        }
        return Failure::kNone;
    }
    template <typename Keep>
    int SerializeRecordsIf(SCA_ConfigObj* object, Keep&& keep) const {
        return WriteRecords(object, kAll, keep, ByPosition, WriteRecord) == Failure::kNone;
    }

    // For every child object of object in order: make(child) gives an element (null, or one
    // whose construction failed, stops the read), read(record, child) fills it and
    // add(record, child) takes it over. An element that does not get through is destroyed;
    // those taken before stay wherever add put them.
    template <typename Make, typename Read, typename Add>
    static Failure ReadRecords(SCA_ConfigObj* object, Make&& make, Read&& read, Add&& add) {
        if (object == nullptr) {
            return Failure::kNoObject;
        }
        for (SCA_ConfigObj* child = SCA_FirstChildObj(object); child != nullptr;
             child = SCA_NextChildObj(child)) {
            T* record = make(child);
            if (record == nullptr || !record->IsConstructed()) {
                DestroyRecord(record);
                return Failure::kNotCreated;
            }
            if (!read(record, child)) {
                DestroyRecord(record);
                return Failure::kNotRead;
            }
            if (!add(record, child)) {
                DestroyRecord(record);
                return Failure::kNotAdded;
            }
        }
        return Failure::kNone;
    }

    // Appends to to copies (T's copy constructor) of from's elements, with their ids and
    // names. 0 when a copy cannot be made or linked; the copies so far stay in to.
    static int AppendCopies(const SCA_OwnerList& from, SCA_OwnerList* to) {
        for (Item* node = from.GetHead(); node != nullptr; node = node->GetNext()) {
            T* copy = node->GetItem() != nullptr ? new (std::nothrow) T(*node->GetItem()) : nullptr;
            if (copy == nullptr || !copy->IsConstructed() ||
                !to->AddItemToTail(copy, node->GetName(), node->GetId())) {
                DestroyRecord(copy);
                return 0;
            }
        }
        return 1;
    }

    // Puts the nodes of from in place of this list's own, whose elements are destroyed; the
    // next id stays. Only the first node may need an allocation (when this list is empty), the
    // others are relinked, so on failure both lists are as they were.
    int TakeRecords(SCA_OwnerList* from) {
        Item* first = from->GetHead();
        if (first == nullptr) {
            DestroyRecords();
            return 1;
        }
        Item* firstNew = nullptr;
        if (this->GetTail() == nullptr) {
            if (!this->AddItemToTail(first->GetItem(), first->GetName(), first->GetId())) {
                return 0;
            }
            from->DeleteListItem(first);
            firstNew = this->GetTail();
        }
        while (Item* node = from->GetHead()) {
            from->RemoveListItem(node);
            this->InsertItemAfter(node, this->GetTail());
            firstNew = firstNew != nullptr ? firstNew : node;
        }
        while (this->GetHead() != firstNew) {
            DestroyHeadItem();
        }
        return 1;
    }

private:
    static bool KeepAll(const Item* /*node*/) { return true; }
    static uint32_t ByPosition(const Item* /*node*/, uint32_t position) { return position; }
    static int WriteRecord(const T* record, SCA_ConfigObj* child) {
        return record->Serialize(child);
    }
};
