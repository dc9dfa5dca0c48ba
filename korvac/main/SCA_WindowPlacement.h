// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class QRect;
class QScreen;
class QWidget;
class SCA_TezConfigUser;

// Where the main window stands: its geometry written to the client configuration as text
// ("<x> <y> <width> <height> <screen>" or "Maximized <screen>") and read back at the next
// start, on the screen it was on.
class SCA_WindowPlacement : public QObject {
    Q_OBJECT
public:
    // window is the one placed; its geometry lives in userConfig.
    SCA_WindowPlacement(QWidget* window, SCA_TezConfigUser* userConfig);

    int SaveWindowGeometry();
    int RestoreWindowGeometry(int* maximise);
    // Restores the saved geometry, else centres the window on the primary screen (or places it
    // at that screen's corner and asks for maximising when it does not fit).
    void RestoreOrCentre(int* maximise);
    // What the window keeps when it goes: the layout (where the user asked for it) and its
    // geometry.
    void SaveWindowState(uint32_t layout);

private:
    // The screen with that number, or the primary screen for a number that no screen has.
    static QScreen* ScreenByNumber(long number);
    int ScreenNumberOf() const;
    void CentreOn(const QRect& area, int* maximise);

    QWidget& m_Window;
    SCA_TezConfigUser& m_UserConfig;
};
