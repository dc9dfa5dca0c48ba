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
