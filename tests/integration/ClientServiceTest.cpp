// SPDX-License-Identifier: MIT
// The client's main window connected to a real `korvas -console` on 127.0.0.1: a first start
// without a service, login with the initial password, a monitor added through the client object
// in the tree, a stopped service shown as disconnected and a restarted one reconnected, the
// options round trip against the service's own login rule, and an import the service refuses,
// answered with the service's reason.
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QTreeWidgetItem>
#include <gtest/gtest.h>
#include <string>

#include "../korvac/GuiTestSupport.h"
#include "korvac/main/SCA_MonitorsView.h"
#include "korvac/main/SCA_SysTray.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezConfigUser.h"
#include "net/SCA_KorvantaLogin.h"
#include "tests/integration/ServiceWindow.h"

namespace {

using korvas_integration::KorvasProcess;

void Tick(SCA_SrvGui* window) {
    korvac_test::TickWindow(window);
    korvac_test::WaitForPolls(window->GetSession());
}

// The quiet first start runs without a service; the test that needs one starts it.
class ClientService : public korvas_integration::ServiceWindowTest {
protected:
    void SetUp() override {}
};

// The window fetches the product and user configurations after login and disconnects when it
// cannot: the whole connection runs against the real service.
TEST_F(ClientService, ConnectsPollsShowsAMonitorAndReconnectsAfterARestart) {
    ASSERT_NO_FATAL_FAILURE(StartService());
    m_Main = korvas_integration::WindowFor(*m_Korvas, m_Port);
    ASSERT_NE(m_Main, nullptr);
    SCA_SrvGui* window = m_Main.get();
    SCA_TezConfigUser* user = window->GetUserConfig();
    const uint32_t messages = window->GetClientLog()->GetMessageCount();
    ASSERT_TRUE(korvas_integration::ConnectAsTheTimerDoes(window));
    // Connecting says nothing in the log; the status line says where.
    EXPECT_EQ(window->GetClientLog()->GetMessageCount(), messages);
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("StatusLabel"))->text(),
              QStringLiteral("Connected To: admin@127.0.0.1"));

    uint32_t monitorId = 0;
    ASSERT_EQ(window->GetClientInterface()->AddMonitor(0, 0, "Integration monitor", &monitorId), 1);
    ASSERT_EQ(korvac_test::PollOf(window)->UpdateStatus(0), 1);
    SCA_MonitorsView* tree = window->findChild<SCA_MonitorsView*>();
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_EQ(tree->topLevelItem(0)->text(1), QStringLiteral("Integration monitor"));
    EXPECT_EQ(tree->topLevelItem(0)->text(2), QStringLiteral("Local"));
    EXPECT_EQ(tree->topLevelItem(0)->data(0, Qt::UserRole).toUInt(), monitorId);
    EXPECT_FALSE(tree->topLevelItem(0)->text(6).isEmpty());

    // The service goes away: the next poll shows the window disconnected, with one line.
    m_Korvas->Kill();
    Tick(window);
    Tick(window);
    EXPECT_EQ(window->CheckConnected(0), 0);
    EXPECT_STREQ(window->findChild<SCA_SysTray*>()->Text(), "Korvanta Client - Disconnected");
    const QString lost =
        QStringLiteral("Connection to 127.0.0.1:%1 lost - reconnecting").arg(m_Port);
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("StatusLabel"))->text(), lost);
    // Reconnecting to a service that is not back yet adds nothing.
    korvac_test::ConnectionOf(window)->DefaultConnect();
    korvac_test::ConnectionOf(window)->DefaultConnect();
    EXPECT_EQ(window->GetClientLog()->GetMessageCount(), messages + 1);
    EXPECT_TRUE(m_Hook.Boxes.empty());
    EXPECT_TRUE(m_Hook.Dialogs.isEmpty());

    // Started again on the same port: the automatic reconnection finds it.
    m_Korvas = std::make_unique<KorvasProcess>(ServiceHome(), std::to_string(m_Port));
    ASSERT_EQ(m_Korvas->WaitUntilServing(), m_Port);
    for (int tick = 0;
         tick < 12 && !window->findChild<QTimer*>(QStringLiteral("ReconnectTimer"))->isActive();
         ++tick) {
        Tick(window);
    }
    ASSERT_TRUE(window->findChild<QTimer*>(QStringLiteral("ReconnectTimer"))->isActive());
    window->findChild<QTimer*>(QStringLiteral("ReconnectTimer"))->stop();
    EXPECT_TRUE(korvas_integration::ConnectAsTheTimerDoes(window));
    EXPECT_TRUE(m_Hook.Boxes.empty());

    // The options round trip: a new service password and one tick on the operating-system
    // logon. The service keeps signing (its rule), so the client logs in with the new password,
    // still on the port it uses (the service was started on another than its setting).
    m_Hook.OnExec = [](QDialog* dialog) {
        dialog->findChild<QLineEdit*>(QStringLiteral("ServerPassword"))
            ->setText(QStringLiteral("round-trip-secret"));
        dialog->findChild<QCheckBox*>(QStringLiteral("EnableOsLogon"))->setChecked(true);
        dialog->accept();
    };
    window->AdvancedOptions();
    EXPECT_TRUE(m_Hook.Boxes.empty());
    EXPECT_EQ(user->GetConnectControlPort(), m_Port);
    EXPECT_STREQ(user->GetConnectPassword(), "round-trip-secret");
    SCA_KorvantaInterface probe;
    uint32_t error = 0;
    ASSERT_EQ(probe.Connect("127.0.0.1", m_Port, korvas_integration::kConnectWaitMs, &error), 1);
    EXPECT_EQ(probe.GetNetTransport()->GetServerLoginMode(), SCA_KORVANTA_LOGIN_SIGNATURE);
    korvac_test::ConnectionOf(window)->Disconnect();
    EXPECT_TRUE(korvas_integration::ConnectAsTheTimerDoes(window));

    // An exported configuration whose reports folder has moved out of the service's folder:
    // the service refuses its import, and the answer is the service's own reason.
    m_Hook.OnExec = nullptr;
    const std::string exported = m_Home.Path() + "/exported.hdx";
    m_Hook.FileAnswer = QString::fromStdString(exported);
    window->ExportConfiguration();
    SCA_ConfigObj moved("ServerConfig", nullptr);
    uint32_t fileError = 0;
    ASSERT_EQ(moved.Load(exported.c_str(), &fileError), 1) << fileError;
    ASSERT_TRUE(moved.IsFieldExists("ReportsDir"));
    SCA_Object::Destroy(moved.RemoveField("ReportsDir"));
    moved.AddField("ReportsDir", "/etc/korvanta-reports");
    moved.AddField("ServerPassword", "round-trip-secret");
    const std::string refused = m_Home.Path() + "/moved.hdx";
    ASSERT_EQ(moved.Save(refused.c_str(), SCA_TEZ_USER_CONFIG_FILE_TYPE, 0, &fileError), 1);
    m_Hook.Boxes.clear();
    m_Hook.Answer = QMessageBox::Ok;
    m_Hook.FileAnswer = QString::fromStdString(refused);
    window->ImportConfiguration();
    ASSERT_EQ(m_Hook.Boxes.size(), 2u); // the warning, then the answer
    EXPECT_TRUE(m_Hook.Boxes[1].Text.endsWith(
        QStringLiteral("Cannot save server configuration file - the reports folder must lie "
                       "below %1 - /etc/korvanta-reports")
            .arg(QString::fromStdString(ServiceHome()))))
        << m_Hook.Boxes[1].Text.toStdString();
    m_Main.reset();
    m_Korvas->Kill();
}

// The first start of a client with no service on its port: no box, no message, the invitation
// to connect, and the retries just as quiet.
TEST_F(ClientService, AFirstStartWithoutAServiceIsQuiet) {
    m_Main = korvac_test::StartWindow();
    ASSERT_NE(m_Main, nullptr);
    SCA_SrvGui* window = m_Main.get();
    window->findChild<QTimer*>(QStringLiteral("ReconnectTimer"))->stop();
    window->GetUserConfig()->SetConnectHostName("127.0.0.1");
    // Port 1: nothing listens there, the connection is refused at once.
    window->GetUserConfig()->SetConnectControlPort(1);
    const uint32_t messages = window->GetClientLog()->GetMessageCount();
    for (int attempt = 0; attempt < 3; ++attempt) {
        korvac_test::ConnectionOf(window)->DefaultConnect();
        for (int tick = 0; tick < 6; ++tick) {
            Tick(window);
        }
    }
    EXPECT_EQ(window->CheckConnected(0), 0);
    EXPECT_EQ(window->GetClientLog()->GetMessageCount(), messages);
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("StatusLabel"))->text(),
              QString::fromLatin1(SCA_MainConnection::kPressConnectText));
    EXPECT_TRUE(m_Hook.Boxes.empty());
    EXPECT_TRUE(m_Hook.Dialogs.isEmpty());
}

} // namespace
