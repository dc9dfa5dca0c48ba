// SPDX-License-Identifier: MIT
#include "korvac/monitor/SCA_SrvCounterDlg.h"

#include <QBoxLayout>
#include <QFrame>
#include <QSplitter>
#include <QTimerEvent>
#include <QToolButton>

#include "korvac/kit/SCA_ClientSession.h"
#include "korvac/monitor/SCA_MonitorReportSave.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_System.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "libvop/SCA_ChartFrame.h"
#include "libvop/SCA_GaugeFrame.h"
#include "libvop/SCA_IconEngine.h"
#include "libvop/SCA_ModalHook.h"
#include "libvop/SCA_ToolButton.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezCounterList.h"
#include "model/SCA_TezCounterMeta.h"
#include "model/SCA_TezRepStatus.h"

namespace {

constexpr int kTimerPeriodMs = 1000;
constexpr int kWidth = 720;
constexpr int kHeight = 380;
constexpr int kMinWidth = 680;
constexpr int kMinHeight = 320;
constexpr int kGaugeWidth = 250;
constexpr int kButtonWidth = 60;
constexpr int kButtonHeight = 24;
constexpr int kLineHeight = 4;
constexpr int kSmallIcon = 16;
constexpr uint32_t kHostNameSize = 256;

SCA_ToolButton* BottomButton(QWidget* parent, const QString& text) {
    auto* button = new SCA_ToolButton(parent);
    button->setText(text);
    button->setMinimumWidth(kButtonWidth);
    button->setFixedHeight(kButtonHeight);
    return button;
}

} // namespace

SCA_SrvCounterDlg::SCA_SrvCounterDlg(QWidget* parent, const SCA_WindowContext& context,
                                     uint32_t monitorId, uint32_t counterId, int withMinimizeButton)
    : QDialog(parent), m_Context(context), m_ProductConfig(context.ProductConfig),
      m_UserConfig(context.UserConfig), m_ReportSettings(context.ClientUserConfig),
      m_ReportObj(context.Params), m_Session(context.Session), m_MonitorId(monitorId),
      m_CounterId(counterId), m_Monitor(context.ProductConfig, context.UserConfig) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                            Qt::WindowMaximizeButtonHint;
    if (withMinimizeButton != 0) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    setWindowFlags(flags);
    setWindowTitle(QStringLiteral("Counter Dialog"));
    setWindowIcon(SCA_IconEngine::Load(QStringLiteral(":/images/korva_16px.png")));
    setSizeGripEnabled(true);

    auto* layout = new QVBoxLayout(this);
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setChildrenCollapsible(false);
    m_Gauge = new SCA_GaugeFrame(splitter, m_UserConfig, SCA_GAUGE_NEEDLE, SCA_FRAME_AUTO_RANGE,
                                 SCA_FRAME_TITLE | SCA_FRAME_SCALE | SCA_FRAME_STATISTICS);
    m_Gauge->SetTitle(SCA_REP_STATUS_MESSAGE, "Gauge");
    m_Chart = new SCA_ChartFrame(splitter, m_UserConfig, SCA_FRAME_AUTO_RANGE,
                                 SCA_FRAME_TITLE | SCA_FRAME_SCALE | SCA_FRAME_STATISTICS);
    m_Chart->SetTitle(SCA_REP_STATUS_MESSAGE, "Chart");
    // The chart's statistics line is the longer one: it gets the room.
    splitter->setSizes({kGaugeWidth, kWidth - kGaugeWidth});
    layout->addWidget(splitter, 1);

    auto* line = new QFrame(this);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    line->setFixedHeight(kLineHeight);
    layout->addWidget(line, 0);

    auto* row = new QHBoxLayout();
    m_SaveButton = BottomButton(this, QStringLiteral("Save"));
    m_SaveButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_SaveButton->setIcon(SCA_IconEngine::Load(QStringLiteral(":/images/save_16px.png")));
    m_SaveButton->setIconSize(QSize(kSmallIcon, kSmallIcon));
    m_CloseButton = BottomButton(this, QStringLiteral("Close"));
    row->addWidget(m_SaveButton);
    row->addStretch(1);
    row->addWidget(m_CloseButton);
    layout->addLayout(row);

    resize(kWidth, kHeight);
    setMinimumSize(kMinWidth, kMinHeight);
    m_CloseButton->setFocus();
    connect(m_Chart, &SCA_ChartFrame::ViewModeChanged, this,
            &SCA_SrvCounterDlg::ChartViewModeChanged);
    connect(m_SaveButton, &QToolButton::clicked, this, &SCA_SrvCounterDlg::SaveReport);
    connect(m_CloseButton, &QToolButton::clicked, this, &QDialog::accept);
}

SCA_SrvCounterDlg::~SCA_SrvCounterDlg() {
    StopProcess();
}

int SCA_SrvCounterDlg::StartProcess() {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    if (!m_Session->Command([this](SCA_KorvantaInterface& client) {
            return client.GetMonitor(m_MonitorId, &m_Monitor);
        })) {
        report(SCA_LEVEL_ERROR, "SCA_SrvCounterDlg::StartProcess: cannot get monitor - %u",
               m_MonitorId);
        return 0;
    }
    uint32_t type = 0;
    uint32_t countersStatusId = 0;
    if (!m_Session->Command([&](SCA_KorvantaInterface& client) {
            return client.GetMonitorProfile(m_MonitorId, &type, &countersStatusId, &m_Profile);
        })) {
        report(SCA_LEVEL_ERROR, "SCA_SrvCounterDlg::StartProcess: cannot get monitor profile - %u",
               m_MonitorId);
        return 0;
    }
    SCA_TezCounterInfo* found = nullptr;
    if (!m_Profile.GetCounterList()->GetItem(m_CounterId, &found) ||
        !m_CounterInfo.SetContent(*found)) {
        report(SCA_LEVEL_ERROR,
               "SCA_SrvCounterDlg::StartProcess: invalid counter %u in monitor - %u", m_CounterId,
               m_MonitorId);
        return 0;
    }
    const char* description = SCA_TezGetCounterDescr(m_CounterInfo.GetCounterType());
    setWindowTitle(QStringLiteral("%1 - %2 - %3")
                       .arg(QString::fromUtf8(description),
                            QString::fromUtf8(m_Monitor.GetDescription()), ComputerName()));
    m_Gauge->SetTitle(SCA_REP_STATUS_MESSAGE, description);
    m_Chart->SetTitle(SCA_REP_STATUS_MESSAGE, description);
    if (!UpdateCounter(1)) {
        report(SCA_LEVEL_ERROR,
               "SCA_SrvCounterDlg::StartProcess: cannot get counter status - %u in monitor - %u",
               m_CounterId, m_MonitorId);
        return 0;
    }
    m_TimerId = startTimer(kTimerPeriodMs);
    if (m_TimerId == 0) {
        report(SCA_LEVEL_ERROR, "SCA_SrvCounterDlg::StartProcess: Cannot start update timer");
        return 0;
    }
    return 1;
}

QString SCA_SrvCounterDlg::ComputerName() {
    if (m_Monitor.IsRemoteMonitor()) {
        return QString::fromUtf8(m_Monitor.GetComputerName());
    }
    SCA_KorvantaInterface* client = m_Session->Client();
    if (client != nullptr && !client->IsLocalInterface()) {
        return QString::fromUtf8(client->GetName());
    }
    char host[kHostNameSize] = "";
    SCA_GetHostName(host, sizeof(host));
    return QString::fromUtf8(host);
}

int SCA_SrvCounterDlg::StopProcess() {
    if (m_TimerId > 0) {
        killTimer(m_TimerId);
    }
    m_TimerId = -1;
    return 1;
}

// What one poll asks for and brings.
struct SCA_SrvCounterDlg::CounterPoll {
    uint64_t Since = 0;
    uint32_t Count = 0;
    tagSCA_TEZ_COUNTER_STATUS Status{};
    std::vector<tagSCA_TEZ_SAMPLE> Samples;
};

SCA_SrvCounterDlg::CounterPoll SCA_SrvCounterDlg::NextPoll() const {
    CounterPoll poll;
    poll.Since = m_History.GetLastDataTime();
    poll.Count = SCA_LiveCounter::RangeOf(m_Chart);
    return poll;
}

int SCA_SrvCounterDlg::FetchPoll(SCA_KorvantaInterface& client, uint32_t monitorId,
                                 uint32_t counterId, CounterPoll& poll) {
    return client.GetCounterStatusEx(monitorId, counterId, poll.Since, poll.Count, &poll.Status,
                                     &poll.Samples);
}

int SCA_SrvCounterDlg::UpdateCounter(int redraw) {
    CounterPoll poll = NextPoll();
    if (!m_Session->Poll([&](SCA_KorvantaInterface& client) {
            return FetchPoll(client, m_MonitorId, m_CounterId, poll);
        })) {
        return 0;
    }
    ShowPoll(poll, redraw);
    return 1;
}

void SCA_SrvCounterDlg::ShowPoll(CounterPoll& poll, int redraw) {
    ++m_PollsShown;
    m_History.Add(poll.Samples);
    m_History.Show(m_Gauge, m_Chart, &poll.Status, redraw);
}

void SCA_SrvCounterDlg::AskUpdate() {
    const uint64_t shown = m_PollsShown;
    m_Session->Ask<CounterPoll>(
        this,
        [monitorId = m_MonitorId, counterId = m_CounterId,
         next = NextPoll()](SCA_KorvantaInterface& client, CounterPoll& poll) {
            poll = next;
            return FetchPoll(client, monitorId, counterId, poll);
        },
        [this, shown](int ok, CounterPoll& poll) {
            // A save's dialog is up, or a redraw showed a poll fetched after this one.
            if (m_Saving || m_TimerId <= 0 || shown != m_PollsShown) {
                return;
            }
            if (ok) {
                ShowPoll(poll, 0);
                return;
            }
            StopProcess();
            SCA_ShowMessageBox(this, SCA_LEVEL_INFO, QStringLiteral("Message"),
                               QStringLiteral("The selected monitor no longer exists."));
            reject();
        });
}

void SCA_SrvCounterDlg::timerEvent(QTimerEvent* event) {
    if (event == nullptr || event->timerId() != m_TimerId || m_TimerId <= 0) {
        QDialog::timerEvent(event);
        return;
    }
    if (!m_Saving && !m_Session->IsWaiting()) {
        AskUpdate();
    }
}

void SCA_SrvCounterDlg::ChartViewModeChanged() {
    m_History.Clear();
    UpdateCounter(1);
}

void SCA_SrvCounterDlg::SaveReport() {
    m_Saving = true;
    const QString description =
        QString::fromUtf8(SCA_TezGetCounterDescr(m_CounterInfo.GetCounterType()));
    SCA_MonitorReportSave save(this, m_Context, m_MonitorId);
    save.CounterId = m_CounterId;
    save.Caller = QStringLiteral("SCA_SrvCounterDlg::SaveReport");
    save.Caption = QStringLiteral("Save Monitor Report");
    save.Name =
        QStringLiteral("%1 - %2").arg(QString::fromUtf8(m_Monitor.GetDescription()), description);
    save.Title = QString::fromUtf8(m_UserConfig->GetDefaultReportTitle());
    save.SavedText = QStringLiteral("Monitor Report Saved");
    save.Run();
    m_Saving = false;
}
