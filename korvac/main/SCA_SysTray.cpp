// SPDX-License-Identifier: MIT
#include "korvac/main/SCA_SysTray.h"

#include <QEvent>
#include <QMenu>
#include <QTimer>
#include <QWidget>
#include <QWindowStateChangeEvent>
#include <cstring>

#include "libmor/SCA_String.h"
#include "libvop/SCA_IconEngine.h"
#include "model/SCA_TezConfig.h"

namespace {

constexpr int kHideDelayMs = 50;
constexpr int kBalloonMs = 2000;

const char* TrayIconName(uint32_t state) {
    switch (state) {
    case SCA_SysTray::kNoActive:
        return ":/images/systray_data_16px.png";
    case SCA_SysTray::kRunning:
    case SCA_SysTray::kReady:
        return ":/images/systray_ready_16px.png";
    case SCA_SysTray::kWarnings:
        return ":/images/systray_warning_16px.png";
    case SCA_SysTray::kErrors:
        return ":/images/systray_error_16px.png";
    default:
        return ":/images/systray_idle_16px.png";
    }
}

} // namespace

SCA_SysTray::SCA_SysTray(QWidget* window, SCA_TezConfig* localConfig)
    : QObject(window), m_Window(window), m_LocalConfig(localConfig) {
    setObjectName(QStringLiteral("SysTray"));
}

SCA_SysTray::~SCA_SysTray() {
    delete m_Icon;
    m_Icon = nullptr;
}

int SCA_SysTray::SetStatus(uint32_t state, const char* text) {
    char shown[sizeof(m_Text)];
    SCA_StrnCpy(shown, text != nullptr ? text : "", sizeof(shown));
    // Every poll says the state again: the icon is loaded and the tip set only when they
    // change.
    const bool changed = state != m_State || std::strcmp(shown, m_Text) != 0;
    m_State = state;
    std::memcpy(m_Text, shown, sizeof(m_Text));
    if (m_Icon == nullptr) {
        return 1;
    }
    if (changed) {
        ShowState();
    }
    ShowErrorBalloon();
    return 1;
}

void SCA_SysTray::SetOptions(bool minimizeToTray, bool showErrors) {
    m_MinimizeToTray = minimizeToTray;
    m_ShowErrors = showErrors;
}

void SCA_SysTray::ShowState() {
    m_Icon->setIcon(SCA_IconEngine::Load(QString::fromLatin1(TrayIconName(m_State))));
    m_Icon->setToolTip(QString::fromUtf8(m_Text));
}

// Again at each status that says errors, while the user wants to hear of them.
void SCA_SysTray::ShowErrorBalloon() {
    if (m_ShowErrors && m_State == kErrors) {
        m_Icon->showMessage(QString::fromUtf8(SCA_GetProductName(m_LocalConfig->GetProductType())),
                            QString::fromUtf8(m_Text), QSystemTrayIcon::Critical, kBalloonMs);
    }
}

void SCA_SysTray::WindowStateChanged(QEvent* event) {
    if (!m_MinimizeToTray || event->type() != QEvent::WindowStateChange) {
        return;
    }
    m_OldWindowState =
        static_cast<uint32_t>(static_cast<QWindowStateChangeEvent*>(event)->oldState());
    // Without a notification area there is nothing to hide behind: the window minimises as
    // any other.
    if (m_Icon == nullptr && (m_Window->windowState() & Qt::WindowMinimized) &&
        QSystemTrayIcon::isSystemTrayAvailable()) {
        Create();
    }
}

int SCA_SysTray::Create() {
    if (m_Icon != nullptr) {
        return 0;
    }
    m_Icon = new QSystemTrayIcon(m_Window);
    connect(m_Icon, &QSystemTrayIcon::activated, this, &SCA_SysTray::Activated);
    auto* menu = new QMenu(m_Window);
    connect(menu->addAction(SCA_IconEngine::Load(QStringLiteral(":/images/korva_16px.png")),
                            QStringLiteral("Show Korvanta Client")),
            &QAction::triggered, this, &SCA_SysTray::ShowWindowFromTray);
    menu->addSeparator();
    connect(menu->addAction(SCA_IconEngine::Load(QStringLiteral(":/images/close_16px.png")),
                            QStringLiteral("Quit")),
            &QAction::triggered, this, &SCA_SysTray::QuitAsked);
    // The menu goes with the icon.
    connect(m_Icon, &QObject::destroyed, menu, &QObject::deleteLater);
    m_Icon->setContextMenu(menu);
    ShowState();
    ShowErrorBalloon();
    m_Icon->setVisible(true);
    QTimer::singleShot(kHideDelayMs, this, [this]() {
        if (m_InTray) {
            m_Window->hide();
        }
    });
    m_InTray = true;
    return 1;
}

void SCA_SysTray::RestoreShownState() {
    if (m_OldWindowState & Qt::WindowMaximized) {
        m_Window->showMaximized();
    } else {
        m_Window->showNormal();
    }
    m_Window->activateWindow();
}

void SCA_SysTray::ShowWindowFromTray() {
    if (m_Icon == nullptr) {
        return;
    }
    RestoreShownState();
    // This runs inside the icon's own signal (a double click) or its menu's: the icon may be
    // deleted only once that signal has returned.
    m_Icon->hide();
    m_Icon->deleteLater();
    m_Icon = nullptr;
    m_InTray = false;
}

void SCA_SysTray::Activated(QSystemTrayIcon::ActivationReason reason) {
    if (m_Icon != nullptr && reason == QSystemTrayIcon::DoubleClick) {
        ShowWindowFromTray();
    }
}

void SCA_SysTray::ShowWindow() {
    if (m_Icon != nullptr) {
        ShowWindowFromTray();
    } else {
        RestoreShownState();
    }
}
