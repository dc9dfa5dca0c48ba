// SPDX-License-Identifier: MIT
#pragma once

// The window tests of one monitor (Monitor: FakeMonitor or FakeProcessMonitor): a private home,
// the recording hook, and the main window connected to a healthy stand-in that answers for the
// monitor from m_Monitor. A fixture fills m_Monitor before SetUp or at any time after: the
// answers read it at each call.

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimerEvent>
#include <atomic>
#include <functional>
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
        ConnectionOf(m_Main)->DefaultConnect();
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
        SendTick(window);
        WaitForPolls(m_Main->GetSession());
    }
    // A live window's timer poll (of op) held at the service: the window takes a key meanwhile,
    // a second tick sends nothing more, and once released the poll shows what the service
    // changed (change, then shown). Held again, the window is closed: it never hears of it, and
    // the session stays connected with nothing said.
    template <typename Window>
    void ExpectPollAskedNotAwaited(const std::function<std::unique_ptr<Window>()>& open,
                                   const char* op, const std::function<void()>& change,
                                   const std::function<bool(Window*)>& shown) {
        SCA_ClientSession* session = m_Main->GetSession();
        std::atomic<bool> released{false};
        const auto holdNext = [&] {
            m_Service.Queue(
                op, m_Service.StandingOf(op).HeldUntil([&released] { return released.load(); }));
        };
        std::unique_ptr<Window> window = open();
        ASSERT_NE(window, nullptr);
        holdNext();
        change();
        const int asked = m_Service.Count(op);
        SendTick(window.get());
        ASSERT_TRUE(session->IsWaiting());
        SendTick(window.get());
        EXPECT_TRUE(korvac_test::TypingIsTaken());
        EXPECT_TRUE(session->IsWaiting());
        EXPECT_FALSE(shown(window.get()));
        released = true;
        WaitForPolls(session);
        EXPECT_EQ(m_Service.Count(op), asked + 1);
        EXPECT_TRUE(shown(window.get()));

        released = false;
        holdNext();
        SendTick(window.get());
        ASSERT_TRUE(session->IsWaiting());
        window.reset();
        released = true;
        WaitForPolls(session);
        EXPECT_EQ(m_Main->CheckConnected(0), 1);
        EXPECT_TRUE(m_Hook.Boxes.empty());
    }
    template <typename Window>
    static void SendTick(Window* window) {
        QTimerEvent event(window->GetTimerId());
        QCoreApplication::sendEvent(window, &event);
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
