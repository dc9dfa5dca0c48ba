// SPDX-License-Identifier: MIT
// The process monitor window against a real `korvas -console` on 127.0.0.1: a program the test
// starts appears in the list with its counters, a rule set through the rules dialog counts
// warnings for it on the service, its own window closes once when it ends with no zero of its
// last moments in its statistics, its end is logged, and the exclude list the user edits
// stays with the monitor across a stop and a start.
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimerEvent>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

#include "../korvac/GuiTestSupport.h"
#include "korvac/process/SCA_ProcessCountersView.h"
#include "korvac/process/SCA_ProcessStatusRecords.h"
#include "korvac/process/SCA_SrvProcessDlg.h"
#include "korvac/process/SCA_SrvProcessListDlg.h"
#include "korvac/process/SCA_SrvProcessLog.h"
#include "korvac/process/SCA_SrvProcessView.h"
#include "libvop/SCA_ProcExcludeDlg.h"
#include "libvop/SCA_StatusLabelEx.h"
#include "libvop/SCA_TezProcessRulesDlg.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezCounterMeta.h"
#include "model/SCA_TezMonitorKinds.h"
#include "model/SCA_TezProcessStatus.h"
#include "tests/integration/ServiceWindow.h"
#include "tests/support/WaitUntilPumping.h"

namespace {

// The program the test runs, under a name no other process has.
constexpr char kProbeName[] = "kvprobe34";
// The window's own timer period is longer; a shorter one only ends the test sooner.
constexpr std::chrono::milliseconds kTickPeriod{250};
constexpr int kThreadsRule = 2;
constexpr int kValueAbove = 0;

// A copy of sleep under the probe's name, started and ended by its process id.
class Probe {
public:
    explicit Probe(const std::string& folder) : m_Path(folder + "/" + kProbeName) {
        const std::string copy = "cp /bin/sleep '" + m_Path + "'";
        if (std::system(copy.c_str()) != 0) {
            return;
        }
        m_Pid = fork();
        if (m_Pid == 0) {
            execl(m_Path.c_str(), kProbeName, "600", static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~Probe() { End(); }
    // Ends the probe; its exit status waits for End, as a parent that is slow to take it
    // keeps it waiting.
    void Stop() {
        if (m_Pid > 0) {
            kill(m_Pid, SIGTERM);
        }
    }
    void End() {
        if (m_Pid > 0) {
            kill(m_Pid, SIGTERM);
            waitpid(m_Pid, nullptr, 0);
            m_Pid = -1;
        }
    }
    pid_t Pid() const { return m_Pid; }

private:
    std::string m_Path;
    pid_t m_Pid = -1;
};

template <typename Window>
void Tick(Window* window) {
    QTimerEvent event(window->GetTimerId());
    QCoreApplication::sendEvent(window, &event);
}

// Ticks the window, as its timer would, until done says so.
template <typename Window>
::testing::AssertionResult PollUntil(std::string_view what, Window* window,
                                     const std::function<bool()>& done) {
    return korvanta_test::WaitUntilWith(
        what,
        [&] {
            Tick(window);
            return done();
        },
        [](std::chrono::milliseconds) { korvanta_test::PumpEvents(kTickPeriod); });
}

// The row of the counter of type in the single-process window.
QTreeWidgetItem* CounterRow(SCA_SrvProcessDlg* window, uint32_t type) {
    const QString description = QString::fromUtf8(SCA_TezGetCounterDescr(type));
    QTreeWidget* view = window->GetCountersView();
    for (int row = 0; row < view->topLevelItemCount(); ++row) {
        if (view->topLevelItem(row)->text(SCA_ProcessCountersView::kCounterColumn) == description) {
            return view->topLevelItem(row);
        }
    }
    return nullptr;
}

QTreeWidgetItem* ProbeRow(SCA_SrvProcessListDlg* window) {
    QTreeWidget* view = window->GetProcessView();
    for (int row = 0; row < view->topLevelItemCount(); ++row) {
        if (view->topLevelItem(row)->text(SCA_PROC_COL_NAME) == QLatin1String(kProbeName)) {
            return view->topLevelItem(row);
        }
    }
    return nullptr;
}

class ProcessWindowService : public korvas_integration::ServiceWindowTest {};

TEST_F(ProcessWindowService, AProcessAppearsItsRuleFiresItsEndIsLoggedAndTheExcludeListStays) {
    ASSERT_NO_FATAL_FAILURE(OpenMainWindow());
    ASSERT_EQ(m_Korvas->LogIn(&m_Probe, m_Port), 1);
    uint32_t monitorId = 0;
    ASSERT_EQ(
        m_Probe.AddMonitor(SCA_SRV_MONITOR_PROCESS, SCA_TEZ_MODE_PROCESS, "Processes", &monitorId),
        1);
    ASSERT_EQ(m_Probe.StartMonitor(monitorId), 1);

    Probe probe(m_Home.Path());
    ASSERT_GT(probe.Pid(), 0);
    auto window = korvac_test::MonitorWindowOf<SCA_SrvProcessListDlg>(m_Main.get(), monitorId);
    ASSERT_EQ(window->StartProcess(), 1);
    ASSERT_TRUE(PollUntil("the probe's row", window.get(),
                          [&] { return ProbeRow(window.get()) != nullptr; }));
    EXPECT_EQ(ProbeRow(window.get())->text(SCA_PROC_COL_INSTANCES), QStringLiteral("1"));
    EXPECT_EQ(ProbeRow(window.get())->text(SCA_PROC_COL_THREADS), QStringLiteral("1"));
    EXPECT_GT(window->GetRecords().Count(), 3u);
    EXPECT_FALSE(window->GetStartButton()->isEnabled());

    // A rule through the dialog: more than no threads is a warning for the probe.
    m_Hook.Result = QDialog::Accepted;
    m_Hook.OnExec = [](QDialog* dialog) {
        auto* rules = qobject_cast<SCA_TezProcessRulesDlg*>(dialog);
        ASSERT_NE(rules, nullptr);
        rules->GetProcessEdit()->setText(QString::fromLatin1(kProbeName));
        rules->GetMeasureBox()->setCurrentIndex(kThreadsRule);
        rules->GetConditionBox()->setCurrentIndex(kValueAbove);
        rules->GetStatusBox()->setCurrentIndex(0);
        rules->AddRule();
        rules->accept();
    };
    window->ViewRules();
    m_Hook.OnExec = nullptr;
    ASSERT_TRUE(PollUntil("a warning of the probe", window.get(), [&] {
        QTreeWidgetItem* row = ProbeRow(window.get());
        return row != nullptr && row->text(SCA_PROC_COL_WARNINGS).toUInt() > 0;
    }));

    // Its row selected as a click selects it: when it ends and its row goes, no other process
    // takes the selection.
    window->show();
    QTreeWidget* view = window->GetProcessView();
    view->scrollToItem(ProbeRow(window.get()));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                      view->visualItemRect(ProbeRow(window.get())).center());
    ASSERT_EQ(view->selectedItems(), QList<QTreeWidgetItem*>{ProbeRow(window.get())});

    // Its own window, open when it ends: while it waits for its parent to take its exit
    // status it has no memory and no files left, which never count as a reading of it; the
    // window closes once, saying behind its box that the process ended.
    SCA_SrvMonitor monitor(nullptr, nullptr);
    monitor.SetMonitorId(monitorId);
    SCA_SrvProcessDlg single(nullptr, m_Main->WindowContext(), &monitor,
                             SCA_SrvProcessView::ProcessIdOf(ProbeRow(window.get())), kProbeName);
    ASSERT_EQ(single.StartProcess(), 1);
    const uint32_t watched[] = {SCA_COUNTER_PROCESS_MEM_USED, SCA_COUNTER_PROCESS_HANDLES};
    const auto minimum = [&single](uint32_t type) {
        QTreeWidgetItem* row = CounterRow(&single, type);
        return row != nullptr ? row->text(SCA_ProcessCountersView::kMinimumColumn) : QString();
    };
    ASSERT_TRUE(PollUntil("the probe's memory and handles", &single, [&] {
        return std::none_of(std::begin(watched), std::end(watched), [&](uint32_t type) {
            return minimum(type).isEmpty() || minimum(type) == QLatin1String("---");
        });
    }));
    QStringList minimums;
    probe.Stop();
    EXPECT_TRUE(PollUntil("the probe's window to close", &single, [&] {
        for (const uint32_t type : watched) {
            minimums.append(minimum(type));
        }
        return single.GetTimerId() < 0;
    }));
    EXPECT_EQ(single.result(), QDialog::Rejected);
    EXPECT_FALSE(minimums.contains(QStringLiteral("0 B")));
    EXPECT_FALSE(minimums.contains(QStringLiteral("0")));
    EXPECT_EQ(std::count_if(m_Hook.Boxes.begin(), m_Hook.Boxes.end(),
                            [](const auto& box) {
                                return box.Text == QLatin1String("Cannot update monitor status.");
                            }),
              1);
    m_Hook.Boxes.clear();
    EXPECT_EQ(single.GetStatusLabel()->GetText().toStdString(), "Kvprobe34 - Process ended");

    // Its end is logged, with its process id.
    const QString pid = QString::number(probe.Pid());
    probe.End();
    ASSERT_TRUE(PollUntil("the probe's end in the log", window.get(), [&] {
        QTreeWidget* log = window->GetLogView();
        for (int row = 0; row < log->topLevelItemCount(); ++row) {
            QTreeWidgetItem* item = log->topLevelItem(row);
            if (item->text(3) == pid && item->text(4) == QLatin1String(kProbeName) &&
                item->text(6).startsWith(QStringLiteral("Process ended"))) {
                return true;
            }
        }
        return false;
    }));

    ASSERT_TRUE(PollUntil("the probe's row to go", window.get(),
                          [&] { return ProbeRow(window.get()) == nullptr; }));
    EXPECT_TRUE(view->selectedItems().isEmpty());
    EXPECT_EQ(view->currentItem(), nullptr);

    // The user's exclude list survives a stop and a start of the monitor.
    m_Hook.OnExec = [](QDialog* dialog) {
        auto* exclude = qobject_cast<SCA_ProcExcludeDlg*>(dialog);
        ASSERT_NE(exclude, nullptr);
        exclude->GetNameEdit()->setText(QStringLiteral("cron"));
        exclude->AddName();
        exclude->accept();
    };
    window->ExcludeProcesses();
    m_Hook.OnExec = nullptr;
    window->StopMonitor();
    window->StartMonitor();
    std::vector<std::string> excluded;
    ASSERT_EQ(m_Probe.GetMonitorProcessExcludeList(monitorId, &excluded), 1);
    EXPECT_NE(std::find(excluded.begin(), excluded.end(), "cron"), excluded.end());
    EXPECT_NE(std::find(excluded.begin(), excluded.end(), "korvas"), excluded.end());
    EXPECT_EQ(std::count(excluded.begin(), excluded.end(), "korvas"), 1);
    window->StopProcess();
    EXPECT_TRUE(m_Hook.Boxes.empty());
}

} // namespace
