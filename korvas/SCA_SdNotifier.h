// SPDX-License-Identifier: MIT
#pragma once

#include "korvas/SCA_ServiceNotifier.h"

// Reports to systemd (sd_notify); does nothing when the process was not started by it.
class SCA_SdNotifier : public SCA_ServiceNotifier {
public:
    void Notify(const char* state) override;
};
