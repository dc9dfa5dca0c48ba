// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libkvn/SCA_KvnExport.h"
#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Object.h"

class SCA_ConfigObj;

// One period of a device's connection to the network server, with what the device told about
// its software and machine. Times are absolute times (100-ns units); a StopTime of 0 means the
// session is still open. A plain record: copies take every field.
class SCA_KVN_EXPORT SCA_KvnDeviceSession : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_KvnDeviceSession() { SetConstructed(); }
    ~SCA_KvnDeviceSession() override = default;
    SCA_KvnDeviceSession(const SCA_KvnDeviceSession&) = default;
    SCA_KvnDeviceSession& operator=(const SCA_KvnDeviceSession&) = default;

    uint32_t GetSessionId() const { return m_SessionId; }
    void SetSessionId(uint32_t id) { m_SessionId = id; }
    uint64_t GetStartTime() const { return m_StartTime; }
    void SetStartTime(uint64_t time) { m_StartTime = time; }
    uint64_t GetStopTime() const { return m_StopTime; }
    void SetStopTime(uint64_t time) { m_StopTime = time; }
    uint32_t GetKvMajor() const { return m_KvMajor; }
    void SetKvMajor(uint32_t value) { m_KvMajor = value; }
    uint32_t GetKvMinor() const { return m_KvMinor; }
    void SetKvMinor(uint32_t value) { m_KvMinor = value; }
    uint32_t GetKvRevision() const { return m_KvRevision; }
    void SetKvRevision(uint32_t value) { m_KvRevision = value; }
    uint32_t GetOsMajor() const { return m_OsMajor; }
    void SetOsMajor(uint32_t value) { m_OsMajor = value; }
    uint32_t GetOsMinor() const { return m_OsMinor; }
    void SetOsMinor(uint32_t value) { m_OsMinor = value; }
    uint32_t GetOsBuild() const { return m_OsBuild; }
    void SetOsBuild(uint32_t value) { m_OsBuild = value; }
    uint32_t GetOsProductType() const { return m_OsProductType; }
    void SetOsProductType(uint32_t value) { m_OsProductType = value; }
    uint32_t GetHwPlatform() const { return m_HwPlatform; }
    void SetHwPlatform(uint32_t value) { m_HwPlatform = value; }
    uint64_t GetTotalMemory() const { return m_TotalMemory; }
    void SetTotalMemory(uint64_t bytes) { m_TotalMemory = bytes; }
    uint64_t GetTotalDiskSpace() const { return m_TotalDiskSpace; }
    void SetTotalDiskSpace(uint64_t bytes) { m_TotalDiskSpace = bytes; }

    // The thirteen fields; 0 when one cannot be added.
    int Serialize(SCA_ConfigObj* object) const;
    // A missing or mistyped field keeps its member; 0 only without an object.
    int Deserialize(SCA_ConfigObj* object);
    int SetContent(const SCA_KvnDeviceSession* source);

    int Show() const;

private:
    uint32_t m_SessionId = 0;
    uint64_t m_StartTime = 0;
    uint64_t m_StopTime = 0;
    uint32_t m_KvMajor = 0;
    uint32_t m_KvMinor = 0;
    uint32_t m_KvRevision = 0;
    uint32_t m_OsMajor = 0;
    uint32_t m_OsMinor = 0;
    uint32_t m_OsBuild = 0;
    uint32_t m_OsProductType = 0;
    uint32_t m_HwPlatform = 0;
    uint64_t m_TotalMemory = 0;
    uint64_t m_TotalDiskSpace = 0;
};
