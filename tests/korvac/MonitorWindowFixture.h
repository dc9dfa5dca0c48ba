// SPDX-License-Identifier: MIT
#pragma once

// The window tests of one monitor (Monitor: FakeMonitor or FakeProcessMonitor): a private home,
// the recording hook, and the main window connected to a healthy stand-in that answers for the
// monitor from m_Monitor. A fixture fills m_Monitor before SetUp or at any time after: the
// answers read it at each call.

#include <QCoreApplication>
#include <QTimerEvent>
#include <gtest/gtest.h>
#include <memory>

#include "FakeService.h"
#include "GuiTestSupport.h"

namespace korvac_test {

template <typename Monitor>
class MonitorWindowFixture : public testing::Test {
protected:
    void SetUp() override {
        m_Main = StartWindowOn(&m_Service);
        ASSERT_NE(m_Main, nullptr);
        m_Service.Healthy();
        m_Monitor.Install(&m_Service);
        m_Main->DefaultConnect();
        ASSERT_EQ(m_Main->CheckConnected(0), 1);
    }

    // The monitor's window as the main window opens it.
    template <typename Window>
    std::unique_ptr<Window> OpenWindow() {
        return MonitorWindowOf<Window>(m_Main.get(), m_Monitor.MonitorId);
    }
    // One tick of the window's poll timer, and its poll shown.
    template <typename Window>
    void Tick(Window* window) {
        QTimerEvent event(window->GetTimerId());
        QCoreApplication::sendEvent(window, &event);
        WaitForPolls(m_Main->GetSession());
    }
    // How many boxes said text.
    int Boxes(const char* text) const {
        int count = 0;
        for (const auto& box : m_Hook.Boxes) {
            count += box.Text == QString::fromUtf8(text) ? 1 : 0;
        }
        return count;
    }

    PrivateHome m_Home;
    RecordingHook m_Hook;
    FakeService m_Service;
    Monitor m_Monitor;
    std::unique_ptr<SCA_SrvGui> m_Main;
};

} // namespace korvac_test
