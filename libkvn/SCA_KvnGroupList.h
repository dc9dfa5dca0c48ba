// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libkvn/SCA_KvnExport.h"
#include "libkvn/SCA_KvnGroup.h"
#include "libkvn/SCA_KvnRecordList.h"

class SCA_ConfigObj;
class SCA_KvnNetConfigUser;
class SCA_TezConfig;
class SCA_TezConfigUser;

// The group list file of the network server, in its configuration folder.
inline constexpr const char* SCA_KVN_GROUPS_FILE = "groups.hdx";
inline constexpr const char* SCA_KVN_GROUPS_ROOT = "Groups";
inline constexpr uint32_t SCA_KVN_GROUPS_FILE_TYPE = 1022;

// All device groups of the network server, numbered by the list and found by name without
// regard to case. The status id moves on every change of the set of groups; it wraps at 32
// bits.
class SCA_KVN_EXPORT SCA_KvnGroupList : public SCA_KvnRecordList<SCA_KvnGroup> {
public:
    SCA_HEAP_OPERATORS

    // The pointers are kept, not owned; the network settings give the folder of the file.
    SCA_KvnGroupList(SCA_TezConfig* config, SCA_KvnNetConfigUser* netConfig);
    ~SCA_KvnGroupList() override { ClearAll(); }
    // Copies hold copies of the groups, the same status id and next group id; flag 0 on failure.
    SCA_KvnGroupList(const SCA_KvnGroupList& other);
    SCA_KvnGroupList& operator=(const SCA_KvnGroupList& other);

    SCA_TezConfig* GetConfig() const { return m_Config; }
    SCA_KvnNetConfigUser* GetNetConfig() const { return m_NetConfig; }
    uint32_t GetNextGroupId() const { return GetNextNumber(); }

    // The group of that name, added under the next id when there is none. 0 for a null name.
    int AddGroup(const char* name, SCA_KvnGroup** group);
    int GetGroup(const char* name, SCA_KvnGroup** group) const;
    int GetGroup(uint32_t groupId, SCA_KvnGroup** group) const;
    // 1 also when there is no such group (then nothing changes).
    int DeleteGroup(uint32_t groupId);
    // Destroys every group; ids start at 0 again.
    int ClearAll();

    uint32_t GetStatusId() const { return m_StatusId; }
    void UpdateStatusId() { ++m_StatusId; }

    int Serialize(SCA_ConfigObj* object) const;
    int Deserialize(SCA_ConfigObj* object);

    // The forms without a path use "groups.hdx" in the configuration folder; without a folder
    // they refuse. Load() of a missing file leaves the list as it is.
    int Save(const char* path) const;
    int Save() const;
    int Load(const char* path);
    int Load();

    int SetContents(const SCA_KvnGroupList* source);
    SCA_KvnGroupList* Clone() const;

    int Show() const;

protected:
    SCA_KvnGroup* NewRecord() const override;
    uint32_t GetRecordNumber(const SCA_KvnGroup& record) const override {
        return record.GetGroupId();
    }
    void SetRecordNumber(SCA_KvnGroup* record, uint32_t number) const override {
        record->SetGroupId(number);
    }
    const char* GetRecordName(const SCA_KvnGroup& record) const override {
        return record.GetGroupName();
    }

private:
    // The user configuration handed to the groups' monitor lists: the network settings.
    SCA_TezConfigUser* GetGroupUserConfig() const;
    int BuildFileName(char* path, uint32_t size, const char* caller) const;

    SCA_TezConfig* m_Config;
    SCA_KvnNetConfigUser* m_NetConfig;
    uint32_t m_StatusId = 0;
};
