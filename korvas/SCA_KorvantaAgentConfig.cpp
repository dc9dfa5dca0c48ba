// SPDX-License-Identifier: MIT
// The agent's configuration and profile operations. The configurations and the profile list are
// shared by every agent and the control object: each operation runs under the control object's
// data lock, so that two clients changing them at once cannot interleave; a change is answered
// as done only once the user configuration file holds it (StoreConfigChange).
#include <cstring>
#include <new>

#include "korvas/SCA_KorvantaAgent.h"
#include "korvas/SCA_KorvantaCtrl.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezProcessRules.h"
#include "model/SCA_TezProfileList.h"
#include "model/SCA_TezRecordFields.h"

namespace {

// The text buffers of the client operations.
constexpr uint32_t kTextSize = 256;

} // namespace

// --- configurations -------------------------------------------------------------------------

template <typename Write>
int SCA_KorvantaAgent::SerializeShared(const char* root, const char* operation,
                                       const char* cannotCreate, SCA_ConfigObj** out,
                                       Write&& write) {
    SCA_ConfigObj* object = NewReply(root, operation, cannotCreate);
    if (object == nullptr) {
        return 0;
    }
    return m_Ctrl->WithData([&] {
        if (!write(object)) {
            SCA_Object::Destroy(object);
            return 0;
        }
        *out = object;
        return 1;
    });
}

int SCA_KorvantaAgent::StoreConfigChange(const char* operation,
                                         const std::function<int()>& change) {
    uint32_t error = 0;
    switch (m_Ctrl->StoreUserConfig(change, &error)) {
    case SCA_KorvantaCtrl::StoreResult::kStored:
        return 1;
    case SCA_KorvantaCtrl::StoreResult::kNotStored:
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KorvantaAgent::%s: Cannot save user configuration file (ERR:%u)",
            operation, error);
        return 0;
    default:
        return 0;
    }
}

int SCA_KorvantaAgent::GetProductConfig(SCA_ConfigObj** config) {
    return IsLoggedIn() &&
                   SerializeShared(
                       "ProductConfig", "GetProductConfig", "Cannot create config object", config,
                       [this](SCA_ConfigObj* object) { return m_Config->Serialize(object); })
               ? 1
               : 0;
}

int SCA_KorvantaAgent::SetProductConfig(SCA_ConfigObj* config) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return m_Ctrl->WithData([&] {
        if (config == nullptr || !m_Config->Deserialize(config)) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR,
                "SCA_KorvantaAgent::SetProductConfig: Cannot deserialize configuration object");
            return 0;
        }
        if (!m_Config->SaveConfig()) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR,
                "SCA_KorvantaAgent::SetProductConfig: Cannot save product configuration file.");
            return 0;
        }
        ReportInfo("Product Configuration File Saved");
        return 1;
    });
}

int SCA_KorvantaAgent::GetUserConfig(SCA_ConfigObj** config) {
    return IsLoggedIn() &&
                   SerializeShared(
                       "UserConfig", "GetUserConfig", "Cannot create config object", config,
                       [this](SCA_ConfigObj* object) { return m_UserConfig->Serialize(object); })
               ? 1
               : 0;
}

int SCA_KorvantaAgent::SetUserConfig(SCA_ConfigObj* config, uint32_t mask) {
    if (!IsLoggedIn()) {
        return 0;
    }
    const int stored = StoreConfigChange("SetUserConfig", [&] {
        if (config == nullptr || !m_UserConfig->Deserialize(m_Config, config, mask)) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR,
                "SCA_KorvantaAgent::SetUserConfig: Cannot deserialize configuration object");
            return 0;
        }
        return m_Ctrl->CheckUserConfigFolders(m_UserConfig, "SCA_KorvantaAgent::SetUserConfig");
    });
    if (stored) {
        ReportInfo("Product Configuration File Saved");
    }
    return stored;
}

int SCA_KorvantaAgent::GetProcessMonitorRules(SCA_ConfigObj** rules) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return SerializeShared("Rules", "GetProcessMonitorRules",
                           "Cannot create process rules config object", rules,
                           [this](SCA_ConfigObj* object) {
                               if (m_UserConfig->GetProcRules()->Serialize(object)) {
                                   return 1;
                               }
                               SCA_GetReportFunction(__FILE__, __LINE__)(
                                   SCA_LEVEL_ERROR, "SCA_KorvantaAgent::GetProcessMonitorRules: "
                                                    "Cannot serialize process rules.");
                               return 0;
                           });
}

int SCA_KorvantaAgent::SetProcessMonitorRules(SCA_ConfigObj* rules) {
    if (!IsLoggedIn()) {
        return 0;
    }
    const int stored = StoreConfigChange("SetProcessMonitorRules", [&] {
        if (rules == nullptr || !m_UserConfig->GetProcRules()->Deserialize(rules)) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR,
                "SCA_KorvantaAgent::SetProcessMonitorRules: Cannot deserialize process rules");
            return 0;
        }
        return m_Ctrl->CheckUserConfigFolders(m_UserConfig,
                                              "SCA_KorvantaAgent::SetProcessMonitorRules");
    });
    if (stored) {
        ReportInfo("Process Monitor Rules Updated");
    }
    return stored;
}

// --- profiles -------------------------------------------------------------------------------

int SCA_KorvantaAgent::GetProfileCount(uint32_t* count) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return m_Ctrl->WithData([&] {
        *count = m_Profiles->Count();
        return 1;
    });
}

int SCA_KorvantaAgent::GetProfileInfo(uint32_t index, uint32_t* profileId, char* name) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return m_Ctrl->WithData([&] {
        SCA_TezProfileList::Item* item = m_Profiles->GetListItemByPos(index);
        if (index >= m_Profiles->Count() || item == nullptr) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "SCA_KorvantaAgent::GetProfileInfo: invalid profile index - %u",
                index);
            return 0;
        }
        *profileId = item->GetId();
        SCA_StrnCpy(name, item->GetName() != nullptr ? item->GetName() : "", kTextSize);
        return 1;
    });
}

int SCA_KorvantaAgent::GetProfileInfoList(SCA_ConfigObj** profilesInfoList) {
    if (!IsLoggedIn()) {
        return 0;
    }
    SCA_ConfigObj* object = SCA_NewConfigObj("ProfilesInfoList");
    return m_Ctrl->WithData([&] {
        for (auto* item = m_Profiles->GetHead(); object != nullptr && item != nullptr;
             item = item->GetNext()) {
            if (item->GetName() == nullptr || !object->AddField(item->GetName(), item->GetId())) {
                SCA_Object::Destroy(object);
                object = nullptr;
            }
        }
        if (object == nullptr) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR,
                "SCA_KorvantaAgent::GetProfileInfoList: cannot create profile list config "
                "object");
            return 0;
        }
        *profilesInfoList = object;
        return 1;
    });
}

int SCA_KorvantaAgent::GetProfiles(SCA_ConfigObj** profiles) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return SerializeShared("ProfilesObj", "GetProfiles", "cannot create profiles config object",
                           profiles, [this](SCA_ConfigObj* object) {
                               if (m_Profiles->Serialize(object)) {
                                   return 1;
                               }
                               SCA_GetReportFunction(__FILE__, __LINE__)(
                                   SCA_LEVEL_ERROR,
                                   "SCA_KorvantaAgent::GetProfiles: cannot serialize profiles");
                               return 0;
                           });
}

int SCA_KorvantaAgent::GetProfile(uint32_t profileId, SCA_ConfigObj** profile) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return m_Ctrl->WithData([&] {
        SCA_TezProfile* found = nullptr;
        if (!m_Profiles->GetProfile(profileId, &found) || found == nullptr) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "SCA_KorvantaAgent::GetProfile: invalid profile ID - %u",
                profileId);
            return 0;
        }
        SCA_ConfigObj* object =
            NewReply(found->GetProfileName(), "GetProfile", "cannot create profile config object");
        if (object == nullptr) {
            return 0;
        }
        if (!found->Serialize(object)) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "SCA_KorvantaAgent::GetProfile: cannot serialize profile - %u",
                profileId);
            SCA_Object::Destroy(object);
            return 0;
        }
        *profile = object;
        return 1;
    });
}

int SCA_KorvantaAgent::SetProfile(uint32_t profileId, SCA_ConfigObj* profile) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return StoreConfigChange("SetProfile", [&] {
        SCA_TezProfile* found = nullptr;
        if (!m_Profiles->GetProfile(profileId, &found) || found == nullptr) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "SCA_KorvantaAgent::SetProfile: invalid profile ID - %u",
                profileId);
            return 0;
        }
        if (profile == nullptr || !found->Deserialize(profile)) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "SCA_KorvantaAgent::SetProfile: cannot deserialize profile - %u",
                profileId);
            return 0;
        }
        return m_Ctrl->CheckCounterFolders(*found->GetCounterList(),
                                           "SCA_KorvantaAgent::SetProfile");
    });
}

int SCA_KorvantaAgent::IsProfileExists(const char* name, uint32_t* exists, uint32_t* profileId) {
    if (!IsLoggedIn()) {
        return 0;
    }
    *exists = 0;
    *profileId = SCA_ALL_ONES;
    if (name == nullptr) {
        return 1;
    }
    return m_Ctrl->WithData([&] {
        for (auto* item = m_Profiles->GetHead(); item != nullptr; item = item->GetNext()) {
            if (item->GetName() != nullptr && std::strcmp(item->GetName(), name) == 0) {
                *exists = 1;
                *profileId = item->GetId();
                return 1;
            }
        }
        return 1;
    });
}

int SCA_KorvantaAgent::AddProfile(const char* name, uint32_t preset, uint32_t* profileId) {
    if (!IsLoggedIn()) {
        return 0;
    }
    const char* shown = name != nullptr ? name : "";
    return StoreConfigChange("AddProfile", [&] {
        SCA_TezProfile* added = nullptr;
        if (name == nullptr || !m_Profiles->AddProfile(name, &added) || added == nullptr) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "SCA_KorvantaAgent::AddProfile: cannot add profile - %s", shown);
            return 0;
        }
        if (!added->GetCounterList()->Init(preset, nullptr, nullptr, nullptr)) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "SCA_KorvantaAgent::AddProfile: cannot init profile - %s", shown);
            // The profile made here goes, by its own id: never another one.
            m_Profiles->DeleteProfile(added->GetProfileId());
            return 0;
        }
        *profileId = added->GetProfileId();
        return 1;
    });
}

int SCA_KorvantaAgent::CopyProfile(uint32_t profileId, const char* newName,
                                   uint32_t* newProfileId) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return StoreConfigChange("CopyProfile", [&] {
        SCA_TezProfile* found = nullptr;
        if (!m_Profiles->GetProfile(profileId, &found) || found == nullptr) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "SCA_KorvantaAgent::CopyProfile: invalid profile ID - %u",
                profileId);
            return 0;
        }
        if (newName == nullptr ||
            !m_Profiles->CopyProfile(found->GetProfileName(), newName, newProfileId)) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "SCA_KorvantaAgent::CopyProfile: cannot copy profile - %u",
                profileId);
            return 0;
        }
        return 1;
    });
}

int SCA_KorvantaAgent::RenameProfile(uint32_t profileId, const char* name) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return StoreConfigChange("RenameProfile", [&] {
        SCA_TezProfile* found = nullptr;
        if (!m_Profiles->GetProfile(profileId, &found) || found == nullptr) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "SCA_KorvantaAgent::RenameProfile: invalid profile ID - %u",
                profileId);
            return 0;
        }
        // The old name is copied: the rename replaces the text it points at.
        char oldName[kTextSize] = "";
        SCA_StrnCpy(oldName, found->GetProfileName(), sizeof(oldName));
        if (name == nullptr || !m_Profiles->RenameProfile(oldName, name)) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "SCA_KorvantaAgent::RenameProfile: cannot rename profile - %u",
                profileId);
            return 0;
        }
        return 1;
    });
}

int SCA_KorvantaAgent::MoveProfileUp(uint32_t profileId) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return StoreConfigChange("MoveProfileUp",
                             [&] { return m_Profiles->MoveItemUp(profileId) ? 1 : 0; });
}

int SCA_KorvantaAgent::MoveProfileDown(uint32_t profileId) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return StoreConfigChange("MoveProfileDown",
                             [&] { return m_Profiles->MoveItemDown(profileId) ? 1 : 0; });
}

int SCA_KorvantaAgent::DeleteProfile(uint32_t profileId) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return StoreConfigChange("DeleteProfile", [&] {
        if (!m_Profiles->IsProfileExists(profileId)) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "SCA_KorvantaAgent::DeleteProfile: invalid profile ID - %u",
                profileId);
            return 0;
        }
        if (!m_Profiles->DeleteProfile(profileId)) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "SCA_KorvantaAgent::DeleteProfile: cannot delete profile - %u",
                profileId);
            return 0;
        }
        return 1;
    });
}

int SCA_KorvantaAgent::DeleteProfileByName(const char* name) {
    if (!IsLoggedIn()) {
        return 0;
    }
    const char* shown = name != nullptr ? name : "";
    return StoreConfigChange("DeleteProfileByName", [&] {
        SCA_TezProfile* found = nullptr;
        if (name == nullptr || !m_Profiles->GetProfile(name, &found) || found == nullptr) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "SCA_KorvantaAgent::DeleteProfileByName: invalid profile - %s",
                shown);
            return 0;
        }
        if (!m_Profiles->DeleteProfile(found->GetProfileId())) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR,
                "SCA_KorvantaAgent::DeleteProfileByName: cannot delete profile - %s", shown);
            return 0;
        }
        return 1;
    });
}
