// SPDX-License-Identifier: MIT
#include <cerrno>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

#include "TestSupport.h"
#include "libmor/SCA_LateLibrary.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_System.h"

namespace {

std::string Describe(uint32_t code) {
    char buf[256];
    EXPECT_EQ(SCA_GetErrorDescr(code, buf, sizeof(buf)), 1);
    return buf;
}

TEST(SystemTest, ErrorTextsForSystemAndProtocolCodes) {
    EXPECT_EQ(Describe(ENOENT), std::strerror(ENOENT));
    EXPECT_EQ(Describe(99999), "Unknown error 99999");
    EXPECT_EQ(Describe(100000), "protocol error 100000");
    EXPECT_EQ(Describe(100196), "not supported on this computer");
    EXPECT_EQ(Describe(100197), "protocol error 100197");

    char small[9] = "untouch";
    EXPECT_EQ(SCA_GetErrorDescr(100005, small, 0), 0);
    EXPECT_STREQ(small, "untouch");
    EXPECT_EQ(SCA_GetErrorDescr(100005, small, sizeof(small)), 1);
    EXPECT_STREQ(small, "protocol");
}

TEST(SystemTest, HostAndUserNames) {
    char expected[256] = {};
    ASSERT_EQ(gethostname(expected, sizeof(expected) - 1), 0);
    char buf[256];
    ASSERT_EQ(SCA_GetHostName(buf, sizeof(buf)), 1);
    EXPECT_STREQ(buf, expected);
    ASSERT_EQ(SCA_GetUserName(buf, sizeof(buf)), 1);
    EXPECT_GT(std::strlen(buf), 0u);
}

TEST(SystemTest, InitSystemTurnsBrokenPipesIntoErrors) {
    ASSERT_EQ(SCA_InitSystem(0xFFFFFFFFu), 1);
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    close(fds[0]);
    // Without the library's set-up this write would end the test program.
    EXPECT_EQ(write(fds[1], "x", 1), -1);
    EXPECT_EQ(errno, EPIPE);
    close(fds[1]);
}

} // namespace

// A library loaded late: its calls work, and a missing library or call is reported with its
// name instead of ending the program.
TEST(LateLibrary, ResolvesItsCallsAndReportsWhatIsMissing) {
    ReportCapture capture;
    SCA_LateLibrary math("libm.so.6");
    double (*cosine)(double) = nullptr;
    ASSERT_TRUE(math.Resolve("cos", &cosine));
    EXPECT_EQ(cosine(0.0), 1.0);
    int (*missingCall)() = nullptr;
    EXPECT_FALSE(math.Resolve("korvanta_no_such_call", &missingCall));
    EXPECT_EQ(missingCall, nullptr);
    math.Failed("Owner");
    EXPECT_EQ(capture.Count(SCA_LEVEL_ERROR, "Owner: cannot use the library libm.so.6"), 1);
    EXPECT_FALSE(math.Resolve("cos", &cosine)) << "unloaded once it failed";

    SCA_LateLibrary absent("libkorvanta-absent.so.1");
    EXPECT_FALSE(absent.Resolve("cos", &cosine));
    absent.Failed("Owner");
    EXPECT_EQ(capture.Count(SCA_LEVEL_ERROR, "libkorvanta-absent.so.1"), 1);
}
