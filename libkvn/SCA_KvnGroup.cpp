// SPDX-License-Identifier: MIT
#include "libkvn/SCA_KvnGroup.h"

#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_Field.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezRecordFields.h"

namespace {

// A device name must be able to serve as the name of its stored field.
bool IsStorableName(const char* name) {
    return name != nullptr && name[0] != '\0' && SCA_Field::IsValidName(name);
}

} // namespace

SCA_KvnGroup::SCA_KvnGroup(SCA_TezConfig* config, SCA_TezConfigUser* userConfig)
    : m_Devices(0), m_Monitors(config, userConfig) {
    SetConstructed();
}

SCA_KvnGroup::SCA_KvnGroup(const SCA_KvnGroup& other)
    : SCA_Object(other), m_Devices(0),
      m_Monitors(other.m_Monitors.GetConfig(), other.m_Monitors.GetUserConfig()) {
    *this = other;
}

SCA_KvnGroup& SCA_KvnGroup::operator=(const SCA_KvnGroup& other) {
    if (this != &other) {
        const bool copied = SCA_KvnCopyThrough(
            "Group", [&other](SCA_ConfigObj* temp) { return other.SerializeGroup(temp, true); },
            [this](SCA_ConfigObj* temp) { return Deserialize(temp); });
        SetConstructed(copied ? 1u : 0u);
    }
    return *this;
}

void SCA_KvnGroup::SetGroupName(const char* name) {
    SCA_StrnCpy(m_GroupName, name, sizeof(m_GroupName));
}

int SCA_KvnGroup::AddDevice(uint32_t deviceId, const char* name) {
    if (IsMember(deviceId)) {
        return 1;
    }
    if (!IsStorableName(name) || !m_Devices.AddItemToTail(deviceId, name, deviceId)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KvnGroup::AddDevice: cannot add device %u top group - %s",
            deviceId, m_GroupName);
        return 0;
    }
    return 1;
}

int SCA_KvnGroup::DeleteDevice(uint32_t deviceId) {
    m_Devices.DeleteItem(deviceId);
    return 1;
}

int SCA_KvnGroup::IsMember(uint32_t deviceId) const {
    return m_Devices.GetListItem(deviceId) != nullptr ? 1 : 0;
}

int SCA_KvnGroup::ClearAll() {
    m_Devices.Clear();
    m_Monitors.ClearAll();
    return 1;
}

int SCA_KvnGroup::InitDefaultMonitors() {
    auto say = SCA_GetReportFunction(__FILE__, __LINE__);
    m_Monitors.ClearAll();
    SCA_SrvMonitor* monitor = nullptr;
    if (!m_Monitors.AddMonitor(SCA_KVN_DEFAULT_MONITOR_TYPE, 0, SCA_KVN_DEFAULT_MONITOR_NAME,
                               &monitor)) {
        say(SCA_LEVEL_ERROR, "SCA_KvnGroup::InitDefaultMonitors: cannot add default monitor");
        return 0;
    }
    // A new monitor already holds its defaults; the group's monitor runs the system profile
    // and starts by itself.
    monitor->GetProfile()->SetProfileId(SCA_KVN_DEFAULT_MONITOR_PROFILE);
    monitor->SetAutoStart(1);
    return 1;
}

int SCA_KvnGroup::SerializeDevices(SCA_ConfigObj* object) const {
    for (auto* node = m_Devices.GetHead(); node != nullptr; node = node->GetNext()) {
        // Names need not be unique: each member is its own field, read back in order.
        if (!object->AddField(node->GetName(), node->GetItem())) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR,
                "SCA_KvnGroup::SerializeDevices: cannot add device %u to group - %s",
                node->GetItem(), m_GroupName);
            return 0;
        }
    }
    return 1;
}

int SCA_KvnGroup::DeserializeDevices(SCA_ConfigObj* object) {
    for (SCA_Field* field = object->GetHead(); field != nullptr; field = field->GetNext()) {
        if (field->IsObject()) {
            continue;
        }
        const auto deviceId = static_cast<uint32_t>(SCA_AtoUint64(field->GetValue()));
        if (!AddDevice(deviceId, field->GetName())) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR,
                "SCA_KvnGroup::DeserializeDevices: cannot add device %u to group - %s", deviceId,
                m_GroupName);
            return 0;
        }
    }
    return 1;
}

int SCA_KvnGroup::SerializeGroup(SCA_ConfigObj* object, bool withRules) const {
    auto say = SCA_GetReportFunction(__FILE__, __LINE__);
    if (object == nullptr || !object->AddField("GroupId", m_GroupId) ||
        !SCA_AddTextField(object, "GroupName", m_GroupName)) {
        return 0;
    }
    if (!m_Monitors.Serialize(object->AddConfigObj("Monitors"))) {
        say(SCA_LEVEL_ERROR, "SCA_KvnGroup::Serialize: cannot serialize group monitors for - %s",
            m_GroupName);
        return 0;
    }
    SCA_ConfigObj* devices = object->AddConfigObj("Devices");
    if (devices == nullptr || !SerializeDevices(devices)) {
        say(SCA_LEVEL_ERROR, "SCA_KvnGroup::Serialize: cannot serialize group devices for - %s",
            m_GroupName);
        return 0;
    }
    // The rules are stored with the group so that they survive a restart of the server.
    if (withRules && !m_Rules.Serialize(object->AddConfigObj("Rules"))) {
        say(SCA_LEVEL_ERROR, "SCA_KvnGroup::Serialize: cannot serialize group rules for - %s",
            m_GroupName);
        return 0;
    }
    return 1;
}

int SCA_KvnGroup::Serialize(SCA_ConfigObj* object) const {
    return SerializeGroup(object, true);
}

int SCA_KvnGroup::DeserializeMonitors(SCA_ConfigObj* object) {
    SCA_ConfigObj* monitors = nullptr;
    if (object->GetField("Monitors", &monitors) && m_Monitors.Deserialize(monitors) &&
        m_Monitors.Count() != 0) {
        return 1;
    }
    if (!InitDefaultMonitors()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KvnGroup::Deserialize: cannot deserialize group monitor for - %s",
            m_GroupName);
        return 0;
    }
    return 1;
}

int SCA_KvnGroup::Deserialize(SCA_ConfigObj* object) {
    auto say = SCA_GetReportFunction(__FILE__, __LINE__);
    if (object == nullptr) {
        return 0;
    }
    ClearAll();
    object->GetField("GroupId", &m_GroupId);
    object->GetField("GroupName", m_GroupName, sizeof(m_GroupName));
    if (!DeserializeMonitors(object)) {
        return 0;
    }
    SCA_ConfigObj* part = nullptr;
    if (object->GetField("Devices", &part) && !DeserializeDevices(part)) {
        say(SCA_LEVEL_ERROR, "SCA_KvnGroup::Deserialize: cannot deserialize group devices for - %s",
            m_GroupName);
        return 0;
    }
    if (object->GetField("Rules", &part) && !m_Rules.Deserialize(part)) {
        say(SCA_LEVEL_ERROR, "SCA_KvnGroup::Deserialize: cannot deserialize group rules for - %s",
            m_GroupName);
        return 0;
    }
    return 1;
}

int SCA_KvnGroup::SetContent(const SCA_KvnGroup* source) {
    if (source == nullptr) {
        return 0;
    }
    return SCA_KvnCopyThrough(
        "Group", [source](SCA_ConfigObj* temp) { return source->SerializeGroup(temp, false); },
        [this](SCA_ConfigObj* temp) { return Deserialize(temp); });
}
