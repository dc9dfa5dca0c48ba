#include "model/SCA_TezProcessStatus.h"

const char* SCA_TezGetProcessStatusDescr(uint32_t processStatus) {
    switch (processStatus) {
    case 0:
        return "Failed";
    case 1:
        return "Stopped";
    case 10:
        return "Idle";
    case 11:
        return "Running";
    case 12:
        return "Paused";
    default:
        return "Unknown";
    }
}
