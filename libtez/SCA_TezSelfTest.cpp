// SPDX-License-Identifier: MIT
#include "libtez/SCA_TezSelfTest.h"

#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <string>

#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_Time.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezRepStatus.h"
#include "model/SCA_TezReportIndex.h"
#include "net/SCA_NetSocket.h"
#include "perf/SCA_PerfMonitor.h"
#include "perf/SCA_PerfSnapshotStore.h"

namespace {

constexpr uint32_t kProgressDone = 100;
constexpr uint64_t kBytesPerMiB = 1024 * 1024;
constexpr size_t kTextSize = 256;
constexpr const char* kLoopback = "127.0.0.1";

struct Check {
    uint32_t Bit;
    const char* StatusText;
    bool (SCA_TezSelfTest::*Run)();
};

} // namespace

SCA_TezSelfTest::SCA_TezSelfTest(SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                                 SCA_ConfigObj* params)
    : m_Config(config), m_UserConfig(userConfig), m_Params(params) {
    // The thread object's flag already says whether its stop event exists; nothing here can fail.
}

SCA_TezSelfTest::~SCA_TezSelfTest() {
    Unlock(__FILE__);
}

uint32_t SCA_TezSelfTest::GetRepStatus() {
    return SCA_TezGetJobRepStatus(GetProcessStatus());
}

void SCA_TezSelfTest::SetStatusString(const char* text) {
    std::lock_guard<std::mutex> lock(m_Lock);
    SCA_StrnCpy(m_StatusString, text, sizeof(m_StatusString));
}

void SCA_TezSelfTest::CopyStatusString(char* buf, uint32_t size) const {
    std::lock_guard<std::mutex> lock(m_Lock);
    SCA_StrnCpy(buf, m_StatusString, size);
}

int SCA_TezSelfTest::SerializeLog(SCA_ConfigObj* object) const {
    std::lock_guard<std::mutex> lock(m_Lock);
    return m_Log.Serialize(object);
}

void SCA_TezSelfTest::SetReportsDir(const char* dir) {
    SCA_StrnCpy(m_ReportsDir, dir, sizeof(m_ReportsDir));
}

void SCA_TezSelfTest::Log(uint32_t repStatus, const char* format, ...) {
    char text[2 * kTextSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    std::lock_guard<std::mutex> lock(m_Lock);
    m_Log.AddMessage(repStatus, SCA_GetAbsTime(), text);
}

int SCA_TezSelfTest::Init(uint32_t mode) {
    if (IsRunning() || (mode & ~SCA_SELF_TEST_ALL) != 0) {
        return 0;
    }
    Unlock(__FILE__); // a test that ended still has its thread to be joined
    m_Mode = mode == 0 ? SCA_SELF_TEST_ALL : mode;
    m_Progress.store(0);
    m_StatusCode.store(0);
    SetProcessStatus(SCA_PROCESS_IDLE);
    SetStatusString("");
    std::lock_guard<std::mutex> lock(m_Lock);
    m_Log.ClearAll();
    return 1;
}

int SCA_TezSelfTest::StartProcess() {
    SetProcessStatus(SCA_PROCESS_RUNNING);
    uint32_t error = 0;
    if (!Lock(&error)) {
        SetStatusCode(error);
        SetStatusString("Cannot start Korvanta self-test");
        SetProcessStatus(SCA_PROCESS_FAILED);
        return 0;
    }
    return 1;
}

int SCA_TezSelfTest::ThreadFunc() {
    static const Check checks[] = {
        {SCA_SELF_TEST_CONFIG_DIR, "Testing configuration folder ...",
         &SCA_TezSelfTest::CheckConfigDir},
        {SCA_SELF_TEST_COLLECTOR, "Testing performance counters ...",
         &SCA_TezSelfTest::CheckCollector},
        {SCA_SELF_TEST_REPORT_INDEX, "Testing report index ...",
         &SCA_TezSelfTest::CheckReportIndex},
        {SCA_SELF_TEST_CONTROL_PORT, "Testing control port ...",
         &SCA_TezSelfTest::CheckControlPort},
    };
    uint32_t chosen = 0;
    for (const Check& check : checks) {
        chosen += (m_Mode & check.Bit) != 0 ? 1 : 0;
    }
    Log(SCA_REP_STATUS_MESSAGE, "Korvanta self-test started");
    uint32_t done = 0;
    uint32_t failed = 0;
    for (const Check& check : checks) {
        if ((m_Mode & check.Bit) == 0) {
            continue;
        }
        if (GetStopEvent() != nullptr && GetStopEvent()->IsSignaled()) {
            Log(SCA_REP_STATUS_WARNING, "Korvanta self-test stopped");
            SetStatusString("Korvanta self-test stopped");
            SetStatusCode(failed);
            SetProcessStatus(SCA_PROCESS_STOPPED);
            return 1;
        }
        SetStatusString(check.StatusText);
        if (!(this->*check.Run)()) {
            ++failed;
        }
        ++done;
        SetProgress(done * kProgressDone / chosen);
    }
    char text[kTextSize];
    std::snprintf(text, sizeof(text), "Korvanta self-test completed - %u of %u tests passed",
                  done - failed, done);
    Log(failed == 0 ? SCA_REP_STATUS_MESSAGE : SCA_REP_STATUS_ERROR, "%s", text);
    SetStatusString(text);
    SetStatusCode(failed);
    SetProcessStatus(failed == 0 ? SCA_PROCESS_STOPPED : SCA_PROCESS_FAILED);
    return failed == 0 ? 1 : 0;
}

bool SCA_TezSelfTest::CheckConfigDir() {
    const char* folder = m_Config != nullptr ? m_Config->GetConfigFolder() : "";
    if (*folder == '\0') {
        Log(SCA_REP_STATUS_ERROR, "Configuration folder is not set");
        return false;
    }
    // A file of our own that nothing else can be using, removed again at once.
    std::string path = std::string(folder) + "/.korvanta-self-test-XXXXXX";
    const int descriptor = mkstemp(path.data());
    if (descriptor < 0) {
        Log(SCA_REP_STATUS_ERROR, "Configuration folder is not writable - %s (ERR:%d)", folder,
            errno);
        return false;
    }
    const char probe = 'k';
    const bool written = write(descriptor, &probe, sizeof(probe)) == sizeof(probe);
    const int writeError = errno;
    close(descriptor);
    unlink(path.c_str());
    if (!written) {
        Log(SCA_REP_STATUS_ERROR, "Configuration folder is not writable - %s (ERR:%d)", folder,
            writeError);
        return false;
    }
    Log(SCA_REP_STATUS_MESSAGE, "Configuration folder is writable - %s", folder);
    return true;
}

bool SCA_TezSelfTest::CheckCollector() {
    SCA_PerfMonitor monitor;
    uint32_t error = 0;
    const int initialised =
        m_PerfStore != nullptr ? monitor.Init(m_PerfStore, &error) : monitor.Init(&error);
    uint64_t bytes = 0;
    if (!initialised || !monitor.GetTotalMemory("", &bytes, &error) || bytes == 0) {
        Log(SCA_REP_STATUS_ERROR, "Cannot read performance counters (ERR:%u)", error);
        return false;
    }
    Log(SCA_REP_STATUS_MESSAGE, "Performance counters read - %llu MB of memory",
        static_cast<unsigned long long>(bytes / kBytesPerMiB));
    return true;
}

bool SCA_TezSelfTest::CheckReportIndex() {
    std::string folder = m_ReportsDir;
    if (folder.empty() && m_Config != nullptr && *m_Config->GetConfigFolder() != '\0') {
        folder = std::string(m_Config->GetConfigFolder()) + "/" + SCA_TEZ_REPORTS_FOLDER;
    }
    if (folder.empty()) {
        Log(SCA_REP_STATUS_ERROR, "Report index folder is not set");
        return false;
    }
    SCA_TezReportIndex index(m_Config, m_UserConfig);
    index.SetReportsDir(folder.c_str());
    // A damaged index file fails the check even though the index could be rebuilt.
    if (!index.Load() || index.IsIndexFileDamaged()) {
        Log(SCA_REP_STATUS_ERROR, "Cannot load report index - %s", folder.c_str());
        return false;
    }
    Log(SCA_REP_STATUS_MESSAGE, "Report index loaded - %u reports", index.Count());
    return true;
}

bool SCA_TezSelfTest::CheckControlPort() {
    const auto config = m_UserConfig != nullptr ? m_UserConfig->GetSnapshot() : nullptr;
    uint16_t port = config != nullptr ? config->Settings.ServerControlPort : 0;
    uint16_t option = 0;
    if (m_Params != nullptr && m_Params->GetField("control_port", &option)) {
        port = option;
    }
    if (port == 0) {
        Log(SCA_REP_STATUS_ERROR, "Control port is not set");
        return false;
    }
    SCA_NetSocket socket;
    uint32_t error = 0;
    if (!socket.Connect(kLoopback, port, SCA_SELF_TEST_CONNECT_TIMEOUT_MS, &error)) {
        Log(SCA_REP_STATUS_ERROR, "Control port does not answer - %s:%u (ERR:%u)", kLoopback,
            static_cast<unsigned>(port), error);
        return false;
    }
    socket.Shutdown();
    Log(SCA_REP_STATUS_MESSAGE, "Control port answers - %s:%u", kLoopback,
        static_cast<unsigned>(port));
    return true;
}
