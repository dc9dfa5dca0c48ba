// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libkvn/SCA_KvnExport.h"
#include "libkvn/SCA_KvnStoredForm.h"
#include "model/SCA_TezConfigUser.h"

class SCA_ConfigObj;
class SCA_TezConfig;

// The user configuration of a network server: the general user configuration with the update
// period it hands to devices, the number of pending device status updates it allows, and the
// folder of the per-device folders. Its configuration folder (GetConfigDir) holds
// "devices.hdx" and "groups.hdx".
//
// The devices folder is never part of the stored form: the program that runs the server sets
// it.
class SCA_KVN_EXPORT SCA_KvnNetConfigUser : public SCA_TezConfigUser {
public:
    static constexpr uint32_t kDefaultUpdatePeriod = 1;
    static constexpr uint32_t kDefaultMaxPendingStatus = 1000;

    // The product configuration is kept, not owned (it may be null).
    explicit SCA_KvnNetConfigUser(SCA_TezConfig* config);
    ~SCA_KvnNetConfigUser() override = default;

    // A copy takes every part of the general configuration through its stored form (so it owns
    // its own records), then both settings and the devices folder; flag 0 when the general part
    // could not be copied. The source is not const: the general part is read through its
    // Serialize.
    SCA_KvnNetConfigUser(SCA_KvnNetConfigUser& other);
    SCA_KvnNetConfigUser& operator=(SCA_KvnNetConfigUser& other);

    uint32_t GetNetDevUpdatePeriod() const { return m_NetDevUpdatePeriod; }
    void SetNetDevUpdatePeriod(uint32_t period) { m_NetDevUpdatePeriod = period; }
    uint32_t GetNetMaxPendingStatus() const { return m_NetMaxPendingStatus; }
    void SetNetMaxPendingStatus(uint32_t count) { m_NetMaxPendingStatus = count; }

    // Copies bounded (4095 bytes, cut on a UTF-8 boundary); null empties.
    const char* GetDevicesDirName() const { return m_DevicesDirName; }
    void SetDevicesDirName(const char* dir);

    // The general settings, then "NetDevUpdatePeriod" and "NetMaxPendingStatus" after them.
    // 0, with neither network setting added, when the general part fails.
    int Serialize(SCA_ConfigObj* object) override;
    // The general settings that mask selects, then both network settings whatever the mask; a
    // missing or mistyped network field keeps the current value. 0, with neither network
    // setting read, when the general part is refused.
    int Deserialize(SCA_TezConfig* config, SCA_ConfigObj* object, uint32_t mask) override;

private:
    void CopyFrom(SCA_KvnNetConfigUser& other);

    uint32_t m_NetDevUpdatePeriod = kDefaultUpdatePeriod;
    uint32_t m_NetMaxPendingStatus = kDefaultMaxPendingStatus;
    char m_DevicesDirName[SCA_KVN_PATH_SIZE] = {};
};
