// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

class QWidget;
struct SCA_WindowContext;

// The counter monitor's windows as a whole run: built, started, run modally through the modal
// hook and stopped. Both answer nonzero when the window was shown; 0 when it could not start
// (the reason is reported at level 5).

// The monitor status window of monitorId.
int SCA_RunMonitorStatusWindow(QWidget* parent, const SCA_WindowContext& context,
                               uint32_t monitorId);

// The single-counter window of counterId in monitorId, which only a viewer of its own opens: it
// can be minimised.
int SCA_RunCounterWindow(QWidget* parent, const SCA_WindowContext& context, uint32_t monitorId,
                         uint32_t counterId);
