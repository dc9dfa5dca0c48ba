// SPDX-License-Identifier: MIT
#include <csignal>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "korvas/SCA_KorvantaCtrl.h"
#include "korvas/SCA_ServiceHost.h"
#include "korvas/SCA_ServiceNotifier.h"
#include "model/SCA_TezConfigFiles.h"
#include "tests/support/KorvantaTestSupport.h"
#include "tests/support/WaitUntil.h"

namespace {

class RecordingNotifier : public SCA_ServiceNotifier {
public:
    void Notify(const char* state) override { States.emplace_back(state); }
    std::vector<std::string> States;
};

class ServiceHostTest : public ::testing::Test {
protected:
    void SetUp() override { setenv(SCA_TEZ_HOME_VARIABLE, m_Home.Path().c_str(), 1); }
    void TearDown() override { unsetenv(SCA_TEZ_HOME_VARIABLE); }

    void Start(std::vector<std::string> words) {
        m_Words = std::move(words);
        m_Argv.clear();
        for (auto& word : m_Words) {
            m_Argv.push_back(word.data());
        }
        m_Host.ServiceMain(static_cast<int>(m_Argv.size()), m_Argv.data());
    }
    uint32_t State() const { return m_Host.GetStatus().CurrentState; }
    std::string ReadyText() const {
        return "READY=1\nSTATUS=Listening on port " +
               std::to_string(m_Host.GetCtrl()->GetServerPort());
    }

    korvanta_test::TempDir m_Home;
    RecordingNotifier m_Notifier;
    SCA_ServiceHost m_Host{&m_Notifier};
    std::vector<std::string> m_Words;
    std::vector<char*> m_Argv;
};

TEST_F(ServiceHostTest, PauseContinueInterrogateAndStopFollowTheStateTable) {
    Start({"korvas", "-control_port", "0"});
    ASSERT_EQ(State(), SCA_SERVICE_RUNNING);
    EXPECT_EQ(m_Host.GetStatus().ServiceType, 0x30u);
    EXPECT_EQ(m_Host.GetStatus().ControlsAccepted, 7u);
    // Running, but not ready before the server listens.
    std::vector<std::string> expected = {"STATUS=Starting"};
    EXPECT_EQ(m_Notifier.States, expected);
    ASSERT_TRUE(korvanta_test::WaitUntil("the service to listen",
                                         [&] { return m_Host.CheckListening() == 1; }));
    expected.push_back(ReadyText());
    EXPECT_EQ(m_Host.CheckListening(), 0) << "one port is reported ready once";

    m_Host.ServiceCtrlHandler(SCA_SERVICE_CONTROL_PAUSE);
    EXPECT_EQ(State(), SCA_SERVICE_PAUSED);
    EXPECT_FALSE(m_Host.GetCtrl()->IsRunning());
    EXPECT_EQ(m_Host.CheckControlLoop(), 0) << "a paused loop is not a loop that ended";
    expected.push_back("STATUS=Paused");

    m_Host.ServiceCtrlHandler(SCA_SERVICE_CONTROL_CONTINUE);
    EXPECT_EQ(State(), SCA_SERVICE_RUNNING);
    EXPECT_TRUE(m_Host.GetCtrl()->IsRunning()) << "continue starts the control thread again";
    expected.push_back("STATUS=Starting");
    ASSERT_TRUE(korvanta_test::WaitUntil("the service to listen",
                                         [&] { return m_Host.CheckListening() == 1; }));
    expected.push_back(ReadyText());

    m_Host.ServiceCtrlHandler(SCA_SERVICE_CONTROL_INTERROGATE);
    EXPECT_EQ(State(), SCA_SERVICE_RUNNING);
    expected.push_back(ReadyText());

    m_Host.ServiceCtrlHandler(SCA_SERVICE_CONTROL_STOP);
    EXPECT_EQ(State(), SCA_SERVICE_STOPPED);
    EXPECT_EQ(m_Host.GetCtrl(), nullptr);
    EXPECT_EQ(m_Host.GetExitCode(), 0);
    expected.push_back("STOPPING=1\nSTATUS=Stopped");
    EXPECT_EQ(m_Notifier.States, expected);
}

TEST_F(ServiceHostTest, StartFailuresStopWithTheirCodes) {
    Start({"korvas", "value-before-option"});
    EXPECT_EQ(State(), SCA_SERVICE_STOPPED);
    EXPECT_EQ(m_Host.GetExitCode(), static_cast<int>(SCA_SERVICE_INIT_FAILED));
    EXPECT_EQ(m_Notifier.States.back(), "STOPPING=1\nSTATUS=Stopped (code 103)");

    Start({"korvas", "-control_port", "0"});
    ASSERT_EQ(State(), SCA_SERVICE_RUNNING);
    uint32_t code = 0;
    EXPECT_EQ(m_Host.StartServiceWorker(static_cast<int>(m_Argv.size()), m_Argv.data(), &code), 0);
    EXPECT_EQ(code, SCA_SERVICE_CTRL_EXISTS);
    m_Host.ServiceCtrlHandler(SCA_SERVICE_CONTROL_SHUTDOWN);
    EXPECT_EQ(State(), SCA_SERVICE_STOPPED);
}

TEST_F(ServiceHostTest, ALoopThatFailsToStartStopsTheServiceWithAFailure) {
    // Another server holds the port: the loop ends by itself.
    SCA_KorvantaCtrl holder;
    std::vector<std::string> holderWords = {"korvas", "-control_port", "0", "-conf_name", "h"};
    std::vector<char*> holderArgv;
    for (auto& word : holderWords) {
        holderArgv.push_back(word.data());
    }
    uint32_t code = 0;
    ASSERT_EQ(holder.Init(5, holderArgv.data(), &code), 1);
    ASSERT_EQ(holder.StartProcess(), 1);
    ASSERT_TRUE(
        korvanta_test::WaitUntil("the awaited state", [&] { return holder.GetServerPort() != 0; }));
    Start({"korvas", "-control_port", std::to_string(holder.GetServerPort())});
    ASSERT_EQ(State(), SCA_SERVICE_RUNNING);
    EXPECT_TRUE(korvanta_test::WaitUntil("the awaited state", [&] {
        EXPECT_EQ(m_Host.CheckListening(), 0);
        return m_Host.CheckControlLoop() != 0;
    }));
    EXPECT_EQ(State(), SCA_SERVICE_STOPPED);
    EXPECT_EQ(m_Host.GetExitCode(), static_cast<int>(SCA_SERVICE_LOOP_FAILED));
    for (const auto& state : m_Notifier.States) {
        EXPECT_EQ(state.find("READY=1"), std::string::npos) << "never ready: " << state;
    }
    holder.StopProcess();
}

TEST(ServiceHostSignals, SignalsBecomeControls) {
    EXPECT_EQ(SCA_ServiceHost::ControlOfSignal(SIGTERM), SCA_SERVICE_CONTROL_STOP);
    EXPECT_EQ(SCA_ServiceHost::ControlOfSignal(SIGINT), SCA_SERVICE_CONTROL_STOP);
    EXPECT_EQ(SCA_ServiceHost::ControlOfSignal(SIGUSR1), SCA_SERVICE_CONTROL_PAUSE);
    EXPECT_EQ(SCA_ServiceHost::ControlOfSignal(SIGUSR2), SCA_SERVICE_CONTROL_CONTINUE);
    EXPECT_EQ(SCA_ServiceHost::ControlOfSignal(SIGHUP), SCA_SERVICE_CONTROL_INTERROGATE);
}

} // namespace
