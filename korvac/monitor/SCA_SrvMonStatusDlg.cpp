// SPDX-License-Identifier: MIT
// The monitor window: its widgets, start, the refresh of every second and the counter choice.
#include "korvac/monitor/SCA_SrvMonStatusDlg.h"

#include <QBoxLayout>
#include <QLabel>
#include <QSplitter>
#include <QStatusBar>
#include <QToolButton>
#include <QTreeWidgetItem>

#include "korvac/kit/SCA_ClientSession.h"
#include "korvac/monitor/SCA_CountersView.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_Time.h"
#include "libvop/SCA_ChartFrame.h"
#include "libvop/SCA_ErrorListDlg.h"
#include "libvop/SCA_GaugeFrame.h"
#include "libvop/SCA_IconEngine.h"
#include "libvop/SCA_TreeRows.h"
#include "model/SCA_TezCounterInfo.h"
#include "model/SCA_TezCounterList.h"
#include "model/SCA_TezCounterMeta.h"
#include "model/SCA_TezProcessStatus.h"
#include "model/SCA_TezRepStatus.h"

namespace {

constexpr int kWidth = 830;
constexpr int kHeight = 600;
constexpr int kStateIconSize = 16;

QPixmap StateIcon(uint32_t state) {
    return SCA_IconEngine::Load(QString::fromLatin1(SCA_TezGetProcessStatusIcon(state)))
        .pixmap(kStateIconSize, kStateIconSize);
}

} // namespace

SCA_SrvMonStatusDlg::SCA_SrvMonStatusDlg(QWidget* parent, const SCA_WindowContext& context,
                                         uint32_t monitorId)
    : SCA_LiveWindow(parent, context, monitorId, "SCA_SrvMonStatusDlg"),
      m_Monitor(context.ProductConfig, context.UserConfig) {
    setWindowTitle(QStringLiteral("Korvanta Monitor"));
    SetTitleBarButtons(parent);

    QVBoxLayout* layout = AddToolRow([this](QHBoxLayout* row) { BuildToolRow(row); });

    m_VerticalSplitter = new QSplitter(Qt::Vertical, this);
    m_VerticalSplitter->setHandleWidth(kHandleWidth);
    m_VerticalSplitter->setChildrenCollapsible(false);
    m_HorizontalSplitter = new QSplitter(Qt::Horizontal, m_VerticalSplitter);
    m_HorizontalSplitter->setHandleWidth(kHandleWidth);
    m_HorizontalSplitter->setChildrenCollapsible(false);
    SCA_LiveCounter::AddFrames(m_HorizontalSplitter, m_UserConfig, &m_Gauge, &m_Chart);
    m_HorizontalSplitter->setSizes({400, 670});
    CreateCountersView();
    m_VerticalSplitter->setSizes({400, 232});
    layout->addWidget(m_VerticalSplitter, 1);
    BuildStatusBar(layout);

    resize(kWidth, kHeight);
    setMinimumSize(kWidth, kHeight);
    connect(m_Chart, &SCA_ChartFrame::ViewModeChanged, this,
            &SCA_SrvMonStatusDlg::ChartViewModeChanged);
}

SCA_SrvMonStatusDlg::~SCA_SrvMonStatusDlg() = default;

void SCA_SrvMonStatusDlg::BuildToolRow(QHBoxLayout* row) {
    m_MonitorButton = AddToolButton(row, "Monitor", ":/images/korva_32px.png", 60,
                                    &SCA_SrvMonStatusDlg::AddCounter);
    m_MonitorButton->setToolTip(QStringLiteral("Add Counter"));
    row->addWidget(Line(QFrame::VLine));
    m_SaveButton =
        AddToolButton(row, "Save", ":/images/save_32px.png", 58, &SCA_SrvMonStatusDlg::SaveReport);
    row->addWidget(Line(QFrame::VLine));
    m_StartButton = AddToolButton(row, "Start", ":/images/play_32px.png", 60,
                                  &SCA_SrvMonStatusDlg::StartMonitor);
    m_PauseButton = AddToolButton(row, "Pause", ":/images/pause_32px.png", 58,
                                  &SCA_SrvMonStatusDlg::PauseMonitor);
    m_ResetButton = AddToolButton(row, "Reset", ":/images/clear_32px.png", 58,
                                  &SCA_SrvMonStatusDlg::ResetMonitor);
    m_StopButton =
        AddToolButton(row, "Stop", ":/images/stop_32px.png", 60, &SCA_SrvMonStatusDlg::StopMonitor);
    row->addWidget(Line(QFrame::VLine));
    m_ErrorsButton = AddToolButton(row, "Errors", ":/images/action_32px.png", 58,
                                   &SCA_SrvMonStatusDlg::ViewErrors);
}

void SCA_SrvMonStatusDlg::BuildStatusBar(QBoxLayout* layout) {
    auto* bar = new QStatusBar(this);
    m_StateIcon = StatusLabel(bar, kStatusHeight, 0, QString());
    m_StateIcon->setAlignment(Qt::AlignCenter);
    m_StateIcon->setPixmap(SCA_IconEngine::Load(QStringLiteral(":/images/idle_16px.png"))
                               .pixmap(kStateIconSize, kStateIconSize));
    m_StateText = StatusLabel(bar, 156, 6, QString());
    m_ErrorsLabel = StatusLabel(bar, 112, 6, QStringLiteral("Errors:"));
    m_WarningsLabel = StatusLabel(bar, 100, 4, QStringLiteral("Warnings:"));
    m_ErrorsLabel->setToolTip(QLatin1String(SCA_ERRORS_COLUMN_TIP));
    m_WarningsLabel->setToolTip(QLatin1String(SCA_WARNINGS_COLUMN_TIP));
    m_ProcessTimeLabel = StatusLabel(bar, 0, 6, QString());
    bar->addWidget(m_StateIcon);
    bar->addWidget(m_StateText, 1);
    bar->addWidget(m_ErrorsLabel);
    bar->addWidget(m_WarningsLabel);
    bar->addWidget(m_ProcessTimeLabel, 1);
    layout->addWidget(bar);
}

QString SCA_SrvMonStatusDlg::NotAvailable(const char* what) {
    return QStringLiteral("%1 - %2").arg(QLatin1String(what),
                                         QLatin1String(SCA_LiveWindow::kNotAvailableText));
}

// --- start and stop --------------------------------------------------------------------------

int SCA_SrvMonStatusDlg::StartProcess() {
    if (!LoadMonitor(&m_Monitor)) {
        return 0;
    }
    uint32_t type = 0;
    uint32_t countersStatusId = 0;
    if (!m_Session->Command([&](SCA_KorvantaInterface& client) {
            return client.GetMonitorProfile(m_MonitorId, &type, &countersStatusId, &m_Profile);
        })) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_SrvMonStatusDlg::StartProcess: cannot get monitor profile - %u",
            m_MonitorId);
        return 0;
    }
    FillCounters(&m_Profile);
    m_CountersStatusId = countersStatusId;
    SCA_TezCounterInfo* first = nullptr;
    if (m_Profile.GetCounterList()->GetHeadItem(&first)) {
        SelectCounter(first->GetCounterId(), 1);
    }
    return UpdateStatus() && StartTimer();
}

// --- the refresh -----------------------------------------------------------------------------

// What one poll asks for and brings; a choice made while it runs makes its samples another's.
struct SCA_SrvMonStatusDlg::StatusPoll {
    uint32_t CounterId = SCA_ALL_ONES;
    uint64_t HistoryGeneration = 0;
    uint64_t Since = 0;
    uint32_t Range = 0;
    SCA_KorvantaInterface::MonitorStatus Status;
};

SCA_SrvMonStatusDlg::StatusPoll SCA_SrvMonStatusDlg::NextPoll() const {
    StatusPoll poll;
    poll.CounterId = m_SelectedCounterId;
    poll.HistoryGeneration = m_HistoryGeneration;
    poll.Since = m_History.GetLastDataTime();
    poll.Range = SCA_LiveCounter::RangeOf(m_Chart);
    return poll;
}

int SCA_SrvMonStatusDlg::PollOnce() {
    StatusPoll poll = NextPoll();
    if (!m_Session->Poll([&poll, this](SCA_KorvantaInterface& client) {
            return client.GetMonitorStatusEx(m_MonitorId, poll.CounterId, poll.Since, poll.Range,
                                             &poll.Status);
        })) {
        return PollFailed();
    }
    return ShowPoll(poll);
}

void SCA_SrvMonStatusDlg::AskUpdate() {
    const uint32_t monitorId = m_MonitorId;
    AskPoll<StatusPoll>(
        [monitorId, next = NextPoll()](SCA_KorvantaInterface& client, StatusPoll& poll) {
            poll = next;
            return client.GetMonitorStatusEx(monitorId, poll.CounterId, poll.Since, poll.Range,
                                             &poll.Status);
        },
        [this](StatusPoll& poll) { return ShowPoll(poll); });
}

int SCA_SrvMonStatusDlg::ShowPoll(const StatusPoll& poll) {
    NotePollShown();
    const SCA_KorvantaInterface::MonitorStatus& status = poll.Status;
    const bool changed =
        status.RunState != m_State || status.CountersStatusId != m_CountersStatusId;
    if (changed) {
        ShowState(status.RunState, status.Counters.size());
    }
    if (changed || status.RunState == SCA_PROCESS_RUNNING) {
        ShowCounts(status);
    }
    if (status.CountersStatusId != m_CountersStatusId && !ReloadProfile()) {
        return PollFailed();
    }
    UpdateCounters(status.Counters);

    if (m_SelectedCounterId != SCA_ALL_ONES) {
        if (m_SelectedCounterId != poll.CounterId ||
            m_HistoryGeneration != poll.HistoryGeneration) {
            PollAgain();
        } else {
            m_History.ShowPolled(m_Gauge, m_Chart, poll.CounterId, status.Counters, status.Samples);
        }
    }
    m_Host->SoundTimeSeen(status.LastSoundTime);
    return 1;
}

void SCA_SrvMonStatusDlg::ShowState(uint32_t state, size_t counters) {
    m_StateIcon->setPixmap(StateIcon(state));
    const bool active = state == SCA_PROCESS_RUNNING || state == SCA_PROCESS_PAUSED;
    m_StartButton->setEnabled(counters > 0 && state != SCA_PROCESS_RUNNING);
    m_PauseButton->setEnabled(state == SCA_PROCESS_RUNNING);
    m_ResetButton->setEnabled(active);
    m_StopButton->setEnabled(active);
    m_SaveButton->setEnabled(state != SCA_PROCESS_IDLE);
    m_StateText->setText(QString::fromLatin1(SCA_TezGetProcessStatusDescr(state)));
    m_State = state;
}

void SCA_SrvMonStatusDlg::ShowCounts(const SCA_KorvantaInterface::MonitorStatus& status) {
    m_ErrorsLabel->setText(QStringLiteral("Errors: %1").arg(status.Errors));
    m_WarningsLabel->setText(QStringLiteral("Warnings: %1").arg(status.Warnings));
    QString processTime;
    if (status.ProcessTime != 0) {
        // The service counts the time a monitor ran in seconds.
        char text[64] = "";
        SCA_FormatTime(status.ProcessTime * SCA_ABS_TIME_SECOND, text, sizeof(text));
        processTime = QStringLiteral("Process Time: %1").arg(QString::fromLatin1(text));
    }
    m_ProcessTimeLabel->setText(processTime);
}

int SCA_SrvMonStatusDlg::ReloadProfile() {
    uint32_t type = 0;
    uint32_t countersStatusId = 0;
    if (!m_Session->Poll([&](SCA_KorvantaInterface& client) {
            return client.GetMonitorProfile(m_MonitorId, &type, &countersStatusId, &m_Profile);
        })) {
        return 0;
    }
    FillCounters(&m_Profile);
    m_CountersStatusId = countersStatusId;
    // A counter that went with the change is no choice any more.
    SCA_TezCounterInfo* selected = nullptr;
    if (m_SelectedCounterId != SCA_ALL_ONES &&
        !m_Profile.GetCounterList()->GetItem(m_SelectedCounterId, &selected)) {
        m_SelectedCounterId = SCA_ALL_ONES;
    }
    SCA_TezCounterInfo* first = nullptr;
    if (m_SelectedCounterId == SCA_ALL_ONES && m_Profile.GetCounterList()->GetHeadItem(&first)) {
        SelectCounter(first->GetCounterId(), 1);
    }
    return 1;
}

int SCA_SrvMonStatusDlg::SelectCounter(uint32_t counterId, int selectRow) {
    if (counterId == m_SelectedCounterId) {
        return 1;
    }
    m_SelectedCounterId = counterId;
    ClearHistory();
    SCA_TezCounterInfo* counter = nullptr;
    if (!m_Profile.GetCounterList()->GetItem(counterId, &counter)) {
        SCA_LiveCounter::ShowTitle(m_Gauge, m_Chart, nullptr);
        return 1;
    }
    SCA_LiveCounter::ShowTitle(m_Gauge, m_Chart, counter);
    if (selectRow) {
        m_CounterRows->Select({QVariant(counterId)});
    }
    return 1;
}

void SCA_SrvMonStatusDlg::ClearHistory() {
    m_History.Clear();
    ++m_HistoryGeneration;
}

void SCA_SrvMonStatusDlg::ChartViewModeChanged() {
    ClearHistory();
    UpdateStatus();
}
