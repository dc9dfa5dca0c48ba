// SPDX-License-Identifier: MIT
// The main window's widgets: menu bar, tool bar, status bar and panes.
#include <QLabel>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "korvac/main/SCA_MainConnection.h"
#include "korvac/main/SCA_MainLayout.h"
#include "korvac/main/SCA_MainMenus.h"
#include "korvac/main/SCA_MainMonitorCommands.h"
#include "korvac/main/SCA_MainStatusPoll.h"
#include "korvac/main/SCA_MonitorsView.h"
#include "korvac/main/SCA_SideBar.h"
#include "korvac/main/SCA_SrvConnectView.h"
#include "korvac/main/SCA_SrvGui.h"
#include "korvac/main/SCA_SrvLogView.h"
#include "libvop/SCA_IconEngine.h"
#include "libvop/SCA_StatusIcon.h"
#include "libvop/SCA_StatusList.h"

int SCA_SrvGui::BuildUi() {
    SCA_MainMenus menus({.Window = this,
                         .Connection = m_Connection,
                         .Add = m_AddCommands,
                         .Monitors = m_MonitorCommands,
                         .Layout = m_Layout,
                         .Help = m_Help,
                         .Update = m_UpdateCheck});
    menus.BuildMenuBar();
    m_ToolBar = menus.BuildToolBar();

    m_StatusIcon = new SCA_StatusIcon(statusBar(), 18, 2);
    m_StatusIcon->setObjectName(QStringLiteral("StatusIcon"));
    m_StatusIcon->SetStatus(SCA_STATUS_ICON_OFF);
    statusBar()->addWidget(m_StatusIcon);
    m_StatusLabel = new QLabel(statusBar());
    m_StatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    m_StatusLabel->setFixedHeight(18);
    m_StatusLabel->setIndent(4);
    m_StatusLabel->setText(m_Connection->DisconnectedText());
    statusBar()->addWidget(m_StatusLabel, 1);
    // Errors the user did not ask about wait here; a click shows them.
    m_ErrorBadge = new QToolButton(statusBar());
    m_ErrorBadge->setObjectName(QStringLiteral("ErrorBadge"));
    m_ErrorBadge->setAutoRaise(true);
    m_ErrorBadge->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_ErrorBadge->setIcon(SCA_IconEngine::Load(QStringLiteral(":/images/error_16px.png")));
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
    connect(servers, &SCA_SrvConnectView::HostChosen, m_Connection,
            [this](const QByteArray& host) { m_Connection->ConnectToHost(host.constData()); });
    connect(servers, &SCA_SrvConnectView::ConnectAsked, m_Connection,
            &SCA_MainConnection::ConnectToServer);
    connect(servers, &SCA_SrvConnectView::OrderChanged, this,
            [this, servers]() { servers->Refresh(m_Connection->ConnectedHost()); });
    connect(m_Connection, &SCA_MainConnection::ServersChanged, servers,
            [servers](const QByteArray& host) { servers->Refresh(host.constData()); });
    m_MonitorsView = new SCA_MonitorsView(m_Session, topSplitter);
    connect(m_MonitorsView, &SCA_MonitorsView::MenuAsked, m_MonitorCommands,
            &SCA_MainMonitorCommands::BuildMonitorContextMenu);
    connect(m_MonitorsView, &QTreeWidget::itemDoubleClicked, m_MonitorCommands,
            &SCA_MainMonitorCommands::MonitorDoubleClicked);
    connect(m_MonitorsView, &SCA_MonitorsView::OpenRequested, m_MonitorCommands,
            qOverload<>(&SCA_MainMonitorCommands::ViewMonitor));
    connect(m_MonitorsView, &SCA_MonitorsView::DeleteRequested, m_MonitorCommands,
            &SCA_MainMonitorCommands::DeleteMonitor);
    m_LogView = new SCA_SrvLogView(mainSplitter);
    connect(m_LogView, &SCA_SrvLogView::ClearLog, this, &SCA_SrvGui::ClearServerDebugLog);
    m_Poll->ShowIn(m_SideBar, m_MonitorsView, m_LogView);
    m_MonitorCommands->WorkOn(m_MonitorsView);
    m_Layout->Arrange(m_ToolBar, m_SideBar, m_LogView);

    mainSplitter->setSizes({400, 160});
    topSplitter->setSizes({100, 434});
    SetTabOrder();
    mainSplitter->setFocus(Qt::OtherFocusReason);
    return 1;
}

void SCA_SrvGui::SetTabOrder() {
    // Tab goes as the eye does: the tool bar's buttons left to right, the side bar top down,
    // the monitors, the log. A separator between the buttons is no stop: it shows no focus.
    QList<QWidget*> order;
    for (QAction* action : m_ToolBar->actions()) {
        QWidget* button = m_ToolBar->widgetForAction(action);
        if (button != nullptr && !action->isSeparator()) {
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
