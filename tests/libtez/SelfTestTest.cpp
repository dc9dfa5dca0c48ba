// SPDX-License-Identifier: MIT
// The self-test's checks on a temporary configuration folder, a captured /proc tree and a
// listening socket of the test on 127.0.0.1.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "libmor/SCA_Sync.h"
#include "libtez/SCA_TezSelfTest.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigFiles.h"
#include "model/SCA_TezRepStatus.h"
#include "model/SCA_TezReportIndex.h"
#include "net/SCA_NetSocket.h"
#include "perf/SCA_PerfSnapshotStore.h"
#include "tests/support/KorvantaTestSupport.h"
#include "tests/support/TestPaths.h"

namespace {

constexpr uint32_t kEndWaitMs = 10000;
constexpr uint32_t kChecks = 4;

std::shared_ptr<SCA_PerfSnapshotStore> FixtureStore(const std::string& base) {
    tagSCA_PERF_ROOTS roots;
    roots.Proc = base + "/proc";
    roots.Sys = base + "/sys";
    roots.Run = base + "/run";
    return std::make_shared<SCA_PerfSnapshotStore>(roots);
}

struct Message {
    uint32_t Status;
    std::string Text;
};

std::vector<Message> Messages(SCA_TezSelfTest* test) {
    SCA_ConfigObj object("Log", nullptr);
    EXPECT_EQ(test->SerializeLog(&object), 1);
    SCA_TezLog log;
    EXPECT_EQ(log.Deserialize(&object), 1);
    std::vector<Message> messages;
    for (auto* node = log.GetHead(); node != nullptr; node = node->GetNext()) {
        messages.push_back({node->GetItem()->GetRepStatus(), node->GetItem()->GetMessage()});
    }
    return messages;
}

class SelfTestRun : public ::testing::Test {
protected:
    void SetUp() override {
        setenv(SCA_TEZ_HOME_VARIABLE, m_Home.Path().c_str(), 1);
        ASSERT_EQ(m_Config.Init("selftest"), 1);
        ASSERT_EQ(m_Listener.Listen(0, &m_Error), 1);
        SetPort(m_Listener.GetLocalPort());
    }
    void TearDown() override { unsetenv(SCA_TEZ_HOME_VARIABLE); }

    void SetPort(uint16_t port) {
        m_Params.Clear();
        ASSERT_EQ(m_Params.AddField("control_port", static_cast<uint32_t>(port)), 1);
    }
    // Runs the test in mode to its end.
    void Run(SCA_TezSelfTest* test, uint32_t mode) {
        test->SetPerfStore(FixtureStore(korvanta_test::PerfFixtures() + "/two-cpu/s1"));
        ASSERT_EQ(test->Init(mode), 1);
        EXPECT_EQ(test->GetProgress(), 0u);
        EXPECT_EQ(test->GetProcessStatus(), SCA_PROCESS_IDLE);
        ASSERT_EQ(test->StartProcess(), 1);
        ASSERT_EQ(test->Wait(kEndWaitMs), SCA_WAIT_OK);
    }

    korvanta_test::TempDir m_Home;
    SCA_TezConfig m_Config{SCA_PRODUCT_TYPE_KORVANTA};
    SCA_ConfigObj m_Params{"Params", nullptr};
    SCA_NetSocket m_Listener;
    uint32_t m_Error = 0;
};

} // namespace

TEST_F(SelfTestRun, AWorkingSetupPassesEveryCheckAndLeavesNothingBehind) {
    SCA_TezSelfTest test(&m_Config, nullptr, &m_Params);
    Run(&test, 0);
    EXPECT_EQ(test.GetProcessStatus(), SCA_PROCESS_STOPPED);
    EXPECT_EQ(test.GetRepStatus(), SCA_PROCESS_STOPPED);
    EXPECT_EQ(test.GetProgress(), 100u);
    EXPECT_EQ(test.GetStatusCode(), 0u);
    EXPECT_STREQ(test.GetStatusString(), "Korvanta self-test completed - 4 of 4 tests passed");
    const auto messages = Messages(&test);
    ASSERT_EQ(messages.size(), kChecks + 2);
    for (const Message& message : messages) {
        EXPECT_EQ(message.Status, SCA_REP_STATUS_MESSAGE) << message.Text;
    }
    EXPECT_EQ(messages[1].Text,
              "Configuration folder is writable - " + std::string(m_Config.GetConfigFolder()));
    EXPECT_EQ(messages[2].Text.rfind("Performance counters read - ", 0), 0u) << messages[2].Text;
    EXPECT_EQ(messages[3].Text, "Report index loaded - 0 reports");
    EXPECT_EQ(messages[4].Text,
              "Control port answers - 127.0.0.1:" + std::to_string(m_Listener.GetLocalPort()));
    // The probe file of the folder check is gone again.
    for (const auto& entry : std::filesystem::directory_iterator(m_Config.GetConfigFolder())) {
        EXPECT_EQ(entry.path().filename().string().find("self-test"), std::string::npos);
    }
}

TEST_F(SelfTestRun, EveryBrokenPartIsAFailedCheckAndTheTestFails) {
    const std::string gone = m_Home / "gone";
    setenv(SCA_TEZ_HOME_VARIABLE, gone.c_str(), 1);
    ASSERT_EQ(m_Config.Init("selftest"), 1);
    ASSERT_FALSE(std::filesystem::exists(m_Config.GetConfigFolder()));
    const std::string reports = m_Home / "reports";
    std::filesystem::create_directories(reports);
    std::ofstream(reports + "/" + SCA_TEZ_REPORT_INDEX_FILE) << "not an index";
    uint16_t closedPort = 0;
    {
        SCA_NetSocket closed;
        ASSERT_EQ(closed.Listen(0, &m_Error), 1);
        closedPort = closed.GetLocalPort();
    }
    SetPort(closedPort);

    SCA_TezSelfTest test(&m_Config, nullptr, &m_Params);
    test.SetReportsDir(reports.c_str());
    test.SetPerfStore(FixtureStore(m_Home / "no-such-machine"));
    ASSERT_EQ(test.Init(SCA_SELF_TEST_ALL), 1);
    ASSERT_EQ(test.StartProcess(), 1);
    ASSERT_EQ(test.Wait(kEndWaitMs), SCA_WAIT_OK);

    EXPECT_EQ(test.GetProcessStatus(), SCA_PROCESS_FAILED);
    EXPECT_EQ(test.GetRepStatus(), SCA_REP_STATUS_ERROR);
    EXPECT_EQ(test.GetStatusCode(), kChecks);
    EXPECT_EQ(test.GetProgress(), 100u);
    EXPECT_STREQ(test.GetStatusString(), "Korvanta self-test completed - 0 of 4 tests passed");
    const auto messages = Messages(&test);
    ASSERT_EQ(messages.size(), kChecks + 2);
    for (size_t i = 1; i < messages.size(); ++i) {
        EXPECT_EQ(messages[i].Status, SCA_REP_STATUS_ERROR) << messages[i].Text;
    }
    EXPECT_EQ(messages[1].Text.rfind("Configuration folder is not writable - ", 0), 0u);
    EXPECT_EQ(messages[2].Text.rfind("Cannot read performance counters", 0), 0u);
    EXPECT_EQ(messages[3].Text, "Cannot load report index - " + reports);
    EXPECT_EQ(messages[4].Text.rfind(
                  "Control port does not answer - 127.0.0.1:" + std::to_string(closedPort), 0),
              0u)
        << messages[4].Text;
}

TEST_F(SelfTestRun, TheModeChoosesTheChecksAndARunCanBeRepeated) {
    SCA_TezSelfTest test(&m_Config, nullptr, &m_Params);
    EXPECT_EQ(test.Init(SCA_SELF_TEST_ALL + 1), 0);
    EXPECT_EQ(test.Init(0x100), 0);

    Run(&test, SCA_SELF_TEST_CONTROL_PORT | SCA_SELF_TEST_REPORT_INDEX);
    EXPECT_EQ(test.GetProcessStatus(), SCA_PROCESS_STOPPED);
    EXPECT_STREQ(test.GetStatusString(), "Korvanta self-test completed - 2 of 2 tests passed");
    auto messages = Messages(&test);
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[1].Text, "Report index loaded - 0 reports");

    // A second run starts from an empty log; the port now refuses.
    SetPort(0);
    Run(&test, SCA_SELF_TEST_CONTROL_PORT);
    EXPECT_EQ(test.GetProcessStatus(), SCA_PROCESS_FAILED);
    EXPECT_EQ(test.GetStatusCode(), 1u);
    messages = Messages(&test);
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[1].Text, "Control port is not set");
    char text[16];
    test.CopyStatusString(text, sizeof(text));
    EXPECT_STREQ(text, "Korvanta self-t"); // cut to the buffer
}
