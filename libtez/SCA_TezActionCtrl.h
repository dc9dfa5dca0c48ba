// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "containers/SCA_DataQueue.h"
#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_ThreadObj.h"
#include "model/SCA_SoundActions.h"
#include "model/SCA_TezAction.h"
#include "model/SCA_TezProcessStatus.h"

class SCA_ConfigObj;
class SCA_TezReport;
class SCA_TezConfig;
class SCA_TezConfigUser;
class SCA_TezReportIndex;

// Fills report with the current report of the monitor that raised action (the action's own
// report pointer is null: the action outlives the monitor's data). 1 when report was filled.
using SCA_TezReportProvider = int (*)(const SCA_TezAction* action, SCA_TezReport* report,
                                      void* userData);

// Writes report in format (mode: the report mode) into the file at path; 0 with *error set when
// it cannot. The writers are a library of their own that the controller's owner links.
using SCA_TezReportSaver = int (*)(SCA_TezReport* report, uint32_t format, uint32_t mode,
                                   const char* path, uint32_t* error);

// The action id of a monitor's periodic report save: no condition has it, so that the files
// these saves write are told apart from those of each condition's report actions.
inline constexpr uint32_t SCA_TEZ_PERIODIC_REPORT_ACTION = SCA_ALL_ONES;

// The reports a condition's report action keeps in its folder; the oldest go first. A condition
// that holds at every sample would otherwise fill the disk inside the reports folder.
inline constexpr uint32_t SCA_TEZ_REPORT_ACTION_HISTORY = 10;

// The sound actions kept for clients; the oldest go first.
inline constexpr uint32_t SCA_TEZ_MAX_SOUND_ACTIONS = 256;

// The action controller of the monitoring core: a worker thread that takes the actions queued
// for it and carries them out. A sound is recorded in the sound actions that clients read; a
// report is saved in the action's format into the action's folder (the user's reports folder
// when the action names none); an e-mail goes out through the configured SMTP server.
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
    // The list itself is the worker's: read it through SerializeSoundActions, which holds the
    // lock that the worker takes while it adds.
    SCA_SoundActions* GetSoundActions() { return &m_SoundActions; }
    int SerializeSoundActions(uint64_t since, SCA_ConfigObj* object);
    uint64_t GetLastSoundActionTime();

    // Where report actions get the report to save; without one they save the action's own.
    void SetReportProvider(SCA_TezReportProvider provider, void* userData);
    // What report actions write reports with; without one they fail (reported).
    void SetReportSaver(SCA_TezReportSaver saver) { m_Saver = saver; }

    // Starts the worker. StopAll stops it; actions still queued stay queued.
    int StartProcess();
    int StopAll();
    int Unlock(const char* sourceFile) override;
    int ThreadFunc() override;

    // Carries out one action on the calling thread (the worker calls it for each queued one).
    // 0 when the action failed (reported).
    int DoAction(SCA_TezAction* action);

    // "Korvanta <monitor> <monitor id>-<action id> <date-time>.<extension>" in folder, the
    // monitor name made file-name safe so that the file stays in folder; a periodic save has
    // no "-<action id>". 0 when it does not fit or the format is invalid.
    static int BuildReportPath(const char* folder, const char* monitorName, uint32_t monitorId,
                               uint32_t actionId, const char* dateTime, uint32_t format, char* path,
                               uint32_t size);

    SCA_TezConfig* GetConfig() const { return m_Config; }
    SCA_TezConfigUser* GetUserConfig() const { return m_UserConfig; }
    SCA_ConfigObj* GetParams() const { return m_Params; }
    SCA_TezReportIndex* GetReportIndex() const { return m_ReportIndex; }
    int GetMode() const { return m_Mode; }

private:
    int PlaySound(SCA_TezAction* action);
    int SaveReport(SCA_TezAction* action);
    // Deletes the reports of the monitor's action actionId in folder (in format, named as
    // BuildReportPath names them) but the newest keep ones (0: keeps all); other files stay.
    static void PruneReports(const char* folder, const char* monitorName, uint32_t monitorId,
                             uint32_t actionId, uint32_t format, uint32_t keep);
    int SendMail(SCA_TezAction* action);

    SCA_TezConfig* m_Config;
    SCA_TezConfigUser* m_UserConfig;
    SCA_ConfigObj* m_Params;
    SCA_TezReportIndex* m_ReportIndex;
    int m_Mode;
    // Set by the owner while the worker runs.
    std::atomic<int> m_ShowVerboseMessages{0};
    uint32_t m_WorkerId = 0;
    std::atomic<uint32_t> m_ProcessStatus{SCA_PROCESS_IDLE};
    SCA_DataQueue<SCA_TezAction*> m_Actions;
    SCA_SoundActions m_SoundActions;
    std::mutex m_SoundLock;
    // The list's last action time, published when the worker adds, so that the status every
    // client polls reads it without the lock.
    std::atomic<uint64_t> m_LastSoundTime{0};
    uint32_t m_NextSoundId = 0;
    SCA_TezReportProvider m_Provider = nullptr;
    SCA_TezReportSaver m_Saver = nullptr;
    void* m_ProviderData = nullptr;
};
