// SPDX-License-Identifier: MIT
#include "korvac/SCA_GuiUpdateLock.h"

#include "korvac/SCA_SrvGui.h"

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
