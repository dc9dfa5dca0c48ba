// SPDX-License-Identifier: MIT
#include <cstring>
#include <gtest/gtest.h>
#include <string>

#include "net/SCA_NetServerAgent.h"

namespace {

TEST(NetServerAgentTest, TransportCodesAreTwoToEleven) {
    for (uint32_t code : {0u, 1u, 12u, 100u, 0xFFFFFFFFu}) {
        EXPECT_EQ(SCA_NetServerAgent::IsInternalCommand(code), 0) << code;
    }
    for (uint32_t code = 2; code <= 11; ++code) {
        EXPECT_NE(SCA_NetServerAgent::IsInternalCommand(code), 0) << code;
    }
}

TEST(NetServerAgentTest, FullNameJoinsWithOneSeparator) {
    char joined[64];
    ASSERT_EQ(
        SCA_NetServerAgent::BuildFullName("/var/lib/kvn", "devices.hdx", joined, sizeof(joined)),
        1);
    EXPECT_STREQ(joined, "/var/lib/kvn/devices.hdx");
    char withSlash[64];
    ASSERT_EQ(SCA_NetServerAgent::BuildFullName("/var/lib/kvn/", "devices.hdx", withSlash,
                                                sizeof(withSlash)),
              1);
    EXPECT_STREQ(withSlash, joined);

    ASSERT_EQ(SCA_NetServerAgent::BuildFullName("/", "etc", joined, sizeof(joined)), 1);
    EXPECT_STREQ(joined, "/etc");
    for (const char* empty : {"", static_cast<const char*>(nullptr)}) {
        ASSERT_EQ(SCA_NetServerAgent::BuildFullName(empty, "devices.hdx", joined, sizeof(joined)),
                  1);
        EXPECT_STREQ(joined, "devices.hdx");
    }
}

TEST(NetServerAgentTest, FullNameThatDoesNotFitIsNotCut) {
    // "ab/cd" needs 6 bytes with its terminator.
    char buffer[16];
    std::memset(buffer, '#', sizeof(buffer));
    EXPECT_EQ(SCA_NetServerAgent::BuildFullName("ab", "cd", buffer, 6), 1);
    EXPECT_STREQ(buffer, "ab/cd");

    std::memset(buffer, '#', sizeof(buffer));
    EXPECT_EQ(SCA_NetServerAgent::BuildFullName("ab", "cd", buffer, 5), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(std::string(buffer + 1, 15), std::string(15, '#')); // nothing written past it

    buffer[0] = 'x';
    EXPECT_EQ(SCA_NetServerAgent::BuildFullName("ab", "cd", buffer, 0), 0);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_EQ(SCA_NetServerAgent::BuildFullName("ab", nullptr, buffer, sizeof(buffer)), 0);
    EXPECT_STREQ(buffer, "");
}

} // namespace
