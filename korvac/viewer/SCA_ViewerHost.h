// SPDX-License-Identifier: MIT
#pragma once

#include "korvac/kit/SCA_WindowHost.h"

class SCA_ViewerGui;

// A detached viewer as the host of its one window: a failed command is a box over the window,
// as every report of a viewer is; it plays no sounds; the host name is the one the service gave
// at the viewer's login.
class SCA_ViewerHost : public SCA_WindowHost {
public:
    explicit SCA_ViewerHost(SCA_ViewerGui* viewer) : m_Viewer(*viewer) {}

    void AnswerCommand(uint32_t level, const std::string& text) override;
    void SoundTimeSeen(uint64_t) override {}
    const char* ServiceHostName() const override;

private:
    SCA_ViewerGui& m_Viewer;
};
