#pragma once

#include <cstdint>
#include <new>

#include "containers/SCA_List.h"
#include "libmor/SCA_Object.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezRecordFields.h"

// The base of the lists that own their records (T derives from SCA_Object): clearing or
// destroying the list destroys the records too, and the records travel as child objects, one
// per record, named by its position. SCA_TezRecordList builds its id-keeping lists on it.
template <typename T>
class SCA_OwnerList : public SCA_List<T*> {
public:
    using Item = typename SCA_List<T*>::Item;

    explicit SCA_OwnerList(uint32_t firstId = 0) : SCA_List<T*>(firstId) {}
    ~SCA_OwnerList() override { DestroyRecords(); }

    // Destroys every record and empties the list; the next id goes back to the first id.
    int ClearAll() {
        DestroyRecords();
        return SCA_List<T*>::Clear();
    }
    // The list's own Clear would leave the records behind: here it is ClearAll.
    int Clear() { return ClearAll(); }

    // Removes the record with that list id and destroys it.
    int DestroyItem(uint32_t id) {
        T* record = nullptr;
        if (!this->DeleteItem(id, &record)) {
            return 0;
        }
        SCA_Object::Destroy(record);
        return 1;
    }

    // Writes each record with T's Serialize into a child object of its own.
    int SerializeRecords(SCA_ConfigObj* object) const {
        return WriteRecords(object, KeepAll, WriteRecord);
    }
    // The same with write(record, child) in place of T's Serialize.
    template <typename Write>
    int SerializeRecords(SCA_ConfigObj* object, Write&& write) const {
        return WriteRecords(object, KeepAll, write);
    }
    // Empties the list, then makes a record of every child object with T's Deserialize and
    // hands it to add(record), which links it in (the list owns it) or answers 0. On failure
    // the list holds the records read so far.
    template <typename Add>
    int DeserializeRecords(SCA_ConfigObj* object, Add&& add) {
        if (object == nullptr) {
            return 0;
        }
        ClearAll();
        for (SCA_ConfigObj* child = SCA_FirstChildObj(object); child != nullptr;
             child = SCA_NextChildObj(child)) {
            T* record = new (std::nothrow) T();
            if (record == nullptr || !record->IsConstructed() || !record->Deserialize(child) ||
                !add(record)) {
                SCA_Object::Destroy(record);
                return 0;
            }
        }
        return 1;
    }

protected:
    // Only the records that keep(node) accepts; the children are numbered in the order written.
    template <typename Keep>
    int SerializeRecordsIf(SCA_ConfigObj* object, Keep&& keep) const {
        return WriteRecords(object, keep, WriteRecord);
    }

    // Destroys every record and its node; unlike ClearAll it leaves the next id where it is.
    void DestroyRecords() {
        while (Item* node = this->GetHead()) {
            T* record = node->GetItem();
            this->DeleteListItem(node);
            SCA_Object::Destroy(record);
        }
    }

private:
    static bool KeepAll(const Item* /*node*/) { return true; }
    static int WriteRecord(const T* record, SCA_ConfigObj* child) {
        return record->Serialize(child);
    }

    template <typename Keep, typename Write>
    int WriteRecords(SCA_ConfigObj* object, Keep&& keep, Write&& write) const {
        if (object == nullptr) {
            return 0;
        }
        uint32_t position = 0;
        for (Item* node = this->GetHead(); node != nullptr; node = node->GetNext()) {
            if (!keep(node)) {
                continue;
            }
            SCA_ConfigObj* child = SCA_AddNumberedObj(object, position++);
            if (child == nullptr || !write(node->GetItem(), child)) {
                return 0;
            }
        }
        return 1;
    }
};
