#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_ThreadObj.h"
#include "model/SCA_ProgressObj.h"
#include "model/SCA_TezLog.h"
#include "model/SCA_TezProcessStatus.h"

class SCA_ConfigObj;
class SCA_TezConfig;
class SCA_TezConfigUser;

// The self-test job of the monitoring core: its progress, run state, status code and text, and
// the log of what it tested. The test steps run in ThreadFunc, which the job that drives the
// test supplies.
class SCA_TezSelfTest : public SCA_ThreadObj, public SCA_ProgressObj {
public:
    SCA_HEAP_OPERATORS

    // The configurations and parameters are the caller's and outlive the job.
    SCA_TezSelfTest(SCA_TezConfig* config, SCA_TezConfigUser* userConfig, SCA_ConfigObj* params);
    // Stops the test thread before the log it writes goes.
    ~SCA_TezSelfTest() override { Unlock(__FILE__); }

    void Destroy() override { delete this; }

    uint32_t GetProgress() override { return m_Progress; }
    void SetProgress(uint32_t progress) override { m_Progress = progress; }
    uint32_t GetProcessStatus() override { return m_ProcessStatus; }
    void SetProcessStatus(uint32_t status) { m_ProcessStatus = status; }
    const char* GetStatusString() override { return m_StatusString; }
    // The self-test's own scale: 0 failed (5), 1 (1), 10 (3), 11 and 22 (4), anything else 5.
    uint32_t GetRepStatus() override;

    uint32_t GetStatusCode() const { return m_StatusCode; }
    void SetStatusCode(uint32_t code) { m_StatusCode = code; }
    SCA_TezLog* GetLog() { return &m_Log; }

    SCA_TezConfig* GetConfig() const { return m_Config; }
    SCA_TezConfigUser* GetUserConfig() const { return m_UserConfig; }
    SCA_ConfigObj* GetParams() const { return m_Params; }

protected:
    // Bounded copy into the status text.
    void SetStatusString(const char* text);

private:
    SCA_TezConfig* m_Config;
    SCA_TezConfigUser* m_UserConfig;
    SCA_ConfigObj* m_Params;
    uint32_t m_Progress = 0;
    uint32_t m_ProcessStatus = SCA_PROCESS_IDLE;
    uint32_t m_StatusCode = 0;
    char m_StatusString[256] = "";
    SCA_TezLog m_Log;
};
