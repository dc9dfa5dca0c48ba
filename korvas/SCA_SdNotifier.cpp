// SPDX-License-Identifier: MIT
#include "korvas/SCA_SdNotifier.h"

#include <cstdlib>

#include <systemd/sd-daemon.h>

#include "libmor/SCA_LateLibrary.h"

namespace {

constexpr char kSystemdLibrary[] = "libsystemd.so.0";
// Set by systemd for a service that reports its state; without it no one listens.
constexpr char kNotifySocket[] = "NOTIFY_SOCKET";

using NotifyCall = decltype(&sd_notify);

// libsystemd and the compression and crypto libraries it brings are loaded only in a service
// that systemd started, not in every run of the program.
NotifyCall LoadNotify() {
    if (std::getenv(kNotifySocket) == nullptr) {
        return nullptr;
    }
    SCA_LateLibrary library(kSystemdLibrary);
    NotifyCall notify = nullptr;
    if (!library.Resolve("sd_notify", &notify)) {
        library.Failed("SCA_SdNotifier");
    }
    return notify;
}

} // namespace

void SCA_SdNotifier::Notify(const char* state) {
    static const NotifyCall notify = LoadNotify();
    if (notify != nullptr) {
        notify(0, state);
    }
}
