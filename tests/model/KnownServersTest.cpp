// SPDX-License-Identifier: MIT
// Keyboard commands, known servers and language-model servers, and their lists.
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

#include "model/SCA_ConfigObj.h"
#include "model/SCA_KeyCommand.h"
#include "model/SCA_LlmServer.h"
#include "model/SCA_LlmServerList.h"
#include "model/SCA_SrvConnect.h"
#include "model/SCA_SrvConnectList.h"
#include "tests/model/ModelTestSupport.h"
#include "tests/model/RecordTestSupport.h"
#include "tests/model/SettingsTestSupport.h"

namespace {

using model_test::Bytes;
using records_test::Travel;

static_assert(!std::is_copy_constructible_v<SCA_SrvConnectList>, "a list owns its servers");
static_assert(!std::is_copy_constructible_v<SCA_LlmServerList>, "a list owns its servers");

std::vector<std::string> Hosts(const SCA_SrvConnectList& list) {
    std::vector<std::string> hosts;
    for (auto* node = list.GetHead(); node != nullptr; node = node->GetNext()) {
        EXPECT_STREQ(node->GetName(), node->GetItem()->GetComputerNameA());
        hosts.emplace_back(node->GetItem()->GetComputerNameA());
    }
    return hosts;
}

TEST(KeyCommandTest, CommandNamesFollowTheirTableAndAnythingElseIsInvalid) {
    struct Case {
        uint32_t Id;
        const char* Name;
    };
    for (const Case& c :
         {Case{0, "ABOUT"}, Case{1, "START"}, Case{13, "COPY"}, Case{14, "INV"}, Case{15, "RENAME"},
          Case{22, "EXIT"}, Case{23, "INV"}, Case{0xFFFFFFFFu, "INV"}}) {
        EXPECT_STREQ(SCA_KeyCommand::GetCmdName(c.Id), c.Name) << c.Id;
    }
    SCA_KeyCommand command(17, "Ctrl+O");
    EXPECT_STREQ(command.GetName(), "OPTIONS");
    command.SetCmdId(99);
    EXPECT_STREQ(command.GetName(), "INV");
}

TEST(KeyCommandTest, CopiesAndTheStoredFormKeepIdAndKey) {
    SCA_KeyCommand command(5, "Ctrl+Shift+\xC3\xA9");
    SCA_KeyCommand copy(command);
    EXPECT_EQ(copy.IsConstructed(), 1u);
    EXPECT_EQ(copy.GetCmdId(), 5u);
    EXPECT_STREQ(copy.GetKey(), command.GetKey());

    SCA_ConfigObj form("Shortcut", nullptr);
    ASSERT_EQ(command.Serialize(&form), 1);
    SCA_KeyCommand read;
    ASSERT_EQ(read.Deserialize(Travel(form).get()), 1);
    EXPECT_EQ(read.GetCmdId(), 5u);
    EXPECT_STREQ(read.GetKey(), command.GetKey());

    model_test::Reports reports;
    settings_test::SetRaw(form, "CmdId", "-1");
    EXPECT_EQ(read.Deserialize(&form), 0);
    EXPECT_EQ(read.GetCmdId(), 5u);
}

TEST(SrvConnectTest, TextsAreCutToTheir64ByteFields) {
    SCA_SrvConnect server;
    const std::string computer(70, 'c');
    server.SetComputerNameA(computer.c_str());
    EXPECT_EQ(std::string(server.GetComputerNameA()), computer.substr(0, 63));
    const std::string straddling = records_test::StraddlingText(SCA_TEZ_NAME_SIZE);
    server.SetUserName(straddling.c_str());
    EXPECT_EQ(std::string(server.GetUserNameA()), std::string(SCA_TEZ_NAME_SIZE - 2, 'a'));
    server.SetPassword(nullptr);
    EXPECT_STREQ(server.GetPassword(), "");
    server.SetPortNumber(65535);

    SCA_SrvConnect copy = server;
    EXPECT_EQ(std::string(copy.GetComputerNameA()), computer.substr(0, 63));
    EXPECT_EQ(copy.GetPortNumber(), 65535);
}

TEST(SrvConnectListTest, AHostIsListedOnceByItsStoredNameAndKeepsItsPlace) {
    SCA_SrvConnectList list;
    ASSERT_EQ(list.AddConnect("alpha", "admin", "one", 24503), 1);
    ASSERT_EQ(list.AddConnect("beta", "admin", "two", 24503), 1);
    ASSERT_EQ(list.AddConnect("alpha", "ops", "three", 25000), 1);
    EXPECT_EQ(Hosts(list), (std::vector<std::string>{"alpha", "beta"}));
    SCA_SrvConnect* alpha = nullptr;
    ASSERT_EQ(list.GetConnect("alpha", &alpha), 1);
    EXPECT_STREQ(alpha->GetUserNameA(), "ops");
    EXPECT_STREQ(alpha->GetPassword(), "three");
    EXPECT_EQ(alpha->GetPortNumber(), 25000);
    EXPECT_EQ(list.GetConnect("Alpha", &alpha), 0);

    // A long host is found under the name the user is shown.
    const std::string longHost(80, 'h');
    ASSERT_EQ(list.AddConnect(longHost.c_str(), "u", "p", 1), 1);
    ASSERT_EQ(list.AddConnect(longHost.c_str(), "u2", "p", 1), 1);
    EXPECT_EQ(list.Count(), 3u);
    EXPECT_EQ(list.DeleteConnect(longHost.substr(0, 63).c_str()), 1);

    model_test::Reports reports;
    EXPECT_EQ(list.AddConnect("", "u", "p", 1), 0);
    EXPECT_EQ(list.AddConnect(nullptr, "u", "p", 1), 0);
    EXPECT_EQ(list.DeleteConnect("gamma"), 0);
    EXPECT_EQ(list.DeleteConnect(nullptr), 0);
    EXPECT_EQ(list.MoveItemUp("beta"), 1);
    EXPECT_EQ(Hosts(list), (std::vector<std::string>{"beta", "alpha"}));
    EXPECT_EQ(list.DeleteConnect("beta"), 1);
    EXPECT_EQ(Hosts(list), (std::vector<std::string>{"alpha"}));
    list.ClearAll();
    EXPECT_EQ(list.Count(), 0u);
}

TEST(SrvConnectListTest, TheStoredFormKeepsOrderNamesAndLookups) {
    SCA_SrvConnectList list;
    for (const char* host : {"c", "a", "b"}) {
        ASSERT_EQ(list.AddConnect(host, "admin", host, 24503), 1);
    }
    ASSERT_EQ(list.MoveItemToTail("c"), 1);
    SCA_ConfigObj form("KnownServers", nullptr);
    ASSERT_EQ(list.Serialize(&form), 1);

    SCA_SrvConnectList read;
    ASSERT_EQ(read.Deserialize(Travel(form).get()), 1);
    EXPECT_EQ(Hosts(read), (std::vector<std::string>{"a", "b", "c"}));
    SCA_SrvConnect* c = nullptr;
    ASSERT_EQ(read.GetConnect("c", &c), 1);
    EXPECT_STREQ(c->GetPassword(), "c");
    SCA_ConfigObj again("KnownServers", nullptr);
    ASSERT_EQ(read.Serialize(&again), 1);
    EXPECT_EQ(Bytes(again), Bytes(form));

    settings_test::SetRaw(*settings_test::Child(form, "1"), "Port", "70000");
    model_test::Reports reports;
    EXPECT_EQ(read.Deserialize(&form), 0);
    EXPECT_EQ(Hosts(read), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(LlmServerTest, CopiesAndTheStoredFormKeepEveryFieldExactly) {
    SCA_LlmServer server;
    EXPECT_EQ(server.IsDescriptionSet(), 0);
    server.SetHostName("llm.local");
    server.SetPortNumber(11434);
    server.SetConnectTimeout(2500);
    server.SetMode(2);
    server.SetModelName("small-model");
    server.SetDescription("on the lab machine");
    server.SetAccuracy(1.0 / 3.0);
    server.SetPerformance(1e-300);
    server.SetTestAbsTime(0xFFFFFFFFFFFFFFFFULL);
    EXPECT_EQ(server.IsDescriptionSet(), 1);

    SCA_LlmServer copy(server);
    SCA_ConfigObj form("Server", nullptr);
    ASSERT_EQ(server.Serialize(&form), 1);
    SCA_LlmServer read;
    ASSERT_EQ(read.Deserialize(Travel(form).get()), 1);
    for (const SCA_LlmServer* s : {&copy, &read}) {
        EXPECT_EQ(s->GetAccuracy(), 1.0 / 3.0);
        EXPECT_EQ(s->GetPerformance(), 1e-300);
        EXPECT_EQ(s->GetTestAbsTime(), 0xFFFFFFFFFFFFFFFFULL);
        EXPECT_STREQ(s->GetModelName(), "small-model");
        EXPECT_STREQ(s->GetDescription(), "on the lab machine");
        EXPECT_EQ(s->GetPortNumber(), 11434);
        EXPECT_EQ(s->GetConnectTimeout(), 2500u);
        EXPECT_EQ(s->GetMode(), 2u);
    }
    const std::string straddling = records_test::StraddlingText(SCA_TEZ_TEXT_SIZE);
    read.SetHostName(straddling.c_str());
    EXPECT_EQ(std::string(read.GetHostName()), std::string(SCA_TEZ_TEXT_SIZE - 2, 'a'));
}

TEST(LlmServerListTest, ServersTakeTheListsIdsWhichAreNeverReused) {
    SCA_LlmServerList list;
    uint32_t first = 0;
    uint32_t second = 0;
    ASSERT_EQ(list.AddServer(new SCA_LlmServer(), &first), 1);
    ASSERT_EQ(list.AddServer(new SCA_LlmServer(), &second), 1);
    EXPECT_NE(first, second);
    SCA_LlmServer* server = nullptr;
    ASSERT_EQ(list.GetServer(second, &server), 1);
    EXPECT_EQ(server->GetServerId(), second);
    EXPECT_EQ(list.DeleteServer(second), 1);
    EXPECT_EQ(list.GetServer(second, &server), 0);
    uint32_t third = 0;
    ASSERT_EQ(list.AddServer(new SCA_LlmServer(), &third), 1);
    EXPECT_NE(third, second);
    EXPECT_EQ(list.AddServer(nullptr, nullptr), 0);

    SCA_ConfigObj form("LlmServers", nullptr);
    ASSERT_EQ(list.Serialize(&form), 1);
    // A stored server answers to the id it is listed under.
    settings_test::SetRaw(*settings_test::Child(form, std::to_string(third).c_str()), "ServerId",
                          "77");
    SCA_LlmServerList read;
    ASSERT_EQ(read.Deserialize(&form), 1);
    ASSERT_EQ(read.GetServer(third, &server), 1);
    EXPECT_EQ(server->GetServerId(), third);
    uint32_t next = 0;
    ASSERT_EQ(read.AddServer(new SCA_LlmServer(), &next), 1);
    EXPECT_GT(next, third);
}

} // namespace
