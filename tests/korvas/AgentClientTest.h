// SPDX-License-Identifier: MIT
#pragma once

// The service's control object with its command server on 127.0.0.1 (any free port) and a
// client object logged in to it, as a client reaches the agent's operations.
#include <chrono>
#include <cstdlib>
#include <memory>

#include <gtest/gtest.h>

#include "korvas/SCA_KorvantaCtrl.h"
#include "korvas/SCA_SrvTask.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_ManualClock.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "model/SCA_TezConfigFiles.h"
#include "model/SCA_TezConfigUser.h"
#include "net/SCA_KorvantaLogin.h"
#include "tests/support/KorvantaTestSupport.h"
#include "tests/support/ManualClockSupport.h"

namespace korvas_test {

// How long a connection waits for the service's greeting: behind a flood of other connections
// under ThreadSanitizer on a loaded machine that takes seconds, and no test here expects none.
constexpr uint32_t kGreetingWaitMs = static_cast<uint32_t>(korvanta_test::kWaitDeadline.count());

class AgentClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv(SCA_TEZ_HOME_VARIABLE, m_Home.Path().c_str(), 1);
        char program[] = "korvas";
        char option[] = "-control_port";
        char any[] = "0";
        char* args[] = {program, option, any};
        uint32_t code = 0;
        ASSERT_EQ(1, m_Ctrl.Init(3, args, &code)) << code;
        m_Ctrl.ChangeUserConfig([this] {
            m_Ctrl.GetUserConfig()->SetEnableOsLogon(1);
            m_Ctrl.GetUserConfig()->SetServerLogonMode(SCA_KORVANTA_LOGIN_NAMES);
            return 1;
        });
        ASSERT_EQ(1, m_Ctrl.DoStartServer());
        ASSERT_EQ(1, Connect(&m_Client));
        uint32_t status = 0;
        ASSERT_EQ(1, m_Client.Login("tester", "any", &status));
        ASSERT_EQ(SCA_KORVANTA_LOGGED_IN, status);
    }
    void TearDown() override {
        m_Ctrl.DoStopServer();
        m_Ctrl.DeleteAllTasks();
        unsetenv(SCA_TEZ_HOME_VARIABLE);
    }

    int Connect(SCA_KorvantaInterface* client) {
        uint32_t error = 0;
        return client->Connect("127.0.0.1", m_Ctrl.GetServerPort(), kGreetingWaitMs, &error);
    }

    // Moves clock a second at a time until monitor id has sampled for seconds (a run that
    // leaves a report must have sampled SCA_TASK_MIN_REPORT_SECONDS).
    bool SampleFor(SCA_ManualClock& clock, uint32_t id, uint64_t seconds) {
        return korvanta_test::AdvanceUntil(clock, std::chrono::seconds(1), [&] {
            const SCA_SrvTaskRef task = m_Ctrl.GetTask(id);
            return task != nullptr && task->GetProcessTime() >= seconds;
        });
    }

    // The user configuration as the service's file holds it.
    std::unique_ptr<SCA_TezConfigUser> Stored() {
        auto stored = std::make_unique<SCA_TezConfigUser>(m_Ctrl.GetConfig());
        EXPECT_EQ(1, stored->Init(m_Ctrl.GetConfig(), nullptr));
        EXPECT_EQ(1, stored->LoadConfig(m_Ctrl.GetConfig()));
        return stored;
    }

    korvanta_test::TempDir m_Home;
    korvanta_test::ReportCapture m_Reports;
    SCA_KorvantaCtrl m_Ctrl;
    SCA_KorvantaInterface m_Client;
};

} // namespace korvas_test
