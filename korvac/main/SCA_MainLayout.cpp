// SPDX-License-Identifier: MIT
#include "korvac/main/SCA_MainLayout.h"

#include <QLayout>
#include <QMainWindow>
#include <QToolBar>
#include <algorithm>
#include <cstdio>
#include <iterator>

#include "libmor/SCA_Report.h"
#include "libvop/SCA_IconEngine.h"

namespace {

// The tool bar's icons in button order.
constexpr const char* kToolBarIcons[] = {"connect", "add_dir", "del_dir", "play",
                                         "pause",   "clear",   "action",  "save",
                                         "reports", "options", "layouts", "help"};

struct LayoutParams {
    Qt::ToolButtonStyle Style;
    int IconSize;
    int Width;
    int Height;
    bool SideBar;
    bool MessagePane;
};

constexpr LayoutParams kLayouts[SCA_MainLayout::kLayoutCount] = {
    {Qt::ToolButtonTextUnderIcon, 32, 860, 640, true, true},
    {Qt::ToolButtonTextBesideIcon, 16, 800, 600, false, true},
    {Qt::ToolButtonIconOnly, 16, 640, 400, false, false},
};

} // namespace

SCA_MainLayout::SCA_MainLayout(QMainWindow* window) : QObject(window), m_Window(*window) {
    setObjectName(QStringLiteral("Layout"));
}

void SCA_MainLayout::Arrange(QToolBar* toolBar, QWidget* sideBar, QWidget* messagePane) {
    m_ToolBar = toolBar;
    m_SideBar = sideBar;
    m_MessagePane = messagePane;
}

int SCA_MainLayout::UpdateToolBarButtons(uint32_t layout) {
    if (layout >= kLayoutCount) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_SrvGui::UpdateToolBarButtons: Invalid GUI layout ID - %u",
            layout);
        return 0;
    }
    const char* suffix = layout == 0 ? "_32px.png" : "_16px.png";
    size_t next = 0;
    for (QAction* action : m_ToolBar->actions()) {
        if (action->isSeparator() || next >= std::size(kToolBarIcons)) {
            continue;
        }
        char name[64];
        std::snprintf(name, sizeof(name), "%s%s", kToolBarIcons[next], suffix);
        action->setIcon(
            SCA_IconEngine::Load(QStringLiteral(":/images/%1").arg(QLatin1String(name))));
        if (QWidget* widget = m_ToolBar->widgetForAction(action)) {
            widget->setMinimumWidth(layout == 0 ? (next < 7 ? 60 : 56) : 0);
        }
        ++next;
    }
    return 1;
}

int SCA_MainLayout::InitLayout(uint32_t layout) {
    m_CurrentLayout = layout;
    if (layout >= kLayoutCount) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_SrvGui::InitLayout: Invalid GUI layout - %u", layout);
        return 0;
    }
    const LayoutParams& params = kLayouts[layout];
    m_ToolBar->setToolButtonStyle(params.Style);
    m_ToolBar->setIconSize(QSize(params.IconSize, params.IconSize));
    UpdateToolBarButtons(layout);
    // Wide enough for every tool button: one hidden behind the overflow arrow is a command the
    // user cannot see (buttons with text beside their icon outgrow the layout's width).
    const int width = std::max(params.Width, ToolBarWidth());
    m_Window.setMinimumSize(width, params.Height);
    m_Window.resize(width, params.Height);
    m_SideBar->setVisible(params.SideBar);
    m_MessagePane->setVisible(params.MessagePane);
    return 1;
}

int SCA_MainLayout::ToolBarWidth() const {
    if (m_ToolBar == nullptr || m_ToolBar->isHidden()) {
        return 0;
    }
    // The buttons' new icons and style reach the layout's hint only once it is recomputed.
    m_ToolBar->layout()->invalidate();
    const QMargins margins = m_Window.contentsMargins();
    return m_ToolBar->sizeHint().width() + margins.left() + margins.right();
}

void SCA_MainLayout::SwitchLayout() {
    // A layout read from a configuration may be any number; whatever it is, the next one
    // starts the cycle again rather than stepping through invalid values forever.
    const uint32_t next = m_CurrentLayout + 1 < kLayoutCount ? m_CurrentLayout + 1 : 0;
    InitLayout(next);
}
