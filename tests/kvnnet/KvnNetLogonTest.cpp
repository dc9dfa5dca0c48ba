// SPDX-License-Identifier: MIT
// The two checks that the login builds on: the operating-system logon and the SHA-256
// signature text.
#include <cerrno>
#include <gtest/gtest.h>
#include <security/pam_appl.h>
#include <string>

#include "libmor/auth/SCA_LogonUser.h"
#include "net/SCA_NetSignature.h"

namespace {

// What the fake system answers, and what it was asked.
int g_Answer = PAM_SUCCESS;
std::string g_Asked;

int ScriptedLogon(const char* service, const char* user, const char* password,
                  const char* remoteHost) {
    g_Asked = std::string(service) + "/" + user + "/" + password;
    if (remoteHost != nullptr) {
        g_Asked += std::string(" from ") + remoteHost;
    }
    return g_Answer;
}

TEST(LogonUser, TheSystemsAnswerBecomesAnErrorCodeWithAText) {
    const SCA_LogonBackend previous = SCA_SetLogonBackend(&ScriptedLogon);
    const struct {
        int Answer;
        int Result;
        uint32_t Error;
    } rows[] = {
        {PAM_SUCCESS, 1, 0},
        {PAM_AUTH_ERR, 0, EACCES},
        {PAM_USER_UNKNOWN, 0, EACCES},
        {PAM_ACCT_EXPIRED, 0, EPERM},
        {PAM_NEW_AUTHTOK_REQD, 0, EPERM},
        {PAM_SYSTEM_ERR, 0, EIO},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Answer);
        g_Answer = row.Answer;
        g_Asked.clear();
        uint32_t error = 12345;
        EXPECT_EQ(SCA_LogonUser("ops", "s3cret", 0, &error), row.Result);
        EXPECT_EQ(error, row.Error);
        EXPECT_EQ(g_Asked, "korvas/ops/s3cret");
    }

    // Nothing to check: the system is not asked.
    g_Asked.clear();
    uint32_t error = 0;
    EXPECT_EQ(SCA_LogonUser("", "s3cret", 0, &error), 0);
    EXPECT_EQ(error, static_cast<uint32_t>(EINVAL));
    EXPECT_EQ(SCA_LogonUser("ops", nullptr, 0, &error), 0);
    EXPECT_EQ(g_Asked, "");

    // The peer's address reaches the system (PAM_RHOST).
    g_Answer = PAM_AUTH_ERR;
    EXPECT_EQ(SCA_LogonUserFrom("ops", "guess", "192.0.2.7", &error), 0);
    EXPECT_EQ(g_Asked, "korvas/ops/guess from 192.0.2.7");
    EXPECT_EQ(error, static_cast<uint32_t>(EACCES));

    EXPECT_EQ(SCA_SetLogonBackend(previous), &ScriptedLogon);
}

TEST(CalcSigSHA256, LowercaseHexOfTheGivenBytes) {
    char sig[SCA_SIG_SHA256_SIZE];
    ASSERT_EQ(SCA_CalcSigSHA256("", 0, sig, sizeof(sig)), 1);
    EXPECT_STREQ(sig, "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    // Only the given length counts, not the NUL.
    ASSERT_EQ(SCA_CalcSigSHA256("abcdef", 3, sig, sizeof(sig)), 1);
    EXPECT_STREQ(sig, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    const char* two = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
    ASSERT_EQ(SCA_CalcSigSHA256(two, 56, sig, sizeof(sig)), 1);
    EXPECT_STREQ(sig, "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");

    // A buffer without room for the NUL gets nothing.
    char shorter[SCA_SIG_SHA256_SIZE - 1] = "x";
    EXPECT_EQ(SCA_CalcSigSHA256("abc", 3, shorter, sizeof(shorter)), 0);
    EXPECT_STREQ(shorter, "");
}

} // namespace
