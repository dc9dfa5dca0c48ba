// SPDX-License-Identifier: MIT
// The counters of a monitor: changed in the monitor's profile under the data lock, and carried
// to the monitor's counter task (its sampled profile and its live counters) under the task's run
// lock after the data lock was released (DriveMonitorTask).
#include <memory>

#include "korvas/SCA_KorvantaCtrl.h"
#include "korvas/SCA_SrvTaskMonitor.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_Time.h"
#include "model/SCA_TezCounterList.h"
#include "model/SCA_TezCounterMeta.h"
#include "perf/SCA_PerfSourceTable.h"

namespace {

// The counter task of a task, or null.
SCA_SrvTaskMonitor* CounterTask(const SCA_SrvTaskRef& task) {
    return task && task->GetTaskType() == SCA_TASK_COUNTERS
               ? static_cast<SCA_SrvTaskMonitor*>(task.get())
               : nullptr;
}

constexpr uint64_t kAbsTicksPerMs = 10000;

} // namespace

int SCA_KorvantaCtrl::GetHostCounters(SCA_ConfigObj* list) {
    std::lock_guard<std::mutex> hold(m_HostCountersLock);
    if (!m_HostCounters.IsInitialized()) {
        uint32_t error = 0;
        const auto store = m_PerfMonitor.GetStore();
        if (!(store != nullptr ? m_HostCounters.Init(store, &error)
                               : m_HostCounters.Init(&error))) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR,
                "SCA_KorvantaAgent::PerfMonitorGetCounters: cannot read this computer's "
                "counters (ERR:%u)",
                error);
            return 0;
        }
        for (uint32_t type = 1; type <= SCA_TEZ_MAX_COUNTER_TYPE; ++type) {
            const tagSCA_PERF_SOURCE& source = SCA_PerfSourceTable::Find(type);
            if (source.Source != SCA_PerfSource::None &&
                source.Instance != SCA_PerfInstanceKind::Process) {
                m_HostCounters.OpenCounter(type, "", nullptr, &error);
            }
        }
    }
    m_HostCounters.Sample(SCA_GetAbsTime() / kAbsTicksPerMs);
    return m_HostCounters.GetCounterList(list);
}

int SCA_KorvantaCtrl::GetCounterInfo(uint32_t monitorId, uint32_t counterId,
                                     SCA_ConfigObj* object) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    std::lock_guard<SCA_SrvDataLock> hold(m_DataLock);
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

int SCA_KorvantaCtrl::SyncTaskCounters(uint32_t monitorId, SCA_SrvTaskMonitor* task) {
    SCA_TezCounterList counters;
    const int copied = WithData([&] {
        SCA_SrvMonitor* monitor = nullptr;
        return m_Monitors.GetMonitor(monitorId, &monitor) &&
               counters.CopyFrom(*monitor->GetProfile()->GetCounterList());
    });
    return copied && task->SyncCounters(counters) ? 1 : 0;
}

int SCA_KorvantaCtrl::SetCounterInfo(uint32_t monitorId, uint32_t counterId,
                                     SCA_ConfigObj* object) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    return DriveMonitorTask(
        monitorId, "SCA_KorvantaCtrl::SetCounterInfo: Invalid",
        [&](SCA_SrvMonitor& monitor, const SCA_SrvTaskRef& task) {
            SCA_TezCounterInfo* info = nullptr;
            if (!monitor.GetProfile()->GetCounterList()->GetCounter(counterId, &info)) {
                report(SCA_LEVEL_ERROR,
                       "SCA_KorvantaCtrl::SetCounterInfo: Invalid counter ID - %u:%u", monitorId,
                       counterId);
                return SCA_TaskStep::kFail;
            }
            const int stored = StoreMonitor(monitorId, [&] {
                if (object == nullptr || !info->Deserialize(object)) {
                    report(SCA_LEVEL_ERROR,
                           "SCA_KorvantaCtrl::SetCounterInfo: cannot deserialize counter info - "
                           "%u:%u",
                           monitorId, counterId);
                    return 0;
                }
                return CheckActionFolders(*info->GetCondList(), "SCA_KorvantaCtrl::SetCounterInfo");
            });
            if (!stored) {
                return SCA_TaskStep::kFail;
            }
            return CounterTask(task) != nullptr ? SCA_TaskStep::kDrive : SCA_TaskStep::kDone;
        },
        [&](const SCA_SrvTaskRef& task) {
            SCA_SrvTaskMonitor* counters = CounterTask(task);
            if (counters->IsActive() && !counters->SetCounterInfo(counterId, object)) {
                report(SCA_LEVEL_ERROR,
                       "SCA_KorvantaCtrl::SetCounterInfo: cannot deserialize task counter info - "
                       "%u:%u",
                       monitorId, counterId);
                return 0;
            }
            return 1;
        });
}

int SCA_KorvantaCtrl::AddCounter(uint32_t monitorId, uint32_t counterType, const char* computer,
                                 const char* instance, const char* namePrefix,
                                 uint32_t* counterId) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    uint32_t id = SCA_ALL_ONES;
    const int added = DriveMonitorTask(
        monitorId, "SCA_KorvantaCtrl::AddCounter: invalid",
        [&](SCA_SrvMonitor& monitor, const SCA_SrvTaskRef& task) {
            SCA_TezCounterList* list = monitor.GetProfile()->GetCounterList();
            SCA_TezCounterInfo* existing = nullptr;
            if (list->GetCounter(counterType, computer, instance, namePrefix, &existing)) {
                id = existing->GetCounterId();
                return SCA_TaskStep::kDone;
            }
            if (!StoreMonitor(monitorId, [&] {
                    return list->AddCounter(counterType, computer, instance, namePrefix, &id);
                })) {
                report(SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::AddCounter: cannot add counter - %u",
                       counterType);
                return SCA_TaskStep::kFail;
            }
            return CounterTask(task) != nullptr ? SCA_TaskStep::kDrive : SCA_TaskStep::kDone;
        },
        [&](const SCA_SrvTaskRef& task) {
            SCA_SrvTaskMonitor* running = CounterTask(task);
            // A run that is not active takes its counters from the profile when it starts.
            if (SyncTaskCounters(monitorId, running) &&
                (!running->IsActive() || running->GetManager()->AddCounter(id))) {
                return 1;
            }
            report(SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::AddCounter: cannot add counter - %u",
                   counterType);
            StoreMonitor(monitorId, [&] {
                SCA_SrvMonitor* monitor = nullptr;
                return m_Monitors.GetMonitor(monitorId, &monitor) &&
                       monitor->GetProfile()->GetCounterList()->DeleteCounter(id);
            });
            SyncTaskCounters(monitorId, running);
            return 0;
        });
    if (added) {
        *counterId = id;
    }
    return added;
}

int SCA_KorvantaCtrl::IsCounterExists(uint32_t monitorId, uint32_t counterType,
                                      const char* computer, const char* instance,
                                      const char* namePrefix, uint32_t* counterId) {
    *counterId = SCA_ALL_ONES;
    std::lock_guard<SCA_SrvDataLock> hold(m_DataLock);
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
    std::lock_guard<SCA_SrvDataLock> hold(m_DataLock);
    SCA_SrvMonitor* monitor = FindMonitor(monitorId, "SCA_KorvantaCtrl::MoveCounterUp: invalid");
    if (monitor == nullptr) {
        return 0;
    }
    return StoreMonitor(monitorId, [&] {
        monitor->GetProfile()->GetCounterList()->MoveCounterUp(counterId);
        return 1;
    });
}

int SCA_KorvantaCtrl::MoveCounterDown(uint32_t monitorId, uint32_t counterId) {
    std::lock_guard<SCA_SrvDataLock> hold(m_DataLock);
    SCA_SrvMonitor* monitor = FindMonitor(monitorId, "SCA_KorvantaCtrl::MoveCounterDown: invalid");
    if (monitor == nullptr) {
        return 0;
    }
    return StoreMonitor(monitorId, [&] {
        monitor->GetProfile()->GetCounterList()->MoveCounterDown(counterId);
        return 1;
    });
}

int SCA_KorvantaCtrl::DeleteCounter(uint32_t monitorId, uint32_t counterId) {
    return DriveMonitorTask(
        monitorId, "SCA_KorvantaCtrl::DeleteCounter: invalid",
        [&](SCA_SrvMonitor& monitor, const SCA_SrvTaskRef& task) {
            if (!StoreMonitor(monitorId, [&] {
                    monitor.GetProfile()->GetCounterList()->DeleteCounter(counterId);
                    return 1;
                })) {
                return SCA_TaskStep::kFail;
            }
            return CounterTask(task) != nullptr ? SCA_TaskStep::kDrive : SCA_TaskStep::kDone;
        },
        [&](const SCA_SrvTaskRef& task) {
            SCA_SrvTaskMonitor* running = CounterTask(task);
            running->GetManager()->DeleteCounter(counterId);
            SyncTaskCounters(monitorId, running);
            return 1;
        });
}

int SCA_KorvantaCtrl::DeleteAllCounters(uint32_t monitorId) {
    return DriveMonitorTask(
        monitorId, "SCA_KorvantaCtrl::DeleteAllCounters: invalid",
        [&](SCA_SrvMonitor& monitor, const SCA_SrvTaskRef& task) {
            if (!StoreMonitor(monitorId, [&] {
                    monitor.GetProfile()->GetCounterList()->ClearAll();
                    return 1;
                })) {
                return SCA_TaskStep::kFail;
            }
            return CounterTask(task) != nullptr ? SCA_TaskStep::kDrive : SCA_TaskStep::kDone;
        },
        [&](const SCA_SrvTaskRef& task) {
            SCA_SrvTaskMonitor* running = CounterTask(task);
            running->GetManager()->DeleteAllCounters();
            SyncTaskCounters(monitorId, running);
            return 1;
        });
}
