// SPDX-License-Identifier: MIT
#pragma once

class SCA_TezProcessPid;

// Where a process's properties come from: the monitoring core reads them from the system and
// hands them to the record, which knows nothing of where they live.
class SCA_TezProcessInfoSource {
public:
    virtual ~SCA_TezProcessInfoSource() = default;
    // Gives pid its properties (SetProcessInfo). 0 when the process is gone or is no longer
    // the one pid stands for; pid then keeps what it had.
    virtual int LoadPidInfo(SCA_TezProcessPid* pid) = 0;
};
