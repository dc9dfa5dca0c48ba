// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>

#include "libmor/mail/SCA_SmtpClient.h"
#include "tests/mail/TestSmtpServer.h"

using korvanta_test::TestSmtpServer;

namespace {

constexpr uint32_t kShortTimeoutMs = 3000;

int ConnectTo(SCA_SmtpClient* client, uint32_t port, uint32_t login, uint32_t* error,
              const char* password = "secret") {
    client->SetTimeout(kShortTimeoutMs);
    return client->Connect("127.0.0.1", port, "user", password, login, 0, SCA_SMTP_TLS_IF_AVAILABLE,
                           error);
}

} // namespace

TEST(SmtpClient, ConnectsWithAndWithoutLogin) {
    TestSmtpServer server(TestSmtpServer::Mode::Accept);
    ASSERT_NE(server.Port(), 0);
    SCA_SmtpClient client;
    uint32_t error = 0;
    EXPECT_EQ(ConnectTo(&client, server.Port(), 1, &error), 1) << error;
    EXPECT_EQ(server.Logins(), 1);
    EXPECT_EQ(client.IsConnected(), 1);
    EXPECT_EQ(ConnectTo(&client, server.Port(), 0, &error), 1) << error;
    EXPECT_EQ(server.Logins(), 1) << "no login was asked for the second time";
}

TEST(SmtpClient, RefusedOrMissingLoginFailsTheConnect) {
    TestSmtpServer refusing(TestSmtpServer::Mode::RefuseLogin);
    SCA_SmtpClient client;
    uint32_t error = 0;
    EXPECT_EQ(ConnectTo(&client, refusing.Port(), 1, &error), 0);
    EXPECT_EQ(error, SCA_SMTP_ERR_LOGIN);
    EXPECT_EQ(client.IsConnected(), 0);

    // A server that offers no login cannot have accepted one.
    TestSmtpServer noAuth(TestSmtpServer::Mode::NoAuth);
    error = 0;
    EXPECT_EQ(ConnectTo(&client, noAuth.Port(), 1, &error), 0);
    EXPECT_EQ(error, SCA_SMTP_ERR_LOGIN);

    TestSmtpServer accepting(TestSmtpServer::Mode::Accept);
    EXPECT_EQ(ConnectTo(&client, accepting.Port(), 1, &error, "wrong"), 0);
    EXPECT_EQ(error, SCA_SMTP_ERR_LOGIN);
}

TEST(SmtpClient, ServerThatClosesEarlyOrIsAbsentFails) {
    TestSmtpServer closing(TestSmtpServer::Mode::CloseEarly);
    SCA_SmtpClient client;
    uint32_t error = 0;
    EXPECT_EQ(ConnectTo(&client, closing.Port(), 0, &error), 0);
    EXPECT_EQ(error, SCA_SMTP_ERR_CONNECT);
    EXPECT_GE(closing.Connections(), 1);

    // STARTTLS required from a server that does not offer it.
    TestSmtpServer plain(TestSmtpServer::Mode::Accept);
    client.SetTimeout(kShortTimeoutMs);
    EXPECT_EQ(client.Connect("127.0.0.1", plain.Port(), "", "", 0, 1, SCA_SMTP_TLS, &error), 0);
    EXPECT_EQ(error, SCA_SMTP_ERR_CONNECT);
}

TEST(SmtpClient, OutOfRangeSettingsAreRefusedWithoutConnecting) {
    TestSmtpServer server(TestSmtpServer::Mode::Accept);
    SCA_SmtpClient client;
    uint32_t error = 0;
    // The port with 65536 added would cut to the server's own port.
    EXPECT_EQ(ConnectTo(&client, server.Port() + 65536u, 0, &error), 0);
    EXPECT_EQ(error, SCA_SMTP_ERR_SETTINGS);
    EXPECT_EQ(ConnectTo(&client, 0, 0, &error), 0);
    EXPECT_EQ(client.Connect("127.0.0.1", server.Port(), "", "", 0, 1, 3, &error), 0);
    EXPECT_EQ(client.Connect("", server.Port(), "", "", 0, 0, 0, &error), 0);
    EXPECT_EQ(server.Connections(), 0);
}

TEST(SmtpClient, SendsOneMailAndRefusesHeaderInjection) {
    TestSmtpServer server(TestSmtpServer::Mode::Accept);
    SCA_SmtpClient client;
    uint32_t error = 0;
    EXPECT_EQ(client.SendMail("a@x", "b@y", "s", "b", &error), 0) << "not connected yet";
    ASSERT_EQ(ConnectTo(&client, server.Port(), 1, &error), 1);
    ASSERT_EQ(client.SendMail("mon@example.org", "ops@example.org", "CPU high",
                              "line one\n.line two", &error),
              1)
        << error;
    const auto mails = server.Mails();
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_NE(mails[0].find("MAIL FROM:<mon@example.org>"), std::string::npos);
    EXPECT_NE(mails[0].find("RCPT TO:<ops@example.org>"), std::string::npos);
    EXPECT_NE(mails[0].find("Subject: CPU high\n"), std::string::npos);
    // The leading dot travels stuffed and the server's view keeps it doubled.
    EXPECT_NE(mails[0].find("line one\n..line two"), std::string::npos);

    EXPECT_EQ(client.SendMail("a@x", "b@y\r\nRCPT TO:<c@z>", "s", "b", &error), 0);
    EXPECT_EQ(error, SCA_SMTP_ERR_HEADER);
    EXPECT_EQ(client.SendMail("a@x", "b@y", "s\r\nBcc: c@z", "b", &error), 0);
    EXPECT_EQ(server.Mails().size(), 1u);
}
