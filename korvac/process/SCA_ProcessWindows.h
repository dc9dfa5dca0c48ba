// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

class QWidget;
struct SCA_WindowContext;

// The process windows as a whole run: built, started, run modally through the modal hook and
// stopped, for the main window and for a viewer of its own. Both answer nonzero when the
// window was shown; 0 when it could not start (the reason is reported at level 5).

// The process monitor window of monitorId.
int SCA_RunProcessMonitorWindow(QWidget* parent, const SCA_WindowContext& context,
                                uint32_t monitorId);

// The single-process window of processId in the process monitor monitorId.
int SCA_RunProcessWindow(QWidget* parent, const SCA_WindowContext& context, uint32_t monitorId,
                         uint32_t processId);
