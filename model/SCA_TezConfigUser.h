// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Object.h"
#include "libmor/SCA_Snapshot.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_KeyCommand.h"
#include "model/SCA_LlmServerList.h"
#include "model/SCA_OwnerList.h"
#include "model/SCA_SoundList.h"
#include "model/SCA_SrvConnectList.h"
#include "model/SCA_TezLogonMode.h"
#include "model/SCA_TezMonitorList.h"
#include "model/SCA_TezProcessRules.h"
#include "model/SCA_TezProfileList.h"
#include "model/SCA_TezRuleList.h"
#include "model/SCA_TezSettingTable.h"

class SCA_TezConfig;

// The keyboard shortcuts of a user configuration, each node named by its key text.
using SCA_KeyCommandList = SCA_OwnerList<SCA_KeyCommand>;

// The user configuration's file and stored form. "FileType" 1011 is also what an exported
// server configuration carries.
inline constexpr const char* SCA_TEZ_USER_CONFIG_ROOT = "UserConfig";
inline constexpr uint32_t SCA_TEZ_USER_CONFIG_FILE_TYPE = 1011;

// The parts of a user configuration, the bits of Deserialize's mask (see there).
inline constexpr uint32_t SCA_TEZ_USER_SETTINGS = 0x001;
inline constexpr uint32_t SCA_TEZ_USER_PROFILES = 0x002;
inline constexpr uint32_t SCA_TEZ_USER_MONITORS = 0x004;
inline constexpr uint32_t SCA_TEZ_USER_RULES = 0x008;
inline constexpr uint32_t SCA_TEZ_USER_PROC_RULES = 0x010;
inline constexpr uint32_t SCA_TEZ_USER_OPTIONS = 0x020;
inline constexpr uint32_t SCA_TEZ_USER_REMOTE = 0x040;
inline constexpr uint32_t SCA_TEZ_USER_CONNECT = 0x080;
inline constexpr uint32_t SCA_TEZ_USER_NETWORK = 0x100;
inline constexpr uint32_t SCA_TEZ_USER_STATE = 0x200;
inline constexpr uint32_t SCA_TEZ_USER_ALL = SCA_ALL_ONES;
// What the client's options dialog edits: 33.
inline constexpr uint32_t SCA_TEZ_USER_OPTIONS_DIALOG =
    SCA_TEZ_USER_SETTINGS | SCA_TEZ_USER_OPTIONS;

// The client options a user configuration of this product starts with.
inline constexpr const char* SCA_OPTION_SHOW_MAIN_TOOLBAR = "Show Main Toolbar";
inline constexpr const char* SCA_OPTION_SAVE_LAST_GUI_LAYOUT = "Save Last GUI Layout";
inline constexpr const char* SCA_OPTION_SHOW_VERBOSE_MESSAGES = "Show Verbose Debug Messages";
inline constexpr const char* SCA_OPTION_TRAY_ERRORS = "Show Error Messages in System Tray";
inline constexpr const char* SCA_OPTION_TRAY_STATUS = "Show Status Messages in System Tray";
inline constexpr const char* SCA_OPTION_MINIMIZE_TO_TRAY = "Minimize To System Tray";
inline constexpr const char* SCA_OPTION_START_MINIMIZED = "Start Minimized";
// The service's: login modes 0 and 1 served to clients on other computers too. Their login
// data's encryption hides nothing from someone who watches the connection, so its name says
// what turning it on exposes.
inline constexpr const char* SCA_OPTION_REMOTE_OPEN_LOGINS =
    "Remote Logins In Modes 0 And 1 (Passwords Readable On The Network, Mode 0 Lets Any Name In)";

// The user name of the service's login that a new configuration starts with; its password is
// made at random.
inline constexpr const char* SCA_TEZ_DEFAULT_LOGIN_USER = "admin";

// One default advanced option.
struct tagSCA_ADVANCED_OPTION {
    char Name[SCA_TEZ_TEXT_SIZE];
    int Value;
};

// The plain settings, row by row: X(Name, Kind, Section). The section is the mask bit that
// Deserialize reads the setting under.
#define SCA_TEZ_USER_CONFIG_SETTINGS(X)                                                            \
    X(FirstStart, Switch, SCA_TEZ_USER_STATE)                                                      \
    X(StartCount, Number, SCA_TEZ_USER_STATE)                                                      \
    X(SaveTime, Time, SCA_TEZ_USER_STATE)                                                          \
    X(ConfigDir, Text, SCA_TEZ_USER_STATE)                                                         \
    X(ConfigFileName, Text, SCA_TEZ_USER_STATE)                                                    \
    X(ReportsDir, Text, SCA_TEZ_USER_SETTINGS)                                                     \
    X(SavedProductVersion, Version, SCA_TEZ_USER_STATE)                                            \
    X(ProcessLogLength, Number, SCA_TEZ_USER_SETTINGS)                                             \
    X(ProcessMonUpdateTime, Number, SCA_TEZ_USER_SETTINGS)                                         \
    X(ErrorMode, Number, SCA_TEZ_USER_SETTINGS)                                                    \
    X(DebugLevel, Number, SCA_TEZ_USER_SETTINGS)                                                   \
    X(ConnectMode, Number, SCA_TEZ_USER_SETTINGS)                                                  \
    X(ProxyServer, Text, SCA_TEZ_USER_SETTINGS)                                                    \
    X(ProxyPort, Port, SCA_TEZ_USER_SETTINGS)                                                      \
    X(SaveReportFormat, Number, SCA_TEZ_USER_SETTINGS)                                             \
    X(SaveReportMode, Number, SCA_TEZ_USER_SETTINGS)                                               \
    X(CounterDataHistory, Number, SCA_TEZ_USER_SETTINGS)                                           \
    X(CounterMinutesHistory, Number, SCA_TEZ_USER_SETTINGS)                                        \
    X(CounterHoursHistory, Number, SCA_TEZ_USER_SETTINGS)                                          \
    X(ErrorsHistoryLength, Number, SCA_TEZ_USER_SETTINGS)                                          \
    X(ReportsHistoryLength, Number, SCA_TEZ_USER_SETTINGS)                                         \
    X(MaxDatabaseReports, Number, SCA_TEZ_USER_SETTINGS)                                           \
    X(ComparisonMajorChange, Number, SCA_TEZ_USER_SETTINGS)                                        \
    X(ComparisonMinorChange, Number, SCA_TEZ_USER_SETTINGS)                                        \
    X(EnableDebugPermissions, Switch, SCA_TEZ_USER_SETTINGS)                                       \
    X(SaveReports, Switch, SCA_TEZ_USER_SETTINGS)                                                  \
    X(SaveReportsTime, Number, SCA_TEZ_USER_SETTINGS)                                              \
    X(SaveReportsFormat, Number, SCA_TEZ_USER_SETTINGS)                                            \
    X(SaveReportsMode, Number, SCA_TEZ_USER_SETTINGS)                                              \
    X(SaveReportsDir, Text, SCA_TEZ_USER_SETTINGS)                                                 \
    X(SendReports, Switch, SCA_TEZ_USER_SETTINGS)                                                  \
    X(SendReportsTime, Number, SCA_TEZ_USER_SETTINGS)                                              \
    X(SendReportsFormat, Number, SCA_TEZ_USER_SETTINGS)                                            \
    X(SendReportsMode, Number, SCA_TEZ_USER_SETTINGS)                                              \
    X(SendReportsEmail, Text, SCA_TEZ_USER_SETTINGS)                                               \
    X(DefaultReportTitle, Text, SCA_TEZ_USER_SETTINGS)                                             \
    X(RepeatSoundActions, Switch, SCA_TEZ_USER_SETTINGS)                                           \
    X(RepeatSoundActionsTime, Number, SCA_TEZ_USER_SETTINGS)                                       \
    X(RepeatEmailActions, Switch, SCA_TEZ_USER_SETTINGS)                                           \
    X(RepeatEmailActionsTime, Number, SCA_TEZ_USER_SETTINGS)                                       \
    X(RepeatReportActions, Switch, SCA_TEZ_USER_SETTINGS)                                          \
    X(RepeatReportActionsTime, Number, SCA_TEZ_USER_SETTINGS)                                      \
    X(RepeatLogActions, Switch, SCA_TEZ_USER_SETTINGS)                                             \
    X(RepeatLogActionsTime, Number, SCA_TEZ_USER_SETTINGS)                                         \
    X(RepeatUserActions, Switch, SCA_TEZ_USER_SETTINGS)                                            \
    X(RepeatUserActionsTime, Number, SCA_TEZ_USER_SETTINGS)                                        \
    X(EnableEmail, Switch, SCA_TEZ_USER_SETTINGS)                                                  \
    X(EmailServer, Text, SCA_TEZ_USER_SETTINGS)                                                    \
    X(EmailServerPort, Port, SCA_TEZ_USER_SETTINGS)                                                \
    X(EmailAccount, Text, SCA_TEZ_USER_SETTINGS)                                                   \
    X(EmailPassword, Text, SCA_TEZ_USER_SETTINGS)                                                  \
    X(EmailAddress, Text, SCA_TEZ_USER_SETTINGS)                                                   \
    X(EmailConnectMode, Number, SCA_TEZ_USER_SETTINGS)                                             \
    X(EmailSecureConnect, Switch, SCA_TEZ_USER_SETTINGS)                                           \
    X(EmailLogin, Switch, SCA_TEZ_USER_SETTINGS)                                                   \
    X(EnableOdbc, Switch, SCA_TEZ_USER_SETTINGS)                                                   \
    X(OdbcDataSource, Text, SCA_TEZ_USER_SETTINGS)                                                 \
    X(OdbcUser, Text, SCA_TEZ_USER_SETTINGS)                                                       \
    X(OdbcPassword, Text, SCA_TEZ_USER_SETTINGS)                                                   \
    X(DeviceId, Number, SCA_TEZ_USER_NETWORK)                                                      \
    X(DevHostName, Text, SCA_TEZ_USER_NETWORK)                                                     \
    X(NetHostName, Text, SCA_TEZ_USER_NETWORK)                                                     \
    X(DevUpdatePeriod, Number, SCA_TEZ_USER_SETTINGS)                                              \
    X(MaxPendingStatus, Number, SCA_TEZ_USER_SETTINGS)                                             \
    X(GuiGeometry, Text, SCA_TEZ_USER_STATE)                                                       \
    X(LayoutId, Number, SCA_TEZ_USER_STATE)                                                        \
    X(SysStatusLayoutId, Number, SCA_TEZ_USER_STATE)                                               \
    X(GuiLayout, Number, SCA_TEZ_USER_STATE)                                                       \
    X(GuiMode, Number, SCA_TEZ_USER_STATE)                                                         \
    X(ChartTextColor, Number, SCA_TEZ_USER_SETTINGS)                                               \
    X(ChartLineColor, Number, SCA_TEZ_USER_SETTINGS)                                               \
    X(ChartFillColor, Number, SCA_TEZ_USER_SETTINGS)                                               \
    X(ChartGridColor, Number, SCA_TEZ_USER_SETTINGS)                                               \
    X(ChartBorderColor, Number, SCA_TEZ_USER_SETTINGS)                                             \
    X(ChartBackgroundColor, Number, SCA_TEZ_USER_SETTINGS)                                         \
    X(TotalTasks, Number, SCA_TEZ_USER_STATE)                                                      \
    X(TotalMonTime, Time, SCA_TEZ_USER_STATE)                                                      \
    X(ProfileId, Number, SCA_TEZ_USER_PROFILES)                                                    \
    X(MonitorId, Number, SCA_TEZ_USER_MONITORS)                                                    \
    X(ServerUserName, Text, SCA_TEZ_USER_SETTINGS)                                                 \
    X(ServerPassword, Text, SCA_TEZ_USER_SETTINGS)                                                 \
    X(ServerControlPort, Port, SCA_TEZ_USER_SETTINGS)                                              \
    X(ServerLogonMode, Number, SCA_TEZ_USER_SETTINGS)                                              \
    X(EnableOsLogon, Switch, SCA_TEZ_USER_SETTINGS)                                                \
    X(WebAccessPort, Port, SCA_TEZ_USER_SETTINGS)                                                  \
    X(EnableWebServer, Switch, SCA_TEZ_USER_SETTINGS)                                              \
    X(ConnectHostName, Text, SCA_TEZ_USER_CONNECT)                                                 \
    X(ConnectUserName, Text, SCA_TEZ_USER_CONNECT)                                                 \
    X(ConnectPassword, Text, SCA_TEZ_USER_CONNECT)                                                 \
    X(ConnectControlPort, Port, SCA_TEZ_USER_CONNECT)

// The plain settings of a user configuration, by the names of the table above.
struct SCA_TezUserSettings {
    SCA_TEZ_USER_CONFIG_SETTINGS(SCA_TEZ_SETTING_MEMBER)
};

// What threads other than the configuration's owner read of it (a monitor's sampling, a process
// monitor's scan, the action worker, a login): the settings, the rules and the process rules as
// they stood after the owner's last change, complete and never changed afterwards.
struct SCA_TezUserSnapshot {
    SCA_TezUserSettings Settings;
    SCA_TezRuleList Rules;
    SCA_TezProcessRules ProcRules;
};

// The user configuration: every setting a user or administrator can change, with the user's
// profiles, monitors, rules, process rules, keyboard shortcuts, advanced options, sounds,
// remote computers and servers, known servers and language-model servers. The service and the
// client each hold one for their whole run, bound to their product configuration (not owned).
//
// It owns every embedded list and object and their records; the getters' pointers stay valid
// as long as the configuration lives. It is not copyable: SetContent gives another
// configuration copies of its parts, so that no record is ever shared.
//
// Location: Init sets the file from the product configuration's folder and name; the folder and
// file name are also the settings ConfigDir and ConfigFileName. A configuration with a location
// never takes another one from a stored form.
class SCA_TezConfigUser : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    // An empty configuration bound to config (may be null until Init or Deserialize binds one).
    explicit SCA_TezConfigUser(SCA_TezConfig* config);
    ~SCA_TezConfigUser() override = default;

    SCA_TezConfigUser(const SCA_TezConfigUser&) = delete;
    SCA_TezConfigUser& operator=(const SCA_TezConfigUser&) = delete;

    SCA_TEZ_USER_CONFIG_SETTINGS(SCA_TEZ_SETTING_ACCESSORS)

    void AddStart() { ++m_Settings.StartCount; }
    void AddTotalTasks() { ++m_Settings.TotalTasks; }
    void AddTotalMonTime(uint64_t time) { m_Settings.TotalMonTime += time; }

    // The mode the service logs clients in with (SCA_TezEffectiveLogonMode).
    uint32_t GetEffectiveLogonMode() const {
        return SCA_TezEffectiveLogonMode(m_Settings.EnableOsLogon, m_Settings.ServerLogonMode);
    }

    SCA_TezConfig* GetProductConfig() const { return m_Config; }
    // The product type of the product configuration; all ones without one.
    uint32_t GetProductType() const;

    SCA_TezProfileList* GetProfiles() { return &m_Profiles; }
    SCA_TezMonitorList* GetMonitors() { return &m_Monitors; }
    SCA_TezRuleList* GetRules() { return &m_Rules; }
    SCA_TezProcessRules* GetProcRules() { return &m_ProcRules; }
    // The configuration owns the records put in it.
    SCA_KeyCommandList* GetKeyboardShortcuts() { return &m_Shortcuts; }
    SCA_ConfigObj* GetAdvancedOptions() { return &m_AdvancedOptions; }
    SCA_SoundList* GetSoundList() { return &m_Sounds; }
    SCA_ConfigObj* GetRemoteComputers() { return &m_RemoteComputers; }
    SCA_ConfigObj* GetRemoteServers() { return &m_RemoteServers; }
    SCA_SrvConnectList* GetConnectList() { return &m_ConnectList; }
    SCA_LlmServerList* GetLlmServers() { return &m_LlmServers; }

    // Readers on other threads take the snapshot, never the parts themselves: the owner changes
    // the configuration under its own lock and then publishes it. Init, Deserialize, SetContent,
    // LoadConfig and InitDefConfig publish by themselves; after any other change (a setter, a
    // list changed in place) the owner calls PublishSnapshot. 0 when the copy cannot be made,
    // and the last snapshot stays.
    std::shared_ptr<const SCA_TezUserSnapshot> GetSnapshot() const;
    int PublishSnapshot();

    // Advanced options are the value fields of the advanced-options object, by exact name; a
    // value is read as a decimal number. Each answers 0 for a null or empty name or an option
    // that does not exist (none is ever created here). Get: 1 when the value is nonzero.
    // Set: stores the value ("%d"). Toggle: 0 becomes 1 and any other value 0.
    int GetAdvancedOption(const char* name);
    int SetAdvancedOption(const char* name, int value);
    int ToggleAdvancedOption(const char* name);

    // 1 when a keyboard shortcut has that command id.
    int IsKeyboardShortcutExists(uint32_t commandId) const;
    // Number of direct children of the remote-servers object.
    uint32_t GetTotalServers() { return m_RemoteServers.GetFieldCount(); }
    // Records a computer that a remote monitor watches among the remote servers: a value field
    // named by the host holding the absolute time it was last recorded. 0 for a null or empty
    // host or one that cannot be a field name.
    int UpdateRemoteServers(const char* host);

    // Binds config and empties everything, then sets the location: the product configuration's
    // folder and the file "<name>_user<suffix>.hdx" (suffix "_client" for the client, null for
    // the service). 0 (reported) without a product configuration that has a location.
    int Init(SCA_TezConfig* config, const char* suffix);
    const char* GetConfigFilePath() const { return m_FilePath; }
    int HasLocation() const { return m_FilePath[0] != '\0' ? 1 : 0; }

    // Takes the parts selected by mask from another configuration (through its stored form), as
    // copies that this one owns. On failure (reported) nothing changes.
    int SetContent(SCA_TezConfigUser* from, uint32_t mask);

    // The keyboard shortcuts alone, as one child object per shortcut in order.
    int SerializeShortcuts(SCA_ConfigObj* object) const;
    // Replaces the keyboard shortcuts with those of such an object. Refused, with nothing
    // changed, when a shortcut is not valid (see ValidateShortcuts).
    int DeserializeShortcuts(SCA_ConfigObj* object);

    // The stored form: "FileType" 1011, "ProductType", every setting by name, then one child
    // object per list or object ("Profiles", "Monitors", "Rules", "ProcessRules", "Shortcuts",
    // "AdvancedOptions", "Sounds", "RemoteComputers", "RemoteServers", "KnownServers",
    // "LlmServers").
    virtual int Serialize(SCA_ConfigObj* object);

    // Reads the parts of a stored form that mask selects and leaves every other part as it was.
    // The bits:
    //   0x001 SCA_TEZ_USER_SETTINGS  the settings a user or administrator edits: reports and
    //                                their folders, proxy, histories, report saving and mailing,
    //                                repeat periods of actions, e-mail, ODBC, device update
    //                                period, chart colours, the service's login, control port
    //                                and web access;
    //   0x002 SCA_TEZ_USER_PROFILES  profiles and the current profile id;
    //   0x004 SCA_TEZ_USER_MONITORS  monitor entries and the current monitor id;
    //   0x008 SCA_TEZ_USER_RULES     rules;
    //   0x010 SCA_TEZ_USER_PROC_RULES process rules;
    //   0x020 SCA_TEZ_USER_OPTIONS   advanced options, keyboard shortcuts, sounds and
    //                                language-model servers;
    //   0x040 SCA_TEZ_USER_REMOTE    remote computers and remote servers;
    //   0x080 SCA_TEZ_USER_CONNECT   the client's own connection: the last host, user,
    //                                password and port, and the known servers;
    //   0x100 SCA_TEZ_USER_NETWORK   this service's identity on a central network server
    //                                (device id, device host, network server host);
    //   0x200 SCA_TEZ_USER_STATE     what the programs record themselves: first start, start
    //                                count, save time and version, monitoring totals, window
    //                                geometry and layout, and the location (see the class).
    // Other bits are ignored. All ones (an imported configuration) is everything; 33, settings
    // and options, is what the client's options dialog edits: it never overwrites the
    // service's monitoring data, identity and records, nor takes the client's own connection.
    //
    // A form whose "FileType" is not 1011, or whose "ProductType" differs from that of the
    // product configuration (config when given, else the bound one; types not known match any),
    // is refused. config binds this configuration when it has none. On failure (reported) no
    // part changes.
    virtual int Deserialize(SCA_TezConfig* config, SCA_ConfigObj* object, uint32_t mask);

    // Writes the file atomically with mode 0600 (the folder is created when missing) after
    // stamping the save time and product version. error (may be null) receives the platform's
    // error code. Refused while an unusable file that could not be moved aside is in the way.
    virtual int SaveConfig(uint32_t* error);
    // Reads the file (everything), binding config when given. A missing file answers 0. One
    // that is damaged (fails its checksum or does not parse), is not a user configuration or
    // belongs to another product type is moved aside (SCA_MoveConfigAside) and answers 0. One
    // that the system cannot open or read (EACCES, EIO, ...) may well be sound: it answers 0
    // (reported at level 5 with the path and the system's reason), stays where it is and is
    // never saved over, and GetReadError tells why. Default advanced options that the file
    // lacks are added.
    virtual int LoadConfig(SCA_TezConfig* config);
    // The errno value that kept the last LoadConfig from reading the file; 0 when it could read
    // it, whatever it found.
    uint32_t GetReadError() const { return m_ReadError; }
    // Every setting, list and object to its default, keeping the location; binds config when
    // given. The service's login is "admin" with a new random password. 0 (reported) when no
    // random password can be made.
    virtual int InitDefConfig(SCA_TezConfig* config);
    // Checks the keyboard shortcuts of a command id (all ones: every shortcut). A shortcut is
    // valid when its command id has a key description, its key text is not empty, and no
    // shortcut before it uses the same key text. 1 when all checked are valid; otherwise 0,
    // and with remove set the invalid ones are deleted.
    virtual int ValidateShortcuts(uint32_t commandId, int remove);
    // The default advanced options of a product type (those of this product; none for other
    // types): up to capacity of them into options (may be null when capacity is 0), and their
    // total number into count. 0 when they do not all fit.
    virtual int GetDefaultAdvancedOptions(uint32_t productType, tagSCA_ADVANCED_OPTION* options,
                                          uint32_t capacity, uint32_t* count);
    // The description of a key id shown to the user; "Invalid Key Id" for an unknown id.
    virtual const char* GetKeyDescription(uint32_t keyId);

private:
    using Settings = SCA_TezUserSettings;
    using ShortcutList = SCA_KeyCommandList;

    // The value field of an advanced option, or null.
    SCA_Field* FindOption(const char* name);
    // Reads the selected parts of object into this configuration; Deserialize first runs it on
    // a scratch configuration, so that a form that fails changes nothing.
    int ReadParts(SCA_ConfigObj* object, uint32_t mask);
    int ReadSettings(SCA_ConfigObj* object, uint32_t mask);
    int ReadLists(SCA_ConfigObj* object, uint32_t mask);
    int CheckHeader(SCA_TezConfig* config, SCA_ConfigObj* object);
    int WriteLists(SCA_ConfigObj* object);
    void ClearAll();
    int AddDefaultOptions(bool onlyMissing);
    int AddDefaultShortcuts();
    static int ReadShortcuts(SCA_ConfigObj* object, ShortcutList* list);
    int CheckShortcuts(ShortcutList* list, uint32_t commandId, int remove);
    int IsValidShortcut(const ShortcutList& list, const ShortcutList::Item* node);

    SCA_TezConfig* m_Config;
    Settings m_Settings;
    SCA_TezProfileList m_Profiles;
    SCA_TezMonitorList m_Monitors;
    SCA_TezRuleList m_Rules;
    SCA_TezProcessRules m_ProcRules;
    ShortcutList m_Shortcuts;
    SCA_ConfigObj m_AdvancedOptions;
    SCA_SoundList m_Sounds;
    SCA_ConfigObj m_RemoteComputers;
    SCA_ConfigObj m_RemoteServers;
    SCA_SrvConnectList m_ConnectList;
    SCA_LlmServerList m_LlmServers;
    char m_FilePath[2 * SCA_TEZ_TEXT_SIZE] = {};
    // The file could not be read nor moved aside: it is kept as it is and never saved over.
    bool m_FileKept = false;
    uint32_t m_ReadError = 0;
    SCA_Snapshot<SCA_TezUserSnapshot> m_Snapshot;
};
