// SPDX-License-Identifier: MIT
// The single-process window: its widgets, start, the poll of every second and its commands.
#include "korvac/process/SCA_SrvProcessDlg.h"

#include <QBoxLayout>
#include <QFrame>
#include <QLabel>
#include <QSplitter>
#include <QToolButton>
#include <QTreeWidgetItem>

#include "korvac/kit/SCA_ClientSession.h"
#include "korvac/kit/SCA_CounterCells.h"
#include "korvac/process/SCA_ProcessCountersView.h"
#include "korvac/process/SCA_ProcessReportSave.h"
#include "korvac/process/SCA_SrvProcDetailsDlg.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libvop/SCA_ChartFrame.h"
#include "libvop/SCA_ErrorListDlg.h"
#include "libvop/SCA_GaugeFrame.h"
#include "libvop/SCA_IconEngine.h"
#include "libvop/SCA_ModalHook.h"
#include "libvop/SCA_StatusLabelEx.h"
#include "libvop/SCA_ToolButton.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezCounterInfo.h"
#include "model/SCA_TezCounterMeta.h"
#include "model/SCA_TezErrorList.h"
#include "model/SCA_TezVocabulary.h"

namespace {

constexpr int kIdRole = Qt::UserRole;
constexpr int kWidth = 800;
constexpr int kHeight = 560;
constexpr int kMinWidth = 600;
constexpr int kMinHeight = 300;
constexpr int kLineHeight = 10;
constexpr int kButtonHeight = 24;
constexpr int kButtonIconSize = 16;
constexpr int kLabelHeight = 22;
constexpr int kStatusLampSize = 48;
constexpr int kStatusTextIndent = 64;

QLabel* CountLabel(QWidget* parent, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setFixedHeight(kLabelHeight);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setIndent(4);
    return label;
}

} // namespace

SCA_SrvProcessDlg::SCA_SrvProcessDlg(QWidget* parent, const SCA_WindowContext& context,
                                     SCA_SrvMonitor* monitor, uint32_t processId,
                                     const char* processName)
    : SCA_LiveWindow(parent, context, monitor->GetMonitorId(), "SCA_SrvProcessDlg"),
      m_Monitor(monitor), m_ProcessId(processId) {
    SCA_StrnCpy(m_ProcessName, processName != nullptr ? processName : "", sizeof(m_ProcessName));
    if (m_ProcessName[0] >= 'a' && m_ProcessName[0] <= 'z') {
        m_ProcessName[0] = static_cast<char>(m_ProcessName[0] - 'a' + 'A');
    }
    const QString title =
        QStringLiteral("%1 - Process Monitor").arg(QString::fromUtf8(m_ProcessName));
    setWindowTitle(title);
    setSizeGripEnabled(true);

    auto* layout = new QVBoxLayout(this);
    m_StatusLabel = new SCA_StatusLabelEx(this, kStatusLampSize, kStatusTextIndent);
    m_StatusLabel->SetStatusColors(SCA_REP_STATUS_NONE, "#E2EAF4", "#F0F8FF", "#A0B0C0");
    m_StatusLabel->SetStatusString(SCA_REP_STATUS_NONE, QStringLiteral("Process Monitor"));
    layout->addWidget(m_StatusLabel, 1);

    m_VerticalSplitter = new QSplitter(Qt::Vertical, this);
    m_VerticalSplitter->setHandleWidth(kHandleWidth);
    m_HorizontalSplitter = new QSplitter(Qt::Horizontal, m_VerticalSplitter);
    m_HorizontalSplitter->setHandleWidth(kHandleWidth);
    m_HorizontalSplitter->setChildrenCollapsible(false);
    SCA_LiveCounter::AddFrames(m_HorizontalSplitter, m_UserConfig, &m_Gauge, &m_Chart);
    m_HorizontalSplitter->setSizes({400, 600});
    m_CountersView = new SCA_ProcessCountersView(m_VerticalSplitter);
    m_VerticalSplitter->setSizes({400, 220});
    layout->addWidget(m_VerticalSplitter, 10);

    auto* line = new QFrame(this);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    line->setFixedHeight(kLineHeight);
    layout->addWidget(line);

    auto* row = new QHBoxLayout();
    m_SaveButton = AddButton(row, "Save", ":/images/save_32px.png", 60);
    m_DetailsButton = AddButton(row, "Details", ":/images/profile_32px.png", 70);
    m_ErrorsButton = AddButton(row, "Errors", ":/images/action_32px.png", 66);
    m_DetailsButton->setEnabled(m_Monitor->IsRemoteMonitor() == 0);
    row->addSpacing(10);
    m_InstancesLabel = CountLabel(this, QStringLiteral("Instances:"));
    m_ErrorsLabel = CountLabel(this, QStringLiteral("Errors:"));
    m_WarningsLabel = CountLabel(this, QStringLiteral("Warnings:"));
    row->addWidget(m_InstancesLabel, 1);
    row->addWidget(m_ErrorsLabel, 1);
    row->addWidget(m_WarningsLabel, 1);
    row->addSpacing(10);
    m_CloseButton = AddButton(row, "Close", nullptr, 60);
    layout->addLayout(row);

    resize(kWidth, kHeight);
    setMinimumSize(kMinWidth, kMinHeight);
    connect(m_SaveButton, &QToolButton::clicked, this, &SCA_SrvProcessDlg::SaveReport);
    connect(m_DetailsButton, &QToolButton::clicked, this, &SCA_SrvProcessDlg::ViewProcessDetails);
    connect(m_ErrorsButton, &QToolButton::clicked, this, &SCA_SrvProcessDlg::ViewErrors);
    connect(m_CloseButton, &QToolButton::clicked, this, &QDialog::accept);
    connect(m_CountersView, &QTreeWidget::itemClicked, this, &SCA_SrvProcessDlg::CounterSelected);
    connect(m_CountersView, &QTreeWidget::itemDoubleClicked, this,
            &SCA_SrvProcessDlg::CounterDoubleClicked);
    connect(m_Chart, &SCA_ChartFrame::ViewModeChanged, this,
            &SCA_SrvProcessDlg::ChartViewModeChanged);
}

QToolButton* SCA_SrvProcessDlg::AddButton(QLayout* row, const char* text, const char* icon,
                                          int minWidth) {
    auto* button = new SCA_ToolButton(this);
    button->setText(QString::fromLatin1(text));
    if (icon != nullptr) {
        button->setIcon(SCA_IconEngine::Load(QString::fromLatin1(icon)));
        button->setIconSize(QSize(kButtonIconSize, kButtonIconSize));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    }
    button->setFixedHeight(kButtonHeight);
    button->setMinimumWidth(minWidth);
    row->addWidget(button);
    return button;
}

// --- start and stop --------------------------------------------------------------------------

int SCA_SrvProcessDlg::StartProcess() {
    SCA_KorvantaInterface::ProcessState state;
    if (!m_Session->Command([&](SCA_KorvantaInterface& client) {
            return client.GetMonitorProcessCounterList(m_MonitorId, m_ProcessId, &state,
                                                       &m_Counters);
        })) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR,
            "SCA_SrvProcessDlg::StartProcess: cannot get process counter list - %u:%u", m_MonitorId,
            m_ProcessId);
        return 0;
    }
    if (state.Instances == 0 || state.StartTime == 0) {
        return 0;
    }
    FillCounters();
    SCA_TezCounterInfo* first = nullptr;
    if (m_Counters.GetHeadItem(&first)) {
        SelectCounter(first->GetCounterId(), 1);
    }
    return UpdateStatus() && StartTimer();
}

void SCA_SrvProcessDlg::FillCounters() {
    const char* serviceHost = m_Host->ServiceHostName();
    m_CountersView->clear();
    for (auto* node = m_Counters.GetHead(); node != nullptr; node = node->GetNext()) {
        const SCA_TezCounterInfo* info = node->GetItem();
        const uint32_t type = info->GetCounterType();
        const char* computer = info->GetComputerName()[0] != '\0' ? info->GetComputerName()
                               : serviceHost[0] != '\0'           ? serviceHost
                                                                  : "Local";
        auto* row = new QTreeWidgetItem(m_CountersView);
        row->setIcon(SCA_ProcessCountersView::kIconColumn,
                     SCA_CounterCells::LevelIcon(SCA_REP_STATUS_MESSAGE, type));
        row->setText(SCA_ProcessCountersView::kCounterColumn,
                     QString::fromUtf8(SCA_TezGetCounterDescr(type)));
        row->setText(SCA_ProcessCountersView::kComputerColumn, QString::fromUtf8(computer));
        row->setData(SCA_ProcessCountersView::kIconColumn, kIdRole, info->GetCounterId());
        row->setData(SCA_ProcessCountersView::kCounterColumn, kIdRole, SCA_REP_STATUS_MESSAGE);
        SCA_CounterCells::ShowNoValues(row, SCA_ProcessCountersView::kCurrentColumn);
    }
}

// --- the poll --------------------------------------------------------------------------------

// What one poll asks for and brings; a choice made while it runs makes its samples another's.
struct SCA_SrvProcessDlg::CountersPoll {
    uint32_t CounterId = SCA_ALL_ONES;
    uint64_t HistoryGeneration = 0;
    uint64_t Since = 0;
    uint32_t Span = 0;
    SCA_KorvantaInterface::ProcessCountersStatus Status;
};

SCA_SrvProcessDlg::CountersPoll SCA_SrvProcessDlg::NextPoll() {
    CountersPoll poll;
    poll.CounterId = m_SelectedCounterId;
    poll.HistoryGeneration = m_HistoryGeneration;
    poll.Since = m_History.GetLastDataTime();
    m_LastSpan = SCA_LiveCounter::RangeOf(m_Chart);
    poll.Span = m_LastSpan;
    return poll;
}

int SCA_SrvProcessDlg::FetchPoll(SCA_KorvantaInterface& client, uint32_t monitorId,
                                 uint32_t processId, CountersPoll& poll) {
    return client.GetMonitorProcessCountersStatusEx(monitorId, processId, poll.CounterId,
                                                    poll.Since, poll.Span, &poll.Status);
}

int SCA_SrvProcessDlg::PollOnce() {
    CountersPoll poll = NextPoll();
    if (!m_Session->Poll([&](SCA_KorvantaInterface& client) {
            return FetchPoll(client, m_MonitorId, m_ProcessId, poll);
        })) {
        return PollFailed();
    }
    return ShowPoll(poll);
}

void SCA_SrvProcessDlg::AskUpdate() {
    AskPoll<CountersPoll>(
        [monitorId = m_MonitorId, processId = m_ProcessId,
         next = NextPoll()](SCA_KorvantaInterface& client, CountersPoll& poll) {
            poll = next;
            return FetchPoll(client, monitorId, processId, poll);
        },
        [this](CountersPoll& poll) { return ShowPoll(poll); });
}

int SCA_SrvProcessDlg::ShowPoll(const CountersPoll& poll) {
    NotePollShown();
    const SCA_KorvantaInterface::ProcessCountersStatus& status = poll.Status;
    if (status.State.Instances == 0) {
        return ProcessEnded(status.State.RepStatus);
    }
    m_LastProcessStatus = status.State.MonitorProcessStatus;
    if (status.State.RepStatus != m_LastRepStatus) {
        m_StatusLabel->SetStatusString(status.State.RepStatus, windowTitle());
        m_LastRepStatus = status.State.RepStatus;
    }
    m_InstancesLabel->setText(QStringLiteral("Instances: %1").arg(status.State.Instances));
    m_ErrorsLabel->setText(QStringLiteral("Errors: %1").arg(status.State.Errors));
    m_WarningsLabel->setText(QStringLiteral("Warnings: %1").arg(status.State.Warnings));
    ShowCounters(status);

    if (m_SelectedCounterId == SCA_ALL_ONES) {
        return 1;
    }
    if (m_SelectedCounterId != poll.CounterId || m_HistoryGeneration != poll.HistoryGeneration) {
        // Chosen while this poll ran: its samples are another counter's.
        PollAgain();
        return 1;
    }
    m_History.ShowPolled(m_Gauge, m_Chart, poll.CounterId, status.Counters, status.Samples);
    return 1;
}

int SCA_SrvProcessDlg::ProcessEnded(uint32_t repStatus) {
    // The service lists a process only while it runs: one it answers without instances has
    // ended. The box that closes the window says only that it cannot be updated; the window
    // behind it, and the log, say why. Its counters keep the values of its last reading.
    m_StatusLabel->SetStatusString(
        repStatus, QStringLiteral("%1 - Process ended").arg(QString::fromUtf8(m_ProcessName)));
    SCA_GetReportFunction(__FILE__, __LINE__)(
        SCA_LEVEL_INFO, "SCA_SrvProcessDlg::UpdateStatus: process %s has ended - %u:%u",
        m_ProcessName, m_MonitorId, m_ProcessId);
    return PollFailed();
}

void SCA_SrvProcessDlg::ShowCounters(const SCA_KorvantaInterface::ProcessCountersStatus& status) {
    for (int index = 0; index < m_CountersView->topLevelItemCount(); ++index) {
        QTreeWidgetItem* row = m_CountersView->topLevelItem(index);
        const uint32_t id = row->data(SCA_ProcessCountersView::kIconColumn, kIdRole).toUInt();
        const tagSCA_TEZ_COUNTER_STATUS* found = SCA_LiveCounter::FindStatus(status.Counters, id);
        if (found == nullptr) {
            SCA_CounterCells::ShowNoValues(row, SCA_ProcessCountersView::kCurrentColumn);
            continue;
        }
        if (row->data(SCA_ProcessCountersView::kCounterColumn, kIdRole).toUInt() != found->Status) {
            row->setData(SCA_ProcessCountersView::kCounterColumn, kIdRole, found->Status);
            row->setIcon(SCA_ProcessCountersView::kIconColumn,
                         SCA_CounterCells::LevelIcon(found->Status, found->CounterType));
        }
        SCA_CounterCells::ShowValues(row, SCA_ProcessCountersView::kCurrentColumn, *found);
    }
}

// --- the counter shown -----------------------------------------------------------------------

int SCA_SrvProcessDlg::SelectCounter(uint32_t counterId, int selectRow) {
    if (counterId == m_SelectedCounterId) {
        return 1;
    }
    m_SelectedCounterId = counterId;
    ClearHistory();
    SCA_TezCounterInfo* counter = nullptr;
    if (!m_Counters.GetItem(counterId, &counter)) {
        SCA_LiveCounter::ShowTitle(m_Gauge, m_Chart, nullptr);
        return 1;
    }
    SCA_LiveCounter::ShowTitle(m_Gauge, m_Chart, counter);
    if (selectRow) {
        for (int index = 0; index < m_CountersView->topLevelItemCount(); ++index) {
            QTreeWidgetItem* row = m_CountersView->topLevelItem(index);
            if (row->data(SCA_ProcessCountersView::kIconColumn, kIdRole).toUInt() == counterId) {
                row->setSelected(true);
                m_CountersView->setCurrentItem(row);
                break;
            }
        }
    }
    return 1;
}

void SCA_SrvProcessDlg::ClearHistory() {
    m_History.Clear();
    ++m_HistoryGeneration;
}

void SCA_SrvProcessDlg::CounterSelected(QTreeWidgetItem*, int) {
    const QTreeWidgetItem* row = m_CountersView->currentItem();
    if (row == nullptr || !row->isSelected()) {
        return;
    }
    const uint32_t id = row->data(SCA_ProcessCountersView::kIconColumn, kIdRole).toUInt();
    if (id != m_SelectedCounterId) {
        SelectCounter(id, 0);
        UpdateStatus();
    }
}

void SCA_SrvProcessDlg::CounterDoubleClicked(QTreeWidgetItem*, int) {}

void SCA_SrvProcessDlg::ChartViewModeChanged() {
    ClearHistory();
    UpdateStatus();
}

// --- commands --------------------------------------------------------------------------------

void SCA_SrvProcessDlg::SaveWindowReport() {
    SCA_ProcessReportSave save(this, Context(), m_MonitorId);
    save.Caller = QStringLiteral("SCA_SrvMonitorProcListDlg::SaveReport");
    save.Run(m_ProcessId);
}

void SCA_SrvProcessDlg::ViewProcessDetails() {
    const SCA_PollHold hold = HoldPolls();
    SCA_SrvProcDetailsDlg::Run(this, Context(), m_MonitorId, m_ProcessId);
}
