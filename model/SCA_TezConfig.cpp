// SPDX-License-Identifier: MIT
#include "model/SCA_TezConfig.h"

#include <cstdio>
#include <cstring>

#include "libmor/SCA_ErrorText.h"
#include "libmor/SCA_FileSystem.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_Time.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezRecordFields.h"
#include "model/SCA_TezSettingReader.h"

namespace {

constexpr const char* kSignatures = "Signatures";
// Web access and the built-in web server are off until a user turns them on; this is the port
// they then use.
constexpr uint16_t kWebPort = 24580;
constexpr uint16_t kUpdatePort = 443;

// Longest configuration name and folder path: the user configuration's file name and the
// folders made from the path ("<folder>/saved-reports") must fit in 256-byte texts.
constexpr uint32_t kMaxNameLength = 200;
constexpr uint32_t kMaxFolderLength = 223;

struct ProductInfo {
    uint32_t Type;
    uint16_t ControlPort;
    const char* Name;
};

// Unprivileged ports that no common service uses, below the kernel's range of ephemeral ports,
// each ending in its product type.
constexpr ProductInfo kProducts[] = {
    {SCA_PRODUCT_TYPE_KORVANTA, 24503, "Korvanta"},
    {SCA_PRODUCT_TYPE_DEVICE, 24504, "Korvanta Device"},
    {SCA_PRODUCT_TYPE_NETWORK, 24505, "Korvanta Network Server"},
};

const ProductInfo* FindProduct(uint32_t productType) {
    for (const ProductInfo& product : kProducts) {
        if (product.Type == productType) {
            return &product;
        }
    }
    return nullptr;
}

// "<folder>/<leaf>", or empty without a folder.
template <size_t Size>
void MakePath(char (&out)[Size], const char* folder, const char* leaf) {
    out[0] = '\0';
    if (folder[0] != '\0' &&
        static_cast<size_t>(std::snprintf(out, Size, "%s/%s", folder, leaf)) >= Size) {
        out[0] = '\0';
    }
}

} // namespace

uint16_t SCA_GetControlPort(uint32_t productType) {
    const ProductInfo* product = FindProduct(productType);
    return product != nullptr ? product->ControlPort : 0;
}

const char* SCA_GetProductName(uint32_t productType) {
    const ProductInfo* product = FindProduct(productType);
    return product != nullptr ? product->Name : "Unknown Product";
}

SCA_TezConfig::SCA_TezConfig(uint32_t productType) : m_Signatures(kSignatures, nullptr) {
    m_Settings.ProductType = productType;
    if (m_Signatures.IsConstructed()) {
        SetConstructed();
    }
}

SCA_TezConfig::SCA_TezConfig(const SCA_TezConfig& other)
    : SCA_Object(other), m_Settings(other.m_Settings), m_Location(other.m_Location),
      m_Signatures(other.m_Signatures), m_FileKept(other.m_FileKept),
      m_ReadError(other.m_ReadError) {
    if (!m_Signatures.IsConstructed()) {
        SetConstructed(0);
    }
}

SCA_TezConfig& SCA_TezConfig::operator=(const SCA_TezConfig& other) {
    if (this == &other) {
        return *this;
    }
    SCA_Object::operator=(other);
    m_Settings = other.m_Settings;
    m_Location = other.m_Location;
    m_FileKept = other.m_FileKept;
    m_ReadError = other.m_ReadError;
    // SetContent only reads its source.
    if (!m_Signatures.SetContent(const_cast<SCA_ConfigObj*>(&other.m_Signatures))) {
        SetConstructed(0);
    }
    return *this;
}

int SCA_TezConfig::Init(const char* configurationName, SCA_TezConfigSide side) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    Location location;
    if (!SCA_MakeConfigName(configurationName, location.Name, kMaxNameLength + 1)) {
        report(SCA_LEVEL_ERROR, "SCA_TezConfig::Init: invalid configuration name");
        return 0;
    }
    char folder[4096];
    if (!SCA_GetConfigFolder(side, folder, sizeof(folder))) {
        report(SCA_LEVEL_ERROR, "SCA_TezConfig::Init: no configuration folder");
        return 0;
    }
    if (std::strlen(folder) > kMaxFolderLength) {
        report(SCA_LEVEL_ERROR, "SCA_TezConfig::Init: configuration folder path too long - %s",
               folder);
        return 0;
    }
    SCA_StrnCpy(location.Folder, folder, sizeof(location.Folder));
    char fileName[SCA_TEZ_TEXT_SIZE];
    if (static_cast<size_t>(std::snprintf(fileName, sizeof(fileName), "%s.hdx", location.Name)) >=
        sizeof(fileName)) {
        report(SCA_LEVEL_ERROR, "SCA_TezConfig::Init: invalid configuration name");
        return 0;
    }
    MakePath(location.FilePath, location.Folder, fileName);
    if (std::strcmp(location.FilePath, m_Location.FilePath) != 0) {
        m_FileKept = false;
    }
    m_Location = location;
    SetConfigFileName(fileName);
    return InitDefConfig();
}

int SCA_TezConfig::InitDefConfig() {
    Settings defaults;
    defaults.ProductType = m_Settings.ProductType;
    std::memcpy(defaults.ConfigFileName, m_Settings.ConfigFileName,
                sizeof(defaults.ConfigFileName));
    SCA_StrnCpy(defaults.RootDir, m_Location.Folder, sizeof(defaults.RootDir));
    MakePath(defaults.HttpdDir, m_Location.Folder, "httpd");
    MakePath(defaults.PluginsDir, m_Location.Folder, "plugins");
    SCA_StrnCpy(defaults.WebServerName, "localhost", sizeof(defaults.WebServerName));
    SCA_StrnCpy(defaults.WebDirectory, "/", sizeof(defaults.WebDirectory));
    defaults.WebPortNumber = kWebPort;
    defaults.UpdatePortNumber = kUpdatePort;
    defaults.ControlPort = SCA_GetControlPort(defaults.ProductType);
    defaults.WebAccessPort = kWebPort;
    m_Settings = defaults;
    m_Signatures.Clear();
    return 1;
}

int SCA_TezConfig::LoadConfig() {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    m_ReadError = 0;
    if (!HasLocation()) {
        report(SCA_LEVEL_ERROR, "SCA_TezConfig::LoadConfig: no configuration file (Init first)");
        return 0;
    }
    if (SCA_IsFileMissing(m_Location.FilePath)) {
        report(SCA_LEVEL_ERROR, "SCA_TezConfig::LoadConfig: no configuration file - %s",
               m_Location.FilePath);
        return 0;
    }
    SCA_ConfigObj root(SCA_TEZ_PRODUCT_CONFIG_ROOT, nullptr);
    const int loaded =
        SCA_ReadStoredConfig(&root, m_Location.FilePath, "SCA_TezConfig::LoadConfig", &m_ReadError);
    if (m_ReadError != 0) {
        m_FileKept = true;
        return 0;
    }
    if (loaded && std::strcmp(root.GetName(), SCA_TEZ_PRODUCT_CONFIG_ROOT) != 0) {
        report(SCA_LEVEL_WARNING, "SCA_TezConfig::LoadConfig: not a product configuration - %s",
               m_Location.FilePath);
    } else if (loaded && ReadFrom(&root, true, "SCA_TezConfig::LoadConfig")) {
        m_FileKept = false;
        return 1;
    }
    m_FileKept = !SCA_MoveConfigAside(m_Location.FilePath, "SCA_TezConfig::LoadConfig", nullptr, 0);
    return 0;
}

int SCA_TezConfig::SaveConfig() {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    if (!HasLocation()) {
        report(SCA_LEVEL_ERROR, "SCA_TezConfig::SaveConfig: no configuration file (Init first)");
        return 0;
    }
    if (m_FileKept) {
        report(SCA_LEVEL_ERROR, "SCA_TezConfig::SaveConfig: %s is unusable and kept as it is",
               m_Location.FilePath);
        return 0;
    }
    uint32_t error = 0;
    if (!SCA_CreateDirectory(m_Location.Folder, &error)) {
        report(SCA_LEVEL_ERROR, "SCA_TezConfig::SaveConfig: cannot create folder %s (ERR:%u) - %s",
               m_Location.Folder, error, SCA_ErrorText(error).Get());
        return 0;
    }
    const Settings before = m_Settings;
    m_Settings.SaveTime = SCA_GetAbsTime();
    GetSavedProductVersion(SCA_TEZ_PRODUCT_VERSION);
    SCA_ConfigObj root(SCA_TEZ_PRODUCT_CONFIG_ROOT, nullptr);
    if (!root.IsConstructed() || !Serialize(&root) ||
        !root.Save(m_Location.FilePath, SCA_TEZ_PRODUCT_CONFIG_FILE_TYPE, 0, &error)) {
        report(SCA_LEVEL_ERROR, "SCA_TezConfig::SaveConfig: cannot save %s (ERR:%u) - %s",
               m_Location.FilePath, error, SCA_ErrorText(error).Get());
        m_Settings = before;
        return 0;
    }
    return 1;
}

int SCA_TezConfig::Serialize(SCA_ConfigObj* object) {
    SCA_TezFieldWriter writer(object);
    writer.Put(SCA_TEZ_FILE_TYPE_FIELD, SCA_TEZ_PRODUCT_CONFIG_FILE_TYPE);
#define SCA_TEZ_PUT_SETTING(Name, ...) writer.Put(#Name, m_Settings.Name);
    SCA_TEZ_PRODUCT_SETTINGS(SCA_TEZ_PUT_SETTING)
#undef SCA_TEZ_PUT_SETTING
    SCA_ConfigObj* signatures = writer.PutObject(kSignatures);
    if (!writer.IsOk() || !signatures->SetContent(&m_Signatures)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "SCA_TezConfig::Serialize: cannot add fields");
        return 0;
    }
    return 1;
}

int SCA_TezConfig::Deserialize(SCA_ConfigObj* object) {
    return ReadFrom(object, false, "SCA_TezConfig::Deserialize");
}

int SCA_TezConfig::ReadFrom(SCA_ConfigObj* object, bool takeProductType, const char* context) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    SCA_TezSettingReader reader(object);
    uint32_t fileType = SCA_TEZ_PRODUCT_CONFIG_FILE_TYPE;
    reader.Get(SCA_TEZ_FILE_TYPE_FIELD, &fileType);
    Settings read = m_Settings;
#define SCA_TEZ_GET_SETTING(Name, ...) reader.Get(#Name, &read.Name);
    SCA_TEZ_PRODUCT_SETTINGS(SCA_TEZ_GET_SETTING)
#undef SCA_TEZ_GET_SETTING
    SCA_ConfigObj* signatures = reader.GetObject(kSignatures);
    if (!reader.IsOk()) {
        report(SCA_LEVEL_ERROR, "%s: invalid field - %s", context, reader.GetBadField());
        return 0;
    }
    if (fileType != SCA_TEZ_PRODUCT_CONFIG_FILE_TYPE) {
        report(SCA_LEVEL_ERROR, "%s: not a product configuration (file type %u)", context,
               fileType);
        return 0;
    }
    if (!takeProductType && m_Settings.ProductType != SCA_PRODUCT_TYPE_NONE &&
        read.ProductType != m_Settings.ProductType) {
        report(SCA_LEVEL_ERROR, "%s: product type %u is not %u", context, read.ProductType,
               m_Settings.ProductType);
        return 0;
    }
    if (HasLocation()) {
        std::memcpy(read.ConfigFileName, m_Settings.ConfigFileName, sizeof(read.ConfigFileName));
    }
    if (signatures != nullptr && !m_Signatures.SetContent(signatures)) {
        report(SCA_LEVEL_ERROR, "%s: cannot read the signatures", context);
        return 0;
    }
    m_Settings = read;
    return 1;
}

const char* SCA_TezConfig::GetProductName() const {
    return m_Settings.OemProductName[0] != '\0' ? m_Settings.OemProductName
                                                : SCA_GetProductName(m_Settings.ProductType);
}
