// The counters of a monitor: changed in the monitor's profile under the data lock, and carried
// to the monitor's counter task (its sampled profile and its live counters) under the task's run
// lock after the data lock was released.
#include <memory>

#include "korvas/SCA_KorvantaCtrl.h"
#include "korvas/SCA_SrvTaskMonitor.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Report.h"
#include "model/SCA_TezCounterList.h"

namespace {

// The counter task of a task, or null.
SCA_SrvTaskMonitor* CounterTask(const SCA_SrvTaskRef& task) {
    return task && task->GetTaskType() == SCA_TASK_COUNTERS
               ? static_cast<SCA_SrvTaskMonitor*>(task.get())
               : nullptr;
}

} // namespace

int SCA_KorvantaCtrl::GetCounterInfo(uint32_t monitorId, uint32_t counterId,
                                     SCA_ConfigObj* object) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    std::lock_guard<std::recursive_mutex> hold(m_DataLock);
    SCA_SrvMonitor* monitor = FindMonitor(monitorId, "SCA_KorvantaCtrl::GetCounterInfo: Invalid");
    if (monitor == nullptr) {
        return 0;
    }
    SCA_TezCounterInfo* info = nullptr;
    if (!monitor->GetProfile()->GetCounterList()->GetCounter(counterId, &info)) {
        report(SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::GetCounterInfo: Invalid counter ID - %u:%u",
               monitorId, counterId);
        return 0;
    }
    if (!info->Serialize(object)) {
        report(SCA_LEVEL_ERROR,
               "SCA_KorvantaCtrl::GetCounterInfo: cannot serialize counter info - %u:%u", monitorId,
               counterId);
        return 0;
    }
    return 1;
}

int SCA_KorvantaCtrl::SetCounterInfo(uint32_t monitorId, uint32_t counterId,
                                     SCA_ConfigObj* object) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    SCA_SrvTaskRef task;
    {
        std::lock_guard<std::recursive_mutex> hold(m_DataLock);
        SCA_SrvMonitor* monitor =
            FindMonitor(monitorId, "SCA_KorvantaCtrl::SetCounterInfo: Invalid");
        if (monitor == nullptr) {
            return 0;
        }
        SCA_TezCounterInfo* info = nullptr;
        if (!monitor->GetProfile()->GetCounterList()->GetCounter(counterId, &info)) {
            report(SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::SetCounterInfo: Invalid counter ID - %u:%u",
                   monitorId, counterId);
            return 0;
        }
        if (object == nullptr || !info->Deserialize(object)) {
            report(SCA_LEVEL_ERROR,
                   "SCA_KorvantaCtrl::SetCounterInfo: cannot deserialize counter info - %u:%u",
                   monitorId, counterId);
            return 0;
        }
        task = GetTask(monitorId);
    }
    SCA_SrvTaskMonitor* counters = CounterTask(task);
    if (counters == nullptr) {
        return 1;
    }
    std::lock_guard<std::mutex> run(task->GetRunLock());
    if (counters->IsActive() && !counters->SetCounterInfo(counterId, object)) {
        report(SCA_LEVEL_ERROR,
               "SCA_KorvantaCtrl::SetCounterInfo: cannot deserialize task counter info - %u:%u",
               monitorId, counterId);
        return 0;
    }
    return 1;
}

int SCA_KorvantaCtrl::AddCounter(uint32_t monitorId, uint32_t counterType, const char* computer,
                                 const char* instance, const char* namePrefix,
                                 uint32_t* counterId) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    SCA_TezCounterList counters;
    SCA_SrvTaskRef task;
    uint32_t id = SCA_ALL_ONES;
    {
        std::lock_guard<std::recursive_mutex> hold(m_DataLock);
        SCA_SrvMonitor* monitor = FindMonitor(monitorId, "SCA_KorvantaCtrl::AddCounter: invalid");
        if (monitor == nullptr) {
            return 0;
        }
        SCA_TezCounterList* list = monitor->GetProfile()->GetCounterList();
        SCA_TezCounterInfo* existing = nullptr;
        if (list->GetCounter(counterType, computer, instance, namePrefix, &existing)) {
            *counterId = existing->GetCounterId();
            return 1;
        }
        if (!list->AddCounter(counterType, computer, instance, namePrefix, &id)) {
            report(SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::AddCounter: cannot add counter - %u",
                   counterType);
            return 0;
        }
        task = GetTask(monitorId);
        if (CounterTask(task) != nullptr && !counters.CopyFrom(*list)) {
            list->DeleteCounter(id);
            report(SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::AddCounter: cannot add counter - %u",
                   counterType);
            return 0;
        }
    }
    if (SCA_SrvTaskMonitor* running = CounterTask(task)) {
        std::lock_guard<std::mutex> run(task->GetRunLock());
        if (!running->SyncCounters(counters)) {
            report(SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::AddCounter: cannot add counter - %u",
                   counterType);
            return 0;
        }
        // A run that is not active takes its counters from the profile when it starts.
        if (running->IsActive() && !running->GetManager()->AddCounter(id)) {
            counters.DeleteCounter(id);
            running->SyncCounters(counters);
            std::lock_guard<std::recursive_mutex> hold(m_DataLock);
            SCA_SrvMonitor* monitor = nullptr;
            if (m_Monitors.GetMonitor(monitorId, &monitor)) {
                monitor->GetProfile()->GetCounterList()->DeleteCounter(id);
            }
            return 0;
        }
    }
    *counterId = id;
    return 1;
}

int SCA_KorvantaCtrl::IsCounterExists(uint32_t monitorId, uint32_t counterType,
                                      const char* computer, const char* instance,
                                      const char* namePrefix, uint32_t* counterId) {
    *counterId = SCA_ALL_ONES;
    std::lock_guard<std::recursive_mutex> hold(m_DataLock);
    SCA_SrvMonitor* monitor = FindMonitor(monitorId, "SCA_KorvantaCtrl::IsCounterExists: invalid");
    if (monitor == nullptr) {
        return 0;
    }
    SCA_TezCounterInfo* existing = nullptr;
    if (monitor->GetProfile()->GetCounterList()->GetCounter(counterType, computer, instance,
                                                            namePrefix, &existing)) {
        *counterId = existing->GetCounterId();
    }
    return 1;
}

int SCA_KorvantaCtrl::MoveCounterUp(uint32_t monitorId, uint32_t counterId) {
    std::lock_guard<std::recursive_mutex> hold(m_DataLock);
    SCA_SrvMonitor* monitor = FindMonitor(monitorId, "SCA_KorvantaCtrl::MoveCounterUp: invalid");
    if (monitor == nullptr) {
        return 0;
    }
    monitor->GetProfile()->GetCounterList()->MoveCounterUp(counterId);
    return 1;
}

int SCA_KorvantaCtrl::MoveCounterDown(uint32_t monitorId, uint32_t counterId) {
    std::lock_guard<std::recursive_mutex> hold(m_DataLock);
    SCA_SrvMonitor* monitor = FindMonitor(monitorId, "SCA_KorvantaCtrl::MoveCounterUp: invalid");
    if (monitor == nullptr) {
        return 0;
    }
    monitor->GetProfile()->GetCounterList()->MoveCounterDown(counterId);
    return 1;
}

int SCA_KorvantaCtrl::DeleteCounter(uint32_t monitorId, uint32_t counterId) {
    SCA_TezCounterList counters;
    SCA_SrvTaskRef task;
    {
        std::lock_guard<std::recursive_mutex> hold(m_DataLock);
        SCA_SrvMonitor* monitor =
            FindMonitor(monitorId, "SCA_KorvantaCtrl::DeleteCounter: invalid");
        if (monitor == nullptr) {
            return 0;
        }
        SCA_TezCounterList* list = monitor->GetProfile()->GetCounterList();
        list->DeleteCounter(counterId);
        task = GetTask(monitorId);
        if (CounterTask(task) != nullptr && !counters.CopyFrom(*list)) {
            return 0;
        }
    }
    if (SCA_SrvTaskMonitor* running = CounterTask(task)) {
        std::lock_guard<std::mutex> run(task->GetRunLock());
        running->GetManager()->DeleteCounter(counterId);
        running->SyncCounters(counters);
    }
    return 1;
}

int SCA_KorvantaCtrl::DeleteAllCounters(uint32_t monitorId) {
    SCA_SrvTaskRef task;
    {
        std::lock_guard<std::recursive_mutex> hold(m_DataLock);
        SCA_SrvMonitor* monitor =
            FindMonitor(monitorId, "SCA_KorvantaCtrl::DeleteAllCounters: invalid");
        if (monitor == nullptr) {
            return 0;
        }
        monitor->GetProfile()->GetCounterList()->ClearAll();
        task = GetTask(monitorId);
    }
    if (SCA_SrvTaskMonitor* running = CounterTask(task)) {
        std::lock_guard<std::mutex> run(task->GetRunLock());
        running->GetManager()->DeleteAllCounters();
        running->SyncCounters(SCA_TezCounterList());
    }
    return 1;
}
