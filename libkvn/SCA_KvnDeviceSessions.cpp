// SPDX-License-Identifier: MIT
#include "libkvn/SCA_KvnDeviceSessions.h"

#include <new>

#include "libkvn/SCA_KvnStoredForm.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_Time.h"
#include "model/SCA_ConfigObj.h"

namespace {

const tagSCA_KVN_LIST_TEXTS kTexts = {
    nullptr,
    "SCA_KvnDeviceSessions::Serialize: Cannot create session config object",
    "SCA_KvnDeviceSessions::Serialize: Cannot create session config object",
    "SCA_KvnDeviceSessions::Deserialize: Cannot create session object",
    "SCA_KvnDeviceSessions::Deserialize: Cannot create session object",
};

} // namespace

SCA_KvnDeviceSessions::SCA_KvnDeviceSessions(SCA_TezConfig* config,
                                             SCA_KvnNetConfigUser* userConfig,
                                             SCA_KvnDevice* device)
    : m_Config(config), m_UserConfig(userConfig), m_Device(device) {}

SCA_KvnDeviceSessions::SCA_KvnDeviceSessions(const SCA_KvnDeviceSessions& other)
    : m_Config(other.m_Config), m_UserConfig(other.m_UserConfig), m_Device(other.m_Device) {
    if (!CopyRecords(other)) {
        SetConstructed(0);
    }
}

SCA_KvnDeviceSessions& SCA_KvnDeviceSessions::operator=(const SCA_KvnDeviceSessions& other) {
    if (this != &other) {
        m_Config = other.m_Config;
        m_UserConfig = other.m_UserConfig;
        m_Device = other.m_Device;
        SetConstructed(CopyRecords(other) ? 1u : 0u);
    }
    return *this;
}

SCA_KvnDeviceSession* SCA_KvnDeviceSessions::NewRecord() const {
    return new (std::nothrow) SCA_KvnDeviceSession();
}

int SCA_KvnDeviceSessions::OpenSession(SCA_KvnDeviceSession** session) {
    SCA_KvnDeviceSession* opened =
        AddNextRecord([](SCA_KvnDeviceSession* record) { record->SetStartTime(SCA_GetAbsTime()); });
    if (opened == nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR,
            "SCA_KvnSessionSessions::AddSession: Cannot create device info object");
        return 0;
    }
    while (Count() > kMaxSessions) {
        DestroyHeadRecord();
    }
    return SCA_KvnHandOut(opened, session);
}

int SCA_KvnDeviceSessions::GetSession(uint32_t sessionId, SCA_KvnDeviceSession** session) const {
    return SCA_KvnHandOut(FindRecord(sessionId), session);
}

int SCA_KvnDeviceSessions::DeleteSession(uint32_t sessionId) {
    DestroyRecord(sessionId);
    return 1;
}

int SCA_KvnDeviceSessions::ClearAll() {
    DestroyRecords();
    return 1;
}

int SCA_KvnDeviceSessions::Serialize(SCA_ConfigObj* object) const {
    return SerializeRecords(object, kTexts,
                            [](const SCA_KvnDeviceSession* session, SCA_ConfigObj* child) {
                                return session->Serialize(child);
                            });
}

int SCA_KvnDeviceSessions::Deserialize(SCA_ConfigObj* object) {
    if (object == nullptr) {
        return 0;
    }
    ClearAll();
    return DeserializeRecords(object, true, kTexts,
                              [](SCA_KvnDeviceSession* session, SCA_ConfigObj* child) {
                                  return session->Deserialize(child);
                              });
}

int SCA_KvnDeviceSessions::SetContents(const SCA_KvnDeviceSessions* source) {
    if (source == nullptr) {
        return 0;
    }
    return SCA_KvnCopyThrough(
        "DeviceList", [source](SCA_ConfigObj* temp) { return source->Serialize(temp); },
        [this](SCA_ConfigObj* temp) { return Deserialize(temp); });
}

SCA_KvnDeviceSessions* SCA_KvnDeviceSessions::Clone() const {
    return SCA_KvnFinishClone(
        new (std::nothrow) SCA_KvnDeviceSessions(m_Config, m_UserConfig, m_Device),
        "SCA_KvnDeviceSessions::Clone: cannot create device sessions object", nullptr,
        [this](SCA_KvnDeviceSessions* copy) { return copy->SetContents(this); });
}

int SCA_KvnDeviceSessions::Show() const {
    return ShowRecords("No Device Sessions To Display\n");
}
