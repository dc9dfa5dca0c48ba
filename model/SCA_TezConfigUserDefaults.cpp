// SPDX-License-Identifier: MIT
// The defaults of a new user configuration: settings, advanced options and keyboard shortcuts.
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "libmor/SCA_Crypto.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezReportIndex.h"

namespace {

struct DefaultOption {
    const char* Name;
    int Value;
};

constexpr DefaultOption kDefaultOptions[] = {
    {SCA_OPTION_SHOW_MAIN_TOOLBAR, 1},     {SCA_OPTION_SAVE_LAST_GUI_LAYOUT, 1},
    {SCA_OPTION_SHOW_VERBOSE_MESSAGES, 0}, {SCA_OPTION_TRAY_ERRORS, 1},
    {SCA_OPTION_TRAY_STATUS, 0},           {SCA_OPTION_MINIMIZE_TO_TRAY, 0},
    {SCA_OPTION_START_MINIMIZED, 0},       {SCA_OPTION_REMOTE_OPEN_LOGINS, 0},
};

// The client's key texts for the commands that have a key description.
struct DefaultShortcut {
    uint32_t KeyId;
    const char* Key;
};

constexpr DefaultShortcut kDefaultShortcuts[] = {
    {1, "Ctrl+P"}, {5, "Ctrl+S"}, {11, "Ctrl+N"}, {17, "Ctrl+O"}, {18, "F12"},
    {20, "F11"},   {21, "F1"},    {22, "Ctrl+Q"}, {23, "Ctrl+R"},
};

// 16 random bytes as 32 hex digits.
constexpr size_t kPasswordBytes = 16;

// Colours are 0x00RRGGBB.
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kGreen = 0x00A000;
constexpr uint32_t kPaleGreen = 0xC8EBC8;
constexpr uint32_t kLightGrey = 0xD0D0D0;
constexpr uint32_t kGrey = 0x808080;
constexpr uint32_t kWhite = 0xFFFFFF;

int MakePassword(char* out, size_t size) {
    unsigned char bytes[kPasswordBytes];
    if (!SCA_RandomBytes(bytes, sizeof(bytes))) {
        return 0;
    }
    const std::string hex = SCA_ToHex(bytes, sizeof(bytes));
    SCA_StrnCpy(out, hex.c_str(), size);
    return 1;
}

// "<folder>/<leaf>", or empty without a folder.
void MakePath(char* out, size_t size, const char* folder, const char* leaf) {
    out[0] = '\0';
    if (folder[0] != '\0' &&
        static_cast<size_t>(std::snprintf(out, size, "%s/%s", folder, leaf)) >= size) {
        out[0] = '\0';
    }
}

} // namespace

int SCA_TezConfigUser::InitDefConfig(SCA_TezConfig* config) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    if (config != nullptr) {
        m_Config = config;
    }
    Settings defaults;
    if (!MakePassword(defaults.ServerPassword, sizeof(defaults.ServerPassword))) {
        report(SCA_LEVEL_ERROR, "SCA_TezConfigUser::InitDefConfig: cannot make a password");
        return 0;
    }
    std::memcpy(defaults.ConfigDir, m_Settings.ConfigDir, sizeof(defaults.ConfigDir));
    std::memcpy(defaults.ConfigFileName, m_Settings.ConfigFileName,
                sizeof(defaults.ConfigFileName));
    const uint16_t controlPort = m_Config != nullptr && m_Config->GetControlPort() != 0
                                     ? m_Config->GetControlPort()
                                     : SCA_GetControlPort(GetProductType());
    const uint16_t webPort = m_Config != nullptr ? m_Config->GetWebAccessPort() : 0;

    defaults.FirstStart = 1;
    MakePath(defaults.ReportsDir, sizeof(defaults.ReportsDir), defaults.ConfigDir,
             SCA_TEZ_REPORTS_FOLDER);
    // Saved reports go below the reports folder, the only place clients may name.
    MakePath(defaults.SaveReportsDir, sizeof(defaults.SaveReportsDir), defaults.ReportsDir,
             "Saved");
    defaults.ProcessLogLength = 1000;
    defaults.ProcessMonUpdateTime = 1000;
    defaults.ProxyPort = 8080;
    defaults.CounterDataHistory = 3600;
    defaults.CounterMinutesHistory = 1440;
    defaults.CounterHoursHistory = 720;
    defaults.ErrorsHistoryLength = 1000;
    defaults.ReportsHistoryLength = 100;
    defaults.MaxDatabaseReports = 1000;
    defaults.ComparisonMajorChange = 20;
    defaults.ComparisonMinorChange = 5;
    defaults.SaveReportsTime = 3600;
    defaults.SendReportsTime = 86400;
    SCA_StrnCpy(defaults.DefaultReportTitle, "Korvanta Report",
                sizeof(defaults.DefaultReportTitle));
    defaults.RepeatSoundActionsTime = 300;
    defaults.RepeatEmailActionsTime = 3600;
    // A report action writes a file: by default a condition that holds at every sample writes
    // one an hour, not one a second.
    defaults.RepeatReportActions = 1;
    defaults.RepeatReportActionsTime = 3600;
    defaults.RepeatLogActionsTime = 300;
    defaults.RepeatUserActionsTime = 300;
    defaults.EmailServerPort = 587;
    defaults.EmailSecureConnect = 1;
    defaults.EmailLogin = 1;
    defaults.DeviceId = SCA_ALL_ONES;
    defaults.DevUpdatePeriod = 60;
    defaults.MaxPendingStatus = 100;
    defaults.ChartTextColor = kBlack;
    defaults.ChartLineColor = kGreen;
    defaults.ChartFillColor = kPaleGreen;
    defaults.ChartGridColor = kLightGrey;
    defaults.ChartBorderColor = kGrey;
    defaults.ChartBackgroundColor = kWhite;
    defaults.ProfileId = SCA_ALL_ONES;
    defaults.MonitorId = SCA_ALL_ONES;
    SCA_StrnCpy(defaults.ServerUserName, SCA_TEZ_DEFAULT_LOGIN_USER,
                sizeof(defaults.ServerUserName));
    defaults.ServerControlPort = controlPort;
    defaults.WebAccessPort = webPort;
    SCA_StrnCpy(defaults.ConnectHostName, "localhost", sizeof(defaults.ConnectHostName));
    SCA_StrnCpy(defaults.ConnectUserName, SCA_TEZ_DEFAULT_LOGIN_USER,
                sizeof(defaults.ConnectUserName));
    defaults.ConnectControlPort = controlPort;

    ClearAll();
    m_Settings = defaults;
    if (!AddDefaultOptions(false) || !AddDefaultShortcuts()) {
        report(SCA_LEVEL_ERROR, "SCA_TezConfigUser::InitDefConfig: cannot add the defaults");
        return 0;
    }
    return PublishSnapshot();
}

int SCA_TezConfigUser::GetDefaultAdvancedOptions(uint32_t productType,
                                                 tagSCA_ADVANCED_OPTION* options, uint32_t capacity,
                                                 uint32_t* count) {
    const uint32_t total =
        productType == SCA_PRODUCT_TYPE_KORVANTA
            ? static_cast<uint32_t>(sizeof(kDefaultOptions) / sizeof(kDefaultOptions[0]))
            : 0;
    if (count != nullptr) {
        *count = total;
    }
    if (options == nullptr) {
        capacity = 0;
    }
    for (uint32_t i = 0; i < total && i < capacity; ++i) {
        SCA_StrnCpy(options[i].Name, kDefaultOptions[i].Name, sizeof(options[i].Name));
        options[i].Value = kDefaultOptions[i].Value;
    }
    return total <= capacity ? 1 : 0;
}

int SCA_TezConfigUser::AddDefaultOptions(bool onlyMissing) {
    tagSCA_ADVANCED_OPTION options[16];
    uint32_t count = 0;
    if (!GetDefaultAdvancedOptions(GetProductType(), options, 16, &count)) {
        return 0;
    }
    for (uint32_t i = 0; i < count; ++i) {
        if (onlyMissing && m_AdvancedOptions.IsFieldExists(options[i].Name)) {
            continue;
        }
        if (!m_AdvancedOptions.AddField(options[i].Name, options[i].Value)) {
            return 0;
        }
    }
    return 1;
}

int SCA_TezConfigUser::AddDefaultShortcuts() {
    if (GetProductType() != SCA_PRODUCT_TYPE_KORVANTA) {
        return 1;
    }
    for (const DefaultShortcut& shortcut : kDefaultShortcuts) {
        auto* command = new (std::nothrow) SCA_KeyCommand(shortcut.KeyId, shortcut.Key);
        if (command == nullptr || !m_Shortcuts.AddItemToTail(command, command->GetKey())) {
            SCA_Object::Destroy(command);
            return 0;
        }
    }
    return 1;
}
