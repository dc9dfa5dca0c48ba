// SPDX-License-Identifier: MIT
#include "korvac/main/SCA_GuiUpdateLock.h"

#include "korvac/main/SCA_SrvGui.h"

SCA_GuiUpdateLock::SCA_GuiUpdateLock(SCA_SrvGui* window) : m_Window(window) {
    if (m_Window != nullptr) {
        m_Window->AddUpdateLock();
    }
    SetConstructed();
}

SCA_GuiUpdateLock::SCA_GuiUpdateLock(int* count) : m_Count(count) {
    if (m_Count != nullptr) {
        ++*m_Count;
    }
    SetConstructed();
}

SCA_GuiUpdateLock::~SCA_GuiUpdateLock() {
    if (m_Count != nullptr && *m_Count > 0) {
        --*m_Count;
    }
    if (m_Window != nullptr) {
        m_Window->ReleaseUpdateLock();
    }
}
