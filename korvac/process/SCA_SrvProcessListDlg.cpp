// SPDX-License-Identifier: MIT
// The process monitor window: its widgets, start, the poll of every second and the sort.
#include "korvac/process/SCA_SrvProcessListDlg.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QStatusBar>
#include <QToolButton>

#include "korvac/kit/SCA_ClientSession.h"
#include "korvac/process/SCA_SrvProcessLog.h"
#include "korvac/process/SCA_SrvProcessView.h"
#include "libmor/SCA_String.h"
#include "libvop/SCA_StatusIcon.h"
#include "libvop/SCA_TreeRows.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezCounterMeta.h"
#include "model/SCA_TezProcessLog.h"
#include "model/SCA_TezProcessStatus.h"
#include "model/SCA_TezVocabulary.h"

namespace {

constexpr int kWidth = 840;
constexpr int kHeight = 600;
constexpr int kStatusIconMargin = 2;
constexpr uint32_t kValueTextSize = 256;

} // namespace

SCA_SrvProcessListDlg::SCA_SrvProcessListDlg(QWidget* parent, const SCA_WindowContext& context,
                                             uint32_t monitorId)
    : SCA_LiveWindow(parent, context, monitorId, "SCA_SrvProcessListDlg"),
      m_Monitor(context.ProductConfig, context.UserConfig) {
    setWindowTitle(QStringLiteral("Process Monitor"));
    SetTitleBarButtons(parent);
    setSizeGripEnabled(true);

    QVBoxLayout* layout = AddToolRow([this](QHBoxLayout* row) { BuildToolRow(row); });

    m_Splitter = new QSplitter(Qt::Vertical, this);
    m_Splitter->setHandleWidth(kHandleWidth);
    m_Splitter->setChildrenCollapsible(false);
    m_ProcessView = new SCA_SrvProcessView(m_Splitter);
    connect(m_ProcessView, &SCA_SrvProcessView::MenuAsked, this,
            &SCA_SrvProcessListDlg::ShowProcessMenu);
    m_Rows = std::make_unique<SCA_TreeRows>(m_ProcessView, &SCA_SrvProcessView::MakeRow);
    m_LogView = new SCA_SrvProcessLog(m_Splitter);
    connect(m_LogView, &SCA_SrvProcessLog::MenuAsked, this, &SCA_SrvProcessListDlg::ShowLogMenu);
    m_Splitter->setSizes({400, 236});
    layout->addWidget(m_Splitter, 1);
    BuildStatusBar(layout);

    resize(kWidth, kHeight);
    setMinimumSize(kWidth, kHeight);
    connect(m_ProcessView, &QTreeWidget::itemClicked, this,
            &SCA_SrvProcessListDlg::ProcessSelected);
    connect(m_ProcessView, &QTreeWidget::itemDoubleClicked, this,
            &SCA_SrvProcessListDlg::ProcessDoubleClicked);
    connect(m_ProcessView->header(), &QHeaderView::sectionClicked, this,
            &SCA_SrvProcessListDlg::ProcSectionClicked);
}

SCA_SrvProcessListDlg::~SCA_SrvProcessListDlg() = default;

void SCA_SrvProcessListDlg::BuildToolRow(QHBoxLayout* row) {
    row->addWidget(Line(QFrame::VLine));
    m_StartButton = AddToolButton(row, "Start", ":/images/play_32px.png", 60,
                                  &SCA_SrvProcessListDlg::StartMonitor);
    m_PauseButton = AddToolButton(row, "Pause", ":/images/pause_32px.png", 58,
                                  &SCA_SrvProcessListDlg::PauseMonitor);
    m_ResetButton = AddToolButton(row, "Reset", ":/images/clear_32px.png", 58,
                                  &SCA_SrvProcessListDlg::ResetMonitor);
    m_StopButton = AddToolButton(row, "Stop", ":/images/stop_32px.png", 60,
                                 &SCA_SrvProcessListDlg::StopMonitor);
    row->addWidget(Line(QFrame::VLine));
    m_RulesButton = AddToolButton(row, "Rules", ":/images/select_32px.png", 62,
                                  &SCA_SrvProcessListDlg::ViewRules);
    m_ErrorsButton = AddToolButton(row, "Errors", ":/images/action_32px.png", 62,
                                   &SCA_SrvProcessListDlg::ViewErrors);
    m_ExcludeButton = AddToolButton(row, "Exclude", ":/images/app_exclude_32px.png", 58,
                                    &SCA_SrvProcessListDlg::ExcludeProcesses);
    row->addWidget(Line(QFrame::VLine));
    m_SaveButton = AddToolButton(row, "Save", ":/images/save_32px.png", 58,
                                 &SCA_SrvProcessListDlg::SaveReport);
    m_ChartsButton = AddToolButton(row, "Charts", ":/images/chart_32px.png", 58,
                                   &SCA_SrvProcessListDlg::ShowCharts);
}

void SCA_SrvProcessListDlg::BuildStatusBar(QBoxLayout* layout) {
    auto* bar = new QStatusBar(this);
    m_StatusBar = bar;
    m_StatusIcon = new SCA_StatusIcon(bar, kStatusHeight, kStatusIconMargin);
    m_StatusIcon->SetStatus(SCA_REP_STATUS_NONE);
    m_RunStateLabel = StatusLabel(bar, 70, 4);
    m_ErrorsLabel = StatusLabel(bar, 76, 6);
    m_WarningsLabel = StatusLabel(bar, 86, 4);
    m_ProcessesLabel = StatusLabel(bar, 92, 4);
    m_InstancesLabel = StatusLabel(bar, 92, 4);
    m_ThreadsLabel = StatusLabel(bar, 100, 4);
    m_HandlesLabel = StatusLabel(bar, 100, 4);
    m_MemoryLabel = StatusLabel(bar, 0, 4);
    bar->addWidget(m_StatusIcon);
    for (QLabel* label : {m_RunStateLabel, m_ErrorsLabel, m_WarningsLabel, m_ProcessesLabel,
                          m_InstancesLabel, m_ThreadsLabel, m_HandlesLabel}) {
        bar->addWidget(label);
    }
    bar->addWidget(m_MemoryLabel, 1);
    layout->addWidget(bar);
}

// --- start and stop --------------------------------------------------------------------------

int SCA_SrvProcessListDlg::StartProcess() {
    return LoadMonitor(&m_Monitor) && UpdateStatus() && StartTimer();
}

// --- the poll --------------------------------------------------------------------------------

int SCA_SrvProcessListDlg::UpdateStatus() {
    return IsPollHeld() ? 1 : PollOnce();
}

// What one poll asks for and brings.
struct SCA_SrvProcessListDlg::ListPoll {
    uint32_t LogFrom = SCA_ALL_ONES;
    SCA_KorvantaInterface::ProcessListStatus Status;
    SCA_TezProcessLog Log;
};

int SCA_SrvProcessListDlg::FetchPoll(SCA_KorvantaInterface& client, uint32_t monitorId,
                                     ListPoll& poll) {
    return client.GetMonitorProcessListStatusEx(monitorId, poll.LogFrom, &poll.Status, &poll.Log);
}

int SCA_SrvProcessListDlg::PollOnce() {
    ListPoll poll;
    poll.LogFrom = m_LastLogItemId;
    poll.Status.Processes.swap(m_PollRows);
    if (!m_Session->Poll(
            [&](SCA_KorvantaInterface& client) { return FetchPoll(client, m_MonitorId, poll); })) {
        return PollFailed();
    }
    const int shown = ShowPoll(poll);
    poll.Status.Processes.swap(m_PollRows);
    return shown;
}

void SCA_SrvProcessListDlg::AskUpdate() {
    AskPoll<ListPoll>(
        [monitorId = m_MonitorId, logFrom = m_LastLogItemId](SCA_KorvantaInterface& client,
                                                             ListPoll& poll) {
            poll.LogFrom = logFrom;
            return FetchPoll(client, monitorId, poll);
        },
        [this](ListPoll& poll) { return ShowPoll(poll); });
}

int SCA_SrvProcessListDlg::ShowPoll(ListPoll& poll) {
    NotePollShown();
    const SCA_KorvantaInterface::ProcessListStatus& status = poll.Status;
    if (status.Status != m_LastStatus) {
        m_StatusIcon->SetStatus(status.Status);
        m_LastStatus = status.Status;
    }
    if (status.ProcessStatus != m_LastProcessStatus) {
        ShowRunState(status.ProcessStatus);
    }
    if (!m_Records.Parse(status)) {
        // The rows and totals on screen are an earlier poll's: they stay, greyed, the status
        // bar says why instead of the totals, and the next poll that reads builds them again.
        m_ProcessView->setEnabled(false);
        m_StatusBar->showMessage(QString::fromLatin1(kRowsUnreadText));
        return 0;
    }
    if (!m_ProcessView->isEnabled()) {
        m_ProcessView->setEnabled(true);
        m_StatusBar->clearMessage();
    }
    ShowTotals();
    const bool listChanged = status.ListPresent && status.ListStatus != m_LastListStatus;
    if (listChanged ||
        static_cast<size_t>(m_ProcessView->topLevelItemCount()) != m_Records.Count()) {
        SortRows();
    } else {
        m_ProcessView->UpdateRows(m_Records);
    }
    if (status.ListPresent) {
        m_LastListStatus = status.ListStatus;
    }
    if (status.LogRead && poll.LogFrom == m_LastLogItemId) {
        m_LastLogItemId =
            m_LogView->AppendItems(&poll.Log, m_UserConfig->GetProcessLogLength(), m_LastLogItemId);
    }
    return 1;
}

void SCA_SrvProcessListDlg::ShowRunState(uint32_t processStatus) {
    m_RunStateLabel->setText(QString::fromLatin1(SCA_TezGetProcessStatusDescr(processStatus)));
    const bool running = processStatus == SCA_PROCESS_RUNNING;
    const bool active = running || processStatus == SCA_PROCESS_PAUSED;
    const bool hasRun = processStatus != SCA_PROCESS_IDLE;
    m_StartButton->setEnabled(!running);
    m_PauseButton->setEnabled(running);
    m_ResetButton->setEnabled(active);
    m_StopButton->setEnabled(active);
    m_SaveButton->setEnabled(hasRun);
    m_ChartsButton->setEnabled(hasRun);
    m_ExcludeButton->setEnabled(hasRun);
    m_LastProcessStatus = processStatus;
}

void SCA_SrvProcessListDlg::ShowTotals() {
    const SCA_ProcessTotals& totals = m_Records.Totals();
    char memory[kValueTextSize] = "";
    SCA_TezBuildValueString(SCA_COUNTER_PROCESS_MEM_USED, totals.Memory, memory, sizeof(memory), 0);
    m_ProcessesLabel->setText(QStringLiteral("Processes: %1").arg(m_Records.Count()));
    m_InstancesLabel->setText(QStringLiteral("Instances: %1").arg(totals.Instances));
    m_ErrorsLabel->setText(QStringLiteral("Errors: %1").arg(totals.Errors));
    m_WarningsLabel->setText(QStringLiteral("Warnings: %1").arg(totals.Warnings));
    m_MemoryLabel->setText(QStringLiteral("Memory: %1").arg(QString::fromLatin1(memory)));
    m_ThreadsLabel->setText(QStringLiteral("Threads: %1").arg(totals.Threads));
    m_HandlesLabel->setText(QStringLiteral("Handles: %1").arg(totals.Handles));
}

void SCA_SrvProcessListDlg::SortRows() {
    m_Records.Sort(m_Sort.Mode);
    // The rows that stay take their values quietly where they stand; the move into the new
    // order then only places them.
    m_ProcessView->UpdateRows(m_Records);
    m_ProcessView->ForgetGone(m_Records);
    QList<QVariant> ids;
    ids.reserve(static_cast<qsizetype>(m_Records.Count()));
    for (size_t index = 0; index < m_Records.Count(); ++index) {
        ids.append(m_Records.At(index).ProcessId);
    }
    // Updates stay on: what moved is painted once the event loop runs, where turning them off
    // and on again would repaint the whole view, its header and scroll bars too.
    m_Rows->Apply(ids, [this](QTreeWidgetItem* item, int index, bool created) {
        m_ProcessView->FillRow(item, m_Records.At(static_cast<size_t>(index)), created);
    });
}

void SCA_SrvProcessListDlg::ProcSectionClicked(int column) {
    if (!m_Sort.Click(column)) {
        return;
    }
    SortRows();
    QHeaderView* header = m_ProcessView->header();
    header->setSortIndicatorShown(true);
    header->setSortIndicator(m_Sort.Column,
                             m_Sort.IsAscending() ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void SCA_SrvProcessListDlg::ProcessSelected(QTreeWidgetItem*, int) {}

void SCA_SrvProcessListDlg::ProcessDoubleClicked(QTreeWidgetItem*, int) {
    ViewProcessStats();
}
