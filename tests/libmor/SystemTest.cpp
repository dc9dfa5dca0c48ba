// SPDX-License-Identifier: MIT
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <syslog.h>
#include <unistd.h>

#include "TestSupport.h"
#include "libmor/SCA_LateLibrary.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_System.h"
#include "libmor/SCA_SystemLog.h"

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

enum class LogDaemon { None, Datagram, Stream, Ended, PlainFile };

// What stands at path in place of a log daemon's socket; the descriptor to close, or -1.
int PlaceLogDaemon(const std::string& path, LogDaemon daemon) {
    if (daemon == LogDaemon::None) {
        return -1;
    }
    if (daemon == LogDaemon::PlainFile) {
        std::ofstream(path) << "not a socket\n";
        return -1;
    }
    const int descriptor =
        socket(AF_UNIX, (daemon == LogDaemon::Stream ? SOCK_STREAM : SOCK_DGRAM) | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof(address.sun_path) - 1);
    EXPECT_EQ(bind(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    if (daemon == LogDaemon::Stream) {
        EXPECT_EQ(listen(descriptor, 1), 0);
    }
    if (daemon == LogDaemon::Ended) {
        close(descriptor); // the socket's file stays, nobody reads it
        return -1;
    }
    return descriptor;
}

std::string ReadBack(std::FILE* stream) {
    std::string text;
    std::rewind(stream);
    for (int c = std::fgetc(stream); c != EOF; c = std::fgetc(stream)) {
        text += static_cast<char>(c);
    }
    return text;
}

// syslog(3) drops what no daemon takes: the system log writes it to the stream then, and only
// then.
TEST(SystemTest, TheSystemLogWritesToTheStreamWhereNoLogDaemonListens) {
    struct Row {
        const char* Name;
        LogDaemon Daemon;
        bool ToStream;
    };
    const Row rows[] = {
        {"no socket", LogDaemon::None, true},
        {"a daemon on a datagram socket", LogDaemon::Datagram, false},
        {"a daemon on a stream socket", LogDaemon::Stream, false},
        {"a daemon that ended, its socket's file left", LogDaemon::Ended, true},
        {"a plain file", LogDaemon::PlainFile, true},
    };
    for (const Row& row : rows) {
        TempDir dir;
        const std::string path = dir / "log";
        const int daemon = PlaceLogDaemon(path, row.Daemon);
        std::FILE* stream = std::tmpfile();
        ASSERT_NE(stream, nullptr);
        const SCA_SystemLog log("test_libmor", path.c_str(), stream);
        EXPECT_EQ(log.HasSocket(), !row.ToStream) << row.Name;
        log.Write(LOG_DEBUG, "a line of the system log test");
        EXPECT_EQ(ReadBack(stream),
                  row.ToStream ? "test_libmor: a line of the system log test\n" : "")
            << row.Name;
        std::fclose(stream);
        if (daemon >= 0) {
            close(daemon);
        }
    }
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
