// SPDX-License-Identifier: MIT
#include "libkvn/SCA_KvnStoredForm.h"

#include <cstdio>
#include <cstring>
#include <string>

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

int SCA_KvnLoadStoreFile(const char* path, uint32_t fileType, const char* caller, const char* what,
                         SCA_ConfigObj* root, uint32_t* error) {
    auto say = SCA_GetReportFunction(__FILE__, __LINE__);
    const char* shownPath = path != nullptr ? path : "";
    const std::string rootName = root->GetName();
    uint32_t code = 0;
    uint32_t readType = 0;
    if (!root->Load(path, &code, &readType)) {
        say(SCA_LEVEL_ERROR, "%s: cannot load (ERR:%u) %s - %s", caller, code, what, shownPath);
    } else if (readType != fileType || rootName != root->GetName()) {
        say(SCA_LEVEL_ERROR, "%s: not a %s file (type %u, root \"%s\") - %s", caller, what,
            readType, root->GetName(), shownPath);
        code = SCA_KVN_ERROR_NOT_STORE_FILE;
    } else {
        return 1;
    }
    if (error != nullptr) {
        *error = code;
    }
    return 0;
}
