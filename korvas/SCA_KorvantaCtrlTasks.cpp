// The control object's monitor tasks: one task per started monitor, created, driven and counted
// here for the agents of every connection and the control thread.
//
// Locking: the monitors list and the task list are read and changed under the data lock only;
// a task's run (start, stop, pause, reset, reads of its data) is driven under the task's own
// run lock, taken only after the data lock was released. A run stops by joining its sampling
// thread, so no operation ever waits for that while it keeps the lists locked.
#include <cstdio>
#include <new>
#include <string>

#include "korvas/SCA_KorvantaCtrl.h"
#include "korvas/SCA_SrvTaskMonitor.h"
#include "korvas/SCA_SrvTaskProcess.h"
#include "libmor/SCA_Report.h"
#include "libtez/SCA_KorvantaMonitorRow.h"
#include "model/SCA_TezProcessStatus.h"

namespace {

constexpr uint32_t kCounterMonitor = 0;
constexpr uint32_t kProcessMonitor = 1;

SCA_SrvTaskRef Share(SCA_SrvTask* task) {
    return SCA_SrvTaskRef(task, [](SCA_SrvTask* owned) { SCA_Object::Destroy(owned); });
}

// The computer a monitor watches; empty for the service's own.
const char* ComputerOf(SCA_SrvMonitor* monitor) {
    return monitor->IsRemoteMonitor() ? monitor->GetComputerName() : "";
}

} // namespace

std::vector<std::pair<uint32_t, SCA_SrvTaskRef>>::iterator
SCA_KorvantaCtrl::FindTask(uint32_t monitorId) {
    auto it = m_Tasks.begin();
    while (it != m_Tasks.end() && it->first != monitorId) {
        ++it;
    }
    return it;
}

SCA_SrvTaskRef SCA_KorvantaCtrl::GetTask(uint32_t monitorId) {
    std::lock_guard<std::recursive_mutex> hold(m_DataLock);
    auto it = FindTask(monitorId);
    return it != m_Tasks.end() ? it->second : nullptr;
}

void SCA_KorvantaCtrl::SetTaskHook(SCA_SrvTaskHook hook) {
    std::lock_guard<std::recursive_mutex> hold(m_DataLock);
    m_TaskHook = std::move(hook);
}

int SCA_KorvantaCtrl::AddTask(SCA_SrvMonitor* monitor, SCA_SrvTaskRef* task) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    std::lock_guard<std::recursive_mutex> hold(m_DataLock);
    SCA_SrvTask* created = nullptr;
    switch (monitor->GetMonitorType()) {
    case kCounterMonitor:
        created = new (std::nothrow)
            SCA_SrvTaskMonitor(&m_Config, &m_UserConfig, &m_Params, &m_ReportIndex, &m_ActionCtrl);
        break;
    case kProcessMonitor:
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
    if (m_TaskHook) {
        m_TaskHook(created);
    }
    SCA_SrvTaskRef shared = Share(created);
    m_Tasks.emplace_back(monitor->GetMonitorId(), shared);
    *task = std::move(shared);
    return 1;
}

// --- starting and stopping ------------------------------------------------------------------

int SCA_KorvantaCtrl::StartMonitor(uint32_t monitorId) {
    SCA_SrvMonitor copy(&m_Config, &m_UserConfig);
    SCA_SrvTaskRef task;
    SCA_SrvTaskRef discarded;
    {
        std::lock_guard<std::recursive_mutex> hold(m_DataLock);
        SCA_SrvMonitor* monitor = FindMonitor(monitorId, "SCA_KorvantaCtrl::StartMonitor: invalid");
        if (monitor == nullptr) {
            return 0;
        }
        if (monitor->GetMonitorType() == kCounterMonitor &&
            monitor->GetProfile()->GetCounterList()->Count() == 0) {
            return 1;
        }
        if (!copy.SetContent(*monitor)) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::StartMonitor: Cannot init monitor - %u",
                monitorId);
            return 0;
        }
        auto it = FindTask(monitorId);
        if (it != m_Tasks.end() && it->second->GetTaskType() != monitor->GetMonitorType()) {
            // A task of the other kind cannot run this monitor: it goes, a new one comes.
            discarded = std::move(it->second);
            m_Tasks.erase(it);
            it = m_Tasks.end();
        }
        if (it != m_Tasks.end()) {
            task = it->second;
        } else if (!AddTask(monitor, &task)) {
            return 0;
        }
    }
    if (discarded) {
        StopTask(discarded);
        discarded.reset();
    }
    std::lock_guard<std::mutex> run(task->GetRunLock());
    switch (task->GetState()) {
    case SCA_PROCESS_PAUSED:
        return StartTask(copy, task);
    case SCA_PROCESS_RUNNING:
        return 1;
    default:
        return StartMonitor(copy, task);
    }
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
    {
        std::lock_guard<std::recursive_mutex> hold(m_DataLock);
        m_UserConfig.AddTotalTasks();
    }
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
    task->StopProcess();
    return StartMonitor(monitor, task);
}

int SCA_KorvantaCtrl::StopTask(const SCA_SrvTaskRef& task) {
    std::lock_guard<std::mutex> run(task->GetRunLock());
    task->StopProcess();
    return 1;
}

int SCA_KorvantaCtrl::StopMonitor(uint32_t monitorId) {
    SCA_SrvTaskRef task;
    std::string description;
    {
        std::lock_guard<std::recursive_mutex> hold(m_DataLock);
        SCA_SrvMonitor* monitor = FindMonitor(monitorId, "SCA_KorvantaCtrl::StopMonitor: invalid");
        if (monitor == nullptr) {
            return 0;
        }
        auto it = FindTask(monitorId);
        if (it == m_Tasks.end()) {
            return 1;
        }
        task = it->second;
        description = monitor->GetDescription();
    }
    std::lock_guard<std::mutex> run(task->GetRunLock());
    if (!task->IsActive()) {
        return 1;
    }
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_INFO, "Stop Monitor: %s",
                                              description.c_str());
    task->StopProcess();
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

int SCA_KorvantaCtrl::TaskOfMonitor(uint32_t monitorId, const char* operation,
                                    SCA_SrvTaskRef* task) {
    std::lock_guard<std::recursive_mutex> hold(m_DataLock);
    SCA_SrvMonitor* monitor = nullptr;
    if (!m_Monitors.GetMonitor(monitorId, &monitor)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::%s: Invalid monitor ID - %u", operation, monitorId);
        return 0;
    }
    auto it = FindTask(monitorId);
    *task = it != m_Tasks.end() ? it->second : nullptr;
    return 1;
}

int SCA_KorvantaCtrl::PauseMonitor(uint32_t monitorId) {
    SCA_SrvTaskRef task;
    if (!TaskOfMonitor(monitorId, "PauseMonitor", &task)) {
        return 0;
    }
    if (task == nullptr) {
        return 1;
    }
    std::lock_guard<std::mutex> run(task->GetRunLock());
    // Only a running task pauses: a stopped or failed one keeps showing what it is.
    if (task->GetState() == SCA_PROCESS_RUNNING && task->Pause()) {
        task->SetState(SCA_PROCESS_PAUSED);
    }
    return 1;
}

int SCA_KorvantaCtrl::ResetMonitor(uint32_t monitorId) {
    SCA_SrvTaskRef task;
    if (!TaskOfMonitor(monitorId, "ResetMonitor", &task)) {
        return 0;
    }
    if (task == nullptr) {
        return 1;
    }
    std::lock_guard<std::mutex> run(task->GetRunLock());
    return task->GetState() == SCA_PROCESS_RUNNING ? task->Reset() : 1;
}

int SCA_KorvantaCtrl::RestartMonitor(uint32_t monitorId) {
    SCA_SrvTaskRef task;
    if (!TaskOfMonitor(monitorId, "RestartMonitor", &task)) {
        return 0;
    }
    if (task == nullptr) {
        return 1;
    }
    std::lock_guard<std::mutex> run(task->GetRunLock());
    return task->Restart();
}

int SCA_KorvantaCtrl::StartAllMonitors() {
    std::vector<uint32_t> ids;
    {
        std::lock_guard<std::recursive_mutex> hold(m_DataLock);
        for (auto* node = m_Monitors.GetHead(); node != nullptr; node = node->GetNext()) {
            ids.push_back(node->GetId());
        }
    }
    for (uint32_t id : ids) {
        StartMonitor(id);
    }
    return 1;
}

int SCA_KorvantaCtrl::StartAutoMonitors() {
    std::vector<uint32_t> ids;
    {
        std::lock_guard<std::recursive_mutex> hold(m_DataLock);
        for (auto* node = m_Monitors.GetHead(); node != nullptr; node = node->GetNext()) {
            if (node->GetItem()->GetAutoStart() != 0) {
                ids.push_back(node->GetId());
            }
        }
    }
    for (uint32_t id : ids) {
        StartMonitor(id);
    }
    return 1;
}

int SCA_KorvantaCtrl::StopAllTasks() {
    std::vector<SCA_SrvTaskRef> tasks;
    {
        std::lock_guard<std::recursive_mutex> hold(m_DataLock);
        for (const auto& node : m_Tasks) {
            tasks.push_back(node.second);
        }
    }
    for (const SCA_SrvTaskRef& task : tasks) {
        StopTask(task);
    }
    return 1;
}

int SCA_KorvantaCtrl::DeleteAllTasks() {
    std::vector<std::pair<uint32_t, SCA_SrvTaskRef>> tasks;
    {
        std::lock_guard<std::recursive_mutex> hold(m_DataLock);
        tasks.swap(m_Tasks);
    }
    for (auto& node : tasks) {
        StopTask(node.second);
        node.second.reset();
    }
    return 1;
}

void SCA_KorvantaCtrl::DiscardTask(uint32_t monitorId) {
    SCA_SrvTaskRef task;
    {
        std::lock_guard<std::recursive_mutex> hold(m_DataLock);
        auto it = FindTask(monitorId);
        if (it == m_Tasks.end()) {
            return;
        }
        task = std::move(it->second);
        m_Tasks.erase(it);
    }
    StopTask(task);
}

// --- monitor-list changes that reach the tasks ------------------------------------------------

int SCA_KorvantaCtrl::DeleteMonitor(uint32_t monitorId) {
    SCA_SrvTaskRef task;
    {
        std::lock_guard<std::recursive_mutex> hold(m_DataLock);
        SCA_SrvMonitor* monitor =
            FindMonitor(monitorId, "SCA_KorvantaAgent::DeleteMonitor: invalid");
        if (monitor == nullptr) {
            return 0;
        }
        // The monitor and its task leave together, so no start can slip in between.
        auto it = FindTask(monitorId);
        if (it != m_Tasks.end()) {
            task = std::move(it->second);
            m_Tasks.erase(it);
        }
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_INFO, "Delete Monitor: %s",
                                                  monitor->GetDescription());
        m_Monitors.DeleteMonitor(monitorId);
    }
    if (task) {
        StopTask(task);
    }
    return 1;
}

int SCA_KorvantaCtrl::DeleteAllMonitors() {
    std::vector<std::pair<uint32_t, SCA_SrvTaskRef>> tasks;
    {
        std::lock_guard<std::recursive_mutex> hold(m_DataLock);
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_INFO, "Delete All Monitos");
        tasks.swap(m_Tasks);
        m_Monitors.ClearAll();
    }
    for (auto& node : tasks) {
        StopTask(node.second);
        node.second.reset();
    }
    return 1;
}

int SCA_KorvantaCtrl::SetMonitorObj(uint32_t monitorId, SCA_ConfigObj* object) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    SCA_SrvMonitor changed(&m_Config, &m_UserConfig);
    SCA_SrvTaskRef task;
    {
        std::lock_guard<std::recursive_mutex> hold(m_DataLock);
        SCA_SrvMonitor* monitor =
            FindMonitor(monitorId, "SCA_KorvantaAgent::SetMonitorObj: invalid");
        if (monitor == nullptr) {
            return 0;
        }
        if (object == nullptr || !changed.SetContent(*monitor) || !changed.Deserialize(object)) {
            report(SCA_LEVEL_ERROR,
                   "SCA_KorvantaAgent::SetMonitorObj: cannot deserialize monitor - %u", monitorId);
            return 0;
        }
        // The list's id names the monitor's task and reports whatever the object says.
        changed.SetMonitorId(monitorId);
        changed.GetProfile()->SetProfileId(monitor->GetProfile()->GetProfileId());
        auto it = FindTask(monitorId);
        if (it != m_Tasks.end() && changed.GetMonitorType() != it->second->GetTaskType()) {
            report(SCA_LEVEL_ERROR,
                   "SCA_KorvantaAgent::SetMonitorObj: monitor %u has a task, its type cannot "
                   "change",
                   monitorId);
            return 0;
        }
        if (!monitor->SetContent(changed)) {
            report(SCA_LEVEL_ERROR,
                   "SCA_KorvantaAgent::SetMonitorObj: cannot deserialize monitor - %u", monitorId);
            return 0;
        }
        if (it != m_Tasks.end()) {
            task = it->second;
        }
    }
    if (task) {
        std::lock_guard<std::mutex> run(task->GetRunLock());
        task->UpdateMonitor(changed);
    }
    return 1;
}

// --- counts and status --------------------------------------------------------------------------

uint32_t SCA_KorvantaCtrl::GetActiveMonitors() {
    std::lock_guard<std::recursive_mutex> hold(m_DataLock);
    uint32_t count = 0;
    for (const auto& node : m_Tasks) {
        count += node.second->IsActive() ? 1 : 0;
    }
    return count;
}

uint32_t SCA_KorvantaCtrl::GetStoppedMonitors() {
    std::lock_guard<std::recursive_mutex> hold(m_DataLock);
    uint32_t count = 0;
    for (const auto& node : m_Tasks) {
        const uint32_t state = node.second->GetState();
        count += state == SCA_PROCESS_STOPPED || state == SCA_PROCESS_ENDED ? 1 : 0;
    }
    return count;
}

uint32_t SCA_KorvantaCtrl::GetFailedMonitors() {
    std::lock_guard<std::recursive_mutex> hold(m_DataLock);
    uint32_t count = 0;
    for (const auto& node : m_Tasks) {
        count += node.second->GetState() == SCA_PROCESS_FAILED ? 1 : 0;
    }
    return count;
}

uint32_t SCA_KorvantaCtrl::GetTotalErrors() {
    std::lock_guard<std::recursive_mutex> hold(m_DataLock);
    uint32_t count = 0;
    for (const auto& node : m_Tasks) {
        count += node.second->GetErrors();
    }
    return count;
}

uint32_t SCA_KorvantaCtrl::GetTotalWarnings() {
    std::lock_guard<std::recursive_mutex> hold(m_DataLock);
    uint32_t count = 0;
    for (const auto& node : m_Tasks) {
        count += node.second->GetWarnings();
    }
    return count;
}

int SCA_KorvantaCtrl::DoGetMonitors(SCA_ConfigObj* target) {
    if (target == nullptr) {
        return 0;
    }
    std::lock_guard<std::recursive_mutex> hold(m_DataLock);
    for (auto* node = m_Monitors.GetHead(); node != nullptr; node = node->GetNext()) {
        SCA_SrvMonitor* monitor = node->GetItem();
        auto it = FindTask(node->GetId());
        SCA_SrvTask* task = it != m_Tasks.end() ? it->second.get() : nullptr;
        SCA_KorvantaMonitorRow row;
        row.MonitorId = node->GetId();
        row.State = task != nullptr ? task->GetStatus() : SCA_TASK_STATUS_IDLE;
        row.RunState = task != nullptr ? task->GetState() : SCA_PROCESS_IDLE;
        row.Counters = task != nullptr ? task->GetActiveCounters()
                                       : monitor->GetProfile()->GetCounterList()->Count();
        row.Errors = task != nullptr ? task->GetErrors() : 0u;
        row.Warnings = task != nullptr ? task->GetWarnings() : 0u;
        row.SetHost(ComputerOf(monitor));
        row.SetDescription(monitor->GetDescription());
        if (!row.Write(target)) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR,
                "SCA_TezTaskManager::DoGetMonitors: cannot add monitor status field");
            return 0;
        }
    }
    return 1;
}

int SCA_KorvantaCtrl::GetMonitorStats(uint32_t monitorId, uint32_t* type, uint32_t* status,
                                      uint32_t* state, uint32_t* counters, uint32_t* errors,
                                      uint32_t* warnings) {
    std::lock_guard<std::recursive_mutex> hold(m_DataLock);
    SCA_SrvMonitor* monitor = FindMonitor(monitorId, "SCA_KorvantaCtrl::GetMonitorStats: Invalid");
    if (monitor == nullptr) {
        return 0;
    }
    *type = monitor->GetMonitorType();
    *counters = monitor->GetProfile()->GetCounterList()->Count();
    auto it = FindTask(monitorId);
    if (it == m_Tasks.end()) {
        *state = SCA_PROCESS_IDLE;
        *status = SCA_TASK_STATUS_IDLE;
        *errors = 0;
        *warnings = 0;
        return 1;
    }
    *state = it->second->GetState();
    *status = it->second->GetStatus();
    *errors = it->second->GetErrors();
    *warnings = it->second->GetWarnings();
    return 1;
}

int SCA_KorvantaCtrl::GetMonitorStatus(uint32_t monitorId, uint32_t* status, uint32_t* state,
                                       uint32_t* countersStatusId, SCA_ConfigObj* list) {
    SCA_SrvTaskRef task;
    {
        std::lock_guard<std::recursive_mutex> hold(m_DataLock);
        SCA_SrvMonitor* monitor =
            FindMonitor(monitorId, "SCA_KorvantaCtrl::GetMonitorStatus: Invalid");
        if (monitor == nullptr) {
            return 0;
        }
        *countersStatusId = monitor->GetProfile()->GetCounterList()->GetCountersStatusId();
        auto it = FindTask(monitorId);
        if (it == m_Tasks.end()) {
            if (!monitor->GetProfile()->BuildCountersStatusList(list)) {
                return 0;
            }
            *state = SCA_PROCESS_IDLE;
            *status = SCA_TASK_STATUS_IDLE;
            return 1;
        }
        task = it->second;
    }
    std::lock_guard<std::mutex> run(task->GetRunLock());
    if (!task->BuildCountersStatusList(list)) {
        return 0;
    }
    *state = task->GetState();
    *status = task->GetStatus();
    return 1;
}

int SCA_KorvantaCtrl::GetMonitorStatusEx(uint32_t monitorId, uint32_t* status, uint32_t* state,
                                         uint32_t* errors, uint32_t* warnings,
                                         uint64_t* processTime, uint32_t* countersStatusId,
                                         SCA_ConfigObj* list, uint32_t counterId, uint64_t since,
                                         uint32_t count, SCA_ConfigObj* data) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    SCA_SrvTaskRef task;
    {
        std::lock_guard<std::recursive_mutex> hold(m_DataLock);
        SCA_SrvMonitor* monitor =
            FindMonitor(monitorId, "SCA_KorvantaCtrl::GetMonitorStatusEx: Invalid");
        if (monitor == nullptr) {
            return 0;
        }
        *countersStatusId = monitor->GetProfile()->GetCounterList()->GetCountersStatusId();
        auto it = FindTask(monitorId);
        if (it == m_Tasks.end()) {
            if (!monitor->GetProfile()->BuildCountersStatusList(list)) {
                report(SCA_LEVEL_ERROR,
                       "SCA_KorvantaCtrl::GetMonitorStatusEx: cannot build counters status list "
                       "for monitor - %u",
                       monitorId);
                return 0;
            }
            *state = SCA_PROCESS_IDLE;
            *errors = 0;
            *warnings = 0;
            *processTime = 0;
            *status = SCA_TASK_STATUS_IDLE;
            return 1;
        }
        task = it->second;
    }
    std::lock_guard<std::mutex> run(task->GetRunLock());
    if (!task->GetStatusEx(list, counterId, since, count, data)) {
        report(SCA_LEVEL_ERROR,
               "SCA_KorvantaCtrl::GetMonitorStatusEx: cannot get extended task status for "
               "monitor - %u",
               monitorId);
        return 0;
    }
    *state = task->GetState();
    *errors = task->GetErrors();
    *warnings = task->GetWarnings();
    *processTime = task->GetProcessTime();
    *status = task->GetStatus();
    return 1;
}

int SCA_KorvantaCtrl::GetCounterStatusEx(uint32_t monitorId, uint32_t counterId, uint64_t since,
                                         uint32_t count, SCA_ConfigObj* data, char* text,
                                         uint32_t size) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    SCA_SrvTaskRef task;
    {
        std::lock_guard<std::recursive_mutex> hold(m_DataLock);
        SCA_SrvMonitor* monitor =
            FindMonitor(monitorId, "SCA_KorvantaCtrl::GetCounterStatusEx: Invalid");
        if (monitor == nullptr) {
            return 0;
        }
        auto it = FindTask(monitorId);
        if (it == m_Tasks.end()) {
            report(SCA_LEVEL_ERROR,
                   "SCA_KorvantaCtrl::GetCounterStatusEx: Monitor %u is not active", monitorId);
            return 0;
        }
        task = it->second;
    }
    std::lock_guard<std::mutex> run(task->GetRunLock());
    if (!task->GetCounterStatusEx(counterId, since, count, data, text, size)) {
        report(SCA_LEVEL_ERROR,
               "SCA_KorvantaCtrl::GetCounterStatusEx: monitor %u cannot get status for counter - "
               "%u",
               monitorId, counterId);
        return 0;
    }
    return 1;
}

int SCA_KorvantaCtrl::GetMonitorReport(uint32_t monitorId, SCA_ConfigObj* report) {
    auto log = SCA_GetReportFunction(__FILE__, __LINE__);
    SCA_SrvTaskRef task;
    {
        std::lock_guard<std::recursive_mutex> hold(m_DataLock);
        if (FindMonitor(monitorId, "SCA_KorvantaCtrl::GetMonitorReport: Invalid") == nullptr) {
            return 0;
        }
        auto it = FindTask(monitorId);
        if (it == m_Tasks.end()) {
            log(SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::GetMonitorReport: No task for monitor - %u",
                monitorId);
            return 0;
        }
        task = it->second;
    }
    std::lock_guard<std::mutex> run(task->GetRunLock());
    if (task->GetState() == SCA_PROCESS_IDLE) {
        log(SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::GetMonitorReport: Monitor %u is idle", monitorId);
        return 0;
    }
    return task->SerializeReport(report) ? 1 : 0;
}

int SCA_KorvantaCtrl::GetMonitorErrors(uint32_t monitorId, SCA_ConfigObj* errors) {
    SCA_SrvTaskRef task;
    if (!TaskOfMonitor(monitorId, "GetMonitorErrors", &task)) {
        return 0;
    }
    if (task == nullptr) {
        return 1;
    }
    std::lock_guard<std::mutex> run(task->GetRunLock());
    return task->SerializeErrorList(errors) ? 1 : 0;
}

int SCA_KorvantaCtrl::ProvideReport(const char* monitorName, SCA_TezReport* report) {
    if (monitorName == nullptr || report == nullptr) {
        return 0;
    }
    SCA_SrvTaskRef task;
    {
        std::lock_guard<std::recursive_mutex> hold(m_DataLock);
        for (auto* node = m_Monitors.GetHead(); node != nullptr && !task; node = node->GetNext()) {
            if (std::string(node->GetItem()->GetDescription()) != monitorName) {
                continue;
            }
            auto it = FindTask(node->GetId());
            if (it != m_Tasks.end() && it->second->GetTaskType() == SCA_TASK_COUNTERS) {
                task = it->second;
            }
        }
    }
    if (!task) {
        return 0;
    }
    SCA_ConfigObj object(SCA_TEZ_REPORT_ROOT, nullptr);
    std::lock_guard<std::mutex> run(task->GetRunLock());
    return task->GetState() != SCA_PROCESS_IDLE && task->SerializeReport(&object) &&
                   report->Deserialize(&object)
               ? 1
               : 0;
}
