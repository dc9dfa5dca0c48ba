#pragma once

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>

#include "containers/SCA_List.h"
#include "model/SCA_ConfigObj.h"

// Name of the value field that carries a record list's next id in its stored form.
inline constexpr const char* SCA_TEZ_NEXT_ID_FIELD = "NextId";

// The common part of the monitoring record lists (conditions, rules, counters, profiles,
// monitors, process rules, report headers): a list that owns its records and hands out their
// ids.
//
// Ids start at 1 and are never handed out twice by one list, not even after a clear or a load,
// because other objects (tasks, reports, windows) keep them after a record is gone. The stored
// form is a "NextId" field followed by one child object per record, named by its item id in
// decimal, in list order; reading it back restores ids, names and order.
//
// T derives from SCA_Object, is copyable (deeply, when it embeds a list) and offers
// Serialize(SCA_ConfigObj*) const and Deserialize(SCA_ConfigObj*).
template <typename T>
class SCA_TezRecordList : public SCA_List<T*> {
public:
    using Item = SCA_ListItem<T*>;
    static constexpr uint32_t kFirstId = 1;
    static constexpr uint32_t kNoId = 0xFFFFFFFFu;

    SCA_TezRecordList() : SCA_List<T*>(kFirstId) {}
    ~SCA_TezRecordList() override { DestroyRecords(*this); }

    SCA_TezRecordList(const SCA_TezRecordList&) = delete;
    SCA_TezRecordList& operator=(const SCA_TezRecordList&) = delete;

protected:
    // An empty record of the list's kind, to be filled from a stored form; null on failure.
    virtual T* NewRecord() const = 0;
    // The name under which a record is listed (null: unnamed).
    virtual const char* GetRecordName(const T& /*record*/) const { return nullptr; }

    // Appends record under the next id; the list owns it from then on. On failure (null
    // record, no id left, allocation) the caller keeps it.
    int AddRecord(T* record, const char* name, uint32_t* id) {
        if (record == nullptr || this->GetNextItemId() == kNoId) {
            return 0;
        }
        uint32_t newId = kNoId;
        if (!this->AddItemToTail(record, name, &newId)) {
            return 0;
        }
        if (id != nullptr) {
            *id = newId;
        }
        return 1;
    }

    // Unlinks and destroys the record with this item id.
    int DeleteRecord(uint32_t id) {
        T* record = nullptr;
        if (!this->DeleteItem(id, &record)) {
            return 0;
        }
        SCA_Object::Destroy(record);
        return 1;
    }

    // Destroys every record; the ids handed out so far stay used.
    void ClearRecords() {
        const uint32_t next = this->GetNextItemId();
        DestroyRecords(*this);
        this->SetNextItemId(next);
    }

    // Replaces the records with copies of other's, with the same ids, names, order and next id.
    // On failure the list is left as it was.
    int CopyRecords(const SCA_TezRecordList& other) {
        Scratch scratch;
        for (Item* node = other.GetHead(); node != nullptr; node = node->GetNext()) {
            T* copy = node->GetItem() != nullptr ? new (std::nothrow) T(*node->GetItem()) : nullptr;
            if (copy == nullptr || !copy->IsConstructed() ||
                !scratch.AddItemToTail(copy, node->GetName(), node->GetId())) {
                SCA_Object::Destroy(copy);
                return 0;
            }
        }
        if (!TakeRecords(&scratch)) {
            return 0;
        }
        this->SetNextItemId(other.GetNextItemId());
        return 1;
    }

    int SerializeRecords(SCA_ConfigObj* object) const {
        if (object == nullptr || !object->AddField(SCA_TEZ_NEXT_ID_FIELD, this->GetNextItemId())) {
            return 0;
        }
        for (Item* node = this->GetHead(); node != nullptr; node = node->GetNext()) {
            char name[16];
            std::snprintf(name, sizeof(name), "%u", node->GetId());
            SCA_ConfigObj* child = object->AddConfigObj(name);
            if (child == nullptr || node->GetItem() == nullptr ||
                !node->GetItem()->Serialize(child)) {
                return 0;
            }
        }
        return 1;
    }

    // Replaces the records with those of the stored form. Every child object is one record,
    // whose name must be a decimal id not used by another; value fields other than the next id
    // are ignored. The next id becomes the largest of its present value, the stored one and one
    // past the highest id read. On failure the list is left as it was.
    int DeserializeRecords(SCA_ConfigObj* object) {
        if (object == nullptr) {
            return 0;
        }
        Scratch scratch;
        uint32_t next = this->GetNextItemId();
        for (SCA_Field* child = object->GetHead(); child != nullptr; child = child->GetNext()) {
            if (!child->IsObject()) {
                continue;
            }
            uint32_t id = kNoId;
            if (!ParseId(child->GetName(), &id) || scratch.GetListItem(id) != nullptr ||
                !ReadRecord(static_cast<SCA_ConfigObj*>(child), id, &scratch)) {
                return 0;
            }
            next = id + 1 > next ? id + 1 : next;
        }
        uint32_t stored = 0;
        if (object->GetField(SCA_TEZ_NEXT_ID_FIELD, &stored) && stored > next) {
            next = stored;
        }
        if (!TakeRecords(&scratch)) {
            return 0;
        }
        this->SetNextItemId(next);
        return 1;
    }

private:
    // A list that only holds records on their way in; whatever it still holds at its end is
    // destroyed.
    class Scratch : public SCA_List<T*> {
    public:
        Scratch() : SCA_List<T*>(kFirstId) {}
        ~Scratch() override { DestroyRecords(*this); }
    };

    static void DestroyRecords(SCA_List<T*>& list) {
        while (Item* node = list.GetHead()) {
            T* record = node->GetItem();
            list.DeleteListItem(node);
            SCA_Object::Destroy(record);
        }
    }

    // A decimal id that is not the all-ones value, and nothing else.
    static bool ParseId(const char* text, uint32_t* id) {
        const char* end = text + std::strlen(text);
        auto [stop, error] = std::from_chars(text, end, *id);
        return text != end && error == std::errc() && stop == end && *id != kNoId;
    }

    int ReadRecord(SCA_ConfigObj* child, uint32_t id, Scratch* scratch) const {
        T* record = NewRecord();
        if (record == nullptr || !record->Deserialize(child) ||
            !scratch->AddItemToTail(record, GetRecordName(*record), id)) {
            SCA_Object::Destroy(record);
            return 0;
        }
        return 1;
    }

    // Puts the nodes of from in place of this list's own, whose records are destroyed. Only
    // the first node may need an allocation (when this list is empty); the others are relinked.
    int TakeRecords(SCA_List<T*>* from) {
        Item* first = from->GetHead();
        if (first == nullptr) {
            ClearRecords();
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
            T* old = this->GetHead()->GetItem();
            this->DeleteHeadItem();
            SCA_Object::Destroy(old);
        }
        return 1;
    }
};
