// SPDX-License-Identifier: MIT
#include "korvac/viewer/SCA_WindowKinds.h"

#include "korvac/monitor/SCA_MonitorWindows.h"
#include "korvac/process/SCA_ProcessWindows.h"
#include "model/SCA_TezVocabulary.h"

namespace {

constexpr SCA_WindowKind kKinds[] = {
    {SCA_SRV_MONITOR_COUNTERS, &SCA_RunMonitorStatusWindow, "counter", &SCA_RunCounterWindow},
    {SCA_SRV_MONITOR_PROCESS, &SCA_RunProcessMonitorWindow, "pid", &SCA_RunProcessWindow},
};

} // namespace

const SCA_WindowKind* SCA_WindowKind::Of(uint32_t monitorType) {
    for (const SCA_WindowKind& kind : kKinds) {
        if (kind.MonitorType == monitorType) {
            return &kind;
        }
    }
    return nullptr;
}
