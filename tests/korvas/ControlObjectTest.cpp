// SPDX-License-Identifier: MIT
#include <chrono>
#include <cstdlib>
#include <future>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <security/pam_appl.h>

#include "korvas/SCA_KorvantaCtrl.h"
#include "libmor/SCA_ManualClock.h"
#include "libmor/auth/SCA_LogonUser.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezConfigFiles.h"
#include "model/SCA_TezProcessStatus.h"
#include "net/SCA_KorvantaLogin.h"
#include "tests/support/KorvantaTestSupport.h"
#include "tests/support/WaitUntil.h"

namespace {

// Runs ParseCommandLine / Init over words given as strings.
struct Args {
    explicit Args(std::vector<std::string> words) : Words(std::move(words)) {
        for (auto& word : Words) {
            Pointers.push_back(word.data());
        }
    }
    uint32_t Count() const { return static_cast<uint32_t>(Pointers.size()); }
    char** Vector() { return Pointers.data(); }
    std::vector<std::string> Words;
    std::vector<char*> Pointers;
};

std::string Param(SCA_KorvantaCtrl& ctrl, const char* name) {
    char value[2048] = "<absent>";
    ctrl.GetParams()->GetField(name, value, sizeof(value));
    return value;
}

class ControlObjectTest : public ::testing::Test {
protected:
    void SetUp() override { setenv(SCA_TEZ_HOME_VARIABLE, m_Home.Path().c_str(), 1); }
    void TearDown() override { unsetenv(SCA_TEZ_HOME_VARIABLE); }
    korvanta_test::TempDir m_Home;
    korvanta_test::ReportCapture m_Reports;
};

TEST_F(ControlObjectTest, CommandLineJoinsWordsAndReusesRepeatedOptions) {
    SCA_KorvantaCtrl ctrl;
    Args args(
        {"korvas", "-conf_name", "my", "config", "-console", "-a", "-a", "x", "-b", "x", "y"});
    ASSERT_EQ(ctrl.ParseCommandLine(args.Count(), args.Vector()), 1);
    EXPECT_EQ(Param(ctrl, "conf_name"), "my config");
    EXPECT_EQ(Param(ctrl, "console"), "");
    EXPECT_EQ(Param(ctrl, "a"), "x");
    EXPECT_EQ(Param(ctrl, "b"), "x y");
    EXPECT_EQ(ctrl.GetParams()->GetFieldCount(), 4u);
}

TEST_F(ControlObjectTest, CommandLineRefusesValueFirstAndOverlongValues) {
    SCA_KorvantaCtrl first;
    Args valueFirst({"korvas", "word", "-console"});
    EXPECT_EQ(first.ParseCommandLine(valueFirst.Count(), valueFirst.Vector()), 0);

    SCA_KorvantaCtrl second;
    Args longValue({"korvas", "-x", std::string(600, 'a'), std::string(600, 'b')});
    EXPECT_EQ(second.ParseCommandLine(longValue.Count(), longValue.Vector()), 0);
    Args fits({"korvas", "-y", std::string(511, 'a'), std::string(511, 'b')});
    EXPECT_EQ(second.ParseCommandLine(fits.Count(), fits.Vector()), 1);
    EXPECT_EQ(Param(second, "y").size(), 1023u);
}

TEST_F(ControlObjectTest, InitStoresTheStartUpCodes) {
    SCA_KorvantaCtrl bad;
    Args valueFirst({"korvas", "oops"});
    uint32_t code = 0;
    EXPECT_EQ(bad.Init(valueFirst.Count(), valueFirst.Vector(), &code), 0);
    EXPECT_EQ(code, SCA_KORVAS_BAD_COMMAND_LINE);

    // A product configuration of another product is refused even though it loads.
    SCA_TezConfig other(SCA_PRODUCT_TYPE_DEVICE);
    ASSERT_TRUE(other.Init("alien"));
    ASSERT_TRUE(other.SaveConfig());
    SCA_KorvantaCtrl alien;
    Args alienArgs({"korvas", "-conf_name", "alien"});
    code = 0;
    EXPECT_EQ(alien.Init(alienArgs.Count(), alienArgs.Vector(), &code), 0);
    EXPECT_EQ(code, SCA_TEZ_PRODUCT_INVALID);
    EXPECT_EQ(m_Reports.Count(SCA_LEVEL_ERROR, "Product configuration file is invalid."), 1);

    SCA_KorvantaCtrl good;
    Args goodArgs({"korvas", "-console", "-conf_name", "fine"});
    code = 0;
    EXPECT_EQ(good.Init(goodArgs.Count(), goodArgs.Vector(), &code), 1);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(good.GetConsole(), 1);
}

TEST_F(ControlObjectTest, StartProcessRefusesOnlyARunningThread) {
    SCA_KorvantaCtrl ctrl;
    Args args({"korvas", "-control_port", "0"});
    uint32_t code = 0;
    ASSERT_EQ(ctrl.Init(args.Count(), args.Vector(), &code), 1);
    ASSERT_EQ(ctrl.StartProcess(), 1);
    EXPECT_EQ(ctrl.StartProcess(), 0);
    EXPECT_EQ(m_Reports.Count(SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::StartProcess: already running"),
              1);
    ctrl.StopProcess();
    EXPECT_EQ(ctrl.GetThreadState(), SCA_PROCESS_STOPPED);
    // Continue after a pause: the ended thread starts again.
    ASSERT_EQ(ctrl.StartProcess(), 1);
    ctrl.StopProcess();
    EXPECT_EQ(ctrl.GetThreadState(), SCA_PROCESS_STOPPED);
}

// The control loop sleeps until there is work rather than waking on a timer: with the clock
// standing still, a stop still wakes it (a loop that looked at its stop between timed waits
// would wait for the clock for ever).
TEST_F(ControlObjectTest, TheLoopWakesForStopsWithTheClockStandingStill) {
    SCA_ManualClock clock;
    SCA_KorvantaCtrl ctrl;
    Args args({"korvas", "-control_port", "0"});
    uint32_t code = 0;
    ASSERT_EQ(ctrl.Init(args.Count(), args.Vector(), &code), 1);
    ASSERT_EQ(ctrl.StartProcess(), 1);
    ASSERT_TRUE(
        korvanta_test::WaitUntil("the awaited state", [&] { return ctrl.GetServerPort() != 0; }));
    auto stopped = std::async(std::launch::async, [&] { ctrl.StopProcess(); });
    const bool woke = stopped.wait_for(std::chrono::seconds(30)) == std::future_status::ready;
    if (!woke) {
        clock.Advance(std::chrono::seconds(1)); // lets a loop that waits for the clock end
    }
    stopped.wait();
    EXPECT_TRUE(woke);
    EXPECT_EQ(ctrl.GetThreadState(), SCA_PROCESS_STOPPED);
}

} // namespace

namespace {

// The operating system's answer for the logon checks of the test: one account.
int OneAccount(const char* /*service*/, const char* user, const char* password, const char*) {
    return std::string(user) == "ops" && std::string(password) == "s3cret" ? PAM_SUCCESS
                                                                           : PAM_AUTH_ERR;
}

// A server side run in this process, so the operating-system logon can be a fake.
class LoginModeTest : public ControlObjectTest {
protected:
    void StartServer(uint32_t mode) {
        Args args({"korvas", "-control_port", "0"});
        uint32_t code = 0;
        ASSERT_EQ(m_Ctrl.Init(args.Count(), args.Vector(), &code), 1) << code;
        m_Ctrl.ChangeUserConfig([&] {
            m_Ctrl.GetUserConfig()->SetEnableOsLogon(1);
            m_Ctrl.GetUserConfig()->SetServerLogonMode(mode);
            return 1;
        });
        ASSERT_EQ(m_Ctrl.DoStartServer(), 1);
        ASSERT_NE(m_Ctrl.GetServerPort(), 0u);
    }

    // A new connection's login; its status, or -1 when the call itself failed.
    int Login(SCA_KorvantaInterface* client, const char* user, const char* password) {
        uint32_t error = 0;
        if (!client->Connect("127.0.0.1", m_Ctrl.GetServerPort(), 5000, &error)) {
            return -1;
        }
        uint32_t status = 0;
        return client->Login(user, password, &status) ? static_cast<int>(status) : -1;
    }

    void TearDown() override {
        m_Ctrl.DoStopServer();
        SCA_SetLogonBackend(m_Previous);
        ControlObjectTest::TearDown();
    }

    SCA_LogonBackend m_Previous = SCA_SetLogonBackend(&OneAccount);
    SCA_KorvantaCtrl m_Ctrl;
};

TEST_F(LoginModeTest, OperatingSystemLogonChecksTheAccount) {
    StartServer(SCA_KORVANTA_LOGIN_PASSWORD);
    SCA_KorvantaInterface stranger;
    EXPECT_EQ(0, Login(&stranger, "ops", "wrong"));
    EXPECT_EQ(0, stranger.ClearDebugLog()) << "a refused login opens nothing";
    EXPECT_EQ(1,
              m_Reports.Count(SCA_LEVEL_ERROR, "User authentication failed (Permission denied)"));
    SCA_KorvantaInterface ops;
    EXPECT_EQ(1, Login(&ops, "ops", "s3cret"));
    EXPECT_EQ(1, ops.ClearDebugLog());
}

TEST_F(LoginModeTest, NamesOnlyModeLetsAnyNamedClientIn) {
    StartServer(SCA_KORVANTA_LOGIN_NAMES);
    SCA_KorvantaInterface anyone;
    EXPECT_EQ(1, Login(&anyone, "whoever", "anything"));
    EXPECT_EQ(1, anyone.ClearDebugLog());
}

} // namespace
