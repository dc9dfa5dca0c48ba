// SPDX-License-Identifier: MIT
#include "model/SCA_TezRepStatus.h"

#include "model/SCA_TezProcessStatus.h"

bool SCA_TezIsRepStatusBold(uint32_t status) {
    return status == SCA_REP_STATUS_WARNING || status == SCA_REP_STATUS_ERROR ||
           status == SCA_REP_STATUS_FAILED;
}

const char* SCA_TezGetRepStatusDescr(uint32_t status) {
    switch (status) {
    case SCA_REP_STATUS_MESSAGE:
        return "Message";
    case SCA_REP_STATUS_WARNING:
        return "Warning";
    case SCA_REP_STATUS_ERROR:
        return "Error";
    default:
        return "NA";
    }
}

uint32_t SCA_TezGetJobRepStatus(uint32_t processStatus) {
    switch (processStatus) {
    case SCA_PROCESS_STOPPED:
        return SCA_PROCESS_STOPPED;
    case SCA_PROCESS_IDLE:
        return SCA_REP_STATUS_MESSAGE;
    case SCA_PROCESS_RUNNING:
    case SCA_PROCESS_ENDED:
        return SCA_REP_STATUS_WARNING;
    default:
        return SCA_REP_STATUS_ERROR;
    }
}
