// The main window against a scripted client object: connection, the status poll driven by
// timer events delivered one by one, the panes it keeps current, and the configuration commands.
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpinBox>
#include <QTimer>
#include <QTimerEvent>
#include <QTreeWidgetItem>
#include <gtest/gtest.h>

#include <QThread>
#include <QToolButton>

#include "tests/support/HttpTestServer.h"
#include <sys/stat.h>

#include "GuiTestSupport.h"
#include "ScriptedClient.h"
#include "korvac/SCA_GuiUpdateLock.h"
#include "korvac/SCA_MonitorsView.h"
#include "korvac/SCA_SideBar.h"
#include "korvac/SCA_SrvConnectView.h"
#include "korvac/SCA_SrvLogView.h"
#include "libvop/SCA_OptionsDlg.h"
#include "model/SCA_SrvConnectList.h"

using korvac_test::ClientScript;
using korvac_test::PrivateHome;
using korvac_test::RecordingHook;
using korvac_test::ScriptedClient;

namespace {

constexpr char kNotConnected[] =
    "Korvanta Client is not connected.\nPress the 'Connect' button to connect to a server.";

class LiveWindow : public testing::Test {
protected:
    void SetUp() override {
        m_Window = korvac_test::StartWindow();
        ASSERT_NE(m_Window, nullptr);
        // The start's own connection attempt is the tests' to make.
        m_Window->GetReconnectTimer()->stop();
        m_Window->SetClientFactory([this]() { return new ScriptedClient(&m_Script); });
        SCA_TezConfigUser* user = m_Window->GetUserConfig();
        user->SetConnectHostName("server-a");
        user->SetConnectControlPort(8000);
        user->SetConnectUserName("admin");
        user->SetConnectPassword("secret");
        m_Script.Status = {{"MonitorsStatusId", 1}, {"MonitorCount", 2}, {"ActiveMonitors", 2}};
        m_Script.Monitors = {{"1", "9 11 12 0 0 - Local processor load"},
                             {"2", "4 11 3 0 1 db1 Database disks"}};
    }

    // One tick of the window's 500 ms timer.
    void Tick() {
        QTimerEvent event(m_Window->GetUpdateTimerId());
        QCoreApplication::sendEvent(m_Window.get(), &event);
    }
    // The client's own message log, as text lines.
    bool Logged(const char* text) {
        SCA_DebugLog* log = m_Window->GetClientLog();
        for (uint32_t i = 0; i < log->GetMessageCount(); ++i) {
            tagSCA_ERROR_DESCR* message = nullptr;
            if (log->GetMessageByPos(i, &message) && std::string(message->Text) == text) {
                return message->Level == SCA_LEVEL_ERROR || message->Level == SCA_LEVEL_INFO;
            }
        }
        return false;
    }
    bool BoxShown(const char* text) {
        for (const auto& box : m_Hook.Boxes) {
            if (box.Text == QString::fromUtf8(text)) {
                return true;
            }
        }
        return false;
    }

    PrivateHome m_Home;
    RecordingHook m_Hook;
    ClientScript m_Script;
    std::unique_ptr<SCA_SrvGui> m_Window;
};

TEST_F(LiveWindow, DefaultConnectLogsInFetchesTheServiceAndFillsEveryPane) {
    m_Window->DefaultConnect();
    ASSERT_EQ(m_Window->CheckConnected(0), 1);
    const std::vector<std::string> first(m_Script.Calls.begin(), m_Script.Calls.begin() + 6);
    EXPECT_EQ(first,
              (std::vector<std::string>{"Connect", "Login", "GetServerInfo", "GetServiceInfo",
                                        "GetProductConfig", "GetUserConfig"}));
    EXPECT_EQ(m_Window->GetStatusLabel()->text(), QStringLiteral("Connected To: admin@server-a"));
    EXPECT_STREQ(m_Window->GetTrayText(), "Korvanta Client - 2 Monitors");
    EXPECT_EQ(m_Window->GetTrayState(), SCA_SrvGui::kTrayRunning);
    // The known servers hold the host once, also after a second silent connection.
    m_Window->DefaultConnect();
    EXPECT_EQ(m_Window->GetUserConfig()->GetConnectList()->Count(), 1u);
    SCA_SrvConnectView* servers = m_Window->GetSideBar()->GetConnectView();
    ASSERT_EQ(servers->topLevelItemCount(), 1);
    EXPECT_EQ(servers->currentItem()->text(1), QStringLiteral("server-a"));

    SCA_MonitorsView* tree = m_Window->GetMonitorsView();
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    QTreeWidgetItem* local = tree->topLevelItem(0);
    EXPECT_EQ(local->text(1), QStringLiteral("Local processor load"));
    EXPECT_EQ(local->text(2), QStringLiteral("Local"));
    EXPECT_EQ(local->text(3), QStringLiteral("12"));
    EXPECT_EQ(local->text(6), QStringLiteral("Running"));
    EXPECT_EQ(local->data(0, Qt::UserRole).toUInt(), 1u);
    EXPECT_EQ(tree->topLevelItem(1)->text(2), QStringLiteral("db1"));
    EXPECT_EQ(tree->topLevelItem(1)->text(5), QStringLiteral("1"));

    QTreeWidgetItem* reports = m_Window->GetSideBar()->GetRow(5);
    EXPECT_EQ(m_Window->GetSideBar()->GetRow(0)->text(2), QStringLiteral("2"));
    EXPECT_EQ(reports->text(2), QStringLiteral("0"));
}

TEST_F(LiveWindow, MonitorStatusStringsAreParsedOrRefused) {
    uint32_t n[5] = {};
    char host[256];
    char description[256];
    ASSERT_EQ(SCA_SrvGui::ParseMonitorStatusString("1 11 12 0 0 - My   three words", &n[0], &n[1],
                                                   &n[2], &n[3], &n[4], host, sizeof(host),
                                                   description, sizeof(description)),
              1);
    EXPECT_EQ(n[0], 1u);
    EXPECT_EQ(n[1], 11u);
    EXPECT_EQ(n[2], 12u);
    EXPECT_STREQ(host, "");
    EXPECT_STREQ(description, "My   three words");
    ASSERT_EQ(SCA_SrvGui::ParseMonitorStatusString("5 0 1 2 3 web01    spaced", &n[0], &n[1], &n[2],
                                                   &n[3], &n[4], host, sizeof(host), description,
                                                   sizeof(description)),
              1);
    EXPECT_STREQ(host, "web01");
    EXPECT_STREQ(description, "spaced");
    EXPECT_EQ(SCA_SrvGui::ParseMonitorStatusString("1 11 12 0", &n[0], &n[1], &n[2], &n[3], &n[4],
                                                   host, sizeof(host), description,
                                                   sizeof(description)),
              0);
    EXPECT_EQ(SCA_SrvGui::ParseMonitorStatusString("1 11 12 0 0", &n[0], &n[1], &n[2], &n[3], &n[4],
                                                   host, sizeof(host), description,
                                                   sizeof(description)),
              0);
}

TEST_F(LiveWindow, PollsOnEvenTicksUpdatesRowsInPlaceAndRebuildsOnANewMonitorSet) {
    m_Window->DefaultConnect();
    const int afterConnect = m_Script.Count("GetStatusEx");
    QTreeWidgetItem* first = m_Window->GetMonitorsView()->topLevelItem(0);
    m_Script.Monitors[0].second = "5 11 12 3 0 - Renamed on the service";
    for (int tick = 0; tick < 4; ++tick) {
        Tick();
    }
    // Ticks 0 and 2 poll; the same set of monitors updates the rows it has.
    EXPECT_EQ(m_Script.Count("GetStatusEx"), afterConnect + 2);
    ASSERT_EQ(m_Window->GetMonitorsView()->topLevelItem(0), first);
    EXPECT_EQ(first->text(4), QStringLiteral("3"));
    EXPECT_EQ(first->data(2, Qt::UserRole).toUInt(), 5u);
    EXPECT_EQ(first->text(1), QStringLiteral("Local processor load"));

    // A bad status string on a new set leaves the id unstored, so the next poll rebuilds.
    m_Script.Status["MonitorsStatusId"] = 2;
    m_Script.Monitors.push_back({"3", "1 11 4"});
    Tick();
    EXPECT_TRUE(Logged("SCA_SrvGui::ParseMonitorStatusString: invalid monitor status string"));
    EXPECT_EQ(m_Window->GetLastMonitorsStatusId(), 1u);
    m_Script.Monitors.back().second = "1 10 4 0 0 - New one";
    Tick();
    Tick();
    EXPECT_EQ(m_Window->GetLastMonitorsStatusId(), 2u);
    ASSERT_EQ(m_Window->GetMonitorsView()->topLevelItemCount(), 3);
    EXPECT_EQ(m_Window->GetMonitorsView()->topLevelItem(0)->text(1),
              QStringLiteral("Renamed on the service"));
}

TEST_F(LiveWindow, TrayTitleFollowsErrorsWarningsAndActiveMonitors) {
    m_Window->DefaultConnect();
    struct Case {
        uint64_t Errors, Failed, Warnings, Active;
        const char* Text;
        uint32_t State;
    } cases[] = {
        {1, 0, 0, 2, "Korvanta Client - 1 Error", SCA_SrvGui::kTrayErrors},
        {1, 1, 5, 2, "Korvanta Client - 2 Errors", SCA_SrvGui::kTrayErrors},
        {0, 0, 2, 2, "Korvanta Client - 2 Warnings", SCA_SrvGui::kTrayWarnings},
        {0, 0, 0, 1, "Korvanta Client - 1 Monitor", SCA_SrvGui::kTrayRunning},
        {0, 0, 0, 0, "Korvanta Client - No Active Monitors", SCA_SrvGui::kTrayNoActive},
    };
    for (const Case& c : cases) {
        m_Script.Status["MonitorErrors"] = c.Errors;
        m_Script.Status["FailedMonitors"] = c.Failed;
        m_Script.Status["MonitorWarnings"] = c.Warnings;
        m_Script.Status["ActiveMonitors"] = c.Active;
        ASSERT_EQ(m_Window->UpdateStatus(0), 1);
        EXPECT_STREQ(m_Window->GetTrayText(), c.Text);
        EXPECT_EQ(m_Window->GetTrayState(), c.State);
    }
    EXPECT_EQ(m_Window->GetSideBar()->GetRow(3)->text(2), QStringLiteral("0"));
}

TEST_F(LiveWindow, MessagePaneKeeps500RowsAndANewSessionReplacesThem) {
    m_Script.Status["LastDebugMessageId"] = 501;
    m_Script.MessageCount = 501;
    m_Window->DefaultConnect();
    SCA_SrvLogView* pane = m_Window->GetLogView();
    // One poll brings 500; the next brings the rest and the oldest row goes.
    ASSERT_EQ(pane->topLevelItemCount(), 500);
    EXPECT_EQ(m_Window->GetLastServerMessageId(), 500u);
    ASSERT_EQ(m_Window->UpdateStatus(0), 1);
    ASSERT_EQ(pane->topLevelItemCount(), 500);
    EXPECT_EQ(pane->topLevelItem(0)->text(3), QStringLiteral("message 1"));
    EXPECT_EQ(pane->topLevelItem(499)->text(3), QStringLiteral("message 500"));
    EXPECT_EQ(m_Window->GetLastServerMessageId(), 501u);

    m_Script.SessionId = 2;
    m_Script.FirstMessageId = 1;
    m_Script.MessageCount = 3;
    m_Script.Status["LastDebugMessageId"] = 3;
    ASSERT_EQ(m_Window->UpdateStatus(0), 1);
    EXPECT_EQ(pane->topLevelItemCount(), 3);
    EXPECT_EQ(m_Window->GetLastServerMessageId(), 3u);
}

TEST_F(LiveWindow, ALostServiceShowsDisconnectedAtOnceAndEverySixthTickReconnects) {
    m_Window->DefaultConnect();
    m_Script.StatusOk = 0;
    Tick();
    EXPECT_EQ(m_Window->CheckConnected(0), 0);
    EXPECT_STREQ(m_Window->GetTrayText(), "Korvanta Client - Disconnected");
    EXPECT_EQ(m_Window->GetMonitorsView()->topLevelItemCount(), 0);
    EXPECT_EQ(m_Window->GetSideBar()->GetRow(0)->text(2), QString());
    for (int tick = 1; tick < 6; ++tick) {
        Tick();
        EXPECT_FALSE(m_Window->GetReconnectTimer()->isActive()) << tick;
    }
    Tick();
    EXPECT_TRUE(m_Window->GetReconnectTimer()->isActive());
    m_Window->GetReconnectTimer()->stop();

    // While a modal window holds the lock, neither polls nor reconnects happen.
    {
        SCA_GuiUpdateLock lock(m_Window.get());
        const uint32_t ticks = m_Window->GetTickCount();
        for (int tick = 0; tick < 12; ++tick) {
            Tick();
        }
        EXPECT_EQ(m_Window->GetTickCount(), ticks);
        EXPECT_FALSE(m_Window->GetReconnectTimer()->isActive());
    }
    EXPECT_EQ(m_Window->GetUpdateLock(), 0);

    m_Script.StatusOk = 1;
    m_Window->DefaultConnect();
    EXPECT_EQ(m_Window->CheckConnected(0), 1);
}

TEST_F(LiveWindow, AWrongPasswordStopsTheAutomaticReconnection) {
    m_Script.LoginStatus = 0;
    m_Window->DefaultConnect();
    EXPECT_EQ(m_Window->CheckConnected(0), 0);
    EXPECT_EQ(m_Window->GetAutoConnect(), 0u);
    EXPECT_TRUE(Logged("Cannot login to Korvanta Server @ server-a as admin"));
    for (int tick = 0; tick < 13; ++tick) {
        Tick();
    }
    EXPECT_FALSE(m_Window->GetReconnectTimer()->isActive());
    // A transport failure alone leaves the reconnection on.
    m_Script.LoginStatus = 1;
    m_Script.ConnectOk = 0;
    m_Window->ConnectToHost("server-a");
    EXPECT_EQ(m_Window->CheckConnected(0), 0);
}

TEST_F(LiveWindow, ExportWhileDisconnectedAsksForAConnectionAndOpensNoDialog) {
    m_Window->ExportConfiguration();
    ASSERT_EQ(m_Hook.Boxes.size(), 1u);
    EXPECT_EQ(m_Hook.Boxes[0].Text, QString::fromLatin1(kNotConnected));
    EXPECT_TRUE(m_Hook.Dialogs.isEmpty());
}

TEST_F(LiveWindow, AnExportedConfigurationIsPrivateAndImportsWhileAWrongFileIsRefused) {
    m_Window->DefaultConnect();
    const std::string path = m_Home.Path() + "/backup.hdx";
    m_Hook.FileAnswer = QString::fromStdString(path);
    m_Window->ExportConfiguration();
    ASSERT_TRUE(BoxShown("Product configuration exported."));
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    m_Hook.Answer = QMessageBox::Ok;
    m_Window->ImportConfiguration();
    EXPECT_TRUE(BoxShown("Server configuration imported."));
    EXPECT_EQ(m_Script.Count("StopAllMonitors"), 1);
    EXPECT_EQ(m_Script.SetMask, 0xFFFFFFFFu);

    // A configuration file of another kind: refused before the service is touched.
    SCA_ConfigObj other("ServerConfig", nullptr);
    other.AddField("FileType", 1012u);
    other.AddField("ProductType", SCA_PRODUCT_TYPE_KORVANTA);
    uint32_t error = 0;
    const std::string wrong = m_Home.Path() + "/other.hdx";
    ASSERT_EQ(other.Save(wrong.c_str(), 1012, 0, &error), 1);
    m_Hook.FileAnswer = QString::fromStdString(wrong);
    m_Window->ImportConfiguration();
    EXPECT_TRUE(Logged("The specified configuration file is invalid."));
    EXPECT_EQ(m_Script.Count("StopAllMonitors"), 1);

    // Cancelling the warning ends the command before any file is asked for.
    const int dialogs = static_cast<int>(m_Hook.Dialogs.size());
    m_Hook.Answer = QMessageBox::Cancel;
    m_Window->ImportConfiguration();
    EXPECT_EQ(static_cast<int>(m_Hook.Dialogs.size()), dialogs);
    EXPECT_EQ(m_Window->GetUpdateLock(), 0);
}

TEST_F(LiveWindow, AChangedControlPortIsPromptedAndCancelKeepsItButSavesTheRest) {
    m_Window->DefaultConnect();
    m_Hook.Result = QDialog::Accepted;
    m_Hook.OnExec = [](QDialog* dialog) {
        dialog->findChild<QSpinBox*>(QStringLiteral("ServerControlPort"))->setValue(9100);
        dialog->findChild<QLineEdit*>(QStringLiteral("DefaultReportTitle"))
            ->setText(QStringLiteral("Night shift"));
    };
    m_Hook.Answer = QMessageBox::Cancel;
    m_Window->AdvancedOptions();
    ASSERT_TRUE(BoxShown("In order to apply the changed server control port, you need to "
                         "restart the server.Press 'Ok' to save the new control port or press "
                         "'Cancel' to restore the last value."));
    EXPECT_EQ(m_Script.SetMask, 33u);
    EXPECT_EQ(m_Script.SetFields["ServerControlPort"], "8000");
    EXPECT_EQ(m_Script.SetFields["DefaultReportTitle"], "Night shift");
    EXPECT_STREQ(m_Window->GetUserConfig()->GetDefaultReportTitle(), "Night shift");
    // Signature mode: the client now logs in with the service's own login.
    EXPECT_STREQ(m_Window->GetUserConfig()->GetConnectPassword(), "service-secret");

    m_Script.LogonMode = 1;
    m_Window->GetUserConfig()->SetConnectPassword("my-own");
    m_Hook.Answer = QMessageBox::Ok;
    m_Window->AdvancedOptions();
    EXPECT_EQ(m_Script.SetFields["ServerControlPort"], "9100");
    EXPECT_EQ(m_Window->GetUserConfig()->GetConnectControlPort(), 9100);
    EXPECT_STREQ(m_Window->GetUserConfig()->GetConnectPassword(), "my-own");
}

TEST_F(LiveWindow, KnownServersAreOrderedRemovedAndRemoveAllIsAsked) {
    SCA_SrvConnectList* list = m_Window->GetUserConfig()->GetConnectList();
    list->AddConnect("server-a", "admin", "secret", 8000);
    list->AddConnect("server-b", "admin", "secret", 8001);
    SCA_SrvConnectView* view = m_Window->GetSideBar()->GetConnectView();
    view->Refresh("server-b");
    view->MoveConnectUp();
    ASSERT_EQ(view->topLevelItemCount(), 2);
    EXPECT_EQ(view->topLevelItem(0)->text(1), QStringLiteral("server-b"));
    // Not connected: no row stays selected after the move.
    EXPECT_EQ(view->selectedItems().size(), 0);

    // A double click connects without adding the server again.
    view->Refresh("server-a");
    view->ConnectClicked(view->currentItem(), 1);
    EXPECT_STREQ(m_Window->GetConnectedHost(), "server-a");
    EXPECT_EQ(list->Count(), 2u);
    const int connects = m_Script.Count("Connect");
    view->ConnectClicked(view->currentItem(), 1);
    EXPECT_EQ(m_Script.Count("Connect"), connects);

    m_Hook.Answer = QMessageBox::No;
    view->DeleteAllConnects();
    EXPECT_TRUE(BoxShown("Are you sure you want to remove all computers from the list?"));
    EXPECT_EQ(list->Count(), 2u);
    m_Hook.Answer = QMessageBox::Yes;
    view->DeleteAllConnects();
    EXPECT_EQ(list->Count(), 0u);
    EXPECT_EQ(view->topLevelItemCount(), 0);
}

TEST_F(LiveWindow, ClearAllWhileDisconnectedEmptiesThePaneAndAsksForAConnection) {
    m_Window->GetLogView()->ClearAll();
    EXPECT_EQ(m_Window->GetLogView()->topLevelItemCount(), 0);
    EXPECT_TRUE(BoxShown(kNotConnected));
    m_Window->DefaultConnect();
    m_Window->GetLogView()->ClearAll();
    EXPECT_EQ(m_Script.Count("ClearDebugLog"), 1);
}

} // namespace

namespace {

// Each connection checks for a product update at the local configuration's address; the timer
// shows the corner button only when a newer package is there.
TEST_F(LiveWindow, ANewerProductShowsTheUpdateButtonAndTheSameVersionDoesNot) {
    for (const char* version : {"13.5.48", "99.1.2"}) {
        const std::string body = std::string("Version=") + version + "\r\nProductType=503\r\n";
        korvanta_test::TestHttpServer server(korvanta_test::TestHttpServer::Ok(body));
        const std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) + "/update.txt";
        m_Window->GetLocalConfig()->SetUpdateResourceName(url.c_str());
        m_Window->DefaultConnect();
        ASSERT_EQ(m_Window->CheckConnected(0), 1);
        // The check ends within its time-out; the ticks collect it.
        for (int tick = 0; tick < 100 && m_Window->GetUpdateButton()->isHidden(); ++tick) {
            Tick();
            QThread::msleep(20);
        }
        EXPECT_EQ(std::string(version) == "99.1.2", !m_Window->GetUpdateButton()->isHidden())
            << version;
        EXPECT_EQ(server.RequestLine(), "GET /update.txt HTTP/1.1");
        m_Window->Disconnect();
    }
}

} // namespace
