// SPDX-License-Identifier: MIT
// The main window's 500 ms timer, the badge of unseen errors, and what the window shows as a
// connection starts and ends.
#include <QLabel>
#include <QStringList>
#include <QToolButton>
#include <cstdio>

#include "korvac/main/SCA_MainConnection.h"
#include "korvac/main/SCA_MainStatusPoll.h"
#include "korvac/main/SCA_MonitorsView.h"
#include "korvac/main/SCA_ProductUpdateCheck.h"
#include "korvac/main/SCA_SideBar.h"
#include "korvac/main/SCA_SrvGui.h"
#include "korvac/main/SCA_SrvLogView.h"
#include "korvac/main/SCA_SysTray.h"
#include "libvop/SCA_StatusIcon.h"
#include "libvop/SCA_TreeRows.h"

void SCA_SrvGui::Tick() {
    UpdateErrorBadge();
    m_UpdateCheck->Collect();
    // A call in flight holds the tick: the next one polls again.
    if (m_UpdateLock >= 1 || m_Session->IsWaiting()) {
        return;
    }
    if (m_Session->IsConnected() && m_TickCount % 2 == 0) {
        m_Poll->AskStatus();
    }
    m_Connection->Tick(m_TickCount);
    ++m_TickCount;
}

void SCA_SrvGui::UpdateErrorBadge() {
    if (m_ErrorBadge == nullptr) {
        return;
    }
    const uint32_t errors = m_ClientLog.GetErrorCount();
    const uint32_t unseen = errors > m_SeenErrorCount ? errors - m_SeenErrorCount : 0;
    if (unseen == 0) {
        m_ErrorBadge->hide();
        return;
    }
    m_ErrorBadge->setText(SCA_MonitorsView::CountText(unseen, "error", "errors"));
    m_ErrorBadge->show();
}

void SCA_SrvGui::ShowErrorsSince(uint32_t errorCount) {
    const uint32_t errors = m_ClientLog.GetErrorCount();
    if (errors <= errorCount) {
        return;
    }
    uint32_t wanted = errors - errorCount;
    QStringList texts;
    for (uint32_t position = m_ClientLog.GetMessageCount(); position > 0 && wanted > 0;
         --position) {
        tagSCA_ERROR_DESCR* message = nullptr;
        if (m_ClientLog.GetMessageByPos(position - 1, &message) &&
            message->Level == SCA_LEVEL_ERROR) {
            texts.prepend(QString::fromUtf8(message->Text));
            --wanted;
        }
    }
    // Errors that waited for the console before the command keep waiting.
    m_SeenErrorCount += errors - errorCount;
    UpdateErrorBadge();
    ShowMessage(this, SCA_LEVEL_ERROR, texts.join(QLatin1Char('\n')).toUtf8().constData());
}

void SCA_SrvGui::ShowConnected(const QByteArray& user, const QByteArray& host) {
    m_StatusIcon->SetStatus(SCA_STATUS_ICON_CONNECTED);
    m_StatusLabel->setText(QStringLiteral("Connected To: %1@%2")
                               .arg(QString::fromUtf8(user), QString::fromUtf8(host)));
    char trayText[600];
    std::snprintf(trayText, sizeof(trayText), "Korvanta Client - Connected To: %s@%s",
                  user.constData(), host.constData());
    m_Tray->SetStatus(SCA_SysTray::kReady, trayText);
    m_Poll->Restart();
    m_LogView->ResetView();
    m_UpdateCheck->Start();
}

void SCA_SrvGui::ResetDisconnected() {
    m_UpdateCheck->Cancel();
    if (m_StatusIcon != nullptr) {
        m_StatusIcon->SetStatus(SCA_STATUS_ICON_OFF);
        m_StatusLabel->setText(m_Connection->DisconnectedText());
    }
    if (m_SideBar != nullptr) {
        m_SideBar->ResetStatus();
    }
    m_Tray->SetStatus(SCA_SysTray::kDisconnected, "Korvanta Client - Disconnected");
    if (m_MonitorsView != nullptr) {
        m_MonitorsView->Rows()->Clear();
    }
    if (m_LogView != nullptr) {
        m_LogView->ResetView();
    }
    m_Poll->Forget();
}
