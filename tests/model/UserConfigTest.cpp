// SPDX-License-Identifier: MIT
// The user configuration: every setting and list through the stored form and the file, the
// mask, copies, advanced options, key descriptions, shortcuts and defaults.
#include <cctype>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "containers/SCA_List.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_DebugLog.h"
#include "model/SCA_KeyCommand.h"
#include "model/SCA_LlmServer.h"
#include "model/SCA_Sound.h"
#include "model/SCA_StringList.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezMonitor.h"
#include "model/SCA_TezProcessPid.h"
#include "model/SCA_TezProcessRule.h"
#include "model/SCA_TezProfile.h"
#include "model/SCA_TezRule.h"
#include "model/SCA_XmlElement.h"
#include "tests/model/ModelTestSupport.h"
#include "tests/model/RecordTestSupport.h"
#include "tests/model/SettingsTestSupport.h"

namespace {

using model_test::Bytes;
using settings_test::ChildBytes;
using settings_test::KorvantaHome;
using settings_test::SetRaw;

static_assert(!std::is_copy_constructible_v<SCA_TezConfigUser>, "copies go through SetContent");
static_assert(!std::is_copy_assignable_v<SCA_TezConfigUser>, "copies go through SetContent");
static_assert(SCA_TEZ_USER_OPTIONS_DIALOG == 33, "the client sends 33 after its options dialog");

// The plain list an owning list is built on. Its Clear and deletes leave the elements behind,
// so no owning list may pass for one.
template <typename List>
using PlainListOf = SCA_List<decltype(std::declval<List&>().GetHead()->GetItem())>;
template <typename List>
constexpr bool kHidesItsPlainList =
    std::is_base_of_v<PlainListOf<List>, List> && !std::is_convertible_v<List*, PlainListOf<List>*>;
template <auto Getter>
using Handed = std::remove_pointer_t<std::invoke_result_t<decltype(Getter), SCA_TezConfigUser&>>;

static_assert(!kHidesItsPlainList<SCA_List<SCA_KeyCommand*>>, "the check sees a plain list");
static_assert(kHidesItsPlainList<Handed<&SCA_TezConfigUser::GetProfiles>>);
static_assert(kHidesItsPlainList<Handed<&SCA_TezConfigUser::GetMonitors>>);
static_assert(kHidesItsPlainList<Handed<&SCA_TezConfigUser::GetRules>>);
static_assert(kHidesItsPlainList<Handed<&SCA_TezConfigUser::GetProcRules>>);
static_assert(kHidesItsPlainList<Handed<&SCA_TezConfigUser::GetKeyboardShortcuts>>);
static_assert(kHidesItsPlainList<Handed<&SCA_TezConfigUser::GetSoundList>>);
static_assert(kHidesItsPlainList<Handed<&SCA_TezConfigUser::GetConnectList>>);
static_assert(kHidesItsPlainList<Handed<&SCA_TezConfigUser::GetLlmServers>>);
static_assert(kHidesItsPlainList<SCA_DebugMessageList>);
static_assert(kHidesItsPlainList<SCA_TezProcessCounterList>);
static_assert(kHidesItsPlainList<SCA_StringList>);
static_assert(kHidesItsPlainList<SCA_XmlElement>);

// One row of the settings table: its stored name, the mask bit it is read under, how to give it
// a value of its own and how to show it.
struct UserSetting {
    const char* Name;
    uint32_t Section;
    std::function<void(SCA_TezConfigUser&, uint32_t)> Set;
    std::function<std::string(const SCA_TezConfigUser&)> Show;
};

std::string Text(uint32_t seed) {
    return "setting-" + std::to_string(seed) + "-\xC3\xA9\xE2\x82\xAC";
}
std::string Show(const char* text) {
    return text;
}
template <typename Number>
std::string Show(Number value) {
    return std::to_string(value);
}

#define USER_SETTER_Switch(Name) u.Set##Name(static_cast<int>(seed % 5 + 2))
#define USER_SETTER_Number(Name) u.Set##Name(100000 + seed)
#define USER_SETTER_Port(Name) u.Set##Name(static_cast<uint16_t>(30000 + seed))
#define USER_SETTER_Time(Name) u.Set##Name(5000000000000ULL + seed)
#define USER_SETTER_Text(Name) u.Set##Name(Text(seed).c_str())
#define USER_SETTER_Version(Name) u.Get##Name(Text(seed).c_str())
#define USER_ROW(Name, Kind, Section)                                                              \
    {#Name, Section, [](SCA_TezConfigUser& u, uint32_t seed) { USER_SETTER_##Kind(Name); },        \
     [](const SCA_TezConfigUser& u) { return Show(u.Get##Name()); }},

const std::vector<UserSetting>& Rows() {
    static const std::vector<UserSetting> rows = {SCA_TEZ_USER_CONFIG_SETTINGS(USER_ROW)};
    return rows;
}

bool IsLocation(const UserSetting& row) {
    return std::strcmp(row.Name, "ConfigDir") == 0 || std::strcmp(row.Name, "ConfigFileName") == 0;
}

// The lists and objects as stored, with the mask bit each is read under.
struct StoredPart {
    const char* Name;
    uint32_t Section;
};

constexpr StoredPart kParts[] = {
    {"Profiles", SCA_TEZ_USER_PROFILES},
    {"Monitors", SCA_TEZ_USER_MONITORS},
    {"Rules", SCA_TEZ_USER_RULES},
    {"ProcessRules", SCA_TEZ_USER_PROC_RULES},
    {"Shortcuts", SCA_TEZ_USER_OPTIONS},
    {"AdvancedOptions", SCA_TEZ_USER_OPTIONS},
    {"Sounds", SCA_TEZ_USER_OPTIONS},
    {"LlmServers", SCA_TEZ_USER_OPTIONS},
    {"RemoteComputers", SCA_TEZ_USER_REMOTE},
    {"RemoteServers", SCA_TEZ_USER_REMOTE},
    {"KnownServers", SCA_TEZ_USER_CONNECT},
};

constexpr uint32_t kSections[] = {
    SCA_TEZ_USER_SETTINGS,   SCA_TEZ_USER_PROFILES, SCA_TEZ_USER_MONITORS, SCA_TEZ_USER_RULES,
    SCA_TEZ_USER_PROC_RULES, SCA_TEZ_USER_OPTIONS,  SCA_TEZ_USER_REMOTE,   SCA_TEZ_USER_CONNECT,
    SCA_TEZ_USER_NETWORK,    SCA_TEZ_USER_STATE,
};

// Every row gets a value of its own, different for each seed base.
void FillSettings(SCA_TezConfigUser& user, uint32_t base, bool location) {
    for (size_t i = 0; i < Rows().size(); ++i) {
        if (location || !IsLocation(Rows()[i])) {
            Rows()[i].Set(user, base + static_cast<uint32_t>(i));
        }
    }
}

// Records in every list and fields in every object.
void FillLists(SCA_TezConfigUser& user, uint32_t seed) {
    const std::string tag = std::to_string(seed);
    SCA_TezProfile* profile = nullptr;
    ASSERT_EQ(user.GetProfiles()->AddProfile(("Profile " + tag).c_str(), &profile), 1);
    profile->SetComputerName(("pc-" + tag).c_str());
    auto* monitor = new SCA_TezMonitor();
    monitor->SetMonitorMode(seed);
    ASSERT_EQ(user.GetMonitors()->AddMonitor(monitor, nullptr), 1);
    auto* rule = new SCA_TezRule();
    rule->SetCounterType(seed);
    ASSERT_EQ(user.GetRules()->AddRule(rule, nullptr), 1);
    auto* processRule = new SCA_TezProcessRule();
    processRule->SetProcessName(("proc-" + tag).c_str());
    ASSERT_EQ(user.GetProcRules()->AddRule(processRule, nullptr), 1);
    const std::string key = "Ctrl+Alt+F" + tag;
    auto* shortcut = new SCA_KeyCommand(21, key.c_str());
    ASSERT_EQ(user.GetKeyboardShortcuts()->AddItemToTail(shortcut, key.c_str()), 1);
    ASSERT_EQ(
        user.GetAdvancedOptions()->AddField(("Option " + tag).c_str(), static_cast<int>(seed)), 1);
    auto* sound = new SCA_Sound();
    sound->SetSoundId(seed);
    sound->SetSoundName(("Sound " + tag).c_str());
    sound->SetFileName(("/sounds/" + tag + ".wav").c_str());
    ASSERT_EQ(user.GetSoundList()->AddSound(sound), 1);
    ASSERT_EQ(user.GetRemoteComputers()->AddField(("computer-" + tag).c_str(), ""), 1);
    ASSERT_EQ(user.UpdateRemoteServers(("server-" + tag).c_str()), 1);
    ASSERT_EQ(user.GetConnectList()->AddConnect(("host-" + tag).c_str(), "admin", "pw", 24503), 1);
    auto* llm = new SCA_LlmServer();
    llm->SetHostName(("llm-" + tag).c_str());
    llm->SetAccuracy(seed / 3.0);
    ASSERT_EQ(user.GetLlmServers()->AddServer(llm, nullptr), 1);
}

std::unique_ptr<SCA_ConfigObj> FormOf(SCA_TezConfigUser& user) {
    auto form = std::make_unique<SCA_ConfigObj>(SCA_TEZ_USER_CONFIG_ROOT, nullptr);
    EXPECT_EQ(user.Serialize(form.get()), 1);
    return form;
}

std::string FormBytes(SCA_TezConfigUser& user) {
    return Bytes(*FormOf(user));
}

std::vector<std::string> ShowAll(const SCA_TezConfigUser& user) {
    std::vector<std::string> values;
    for (const UserSetting& row : Rows()) {
        values.push_back(row.Show(user));
    }
    return values;
}

std::vector<std::string> PartsOf(SCA_TezConfigUser& user) {
    auto form = FormOf(user);
    std::vector<std::string> parts;
    for (const StoredPart& part : kParts) {
        parts.push_back(ChildBytes(*form, part.Name));
    }
    return parts;
}

class UserConfigTest : public ::testing::Test {
protected:
    SCA_TezConfig m_Product{SCA_PRODUCT_TYPE_KORVANTA};
};

TEST_F(UserConfigTest, EverySettingAndListSurvivesTheStoredForm) {
    SCA_TezConfigUser source(&m_Product);
    FillSettings(source, 0, true);
    FillLists(source, 7);
    FillLists(source, 8);
    auto form = FormOf(source);
    // Every row is stored, besides the two header fields and the lists.
    uint32_t values = 0;
    for (SCA_Field* child = form->GetHead(); child != nullptr; child = child->GetNext()) {
        values += child->IsObject() ? 0 : 1;
    }
    EXPECT_EQ(values, Rows().size() + 2);

    SCA_TezConfigUser received(nullptr);
    ASSERT_EQ(received.Deserialize(&m_Product, records_test::Travel(*form).get(), SCA_TEZ_USER_ALL),
              1);
    EXPECT_EQ(received.GetProductConfig(), &m_Product);
    const std::vector<std::string> expected = ShowAll(source);
    const std::vector<std::string> actual = ShowAll(received);
    for (size_t i = 0; i < Rows().size(); ++i) {
        EXPECT_EQ(actual[i], expected[i]) << Rows()[i].Name;
    }
    EXPECT_EQ(PartsOf(received), PartsOf(source));
    EXPECT_EQ(FormBytes(received), Bytes(*form));
}

TEST_F(UserConfigTest, EverySettingAndListSurvivesSaveAndLoad) {
    KorvantaHome home;
    ASSERT_EQ(m_Product.Init("korva"), 1);
    SCA_TezConfigUser source(&m_Product);
    ASSERT_EQ(source.Init(&m_Product, nullptr), 1);
    ASSERT_EQ(source.InitDefConfig(&m_Product), 1);
    FillSettings(source, 0, false);
    FillLists(source, 3);
    uint32_t error = 1;
    ASSERT_EQ(source.SaveConfig(&error), 1);
    EXPECT_EQ(error, 0u);
    EXPECT_EQ(settings_test::FileMode(home / "korva_user.hdx"), 0600);
    EXPECT_STREQ(source.GetSavedProductVersion(), SCA_TEZ_PRODUCT_VERSION);

    SCA_TezConfigUser loaded(&m_Product);
    ASSERT_EQ(loaded.Init(&m_Product, nullptr), 1);
    ASSERT_EQ(loaded.LoadConfig(&m_Product), 1);
    const std::vector<std::string> expected = ShowAll(source);
    const std::vector<std::string> actual = ShowAll(loaded);
    for (size_t i = 0; i < Rows().size(); ++i) {
        EXPECT_EQ(actual[i], expected[i]) << Rows()[i].Name;
    }
    // Saved, loaded and serialised again: the same tree.
    EXPECT_EQ(FormBytes(loaded), FormBytes(source));
    EXPECT_EQ(std::string(loaded.GetConfigDir()), home.Path());
}

TEST_F(UserConfigTest, EachMaskBitTakesItsOwnPartsAndNothingElse) {
    SCA_TezConfigUser source(&m_Product);
    FillSettings(source, 0, true);
    FillLists(source, 1);
    auto form = FormOf(source);
    const std::vector<std::string> sourceValues = ShowAll(source);
    const std::vector<std::string> sourceParts = PartsOf(source);

    for (uint32_t bit : kSections) {
        SCA_TezConfigUser target(&m_Product);
        ASSERT_EQ(target.InitDefConfig(&m_Product), 1);
        FillLists(target, 2);
        const std::vector<std::string> before = ShowAll(target);
        const std::vector<std::string> partsBefore = PartsOf(target);
        ASSERT_EQ(target.Deserialize(&m_Product, form.get(), bit), 1) << bit;

        const std::vector<std::string> after = ShowAll(target);
        size_t changed = 0;
        for (size_t i = 0; i < Rows().size(); ++i) {
            const bool selected = (Rows()[i].Section & bit) != 0;
            EXPECT_EQ(after[i], selected ? sourceValues[i] : before[i])
                << Rows()[i].Name << " under bit " << bit;
            changed += selected ? 1 : 0;
        }
        const std::vector<std::string> partsAfter = PartsOf(target);
        for (size_t i = 0; i < std::size(kParts); ++i) {
            const bool selected = (kParts[i].Section & bit) != 0;
            EXPECT_EQ(partsAfter[i], selected ? sourceParts[i] : partsBefore[i])
                << kParts[i].Name << " under bit " << bit;
            changed += selected ? 1 : 0;
        }
        EXPECT_GT(changed, 0u) << "bit " << bit << " selects nothing";
    }
}

TEST_F(UserConfigTest, TheOptionsDialogMaskKeepsTheServicesDataAndTheClientsConnection) {
    SCA_TezConfigUser service(&m_Product);
    ASSERT_EQ(service.InitDefConfig(&m_Product), 1);
    FillLists(service, 1);
    service.SetStartCount(41);
    service.SetDeviceId(12);
    service.SetConnectHostName("service-side");
    const std::string profiles = PartsOf(service)[0];

    // The client's working copy: the service's configuration with the dialog's changes and the
    // client's own state.
    SCA_TezConfigUser copy(&m_Product);
    ASSERT_EQ(copy.SetContent(&service, SCA_TEZ_USER_ALL), 1);
    copy.SetServerControlPort(24999);
    ASSERT_EQ(copy.SetAdvancedOption(SCA_OPTION_SHOW_VERBOSE_MESSAGES, 1), 1);
    copy.GetProfiles()->ClearAll();
    copy.SetStartCount(1);
    copy.SetDeviceId(0xFFFFFFFFu);
    copy.SetConnectHostName("client-side");
    copy.GetConnectList()->ClearAll();

    ASSERT_EQ(service.SetContent(&copy, SCA_TEZ_USER_OPTIONS_DIALOG), 1);
    EXPECT_EQ(service.GetServerControlPort(), 24999);
    EXPECT_EQ(service.GetAdvancedOption(SCA_OPTION_SHOW_VERBOSE_MESSAGES), 1);
    EXPECT_EQ(PartsOf(service)[0], profiles);
    EXPECT_EQ(service.GetStartCount(), 41u);
    EXPECT_EQ(service.GetDeviceId(), 12u);
    EXPECT_STREQ(service.GetConnectHostName(), "service-side");
    EXPECT_EQ(service.GetConnectList()->Count(), 1u);
}

TEST_F(UserConfigTest, AFormThatFailsChangesNoPart) {
    SCA_TezConfigUser source(&m_Product);
    FillSettings(source, 0, true);
    FillLists(source, 4);
    SCA_TezConfig device(SCA_PRODUCT_TYPE_DEVICE);

    struct Spoiler {
        const char* What;
        std::function<void(SCA_ConfigObj&)> Spoil;
        SCA_TezConfig* Config;
    };
    const std::vector<Spoiler> spoilers = {
        {"port out of range", [](SCA_ConfigObj& f) { SetRaw(f, "ProxyPort", "65536"); }, nullptr},
        {"number that is not one", [](SCA_ConfigObj& f) { SetRaw(f, "MonitorId", "x1"); }, nullptr},
        {"list record with a bad id",
         [](SCA_ConfigObj& f) {
             ASSERT_NE(settings_test::Child(f, "Rules")->AddConfigObj("x"), nullptr);
         },
         nullptr},
        {"value where a list belongs",
         [](SCA_ConfigObj& f) {
             SCA_Object::Destroy(f.RemoveField("Sounds"));
             SetRaw(f, "Sounds", "1");
         },
         nullptr},
        {"another file type", [](SCA_ConfigObj& f) { SetRaw(f, "FileType", "1010"); }, nullptr},
        {"another product", [](SCA_ConfigObj&) {}, &device},
    };
    for (const Spoiler& spoiler : spoilers) {
        auto form = FormOf(source);
        spoiler.Spoil(*form);
        SCA_TezConfigUser target(&m_Product);
        ASSERT_EQ(target.InitDefConfig(&m_Product), 1);
        FillLists(target, 5);
        const std::string before = FormBytes(target);
        model_test::Reports reports;
        EXPECT_EQ(target.Deserialize(spoiler.Config, form.get(), SCA_TEZ_USER_ALL), 0)
            << spoiler.What;
        EXPECT_EQ(FormBytes(target), before) << spoiler.What;
        EXPECT_FALSE(reports.TakeTexts().empty()) << spoiler.What;
    }
}

TEST_F(UserConfigTest, AConfigurationWithAFileKeepsItsLocation) {
    KorvantaHome home;
    ASSERT_EQ(m_Product.Init("korva", SCA_TezConfigSide::Client), 1);
    SCA_TezConfigUser user(&m_Product);
    ASSERT_EQ(user.Init(&m_Product, SCA_TEZ_CLIENT_SUFFIX), 1);
    EXPECT_EQ(std::string(user.GetConfigFilePath()), home / "korva_user_client.hdx");

    SCA_TezConfigUser other(&m_Product);
    other.SetConfigDir("/tmp/elsewhere");
    other.SetConfigFileName("stolen.hdx");
    other.SetReportsDir("/srv/reports");
    ASSERT_EQ(user.Deserialize(nullptr, FormOf(other).get(), SCA_TEZ_USER_ALL), 1);
    EXPECT_STREQ(user.GetReportsDir(), "/srv/reports");
    EXPECT_EQ(std::string(user.GetConfigDir()), home.Path());
    EXPECT_STREQ(user.GetConfigFileName(), "korva_user_client.hdx");
    EXPECT_EQ(std::string(user.GetConfigFilePath()), home / "korva_user_client.hdx");
}

// Each list the configuration hands out destroys its records when cleared through that
// pointer; a record left behind fails this test under LeakSanitizer.
TEST_F(UserConfigTest, EveryListHandedOutFreesItsRecordsWhenCleared) {
    SCA_TezConfigUser user(&m_Product);
    ASSERT_EQ(user.InitDefConfig(&m_Product), 1);
    FillLists(user, 1);
    FillLists(user, 2);
    const auto clear = [](auto* list, const char* name) {
        ASSERT_GT(list->Count(), 0u) << name;
        EXPECT_EQ(list->Clear(), 1) << name;
        EXPECT_EQ(list->Count(), 0u) << name;
        EXPECT_EQ(list->GetHead(), nullptr) << name;
    };
    clear(user.GetProfiles(), "profiles");
    clear(user.GetMonitors(), "monitors");
    clear(user.GetRules(), "rules");
    clear(user.GetProcRules(), "process rules");
    clear(user.GetKeyboardShortcuts(), "shortcuts");
    clear(user.GetSoundList(), "sounds");
    clear(user.GetConnectList(), "known servers");
    clear(user.GetLlmServers(), "language-model servers");
    for (SCA_ConfigObj* object :
         {user.GetAdvancedOptions(), user.GetRemoteComputers(), user.GetRemoteServers()}) {
        ASSERT_GT(object->GetFieldCount(), 0u) << object->GetName();
        EXPECT_EQ(object->Clear(), 1) << object->GetName();
        EXPECT_EQ(object->GetFieldCount(), 0u) << object->GetName();
    }
}

TEST_F(UserConfigTest, CopiesOwnTheirRecords) {
    auto source = std::make_unique<SCA_TezConfigUser>(&m_Product);
    ASSERT_EQ(source->InitDefConfig(&m_Product), 1);
    FillLists(*source, 1);
    FillLists(*source, 2);
    SCA_TezConfigUser copy(&m_Product);
    ASSERT_EQ(copy.SetContent(source.get(), SCA_TEZ_USER_ALL), 1);
    const std::string form = FormBytes(*source);
    EXPECT_EQ(FormBytes(copy), form);

    EXPECT_NE(copy.GetProfiles()->GetHead()->GetItem(),
              source->GetProfiles()->GetHead()->GetItem());
    EXPECT_NE(copy.GetKeyboardShortcuts()->GetHead()->GetItem(),
              source->GetKeyboardShortcuts()->GetHead()->GetItem());
    EXPECT_NE(copy.GetConnectList()->GetHead()->GetItem(),
              source->GetConnectList()->GetHead()->GetItem());
    EXPECT_NE(copy.GetLlmServers()->GetHead()->GetItem(),
              source->GetLlmServers()->GetHead()->GetItem());

    copy.GetSoundList()->ClearAll();
    copy.GetRules()->ClearAll();
    EXPECT_EQ(FormBytes(*source), form);
    // Records read after the source is gone are the copy's own (the sanitizer would object).
    source.reset();
    EXPECT_EQ(copy.GetProfiles()->Count(), 2u);
    EXPECT_STREQ(copy.GetConnectList()->GetHead()->GetItem()->GetComputerNameA(), "host-1");
    EXPECT_EQ(copy.SetContent(&copy, SCA_TEZ_USER_ALL), 1);
}

TEST_F(UserConfigTest, AdvancedOptionsAreReadSetAndToggledOnlyWhenTheyExist) {
    SCA_TezConfigUser user(&m_Product);
    SCA_ConfigObj* options = user.GetAdvancedOptions();
    ASSERT_EQ(options->AddField("Zero", "0"), 1);
    ASSERT_EQ(options->AddField("Seven", "7"), 1);
    ASSERT_EQ(options->AddField("Five", "5"), 1);
    ASSERT_NE(options->AddConfigObj("Group"), nullptr);

    struct Case {
        const char* Name;
        int Get;
    };
    for (const Case& c : {Case{"Zero", 0}, Case{"Seven", 1}, Case{"Missing", 0}, Case{"", 0},
                          Case{nullptr, 0}, Case{"Group", 0}, Case{"seven", 0}}) {
        EXPECT_EQ(user.GetAdvancedOption(c.Name), c.Get) << (c.Name ? c.Name : "(null)");
    }

    EXPECT_EQ(user.SetAdvancedOption("Missing", 1), 0);
    EXPECT_EQ(user.SetAdvancedOption(nullptr, 1), 0);
    EXPECT_EQ(user.SetAdvancedOption("Group", 1), 0);
    EXPECT_EQ(options->GetFieldCount(), 4u);
    EXPECT_EQ(user.SetAdvancedOption("Zero", -3), 1);
    EXPECT_EQ(settings_test::Value(*options, "Zero"), "-3");

    EXPECT_EQ(user.ToggleAdvancedOption("Five"), 1);
    EXPECT_EQ(settings_test::Value(*options, "Five"), "0");
    EXPECT_EQ(user.ToggleAdvancedOption("Five"), 1);
    EXPECT_EQ(settings_test::Value(*options, "Five"), "1");
    EXPECT_EQ(user.ToggleAdvancedOption("Missing"), 0);
    EXPECT_EQ(user.ToggleAdvancedOption(""), 0);
    EXPECT_EQ(options->GetFieldCount(), 4u);
}

TEST_F(UserConfigTest, KeyDescriptionsNameTheClientsCommands) {
    SCA_TezConfigUser user(&m_Product);
    struct Case {
        uint32_t KeyId;
        const char* Text;
    };
    for (const Case& c :
         {Case{1, "Pause/Resume Monitor"}, Case{5, "Save Report"}, Case{11, "Add Counter"},
          Case{17, "Advanced Options"}, Case{18, "Open Message Console"},
          Case{20, "Switch GUI Layout"}, Case{21, "Online Help"}, Case{22, "Close Application"},
          Case{23, "Reset Monitor"}, Case{0, "Invalid Key Id"}, Case{2, "Invalid Key Id"},
          Case{24, "Invalid Key Id"}, Case{0xFFFFFFFFu, "Invalid Key Id"}}) {
        EXPECT_STREQ(user.GetKeyDescription(c.KeyId), c.Text) << c.KeyId;
    }
}

TEST_F(UserConfigTest, ShortcutsAreFoundValidatedAndReadOnlyWhenValid) {
    SCA_TezConfigUser user(&m_Product);
    EXPECT_EQ(user.IsKeyboardShortcutExists(5), 0);
    ASSERT_EQ(user.InitDefConfig(&m_Product), 1);
    EXPECT_EQ(user.IsKeyboardShortcutExists(5), 1);
    EXPECT_EQ(user.IsKeyboardShortcutExists(2), 0);
    EXPECT_EQ(user.ValidateShortcuts(0xFFFFFFFFu, 0), 1);
    SCA_ConfigObj valid("Shortcuts", nullptr);
    ASSERT_EQ(user.SerializeShortcuts(&valid), 1);
    const uint32_t defaults = user.GetKeyboardShortcuts()->Count();

    SCA_KeyCommandList* list = user.GetKeyboardShortcuts();
    ASSERT_EQ(list->AddItemToTail(new SCA_KeyCommand(2, "Ctrl+2"), "Ctrl+2"), 1);  // no command
    ASSERT_EQ(list->AddItemToTail(new SCA_KeyCommand(5, ""), ""), 1);              // no key
    ASSERT_EQ(list->AddItemToTail(new SCA_KeyCommand(23, "F1"), "F1"), 1);         // key taken
    ASSERT_EQ(list->AddItemToTail(new SCA_KeyCommand(11, "Ctrl+K"), "Ctrl+J"), 1); // misnamed
    ASSERT_EQ(list->AddItemToTail(new SCA_KeyCommand(21, "Shift+F1"), "Shift+F1"), 1);

    EXPECT_EQ(user.ValidateShortcuts(21, 0), 1);
    EXPECT_EQ(user.ValidateShortcuts(23, 0), 0);
    EXPECT_EQ(user.ValidateShortcuts(0xFFFFFFFFu, 0), 0);
    EXPECT_EQ(list->Count(), defaults + 5);
    SCA_ConfigObj invalid("Shortcuts", nullptr);
    ASSERT_EQ(user.SerializeShortcuts(&invalid), 1);

    EXPECT_EQ(user.ValidateShortcuts(0xFFFFFFFFu, 1), 0);
    EXPECT_EQ(list->Count(), defaults + 1);
    EXPECT_EQ(user.ValidateShortcuts(0xFFFFFFFFu, 0), 1);
    EXPECT_NE(list->GetListItem("Shift+F1"), nullptr);

    const std::string before = settings_test::ChildBytes(*FormOf(user), "Shortcuts");
    model_test::Reports reports;
    EXPECT_EQ(user.DeserializeShortcuts(&invalid), 0);
    EXPECT_EQ(settings_test::ChildBytes(*FormOf(user), "Shortcuts"), before);
    ASSERT_EQ(user.DeserializeShortcuts(&valid), 1);
    EXPECT_EQ(list->Count(), defaults);
    EXPECT_EQ(list->GetListItem("Shift+F1"), nullptr);
    EXPECT_EQ(list->GetListItem("Ctrl+S")->GetItem()->GetCmdId(), 5u);
}

TEST_F(UserConfigTest, RemoteServersAreCountedOncePerHost) {
    SCA_TezConfigUser user(&m_Product);
    EXPECT_EQ(user.GetTotalServers(), 0u);
    EXPECT_EQ(user.UpdateRemoteServers("db1"), 1);
    EXPECT_EQ(user.UpdateRemoteServers("db1"), 1);
    EXPECT_EQ(user.UpdateRemoteServers("web"), 1);
    EXPECT_EQ(user.UpdateRemoteServers(""), 0);
    EXPECT_EQ(user.UpdateRemoteServers(nullptr), 0);
    model_test::Reports reports;
    EXPECT_EQ(user.UpdateRemoteServers("bad\x01name"), 0);
    EXPECT_EQ(user.GetTotalServers(), 2u);
}

TEST_F(UserConfigTest, DefaultsAreUsableAndTheLoginPasswordIsRandom) {
    SCA_TezConfigUser first(&m_Product);
    SCA_TezConfigUser second(&m_Product);
    ASSERT_EQ(first.InitDefConfig(&m_Product), 1);
    ASSERT_EQ(second.InitDefConfig(nullptr), 1);

    EXPECT_STREQ(first.GetServerUserName(), "admin");
    const std::string password = first.GetServerPassword();
    ASSERT_EQ(password.size(), 32u);
    for (char c : password) {
        EXPECT_TRUE(std::isxdigit(static_cast<unsigned char>(c))) << password;
    }
    EXPECT_NE(password, second.GetServerPassword());
    EXPECT_EQ(first.GetServerControlPort(), SCA_GetControlPort(SCA_PRODUCT_TYPE_KORVANTA));
    EXPECT_EQ(first.GetConnectControlPort(), first.GetServerControlPort());
    EXPECT_EQ(first.GetDeviceId(), 0xFFFFFFFFu);
    EXPECT_STREQ(first.GetNetHostName(), "");
    EXPECT_EQ(first.GetFirstStart(), 1);
    EXPECT_EQ(first.GetAdvancedOption(SCA_OPTION_SHOW_MAIN_TOOLBAR), 1);
    EXPECT_EQ(first.GetAdvancedOption(SCA_OPTION_START_MINIMIZED), 0);
    EXPECT_EQ(first.SetAdvancedOption(SCA_OPTION_START_MINIMIZED, 1), 1);

    EXPECT_EQ(first.GetAdvancedOption(SCA_OPTION_REMOTE_OPEN_LOGINS), 0);

    tagSCA_ADVANCED_OPTION options[8];
    uint32_t count = 0;
    EXPECT_EQ(first.GetDefaultAdvancedOptions(SCA_PRODUCT_TYPE_KORVANTA, options, 8, &count), 1);
    EXPECT_EQ(count, 8u);
    EXPECT_EQ(first.GetAdvancedOptions()->GetFieldCount(), 8u);
    EXPECT_EQ(first.GetDefaultAdvancedOptions(SCA_PRODUCT_TYPE_KORVANTA, nullptr, 0, &count), 0);
    EXPECT_EQ(count, 8u);
    EXPECT_EQ(first.GetDefaultAdvancedOptions(SCA_PRODUCT_TYPE_NETWORK, options, 8, &count), 1);
    EXPECT_EQ(count, 0u);
}

TEST_F(UserConfigTest, OptionsThatAFileLacksComeBackWithTheirDefaults) {
    KorvantaHome home;
    ASSERT_EQ(m_Product.Init("korva"), 1);
    SCA_TezConfigUser old(&m_Product);
    ASSERT_EQ(old.Init(&m_Product, nullptr), 1);
    ASSERT_EQ(old.InitDefConfig(&m_Product), 1);
    ASSERT_EQ(old.SetAdvancedOption(SCA_OPTION_SHOW_MAIN_TOOLBAR, 0), 1);
    SCA_Object::Destroy(old.GetAdvancedOptions()->RemoveField(SCA_OPTION_START_MINIMIZED));
    uint32_t error = 0;
    ASSERT_EQ(old.SaveConfig(&error), 1);

    SCA_TezConfigUser loaded(&m_Product);
    ASSERT_EQ(loaded.Init(&m_Product, nullptr), 1);
    ASSERT_EQ(loaded.LoadConfig(nullptr), 1);
    EXPECT_EQ(loaded.GetAdvancedOption(SCA_OPTION_SHOW_MAIN_TOOLBAR), 0);
    EXPECT_EQ(loaded.SetAdvancedOption(SCA_OPTION_START_MINIMIZED, 1), 1);
}

TEST_F(UserConfigTest, TextSettersNeverWritePastTheirField) {
    SCA_TezConfigUser user(&m_Product);
    const std::string straddling = records_test::StraddlingText(SCA_TEZ_TEXT_SIZE);
    user.SetEmailPassword(straddling.c_str());
    EXPECT_EQ(std::string(user.GetEmailPassword()), std::string(SCA_TEZ_TEXT_SIZE - 2, 'a'));
    user.GetSavedProductVersion(std::string(300, 'v').c_str());
    EXPECT_EQ(std::strlen(user.GetSavedProductVersion()), 255u);
    const std::string exact(255, 'g');
    user.SetGuiGeometry(exact.c_str());
    EXPECT_EQ(std::string(user.GetGuiGeometry()), exact);
    // The geometry is written in place by its owner.
    std::strcpy(user.GetGuiGeometry(), "Maximized 0");
    EXPECT_STREQ(static_cast<const SCA_TezConfigUser&>(user).GetGuiGeometry(), "Maximized 0");
}

} // namespace
