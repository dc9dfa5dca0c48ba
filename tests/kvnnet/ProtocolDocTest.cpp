// The checked-in protocol reference is what the command tables write. Run with
// KORVANTA_WRITE_PROTOCOL_DOC=1 to write it anew after changing a table.
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "libkvn/SCA_KorvantaNetCommands.h"
#include "libtez/SCA_KorvantaCommands.h"
#include "net/SCA_NetCommandDoc.h"

namespace {

std::string Reference() {
    return "# Korvanta protocol reference\n\n"
           "Generated from the command tables (libtez/SCA_KorvantaCommands.h, "
           "libkvn/SCA_KorvantaNetCommands.h); do not edit by hand.\n\n" +
           SCA_NetCommandDoc::Transport() + "\n" +
           SCA_NetCommandDoc::Table(
               "Client-to-service operations",
               "The operations between the client and the monitoring service, in slot order. "
               "An operation whose login is required is refused by the service's command server "
               "on a connection that has not logged in.",
               &SCA_KorvantaCommands::Shape, SCA_KorvantaCommands::Count()) +
           "\n" +
           SCA_NetCommandDoc::Table(
               "Network commands",
               "The commands between a monitoring service (a device) and a central network "
               "server, in registration order. The network server's agents decide on the login.",
               &SCA_KorvantaNetCommands::Shape, SCA_KorvantaNetCommands::Count());
}

TEST(ProtocolDocTest, TheCheckedInReferenceIsWhatTheTablesWrite) {
    const std::string path = std::string(KORVANTA_SOURCE_DIR) + "/docs/protocol.md";
    const std::string expected = Reference();
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

} // namespace
