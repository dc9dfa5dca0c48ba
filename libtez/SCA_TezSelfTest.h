// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_ThreadObj.h"
#include "model/SCA_ProgressObj.h"
#include "model/SCA_TezLog.h"
#include "model/SCA_TezProcessStatus.h"

class SCA_ConfigObj;
class SCA_PerfSnapshotStore;
class SCA_TezConfig;
class SCA_TezConfigUser;

// The checks of a self-test, chosen by Init's mode bit by bit; a mode of 0 runs them all.
inline constexpr uint32_t SCA_SELF_TEST_CONFIG_DIR = 0x1;   // the configuration folder is writable
inline constexpr uint32_t SCA_SELF_TEST_COLLECTOR = 0x2;    // the counter collector reads
inline constexpr uint32_t SCA_SELF_TEST_REPORT_INDEX = 0x4; // the report index loads
inline constexpr uint32_t SCA_SELF_TEST_CONTROL_PORT = 0x8; // the control port answers
inline constexpr uint32_t SCA_SELF_TEST_ALL = 0xF;

// How long the control port has to accept a connection.
inline constexpr uint32_t SCA_SELF_TEST_CONNECT_TIMEOUT_MS = 1000;

// The self-test job of the monitoring core: its progress, run state, status code and text, and
// the log of what it tested. StartProcess runs the chosen checks on the job's thread; progress
// goes from 0 to 100 as they end, each one adds a log message (an error when it failed), and
// the job ends stopped (every check passed) or failed, with the number of failed checks as
// status code. Status text and log are read safely from other threads while it runs.
class SCA_TezSelfTest : public SCA_ThreadObj, public SCA_ProgressObj {
public:
    SCA_HEAP_OPERATORS

    // The configurations and parameters are the caller's and outlive the job. The control
    // port is the parameters' "control_port", else the user configuration's.
    SCA_TezSelfTest(SCA_TezConfig* config, SCA_TezConfigUser* userConfig, SCA_ConfigObj* params);
    // Stops the test thread before the log it writes goes.
    ~SCA_TezSelfTest() override;

    void Destroy() override { delete this; }

    // Chooses the checks (SCA_SELF_TEST_*) and empties progress, text and log. 0 for a mode
    // with bits of no check, or while a test runs.
    int Init(uint32_t mode);
    // Runs the chosen checks on the job's thread. 0 when the thread cannot start.
    int StartProcess();

    uint32_t GetProgress() override { return m_Progress.load(); }
    void SetProgress(uint32_t progress) override { m_Progress.store(progress); }
    uint32_t GetProcessStatus() override { return m_ProcessStatus.load(); }
    void SetProcessStatus(uint32_t status) { m_ProcessStatus.store(status); }
    // The status text as it stands; read it from another thread with CopyStatusString.
    const char* GetStatusString() override { return m_StatusString; }
    void CopyStatusString(char* buf, uint32_t size) const;
    // The self-test's own scale: 0 failed (5), 1 (1), 10 (3), 11 and 22 (4), anything else 5.
    uint32_t GetRepStatus() override;

    uint32_t GetMode() const { return m_Mode; }
    uint32_t GetStatusCode() const { return m_StatusCode.load(); }
    void SetStatusCode(uint32_t code) { m_StatusCode.store(code); }
    // The log itself: read it only once the test has ended; SerializeLog any time.
    SCA_TezLog* GetLog() { return &m_Log; }
    int SerializeLog(SCA_ConfigObj* object) const;

    // Where the collector check reads counters; the machine's own store when none is given.
    void SetPerfStore(std::shared_ptr<SCA_PerfSnapshotStore> store) {
        m_PerfStore = std::move(store);
    }
    // The folder of the report index; the configuration folder's reports folder when empty.
    void SetReportsDir(const char* dir);

    SCA_TezConfig* GetConfig() const { return m_Config; }
    SCA_TezConfigUser* GetUserConfig() const { return m_UserConfig; }
    SCA_ConfigObj* GetParams() const { return m_Params; }

    int ThreadFunc() override;

protected:
    // Bounded copy into the status text.
    void SetStatusString(const char* text);

private:
    // Each check logs what it found and answers whether it passed.
    bool CheckConfigDir();
    bool CheckCollector();
    bool CheckReportIndex();
    bool CheckControlPort();
    void Log(uint32_t repStatus, const char* format, ...) __attribute__((format(printf, 3, 4)));

    SCA_TezConfig* m_Config;
    SCA_TezConfigUser* m_UserConfig;
    SCA_ConfigObj* m_Params;
    std::atomic<uint32_t> m_Progress{0};
    std::atomic<uint32_t> m_ProcessStatus{SCA_PROCESS_IDLE};
    std::atomic<uint32_t> m_StatusCode{0};
    uint32_t m_Mode = SCA_SELF_TEST_ALL;
    char m_StatusString[256] = "";
    char m_ReportsDir[4096] = "";
    std::shared_ptr<SCA_PerfSnapshotStore> m_PerfStore;
    SCA_TezLog m_Log;
    // Guards the status text and the log.
    mutable std::mutex m_Lock;
};
