// SPDX-License-Identifier: MIT
#include "korvac/main/SCA_GuiUpdateLock.h"

#include "korvac/main/SCA_SrvGui.h"

SCA_GuiUpdateLock::SCA_GuiUpdateLock(SCA_SrvGui* window) : m_Window(window) {
    if (m_Window != nullptr) {
        m_Window->AddUpdateLock();
    }
    SetConstructed();
}

SCA_GuiUpdateLock::~SCA_GuiUpdateLock() {
    if (m_Window != nullptr) {
        m_Window->ReleaseUpdateLock();
    }
}
