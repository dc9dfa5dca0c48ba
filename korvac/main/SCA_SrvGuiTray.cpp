// SPDX-License-Identifier: MIT
// The tray icon and the window's way back from it.
#include <QEvent>
#include <QMenu>
#include <QTimer>
#include <QWindowStateChangeEvent>

#include "korvac/main/SCA_SrvGui.h"
#include "libmor/SCA_String.h"
#include "libvop/SCA_IconEngine.h"

namespace {

constexpr int kHideDelayMs = 50;
constexpr int kBalloonMs = 2000;

const char* TrayIconName(uint32_t state) {
    switch (state) {
    case SCA_SrvGui::kTrayNoActive:
        return ":/images/systray_data_16px.png";
    case SCA_SrvGui::kTrayRunning:
    case SCA_SrvGui::kTrayReady:
        return ":/images/systray_ready_16px.png";
    case SCA_SrvGui::kTrayWarnings:
        return ":/images/systray_warning_16px.png";
    case SCA_SrvGui::kTrayErrors:
        return ":/images/systray_error_16px.png";
    default:
        return ":/images/systray_idle_16px.png";
    }
}

} // namespace

int SCA_SrvGui::SetSysTrayStatus(uint32_t state, const char* text) {
    m_TrayState = state;
    SCA_StrnCpy(m_TrayText, text != nullptr ? text : "", sizeof(m_TrayText));
    if (m_TrayIcon != nullptr) {
        UpdateSysTrayIcon();
    }
    return 1;
}

int SCA_SrvGui::UpdateSysTrayIcon() {
    if (m_TrayIcon == nullptr) {
        return 1;
    }
    m_TrayIcon->setIcon(SCA_IconEngine::Load(QString::fromLatin1(TrayIconName(m_TrayState))));
    m_TrayIcon->setToolTip(QString::fromUtf8(m_TrayText));
    if (m_ShowErrorsInTray && m_TrayState == kTrayErrors) {
        m_TrayIcon->showMessage(
            QString::fromUtf8(SCA_GetProductName(m_LocalConfig.GetProductType())),
            QString::fromUtf8(m_TrayText), QSystemTrayIcon::Critical, kBalloonMs);
    }
    return 1;
}

void SCA_SrvGui::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (!m_MinimizeToTray || event->type() != QEvent::WindowStateChange) {
        return;
    }
    m_OldWindowState =
        static_cast<uint32_t>(static_cast<QWindowStateChangeEvent*>(event)->oldState());
    // Without a notification area there is nothing to hide behind: the window minimises as
    // any other.
    if (m_TrayIcon == nullptr && (windowState() & Qt::WindowMinimized) &&
        QSystemTrayIcon::isSystemTrayAvailable()) {
        CreateSysTray();
    }
}

int SCA_SrvGui::CreateSysTray() {
    if (m_TrayIcon != nullptr) {
        return 0;
    }
    m_TrayIcon = new QSystemTrayIcon(this);
    connect(m_TrayIcon, &QSystemTrayIcon::activated, this, &SCA_SrvGui::TrayIconActivated);
    auto* menu = new QMenu(this);
    connect(menu->addAction(SCA_IconEngine::Load(QStringLiteral(":/images/korva_16px.png")),
                            QStringLiteral("Show Korvanta Client")),
            &QAction::triggered, this, &SCA_SrvGui::SysTrayShowWindow);
    menu->addSeparator();
    connect(menu->addAction(SCA_IconEngine::Load(QStringLiteral(":/images/close_16px.png")),
                            QStringLiteral("Quit")),
            &QAction::triggered, this, &SCA_SrvGui::Exit);
    // The menu goes with the icon.
    connect(m_TrayIcon, &QObject::destroyed, menu, &QObject::deleteLater);
    m_TrayIcon->setContextMenu(menu);
    UpdateSysTrayIcon();
    m_TrayIcon->setVisible(true);
    QTimer::singleShot(kHideDelayMs, this, [this]() {
        if (m_InTray) {
            hide();
        }
    });
    m_InTray = 1;
    return 1;
}

void SCA_SrvGui::RestoreShownState() {
    if (m_OldWindowState & Qt::WindowMaximized) {
        showMaximized();
    } else {
        showNormal();
    }
    activateWindow();
}

void SCA_SrvGui::SysTrayShowWindow() {
    if (m_TrayIcon == nullptr) {
        return;
    }
    RestoreShownState();
    // This runs inside the icon's own signal (a double click) or its menu's: the icon may be
    // deleted only once that signal has returned.
    m_TrayIcon->hide();
    m_TrayIcon->deleteLater();
    m_TrayIcon = nullptr;
    m_InTray = 0;
}

void SCA_SrvGui::TrayIconActivated(QSystemTrayIcon::ActivationReason reason) {
    if (m_TrayIcon != nullptr && reason == QSystemTrayIcon::DoubleClick) {
        SysTrayShowWindow();
    }
}

int SCA_SrvGui::ShowMainWindow() {
    if (m_TrayIcon != nullptr) {
        SysTrayShowWindow();
    } else {
        RestoreShownState();
    }
    raise();
    return 1;
}
