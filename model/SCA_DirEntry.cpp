// SPDX-License-Identifier: MIT
#include "model/SCA_DirEntry.h"

#include "libmor/SCA_String.h"

void SCA_DirEntry::SetName(const char* name) {
    SCA_StrnCpy(m_Name, name, sizeof(m_Name));
}

void SCA_DirEntry::SetPath(const char* path) {
    SCA_StrnCpy(m_Path, path, sizeof(m_Path));
}
