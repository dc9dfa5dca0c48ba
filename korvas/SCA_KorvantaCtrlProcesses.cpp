// SPDX-License-Identifier: MIT
// The queries of a process monitor's data, each through DriveProcessTask: the task is looked up
// under the data lock; its process monitor is read under that monitor's own lock (the task's
// helpers take it) and the task's run lock, so a stop cannot take the data away during a read.
#include <cstring>
#include <initializer_list>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "korvas/SCA_KorvantaCtrl.h"
#include "korvas/SCA_SrvTaskProcess.h"
#include "libmor/SCA_Report.h"
#include "model/SCA_ExeModuleList.h"
#include "model/SCA_TezProcessStatus.h"
#include "model/SCA_TezRecordFields.h"

namespace {

// The modules operation's failure codes for the client.
constexpr uint32_t kModulesFailed = 100144;
constexpr uint32_t kModulesNoObject = 100137;
constexpr uint32_t kNameSize = 256;

// A new parentless object named name, or null (reported with text).
SCA_ConfigObj* NewObject(const char* name, const char* text) {
    SCA_ConfigObj* object = SCA_NewConfigObj(name);
    if (object == nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "%s", text);
    }
    return object;
}

// The neutral answer about a process of a monitor that does not run.
void IdleState(tagSCA_TASK_PROCESS_STATE* state) {
    *state = {};
    state->MonitorProcessStatus = SCA_PROCESS_IDLE;
    state->Status = SCA_PROCESS_IDLE;
    state->RepStatus = SCA_REP_STATUS_NONE;
}

} // namespace

SCA_TaskStep SCA_KorvantaCtrl::CheckProcessTask(const SCA_SrvMonitor& monitor,
                                                const SCA_SrvTaskRef& task, const char* operation,
                                                bool taskRequired, uint32_t* type) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    if (type != nullptr) {
        *type = monitor.GetMonitorType();
    }
    if (monitor.GetMonitorType() != SCA_SRV_MONITOR_PROCESS) {
        report(SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::%s: invalid monitor type - %u", operation,
               monitor.GetMonitorType());
        return SCA_TaskStep::kFail;
    }
    if (!task) {
        if (taskRequired) {
            report(SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::%s: monitor %u is not active", operation,
                   monitor.GetMonitorId());
            return SCA_TaskStep::kFail;
        }
        return SCA_TaskStep::kDone;
    }
    if (task->GetTaskType() != SCA_TASK_PROCESSES) {
        report(SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::%s: invalid process monitor task type - %u",
               operation, task->GetTaskType());
        return SCA_TaskStep::kFail;
    }
    return SCA_TaskStep::kDrive;
}

template <typename AtRun>
int SCA_KorvantaCtrl::DriveProcessTask(uint32_t monitorId, const char* operation, bool taskRequired,
                                       uint32_t* type, bool* idle, AtRun&& atRun) {
    const std::string missing = std::string("SCA_KorvantaCtrl::") + operation + ": invalid";
    if (idle != nullptr) {
        *idle = true;
    }
    return DriveMonitorTask(
        monitorId, missing.c_str(),
        [&](const SCA_SrvMonitor& monitor, const SCA_SrvTaskRef& task) {
            return CheckProcessTask(monitor, task, operation, taskRequired, type);
        },
        [&](const SCA_SrvTaskRef& task) {
            if (idle != nullptr) {
                *idle = false;
            }
            return atRun(static_cast<SCA_SrvTaskProcess&>(*task));
        });
}

namespace {

// Owns the result objects of a query until they are handed to the caller.
class Results {
public:
    Results() = default;
    ~Results() {
        for (SCA_ConfigObj* object : m_Objects) {
            SCA_Object::Destroy(object);
        }
    }
    Results(const Results&) = delete;
    Results& operator=(const Results&) = delete;

    // A new object kept here, or null (reported with text).
    SCA_ConfigObj* Make(const char* name, const char* text) {
        SCA_ConfigObj* object = NewObject(name, text);
        if (object != nullptr) {
            m_Objects.push_back(object);
        }
        return object;
    }
    // Gives the objects, in the order made, to the caller's pointers; 1.
    int HandOver(std::initializer_list<SCA_ConfigObj**> out) {
        size_t index = 0;
        for (SCA_ConfigObj** target : out) {
            *target = m_Objects[index++];
        }
        m_Objects.clear();
        return 1;
    }

private:
    std::vector<SCA_ConfigObj*> m_Objects;
};

} // namespace

int SCA_KorvantaCtrl::GetMonitorProcessLog(uint32_t monitorId, SCA_ConfigObj** log) {
    Results results;
    SCA_ConfigObj* object = results.Make(
        "ProcessLog",
        "SCA_KorvantaCtrl::GetMonitorProcessLog: cannot create process log config object");
    return object != nullptr &&
                   DriveProcessTask(
                       monitorId, "GetMonitorProcessLog", true, nullptr, nullptr,
                       [&](SCA_SrvTaskProcess& task) { return task.SerializeProcessLog(object); })
               ? results.HandOver({log})
               : 0;
}

int SCA_KorvantaCtrl::GetMonitorProcessList(uint32_t monitorId, uint32_t details,
                                            SCA_ConfigObj** list) {
    Results results;
    SCA_ConfigObj* object = results.Make(
        "ProcessList",
        "SCA_KorvantaCtrl::GetMonitorProcessList: cannot create process list config object");
    return object != nullptr &&
                   DriveProcessTask(monitorId, "GetMonitorProcessList", true, nullptr, nullptr,
                                    [&](SCA_SrvTaskProcess& task) {
                                        return task.SerializeProcessList(object, details);
                                    })
               ? results.HandOver({list})
               : 0;
}

int SCA_KorvantaCtrl::GetMonitorProcessListStatus(uint32_t monitorId, uint32_t* type,
                                                  uint32_t* status, uint32_t* processStatus,
                                                  uint64_t* startTime, uint32_t* listStatus,
                                                  SCA_ConfigObj** list) {
    Results results;
    SCA_ConfigObj* object =
        results.Make("ProcessListStatus", "SCA_KorvantaCtrl::GetMonitorProcessListStatus: cannot "
                                          "create process list status object");
    *status = SCA_REP_STATUS_NONE;
    *processStatus = SCA_PROCESS_IDLE;
    *startTime = 0;
    *listStatus = 0;
    return object != nullptr &&
                   DriveProcessTask(monitorId, "GetMonitorProcessListStatus", false, type, nullptr,
                                    [&](SCA_SrvTaskProcess& task) {
                                        return task.GetListStatus(status, processStatus, startTime,
                                                                  listStatus, object);
                                    })
               ? results.HandOver({list})
               : 0;
}

int SCA_KorvantaCtrl::GetMonitorProcessListStatusEx(uint32_t monitorId, uint32_t* type,
                                                    uint32_t* status, uint32_t* processStatus,
                                                    uint64_t* startTime, uint32_t* listStatus,
                                                    uint32_t fromLogId, SCA_ConfigObj** list,
                                                    SCA_ConfigObj** log) {
    Results results;
    SCA_ConfigObj* object =
        results.Make("ProcessListStatus", "SCA_KorvantaCtrl::GetMonitorProcessListStatusEx: "
                                          "cannot create process list status object");
    SCA_ConfigObj* logObject = results.Make(
        "ProcessLog",
        "SCA_KorvantaCtrl::GetMonitorProcessListStatusEx: cannot create process log object");
    *status = SCA_REP_STATUS_NONE;
    *processStatus = SCA_PROCESS_IDLE;
    *startTime = 0;
    *listStatus = 0;
    return object != nullptr && logObject != nullptr &&
                   DriveProcessTask(
                       monitorId, "GetMonitorProcessListStatusEx", false, type, nullptr,
                       [&](SCA_SrvTaskProcess& task) {
                           return task.GetListStatusEx(status, processStatus, startTime, listStatus,
                                                       object, fromLogId, logObject);
                       })
               ? results.HandOver({list, log})
               : 0;
}

template <typename Read>
int SCA_KorvantaCtrl::ReadProcessObject(uint32_t monitorId, const char* operation, const char* name,
                                        const char* failText, tagSCA_TASK_PROCESS_STATE* state,
                                        SCA_ConfigObj** out, Read&& read) {
    Results results;
    SCA_ConfigObj* object = results.Make(name, failText);
    bool idle = true;
    if (object == nullptr ||
        !DriveProcessTask(monitorId, operation, false, nullptr, &idle,
                          [&](SCA_SrvTaskProcess& task) { return read(task, object); })) {
        return 0;
    }
    // A monitor never started answers the neutral state with the empty object.
    if (idle) {
        IdleState(state);
    }
    return results.HandOver({out});
}

int SCA_KorvantaCtrl::GetMonitorProcessCounterList(uint32_t monitorId, uint32_t processId,
                                                   tagSCA_TASK_PROCESS_STATE* state,
                                                   SCA_ConfigObj** list) {
    return ReadProcessObject(
        monitorId, "GetMonitorProcessCounterList", "CounterList",
        "SCA_KorvantaCtrl::GetMonitorProcessCounterList: cannot create counter list config "
        "object",
        state, list, [&](SCA_SrvTaskProcess& task, SCA_ConfigObj* object) {
            return task.GetProcessCounterList(processId, state, object);
        });
}

int SCA_KorvantaCtrl::GetMonitorProcessCountersStatus(uint32_t monitorId, uint32_t processId,
                                                      tagSCA_TASK_PROCESS_STATE* state,
                                                      SCA_ConfigObj** list) {
    return ReadProcessObject(
        monitorId, "GetMonitorProcessCountersStatus", "CountersStatus",
        "SCA_KorvantaCtrl::GetMonitorProcessCountersStatus: cannot create counters status "
        "object",
        state, list, [&](SCA_SrvTaskProcess& task, SCA_ConfigObj* object) {
            return task.GetProcessCountersStatus(processId, state, object);
        });
}

int SCA_KorvantaCtrl::GetMonitorProcessCountersStatusEx(uint32_t monitorId, uint32_t processId,
                                                        tagSCA_TASK_PROCESS_STATE* state,
                                                        uint32_t counterId, uint64_t since,
                                                        uint32_t count, SCA_ConfigObj** list,
                                                        SCA_ConfigObj** data, uint64_t* dataTime) {
    *dataTime = 0;
    Results results;
    SCA_ConfigObj* object =
        results.Make("CountersStatus", "SCA_KorvantaCtrl::GetMonitorProcessCountersStatus: cannot "
                                       "create counters status object");
    SCA_ConfigObj* dataObject =
        results.Make("CurrentCounterData", "SCA_KorvantaCtrl::GetMonitorProcessCountersStatusEx: "
                                           "cannot create counters status object");
    bool idle = true;
    if (object == nullptr || dataObject == nullptr ||
        !DriveProcessTask(monitorId, "GetMonitorProcessCountersStatus", false, nullptr, &idle,
                          [&](SCA_SrvTaskProcess& task) {
                              return task.GetProcessCountersStatusEx(
                                  processId, state, object, counterId, since, count, dataObject);
                          })) {
        return 0;
    }
    if (idle) {
        IdleState(state);
    }
    return results.HandOver({list, data});
}

int SCA_KorvantaCtrl::GetMonitorProcess(uint32_t monitorId, uint32_t processId, uint32_t load,
                                        SCA_ConfigObj** process) {
    Results results;
    SCA_ConfigObj* object = results.Make(
        "Process", "SCA_KorvantaCtrl::GetMonitorProcess: cannot create process config object");
    return object != nullptr &&
                   DriveProcessTask(monitorId, "GetMonitorProcess", true, nullptr, nullptr,
                                    [&](SCA_SrvTaskProcess& task) {
                                        return task.SerializeProcess(processId, load, object);
                                    })
               ? results.HandOver({process})
               : 0;
}

int SCA_KorvantaCtrl::GetMonitorProcessModules(uint32_t monitorId, uint32_t processId,
                                               uint32_t option, char* processName,
                                               SCA_ConfigObj** modules, uint32_t* ok,
                                               uint32_t* error) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    *ok = 0;
    *error = kModulesFailed;
    Results results;
    return DriveProcessTask(
        monitorId, "GetMonitorProcessModules", true, nullptr, nullptr,
        [&](SCA_SrvTaskProcess& task) {
            uint32_t pid = 0;
            if (!task.GetProcessInstance(processId, processName, kNameSize, &pid)) {
                report(SCA_LEVEL_ERROR,
                       "SCA_KorvantaCtrl::GetMonitorProcessModules: invalid process ID - %u",
                       processId);
                return 0;
            }
            if (pid == 0) {
                report(SCA_LEVEL_ERROR,
                       "SCA_KorvantaCtrl::GetMonitorProcessModules: No process instances.");
                return 0;
            }
            SCA_ConfigObj* object =
                results.Make("Modules", "SCA_KorvantaCtrl::GetMonitorProcessModules: cannot "
                                        "create modules config object");
            if (object == nullptr) {
                *error = kModulesNoObject;
                return 0;
            }
            SCA_ExeModuleList list(static_cast<int>(option));
            uint32_t readError = 0;
            if (!task.GetProcessMonitor()->ReadModules(pid, &list, &readError)) {
                *error = readError;
                return results.HandOver({modules});
            }
            if (!list.Serialize(object)) {
                return 0;
            }
            *ok = 1;
            *error = 0;
            return results.HandOver({modules});
        });
}

int SCA_KorvantaCtrl::GetMonitorProcessExcludeList(uint32_t monitorId, SCA_ConfigObj** list) {
    Results results;
    SCA_ConfigObj* object = results.Make(
        "ExludeList",
        "SCA_KorvantaCtrl::GetMonitorProcessExcludeList: cannot create process exclude list");
    return object != nullptr &&
                   DriveProcessTask(
                       monitorId, "GetMonitorProcessExcludeList", true, nullptr, nullptr,
                       [&](SCA_SrvTaskProcess& task) {
                           if (task.GetExcludeList(object)) {
                               return 1;
                           }
                           SCA_GetReportFunction(__FILE__, __LINE__)(
                               SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::GetMonitorProcessExcludeList: "
                                                "cannot copy process exclude list");
                           return 0;
                       })
               ? results.HandOver({list})
               : 0;
}

int SCA_KorvantaCtrl::SetMonitorProcessExcludeList(uint32_t monitorId, SCA_ConfigObj* list) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    constexpr const char* kCopyFailed =
        "SCA_KorvantaCtrl::SetMonitorProcessExcludeList: cannot copy process exclude list";
    if (!DriveProcessTask(monitorId, "SetMonitorProcessExcludeList", true, nullptr, nullptr,
                          [&](SCA_SrvTaskProcess& task) {
                              if (list != nullptr && task.SetExcludeList(list)) {
                                  return 1;
                              }
                              report(SCA_LEVEL_ERROR, "%s", kCopyFailed);
                              return 0;
                          })) {
        return 0;
    }
    // The user's list stays with the monitor: its next start, and the service's, begin from it.
    const int kept = StoreMonitors([&] {
        SCA_SrvMonitor* monitor =
            FindMonitor(monitorId, "SCA_KorvantaCtrl::SetMonitorProcessExcludeList: invalid");
        if (monitor == nullptr || !monitor->GetExcludeList()->SetContent(list)) {
            return 0;
        }
        monitor->GetExcludeList()->SetName("ExcludeList");
        return 1;
    });
    if (!kept) {
        report(SCA_LEVEL_ERROR, "%s", kCopyFailed);
    }
    return kept;
}
