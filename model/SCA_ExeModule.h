// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Object.h"

class SCA_ConfigObj;

// One executable module (program or library) loaded by a process: its file, owner, digest,
// attributes, size, dates and version information. Plain members and fixed texts: copies are
// member by member. Text setters cut what does not fit on a UTF-8 boundary.
class SCA_ExeModule : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_ExeModule() { SetConstructed(); }
    SCA_ExeModule(const SCA_ExeModule&) = default;
    SCA_ExeModule& operator=(const SCA_ExeModule&) = default;
    ~SCA_ExeModule() override = default;

    uint32_t GetId() const { return m_Id; }
    void SetId(uint32_t id) { m_Id = id; }
    const char* GetFileName() const { return m_FileName; }
    void SetFileName(const char* text);
    const char* GetFileOwner() const { return m_FileOwner; }
    void SetFileOwner(const char* text);
    const char* GetSHA256() const { return m_SHA256; }
    void SetSHA256(const char* text);
    uint32_t GetFileAttr() const { return m_FileAttr; }
    void SetFileAttr(uint32_t attr) { m_FileAttr = attr; }
    uint64_t GetFileSize() const { return m_FileSize; }
    void SetFileSize(uint64_t size) { m_FileSize = size; }
    uint64_t GetCreationDate() const { return m_CreationDate; }
    void SetCreationDate(uint64_t date) { m_CreationDate = date; }
    uint64_t GetModificationDate() const { return m_ModificationDate; }
    void SetModificationDate(uint64_t date) { m_ModificationDate = date; }
    const char* GetCompanyName() const { return m_CompanyName; }
    void SetCompanyName(const char* text);
    const char* GetProductName() const { return m_ProductName; }
    void SetProductName(const char* text);
    const char* GetProductVersion() const { return m_ProductVersion; }
    void SetProductVersion(const char* text);
    const char* GetFileVersion() const { return m_FileVersion; }
    void SetFileVersion(const char* text);
    const char* GetFileDescr() const { return m_FileDescr; }
    void SetFileDescr(const char* text);

    // The module's name: the file name after its last '/'.
    const char* GetModuleName() const;

    // One field per member, named as its accessor without "Get".
    int Serialize(SCA_ConfigObj* object) const;
    // 0 for a null object or one without "Id" or "FileName"; other fields missing keep their
    // values.
    int Deserialize(SCA_ConfigObj* object);

private:
    uint32_t m_Id = 0;
    char m_FileName[4096] = "";
    char m_FileOwner[256] = "";
    char m_SHA256[256] = "";
    uint32_t m_FileAttr = 0;
    uint64_t m_FileSize = 0;
    uint64_t m_CreationDate = 0;
    uint64_t m_ModificationDate = 0;
    char m_CompanyName[256] = "";
    char m_ProductName[256] = "";
    char m_ProductVersion[256] = "";
    char m_FileVersion[256] = "";
    char m_FileDescr[256] = "";
};
