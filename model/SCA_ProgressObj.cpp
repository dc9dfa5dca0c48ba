// SPDX-License-Identifier: MIT
#include "model/SCA_ProgressObj.h"

#include "model/SCA_TezProcessStatus.h"
#include "model/SCA_TezRepStatus.h"

uint32_t SCA_ProgressObj::GetRepStatus() {
    const uint32_t status = GetProcessStatus();
    return status == SCA_PROCESS_PENDING ? SCA_REP_STATUS_WARNING : SCA_TezGetJobRepStatus(status);
}
