// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

class QWidget;
class SCA_ClientSession;
class SCA_ConfigObj;
class SCA_SrvGui;
class SCA_TezConfig;
class SCA_TezConfigUser;

// The process windows as a whole run: built, started, run modally through the modal hook and
// stopped, for the main window and for a viewer of its own (mainWindow null; it then plays no
// sounds). The configurations, "Params" and the session are the caller's and outlive the run.
// Both answer nonzero when the window was shown; 0 when it could not start (the reason is
// reported at level 5).

// The process monitor window of monitorId.
int SCA_RunProcessMonitorWindow(QWidget* parent, SCA_SrvGui* mainWindow,
                                SCA_TezConfig* productConfig, SCA_TezConfigUser* userConfig,
                                SCA_TezConfigUser* clientUserConfig, SCA_ConfigObj* params,
                                const char* configName, SCA_ClientSession* session,
                                uint32_t monitorId);

// The single-process window of processId in the process monitor monitorId.
int SCA_RunProcessWindow(QWidget* parent, SCA_SrvGui* mainWindow, SCA_TezConfig* productConfig,
                         SCA_TezConfigUser* userConfig, SCA_TezConfigUser* clientUserConfig,
                         SCA_ConfigObj* params, const char* configName, SCA_ClientSession* session,
                         uint32_t monitorId, uint32_t processId);
