// SPDX-License-Identifier: MIT
#include "model/SCA_TezProcessLog.h"

#include "model/SCA_ConfigObj.h"

// Automatic and signalled: the first waiter gets the log, Set hands it on.
SCA_TezProcessLog::SCA_TezProcessLog() : m_Ready(0, 1) {
    if (!m_Ready.IsConstructed()) {
        SetConstructed(0);
    }
}

void SCA_TezProcessLog::SetCallback(SCA_TezProcessLogCallback callback, void* userData) {
    m_ItemCallback = callback;
    m_ItemUserData = userData;
}

void SCA_TezProcessLog::SetStartCallback(SCA_TezProcessStartCallback callback, void* userData) {
    m_StartCallback = callback;
    m_StartUserData = userData;
}

void SCA_TezProcessLog::SetStopCallback(SCA_TezProcessStopCallback callback, void* userData) {
    m_StopCallback = callback;
    m_StopUserData = userData;
}

int SCA_TezProcessLog::OnProcessStart(uint64_t absTime, SCA_TezProcess* process,
                                      SCA_TezProcessPid* pid, SCA_TezProcess* second,
                                      SCA_TezProcessPid* secondPid) {
    if (m_StartCallback == nullptr) {
        return 1;
    }
    return m_StartCallback(absTime, process, pid, second, secondPid, m_StartUserData);
}

int SCA_TezProcessLog::OnProcessStop(uint64_t absTime, SCA_TezProcess* process,
                                     SCA_TezProcessPid* pid) {
    if (m_StopCallback == nullptr) {
        return 1;
    }
    return m_StopCallback(absTime, process, pid, m_StopUserData);
}

int SCA_TezProcessLog::AddItem(SCA_TezProcessLogItem* item) {
    if (item == nullptr) {
        return 0;
    }
    uint32_t id = item->GetItemId();
    if (id == SCA_ALL_ONES) {
        id = GetNextItemId();
    }
    if (!AddItemToTail(item, id)) {
        return 0;
    }
    item->SetItemId(id);
    if (id >= GetNextItemId() && id != SCA_ALL_ONES - 1) {
        SetNextItemId(id + 1);
    }
    if (item->GetOpCode() == SCA_PROCESS_LOG_START) {
        ++m_DetectedProcesses;
    } else if (item->GetOpCode() == SCA_PROCESS_LOG_END) {
        ++m_CompletedProcesses;
    }
    ++m_StatusId;
    if (m_ItemCallback != nullptr) {
        m_ItemCallback(item, m_ItemUserData);
    }
    return 1;
}

int SCA_TezProcessLog::Serialize(uint32_t fromId, SCA_ConfigObj* object) const {
    if (object == nullptr || !object->AddField("AbsStartTime", m_AbsStartTime) ||
        !object->AddField("LastUpdateTime", m_LastUpdateTime) ||
        !object->AddField("DetectedProcesses", m_DetectedProcesses) ||
        !object->AddField("CompletedProcesses", m_CompletedProcesses) ||
        !object->AddField("StatusId", m_StatusId)) {
        return 0;
    }
    return SerializeRecordsIf(object, [fromId](const Item* node) {
        return fromId == SCA_ALL_ONES || node->GetId() > fromId;
    });
}

int SCA_TezProcessLog::Deserialize(SCA_ConfigObj* object) {
    m_DetectedProcesses = 0;
    m_CompletedProcesses = 0;
    if (!DeserializeRecords(object,
                            [this](SCA_TezProcessLogItem* item) { return AddItem(item); })) {
        return 0;
    }
    object->GetField("AbsStartTime", &m_AbsStartTime);
    object->GetField("LastUpdateTime", &m_LastUpdateTime);
    object->GetField("DetectedProcesses", &m_DetectedProcesses);
    object->GetField("CompletedProcesses", &m_CompletedProcesses);
    object->GetField("StatusId", &m_StatusId);
    return 1;
}
