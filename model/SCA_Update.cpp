// SPDX-License-Identifier: MIT
#include "model/SCA_Update.h"

#include "libmor/SCA_String.h"

const char* SCA_Update::GetPackageTypeName() const {
    switch (m_PackageType) {
    case 0:
        return "Update";
    case 1:
        return "Setup";
    default:
        return "INV";
    }
}

void SCA_Update::SetPlatformName(const char* text) {
    SCA_StrnCpy(m_PlatformName, text, sizeof(m_PlatformName));
}

void SCA_Update::SetProductName(const char* text) {
    SCA_StrnCpy(m_ProductName, text, sizeof(m_ProductName));
}

void SCA_Update::SetVersion(const char* text) {
    SCA_StrnCpy(m_Version, text, sizeof(m_Version));
}

void SCA_Update::SetDate(const char* text) {
    SCA_StrnCpy(m_Date, text, sizeof(m_Date));
}

void SCA_Update::SetServerName(const char* text) {
    SCA_StrnCpy(m_ServerName, text, sizeof(m_ServerName));
}

void SCA_Update::SetUrl(const char* text) {
    SCA_StrnCpy(m_Url, text, sizeof(m_Url));
}

void SCA_Update::SetReleaseNotesUrl(const char* text) {
    SCA_StrnCpy(m_ReleaseNotesUrl, text, sizeof(m_ReleaseNotesUrl));
}

void SCA_Update::SetSHA256(const char* text) {
    SCA_StrnCpy(m_SHA256, text, sizeof(m_SHA256));
}

void SCA_Update::SetLocalFileName(const char* text) {
    SCA_StrnCpy(m_LocalFileName, text, sizeof(m_LocalFileName));
}

void SCA_Update::SetRemoteFileName(const char* text) {
    SCA_StrnCpy(m_RemoteFileName, text, sizeof(m_RemoteFileName));
}

void SCA_Update::SetRemoteDir(const char* text) {
    SCA_StrnCpy(m_RemoteDir, text, sizeof(m_RemoteDir));
}
