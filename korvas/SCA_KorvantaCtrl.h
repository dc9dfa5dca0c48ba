#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "libmor/SCA_ThreadObj.h"
#include "libtez/SCA_TezActionCtrl.h"
#include "libtez/SCA_UpdateManager.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_DebugLog.h"
#include "model/SCA_SrvMonitorList.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezReportIndex.h"
#include "perf/SCA_PerfMonitor.h"

class SCA_ConsoleInput;
class SCA_KorvantaFact;
class SCA_KorvantaServer;

// Codes that Init stores besides the loading codes of model/SCA_TezConfigFiles.h (106-109).
inline constexpr uint32_t SCA_KORVAS_BAD_COMMAND_LINE = 105;
inline constexpr uint32_t SCA_KORVAS_PERF_INIT_FAILED = 110;

// The service's default limits for clients that have not logged in, and the advanced option
// that changes the connection cap.
inline constexpr uint32_t SCA_KORVAS_MAX_CONNECTIONS = 256;
inline constexpr const char* SCA_OPTION_MAX_CONNECTIONS = "Max Client Connections";
inline constexpr uint32_t SCA_KORVAS_STRANGER_MAX_PAYLOAD = 1u << 20;
inline constexpr uint32_t SCA_KORVAS_STRANGER_IDLE_MS = 60000;

// The one control object of a korvas process: its configurations, parameters, debug log,
// workers and monitors, and the control loop that runs the server side (the command server on
// the control port with its agent factory) until it is told to stop.
//
// The loop runs on the calling thread (console run, DoProcess) or on the object's own thread
// (service run, StartProcess/StopProcess). Agents reach the members from the command server's
// connection threads; they touch the loop only through the factory's stop event and the
// restart flag.
class SCA_KorvantaCtrl : public SCA_ThreadObj {
public:
    SCA_HEAP_OPERATORS

    SCA_KorvantaCtrl();
    ~SCA_KorvantaCtrl() override;

    // Start-up: parameters, configurations, counter collector, report index. 0 with *code set
    // (105-110) on failure, which is reported.
    int Init(uint32_t argc, char** argv, uint32_t* code);
    // Adds "-name value..." words to "Params". 0 for a value word before any option.
    int ParseCommandLine(uint32_t argc, char** argv);
    int LoadVerboseOption();
    // Starts the control thread; refused only while it runs. 1 on success.
    int StartProcess();
    // Stops the control thread and waits for its loop to end. Always 1.
    int StopProcess();

    int ThreadFunc() override;

    // The control loop: 1 when it ended normally and the user configuration was saved.
    int DoProcess();
    int DoStartServer();
    int DoStopServer();
    int StartAutoMonitors();
    // Writes one entry to the system log (syslog, facility daemon, ident the product name).
    int ReportSystemLog(uint32_t level, const char* format, ...)
        __attribute__((format(printf, 3, 4)));

    // Fills "MonitorsStatus": one field per monitor, named by its id, valued
    // "status run-state counters errors warnings computer description".
    int GetMonitorsStatus(SCA_ConfigObj* object);

    // The console keys the loop reads in the console run (null: none); not owned.
    void SetConsoleInput(SCA_ConsoleInput* input) { m_ConsoleInput = input; }

    SCA_TezConfig* GetConfig() { return &m_Config; }
    SCA_TezConfigUser* GetUserConfig() { return &m_UserConfig; }
    SCA_TezReportIndex* GetReportIndex() { return &m_ReportIndex; }
    SCA_DebugLog* GetDebugLog() { return &m_DebugLog; }
    SCA_TezActionCtrl* GetActionCtrl() { return &m_ActionCtrl; }
    SCA_PerfMonitor* GetPerfMonitor() { return &m_PerfMonitor; }
    SCA_SrvMonitorList* GetMonitorList() { return &m_Monitors; }
    SCA_ConfigObj* GetParams() { return &m_Params; }
    int GetConsole() const { return m_Console; }
    int GetRestart() const { return m_Restart.load(); }
    void SetRestart(int restart) { m_Restart.store(restart); }
    const char* GetHostName() const { return m_HostName; }
    uint32_t GetThreadState() const { return m_ThreadState.load(); }
    // The port the command server listens on (0 while it does not).
    uint16_t GetServerPort() const { return m_ServerPort.load(); }

private:
    SCA_TezConfig m_Config;
    SCA_TezConfigUser m_UserConfig;
    SCA_TezReportIndex m_ReportIndex;
    SCA_UpdateManager m_UpdateManager;
    SCA_ConfigObj m_Params;
    SCA_DebugLog m_DebugLog;
    SCA_TezActionCtrl m_ActionCtrl;
    SCA_PerfMonitor m_PerfMonitor;
    SCA_SrvMonitorList m_Monitors;

    int m_Console = 0;
    std::atomic<int> m_Restart{0};
    std::atomic<uint32_t> m_ThreadState;
    char m_HostName[256] = "";
    SCA_KorvantaFact* m_Factory = nullptr;
    SCA_KorvantaServer* m_Server = nullptr;
    std::atomic<uint16_t> m_ServerPort{0};
    // The monitors file is written back only over what was read from it.
    bool m_MonitorsLoaded = false;
    SCA_ConsoleInput* m_ConsoleInput = nullptr;
    // StartProcess and StopProcess come from the service host's thread.
    std::mutex m_ProcessLock;
};
