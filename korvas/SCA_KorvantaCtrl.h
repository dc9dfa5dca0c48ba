// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <new>
#include <unordered_map>
#include <utility>
#include <vector>

#include "korvas/SCA_SrvStatusBoard.h"
#include "korvas/SCA_SrvStatusLock.h"
#include "korvas/SCA_SrvTask.h"
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
class SCA_KorvantaNetInterface;
class SCA_KorvantaServer;
class SCA_SrvTask;
class SCA_SrvTaskMonitor;
class SCA_SrvTaskProcess;
class SCA_TezCounterList;
class SCA_TezSelfTest;
struct tagSCA_TASK_PROCESS_STATE;

// A task shared by the task list and the operations that drive it outside the list's lock; the
// last holder destroys it (which stops its run).
using SCA_SrvTaskRef = std::shared_ptr<SCA_SrvTask>;
// The lock of the control object's shared data: its release tells the status board.
using SCA_SrvDataLock = SCA_SrvStatusLock<std::recursive_mutex>;
// Called with every task the control object creates, before its first start.
using SCA_SrvTaskHook = std::function<void(SCA_SrvTask*)>;

// Codes that Init stores besides the loading codes of model/SCA_TezConfigFiles.h (106-109).
inline constexpr uint32_t SCA_KORVAS_BAD_COMMAND_LINE = 105;
inline constexpr uint32_t SCA_KORVAS_PERF_INIT_FAILED = 110;

// The service's default limits for clients that have not logged in, and the advanced option
// that changes the connection cap.
inline constexpr uint32_t SCA_KORVAS_MAX_CONNECTIONS = 256;
inline constexpr const char* SCA_OPTION_MAX_CONNECTIONS = "Max Client Connections";
inline constexpr uint32_t SCA_KORVAS_STRANGER_MAX_PAYLOAD = 1u << 20;
inline constexpr uint32_t SCA_KORVAS_STRANGER_IDLE_MS = 60000;
// Connections that have not logged in hold at most a quarter of the cap, and a few from one
// address: enough for the windows and viewers of one client logging in at once.
inline constexpr uint32_t SCA_KORVAS_STRANGER_SHARE = 4;
inline constexpr uint32_t SCA_KORVAS_STRANGERS_PER_ADDRESS = 8;

// What a monitor operation decides under the data lock, before its task is driven.
enum class SCA_TaskStep {
    kFail,  // the operation failed (reported); nothing is driven
    kDone,  // the operation is complete; nothing is driven
    kDrive, // the task is driven under its run lock
};

// The one control object of a korvas process: its configurations, parameters, debug log,
// workers and monitors, and the control loop that runs the server side (the command server on
// the control port with its agent factory) until it is told to stop.
//
// The loop runs on the calling thread (console run, DoProcess) or on the object's own thread
// (service run, StartProcess/StopProcess). Agents reach the members from the command server's
// connection threads; they touch the loop only through the factory's stop event and the
// restart flag.
//
// Threads and their data. Many threads meet here: the connection threads of the agents, the
// control thread, each counter monitor's sampling thread and loader, each process monitor's
// scanning thread, the action worker. One rule holds for all of them: data that a thread reads
// while another changes it is read under its owner's lock, or is published as an immutable
// snapshot that its writer replaces whole. Flags and counters read across threads are atomic.
//  - The shared data (the user configuration, the monitors list, the profiles, the task list)
//    is owned here and changed only under the data lock, through WithData, ChangeUserConfig and
//    DriveMonitorTask; agents take no lock of their own.
//  - What the sampling, scanning and action threads read of the user configuration (settings,
//    rules, process rules) they read from its snapshot, which ChangeUserConfig republishes after
//    each change.
//  - A task's run (start, stop, pause, the reads of its live data) is driven under the task's
//    run lock, taken only after the data lock was released (DriveMonitorTask): a stop joins
//    sampling threads, which must never happen while the lists are locked. A driven step may
//    take the data lock again (run lock, then data lock; never the other order).
//  - A task's live data (samples, statuses, process list) is its monitoring core's, read under
//    that object's own lock.
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
    // Asks the loop to stop and wakes it (see SCA_ThreadObj).
    int Unlock(const char* sourceFile) override;
    // Wakes the control loop, which sleeps until there is work: a stop, a restart, a key, or
    // reports of monitors to store again.
    void Wake() { m_Wake.Set(); }

    int ThreadFunc() override;

    // The control loop: 1 when it ended normally and the user configuration was saved.
    int DoProcess();
    int DoStartServer();
    // Stops every task and the server side. Reports held for want of room are tried again
    // for a bounded time before the stop gives them up; 0 (reported) when one is lost or the
    // monitors could not be saved.
    int DoStopServer();
    int StartAutoMonitors();
    // Writes one entry to the system log (syslog, facility daemon, ident the program's name),
    // or to standard error where no log daemon listens.
    int ReportSystemLog(uint32_t level, const char* format, ...)
        __attribute__((format(printf, 3, 4)));

    // What GetStatusEx shows of the monitors: one row per monitor, in the list's order
    // (SCA_KorvantaMonitorRow), already encoded, and the counts of the same moment; made again
    // only after something changed. Null (reported) when a row cannot be made.
    std::shared_ptr<const SCA_SrvStatusBoard::Snapshot> GetStatusSnapshot();
    // The rows and counts read now, under the data lock, with the status board's generation of
    // that moment.
    int CollectStatus(std::vector<SCA_KorvantaMonitorRow>* rows, tagSCA_SRV_STATUS_COUNTS* counts,
                      uint64_t* generation);

    // --- the shared data. read() or change() runs under the data lock and its result is
    // returned; ChangeUserConfig publishes the user configuration's snapshot afterwards, so that
    // the monitoring threads see the change.
    template <typename Read>
    auto WithData(Read&& read) {
        std::lock_guard<SCA_SrvDataLock> hold(m_DataLock);
        return read();
    }
    template <typename Change>
    auto ChangeUserConfig(Change&& change) {
        std::lock_guard<SCA_SrvDataLock> hold(m_DataLock);
        auto result = change();
        m_UserConfig.PublishSnapshot();
        return result;
    }

    // Changes that must survive a crash: answered as done only once stored, and undone in
    // memory when they cannot be stored, so that what clients see is what a restart brings
    // back. Each runs change() under the data lock, then writes the file.
    //
    // The monitors list: on a failed change or write the list is put back as it was (the
    // failure is reported); 1 when stored. Inside DriveMonitorTask's data step, before any task
    // is driven.
    template <typename Change>
    int StoreMonitors(Change&& change);
    // The same for a change of one monitor (added under monitorId, changed or deleted): only
    // that monitor is stored and, on failure, put back, so the cost does not grow with the
    // number of monitors.
    template <typename Change>
    int StoreMonitor(uint32_t monitorId, Change&& change);
    // The user configuration: kRefused when change() failed, kNotStored when the file could
    // not be written (*error, the platform's code); in both cases the configuration is as it
    // was. The monitoring threads see the outcome.
    enum class StoreResult { kRefused, kNotStored, kStored };
    template <typename Change>
    StoreResult StoreUserConfig(Change&& change, uint32_t* error);

    // The one way a monitor's task is driven. Under the data lock: the monitor is found (else
    // "<missingText> monitor ID - <id>" is reported and 0 answered) and atData(monitor, task)
    // decides, task being the monitor's task or null (atData may create or take it). Unless it
    // answers kDrive, that is the answer (kFail 0, kDone 1). Then, the data lock released,
    // atRun(task) runs under the task's run lock and answers; a step that fails there undoes
    // what atData changed itself (it may take the data lock again).
    template <typename AtData, typename AtRun>
    int DriveMonitorTask(uint32_t monitorId, const char* missingText, AtData&& atData,
                         AtRun&& atRun);

    // --- monitor tasks (SCA_KorvantaCtrlTasks.cpp)
    int AddTask(SCA_SrvMonitor* monitor, SCA_SrvTaskRef* task);
    int StartMonitor(uint32_t monitorId);
    int StopMonitor(uint32_t monitorId);
    int PauseMonitor(uint32_t monitorId);
    int ResetMonitor(uint32_t monitorId);
    int RestartMonitor(uint32_t monitorId);
    int StartAllMonitors();
    int StopAllTasks();
    int DeleteAllTasks();
    // Tries again to store the reports that counter tasks could not store when their runs
    // stopped; 1 when none waits any more.
    int RetryPendingReports();
    // At a stop on a full disk: the reports that wait in memory only go into the room the
    // report index keeps for them.
    void StoreReportsInReserve();
    // The counter tasks whose report waits in memory only, its file not written.
    uint32_t CountReportsInMemory();
    // At a stop: the reports held for a full disk into the room kept for them, the rest of that
    // room given back, and then RetryPendingReports until no report waits in memory only or
    // the stop's wait for room ends; 1 when no report is lost.
    int WaitForRoomForReports();
    // The agent's monitor-list changes that reach the tasks: a deleted monitor's task is
    // stopped and deleted with it; a changed monitor keeps its id, and its type cannot change
    // while it has a task; clearing the list stops and deletes every task.
    int DeleteMonitor(uint32_t monitorId);
    int DeleteAllMonitors();
    int SetMonitorObj(uint32_t monitorId, SCA_ConfigObj* object);
    uint32_t GetActiveMonitors();
    uint32_t GetStoppedMonitors();
    uint32_t GetFailedMonitors();
    uint32_t GetTotalErrors();
    uint32_t GetTotalWarnings();
    // Writes the monitors file after a change of the monitors or their counters, so that a
    // change answered as done survives a crash. 1 while no file was read (nothing is written
    // over a file this start did not read); 0 when the write failed (reported).
    int SaveMonitors();
    // Makes the change of one monitor durable (see SCA_SrvMonitorList::StoreChange).
    int StoreMonitorChange(uint32_t monitorId);
    int GetMonitorStats(uint32_t monitorId, uint32_t* type, uint32_t* status, uint32_t* state,
                        uint32_t* counters, uint32_t* errors, uint32_t* warnings);
    int GetMonitorStatus(uint32_t monitorId, uint32_t* status, uint32_t* state,
                         uint32_t* countersStatusId, SCA_ConfigObj* list);
    int GetMonitorStatusEx(uint32_t monitorId, uint32_t* status, uint32_t* state, uint32_t* errors,
                           uint32_t* warnings, uint64_t* processTime, uint32_t* countersStatusId,
                           SCA_ConfigObj* list, uint32_t counterId, uint64_t since, uint32_t count,
                           SCA_ConfigObj* data);
    int GetCounterStatusEx(uint32_t monitorId, uint32_t counterId, uint64_t since, uint32_t count,
                           SCA_ConfigObj* data, char* text, uint32_t size);
    int GetMonitorReport(uint32_t monitorId, SCA_ConfigObj* report);
    int GetMonitorErrors(uint32_t monitorId, SCA_ConfigObj* errors);
    // The task of a monitor, or null.
    SCA_SrvTaskRef GetTask(uint32_t monitorId);
    // The collector's counters of a monitor's task (the service computer's own for all ones).
    int GetPerfCounters(uint32_t monitorId, SCA_ConfigObj* list);
    // Every counter type this computer has a source for, over all its instances (processes
    // aside: they are a process monitor's), sampled now; rates have a value from the second
    // request on.
    int GetHostCounters(SCA_ConfigObj* list);
    // Tests give new tasks short sampling periods and fixture sources.
    void SetTaskHook(SCA_SrvTaskHook hook);

    // --- counters of a monitor (SCA_KorvantaCtrlCounters.cpp)
    int GetCounterInfo(uint32_t monitorId, uint32_t counterId, SCA_ConfigObj* object);
    int SetCounterInfo(uint32_t monitorId, uint32_t counterId, SCA_ConfigObj* object);
    int AddCounter(uint32_t monitorId, uint32_t counterType, const char* computer,
                   const char* instance, const char* namePrefix, uint32_t* counterId);
    int IsCounterExists(uint32_t monitorId, uint32_t counterType, const char* computer,
                        const char* instance, const char* namePrefix, uint32_t* counterId);
    int MoveCounterUp(uint32_t monitorId, uint32_t counterId);
    int MoveCounterDown(uint32_t monitorId, uint32_t counterId);
    int DeleteCounter(uint32_t monitorId, uint32_t counterId);
    int DeleteAllCounters(uint32_t monitorId);

    // --- process monitors (SCA_KorvantaCtrlProcesses.cpp); objects are created here and
    // handed to the caller, who releases them.
    int GetMonitorProcessLog(uint32_t monitorId, SCA_ConfigObj** log);
    int GetMonitorProcessList(uint32_t monitorId, uint32_t details, SCA_ConfigObj** list);
    int GetMonitorProcessListStatus(uint32_t monitorId, uint32_t* type, uint32_t* status,
                                    uint32_t* processStatus, uint64_t* startTime,
                                    uint32_t* listStatus, SCA_ConfigObj** list);
    int GetMonitorProcessListStatusEx(uint32_t monitorId, uint32_t* type, uint32_t* status,
                                      uint32_t* processStatus, uint64_t* startTime,
                                      uint32_t* listStatus, uint32_t fromLogId,
                                      SCA_ConfigObj** list, SCA_ConfigObj** log);
    int GetMonitorProcessCounterList(uint32_t monitorId, uint32_t processId,
                                     tagSCA_TASK_PROCESS_STATE* state, SCA_ConfigObj** list);
    int GetMonitorProcessCountersStatus(uint32_t monitorId, uint32_t processId,
                                        tagSCA_TASK_PROCESS_STATE* state, SCA_ConfigObj** list);
    int GetMonitorProcessCountersStatusEx(uint32_t monitorId, uint32_t processId,
                                          tagSCA_TASK_PROCESS_STATE* state, uint32_t counterId,
                                          uint64_t since, uint32_t count, SCA_ConfigObj** list,
                                          SCA_ConfigObj** data, uint64_t* dataTime);
    int GetMonitorProcess(uint32_t monitorId, uint32_t processId, uint32_t load,
                          SCA_ConfigObj** process);
    int GetMonitorProcessModules(uint32_t monitorId, uint32_t processId, uint32_t option,
                                 char* processName, SCA_ConfigObj** modules, uint32_t* ok,
                                 uint32_t* error);
    int GetMonitorProcessExcludeList(uint32_t monitorId, SCA_ConfigObj** list);
    int SetMonitorProcessExcludeList(uint32_t monitorId, SCA_ConfigObj* list);

    // --- reports and the network join (SCA_KorvantaCtrlReports.cpp)
    int GetReportIndexObj(SCA_ConfigObj** object);
    int IsReportExists(SCA_ConfigObj* info, uint32_t* exists);
    // *reportId receives the new report's id.
    int AddReportObj(SCA_ConfigObj* object, uint32_t* reportId);
    int GetReportObj(uint32_t reportId, SCA_ConfigObj** object);
    int DeleteReport(uint32_t reportId);
    int DeleteAllReports();
    // Connects to the central network server on host and reads its information; the caller
    // owns the connected interface. reportFailures logs why a join failed.
    int DoConnect(const char* host, SCA_KorvantaNetInterface** netInterface, int reportFailures);
    // The network server's port (its product's control port unless a test sets another).
    void SetNetworkPort(uint16_t port) { m_NetworkPort = port; }
    int GetNetworkJoined() const { return m_NetworkJoined.load(); }
    void SetNetworkJoined(int joined) { m_NetworkJoined.store(joined); }
    // Keeps a connected interface as the device's open session (owned from now on); a session
    // kept before is closed first.
    void KeepNetworkSession(SCA_KorvantaNetInterface* netInterface);
    // Closes the open session, if there is one: the device logs out and the interface goes.
    // The interface itself says whether a session is open, never the joined flag.
    void CloseNetworkSession();
    int HasNetworkSession();

    // --- the self-test of the monitoring core (SCA_KorvantaCtrlSelfTest.cpp): at most one, kept
    // from its start until it is deleted. Texts receive at most size bytes.
    int StartSelfTest(uint32_t mode, uint32_t* started, char* text, uint32_t size);
    int GetSelfTestStatus(uint32_t* progress, uint32_t* status, char* text, uint32_t size);
    int GetSelfTestLog(SCA_ConfigObj* log);
    int DeleteSelfTest();
    // Tests point the self-test at fixture sources before it starts.
    using SelfTestHook = std::function<void(SCA_TezSelfTest*)>;
    void SetSelfTestHook(SelfTestHook hook);
    // --- folders that clients name (SCA_KorvantaCtrlFolders.cpp): report actions' and
    // periodic saves' folders must lie below the reports folder (relative names lie below it
    // too); the user configuration's reports folder below the service's own folder. 0, with
    // "<operation>: the report folder must lie below <folder> - <name>", for any other.
    int CheckReportFolder(const char* folder, const char* operation);
    int CheckCounterFolders(const SCA_TezCounterList& counters, const char* operation);
    int CheckMonitorFolders(const SCA_SrvMonitor& monitor, const char* operation);
    int CheckUserConfigFolders(SCA_TezConfigUser* config, const char* operation);

    // The current report of the monitor whose condition raised a report action.
    int ProvideReport(uint32_t monitorId, SCA_TezReport* report);

    // The console keys and stop signals that end the console run (null: none); not owned.
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
    void SetRestart(int restart) {
        m_Restart.store(restart);
        Wake();
    }
    const char* GetHostName() const { return m_HostName; }
    uint32_t GetThreadState() const { return m_ThreadState.load(); }
    // The port the command server listens on (0 while it does not).
    uint16_t GetServerPort() const { return m_ServerPort.load(); }
    // The command server of the running server side; null while it is stopped.
    SCA_KorvantaServer* GetServer() const { return m_Server; }

private:
    void WatchConsole();
    bool IsStopDue();
    // Ends a task's run; a report it could not store is retried by the loop, so it wakes.
    int EndTaskRun(const SCA_SrvTaskRef& task);
    // The counter monitors' tasks, taken under the data lock.
    std::vector<SCA_SrvTaskRef> CounterTasks();
    // The monitor of that id (the caller holds the data lock); otherwise null, with the report
    // "<missingText> monitor ID - <id>" (missingText such as "SCA_KorvantaCtrl::AddCounter:
    // invalid", the operation's own wording).
    SCA_SrvMonitor* FindMonitor(uint32_t monitorId, const char* missingText);

    SCA_TezConfig m_Config;
    SCA_TezConfigUser m_UserConfig;
    SCA_TezReportIndex m_ReportIndex;
    SCA_UpdateManager m_UpdateManager;
    SCA_ConfigObj m_Params;
    SCA_DebugLog m_DebugLog;
    SCA_TezActionCtrl m_ActionCtrl;
    SCA_PerfMonitor m_PerfMonitor;
    // The service computer's counters that clients ask for; opened at the first request.
    SCA_PerfMonitor m_HostCounters;
    std::mutex m_HostCountersLock;
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
    std::atomic<bool> m_ConsoleStop{false}; // Esc or a stop signal in the console run
    SCA_Event m_Wake{0, 0};                 // automatic: one wake-up per Set
    // StartProcess and StopProcess come from the service host's thread.
    std::mutex m_ProcessLock;

    // The report actions' folders of a list of conditions or rules.
    template <typename List>
    int CheckActionFolders(const List& conds, const char* operation);
    // Sets the report index's folder from the user configuration (see Init).
    void UseReportsFolder();
    // The task of a monitor (the caller holds the data lock), or null.
    SCA_SrvTaskRef FindTask(uint32_t monitorId) const;
    // Gives a counter task the monitor's current counter list, read under the data lock while
    // the caller holds the task's run lock, so that of two changes the later one is synced
    // last whatever order their syncs come in. 0 when the monitor is gone or the copy fails.
    int SyncTaskCounters(uint32_t monitorId, SCA_SrvTaskMonitor* task);
    // Initialises task with a copy of monitor taken under the data lock and starts it; the
    // caller holds neither lock.
    int StartMonitor(const SCA_SrvMonitor& monitor, const SCA_SrvTaskRef& task);
    // Resumes a paused task; a task that cannot resume is stopped and started afresh.
    int StartTask(const SCA_SrvMonitor& monitor, const SCA_SrvTaskRef& task);
    int StopTask(const SCA_SrvTaskRef& task);
    // The data step of the process operations, with their texts: the monitor's type into type
    // (may be null); a monitor of another type fails; one without a task fails when a task is
    // required and is otherwise done.
    SCA_TaskStep CheckProcessTask(const SCA_SrvMonitor& monitor, const SCA_SrvTaskRef& task,
                                  const char* operation, bool taskRequired, uint32_t* type);
    // DriveMonitorTask for a process operation: atRun(SCA_SrvTaskProcess&) under the run lock.
    // *idle (may be null) tells whether the monitor had no task to drive.
    template <typename AtRun>
    int DriveProcessTask(uint32_t monitorId, const char* operation, bool taskRequired,
                         uint32_t* type, bool* idle, AtRun&& atRun);
    // A process query that fills one new object: read(task, object) under the run lock, the
    // neutral state for a monitor never started.
    template <typename Read>
    int ReadProcessObject(uint32_t monitorId, const char* operation, const char* name,
                          const char* failText, tagSCA_TASK_PROCESS_STATE* state,
                          SCA_ConfigObj** out, Read&& read);

    // Declared before the locks and the tasks that tell it of changes.
    SCA_SrvStatusBoard m_StatusBoard;
    SCA_SrvDataLock m_DataLock;
    // By monitor id.
    std::unordered_map<uint32_t, SCA_SrvTaskRef> m_Tasks;
    SCA_SrvTaskHook m_TaskHook;
    uint16_t m_NetworkPort;
    std::atomic<int> m_NetworkJoined{0};
    // The device's open network session, or null; under the data lock.
    SCA_KorvantaNetInterface* m_NetInterface = nullptr;
    // Shared so that a reader can use it outside the data lock while another connection
    // deletes it; the last holder stops its thread.
    std::shared_ptr<SCA_TezSelfTest> m_SelfTest;
    SelfTestHook m_SelfTestHook;
};

template <typename AtData, typename AtRun>
int SCA_KorvantaCtrl::DriveMonitorTask(uint32_t monitorId, const char* missingText, AtData&& atData,
                                       AtRun&& atRun) {
    SCA_SrvTaskRef task;
    {
        std::lock_guard<SCA_SrvDataLock> hold(m_DataLock);
        SCA_SrvMonitor* monitor = FindMonitor(monitorId, missingText);
        if (monitor == nullptr) {
            return 0;
        }
        task = FindTask(monitorId);
        switch (atData(*monitor, task)) {
        case SCA_TaskStep::kFail:
            return 0;
        case SCA_TaskStep::kDone:
            return 1;
        case SCA_TaskStep::kDrive:
            break;
        }
    }
    std::lock_guard<SCA_SrvRunLock> run(task->GetRunLock());
    return atRun(task);
}

template <typename Change>
int SCA_KorvantaCtrl::StoreMonitors(Change&& change) {
    std::lock_guard<SCA_SrvDataLock> hold(m_DataLock);
    SCA_ConfigObj before(SCA_SRV_MONITORS_ROOT, nullptr);
    if (!m_Monitors.Serialize(&before)) {
        return 0;
    }
    if (change() && SaveMonitors()) {
        return 1;
    }
    m_Monitors.Deserialize(&before);
    return 0;
}

template <typename Change>
int SCA_KorvantaCtrl::StoreMonitor(uint32_t monitorId, Change&& change) {
    std::lock_guard<SCA_SrvDataLock> hold(m_DataLock);
    const uint32_t position = m_Monitors.GetItemPos(monitorId);
    SCA_SrvMonitor* present = nullptr;
    SCA_OwnedPtr<SCA_SrvMonitor> before;
    if (m_Monitors.GetMonitor(monitorId, &present)) {
        before.reset(new (std::nothrow) SCA_SrvMonitor(&m_Config, &m_UserConfig));
        if (before == nullptr || !before->SetContent(*present)) {
            return 0;
        }
    }
    if (change() && StoreMonitorChange(monitorId)) {
        return 1;
    }
    m_Monitors.Restore(monitorId, before.get(), position);
    return 0;
}

template <typename Change>
SCA_KorvantaCtrl::StoreResult SCA_KorvantaCtrl::StoreUserConfig(Change&& change, uint32_t* error) {
    std::lock_guard<SCA_SrvDataLock> hold(m_DataLock);
    SCA_ConfigObj before(SCA_TEZ_USER_CONFIG_ROOT, nullptr);
    StoreResult result = StoreResult::kStored;
    if (!m_UserConfig.Serialize(&before)) {
        result = StoreResult::kRefused;
    } else if (!change()) {
        result = StoreResult::kRefused;
    } else if (!m_UserConfig.SaveConfig(error)) {
        result = StoreResult::kNotStored;
    }
    if (result != StoreResult::kStored) {
        m_UserConfig.Deserialize(&m_Config, &before, SCA_TEZ_USER_ALL);
    }
    m_UserConfig.PublishSnapshot();
    LoadVerboseOption();
    return result;
}
