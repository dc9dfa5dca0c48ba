// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "korvac/viewer/SCA_ViewerGui.h"

// The detached monitor viewer ("-vdm"): one monitor of a service in a process of its own. A
// counter monitor shows its monitor status window, or with "-counter" the single-counter
// window; a process monitor shows its process monitor window, or with "-pid" the
// single-process window.
class SCA_VdmGui : public SCA_ViewerGui {
public:
    explicit SCA_VdmGui(QApplication* app);
    ~SCA_VdmGui() override;

    int DoProcess(int argc, char** argv) override;

private:
    // Whether the process monitor has the process, asked before its window opens; 0 (reported)
    // when not.
    int CheckProcess(uint32_t processId);
};
