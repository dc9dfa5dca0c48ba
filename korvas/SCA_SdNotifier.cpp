// SPDX-License-Identifier: MIT
#include "korvas/SCA_SdNotifier.h"

#include <systemd/sd-daemon.h>

void SCA_SdNotifier::Notify(const char* state) {
    sd_notify(0, state);
}
