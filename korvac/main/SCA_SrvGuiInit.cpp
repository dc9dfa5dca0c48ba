// SPDX-License-Identifier: MIT
// The main window's widgets: menu bar, tool bar, status bar, panes and the three layouts.
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <cstdio>

#include "korvac/kit/SCA_LiveWindow.h"
#include "korvac/main/SCA_AddMonitorCommands.h"
#include "korvac/main/SCA_MonitorsView.h"
#include "korvac/main/SCA_SideBar.h"
#include "korvac/main/SCA_SrvConnectView.h"
#include "korvac/main/SCA_SrvGui.h"
#include "korvac/main/SCA_SrvLogView.h"
#include "libvop/SCA_IconEngine.h"
#include "libvop/SCA_StatusIcon.h"
#include "libvop/SCA_StatusList.h"
#include "libvop/SCA_TreeRows.h"

namespace {

constexpr char kUpdateButtonStyle[] =
    "QToolButton { color: #706050; font-weight: bold; border: 1px solid #B0A890; border-radius: "
    "1px; background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0.0 #fff0d0, stop: "
    "0.4 #f0e080, stop: 0.6 #f0e080, stop: 1.0 #fff0d0); } QToolButton:hover { "
    "background-color: #f8f0d0; }";

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

constexpr LayoutParams kLayouts[SCA_SrvGui::kLayoutCount] = {
    {Qt::ToolButtonTextUnderIcon, 32, 860, 640, true, true},
    {Qt::ToolButtonTextBesideIcon, 16, 800, 600, false, true},
    {Qt::ToolButtonIconOnly, 16, 640, 400, false, false},
};

QIcon ImageIcon(const char* name) {
    return SCA_IconEngine::Load(QStringLiteral(":/images/%1").arg(QLatin1String(name)));
}

} // namespace

void SCA_SrvGui::ConnectCommand(QAction* action, void (SCA_SrvGui::*slot)()) {
    connect(action, &QAction::triggered, this, slot);
    const char* address = slot == &SCA_SrvGui::OnlineHelp       ? m_LocalConfig.GetOnlineHelpUrl()
                          : slot == &SCA_SrvGui::ReleaseNotes   ? m_LocalConfig.GetReleaseNotesUrl()
                          : slot == &SCA_SrvGui::ProductWebPage ? m_LocalConfig.GetProductPageUrl()
                                                                : nullptr;
    if (address != nullptr && address[0] == '\0') {
        action->setEnabled(false);
        action->setToolTip(action->toolTip() + QStringLiteral(" - no address is set"));
    }
}

namespace {

// A menu whose every entry is disabled is disabled itself, with the entries' reason.
void DisableWhenEmpty(QAction* opener, QMenu* menu) {
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator() && action->isEnabled()) {
            return;
        }
    }
    opener->setEnabled(false);
    opener->setToolTip(opener->toolTip() + QStringLiteral(" - ") +
                       QLatin1String(SCA_LiveWindow::kNotAvailableText));
}

} // namespace

int SCA_SrvGui::BuildUi() {
    BuildMenuBar();
    BuildToolBar();

    m_StatusIcon = new SCA_StatusIcon(statusBar(), 18, 2);
    m_StatusIcon->setObjectName(QStringLiteral("StatusIcon"));
    m_StatusIcon->SetStatus(SCA_STATUS_ICON_OFF);
    statusBar()->addWidget(m_StatusIcon);
    m_StatusLabel = new QLabel(statusBar());
    m_StatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    m_StatusLabel->setFixedHeight(18);
    m_StatusLabel->setIndent(4);
    m_StatusLabel->setText(m_DisconnectedText);
    statusBar()->addWidget(m_StatusLabel, 1);
    // Errors the user did not ask about wait here; a click shows them.
    m_ErrorBadge = new QToolButton(statusBar());
    m_ErrorBadge->setObjectName(QStringLiteral("ErrorBadge"));
    m_ErrorBadge->setAutoRaise(true);
    m_ErrorBadge->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_ErrorBadge->setIcon(ImageIcon("error_16px.png"));
    m_ErrorBadge->setIconSize(QSize(16, 16));
    m_ErrorBadge->setToolTip(QStringLiteral("Open the Message Console"));
    connect(m_ErrorBadge, &QToolButton::clicked, this, &SCA_SrvGui::ViewMessageConsole);
    statusBar()->addPermanentWidget(m_ErrorBadge);
    m_ErrorBadge->hide();

    auto* mainSplitter = new QSplitter(Qt::Vertical, this);
    setCentralWidget(mainSplitter);
    auto* topSplitter = new QSplitter(Qt::Horizontal, mainSplitter);
    m_SideBar = new SCA_SideBar(topSplitter, &m_UserConfig);
    SCA_SrvConnectView* servers = m_SideBar->GetConnectView();
    connect(servers, &SCA_SrvConnectView::HostChosen, this,
            [this](const QByteArray& host) { ConnectToHost(host.constData()); });
    connect(servers, &SCA_SrvConnectView::ConnectAsked, this, &SCA_SrvGui::ConnectToServer);
    connect(servers, &SCA_SrvConnectView::OrderChanged, this,
            [this, servers]() { servers->Refresh(m_ConnectedHost); });
    m_MonitorsView = new SCA_MonitorsView(m_Session, topSplitter);
    connect(m_MonitorsView, &SCA_MonitorsView::MenuAsked, this,
            &SCA_SrvGui::BuildMonitorContextMenu);
    connect(m_MonitorsView, &QTreeWidget::itemDoubleClicked, this,
            &SCA_SrvGui::MonitorDoubleClicked);
    connect(m_MonitorsView, &SCA_MonitorsView::OpenRequested, this,
            qOverload<>(&SCA_SrvGui::ViewMonitor));
    connect(m_MonitorsView, &SCA_MonitorsView::DeleteRequested, this, &SCA_SrvGui::DeleteMonitor);
    m_LogView = new SCA_SrvLogView(mainSplitter);
    connect(m_LogView, &SCA_SrvLogView::ClearLog, this, &SCA_SrvGui::ClearServerDebugLog);

    mainSplitter->setSizes({400, 160});
    topSplitter->setSizes({100, 434});
    SetTabOrder();
    mainSplitter->setFocus(Qt::OtherFocusReason);
    return 1;
}

void SCA_SrvGui::SetTabOrder() {
    // Tab goes as the eye does: the tool bar's buttons left to right, the side bar top down,
    // the monitors, the log.
    QList<QWidget*> order;
    for (QAction* action : m_ToolBar->actions()) {
        if (QWidget* button = m_ToolBar->widgetForAction(action)) {
            button->setFocusPolicy(Qt::TabFocus);
            order.append(button);
        }
    }
    for (QWidget* pane : std::initializer_list<QWidget*>{
             m_SideBar->GetStatusList(), m_SideBar->GetConnectView(), m_MonitorsView, m_LogView}) {
        pane->setFocusPolicy(Qt::StrongFocus);
        order.append(pane);
    }
    for (qsizetype index = 1; index < order.size(); ++index) {
        setTabOrder(order[index - 1], order[index]);
    }
}

void SCA_SrvGui::BuildMenuBar() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
    ConnectCommand(
        SCA_MainCommandContext::AddMenuAction(file, "Export Configuration ...", "save_16px.png"),
        &SCA_SrvGui::ExportConfiguration);
    ConnectCommand(SCA_MainCommandContext::AddMenuAction(file, "Import Configuration ...", nullptr),
                   &SCA_SrvGui::ImportConfiguration);
    file->addSeparator();
    ConnectCommand(SCA_MainCommandContext::AddMenuAction(file, "Exit Korvanta", "close_16px.png"),
                   &SCA_SrvGui::Exit);

    QMenu* monitor = menuBar()->addMenu(QStringLiteral("Monitor"));
    QMenu* add = monitor->addMenu(ImageIcon("add_16px.png"), QStringLiteral("Add Monitor"));
    m_AddCommands->BuildMenu(add);
    DisableWhenEmpty(add->menuAction(), add);
    monitor->addSeparator();
    ConnectCommand(SCA_MainCommandContext::AddMenuAction(monitor, "Start Monitor", "play_16px.png"),
                   &SCA_SrvGui::StartMonitor);
    ConnectCommand(
        SCA_MainCommandContext::AddMenuAction(monitor, "Pause Monitor", "pause_16px.png"),
        &SCA_SrvGui::PauseMonitor);
    ConnectCommand(
        SCA_MainCommandContext::AddMenuAction(monitor, "Reset Monitor", "clear_16px.png"),
        &SCA_SrvGui::ResetMonitor);
    ConnectCommand(SCA_MainCommandContext::AddMenuAction(monitor, "Stop Monitor", "stop_16px.png"),
                   &SCA_SrvGui::StopMonitor);
    monitor->addSeparator();
    ConnectCommand(
        SCA_MainCommandContext::AddMenuAction(monitor, "Save Report ...", "save_16px.png"),
        &SCA_SrvGui::SaveReport);
    ConnectCommand(
        SCA_MainCommandContext::AddMenuAction(monitor, "View Reports ...", "reports_16px.png"),
        &SCA_SrvGui::ViewReports);
    monitor->addSeparator();
    ConnectCommand(
        SCA_MainCommandContext::AddMenuAction(monitor, "Edit Monitor ...", "options_16px.png"),
        &SCA_SrvGui::EditMonitor);
    ConnectCommand(
        SCA_MainCommandContext::AddMenuAction(monitor, "View Errors ...", "action_16px.png"),
        &SCA_SrvGui::ViewErrors);
    monitor->addSeparator();
    ConnectCommand(
        SCA_MainCommandContext::AddMenuAction(monitor, "Move Monitor Up ...", "move_up_16px.png"),
        &SCA_SrvGui::MoveMonitorUp);
    ConnectCommand(SCA_MainCommandContext::AddMenuAction(monitor, "Move Monitor Down ...",
                                                         "move_down_16px.png"),
                   &SCA_SrvGui::MoveMonitorDown);
    monitor->addSeparator();
    ConnectCommand(
        SCA_MainCommandContext::AddMenuAction(monitor, "Delete Monitor", "close_16px.png"),
        &SCA_SrvGui::DeleteMonitor);

    QMenu* tools = menuBar()->addMenu(QStringLiteral("Tools"));
    ConnectCommand(
        SCA_MainCommandContext::AddMenuAction(tools, "Switch Layout", "layouts_16px.png"),
        &SCA_SrvGui::SwitchLayout);
    tools->addSeparator();
    ConnectCommand(SCA_MainCommandContext::AddMenuAction(tools, "View Message Console ...",
                                                         "error_log_16px.png"),
                   &SCA_SrvGui::ViewMessageConsole);
    tools->addSeparator();
    ConnectCommand(
        SCA_MainCommandContext::AddMenuAction(tools, "Advanced Options ...", "options_16px.png"),
        &SCA_SrvGui::AdvancedOptions);

    QMenu* help = menuBar()->addMenu(QStringLiteral("Help"));
    ConnectCommand(SCA_MainCommandContext::AddMenuAction(help, kAboutServerText, "korva_16px.png"),
                   &SCA_SrvGui::AboutKorvantaServer);
    help->addSeparator();
    ConnectCommand(
        SCA_MainCommandContext::AddMenuAction(help, "View Product Web Page ...", "web_16px.png"),
        &SCA_SrvGui::ProductWebPage);
    ConnectCommand(SCA_MainCommandContext::AddMenuAction(help, "View Release Notes ...", nullptr),
                   &SCA_SrvGui::ReleaseNotes);
    ConnectCommand(SCA_MainCommandContext::AddMenuAction(help, "View Online Help ...", nullptr),
                   &SCA_SrvGui::OnlineHelp);
    help->addSeparator();
    ConnectCommand(
        SCA_MainCommandContext::AddMenuAction(help, "Check For Updates ...", "ok_16px.png"),
        &SCA_SrvGui::CheckForUpdates);

    for (QMenu* menu : {file, monitor, add, tools, help}) {
        menu->setToolTipsVisible(true);
    }

    m_CornerStack = new QStackedWidget(menuBar());
    m_UpdateButton = new QToolButton(m_CornerStack);
    m_UpdateButton->setObjectName(QStringLiteral("UpdateButton"));
    m_UpdateButton->setText(QStringLiteral(" - Update - "));
    m_UpdateButton->setStyleSheet(QString::fromLatin1(kUpdateButtonStyle));
    connect(m_UpdateButton, &QToolButton::clicked, this, &SCA_SrvGui::CheckForUpdates);
    m_CornerStack->addWidget(m_UpdateButton);
    menuBar()->setCornerWidget(m_CornerStack, Qt::TopRightCorner);
    m_UpdateButton->hide();
}

void SCA_SrvGui::BuildToolBar() {
    m_ToolBar = new QToolBar(QStringLiteral("ToolBar"), this);
    m_ToolBar->setObjectName(QStringLiteral("ToolBar"));
    m_ToolBar->setFloatable(false);
    m_ToolBar->setMovable(false);
    addToolBar(m_ToolBar);

    auto button = [this](const char* text, const char* tip, void (SCA_SrvGui::*slot)()) {
        QAction* action = m_ToolBar->addAction(QString::fromLatin1(text));
        action->setToolTip(QString::fromLatin1(tip));
        if (slot != nullptr) {
            ConnectCommand(action, slot);
        }
        return action;
    };
    button("Connect", "Connect to Korvanta Server", &SCA_SrvGui::ConnectToServer);
    m_ToolBar->addSeparator();
    QAction* add = button("Add", "Add Monitor", nullptr);
    auto* addMenu = new QMenu(this);
    m_AddCommands->BuildMenu(addMenu);
    add->setMenu(addMenu);
    DisableWhenEmpty(add, addMenu);
    if (auto* addButton = qobject_cast<QToolButton*>(m_ToolBar->widgetForAction(add))) {
        addButton->setPopupMode(QToolButton::InstantPopup);
    }
    button("Delete", "Delete Monitor", &SCA_SrvGui::DeleteMonitor);
    m_ToolBar->addSeparator();
    button("Start", "Start Monitor", &SCA_SrvGui::StartMonitor);
    button("Pause", "Pause Monitor", &SCA_SrvGui::PauseMonitor);
    button("Reset", "Reset Monitor", &SCA_SrvGui::ResetMonitor);
    m_ToolBar->addSeparator();
    button("Errors", "View Monitoring Errors", &SCA_SrvGui::ViewErrors);
    m_ToolBar->addSeparator();
    button("Save", "Save Report", &SCA_SrvGui::SaveReport);
    button("Reports", "View Reports", &SCA_SrvGui::ViewReports);
    button("Options", "Advanced Options", &SCA_SrvGui::AdvancedOptions);
    button("Layouts", "Switch Layout", &SCA_SrvGui::SwitchLayout);
    button("Help", "Online Help", &SCA_SrvGui::OnlineHelp);

    m_ToolBar->setVisible(m_UserConfig.GetAdvancedOption(SCA_OPTION_SHOW_MAIN_TOOLBAR) != 0);
}

int SCA_SrvGui::UpdateToolBarButtons(uint32_t layout) {
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
        action->setIcon(ImageIcon(name));
        if (QWidget* widget = m_ToolBar->widgetForAction(action)) {
            widget->setMinimumWidth(layout == 0 ? (next < 7 ? 60 : 56) : 0);
        }
        ++next;
    }
    return 1;
}

int SCA_SrvGui::InitLayout(uint32_t layout) {
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
    setMinimumSize(width, params.Height);
    resize(width, params.Height);
    m_SideBar->setVisible(params.SideBar);
    m_LogView->setVisible(params.MessagePane);
    return 1;
}

int SCA_SrvGui::ToolBarWidth() const {
    if (m_ToolBar == nullptr || m_ToolBar->isHidden()) {
        return 0;
    }
    // The buttons' new icons and style reach the layout's hint only once it is recomputed.
    m_ToolBar->layout()->invalidate();
    const QMargins margins = contentsMargins();
    return m_ToolBar->sizeHint().width() + margins.left() + margins.right();
}

void SCA_SrvGui::SwitchLayout() {
    // A layout read from a configuration may be any number; whatever it is, the next one
    // starts the cycle again rather than stepping through invalid values forever.
    const uint32_t next = m_CurrentLayout + 1 < kLayoutCount ? m_CurrentLayout + 1 : 0;
    InitLayout(next);
}
