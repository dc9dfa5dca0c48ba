#pragma once

#include <cstdint>

#include "libtez/SCA_TezActionCtrl.h"

// The service's action controller: its worker runs from the start of the server side to its
// stop. Monitor tasks queue actions for it; the queue is kept until the controller goes.
class SCA_KorvantaActionCtrl : public SCA_TezActionCtrl {
public:
    SCA_KorvantaActionCtrl(SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                           SCA_ConfigObj* params, SCA_TezReportIndex* reportIndex, int mode);
    ~SCA_KorvantaActionCtrl() override;

    // Starts the worker (a running one is left alone). 1 on success.
    int StartProcess();
    // Stops the worker and waits for it. Always 1.
    int StopAll();

    int ThreadFunc() override;
};
