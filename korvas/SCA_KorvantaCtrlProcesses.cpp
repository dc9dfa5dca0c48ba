// The queries of a process monitor's data. The task is looked up under the data lock; its
// process monitor is read under that monitor's own lock (the task's helpers take it) and the
// task's run lock, so a stop cannot take the data away during a read.
#include <cstring>
#include <memory>
#include <new>

#include "korvas/SCA_KorvantaCtrl.h"
#include "korvas/SCA_SrvTaskProcess.h"
#include "libmor/SCA_Report.h"
#include "model/SCA_ExeModuleList.h"
#include "model/SCA_TezProcessStatus.h"
#include "model/SCA_TezRecordFields.h"

namespace {

constexpr uint32_t kProcessMonitor = 1;
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
    state->RepStatus = SCA_TASK_STATUS_IDLE;
}

// Makes the result object and, when the monitor has a task, lets read fill it under the task's
// run lock; a monitor never started answers the neutral state with the empty object.
template <typename Read>
int ReadProcessObject(const std::shared_ptr<SCA_SrvTaskProcess>& task, const char* name,
                      const char* failText, tagSCA_TASK_PROCESS_STATE* state, SCA_ConfigObj** out,
                      Read&& read) {
    SCA_ConfigObj* object = NewObject(name, failText);
    if (object == nullptr) {
        return 0;
    }
    if (!task) {
        IdleState(state);
        *out = object;
        return 1;
    }
    std::lock_guard<std::mutex> run(task->GetRunLock());
    if (!read(*task, object)) {
        SCA_Object::Destroy(object);
        return 0;
    }
    *out = object;
    return 1;
}

} // namespace

int SCA_KorvantaCtrl::FindProcessTask(uint32_t monitorId, const char* operation, bool taskRequired,
                                      std::shared_ptr<SCA_SrvTaskProcess>* task, uint32_t* type) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    std::lock_guard<std::recursive_mutex> hold(m_DataLock);
    SCA_SrvMonitor* monitor = nullptr;
    if (!m_Monitors.GetMonitor(monitorId, &monitor)) {
        report(SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::%s: invalid monitor ID - %u", operation,
               monitorId);
        return 0;
    }
    if (type != nullptr) {
        *type = monitor->GetMonitorType();
    }
    if (monitor->GetMonitorType() != kProcessMonitor) {
        report(SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::%s: invalid monitor type - %u", operation,
               monitor->GetMonitorType());
        return 0;
    }
    auto it = FindTask(monitorId);
    if (it == m_Tasks.end()) {
        if (taskRequired) {
            report(SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::%s: monitor %u is not active", operation,
                   monitorId);
            return 0;
        }
        task->reset();
        return 1;
    }
    if (it->second->GetTaskType() != SCA_TASK_PROCESSES) {
        report(SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::%s: invalid process monitor task type - %u",
               operation, it->second->GetTaskType());
        return 0;
    }
    *task = std::static_pointer_cast<SCA_SrvTaskProcess>(it->second);
    return 1;
}

int SCA_KorvantaCtrl::GetMonitorProcessLog(uint32_t monitorId, SCA_ConfigObj** log) {
    std::shared_ptr<SCA_SrvTaskProcess> task;
    if (!FindProcessTask(monitorId, "GetMonitorProcessLog", true, &task, nullptr)) {
        return 0;
    }
    SCA_ConfigObj* object = NewObject(
        "ProcessLog",
        "SCA_KorvantaCtrl::GetMonitorProcessLog: cannot create process log config object");
    if (object == nullptr) {
        return 0;
    }
    std::lock_guard<std::mutex> run(task->GetRunLock());
    if (!task->SerializeProcessLog(object)) {
        SCA_Object::Destroy(object);
        return 0;
    }
    *log = object;
    return 1;
}

int SCA_KorvantaCtrl::GetMonitorProcessList(uint32_t monitorId, uint32_t details,
                                            SCA_ConfigObj** list) {
    std::shared_ptr<SCA_SrvTaskProcess> task;
    if (!FindProcessTask(monitorId, "GetMonitorProcessList", true, &task, nullptr)) {
        return 0;
    }
    SCA_ConfigObj* object = NewObject(
        "ProcessList",
        "SCA_KorvantaCtrl::GetMonitorProcessList: cannot create process list config object");
    if (object == nullptr) {
        return 0;
    }
    std::lock_guard<std::mutex> run(task->GetRunLock());
    if (!task->SerializeProcessList(object, details)) {
        SCA_Object::Destroy(object);
        return 0;
    }
    *list = object;
    return 1;
}

int SCA_KorvantaCtrl::GetMonitorProcessListStatus(uint32_t monitorId, uint32_t* type,
                                                  uint32_t* status, uint32_t* processStatus,
                                                  uint64_t* startTime, uint32_t* listStatus,
                                                  SCA_ConfigObj** list) {
    std::shared_ptr<SCA_SrvTaskProcess> task;
    if (!FindProcessTask(monitorId, "GetMonitorProcessListStatus", false, &task, type)) {
        return 0;
    }
    SCA_ConfigObj* object =
        NewObject("ProcessListStatus", "SCA_KorvantaCtrl::GetMonitorProcessListStatus: cannot "
                                       "create process list status object");
    if (object == nullptr) {
        return 0;
    }
    if (!task) {
        *status = SCA_TASK_STATUS_IDLE;
        *processStatus = SCA_PROCESS_IDLE;
        *startTime = 0;
        *listStatus = 0;
        *list = object;
        return 1;
    }
    std::lock_guard<std::mutex> run(task->GetRunLock());
    if (!task->GetListStatus(status, processStatus, startTime, listStatus, object)) {
        SCA_Object::Destroy(object);
        return 0;
    }
    *list = object;
    return 1;
}

int SCA_KorvantaCtrl::GetMonitorProcessListStatusEx(uint32_t monitorId, uint32_t* type,
                                                    uint32_t* status, uint32_t* processStatus,
                                                    uint64_t* startTime, uint32_t* listStatus,
                                                    uint32_t fromLogId, SCA_ConfigObj** list,
                                                    SCA_ConfigObj** log) {
    std::shared_ptr<SCA_SrvTaskProcess> task;
    if (!FindProcessTask(monitorId, "GetMonitorProcessListStatusEx", false, &task, type)) {
        return 0;
    }
    SCA_ConfigObj* object =
        NewObject("ProcessListStatus", "SCA_KorvantaCtrl::GetMonitorProcessListStatusEx: cannot "
                                       "create process list status object");
    if (object == nullptr) {
        return 0;
    }
    SCA_ConfigObj* logObject = NewObject(
        "ProcessLog",
        "SCA_KorvantaCtrl::GetMonitorProcessListStatusEx: cannot create process log object");
    if (logObject == nullptr) {
        SCA_Object::Destroy(object);
        return 0;
    }
    if (!task) {
        *status = SCA_TASK_STATUS_IDLE;
        *processStatus = SCA_PROCESS_IDLE;
        *startTime = 0;
        *listStatus = 0;
    } else {
        std::lock_guard<std::mutex> run(task->GetRunLock());
        if (!task->GetListStatusEx(status, processStatus, startTime, listStatus, object, fromLogId,
                                   logObject)) {
            SCA_Object::Destroy(object);
            SCA_Object::Destroy(logObject);
            return 0;
        }
    }
    *list = object;
    *log = logObject;
    return 1;
}

int SCA_KorvantaCtrl::GetMonitorProcessCounterList(uint32_t monitorId, uint32_t processId,
                                                   tagSCA_TASK_PROCESS_STATE* state,
                                                   SCA_ConfigObj** list) {
    std::shared_ptr<SCA_SrvTaskProcess> task;
    if (!FindProcessTask(monitorId, "GetMonitorProcessCounterList", false, &task, nullptr)) {
        return 0;
    }
    return ReadProcessObject(
        task, "CounterList",
        "SCA_KorvantaCtrl::GetMonitorProcessCounterList: cannot create counter list config "
        "object",
        state, list, [&](SCA_SrvTaskProcess& running, SCA_ConfigObj* object) {
            return running.GetProcessCounterList(processId, state, object);
        });
}

int SCA_KorvantaCtrl::GetMonitorProcessCountersStatus(uint32_t monitorId, uint32_t processId,
                                                      tagSCA_TASK_PROCESS_STATE* state,
                                                      SCA_ConfigObj** list) {
    std::shared_ptr<SCA_SrvTaskProcess> task;
    if (!FindProcessTask(monitorId, "GetMonitorProcessCountersStatus", false, &task, nullptr)) {
        return 0;
    }
    return ReadProcessObject(
        task, "CountersStatus",
        "SCA_KorvantaCtrl::GetMonitorProcessCountersStatus: cannot create counters status "
        "object",
        state, list, [&](SCA_SrvTaskProcess& running, SCA_ConfigObj* object) {
            return running.GetProcessCountersStatus(processId, state, object);
        });
}

int SCA_KorvantaCtrl::GetMonitorProcessCountersStatusEx(uint32_t monitorId, uint32_t processId,
                                                        tagSCA_TASK_PROCESS_STATE* state,
                                                        uint32_t counterId, uint64_t since,
                                                        uint32_t count, SCA_ConfigObj** list,
                                                        SCA_ConfigObj** data, uint64_t* dataTime) {
    *dataTime = 0;
    std::shared_ptr<SCA_SrvTaskProcess> task;
    if (!FindProcessTask(monitorId, "GetMonitorProcessCountersStatus", false, &task, nullptr)) {
        return 0;
    }
    SCA_ConfigObj* object =
        NewObject("CountersStatus", "SCA_KorvantaCtrl::GetMonitorProcessCountersStatus: cannot "
                                    "create counters status object");
    if (object == nullptr) {
        return 0;
    }
    SCA_ConfigObj* dataObject =
        NewObject("CurrentCounterData", "SCA_KorvantaCtrl::GetMonitorProcessCountersStatusEx: "
                                        "cannot create counters status object");
    if (dataObject == nullptr) {
        SCA_Object::Destroy(object);
        return 0;
    }
    if (!task) {
        IdleState(state);
    } else {
        std::lock_guard<std::mutex> run(task->GetRunLock());
        if (!task->GetProcessCountersStatusEx(processId, state, object, counterId, since, count,
                                              dataObject)) {
            SCA_Object::Destroy(object);
            SCA_Object::Destroy(dataObject);
            return 0;
        }
    }
    *list = object;
    *data = dataObject;
    return 1;
}

int SCA_KorvantaCtrl::GetMonitorProcess(uint32_t monitorId, uint32_t processId, uint32_t load,
                                        SCA_ConfigObj** process) {
    std::shared_ptr<SCA_SrvTaskProcess> task;
    if (!FindProcessTask(monitorId, "GetMonitorProcess", true, &task, nullptr)) {
        return 0;
    }
    SCA_ConfigObj* object = NewObject(
        "Process", "SCA_KorvantaCtrl::GetMonitorProcess: cannot create process config object");
    if (object == nullptr) {
        return 0;
    }
    std::lock_guard<std::mutex> run(task->GetRunLock());
    if (!task->SerializeProcess(processId, load, object)) {
        SCA_Object::Destroy(object);
        return 0;
    }
    *process = object;
    return 1;
}

int SCA_KorvantaCtrl::GetMonitorProcessModules(uint32_t monitorId, uint32_t processId,
                                               uint32_t option, char* processName,
                                               SCA_ConfigObj** modules, uint32_t* ok,
                                               uint32_t* error) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    *ok = 0;
    *error = kModulesFailed;
    std::shared_ptr<SCA_SrvTaskProcess> task;
    if (!FindProcessTask(monitorId, "GetMonitorProcessModules", true, &task, nullptr)) {
        return 0;
    }
    std::lock_guard<std::mutex> run(task->GetRunLock());
    uint32_t pid = 0;
    if (!task->GetProcessInstance(processId, processName, kNameSize, &pid)) {
        report(SCA_LEVEL_ERROR,
               "SCA_KorvantaCtrl::GetMonitorProcessModules: invalid process ID - %u", processId);
        return 0;
    }
    if (pid == 0) {
        report(SCA_LEVEL_ERROR,
               "SCA_KorvantaCtrl::GetMonitorProcessModules: No process instances.");
        return 0;
    }
    SCA_ConfigObj* object = NewObject(
        "Modules",
        "SCA_KorvantaCtrl::GetMonitorProcessModules: cannot create modules config object");
    if (object == nullptr) {
        *error = kModulesNoObject;
        return 0;
    }
    SCA_ExeModuleList list(static_cast<int>(option));
    uint32_t readError = 0;
    if (!task->GetProcessMonitor()->ReadModules(pid, &list, &readError)) {
        *error = readError;
        *modules = object;
        return 1;
    }
    if (!list.Serialize(object)) {
        SCA_Object::Destroy(object);
        return 0;
    }
    *ok = 1;
    *error = 0;
    *modules = object;
    return 1;
}

int SCA_KorvantaCtrl::GetMonitorProcessExcludeList(uint32_t monitorId, SCA_ConfigObj** list) {
    std::shared_ptr<SCA_SrvTaskProcess> task;
    if (!FindProcessTask(monitorId, "GetMonitorProcessExcludeList", true, &task, nullptr)) {
        return 0;
    }
    SCA_ConfigObj* object = NewObject(
        "ExludeList",
        "SCA_KorvantaCtrl::GetMonitorProcessExcludeList: cannot create process exclude list");
    if (object == nullptr) {
        return 0;
    }
    std::lock_guard<std::mutex> run(task->GetRunLock());
    if (!task->GetExcludeList(object)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR,
            "SCA_KorvantaCtrl::GetMonitorProcessExcludeList: cannot copy process exclude list");
        SCA_Object::Destroy(object);
        return 0;
    }
    *list = object;
    return 1;
}

int SCA_KorvantaCtrl::SetMonitorProcessExcludeList(uint32_t monitorId, SCA_ConfigObj* list) {
    std::shared_ptr<SCA_SrvTaskProcess> task;
    if (!FindProcessTask(monitorId, "SetMonitorProcessExcludeList", true, &task, nullptr)) {
        return 0;
    }
    std::lock_guard<std::mutex> run(task->GetRunLock());
    if (list == nullptr || !task->SetExcludeList(list)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR,
            "SCA_KorvantaCtrl::SetMonitorProcessExcludeList: cannot copy process exclude list");
        return 0;
    }
    return 1;
}
