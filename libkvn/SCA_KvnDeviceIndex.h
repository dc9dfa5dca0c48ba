// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libkvn/SCA_KvnDeviceInfo.h"
#include "libkvn/SCA_KvnExport.h"
#include "libkvn/SCA_KvnRecordList.h"

class SCA_ConfigObj;
class SCA_KvnNetConfigUser;
class SCA_TezConfig;

// The index file of the network server's devices, in its configuration folder.
inline constexpr const char* SCA_KVN_DEVICE_INDEX_FILE = "devices.hdx";
inline constexpr const char* SCA_KVN_DEVICE_INDEX_ROOT = "Devices";
inline constexpr uint32_t SCA_KVN_DEVICE_INDEX_FILE_TYPE = 1023;

// Every device the network server knows, one record each, numbered by the index. The status
// id moves on every change so that a client can tell whether its copy is current. Device
// numbers are not reused while the index lives, except after ClearAll; after a read they
// continue above the highest number read.
class SCA_KVN_EXPORT SCA_KvnDeviceIndex : public SCA_KvnRecordList<SCA_KvnDeviceInfo> {
public:
    SCA_HEAP_OPERATORS

    // The pointers are kept, not owned; the user configuration gives the folder of the file.
    SCA_KvnDeviceIndex(SCA_TezConfig* config, SCA_KvnNetConfigUser* userConfig);
    ~SCA_KvnDeviceIndex() override { ClearAll(); }
    // Copies hold copies of the records (Online included), the status id and next device id.
    SCA_KvnDeviceIndex(const SCA_KvnDeviceIndex& other);
    SCA_KvnDeviceIndex& operator=(const SCA_KvnDeviceIndex& other);

    SCA_TezConfig* GetConfig() const { return m_Config; }
    SCA_KvnNetConfigUser* GetUserConfig() const { return m_UserConfig; }
    uint32_t GetNextDeviceId() const { return GetNextNumber(); }

    // The device of that host name (compared without regard to case), added under the next
    // number when the index has none.
    int AddDevice(const char* hostName, SCA_KvnDeviceInfo** info);
    int GetDevice(const char* hostName, SCA_KvnDeviceInfo** info) const;
    int GetDevice(uint32_t deviceId, SCA_KvnDeviceInfo** info) const;
    // 1 also when there is no such device (then nothing changes). Files are not touched.
    int DeleteDevice(uint32_t deviceId);
    // Destroys every record; numbering starts at 0 again.
    int ClearAll();

    uint32_t GetStatusId() const { return m_StatusId; }
    void UpdateStatusId() { ++m_StatusId; }

    // status nonzero: "Online" is written and read.
    int Serialize(SCA_ConfigObj* object, int status) const;
    int Deserialize(SCA_ConfigObj* object, int status);

    // The forms without a path use "devices.hdx" in the configuration folder; without a folder
    // they refuse. Load() of a missing file leaves the index as it is.
    int Save(const char* path) const;
    int Save() const;
    int Load(const char* path);
    int Load();

    // Through the stored form without "Online": every copied device is offline.
    int SetContents(const SCA_KvnDeviceIndex* source);
    SCA_KvnDeviceIndex* Clone() const;

    int Show() const;

protected:
    SCA_KvnDeviceInfo* NewRecord() const override;
    uint32_t GetRecordNumber(const SCA_KvnDeviceInfo& record) const override {
        return record.GetDeviceId();
    }
    void SetRecordNumber(SCA_KvnDeviceInfo* record, uint32_t number) const override {
        record->SetDeviceId(number);
    }

private:
    int BuildFileName(char* path, uint32_t size, const char* caller) const;

    SCA_TezConfig* m_Config;
    SCA_KvnNetConfigUser* m_UserConfig;
    uint32_t m_StatusId = 0;
};
