// SPDX-License-Identifier: MIT
// The process monitor window, the single-process window and the process details against a
// stand-in for the service, driven by timer events delivered one by one: the buttons per run
// state, the rows kept in their order and selection, the event log, what a failed fetch leaves
// alone, and the polls held while a child dialog is up.
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimerEvent>
#include <QToolButton>
#include <QTreeWidget>
#include <cerrno>
#include <gtest/gtest.h>
#include <map>
#include <string>

#include "FakeProcessMonitor.h"
#include "FakeService.h"
#include "GuiTestSupport.h"
#include "MonitorWindowFixture.h"
#include "korvac/kit/SCA_ViewerCommand.h"
#include "korvac/process/SCA_ProcessCountersView.h"
#include "korvac/process/SCA_ProcessWindows.h"
#include "korvac/process/SCA_SrvProcDetailsDlg.h"
#include "korvac/process/SCA_SrvProcessDlg.h"
#include "korvac/process/SCA_SrvProcessListDlg.h"
#include "korvac/process/SCA_SrvProcessLog.h"
#include "korvac/process/SCA_SrvProcessView.h"
#include "libmor/SCA_FileSystem.h"
#include "libvop/SCA_ChartFrame.h"
#include "libvop/SCA_ProcExcludeDlg.h"
#include "libvop/SCA_StatusLabelEx.h"
#include "libvop/SCA_TezProcessRulesDlg.h"
#include "model/SCA_TezProcess.h"
#include "model/SCA_TezProcessPid.h"

using korvac_test::Answer;
using korvac_test::CommandsOf;
using korvac_test::FakeClient;
using korvac_test::FakeProcessMonitor;
using korvac_test::FakeService;

namespace {

constexpr uint32_t kStarted = 0;
constexpr uint32_t kEnded = 1;
constexpr uint32_t kFirstWorker = 1000;
constexpr const char* kLongCommand =
    "/usr/lib/jvm/java-17/bin/java -Xms512m -Xmx4g -Dfile.encoding=UTF-8 -classpath "
    "/opt/app/lib/a.jar:/opt/app/lib/b.jar:/opt/app/lib/c.jar org.example.Main --port 8080";

QStringList Column(QTreeWidget* view, int column) {
    QStringList texts;
    for (int row = 0; row < view->topLevelItemCount(); ++row) {
        texts.append(view->topLevelItem(row)->text(column));
    }
    return texts;
}

class ProcessWindow : public korvac_test::MonitorWindowFixture<FakeProcessMonitor> {
protected:
    void SetUp() override {
        m_Monitor.AddProcess("bash", 101, 2, 1.5, 4e6, 2, 10);
        m_Monitor.AddProcess("Xorg", 202, 1, 9.0, 9e7, 12, 80);
        m_Monitor.AddProcess("apache2", 303, 8, 0.5, 2e7, 40, 30);
        MonitorWindowFixture::SetUp();
    }

    std::unique_ptr<SCA_SrvProcessListDlg> Open() {
        auto window = OpenWindow<SCA_SrvProcessListDlg>();
        EXPECT_EQ(window->StartProcess(), 1);
        return window;
    }
    // The window on count processes more, "worker-<id>" from id kFirstWorker on, of a few
    // sizes, its list a few rows high.
    std::unique_ptr<SCA_SrvProcessListDlg> OpenOnWorkers(uint32_t count) {
        for (uint32_t id = kFirstWorker; id < kFirstWorker + count; ++id) {
            const std::string name = "worker-" + std::to_string(id);
            m_Monitor.AddProcess(name.c_str(), id, 1, 0.1 * (id % 7), 1e6 * (id % 13), 3, 9);
        }
        auto window = Open();
        window->GetProcessView()->resize(400, 200);
        return window;
    }
    uint32_t LastLogFrom() const {
        uint32_t from = 0;
        m_Service.LastRequest("GetMonitorProcessListStatusEx")->GetField("LogFromId", &from);
        return from;
    }
};

TEST_F(ProcessWindow, ButtonsFollowTheRunState) {
    struct Case {
        uint32_t RunState;
        bool Start, Pause, Reset, Stop, Save;
    };
    const Case cases[] = {
        {SCA_PROCESS_IDLE, true, false, false, false, false},
        {SCA_PROCESS_RUNNING, false, true, true, true, true},
        {SCA_PROCESS_PAUSED, true, false, true, true, true},
        {SCA_PROCESS_STOPPED, true, false, false, false, true},
    };
    auto window = Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.RunState);
        m_Monitor.RunState = c.RunState;
        Tick(window.get());
        EXPECT_EQ(window->GetStartButton()->isEnabled(), c.Start);
        EXPECT_EQ(window->GetPauseButton()->isEnabled(), c.Pause);
        EXPECT_EQ(window->GetResetButton()->isEnabled(), c.Reset);
        EXPECT_EQ(window->GetStopButton()->isEnabled(), c.Stop);
        EXPECT_EQ(window->GetSaveButton()->isEnabled(), c.Save);
        EXPECT_EQ(window->GetChartsButton()->isEnabled(), c.Save);
        EXPECT_EQ(window->GetExcludeButton()->isEnabled(), c.Save);
        EXPECT_EQ(window->GetRulesButton()->isEnabled(), true);
    }
}

TEST_F(ProcessWindow, RowsKeepOrderSelectionAndScrollWhileValuesChangeInPlace) {
    auto window = Open();
    SCA_SrvProcessView* view = window->GetProcessView();
    // Memory, biggest first.
    EXPECT_EQ(Column(view, SCA_PROC_COL_NAME), (QStringList{"Xorg", "apache2", "bash"}));
    EXPECT_EQ(window->GetProcessesLabel()->text(), QStringLiteral("Processes: 3"));
    EXPECT_EQ(window->GetInstancesLabel()->text(), QStringLiteral("Instances: 11"));
    EXPECT_EQ(window->GetThreadsLabel()->text(), QStringLiteral("Threads: 54"));

    view->topLevelItem(2)->setSelected(true);
    view->setCurrentItem(view->topLevelItem(2), 0, QItemSelectionModel::NoUpdate);
    QTreeWidgetItem* bashRow = view->topLevelItem(2);
    // bash grows past everyone, in place: the order stays until the set of processes changes.
    m_Monitor.Processes[0].Status.Measure[1] = 5e8;
    m_Monitor.Processes[0].Status.InstanceCount = 5;
    Tick(window.get());
    EXPECT_EQ(view->topLevelItem(2), bashRow);
    EXPECT_EQ(bashRow->text(SCA_PROC_COL_INSTANCES), QStringLiteral("5"));
    EXPECT_TRUE(bashRow->isSelected());

    // A new process: rebuilt in sort order, the selection follows its process.
    m_Monitor.AddProcess("sshd", 404, 1, 0, 1e6, 1, 5);
    ++m_Monitor.ListStatus;
    Tick(window.get());
    EXPECT_EQ(Column(view, SCA_PROC_COL_NAME), (QStringList{"bash", "Xorg", "apache2", "sshd"}));
    ASSERT_NE(view->currentItem(), nullptr);
    EXPECT_EQ(view->currentItem()->text(SCA_PROC_COL_NAME), QStringLiteral("bash"));
    EXPECT_EQ(view->selectedItems().size(), 1);
    EXPECT_TRUE(view->topLevelItem(0)->isSelected());

    // Header clicks: Process A to Z, then Z to A; the indicator shows it.
    QHeaderView* header = view->header();
    korvac_test::ClickHeader(header, SCA_PROC_COL_NAME);
    EXPECT_EQ(Column(view, SCA_PROC_COL_NAME), (QStringList{"apache2", "bash", "sshd", "Xorg"}));
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(header->sortIndicatorSection(), SCA_PROC_COL_NAME);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
    korvac_test::ClickHeader(header, SCA_PROC_COL_NAME);
    EXPECT_EQ(Column(view, SCA_PROC_COL_NAME), (QStringList{"Xorg", "sshd", "bash", "apache2"}));
    EXPECT_EQ(view->currentItem()->text(SCA_PROC_COL_NAME), QStringLiteral("bash"));

    // CPU biggest first, then smallest first; the header still answers after polls in place
    // and after a rebuild, and the rebuild keeps the order the user chose.
    korvac_test::ClickHeader(header, SCA_PROC_COL_CPU);
    EXPECT_EQ(Column(view, SCA_PROC_COL_NAME), (QStringList{"Xorg", "bash", "apache2", "sshd"}));
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
    m_Monitor.Processes[2].Status.Measure[0] = 50.0; // apache2, in place: no move yet
    Tick(window.get());
    EXPECT_EQ(Column(view, SCA_PROC_COL_NAME), (QStringList{"Xorg", "bash", "apache2", "sshd"}));
    ++m_Monitor.ListStatus;
    Tick(window.get());
    EXPECT_EQ(Column(view, SCA_PROC_COL_NAME), (QStringList{"apache2", "Xorg", "bash", "sshd"}));
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(header->sortIndicatorSection(), SCA_PROC_COL_CPU);
    korvac_test::ClickHeader(header, SCA_PROC_COL_CPU);
    EXPECT_EQ(Column(view, SCA_PROC_COL_NAME), (QStringList{"sshd", "bash", "Xorg", "apache2"}));
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
    korvac_test::ClickHeader(header, SCA_PROC_COL_MEMORY);
    EXPECT_EQ(Column(view, SCA_PROC_COL_NAME), (QStringList{"bash", "Xorg", "apache2", "sshd"}));
    EXPECT_EQ(header->sortIndicatorSection(), SCA_PROC_COL_MEMORY);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);

    // A list the service sends empty empties the view and the totals.
    m_Monitor.Processes.clear();
    Tick(window.get());
    EXPECT_EQ(view->topLevelItemCount(), 0);
    EXPECT_EQ(window->GetInstancesLabel()->text(), QStringLiteral("Instances: 0"));
}

// A poll writes only the cells whose values moved, and the rows on screen are painted again
// when any did: a poll that changed nothing touches no cell; one that did shows exactly what a
// window opened afresh on the same processes shows.
TEST_F(ProcessWindow, APollWritesWhatMovedAndAStillPollTouchesNothing) {
    auto window = OpenOnWorkers(60);
    SCA_SrvProcessView* view = window->GetProcessView();
    int changes = 0;
    int paintedFrom = -1;
    int paintedTo = -1;
    QObject::connect(view->model(), &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& from, const QModelIndex& to) {
                         ++changes;
                         paintedFrom = from.row();
                         paintedTo = to.row();
                     });
    const auto rowOf = [view](uint32_t processId) {
        for (int i = 0; i < view->topLevelItemCount(); ++i) {
            if (SCA_SrvProcessView::ProcessIdOf(view->topLevelItem(i)) == processId) {
                return i;
            }
        }
        return -1;
    };

    Tick(window.get());
    EXPECT_EQ(changes, 0);

    // The first row on screen (Xorg, the most memory) and one far below it move: a measure
    // goes missing, one changes, a count and the report status change, and the id is taken
    // by another program.
    tagSCA_TEZ_PROCESS_STATUS& xorg = m_Monitor.Processes[1].Status;
    xorg.MeasureValid &= ~2u;
    xorg.Measure[0] = 33.3;
    xorg.Errors = 4;
    xorg.RepStatus = SCA_REP_STATUS_ERROR;
    FakeProcessMonitor::Process& below = m_Monitor.Processes.back();
    below.Name = "renamed";
    below.Status.Measure[2] = 77;
    Tick(window.get());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(paintedFrom, 0);
    EXPECT_GT(paintedTo, 0);
    EXPECT_LT(paintedTo, rowOf(below.Status.ProcessId));
    QTreeWidgetItem* xorgRow = view->topLevelItem(rowOf(202));
    EXPECT_EQ(xorgRow->text(SCA_PROC_COL_MEMORY), QStringLiteral("---"));
    EXPECT_EQ(xorgRow->text(SCA_PROC_COL_CPU), QStringLiteral("33.3%"));
    EXPECT_EQ(xorgRow->text(SCA_PROC_COL_ERRORS), QStringLiteral("4"));
    EXPECT_EQ(xorgRow->data(SCA_PROC_COL_NAME, Qt::UserRole).toUInt(), SCA_REP_STATUS_ERROR);
    // Each process's row as a fresh window shows it (the order stays until the set changes).
    const auto rowsById = [](QTreeWidget* tree) {
        std::map<uint32_t, std::string> texts;
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            QStringList cells;
            for (int column = SCA_PROC_COL_NAME; column < tree->columnCount(); ++column) {
                cells.append(tree->topLevelItem(i)->text(column));
            }
            texts[SCA_SrvProcessView::ProcessIdOf(tree->topLevelItem(i))] =
                cells.join(QLatin1Char('|')).toStdString();
        }
        return texts;
    };
    auto fresh = Open();
    EXPECT_EQ(rowsById(view), rowsById(fresh->GetProcessView()));

    // Moved out of sight only: the cells change, nothing on screen is painted again.
    changes = 0;
    below.Status.Measure[2] = 78;
    Tick(window.get());
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(view->topLevelItem(rowOf(below.Status.ProcessId))->text(SCA_PROC_COL_THREADS),
              QStringLiteral("78"));
    Tick(window.get());
    EXPECT_EQ(changes, 0);
}

// Processes coming and going keep every other process's row (the same item, its selection and
// the scroll position) and leave the list as a window opened afresh on the same processes and
// sort shows it: a few in a sort whose order holds, many in one that reorders, and a process
// id the system handed to another program.
TEST_F(ProcessWindow, ProcessesComingAndGoingKeepTheOtherRowsAndShowWhatAFreshWindowShows) {
    constexpr uint32_t kFirstId = kFirstWorker;
    auto window = OpenOnWorkers(120);
    SCA_SrvProcessView* view = window->GetProcessView();
    korvac_test::ClickHeader(view->header(), SCA_PROC_COL_NAME);
    std::map<uint32_t, QTreeWidgetItem*> rows;
    for (int i = 0; i < view->topLevelItemCount(); ++i) {
        rows[SCA_SrvProcessView::ProcessIdOf(view->topLevelItem(i))] = view->topLevelItem(i);
    }
    QTreeWidgetItem* chosen = rows.at(kFirstId + 60);
    chosen->setSelected(true);
    view->setCurrentItem(chosen, 0, QItemSelectionModel::NoUpdate);
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum() / 2);
    const int scrolled = view->verticalScrollBar()->value();
    ASSERT_GT(scrolled, 0);

    const auto expectLikeAFreshWindow = [&](const char* step, int sortColumn) {
        SCOPED_TRACE(step);
        EXPECT_EQ(view->selectedItems(), QList<QTreeWidgetItem*>{chosen});
        EXPECT_EQ(view->currentItem(), chosen);
        EXPECT_EQ(view->verticalScrollBar()->value(), scrolled);
        for (int i = 0; i < view->topLevelItemCount(); ++i) {
            const auto kept = rows.find(SCA_SrvProcessView::ProcessIdOf(view->topLevelItem(i)));
            if (kept != rows.end()) {
                EXPECT_EQ(view->topLevelItem(i), kept->second) << "row " << i;
            }
        }
        auto fresh = Open();
        SCA_SrvProcessView* freshView = fresh->GetProcessView();
        for (int click = 0;
             click < 3 && (fresh->GetSort().Column != window->GetSort().Column ||
                           fresh->GetSort().IsAscending() != window->GetSort().IsAscending());
             ++click) {
            korvac_test::ClickHeader(freshView->header(), sortColumn);
        }
        for (int column = SCA_PROC_COL_NAME; column < view->columnCount(); ++column) {
            EXPECT_EQ(Column(view, column), Column(freshView, column)) << "column " << column;
        }
    };

    // A few: two processes end, three start, one of them under an id that just ended.
    const auto end = [this](uint32_t id) {
        std::erase_if(m_Monitor.Processes,
                      [id](const auto& p) { return p.Status.ProcessId == id; });
    };
    end(kFirstId + 3);
    end(kFirstId + 90);
    m_Monitor.AddProcess("aardvark", 7, 1, 0.2, 2e6, 1, 1);
    m_Monitor.AddProcess("zebra", 8, 1, 0.2, 2e6, 1, 1);
    m_Monitor.AddProcess("worker-1003-reborn", kFirstId + 3, 1, 0.2, 2e6, 1, 1);
    ++m_Monitor.ListStatus;
    Tick(window.get());
    EXPECT_EQ(view->topLevelItemCount(), 124);
    ASSERT_NE(window->GetProcessView()->topLevelItem(0), nullptr);
    EXPECT_EQ(view->topLevelItem(0)->text(SCA_PROC_COL_NAME), QStringLiteral("aardvark"));
    rows.erase(kFirstId + 90);
    expectLikeAFreshWindow("a few came and went, by name", SCA_PROC_COL_NAME);

    // Many, in a sort by CPU whose values all moved: every row that stays is kept, reordered.
    korvac_test::ClickHeader(view->header(), SCA_PROC_COL_CPU);
    for (size_t i = 0; i < m_Monitor.Processes.size(); ++i) {
        m_Monitor.Processes[i].Status.Measure[0] = 0.1 * static_cast<double>((i * 37) % 101);
    }
    for (uint32_t id = kFirstId + 100; id < kFirstId + 120; ++id) {
        end(id);
        rows.erase(id);
    }
    for (uint32_t id = 2000; id < 2040; ++id) {
        m_Monitor.AddProcess(("new-" + std::to_string(id)).c_str(), id, 1, 5.0, 1e6, 1, 1);
    }
    ++m_Monitor.ListStatus;
    Tick(window.get());
    EXPECT_EQ(view->topLevelItemCount(), 144);
    expectLikeAFreshWindow("many came and went, by CPU", SCA_PROC_COL_CPU);

    // One, while every value moved again (no two alike, as the order of equals is not fixed):
    // the rows that stay move to their new places around the selection, the newcomer lands at
    // its own, the one that went leaves no row.
    for (size_t i = 0; i < m_Monitor.Processes.size(); ++i) {
        m_Monitor.Processes[i].Status.Measure[0] = 0.01 * static_cast<double>((i * 53) % 211);
    }
    end(kFirstId + 20);
    rows.erase(kFirstId + 20);
    m_Monitor.AddProcess("newcomer", 9, 1, 4.55, 2e6, 1, 1);
    ++m_Monitor.ListStatus;
    Tick(window.get());
    EXPECT_EQ(view->topLevelItemCount(), 144);
    expectLikeAFreshWindow("one came and one went, by CPU", SCA_PROC_COL_CPU);
}

// Rows that cannot be read are never shown as current: the list stays, greyed, the status bar
// says why instead of the totals, the window stays open, and the next good poll brings it back.
TEST_F(ProcessWindow, AListThatCannotBeReadIsGreyedWithTheReasonUntilTheNextPoll) {
    auto window = Open();
    const auto unreadable = Answer::Reply([](SCA_ConfigObj*, SCA_ConfigObj* reply) {
        reply->AddField("Type", SCA_SRV_MONITOR_PROCESS);
        reply->AddField("Status", SCA_REP_STATUS_MESSAGE);
        reply->AddField("ProcessStatus", SCA_PROCESS_RUNNING);
        reply->AddField("StartTime", uint64_t{1});
        reply->AddField("ListStatus", 7u);
        SCA_ConfigObj* list = reply->AddConfigObj("ProcessListStatus");
        list->AddField("good", "1 0 3 1 1 1 1 1 0 0");
        list->AddField("bad", "2 0 3 1 1 x 1 1 0 0");
        reply->AddConfigObj("ProcessLog");
    });
    auto* bar = window->findChild<QStatusBar*>();
    ASSERT_NE(bar, nullptr);
    // The same whether the poll was the timer's or a command's refresh.
    for (const bool timer : {true, false}) {
        SCOPED_TRACE(timer);
        const int rows = window->GetProcessView()->topLevelItemCount();
        const QString instances = window->GetInstancesLabel()->text();
        m_Service.Queue("GetMonitorProcessListStatusEx", unreadable);
        if (timer) {
            Tick(window.get());
        } else {
            EXPECT_EQ(window->UpdateStatus(), 0);
        }
        EXPECT_EQ(window->GetRecords().Count(), static_cast<size_t>(rows));
        EXPECT_EQ(window->GetProcessView()->topLevelItemCount(), rows);
        EXPECT_FALSE(window->GetProcessView()->isEnabled());
        EXPECT_EQ(bar->currentMessage(),
                  QString::fromLatin1(SCA_SrvProcessListDlg::kRowsUnreadText));
        EXPECT_EQ(window->GetInstancesLabel()->text(), instances);
        EXPECT_GT(window->GetTimerId(), 0);
        EXPECT_TRUE(m_Hook.Boxes.empty());

        m_Monitor.AddProcess("sshd", 404 + (timer ? 0 : 1), 1, 0.1, 1e6, 1, 5);
        ++m_Monitor.ListStatus;
        Tick(window.get());
        EXPECT_TRUE(window->GetProcessView()->isEnabled());
        EXPECT_TRUE(bar->currentMessage().isEmpty());
        EXPECT_EQ(window->GetProcessView()->topLevelItemCount(), rows + 1);
    }
    korvac_test::ClickHeader(window->GetProcessView()->header(), SCA_PROC_COL_CPU);
    EXPECT_EQ(Column(window->GetProcessView(), SCA_PROC_COL_NAME).first(), QStringLiteral("Xorg"));
}

TEST_F(ProcessWindow, TheLogShowsNewestFirstTrimsToItsLengthAndAsksOnlyForWhatIsNew) {
    m_Main->GetServerUserConfig()->SetProcessLogLength(4);
    m_Monitor.AddEvent(kStarted, 11, "bash", "root");
    m_Monitor.AddEvent(kStarted, 12, "vim", "");
    const uint32_t third = m_Monitor.AddEvent(kEnded, 11, "bash", "root");
    auto window = Open();
    SCA_SrvProcessLog* log = window->GetLogView();
    EXPECT_EQ(Column(log, 3), (QStringList{"11", "12", "11"}));
    EXPECT_EQ(Column(log, 5), (QStringList{"root", "---", "root"}));
    EXPECT_EQ(window->GetLastLogItemId(), third);

    for (uint32_t pid = 20; pid < 23; ++pid) {
        m_Monitor.AddEvent(kStarted, pid, "worker", "www");
    }
    Tick(window.get());
    EXPECT_EQ(LastLogFrom(), third);
    EXPECT_EQ(Column(log, 3), (QStringList{"22", "21", "20", "11"}));

    // Cleared rows do not come back; a start asks for the whole log again.
    window->ClearProcessLog();
    Tick(window.get());
    EXPECT_EQ(log->topLevelItemCount(), 0);
    m_Monitor.RunState = SCA_PROCESS_STOPPED;
    window->StartMonitor();
    EXPECT_EQ(LastLogFrom(), SCA_ALL_ONES);
    EXPECT_EQ(log->topLevelItemCount(), 4);
    EXPECT_EQ(log->topLevelItem(0)->text(3), QStringLiteral("22"));
}

TEST_F(ProcessWindow, AFailedPollClosesOnceButNeverUnderAnOpenDialog) {
    auto window = Open();
    const int polls = m_Service.Count("GetMonitorProcessListStatusEx");
    // While the errors dialog is up, the timer ticks and the service is gone: nothing happens.
    m_Hook.OnExec = [&](QDialog*) {
        EXPECT_TRUE(window->IsPollHeld());
        m_Service.Standing("GetMonitorProcessListStatusEx", Answer::Refused());
        Tick(window.get());
    };
    window->ViewErrors();
    EXPECT_EQ(m_Service.Count("GetMonitorProcessListStatusEx"), polls);
    EXPECT_EQ(Boxes("Cannot update monitor status."), 0);
    EXPECT_FALSE(window->IsPollHeld());
    // Afterwards the failed poll closes the window, with one message.
    m_Hook.OnExec = nullptr;
    Tick(window.get());
    EXPECT_EQ(Boxes("Cannot update monitor status."), 1);
    EXPECT_EQ(window->GetTimerId(), -1);
    EXPECT_EQ(window->result(), QDialog::Rejected);
}

TEST_F(ProcessWindow, RulesAndExcludeListGoBackOnlyWhenTheyArrived) {
    auto window = Open();
    // Rules that could not be fetched open no dialog and send nothing back.
    m_Service.Queue("GetProcessMonitorRules", Answer::Refused());
    window->ViewRules();
    EXPECT_TRUE(m_Hook.Dialogs.empty());
    EXPECT_EQ(m_Service.Count("SetProcessMonitorRules"), 0);

    // A rule added in the dialog reaches the service.
    m_Hook.Result = QDialog::Accepted;
    m_Hook.OnExec = [](QDialog* dialog) {
        auto* rules = qobject_cast<SCA_TezProcessRulesDlg*>(dialog);
        ASSERT_NE(rules, nullptr);
        rules->GetProcessEdit()->setText(QStringLiteral("bash"));
        rules->GetMeasureBox()->setCurrentIndex(2);
        rules->AddRule();
        rules->accept();
    };
    window->ViewRules();
    ASSERT_EQ(m_Service.Count("SetProcessMonitorRules"), 1);
    ASSERT_EQ(m_Monitor.Rules.Count(), 1u);
    EXPECT_STREQ(m_Monitor.Rules.GetHead()->GetItem()->GetProcessName(), "bash");
    EXPECT_EQ(m_Monitor.Rules.GetHead()->GetItem()->GetRuleType(), 2u);

    // The exclude list: what the user adds goes back with what was there.
    m_Hook.OnExec = [](QDialog* dialog) {
        auto* exclude = qobject_cast<SCA_ProcExcludeDlg*>(dialog);
        ASSERT_NE(exclude, nullptr);
        exclude->GetNameEdit()->setText(QStringLiteral("kworker/0:1"));
        exclude->AddName();
        exclude->accept();
    };
    window->ExcludeProcesses();
    EXPECT_EQ(m_Monitor.Excluded, (std::vector<std::string>{"_Total", "Idle", "kworker/0:1"}));
    m_Service.Queue("GetMonitorProcessExcludeList", Answer::Refused());
    window->ExcludeProcesses();
    EXPECT_EQ(m_Service.Count("SetMonitorProcessExcludeList"), 1);
}

TEST_F(ProcessWindow, AModuleListTheServiceCouldNotReadIsAnErrorWithItsReason) {
    auto window = Open();
    m_Service.Standing("GetMonitorProcessModules",
                       Answer::Reply([](SCA_ConfigObj*, SCA_ConfigObj* reply) {
                           reply->AddField("ProcessName", "bash");
                           reply->AddConfigObj("Modules");
                           reply->AddField("Ok", 0u);
                           reply->AddField("Error", static_cast<uint32_t>(EACCES));
                       }));
    QTreeWidgetItem* row = window->GetProcessView()->topLevelItem(0);
    row->setSelected(true);
    window->GetProcessView()->setCurrentItem(row, 0, QItemSelectionModel::NoUpdate);
    window->ViewProcessModules();
    ASSERT_EQ(m_Hook.Boxes.size(), 1u);
    EXPECT_TRUE(
        m_Hook.Boxes[0].Text.startsWith(QStringLiteral("Cannot get process DLL libraries (")));
    EXPECT_TRUE(m_Hook.Boxes[0].Text.contains(QStringLiteral("ermission")));
    EXPECT_TRUE(m_Hook.Dialogs.empty());
}

TEST_F(ProcessWindow, TheProcessMenuOffersDetailsOnlyForALocalMonitor) {
    auto window = Open();
    QMenu menu;
    window->BuildProcessMenu(&menu);
    QStringList enabled;
    for (QAction* action : menu.actions()) {
        if (!action->isSeparator() && action->isEnabled()) {
            enabled.append(action->text());
        }
    }
    // The tests run on two screens.
    EXPECT_EQ(enabled, (QStringList{"View Process ...", "View Detached on Monitor 1",
                                    "View Detached on Monitor 2", "Save Process Report ...",
                                    "View Process Details ...", "View Process DLLs ..."}));

    // The second screen's entry starts a viewer of the selected process there, without the
    // password on its command line.
    QStringList launched;
    SCA_ViewerCommand::SetLauncher([&](const QString&, const QStringList& arguments,
                                       const QProcessEnvironment& environment, uint32_t*) {
        launched = arguments;
        return environment.contains(QLatin1String(SCA_ViewerCommand::kPasswordVariable));
    });
    QTreeWidgetItem* row = window->GetProcessView()->topLevelItem(0);
    row->setSelected(true);
    window->GetProcessView()->setCurrentItem(row, 0, QItemSelectionModel::NoUpdate);
    const uint32_t processId = SCA_SrvProcessView::ProcessIdOf(row);
    for (QAction* action : menu.actions()) {
        if (action->text() == QLatin1String("View Detached on Monitor 2")) {
            action->trigger();
        }
    }
    SCA_ViewerCommand::SetLauncher(nullptr);
    ASSERT_GE(launched.size(), 4);
    EXPECT_EQ(launched.mid(0, 4), (QStringList{"-vdm", QString::number(m_Monitor.MonitorId), "-pid",
                                               QString::number(processId)}));
    EXPECT_EQ(launched.mid(launched.size() - 2), (QStringList{"-screen", "1"}));
    EXPECT_FALSE(launched.contains(QStringLiteral("-password")));
}

TEST_F(ProcessWindow, TheSingleProcessWindowAsksForTheChartsSpanAndClosesWhenTheProcessEnds) {
    m_Monitor.AddCounter(SCA_COUNTER_PROCESS_CPU_USAGE, 12.5);
    m_Monitor.AddCounter(SCA_COUNTER_PROCESS_MEM_USED, 4e6);
    SCA_SrvMonitor monitor(nullptr, nullptr);
    monitor.SetMonitorId(m_Monitor.MonitorId);
    SCA_SrvProcessDlg window(nullptr, m_Main->WindowContext(), &monitor, 101, "bash");
    ASSERT_EQ(window.StartProcess(), 1);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Bash - Process Monitor"));
    ASSERT_EQ(window.GetCountersView()->topLevelItemCount(), 2);
    EXPECT_EQ(window.GetCountersView()->topLevelItem(0)->text(2), QStringLiteral("scripted-host"));
    EXPECT_EQ(window.GetInstancesLabel()->text(), QStringLiteral("Instances: 2"));
    EXPECT_NE(window.GetSelectedCounterId(), SCA_ALL_ONES);

    const struct {
        uint32_t Mode;
        uint32_t Span;
    } spans[] = {{SCA_CHART_VIEW_600S, 600},
                 {SCA_CHART_VIEW_300S, 300},
                 {SCA_CHART_VIEW_120S, 120},
                 {SCA_CHART_VIEW_60S, 60}};
    for (const auto& step : spans) {
        SCOPED_TRACE(step.Mode);
        window.GetChart()->SetViewMode(step.Mode);
        const SCA_ConfigObj* request = m_Service.LastRequest("GetMonitorProcessCountersStatusEx");
        uint32_t range = 0;
        uint64_t since = 1;
        ASSERT_NE(request, nullptr);
        const_cast<SCA_ConfigObj*>(request)->GetField("Range", &range);
        const_cast<SCA_ConfigObj*>(request)->GetField("LastDataTime", &since);
        EXPECT_EQ(range, step.Span);
        // A new span starts the history again.
        EXPECT_EQ(since, 0u);
    }

    // Choosing a counter polls once more, never inside a poll.
    const int polls = m_Service.Count("GetMonitorProcessCountersStatusEx");
    QTreeWidgetItem* second = window.GetCountersView()->topLevelItem(1);
    second->setSelected(true);
    window.GetCountersView()->setCurrentItem(second);
    window.CounterSelected(second, 0);
    EXPECT_EQ(m_Service.Count("GetMonitorProcessCountersStatusEx"), polls + 1);

    // The process ends: the service answers without instances and without counters. The box
    // says what the Part says; the window behind it and the log say why, and its counters keep
    // what their last reading showed.
    const auto values = [&window] {
        QStringList texts;
        for (int row = 0; row < window.GetCountersView()->topLevelItemCount(); ++row) {
            for (int column = SCA_ProcessCountersView::kCurrentColumn;
                 column <= SCA_ProcessCountersView::kMaximumColumn; ++column) {
                texts.append(window.GetCountersView()->topLevelItem(row)->text(column));
            }
        }
        return texts;
    };
    const QStringList shown = values();
    ASSERT_FALSE(shown.contains(QStringLiteral("---")));
    m_Monitor.Instances = 0;
    Tick(&window);
    EXPECT_EQ(Boxes("Cannot update monitor status."), 1);
    EXPECT_EQ(window.result(), QDialog::Rejected);
    EXPECT_EQ(window.GetStatusLabel()->GetText().toStdString(), "Bash - Process ended");
    EXPECT_EQ(korvac_test::Logged(
                  m_Main.get(), "SCA_SrvProcessDlg::UpdateStatus: process Bash has ended - 9:101"),
              1);
    EXPECT_EQ(values(), shown);
    Tick(&window);
    EXPECT_EQ(Boxes("Cannot update monitor status."), 1) << "said once";
}

// The process windows ask for their timer's polls: the GUI thread never waits for one, a poll
// still out is not sent again, and a window closed meanwhile drops it.
TEST_F(ProcessWindow, TheProcessWindowsTakeInputWhileTheirPollIsOut) {
    {
        SCOPED_TRACE("every process");
        ExpectPollAskedNotAwaited<SCA_SrvProcessListDlg>(
            [this] { return Open(); }, "GetMonitorProcessListStatusEx",
            [this] {
                m_Monitor.AddProcess("sshd", 404, 1, 0.1, 1e6, 1, 5);
                ++m_Monitor.ListStatus;
            },
            [](SCA_SrvProcessListDlg* window) {
                return window->GetProcessView()->topLevelItemCount() == 4;
            });
    }
    m_Monitor.AddCounter(SCA_COUNTER_PROCESS_CPU_USAGE, 12.5);
    SCA_SrvMonitor monitor(nullptr, nullptr);
    monitor.SetMonitorId(m_Monitor.MonitorId);
    {
        SCOPED_TRACE("one process");
        ExpectPollAskedNotAwaited<SCA_SrvProcessDlg>(
            [&] {
                auto window = std::make_unique<SCA_SrvProcessDlg>(nullptr, m_Main->WindowContext(),
                                                                  &monitor, 101, "bash");
                EXPECT_EQ(window->StartProcess(), 1);
                return window;
            },
            "GetMonitorProcessCountersStatusEx", [this] { m_Monitor.Instances = 3; },
            [](SCA_SrvProcessDlg* window) {
                return window->GetInstancesLabel()->text() == QStringLiteral("Instances: 3");
            });
    }
}

TEST_F(ProcessWindow, TheMainWindowOpensTheProcessMonitorWindow) {
    QStringList kinds;
    m_Hook.OnExec = [&](QDialog* dialog) {
        kinds.append(QString::fromLatin1(dialog->metaObject()->className()));
    };
    EXPECT_EQ(CommandsOf(m_Main)->ViewMonitor(m_Monitor.MonitorId), 1);
    ASSERT_EQ(m_Hook.Dialogs.size(), 1u);
    EXPECT_EQ(m_Hook.Dialogs[0], QStringLiteral("All processes"));
    EXPECT_EQ(SCA_RunProcessWindow(nullptr, m_Main->WindowContext(), m_Monitor.MonitorId, 202), 1);
    ASSERT_EQ(m_Hook.Dialogs.size(), 2u);
    EXPECT_EQ(m_Hook.Dialogs[1], QStringLiteral("Xorg - Process Monitor"));
    EXPECT_EQ(kinds, (QStringList{"SCA_SrvProcessListDlg", "SCA_SrvProcessDlg"}));
}

TEST(ProcessDetails, APidlessProcessShowsNothingAndTheFileNameIsSafe) {
    korvac_test::PrivateHome home;
    SCA_TezProcess process;
    process.SetProcessName("kworker/0:1");
    SCA_SrvProcDetailsDlg empty(nullptr, nullptr, nullptr, nullptr, &process);
    ASSERT_EQ(empty.StartProcess(), 1);
    EXPECT_EQ(empty.windowTitle(), QStringLiteral("Kworker/0:1 - Process Details"));
    EXPECT_EQ(empty.GetPidList()->topLevelItemCount(), 0);
    EXPECT_EQ(empty.GetPropertyView()->topLevelItemCount(), 0);
    EXPECT_EQ(empty.GetSelectedPid(), SCA_ALL_ONES);
    const QString path = empty.DefaultReportPath();
    EXPECT_EQ(QFileInfo(path).absolutePath(), QDir::homePath());
    EXPECT_TRUE(QFileInfo(path).fileName().startsWith(QStringLiteral("Kworker_0_1 Process Report")))
        << path.toStdString();

    for (uint32_t id : {40u, 41u}) {
        auto* pid = new SCA_TezProcessPid();
        pid->SetProcessId(id);
        pid->SetParentProcessId(1);
        tagSCA_TEZ_PROCESS_COUNTER cpu{SCA_COUNTER_PROCESS_CPU_USAGE, 3, 5, 1, 9, 4};
        pid->SetCounter(cpu);
        auto* info = new SCA_ConfigObj("ProcessInfo", nullptr);
        info->AddField("Command Line", kLongCommand);
        pid->SetProcessInfo(info);
        ASSERT_EQ(process.GetPids()->AddPid(pid), 1);
    }
    SCA_SrvProcDetailsDlg details(nullptr, nullptr, nullptr, nullptr, &process);
    ASSERT_EQ(details.StartProcess(), 1);
    EXPECT_EQ(details.GetSelectedPid(), 40u);
    QStringList properties = Column(details.GetPropertyView(), 1);
    // No data-transfer statistics: no row for them; each property once.
    EXPECT_EQ(properties, (QStringList{"Parent PID", "Start Time", "CPU Usage", "Command Line"}));
    // The command line can be read whole: its column is as wide as the text, and its tip holds
    // it all.
    QTreeWidget* view = details.GetPropertyView();
    details.show();
    QCoreApplication::processEvents();
    const QTreeWidgetItem* command = view->topLevelItem(3);
    EXPECT_EQ(command->text(2), QString::fromLatin1(kLongCommand));
    EXPECT_EQ(command->toolTip(2), QString::fromLatin1(kLongCommand));
    EXPECT_GE(view->columnWidth(2), view->fontMetrics().horizontalAdvance(command->text(2)));
    EXPECT_TRUE(view->horizontalScrollBar()->maximum() > 0) << "scrolls to the rest";
    details.hide();

    // A save that fails says so.
    korvac_test::RecordingHook hook;
    hook.FileAnswer = QDir(QString::fromStdString(home.Path())).filePath("missing/report.txt");
    details.SaveTextReport();
    ASSERT_EQ(hook.Boxes.size(), 1u);
    EXPECT_TRUE(hook.Boxes[0].Text.startsWith(QStringLiteral("Cannot save")));
    hook.FileAnswer = QDir(QString::fromStdString(home.Path())).filePath("report.txt");
    details.SaveTextReport();
    ASSERT_EQ(hook.Boxes.size(), 2u);
    EXPECT_EQ(hook.Boxes[1].Text, QStringLiteral("Process details report saved."));
    std::string text;
    ASSERT_EQ(SCA_ReadFile(hook.FileAnswer.toUtf8().constData(), &text, 1 << 20, nullptr), 1);
    EXPECT_NE(text.find("PID 41"), std::string::npos);
    EXPECT_NE(text.find("CPU Usage: Average"), std::string::npos);
}

} // namespace

// A command the service refuses in a process window opened from the main window is logged and
// raises the main window's badge: no box, neither then nor after the window closes.
TEST_F(ProcessWindow, ARefusedCommandIsLoggedAndNoBoxFollowsTheWindow) {
    const std::string refused = "Cannot pause monitor - " + std::to_string(m_Monitor.MonitorId);
    m_Hook.OnExec = [&](QDialog* dialog) {
        auto* window = qobject_cast<SCA_SrvProcessListDlg*>(dialog);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(window->GetPauseButton()->isEnabled());
        m_Service.Queue("PauseMonitor", Answer::Refused());
        QTest::mouseClick(window->GetPauseButton(), Qt::LeftButton);
        EXPECT_EQ(korvac_test::Logged(m_Main.get(), refused.c_str()), 1);
        EXPECT_TRUE(m_Hook.Boxes.empty());
    };
    EXPECT_EQ(CommandsOf(m_Main)->ViewMonitor(m_Monitor.MonitorId), 1);
    EXPECT_EQ(m_Service.Count("PauseMonitor"), 1);
    EXPECT_TRUE(m_Hook.Boxes.empty());
    m_Main->UpdateErrorBadge();
    EXPECT_FALSE(m_Main->findChild<QToolButton*>(QStringLiteral("ErrorBadge"))->isHidden());
    EXPECT_EQ(m_Main->findChild<QToolButton*>(QStringLiteral("ErrorBadge"))->text(),
              QStringLiteral("1 error"));
}

// Either process window whose very first poll fails says "Cannot update monitor status." once
// and is not shown: from the main window (the process list) and from a double click on a
// process of an open list (one process).
TEST_F(ProcessWindow, AFirstPollThatFailsIsToldOnceAndTheWindowIsNotShown) {
    struct Case {
        const char* Poll;
        bool FromTheList;
    };
    const Case cases[] = {{"GetMonitorProcessListStatusEx", false},
                          {"GetMonitorProcessCountersStatusEx", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Poll);
        m_Hook.Boxes.clear();
        m_Hook.Dialogs.clear();
        m_Hook.OnExec = [&](QDialog* dialog) {
            auto* list = qobject_cast<SCA_SrvProcessListDlg*>(dialog);
            if (list == nullptr) {
                return;
            }
            m_Service.Queue(c.Poll, Answer::Refused());
            list->show();
            SCA_SrvProcessView* view = list->GetProcessView();
            const QRect row = view->visualItemRect(view->topLevelItem(0));
            QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
        };
        if (!c.FromTheList) {
            m_Service.Queue(c.Poll, Answer::Refused());
        }
        EXPECT_EQ(CommandsOf(m_Main)->ViewMonitor(m_Monitor.MonitorId), c.FromTheList ? 1 : 0);
        EXPECT_EQ(Boxes("Cannot update monitor status."), 1);
        // Only the list was shown, and only when its own poll worked.
        EXPECT_EQ(m_Hook.Dialogs.size(), c.FromTheList ? 1 : 0);
    }
}

// The selected process ends: the selection is cleared, not moved to another process, whether
// the list is rebuilt (the set changed) or updated in place.
TEST_F(ProcessWindow, TheSelectionOfAnEndedProcessIsClearedNotMoved) {
    for (const bool rebuilt : {true, false}) {
        SCOPED_TRACE(rebuilt);
        m_Monitor.Processes.clear();
        m_Monitor.AddProcess("bash", 101, 2, 1.5, 4e6, 2, 10);
        m_Monitor.AddProcess("Xorg", 202, 1, 9.0, 9e7, 12, 80);
        m_Monitor.AddProcess("apache2", 303, 8, 0.5, 2e7, 40, 30);
        ++m_Monitor.ListStatus;
        auto window = Open();
        window->show();
        SCA_SrvProcessView* view = window->GetProcessView();
        ASSERT_EQ(Column(view, SCA_PROC_COL_NAME), (QStringList{"Xorg", "apache2", "bash"}));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                          view->visualItemRect(view->topLevelItem(1)).center());
        ASSERT_EQ(view->selectedItems().size(), 1);
        ASSERT_EQ(view->currentItem()->text(SCA_PROC_COL_NAME), QStringLiteral("apache2"));
        // The shown window's activation and focus come first, as they do before a user acts:
        // a view focused with no current row would take its first.
        QCoreApplication::processEvents();
        m_Monitor.Processes.erase(m_Monitor.Processes.begin() + 2);
        if (rebuilt) {
            ++m_Monitor.ListStatus;
        }
        Tick(window.get());
        EXPECT_EQ(Column(view, SCA_PROC_COL_NAME), (QStringList{"Xorg", "bash"}));
        EXPECT_TRUE(view->selectedItems().isEmpty());
        EXPECT_EQ(view->currentItem(), nullptr);
        // The commands on the selected process have none to act on.
        m_Hook.Dialogs.clear();
        window->ViewProcessDetails();
        EXPECT_TRUE(m_Hook.Dialogs.isEmpty());
    }
}
