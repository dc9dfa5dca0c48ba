// SPDX-License-Identifier: MIT
#include "model/SCA_TezProcessPids.h"

int SCA_TezProcessPids::AddPid(SCA_TezProcessPid* pid) {
    return pid != nullptr && AddItemToTail(pid, pid->GetProcessId()) ? 1 : 0;
}

int SCA_TezProcessPids::Deserialize(SCA_ConfigObj* object) {
    return DeserializeRecords(object, [this](SCA_TezProcessPid* pid) { return AddPid(pid); });
}
