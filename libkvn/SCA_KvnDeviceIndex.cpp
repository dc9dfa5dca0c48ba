// SPDX-License-Identifier: MIT
#include "libkvn/SCA_KvnDeviceIndex.h"

#include <new>

#include "libkvn/SCA_KvnNetConfigUser.h"
#include "libkvn/SCA_KvnStoredForm.h"
#include "libmor/SCA_FileSystem.h"
#include "libmor/SCA_Report.h"
#include "model/SCA_ConfigObj.h"

namespace {

const tagSCA_KVN_LIST_TEXTS kTexts = {
    nullptr,
    "SCA_KvnDeviceIndex::Serialize: Cannot create device config object",
    "SCA_KvnDeviceIndex::Serialize: Cannot create device config object",
    "SCA_KvnDeviceIndex::Deserialize: Cannot create device object",
    "SCA_KvnDeviceIndex::Deserialize: Cannot create device object",
};

} // namespace

SCA_KvnDeviceIndex::SCA_KvnDeviceIndex(SCA_TezConfig* config, SCA_KvnNetConfigUser* userConfig)
    : m_Config(config), m_UserConfig(userConfig) {}

SCA_KvnDeviceIndex::SCA_KvnDeviceIndex(const SCA_KvnDeviceIndex& other)
    : m_Config(other.m_Config), m_UserConfig(other.m_UserConfig), m_StatusId(other.m_StatusId) {
    if (!CopyRecords(other)) {
        SetConstructed(0);
    }
}

SCA_KvnDeviceIndex& SCA_KvnDeviceIndex::operator=(const SCA_KvnDeviceIndex& other) {
    if (this != &other) {
        m_Config = other.m_Config;
        m_UserConfig = other.m_UserConfig;
        m_StatusId = other.m_StatusId;
        SetConstructed(CopyRecords(other) ? 1u : 0u);
    }
    return *this;
}

SCA_KvnDeviceInfo* SCA_KvnDeviceIndex::NewRecord() const {
    return new (std::nothrow) SCA_KvnDeviceInfo();
}

int SCA_KvnDeviceIndex::AddDevice(const char* hostName, SCA_KvnDeviceInfo** info) {
    if (GetDevice(hostName, info)) {
        return 1;
    }
    SCA_KvnDeviceInfo* device =
        AddNextRecord([hostName](SCA_KvnDeviceInfo* record) { record->SetHostName(hostName); });
    if (device == nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KvnDeviceIndex::AddDevice: Cannot create device info object");
        return 0;
    }
    UpdateStatusId();
    return SCA_KvnHandOut(device, info);
}

int SCA_KvnDeviceIndex::GetDevice(const char* hostName, SCA_KvnDeviceInfo** info) const {
    if (hostName == nullptr) {
        return 0;
    }
    return SCA_KvnHandOut(FindRecordIf([hostName](const SCA_KvnDeviceInfo& record) {
                              return SCA_KvnSameName(record.GetHostName(), hostName);
                          }),
                          info);
}

int SCA_KvnDeviceIndex::GetDevice(uint32_t deviceId, SCA_KvnDeviceInfo** info) const {
    return SCA_KvnHandOut(FindRecord(deviceId), info);
}

int SCA_KvnDeviceIndex::DeleteDevice(uint32_t deviceId) {
    if (DestroyRecord(deviceId)) {
        UpdateStatusId();
    }
    return 1;
}

int SCA_KvnDeviceIndex::ClearAll() {
    DestroyRecords();
    UpdateStatusId();
    return 1;
}

int SCA_KvnDeviceIndex::Serialize(SCA_ConfigObj* object, int status) const {
    return SerializeRecords(object, kTexts,
                            [status](const SCA_KvnDeviceInfo* device, SCA_ConfigObj* child) {
                                return device->Serialize(child, status);
                            });
}

int SCA_KvnDeviceIndex::Deserialize(SCA_ConfigObj* object, int status) {
    if (object == nullptr) {
        return 0;
    }
    ClearAll();
    if (!DeserializeRecords(object, true, kTexts,
                            [status](SCA_KvnDeviceInfo* device, SCA_ConfigObj* child) {
                                return device->Deserialize(child, status);
                            })) {
        return 0;
    }
    UpdateStatusId();
    return 1;
}

int SCA_KvnDeviceIndex::BuildFileName(char* path, uint32_t size, const char* caller) const {
    const char* folder = m_UserConfig != nullptr ? m_UserConfig->GetConfigDir() : nullptr;
    if (!SCA_KvnBuildPath(path, size, folder, SCA_KVN_DEVICE_INDEX_FILE)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KvnDeviceIndex::%s: cannot build server device list file name",
            caller);
        return 0;
    }
    return 1;
}

int SCA_KvnDeviceIndex::Save(const char* path) const {
    SCA_ConfigObj root(SCA_KVN_DEVICE_INDEX_ROOT, nullptr);
    if (!root.IsConstructed() || !Serialize(&root, 0)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KvnDeviceIndex::Save: cannot serialize server device list");
        return 0;
    }
    uint32_t code = 0;
    if (!root.Save(path, SCA_KVN_DEVICE_INDEX_FILE_TYPE, 0, &code)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR,
            "SCA_KvnDeviceIndex::Save: cannot save (ERR:%u) server device list - %s", code,
            path != nullptr ? path : "");
        return 0;
    }
    return 1;
}

int SCA_KvnDeviceIndex::Save() const {
    char path[SCA_KVN_PATH_SIZE];
    return BuildFileName(path, sizeof(path), "Save") ? Save(path) : 0;
}

int SCA_KvnDeviceIndex::Load(const char* path) {
    SCA_ConfigObj root(SCA_KVN_DEVICE_INDEX_ROOT, nullptr);
    if (!root.IsConstructed() ||
        !SCA_KvnLoadStoreFile(path, SCA_KVN_DEVICE_INDEX_FILE_TYPE, "SCA_KvnDeviceIndex::Load",
                              "server device list", &root, nullptr)) {
        return 0;
    }
    // Reading empties the index first: a file that breaks off halfway is read into a scratch
    // index before it may replace what this one holds.
    SCA_KvnDeviceIndex trial(m_Config, m_UserConfig);
    if (!trial.Deserialize(&root, 0) || !Deserialize(&root, 0)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KvnDeviceIndex::Load: cannot deserialize server device list");
        return 0;
    }
    return 1;
}

int SCA_KvnDeviceIndex::Load() {
    char path[SCA_KVN_PATH_SIZE];
    if (!BuildFileName(path, sizeof(path), "Load")) {
        return 0;
    }
    return SCA_IsFileExists(path) ? Load(path) : 1;
}

int SCA_KvnDeviceIndex::SetContents(const SCA_KvnDeviceIndex* source) {
    if (source == nullptr) {
        return 0;
    }
    return SCA_KvnCopyThrough(
        "DeviceList", [source](SCA_ConfigObj* temp) { return source->Serialize(temp, 0); },
        [this](SCA_ConfigObj* temp) { return Deserialize(temp, 0); });
}

SCA_KvnDeviceIndex* SCA_KvnDeviceIndex::Clone() const {
    return SCA_KvnFinishClone(new (std::nothrow) SCA_KvnDeviceIndex(m_Config, m_UserConfig),
                              "SCA_KvnDeviceIndex::Clone: cannot create device list object",
                              nullptr,
                              [this](SCA_KvnDeviceIndex* copy) { return copy->SetContents(this); });
}

int SCA_KvnDeviceIndex::Show() const {
    return ShowRecords("No Devices To Display\n");
}
