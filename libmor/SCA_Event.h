// SPDX-License-Identifier: MIT
#pragma once

#include "libmor/SCA_VirtualEvent.h"

// The event wrapper: owns a platform event and forwards every slot to it unchanged.
// Construction flag 1 only when the platform event was created.
class SCA_Event : public SCA_VirtualEvent {
public:
    explicit SCA_Event(int manualReset = 1, int initialState = 0);
    ~SCA_Event() override;
    SCA_Event(const SCA_Event&) = delete;
    SCA_Event& operator=(const SCA_Event&) = delete;

    int Wait(uint32_t timeoutMs) override;
    int Release() override; // signals the event
    int Reset() override;
    int IsSignaled() override;

    // Readable aliases of the slots.
    int Set() { return Release(); }

    SCA_VirtualEvent* GetVirtualEvent() const { return m_Event; }

private:
    SCA_VirtualEvent* m_Event;
};
