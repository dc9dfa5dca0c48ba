// SPDX-License-Identifier: MIT
#include "libvop/SCA_ProgressDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTimerEvent>
#include <QVBoxLayout>
#include <algorithm>

#include "libmor/SCA_Event.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_ThreadObj.h"
#include "model/SCA_ProgressObj.h"
#include "model/SCA_TezProcessStatus.h"

namespace {

constexpr int kPollMs = 100;
constexpr uint32_t kFullProgress = 100;
constexpr uint32_t kStatusSize = 256;

} // namespace

SCA_ProgressDlg::SCA_ProgressDlg(QWidget* parent, SCA_ProgressObj* job, const QString& title,
                                 uint32_t cancelButton, uint32_t autoClose, int width)
    : QDialog(parent), m_Job(job), m_AutoClose(autoClose != 0), m_Bar(new QProgressBar(this)),
      m_Status(new QLabel(this)), m_Button(new QPushButton(QStringLiteral("Cancel"), this)) {
    setWindowTitle(title);
    setModal(true);
    m_Bar->setRange(0, static_cast<int>(kFullProgress));
    m_Bar->setValue(0);
    m_Status->setText(QStringLiteral("Starting ..."));
    m_Status->setTextFormat(Qt::PlainText);
    m_Button->setVisible(cancelButton != 0);
    connect(m_Button, &QPushButton::clicked, this, [this] {
        if (m_Ended >= 0) {
            done(m_Ended);
        } else {
            reject();
        }
    });
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(m_Button);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_Status);
    layout->addWidget(m_Bar);
    layout->addLayout(row);
    if (width > 0) {
        setFixedWidth(width);
    }
}

SCA_ProgressDlg::~SCA_ProgressDlg() {
    if (m_TimerId != 0) {
        killTimer(m_TimerId);
    }
}

int SCA_ProgressDlg::StartProcess() {
    if (m_Job == nullptr) {
        return 0;
    }
    m_TimerId = startTimer(kPollMs);
    if (m_TimerId == 0) {
        return 0;
    }
    Poll();
    return 1;
}

void SCA_ProgressDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // A job that ended before the dialog was shown (a quick job, or a slow machine between
    // StartProcess and exec) was done() before exec() started, which exec() forgets: end again
    // from inside exec's loop.
    if (m_AutoClose && m_Ended >= 0) {
        QMetaObject::invokeMethod(
            this, [this] { done(m_Ended); }, Qt::QueuedConnection);
    }
}

void SCA_ProgressDlg::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_TimerId) {
        Poll();
    }
}

void SCA_ProgressDlg::Poll() {
    if (m_Job == nullptr || m_Ended >= 0) {
        return;
    }
    // The state first: the progress and text read after it are at least as new.
    const uint32_t state = m_Job->GetProcessStatus();
    const uint32_t progress = std::min(m_Job->GetProgress(), kFullProgress);
    m_Bar->setValue(static_cast<int>(progress));
    char status[kStatusSize];
    SCA_StrnCpy(status, m_Job->GetStatusString(), sizeof(status));
    if (status[0] != '\0') {
        m_Status->setText(QString::fromUtf8(status));
    }
    switch (state) {
    case SCA_PROCESS_STOPPED:
        m_Bar->setValue(static_cast<int>(kFullProgress));
        Finish(QDialog::Accepted);
        break;
    case SCA_PROCESS_FAILED:
        Finish(QDialog::Rejected);
        break;
    default:
        break;
    }
}

void SCA_ProgressDlg::Finish(int result) {
    killTimer(m_TimerId);
    m_TimerId = 0;
    m_Ended = result;
    if (m_AutoClose) {
        done(result);
        return;
    }
    m_Button->setText(QStringLiteral("Close"));
    m_Button->setVisible(true);
}

void SCA_ProgressDlg::reject() {
    if (m_Ended >= 0) {
        done(m_Ended);
        return;
    }
    // A job that runs on a thread is asked to stop now; the caller's StopAll waits for it.
    if (auto* thread = dynamic_cast<SCA_ThreadObj*>(m_Job);
        thread != nullptr && thread->GetStopEvent() != nullptr) {
        thread->GetStopEvent()->Set();
    }
    if (m_TimerId != 0) {
        killTimer(m_TimerId);
        m_TimerId = 0;
    }
    QDialog::reject();
}
