// SPDX-License-Identifier: MIT
// The control object's monitor tasks: one task per started monitor, created, driven and counted
// here for the agents of every connection and the control thread, each operation through
// DriveMonitorTask (see the control object's header for the locks).
#include <cstdio>
#include <new>
#include <string>

#include "korvas/SCA_KorvantaCtrl.h"
#include "korvas/SCA_SrvTaskMonitor.h"
#include "korvas/SCA_SrvTaskProcess.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Report.h"
#include "libtez/SCA_KorvantaMonitorRow.h"
#include "model/SCA_TezProcessStatus.h"

namespace {

SCA_SrvTaskRef Share(SCA_SrvTask* task) {
    return SCA_SrvTaskRef(task, [](SCA_SrvTask* owned) { SCA_Object::Destroy(owned); });
}

// The computer a monitor watches; empty for the service's own.
const char* ComputerOf(SCA_SrvMonitor* monitor) {
    return monitor->IsRemoteMonitor() ? monitor->GetComputerName() : "";
}

} // namespace

SCA_SrvTaskRef SCA_KorvantaCtrl::FindTask(uint32_t monitorId) const {
    auto it = m_Tasks.find(monitorId);
    return it != m_Tasks.end() ? it->second : nullptr;
}

SCA_SrvTaskRef SCA_KorvantaCtrl::GetTask(uint32_t monitorId) {
    std::lock_guard<SCA_SrvDataLock> hold(m_DataLock);
    return FindTask(monitorId);
}

void SCA_KorvantaCtrl::SetTaskHook(SCA_SrvTaskHook hook) {
    std::lock_guard<SCA_SrvDataLock> hold(m_DataLock);
    m_TaskHook = std::move(hook);
}

int SCA_KorvantaCtrl::AddTask(SCA_SrvMonitor* monitor, SCA_SrvTaskRef* task) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    std::lock_guard<SCA_SrvDataLock> hold(m_DataLock);
    SCA_SrvTask* created = nullptr;
    switch (monitor->GetMonitorType()) {
    case SCA_SRV_MONITOR_COUNTERS:
        created = new (std::nothrow)
            SCA_SrvTaskMonitor(&m_Config, &m_UserConfig, &m_Params, &m_ReportIndex, &m_ActionCtrl);
        break;
    case SCA_SRV_MONITOR_PROCESS:
        created = new (std::nothrow)
            SCA_SrvTaskProcess(&m_Config, &m_UserConfig, &m_Params, &m_ReportIndex, &m_ActionCtrl);
        break;
    default:
        report(SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::AddTask: unsupported monitor type - %u",
               monitor->GetMonitorType());
        return 0;
    }
    if (created == nullptr || !created->IsConstructed()) {
        report(SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::AddTask: Cannot create task object");
        SCA_Object::Destroy(created);
        return 0;
    }
    created->SetStatusBoard(&m_StatusBoard);
    if (m_TaskHook) {
        m_TaskHook(created);
    }
    SCA_SrvTaskRef shared = Share(created);
    m_Tasks[monitor->GetMonitorId()] = shared;
    *task = std::move(shared);
    return 1;
}

SCA_SrvMonitor* SCA_KorvantaCtrl::FindMonitor(uint32_t monitorId, const char* missingText) {
    SCA_SrvMonitor* monitor = nullptr;
    if (!m_Monitors.GetMonitor(monitorId, &monitor)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "%s monitor ID - %u",
                                                  missingText, monitorId);
        return nullptr;
    }
    return monitor;
}

// --- starting and stopping ------------------------------------------------------------------

int SCA_KorvantaCtrl::StartMonitor(uint32_t monitorId) {
    SCA_SrvMonitor copy(&m_Config, &m_UserConfig);
    SCA_SrvTaskRef discarded;
    return DriveMonitorTask(
        monitorId, "SCA_KorvantaCtrl::StartMonitor: invalid",
        [&](SCA_SrvMonitor& monitor, SCA_SrvTaskRef& task) {
            if (monitor.GetMonitorType() == SCA_SRV_MONITOR_COUNTERS &&
                monitor.GetProfile()->GetCounterList()->Count() == 0) {
                return SCA_TaskStep::kDone;
            }
            if (!copy.SetContent(monitor)) {
                SCA_GetReportFunction(__FILE__, __LINE__)(
                    SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::StartMonitor: Cannot init monitor - %u",
                    monitorId);
                return SCA_TaskStep::kFail;
            }
            if (task && task->GetTaskType() != monitor.GetMonitorType()) {
                // A task of the other kind cannot run this monitor: it goes, a new one comes.
                discarded = std::move(task);
                m_Tasks.erase(monitorId);
            }
            return task || AddTask(&monitor, &task) ? SCA_TaskStep::kDrive : SCA_TaskStep::kFail;
        },
        [&](const SCA_SrvTaskRef& task) {
            if (discarded) {
                StopTask(discarded);
            }
            switch (task->GetState()) {
            case SCA_PROCESS_PAUSED:
                return StartTask(copy, task);
            case SCA_PROCESS_RUNNING:
                return 1;
            default:
                return StartMonitor(copy, task);
            }
        });
}

int SCA_KorvantaCtrl::StartMonitor(const SCA_SrvMonitor& monitor, const SCA_SrvTaskRef& task) {
    if (!task->Init(monitor)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::StartMonitor: Cannot init monitor - %u",
            monitor.GetMonitorId());
        task->SetState(SCA_PROCESS_FAILED);
        return 0;
    }
    if (!task->StartProcess()) {
        task->SetState(SCA_PROCESS_FAILED);
        return 0;
    }
    task->SetState(SCA_PROCESS_RUNNING);
    WithData([this] {
        m_UserConfig.AddTotalTasks();
        return 1;
    });
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_INFO, "Start Monitor: %s",
                                              monitor.GetDescription());
    return 1;
}

int SCA_KorvantaCtrl::StartTask(const SCA_SrvMonitor& monitor, const SCA_SrvTaskRef& task) {
    if (task->Resume()) {
        task->SetState(SCA_PROCESS_RUNNING);
        return 1;
    }
    // A run that cannot go on is ended and begun again rather than shown as running.
    EndTaskRun(task);
    return StartMonitor(monitor, task);
}

int SCA_KorvantaCtrl::StopTask(const SCA_SrvTaskRef& task) {
    std::lock_guard<SCA_SrvRunLock> run(task->GetRunLock());
    EndTaskRun(task);
    return 1;
}

int SCA_KorvantaCtrl::EndTaskRun(const SCA_SrvTaskRef& task) {
    const int stopped = task->StopProcess();
    Wake();
    return stopped;
}

namespace {

// The data step of the operations that drive a task when the monitor has one and do nothing
// when it has none.
SCA_TaskStep DriveIfTask(const SCA_SrvMonitor& /*monitor*/, const SCA_SrvTaskRef& task) {
    return task ? SCA_TaskStep::kDrive : SCA_TaskStep::kDone;
}

} // namespace

int SCA_KorvantaCtrl::StopMonitor(uint32_t monitorId) {
    std::string description;
    return DriveMonitorTask(
        monitorId, "SCA_KorvantaCtrl::StopMonitor: invalid",
        [&](const SCA_SrvMonitor& monitor, const SCA_SrvTaskRef& task) {
            description = monitor.GetDescription();
            return DriveIfTask(monitor, task);
        },
        [&](const SCA_SrvTaskRef& task) {
            if (task->IsActive()) {
                SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_INFO, "Stop Monitor: %s",
                                                          description.c_str());
                EndTaskRun(task);
            }
            return 1;
        });
}

int SCA_KorvantaCtrl::PauseMonitor(uint32_t monitorId) {
    return DriveMonitorTask(monitorId, "SCA_KorvantaCtrl::PauseMonitor: Invalid", DriveIfTask,
                            [](const SCA_SrvTaskRef& task) {
                                // Only a running task pauses: a stopped or failed one keeps
                                // showing what it is.
                                if (task->GetState() == SCA_PROCESS_RUNNING && task->Pause()) {
                                    task->SetState(SCA_PROCESS_PAUSED);
                                }
                                return 1;
                            });
}

int SCA_KorvantaCtrl::ResetMonitor(uint32_t monitorId) {
    return DriveMonitorTask(monitorId, "SCA_KorvantaCtrl::ResetMonitor: Invalid", DriveIfTask,
                            [](const SCA_SrvTaskRef& task) {
                                return task->GetState() == SCA_PROCESS_RUNNING ? task->Reset() : 1;
                            });
}

int SCA_KorvantaCtrl::RestartMonitor(uint32_t monitorId) {
    return DriveMonitorTask(monitorId, "SCA_KorvantaCtrl::RestartMonitor: Invalid", DriveIfTask,
                            [](const SCA_SrvTaskRef& task) { return task->Restart(); });
}

int SCA_KorvantaCtrl::StartAllMonitors() {
    std::vector<uint32_t> ids = WithData([this] {
        std::vector<uint32_t> all;
        for (auto* node = m_Monitors.GetHead(); node != nullptr; node = node->GetNext()) {
            all.push_back(node->GetId());
        }
        return all;
    });
    for (uint32_t id : ids) {
        StartMonitor(id);
    }
    return 1;
}

int SCA_KorvantaCtrl::StartAutoMonitors() {
    std::vector<uint32_t> ids = WithData([this] {
        std::vector<uint32_t> automatic;
        for (auto* node = m_Monitors.GetHead(); node != nullptr; node = node->GetNext()) {
            if (node->GetItem()->GetAutoStart() != 0) {
                automatic.push_back(node->GetId());
            }
        }
        return automatic;
    });
    for (uint32_t id : ids) {
        StartMonitor(id);
    }
    return 1;
}

int SCA_KorvantaCtrl::StopAllTasks() {
    std::vector<SCA_SrvTaskRef> tasks = WithData([this] {
        std::vector<SCA_SrvTaskRef> all;
        for (const auto& [id, task] : m_Tasks) {
            all.push_back(task);
        }
        return all;
    });
    for (const SCA_SrvTaskRef& task : tasks) {
        StopTask(task);
    }
    return 1;
}

std::vector<SCA_SrvTaskRef> SCA_KorvantaCtrl::CounterTasks() {
    return WithData([this] {
        std::vector<SCA_SrvTaskRef> counters;
        for (const auto& [id, task] : m_Tasks) {
            if (task->GetTaskType() == SCA_TASK_COUNTERS) {
                counters.push_back(task);
            }
        }
        return counters;
    });
}

int SCA_KorvantaCtrl::RetryPendingReports() {
    int stored = 1;
    for (const SCA_SrvTaskRef& task : CounterTasks()) {
        auto* counters = static_cast<SCA_SrvTaskMonitor*>(task.get());
        if (!counters->HasPendingReport()) {
            continue;
        }
        std::lock_guard<SCA_SrvRunLock> run(task->GetRunLock());
        stored = counters->RetryPendingReport() && stored ? 1 : 0;
    }
    return stored;
}

void SCA_KorvantaCtrl::StoreReportsInReserve() {
    for (const SCA_SrvTaskRef& task : CounterTasks()) {
        auto* counters = static_cast<SCA_SrvTaskMonitor*>(task.get());
        if (counters->IsPendingReportInMemory()) {
            std::lock_guard<SCA_SrvRunLock> run(task->GetRunLock());
            counters->StorePendingInReserve();
        }
    }
}

uint32_t SCA_KorvantaCtrl::CountReportsInMemory() {
    uint32_t inMemory = 0;
    for (const SCA_SrvTaskRef& task : CounterTasks()) {
        inMemory += static_cast<SCA_SrvTaskMonitor*>(task.get())->IsPendingReportInMemory() ? 1 : 0;
    }
    return inMemory;
}

int SCA_KorvantaCtrl::DeleteAllTasks() {
    std::unordered_map<uint32_t, SCA_SrvTaskRef> tasks;
    WithData([&] {
        tasks.swap(m_Tasks);
        return 1;
    });
    for (auto& [id, task] : tasks) {
        StopTask(task);
    }
    return 1;
}

// --- monitor-list changes that reach the tasks ------------------------------------------------

int SCA_KorvantaCtrl::DeleteMonitor(uint32_t monitorId) {
    return DriveMonitorTask(
        monitorId, "SCA_KorvantaAgent::DeleteMonitor: invalid",
        [&](const SCA_SrvMonitor& monitor, const SCA_SrvTaskRef& task) {
            const std::string description = monitor.GetDescription();
            if (!StoreMonitor(monitorId, [&] { return m_Monitors.DeleteMonitor(monitorId); })) {
                return SCA_TaskStep::kFail;
            }
            // The monitor and its task leave together, so no start can slip in between.
            m_Tasks.erase(monitorId);
            SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_INFO, "Delete Monitor: %s",
                                                      description.c_str());
            return task ? SCA_TaskStep::kDrive : SCA_TaskStep::kDone;
        },
        [this](const SCA_SrvTaskRef& task) { return EndTaskRun(task); });
}

int SCA_KorvantaCtrl::DeleteAllMonitors() {
    std::unordered_map<uint32_t, SCA_SrvTaskRef> tasks;
    const int stored = WithData([&] {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_INFO, "Delete All Monitos");
        if (!StoreMonitors([&] {
                m_Monitors.ClearAll();
                return 1;
            })) {
            return 0;
        }
        tasks.swap(m_Tasks);
        return 1;
    });
    for (auto& [id, task] : tasks) {
        StopTask(task);
    }
    return stored;
}

int SCA_KorvantaCtrl::SetMonitorObj(uint32_t monitorId, SCA_ConfigObj* object) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    return DriveMonitorTask(
        monitorId, "SCA_KorvantaAgent::SetMonitorObj: invalid",
        [&](SCA_SrvMonitor& monitor, const SCA_SrvTaskRef& task) {
            SCA_SrvMonitor changed(&m_Config, &m_UserConfig);
            if (object == nullptr || !changed.SetContent(monitor) || !changed.Deserialize(object)) {
                report(SCA_LEVEL_ERROR,
                       "SCA_KorvantaAgent::SetMonitorObj: cannot deserialize monitor - %u",
                       monitorId);
                return SCA_TaskStep::kFail;
            }
            if (!CheckMonitorFolders(changed, "SCA_KorvantaAgent::SetMonitorObj")) {
                return SCA_TaskStep::kFail;
            }
            // The list's id names the monitor's task and reports whatever the object says.
            changed.SetMonitorId(monitorId);
            changed.GetProfile()->SetProfileId(monitor.GetProfile()->GetProfileId());
            if (task && changed.GetMonitorType() != task->GetTaskType()) {
                report(SCA_LEVEL_ERROR,
                       "SCA_KorvantaAgent::SetMonitorObj: monitor %u has a task, its type cannot "
                       "change",
                       monitorId);
                return SCA_TaskStep::kFail;
            }
            if (!StoreMonitor(monitorId, [&] { return monitor.SetContent(changed); })) {
                report(SCA_LEVEL_ERROR,
                       "SCA_KorvantaAgent::SetMonitorObj: cannot store monitor - %u", monitorId);
                return SCA_TaskStep::kFail;
            }
            return task ? SCA_TaskStep::kDrive : SCA_TaskStep::kDone;
        },
        [&](const SCA_SrvTaskRef& task) {
            // The monitor as it stands now, not as this call left it: of two changes the later
            // one reaches the task last, whatever order their run locks come in.
            SCA_SrvMonitor current(&m_Config, &m_UserConfig);
            const int copied = WithData([&] {
                SCA_SrvMonitor* monitor = nullptr;
                return m_Monitors.GetMonitor(monitorId, &monitor) && current.SetContent(*monitor);
            });
            return !copied || task->UpdateMonitor(current) ? 1 : 0;
        });
}

// --- counts and status --------------------------------------------------------------------------

uint32_t SCA_KorvantaCtrl::GetActiveMonitors() {
    std::lock_guard<SCA_SrvDataLock> hold(m_DataLock);
    uint32_t count = 0;
    for (const auto& node : m_Tasks) {
        count += node.second->IsActive() ? 1 : 0;
    }
    return count;
}

uint32_t SCA_KorvantaCtrl::GetStoppedMonitors() {
    std::lock_guard<SCA_SrvDataLock> hold(m_DataLock);
    uint32_t count = 0;
    for (const auto& node : m_Tasks) {
        const uint32_t state = node.second->GetState();
        count += state == SCA_PROCESS_STOPPED || state == SCA_PROCESS_ENDED ? 1 : 0;
    }
    return count;
}

uint32_t SCA_KorvantaCtrl::GetFailedMonitors() {
    std::lock_guard<SCA_SrvDataLock> hold(m_DataLock);
    uint32_t count = 0;
    for (const auto& node : m_Tasks) {
        count += node.second->GetState() == SCA_PROCESS_FAILED ? 1 : 0;
    }
    return count;
}

uint32_t SCA_KorvantaCtrl::GetTotalErrors() {
    std::lock_guard<SCA_SrvDataLock> hold(m_DataLock);
    uint32_t count = 0;
    for (const auto& node : m_Tasks) {
        count += node.second->GetErrors();
    }
    return count;
}

uint32_t SCA_KorvantaCtrl::GetTotalWarnings() {
    std::lock_guard<SCA_SrvDataLock> hold(m_DataLock);
    uint32_t count = 0;
    for (const auto& node : m_Tasks) {
        count += node.second->GetWarnings();
    }
    return count;
}

std::shared_ptr<const SCA_SrvStatusBoard::Snapshot> SCA_KorvantaCtrl::GetStatusSnapshot() {
    return m_StatusBoard.Take(
        [this](std::vector<SCA_KorvantaMonitorRow>* rows, tagSCA_SRV_STATUS_COUNTS* counts,
               uint64_t* generation) { return CollectStatus(rows, counts, generation); });
}

int SCA_KorvantaCtrl::CollectStatus(std::vector<SCA_KorvantaMonitorRow>* rows,
                                    tagSCA_SRV_STATUS_COUNTS* counts, uint64_t* generation) {
    // Reading changes nothing: the quiet lock leaves the board's generation as it is.
    std::lock_guard<std::recursive_mutex> hold(m_DataLock.Quiet());
    *generation = m_StatusBoard.GetGeneration();
    rows->clear();
    rows->reserve(m_Monitors.Count());
    for (auto* node = m_Monitors.GetHead(); node != nullptr; node = node->GetNext()) {
        SCA_SrvMonitor* monitor = node->GetItem();
        const SCA_SrvTaskRef task = FindTask(node->GetId());
        SCA_KorvantaMonitorRow& row = rows->emplace_back();
        row.MonitorId = node->GetId();
        row.State = task != nullptr ? task->GetStatus() : SCA_TASK_STATUS_IDLE;
        row.RunState = task != nullptr ? task->GetState() : SCA_PROCESS_IDLE;
        row.Counters = task != nullptr ? task->GetActiveCounters()
                                       : monitor->GetProfile()->GetCounterList()->Count();
        row.Errors = task != nullptr ? task->GetErrors() : 0u;
        row.Warnings = task != nullptr ? task->GetWarnings() : 0u;
        row.SetHost(ComputerOf(monitor));
        row.SetDescription(monitor->GetDescription());
    }
    *counts = tagSCA_SRV_STATUS_COUNTS{};
    counts->MonitorsStatusId = m_Monitors.GetMonitorsStatus();
    counts->MonitorCount = m_Monitors.Count();
    for (const auto& node : m_Tasks) {
        const SCA_SrvTask& task = *node.second;
        const uint32_t state = task.GetState();
        counts->ActiveMonitors += task.IsActive() ? 1 : 0;
        counts->FailedMonitors += state == SCA_PROCESS_FAILED ? 1 : 0;
        counts->MonitorErrors += node.second->GetErrors();
        counts->MonitorWarnings += node.second->GetWarnings();
    }
    return 1;
}

int SCA_KorvantaCtrl::GetMonitorStats(uint32_t monitorId, uint32_t* type, uint32_t* status,
                                      uint32_t* state, uint32_t* counters, uint32_t* errors,
                                      uint32_t* warnings) {
    std::lock_guard<SCA_SrvDataLock> hold(m_DataLock);
    SCA_SrvMonitor* monitor = FindMonitor(monitorId, "SCA_KorvantaCtrl::GetMonitorStats: Invalid");
    if (monitor == nullptr) {
        return 0;
    }
    *type = monitor->GetMonitorType();
    *counters = monitor->GetProfile()->GetCounterList()->Count();
    const SCA_SrvTaskRef task = FindTask(monitorId);
    *state = task ? task->GetState() : SCA_PROCESS_IDLE;
    *status = task ? task->GetStatus() : SCA_TASK_STATUS_IDLE;
    *errors = task ? task->GetErrors() : 0;
    *warnings = task ? task->GetWarnings() : 0;
    return 1;
}

int SCA_KorvantaCtrl::GetMonitorStatus(uint32_t monitorId, uint32_t* status, uint32_t* state,
                                       uint32_t* countersStatusId, SCA_ConfigObj* list) {
    return DriveMonitorTask(
        monitorId, "SCA_KorvantaCtrl::GetMonitorStatus: Invalid",
        [&](SCA_SrvMonitor& monitor, const SCA_SrvTaskRef& task) {
            *countersStatusId = monitor.GetProfile()->GetCounterList()->GetCountersStatusId();
            if (task) {
                return SCA_TaskStep::kDrive;
            }
            if (!monitor.GetProfile()->BuildCountersStatusList(list)) {
                return SCA_TaskStep::kFail;
            }
            *state = SCA_PROCESS_IDLE;
            *status = SCA_TASK_STATUS_IDLE;
            return SCA_TaskStep::kDone;
        },
        [&](const SCA_SrvTaskRef& task) {
            if (!task->BuildCountersStatusList(list)) {
                return 0;
            }
            *state = task->GetState();
            *status = task->GetStatus();
            return 1;
        });
}

int SCA_KorvantaCtrl::GetMonitorStatusEx(uint32_t monitorId, uint32_t* status, uint32_t* state,
                                         uint32_t* errors, uint32_t* warnings,
                                         uint64_t* processTime, uint32_t* countersStatusId,
                                         SCA_ConfigObj* list, uint32_t counterId, uint64_t since,
                                         uint32_t count, SCA_ConfigObj* data) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    return DriveMonitorTask(
        monitorId, "SCA_KorvantaCtrl::GetMonitorStatusEx: Invalid",
        [&](SCA_SrvMonitor& monitor, const SCA_SrvTaskRef& task) {
            *countersStatusId = monitor.GetProfile()->GetCounterList()->GetCountersStatusId();
            if (task) {
                return SCA_TaskStep::kDrive;
            }
            if (!monitor.GetProfile()->BuildCountersStatusList(list)) {
                report(SCA_LEVEL_ERROR,
                       "SCA_KorvantaCtrl::GetMonitorStatusEx: cannot build counters status list "
                       "for monitor - %u",
                       monitorId);
                return SCA_TaskStep::kFail;
            }
            *state = SCA_PROCESS_IDLE;
            *errors = 0;
            *warnings = 0;
            *processTime = 0;
            *status = SCA_TASK_STATUS_IDLE;
            return SCA_TaskStep::kDone;
        },
        [&](const SCA_SrvTaskRef& task) {
            if (!task->GetStatusEx(list, counterId, since, count, data)) {
                report(SCA_LEVEL_ERROR,
                       "SCA_KorvantaCtrl::GetMonitorStatusEx: cannot get extended task status "
                       "for monitor - %u",
                       monitorId);
                return 0;
            }
            *state = task->GetState();
            *errors = task->GetErrors();
            *warnings = task->GetWarnings();
            *processTime = task->GetProcessTime();
            *status = task->GetStatus();
            return 1;
        });
}

int SCA_KorvantaCtrl::GetCounterStatusEx(uint32_t monitorId, uint32_t counterId, uint64_t since,
                                         uint32_t count, SCA_ConfigObj* data, char* text,
                                         uint32_t size) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    return DriveMonitorTask(
        monitorId, "SCA_KorvantaCtrl::GetCounterStatusEx: Invalid",
        [&](const SCA_SrvMonitor& /*monitor*/, const SCA_SrvTaskRef& task) {
            if (!task) {
                report(SCA_LEVEL_ERROR,
                       "SCA_KorvantaCtrl::GetCounterStatusEx: Monitor %u is not active", monitorId);
                return SCA_TaskStep::kFail;
            }
            return SCA_TaskStep::kDrive;
        },
        [&](const SCA_SrvTaskRef& task) {
            if (!task->GetCounterStatusEx(counterId, since, count, data, text, size)) {
                report(SCA_LEVEL_ERROR,
                       "SCA_KorvantaCtrl::GetCounterStatusEx: monitor %u cannot get status for "
                       "counter - %u",
                       monitorId, counterId);
                return 0;
            }
            return 1;
        });
}

int SCA_KorvantaCtrl::GetMonitorReport(uint32_t monitorId, SCA_ConfigObj* report) {
    auto log = SCA_GetReportFunction(__FILE__, __LINE__);
    return DriveMonitorTask(
        monitorId, "SCA_KorvantaCtrl::GetMonitorReport: Invalid",
        [&](const SCA_SrvMonitor& /*monitor*/, const SCA_SrvTaskRef& task) {
            if (!task) {
                log(SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::GetMonitorReport: No task for monitor - %u",
                    monitorId);
                return SCA_TaskStep::kFail;
            }
            return SCA_TaskStep::kDrive;
        },
        [&](const SCA_SrvTaskRef& task) {
            if (task->GetState() == SCA_PROCESS_IDLE) {
                log(SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::GetMonitorReport: Monitor %u is idle",
                    monitorId);
                return 0;
            }
            return task->SerializeReport(report) ? 1 : 0;
        });
}

int SCA_KorvantaCtrl::GetMonitorErrors(uint32_t monitorId, SCA_ConfigObj* errors) {
    return DriveMonitorTask(
        monitorId, "SCA_KorvantaCtrl::GetMonitorErrors: Invalid", DriveIfTask,
        [&](const SCA_SrvTaskRef& task) { return task->SerializeErrorList(errors) ? 1 : 0; });
}

int SCA_KorvantaCtrl::ProvideReport(uint32_t monitorId, SCA_TezReport* report) {
    if (report == nullptr) {
        return 0;
    }
    SCA_ConfigObj object(SCA_TEZ_REPORT_ROOT, nullptr);
    SCA_SrvTaskRef task = GetTask(monitorId);
    if (!task || task->GetTaskType() != SCA_TASK_COUNTERS) {
        return 0;
    }
    std::lock_guard<SCA_SrvRunLock> run(task->GetRunLock());
    return task->GetState() != SCA_PROCESS_IDLE && task->SerializeReport(&object) &&
                   report->Deserialize(&object)
               ? 1
               : 0;
}

int SCA_KorvantaCtrl::GetPerfCounters(uint32_t monitorId, SCA_ConfigObj* list) {
    if (monitorId == SCA_ALL_ONES) {
        return GetHostCounters(list);
    }
    return DriveMonitorTask(
        monitorId, "SCA_KorvantaAgent::PerfMonitorGetCounters: invalid",
        [&](const SCA_SrvMonitor& /*monitor*/, const SCA_SrvTaskRef& task) {
            if (!task) {
                SCA_GetReportFunction(__FILE__, __LINE__)(
                    SCA_LEVEL_ERROR,
                    "SCA_KorvantaAgent::PerfMonitorGetCounters: monitor %u is not active",
                    monitorId);
                return SCA_TaskStep::kFail;
            }
            return SCA_TaskStep::kDrive;
        },
        [&](const SCA_SrvTaskRef& task) { return task->SerializePerfCounters(list); });
}
