// SPDX-License-Identifier: MIT
#include "model/SCA_TezProcessLogItem.h"

#include <cstdio>

#include "libmor/SCA_String.h"
#include "libmor/SCA_Time.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezRecordFields.h"

void SCA_TezProcessLogItem::SetProcessName(const char* name) {
    SCA_StrnCpy(m_ProcessName, name, sizeof(m_ProcessName));
}

void SCA_TezProcessLogItem::SetUserName(const char* name) {
    SCA_StrnCpy(m_UserName, name, sizeof(m_UserName));
}

void SCA_TezProcessLogItem::SetParentProcess(const char* name) {
    SCA_StrnCpy(m_ParentProcess, name, sizeof(m_ParentProcess));
}

void SCA_TezProcessLogItem::SetParentUser(const char* name) {
    SCA_StrnCpy(m_ParentUser, name, sizeof(m_ParentUser));
}

const char* SCA_TezProcessLogItem::GetUserNameEx(const char* defaultName) const {
    return m_UserName[0] != '\0' ? m_UserName : defaultName;
}

int SCA_TezProcessLogItem::BuildDescription(char* buf, uint32_t size) const {
    if (buf == nullptr || size == 0) {
        return 0;
    }
    char text[512];
    if (m_OpCode == SCA_PROCESS_LOG_START && m_ParentProcess[0] != '\0') {
        std::snprintf(text, sizeof(text), "Process started by %s (PID %u)", m_ParentProcess,
                      m_ParentPid);
    } else if (m_OpCode == SCA_PROCESS_LOG_START) {
        std::snprintf(text, sizeof(text), "Process started");
    } else if (m_OpCode == SCA_PROCESS_LOG_END) {
        char runTime[64] = "";
        SCA_FormatTime(m_RunTime * SCA_ABS_TIME_SECOND, runTime, sizeof(runTime));
        std::snprintf(text, sizeof(text), "Process ended after %s", runTime);
    } else {
        std::snprintf(text, sizeof(text), "Event %u", m_OpCode);
    }
    // The copy, not snprintf, cuts: it keeps a UTF-8 character whole.
    SCA_StrnCpy(buf, text, size);
    return 1;
}

int SCA_TezProcessLogItem::Serialize(SCA_ConfigObj* object) const {
    return object != nullptr && object->AddField("ItemId", m_ItemId) &&
           object->AddField("OpCode", m_OpCode) && object->AddField("ProcessId", m_ProcessId) &&
           object->AddField("ParentPid", m_ParentPid) && object->AddField("AbsTime", m_AbsTime) &&
           object->AddField("RunTime", m_RunTime) && object->AddField("CpuUsage", m_CpuUsage) &&
           object->AddField("UsedMemory", m_UsedMemory) &&
           object->AddField("DataTransfer", m_DataTransfer) &&
           object->AddField("TotalDataTransfer", m_TotalDataTransfer) &&
           object->AddField("ThreadCount", m_ThreadCount) &&
           object->AddField("HandleCount", m_HandleCount) &&
           SCA_AddTextField(object, "ProcessName", m_ProcessName) &&
           SCA_AddTextField(object, "UserName", m_UserName) &&
           SCA_AddTextField(object, "ParentProcess", m_ParentProcess) &&
           SCA_AddTextField(object, "ParentUser", m_ParentUser);
}

int SCA_TezProcessLogItem::Deserialize(SCA_ConfigObj* object) {
    if (object == nullptr || !object->GetField("ItemId", &m_ItemId)) {
        return 0;
    }
    object->GetField("OpCode", &m_OpCode);
    object->GetField("ProcessId", &m_ProcessId);
    object->GetField("ParentPid", &m_ParentPid);
    object->GetField("AbsTime", &m_AbsTime);
    object->GetField("RunTime", &m_RunTime);
    object->GetField("CpuUsage", &m_CpuUsage);
    object->GetField("UsedMemory", &m_UsedMemory);
    object->GetField("DataTransfer", &m_DataTransfer);
    object->GetField("TotalDataTransfer", &m_TotalDataTransfer);
    object->GetField("ThreadCount", &m_ThreadCount);
    object->GetField("HandleCount", &m_HandleCount);
    object->GetField("ProcessName", m_ProcessName, sizeof(m_ProcessName));
    object->GetField("UserName", m_UserName, sizeof(m_UserName));
    object->GetField("ParentProcess", m_ParentProcess, sizeof(m_ParentProcess));
    object->GetField("ParentUser", m_ParentUser, sizeof(m_ParentUser));
    return 1;
}
