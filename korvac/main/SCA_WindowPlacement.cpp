// SPDX-License-Identifier: MIT
#include "korvac/main/SCA_WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "libmor/SCA_String.h"
#include "model/SCA_TezConfigUser.h"

SCA_WindowPlacement::SCA_WindowPlacement(QWidget* window, SCA_TezConfigUser* userConfig)
    : QObject(window), m_Window(*window), m_UserConfig(*userConfig) {
    setObjectName(QStringLiteral("WindowPlacement"));
}

QScreen* SCA_WindowPlacement::ScreenByNumber(long number) {
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (number >= 0 && number < screens.size()) {
        return screens.at(static_cast<int>(number));
    }
    return QGuiApplication::primaryScreen();
}

int SCA_WindowPlacement::ScreenNumberOf() const {
    const QList<QScreen*> screens = QGuiApplication::screens();
    const int index = screens.indexOf(m_Window.screen());
    return index >= 0 ? index : 0;
}

int SCA_WindowPlacement::SaveWindowGeometry() {
    char text[256];
    if (m_Window.isMaximized()) {
        std::snprintf(text, sizeof(text), "Maximized %d", ScreenNumberOf());
    } else {
        const QPoint corner = m_Window.mapToGlobal(QPoint(0, 0));
        std::snprintf(text, sizeof(text), "%d %d %d %d %d", corner.x(), corner.y(),
                      m_Window.width(), m_Window.height(), ScreenNumberOf());
    }
    m_UserConfig.SetGuiGeometry(text);
    return 1;
}

void SCA_WindowPlacement::CentreOn(const QRect& area, int* maximise) {
    const int width = m_Window.width();
    const int height = m_Window.height();
    if (width < area.width() && height < area.height()) {
        m_Window.move(area.width() / 2 - width / 2 + area.left(),
                      area.height() / 2 - height / 2 + area.top());
    } else {
        m_Window.move(area.topLeft());
        *maximise = 1;
    }
}

int SCA_WindowPlacement::RestoreWindowGeometry(int* maximise) {
    *maximise = 0;
    const char* text = m_UserConfig.GetGuiGeometry();
    if (text == nullptr || text[0] == '\0') {
        return 0;
    }
    char tokens[5][256] = {};
    uint32_t position = 0;
    int count = 0;
    while (count < 5 && SCA_GetToken1(text, &position, tokens[count], sizeof(tokens[count]))) {
        ++count;
    }
    if (count >= 1 && std::strcmp(tokens[0], "Maximized") == 0) {
        QScreen* target = ScreenByNumber(count >= 2 ? std::atol(tokens[1]) : -1);
        if (target == nullptr) {
            return 0;
        }
        const QRect area = target->availableGeometry();
        CentreOn(area, maximise);
        *maximise = 1;
        return 1;
    }
    if (count < 4) {
        return 0;
    }
    const long x = std::atol(tokens[0]);
    const long y = std::atol(tokens[1]);
    const long w = std::atol(tokens[2]);
    const long h = std::atol(tokens[3]);
    QScreen* target = ScreenByNumber(count >= 5 ? std::atol(tokens[4]) : -1);
    if (target == nullptr || w <= 0 || h <= 0) {
        return 0;
    }
    const QRect area = target->availableGeometry();
    if (!area.contains(QPoint(static_cast<int>(x), static_cast<int>(y))) || area.width() < w ||
        area.height() < h) {
        return 0;
    }
    m_Window.setGeometry(static_cast<int>(x), static_cast<int>(y), static_cast<int>(w),
                         static_cast<int>(h));
    return 1;
}

void SCA_WindowPlacement::RestoreOrCentre(int* maximise) {
    *maximise = 0;
    if (RestoreWindowGeometry(maximise)) {
        return;
    }
    QScreen* primary = QGuiApplication::primaryScreen();
    if (primary != nullptr) {
        CentreOn(primary->availableGeometry(), maximise);
    }
}

void SCA_WindowPlacement::SaveWindowState(uint32_t layout) {
    if (m_UserConfig.GetAdvancedOption(SCA_OPTION_SAVE_LAST_GUI_LAYOUT)) {
        m_UserConfig.SetLayoutId(layout);
    }
    SaveWindowGeometry();
}
