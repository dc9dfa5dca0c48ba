// SPDX-License-Identifier: MIT
#include "korvac/main/SCA_MainMenus.h"

#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include "korvac/kit/SCA_LiveWindow.h"
#include "korvac/main/SCA_AddMonitorCommands.h"
#include "korvac/main/SCA_MainConnection.h"
#include "korvac/main/SCA_MainHelp.h"
#include "korvac/main/SCA_MainLayout.h"
#include "korvac/main/SCA_MainMonitorCommands.h"
#include "korvac/main/SCA_ProductUpdateCheck.h"
#include "korvac/main/SCA_SrvGui.h"
#include "libvop/SCA_IconEngine.h"
#include "model/SCA_TezConfigUser.h"

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

template <typename Target>
void Wire(QAction* action, Target* target, void (Target::*slot)()) {
    QObject::connect(action, &QAction::triggered, target, slot);
}

QAction* Entry(QMenu* menu, const char* text, const char* icon) {
    return SCA_MainCommandContext::AddMenuAction(menu, text, icon);
}

} // namespace

void SCA_MainMenus::BuildMenuBar() {
    SCA_SrvGui* window = m_Targets.Window;
    SCA_MainMonitorCommands* monitors = m_Targets.Monitors;
    SCA_MainHelp* help = m_Targets.Help;
    QMenuBar* bar = window->menuBar();

    QMenu* file = bar->addMenu(QStringLiteral("File"));
    Wire(Entry(file, "Export Configuration ...", "save_16px.png"), window,
         &SCA_SrvGui::ExportConfiguration);
    Wire(Entry(file, "Import Configuration ...", nullptr), window,
         &SCA_SrvGui::ImportConfiguration);
    file->addSeparator();
    Wire(Entry(file, "Exit Korvanta", "close_16px.png"), window, &SCA_SrvGui::Exit);

    QMenu* monitor = bar->addMenu(QStringLiteral("Monitor"));
    QMenu* add = monitor->addMenu(SCA_IconEngine::Load(QStringLiteral(":/images/add_16px.png")),
                                  QStringLiteral("Add Monitor"));
    m_Targets.Add->BuildMenu(add);
    DisableWhenEmpty(add->menuAction(), add);
    monitor->addSeparator();
    Wire(Entry(monitor, "Start Monitor", "play_16px.png"), monitors,
         &SCA_MainMonitorCommands::StartMonitor);
    Wire(Entry(monitor, "Pause Monitor", "pause_16px.png"), monitors,
         &SCA_MainMonitorCommands::PauseMonitor);
    Wire(Entry(monitor, "Reset Monitor", "clear_16px.png"), monitors,
         &SCA_MainMonitorCommands::ResetMonitor);
    Wire(Entry(monitor, "Stop Monitor", "stop_16px.png"), monitors,
         &SCA_MainMonitorCommands::StopMonitor);
    monitor->addSeparator();
    Wire(Entry(monitor, "Save Report ...", "save_16px.png"), monitors,
         &SCA_MainMonitorCommands::SaveReport);
    Wire(Entry(monitor, "View Reports ...", "reports_16px.png"), monitors,
         &SCA_MainMonitorCommands::ViewReports);
    monitor->addSeparator();
    Wire(Entry(monitor, "Edit Monitor ...", "options_16px.png"), monitors,
         &SCA_MainMonitorCommands::EditMonitor);
    Wire(Entry(monitor, "View Errors ...", "action_16px.png"), monitors,
         &SCA_MainMonitorCommands::ViewErrors);
    monitor->addSeparator();
    Wire(Entry(monitor, "Move Monitor Up ...", "move_up_16px.png"), monitors,
         &SCA_MainMonitorCommands::MoveMonitorUp);
    Wire(Entry(monitor, "Move Monitor Down ...", "move_down_16px.png"), monitors,
         &SCA_MainMonitorCommands::MoveMonitorDown);
    monitor->addSeparator();
    Wire(Entry(monitor, "Delete Monitor", "close_16px.png"), monitors,
         &SCA_MainMonitorCommands::DeleteMonitor);

    QMenu* tools = bar->addMenu(QStringLiteral("Tools"));
    Wire(Entry(tools, "Switch Layout", "layouts_16px.png"), m_Targets.Layout,
         &SCA_MainLayout::SwitchLayout);
    tools->addSeparator();
    Wire(Entry(tools, "View Message Console ...", "error_log_16px.png"), window,
         &SCA_SrvGui::ViewMessageConsole);
    tools->addSeparator();
    Wire(Entry(tools, "Advanced Options ...", "options_16px.png"), window,
         &SCA_SrvGui::AdvancedOptions);

    QMenu* helpMenu = bar->addMenu(QStringLiteral("Help"));
    help->ConnectEntry(Entry(helpMenu, SCA_MainHelp::kAboutServerText, "korva_16px.png"),
                       &SCA_MainHelp::AboutKorvantaServer);
    helpMenu->addSeparator();
    help->ConnectEntry(Entry(helpMenu, "View Product Web Page ...", "web_16px.png"),
                       &SCA_MainHelp::ProductWebPage);
    help->ConnectEntry(Entry(helpMenu, "View Release Notes ...", nullptr),
                       &SCA_MainHelp::ReleaseNotes);
    help->ConnectEntry(Entry(helpMenu, "View Online Help ...", nullptr), &SCA_MainHelp::OnlineHelp);
    helpMenu->addSeparator();
    Wire(Entry(helpMenu, "Check For Updates ...", "ok_16px.png"), m_Targets.Update,
         &SCA_ProductUpdateCheck::CheckForUpdates);

    for (QMenu* menu : {file, monitor, add, tools, helpMenu}) {
        menu->setToolTipsVisible(true);
    }
    m_Targets.Update->AddButton(bar);
}

QToolBar* SCA_MainMenus::BuildToolBar() {
    SCA_SrvGui* window = m_Targets.Window;
    SCA_MainMonitorCommands* monitors = m_Targets.Monitors;
    auto* toolBar = new QToolBar(QStringLiteral("ToolBar"), window);
    toolBar->setObjectName(QStringLiteral("ToolBar"));
    toolBar->setFloatable(false);
    toolBar->setMovable(false);
    window->addToolBar(toolBar);

    auto button = [toolBar](const char* text, const char* tip) {
        QAction* action = toolBar->addAction(QString::fromLatin1(text));
        action->setToolTip(QString::fromLatin1(tip));
        return action;
    };
    Wire(button("Connect", "Connect to Korvanta Server"), m_Targets.Connection,
         &SCA_MainConnection::ConnectToServer);
    toolBar->addSeparator();
    QAction* add = button("Add", "Add Monitor");
    auto* addMenu = new QMenu(window);
    m_Targets.Add->BuildMenu(addMenu);
    add->setMenu(addMenu);
    DisableWhenEmpty(add, addMenu);
    if (auto* addButton = qobject_cast<QToolButton*>(toolBar->widgetForAction(add))) {
        addButton->setPopupMode(QToolButton::InstantPopup);
    }
    Wire(button("Delete", "Delete Monitor"), monitors, &SCA_MainMonitorCommands::DeleteMonitor);
    toolBar->addSeparator();
    Wire(button("Start", "Start Monitor"), monitors, &SCA_MainMonitorCommands::StartMonitor);
    Wire(button("Pause", "Pause Monitor"), monitors, &SCA_MainMonitorCommands::PauseMonitor);
    Wire(button("Reset", "Reset Monitor"), monitors, &SCA_MainMonitorCommands::ResetMonitor);
    toolBar->addSeparator();
    Wire(button("Errors", "View Monitoring Errors"), monitors,
         &SCA_MainMonitorCommands::ViewErrors);
    toolBar->addSeparator();
    Wire(button("Save", "Save Report"), monitors, &SCA_MainMonitorCommands::SaveReport);
    Wire(button("Reports", "View Reports"), monitors, &SCA_MainMonitorCommands::ViewReports);
    Wire(button("Options", "Advanced Options"), window, &SCA_SrvGui::AdvancedOptions);
    Wire(button("Layouts", "Switch Layout"), m_Targets.Layout, &SCA_MainLayout::SwitchLayout);
    m_Targets.Help->ConnectEntry(button("Help", "Online Help"), &SCA_MainHelp::OnlineHelp);

    toolBar->setVisible(window->GetUserConfig()->GetAdvancedOption(SCA_OPTION_SHOW_MAIN_TOOLBAR) !=
                        0);
    return toolBar;
}
