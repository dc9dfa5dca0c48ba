// SPDX-License-Identifier: MIT
#pragma once

#include "libmor/SCA_Object.h"

class SCA_SrvGui;

// Holds the main window's status poll and reconnection still while a modal window that talks
// to the service itself runs its own event loop.
class SCA_GuiUpdateLock : public SCA_Object {
public:
    explicit SCA_GuiUpdateLock(SCA_SrvGui* window);
    // The window's count itself, for the command groups that hold it.
    explicit SCA_GuiUpdateLock(int* count);
    ~SCA_GuiUpdateLock() override;
    SCA_GuiUpdateLock(const SCA_GuiUpdateLock&) = delete;
    SCA_GuiUpdateLock& operator=(const SCA_GuiUpdateLock&) = delete;

private:
    SCA_SrvGui* m_Window = nullptr;
    int* m_Count = nullptr;
};
