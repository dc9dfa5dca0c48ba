// SPDX-License-Identifier: MIT
// Login to a network server in each of its modes, over a real connection to a server that
// checks the login as a network server does.
#include <gtest/gtest.h>
#include <security/pam_appl.h>
#include <string>
#include <vector>

#include "KvnNetInterfaceSupport.h"
#include "libmor/SCA_System.h"
#include "libmor/auth/SCA_LogonUser.h"

namespace {

using kvnnet_test::InterfaceTest;
using kvnnet_test::ReportCapture;
using Texts = std::vector<std::string>;

// The operating system's accounts, as far as these tests go: "ops" with "s3cret".
int FakeLogon(const char* /*service*/, const char* user, const char* password, const char*) {
    return std::string(user) == "ops" && std::string(password) == "s3cret" ? PAM_SUCCESS
                                                                           : PAM_AUTH_ERR;
}

class FakeAccounts {
public:
    FakeAccounts() : m_Previous(SCA_SetLogonBackend(&FakeLogon)) {}
    ~FakeAccounts() { SCA_SetLogonBackend(m_Previous); }
    FakeAccounts(const FakeAccounts&) = delete;
    FakeAccounts& operator=(const FakeAccounts&) = delete;

private:
    SCA_LogonBackend m_Previous;
};

std::string HostName() {
    char name[256] = "";
    SCA_GetHostName(name, sizeof(name));
    return name;
}

// The login data without its signature's value, which changes with every connection.
Texts WithoutSignature(Texts fields) {
    for (std::string& field : fields) {
        if (field.rfind("AuthSig=", 0) == 0) {
            EXPECT_EQ(field.size(), 8u + 64u) << field;
            EXPECT_EQ(field.find_first_not_of("0123456789abcdef", 8), std::string::npos) << field;
            field = "AuthSig=<signature>";
        }
    }
    return fields;
}

using LoginTest = InterfaceTest;

TEST_F(LoginTest, EachModeSendsItsOwnCredentialAndIsAccepted) {
    FakeAccounts accounts;
    const std::string host = "HostName=" + HostName();
    const struct {
        uint32_t Mode;
        Texts Sent;
    } modes[] = {
        {0, {host, "UserName=ops"}},
        {1, {host, "UserName=ops", "Password=s3cret"}},
        {2, {host, "UserName=ops", "AuthSig=<signature>"}},
    };
    for (const auto& mode : modes) {
        SCOPED_TRACE(mode.Mode);
        Connect(mode.Mode);
        uint32_t status = 77;
        ASSERT_EQ(m_Interface.Login("ops", "s3cret", &status), 1);
        EXPECT_EQ(status, 1u);
        EXPECT_EQ(WithoutSignature(LoginData()), mode.Sent);
        EXPECT_STREQ(m_Interface.GetLoginUser(), "ops");
        EXPECT_STREQ(m_Interface.GetLoginPassword(), "s3cret");
    }
}

TEST_F(LoginTest, AWrongPasswordIsRefused) {
    FakeAccounts accounts;
    // Modes 1 and 2: the server answers with status 0, and judging it is the caller's task.
    for (uint32_t mode : {1u, 2u}) {
        SCOPED_TRACE(mode);
        Connect(mode);
        uint32_t status = 77;
        ASSERT_EQ(m_Interface.Login("ops", "guess", &status), 1);
        EXPECT_EQ(status, 0u);
        EXPECT_STREQ(m_Interface.GetLoginPassword(), "guess");
    }

    // Mode 0: the system refuses the account here, and nothing is sent.
    Connect(0);
    const int sent = Logins();
    ReportCapture reports;
    uint32_t status = 77;
    EXPECT_EQ(m_Interface.Login("ops", "s3cret!", &status), 0);
    EXPECT_EQ(status, 77u);
    EXPECT_EQ(reports.Count(5, "User authentication error (Permission denied)"), 1);
    EXPECT_EQ(Logins(), sent);
    EXPECT_STREQ(m_Interface.GetLoginPassword(), "guess");
}

TEST_F(LoginTest, CredentialsTooLongForTheSignatureAreRefusedNotCut) {
    const std::string user(100, 'u');
    const std::string longest(SCA_KorvantaNetInterface::kMaxSignedCredentials - user.size(), 'p');
    m_State.Accounts[user] = longest;
    Connect(2);
    uint32_t status = 0;
    ASSERT_EQ(m_Interface.Login(user.c_str(), longest.c_str(), &status), 1);
    EXPECT_EQ(status, 1u); // the server's own signature of the whole text matches

    const int sent = Logins();
    ReportCapture reports;
    EXPECT_EQ(m_Interface.Login(user.c_str(), (longest + "p").c_str(), &status), 0);
    EXPECT_EQ(reports.Count(5, "SCA_KorvantaNetInterface::Login: user name and password too long "
                               "for the login signature"),
              1);
    EXPECT_EQ(Logins(), sent);
    EXPECT_STREQ(m_Interface.GetLoginPassword(), longest.c_str());

    // Any mode: the login user and password hold 255 bytes.
    Connect(1);
    EXPECT_EQ(m_Interface.Login("ops", std::string(256, 'p').c_str(), &status), 0);
    EXPECT_EQ(reports.Count(5, "longer than 255 characters"), 1);
    EXPECT_EQ(Logins(), sent);
}

TEST_F(LoginTest, AnUnknownModeSendsNothingAndKeepsTheLoginUser) {
    m_Interface.SetLoginUser("before");
    Connect(3);
    ReportCapture reports;
    uint32_t status = 77;
    EXPECT_EQ(m_Interface.Login("ops", "s3cret", &status), 0);
    EXPECT_EQ(reports.Count(5, "SCA_KorvantaNetInterface::Login: invaid server login mode - 3"), 1);
    EXPECT_EQ(Logins(), 0);
    EXPECT_STREQ(m_Interface.GetLoginUser(), "before");
}

TEST_F(LoginTest, OnlyTheLoopbackNameCountsAsLocal) {
    EXPECT_EQ(m_Interface.IsLocalInterface(), 0);
    Connect(1, "localhost");
    EXPECT_EQ(m_Interface.IsLocalInterface(), 1);
    Connect(1, "127.0.0.1");
    EXPECT_EQ(m_Interface.IsLocalInterface(), 0);
}

} // namespace
