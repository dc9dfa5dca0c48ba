// SPDX-License-Identifier: MIT
#include "libkvn/SCA_KvnDeviceInfo.h"

#include <cstdio>

#include "libmor/SCA_String.h"
#include "libmor/SCA_Time.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezRecordFields.h"

SCA_KvnDeviceInfo::SCA_KvnDeviceInfo() {
    SCA_StrnCpy(m_UserName, SCA_KVN_DEVICE_DEFAULT_ACCOUNT, sizeof(m_UserName));
    SCA_StrnCpy(m_Password, SCA_KVN_DEVICE_DEFAULT_ACCOUNT, sizeof(m_Password));
    SetConstructed();
}

void SCA_KvnDeviceInfo::SetHostName(const char* name) {
    SCA_StrnCpy(m_HostName, name, sizeof(m_HostName));
}

void SCA_KvnDeviceInfo::SetUserName(const char* name) {
    SCA_StrnCpy(m_UserName, name, sizeof(m_UserName));
}

void SCA_KvnDeviceInfo::SetPassword(const char* password) {
    SCA_StrnCpy(m_Password, password, sizeof(m_Password));
}

int SCA_KvnDeviceInfo::SetUpdateTime() {
    m_LastUpdateTime = SCA_GetAbsTime();
    return 1;
}

int SCA_KvnDeviceInfo::Serialize(SCA_ConfigObj* object, int status) const {
    if (object == nullptr) {
        return 0;
    }
    const bool written = object->AddField("DeviceId", m_DeviceId) &&
                         SCA_AddTextField(object, "HostName", m_HostName) &&
                         object->AddField("PortNumber", m_PortNumber) &&
                         SCA_AddTextField(object, "UserName", m_UserName) &&
                         SCA_AddTextField(object, "Password", m_Password) &&
                         object->AddField("DevUpdatePeriod", m_DevUpdatePeriod) &&
                         object->AddField("MaxPendingStatus", m_MaxPendingStatus) &&
                         object->AddField("LastUpdateTime", m_LastUpdateTime) &&
                         object->AddField("Saved", m_Saved) &&
                         (status == 0 || object->AddField("Online", m_Online));
    return written ? 1 : 0;
}

int SCA_KvnDeviceInfo::Deserialize(SCA_ConfigObj* object, int status) {
    if (object == nullptr) {
        return 0;
    }
    object->GetField("DeviceId", &m_DeviceId);
    object->GetField("HostName", m_HostName, sizeof(m_HostName));
    object->GetField("PortNumber", &m_PortNumber);
    object->GetField("UserName", m_UserName, sizeof(m_UserName));
    object->GetField("Password", m_Password, sizeof(m_Password));
    object->GetField("DevUpdatePeriod", &m_DevUpdatePeriod);
    object->GetField("MaxPendingStatus", &m_MaxPendingStatus);
    object->GetField("LastUpdateTime", &m_LastUpdateTime);
    object->GetField("Saved", &m_Saved);
    if (status != 0) {
        object->GetField("Online", &m_Online);
    }
    return 1;
}

int SCA_KvnDeviceInfo::SetContent(const SCA_KvnDeviceInfo* source) {
    if (source == nullptr) {
        return 0;
    }
    return SCA_KvnCopyThrough(
        "Device", [source](SCA_ConfigObj* temp) { return source->Serialize(temp, 0); },
        [this](SCA_ConfigObj* temp) { return Deserialize(temp, 0); });
}

int SCA_KvnDeviceInfo::Show() const {
    char updated[SCA_KVN_TEXT_SIZE];
    SCA_FormatAbsTime(m_LastUpdateTime, updated, sizeof(updated));
    std::printf("%-.2u - %-12s - %-10s - Last Update %s\n", m_DeviceId, m_HostName,
                m_Online ? "Online" : "Offline", updated);
    return 1;
}
