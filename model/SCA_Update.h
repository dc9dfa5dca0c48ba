// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Object.h"

// One update package: what it is, for which product and version, and where to get it. Plain
// members and fixed texts only, so copies are member by member. Text setters cut what does not
// fit on a UTF-8 character boundary.
class SCA_Update : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_Update() { SetConstructed(); }
    SCA_Update(const SCA_Update&) = default;
    SCA_Update& operator=(const SCA_Update&) = default;
    ~SCA_Update() override = default;

    uint32_t GetPackageType() const { return m_PackageType; }
    void SetPackageType(uint32_t type) { m_PackageType = type; }
    // "Update" for type 0, "Setup" for 1, "INV" otherwise.
    const char* GetPackageTypeName() const;

    const char* GetPlatformName() const { return m_PlatformName; }
    void SetPlatformName(const char* text);
    const char* GetProductName() const { return m_ProductName; }
    void SetProductName(const char* text);
    uint32_t GetProductType() const { return m_ProductType; }
    void SetProductType(uint32_t type) { m_ProductType = type; }
    const char* GetVersion() const { return m_Version; }
    void SetVersion(const char* text);
    uint32_t GetAbsVersion() const { return m_AbsVersion; }
    void SetAbsVersion(uint32_t version) { m_AbsVersion = version; }
    const char* GetDate() const { return m_Date; }
    void SetDate(const char* text);
    const char* GetServerName() const { return m_ServerName; }
    void SetServerName(const char* text);
    uint16_t GetPortNumber() const { return m_PortNumber; }
    void SetPortNumber(uint16_t port) { m_PortNumber = port; }
    const char* GetUrl() const { return m_Url; }
    void SetUrl(const char* text);
    const char* GetReleaseNotesUrl() const { return m_ReleaseNotesUrl; }
    void SetReleaseNotesUrl(const char* text);
    // The package's SHA-256 digest as text.
    const char* GetSHA256() const { return m_SHA256; }
    void SetSHA256(const char* text);
    uint64_t GetFileSize() const { return m_FileSize; }
    void SetFileSize(uint64_t size) { m_FileSize = size; }
    const char* GetLocalFileName() const { return m_LocalFileName; }
    void SetLocalFileName(const char* text);
    const char* GetRemoteFileName() const { return m_RemoteFileName; }
    void SetRemoteFileName(const char* text);
    const char* GetRemoteDir() const { return m_RemoteDir; }
    void SetRemoteDir(const char* text);
    uint32_t GetOpCode() const { return m_OpCode; }
    void SetOpCode(uint32_t code) { m_OpCode = code; }
    uint32_t GetRefId() const { return m_RefId; }
    void SetRefId(uint32_t id) { m_RefId = id; }

private:
    uint32_t m_PackageType = 0;
    char m_PlatformName[256] = "";
    char m_ProductName[256] = "";
    uint32_t m_ProductType = 0;
    char m_Version[256] = "";
    uint32_t m_AbsVersion = 0;
    char m_Date[256] = "";
    char m_ServerName[256] = "";
    uint16_t m_PortNumber = 0;
    char m_Url[256] = "";
    char m_ReleaseNotesUrl[256] = "";
    char m_SHA256[256] = "";
    uint64_t m_FileSize = 0;
    char m_LocalFileName[4096] = "";
    char m_RemoteFileName[4096] = "";
    char m_RemoteDir[4096] = "";
    uint32_t m_OpCode = 0;
    uint32_t m_RefId = 0;
};
