// The client's main window connected to a real `korvas -console` on 127.0.0.1: login with the
// initial password, a monitor added through the client object in the tree, a stopped service
// shown as disconnected and a restarted one reconnected.
#include <QCoreApplication>
#include <QTimer>
#include <QTimerEvent>
#include <QTreeWidgetItem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>

#include "../korvac/GuiTestSupport.h"
#include "korvac/SCA_MonitorsView.h"
#include "tests/integration/KorvasProcess.h"

namespace {

using korvas_integration::KorvasProcess;

void Tick(SCA_SrvGui* window) {
    QTimerEvent event(window->GetUpdateTimerId());
    QCoreApplication::sendEvent(window, &event);
}

// The window fetches the product and user configurations after login and disconnects when it
// cannot: the whole connection runs against the real service.
TEST(ClientService, ConnectsPollsShowsAMonitorAndReconnectsAfterARestart) {
    korvac_test::PrivateHome home;
    korvac_test::RecordingHook hook;
    const std::string serviceHome = home.Path() + "/service";
    ASSERT_EQ(mkdir(serviceHome.c_str(), 0700), 0);
    auto korvas = std::make_unique<KorvasProcess>(serviceHome, "0");
    const uint16_t port = korvas->WaitForPort();
    ASSERT_NE(port, 0);

    auto window = korvac_test::StartWindow();
    ASSERT_NE(window, nullptr);
    window->GetReconnectTimer()->stop();
    SCA_TezConfigUser* user = window->GetUserConfig();
    user->SetConnectHostName("127.0.0.1");
    user->SetConnectControlPort(port);
    user->SetConnectUserName("admin");
    user->SetConnectPassword(korvas->InitialPassword().c_str());
    window->DefaultConnect();
    ASSERT_EQ(window->CheckConnected(0), 1);

    uint32_t monitorId = 0;
    ASSERT_EQ(window->GetClientInterface()->AddMonitor(0, 0, "Integration monitor", &monitorId), 1);
    ASSERT_EQ(window->UpdateStatus(0), 1);
    SCA_MonitorsView* tree = window->GetMonitorsView();
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_EQ(tree->topLevelItem(0)->text(1), QStringLiteral("Integration monitor"));
    EXPECT_EQ(tree->topLevelItem(0)->text(2), QStringLiteral("Local"));
    EXPECT_EQ(tree->topLevelItem(0)->data(0, Qt::UserRole).toUInt(), monitorId);
    EXPECT_FALSE(tree->topLevelItem(0)->text(6).isEmpty());

    // The service goes away: the next poll shows the window disconnected.
    korvas->Kill();
    Tick(window.get());
    Tick(window.get());
    EXPECT_EQ(window->CheckConnected(0), 0);
    EXPECT_STREQ(window->GetTrayText(), "Korvanta Client - Disconnected");

    // Started again on the same port: the automatic reconnection finds it.
    korvas = std::make_unique<KorvasProcess>(serviceHome, std::to_string(port));
    ASSERT_EQ(korvas->WaitForPort(), port);
    for (int tick = 0; tick < 12 && !window->GetReconnectTimer()->isActive(); ++tick) {
        Tick(window.get());
    }
    ASSERT_TRUE(window->GetReconnectTimer()->isActive());
    window->GetReconnectTimer()->stop();
    window->DefaultConnect();
    EXPECT_EQ(window->CheckConnected(0), 1);
    window.reset();
    korvas->Kill();
}

} // namespace
