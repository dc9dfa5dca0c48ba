// SPDX-License-Identifier: MIT
#include "korvac/main/SCA_MainWindowHost.h"

#include "korvac/main/SCA_MainConnection.h"
#include "korvac/main/SCA_MainStatusPoll.h"
#include "libmor/SCA_Report.h"

void SCA_MainWindowHost::AnswerCommand(uint32_t level, const std::string& text) {
    // The report callback of the main window logs it once the window runs.
    SCA_GetReportFunction(__FILE__, __LINE__)(level, "%s", text.c_str());
}

void SCA_MainWindowHost::SoundTimeSeen(uint64_t lastSoundTime) {
    if (lastSoundTime > m_Poll.LastSoundActionTime()) {
        m_Poll.PlayNotificationSounds();
    }
}

const char* SCA_MainWindowHost::ServiceHostName() const {
    return m_Connection.ServerHostName();
}
