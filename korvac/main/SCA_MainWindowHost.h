// SPDX-License-Identifier: MIT
#pragma once

#include "korvac/kit/SCA_WindowHost.h"

class SCA_MainConnection;
class SCA_MainStatusPoll;

// The main window as the host of the live windows it opens: a failed command goes to the
// client's log and raises the badge, new sounds play by the window's poll, the host name is
// the connection's.
class SCA_MainWindowHost : public SCA_WindowHost {
public:
    SCA_MainWindowHost(SCA_MainStatusPoll* poll, const SCA_MainConnection* connection)
        : m_Poll(*poll), m_Connection(*connection) {}

    void AnswerCommand(uint32_t level, const std::string& text) override;
    void SoundTimeSeen(uint64_t lastSoundTime) override;
    const char* ServiceHostName() const override;

private:
    SCA_MainStatusPoll& m_Poll;
    const SCA_MainConnection& m_Connection;
};
