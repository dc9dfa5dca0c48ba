// SPDX-License-Identifier: MIT
#include <QAction>
#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidgetItem>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "FakeService.h"
#include "GuiTestSupport.h"
#include "korvac/kit/SCA_LiveWindow.h"
#include "korvac/main/SCA_MainHelp.h"
#include "korvac/main/SCA_MonitorsView.h"
#include "korvac/main/SCA_SideBar.h"
#include "korvac/main/SCA_SrvConnectView.h"
#include "korvac/main/SCA_SrvLogView.h"
#include "korvac/main/SCA_SysTray.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "libtez/SCA_KorvantaServerStatus.h"
#include "libvop/SCA_StatusList.h"
#include "model/SCA_KeyCommand.h"
#include "model/SCA_SrvConnectList.h"

using korvac_test::ConnectionOf;
using korvac_test::LayoutOf;
using korvac_test::PlacementOf;
using korvac_test::PrivateHome;
using korvac_test::RecordingHook;
using korvac_test::StartWindow;

namespace {

constexpr char kNotConnected[] =
    "Korvanta Client is not connected.\nPress the 'Connect' button to connect to a server.";

// Records the one client operation the window calls here.
class FakeClient : public SCA_KorvantaInterface {
public:
    explicit FakeClient(int* clears) : m_Clears(clears) {}
    int ClearDebugLog() override {
        ++*m_Clears;
        return 1;
    }

private:
    int* m_Clears;
};

std::vector<QAction*> CommandActions(QMenu* menu) {
    std::vector<QAction*> actions;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator()) {
            actions.push_back(action);
        }
    }
    return actions;
}

QMenu* MenuNamed(SCA_SrvGui& window, const char* title) {
    for (QAction* action : window.menuBar()->actions()) {
        if (action->text() == QLatin1String(title)) {
            return action->menu();
        }
    }
    return nullptr;
}

class MainWindow : public testing::Test {
protected:
    PrivateHome m_Home;
    RecordingHook m_Hook;
};

TEST_F(MainWindow, StartsDisconnectedWithItsPanesAndCollectsReportsAfterStart) {
    auto window = StartWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Korvanta Client"));
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("StatusLabel"))->text(),
              QStringLiteral("Press the 'Connect' button to connect to Korvanta Server"));
    EXPECT_EQ(window->findChild<SCA_MonitorsView*>()->columnCount(), 7);
    EXPECT_EQ(window->findChild<SCA_MonitorsView*>()->headerItem()->text(6),
              QStringLiteral("Status"));
    EXPECT_TRUE(window->findChild<QToolBar*>(QStringLiteral("ToolBar"))->isVisibleTo(window.get()));
    EXPECT_FALSE(
        window->findChild<QToolButton*>(QStringLiteral("UpdateButton"))->isVisibleTo(window.get()));
    // Reports after the start wait in the client's log instead of opening a box.
    const size_t boxes = m_Hook.Boxes.size();
    const uint32_t logged = window->GetClientLog()->GetMessageCount();
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_WARNING, "%s", "after the start");
    EXPECT_EQ(m_Hook.Boxes.size(), boxes);
    EXPECT_EQ(window->GetClientLog()->GetMessageCount(), logged + 1);
    EXPECT_EQ(window->findChild<SCA_SysTray*>()->State(), SCA_SysTray::kReady);
    // The empty panes say why they are empty: the hint's pixels are drawn, and go with a row.
    auto inked = [](QWidget* view) {
        QCoreApplication::processEvents();
        const QImage image = view->grab().toImage();
        const QRgb base = image.pixel(2, 2);
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                count += image.pixel(x, y) != base ? 1 : 0;
            }
        }
        return count;
    };
    window->findChild<QTimer*>(QStringLiteral("ReconnectTimer"))->stop();
    SCA_MonitorsView* tree = window->findChild<SCA_MonitorsView*>();
    EXPECT_GT(inked(tree->viewport()), 50);
    EXPECT_GT(inked(window->findChild<SCA_SrvLogView*>()->viewport()), 50);
    auto* row = new QTreeWidgetItem(tree);
    EXPECT_EQ(inked(tree->viewport()), 0);
    delete row;
    // The start message went into the client's log, not into a box.
    EXPECT_GE(window->GetClientLog()->GetMessageCount(), 1u);
    for (const auto& box : m_Hook.Boxes) {
        EXPECT_NE(box.Type, SCA_LEVEL_ERROR) << box.Text.toStdString();
    }
}

TEST_F(MainWindow, ReportTextIsShownAsDataNeverAsAFormat) {
    SCA_SrvGui window(nullptr);
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_WARNING, "%s",
                                              "cannot reach host %s%n%d%%");
    ASSERT_EQ(m_Hook.Boxes.size(), 1u);
    EXPECT_EQ(m_Hook.Boxes[0].Title, QStringLiteral("Warning"));
    EXPECT_EQ(m_Hook.Boxes[0].Text, QStringLiteral("cannot reach host %s%n%d%%"));
    window.ShowMessage(nullptr, SCA_LEVEL_INFO, "100% done");
    window.ShowMessage(nullptr, 9, "odd level");
    EXPECT_EQ(m_Hook.Boxes[1].Title, QStringLiteral("Message"));
    EXPECT_EQ(m_Hook.Boxes[1].Text, QStringLiteral("100% done"));
    EXPECT_EQ(m_Hook.Boxes[2].Title, QStringLiteral("Error"));
}

// Each click on Layouts moves to the next layout with its look; the window is at least the
// layout's size and wide enough that no tool button hides behind the overflow arrow.
TEST_F(MainWindow, LayoutsCycleWithTheirSizesPanesAndIconsAndEveryButtonShows) {
    auto window = StartWindow();
    ASSERT_NE(window, nullptr);
    window->findChild<QToolBar*>(QStringLiteral("ToolBar"))->show();
    struct Expect {
        int Width, Height, Icon;
        bool Side, Pane;
        Qt::ToolButtonStyle Style;
    };
    const Expect expected[3] = {{860, 640, 32, true, true, Qt::ToolButtonTextUnderIcon},
                                {800, 600, 16, false, true, Qt::ToolButtonTextBesideIcon},
                                {640, 400, 16, false, false, Qt::ToolButtonIconOnly}};
    QToolBar* toolBar = window->findChild<QToolBar*>(QStringLiteral("ToolBar"));
    QWidget* layoutsButton = nullptr;
    for (QAction* action : toolBar->actions()) {
        if (action->text() == QLatin1String("Layouts")) {
            layoutsButton = toolBar->widgetForAction(action);
        }
    }
    ASSERT_NE(layoutsButton, nullptr);
    ASSERT_EQ(LayoutOf(window)->CurrentLayout(), 0u);
    for (int step = 0; step < 4; ++step) {
        const uint32_t layout = LayoutOf(window)->CurrentLayout();
        SCOPED_TRACE(layout);
        const Expect& e = expected[layout];
        QCoreApplication::processEvents();
        EXPECT_GE(window->minimumWidth(), e.Width);
        EXPECT_EQ(window->minimumHeight(), e.Height);
        EXPECT_EQ(window->size(), window->minimumSize());
        EXPECT_EQ(toolBar->iconSize(), QSize(e.Icon, e.Icon));
        EXPECT_EQ(toolBar->toolButtonStyle(), e.Style);
        EXPECT_EQ(window->findChild<SCA_SideBar*>()->isVisibleTo(window.get()), e.Side);
        EXPECT_EQ(window->findChild<SCA_SrvLogView*>()->isVisibleTo(window.get()), e.Pane);
        for (QAction* action : toolBar->actions()) {
            if (action->isSeparator()) {
                continue;
            }
            const QPixmap pixmap = action->icon().pixmap(QSize(e.Icon, e.Icon));
            EXPECT_EQ(pixmap.size(), QSize(e.Icon, e.Icon)) << action->text().toStdString();
            QWidget* button = toolBar->widgetForAction(action);
            ASSERT_NE(button, nullptr);
            EXPECT_TRUE(button->isVisible()) << action->text().toStdString();
            EXPECT_LE(button->geometry().right(), toolBar->contentsRect().right())
                << action->text().toStdString();
        }
        for (QToolButton* overflow :
             toolBar->findChildren<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"))) {
            EXPECT_FALSE(overflow->isVisible());
        }
        QTest::mouseClick(layoutsButton, Qt::LeftButton);
        EXPECT_EQ(LayoutOf(window)->CurrentLayout(), (layout + 1) % 3);
    }
}

TEST_F(MainWindow, AnInvalidLayoutIsReportedAndTheNextSwitchStartsAtZero) {
    auto window = StartWindow();
    ASSERT_NE(window, nullptr);
    const uint32_t errors = window->GetClientLog()->GetErrorCount();
    EXPECT_EQ(LayoutOf(window)->InitLayout(7), 0);
    EXPECT_EQ(window->GetClientLog()->GetErrorCount(), errors + 1);
    EXPECT_EQ(LayoutOf(window)->CurrentLayout(), 7u);
    ASSERT_TRUE(korvac_test::ChooseMenuEntry(window.get(), "Tools", "Switch Layout"));
    EXPECT_EQ(LayoutOf(window)->CurrentLayout(), 0u);
    EXPECT_EQ(LayoutOf(window)->UpdateToolBarButtons(3), 0);
}

TEST_F(MainWindow, EveryCommandIsConnectedOrDisabledWithAReason) {
    auto window = StartWindow();
    ASSERT_NE(window, nullptr);
    // Every command of the menus is in this version.
    const QStringList missing;
    // The configuration has no help addresses: those entries are disabled too.
    const QStringList noAddress = {"View Product Web Page ...", "View Release Notes ...",
                                   "View Online Help ..."};
    const QStringList needService = {"Export Configuration ...",
                                     "Import Configuration ...",
                                     "Advanced Options ...",
                                     "About Korvanta Server",
                                     "Start Monitor",
                                     "Pause Monitor",
                                     "Reset Monitor",
                                     "Stop Monitor",
                                     "Save Report ...",
                                     "Edit Monitor ...",
                                     "View Errors ...",
                                     "Move Monitor Up ...",
                                     "Move Monitor Down ...",
                                     "Delete Monitor",
                                     "View Reports ..."};
    for (const char* title : {"File", "Monitor", "Tools", "Help"}) {
        QMenu* menu = MenuNamed(*window, title);
        ASSERT_NE(menu, nullptr) << title;
        EXPECT_TRUE(menu->toolTipsVisible());
        for (QAction* action : CommandActions(menu)) {
            const std::string name = action->text().toStdString();
            if (missing.contains(action->text()) || noAddress.contains(action->text())) {
                EXPECT_FALSE(action->isEnabled()) << name;
                const char* why = missing.contains(action->text())
                                      ? SCA_LiveWindow::kNotAvailableText
                                      : "no address is set";
                EXPECT_TRUE(action->toolTip().endsWith(QLatin1String(why)))
                    << action->toolTip().toStdString();
                continue;
            }
            EXPECT_TRUE(action->isEnabled()) << name;
            // The add submenu's entries are the next test's.
            if (action->text() == QLatin1String("Exit Korvanta") || action->menu() != nullptr) {
                continue;
            }
            m_Hook.Boxes.clear();
            m_Hook.Dialogs.clear();
            const uint32_t layout = LayoutOf(window)->CurrentLayout();
            action->trigger();
            if (needService.contains(action->text())) {
                ASSERT_EQ(m_Hook.Boxes.size(), 1u) << name;
                EXPECT_EQ(m_Hook.Boxes[0].Text, QString::fromLatin1(kNotConnected)) << name;
            } else if (action->text() == QLatin1String("Switch Layout")) {
                EXPECT_NE(LayoutOf(window)->CurrentLayout(), layout);
            } else if (action->text() == QLatin1String("View Message Console ...")) {
                EXPECT_EQ(m_Hook.Dialogs, QStringList{QStringLiteral("Message Console")});
            } else if (action->text() == QLatin1String("Check For Updates ...")) {
                // Nothing newer is known yet, and the entry says so.
                EXPECT_TRUE(m_Hook.Dialogs.isEmpty());
                ASSERT_EQ(m_Hook.Boxes.size(), 1u);
                EXPECT_EQ(m_Hook.Boxes[0].Type, SCA_LEVEL_INFO);
            } else {
                ADD_FAILURE() << name << " is not expected";
            }
        }
    }
    // The tool bar: twelve buttons; the monitor commands disabled with their reason, the
    // others act.
    int buttons = 0;
    for (QAction* action : window->findChild<QToolBar*>(QStringLiteral("ToolBar"))->actions()) {
        if (action->isSeparator()) {
            continue;
        }
        ++buttons;
        const QString text = action->text();
        if (text == QLatin1String("Add")) {
            ASSERT_NE(action->menu(), nullptr);
            auto* button = qobject_cast<QToolButton*>(
                window->findChild<QToolBar*>(QStringLiteral("ToolBar"))->widgetForAction(action));
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->popupMode(), QToolButton::InstantPopup);
        }
        if (!action->isEnabled()) {
            EXPECT_NE(action->toolTip().indexOf(QLatin1String(" - ")), -1) << text.toStdString();
            continue;
        }
        if (action->menu() != nullptr) {
            continue;
        }
        m_Hook.Boxes.clear();
        const uint32_t layout = LayoutOf(window)->CurrentLayout();
        action->trigger();
        const bool acted = !m_Hook.Boxes.empty() || LayoutOf(window)->CurrentLayout() != layout ||
                           text == QLatin1String("Connect");
        EXPECT_TRUE(acted) << text.toStdString();
    }
    EXPECT_EQ(buttons, 12);
}

TEST_F(MainWindow, HelpEntriesWithAnAddressOpenIt) {
    auto window = std::make_unique<SCA_SrvGui>(nullptr);
    ASSERT_EQ(window->InitConfig(), 1);
    window->GetLocalConfig()->SetOnlineHelpUrl("https://help.example/korvanta");
    ASSERT_EQ(window->InitGui(), 1);
    QMenu* help = MenuNamed(*window, "Help");
    ASSERT_NE(help, nullptr);
    for (QAction* action : CommandActions(help)) {
        if (action->text() == QLatin1String("View Online Help ...")) {
            ASSERT_TRUE(action->isEnabled());
            action->trigger();
        }
    }
    EXPECT_EQ(m_Hook.Urls, QStringList{QStringLiteral("https://help.example/korvanta")});
}

TEST_F(MainWindow, TheAddMenusHoldTheSeventeenKindsInOrder) {
    auto window = StartWindow();
    ASSERT_NE(window, nullptr);
    QMenu* monitor = MenuNamed(*window, "Monitor");
    ASSERT_NE(monitor, nullptr);
    QMenu* add = CommandActions(monitor).front()->menu();
    ASSERT_NE(add, nullptr);
    QMenu* toolAdd = nullptr;
    for (QAction* action : window->findChild<QToolBar*>(QStringLiteral("ToolBar"))->actions()) {
        if (action->text() == QLatin1String("Add")) {
            toolAdd = action->menu();
        }
    }
    ASSERT_NE(toolAdd, nullptr);
    for (QMenu* menu : {add, toolAdd}) {
        const auto entries = CommandActions(menu);
        ASSERT_EQ(entries.size(), 17u);
        EXPECT_EQ(entries.front()->text(), QStringLiteral("System Monitor ..."));
        EXPECT_EQ(entries[12]->text(), QStringLiteral("NAS Server Monitor ..."));
        EXPECT_EQ(entries.back()->text(), QStringLiteral("Empty Monitor ..."));
        EXPECT_EQ(menu->actions().size(), 20); // three separators
        for (QAction* entry : entries) {
            EXPECT_TRUE(entry->shortcut().isEmpty());
            EXPECT_FALSE(entry->icon().isNull()) << entry->text().toStdString();
            // Without a service each says so and adds nothing.
            ASSERT_TRUE(entry->isEnabled()) << entry->text().toStdString();
            m_Hook.Boxes.clear();
            entry->trigger();
            ASSERT_EQ(m_Hook.Boxes.size(), 1u) << entry->text().toStdString();
            EXPECT_EQ(m_Hook.Boxes[0].Text, QString::fromLatin1(kNotConnected));
            EXPECT_TRUE(m_Hook.Dialogs.isEmpty());
        }
    }
}

TEST_F(MainWindow, GeometryIsWrittenAndRestoredOnTheRightScreen) {
    ASSERT_EQ(QGuiApplication::screens().size(), 2);
    const QRect right = QGuiApplication::screens().at(1)->availableGeometry();
    auto window = StartWindow();
    ASSERT_NE(window, nullptr);
    window->setGeometry(right.left() + 100, right.top() + 50, 900, 700);
    PlacementOf(window)->SaveWindowGeometry();
    const std::string text = window->GetUserConfig()->GetGuiGeometry();
    EXPECT_NE(text.find(" 900 700 1"), std::string::npos) << text;

    int maximise = -1;
    window->setGeometry(10, 10, 860, 640);
    ASSERT_EQ(PlacementOf(window)->RestoreWindowGeometry(&maximise), 1);
    EXPECT_EQ(maximise, 0);
    EXPECT_TRUE(right.contains(window->geometry().topLeft()));
    EXPECT_EQ(window->size(), QSize(900, 700));

    // Maximised on the second screen: centred there; a screen that is gone: the primary.
    window->GetUserConfig()->SetGuiGeometry("Maximized 1");
    ASSERT_EQ(PlacementOf(window)->RestoreWindowGeometry(&maximise), 1);
    EXPECT_EQ(maximise, 1);
    EXPECT_TRUE(right.contains(window->pos()));
    window->GetUserConfig()->SetGuiGeometry("Maximized 3");
    ASSERT_EQ(PlacementOf(window)->RestoreWindowGeometry(&maximise), 1);
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(window->pos()));

    // Rejected: zero size, a point on no screen, too few numbers, empty.
    for (const char* bad : {"10 10 0 0 0", "5000 5000 800 600 1", "1 2 3", ""}) {
        window->GetUserConfig()->SetGuiGeometry(bad);
        EXPECT_EQ(PlacementOf(window)->RestoreWindowGeometry(&maximise), 0) << bad;
    }
    window->GetUserConfig()->SetGuiGeometry("10 10 0 0 0");
    window->resize(860, 640);
    PlacementOf(window)->RestoreOrCentre(&maximise);
    const QRect primary = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(maximise, 0);
    EXPECT_EQ(window->pos(), QPoint(primary.width() / 2 - 430, primary.height() / 2 - 320));
}

TEST_F(MainWindow, TrayTextAndStateFollowTheServerStatus) {
    auto window = StartWindow();
    ASSERT_NE(window, nullptr);
    SCA_SysTray* tray = window->findChild<SCA_SysTray*>();
    ASSERT_NE(tray, nullptr);
    EXPECT_EQ(tray->Icon(), nullptr);
    tray->SetStatus(SCA_SysTray::kErrors, "Korvanta Client - 2 errors");
    EXPECT_EQ(tray->State(), SCA_SysTray::kErrors);
    EXPECT_STREQ(tray->Text(), "Korvanta Client - 2 errors");
    // The icon, made later, shows the latest state at once.
    ASSERT_EQ(tray->Create(), 1);
    EXPECT_EQ(tray->Create(), 0);
    ASSERT_NE(tray->Icon(), nullptr);
    EXPECT_EQ(tray->Icon()->toolTip(), QStringLiteral("Korvanta Client - 2 errors"));
    EXPECT_FALSE(tray->Icon()->icon().isNull());
    tray->SetStatus(SCA_SysTray::kDisconnected, "Korvanta Client - Disconnected");
    EXPECT_EQ(tray->Icon()->toolTip(), QStringLiteral("Korvanta Client - Disconnected"));
    EXPECT_EQ(tray->IsInTray(), true);

    // A double click inside the icon's own signal brings the window back; the icon goes once
    // the signal has returned.
    QPointer<QSystemTrayIcon> icon = tray->Icon();
    emit icon->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_EQ(tray->Icon(), nullptr);
    EXPECT_EQ(tray->IsInTray(), false);
    EXPECT_FALSE(icon.isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(icon.isNull());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindow, MinimisingWithoutANotificationAreaLeavesANormalWindow) {
    auto window = StartWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->GetUserConfig()->SetAdvancedOption(SCA_OPTION_MINIMIZE_TO_TRAY, 1));
    window->ReadTrayOptions();
    window->showMinimized();
    QCoreApplication::processEvents();
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        EXPECT_EQ(window->findChild<QSystemTrayIcon*>(), nullptr);
        EXPECT_FALSE(window->findChild<SCA_SysTray*>()->IsInTray());
    }
    window->ShowMainWindow();
    EXPECT_FALSE(window->isMinimized());
}

TEST_F(MainWindow, ConfiguredShortcutsRunTheirCommandsAndKeypadDigitsMatchDigits) {
    auto window = StartWindow();
    ASSERT_NE(window, nullptr);
    auto* shortcuts = window->GetUserConfig()->GetKeyboardShortcuts();
    auto* digit = new SCA_KeyCommand(20, "5");
    ASSERT_TRUE(shortcuts->AddItemToTail(digit, digit->GetKey()));

    const uint32_t layout = LayoutOf(window)->CurrentLayout();
    QKeyEvent keypad(QEvent::KeyPress, Qt::Key_5, Qt::KeypadModifier, QStringLiteral("5"));
    EXPECT_EQ(window->ProcessKeyCommand(&keypad), 1);
    EXPECT_EQ(LayoutOf(window)->CurrentLayout(), (layout + 1) % 3);

    // The defaults: F12 opens the message console.
    QKeyEvent f12(QEvent::KeyPress, Qt::Key_F12, Qt::NoModifier);
    EXPECT_EQ(window->ProcessKeyCommand(&f12), 1);
    EXPECT_EQ(m_Hook.Dialogs, QStringList{QStringLiteral("Message Console")});
    // Ctrl+S saves a report, which without a service says so.
    m_Hook.Boxes.clear();
    QKeyEvent save(QEvent::KeyPress, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(window->ProcessKeyCommand(&save), 1);
    ASSERT_EQ(m_Hook.Boxes.size(), 1u);
    EXPECT_EQ(m_Hook.Boxes[0].Text, QString::fromLatin1(kNotConnected));

    // A modifier makes another text; a key without text is never found.
    QKeyEvent shiftSave(QEvent::KeyPress, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(window->ProcessKeyCommand(&shiftSave), 0);
    QKeyEvent nothing(QEvent::KeyPress, 0, Qt::NoModifier);
    EXPECT_EQ(window->ProcessKeyCommand(&nothing), 0);
}

TEST_F(MainWindow, SideBarShowsCountsAndEmptiesOnReset) {
    auto window = StartWindow();
    ASSERT_NE(window, nullptr);
    SCA_SideBar* bar = window->findChild<SCA_SideBar*>();
    SCA_KorvantaServerStatus status;
    status.MonitorCount = 4;
    status.FailedMonitors = 1;
    bar->UpdateStatus(status);
    EXPECT_EQ(bar->GetRow(0)->text(1), QStringLiteral("Monitors"));
    EXPECT_EQ(bar->GetRow(0)->text(2), QStringLiteral("4"));
    EXPECT_EQ(bar->GetRow(2)->text(2), QStringLiteral("1"));
    EXPECT_EQ(bar->GetRow(5)->text(1), QStringLiteral("Reports"));
    EXPECT_EQ(bar->GetRow(5)->text(2), QStringLiteral("0"));
    bar->ResetStatus();
    for (int row = 0; row < SCA_SideBar::kRowCount; ++row) {
        EXPECT_TRUE(bar->GetRow(row)->text(2).isEmpty());
    }
}

TEST_F(MainWindow, APluggedClientObjectServesTheCommands) {
    auto window = StartWindow();
    ASSERT_NE(window, nullptr);
    int clears = 0;
    window->SetClientInterface(new FakeClient(&clears));
    EXPECT_EQ(window->CheckConnected(1), 1);
    emit window->findChild<SCA_SrvLogView*>()->ClearLog();
    EXPECT_EQ(clears, 1);
    m_Hook.Boxes.clear();
    ASSERT_TRUE(korvac_test::ChooseMenuEntry(window.get(), "Help", SCA_MainHelp::kAboutServerText));
    EXPECT_TRUE(m_Hook.Boxes.empty());
    // Named as its menu entry, framed as a dialog: a close button, no minimise or maximise.
    ASSERT_EQ(m_Hook.Dialogs, QStringList{QString::fromLatin1(SCA_MainHelp::kAboutServerText)});
    const Qt::WindowFlags flags = m_Hook.Flags.back();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    // A client set from outside leaves through the session like any other.
    window->SetClientInterface(nullptr);
    EXPECT_EQ(window->CheckConnected(0), 0);
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("StatusLabel"))->text(),
              QString::fromLatin1(SCA_MainConnection::kPressConnectText));
}

TEST_F(MainWindow, TheFirstStartLogsInOnlyOnceALoginWasSaved) {
    korvac_test::FakeService service;
    service.Healthy();
    auto window = korvac_test::StartWindowOn(&service);
    ASSERT_NE(window, nullptr);
    SCA_TezConfigUser* user = window->GetUserConfig();
    // Nothing saved yet: the start's connection stays away from the service, which therefore
    // counts no failed login, and the window asks for the Connect button.
    user->SetConnectPassword("");
    ConnectionOf(window)->DefaultConnect();
    EXPECT_EQ(service.Count("Login"), 0);
    EXPECT_EQ(window->CheckConnected(0), 0);
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("StatusLabel"))->text(),
              QString::fromLatin1(SCA_MainConnection::kPressConnectText));
    EXPECT_EQ(window->GetClientLog()->GetErrorCount(), 0u);
    // A saved password, or a known server that took an empty one, logs in at start.
    user->SetConnectPassword("secret");
    ConnectionOf(window)->DefaultConnect();
    EXPECT_EQ(service.Count("Login"), 1);
    EXPECT_EQ(window->CheckConnected(0), 1);
    ConnectionOf(window)->Disconnect();
    user->SetConnectPassword("");
    ConnectionOf(window)->DefaultConnect();
    EXPECT_EQ(service.Count("Login"), 2) << "server-a is known since the first login";
}

TEST_F(MainWindow, SettingsAreKeptAtExitAndAFailedSaveIsTold) {
    std::string path;
    {
        auto window = StartWindow();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(korvac_test::ChooseMenuEntry(window.get(), "Tools", "Switch Layout"));
        path = window->GetUserConfig()->GetConfigFilePath();
    }
    {
        auto window = StartWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(LayoutOf(window)->CurrentLayout(), 1u);
        // A folder the save cannot write into.
        chmod(QFileInfo(QString::fromStdString(path)).absolutePath().toUtf8().constData(), 0500);
        testing::internal::CaptureStderr();
        window.reset();
        const std::string err = testing::internal::GetCapturedStderr();
        chmod(QFileInfo(QString::fromStdString(path)).absolutePath().toUtf8().constData(), 0700);
        if (geteuid() != 0) {
            EXPECT_NE(err.find("cannot save the client settings"), std::string::npos) << err;
        }
    }
}

// Pictures of the three layouts for people to look at: written only when
// KORVANTA_SCREENSHOTS names a folder.
TEST_F(MainWindow, EachLayoutPaintsItsWindow) {
    auto window = StartWindow();
    ASSERT_NE(window, nullptr);
    auto* item = new QTreeWidgetItem(window->findChild<SCA_MonitorsView*>());
    item->setText(1, QStringLiteral("System Monitor"));
    item->setText(2, QStringLiteral("localhost"));
    const char* folder = std::getenv("KORVANTA_SCREENSHOTS");
    for (uint32_t layout = 0; layout < 3; ++layout) {
        LayoutOf(window)->InitLayout(layout);
        QCoreApplication::processEvents();
        const QImage image = window->grab().toImage();
        EXPECT_EQ(image.size(), window->size());
        if (folder != nullptr) {
            image.save(QStringLiteral("%1/korvac-layout-%2.png").arg(folder).arg(layout));
        }
    }
}

// The servers connected to before are listed from the start, before any connection, in their
// order and with none selected.
TEST_F(MainWindow, TheKnownServersAreListedAtStart) {
    {
        auto first = StartWindow();
        ASSERT_NE(first, nullptr);
        SCA_SrvConnectList* known = first->GetUserConfig()->GetConnectList();
        ASSERT_EQ(known->AddConnect("server-a", "admin", "pw", 24503), 1);
        ASSERT_EQ(known->AddConnect("server-b", "ops", "pw", 24600), 1);
    } // the settings are kept at exit
    auto window = StartWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->CheckConnected(0), 0);
    SCA_SrvConnectView* view = window->findChild<SCA_SideBar*>()->GetConnectView();
    QStringList hosts;
    for (int row = 0; row < view->topLevelItemCount(); ++row) {
        hosts << view->topLevelItem(row)->text(1);
    }
    EXPECT_EQ(hosts.size(), 2);
    EXPECT_TRUE(hosts.contains(QStringLiteral("server-a")));
    EXPECT_TRUE(hosts.contains(QStringLiteral("server-b")));
    EXPECT_TRUE(view->selectedItems().isEmpty());
}

} // namespace
