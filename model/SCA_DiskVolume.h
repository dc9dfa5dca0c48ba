// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Object.h"

// One mounted volume: kind, state, labels and sizes in bytes. Plain members and fixed texts:
// copies are member by member. Text setters cut what does not fit on a UTF-8 boundary.
class SCA_DiskVolume : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_DiskVolume() { SetConstructed(); }
    SCA_DiskVolume(const SCA_DiskVolume&) = default;
    SCA_DiskVolume& operator=(const SCA_DiskVolume&) = default;
    ~SCA_DiskVolume() override = default;

    uint32_t GetType() const { return m_Type; }
    void SetType(uint32_t type) { m_Type = type; }
    uint32_t GetStatus() const { return m_Status; }
    void SetStatus(uint32_t status) { m_Status = status; }
    int GetReadOnly() const { return m_ReadOnly; }
    void SetReadOnly(int readOnly) { m_ReadOnly = readOnly; }
    const char* GetLabel() const { return m_Label; }
    void SetLabel(const char* text);
    const char* GetPath() const { return m_Path; }
    void SetPath(const char* text);
    const char* GetFileSystem() const { return m_FileSystem; }
    void SetFileSystem(const char* text);
    const char* GetDescription() const { return m_Description; }
    void SetDescription(const char* text);
    const char* GetRemoteName() const { return m_RemoteName; }
    void SetRemoteName(const char* text);
    uint32_t GetSerialNumber() const { return m_SerialNumber; }
    void SetSerialNumber(uint32_t number) { m_SerialNumber = number; }
    uint32_t GetMaxNameLength() const { return m_MaxNameLength; }
    void SetMaxNameLength(uint32_t length) { m_MaxNameLength = length; }
    uint64_t GetTotalDiskSpace() const { return m_TotalDiskSpace; }
    void SetTotalDiskSpace(uint64_t bytes) { m_TotalDiskSpace = bytes; }
    uint64_t GetFreeDiskSpace() const { return m_FreeDiskSpace; }
    void SetFreeDiskSpace(uint64_t bytes) { m_FreeDiskSpace = bytes; }

private:
    uint32_t m_Type = 0;
    uint32_t m_Status = 0;
    int m_ReadOnly = 0;
    char m_Label[256] = "";
    char m_Path[256] = "";
    char m_FileSystem[256] = "";
    char m_Description[256] = "";
    char m_RemoteName[256] = "";
    uint32_t m_SerialNumber = 0;
    uint32_t m_MaxNameLength = 0;
    uint64_t m_TotalDiskSpace = 0;
    uint64_t m_FreeDiskSpace = 0;
};
