// SPDX-License-Identifier: MIT
#include "model/SCA_ExeModule.h"

#include <cstring>

#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezRecordFields.h"

void SCA_ExeModule::SetFileName(const char* text) {
    SCA_StrnCpy(m_FileName, text, sizeof(m_FileName));
}

void SCA_ExeModule::SetFileOwner(const char* text) {
    SCA_StrnCpy(m_FileOwner, text, sizeof(m_FileOwner));
}

void SCA_ExeModule::SetSHA256(const char* text) {
    SCA_StrnCpy(m_SHA256, text, sizeof(m_SHA256));
}

void SCA_ExeModule::SetCompanyName(const char* text) {
    SCA_StrnCpy(m_CompanyName, text, sizeof(m_CompanyName));
}

void SCA_ExeModule::SetProductName(const char* text) {
    SCA_StrnCpy(m_ProductName, text, sizeof(m_ProductName));
}

void SCA_ExeModule::SetProductVersion(const char* text) {
    SCA_StrnCpy(m_ProductVersion, text, sizeof(m_ProductVersion));
}

void SCA_ExeModule::SetFileVersion(const char* text) {
    SCA_StrnCpy(m_FileVersion, text, sizeof(m_FileVersion));
}

void SCA_ExeModule::SetFileDescr(const char* text) {
    SCA_StrnCpy(m_FileDescr, text, sizeof(m_FileDescr));
}

const char* SCA_ExeModule::GetModuleName() const {
    const char* slash = std::strrchr(m_FileName, '/');
    return slash != nullptr ? slash + 1 : m_FileName;
}

int SCA_ExeModule::Serialize(SCA_ConfigObj* object) const {
    return object != nullptr && object->AddField("Id", m_Id) &&
           SCA_AddTextField(object, "FileName", m_FileName) &&
           SCA_AddTextField(object, "FileOwner", m_FileOwner) &&
           SCA_AddTextField(object, "SHA256", m_SHA256) &&
           object->AddField("FileAttr", m_FileAttr) && object->AddField("FileSize", m_FileSize) &&
           object->AddField("CreationDate", m_CreationDate) &&
           object->AddField("ModificationDate", m_ModificationDate) &&
           SCA_AddTextField(object, "CompanyName", m_CompanyName) &&
           SCA_AddTextField(object, "ProductName", m_ProductName) &&
           SCA_AddTextField(object, "ProductVersion", m_ProductVersion) &&
           SCA_AddTextField(object, "FileVersion", m_FileVersion) &&
           SCA_AddTextField(object, "FileDescr", m_FileDescr);
}

int SCA_ExeModule::Deserialize(SCA_ConfigObj* object) {
    if (object == nullptr || !object->GetField("Id", &m_Id) ||
        !object->GetField("FileName", m_FileName, sizeof(m_FileName))) {
        return 0;
    }
    object->GetField("FileOwner", m_FileOwner, sizeof(m_FileOwner));
    object->GetField("SHA256", m_SHA256, sizeof(m_SHA256));
    object->GetField("FileAttr", &m_FileAttr);
    object->GetField("FileSize", &m_FileSize);
    object->GetField("CreationDate", &m_CreationDate);
    object->GetField("ModificationDate", &m_ModificationDate);
    object->GetField("CompanyName", m_CompanyName, sizeof(m_CompanyName));
    object->GetField("ProductName", m_ProductName, sizeof(m_ProductName));
    object->GetField("ProductVersion", m_ProductVersion, sizeof(m_ProductVersion));
    object->GetField("FileVersion", m_FileVersion, sizeof(m_FileVersion));
    object->GetField("FileDescr", m_FileDescr, sizeof(m_FileDescr));
    return 1;
}
