// SPDX-License-Identifier: MIT
// The live monitor window and the single-counter window against a stand-in for the service,
// driven by timer events delivered one by one: what each poll asks for, what the window shows,
// its commands, and how a failing service looks to the user.
#include "korvac/kit/SCA_ClientSession.h"
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QDialog>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QTimerEvent>
#include <QToolButton>
#include <QTreeWidgetItem>
#include <atomic>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "FakeMonitor.h"
#include "FakeService.h"
#include "GuiTestSupport.h"
#include "MonitorWindowFixture.h"
#include "korvac/kit/SCA_ViewerCommand.h"
#include "korvac/main/SCA_MonitorsView.h"
#include "korvac/monitor/SCA_CountersView.h"
#include "korvac/monitor/SCA_SrvCounterDlg.h"
#include "korvac/monitor/SCA_SrvMonStatusDlg.h"
#include "libvop/SCA_ChartFrame.h"
#include "libvop/SCA_GaugeFrame.h"
#include "libvop/SCA_SaveReportDlg.h"
#include "libvop/SCA_TezCounterDlg.h"
#include "libvop/SCA_TreeRows.h"
#include "model/SCA_TezCounterMeta.h"
#include "model/SCA_TezReportFormat.h"

using korvac_test::Answer;
using korvac_test::CommandsOf;
using korvac_test::FakeClient;
using korvac_test::FakeMonitor;
using korvac_test::FakeService;
using korvac_test::kFirstSample;
using korvac_test::kSecond;
using korvac_test::PollOf;

namespace {

// Counter types of the vocabulary: processor usage (a percentage) and available memory (bytes).
constexpr uint32_t kCpuUsage = 1;
constexpr uint32_t kMemoryFree = 5;

class MonitorWindow : public korvac_test::MonitorWindowFixture<FakeMonitor> {
protected:
    std::unique_ptr<SCA_SrvMonStatusDlg> Open() { return OpenWindow<SCA_SrvMonStatusDlg>(); }
    std::unique_ptr<SCA_SrvCounterDlg> OpenCounter(uint32_t counterId) {
        return std::make_unique<SCA_SrvCounterDlg>(nullptr, m_Main->WindowContext(),
                                                   m_Monitor.MonitorId, counterId, 1);
    }
    int Logged(const std::string& text) {
        SCA_DebugLog* log = m_Main->GetClientLog();
        int count = 0;
        for (uint32_t i = 0; i < log->GetMessageCount(); ++i) {
            tagSCA_ERROR_DESCR* message = nullptr;
            count += log->GetMessageByPos(i, &message) && text == message->Text ? 1 : 0;
        }
        return count;
    }
    // What the last poll of op asked for.
    uint64_t Asked(const char* op, const char* field) const {
        uint64_t value = 0;
        SCA_ConfigObj* request = m_Service.LastRequest(op);
        if (request != nullptr && !request->GetField(field, &value)) {
            uint32_t small = 0;
            request->GetField(field, &small);
            value = small;
        }
        return value;
    }
    static uint32_t HeldSamples(const SCA_LiveCounter& history) {
        const auto* store =
            dynamic_cast<const SCA_TezSampleStore*>(history.GetCounter().GetCounterData());
        return store != nullptr ? store->KeptSamples() : 0;
    }
    static double NewestHeld(const SCA_LiveCounter& history) {
        const auto* store =
            dynamic_cast<const SCA_TezSampleStore*>(history.GetCounter().GetCounterData());
        return store != nullptr && store->KeptSamples() > 0
                   ? store->GetSample(store->KeptSamples() - 1).Value
                   : -1.0;
    }
};

TEST_F(MonitorWindow, ButtonsFollowTheRunState) {
    m_Monitor.AddCounter(kCpuUsage, "", 3, 12.5);
    struct Row {
        uint32_t State;
        bool Start, Pause, Reset, Stop, Save;
        const char* Text;
    };
    const Row rows[] = {
        {SCA_PROCESS_IDLE, true, false, false, false, false, "Idle"},
        {SCA_PROCESS_RUNNING, false, true, true, true, true, "Running"},
        {SCA_PROCESS_PAUSED, true, false, true, true, true, "Paused"},
    };
    for (const Row& row : rows) {
        m_Monitor.RunState = row.State;
        auto window = Open();
        ASSERT_EQ(window->StartProcess(), 1) << row.State;
        EXPECT_EQ(window->GetStartButton()->isEnabled(), row.Start) << row.State;
        EXPECT_EQ(window->GetPauseButton()->isEnabled(), row.Pause) << row.State;
        EXPECT_EQ(window->GetResetButton()->isEnabled(), row.Reset) << row.State;
        EXPECT_EQ(window->GetStopButton()->isEnabled(), row.Stop) << row.State;
        EXPECT_EQ(window->GetSaveButton()->isEnabled(), row.Save) << row.State;
        EXPECT_EQ(window->GetStateText()->text(), QString::fromLatin1(row.Text));
        EXPECT_TRUE(window->GetErrorsButton()->isEnabled());
        // Counters can be added whatever the run state.
        EXPECT_TRUE(window->GetMonitorButton()->isEnabled());
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Local processor load"));
        EXPECT_EQ(window->GetProcessTimeLabel()->text(), QStringLiteral("Process Time: 01:02:05"));
    }
    // The state changes under an open window: the next poll follows it.
    m_Monitor.RunState = SCA_PROCESS_RUNNING;
    auto window = Open();
    ASSERT_EQ(window->StartProcess(), 1);
    m_Monitor.RunState = SCA_PROCESS_PAUSED;
    m_Monitor.Errors = 2;
    Tick(window.get());
    EXPECT_TRUE(window->GetStartButton()->isEnabled());
    EXPECT_FALSE(window->GetPauseButton()->isEnabled());
    EXPECT_EQ(window->GetErrorsLabel()->text(), QStringLiteral("Errors: 2"));
    EXPECT_TRUE(m_Hook.Boxes.empty());
}

// Each poll asks only for what is new; a new view mode asks for its whole span again.
TEST_F(MonitorWindow, ChartAsksForNewSamplesOnlyAndAFreshSpanPerViewMode) {
    const uint32_t cpu = m_Monitor.AddCounter(kCpuUsage, "", 3, 12.5);
    m_Monitor.AddSamples(cpu, 700);
    auto window = Open();
    ASSERT_EQ(window->StartProcess(), 1);
    EXPECT_EQ(window->GetSelectedCounterId(), cpu);
    EXPECT_EQ(Asked("GetMonitorStatusEx", "CounterId"), cpu);
    EXPECT_EQ(Asked("GetMonitorStatusEx", "LastDataTime"), 0u);
    EXPECT_EQ(Asked("GetMonitorStatusEx", "Range"), 60u);
    EXPECT_EQ(HeldSamples(window->GetHistory()), 60u);
    const uint64_t newest = kFirstSample + 699 * kSecond;
    EXPECT_EQ(window->GetHistory().GetLastDataTime(), newest);

    m_Monitor.AddSamples(cpu, 1);
    Tick(window.get());
    EXPECT_EQ(Asked("GetMonitorStatusEx", "LastDataTime"), newest);
    EXPECT_EQ(HeldSamples(window->GetHistory()), 61u);
    EXPECT_EQ(NewestHeld(window->GetHistory()), 701.0);
    // A second without a sample brings nothing and takes nothing twice.
    Tick(window.get());
    EXPECT_EQ(HeldSamples(window->GetHistory()), 61u);

    const uint32_t spans[] = {0, 60, 120, 300, 600};
    for (uint32_t mode = SCA_CHART_VIEW_120S; mode <= SCA_CHART_VIEW_600S; ++mode) {
        const int polls = m_Service.Count("GetMonitorStatusEx");
        window->GetChart()->SetViewMode(mode);
        EXPECT_EQ(m_Service.Count("GetMonitorStatusEx"), polls + 1) << mode;
        EXPECT_EQ(Asked("GetMonitorStatusEx", "LastDataTime"), 0u) << mode;
        EXPECT_EQ(Asked("GetMonitorStatusEx", "Range"), spans[mode]) << mode;
        EXPECT_EQ(HeldSamples(window->GetHistory()), spans[mode]) << mode;
    }
    // The gauge shows the service's own statistics; the chart the samples held.
    EXPECT_EQ(window->GetGauge()->GetValueText(), QStringLiteral("12.5%"));
    EXPECT_EQ(window->GetGauge()->GetTitle(), QString::fromUtf8(SCA_TezGetCounterDescr(kCpuUsage)));
}

// The service's clock steps back two hours: its new samples are older than those held, yet
// they are new; the window takes each once, in the order they come, and the chart goes on
// moving with them.
TEST_F(MonitorWindow, TheChartKeepsMovingAfterTheWallClockStepsBack) {
    const uint32_t cpu = m_Monitor.AddCounter(kCpuUsage, "", 3, 12.5);
    m_Monitor.AddSamples(cpu, 30);
    auto window = Open();
    ASSERT_EQ(window->StartProcess(), 1);
    window->resize(640, 480);
    ASSERT_EQ(HeldSamples(window->GetHistory()), 30u);
    constexpr int64_t kTwoHoursBack = -2 * 3600;
    m_Monitor.AddSamplesAfterStep(cpu, kTwoHoursBack, 1);
    const uint64_t afterStep = m_Monitor.Counters[cpu].Samples.back().AbsTime;
    Tick(window.get());
    EXPECT_EQ(HeldSamples(window->GetHistory()), 31u);
    EXPECT_EQ(NewestHeld(window->GetHistory()), 31.0);
    EXPECT_EQ(window->GetHistory().GetLastDataTime(), afterStep);

    QImage before = window->GetChart()->grab().toImage();
    for (uint32_t second = 0; second < 3; ++second) {
        m_Monitor.AddSamples(cpu, 1);
        Tick(window.get());
        EXPECT_EQ(Asked("GetMonitorStatusEx", "LastDataTime"), afterStep + second * kSecond);
        EXPECT_EQ(NewestHeld(window->GetHistory()), 32.0 + second);
        const QImage now = window->GetChart()->grab().toImage();
        EXPECT_NE(now, before) << "the chart stood still at second " << second;
        before = now;
    }
    // A second without a sample takes nothing twice.
    Tick(window.get());
    EXPECT_EQ(HeldSamples(window->GetHistory()), 34u);
    EXPECT_TRUE(m_Hook.Boxes.empty());
}

TEST_F(MonitorWindow, CounterRowsShowValuesLevelsAndDashesWithoutAValue) {
    const uint32_t cpu = m_Monitor.AddCounter(kCpuUsage, "2", 3, 45.3);
    const uint32_t idle = m_Monitor.AddCounter(kCpuUsage, "", 3, 0.0);
    const uint32_t memory = m_Monitor.AddCounter(kMemoryFree, "", 3, 0.0);
    m_Monitor.Counters[idle].Status.ValueCount = 0;
    m_Monitor.Counters[memory].Listed = false;
    auto window = Open();
    ASSERT_EQ(window->StartProcess(), 1);
    SCA_CountersView* view = window->GetCountersView();
    ASSERT_EQ(view->topLevelItemCount(), 3);
    QTreeWidgetItem* first = view->topLevelItem(0);
    EXPECT_EQ(SCA_TreeRows::IdOf(first).toUInt(), cpu);
    EXPECT_EQ(first->text(SCA_CountersView::kCounterColumn),
              QString::fromUtf8(SCA_TezGetCounterDescr(kCpuUsage)));
    EXPECT_EQ(first->text(SCA_CountersView::kInstanceColumn), QStringLiteral("CPU 2"));
    EXPECT_EQ(first->text(SCA_CountersView::kComputerColumn), QStringLiteral("Local"));
    EXPECT_EQ(first->text(SCA_CountersView::kCurrentColumn), QStringLiteral("45.3%"));
    EXPECT_EQ(view->topLevelItem(1)->text(SCA_CountersView::kInstanceColumn),
              QStringLiteral("All"));
    EXPECT_EQ(view->topLevelItem(2)->text(SCA_CountersView::kInstanceColumn), QString());
    for (int row : {1, 2}) {
        for (int column = SCA_CountersView::kCurrentColumn;
             column <= SCA_CountersView::kMaximumColumn; ++column) {
            EXPECT_EQ(view->topLevelItem(row)->text(column), QStringLiteral("---"))
                << row << " " << column;
        }
    }
    // The first row is the gauge's, selected and current.
    EXPECT_TRUE(first->isSelected());
    EXPECT_EQ(view->currentItem(), first);

    // Warning, error, and back: the level and its icon follow.
    const QIcon plain = first->icon(SCA_CountersView::kIconColumn);
    m_Monitor.Counters[cpu].Status.Status = 4;
    m_Monitor.Counters[idle].Status.Status = 5;
    Tick(window.get());
    EXPECT_EQ(first->data(SCA_CountersView::kCounterColumn, Qt::UserRole).toUInt(), 4u);
    EXPECT_EQ(view->topLevelItem(1)->data(SCA_CountersView::kCounterColumn, Qt::UserRole).toUInt(),
              5u);
    EXPECT_NE(first->icon(SCA_CountersView::kIconColumn).cacheKey(), plain.cacheKey());
    m_Monitor.Counters[cpu].Status.Status = 3;
    Tick(window.get());
    EXPECT_EQ(first->data(SCA_CountersView::kCounterColumn, Qt::UserRole).toUInt(), 3u);
    // The rows were updated in place, never rebuilt.
    EXPECT_EQ(view->topLevelItem(0), first);
}

TEST_F(MonitorWindow, AnEmptyMonitorCannotStartAndTheServiceIsNotAsked) {
    m_Monitor.RunState = SCA_PROCESS_IDLE;
    auto window = Open();
    ASSERT_EQ(window->StartProcess(), 1);
    EXPECT_FALSE(window->GetStartButton()->isEnabled());
    EXPECT_EQ(window->GetSelectedCounterId(), SCA_ALL_ONES);
    window->StartMonitor();
    const std::string text =
        "Cannot start monitor " + std::to_string(m_Monitor.MonitorId) + ", no counters configured";
    // Logged, not a box: the window's buttons already show the state.
    EXPECT_EQ(Logged(text), 1);
    EXPECT_EQ(Boxes(text.c_str()), 0);
    EXPECT_EQ(m_Service.Count("StartMonitor"), 0);
}

TEST_F(MonitorWindow, StartPauseResetAndStopDriveTheServiceAndRefresh) {
    const uint32_t cpu = m_Monitor.AddCounter(kCpuUsage, "", 3, 12.5);
    m_Monitor.AddSamples(cpu, 10);
    m_Monitor.RunState = SCA_PROCESS_IDLE;
    auto window = Open();
    ASSERT_EQ(window->StartProcess(), 1);
    window->StartMonitor();
    EXPECT_EQ(m_Monitor.RunState, SCA_PROCESS_RUNNING);
    EXPECT_EQ(window->GetState(), SCA_PROCESS_RUNNING);
    window->PauseMonitor();
    EXPECT_EQ(window->GetState(), SCA_PROCESS_PAUSED);
    // A reset starts the series again.
    window->ResetMonitor();
    EXPECT_EQ(Asked("GetMonitorStatusEx", "LastDataTime"), 0u);
    window->StopMonitor();
    EXPECT_EQ(window->GetState(), SCA_PROCESS_STOPPED);
    EXPECT_FALSE(window->GetStopButton()->isEnabled());
    // A refused command says so, once, and changes nothing.
    m_Service.Queue("PauseMonitor", Answer::Refused());
    window->PauseMonitor();
    const std::string text = "Cannot pause monitor - " + std::to_string(m_Monitor.MonitorId);
    EXPECT_EQ(Logged(text), 1);
    EXPECT_EQ(window->GetState(), SCA_PROCESS_STOPPED);
    EXPECT_GT(window->GetTimerId(), 0);
}

TEST_F(MonitorWindow, AFailedPollClosesTheWindowOnceWithOneMessage) {
    m_Monitor.AddCounter(kCpuUsage, "", 3, 12.5);
    auto window = Open();
    ASSERT_EQ(window->StartProcess(), 1);
    m_Service.Queue("GetMonitorStatusEx", Answer::Refused());
    Tick(window.get());
    EXPECT_EQ(Boxes("Cannot update monitor status."), 1);
    EXPECT_EQ(window->result(), QDialog::Rejected);
    EXPECT_EQ(window->GetTimerId(), -1);
    const int polls = m_Service.Count("GetMonitorStatusEx");
    Tick(window.get());
    EXPECT_EQ(m_Service.Count("GetMonitorStatusEx"), polls);
    // A refusal is the monitor's, not the connection's.
    EXPECT_EQ(m_Main->CheckConnected(0), 1);

    // A lost connection: the session ends once, the window says it once.
    auto second = Open();
    ASSERT_EQ(second->StartProcess(), 1);
    m_Hook.Boxes.clear();
    m_Service.Queue("GetMonitorStatusEx", Answer::Dropped());
    Tick(second.get());
    Tick(second.get());
    EXPECT_EQ(m_Hook.Boxes.size(), 1u);
    EXPECT_EQ(Boxes("Cannot update monitor status."), 1);
    EXPECT_EQ(m_Main->CheckConnected(0), 0);
    EXPECT_EQ(Logged("Connection to server-a:8000 lost - reconnecting"), 1);
}

// A window closed while its poll is out never hears of the poll; a command the user gives
// while a poll is out runs after it, and the poll's answer, older than what the command showed,
// is dropped.
// The window of one counter asks for its timer's polls as the monitor window does.
TEST_F(MonitorWindow, TheCounterWindowTakesInputWhileItsPollIsOut) {
    const uint32_t cpu = m_Monitor.AddCounter(kCpuUsage, "", 3, 12.5);
    m_Monitor.AddSamples(cpu, 2);
    ExpectPollAskedNotAwaited<SCA_SrvCounterDlg>(
        [&] {
            auto window = OpenCounter(cpu);
            EXPECT_EQ(window->StartProcess(), 1);
            return window;
        },
        "GetCounterStatusEx", [&] { m_Monitor.AddSamples(cpu, 3); },
        [&](SCA_SrvCounterDlg* window) {
            return window->GetLastTime() == m_Monitor.Counters[cpu].Samples.back().AbsTime;
        });
}

TEST_F(MonitorWindow, APollOutlivesNeitherItsWindowNorACommandsNewerAnswer) {
    m_Monitor.AddCounter(kCpuUsage, "", 3, 12.5);
    SCA_ClientSession* session = m_Main->GetSession();
    std::atomic<bool> released{false};
    const auto heldPoll = [&] {
        m_Service.Queue("GetMonitorStatusEx",
                        m_Service.StandingOf("GetMonitorStatusEx").HeldUntil([&released] {
                            return released.load();
                        }));
    };
    {
        auto window = Open();
        ASSERT_EQ(window->StartProcess(), 1);
        heldPoll();
        QTimerEvent event(window->GetTimerId());
        QCoreApplication::sendEvent(window.get(), &event);
        ASSERT_TRUE(session->IsWaiting());
    }
    released = true;
    korvac_test::WaitForPolls(session);
    EXPECT_EQ(m_Main->CheckConnected(0), 1);

    auto window = Open();
    ASSERT_EQ(window->StartProcess(), 1);
    released = false;
    heldPoll();
    m_Monitor.Errors = 1;
    QTimerEvent event(window->GetTimerId());
    QCoreApplication::sendEvent(window.get(), &event);
    ASSERT_TRUE(session->IsWaiting());
    // The held poll answers "Errors: 1"; the stop's refresh, fetched after it, "Errors: 2".
    m_Service.Queue("StopMonitor", Answer::Reply([this](SCA_ConfigObj*, SCA_ConfigObj*) {
                        m_Monitor.RunState = SCA_PROCESS_STOPPED;
                        m_Monitor.Errors = 2;
                    }));
    QTimer::singleShot(0, [&released] { released = true; });
    window->StopMonitor();
    EXPECT_EQ(window->GetErrorsLabel()->text(), QStringLiteral("Errors: 2"));
    korvac_test::WaitForPolls(session);
    EXPECT_EQ(window->GetErrorsLabel()->text(), QStringLiteral("Errors: 2"));
    EXPECT_TRUE(m_Hook.Boxes.empty());
}

// A command the user starts runs while the window takes typing under a busy cursor; a click
// meant to act waits for the command's result and acts after it; a window closed meanwhile
// closes once its command is done, never under it.
TEST_F(MonitorWindow, ACommandKeepsTheWindowTakingInputAndHoldsWhatActsUntilItsResult) {
    m_Monitor.AddCounter(kCpuUsage, "", 3, 12.5);
    auto window = Open();
    ASSERT_EQ(window->StartProcess(), 1);
    auto* edit = new QLineEdit(window.get());
    auto* button = new QPushButton(QStringLiteral("Act"), window.get());
    std::atomic<bool> typed{false};
    bool busyWhileTyping = false;
    QObject::connect(edit, &QLineEdit::textChanged, [&] {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        busyWhileTyping = cursor != nullptr && cursor->shape() == Qt::BusyCursor;
        typed = true;
    });
    QStringList clicks;
    QObject::connect(button, &QPushButton::clicked,
                     [&] { clicks.append(window->GetErrorsLabel()->text()); });
    // The stop is answered once the key reached the window; it leaves the monitor with 2 errors.
    m_Service.Queue("StopMonitor", Answer::Reply([this](SCA_ConfigObj*, SCA_ConfigObj*) {
                                       m_Monitor.RunState = SCA_PROCESS_STOPPED;
                                       m_Monitor.Errors = 2;
                                   }).HeldUntil([&typed] { return typed.load(); }));
    const QPointF middle = QRectF(button->rect()).center();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QCoreApplication::postEvent(
            button,
            new QMouseEvent(type, middle, button->mapToGlobal(middle), Qt::LeftButton,
                            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                            Qt::NoModifier));
    }
    QCoreApplication::postEvent(
        edit, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a")));
    window->StopMonitor();
    EXPECT_EQ(edit->text(), QStringLiteral("a"));
    EXPECT_TRUE(busyWhileTyping);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(window->GetErrorsLabel()->text(), QStringLiteral("Errors: 2"));
    EXPECT_TRUE(korvanta_test::WaitUntilPumping("the held click", [&] { return !clicks.empty(); }));
    EXPECT_EQ(clicks, QStringList{QStringLiteral("Errors: 2")});

    window->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<SCA_SrvMonStatusDlg> closing = window.release();
    std::atomic<bool> closeAsked{false};
    m_Service.Queue("StopMonitor", m_Service.StandingOf("StopMonitor").HeldUntil([&closeAsked] {
        return closeAsked.load();
    }));
    QTimer::singleShot(0, closing, [&] {
        closing->close();
        closeAsked = true;
    });
    closing->StopMonitor();
    ASSERT_FALSE(closing.isNull());
    EXPECT_TRUE(closeAsked);
    EXPECT_TRUE(
        korvanta_test::WaitUntilPumping("the window to close", [&] { return closing.isNull(); }));
    EXPECT_EQ(m_Main->CheckConnected(0), 1);
}

// A counter chosen while a poll runs is polled after it, never inside it, and the samples of
// the poll under way (the previous counter's) never reach the new counter's history.
TEST_F(MonitorWindow, ACounterChosenWhilePollsRunIsPolledAfterwards) {
    const uint32_t cpu = m_Monitor.AddCounter(kCpuUsage, "", 3, 12.5);
    const uint32_t memory = m_Monitor.AddCounter(kMemoryFree, "", 3, 2048.0);
    m_Monitor.AddSamples(cpu, 5);
    m_Monitor.AddSamples(memory, 3);
    for (tagSCA_TEZ_SAMPLE& sample : m_Monitor.Counters[memory].Samples) {
        sample.Value += 1000.0;
    }
    auto window = Open();
    ASSERT_EQ(window->StartProcess(), 1);
    ASSERT_EQ(window->GetSelectedCounterId(), cpu);

    int depth = 0;
    int deepest = 0;
    bool clicked = false;
    SCA_CountersView* view = window->GetCountersView();
    m_Service.Standing("GetMonitorStatusEx",
                       Answer::Reply([&](SCA_ConfigObj* request, SCA_ConfigObj* reply) {
                           ++depth;
                           deepest = std::max(deepest, depth);
                           if (!clicked) {
                               // The user clicks the memory row while this poll is under way
                               // (on the window's thread, which goes on while the poll waits).
                               clicked = true;
                               QMetaObject::invokeMethod(
                                   view,
                                   [&]() {
                                       QTreeWidgetItem* row = view->topLevelItem(1);
                                       view->setCurrentItem(row);
                                       window->CounterSelected(row, 1);
                                   },
                                   Qt::QueuedConnection);
                           }
                           m_Monitor.WriteStatus(request, reply);
                           --depth;
                       }));
    // The poll under way brings a new sample of the processor counter.
    m_Monitor.AddSamples(cpu, 1);
    const int polls = m_Service.Count("GetMonitorStatusEx");
    Tick(window.get());
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(window->GetSelectedCounterId(), memory);
    EXPECT_EQ(m_Service.Count("GetMonitorStatusEx"), polls + 2);
    EXPECT_EQ(Asked("GetMonitorStatusEx", "CounterId"), memory);
    EXPECT_EQ(Asked("GetMonitorStatusEx", "LastDataTime"), 0u);
    EXPECT_EQ(HeldSamples(window->GetHistory()), 3u);
    EXPECT_EQ(NewestHeld(window->GetHistory()), 1003.0);
    EXPECT_EQ(window->GetGauge()->GetTitle(),
              QString::fromUtf8(SCA_TezGetCounterDescr(kMemoryFree)));
}

TEST_F(MonitorWindow, DeletingTheGaugesCounterSelectsTheFirstAtTheRefill) {
    const uint32_t cpu = m_Monitor.AddCounter(kCpuUsage, "", 3, 12.5);
    const uint32_t memory = m_Monitor.AddCounter(kMemoryFree, "", 3, 2048.0);
    auto window = Open();
    ASSERT_EQ(window->StartProcess(), 1);
    SCA_CountersView* view = window->GetCountersView();
    QTreeWidgetItem* row = view->topLevelItem(1);
    view->clearSelection();
    view->setCurrentItem(row);
    window->CounterSelected(row, 1);
    ASSERT_EQ(window->GetSelectedCounterId(), memory);
    window->DeleteCounter();
    EXPECT_EQ(m_Service.Count("DeleteCounter"), 1);
    ASSERT_EQ(view->topLevelItemCount(), 1);
    EXPECT_EQ(window->GetSelectedCounterId(), cpu);
    EXPECT_EQ(Asked("GetMonitorStatusEx", "CounterId"), cpu);
    EXPECT_TRUE(view->topLevelItem(0)->isSelected());
}

// A dialog the window opens holds its polls; an accepted counter dialog sends the record.
TEST_F(MonitorWindow, EditingACounterHoldsThePollsAndSendsTheChange) {
    m_Monitor.AddCounter(kCpuUsage, "", 3, 12.5);
    auto window = Open();
    ASSERT_EQ(window->StartProcess(), 1);
    int pollsDuringDialog = -1;
    m_Hook.OnExec = [&](QDialog* dialog) {
        const int before = m_Service.Count("GetMonitorStatusEx");
        Tick(window.get());
        pollsDuringDialog = m_Service.Count("GetMonitorStatusEx") - before;
        static_cast<SCA_TezCounterDlg*>(dialog)->GetPrefixEdit()->setText(QStringLiteral("edited"));
        dialog->accept();
    };
    window->EditCounter();
    EXPECT_EQ(pollsDuringDialog, 0);
    EXPECT_EQ(m_Service.Count("SetCounterInfo"), 1);
    EXPECT_EQ(m_Monitor.SetInfo.GetCounterType(), kCpuUsage);
    EXPECT_STREQ(m_Monitor.SetInfo.GetNamePrefix(), "edited");
    // The menu acts on the selection; what this version does not have says so.
    QMenu menu;
    window->BuildCountersMenu(&menu);
    QStringList entries;
    QAction* secondScreen = nullptr;
    for (QAction* action : menu.actions()) {
        if (!action->isSeparator()) {
            entries << action->text() + (action->isEnabled() ? "" : " (off)");
        }
        if (action->text() == QLatin1String("View Detached on Monitor 2")) {
            secondScreen = action;
        }
    }
    // The tests run on two screens.
    EXPECT_EQ(entries, (QStringList{"Add Counter ...", "Edit Counter ...",
                                    "View Detached on Monitor 1", "View Detached on Monitor 2",
                                    "Move Counter Up", "Move Counter Down", "Delete Counter"}));

    // The second screen's entry starts a viewer of the selected counter there, the password in
    // its environment only.
    QStringList launched;
    QString password;
    SCA_ViewerCommand::SetLauncher([&](const QString&, const QStringList& arguments,
                                       const QProcessEnvironment& environment, uint32_t*) {
        launched = arguments;
        password = environment.value(QLatin1String(SCA_ViewerCommand::kPasswordVariable));
        return true;
    });
    ASSERT_NE(secondScreen, nullptr);
    secondScreen->trigger();
    SCA_ViewerCommand::SetLauncher(nullptr);
    const uint32_t counter = SCA_TreeRows::IdOf(window->GetCountersView()->currentItem()).toUInt();
    EXPECT_EQ(launched,
              (QStringList{"-vdm", QString::number(m_Monitor.MonitorId), "-counter",
                           QString::number(counter), "-conf_name", "korva", "-host", "server-a",
                           "-port", "8000", "-user", "admin", "-screen", "1"}));
    EXPECT_EQ(password, QStringLiteral("secret"));
    window->GetCountersView()->clearSelection();
    EXPECT_EQ(window->ViewDetached(SCA_ALL_ONES), 0);
    EXPECT_EQ(Boxes("Please, select a counter."), 1);
}

TEST_F(MonitorWindow, SaveReportStopsWithoutAReportAndSaysWhenTheFileFails) {
    const uint32_t cpu = m_Monitor.AddCounter(kCpuUsage, "", 3, 12.5);
    const uint32_t memory = m_Monitor.AddCounter(kMemoryFree, "", 3, 2048.0);
    m_Monitor.AddSamples(cpu, 5);
    m_Monitor.AddSamples(memory, 5);
    m_Main->GetUserConfig()->SetSaveReportFormat(SCA_TEZ_FORMAT_CSV);
    auto window = Open();
    ASSERT_EQ(window->StartProcess(), 1);

    // No report from the service: no dialog, one error that says so.
    m_Service.Queue("GetMonitorReport", Answer::Refused());
    window->SaveReport();
    EXPECT_TRUE(m_Hook.Dialogs.isEmpty());
    EXPECT_EQ(Logged("SCA_SrvMonStatusDlg::SaveReport: cannot get monitor report"), 1);

    // A file that cannot be written: logged, and no "saved".
    const std::string blocker = m_Home.Path() + "/not-a-folder";
    std::ofstream(blocker) << "x";
    QString path = QString::fromStdString(blocker + "/report.csv");
    m_Hook.OnExec = [&](QDialog* dialog) {
        static_cast<SCA_SaveReportDlg*>(dialog)->GetPathEdit()->setText(path);
        dialog->setResult(QDialog::Accepted);
    };
    window->SaveReport();
    EXPECT_EQ(m_Hook.Dialogs.back(), QStringLiteral("Save Report"));
    EXPECT_EQ(Boxes("Korvanta System Monitor Report Saved"), 0);
    bool said = false;
    SCA_DebugLog* log = m_Main->GetClientLog();
    for (uint32_t i = 0; i < log->GetMessageCount(); ++i) {
        tagSCA_ERROR_DESCR* message = nullptr;
        said = said || (log->GetMessageByPos(i, &message) &&
                        QString::fromUtf8(message->Text)
                            .contains(QStringLiteral("cannot save report to ") + path));
    }
    EXPECT_TRUE(said);

    // A good file: the whole monitor, the choice remembered.
    path = QString::fromStdString(m_Home.Path() + "/report.csv");
    window->SaveReport();
    EXPECT_EQ(Boxes("Korvanta System Monitor Report Saved"), 1);
    std::ifstream saved(path.toStdString());
    std::stringstream text;
    text << saved.rdbuf();
    EXPECT_NE(text.str().find(SCA_TezGetCounterDescr(kCpuUsage)), std::string::npos);
    EXPECT_NE(text.str().find(SCA_TezGetCounterDescr(kMemoryFree)), std::string::npos);
    EXPECT_NE(text.str().find("Korvanta System Monitor Report"), std::string::npos);
    EXPECT_EQ(m_Main->GetUserConfig()->GetSaveReportFormat(), SCA_TEZ_FORMAT_CSV);
}

// The mode chosen in the save dialog reaches the file: a short summary names the counters, a
// compact report adds their statistics, a detailed one every sample.
TEST_F(MonitorWindow, SaveReportWritesTheModeChosenInTheDialog) {
    const uint32_t cpu = m_Monitor.AddCounter(kCpuUsage, "", 3, 12.5);
    m_Monitor.AddSamples(cpu, 5);
    m_Main->GetUserConfig()->SetSaveReportFormat(SCA_TEZ_FORMAT_CSV);
    auto window = Open();
    ASSERT_EQ(window->StartProcess(), 1);
    struct Case {
        uint32_t Mode;
        bool Statistics;
        bool Samples;
    };
    for (const Case& test : {Case{SCA_TEZ_REPORT_MODE_SUMMARY, false, false},
                             Case{SCA_TEZ_REPORT_MODE_COMPACT, true, false},
                             Case{SCA_TEZ_REPORT_MODE_DETAILED, true, true}}) {
        const QString path =
            QString::fromStdString(m_Home.Path() + "/mode" + std::to_string(test.Mode) + ".csv");
        m_Hook.OnExec = [&](QDialog* dialog) {
            auto* save = static_cast<SCA_SaveReportDlg*>(dialog);
            QComboBox* modes = save->GetModeBox();
            modes->setCurrentIndex(modes->findData(test.Mode));
            save->GetPathEdit()->setText(path);
            dialog->setResult(QDialog::Accepted);
        };
        window->SaveReport();
        std::ifstream saved(path.toStdString());
        std::stringstream text;
        text << saved.rdbuf();
        EXPECT_NE(text.str().find(SCA_TezGetCounterDescr(kCpuUsage)), std::string::npos);
        EXPECT_EQ(text.str().find("Maximum") != std::string::npos, test.Statistics) << test.Mode;
        EXPECT_EQ(text.str().find("Absolute Time") != std::string::npos, test.Samples) << test.Mode;
        EXPECT_EQ(m_Main->GetUserConfig()->GetSaveReportMode(), test.Mode);
    }
}

TEST_F(MonitorWindow, MainWindowOpensTheWindowModallyWithItsPollHeld) {
    m_Monitor.AddCounter(kCpuUsage, "", 3, 12.5);
    m_Monitor.LastSoundTime = PollOf(m_Main)->LastSoundActionTime() + 1;
    const int soundPolls = m_Service.Count("GetSoundActions");
    int mainPolls = -1;
    Qt::WindowFlags flags;
    m_Hook.OnExec = [&](QDialog* dialog) {
        flags = dialog->windowFlags();
        const int before = m_Service.Count("GetStatusEx");
        for (int tick = 0; tick < 4; ++tick) {
            korvac_test::TickWindow(m_Main);
        }
        mainPolls = m_Service.Count("GetStatusEx") - before;
    };
    EXPECT_EQ(CommandsOf(m_Main)->ViewMonitor(m_Monitor.MonitorId), 1);
    EXPECT_EQ(mainPolls, 0);
    EXPECT_TRUE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(m_Hook.Dialogs.back(), QStringLiteral("Local processor load"));
    // The service had new sounds: the window's poll fetched them for the main window.
    EXPECT_GT(m_Service.Count("GetSoundActions"), soundPolls);
    // The window gone, the main window's poll goes on.
    EXPECT_TRUE(korvac_test::WindowPolls(&m_Service, m_Main.get()));

    // Without a selected monitor the command asks for one; an unknown monitor opens nothing.
    m_Hook.Dialogs.clear();
    m_Main->findChild<SCA_MonitorsView*>()->clearSelection();
    CommandsOf(m_Main)->ViewMonitor();
    EXPECT_EQ(Boxes("Please, select a monitor."), 1);
    m_Service.Queue("GetMonitorStats", Answer::Refused());
    EXPECT_EQ(CommandsOf(m_Main)->ViewMonitor(99), 0);
    EXPECT_EQ(Logged("SCA_SrvGui::ViewMonitor: Cannot get monitor status - 99"), 1);
    EXPECT_TRUE(m_Hook.Dialogs.isEmpty());
    EXPECT_TRUE(korvac_test::WindowPolls(&m_Service, m_Main.get()));
}

// --- the single-counter window -----------------------------------------------------------

TEST_F(MonitorWindow, CounterWindowPollsOnlyWhatIsNewAndAFreshSpanPerViewMode) {
    const uint32_t cpu = m_Monitor.AddCounter(kCpuUsage, "", 3, 12.5);
    m_Monitor.AddSamples(cpu, 400);
    auto window = OpenCounter(cpu);
    ASSERT_EQ(window->StartProcess(), 1);
    // Through a client of another host, the title names that host.
    EXPECT_EQ(window->windowTitle(),
              QStringLiteral("%1 - Local processor load - server-a")
                  .arg(QString::fromUtf8(SCA_TezGetCounterDescr(kCpuUsage))));
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_EQ(Asked("GetCounterStatusEx", "Since"), 0u);
    EXPECT_EQ(Asked("GetCounterStatusEx", "Count"), 60u);
    EXPECT_EQ(HeldSamples(window->GetHistory()), 60u);
    m_Monitor.AddSamples(cpu, 2);
    Tick(window.get());
    EXPECT_EQ(Asked("GetCounterStatusEx", "Since"), kFirstSample + 399 * kSecond);
    EXPECT_EQ(HeldSamples(window->GetHistory()), 62u);
    window->GetChart()->SetViewMode(SCA_CHART_VIEW_300S);
    EXPECT_EQ(Asked("GetCounterStatusEx", "Since"), 0u);
    EXPECT_EQ(Asked("GetCounterStatusEx", "Count"), 300u);
    EXPECT_EQ(HeldSamples(window->GetHistory()), 300u);
    EXPECT_EQ(window->GetGauge()->GetValueText(), QStringLiteral("12.5%"));

    // The counter goes: the window says so once and closes.
    m_Service.Queue("GetCounterStatusEx", Answer::Refused());
    Tick(window.get());
    Tick(window.get());
    EXPECT_EQ(Boxes("The selected monitor no longer exists."), 1);
    EXPECT_EQ(window->result(), QDialog::Rejected);
    EXPECT_EQ(window->GetTimerId(), -1);
}

TEST_F(MonitorWindow, CounterWindowThatCannotStartSaysWhy) {
    const uint32_t cpu = m_Monitor.AddCounter(kCpuUsage, "", 3, 12.5);
    EXPECT_EQ(OpenCounter(cpu + 5)->StartProcess(), 0);
    EXPECT_EQ(Logged("SCA_SrvCounterDlg::StartProcess: invalid counter " + std::to_string(cpu + 5) +
                     " in monitor - " + std::to_string(m_Monitor.MonitorId)),
              1);
    m_Service.Queue("GetCounterStatusEx", Answer::Refused());
    auto window = OpenCounter(cpu);
    EXPECT_EQ(window->StartProcess(), 0);
    EXPECT_EQ(window->GetTimerId(), -1);
    EXPECT_EQ(Logged("SCA_SrvCounterDlg::StartProcess: cannot get counter status - " +
                     std::to_string(cpu) + " in monitor - " + std::to_string(m_Monitor.MonitorId)),
              1);
}

TEST_F(MonitorWindow, CounterWindowSavesTheReportOfItsCounterOnly) {
    const uint32_t cpu = m_Monitor.AddCounter(kCpuUsage, "", 3, 12.5);
    const uint32_t memory = m_Monitor.AddCounter(kMemoryFree, "", 3, 2048.0);
    m_Monitor.AddSamples(cpu, 5);
    m_Monitor.AddSamples(memory, 5);
    m_Main->GetUserConfig()->SetSaveReportFormat(SCA_TEZ_FORMAT_CSV);
    auto window = OpenCounter(memory);
    ASSERT_EQ(window->StartProcess(), 1);
    const QString path = QString::fromStdString(m_Home.Path() + "/counter.csv");
    m_Hook.OnExec = [&](QDialog* dialog) {
        static_cast<SCA_SaveReportDlg*>(dialog)->GetPathEdit()->setText(path);
        dialog->setResult(QDialog::Accepted);
    };
    window->SaveReport();
    EXPECT_EQ(m_Hook.Dialogs.back(), QStringLiteral("Save Monitor Report"));
    EXPECT_EQ(Boxes("Monitor Report Saved"), 1);
    std::ifstream saved(path.toStdString());
    std::stringstream text;
    text << saved.rdbuf();
    EXPECT_NE(text.str().find(SCA_TezGetCounterDescr(kMemoryFree)), std::string::npos);
    EXPECT_EQ(text.str().find(SCA_TezGetCounterDescr(kCpuUsage)), std::string::npos);
}

} // namespace
