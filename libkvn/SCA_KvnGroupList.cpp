// SPDX-License-Identifier: MIT
#include "libkvn/SCA_KvnGroupList.h"

#include <cstdio>
#include <new>

#include "libkvn/SCA_KvnNetConfigUser.h"
#include "libkvn/SCA_KvnStoredForm.h"
#include "libmor/SCA_FileSystem.h"
#include "libmor/SCA_Report.h"
#include "model/SCA_ConfigObj.h"

namespace {

const tagSCA_KVN_LIST_TEXTS kTexts = {
    nullptr,
    "SCA_KvnGroupList::Serialize: Cannot create group config object",
    nullptr, // the group reports its own failure
    "SCA_KvnGroupList::Deserialize: Cannot create group object",
    nullptr, // likewise
};

} // namespace

SCA_KvnGroupList::SCA_KvnGroupList(SCA_TezConfig* config, SCA_KvnNetConfigUser* netConfig)
    : m_Config(config), m_NetConfig(netConfig) {}

SCA_KvnGroupList::SCA_KvnGroupList(const SCA_KvnGroupList& other)
    : m_Config(other.m_Config), m_NetConfig(other.m_NetConfig), m_StatusId(other.m_StatusId) {
    if (!CopyRecords(other)) {
        SetConstructed(0);
    }
}

SCA_KvnGroupList& SCA_KvnGroupList::operator=(const SCA_KvnGroupList& other) {
    if (this != &other) {
        m_Config = other.m_Config;
        m_NetConfig = other.m_NetConfig;
        m_StatusId = other.m_StatusId;
        SetConstructed(CopyRecords(other) ? 1u : 0u);
    }
    return *this;
}

SCA_TezConfigUser* SCA_KvnGroupList::GetGroupUserConfig() const {
    return m_NetConfig;
}

SCA_KvnGroup* SCA_KvnGroupList::NewRecord() const {
    return new (std::nothrow) SCA_KvnGroup(m_Config, GetGroupUserConfig());
}

int SCA_KvnGroupList::AddGroup(const char* name, SCA_KvnGroup** group) {
    if (name == nullptr) {
        return 0;
    }
    if (GetGroup(name, group)) {
        return 1;
    }
    SCA_KvnGroup* added =
        AddNextRecord([name](SCA_KvnGroup* record) { record->SetGroupName(name); });
    if (added == nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KvnGroupList::AddGroup: Cannot create group object");
        return 0;
    }
    UpdateStatusId();
    return SCA_KvnHandOut(added, group);
}

int SCA_KvnGroupList::GetGroup(const char* name, SCA_KvnGroup** group) const {
    if (name == nullptr) {
        return 0;
    }
    return SCA_KvnHandOut(FindRecordIf([name](const SCA_KvnGroup& record) {
                              return SCA_KvnSameName(record.GetGroupName(), name);
                          }),
                          group);
}

int SCA_KvnGroupList::GetGroup(uint32_t groupId, SCA_KvnGroup** group) const {
    return SCA_KvnHandOut(FindRecord(groupId), group);
}

int SCA_KvnGroupList::DeleteGroup(uint32_t groupId) {
    if (DestroyRecord(groupId)) {
        UpdateStatusId();
    }
    return 1;
}

int SCA_KvnGroupList::ClearAll() {
    DestroyRecords();
    UpdateStatusId();
    return 1;
}

int SCA_KvnGroupList::Serialize(SCA_ConfigObj* object) const {
    return SerializeRecords(object, kTexts, [](const SCA_KvnGroup* group, SCA_ConfigObj* child) {
        return group->Serialize(child);
    });
}

int SCA_KvnGroupList::Deserialize(SCA_ConfigObj* object) {
    if (object == nullptr) {
        return 0;
    }
    ClearAll();
    if (!DeserializeRecords(object, true, kTexts, [](SCA_KvnGroup* group, SCA_ConfigObj* child) {
            return group->Deserialize(child);
        })) {
        return 0;
    }
    UpdateStatusId();
    return 1;
}

int SCA_KvnGroupList::BuildFileName(char* path, uint32_t size, const char* caller) const {
    const char* folder = m_NetConfig != nullptr ? m_NetConfig->GetConfigDir() : nullptr;
    if (!SCA_KvnBuildPath(path, size, folder, SCA_KVN_GROUPS_FILE)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KvnGroupList::%s: cannot build server group list file name",
            caller);
        return 0;
    }
    return 1;
}

int SCA_KvnGroupList::Save(const char* path) const {
    auto say = SCA_GetReportFunction(__FILE__, __LINE__);
    SCA_ConfigObj root(SCA_KVN_GROUPS_ROOT, nullptr);
    if (!root.IsConstructed() || !Serialize(&root)) {
        say(SCA_LEVEL_ERROR, "SCA_KvnGroupList::Save: cannot serialize server group list");
        return 0;
    }
    uint32_t code = 0;
    if (!root.Save(path, SCA_KVN_GROUPS_FILE_TYPE, 0, &code)) {
        say(SCA_LEVEL_ERROR, "SCA_KvnGroupList::Save: cannot save (ERR:%u) server group list - %s",
            code, path != nullptr ? path : "");
        return 0;
    }
    return 1;
}

int SCA_KvnGroupList::Save() const {
    char path[SCA_KVN_PATH_SIZE];
    return BuildFileName(path, sizeof(path), "Save") ? Save(path) : 0;
}

int SCA_KvnGroupList::Load(const char* path) {
    SCA_ConfigObj root(SCA_KVN_GROUPS_ROOT, nullptr);
    if (!root.IsConstructed() ||
        !SCA_KvnLoadStoreFile(path, SCA_KVN_GROUPS_FILE_TYPE, "SCA_KvnGroupList::Load",
                              "server group list", &root, nullptr)) {
        return 0;
    }
    // Reading empties the list first: a file that breaks off halfway is read into a scratch
    // list before it may replace what this one holds.
    SCA_KvnGroupList trial(m_Config, m_NetConfig);
    if (!trial.Deserialize(&root) || !Deserialize(&root)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KvnGroupList::Load: cannot deserialize server group list");
        return 0;
    }
    return 1;
}

int SCA_KvnGroupList::Load() {
    char path[SCA_KVN_PATH_SIZE];
    if (!BuildFileName(path, sizeof(path), "Load")) {
        return 0;
    }
    return SCA_IsFileExists(path) ? Load(path) : 1;
}

int SCA_KvnGroupList::SetContents(const SCA_KvnGroupList* source) {
    if (source == nullptr) {
        return 0;
    }
    return SCA_KvnCopyThrough(
        "GroupList", [source](SCA_ConfigObj* temp) { return source->Serialize(temp); },
        [this](SCA_ConfigObj* temp) { return Deserialize(temp); });
}

SCA_KvnGroupList* SCA_KvnGroupList::Clone() const {
    return SCA_KvnFinishClone(new (std::nothrow) SCA_KvnGroupList(m_Config, m_NetConfig),
                              "SCA_KvnGroupList::Clone: cannot create group list object", nullptr,
                              [this](SCA_KvnGroupList* copy) { return copy->SetContents(this); });
}

int SCA_KvnGroupList::Show() const {
    if (GetHead() == nullptr) {
        std::printf("No Groups To Display\n");
        return 1;
    }
    for (Item* node = GetHead(); node != nullptr; node = node->GetNext()) {
        std::printf("Group ID: %u, GroupName: %s\n", node->GetItem()->GetGroupId(),
                    node->GetItem()->GetGroupName());
    }
    return 1;
}
