#pragma once

#include <cstdint>

#include "libmor/SCA_Event.h"
#include "libmor/SCA_Heap.h"
#include "libmor/SCA_ThreadObj.h"
#include "model/SCA_TezProcessStatus.h"

class SCA_ConfigObj;
class SCA_TezConfig;
class SCA_TezConfigUser;

// The product-update check: a job on a thread of its own that reports its progress, run state
// and status text and signals its ready event when it has a result. The check itself runs in
// ThreadFunc, which the update job supplies.
class SCA_UpdateManager : public SCA_ThreadObj {
public:
    SCA_HEAP_OPERATORS

    // The configurations and parameters are the caller's and outlive the manager. The
    // construction flag is 0 when the ready event cannot be made.
    SCA_UpdateManager(SCA_TezConfig* config, SCA_TezConfigUser* userConfig, SCA_ConfigObj* params);
    // Stops the check before the members it writes go.
    ~SCA_UpdateManager() override { Unlock(__FILE__); }

    SCA_Event* GetReadyEvent() { return &m_ReadyEvent; }
    double GetPerformance() const { return m_Performance; }
    void SetPerformance(double performance) { m_Performance = performance; }
    uint32_t GetProgress() const { return m_Progress; }
    void SetProgress(uint32_t progress) { m_Progress = progress; }
    uint32_t GetProcessMode() const { return m_ProcessMode; }
    void SetProcessMode(uint32_t mode) { m_ProcessMode = mode; }
    uint32_t GetProcessStatus() const { return m_ProcessStatus; }
    void SetProcessStatus(uint32_t status) { m_ProcessStatus = status; }
    const char* GetStatusString() const { return m_StatusString; }
    // Bounded copy, cut on a UTF-8 character boundary.
    void SetStatusString(const char* text);

    SCA_TezConfig* GetConfig() const { return m_Config; }
    SCA_TezConfigUser* GetUserConfig() const { return m_UserConfig; }
    SCA_ConfigObj* GetParams() const { return m_Params; }

private:
    SCA_TezConfig* m_Config;
    SCA_TezConfigUser* m_UserConfig;
    SCA_ConfigObj* m_Params;
    SCA_Event m_ReadyEvent;
    double m_Performance = 0.0;
    uint32_t m_Progress = 0;
    uint32_t m_ProcessMode = 0;
    uint32_t m_ProcessStatus = SCA_PROCESS_IDLE;
    char m_StatusString[256] = "";
};
