// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "libmor/SCA_Event.h"
#include "libmor/SCA_Heap.h"
#include "libmor/SCA_ThreadObj.h"
#include "model/SCA_TezProcessStatus.h"
#include "model/SCA_Update.h"

class SCA_ConfigObj;
class SCA_TezConfig;
class SCA_TezConfigUser;

// Why a check ended without a usable description (errno-free codes of our own).
inline constexpr uint32_t SCA_UPDATE_ERR_HTTP = 100500;        // the server answered with an error
inline constexpr uint32_t SCA_UPDATE_ERR_DESCRIPTION = 100501; // the description cannot be read
inline constexpr uint32_t SCA_UPDATE_ERR_TOO_LARGE = 100502;   // the description is too long

// The longest update description a check reads; a longer answer ends the transfer.
inline constexpr size_t SCA_UPDATE_MAX_DESCRIPTION = 64 * 1024;

// The product-update check: a job on a thread of its own that reports its progress, run state
// and status text and signals its ready event when it has a result.
//
// The address is the product configuration's update server, port and resource (https on port
// 443, http on any other). A check with no address, or whose server cannot be reached within
// the time-out, ends with "no update" (SCA_PROCESS_STOPPED); a server that answers with an
// error or with a description that cannot be read ends it as failed. The description is text,
// one "Name=Value" per line: Version (required, "major.minor.build"), PackageType, Platform,
// Product, ProductType, Date, Url, ReleaseNotesUrl, SHA256, FileSize; '#' starts a comment
// line and names not known are skipped.
class SCA_UpdateManager : public SCA_ThreadObj {
public:
    SCA_HEAP_OPERATORS

    // The configurations and parameters are the caller's and outlive the manager. The
    // construction flag is 0 when the ready event cannot be made.
    SCA_UpdateManager(SCA_TezConfig* config, SCA_TezConfigUser* userConfig, SCA_ConfigObj* params);
    // Stops the check before the members it writes go.
    ~SCA_UpdateManager() override { Unlock(__FILE__); }

    // Starts a check of the configured address and returns at once; the state is
    // SCA_PROCESS_RUNNING until the result is there. 0 with *error when the thread cannot start
    // (the state is then SCA_PROCESS_FAILED).
    int CheckUpdates(uint32_t* error);
    // The same for the address in update's URL; update receives the package found and must
    // outlive the check (until StopAll or the ready event).
    int GetUpdateEx(SCA_Update* update, uint32_t* error = nullptr);
    // Ends a check that runs (a transfer in progress is abandoned) and waits for it. Always 1.
    int StopAll();
    int ThreadFunc() override;

    // 1 when the last check found a package newer than this product.
    int IsUpdateAvailable() const { return m_UpdateAvailable.load(); }
    // The package of the last check (empty when none was read).
    void GetUpdate(SCA_Update* update) const;

    // The longest time a check takes, connection included (milliseconds).
    uint32_t GetTimeout() const { return m_TimeoutMs; }
    void SetTimeout(uint32_t timeoutMs) { m_TimeoutMs = timeoutMs; }

    SCA_Event* GetReadyEvent() { return &m_ReadyEvent; }
    double GetPerformance() const { return m_Performance; }
    void SetPerformance(double performance) { m_Performance = performance; }
    uint32_t GetProgress() const { return m_Progress.load(); }
    void SetProgress(uint32_t progress) { m_Progress.store(progress); }
    uint32_t GetProcessMode() const { return m_ProcessMode; }
    void SetProcessMode(uint32_t mode) { m_ProcessMode = mode; }
    uint32_t GetProcessStatus() const { return m_ProcessStatus.load(); }
    void SetProcessStatus(uint32_t status) { m_ProcessStatus.store(status); }
    uint32_t GetStatusCode() const { return m_StatusCode.load(); }
    // The status text as it stands; read it from another thread with CopyStatusString.
    const char* GetStatusString() const { return m_StatusString; }
    void CopyStatusString(char* buf, uint32_t size) const;
    // Bounded copy, cut on a UTF-8 character boundary.
    void SetStatusString(const char* text);

    SCA_TezConfig* GetConfig() const { return m_Config; }
    SCA_TezConfigUser* GetUserConfig() const { return m_UserConfig; }
    SCA_ConfigObj* GetParams() const { return m_Params; }

    // Reads an update description (format above) into update. 0 when it is empty, has a line
    // that is not "Name=Value", a number that does not parse, or no valid Version.
    static int ParseDescription(const char* data, size_t length, SCA_Update* update);
    // "major.minor.build" as one comparable number; 0 when the text is not such a version.
    static uint32_t GetAbsVersion(const char* version);

private:
    // Starts the thread for the address in m_Address.
    int Start(uint32_t* error);
    // Builds the configured address into m_Address; 0 when none is configured.
    int BuildAddress();
    // Ends the check: run state, code and text, then the ready event.
    void Finish(uint32_t status, uint32_t code, const char* text);

    SCA_TezConfig* m_Config;
    SCA_TezConfigUser* m_UserConfig;
    SCA_ConfigObj* m_Params;
    SCA_Event m_ReadyEvent;
    double m_Performance = 0.0;
    std::atomic<uint32_t> m_Progress{0};
    uint32_t m_ProcessMode = 0;
    std::atomic<uint32_t> m_ProcessStatus{SCA_PROCESS_IDLE};
    std::atomic<uint32_t> m_StatusCode{0};
    std::atomic<int> m_UpdateAvailable{0};
    uint32_t m_TimeoutMs;
    char m_StatusString[256] = "";
    char m_Address[4096] = "";
    SCA_Update m_Update;
    // The caller's record that GetUpdateEx fills; null for CheckUpdates.
    SCA_Update* m_Target = nullptr;
    mutable std::mutex m_Lock;
};
