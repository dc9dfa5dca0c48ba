#pragma once

#include <cstdint>

#include "containers/SCA_DataQueue.h"
#include "libmor/SCA_Heap.h"
#include "libmor/SCA_ThreadObj.h"
#include "model/SCA_SoundActions.h"
#include "model/SCA_TezAction.h"
#include "model/SCA_TezProcessStatus.h"

class SCA_ConfigObj;
class SCA_TezConfig;
class SCA_TezConfigUser;
class SCA_TezReportIndex;

// The action controller of the monitoring core: a worker thread that takes the actions queued
// for it and carries them out, recording each notification sound it plays in its sound
// actions. The worker's body (ThreadFunc) is supplied by the controller's job.
class SCA_TezActionCtrl : public SCA_ThreadObj {
public:
    SCA_HEAP_OPERATORS

    // The configurations, parameters and report index are the caller's and outlive the
    // controller. The construction flag is 0 when the action queue cannot be made.
    SCA_TezActionCtrl(SCA_TezConfig* config, SCA_TezConfigUser* userConfig, SCA_ConfigObj* params,
                      SCA_TezReportIndex* reportIndex, int mode);
    // Destroys the actions still queued.
    ~SCA_TezActionCtrl() override;

    int GetShowVerboseMessages() const { return m_ShowVerboseMessages; }
    void SetShowVerboseMessages(int show) { m_ShowVerboseMessages = show; }
    uint32_t GetWorkerId() const { return m_WorkerId; }
    void SetWorkerId(uint32_t id) { m_WorkerId = id; }
    uint32_t GetProcessStatus() const { return m_ProcessStatus; }
    void SetProcessStatus(uint32_t status) { m_ProcessStatus = status; }

    // Where actions reach the worker; a queued action belongs to the controller.
    SCA_DataQueue<SCA_TezAction*>* GetActionQueue() { return &m_Actions; }
    SCA_SoundActions* GetSoundActions() { return &m_SoundActions; }

    SCA_TezConfig* GetConfig() const { return m_Config; }
    SCA_TezConfigUser* GetUserConfig() const { return m_UserConfig; }
    SCA_ConfigObj* GetParams() const { return m_Params; }
    SCA_TezReportIndex* GetReportIndex() const { return m_ReportIndex; }
    int GetMode() const { return m_Mode; }

private:
    SCA_TezConfig* m_Config;
    SCA_TezConfigUser* m_UserConfig;
    SCA_ConfigObj* m_Params;
    SCA_TezReportIndex* m_ReportIndex;
    int m_Mode;
    int m_ShowVerboseMessages = 0;
    uint32_t m_WorkerId = 0;
    uint32_t m_ProcessStatus = SCA_PROCESS_IDLE;
    SCA_DataQueue<SCA_TezAction*> m_Actions;
    SCA_SoundActions m_SoundActions;
};
