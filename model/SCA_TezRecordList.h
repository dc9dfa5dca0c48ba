// SPDX-License-Identifier: MIT
#pragma once

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>

#include "libmor/SCA_ErrorText.h"
#include "libmor/SCA_FileSystem.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Report.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_OwnerList.h"
#include "model/SCA_TezRecordFields.h"

// Name of the value field that carries a record list's next id in its stored form.
inline constexpr const char* SCA_TEZ_NEXT_ID_FIELD = "NextId";

// The file a record list is kept in, inside a folder its owner sets, and the words its
// reports use for it.
struct tagSCA_TEZ_LIST_FILE {
    const char* FileName;
    const char* RootName; // of the stored object
    uint32_t FileType;
    const char* Title;    // "monitors file": "cannot load monitors file <path>"
    const char* NoFolder; // the report when no folder is set
};

// The common part of the monitoring record lists (conditions, rules, counters, profiles,
// monitors, process rules, report headers): an owner list that hands out its records' ids.
//
// Ids start at 1 and are never handed out twice by one list, not even after a clear or a load,
// because other objects (tasks, reports, windows) keep them after a record is gone. The stored
// form is a "NextId" field followed by one child object per record, named by its item id in
// decimal, in list order; reading it back restores ids, names and order.
//
// T derives from SCA_Object, is copyable (deeply, when it embeds a list) and offers
// Serialize(SCA_ConfigObj*) const and Deserialize(SCA_ConfigObj*).
template <typename T>
class SCA_TezRecordList : public SCA_OwnerList<T> {
public:
    using Item = typename SCA_OwnerList<T>::Item;
    using Failure = typename SCA_OwnerList<T>::Failure;
    static constexpr uint32_t kFirstId = 1;
    static constexpr uint32_t kNoId = SCA_ALL_ONES;

    // className and recordsName make the texts of the reports of Serialize and Deserialize:
    // "<className>::Serialize: cannot serialize <recordsName>".
    SCA_TezRecordList(const char* className, const char* recordsName)
        : SCA_OwnerList<T>(kFirstId), m_ClassName(className), m_RecordsName(recordsName) {}
    SCA_TezRecordList() : SCA_TezRecordList("SCA_TezRecordList", "records") {}
    ~SCA_TezRecordList() override = default;

    SCA_TezRecordList(const SCA_TezRecordList&) = delete;
    SCA_TezRecordList& operator=(const SCA_TezRecordList&) = delete;

    // Destroys every record; unlike the owner list's Clear it keeps the ids handed out used.
    int Clear() {
        ClearRecords();
        return 1;
    }

    // The stored form described above; a failure is reported.
    int Serialize(SCA_ConfigObj* object) const {
        if (!SerializeRecords(object)) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "%s::Serialize: cannot serialize %s", m_ClassName, m_RecordsName);
            return 0;
        }
        return 1;
    }
    // Replaces the records with those of the stored form; on failure (reported) the list is
    // left as it was. Once read, the list gets RecordsRead.
    int Deserialize(SCA_ConfigObj* object) {
        if (!DeserializeRecords(object)) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "%s::Deserialize: cannot read %s", m_ClassName, m_RecordsName);
            return 0;
        }
        RecordsRead();
        return 1;
    }

protected:
    // The owner list's ClearAll starts the ids again, which these lists never do; records are
    // deleted through the derived lists' own operations, which keep their marks up to date.
    using SCA_OwnerList<T>::ClearAll;
    using SCA_OwnerList<T>::DestroyHeadItem;
    using SCA_OwnerList<T>::DestroyItem;
    using SCA_OwnerList<T>::DestroyListItem;

    // An empty record of the list's kind, to be filled from a stored form; null on failure.
    virtual T* NewRecord() const = 0;
    // The name under which a record is listed (null: unnamed).
    virtual const char* GetRecordName(const T& /*record*/) const { return nullptr; }
    // Called after Deserialize has replaced the records, for what a list derives from them.
    virtual void RecordsRead() {}

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

    // The same, and the record takes its new id through stamp (its id setter) before the id
    // is handed back.
    int AddRecord(T* record, const char* name, uint32_t* id, void (T::*stamp)(uint32_t)) {
        uint32_t newId = kNoId;
        if (!AddRecord(record, name, &newId)) {
            return 0;
        }
        (record->*stamp)(newId);
        if (id != nullptr) {
            *id = newId;
        }
        return 1;
    }

    // Unlinks and destroys the record with this item id.
    int DeleteRecord(uint32_t id) { return this->DestroyItem(id); }

    // Destroys every record; the ids handed out so far stay used.
    void ClearRecords() { this->DestroyRecords(); }

    // Replaces the records with copies of other's, with the same ids, names, order and next id.
    // On failure the list is left as it was.
    int CopyRecords(const SCA_TezRecordList& other) {
        Scratch scratch(kFirstId);
        if (!this->AppendCopies(other, &scratch) || !this->TakeRecords(&scratch)) {
            return 0;
        }
        this->SetNextItemId(other.GetNextItemId());
        return 1;
    }

    int SerializeRecords(SCA_ConfigObj* object) const {
        if (object == nullptr || !object->AddField(SCA_TEZ_NEXT_ID_FIELD, this->GetNextItemId())) {
            return 0;
        }
        const auto keep = [](const Item* /*node*/) { return true; };
        const auto name = [](const Item* node, uint32_t /*position*/) { return node->GetId(); };
        const auto write = [](const T* record, SCA_ConfigObj* child) {
            return record != nullptr && record->Serialize(child);
        };
        return this->WriteRecords(object, this->kAll, keep, name, write) == Failure::kNone;
    }

    // Replaces the records with those of the stored form. Every child object is one record,
    // whose name must be a decimal id not used by another; value fields other than the next id
    // are ignored. The next id becomes the largest of its present value, the stored one and one
    // past the highest id read. On failure the list is left as it was.
    int DeserializeRecords(SCA_ConfigObj* object) {
        if (object == nullptr) {
            return 0;
        }
        Scratch scratch(kFirstId);
        uint32_t next = this->GetNextItemId();
        uint32_t id = kNoId;
        const auto make = [&](SCA_ConfigObj* child) -> T* {
            if (!ParseId(child->GetName(), &id) || scratch.GetListItem(id) != nullptr) {
                return nullptr;
            }
            return NewRecord();
        };
        const auto read = [](T* record, SCA_ConfigObj* child) {
            return record->Deserialize(child);
        };
        const auto add = [&](T* record, SCA_ConfigObj* /*child*/) {
            if (!scratch.AddItemToTail(record, GetRecordName(*record), id)) {
                return false;
            }
            next = id + 1 > next ? id + 1 : next;
            return true;
        };
        if (this->ReadRecords(object, make, read, add) != Failure::kNone) {
            return 0;
        }
        uint32_t stored = 0;
        if (object->GetField(SCA_TEZ_NEXT_ID_FIELD, &stored) && stored > next) {
            next = stored;
        }
        if (!this->TakeRecords(&scratch)) {
            return 0;
        }
        this->SetNextItemId(next);
        return 1;
    }

    // Reads the list from its file in dir through Deserialize above; a missing file is a list
    // without records. On failure (reported) the list is left as it was.
    int LoadFile(const char* dir, const tagSCA_TEZ_LIST_FILE& file) {
        char path[kPathSize];
        if (!JoinPath(dir, file.FileName, path, sizeof(path))) {
            SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "%s::Load: %s", m_ClassName,
                                                      file.NoFolder);
            return 0;
        }
        if (!SCA_IsFileExists(path)) {
            return 1;
        }
        SCA_ConfigObj root(file.RootName, nullptr);
        uint32_t error = 0;
        uint32_t fileType = 0;
        if (!root.IsConstructed() || !root.Load(path, &error, &fileType)) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "%s::Load: cannot load %s %s (ERR:%u) - %s", m_ClassName,
                file.Title, path, error, SCA_ErrorText(error).Get());
            return 0;
        }
        if (fileType != file.FileType || !Deserialize(&root)) {
            SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "%s::Load: invalid %s %s",
                                                      m_ClassName, file.Title, path);
            return 0;
        }
        return 1;
    }

    // Writes the list through Serialize above to its file in dir atomically (mode 0600),
    // creating dir if needed.
    int SaveFile(const char* dir, const tagSCA_TEZ_LIST_FILE& file) const {
        char path[kPathSize];
        if (!JoinPath(dir, file.FileName, path, sizeof(path))) {
            SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "%s::Save: %s", m_ClassName,
                                                      file.NoFolder);
            return 0;
        }
        uint32_t error = 0;
        if (!SCA_CreateDirectory(dir, &error)) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "%s::Save: cannot create folder %s (ERR:%u) - %s", m_ClassName,
                dir, error, SCA_ErrorText(error).Get());
            return 0;
        }
        SCA_ConfigObj root(file.RootName, nullptr);
        if (!root.IsConstructed() || !Serialize(&root) ||
            !root.Save(path, file.FileType, 0, &error)) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "%s::Save: cannot save %s %s (ERR:%u) - %s", m_ClassName,
                file.Title, path, error, SCA_ErrorText(error).Get());
            return 0;
        }
        return 1;
    }

    // Room for a folder path, a '/' and a file name.
    static constexpr uint32_t kPathSize = 4096 + 64;

    // "<dir>/<name>" in path; 0 without a folder or when it does not fit.
    static int JoinPath(const char* dir, const char* name, char* path, uint32_t size) {
        if (dir == nullptr || dir[0] == '\0' || path == nullptr || size == 0) {
            return 0;
        }
        const int length = std::snprintf(path, size, "%s/%s", dir, name);
        return length > 0 && static_cast<uint32_t>(length) < size ? 1 : 0;
    }

private:
    // Holds records on their way in; whatever it still holds at its end is destroyed.
    using Scratch = SCA_OwnerList<T>;

    // A decimal id that is not the all-ones value, and nothing else.
    static bool ParseId(const char* text, uint32_t* id) {
        const char* end = text + std::strlen(text);
        auto [stop, error] = std::from_chars(text, end, *id);
        return text != end && error == std::errc() && stop == end && *id != kNoId;
    }

    const char* m_ClassName;
    const char* m_RecordsName;
};
