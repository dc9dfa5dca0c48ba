// SPDX-License-Identifier: MIT
#pragma once

// The client against a running korvas: its main window set to log in as "admin", and a test
// fixture that gives each test a korvas of its own.

#include <QTimer>
#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <sys/stat.h>

#include "../korvac/GuiTestSupport.h"
#include "tests/integration/KorvasProcess.h"
#include "tests/support/WaitUntilPumping.h"

namespace korvas_integration {

// How long a client in these tests waits for the service at least, whatever its own time-outs.
inline constexpr uint32_t kLoadedServiceWaitMs = 30000;

// The main window set to connect to korvas on port as "admin", not connected yet; null when the
// window could not be built.
inline std::unique_ptr<SCA_SrvGui> WindowFor(const KorvasProcess& korvas, uint16_t port) {
    auto main = korvac_test::StartWindow();
    if (main == nullptr) {
        return nullptr;
    }
    main->findChild<QTimer*>(QStringLiteral("ReconnectTimer"))->stop();
    // A service built with sanitizers on a loaded machine may answer a poll later than the
    // client's time-out; with the reconnect timer stopped, one such poll would end the window's
    // polling for the rest of the test. No test here is about a service that stays silent.
    main->GetSession()->SetLeastWaitMs(kLoadedServiceWaitMs);
    SCA_TezConfigUser* user = main->GetUserConfig();
    user->SetConnectHostName("127.0.0.1");
    user->SetConnectControlPort(port);
    user->SetConnectUserName("admin");
    user->SetConnectPassword(korvas.InitialPassword().c_str());
    return main;
}

// Connects window with its saved values as its reconnect timer does, attempt after attempt:
// the automatic connection gives the service 100 ms to greet, which a loaded machine's service
// may miss, and the timer then simply tries again. Whether it got connected.
inline ::testing::AssertionResult ConnectAsTheTimerDoes(SCA_SrvGui* window) {
    return korvanta_test::WaitUntilPumping("the window to connect", [window] {
        if (window->CheckConnected(0) == 0) {
            korvac_test::ConnectionOf(window)->DefaultConnect();
        }
        return window->CheckConnected(0) == 1;
    });
}

// Each test in a private home (the client's files) with a korvas of its own in its "service"
// folder on a free port it can be restarted on, the modal hook recording. The service is ended by
// its id with the fixture, after the main window.
class ServiceWindowTest : public testing::Test {
protected:
    void SetUp() override { StartService(); }

    void StartService() {
        ASSERT_EQ(mkdir(ServiceHome().c_str(), 0700), 0);
        m_Korvas = std::make_unique<KorvasProcess>(ServiceHome(), RestartablePort());
        m_Port = m_Korvas->WaitUntilServing();
        ASSERT_NE(m_Port, 0);
    }
    // m_Main, logged in to the service.
    void OpenMainWindow() {
        m_Main = WindowFor(*m_Korvas, m_Port);
        ASSERT_NE(m_Main, nullptr);
        ASSERT_TRUE(ConnectAsTheTimerDoes(m_Main.get()));
    }
    std::string ServiceHome() const { return m_Home.Path() + "/service"; }

    korvac_test::PrivateHome m_Home;
    korvac_test::RecordingHook m_Hook;
    std::unique_ptr<KorvasProcess> m_Korvas;
    uint16_t m_Port = 0;
    // A connection of the test's own, as another client's.
    SCA_KorvantaInterface m_Probe;
    std::unique_ptr<SCA_SrvGui> m_Main;
};

} // namespace korvas_integration
