// SPDX-License-Identifier: MIT
#include "model/SCA_TezProfileList.h"

#include <cstring>

#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"

int SCA_TezProfileList::IsNameFree(const char* name, const char* context) const {
    if (name == nullptr || name[0] == '\0') {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_TezProfileList::%s: empty profile name", context);
        return 0;
    }
    // Compare what would be stored: the name cut to the profile's field.
    char stored[SCA_TEZ_TEXT_SIZE];
    SCA_StrnCpy(stored, name, sizeof(stored));
    if (IsItemExists(stored)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "SCA_TezProfileList::%s: "
                                                  "profile already exists - %s",
                                                  context, stored);
        return 0;
    }
    return 1;
}

int SCA_TezProfileList::Append(SCA_TezProfile* profile, uint32_t* id) {
    return AddRecord(profile, profile->GetProfileName(), id, &SCA_TezProfile::SetProfileId);
}

int SCA_TezProfileList::AddProfile(const char* name, SCA_TezProfile** profile) {
    if (!IsNameFree(name, "AddProfile")) {
        return 0;
    }
    auto* added = new (std::nothrow) SCA_TezProfile();
    if (added != nullptr) {
        added->SetProfileName(name);
    }
    if (added == nullptr || !Append(added, nullptr)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "SCA_TezProfileList::AddProfile: "
                                                  "cannot add profile - %s",
                                                  name);
        SCA_Object::Destroy(added);
        return 0;
    }
    if (profile != nullptr) {
        *profile = added;
    }
    return 1;
}

int SCA_TezProfileList::CopyProfile(const char* name, const char* newName, uint32_t* newId) {
    SCA_TezProfile* source = nullptr;
    if (!GetProfile(name, &source)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "SCA_TezProfileList::CopyProfile: "
                                                  "invalid profile - %s",
                                                  name != nullptr ? name : "");
        return 0;
    }
    if (!IsNameFree(newName, "CopyProfile")) {
        return 0;
    }
    auto* copy = new (std::nothrow) SCA_TezProfile(*source);
    if (copy != nullptr) {
        copy->SetProfileName(newName);
    }
    if (copy == nullptr || !copy->IsConstructed() || !Append(copy, newId)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "SCA_TezProfileList::CopyProfile: "
                                                  "cannot copy profile - %s",
                                                  name);
        SCA_Object::Destroy(copy);
        return 0;
    }
    return 1;
}

int SCA_TezProfileList::RenameProfile(const char* oldName, const char* newName) {
    Item* node = GetListItem(oldName);
    if (node == nullptr || node->GetItem() == nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "SCA_TezProfileList::RenameProfile: "
                                                  "invalid profile - %s",
                                                  oldName != nullptr ? oldName : "");
        return 0;
    }
    if (newName != nullptr && std::strcmp(oldName, newName) == 0) {
        return 1;
    }
    if (!IsNameFree(newName, "RenameProfile")) {
        return 0;
    }
    char stored[SCA_TEZ_TEXT_SIZE];
    SCA_StrnCpy(stored, newName, sizeof(stored));
    if (!node->SetName(stored)) {
        return 0;
    }
    node->GetItem()->SetProfileName(stored);
    return 1;
}
