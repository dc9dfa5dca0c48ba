#include "korvas/SCA_KorvantaUpdateManager.h"

#include "model/SCA_TezProcessStatus.h"

SCA_KorvantaUpdateManager::SCA_KorvantaUpdateManager(SCA_TezConfig* config,
                                                     SCA_TezConfigUser* userConfig,
                                                     SCA_ConfigObj* params)
    : SCA_UpdateManager(config, userConfig, params) {}

SCA_KorvantaUpdateManager::~SCA_KorvantaUpdateManager() {
    Unlock(__FILE__);
}

int SCA_KorvantaUpdateManager::CheckUpdates(uint32_t* error) {
    GetReadyEvent()->Reset();
    SetProcessStatus(SCA_PROCESS_RUNNING);
    if (!Lock(error)) {
        SetProcessStatus(SCA_PROCESS_FAILED);
        return 0;
    }
    return 1;
}

int SCA_KorvantaUpdateManager::StopAll() {
    Unlock(__FILE__);
    return 1;
}

int SCA_KorvantaUpdateManager::ThreadFunc() {
    SetStatusString("No product updates available");
    SetProcessStatus(SCA_PROCESS_STOPPED);
    GetReadyEvent()->Set();
    return 1;
}
