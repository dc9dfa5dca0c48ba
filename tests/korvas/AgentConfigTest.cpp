// SPDX-License-Identifier: MIT
// The agent's configuration and profile operations as a client reaches them through the
// service's command server on 127.0.0.1: what is saved and what stays in memory, the mask of a
// user configuration, the process rules, and the profile list's changes and failures.
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "korvas/SCA_KorvantaCtrl.h"
#include "libmor/SCA_Limits.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigFiles.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezProcessRules.h"
#include "model/SCA_TezProfileList.h"
#include "net/SCA_KorvantaLogin.h"
#include "tests/korvas/AgentClientTest.h"
#include "tests/support/KorvantaTestSupport.h"

namespace {

constexpr uint32_t kTextSize = 256;
constexpr uint32_t kSystemPreset = 1;
constexpr uint32_t kNoSuchPreset = 999;

class AgentConfigTest : public korvas_test::AgentClientTest {
protected:
    uint32_t ProfileId(const char* name) {
        uint32_t exists = 9;
        uint32_t id = 0;
        EXPECT_EQ(1, m_Client.IsProfileExists(name, &exists, &id));
        return exists != 0 ? id : SCA_ALL_ONES;
    }
};

TEST_F(AgentConfigTest, NothingOfTheConfigurationIsReadOrChangedBeforeLogin) {
    SCA_KorvantaInterface stranger;
    ASSERT_EQ(1, Connect(&stranger));
    SCA_ConfigObj* object = nullptr;
    EXPECT_EQ(0, stranger.GetProductConfig(&object));
    EXPECT_EQ(0, stranger.GetProcessMonitorRules(&object));
    EXPECT_EQ(nullptr, object);
    uint32_t id = 0;
    EXPECT_EQ(0, stranger.AddProfile("Intruder", kSystemPreset, &id));
    EXPECT_FALSE(m_Ctrl.GetUserConfig()->GetProfiles()->IsProfileExists("Intruder"));
}

TEST_F(AgentConfigTest, TheConfigurationsAreReadAndAUserConfigurationIsTakenByItsMaskAndSaved) {
    SCA_ConfigObj* product = nullptr;
    ASSERT_EQ(1, m_Client.GetProductConfig(&product));
    ASSERT_NE(nullptr, product);
    EXPECT_STREQ("ProductConfig", product->GetName());
    uint32_t type = 0;
    EXPECT_EQ(1, product->GetField("ProductType", &type));
    EXPECT_EQ(m_Ctrl.GetConfig()->GetProductType(), type);
    SCA_Object::Destroy(product);

    SCA_TezConfigUser mine(m_Ctrl.GetConfig());
    ASSERT_EQ(1, m_Client.GetUserConfig(m_Ctrl.GetConfig(), &mine));
    EXPECT_EQ(m_Ctrl.GetUserConfig()->GetServerControlPort(), mine.GetServerControlPort());

    // The options dialog's mask: settings and options are taken, the network identity is not.
    ASSERT_EQ(0, m_Ctrl.GetActionCtrl()->GetShowVerboseMessages());
    ASSERT_EQ(1, mine.SetAdvancedOption(SCA_OPTION_SHOW_VERBOSE_MESSAGES, 1));
    mine.SetEmailServer("mail.example");
    mine.SetNetHostName("not.taken.example");
    ASSERT_EQ(1, m_Client.SetUserConfig(&mine, SCA_TEZ_USER_OPTIONS_DIALOG));
    EXPECT_EQ(1, m_Ctrl.GetActionCtrl()->GetShowVerboseMessages())
        << "the verbose option follows at once";
    EXPECT_STREQ("mail.example", m_Ctrl.GetUserConfig()->GetEmailServer());
    EXPECT_STRNE("not.taken.example", m_Ctrl.GetUserConfig()->GetNetHostName());
    EXPECT_EQ(1, m_Reports.Count(SCA_LEVEL_INFO, "Product Configuration File Saved"));
    auto stored = Stored();
    EXPECT_STREQ("mail.example", stored->GetEmailServer()) << "saved before the answer";
    EXPECT_EQ(1, stored->GetAdvancedOption(SCA_OPTION_SHOW_VERBOSE_MESSAGES));

    // A form of another kind is refused and changes nothing.
    SCA_ConfigObj wrong("UserConfig", nullptr);
    ASSERT_EQ(1, wrong.AddField("FileType", static_cast<uint32_t>(1)));
    EXPECT_EQ(0, m_Client.SetUserConfig(&wrong, SCA_TEZ_USER_ALL));
    EXPECT_EQ(1, m_Reports.Count(SCA_LEVEL_ERROR, "SCA_KorvantaAgent::SetUserConfig: Cannot "
                                                  "deserialize configuration object"));
    EXPECT_STREQ("mail.example", m_Ctrl.GetUserConfig()->GetEmailServer());
}

TEST_F(AgentConfigTest, ProcessRulesAreReplacedAndSaved) {
    SCA_TezProcessRules rules;
    auto* rule = new SCA_TezProcessRule();
    rule->SetProcessName("watched-daemon");
    uint32_t ruleId = 0;
    ASSERT_EQ(1, rules.AddRule(rule, &ruleId));
    SCA_ConfigObj sent("Rules", nullptr);
    ASSERT_EQ(1, rules.Serialize(&sent));
    ASSERT_EQ(1, m_Client.SetProcessMonitorRules(&sent));
    EXPECT_EQ(1, m_Reports.Count(SCA_LEVEL_INFO, "Process Monitor Rules Updated"));
    EXPECT_EQ(1u, Stored()->GetProcRules()->Count());

    SCA_ConfigObj* read = nullptr;
    ASSERT_EQ(1, m_Client.GetProcessMonitorRules(&read));
    ASSERT_NE(nullptr, read);
    EXPECT_STREQ("Rules", read->GetName());
    SCA_TezProcessRules back;
    ASSERT_EQ(1, back.Deserialize(read));
    SCA_Object::Destroy(read);
    SCA_TezProcessRule* got = nullptr;
    ASSERT_EQ(1, back.GetRule(ruleId, &got));
    EXPECT_STREQ("watched-daemon", got->GetProcessName());
}

TEST_F(AgentConfigTest, ProfilesChangeInOrderByTheirIdsAndAreStoredAtOnce) {
    uint32_t before = 0;
    ASSERT_EQ(1, m_Client.GetProfileCount(&before));
    const uint32_t storedBefore = Stored()->GetProfiles()->Count();
    uint32_t first = 0;
    uint32_t second = 0;
    ASSERT_EQ(1, m_Client.AddProfile("First", kSystemPreset, &first));
    ASSERT_EQ(1, m_Client.AddProfile("Second", kSystemPreset, &second));
    EXPECT_NE(first, second);
    uint32_t count = 0;
    ASSERT_EQ(1, m_Client.GetProfileCount(&count));
    EXPECT_EQ(before + 2, count);
    EXPECT_EQ(storedBefore + 2, Stored()->GetProfiles()->Count())
        << "a change answered as done survives a crash";

    SCA_ConfigObj* profile = nullptr;
    ASSERT_EQ(1, m_Client.GetProfile(first, &profile));
    SCA_TezProfile copy;
    ASSERT_EQ(1, copy.Deserialize(profile));
    SCA_Object::Destroy(profile);
    EXPECT_STREQ("First", copy.GetProfileName());
    EXPECT_GT(copy.GetCounterList()->Count(), 0u) << "the preset's counters";

    // Order: the last is moved up to before the first of the two.
    uint32_t id = 0;
    char name[kTextSize] = "";
    EXPECT_EQ(1, m_Client.MoveProfileDown(second)) << "already last: nothing moves";
    ASSERT_EQ(1, m_Client.MoveProfileUp(second));
    ASSERT_EQ(1, m_Client.GetProfileInfo(before, &id, name));
    EXPECT_EQ(second, id);
    EXPECT_STREQ("Second", name);
    EXPECT_EQ(0, m_Client.MoveProfileUp(second + 1000)) << "unknown id";
    EXPECT_EQ(0, m_Client.GetProfileInfo(count, &id, name));
    EXPECT_EQ(1, m_Reports.Count(SCA_LEVEL_ERROR, "SCA_KorvantaAgent::GetProfileInfo: invalid "
                                                  "profile index - " +
                                                      std::to_string(count)));
    SCA_ConfigObj* infos = nullptr;
    ASSERT_EQ(1, m_Client.GetProfileInfoList(&infos));
    uint32_t listed = 0;
    EXPECT_EQ(1, infos->GetField("First", &listed));
    EXPECT_EQ(first, listed);
    EXPECT_EQ(count, infos->GetFieldCount());
    SCA_Object::Destroy(infos);

    uint32_t exists = 9;
    ASSERT_EQ(1, m_Client.IsProfileExists("", &exists, &id));
    EXPECT_EQ(0u, exists);
    EXPECT_EQ(SCA_ALL_ONES, id);
    EXPECT_EQ(SCA_ALL_ONES, ProfileId("first")) << "names are case-sensitive";

    uint32_t third = 0;
    ASSERT_EQ(1, m_Client.CopyProfile(first, "Third", &third));
    EXPECT_EQ(third, ProfileId("Third"));
    EXPECT_EQ(0, m_Client.CopyProfile(first, "Second", &id)) << "a name in use";
    ASSERT_EQ(1, m_Client.RenameProfile(third, "Renamed"));
    EXPECT_EQ(third, ProfileId("Renamed"));
    EXPECT_EQ(SCA_ALL_ONES, ProfileId("Third"));
    EXPECT_EQ(0, m_Client.RenameProfile(third, "First"));
    EXPECT_EQ(third, ProfileId("Renamed"));

    ASSERT_EQ(1, m_Client.DeleteProfileByName("Renamed"));
    EXPECT_EQ(0, m_Client.DeleteProfileByName("Renamed"));
    EXPECT_EQ(1, m_Reports.Count(SCA_LEVEL_ERROR,
                                 "SCA_KorvantaAgent::DeleteProfileByName: invalid profile - "
                                 "Renamed"));
    ASSERT_EQ(1, m_Client.DeleteProfile(second));
    EXPECT_EQ(0, m_Client.DeleteProfile(second));
    EXPECT_EQ(1, m_Reports.Count(SCA_LEVEL_ERROR, "SCA_KorvantaAgent::DeleteProfile: invalid "
                                                  "profile ID - " +
                                                      std::to_string(second)));
    EXPECT_EQ(first, ProfileId("First"));
}

TEST_F(AgentConfigTest, AFailedAddProfileTakesBackOnlyTheProfileItMade) {
    uint32_t kept = 0;
    ASSERT_EQ(1, m_Client.AddProfile("Kept", kSystemPreset, &kept));
    uint32_t before = 0;
    ASSERT_EQ(1, m_Client.GetProfileCount(&before));

    uint32_t id = 12345;
    EXPECT_EQ(0, m_Client.AddProfile("Broken", kNoSuchPreset, &id));
    EXPECT_EQ(12345u, id) << "no id is handed out";
    EXPECT_EQ(1, m_Reports.Count(SCA_LEVEL_ERROR,
                                 "SCA_KorvantaAgent::AddProfile: cannot init profile - Broken"));
    EXPECT_EQ(SCA_ALL_ONES, ProfileId("Broken"));
    uint32_t count = 0;
    ASSERT_EQ(1, m_Client.GetProfileCount(&count));
    EXPECT_EQ(before, count);

    // The same name as a profile that exists: refused at the add, the older one untouched.
    EXPECT_EQ(0, m_Client.AddProfile("Kept", kNoSuchPreset, &id));
    EXPECT_EQ(1, m_Reports.Count(SCA_LEVEL_ERROR,
                                 "SCA_KorvantaAgent::AddProfile: cannot add profile - Kept"));
    EXPECT_EQ(kept, ProfileId("Kept"));
    SCA_TezProfile* profile = nullptr;
    ASSERT_EQ(1, m_Ctrl.GetUserConfig()->GetProfiles()->GetProfile(kept, &profile));
    EXPECT_GT(profile->GetCounterList()->Count(), 0u) << "its counters are as they were";
    ASSERT_EQ(1, m_Client.GetProfileCount(&count));
    EXPECT_EQ(before, count);
}

} // namespace
