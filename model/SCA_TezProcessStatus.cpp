// SPDX-License-Identifier: MIT
#include "model/SCA_TezProcessStatus.h"

const char* SCA_TezGetProcessStatusDescr(uint32_t processStatus) {
    switch (processStatus) {
    case SCA_PROCESS_FAILED:
        return "Failed";
    case SCA_PROCESS_STOPPED:
        return "Stopped";
    case SCA_PROCESS_IDLE:
        return "Idle";
    case SCA_PROCESS_RUNNING:
        return "Running";
    case SCA_PROCESS_PAUSED:
        return "Paused";
    default:
        return "Unknown";
    }
}

const char* SCA_TezGetProcessStatusIcon(uint32_t processStatus) {
    switch (processStatus) {
    case SCA_PROCESS_FAILED:
        return ":/images/error_16px.png";
    case SCA_PROCESS_STOPPED:
        return ":/images/stop_16px.png";
    case SCA_PROCESS_RUNNING:
        return ":/images/play_16px.png";
    case SCA_PROCESS_PAUSED:
        return ":/images/pause_16px.png";
    default:
        return ":/images/idle_16px.png";
    }
}
