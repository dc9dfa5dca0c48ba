// SPDX-License-Identifier: MIT
#include "libkvn/SCA_KvnStoredForm.h"

#include <cstdio>
#include <cstring>

#include "libmor/SCA_String.h"

int SCA_KvnBuildPath(char* path, uint32_t size, const char* folder, const char* name) {
    if (path == nullptr || size == 0) {
        return 0;
    }
    path[0] = '\0';
    if (folder == nullptr || folder[0] == '\0' || name == nullptr) {
        return 0;
    }
    const int length = std::snprintf(path, size, "%s/%s", folder, name);
    if (length < 0 || static_cast<uint32_t>(length) >= size) {
        path[0] = '\0';
        return 0;
    }
    return 1;
}

bool SCA_KvnSameName(const char* a, const char* b) {
    char upperA[SCA_KVN_TEXT_SIZE];
    char upperB[SCA_KVN_TEXT_SIZE];
    SCA_StrCopyToUpper(a, upperA, sizeof(upperA));
    SCA_StrCopyToUpper(b, upperB, sizeof(upperB));
    return std::strcmp(upperA, upperB) == 0;
}
