// SPDX-License-Identifier: MIT
#include "model/SCA_TezConfigUser.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_Time.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigFiles.h"

namespace {

constexpr const char* kInvalidKeyId = "Invalid Key Id";

struct KeyDescription {
    uint32_t KeyId;
    const char* Text;
};

constexpr KeyDescription kKeyDescriptions[] = {
    {1, "Pause/Resume Monitor"}, {5, "Save Report"},           {11, "Add Counter"},
    {17, "Advanced Options"},    {18, "Open Message Console"}, {20, "Switch GUI Layout"},
    {21, "Online Help"},         {22, "Close Application"},    {23, "Reset Monitor"},
};

} // namespace

SCA_TezConfigUser::SCA_TezConfigUser(SCA_TezConfig* config)
    : m_Config(config), m_AdvancedOptions("AdvancedOptions", nullptr),
      m_RemoteComputers("RemoteComputers", nullptr), m_RemoteServers("RemoteServers", nullptr) {
    if (m_AdvancedOptions.IsConstructed() && m_RemoteComputers.IsConstructed() &&
        m_RemoteServers.IsConstructed() && PublishSnapshot()) {
        SetConstructed();
    }
}

std::shared_ptr<const SCA_TezUserSnapshot> SCA_TezConfigUser::GetSnapshot() const {
    return m_Snapshot.Get();
}

int SCA_TezConfigUser::PublishSnapshot() {
    auto snapshot = std::shared_ptr<SCA_TezUserSnapshot>(new (std::nothrow) SCA_TezUserSnapshot);
    if (snapshot == nullptr || !snapshot->Rules.CopyFrom(m_Rules) ||
        !snapshot->ProcRules.CopyFrom(m_ProcRules)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_TezConfigUser::PublishSnapshot: cannot copy the configuration");
        return 0;
    }
    snapshot->Settings = m_Settings;
    m_Snapshot.Publish(std::move(snapshot));
    return 1;
}

uint32_t SCA_TezConfigUser::GetProductType() const {
    return m_Config != nullptr ? m_Config->GetProductType() : SCA_PRODUCT_TYPE_NONE;
}

SCA_Field* SCA_TezConfigUser::FindOption(const char* name) {
    SCA_Field* field = nullptr;
    if (name == nullptr || name[0] == '\0' || !m_AdvancedOptions.GetFieldByName(name, &field) ||
        field == nullptr || field->IsObject()) {
        return nullptr;
    }
    return field;
}

int SCA_TezConfigUser::GetAdvancedOption(const char* name) {
    SCA_Field* option = FindOption(name);
    return option != nullptr && std::strtol(option->GetValue(), nullptr, 10) != 0 ? 1 : 0;
}

int SCA_TezConfigUser::SetAdvancedOption(const char* name, int value) {
    SCA_Field* option = FindOption(name);
    return option != nullptr && option->SetValue(value) ? 1 : 0;
}

int SCA_TezConfigUser::ToggleAdvancedOption(const char* name) {
    SCA_Field* option = FindOption(name);
    if (option == nullptr) {
        return 0;
    }
    const int value = static_cast<int>(std::strtol(option->GetValue(), nullptr, 10));
    return option->SetValue(value == 0 ? 1 : 0) ? 1 : 0;
}

int SCA_TezConfigUser::IsKeyboardShortcutExists(uint32_t commandId) const {
    for (const ShortcutList::Item* node = m_Shortcuts.GetHead(); node != nullptr;
         node = node->GetNext()) {
        if (node->GetItem() != nullptr && node->GetItem()->GetCmdId() == commandId) {
            return 1;
        }
    }
    return 0;
}

int SCA_TezConfigUser::UpdateRemoteServers(const char* host) {
    if (host == nullptr || host[0] == '\0') {
        return 0;
    }
    const uint64_t now = SCA_GetAbsTime();
    SCA_Field* known = nullptr;
    if (m_RemoteServers.GetFieldByName(host, &known) && known != nullptr) {
        return !known->IsObject() && known->SetValue(now) ? 1 : 0;
    }
    return m_RemoteServers.AddField(host, now) ? 1 : 0;
}

const char* SCA_TezConfigUser::GetKeyDescription(uint32_t keyId) {
    for (const KeyDescription& description : kKeyDescriptions) {
        if (description.KeyId == keyId) {
            return description.Text;
        }
    }
    return kInvalidKeyId;
}

void SCA_TezConfigUser::ClearAll() {
    m_Profiles.ClearAll();
    m_Monitors.ClearAll();
    m_Rules.ClearAll();
    m_ProcRules.ClearAll();
    m_Shortcuts.ClearAll();
    m_AdvancedOptions.Clear();
    m_Sounds.ClearAll();
    m_RemoteComputers.Clear();
    m_RemoteServers.Clear();
    m_ConnectList.ClearAll();
    m_LlmServers.ClearAll();
}

int SCA_TezConfigUser::Init(SCA_TezConfig* config, const char* suffix) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    if (config == nullptr || !config->HasLocation()) {
        report(SCA_LEVEL_ERROR, "SCA_TezConfigUser::Init: no product configuration with a folder");
        return 0;
    }
    char safeSuffix[SCA_TEZ_NAME_SIZE] = "";
    if (suffix != nullptr && suffix[0] != '\0' &&
        !SCA_MakeConfigName(suffix, safeSuffix, sizeof(safeSuffix))) {
        report(SCA_LEVEL_ERROR, "SCA_TezConfigUser::Init: invalid name suffix");
        return 0;
    }
    char fileName[SCA_TEZ_TEXT_SIZE];
    char path[sizeof(m_FilePath)];
    const size_t nameLength = static_cast<size_t>(std::snprintf(
        fileName, sizeof(fileName), "%s_user%s.hdx", config->GetConfigName(), safeSuffix));
    const size_t pathLength = static_cast<size_t>(
        std::snprintf(path, sizeof(path), "%s/%s", config->GetConfigFolder(), fileName));
    if (nameLength >= sizeof(fileName) || pathLength >= sizeof(path)) {
        report(SCA_LEVEL_ERROR, "SCA_TezConfigUser::Init: file name too long");
        return 0;
    }
    m_Config = config;
    ClearAll();
    m_Settings = Settings{};
    SetConfigDir(config->GetConfigFolder());
    SetConfigFileName(fileName);
    if (std::strcmp(path, m_FilePath) != 0) {
        m_FileKept = false;
    }
    SCA_StrnCpy(m_FilePath, path, sizeof(m_FilePath));
    return PublishSnapshot();
}

int SCA_TezConfigUser::SetContent(SCA_TezConfigUser* from, uint32_t mask) {
    if (from == this) {
        return 1;
    }
    SCA_ConfigObj form(SCA_TEZ_USER_CONFIG_ROOT, nullptr);
    if (from == nullptr || !form.IsConstructed() || !from->Serialize(&form) ||
        !Deserialize(m_Config != nullptr ? m_Config : from->m_Config, &form, mask)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_TezConfigUser::SetContent: cannot copy the configuration");
        return 0;
    }
    return 1;
}
