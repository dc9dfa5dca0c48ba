// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

class QWidget;
struct SCA_WindowContext;

// Which live windows open for which kind of monitor: the main window and a detached viewer
// both ask here.
struct SCA_WindowKind {
    uint32_t MonitorType;
    // Runs the monitor's window until it closes; nonzero when it was shown.
    int (*RunMonitor)(QWidget* parent, const SCA_WindowContext& context, uint32_t monitorId);
    // The viewer's parameter that names one item of the monitor ("counter", "pid"), and the
    // window of that item.
    const char* ItemParam;
    int (*RunItem)(QWidget* parent, const SCA_WindowContext& context, uint32_t monitorId,
                   uint32_t itemId);

    // The kind of a monitor type; null for a type without live windows.
    static const SCA_WindowKind* Of(uint32_t monitorType);
};
