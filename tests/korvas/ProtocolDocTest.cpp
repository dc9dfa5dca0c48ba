// SPDX-License-Identifier: MIT
// The checked-in protocol reference is what the command tables, the codecs and the records'
// serialisers write. Run with KORVANTA_WRITE_PROTOCOL_DOC=1 to write it anew after changing
// one of them.
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "korvas/SCA_KorvantaCtrl.h"
#include "libkvn/SCA_KorvantaNetCommands.h"
#include "libmor/SCA_Crypto.h"
#include "libtez/SCA_KorvantaCommands.h"
#include "libtez/SCA_KorvantaProtocolDoc.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_StringStor.h"
#include "net/SCA_KorvantaLogin.h"
#include "net/SCA_NetCommandDoc.h"
#include "net/SCA_NetTransport.h"
#include "tests/support/TestPaths.h"

namespace {

std::string Reference() {
    return "# Korvanta protocol reference\n\n"
           "Generated from the command tables (libtez/SCA_KorvantaCommands.h, "
           "libkvn/SCA_KorvantaNetCommands.h), the reply codecs and the records' serialisers; do "
           "not edit by hand.\n\n" +
           SCA_NetCommandDoc::Transport() + "\n" + SCA_KorvantaProtocolDoc::Login() +
           SCA_KorvantaProtocolDoc::Session(
               {SCA_KORVAS_MAX_CONNECTIONS, SCA_OPTION_MAX_CONNECTIONS, SCA_KORVAS_STRANGER_SHARE,
                SCA_KORVAS_STRANGERS_PER_ADDRESS, SCA_KORVAS_STRANGER_MAX_PAYLOAD,
                SCA_KORVAS_STRANGER_IDLE_MS}) +
           SCA_NetCommandDoc::Table(
               "Client-to-service operations",
               "The operations between the client and the monitoring service, in slot order. "
               "An operation whose login is required is refused by the service's command server "
               "on a connection that has not logged in.",
               &SCA_KorvantaCommands::Shape, SCA_KorvantaCommands::Count()) +
           "\n" + SCA_KorvantaProtocolDoc::Replies() + SCA_KorvantaProtocolDoc::Enumerations() +
           SCA_NetCommandDoc::Table(
               "Network commands",
               "The commands between a monitoring service (a device) and a central network "
               "server, in registration order. The network server's agents decide on the login.",
               &SCA_KorvantaNetCommands::Shape, SCA_KorvantaNetCommands::Count());
}

TEST(ProtocolDocTest, TheCheckedInReferenceIsWhatTheCodeWrites) {
    const std::string path = std::string(korvanta_test::SourceDir()) + "/docs/protocol.md";
    const std::string expected = Reference();
    // Every object an operation hands back is described.
    EXPECT_EQ(expected.find("(not described)"), std::string::npos);
    const char* write = std::getenv("KORVANTA_WRITE_PROTOCOL_DOC");
    if (write != nullptr && std::string(write) == "1") {
        std::ofstream(path, std::ios::binary) << expected;
    }
    std::ifstream file(path, std::ios::binary);
    std::ostringstream stored;
    stored << file.rdbuf();
    EXPECT_EQ(stored.str(), expected)
        << path << " is stale: run the test with KORVANTA_WRITE_PROTOCOL_DOC=1";
}

// The worked login of the reference, worked out apart from this code, is what this code does:
// the same signature and key, and a sealed object that this code opens to the same fields.
TEST(ProtocolDocTest, TheWorkedLoginIsWhatTheClientAndTheServiceDo) {
    const SCA_KorvantaProtocolDoc::LoginExample& example = SCA_KorvantaProtocolDoc::Example();
    SCA_NetTransport transport;
    transport.SetServerStartTime(std::stoull(example.ServerStart));
    transport.SetServerConnectTime(std::stoull(example.ServerConnect));
    transport.SetClientStartTime(std::stoull(example.ClientStart));
    transport.SetClientConnectTime(std::stoull(example.ClientConnect));
    char signature[SCA_KorvantaLogin::kSignatureSize] = "";
    ASSERT_EQ(SCA_KorvantaLogin::Signature(transport, example.User, example.Password, signature),
              1);
    EXPECT_STREQ(signature, example.Signature);

    SCA_ConfigObj data("LoginData", nullptr);
    data.AddField("HostName", example.HostName);
    data.AddField("UserName", example.User);
    data.AddField("AuthSig", signature);
    SCA_StringStor plain;
    ASSERT_EQ(data.Serialize(&plain), 1);
    EXPECT_EQ(SCA_ToHex(plain.GetData(), plain.GetSize()), example.PlainHex);

    char key[SCA_KorvantaLogin::kKeySize];
    SCA_KorvantaLogin::RequestKey(transport, key);
    SCA_ConfigObj sealed("LoginData", nullptr);
    sealed.AddField("Nonce", example.Nonce);
    sealed.AddField("Cipher0", example.Cipher);
    sealed.AddField("Tag", example.Tag);
    ASSERT_EQ(sealed.Decrypt(key, 0, 0), 1);
    char text[256] = "";
    ASSERT_EQ(sealed.GetField("AuthSig", text, sizeof(text)), 1);
    EXPECT_STREQ(text, example.Signature);
    ASSERT_EQ(sealed.GetField("HostName", text, sizeof(text)), 1);
    EXPECT_STREQ(text, example.HostName);
    // The reply key is another key.
    SCA_KorvantaLogin::ReplyKey(transport, key);
    SCA_ConfigObj other("LoginData", nullptr);
    other.AddField("Nonce", example.Nonce);
    other.AddField("Cipher0", example.Cipher);
    other.AddField("Tag", example.Tag);
    EXPECT_EQ(other.Decrypt(key, 0, 0), 0);
}

} // namespace
