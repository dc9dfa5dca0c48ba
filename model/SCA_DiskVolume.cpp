// SPDX-License-Identifier: MIT
#include "model/SCA_DiskVolume.h"

#include "libmor/SCA_String.h"

void SCA_DiskVolume::SetLabel(const char* text) {
    SCA_StrnCpy(m_Label, text, sizeof(m_Label));
}

void SCA_DiskVolume::SetPath(const char* text) {
    SCA_StrnCpy(m_Path, text, sizeof(m_Path));
}

void SCA_DiskVolume::SetFileSystem(const char* text) {
    SCA_StrnCpy(m_FileSystem, text, sizeof(m_FileSystem));
}

void SCA_DiskVolume::SetDescription(const char* text) {
    SCA_StrnCpy(m_Description, text, sizeof(m_Description));
}

void SCA_DiskVolume::SetRemoteName(const char* text) {
    SCA_StrnCpy(m_RemoteName, text, sizeof(m_RemoteName));
}
