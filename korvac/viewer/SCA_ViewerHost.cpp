// SPDX-License-Identifier: MIT
#include "korvac/viewer/SCA_ViewerHost.h"

#include "korvac/viewer/SCA_ViewerGui.h"

void SCA_ViewerHost::AnswerCommand(uint32_t level, const std::string& text) {
    m_Viewer.ShowMessage(level, text.c_str());
}

const char* SCA_ViewerHost::ServiceHostName() const {
    return m_Viewer.GetServiceHostName();
}
