// SPDX-License-Identifier: MIT
#pragma once

#include "korvac/viewer/SCA_ViewerGui.h"

// The detached report viewer ("-vdr"): one saved report of a service in the report dialog, in a
// process of its own.
class SCA_VdrGui : public SCA_ViewerGui {
public:
    explicit SCA_VdrGui(QApplication* app);
    ~SCA_VdrGui() override;

    // 0 when the viewer could not connect; a report that cannot be shown is reported, and the
    // run still counts as done.
    int DoProcess(int argc, char** argv) override;

    // Runs the report dialog until it closes; nonzero when it was shown.
    int ViewDetachedReport();
};
