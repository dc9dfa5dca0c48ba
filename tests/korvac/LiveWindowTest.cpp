// SPDX-License-Identifier: MIT
// The main window against a stand-in for the service: connection, the status poll driven by
// timer events delivered one by one, the panes it keeps current, the configuration commands,
// and how a refused, lost or stalled service looks to the user.
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidgetItem>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>

#include "FakeService.h"
#include "GuiTestSupport.h"
#include "LargeReplies.h"
#include "korvac/main/SCA_GuiUpdateLock.h"
#include "korvac/main/SCA_MonitorsView.h"
#include "korvac/main/SCA_SideBar.h"
#include "korvac/main/SCA_SrvActionCtrl.h"
#include "korvac/main/SCA_SrvConnectView.h"
#include "korvac/main/SCA_SrvLogView.h"
#include "korvac/main/SCA_SysTray.h"
#include "libmor/SCA_HeapGiveBack.h"
#include "libmor/SCA_Version.h"
#include "libvop/SCA_EntryDlg.h"
#include "libvop/SCA_OptionsDlg.h"
#include "model/SCA_SoundList.h"
#include "model/SCA_SrvConnectList.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezTaskStatus.h"
#include "tests/support/HeldMemory.h"
#include "tests/support/HttpTestServer.h"
#include "tests/support/WaitUntil.h"

using korvac_test::Answer;
using korvac_test::ConnectionOf;
using korvac_test::FakeClient;
using korvac_test::FakeService;
using korvac_test::PollOf;
using korvac_test::PrivateHome;
using korvac_test::RecordingHook;
using korvac_test::UpdateCheckOf;

namespace {

constexpr char kNotConnected[] =
    "Korvanta Client is not connected.\nPress the 'Connect' button to connect to a server.";
constexpr char kLost[] = "Connection to server-a:8000 lost - reconnecting";
// The longest the window's loop may stand still while a poll is out. A loop that waited on the
// network would stand still for a poll's whole time-out; the window's own work and a busy
// machine's scheduler give gaps of a few hundred ms (393 ms were seen at a load of 40).
constexpr qint64 kLongestWaitMs = SCA_ClientSession::kPollTimeoutMs;
// What a test on loopback lets a healthy answer take: far beyond any honest delay on a busy
// machine, yet within the test's own deadline for the polls, so that a wait that never ends
// fails the test instead of hanging it.
constexpr uint32_t kHealthyAnswerWaitMs = 30000;

class LiveWindow : public testing::Test {
protected:
    void SetUp() override {
        m_Window = korvac_test::StartWindowOn(&m_Service);
        ASSERT_NE(m_Window, nullptr);
        m_Service.Healthy();
        m_Service.Status.MonitorsStatusId = 1;
        m_Service.Status.MonitorCount = 2;
        m_Service.Status.ActiveMonitors = 2;
        m_Service.Monitors = {FakeService::Row(1, 9, 11, 12, 0, 0, "", "Local processor load"),
                              FakeService::Row(2, 4, 11, 3, 0, 1, "db1", "Database disks")};
    }

    // One tick of the window's 500 ms timer.
    void Tick() {
        korvac_test::TickWindow(m_Window);
        korvac_test::WaitForPolls(m_Window->GetSession());
    }
    QTimer* ReconnectTimer() {
        return m_Window->findChild<QTimer*>(QStringLiteral("ReconnectTimer"));
    }
    // The window stays quiet for five ticks and starts its reconnection on the sixth; the
    // timer is stopped again so that the test connects when it chooses.
    void ExpectTheReconnectionOnTheSixthTick() {
        for (int tick = 1; tick < 6; ++tick) {
            Tick();
            EXPECT_FALSE(ReconnectTimer()->isActive()) << tick;
        }
        Tick();
        ASSERT_TRUE(ReconnectTimer()->isActive());
        ReconnectTimer()->stop();
    }
    // How many messages of the client's own log carry the text.
    int Logged(const char* text) {
        SCA_DebugLog* log = m_Window->GetClientLog();
        int count = 0;
        for (uint32_t i = 0; i < log->GetMessageCount(); ++i) {
            tagSCA_ERROR_DESCR* message = nullptr;
            if (log->GetMessageByPos(i, &message) && std::string(message->Text) == text) {
                ++count;
            }
        }
        return count;
    }
    bool BoxShown(const char* text) {
        for (const auto& box : m_Hook.Boxes) {
            if (box.Text == QString::fromUtf8(text)) {
                return true;
            }
        }
        return false;
    }
    QString Status() { return m_Window->findChild<QLabel*>(QStringLiteral("StatusLabel"))->text(); }
    // What the window says of a reply of size bytes over the default limit.
    static QString RefusedText(uint32_t size) {
        return QStringLiteral("Reply from server-a:8000 refused: %1 bytes, over the limit of %2 "
                              "bytes (-max_reply raises it) - reconnecting")
            .arg(size)
            .arg(SCA_ClientSession::kDefaultMaxReplyBytes);
    }
    // Two polls after the service turned sane: connected again with its two monitors shown.
    void ExpectRecovered(const QString& connected) {
        Tick();
        Tick();
        EXPECT_EQ(m_Window->CheckConnected(0), 1);
        EXPECT_EQ(Status(), connected);
        EXPECT_EQ(m_Window->findChild<SCA_MonitorsView*>()->topLevelItemCount(), 2);
    }
    SCA_SysTray* Tray() const { return m_Window->findChild<SCA_SysTray*>(); }
    SCA_ConfigObj* SentConfig() {
        SCA_ConfigObj* request = m_Service.LastRequest("SetUserConfig");
        SCA_ConfigObj* config = nullptr;
        return request != nullptr && request->GetField("Config", &config) ? config : nullptr;
    }
    std::string Sent(const char* name) {
        char text[256] = "";
        SCA_ConfigObj* config = SentConfig();
        return config != nullptr && config->GetField(name, text, sizeof(text)) ? text : "";
    }
    // The service's own rule for the login it asks for, on what the client sent it.
    uint32_t ServiceLogonMode() {
        SCA_TezConfig product(SCA_PRODUCT_TYPE_KORVANTA);
        SCA_TezConfigUser sent(&product);
        sent.Deserialize(&product, SentConfig(), 0xFFFFFFFFu);
        return sent.GetEffectiveLogonMode();
    }

    PrivateHome m_Home;
    RecordingHook m_Hook;
    FakeService m_Service;
    std::unique_ptr<SCA_SrvGui> m_Window;
};

TEST_F(LiveWindow, DefaultConnectLogsInFetchesTheServiceAndFillsEveryPane) {
    m_Service.Monitors[1].State = SCA_TASK_STATUS_ERROR;
    m_Service.Monitors[1].Errors = 3;
    ConnectionOf(m_Window)->DefaultConnect();
    ASSERT_EQ(m_Window->CheckConnected(0), 1);
    std::vector<std::string> first;
    for (size_t i = 0; i < 6; ++i) {
        first.push_back(m_Service.Calls[i].Op);
    }
    EXPECT_EQ(first,
              (std::vector<std::string>{"Connect", "Login", "GetServerInfo", "GetServiceInfo",
                                        "GetProductConfig", "GetUserConfig"}));
    EXPECT_EQ(Status(), QStringLiteral("Connected To: admin@server-a"));
    EXPECT_STREQ(Tray()->Text(), "Korvanta Client - 2 Monitors");
    EXPECT_EQ(Tray()->State(), SCA_SysTray::kRunning);
    // The known servers hold the host once, also after a second silent connection.
    ConnectionOf(m_Window)->DefaultConnect();
    EXPECT_EQ(m_Window->GetUserConfig()->GetConnectList()->Count(), 1u);
    SCA_SrvConnectView* servers = m_Window->findChild<SCA_SideBar*>()->GetConnectView();
    ASSERT_EQ(servers->topLevelItemCount(), 1);
    EXPECT_EQ(servers->currentItem()->text(1), QStringLiteral("server-a"));

    SCA_MonitorsView* tree = m_Window->findChild<SCA_MonitorsView*>();
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    QTreeWidgetItem* local = tree->topLevelItem(0);
    EXPECT_EQ(local->text(1), QStringLiteral("Local processor load"));
    EXPECT_EQ(local->text(2), QStringLiteral("Local"));
    EXPECT_EQ(local->text(3), QStringLiteral("12"));
    EXPECT_EQ(local->text(6), QStringLiteral("Running"));
    EXPECT_EQ(local->data(0, Qt::UserRole).toUInt(), 1u);
    // A monitor in error says so, in words and in its tool tip.
    QTreeWidgetItem* failing = tree->topLevelItem(1);
    EXPECT_EQ(failing->text(2), QStringLiteral("db1"));
    EXPECT_EQ(failing->text(6), QStringLiteral("Running - Errors"));
    EXPECT_EQ(failing->toolTip(6), QStringLiteral("Running - Errors: 3 errors, 1 warning"));
    EXPECT_EQ(failing->data(2, Qt::UserRole).toUInt(), SCA_TASK_STATUS_ERROR);

    EXPECT_EQ(m_Window->findChild<SCA_SideBar*>()->GetRow(0)->text(2), QStringLiteral("2"));
    EXPECT_EQ(m_Window->findChild<SCA_SideBar*>()->GetRow(5)->text(2), QStringLiteral("0"));
    // The connection's polls wait briefly, the user's commands longer.
    EXPECT_EQ(m_Service.LastCall("GetStatusEx")->TimeoutMs, SCA_ClientSession::kPollTimeoutMs);
    EXPECT_EQ(m_Service.LastCall("GetUserConfig")->TimeoutMs, SCA_ClientSession::kCallTimeoutMs);
}

TEST_F(LiveWindow, MonitorStatusStringsAreParsedOrRefused) {
    uint32_t n[5] = {};
    char host[256];
    char description[256];
    ASSERT_EQ(SCA_MainStatusPoll::ParseMonitorStatusString(
                  "1 11 12 0 0 - My   three words", &n[0], &n[1], &n[2], &n[3], &n[4], host,
                  sizeof(host), description, sizeof(description)),
              1);
    EXPECT_EQ(n[1], 11u);
    EXPECT_EQ(n[2], 12u);
    EXPECT_STREQ(host, "");
    EXPECT_STREQ(description, "My   three words");
    EXPECT_EQ(SCA_MainStatusPoll::ParseMonitorStatusString("1 11 12 0", &n[0], &n[1], &n[2], &n[3],
                                                           &n[4], host, sizeof(host), description,
                                                           sizeof(description)),
              0);
    EXPECT_EQ(Logged("SCA_SrvGui::ParseMonitorStatusString: invalid monitor status string"), 1);
}

TEST_F(LiveWindow, PollsUpdateRowsInPlaceAndARebuildKeepsTheSelectionAndTheScroll) {
    for (uint32_t id = 3; id <= 60; ++id) {
        m_Service.Monitors.push_back(FakeService::Row(id, 9, 11, 1, 0, 0, "", "Filler"));
    }
    ConnectionOf(m_Window)->DefaultConnect();
    SCA_MonitorsView* tree = m_Window->findChild<SCA_MonitorsView*>();
    tree->resize(600, 300);
    const int afterConnect = m_Service.Count("GetStatusEx");
    QTreeWidgetItem* first = tree->topLevelItem(0);
    std::set<QTreeWidgetItem*> written;
    const auto counting =
        QObject::connect(tree, &QTreeWidget::itemChanged,
                         [&written](QTreeWidgetItem* item, int) { written.insert(item); });
    m_Service.Monitors[0].State = 5;
    m_Service.Monitors[0].Errors = 3;
    for (int tick = 0; tick < 4; ++tick) {
        Tick();
    }
    // Ticks 0 and 2 poll; the same set of monitors updates the rows it has, writing only the
    // row of the monitor that changed.
    EXPECT_EQ(m_Service.Count("GetStatusEx"), afterConnect + 2);
    ASSERT_EQ(tree->topLevelItem(0), first);
    EXPECT_EQ(written, std::set<QTreeWidgetItem*>{first});
    QObject::disconnect(counting);
    EXPECT_EQ(first->text(4), QStringLiteral("3"));
    EXPECT_EQ(first->data(2, Qt::UserRole).toUInt(), 5u);

    // The user selects two monitors and scrolls; the service then adds one and removes another.
    tree->topLevelItem(1)->setSelected(true);
    tree->topLevelItem(40)->setSelected(true);
    tree->setCurrentItem(tree->topLevelItem(40), 0, QItemSelectionModel::NoUpdate);
    tree->verticalScrollBar()->setValue(tree->verticalScrollBar()->maximum() / 2);
    const int scrolled = tree->verticalScrollBar()->value();
    ASSERT_GT(scrolled, 0);
    m_Service.Status.MonitorsStatusId = 2;
    m_Service.Monitors.erase(m_Service.Monitors.begin() + 5);
    m_Service.Monitors.insert(m_Service.Monitors.begin(),
                              FakeService::Row(99, 1, 10, 0, 0, 0, "", "New one"));
    Tick();
    Tick();
    EXPECT_EQ(PollOf(m_Window)->LastMonitorsStatusId(), 2u);
    ASSERT_EQ(tree->topLevelItemCount(), 60);
    EXPECT_EQ(tree->topLevelItem(0)->text(1), QStringLiteral("New one"));
    QList<uint32_t> selected;
    for (QTreeWidgetItem* item : tree->selectedItems()) {
        selected.append(item->data(0, Qt::UserRole).toUInt());
    }
    std::sort(selected.begin(), selected.end());
    EXPECT_EQ(selected, (QList<uint32_t>{2, 41}));
    EXPECT_EQ(tree->currentItem()->data(0, Qt::UserRole).toUInt(), 41u);
    EXPECT_EQ(tree->verticalScrollBar()->value(), scrolled);

    // A bad status text: the tree stays, greyed, is reported, the status bar says why, and the
    // next poll builds it.
    Answer bad = Answer::Reply([this](SCA_ConfigObj*, SCA_ConfigObj* reply) {
        m_Service.Status.Write(reply->AddConfigObj("ServerStatus"));
        reply->AddConfigObj("MonitorsStatus")->AddField("3", "1 11 4");
    });
    m_Service.Status.MonitorsStatusId = 3;
    m_Service.Queue("GetStatusEx", bad);
    Tick();
    Tick();
    EXPECT_EQ(Logged("SCA_SrvGui::ParseMonitorStatusString: invalid monitor status string"), 1);
    EXPECT_EQ(PollOf(m_Window)->LastMonitorsStatusId(), 2u);
    EXPECT_EQ(tree->topLevelItemCount(), 60);
    EXPECT_FALSE(tree->isEnabled());
    EXPECT_EQ(m_Window->statusBar()->currentMessage(),
              QString::fromLatin1(SCA_MainStatusPoll::kRowsUnreadText));
    Tick();
    Tick();
    EXPECT_EQ(PollOf(m_Window)->LastMonitorsStatusId(), 3u);
    EXPECT_TRUE(tree->isEnabled());
    EXPECT_TRUE(m_Window->statusBar()->currentMessage().isEmpty());
    // Rows built again after the greyed poll follow the next change of their monitor.
    m_Service.Monitors[10].Warnings = 7;
    Tick();
    Tick();
    ASSERT_EQ(tree->topLevelItem(10)->data(0, Qt::UserRole).toUInt(),
              m_Service.Monitors[10].MonitorId);
    EXPECT_EQ(tree->topLevelItem(10)->text(5), QStringLiteral("7"));
}

TEST_F(LiveWindow, TrayTitleFollowsErrorsWarningsAndActiveMonitors) {
    ConnectionOf(m_Window)->DefaultConnect();
    struct Case {
        uint32_t Errors, Failed, Warnings, Active;
        const char* Text;
        uint32_t State;
    } cases[] = {
        {1, 0, 0, 2, "Korvanta Client - 1 Error", SCA_SysTray::kErrors},
        {1, 1, 5, 2, "Korvanta Client - 2 Errors", SCA_SysTray::kErrors},
        {0, 0, 2, 2, "Korvanta Client - 2 Warnings", SCA_SysTray::kWarnings},
        {0, 0, 0, 1, "Korvanta Client - 1 Monitor", SCA_SysTray::kRunning},
        {0, 0, 0, 0, "Korvanta Client - No Active Monitors", SCA_SysTray::kNoActive},
    };
    for (const Case& c : cases) {
        m_Service.Status.MonitorErrors = c.Errors;
        m_Service.Status.FailedMonitors = c.Failed;
        m_Service.Status.MonitorWarnings = c.Warnings;
        m_Service.Status.ActiveMonitors = c.Active;
        ASSERT_EQ(PollOf(m_Window)->UpdateStatus(0), 1);
        EXPECT_STREQ(Tray()->Text(), c.Text);
        EXPECT_EQ(Tray()->State(), c.State);
    }
}

TEST_F(LiveWindow, MessagePaneKeeps500RowsAndANewSessionReplacesThem) {
    m_Service.Status.LastDebugMessageId = 501;
    m_Service.MessageCount = 501;
    ConnectionOf(m_Window)->DefaultConnect();
    SCA_SrvLogView* pane = m_Window->findChild<SCA_SrvLogView*>();
    // One poll brings 500; the next brings the rest and the oldest row goes.
    ASSERT_EQ(pane->topLevelItemCount(), 500);
    EXPECT_EQ(PollOf(m_Window)->LastServerMessageId(), 500u);
    QTreeWidgetItem* kept = pane->topLevelItem(10);
    ASSERT_EQ(PollOf(m_Window)->UpdateStatus(0), 1);
    ASSERT_EQ(pane->topLevelItemCount(), 500);
    EXPECT_EQ(pane->topLevelItem(0)->text(3), QStringLiteral("message 1"));
    EXPECT_EQ(pane->topLevelItem(499)->text(3), QStringLiteral("message 500"));
    EXPECT_EQ(pane->topLevelItem(9), kept); // rows stay, they are not rebuilt
    EXPECT_EQ(PollOf(m_Window)->LastServerMessageId(), 501u);

    m_Service.SessionId = 2;
    m_Service.MessageCount = 3;
    m_Service.Status.LastDebugMessageId = 3;
    ASSERT_EQ(PollOf(m_Window)->UpdateStatus(0), 1);
    EXPECT_EQ(pane->topLevelItemCount(), 3);
    EXPECT_EQ(PollOf(m_Window)->LastServerMessageId(), 3u);
}

// A service whose log is empty is asked for its log once, not at every poll; once it logs,
// the next poll shows the message, also one logged between the status and the log's read,
// and a restarted service's empty log still empties the pane.
TEST_F(LiveWindow, TheLogIsReadOnlyWhenTheServicesLastMessageMoves) {
    constexpr int kPolls = 5;
    ConnectionOf(m_Window)->DefaultConnect();
    SCA_SrvLogView* pane = m_Window->findChild<SCA_SrvLogView*>();
    const int statuses = m_Service.Count("GetStatusEx");
    const int reads = m_Service.Count("GetDebugLog");
    EXPECT_LE(reads, 1);
    for (int poll = 0; poll < kPolls; ++poll) {
        korvac_test::PollOnce(m_Window.get());
    }
    EXPECT_EQ(m_Service.Count("GetStatusEx"), statuses + kPolls);
    EXPECT_LE(m_Service.Count("GetDebugLog"), 1);
    EXPECT_EQ(pane->topLevelItemCount(), 0);

    // The status still says 1 when the read finds 2: the second came meanwhile.
    m_Service.MessageCount = 2;
    m_Service.Status.LastDebugMessageId = 1;
    korvac_test::PollOnce(m_Window.get());
    ASSERT_EQ(pane->topLevelItemCount(), 2);
    EXPECT_EQ(pane->topLevelItem(1)->text(3), QStringLiteral("message 1"));
    EXPECT_EQ(PollOf(m_Window)->LastServerMessageId(), 2u);
    m_Service.Status.LastDebugMessageId = 2;
    const int readsShown = m_Service.Count("GetDebugLog");
    korvac_test::PollOnce(m_Window.get());
    EXPECT_EQ(m_Service.Count("GetDebugLog"), readsShown);
    EXPECT_EQ(pane->topLevelItemCount(), 2);

    m_Service.SessionId = 2;
    m_Service.MessageCount = 0;
    m_Service.Status.LastDebugMessageId = 0;
    korvac_test::PollOnce(m_Window.get());
    EXPECT_EQ(pane->topLevelItemCount(), 0);
    const int readsRestarted = m_Service.Count("GetDebugLog");
    for (int poll = 0; poll < kPolls; ++poll) {
        korvac_test::PollOnce(m_Window.get());
    }
    EXPECT_EQ(m_Service.Count("GetDebugLog"), readsRestarted);
}

// The tray icon is loaded and its tip set when the state or its text changes, not at every
// poll that says the same.
TEST_F(LiveWindow, TheTrayIconIsSetOnlyWhenTheStateOrItsTextChanges) {
    ConnectionOf(m_Window)->DefaultConnect();
    ASSERT_EQ(Tray()->Create(), 1);
    QSystemTrayIcon* icon = Tray()->Icon();
    const qint64 running = icon->icon().cacheKey();
    korvac_test::PollOnce(m_Window.get());
    korvac_test::PollOnce(m_Window.get());
    EXPECT_EQ(icon->icon().cacheKey(), running);
    EXPECT_EQ(icon->toolTip(), QStringLiteral("Korvanta Client - 2 Monitors"));

    m_Service.Status.MonitorErrors = 1;
    korvac_test::PollOnce(m_Window.get());
    const qint64 errors = icon->icon().cacheKey();
    EXPECT_NE(errors, running);
    EXPECT_EQ(icon->toolTip(), QStringLiteral("Korvanta Client - 1 Error"));
    korvac_test::PollOnce(m_Window.get());
    EXPECT_EQ(icon->icon().cacheKey(), errors);

    // The same state with another text: the tip follows, and the icon with it.
    m_Service.Status.MonitorErrors = 2;
    korvac_test::PollOnce(m_Window.get());
    EXPECT_EQ(icon->toolTip(), QStringLiteral("Korvanta Client - 2 Errors"));
    EXPECT_NE(icon->icon().cacheKey(), errors);
}

// A service that is not there: the silent connection says nothing and shows no box, and its
// retries add nothing either.
TEST_F(LiveWindow, ARefusedStartShowsOneStatusLineAndNoBox) {
    m_Service.Standing("Connect", Answer::Refused());
    const uint32_t messages = m_Window->GetClientLog()->GetMessageCount();
    for (int attempt = 0; attempt < 3; ++attempt) {
        ConnectionOf(m_Window)->DefaultConnect();
        for (int tick = 0; tick < 6; ++tick) {
            Tick();
        }
    }
    EXPECT_EQ(m_Service.Count("Connect"), 3);
    EXPECT_EQ(m_Window->CheckConnected(0), 0);
    EXPECT_EQ(Status(), QString::fromLatin1(SCA_MainConnection::kPressConnectText));
    EXPECT_EQ(m_Window->GetClientLog()->GetMessageCount(), messages);
    EXPECT_TRUE(m_Hook.Boxes.empty());
    EXPECT_TRUE(m_Hook.Dialogs.isEmpty());
    EXPECT_TRUE(m_Window->findChild<QToolButton*>(QStringLiteral("ErrorBadge"))->isHidden());
}

// A lost connection is told once, in the status bar and the log; the window reconnects every
// sixth tick without a word and, once the service is back, shows it again.
TEST_F(LiveWindow, ALostServiceShowsOneStatusLineNoBoxAndReconnectsQuietly) {
    ConnectionOf(m_Window)->DefaultConnect();
    m_Service.Queue("GetStatusEx", Answer::Dropped());
    m_Service.Standing("Connect", Answer::Refused());
    Tick();
    EXPECT_EQ(m_Window->CheckConnected(0), 0);
    EXPECT_EQ(Status(), QString::fromLatin1(kLost));
    EXPECT_STREQ(Tray()->Text(), "Korvanta Client - Disconnected");
    EXPECT_EQ(m_Window->findChild<SCA_MonitorsView*>()->topLevelItemCount(), 0);
    EXPECT_EQ(m_Window->findChild<SCA_SideBar*>()->GetRow(0)->text(2), QString());
    ExpectTheReconnectionOnTheSixthTick();
    ConnectionOf(m_Window)->DefaultConnect();
    ConnectionOf(m_Window)->DefaultConnect();
    EXPECT_EQ(Status(), QString::fromLatin1(kLost));
    EXPECT_EQ(Logged(kLost), 1);
    EXPECT_TRUE(m_Hook.Boxes.empty());
    EXPECT_TRUE(m_Hook.Dialogs.isEmpty());

    // While a modal window holds the lock, neither polls nor reconnects happen, and the ticks
    // it held do not count: the reconnection comes on the sixth tick after the lock as it would
    // have without it (a count of 13 held ticks would bring it on the fifth).
    {
        SCA_GuiUpdateLock lock(m_Window.get());
        for (int tick = 0; tick < 13; ++tick) {
            Tick();
        }
        EXPECT_FALSE(ReconnectTimer()->isActive());
    }
    ExpectTheReconnectionOnTheSixthTick();
    m_Service.Standing("Connect", Answer::Ok());
    ConnectionOf(m_Window)->DefaultConnect();
    EXPECT_EQ(m_Window->CheckConnected(0), 1);
    EXPECT_EQ(Status(), QStringLiteral("Connected To: admin@server-a"));
}

// A stalled service holds the window up for the poll's short time-out once; then the window
// is disconnected and no further call waits for it.
TEST_F(LiveWindow, AStalledServiceHoldsThePollForItsShortTimeOutOnly) {
    ConnectionOf(m_Window)->DefaultConnect();
    m_Service.Queue("GetStatusEx", Answer::Ok().After(10000));
    Tick();
    ASSERT_NE(m_Service.LastCall("GetStatusEx"), nullptr);
    EXPECT_EQ(m_Service.LastCall("GetStatusEx")->TimeoutMs, SCA_ClientSession::kPollTimeoutMs);
    EXPECT_EQ(m_Window->CheckConnected(0), 0);
    EXPECT_EQ(Status(), QString::fromLatin1(kLost));
    const size_t calls = m_Service.Calls.size();
    m_Window->ClearServerDebugLog();
    EXPECT_EQ(m_Service.Calls.size(), calls);
    EXPECT_TRUE(BoxShown(kNotConnected)); // the user asked: the user hears it
}

// Whatever a service does to a poll, the window's event loop never waits on it (it paints, its
// timers run, it takes input), the window says what became of the poll, and it is back as soon
// as the service answers again.
TEST_F(LiveWindow, AMisbehavingServiceNeverHoldsTheEventLoopAndTheWindowRecovers) {
    constexpr int kTurnsWhileWaiting = 5;
    const QString connected = QStringLiteral("Connected To: admin@server-a");
    const Answer healthy = m_Service.StandingOf("GetStatusEx");
    const auto statusWithRows = [this](std::function<void(SCA_ConfigObj * monitors)> rows) {
        return Answer::Reply([this, rows](SCA_ConfigObj*, SCA_ConfigObj* reply) {
            m_Service.Status.Write(reply->AddConfigObj("ServerStatus"));
            rows(reply->AddConfigObj("MonitorsStatus"));
        });
    };
    constexpr size_t kHugeCount = SCA_MainStatusPoll::kMaxMonitorRows + 1;
    const QString tooMany = QStringLiteral("Monitor list not updated: the service listed %1 "
                                           "monitors, more than %2")
                                .arg(kHugeCount)
                                .arg(SCA_MainStatusPoll::kMaxMonitorRows);
    const struct {
        const char* Name;
        Answer Poll;
        const char* Status; // the status label after the poll; null: still connected
        QString StatusBar;  // what the status bar says of the monitor list
    } cases[] = {
        {"a reply that drips in just in time",
         healthy.After(SCA_ClientSession::kPollTimeoutMs - 300),
         nullptr,
         {}},
        {"silence", Answer::Ok().After(10000), kLost, {}},
        {"a connection closed half-way", Answer::Dropped().After(200), kLost, {}},
        {"a reply without its fields",
         Answer::Ok().After(200),
         SCA_MainConnection::kPressConnectText,
         {}},
        {"a refusal", Answer::Refused().After(200), SCA_MainConnection::kPressConnectText, {}},
        {"rows that cannot be read", statusWithRows([](SCA_ConfigObj* monitors) {
             monitors->AddField("1", "not a monitor row");
         }),
         nullptr, QString::fromLatin1(SCA_MainStatusPoll::kRowsUnreadText)},
        {"a huge count", statusWithRows([](SCA_ConfigObj* monitors) {
             for (uint32_t id = 1; id <= kHugeCount; ++id) {
                 FakeService::Row(id, 9, 11, 1, 0, 0, "", "Filler").Write(monitors);
             }
         }),
         nullptr, tooMany},
    };
    QTreeWidget* monitors = m_Window->findChild<SCA_MonitorsView*>();
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Name);
        m_Service.Standing("GetStatusEx", healthy);
        ConnectionOf(m_Window)->DefaultConnect();
        ASSERT_EQ(m_Window->CheckConnected(0), 1);
        // The poll is answered only once the window's event loop has turned while it waited:
        // a loop that waits on the network never releases it, and the wait fails the test.
        korvac_test::EventLoopProbe probe;
        m_Service.Queue("GetStatusEx", test.Poll.HeldUntil([&probe] {
            return probe.Turns() > kTurnsWhileWaiting;
        }));
        // The window polls on every second tick.
        Tick();
        Tick();
        EXPECT_GT(probe.Turns(), kTurnsWhileWaiting);
        EXPECT_LT(probe.LongestGapMs(), kLongestWaitMs);
        EXPECT_EQ(m_Window->statusBar()->currentMessage(), test.StatusBar);
        if (test.Status == nullptr) {
            EXPECT_EQ(m_Window->CheckConnected(0), 1);
            EXPECT_EQ(Status(), connected);
            // Rows that are not the poll's stay greyed, never shown as current.
            EXPECT_EQ(monitors->isEnabled(), test.StatusBar.isEmpty());
        } else {
            EXPECT_EQ(m_Window->CheckConnected(0), 0);
            EXPECT_EQ(Status(), QString::fromLatin1(test.Status));
            ConnectionOf(m_Window)->DefaultConnect();
        }
        ExpectRecovered(connected);
        EXPECT_TRUE(monitors->isEnabled());
        EXPECT_TRUE(m_Window->statusBar()->currentMessage().isEmpty());
    }
    EXPECT_TRUE(m_Hook.Boxes.empty());
}

// The same on the wire, through the network library on loopback: a frame that drips in is
// taken, silence and frames cut, mislabelled, nested too deep or too large are refused without
// the event loop waiting for them, the window
// says what became of them, and it is back once the service answers again; so it is when the
// service closes the connection at the greeting or at the login.
TEST_F(LiveWindow, FramesThatMisbehaveOnTheWireAreRefusedAndTheWindowRecovers) {
    ASSERT_TRUE(m_Service.ListenOnWire());
    // On loopback the real time-outs (100 ms to connect, 1.5 s a poll) are shorter than what a
    // busy machine may keep a healthy answer waiting: only the frames that are to run a poll
    // out get the poll's own time-out.
    SCA_ClientSession* session = m_Window->GetSession();
    session->SetLeastWaitMs(kHealthyAnswerWaitMs);
    constexpr int kTurnsWhileWaiting = 5;
    const QString connected = QStringLiteral("Connected To: admin@server-a");
    const QString lost = QString::fromLatin1(kLost);
    const Answer healthy = m_Service.StandingOf("GetStatusEx");
    const QString refused = RefusedText(FakeService::HugeStringPayload(healthy.HugeBytes));
    using Wire = Answer::Wire;
    // Status: the status label after the poll; connected when the poll was taken. TimesOut: the
    // client can only give the reply up when the poll's time-out runs out.
    const struct {
        const char* Name;
        Wire Frame;
        QString Status;
        bool TimesOut;
    } cases[] = {
        {"a reply that drips", Wire::Drip, connected, false},
        {"silence", Wire::Silence, lost, true},
        {"a reply cut half-way", Wire::CutHalfWay, lost, false},
        {"a length too long", Wire::LengthTooLong, lost, true},
        {"a length too short", Wire::LengthTooShort, lost, false},
        {"a reply to another request", Wire::OtherRequest, lost, true},
        {"nesting beyond the limit", Wire::TooDeep, lost, false},
        {"a 10 MB string", Wire::HugeString, refused, false},
    };
    QTreeWidget* monitors = m_Window->findChild<SCA_MonitorsView*>();
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Name);
        ConnectionOf(m_Window)->DefaultConnect();
        ASSERT_EQ(m_Window->CheckConnected(0), 1);
        korvac_test::EventLoopProbe probe;
        Answer poll = healthy;
        poll.Frame = test.Frame;
        m_Service.Queue("GetStatusEx",
                        poll.HeldUntil([&probe] { return probe.Turns() > kTurnsWhileWaiting; }));
        session->SetLeastWaitMs(test.TimesOut ? 0 : kHealthyAnswerWaitMs);
        Tick();
        Tick();
        session->SetLeastWaitMs(kHealthyAnswerWaitMs);
        EXPECT_GT(probe.Turns(), kTurnsWhileWaiting);
        EXPECT_LT(probe.LongestGapMs(), kLongestWaitMs);
        EXPECT_EQ(Status(), test.Status);
        if (test.Status == connected) {
            EXPECT_EQ(monitors->topLevelItemCount(), 2);
            continue;
        }
        EXPECT_EQ(m_Window->CheckConnected(0), 0);
        ConnectionOf(m_Window)->DefaultConnect();
        ExpectRecovered(connected);
    }
    for (const char* closing : {"Connect", "Login"}) {
        SCOPED_TRACE(closing);
        ConnectionOf(m_Window)->Disconnect();
        m_Service.Queue(closing, Answer::OnWire(Answer::Wire::Close));
        ConnectionOf(m_Window)->DefaultConnect();
        EXPECT_EQ(m_Window->CheckConnected(0), 0);
        ConnectionOf(m_Window)->DefaultConnect();
        Tick();
        Tick();
        EXPECT_EQ(m_Window->CheckConnected(0), 1);
        EXPECT_EQ(monitors->topLevelItemCount(), 2);
    }
    EXPECT_TRUE(m_Hook.Boxes.empty());
}

// A service that answers with a reply over the limit, its poll's or its configuration's at each
// login: the window says once, in the status bar and the log, how large it was, what the limit
// is and that -max_reply raises it; the reconnections that meet it again show the line and log
// nothing more, and no error or box comes. Once a poll is answered, a new one is told again.
TEST_F(LiveWindow, AReplyOverTheLimitIsToldOnceWithItsSizeWhileTheWindowReconnects) {
    constexpr uint32_t kHugeBytes = 45u << 20;
    constexpr int kReconnections = 3;
    ASSERT_TRUE(m_Service.ListenOnWire());
    m_Window->GetSession()->SetLeastWaitMs(kHealthyAnswerWaitMs);
    const QString refused = RefusedText(FakeService::HugeStringPayload(kHugeBytes));
    const QByteArray told = refused.toUtf8();
    int logged = 0;
    const auto hugeOf = [this](const char* op) {
        Answer huge = m_Service.StandingOf(op);
        huge.Frame = Answer::Wire::HugeString;
        huge.HugeBytes = kHugeBytes;
        return huge;
    };
    for (const char* op : {"GetStatusEx", "GetUserConfig"}) {
        SCOPED_TRACE(op);
        const Answer healthy = m_Service.StandingOf(op);
        const int asked = m_Service.Count(op);
        m_Service.Standing(op, hugeOf(op));
        ++logged;
        for (int attempt = 0; attempt <= kReconnections; ++attempt) {
            SCOPED_TRACE(attempt);
            ConnectionOf(m_Window)->DefaultConnect();
            EXPECT_EQ(m_Window->CheckConnected(0), 0);
            EXPECT_EQ(Status(), refused);
            EXPECT_EQ(Logged(told.constData()), logged);
        }
        EXPECT_EQ(m_Service.Count(op), asked + kReconnections + 1);
        EXPECT_TRUE(m_Window->findChild<QToolButton*>(QStringLiteral("ErrorBadge"))->isHidden());
        EXPECT_TRUE(m_Hook.Boxes.empty());
        m_Service.Standing(op, healthy);
        ConnectionOf(m_Window)->DefaultConnect();
        ASSERT_EQ(m_Window->CheckConnected(0), 1);
    }
    m_Service.Queue("GetStatusEx", hugeOf("GetStatusEx"));
    Tick();
    Tick();
    EXPECT_EQ(Status(), refused);
    EXPECT_EQ(Logged(told.constData()), logged + 1);
}

// A reply far larger than any real service sends, shown, left unshown or refused, leaves the
// client holding within 20 MB of what it held before, once the next polls have dropped what it
// made: its buffer, its decoded rows, the list's items, and the heap pages they took.
TEST_F(LiveWindow, MemoryALargeReplyTookIsGivenBackOnceItIsDropped) {
    constexpr double kKeptMegabytes = 20.0;
    ASSERT_TRUE(m_Service.ListenOnWire());
    // Each reply here is to be read whole or refused for its size, never timed out: a busy
    // machine may take longer than a poll's time-out to carry 10,000 rows over loopback.
    m_Window->GetSession()->SetLeastWaitMs(kHealthyAnswerWaitMs);
    for (const korvac_test::LargeReply& reply : korvac_test::kLargeReplies) {
        SCOPED_TRACE(reply.Name);
        ASSERT_TRUE(korvac_test::ShowFewMonitors(&m_Service, m_Window.get()));
        const double before = korvanta_test::HeldMegabytes();
        EXPECT_TRUE(korvac_test::MeetLargeReply(&m_Service, m_Window.get(), reply));
        ASSERT_TRUE(korvac_test::ShowFewMonitors(&m_Service, m_Window.get()));
        EXPECT_LT(korvanta_test::HeldMegabytes() - before, kKeptMegabytes);
    }
    EXPECT_TRUE(m_Hook.Boxes.empty());
}

// The steady poll of a service on the wire looks at the heap once in kAnswersPerLook answers; a
// large reply's poll does, and so does the one after it, which drops the list the large one
// showed; so does a poll that lost the connection.
TEST_F(LiveWindow, OnlyALargeReplyAndThePollAfterItLookAtTheHeap) {
    constexpr int kPolls = 5;
    ASSERT_TRUE(m_Service.ListenOnWire());
    m_Window->GetSession()->SetLeastWaitMs(kHealthyAnswerWaitMs);
    ASSERT_TRUE(korvac_test::ShowFewMonitors(&m_Service, m_Window.get()));
    const auto steadyPolls = [this] {
        const uint64_t before = SCA_HeapGiveBackLooks();
        for (int poll = 0; poll < kPolls; ++poll) {
            korvac_test::PollOnce(m_Window.get());
        }
        return SCA_HeapGiveBackLooks() - before;
    };
    EXPECT_EQ(steadyPolls(), 0u);

    const korvac_test::LargeReply& shown = korvac_test::kLargeReplies[0];
    uint64_t before = SCA_HeapGiveBackLooks();
    ASSERT_TRUE(korvac_test::MeetLargeReply(&m_Service, m_Window.get(), shown));
    EXPECT_GT(SCA_HeapGiveBackLooks(), before);
    m_Service.List(korvac_test::kFewMonitors, "Processor and memory");
    before = SCA_HeapGiveBackLooks();
    korvac_test::PollOnce(m_Window.get());
    EXPECT_EQ(m_Window->findChild<SCA_MonitorsView*>()->topLevelItemCount(),
              static_cast<int>(korvac_test::kFewMonitors));
    EXPECT_GT(SCA_HeapGiveBackLooks(), before);
    EXPECT_EQ(steadyPolls(), 0u);

    // Now and then a steady answer looks too, for what the user closed meanwhile.
    before = SCA_HeapGiveBackLooks();
    for (int poll = kPolls + 1; poll < SCA_ClientSession::kAnswersPerLook; ++poll) {
        korvac_test::PollOnce(m_Window.get());
    }
    EXPECT_EQ(SCA_HeapGiveBackLooks(), before);
    korvac_test::PollOnce(m_Window.get());
    EXPECT_EQ(SCA_HeapGiveBackLooks(), before + 1);

    // A lost connection looks: the client object goes, with what it held.
    before = SCA_HeapGiveBackLooks();
    m_Service.Queue("GetStatusEx", Answer::Dropped());
    korvac_test::PollOnce(m_Window.get());
    EXPECT_EQ(m_Window->CheckConnected(0), 0);
    EXPECT_GT(SCA_HeapGiveBackLooks(), before);
}

// Input reaches the window while a poll is out: what the user types is taken before the
// poll's answer comes.
TEST_F(LiveWindow, TheWindowTakesInputWhileAPollIsOut) {
    ConnectionOf(m_Window)->DefaultConnect();
    std::atomic<bool> released{false};
    m_Service.Queue("GetStatusEx", m_Service.StandingOf("GetStatusEx").HeldUntil([&released] {
        return released.load();
    }));
    // The window polls on every second tick.
    for (int tick = 0; tick < 2 && !m_Window->GetSession()->IsWaiting(); ++tick) {
        korvac_test::TickWindow(m_Window);
    }
    ASSERT_TRUE(m_Window->GetSession()->IsWaiting());
    EXPECT_TRUE(korvac_test::TypingIsTaken());
    EXPECT_TRUE(m_Window->GetSession()->IsWaiting());
    released = true;
    korvac_test::WaitForPolls(m_Window->GetSession());
    EXPECT_EQ(m_Window->findChild<SCA_MonitorsView*>()->topLevelItemCount(), 2);
}

TEST_F(LiveWindow, AWrongPasswordStopsTheAutomaticReconnection) {
    m_Service.Standing("Login", Answer::Refused());
    ConnectionOf(m_Window)->DefaultConnect();
    EXPECT_EQ(m_Window->CheckConnected(0), 0);
    EXPECT_EQ(ConnectionOf(m_Window)->AutoConnect(), 0u);
    EXPECT_EQ(Logged("Cannot login to Korvanta Server @ server-a as admin"), 1);
    for (int tick = 0; tick < 13; ++tick) {
        Tick();
    }
    EXPECT_FALSE(ReconnectTimer()->isActive());
    EXPECT_TRUE(m_Hook.Boxes.empty());
    EXPECT_FALSE(m_Window->findChild<QToolButton*>(QStringLiteral("ErrorBadge"))->isHidden());
    EXPECT_EQ(m_Window->findChild<QToolButton*>(QStringLiteral("ErrorBadge"))->text(),
              QStringLiteral("1 error"));

    // The user asks for that server: the answer is a box, and the badge keeps only the
    // earlier error.
    m_Window->GetUserConfig()->GetConnectList()->AddConnect("server-a", "admin", "wrong", 8000);
    EXPECT_EQ(ConnectionOf(m_Window)->ConnectToHost("server-a"), 0);
    ASSERT_EQ(m_Hook.Boxes.size(), 1u);
    EXPECT_EQ(m_Hook.Boxes[0].Text,
              QStringLiteral("Cannot login to Korvanta Server @ server-a as admin"));
    EXPECT_EQ(m_Window->findChild<QToolButton*>(QStringLiteral("ErrorBadge"))->text(),
              QStringLiteral("1 error"));
}

// Errors raise the badge; the console opens on a click only, and the poll goes on while it is
// open.
TEST_F(LiveWindow, TheConsoleOpensFromTheBadgeOnlyAndPollingGoesOnWhileItIsOpen) {
    ConnectionOf(m_Window)->DefaultConnect();
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "first failure");
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "second failure");
    for (int tick = 0; tick < 4; ++tick) {
        Tick();
    }
    EXPECT_TRUE(m_Hook.Dialogs.isEmpty());
    QToolButton* badge = m_Window->findChild<QToolButton*>(QStringLiteral("ErrorBadge"));
    ASSERT_FALSE(badge->isHidden());
    EXPECT_EQ(badge->text(), QStringLiteral("2 errors"));

    int pollsWhileOpen = 0;
    m_Hook.OnExec = [&](QDialog*) {
        EXPECT_TRUE(badge->isHidden());
        const int before = m_Service.Count("GetStatusEx");
        for (int tick = 0; tick < 4; ++tick) {
            Tick();
        }
        pollsWhileOpen = m_Service.Count("GetStatusEx") - before;
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "while open");
    };
    badge->click();
    EXPECT_EQ(m_Hook.Dialogs, QStringList{QStringLiteral("Message Console")});
    EXPECT_EQ(pollsWhileOpen, 2);
    // What came while the console was open is news again.
    EXPECT_EQ(badge->text(), QStringLiteral("1 error"));
}

// The sound worker tells an unknown sound once, and a new connection plays no old alarms.
TEST_F(LiveWindow, SoundsAreNotReplayedAndAnUnknownNameIsReportedOnce) {
    std::vector<std::string> played;
    m_Window->GetActionCtrl()->SetPlayer([&](const char* file) { played.push_back(file); });
    m_Service.Status.LastSoundActionTime = 500;
    m_Service.SoundNames = {"Siren"};
    ConnectionOf(m_Window)->DefaultConnect();
    Tick();
    Tick();
    EXPECT_EQ(m_Service.Count("GetSoundActions"), 0);
    EXPECT_EQ(PollOf(m_Window)->LastSoundActionTime(), 500u);

    SCA_SrvActionCtrl* worker = m_Window->GetActionCtrl();
    for (uint64_t time = 600; time < 1000; time += 100) {
        m_Service.Status.LastSoundActionTime = time;
        Tick();
        Tick();
    }
    EXPECT_EQ(m_Service.Count("GetSoundActions"), 4);
    uint64_t since = 0;
    m_Service.LastRequest("GetSoundActions")->GetField("Since", &since);
    EXPECT_EQ(since, 800u);
    ASSERT_TRUE(korvanta_test::WaitUntil("four sound batches played",
                                         [&] { return worker->GetBatchesPlayed() == 4; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(Logged("SCA_SrvActionCtrl::ProcessSoundActions: invaid notification sound name - "
                     "Siren"),
              1);
    EXPECT_TRUE(played.empty());
    EXPECT_TRUE(m_Hook.Dialogs.isEmpty());
}

TEST_F(LiveWindow, ExportWhileDisconnectedAsksForAConnectionAndOpensNoDialog) {
    m_Window->ExportConfiguration();
    ASSERT_EQ(m_Hook.Boxes.size(), 1u);
    EXPECT_EQ(m_Hook.Boxes[0].Text, QString::fromLatin1(kNotConnected));
    EXPECT_TRUE(m_Hook.Dialogs.isEmpty());
}

// The service's login password never leaves it in an exported file: importing such a file asks
// for it (typed as it stands; cancelling leaves the service alone), a file written before that
// still imports with its own, and a file of another kind is refused before the service is asked.
TEST_F(LiveWindow, AnExportedConfigurationHoldsNoPasswordAndItsImportAsksForOne) {
    ConnectionOf(m_Window)->DefaultConnect();
    const std::string exported = m_Home.Path() + "/backup.hdx";
    m_Hook.FileAnswer = QString::fromStdString(exported);
    ASSERT_TRUE(korvac_test::ChooseMenuEntry(m_Window.get(), "File", "Export Configuration ..."));
    ASSERT_TRUE(BoxShown("Product configuration exported."));
    struct stat info {};
    ASSERT_EQ(stat(exported.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    SCA_ConfigObj written("ServerConfig", nullptr);
    uint32_t error = 0;
    ASSERT_EQ(written.Load(exported.c_str(), &error), 1);
    EXPECT_TRUE(written.IsFieldExists("ServerUserName"));
    EXPECT_FALSE(written.IsFieldExists("ServerPassword"));
    QFile bytes(QString::fromStdString(exported));
    ASSERT_TRUE(bytes.open(QIODevice::ReadOnly));
    EXPECT_FALSE(bytes.readAll().contains("service-secret"));

    // A file as an earlier export wrote it, with the password in it.
    const std::string older = m_Home.Path() + "/older.hdx";
    written.AddField("ServerPassword", "from-the-file");
    ASSERT_EQ(written.Save(older.c_str(), SCA_TEZ_USER_CONFIG_FILE_TYPE, 0, &error), 1);

    struct Case {
        const char* Name;
        const std::string* File;
        const char* Typed; // null: the prompt is cancelled
        bool Asked;
        bool Imported;
        const char* Password; // the service's afterwards
    };
    const Case cases[] = {
        {"without a password, typed", &exported, " n3w pass ", true, true, " n3w pass "},
        {"without a password, cancelled", &exported, nullptr, true, false, " n3w pass "},
        {"with its own password", &older, "unused", false, true, "from-the-file"},
    };
    m_Hook.Answer = QMessageBox::Ok;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        m_Hook.Boxes.clear();
        m_Hook.FileAnswer = QString::fromStdString(*c.File);
        bool asked = false;
        m_Hook.OnExec = [&](QDialog* dialog) {
            auto* entry = qobject_cast<SCA_EntryDlg*>(dialog);
            ASSERT_NE(entry, nullptr);
            asked = true;
            EXPECT_EQ(entry->GetEdit()->echoMode(), QLineEdit::Password);
            if (c.Typed == nullptr) {
                dialog->reject();
                return;
            }
            entry->GetEdit()->setText(QString::fromUtf8(c.Typed));
            dialog->accept();
        };
        const int stops = m_Service.Count("StopAllMonitors");
        ASSERT_TRUE(
            korvac_test::ChooseMenuEntry(m_Window.get(), "File", "Import Configuration ..."));
        EXPECT_EQ(asked, c.Asked);
        EXPECT_EQ(BoxShown("Server configuration imported."), c.Imported);
        EXPECT_EQ(m_Service.Count("StopAllMonitors"), stops + (c.Imported ? 1 : 0));
        EXPECT_EQ(m_Service.ServerPassword, c.Password);
        // The next connection logs in with what the service now expects.
        EXPECT_STREQ(m_Window->GetUserConfig()->GetConnectPassword(), c.Password);
    }
    m_Hook.OnExec = nullptr;
    EXPECT_EQ(m_Service.SetMask, 0xFFFFFFFFu);

    // Files refused before the service is touched: a configuration of another kind, and,
    // unread, a file larger than a configuration can be (reading 300 MB held the window for
    // seconds) and what is no file at all (a device that never ends).
    SCA_ConfigObj other("ServerConfig", nullptr);
    other.AddField("FileType", 1012u);
    other.AddField("ProductType", SCA_PRODUCT_TYPE_KORVANTA);
    const std::string wrong = m_Home.Path() + "/other.hdx";
    ASSERT_EQ(other.Save(wrong.c_str(), 1012, 0, &error), 1);
    const std::string huge = m_Home.Path() + "/huge.hdx";
    {
        QFile file(QString::fromStdString(huge));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(300ll << 20)); // sparse: nothing written
    }
    const struct {
        const char* Name;
        std::string File;
        std::string Said;
    } refusals[] = {
        {"another kind", wrong, "The specified configuration file is invalid."},
        {"larger than a configuration", huge,
         "The specified configuration file is too large - " + huge +
             " (300.00 MB; a server configuration is at most 64.00 MB)"},
        {"a device", "/dev/zero", "The specified configuration file is invalid."},
    };
    const int stops = m_Service.Count("StopAllMonitors");
    for (const auto& refused : refusals) {
        SCOPED_TRACE(refused.Name);
        m_Hook.Boxes.clear();
        m_Hook.FileAnswer = QString::fromStdString(refused.File);
        m_Window->ImportConfiguration();
        ASSERT_EQ(m_Hook.Boxes.size(), 2u); // the warning, then the answer
        EXPECT_EQ(m_Hook.Boxes[1].Text.toStdString(), refused.Said);
        EXPECT_EQ(m_Service.Count("StopAllMonitors"), stops);
    }

    // A file the service refuses: the answer says the service's reason, the one it logged as
    // it refused, not an older refusal the window had shown already.
    m_Service.Log(SCA_LEVEL_ERROR,
                  "SCA_KorvantaAgent::SetUserConfig: Cannot save user configuration file (ERR:28)");
    ASSERT_TRUE(korvac_test::WindowPolls(&m_Service, m_Window.get()));
    m_Service.Queue("SetUserConfig", Answer::Refused().Doing([this] {
        m_Service.Log(SCA_LEVEL_ERROR, "SCA_KorvantaAgent::SetUserConfig: the reports folder must "
                                       "lie below /var/lib/korvanta - /etc/korvanta-reports");
    }));
    m_Hook.Boxes.clear();
    m_Hook.FileAnswer = QString::fromStdString(older);
    m_Window->ImportConfiguration();
    ASSERT_EQ(m_Hook.Boxes.size(), 2u);
    EXPECT_EQ(m_Hook.Boxes[1].Text.toStdString(),
              "SCA_KorvantaInterface::SetUserConfig: the operation failed\n"
              "Cannot save server configuration file - the reports folder must lie below "
              "/var/lib/korvanta - /etc/korvanta-reports");
    EXPECT_FALSE(BoxShown("Server configuration imported."));

    // Cancelling the warning ends the command before any file is asked for.
    const int dialogs = static_cast<int>(m_Hook.Dialogs.size());
    m_Hook.Answer = QMessageBox::Cancel;
    m_Window->ImportConfiguration();
    EXPECT_EQ(static_cast<int>(m_Hook.Dialogs.size()), dialogs);
    EXPECT_TRUE(korvac_test::WindowPolls(&m_Service, m_Window.get()));
}

// The options dialog, accepted as a user does, against the service's own login rule.
TEST_F(LiveWindow, OptionsKeepThePortInUseAndLogInByTheModeTheServiceWillUse) {
    m_Service.ServerPort = 24503; // the service was started on another port than its setting
    m_Service.LogonMode = SCA_KORVANTA_LOGIN_NAMES;
    ConnectionOf(m_Window)->DefaultConnect();
    std::function<void(QDialog*)> edit;
    m_Hook.OnExec = [&](QDialog* dialog) {
        if (edit) {
            edit(dialog);
        }
        dialog->accept();
    };
    auto options = [](QDialog* dialog) { return static_cast<SCA_OptionsDlg*>(dialog); };

    // OK without a change: the client keeps reconnecting where it is connected.
    m_Window->AdvancedOptions();
    EXPECT_EQ(m_Service.SetMask, 33u);
    EXPECT_EQ(m_Window->GetUserConfig()->GetConnectControlPort(), 8000);

    // A new service password: without the operating-system logon the service signs with it,
    // whatever mode is stored, so the client logs in with it from now on.
    edit = [](QDialog* dialog) {
        dialog->findChild<QLineEdit*>(QStringLiteral("ServerPassword"))
            ->setText(QStringLiteral("new-secret"));
    };
    m_Window->AdvancedOptions();
    EXPECT_EQ(ServiceLogonMode(), SCA_KORVANTA_LOGIN_SIGNATURE);
    EXPECT_STREQ(m_Window->GetUserConfig()->GetConnectPassword(), "new-secret");

    // One tick on the operating-system logon, the list left as shown: still the signature.
    edit = [&](QDialog* dialog) {
        auto* list = dialog->findChild<QComboBox*>(QStringLiteral("ServerLogonMode"));
        EXPECT_FALSE(list->isEnabled());
        EXPECT_EQ(list->currentIndex(), 2);
        dialog->findChild<QCheckBox*>(QStringLiteral("EnableOsLogon"))->setChecked(true);
        EXPECT_TRUE(list->isEnabled());
        EXPECT_EQ(options(dialog)->ChosenLogonMode(), SCA_KORVANTA_LOGIN_SIGNATURE);
    };
    m_Window->AdvancedOptions();
    EXPECT_EQ(Sent("EnableOsLogon"), "1");
    EXPECT_EQ(ServiceLogonMode(), SCA_KORVANTA_LOGIN_SIGNATURE);
    EXPECT_TRUE(m_Hook.Boxes.empty());

    // "User name only" is asked for; No leaves the dialog open and sends nothing.
    const int sets = m_Service.Count("SetUserConfig");
    edit = [](QDialog* dialog) {
        dialog->findChild<QComboBox*>(QStringLiteral("ServerLogonMode"))->setCurrentIndex(0);
    };
    m_Hook.Answer = QMessageBox::No;
    m_Window->AdvancedOptions();
    ASSERT_EQ(m_Hook.Boxes.size(), 1u);
    EXPECT_NE(m_Hook.Boxes[0].Text.indexOf(QStringLiteral("accepts any user name without a "
                                                          "password")),
              -1);
    EXPECT_EQ(m_Service.Count("SetUserConfig"), sets);
    m_Hook.Answer = QMessageBox::Yes;
    m_Window->AdvancedOptions();
    EXPECT_EQ(ServiceLogonMode(), SCA_KORVANTA_LOGIN_NAMES);
    // Not a signature: the client keeps its own login.
    EXPECT_STREQ(m_Window->GetUserConfig()->GetConnectPassword(), "new-secret");
    EXPECT_EQ(m_Window->GetUserConfig()->GetConnectControlPort(), 8000);
}

TEST_F(LiveWindow, AChangedControlPortIsPromptedAndCancelKeepsItButSavesTheRest) {
    ConnectionOf(m_Window)->DefaultConnect();
    m_Hook.OnExec = [](QDialog* dialog) {
        dialog->findChild<QSpinBox*>(QStringLiteral("ServerControlPort"))->setValue(9100);
        dialog->findChild<QLineEdit*>(QStringLiteral("DefaultReportTitle"))
            ->setText(QStringLiteral("Night shift"));
        dialog->accept();
    };
    m_Hook.Answer = QMessageBox::Cancel;
    m_Window->AdvancedOptions();
    ASSERT_TRUE(BoxShown("In order to apply the changed server control port, you need to "
                         "restart the server.Press 'Ok' to save the new control port or press "
                         "'Cancel' to restore the last value."));
    EXPECT_EQ(Sent("ServerControlPort"), "8000");
    EXPECT_EQ(Sent("DefaultReportTitle"), "Night shift");
    EXPECT_STREQ(m_Window->GetUserConfig()->GetDefaultReportTitle(), "Night shift");
    EXPECT_EQ(m_Window->GetUserConfig()->GetConnectControlPort(), 8000);

    m_Hook.Answer = QMessageBox::Ok;
    m_Window->AdvancedOptions();
    EXPECT_EQ(Sent("ServerControlPort"), "9100");
    EXPECT_EQ(m_Window->GetUserConfig()->GetConnectControlPort(), 9100);
}

TEST_F(LiveWindow, KnownServersAreOrderedRemovedAndRemoveAllIsAsked) {
    SCA_SrvConnectList* list = m_Window->GetUserConfig()->GetConnectList();
    list->AddConnect("server-a", "admin", "secret", 8000);
    list->AddConnect("server-b", "admin", "secret", 8001);
    SCA_SrvConnectView* view = m_Window->findChild<SCA_SideBar*>()->GetConnectView();
    view->Refresh("server-b");
    view->MoveConnectUp();
    ASSERT_EQ(view->topLevelItemCount(), 2);
    EXPECT_EQ(view->topLevelItem(0)->text(1), QStringLiteral("server-b"));
    // Not connected: no row stays selected after the move.
    EXPECT_EQ(view->selectedItems().size(), 0);

    // A double click connects without adding the server again.
    view->Refresh("server-a");
    view->ConnectClicked(view->currentItem(), 1);
    EXPECT_STREQ(ConnectionOf(m_Window)->ConnectedHost(), "server-a");
    EXPECT_EQ(list->Count(), 2u);
    const int connects = m_Service.Count("Connect");
    view->ConnectClicked(view->currentItem(), 1);
    EXPECT_EQ(m_Service.Count("Connect"), connects);

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
    m_Window->findChild<SCA_SrvLogView*>()->ClearAll();
    EXPECT_EQ(m_Window->findChild<SCA_SrvLogView*>()->topLevelItemCount(), 0);
    EXPECT_TRUE(BoxShown(kNotConnected));
    ConnectionOf(m_Window)->DefaultConnect();
    m_Window->findChild<SCA_SrvLogView*>()->ClearAll();
    EXPECT_EQ(m_Service.Count("ClearDebugLog"), 1);
}

// Each connection checks for a product update at the local configuration's address; the timer
// shows the corner button only when a newer package is there, and the menu entry answers
// either way.
TEST_F(LiveWindow, ANewerProductShowsTheUpdateButtonAndTheSameVersionSaysSo) {
    constexpr char kNewerVersion[] = "99.1.2";
    for (const std::string version : {SCA_PRODUCT_VERSION, kNewerVersion}) {
        m_Hook.Boxes.clear();
        m_Hook.Dialogs.clear();
        const std::string body = "Version=" + version + "\r\nProductType=503\r\n";
        korvanta_test::TestHttpServer server(korvanta_test::TestHttpServer::Ok(body));
        const std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) + "/update.txt";
        m_Window->GetLocalConfig()->SetUpdateResourceName(url.c_str());
        ConnectionOf(m_Window)->DefaultConnect();
        ASSERT_EQ(m_Window->CheckConnected(0), 1);
        // The check ends within its time-out; the ticks collect it.
        EXPECT_TRUE(korvanta_test::WaitUntil("the update check to be collected", [&] {
            Tick();
            return !UpdateCheckOf(m_Window)->IsPending();
        }));
        const bool newer = version == kNewerVersion;
        EXPECT_EQ(newer,
                  !m_Window->findChild<QToolButton*>(QStringLiteral("UpdateButton"))->isHidden())
            << version;
        // What was found is told once in the log, never in a box from the timer.
        const std::string available = "Korvanta Client " + version +
                                      " is available: Help > Check For Updates ... installs it.";
        EXPECT_EQ(Logged(available.c_str()), newer ? 1 : 0);
        Tick();
        EXPECT_EQ(Logged(available.c_str()), newer ? 1 : 0);
        EXPECT_TRUE(m_Hook.Boxes.empty());
        EXPECT_TRUE(m_Hook.Dialogs.isEmpty());
        EXPECT_EQ(server.RequestLine(), "GET /update.txt HTTP/1.1");
        m_Hook.Boxes.clear();
        UpdateCheckOf(m_Window)->CheckForUpdates();
        if (!newer) {
            const std::string upToDate = "Korvanta Client " + version + " is up to date.";
            EXPECT_TRUE(BoxShown(upToDate.c_str()));
        } else {
            EXPECT_EQ(m_Hook.Dialogs.back(), QStringLiteral("Product Update"));
        }
        ConnectionOf(m_Window)->Disconnect();
    }
}

} // namespace
