// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Object.h"
#include "libmor/SCA_Version.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezConfigFiles.h"
#include "model/SCA_TezSettingTable.h"

// Product types: this product (the service and the client), a device of a central network
// server, and that network server.
inline constexpr uint32_t SCA_PRODUCT_TYPE_KORVANTA = 503;
inline constexpr uint32_t SCA_PRODUCT_TYPE_DEVICE = 504;
inline constexpr uint32_t SCA_PRODUCT_TYPE_NETWORK = 505;
inline constexpr uint32_t SCA_PRODUCT_TYPE_NONE = SCA_ALL_ONES;

inline constexpr const char* SCA_TEZ_PRODUCT_VERSION = SCA_PRODUCT_VERSION;

// The product configuration's file and stored form: root object and file type, and the header
// fields that say what a stored form holds.
inline constexpr const char* SCA_TEZ_PRODUCT_CONFIG_ROOT = "ProductConfig";
inline constexpr uint32_t SCA_TEZ_PRODUCT_CONFIG_FILE_TYPE = 1010;
inline constexpr const char* SCA_TEZ_FILE_TYPE_FIELD = "FileType";
inline constexpr const char* SCA_TEZ_PRODUCT_TYPE_FIELD = "ProductType";

// The default control port of a product type (503 the service, 504 a device, 505 the central
// network server); 0 for a type without one. The ports are documented in README.md.
uint16_t SCA_GetControlPort(uint32_t productType);
// The display name of a product type ("Unknown Product" for a type that is not known).
const char* SCA_GetProductName(uint32_t productType);

// The settings of the installed product, row by row: X(Name, Kind).
#define SCA_TEZ_PRODUCT_SETTINGS(X)                                                                \
    X(ProductType, Number)                                                                         \
    X(SaveTime, Time)                                                                              \
    X(ConfigFileName, Text)                                                                        \
    X(SavedProductVersion, Version)                                                                \
    X(RootDir, Text)                                                                               \
    X(HttpdDir, Text)                                                                              \
    X(PluginsDir, Text)                                                                            \
    X(WebServerName, Text)                                                                         \
    X(WebDirectory, Text)                                                                          \
    X(WebPortNumber, Port)                                                                         \
    X(UpdateServerName, Text)                                                                      \
    X(UpdateResourceName, Text)                                                                    \
    X(UpdatePortNumber, Port)                                                                      \
    X(OnlineHelpUrl, Text)                                                                         \
    X(ReleaseNotesUrl, Text)                                                                       \
    X(ProductPageUrl, Text)                                                                        \
    X(ControlPort, Port)                                                                           \
    X(WebAccessPort, Port)                                                                         \
    X(OemProductName, Text)                                                                        \
    X(OemProductUrl, Text)                                                                         \
    X(OemVendorName, Text)                                                                         \
    X(OemVendorUrl, Text)

// The product configuration: product type, directories, web and update servers, help and
// product addresses, control and web-access ports, re-branding, and signatures. The service
// and the client each hold one of type 503; a copy is complete and independent (signatures
// included).
//
// Where it lives: Init chooses the folder of the program's side and the file by configuration
// name (SCA_TezConfigFiles.h); that location belongs to this process and is copied, but never
// stored in the configuration's form nor taken from another's.
class SCA_TezConfig : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    // An empty configuration of that product type (all ones: not known yet, taken from the
    // first file or form read).
    explicit SCA_TezConfig(uint32_t productType);
    // Flag 0 when the signatures cannot be copied.
    SCA_TezConfig(const SCA_TezConfig& other);
    // On a failed copy of the signatures the flag becomes 0.
    SCA_TezConfig& operator=(const SCA_TezConfig& other);
    ~SCA_TezConfig() override = default;

    SCA_TEZ_PRODUCT_SETTINGS(SCA_TEZ_SETTING_ACCESSORS)

    SCA_ConfigObj* GetSignatures() { return &m_Signatures; }

    // Sets the location: the side's folder and the file of the configuration name (bytes that
    // cannot be part of a file name become '_'), then fills every setting with its default.
    // 0 (reported) for a null or empty name, when there is no folder, or when the folder's path
    // leaves no room for the paths made from it in the 256-byte texts.
    int Init(const char* configurationName, SCA_TezConfigSide side = SCA_TezConfigSide::Service);
    // Every setting but the product type and the file name back to its default for the
    // product type; signatures emptied.
    int InitDefConfig();
    // Reads the file. A missing file answers 0. One that is damaged (fails its checksum or does
    // not parse) or is not a product configuration is moved aside (SCA_MoveConfigAside) and
    // answers 0. One that the system cannot open or read (EACCES, EIO, ...) may well be sound:
    // it answers 0 (reported at level 5 with the path and the system's reason), stays where it
    // is and is never saved over, and GetReadError tells why. The product type is taken from
    // the file, for the caller to check.
    int LoadConfig();
    // The errno value that kept the last LoadConfig from reading the file; 0 when it could read
    // it, whatever it found.
    uint32_t GetReadError() const { return m_ReadError; }
    // Writes the file atomically with mode 0600 (the folder is created when missing), after
    // stamping the save time and the product version. Refused while an unusable file that could
    // not be moved aside is in the way.
    int SaveConfig();

    // The stored form: "FileType" 1010, "ProductType", every setting by name, and the child
    // object "Signatures".
    int Serialize(SCA_ConfigObj* object);
    // Reads the stored form back; absent fields keep their values. A form of another product
    // type is refused while this configuration has one; the file name stays once Init has set
    // a location. On failure (reported) nothing changes.
    int Deserialize(SCA_ConfigObj* object);

    // The re-branded product name when one is set, else SCA_GetProductName of the type.
    const char* GetProductName() const;

    // The location set by Init (empty before).
    const char* GetConfigFolder() const { return m_Location.Folder; }
    const char* GetConfigName() const { return m_Location.Name; }
    const char* GetConfigFilePath() const { return m_Location.FilePath; }
    int HasLocation() const { return m_Location.FilePath[0] != '\0' ? 1 : 0; }

private:
    struct Settings {
        SCA_TEZ_PRODUCT_SETTINGS(SCA_TEZ_SETTING_MEMBER)
    };
    // The two texts of the monitoring core, the configuration's folder and name, and the file
    // made of them.
    struct Location {
        char Folder[SCA_TEZ_TEXT_SIZE] = {};
        char Name[SCA_TEZ_TEXT_SIZE] = {};
        char FilePath[2 * SCA_TEZ_TEXT_SIZE] = {};
    };

    // Reads the stored form into the settings; takeProductType says whether the form's type
    // replaces this one's whatever it is (a file) or must match it (a form sent by a peer).
    int ReadFrom(SCA_ConfigObj* object, bool takeProductType, const char* context);

    Settings m_Settings;
    Location m_Location;
    SCA_ConfigObj m_Signatures;
    // The file could not be read nor moved aside: it is kept as it is and never saved over.
    bool m_FileKept = false;
    uint32_t m_ReadError = 0;
};
