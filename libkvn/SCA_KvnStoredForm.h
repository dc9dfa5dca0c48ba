// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Object.h"
#include "libmor/SCA_Report.h"
#include "model/SCA_ConfigObj.h"

// Fixed text fields of the device store's records: 255 characters and the terminating zero.
inline constexpr uint32_t SCA_KVN_TEXT_SIZE = 256;
// Buffers for folder and file paths.
inline constexpr uint32_t SCA_KVN_PATH_SIZE = 4096;

// The store's records and lists copy themselves through their stored form, so that a copy
// never shares anything with its source: write(temp) fills a temporary object of that name
// and read(temp) fills the target from it. 0 when either step fails.
template <typename Write, typename Read>
int SCA_KvnCopyThrough(const char* name, Write&& write, Read&& read) {
    SCA_ConfigObj temp(name, nullptr);
    if (!temp.IsConstructed() || !write(&temp)) {
        return 0;
    }
    return read(&temp);
}

// Finishes a Clone: a copy that was not made (null, or its flag 0) is reported with
// createText and gives null; one that fill(copy) cannot fill is destroyed, reported with
// fillText when there is one, and gives null. Copies are released through their own Destroy:
// an owning list is not an SCA_Object to outside code.
template <typename T, typename Fill>
T* SCA_KvnFinishClone(T* copy, const char* createText, const char* fillText, Fill&& fill) {
    if (copy == nullptr || !copy->IsConstructed()) {
        if (copy != nullptr) {
            copy->Destroy();
        }
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "%s", createText);
        return nullptr;
    }
    if (!fill(copy)) {
        copy->Destroy();
        if (fillText != nullptr) {
            SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "%s", fillText);
        }
        return nullptr;
    }
    return copy;
}

// Hands a found record out: 1 with *out set (when out is given), or 0 with out untouched for a
// null record.
template <typename T>
int SCA_KvnHandOut(T* record, T** out) {
    if (record == nullptr) {
        return 0;
    }
    if (out != nullptr) {
        *out = record;
    }
    return 1;
}

// path = folder + '/' + name. 0, with path empty, when there is no folder (null or empty: a
// store never falls back to the file-system root) or the result does not fit in size bytes.
int SCA_KvnBuildPath(char* path, uint32_t size, const char* folder, const char* name);

// Load's error for a well-formed store file of another kind than the one asked for.
inline constexpr uint32_t SCA_KVN_ERROR_NOT_STORE_FILE = 100146;

// Reads the store file at path into root and checks its kind: written as fileType under root's
// own name. Every store file has the same well-formed container, so one of another kind (a group
// list where a device's data belongs) would read as an empty list or device and be saved over
// the real file later. 0, reported as caller's and naming the file what, when the file cannot be
// read (error receives its code) or is of another kind (SCA_KVN_ERROR_NOT_STORE_FILE).
int SCA_KvnLoadStoreFile(const char* path, uint32_t fileType, const char* caller, const char* what,
                         SCA_ConfigObj* root, uint32_t* error);

// Whether two names are the same without regard to case (ASCII letters), compared within the
// first 255 bytes as the store's fixed text fields hold them.
bool SCA_KvnSameName(const char* a, const char* b);
