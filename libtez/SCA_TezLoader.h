// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstdint>

#include "libmor/SCA_Event.h"
#include "libmor/SCA_Heap.h"
#include "libmor/SCA_ThreadObj.h"
#include "model/SCA_TezProcessStatus.h"

class SCA_ConfigObj;
class SCA_TezConfig;
class SCA_TezConfigUser;
class SCA_TezManager;

// The job that makes a monitor's counters live in its sampling manager, on a thread of its own
// (opening counters can take a while): its progress (0-100), run state (running while it loads,
// idle once done, stopped when told to stop), status code and text, and the number of counters
// that could not be opened. Its event is set whenever a load ends.
class SCA_TezLoader : public SCA_ThreadObj {
public:
    SCA_HEAP_OPERATORS

    // The configurations and parameters are the caller's and outlive the loader.
    SCA_TezLoader(SCA_TezConfig* config, SCA_TezConfigUser* userConfig, SCA_ConfigObj* params)
        : m_Config(config), m_UserConfig(userConfig), m_Params(params) {}
    // Stops the loader before the members it writes go.
    ~SCA_TezLoader() override { Unlock(__FILE__); }

    // Starts loading every counter of manager's profile into manager; the manager outlives the
    // load. 0 when a load is still running or the thread cannot start.
    int LoadProfile(SCA_TezManager* manager);
    // Stops a running load and waits for its thread.
    int StopAll();
    SCA_Event* GetEvent() { return &m_Done; }
    int ThreadFunc() override;

    uint32_t GetProgress() const { return m_Progress; }
    void SetProgress(uint32_t progress) { m_Progress = progress; }
    uint32_t GetProcessStatus() const { return m_ProcessStatus; }
    void SetProcessStatus(uint32_t status) { m_ProcessStatus = status; }
    uint32_t GetStatusCode() const { return m_StatusCode; }
    void SetStatusCode(uint32_t code) { m_StatusCode = code; }
    uint32_t GetErrorCount() const { return m_ErrorCount; }
    void SetErrorCount(uint32_t count) { m_ErrorCount = count; }
    const char* GetStatusString() const { return m_StatusString; }

    SCA_TezConfig* GetConfig() const { return m_Config; }
    SCA_TezConfigUser* GetUserConfig() const { return m_UserConfig; }
    SCA_ConfigObj* GetParams() const { return m_Params; }

    // The run state on the status scale: 0 gives 5, 1 gives 1, 10 gives 3, 11 and 22 give 4,
    // anything else 5.
    uint32_t GetRepStatus() const;

protected:
    // Bounded copy into the status text.
    void SetStatusString(const char* text);

private:
    SCA_TezConfig* m_Config;
    SCA_TezConfigUser* m_UserConfig;
    SCA_ConfigObj* m_Params;
    // Read by other threads while the load runs.
    std::atomic<uint32_t> m_Progress{0};
    std::atomic<uint32_t> m_ProcessStatus{SCA_PROCESS_IDLE};
    uint32_t m_StatusCode = 0;
    std::atomic<uint32_t> m_ErrorCount{0};
    char m_StatusString[256] = "";
    SCA_TezManager* m_Manager = nullptr;
    SCA_Event m_Done{1, 0};
};
