// SPDX-License-Identifier: MIT
#pragma once

class QMainWindow;
class QToolBar;
class SCA_AddMonitorCommands;
class SCA_MainConnection;
class SCA_MainHelp;
class SCA_MainLayout;
class SCA_MainMonitorCommands;
class SCA_ProductUpdateCheck;
class SCA_SrvGui;

// Builds the main window's menu bar and tool bar, each entry wired to the part of the window
// that runs it.
class SCA_MainMenus {
public:
    // Who runs the entries.
    struct Targets {
        SCA_SrvGui* Window = nullptr;
        SCA_MainConnection* Connection = nullptr;
        SCA_AddMonitorCommands* Add = nullptr;
        SCA_MainMonitorCommands* Monitors = nullptr;
        SCA_MainLayout* Layout = nullptr;
        SCA_MainHelp* Help = nullptr;
        SCA_ProductUpdateCheck* Update = nullptr;
    };

    explicit SCA_MainMenus(const Targets& targets) : m_Targets(targets) {}

    // File, Monitor, Tools and Help, and the update button in the bar's corner.
    void BuildMenuBar();
    // The tool bar, shown where the client configuration asks for it.
    QToolBar* BuildToolBar();

private:
    Targets m_Targets;
};
