// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "model/SCA_DirEntry.h"
#include "model/SCA_OwnerList.h"

// The regular files of one folder, sorted by name, with their total size: what report import
// chooses from and what clean-up deletes. The list owns its entries. Links are not listed, so
// that a clean-up never reaches through one to a file outside the folder; nor are sub-folders.
class SCA_Dir : public SCA_OwnerList<SCA_DirEntry> {
public:
    SCA_HEAP_OPERATORS

    SCA_Dir() = default;
    ~SCA_Dir() override = default;

    // Replaces the list with the files of folder whose names end in extension (".hdx"; null
    // or "" for every file); each entry is named by its file name. 0 with *error (an errno
    // value) when the folder cannot be read; the list is then empty. Files that vanish while
    // the folder is read are skipped.
    int Read(const char* folder, const char* extension, uint32_t* error);

    // The sum of the listed files' sizes in bytes.
    int64_t GetSize() const { return m_Size; }
    uint32_t GetMode() const { return m_Mode; }
    void SetMode(uint32_t mode) { m_Mode = mode; }

private:
    int64_t m_Size = 0;
    uint32_t m_Mode = 0;
};
