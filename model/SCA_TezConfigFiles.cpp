// SPDX-License-Identifier: MIT
#include "model/SCA_TezConfigFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "libmor/SCA_ErrorText.h"
#include "libmor/SCA_FileSystem.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigUser.h"

namespace {

constexpr const char* kServiceRootFolder = "/var/lib/korvanta";
// Earlier copies moved aside that a new one steps over before giving up.
constexpr uint32_t kMaxBadCopies = 100;

// What each program reports when its start-up loading fails.
struct LoadTexts {
    const char* LoadProduct;
    const char* InvalidProduct;
    const char* LoadUser;
    const char* ResetUser;
};

constexpr LoadTexts kServiceTexts = {
    "Unable to load product configuration.",
    "Product configuration file is invalid.",
    "Unable to load user configuration file.",
    "Unable to reset user configuration file.",
};

constexpr LoadTexts kClientTexts = {
    "Cannot load product configuration file.",
    "Product configuration file is invalid.",
    "Cannot load user configuration file.",
    "Cannot reset user configuration file.",
};

bool IsAbsolute(const char* path) {
    return path != nullptr && path[0] == '/';
}

// base without trailing slashes (a lone "/" stays), then "/leaf" when leaf is not empty.
int JoinFolder(const char* base, const char* leaf, char* folder, uint32_t size) {
    size_t length = std::strlen(base);
    while (length > 1 && base[length - 1] == '/') {
        --length;
    }
    const int written =
        leaf[0] != '\0'
            ? std::snprintf(folder, size, "%.*s/%s", static_cast<int>(length), base, leaf)
            : std::snprintf(folder, size, "%.*s", static_cast<int>(length), base);
    return written > 0 && static_cast<uint32_t>(written) < size ? 1 : 0;
}

const char* HomeFolder(std::string* storage) {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') {
        return home;
    }
    struct passwd entry;
    struct passwd* found = nullptr;
    char buffer[4096];
    if (getpwuid_r(geteuid(), &entry, buffer, sizeof(buffer), &found) != 0 || found == nullptr ||
        found->pw_dir == nullptr) {
        return nullptr;
    }
    *storage = found->pw_dir;
    return storage->c_str();
}

bool PathExists(const char* path) {
    struct stat info;
    return lstat(path, &info) == 0 || errno != ENOENT;
}

void SetCode(uint32_t* code, uint32_t value) {
    if (code != nullptr) {
        *code = value;
    }
}

int CreateProductDefaults(SCA_TezConfig* config) {
    config->SetProductType(SCA_PRODUCT_TYPE_KORVANTA);
    if (!config->InitDefConfig() || !config->SaveConfig()) {
        return 0;
    }
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_INFO, "Product configuration created - %s",
                                              config->GetConfigFilePath());
    return 1;
}

// A usable file is read; a missing one, or a damaged one moved aside, gives way to the
// defaults. A file the system cannot read, or one that could not be moved aside, is never
// overwritten.
int LoadOrCreateProduct(SCA_TezConfig* config) {
    const char* path = config->GetConfigFilePath();
    if (!SCA_IsFileMissing(path)) {
        if (config->LoadConfig()) {
            return 1;
        }
        if (config->GetReadError() != 0 || !SCA_IsFileMissing(path)) {
            return 0;
        }
    }
    return CreateProductDefaults(config);
}

// The password goes to its file before the configuration that holds it is saved, so that a
// saved configuration never has a password nobody can read.
int WriteInitialPassword(SCA_TezConfigUser* userConfig) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    const char* folder = userConfig->GetConfigDir();
    std::string path = std::string(folder) + "/" + SCA_TEZ_INITIAL_PASSWORD_FILE;
    std::string content = std::string(userConfig->GetServerPassword()) + "\n";
    uint32_t error = 0;
    if (!SCA_CreateDirectory(folder, &error) ||
        !SCA_WriteFileAtomic(path.c_str(), content.data(), content.size(), &error)) {
        report(SCA_LEVEL_ERROR, "SCA_LoadUserConfig: cannot write %s (ERR:%u) - %s", path.c_str(),
               error, SCA_ErrorText(error).Get());
        return 0;
    }
    report(SCA_LEVEL_WARNING, "The password of the login user \"%s\" is in %s",
           userConfig->GetServerUserName(), path.c_str());
    return 1;
}

int ResetUserConfig(SCA_TezConfigUser* userConfig, SCA_TezConfig* config, SCA_TezConfigSide side) {
    const char* suffix = side == SCA_TezConfigSide::Client ? SCA_TEZ_CLIENT_SUFFIX : nullptr;
    if (!userConfig->Init(config, suffix) || !userConfig->InitDefConfig(config)) {
        return 0;
    }
    if (side == SCA_TezConfigSide::Service && !WriteInitialPassword(userConfig)) {
        return 0;
    }
    uint32_t error = 0;
    return userConfig->SaveConfig(&error);
}

} // namespace

int SCA_GetConfigFolderFor(const tagSCA_CONFIG_ENV* env, SCA_TezConfigSide side, char* folder,
                           uint32_t size) {
    if (env == nullptr || folder == nullptr || size == 0) {
        return 0;
    }
    folder[0] = '\0';
    if (env->KorvantaHome != nullptr && env->KorvantaHome[0] != '\0') {
        return JoinFolder(env->KorvantaHome, "", folder, size);
    }
    const bool service = side == SCA_TezConfigSide::Service;
    if (service && env->IsRoot) {
        return JoinFolder(kServiceRootFolder, "", folder, size);
    }
    const char* xdg = service ? env->XdgDataHome : env->XdgConfigHome;
    if (IsAbsolute(xdg)) {
        return JoinFolder(xdg, "korvanta", folder, size);
    }
    if (!IsAbsolute(env->Home)) {
        return 0;
    }
    return JoinFolder(env->Home, service ? ".local/share/korvanta" : ".config/korvanta", folder,
                      size);
}

int SCA_GetConfigFolder(SCA_TezConfigSide side, char* folder, uint32_t size) {
    std::string home;
    tagSCA_CONFIG_ENV env = {};
    env.KorvantaHome = std::getenv(SCA_TEZ_HOME_VARIABLE);
    env.XdgDataHome = std::getenv("XDG_DATA_HOME");
    env.XdgConfigHome = std::getenv("XDG_CONFIG_HOME");
    env.Home = HomeFolder(&home);
    env.IsRoot = geteuid() == 0 ? 1 : 0;
    return SCA_GetConfigFolderFor(&env, side, folder, size);
}

int SCA_MakeConfigName(const char* name, char* out, uint32_t size) {
    if (name == nullptr || name[0] == '\0' || out == nullptr || std::strlen(name) >= size) {
        return 0;
    }
    size_t i = 0;
    for (; name[i] != '\0'; ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        out[i] = byte == '/' || byte == '\\' || byte < 0x20 || byte == 0x7F ? '_' : name[i];
    }
    out[i] = '\0';
    return 1;
}

int SCA_ReadStoredConfig(SCA_ConfigObj* root, const char* path, const char* context,
                         uint32_t* readError) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    uint32_t error = 0;
    *readError = 0;
    if (root->Load(path, &error)) {
        return 1;
    }
    // Only whoever can read a file can tell whether it is sound.
    if (!SCA_IsConfigContentError(error)) {
        report(SCA_LEVEL_ERROR, "%s: cannot read %s (ERR:%u) - %s; it is left as it is", context,
               path, error, SCA_ErrorText(error).Get());
        *readError = error;
        return 0;
    }
    report(SCA_LEVEL_WARNING, "%s: cannot read %s (ERR:%u) - %s", context, path, error,
           SCA_ErrorText(error).Get());
    return 0;
}

int SCA_MoveConfigAside(const char* path, const char* context, char* movedTo, uint32_t size) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    std::string target;
    for (uint32_t copy = 0; copy < kMaxBadCopies; ++copy) {
        target = std::string(path) + SCA_TEZ_BAD_FILE_SUFFIX;
        if (copy > 0) {
            target += "." + std::to_string(copy);
        }
        if (PathExists(target.c_str())) {
            continue;
        }
        if (std::rename(path, target.c_str()) != 0) {
            const auto error = static_cast<uint32_t>(errno);
            report(SCA_LEVEL_ERROR, "%s: cannot move %s to %s (ERR:%u) - %s", context, path,
                   target.c_str(), error, SCA_ErrorText(error).Get());
            return 0;
        }
        report(SCA_LEVEL_WARNING, "%s: %s moved to %s", context, path, target.c_str());
        if (movedTo != nullptr && size > 0) {
            SCA_StrnCpy(movedTo, target.c_str(), size);
        }
        return 1;
    }
    report(SCA_LEVEL_ERROR, "%s: cannot move %s aside: %u earlier copies are in the way", context,
           path, kMaxBadCopies);
    return 0;
}

int SCA_LoadProductConfig(SCA_TezConfig* config, const char* configName, SCA_TezConfigSide side,
                          uint32_t* code) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    const LoadTexts& texts = side == SCA_TezConfigSide::Client ? kClientTexts : kServiceTexts;
    const char* name = configName != nullptr ? configName : SCA_TEZ_DEFAULT_CONF_NAME;
    if (config == nullptr || !config->Init(name, side) || !LoadOrCreateProduct(config)) {
        report(SCA_LEVEL_ERROR, "%s", texts.LoadProduct);
        SetCode(code, SCA_TEZ_LOAD_PRODUCT_FAILED);
        return 0;
    }
    if (config->GetProductType() != SCA_PRODUCT_TYPE_KORVANTA) {
        report(SCA_LEVEL_ERROR, "%s", texts.InvalidProduct);
        SetCode(code, SCA_TEZ_PRODUCT_INVALID);
        return 0;
    }
    return 1;
}

int SCA_LoadUserConfig(SCA_TezConfigUser* userConfig, SCA_TezConfig* config, SCA_TezConfigSide side,
                       uint32_t* code) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    const LoadTexts& texts = side == SCA_TezConfigSide::Client ? kClientTexts : kServiceTexts;
    const char* suffix = side == SCA_TezConfigSide::Client ? SCA_TEZ_CLIENT_SUFFIX : nullptr;
    if (userConfig == nullptr || config == nullptr || !userConfig->Init(config, suffix)) {
        report(SCA_LEVEL_ERROR, "%s", texts.LoadUser);
        SetCode(code, SCA_TEZ_LOAD_USER_FAILED);
        return 0;
    }
    const std::string path = userConfig->GetConfigFilePath();
    const bool existed = SCA_IsFileMissing(path.c_str()) == 0;
    if (existed) {
        if (userConfig->LoadConfig(config)) {
            return 1;
        }
        // Defaults over a file this program could not read would lose the login and everything
        // else it holds: the start stops instead, with the file as it is.
        if (userConfig->GetReadError() != 0) {
            report(SCA_LEVEL_ERROR, "%s", texts.LoadUser);
            SetCode(code, SCA_TEZ_LOAD_USER_FAILED);
            return 0;
        }
        // The line break is the text's own, so it stands in the format, not in an argument.
        report(SCA_LEVEL_WARNING,
               "User configuration file is corrupted.\nReseting the current user profile to the "
               "default configuration.");
    }
    // A file still in place could not be moved aside: it is kept, never overwritten.
    if ((existed && !SCA_IsFileMissing(path.c_str())) ||
        !ResetUserConfig(userConfig, config, side)) {
        report(SCA_LEVEL_ERROR, "%s", texts.ResetUser);
        SetCode(code, SCA_TEZ_RESET_USER_FAILED);
        return 0;
    }
    if (!existed) {
        report(SCA_LEVEL_INFO, "User configuration created - %s", path.c_str());
    }
    return 1;
}
