// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QSystemTrayIcon>
#include <cstdint>

class QEvent;
class QWidget;
class SCA_TezConfig;

// The main window's tray icon: the service's state as an icon and a tool tip, and the window's
// way into the tray when minimised (where the user asked for it) and back out.
class SCA_SysTray : public QObject {
    Q_OBJECT
public:
    // The tray states.
    static constexpr uint32_t kNoActive = 0;
    static constexpr uint32_t kRunning = 1;
    static constexpr uint32_t kReady = 3;
    static constexpr uint32_t kWarnings = 4;
    static constexpr uint32_t kErrors = 5;
    static constexpr uint32_t kDisconnected = 7;

    // window is the one hidden in the tray; the balloon names the product of localConfig.
    SCA_SysTray(QWidget* window, SCA_TezConfig* localConfig);
    ~SCA_SysTray() override;

    // The state and its text, shown at once by an icon that is there, else when it comes. 1.
    int SetStatus(uint32_t state, const char* text);
    // Shows the icon and hides the window behind it; 0 when the icon is already there.
    int Create();
    void SetOptions(bool minimizeToTray, bool showErrors);
    // The window's state changed: minimised, it goes into the tray where the user asked.
    void WindowStateChanged(QEvent* event);
    // Brings the window back from the tray or from minimised, as it was before.
    void ShowWindow();

    QSystemTrayIcon* Icon() const { return m_Icon; }
    uint32_t State() const { return m_State; }
    const char* Text() const { return m_Text; }
    bool IsInTray() const { return m_InTray; }

public slots:
    void Activated(QSystemTrayIcon::ActivationReason reason);
    void ShowWindowFromTray();

signals:
    // "Quit" of the icon's menu.
    void QuitAsked();

private:
    void RestoreShownState();
    // The icon and tool tip of the state; the icon is there.
    void ShowState();
    void ShowErrorBalloon();

    QWidget* m_Window;
    SCA_TezConfig* m_LocalConfig;
    bool m_InTray = false;
    bool m_MinimizeToTray = false;
    bool m_ShowErrors = true;
    uint32_t m_OldWindowState = 0;
    QSystemTrayIcon* m_Icon = nullptr;
    uint32_t m_State = kReady;
    char m_Text[256] = "Korvanta Client";
};
