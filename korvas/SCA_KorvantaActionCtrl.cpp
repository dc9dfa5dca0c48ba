#include "korvas/SCA_KorvantaActionCtrl.h"

#include "libmor/SCA_Report.h"
#include "libmor/SCA_Sync.h"
#include "model/SCA_TezProcessStatus.h"

SCA_KorvantaActionCtrl::SCA_KorvantaActionCtrl(SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                                               SCA_ConfigObj* params,
                                               SCA_TezReportIndex* reportIndex, int mode)
    : SCA_TezActionCtrl(config, userConfig, params, reportIndex, mode) {}

SCA_KorvantaActionCtrl::~SCA_KorvantaActionCtrl() {
    Unlock(__FILE__);
}

int SCA_KorvantaActionCtrl::StartProcess() {
    uint32_t error = 0;
    if (!Lock(&error)) {
        SetProcessStatus(SCA_PROCESS_FAILED);
        return 0;
    }
    SetProcessStatus(SCA_PROCESS_RUNNING);
    return 1;
}

int SCA_KorvantaActionCtrl::StopAll() {
    Unlock(__FILE__);
    SetProcessStatus(SCA_PROCESS_STOPPED);
    return 1;
}

int SCA_KorvantaActionCtrl::ThreadFunc() {
    // Carrying out actions belongs to the monitor tasks' job; until it is there the worker
    // only keeps the controller's run state.
    GetStopEvent()->Wait(SCA_INFINITE);
    return 1;
}
