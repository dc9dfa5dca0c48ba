// SPDX-License-Identifier: MIT
// The agent's reads and moves of the monitor list and the counters of a monitor: the login
// guard, then the lists through the control object (WithData, or its own operations).
#include <cstdio>
#include <new>

#include "korvas/SCA_KorvantaAgent.h"
#include "korvas/SCA_KorvantaCtrl.h"
#include "korvas/SCA_SrvTask.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_SrvMonitorList.h"
#include "model/SCA_TezProcessStatus.h"

namespace {

// The text buffers of the client operations, and the fields of an id written as text.
constexpr uint32_t kTextSize = 256;
constexpr size_t kIdSize = 16;

void ReportInvalidId(const char* operation, uint32_t monitorId) {
    SCA_GetReportFunction(__FILE__, __LINE__)(
        SCA_LEVEL_ERROR, "SCA_KorvantaAgent::%s: invalid monitor ID - %u", operation, monitorId);
}

} // namespace

int SCA_KorvantaAgent::FindMonitorType(uint32_t monitorId, const char* operation, uint32_t* type) {
    return m_Ctrl->WithData([&] {
        SCA_SrvMonitor* monitor = nullptr;
        if (!m_Monitors->GetMonitor(monitorId, &monitor)) {
            ReportInvalidId(operation, monitorId);
            return 0;
        }
        *type = monitor->GetMonitorType();
        return 1;
    });
}

int SCA_KorvantaAgent::GetMonitorCount(uint32_t* count) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return m_Ctrl->WithData([&] {
        *count = m_Monitors->Count();
        return 1;
    });
}

int SCA_KorvantaAgent::GetMonitorsStatus(uint32_t* count, uint32_t* active, uint32_t* stopped,
                                         uint32_t* failed) {
    if (!IsLoggedIn()) {
        return 0;
    }
    *count = m_Ctrl->WithData([this] { return m_Monitors->Count(); });
    *active = m_Ctrl->GetActiveMonitors();
    *stopped = m_Ctrl->GetStoppedMonitors();
    *failed = m_Ctrl->GetFailedMonitors();
    return 1;
}

int SCA_KorvantaAgent::GetMonitorInfo(uint32_t index, uint32_t* monitorId, char* description) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return m_Ctrl->WithData([&] {
        uint32_t position = 0;
        for (auto* node = m_Monitors->GetHead(); node != nullptr;
             node = node->GetNext(), ++position) {
            if (position == index) {
                *monitorId = node->GetId();
                SCA_StrnCpy(description, node->GetItem()->GetDescription(), kTextSize);
                return 1;
            }
        }
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KorvantaAgent::GetMonitorInfo: invalid monitor index - %u",
            index);
        return 0;
    });
}

int SCA_KorvantaAgent::GetMonitorInfoEx(uint32_t monitorId, uint32_t* type, uint32_t* status,
                                        uint32_t* runState, char* description, char* computer) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return m_Ctrl->WithData([&] {
        SCA_SrvMonitor* monitor = nullptr;
        if (!m_Monitors->GetMonitor(monitorId, &monitor)) {
            ReportInvalidId("GetMonitorInfoEx", monitorId);
            return 0;
        }
        *type = monitor->GetMonitorType();
        SCA_StrnCpy(description, monitor->GetDescription(), kTextSize);
        SCA_StrnCpy(computer, monitor->IsRemoteMonitor() ? monitor->GetComputerName() : "",
                    kTextSize);
        const SCA_SrvTaskRef task = m_Ctrl->GetTask(monitorId);
        *status = task ? task->GetStatus() : SCA_TASK_STATUS_IDLE;
        *runState = task ? task->GetState() : SCA_PROCESS_IDLE;
        return 1;
    });
}

int SCA_KorvantaAgent::GetMonitorInfoList(SCA_ConfigObj** monitorInfoList) {
    if (!IsLoggedIn()) {
        return 0;
    }
    SCA_ConfigObj* list = SCA_KorvantaAgent::NewReply("MonitorInfoList", "GetMonitorInfoList",
                                                      "cannot create monitor info list object");
    if (list == nullptr) {
        return 0;
    }
    return m_Ctrl->WithData([&] {
        for (auto* node = m_Monitors->GetHead(); node != nullptr; node = node->GetNext()) {
            const SCA_SrvMonitor* monitor = node->GetItem();
            char name[kIdSize];
            std::snprintf(name, sizeof(name), "%u", node->GetId());
            SCA_ConfigObj* info = list->AddConfigObj(name);
            if (info == nullptr || !info->AddField("MonitorId", node->GetId()) ||
                !info->AddField("Description", monitor->GetDescription()) ||
                !info->AddField("ComputerName", monitor->GetComputerName()) ||
                !info->AddField("RemoteMonitor",
                                static_cast<uint32_t>(monitor->IsRemoteMonitor()))) {
                SCA_Object::Destroy(list);
                SCA_GetReportFunction(__FILE__, __LINE__)(
                    SCA_LEVEL_ERROR,
                    "SCA_KorvantaAgent::GetMonitorInfoList: cannot create monitor info object");
                return 0;
            }
        }
        *monitorInfoList = list;
        return 1;
    });
}

int SCA_KorvantaAgent::IsMonitorExists(SCA_ConfigObj* object, uint32_t* monitorId,
                                       uint32_t* exists) {
    if (!IsLoggedIn()) {
        return 0;
    }
    SCA_SrvMonitor monitor(m_Config, m_UserConfig);
    if (object == nullptr || !monitor.Deserialize(object)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR,
            "SCA_KorvantaAgent::IsMonitorExists: cannot deserialize monitor object");
        return 0;
    }
    return m_Ctrl->WithData([&] {
        uint32_t id = SCA_ALL_ONES;
        *exists = m_Monitors->IsMonitorExists(&monitor, &id) ? 1 : 0;
        *monitorId = *exists ? id : SCA_ALL_ONES;
        return 1;
    });
}

int SCA_KorvantaAgent::GetMonitors(SCA_ConfigObj** monitorList) {
    if (!IsLoggedIn()) {
        return 0;
    }
    SCA_ConfigObj* list = SCA_KorvantaAgent::NewReply("MonitorList", "GetMonitors",
                                                      "cannot create monitor list object");
    if (list == nullptr) {
        return 0;
    }
    return m_Ctrl->WithData([&] {
        if (!m_Monitors->Serialize(list)) {
            SCA_Object::Destroy(list);
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR,
                "SCA_KorvantaAgent::GetMonitors: cannot serialize monitor list object");
            return 0;
        }
        *monitorList = list;
        return 1;
    });
}

int SCA_KorvantaAgent::GetMonitorObj(uint32_t monitorId, SCA_ConfigObj** object) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return m_Ctrl->WithData([&] {
        SCA_SrvMonitor* monitor = nullptr;
        if (!m_Monitors->GetMonitor(monitorId, &monitor)) {
            ReportInvalidId("GetMonitorObj", monitorId);
            return 0;
        }
        SCA_ConfigObj* reply = SCA_KorvantaAgent::NewReply("Monitor", "GetMonitorObj",
                                                           "cannot create monitor config object");
        if (reply == nullptr) {
            return 0;
        }
        if (!monitor->Serialize(reply)) {
            SCA_Object::Destroy(reply);
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "SCA_KorvantaAgent::GetMonitorObj: cannot serialize monitor - %u",
                monitorId);
            return 0;
        }
        *object = reply;
        return 1;
    });
}

int SCA_KorvantaAgent::MoveMonitorUp(uint32_t monitorId) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return m_Ctrl->StoreMonitors([&] {
        m_Monitors->MoveItemUp(monitorId);
        // Raised even when nothing moved: clients read the list again either way.
        m_Monitors->UpdateMonitorsStatus();
        return 1;
    });
}

int SCA_KorvantaAgent::MoveMonitorDown(uint32_t monitorId) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return m_Ctrl->StoreMonitors([&] {
        m_Monitors->MoveItemDown(monitorId);
        m_Monitors->UpdateMonitorsStatus();
        return 1;
    });
}

int SCA_KorvantaAgent::GetMonitorProfile(uint32_t monitorId, uint32_t* type,
                                         uint32_t* countersStatusId, SCA_ConfigObj** profile) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return m_Ctrl->WithData([&] {
        SCA_SrvMonitor* monitor = nullptr;
        if (!m_Monitors->GetMonitor(monitorId, &monitor)) {
            ReportInvalidId("GetMonitorProfile", monitorId);
            return 0;
        }
        SCA_ConfigObj* reply = SCA_KorvantaAgent::NewReply("Profile", "GetMonitorProfile",
                                                           "cannot create profile config object");
        if (reply == nullptr) {
            return 0;
        }
        if (!monitor->GetProfile()->Serialize(reply)) {
            SCA_Object::Destroy(reply);
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR,
                "SCA_KorvantaAgent::GetMonitorProfile: cannot serialize profile config object");
            return 0;
        }
        *type = monitor->GetMonitorType();
        *countersStatusId = monitor->GetProfile()->GetCountersStatusId();
        *profile = reply;
        return 1;
    });
}

int SCA_KorvantaAgent::GetMonitorStatusEx(uint32_t monitorId, uint32_t* type, uint32_t* status,
                                          uint32_t* runState, uint32_t* errors, uint32_t* warnings,
                                          uint64_t* processTime, uint32_t* countersStatusId,
                                          SCA_ConfigObj** countersStatus, uint32_t counterId,
                                          uint64_t lastDataTime, uint32_t range,
                                          SCA_ConfigObj** counterData, uint64_t* lastSoundTime) {
    if (!IsLoggedIn() || !FindMonitorType(monitorId, "GetMonitorStatusEx", type)) {
        return 0;
    }
    SCA_ConfigObj* list = SCA_KorvantaAgent::NewReply("CSL", "GetMonitorStatusEx",
                                                      "cannot create counters status list object");
    if (list == nullptr) {
        return 0;
    }
    SCA_ConfigObj* data = SCA_KorvantaAgent::NewReply("CCD", "GetMonitorStatusEx",
                                                      "cannot create current counter data object");
    if (data == nullptr) {
        SCA_Object::Destroy(list);
        return 0;
    }
    if (!m_Ctrl->GetMonitorStatusEx(monitorId, status, runState, errors, warnings, processTime,
                                    countersStatusId, list, counterId, lastDataTime, range, data)) {
        SCA_Object::Destroy(list);
        SCA_Object::Destroy(data);
        return 0;
    }
    *lastSoundTime = m_Ctrl->GetActionCtrl()->GetLastSoundActionTime();
    *countersStatus = list;
    *counterData = data;
    return 1;
}

int SCA_KorvantaAgent::GetCounterStatusEx(uint32_t monitorId, uint32_t counterId, uint64_t since,
                                          uint32_t count, SCA_ConfigObj** counterData,
                                          char* statusText) {
    uint32_t type = 0;
    if (!IsLoggedIn() || !FindMonitorType(monitorId, "GetCounterStatusEx", &type)) {
        return 0;
    }
    SCA_ConfigObj* data = SCA_KorvantaAgent::NewReply("CD", "GetCounterStatusEx",
                                                      "cannot create counter data object");
    if (data == nullptr) {
        return 0;
    }
    if (!m_Ctrl->GetCounterStatusEx(monitorId, counterId, since, count, data, statusText,
                                    kTextSize)) {
        SCA_Object::Destroy(data);
        return 0;
    }
    *counterData = data;
    return 1;
}

int SCA_KorvantaAgent::GetCounterInfo(uint32_t monitorId, uint32_t counterId,
                                      SCA_ConfigObj** counterInfo) {
    if (!IsLoggedIn()) {
        return 0;
    }
    SCA_ConfigObj* info = SCA_KorvantaAgent::NewReply("CounterInfo", "GetCounterInfo",
                                                      "cannot create counter info config object");
    if (info == nullptr) {
        return 0;
    }
    if (!m_Ctrl->GetCounterInfo(monitorId, counterId, info)) {
        SCA_Object::Destroy(info);
        return 0;
    }
    *counterInfo = info;
    return 1;
}

int SCA_KorvantaAgent::SetCounterInfo(uint32_t monitorId, uint32_t counterId,
                                      SCA_ConfigObj* counterInfo) {
    return IsLoggedIn() && m_Ctrl->SetCounterInfo(monitorId, counterId, counterInfo) ? 1 : 0;
}

int SCA_KorvantaAgent::MoveCounterUp(uint32_t monitorId, uint32_t counterId) {
    return IsLoggedIn() && m_Ctrl->MoveCounterUp(monitorId, counterId) ? 1 : 0;
}

int SCA_KorvantaAgent::MoveCounterDown(uint32_t monitorId, uint32_t counterId) {
    return IsLoggedIn() && m_Ctrl->MoveCounterDown(monitorId, counterId) ? 1 : 0;
}
