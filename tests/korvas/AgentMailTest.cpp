// SPDX-License-Identifier: MIT
// The mail server's setup, display and test as a client reaches them, against the tests' own
// SMTP server on 127.0.0.1: a failed test or a port that does not fit stores nothing, and the
// password never comes back.
#include <string>

#include <gtest/gtest.h>

#include "libmor/SCA_Limits.h"
#include "libmor/mail/SCA_SmtpClient.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezConfigUser.h"
#include "tests/korvas/AgentClientTest.h"
#include "tests/mail/TestSmtpServer.h"

namespace {

using korvanta_test::TestSmtpServer;
constexpr uint32_t kLogin = 1;
constexpr uint32_t kPlain = 0;
constexpr uint32_t kTestFirst = 1;

class AgentMailTest : public korvas_test::AgentClientTest {
protected:
    std::string Field(SCA_ConfigObj* object, const char* name) {
        char value[256] = "?";
        EXPECT_EQ(1, object->GetField(name, value, sizeof(value))) << name;
        return value;
    }
    SCA_TezConfigUser* User() { return m_Ctrl.GetUserConfig(); }
};

TEST_F(AgentMailTest, AFailedTestOrAPortThatDoesNotFitStoresNothing) {
    TestSmtpServer server(TestSmtpServer::Mode::RefuseLogin);
    ASSERT_NE(0, server.Port());
    User()->SetEmailServer("kept.example");
    uint32_t result = 9;
    ASSERT_EQ(1, m_Client.SetupSmtpServer("127.0.0.1", "user", "wrong", "from@example",
                                          server.Port(), SCA_SMTP_TLS_IF_AVAILABLE, kPlain, kLogin,
                                          kTestFirst, &result));
    EXPECT_EQ(0u, result);
    EXPECT_EQ(1, m_Reports.Count(SCA_LEVEL_ERROR, "Cannot connect to the specified SMTP server."));
    EXPECT_GE(server.Connections(), 1) << "the test did connect";
    EXPECT_STREQ("kept.example", User()->GetEmailServer());
    EXPECT_EQ(0, User()->GetEnableEmail());

    // 65536 + 25 would be kept as port 25: refused before anything is tried or stored.
    const int connections = server.Connections();
    result = 9;
    ASSERT_EQ(1, m_Client.SetupSmtpServer("127.0.0.1", "user", "secret", "from@example", 65561,
                                          SCA_SMTP_TLS_IF_AVAILABLE, kPlain, kLogin, 0, &result));
    EXPECT_EQ(0u, result);
    EXPECT_EQ(1, m_Reports.Count(SCA_LEVEL_ERROR, "invalid SMTP server port - 65561"));
    EXPECT_EQ(connections, server.Connections());
    EXPECT_STREQ("kept.example", User()->GetEmailServer());
    EXPECT_EQ(0, User()->GetEnableEmail());

    // Not logged in: refused.
    SCA_KorvantaInterface stranger;
    ASSERT_EQ(1, Connect(&stranger));
    EXPECT_EQ(0, stranger.SetupSmtpServer("127.0.0.1", "", "", "", 25, 0, 0, 0, 0, &result));
    EXPECT_STREQ("kept.example", User()->GetEmailServer());
}

TEST_F(AgentMailTest, ATestedSetupIsStoredShownWithoutItsPasswordAndTestedAgain) {
    uint32_t result = 9;
    ASSERT_EQ(1, m_Client.TestSmtpServer(&result));
    EXPECT_EQ(0u, result);
    EXPECT_EQ(1, m_Reports.Count(SCA_LEVEL_ERROR, "E-Mail Notifications are disabled"));

    uint16_t port = 0;
    {
        TestSmtpServer server(TestSmtpServer::Mode::Accept);
        port = server.Port();
        ASSERT_EQ(1, m_Client.SetupSmtpServer("127.0.0.1", "user", "secret", "from@example", port,
                                              SCA_SMTP_TLS_IF_AVAILABLE, kPlain, kLogin, kTestFirst,
                                              &result));
        EXPECT_EQ(1u, result);
        EXPECT_EQ(1, server.Logins());
        EXPECT_EQ(1, m_Reports.Count(SCA_LEVEL_INFO, "SMTP server configuration updated"));
        EXPECT_EQ(1, User()->GetEnableEmail());
        EXPECT_EQ(port, User()->GetEmailServerPort());
        EXPECT_STREQ("secret", User()->GetEmailPassword());

        // The display never shows the password; the command server keeps it from a
        // connection that has not logged in.
        SCA_KorvantaInterface stranger;
        ASSERT_EQ(1, Connect(&stranger));
        SCA_ConfigObj* setup = nullptr;
        EXPECT_EQ(0, stranger.GetSmtpServerSetup(&setup));
        EXPECT_EQ(nullptr, setup);
        ASSERT_EQ(1, m_Client.GetSmtpServerSetup(&setup));
        ASSERT_NE(nullptr, setup);
        EXPECT_EQ("Enabled", Field(setup, "E-Mail Notifications"));
        EXPECT_EQ("from@example", Field(setup, "Source E-Mail Address"));
        EXPECT_EQ("127.0.0.1", Field(setup, "SMTP Server"));
        uint16_t shownPort = 0;
        EXPECT_EQ(1, setup->GetField("SMTP Server Port", &shownPort));
        EXPECT_EQ(port, shownPort);
        EXPECT_EQ("Yes", Field(setup, "SMTP Server Login"));
        EXPECT_EQ("user", Field(setup, "SMTP User Name"));
        EXPECT_EQ("", Field(setup, "SMTP Password"));
        EXPECT_EQ("No", Field(setup, "SMTP Secure Connect"));
        EXPECT_EQ("TLS, If Available", Field(setup, "SMTP Connect Mode"));
        EXPECT_EQ(9u, setup->GetFieldCount());
        SCA_Object::Destroy(setup);

        result = 9;
        ASSERT_EQ(1, m_Client.TestSmtpServer(&result));
        EXPECT_EQ(1u, result);
        EXPECT_EQ(2, server.Logins());
    }
    // The server is gone: the stored setup no longer connects.
    result = 9;
    ASSERT_EQ(1, m_Client.TestSmtpServer(&result));
    EXPECT_EQ(0u, result);
    EXPECT_EQ(1, m_Reports.Count(SCA_LEVEL_ERROR, "Cannot connect to the specified SMTP server."));

    m_Ctrl.ChangeUserConfig([this] {
        User()->SetEmailConnectMode(7);
        return 1;
    });
    SCA_ConfigObj* setup = nullptr;
    ASSERT_EQ(1, m_Client.GetSmtpServerSetup(&setup));
    EXPECT_EQ("INV", Field(setup, "SMTP Connect Mode"));
    SCA_Object::Destroy(setup);
}

} // namespace
