// SPDX-License-Identifier: MIT
// The user configuration's file.
#include <cerrno>
#include <cstring>

#include "libmor/SCA_ErrorText.h"
#include "libmor/SCA_FileSystem.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_Time.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigFiles.h"
#include "model/SCA_TezConfigUser.h"

int SCA_TezConfigUser::SaveConfig(uint32_t* error) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    uint32_t localError = 0;
    uint32_t* code = error != nullptr ? error : &localError;
    *code = 0;
    if (!HasLocation()) {
        *code = EINVAL;
        report(SCA_LEVEL_ERROR,
               "SCA_TezConfigUser::SaveConfig: no configuration file (Init first)");
        return 0;
    }
    if (m_FileKept) {
        *code = EEXIST;
        report(SCA_LEVEL_ERROR, "SCA_TezConfigUser::SaveConfig: %s is unusable and kept as it is",
               m_FilePath);
        return 0;
    }
    // The folder of the file itself, not the ConfigDir setting, which a caller may change.
    char folder[sizeof(m_FilePath)];
    SCA_StrnCpy(folder, m_FilePath, sizeof(folder));
    char* slash = std::strrchr(folder, '/');
    if (slash != nullptr && slash != folder) {
        *slash = '\0';
    }
    if (!SCA_CreateDirectory(folder, code)) {
        report(SCA_LEVEL_ERROR,
               "SCA_TezConfigUser::SaveConfig: cannot create folder %s (ERR:%u) - %s", folder,
               *code, SCA_ErrorText(*code).Get());
        return 0;
    }
    const Settings before = m_Settings;
    m_Settings.SaveTime = SCA_GetAbsTime();
    GetSavedProductVersion(SCA_TEZ_PRODUCT_VERSION);
    SCA_ConfigObj root(SCA_TEZ_USER_CONFIG_ROOT, nullptr);
    if (!root.IsConstructed() || !Serialize(&root) ||
        !root.Save(m_FilePath, SCA_TEZ_USER_CONFIG_FILE_TYPE, 0, code)) {
        report(SCA_LEVEL_ERROR, "SCA_TezConfigUser::SaveConfig: cannot save %s (ERR:%u) - %s",
               m_FilePath, *code, SCA_ErrorText(*code).Get());
        m_Settings = before;
        return 0;
    }
    return 1;
}

int SCA_TezConfigUser::LoadConfig(SCA_TezConfig* config) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    m_ReadError = 0;
    if (config != nullptr) {
        m_Config = config;
    }
    if (!HasLocation()) {
        report(SCA_LEVEL_ERROR,
               "SCA_TezConfigUser::LoadConfig: no configuration file (Init first)");
        return 0;
    }
    if (SCA_IsFileMissing(m_FilePath)) {
        report(SCA_LEVEL_ERROR, "SCA_TezConfigUser::LoadConfig: no configuration file - %s",
               m_FilePath);
        return 0;
    }
    SCA_ConfigObj root(SCA_TEZ_USER_CONFIG_ROOT, nullptr);
    const int loaded =
        SCA_ReadStoredConfig(&root, m_FilePath, "SCA_TezConfigUser::LoadConfig", &m_ReadError);
    if (m_ReadError != 0) {
        m_FileKept = true;
        return 0;
    }
    if (loaded && std::strcmp(root.GetName(), SCA_TEZ_USER_CONFIG_ROOT) != 0) {
        report(SCA_LEVEL_WARNING, "SCA_TezConfigUser::LoadConfig: not a user configuration - %s",
               m_FilePath);
    } else if (loaded && Deserialize(nullptr, &root, SCA_TEZ_USER_ALL)) {
        // Options added since the file was written become available with their defaults.
        if (!AddDefaultOptions(true)) {
            report(SCA_LEVEL_ERROR, "SCA_TezConfigUser::LoadConfig: cannot add default options");
            return 0;
        }
        m_FileKept = false;
        return 1;
    }
    m_FileKept = !SCA_MoveConfigAside(m_FilePath, "SCA_TezConfigUser::LoadConfig", nullptr, 0);
    return 0;
}
