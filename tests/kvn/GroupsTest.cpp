// SPDX-License-Identifier: MIT
// Device groups and the group list file: membership, numbering, default monitors, rules.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "KvnTestSupport.h"
#include "libkvn/SCA_KvnGroup.h"
#include "libkvn/SCA_KvnGroupList.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_SrvMonitor.h"

using kvn_test::Damage;
using kvn_test::Printed;
using kvn_test::Reports;
using kvn_test::ServerFolders;
using Texts = std::vector<std::string>;

namespace {

// The members of a group as "name=id", in order.
Texts Members(const SCA_KvnGroup& group) {
    Texts members;
    for (auto* node = group.GetDevices()->GetHead(); node != nullptr; node = node->GetNext()) {
        members.push_back(std::string(node->GetName()) + "=" + std::to_string(node->GetItem()));
    }
    return members;
}

} // namespace

TEST(GroupList, NamesAreFoundWithoutCaseAndIdsAreNotReused) {
    SCA_KvnGroupList groups(nullptr, nullptr);
    SCA_KvnGroup* group = nullptr;
    SCA_KvnGroup* same = nullptr;
    ASSERT_EQ(1, groups.AddGroup("Servers", &group));
    ASSERT_EQ(1, groups.AddGroup("SERVERS", &same));
    EXPECT_EQ(group, same);
    EXPECT_EQ(1u, groups.GetStatusId());
    EXPECT_EQ(1u, groups.GetNextGroupId());
    EXPECT_STREQ("Servers", groups.GetItemNameById(0));

    groups.AddGroup("Desktops", &group);
    groups.AddGroup("Printers", &group);
    EXPECT_EQ(2u, group->GetGroupId());
    EXPECT_EQ(1, groups.DeleteGroup(1));
    EXPECT_EQ(1, groups.DeleteGroup(1));
    EXPECT_EQ(4u, groups.GetStatusId());
    groups.AddGroup("Laptops", &group);
    EXPECT_EQ(3u, group->GetGroupId());
    EXPECT_EQ(0, groups.GetGroup("desktops", &group));

    groups.ClearAll();
    groups.AddGroup("Servers", &group);
    EXPECT_EQ(0u, group->GetGroupId());
    EXPECT_EQ("Group ID: 0, GroupName: Servers\n", Printed([&] { groups.Show(); }));
    groups.ClearAll();
    EXPECT_EQ("No Groups To Display\n", Printed([&] { groups.Show(); }));
}

TEST(Group, MembershipKeepsTheFirstNameAndRefusesUnstorableNames) {
    SCA_KvnGroup group(nullptr, nullptr);
    group.SetGroupName("Servers");
    ASSERT_EQ(1, group.AddDevice(12, "alpha"));
    ASSERT_EQ(1, group.AddDevice(12, "beta"));
    EXPECT_EQ((Texts{"alpha=12"}), Members(group));
    EXPECT_EQ(1, group.IsMember(12));
    EXPECT_EQ(1, group.DeleteDevice(99));

    Reports reports;
    EXPECT_EQ(0, group.AddDevice(13, ""));
    EXPECT_EQ(0, group.AddDevice(14, "bad\x01name"));
    EXPECT_EQ(0, group.AddDevice(15, nullptr));
    EXPECT_EQ(0, group.IsMember(14));
    EXPECT_EQ(3u, reports.TakeTexts().size());
    EXPECT_EQ(1, group.DeleteDevice(12));
    EXPECT_EQ(0, group.IsMember(12));
}

TEST(Group, AGroupReadWithoutMonitorsRunsTheDefaultMonitor) {
    for (bool emptyMonitors : {false, true}) {
        SCA_ConfigObj stored("Group", nullptr);
        stored.AddField("GroupId", 4u);
        stored.AddField("GroupName", "Lab");
        if (emptyMonitors) {
            stored.AddConfigObj("Monitors");
        }
        stored.AddConfigObj("Devices")->AddField("alpha", 12u);
        SCA_KvnGroup group(nullptr, nullptr);
        ASSERT_EQ(1, group.Deserialize(&stored));
        EXPECT_EQ(4u, group.GetGroupId());
        EXPECT_STREQ("Lab", group.GetGroupName());
        ASSERT_EQ(1u, group.GetMonitors()->Count());
        const SCA_SrvMonitor* monitor = group.GetMonitors()->GetHead()->GetItem();
        EXPECT_STREQ("System Monitor", monitor->GetDescription());
        EXPECT_EQ(0u, monitor->GetMonitorType());
        EXPECT_EQ(1u, monitor->GetProfile()->GetProfileId());
        EXPECT_EQ(1, monitor->GetAutoStart());
        EXPECT_EQ((Texts{"alpha=12"}), Members(group));
    }
}

TEST(Group, RulesTravelWithTheGroupButNotThroughSetContent) {
    SCA_KvnGroup source(nullptr, nullptr);
    source.SetGroupName("Web");
    source.AddDevice(1, "web-01");
    source.GetRules()->InitDefaultRules();
    SCA_ConfigObj stored("Group", nullptr);
    ASSERT_EQ(1, source.Serialize(&stored));
    SCA_KvnGroup read(nullptr, nullptr);
    ASSERT_EQ(1, read.Deserialize(&stored));
    EXPECT_EQ(20u, read.GetRules()->Count());

    SCA_KvnGroup target(nullptr, nullptr);
    SCA_KvnRule* rule = nullptr;
    target.GetRules()->AddRule(&rule);
    ASSERT_EQ(1, target.SetContent(&source));
    EXPECT_STREQ("Web", target.GetGroupName());
    EXPECT_EQ((Texts{"web-01=1"}), Members(target));
    EXPECT_EQ(1u, target.GetRules()->Count());

    SCA_KvnGroup copy(source);
    ASSERT_EQ(1u, copy.IsConstructed());
    EXPECT_EQ(20u, copy.GetRules()->Count());
    copy.AddDevice(2, "web-02");
    EXPECT_EQ(0, source.IsMember(2));
}

TEST(GroupListFile, RoundTripKeepsMembersMonitorsAndRules) {
    ServerFolders folders;
    SCA_KvnGroupList groups(nullptr, &folders.Settings);
    SCA_KvnGroup* group = nullptr;
    for (const char* name : {"a", "b", "Lab", "d", "e", "f", "g", "Web"}) {
        groups.AddGroup(name, &group);
    }
    for (uint32_t id : {0u, 1u, 3u, 4u, 5u, 6u}) {
        groups.DeleteGroup(id);
    }
    ASSERT_EQ(1, groups.GetGroup("web", &group));
    // Two members may share a name: each is its own field of the file.
    group->AddDevice(10, "twin");
    group->AddDevice(11, "twin");
    group->GetRules()->InitDefaultRules();
    group->GetRules()->DeleteRule(0);
    ASSERT_EQ(1, groups.Save());

    SCA_KvnGroupList loaded(nullptr, &folders.Settings);
    ASSERT_EQ(1, loaded.Load());
    EXPECT_EQ(2u, loaded.Count());
    EXPECT_EQ(8u, loaded.GetNextGroupId());
    EXPECT_EQ(2u, loaded.GetStatusId());
    ASSERT_EQ(1, loaded.GetGroup(7u, &group));
    EXPECT_STREQ("Web", loaded.GetItemNameById(7));
    EXPECT_EQ((Texts{"twin=10", "twin=11"}), Members(*group));
    EXPECT_EQ(19u, group->GetRules()->Count());
    EXPECT_EQ(20u, group->GetRules()->GetNextRuleId());
    EXPECT_EQ(1u, group->GetMonitors()->Count());
    // The monitors of a group read from the file belong to the server's user configuration.
    EXPECT_EQ(&folders.Settings, group->GetMonitors()->GetUserConfig());
    ASSERT_EQ(1, loaded.GetGroup("lab", &group));
    EXPECT_EQ(2u, group->GetGroupId());
}

TEST(GroupListFile, MissingDamagedAndFolderlessFiles) {
    ServerFolders folders;
    SCA_KvnGroupList groups(nullptr, &folders.Settings);
    SCA_KvnGroup* group = nullptr;
    groups.AddGroup("Kept", &group);
    ASSERT_EQ(1, groups.Load()); // no file: the groups in memory stay
    EXPECT_EQ(1u, groups.Count());

    ASSERT_EQ(1, groups.Save());
    groups.AddGroup("Newer", &group);
    Damage(folders.Dir / "groups.hdx");
    Reports reports;
    EXPECT_EQ(0, groups.Load());
    EXPECT_EQ(2u, groups.Count());

    SCA_KvnNetConfigUser noFolder(nullptr);
    SCA_KvnGroupList homeless(nullptr, &noFolder);
    EXPECT_EQ(0, homeless.Save());
    EXPECT_EQ(0, homeless.Load());
    const Texts texts = reports.TakeTexts();
    ASSERT_EQ(3u, texts.size());
    EXPECT_NE(std::string::npos, texts[0].find("SCA_KvnGroupList::Load: cannot load (ERR:"));
    EXPECT_EQ("SCA_KvnGroupList::Save: cannot build server group list file name", texts[1]);
}

TEST(GroupList, ClonesAndCopiesAreIndependent) {
    SCA_KvnGroupList groups(nullptr, nullptr);
    SCA_KvnGroup* group = nullptr;
    groups.AddGroup("Web", &group);
    group->AddDevice(3, "web-03");
    SCA_KvnGroupList* clone = groups.Clone();
    ASSERT_NE(nullptr, clone);
    ASSERT_EQ(1, clone->GetGroup("WEB", &group));
    EXPECT_EQ(1, group->IsMember(3));
    group->DeleteDevice(3);
    clone->Destroy();

    SCA_KvnGroupList copy(groups);
    EXPECT_EQ(groups.GetStatusId(), copy.GetStatusId());
    EXPECT_EQ(1u, copy.GetNextGroupId());
    ASSERT_EQ(1, groups.GetGroup(0u, &group));
    EXPECT_EQ(1, group->IsMember(3));
}
