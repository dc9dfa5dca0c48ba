// SPDX-License-Identifier: MIT
#include "perf/SCA_PerfMonitorUpdate.h"

#include "libmor/SCA_Sync.h"

int SCA_PerfMonitorUpdate::ThreadFunc() {
    m_ProcessStatus = SCA_PROCESS_RUNNING;
    // Waiting on the stop event, not sleeping, lets Unlock end the thread at once.
    while (GetStopEvent()->Wait(m_UpdateInterval) == SCA_WAIT_TIMEOUT) {
        ++m_UpdateCount;
    }
    m_ProcessStatus = SCA_PROCESS_STOPPED;
    return 1;
}
