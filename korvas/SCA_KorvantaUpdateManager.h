#pragma once

#include <cstdint>

#include "libtez/SCA_UpdateManager.h"

// The service's product-update check. No update server is configured for this product, so a
// check ends at once with nothing found; the control loop still starts and stops it like any
// other worker.
class SCA_KorvantaUpdateManager : public SCA_UpdateManager {
public:
    SCA_KorvantaUpdateManager(SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                              SCA_ConfigObj* params);
    ~SCA_KorvantaUpdateManager() override;

    // Starts a check. 1 when it started.
    int CheckUpdates(uint32_t* error);
    // Ends a check that runs and waits for it. Always 1.
    int StopAll();

    int ThreadFunc() override;
};
