// SPDX-License-Identifier: MIT
// The live windows as the main window and a detached viewer open them: one window, two hosts,
// the same answers.
#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "FakeMonitor.h"
#include "FakeProcessMonitor.h"
#include "FakeService.h"
#include "GuiTestSupport.h"
#include "korvac/kit/SCA_ViewerCommand.h"
#include "korvac/main/SCA_SrvGui.h"
#include "korvac/monitor/SCA_SrvMonStatusDlg.h"
#include "korvac/process/SCA_ProcessCountersView.h"
#include "korvac/process/SCA_ProcessWindows.h"
#include "korvac/process/SCA_SrvProcessDlg.h"
#include "korvac/process/SCA_SrvProcessListDlg.h"
#include "korvac/viewer/SCA_VdmGui.h"
#include "model/SCA_TezConfigFiles.h"
#include "model/SCA_TezProcess.h"

using korvac_test::Answer;
using korvac_test::CommandsOf;
using korvac_test::ConnectionOf;
using korvac_test::FakeProcessMonitor;
using korvac_test::FakeService;

namespace {

constexpr int kLookPeriodMs = 10;
constexpr uint32_t kProcessId = 101;
constexpr uint32_t kCpuUsage = 1;

// Looks at the first shown window of the type once it runs (a viewer runs its window in an event
// loop of its own), then closes it as the user would.
template <typename Window>
class WhenShown {
public:
    explicit WhenShown(std::function<void(Window*)> look) : m_Look(std::move(look)) {
        QObject::connect(&m_Timer, &QTimer::timeout, [this] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* window = qobject_cast<Window*>(widget);
                if (window != nullptr && window->isVisible()) {
                    m_Timer.stop();
                    m_Look(window);
                    ++Seen;
                    window->reject();
                    return;
                }
            }
        });
        m_Timer.start(kLookPeriodMs);
    }

    int Seen = 0;

private:
    std::function<void(Window*)> m_Look;
    QTimer m_Timer;
};

// A viewer process's run, its words after the program's name.
int RunViewer(FakeService* service, std::vector<std::string> words) {
    setenv(SCA_ViewerCommand::kPasswordVariable, "pw", 1);
    words.insert(words.begin(), "korvac");
    for (const char* word : {"-host", "server-a", "-port", "8000", "-user", "ops"}) {
        words.emplace_back(word);
    }
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    SCA_VdmGui viewer(nullptr);
    viewer.GetSession()->SetClientFactory(
        [service] { return new korvac_test::FakeClient(service); });
    return viewer.DoProcess(static_cast<int>(argv.size()), argv.data());
}

class WindowHost : public testing::Test {
protected:
    void SetUp() override {
        SCA_TezConfig config(SCA_PRODUCT_TYPE_NONE);
        ASSERT_EQ(SCA_LoadProductConfig(&config, "korva", SCA_TezConfigSide::Client, nullptr), 1);
    }

    korvac_test::PrivateHome m_Home;
    korvac_test::RecordingHook m_Hook;
};

// The single-process window names the computer of a counter without one after the service's
// host, in a viewer as in the main client.
TEST_F(WindowHost, TheProcessWindowNamesTheServicesHostInAViewerAsInTheClient) {
    FakeService service;
    service.Healthy();
    FakeProcessMonitor monitor;
    monitor.AddProcess("bash", kProcessId, 1, 1.5, 4e6, 2, 10);
    monitor.AddCounter(SCA_COUNTER_PROCESS_CPU_USAGE, 12.5);
    monitor.Install(&service);
    service.Standing("GetMonitorProcess", Answer::Reply([](SCA_ConfigObj*, SCA_ConfigObj* reply) {
                         SCA_TezProcess process;
                         process.Serialize(reply->AddConfigObj("Process"), 0);
                     }));
    QString computer;
    const auto look = [&computer](SCA_SrvProcessDlg* window) {
        ASSERT_GT(window->GetCountersView()->topLevelItemCount(), 0);
        computer = window->GetCountersView()->topLevelItem(0)->text(
            SCA_ProcessCountersView::kComputerColumn);
    };
    const WhenShown<SCA_SrvProcessDlg> viewed(look);
    EXPECT_NE(RunViewer(&service, {"-vdm", std::to_string(monitor.MonitorId), "-pid",
                                   std::to_string(kProcessId)}),
              0);
    EXPECT_EQ(viewed.Seen, 1);
    EXPECT_EQ(computer, QStringLiteral("scripted-host"));
    EXPECT_TRUE(m_Hook.Boxes.empty());

    auto main = korvac_test::StartWindowOn(&service);
    ASSERT_NE(main, nullptr);
    ConnectionOf(main)->DefaultConnect();
    m_Hook.OnExec = [&look](QDialog* dialog) {
        if (auto* window = qobject_cast<SCA_SrvProcessDlg*>(dialog)) {
            look(window);
        }
    };
    computer.clear();
    EXPECT_EQ(
        SCA_RunProcessWindow(main.get(), main->WindowContext(), monitor.MonitorId, kProcessId), 1);
    EXPECT_EQ(computer, QStringLiteral("scripted-host"));
}

// One table says which window opens for which kind of monitor: the main window opens the
// monitor's window of its kind (nothing for a kind without one), a viewer the same, and with
// the kind's item parameter the window of that item; a viewer refuses a kind without windows.
TEST_F(WindowHost, TheMainWindowAndAViewerOpenTheSameWindowForEachKind) {
    struct Case {
        const char* Kind;
        const char* MonitorWindow;
        const char* ItemParam;
        const char* ItemWindow;
    };
    const Case cases[] = {
        {"counters", "SCA_SrvMonStatusDlg", "-counter", "SCA_SrvCounterDlg"},
        {"processes", "SCA_SrvProcessListDlg", "-pid", "SCA_SrvProcessDlg"},
        {"a kind without windows", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Kind);
        FakeService service;
        service.Healthy();
        korvac_test::FakeMonitor counters;
        FakeProcessMonitor processes;
        uint32_t monitorId = 0;
        uint32_t itemId = 0;
        if (c.Kind == std::string("processes")) {
            processes.AddProcess("bash", kProcessId, 1, 1.5, 4e6, 2, 10);
            processes.AddCounter(SCA_COUNTER_PROCESS_CPU_USAGE, 12.5);
            processes.Install(&service);
            service.Standing("GetMonitorProcess",
                             Answer::Reply([](SCA_ConfigObj*, SCA_ConfigObj* reply) {
                                 SCA_TezProcess process;
                                 process.Serialize(reply->AddConfigObj("Process"), 0);
                             }));
            monitorId = processes.MonitorId;
            itemId = kProcessId;
        } else {
            itemId = counters.AddCounter(kCpuUsage, "", SCA_REP_STATUS_MESSAGE, 12.5);
            counters.AddSamples(itemId, 3);
            counters.Install(&service);
            monitorId = counters.MonitorId;
            if (c.MonitorWindow[0] == '\0') {
                constexpr uint32_t kNoWindowsType = 2;
                service.Standing("GetMonitorStats", korvac_test::MonitorStatsAnswer([] {
                                     return korvac_test::MonitorStats{
                                         kNoWindowsType, 0u, 0u, 0u, 0u, 0u};
                                 }));
            }
        }

        auto main = korvac_test::StartWindowOn(&service);
        ASSERT_NE(main, nullptr);
        ConnectionOf(main)->DefaultConnect();
        QStringList opened;
        m_Hook.OnExec = [&opened](QDialog* dialog) {
            opened << QString::fromLatin1(dialog->metaObject()->className());
        };
        EXPECT_EQ(CommandsOf(main)->ViewMonitor(monitorId), 1);
        EXPECT_EQ(opened.join(','), QString::fromLatin1(c.MonitorWindow));
        m_Hook.OnExec = nullptr;
        main.reset();

        const auto viewerOpens = [&](std::vector<std::string> words) {
            QString className;
            const WhenShown<QDialog> shown([&className](QDialog* window) {
                className = QString::fromLatin1(window->metaObject()->className());
            });
            m_Hook.Boxes.clear();
            words.insert(words.begin(), {"-vdm", std::to_string(monitorId)});
            const int result = RunViewer(&service, words);
            EXPECT_EQ(result != 0, !className.isEmpty());
            return className;
        };
        EXPECT_EQ(viewerOpens({}), QString::fromLatin1(c.MonitorWindow));
        if (c.ItemParam[0] != '\0') {
            EXPECT_EQ(viewerOpens({c.ItemParam, std::to_string(itemId)}),
                      QString::fromLatin1(c.ItemWindow));
        } else {
            ASSERT_EQ(m_Hook.Boxes.size(), 1u);
            EXPECT_EQ(m_Hook.Boxes[0].Text,
                      QStringLiteral("SCA_VdmGui::DoProcess: Unsupported monitor type - 2"));
        }
    }
}

// A refused command is answered the same way in the monitor window and in the process window:
// in the main client it is logged once and raises the badge, with no box; in a viewer, where
// every report is a box, it is one box. Either way the window stays open and the next command
// goes through.
TEST_F(WindowHost, ARefusedCommandIsAnsweredAlikeInEveryLiveWindowAndHost) {
    const char* const kinds[] = {"counters", "processes"};
    for (const char* kind : kinds) {
        const bool processes = kind == std::string("processes");
        for (const bool inViewer : {false, true}) {
            SCOPED_TRACE(std::string(kind) + (inViewer ? " in a viewer" : " in the client"));
            FakeService service;
            service.Healthy();
            korvac_test::FakeMonitor counterMonitor;
            FakeProcessMonitor processMonitor;
            if (processes) {
                processMonitor.AddProcess("bash", kProcessId, 1, 1.5, 4e6, 2, 10);
                processMonitor.Install(&service);
            } else {
                counterMonitor.AddCounter(kCpuUsage, "", SCA_REP_STATUS_MESSAGE, 12.5);
                counterMonitor.Install(&service);
            }
            const uint32_t monitorId =
                processes ? processMonitor.MonitorId : counterMonitor.MonitorId;
            const std::string refused = "Cannot pause monitor - " + std::to_string(monitorId);
            int pauses = 0;
            // Pauses twice: refused, then done.
            const auto pauseTwice = [&](SCA_LiveWindow* window, QToolButton* pause) {
                ASSERT_TRUE(pause->isEnabled());
                service.Queue("PauseMonitor", Answer::Refused());
                QTest::mouseClick(pause, Qt::LeftButton);
                EXPECT_TRUE(window->isVisible() || !inViewer);
                EXPECT_GT(window->GetTimerId(), 0);
                QTest::mouseClick(pause, Qt::LeftButton);
                pauses = service.Count("PauseMonitor");
            };
            const auto look = [&](QDialog* dialog) {
                if (auto* window = qobject_cast<SCA_SrvMonStatusDlg*>(dialog)) {
                    pauseTwice(window, window->GetPauseButton());
                } else if (auto* list = qobject_cast<SCA_SrvProcessListDlg*>(dialog)) {
                    pauseTwice(list, list->GetPauseButton());
                }
            };
            m_Hook.Boxes.clear();
            if (inViewer) {
                const WhenShown<QDialog> shown(look);
                EXPECT_NE(RunViewer(&service, {"-vdm", std::to_string(monitorId)}), 0);
                ASSERT_EQ(m_Hook.Boxes.size(), 1u);
                EXPECT_EQ(m_Hook.Boxes[0].Title, QStringLiteral("Error"));
                EXPECT_EQ(m_Hook.Boxes[0].Text, QString::fromStdString(refused));
            } else {
                auto main = korvac_test::StartWindowOn(&service);
                ASSERT_NE(main, nullptr);
                ConnectionOf(main)->DefaultConnect();
                m_Hook.OnExec = look;
                EXPECT_EQ(CommandsOf(main)->ViewMonitor(monitorId), 1);
                m_Hook.OnExec = nullptr;
                EXPECT_EQ(korvac_test::Logged(main.get(), refused.c_str()), 1);
                EXPECT_TRUE(m_Hook.Boxes.empty());
                main->UpdateErrorBadge();
                EXPECT_EQ(main->findChild<QToolButton*>(QStringLiteral("ErrorBadge"))->text(),
                          QStringLiteral("1 error"));
            }
            EXPECT_EQ(pauses, 2);
            EXPECT_EQ(processes ? processMonitor.RunState : counterMonitor.RunState,
                      static_cast<uint32_t>(SCA_PROCESS_PAUSED));
        }
    }
}

} // namespace
