// SPDX-License-Identifier: MIT
#include "korvas/SCA_KorvantaCtrl.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <syslog.h>

#include "korvas/SCA_ConsoleInput.h"
#include "korvas/SCA_KorvantaFact.h"
#include "korvas/SCA_ServiceHost.h"
#include "libmor/SCA_Clock.h"
#include "libmor/SCA_ErrorText.h"
#include "libmor/SCA_FileName.h"
#include "libmor/SCA_FileSystem.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_ReportText.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_Sync.h"
#include "libmor/SCA_System.h"
#include "libmor/SCA_SystemLog.h"
#include "libtez/SCA_KorvantaServer.h"
#include "libtez/reports/SCA_TezReporter.h"
#include "model/SCA_TezConfigFiles.h"
#include "model/SCA_TezProcessStatus.h"

namespace {

constexpr uint32_t kDebugLogCapacity = 500;
// The pause before the server side is rebuilt on a client's request.
constexpr uint32_t kRestartPauseMs = 1000;
// Reports that could not be stored are tried again this often while any is left.
constexpr uint32_t kReportRetryMs = 10000;
// A stop waits this long for room to store the reports of the monitors it ended, trying again
// every kStopRetryMs: well within the 60 s the service manager gives a stop.
constexpr uint32_t kStopWaitForRoomMs = 30000;
constexpr uint32_t kStopRetryMs = 1000;
constexpr uint32_t kMaxOptionValue = 1023;
constexpr size_t kSystemLogSize = 712;

int StoreCode(uint32_t* code, uint32_t value) {
    if (code != nullptr) {
        *code = value;
    }
    return 0;
}

int SyslogPriority(uint32_t level) {
    switch (level) {
    case SCA_LEVEL_CONFIG:
        return LOG_DEBUG;
    case SCA_LEVEL_INFO:
        return LOG_INFO;
    case SCA_LEVEL_WARNING:
        return LOG_WARNING;
    default:
        return LOG_ERR;
    }
}

} // namespace

SCA_KorvantaCtrl::SCA_KorvantaCtrl()
    : m_Config(SCA_PRODUCT_TYPE_KORVANTA), m_UserConfig(&m_Config),
      m_ReportIndex(&m_Config, &m_UserConfig), m_UpdateManager(&m_Config, &m_UserConfig, &m_Params),
      m_Params("Params", nullptr), m_DebugLog(kDebugLogCapacity),
      m_ActionCtrl(&m_Config, &m_UserConfig, &m_Params, &m_ReportIndex, 0),
      m_Monitors(&m_Config, &m_UserConfig), m_ThreadState(SCA_PROCESS_IDLE),
      m_NetworkPort(SCA_GetControlPort(SCA_PRODUCT_TYPE_NETWORK)) {
    m_DataLock.SetBoard(&m_StatusBoard);
    // Report actions save the current report of the monitor that raised them.
    m_ActionCtrl.SetReportProvider(
        [](const SCA_TezAction* action, SCA_TezReport* report, void* self) {
            return static_cast<SCA_KorvantaCtrl*>(self)->ProvideReport(action->GetMonitorId(),
                                                                       report);
        },
        this);
    m_ActionCtrl.SetReportSaver(&SCA_TezReporter::Save);
    const bool baseBuilt = IsConstructed() != 0;
    SetConstructed(baseBuilt ? 1 : 0);
}

SCA_KorvantaCtrl::~SCA_KorvantaCtrl() {
    // The loop must have ended before its objects go: wait for it, however long it takes.
    StopProcess();
    Unlock(__FILE__);
    // A loop that never ran its stop (a thread that was refused) leaves nothing behind.
    SCA_Object::Destroy(m_Server);
    m_Server = nullptr;
    SCA_Object::Destroy(m_Factory);
    m_Factory = nullptr;
    DeleteAllTasks();
    DeleteSelfTest();
    CloseNetworkSession();
    m_ActionCtrl.SetReportProvider(nullptr, nullptr);
}

// --- start-up -------------------------------------------------------------------------------

int SCA_KorvantaCtrl::ParseCommandLine(uint32_t argc, char** argv) {
    if (argc < 2 || argv == nullptr) {
        return 1;
    }
    SCA_Field* current = nullptr;
    for (uint32_t i = 1; i < argc; ++i) {
        const char* word = argv[i] != nullptr ? argv[i] : "";
        if (word[0] == '-') {
            const char* name = word + 1;
            if (!m_Params.GetFieldByName(name, &current)) {
                if (!m_Params.AddField(name, "", 1) || !m_Params.GetFieldByName(name, &current)) {
                    std::printf("Internal error 1123.\n");
                    return 0;
                }
            }
            continue;
        }
        if (current == nullptr) {
            return 0;
        }
        const char* old = current->GetValue() != nullptr ? current->GetValue() : "";
        std::string value = old[0] == '\0' ? std::string(word) : std::string(old) + " " + word;
        // Longer values are refused rather than cut: a cut path would name another file.
        if (value.size() > kMaxOptionValue) {
            std::printf("Invalid command line\n");
            return 0;
        }
        if (!current->SetValue(value.c_str())) {
            return 0;
        }
    }
    return 1;
}

int SCA_KorvantaCtrl::Init(uint32_t argc, char** argv, uint32_t* code) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    char configName[256];
    SCA_StrnCpy(configName, SCA_TEZ_DEFAULT_CONF_NAME, sizeof(configName));
    if (!SCA_GetHostName(m_HostName, sizeof(m_HostName))) {
        m_HostName[0] = '\0';
    }
    if (!ParseCommandLine(argc, argv)) {
        return StoreCode(code, SCA_KORVAS_BAD_COMMAND_LINE);
    }
    if (m_Params.IsFieldExists("console")) {
        m_Console = 1;
    }
    m_Params.GetField("conf_name", configName, sizeof(configName));
    if (!SCA_LoadProductConfig(&m_Config, configName, SCA_TezConfigSide::Service, code)) {
        return 0;
    }
    if (!SCA_LoadUserConfig(&m_UserConfig, &m_Config, SCA_TezConfigSide::Service, code)) {
        return 0;
    }
    LoadVerboseOption();
    uint32_t error = 0;
    if (!m_PerfMonitor.Init(&error)) {
        report(SCA_LEVEL_ERROR, "Cannot init PDH performance monitor (ERR:%u) - %s", error,
               SCA_ErrorText(error).Get());
        return StoreCode(code, SCA_KORVAS_PERF_INIT_FAILED);
    }
    m_Monitors.SetConfigDir(m_Config.GetConfigFolder());
    UseReportsFolder();
    m_ReportIndex.Load();
    return 1;
}

void SCA_KorvantaCtrl::UseReportsFolder() {
    // One reports folder: the one the configuration names, when it lies in the service's own
    // folder. Configurations of earlier versions named a folder that was never made, while
    // the reports went to "Reports": those keep their reports where they are.
    const std::string own = m_Config.GetConfigFolder();
    const std::string standard = own + "/" + SCA_TEZ_REPORTS_FOLDER;
    const std::string formerDefault = own + "/reports";
    const char* named = m_UserConfig.GetReportsDir();
    char resolved[4096];
    std::string folder = standard;
    if (named[0] != '\0' && !(formerDefault == named && !SCA_IsPathExists(named)) &&
        SCA_ResolveFolderBelow(own.c_str(), named, resolved, sizeof(resolved))) {
        folder = resolved;
    } else if (named[0] != '\0' && formerDefault != named) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_WARNING,
            "SCA_KorvantaCtrl::Init: the reports folder must lie below %s, %s is used - %s",
            own.c_str(), standard.c_str(), named);
    }
    m_ReportIndex.SetReportsDir(folder.c_str());
    ChangeUserConfig([&] {
        m_UserConfig.SetReportsDir(folder.c_str());
        return 1;
    });
}

int SCA_KorvantaCtrl::LoadVerboseOption() {
    SCA_Field* field = nullptr;
    int verbose = 0;
    if (m_UserConfig.GetAdvancedOptions()->GetFieldByName(SCA_OPTION_SHOW_VERBOSE_MESSAGES,
                                                          &field) &&
        field != nullptr && field->GetValue() != nullptr) {
        verbose = std::atoi(field->GetValue()) != 0 ? 1 : 0;
    }
    m_ActionCtrl.SetShowVerboseMessages(verbose);
    return 1;
}

// --- control thread -------------------------------------------------------------------------

int SCA_KorvantaCtrl::StartProcess() {
    std::lock_guard<std::mutex> hold(m_ProcessLock);
    // A thread that ended (a pause, or a loop that stopped) may be started again; only a
    // running one is refused.
    if (m_ThreadState.load() == SCA_PROCESS_RUNNING) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::StartProcess: already running");
        return 0;
    }
    m_ThreadState.store(SCA_PROCESS_RUNNING);
    uint32_t error = 0;
    if (Lock(&error)) {
        return 1;
    }
    SCA_GetReportFunction(__FILE__, __LINE__)(
        SCA_LEVEL_ERROR,
        "SCA_KorvantaCtrl::StartProcess: Cannot start process thread (ERR:%u) - %s", error,
        SCA_ErrorText(error).Get());
    m_ThreadState.store(SCA_PROCESS_FAILED);
    return 0;
}

int SCA_KorvantaCtrl::StopProcess() {
    std::lock_guard<std::mutex> hold(m_ProcessLock);
    // Unlock waits for the loop to end: its objects are never destroyed under it.
    Unlock(__FILE__);
    return 1;
}

int SCA_KorvantaCtrl::Unlock(const char* sourceFile) {
    // The stop event first: the loop that wakes must find it set.
    GetStopEvent()->Set();
    Wake();
    return SCA_ThreadObj::Unlock(sourceFile);
}

int SCA_KorvantaCtrl::ThreadFunc() {
    const int done = DoProcess();
    m_ThreadState.store(done ? SCA_PROCESS_STOPPED : SCA_PROCESS_FAILED);
    return done;
}

// --- control loop ---------------------------------------------------------------------------

int SCA_KorvantaCtrl::DoProcess() {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    uint32_t error = 0;
    m_UpdateManager.CheckUpdates(&error);
    // Watched before the start, so that the service's threads are all there once it says it
    // has started (and Esc during a long start is not lost).
    WatchConsole();
    if (!DoStartServer()) {
        if (m_ConsoleInput != nullptr) {
            m_ConsoleInput->StopWatching();
        }
        DoStopServer();
        m_UpdateManager.StopAll();
        return 0;
    }
    int result = 1;
    // Asleep until woken (Wake) or, while reports wait to be stored, until the next retry.
    uint32_t waitMs = SCA_INFINITE;
    for (;;) {
        m_Wake.Wait(waitMs);
        if (IsStopDue()) {
            break;
        }
        if (m_Restart.load()) {
            report(SCA_LEVEL_WARNING, "------------ SERVER RESTART COMMAND ------------");
            m_Restart.store(0);
            SCA_GetClock().SleepFor(kRestartPauseMs);
            DoStopServer();
            if (!DoStartServer()) {
                // Everything below still runs: the update manager stops and the user
                // configuration is saved.
                result = 0;
                break;
            }
        }
        waitMs = RetryPendingReports() ? SCA_INFINITE : kReportRetryMs;
    }
    if (m_ConsoleInput != nullptr) {
        m_ConsoleInput->StopWatching();
    }
    if (!DoStopServer()) {
        result = 0;
    }
    m_UpdateManager.StopAll();
    if (!m_UserConfig.SaveConfig(&error)) {
        report(SCA_LEVEL_ERROR,
               "SCA_KorvantaCtrl::DoProcess: cannot save user configuration file (ERR:%u) - %s",
               error, SCA_ErrorText(error).Get());
        return 0;
    }
    return result;
}

// In the console run, Esc and the stop signals wake the loop to end it.
void SCA_KorvantaCtrl::WatchConsole() {
    if (!m_Console || m_ConsoleInput == nullptr) {
        return;
    }
    const bool watching = m_ConsoleInput->WatchForStop([this] {
        m_ConsoleStop.store(true);
        Wake();
    });
    if (!watching) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::DoProcess: cannot watch the keys; stop with a "
                             "client or a signal");
    }
}

// A stop asked for by a client (the factory's stop event), by StopProcess, or at the console.
bool SCA_KorvantaCtrl::IsStopDue() {
    return m_Factory->GetStopEvent()->Wait(0) == SCA_WAIT_OK || GetStopEvent()->IsSignaled() ||
           m_ConsoleStop.load() || SCA_ConsoleInput::StopRequested();
}

int SCA_KorvantaCtrl::DoStartServer() {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    uint16_t port = m_UserConfig.GetServerControlPort();
    LoadVerboseOption();
    if (!m_ActionCtrl.StartProcess()) {
        report(SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::DoStartServer: cannot start action controller");
        return 0;
    }
    uint16_t option = 0;
    if (m_Params.GetField("control_port", &option)) {
        port = option;
    }
    m_Factory = new (std::nothrow) SCA_KorvantaFact(&m_Config, &m_UserConfig, &m_DebugLog, this);
    if (m_Factory == nullptr || !m_Factory->IsConstructed()) {
        if (m_Console) {
            report(SCA_LEVEL_ERROR,
                   "SCA_KorvantaCtrl::DoStartServer: Cannot create server factory");
        } else {
            ReportSystemLog(SCA_LEVEL_ERROR, "Cannot create server factory");
        }
        return 0;
    }
    // Clients may call as soon as the server listens; until the stored monitors are loaded
    // their requests wait here, so that no change is answered and then replaced by the load.
    std::unique_lock<SCA_SrvDataLock> lists(m_DataLock);
    uint32_t error = 0;
    m_Server = new (std::nothrow) SCA_KorvantaServer(m_Factory, port, &error);
    if (m_Server == nullptr || !m_Server->IsConstructed()) {
        if (m_Console) {
            report(SCA_LEVEL_ERROR,
                   "SCA_KorvantaCtrl::DoStartServer: Cannot start server on port - %u", port);
        } else {
            ReportSystemLog(SCA_LEVEL_ERROR, "Cannot start server on port - %u", port);
        }
        return 0;
    }
    SCA_Field* capField = nullptr;
    uint32_t cap = SCA_KORVAS_MAX_CONNECTIONS;
    if (m_UserConfig.GetAdvancedOptions()->GetFieldByName(SCA_OPTION_MAX_CONNECTIONS, &capField) &&
        capField != nullptr && capField->GetValue() != nullptr &&
        std::atoi(capField->GetValue()) > 0) {
        cap = static_cast<uint32_t>(std::atoi(capField->GetValue()));
    }
    m_Server->SetConnectionLimits(cap, SCA_KORVAS_STRANGER_MAX_PAYLOAD,
                                  SCA_KORVAS_STRANGER_IDLE_MS);
    m_Server->SetStrangerLimits(std::max(1u, cap / SCA_KORVAS_STRANGER_SHARE),
                                SCA_KORVAS_STRANGERS_PER_ADDRESS);
    m_Factory->SetServer(m_Server);
    m_ServerPort.store(m_Server->GetServerPort());
    report(SCA_LEVEL_INFO, "%s v%s Started on - %s:%u", m_Config.GetProductName(),
           SCA_KorvantaServer::kVersion, m_HostName, static_cast<unsigned>(GetServerPort()));
    if (!m_Monitors.Load()) {
        report(SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::DoStartServer: cannot load server monitors");
        return 0;
    }
    m_MonitorsLoaded = true;
    const uint32_t count = m_Monitors.Count();
    lists.unlock();
    report(SCA_LEVEL_INFO, "%s %u System Monitor%s Loaded", m_Config.GetProductName(), count,
           count == 1 ? "" : "s");
    m_ReportIndex.MakeReserve();
    report(SCA_LEVEL_INFO, "%s Initialization Completed", m_Config.GetProductName());
    StartAutoMonitors();
    return 1;
}

int SCA_KorvantaCtrl::SaveMonitors() {
    std::lock_guard<SCA_SrvDataLock> lists(m_DataLock);
    if (!m_MonitorsLoaded) {
        return 1;
    }
    if (!m_Monitors.Save()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR,
            "SCA_KorvantaCtrl::SaveMonitors: cannot save monitors configuration file");
        return 0;
    }
    return 1;
}

int SCA_KorvantaCtrl::StoreMonitorChange(uint32_t monitorId) {
    std::lock_guard<SCA_SrvDataLock> lists(m_DataLock);
    if (!m_MonitorsLoaded) {
        return 1;
    }
    if (!m_Monitors.StoreChange(monitorId)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR,
            "SCA_KorvantaCtrl::SaveMonitors: cannot save monitors configuration file");
        return 0;
    }
    return 1;
}

int SCA_KorvantaCtrl::DoStopServer() {
    // The server first: no connection may reach the factory or an agent once they go.
    SCA_Object::Destroy(m_Server);
    m_Server = nullptr;
    m_ServerPort.store(0);
    SCA_Object::Destroy(m_Factory);
    m_Factory = nullptr;
    // No agent is left to start a task; the tasks end (saving their reports) before the
    // actions they queued stop. Reports held for want of room are what a stop would lose.
    StopAllTasks();
    const int stored = WaitForRoomForReports();
    DeleteAllTasks();
    m_ActionCtrl.StopAll();
    std::lock_guard<SCA_SrvDataLock> lists(m_DataLock);
    if (!m_MonitorsLoaded) {
        // Never write over a monitors file that this start did not read.
        return stored;
    }
    m_MonitorsLoaded = false;
    if (!m_Monitors.Save()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR,
            "SCA_KorvantaCtrl::DoStopServer: cannot save monitors configuration file");
        return 0;
    }
    return stored;
}

int SCA_KorvantaCtrl::WaitForRoomForReports() {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    if (RetryPendingReports()) {
        return 1;
    }
    // A full disk: the room kept since the start takes the reports, and what is left of it goes
    // back to the disk for the reports it could not take and the files the stop writes next.
    StoreReportsInReserve();
    m_ReportIndex.FreeReserve();
    int saved = RetryPendingReports();
    if (!saved && CountReportsInMemory() != 0) {
        report(SCA_LEVEL_WARNING,
               "SCA_KorvantaCtrl::DoStopServer: waiting up to %u s for room to save the reports "
               "of %u monitor%s",
               kStopWaitForRoomMs / 1000, CountReportsInMemory(),
               CountReportsInMemory() == 1 ? "" : "s");
        SCA_Clock& clock = SCA_GetClock();
        const SCA_Clock::Monotonic deadline = clock.DeadlineIn(kStopWaitForRoomMs);
        do {
            clock.SleepFor(kStopRetryMs);
            saved = RetryPendingReports();
        } while (!saved && CountReportsInMemory() != 0 && clock.Now() < deadline);
    }
    if (const uint32_t lost = CountReportsInMemory()) {
        report(SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::DoStopServer: reports of %u monitor%s not saved",
               lost, lost == 1 ? "" : "s");
        return 0;
    }
    if (!saved) {
        report(SCA_LEVEL_WARNING,
               "SCA_KorvantaCtrl::DoStopServer: reports of monitors saved, the report index "
               "not: the next start lists them from their files");
    }
    return 1;
}

int SCA_KorvantaCtrl::ReportSystemLog(uint32_t level, const char* format, ...) {
    // Escaped as every report is: what an argument brings never forms a line of its own.
    va_list args;
    va_start(args, format);
    const std::string text = SCA_FormatReportText(kSystemLogSize - 1, format, args);
    va_end(args);
    SCA_SystemLog(SCA_KORVAS_LOG_IDENT).Write(SyslogPriority(level), text.c_str());
    return 1;
}
