// SPDX-License-Identifier: MIT
#pragma once

#include "korvac/kit/SCA_WindowHost.h"

class SCA_SrvGui;

// The main window as the host of the live windows it opens: a failed command goes to the
// client's log and raises the badge, new sounds play, the host name is the connection's.
class SCA_MainWindowHost : public SCA_WindowHost {
public:
    explicit SCA_MainWindowHost(SCA_SrvGui* window) : m_Window(*window) {}

    void AnswerCommand(uint32_t level, const std::string& text) override;
    void SoundTimeSeen(uint64_t lastSoundTime) override;
    const char* ServiceHostName() const override;

private:
    SCA_SrvGui& m_Window;
};
