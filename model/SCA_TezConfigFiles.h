// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

class SCA_ConfigObj;

class SCA_TezConfig;
class SCA_TezConfigUser;

// Where the configuration files live and how the programs load them at start.
//
// Folder (SCA_GetConfigFolder):
// - KORVANTA_HOME, when set and not empty, is the folder, for either program;
// - the service: /var/lib/korvanta when it runs as root, otherwise $XDG_DATA_HOME/korvanta, or
//   ~/.local/share/korvanta when XDG_DATA_HOME is unset or not an absolute path;
// - the client: $XDG_CONFIG_HOME/korvanta, or ~/.config/korvanta.
// Files in the folder, named by the configuration name ("conf_name", "korva" by default): the
// product configuration "<name>.hdx", the service's user configuration "<name>_user.hdx" and
// the client's "<name>_user_client.hdx"; beside them the service's "initial-password".

enum class SCA_TezConfigSide : uint32_t { Service = 0, Client = 1 };

inline constexpr const char* SCA_TEZ_HOME_VARIABLE = "KORVANTA_HOME";
inline constexpr const char* SCA_TEZ_DEFAULT_CONF_NAME = "korva";
inline constexpr const char* SCA_TEZ_CLIENT_SUFFIX = "_client";
inline constexpr const char* SCA_TEZ_INITIAL_PASSWORD_FILE = "initial-password";
inline constexpr const char* SCA_TEZ_BAD_FILE_SUFFIX = ".bad";

// Codes the service stores when its start-up loading fails.
inline constexpr uint32_t SCA_TEZ_LOAD_PRODUCT_FAILED = 106;
inline constexpr uint32_t SCA_TEZ_PRODUCT_INVALID = 107;
inline constexpr uint32_t SCA_TEZ_LOAD_USER_FAILED = 108;
inline constexpr uint32_t SCA_TEZ_RESET_USER_FAILED = 109;

// What decides the folder, so that the rule can be checked without changing the process's
// environment. Null texts are unset variables.
struct tagSCA_CONFIG_ENV {
    const char* KorvantaHome;
    const char* XdgDataHome;
    const char* XdgConfigHome;
    const char* Home; // the home folder: $HOME, else the password database's entry
    int IsRoot;       // the effective user is root
};

// The folder of a program's configuration files by the rule above, bounded by size. 0 when no
// rule gives a folder (no home folder) or it does not fit.
int SCA_GetConfigFolderFor(const tagSCA_CONFIG_ENV* env, SCA_TezConfigSide side, char* folder,
                           uint32_t size);
// The same for this process.
int SCA_GetConfigFolder(SCA_TezConfigSide side, char* folder, uint32_t size);

// A configuration name made fit to be part of a file name in the folder: '/', '\\', control
// bytes and DEL become '_', so that no name leaves the folder. 0 for a null or empty name, or
// one that does not fit in size bytes.
int SCA_MakeConfigName(const char* name, char* out, uint32_t size);

// Moves a configuration file that cannot be used out of the way, never deleting anything: to
// path + ".bad", or to path + ".bad.1", ".bad.2", ... when earlier ones are there. Reported at
// level 4 with the context ("Class::Method") and both paths. movedTo (may be null) receives the
// new path. 0 (reported at level 5) when the file cannot be moved; it is then left where it is.
int SCA_MoveConfigAside(const char* path, const char* context, char* movedTo, uint32_t size);

// Reads the stored configuration at path into root for the LoadConfig of context
// ("Class::LoadConfig"); 1 when it was read. A file the system cannot open or read (EACCES,
// EIO, ...) may well be sound: it is reported at level 5 with the reason and "it is left as it
// is", and *readError receives the errno value. A file read that holds no configuration (it
// fails its checksum or does not parse) is reported at level 4, for the caller to move aside;
// *readError is then 0.
int SCA_ReadStoredConfig(SCA_ConfigObj* root, const char* path, const char* context,
                         uint32_t* readError);

// Start-up loading of the product configuration: Init with the configuration name (null: the
// default) in the side's folder, then the file. A missing file is created from the defaults of
// this product (type 503); a corrupted one is moved aside and replaced by the defaults. A file
// that is there but that the system cannot open or read (EACCES, EIO, ...) fails the load and
// is left as it is, as is a file of another product type. Failures are reported
// at level 5 with the texts of the side ("Unable to load product configuration." or "Product
// configuration file is invalid." for the service) and store 106 or 107 in code (may be null).
int SCA_LoadProductConfig(SCA_TezConfig* config, const char* configName, SCA_TezConfigSide side,
                          uint32_t* code);

// Start-up loading of a user configuration bound to a loaded product configuration (the
// client's is named with the suffix "_client"). A missing file is created from the defaults; a
// corrupted one is reported at level 4 ("User configuration file is corrupted.\nReseting the
// current user profile to the default configuration."), moved aside, and replaced by the
// defaults. A file that is there but that the system cannot open or read fails the load (108)
// with nothing moved, reset or written. When the service creates defaults, the new password
// of its login user "admin" is written to "initial-password" (mode 0600) in the folder first,
// and where it is is reported. Failures are reported at level 5 and store 108 or 109 in code.
int SCA_LoadUserConfig(SCA_TezConfigUser* userConfig, SCA_TezConfig* config, SCA_TezConfigSide side,
                       uint32_t* code);
