// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <cstdio>
#include <new>

#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Report.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_FieldList.h"
#include "model/SCA_OwnerList.h"
#include "model/SCA_TezRecordFields.h"

// The number no record is given: a record read without a number of its own carries it until
// its list numbers it.
inline constexpr uint32_t SCA_KVN_NO_NUMBER = SCA_ALL_ONES;

// What the shared procedures report at level 5 on each kind of failure; null says nothing.
struct tagSCA_KVN_LIST_TEXTS {
    const char* NoObject;   // no configuration object given
    const char* NoChild;    // a record's sub-object cannot be added
    const char* NotWritten; // a record cannot be written into its sub-object
    const char* NotCreated; // a record cannot be created (or listed) while reading
    const char* NotRead;    // a record cannot be read from its sub-object
};

// The common part of the device store's lists (devices, sessions, report headers, reports,
// counters, rules, groups). Each list owns its records and lists every record under its own
// number as item id; the stored form is one sub-object per record, in list order, named by the
// number in decimal. Reading takes every child object in order, whatever its name.
//
// Lists that hand out numbers keep the next one in the list's next item id: it goes back to 0
// when the list is emptied and, after a read, continues one past the highest number read. A
// record read without a number (the all-ones value) gets the next free number once the whole
// object is read, so it neither collides with a stored number nor wraps the next one to 0.
//
// T derives from SCA_Object. Not copyable as a list: derived lists copy through CopyRecords.
template <typename T>
class SCA_KvnRecordList : public SCA_OwnerList<T> {
    using Base = SCA_OwnerList<T>;

public:
    using Item = typename Base::Item;
    using Failure = typename Base::Failure;

    SCA_KvnRecordList() : Base(0) {}
    ~SCA_KvnRecordList() override = default;

    SCA_KvnRecordList(const SCA_KvnRecordList&) = delete;
    SCA_KvnRecordList& operator=(const SCA_KvnRecordList&) = delete;

protected:
    // A record with its defaults (its flag is tested), or null.
    virtual T* NewRecord() const = 0;
    virtual uint32_t GetRecordNumber(const T& record) const = 0;
    virtual void SetRecordNumber(T* record, uint32_t number) const = 0;
    // The item name a record is listed under; null for none.
    virtual const char* GetRecordName(const T& /*record*/) const { return nullptr; }

    uint32_t GetNextNumber() const { return this->GetNextItemId(); }
    void SetNextNumber(uint32_t number) { this->SetNextItemId(number); }

    // The first record from the head with that number, or null.
    T* FindRecord(uint32_t number) const {
        T* record = nullptr;
        return this->GetItem(number, &record) ? record : nullptr;
    }
    // The first record from the head for which match(record) holds, or null.
    template <typename Match>
    T* FindRecordIf(Match&& match) const {
        for (Item* node = this->GetHead(); node != nullptr; node = node->GetNext()) {
            if (match(*node->GetItem())) {
                return node->GetItem();
            }
        }
        return nullptr;
    }

    // A new record numbered number, prepared by prepare(record) and appended; null (nothing
    // changed) when it cannot be made or listed.
    template <typename Prepare>
    T* AddRecordAs(uint32_t number, Prepare&& prepare) {
        T* record = NewRecord();
        if (record == nullptr || !record->IsConstructed()) {
            SCA_Object::Destroy(record);
            return nullptr;
        }
        SetRecordNumber(record, number);
        prepare(record);
        if (!AppendRecord(record)) {
            SCA_Object::Destroy(record);
            return nullptr;
        }
        return record;
    }
    T* AddRecordAs(uint32_t number) {
        return AddRecordAs(number, [](T* /*record*/) {});
    }

    // As AddRecordAs with the next number, which then advances.
    template <typename Prepare>
    T* AddNextRecord(Prepare&& prepare) {
        const uint32_t number = GetNextNumber();
        if (number == SCA_KVN_NO_NUMBER) {
            return nullptr;
        }
        T* record = AddRecordAs(number, prepare);
        if (record != nullptr) {
            SetNextNumber(number + 1);
        }
        return record;
    }

    // Lists a record (owned from then on) under its number; 0, the caller keeping it, on failure.
    int AppendRecord(T* record) {
        return this->AddItemToTail(record, GetRecordName(*record), GetRecordNumber(*record));
    }

    // Removes and destroys the first record with that number; 0 when there is none.
    int DestroyRecord(uint32_t number) { return this->DestroyItem(number); }
    int DestroyHeadRecord() { return this->DestroyHeadItem(); }

    // Destroys every record; the next number goes back to 0.
    void DestroyRecords() { this->ClearAll(); }

    // After a record numbered number is read, the next number lies above it.
    void NoteNumber(uint32_t number) {
        if (number != SCA_KVN_NO_NUMBER && number >= GetNextNumber()) {
            SetNextNumber(number + 1);
        }
    }

    // Writes each record with write(record, child) into a sub-object of object named by its
    // number. Stops with 1 once maxCount records are written (checked after each, so 0 still
    // writes one). A sub-object that cannot be completed is taken out of object again.
    template <typename Write>
    int SerializeRecords(SCA_ConfigObj* object, uint32_t maxCount,
                         const tagSCA_KVN_LIST_TEXTS& texts, Write&& write) const {
        const auto keep = [](const Item* /*node*/) { return true; };
        const auto name = [this](const Item* node, uint32_t /*position*/) {
            return GetRecordNumber(*node->GetItem());
        };
        const auto complete = [&](const T* record, SCA_ConfigObj* child) {
            if (write(record, child)) {
                return true;
            }
            object->GetFieldList()->DeleteListItem(child);
            return false;
        };
        switch (this->WriteRecords(object, maxCount, keep, name, complete)) {
        case Failure::kNone:
            return 1;
        case Failure::kNoObject:
            Say(texts.NoObject);
            return 0;
        case Failure::kNoChild:
            Say(texts.NoChild);
            return 0;
        default:
            Say(texts.NotWritten);
            return 0;
        }
    }
    template <typename Write>
    int SerializeRecords(SCA_ConfigObj* object, const tagSCA_KVN_LIST_TEXTS& texts,
                         Write&& write) const {
        return SerializeRecords(object, SCA_KVN_NO_NUMBER, texts, write);
    }

    // Appends one record per child object of object, each filled by read(record, child). With
    // numbered set the next number follows the numbers read (see above). The list is not
    // emptied first: callers clear it as their own ClearAll does. On failure the records read
    // so far stay.
    template <typename Read>
    int DeserializeRecords(SCA_ConfigObj* object, bool numbered, const tagSCA_KVN_LIST_TEXTS& texts,
                           Read&& read) {
        const auto make = [this](SCA_ConfigObj* /*child*/) { return NewRecord(); };
        const auto add = [&](T* record, SCA_ConfigObj* /*child*/) {
            if (!AppendRecord(record)) {
                return false;
            }
            if (numbered) {
                NoteNumber(GetRecordNumber(*record));
            }
            return true;
        };
        switch (this->ReadRecords(object, make, read, add)) {
        case Failure::kNone:
            return numbered ? NumberUnnumbered(texts) : 1;
        case Failure::kNoObject:
            Say(texts.NoObject);
            return 0;
        case Failure::kNotRead:
            Say(texts.NotRead);
            return 0;
        default:
            Say(texts.NotCreated);
            return 0;
        }
    }

    // Makes this list hold copies (T's copy constructor) of other's records, with the same
    // numbers, names and next number. 0 when a copy cannot be made (the copies so far stay).
    int CopyRecords(const SCA_KvnRecordList& other) {
        DestroyRecords();
        if (!this->AppendCopies(other, this)) {
            return 0;
        }
        SetNextNumber(other.GetNextNumber());
        return 1;
    }

    // Each record's line from the head; emptyText (when given) alone for an empty list.
    int ShowRecords(const char* emptyText) const {
        if (this->GetHead() == nullptr && emptyText != nullptr) {
            std::fputs(emptyText, stdout);
        }
        for (Item* node = this->GetHead(); node != nullptr; node = node->GetNext()) {
            node->GetItem()->Show();
        }
        return 1;
    }

private:
    static void Say(const char* text) {
        if (text != nullptr) {
            SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "%s", text);
        }
    }

    // Gives every record listed without a number the next number, moving it to the tail.
    int NumberUnnumbered(const tagSCA_KVN_LIST_TEXTS& texts) {
        Item* node = this->GetHead();
        while (node != nullptr) {
            Item* next = node->GetNext();
            if (node->GetId() == SCA_KVN_NO_NUMBER) {
                T* record = node->GetItem();
                this->DeleteListItem(node);
                const uint32_t number = GetNextNumber();
                SetRecordNumber(record, number);
                if (number == SCA_KVN_NO_NUMBER || !AppendRecord(record)) {
                    SCA_Object::Destroy(record);
                    Say(texts.NotCreated);
                    return 0;
                }
                SetNextNumber(number + 1);
            }
            node = next;
        }
        return 1;
    }
};
