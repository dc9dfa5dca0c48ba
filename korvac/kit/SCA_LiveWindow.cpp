// SPDX-License-Identifier: MIT
#include "korvac/kit/SCA_LiveWindow.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QLabel>
#include <QTimerEvent>
#include <cstdarg>
#include <cstdio>

#include "korvac/kit/SCA_ClientSession.h"
#include "libmor/SCA_Report.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "libvop/SCA_ErrorListDlg.h"
#include "libvop/SCA_IconEngine.h"
#include "libvop/SCA_ModalHook.h"
#include "libvop/SCA_ToolButton.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezErrorList.h"

namespace {

constexpr int kTimerPeriodMs = 1000;
// A refresh asked for while one runs, or a counter chosen during one, is one more poll.
constexpr int kMaxPollsPerRefresh = 2;
constexpr int kLineHeight = 4;
constexpr int kSeparatorWidth = 6;
constexpr int kToolIconSize = 32;
constexpr int kCloseWidth = 58;

} // namespace

SCA_LiveWindow::SCA_LiveWindow(QWidget* parent, const SCA_WindowContext& context,
                               uint32_t monitorId, const char* windowName)
    : QDialog(parent), m_ProductConfig(context.ProductConfig), m_UserConfig(context.UserConfig),
      m_ClientUserConfig(context.ClientUserConfig), m_Params(context.Params),
      m_ConfigName(context.ConfigName), m_Session(context.Session), m_Host(context.Host),
      m_MonitorId(monitorId), m_WindowName(windowName) {
    setWindowIcon(SCA_IconEngine::Load(QStringLiteral(":/images/korva_16px.png")));
    setModal(true);
}

SCA_LiveWindow::~SCA_LiveWindow() {
    StopProcess();
}

SCA_WindowContext SCA_LiveWindow::Context() const {
    return {.ProductConfig = m_ProductConfig,
            .UserConfig = m_UserConfig,
            .ClientUserConfig = m_ClientUserConfig,
            .Params = m_Params,
            .ConfigName = m_ConfigName,
            .Session = m_Session,
            .Host = m_Host};
}

// --- the commands every live window has -----------------------------------------------------

void SCA_LiveWindow::AnswerFailure(const char* format, ...) {
    char text[sizeof(tagSCA_ERROR_DESCR::Text)] = "";
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof(text), format, arguments);
    va_end(arguments);
    m_Host->AnswerCommand(SCA_LEVEL_ERROR, text);
}

int SCA_LiveWindow::MonitorCommand(int (SCA_KorvantaInterface::*command)(uint32_t),
                                   const char* verb) {
    // The window's next poll shows the state the monitor is in.
    if (!m_Session->Command(
            [&](SCA_KorvantaInterface& client) { return (client.*command)(m_MonitorId); })) {
        AnswerFailure("Cannot %s monitor - %u", verb, m_MonitorId);
        return 0;
    }
    return 1;
}

void SCA_LiveWindow::StartMonitor() {
    if (MayStart() && MonitorCommand(&SCA_KorvantaInterface::StartMonitor, "start")) {
        MonitorStarted();
        UpdateStatus();
    }
}

void SCA_LiveWindow::PauseMonitor() {
    if (MonitorCommand(&SCA_KorvantaInterface::PauseMonitor, "pause")) {
        UpdateStatus();
    }
}

void SCA_LiveWindow::ResetMonitor() {
    if (MonitorCommand(&SCA_KorvantaInterface::ResetMonitor, "reset")) {
        MonitorReset();
        UpdateStatus();
    }
}

void SCA_LiveWindow::StopMonitor() {
    if (MonitorCommand(&SCA_KorvantaInterface::StopMonitor, "stop")) {
        UpdateStatus();
    }
}

void SCA_LiveWindow::ViewErrors() {
    const SCA_PollHold hold = HoldPolls();
    SCA_TezErrorList errors;
    if (!m_Session->Command([&](SCA_KorvantaInterface& client) {
            return client.GetMonitorErrors(m_MonitorId, &errors);
        })) {
        AnswerFailure("%s", ErrorsFetchFailedText());
        return;
    }
    SCA_ErrorListDlg dialog(this, &errors, nullptr, ErrorsTitle());
    if (dialog.FillDialog()) {
        SCA_ExecDialog(&dialog);
    }
}

void SCA_LiveWindow::SaveReport() {
    const SCA_PollHold hold = HoldPolls();
    SaveWindowReport();
}

// --- the polls -------------------------------------------------------------------------------

int SCA_LiveWindow::LoadMonitor(SCA_SrvMonitor* monitor) {
    if (!m_Session->Command([this, monitor](SCA_KorvantaInterface& client) {
            return client.GetMonitor(m_MonitorId, monitor);
        })) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "%s::StartProcess: cannot get monitor - %u",
                                                  m_WindowName, m_MonitorId);
        return 0;
    }
    setWindowTitle(QString::fromUtf8(monitor->GetDescription()));
    return 1;
}

int SCA_LiveWindow::StartTimer() {
    m_TimerId = startTimer(kTimerPeriodMs);
    if (m_TimerId == 0) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "%s::StartProcess: Cannot start update timer", m_WindowName);
        return 0;
    }
    return 1;
}

int SCA_LiveWindow::StopProcess() {
    if (m_TimerId > 0) {
        killTimer(m_TimerId);
    }
    m_TimerId = -1;
    return 1;
}

void SCA_LiveWindow::timerEvent(QTimerEvent* event) {
    if (event == nullptr || event->timerId() != m_TimerId || m_TimerId <= 0) {
        QDialog::timerEvent(event);
        return;
    }
    if (m_Holds == 0 && !m_Session->IsWaiting()) {
        AskUpdate();
    }
}

void SCA_LiveWindow::closeEvent(QCloseEvent* event) {
    StopProcess();
    event->accept();
}

int SCA_LiveWindow::UpdateStatus() {
    if (m_Polling) {
        m_PollAgain = true;
        return 1;
    }
    m_Polling = true;
    int result = 1;
    for (int poll = 0; poll < kMaxPollsPerRefresh && result; ++poll) {
        m_PollAgain = false;
        result = PollOnce();
        if (!m_PollAgain) {
            break;
        }
    }
    m_Polling = false;
    return result;
}

int SCA_LiveWindow::PollFailed() {
    const bool running = m_TimerId > 0;
    StopProcess();
    // A window that never opened has its opener's window to stand over.
    SCA_ShowMessageBox(running ? this : parentWidget(), SCA_LEVEL_INFO, QStringLiteral("Message"),
                       QStringLiteral("Cannot update monitor status."));
    if (running) {
        reject();
    }
    return 0;
}

// --- the frame -------------------------------------------------------------------------------

void SCA_LiveWindow::SetTitleBarButtons(QWidget* parent) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                            Qt::WindowMaximizeButtonHint;
    if (parent == nullptr) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    setWindowFlags(flags);
}

QVBoxLayout* SCA_LiveWindow::AddToolRow(const std::function<void(QHBoxLayout* row)>& fill) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addSpacing(2);
    layout->addWidget(Line(QFrame::HLine));
    layout->addSpacing(1);

    auto* row = new QHBoxLayout();
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addSpacing(2);
    fill(row);
    row->addWidget(Line(QFrame::VLine));
    QToolButton* close = AddToolButton(row, "Close", ":/images/close_32px.png", kCloseWidth);
    connect(close, &QToolButton::clicked, this, &QDialog::accept);
    row->addStretch(1);
    layout->addLayout(row);

    layout->addWidget(Line(QFrame::HLine));
    layout->addSpacing(3);
    return layout;
}

QFrame* SCA_LiveWindow::Line(QFrame::Shape shape) {
    auto* line = new QFrame(this);
    line->setFrameStyle(shape | QFrame::Sunken);
    if (shape == QFrame::HLine) {
        line->setFixedHeight(kLineHeight);
    } else {
        line->setFixedWidth(kSeparatorWidth);
    }
    return line;
}

QToolButton* SCA_LiveWindow::AddToolButton(QBoxLayout* row, const char* text, const char* icon,
                                           int minWidth) {
    auto* button = new SCA_ToolButton(this);
    button->setAutoRaise(true);
    button->setText(QString::fromLatin1(text));
    button->setIcon(SCA_IconEngine::Load(QString::fromLatin1(icon)));
    button->setIconSize(QSize(kToolIconSize, kToolIconSize));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setMinimumWidth(minWidth);
    row->addWidget(button);
    return button;
}

QLabel* SCA_LiveWindow::StatusLabel(QWidget* parent, int width, int indent, const QString& text) {
    auto* label = new QLabel(text, parent);
    if (width > 0) {
        label->setFixedSize(width, kStatusHeight);
    } else {
        label->setFixedHeight(kStatusHeight);
    }
    label->setIndent(indent);
    return label;
}
