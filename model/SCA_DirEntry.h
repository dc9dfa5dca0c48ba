// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Object.h"

// One file of a folder listing: its name within the folder, its full path, its size in bytes
// and the time of its last change (seconds since 1970). Texts are cut on a UTF-8 character
// boundary when they do not fit.
class SCA_DirEntry : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_DirEntry() { SetConstructed(); }
    SCA_DirEntry(const SCA_DirEntry&) = default;
    SCA_DirEntry& operator=(const SCA_DirEntry&) = default;
    ~SCA_DirEntry() override = default;

    const char* GetName() const { return m_Name; }
    void SetName(const char* name);
    const char* GetPath() const { return m_Path; }
    void SetPath(const char* path);
    int64_t GetSize() const { return m_Size; }
    void SetSize(int64_t size) { m_Size = size; }
    int64_t GetModificationTime() const { return m_ModificationTime; }
    void SetModificationTime(int64_t seconds) { m_ModificationTime = seconds; }

private:
    char m_Name[256] = "";
    char m_Path[4096] = "";
    int64_t m_Size = 0;
    int64_t m_ModificationTime = 0;
};
