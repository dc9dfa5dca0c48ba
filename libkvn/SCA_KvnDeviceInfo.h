// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libkvn/SCA_KvnExport.h"
#include "libkvn/SCA_KvnStoredForm.h"
#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Object.h"

class SCA_ConfigObj;

// Control port a device record starts with, until the monitoring core answers for the device
// product; the server's host program sets the real one.
inline constexpr uint16_t SCA_KVN_DEVICE_DEFAULT_PORT = 8504;
// The account word a new device record starts with, as user name and as password.
inline constexpr const char* SCA_KVN_DEVICE_DEFAULT_ACCOUNT = "qelma";

// The network server's record of one device: number, host name and control port, the account
// the server reaches it with, its reporting settings and whether it is online. Also the payload
// of the device commands. A plain record: copies take every field, flag included.
class SCA_KVN_EXPORT SCA_KvnDeviceInfo : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_KvnDeviceInfo();
    ~SCA_KvnDeviceInfo() override = default;
    SCA_KvnDeviceInfo(const SCA_KvnDeviceInfo&) = default;
    SCA_KvnDeviceInfo& operator=(const SCA_KvnDeviceInfo&) = default;

    uint32_t GetDeviceId() const { return m_DeviceId; }
    void SetDeviceId(uint32_t id) { m_DeviceId = id; }
    uint16_t GetPortNumber() const { return m_PortNumber; }
    void SetPortNumber(uint16_t port) { m_PortNumber = port; }
    // Text setters copy at most 255 bytes, cut on a UTF-8 boundary; null empties the field.
    const char* GetHostName() const { return m_HostName; }
    void SetHostName(const char* name);
    const char* GetUserNameA() const { return m_UserName; }
    void SetUserName(const char* name);
    const char* GetPassword() const { return m_Password; }
    void SetPassword(const char* password);
    uint32_t GetDevUpdatePeriod() const { return m_DevUpdatePeriod; }
    void SetDevUpdatePeriod(uint32_t period) { m_DevUpdatePeriod = period; }
    uint32_t GetMaxPendingStatus() const { return m_MaxPendingStatus; }
    void SetMaxPendingStatus(uint32_t count) { m_MaxPendingStatus = count; }
    uint64_t GetLastUpdateTime() const { return m_LastUpdateTime; }
    void SetLastUpdateTime(uint64_t time) { m_LastUpdateTime = time; }
    int IsOnline() const { return m_Online; }
    void SetOnline(int online) { m_Online = online; }
    int IsSaved() const { return m_Saved; }
    void SetSaved(int saved) { m_Saved = saved; }

    // LastUpdateTime = now.
    int SetUpdateTime();

    // The nine record fields, then "Online" only when status is nonzero. 0 when a field
    // cannot be added.
    int Serialize(SCA_ConfigObj* object, int status) const;
    // Reads the same keys ("Online" only with status); a missing or mistyped key keeps its
    // member. 0 only without an object.
    int Deserialize(SCA_ConfigObj* object, int status);
    // Takes every field of source except Online, through the stored form.
    int SetContent(const SCA_KvnDeviceInfo* source);

    int Show() const;

private:
    uint32_t m_DeviceId = 0;
    char m_HostName[SCA_KVN_TEXT_SIZE] = {};
    uint16_t m_PortNumber = SCA_KVN_DEVICE_DEFAULT_PORT;
    char m_UserName[SCA_KVN_TEXT_SIZE] = {};
    char m_Password[SCA_KVN_TEXT_SIZE] = {};
    uint32_t m_DevUpdatePeriod = 0;
    uint32_t m_MaxPendingStatus = 0;
    uint64_t m_LastUpdateTime = 0;
    int m_Online = 0;
    int m_Saved = 0;
};
