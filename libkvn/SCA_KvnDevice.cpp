// SPDX-License-Identifier: MIT
#include "libkvn/SCA_KvnDevice.h"

#include <cstdio>

#include "libkvn/SCA_KvnNetConfigUser.h"
#include "libkvn/SCA_KvnStoredForm.h"
#include "libmor/SCA_FileSystem.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_Time.h"
#include "model/SCA_ConfigObj.h"

SCA_KvnDevice::SCA_KvnDevice(SCA_TezConfig* config, SCA_KvnNetConfigUser* userConfig)
    : m_Config(config), m_UserConfig(userConfig), m_Sessions(config, userConfig, this),
      m_ReportIndex(config, userConfig, this), m_ReportList(config, userConfig) {}

SCA_KvnDeviceSession* SCA_KvnDevice::GetCurrentSession() const {
    SCA_KvnDeviceSession* session = nullptr;
    if (m_CurrentSessionId == SCA_KVN_NO_NUMBER ||
        !m_Sessions.GetSession(m_CurrentSessionId, &session)) {
        return nullptr;
    }
    return session;
}

uint32_t SCA_KvnDevice::GetRepStatus() const {
    if (m_CurrentErrors != 0) {
        return 5;
    }
    if (m_CurrentWarnings != 0) {
        return 4;
    }
    return IsOnline() ? 1 : 7;
}

int SCA_KvnDevice::ClearAll() {
    m_Sessions.ClearAll();
    m_CurrentSessionId = SCA_KVN_NO_NUMBER;
    m_ReportList.ClearAll();
    m_ReportIndex.ClearAll();
    return 1;
}

int SCA_KvnDevice::BuildDeviceDir(char* dir, uint32_t size) const {
    auto say = SCA_GetReportFunction(__FILE__, __LINE__);
    char name[32];
    std::snprintf(name, sizeof(name), "device_%.6u", GetDeviceId());
    const char* devicesDir = m_UserConfig != nullptr ? m_UserConfig->GetDevicesDirName() : nullptr;
    if (!SCA_KvnBuildPath(dir, size, devicesDir, name)) {
        say(SCA_LEVEL_ERROR, "SCA_KvnDevice::BuildDeviceDir: no devices directory for %s(%u)",
            GetHostName(), GetDeviceId());
        return 0;
    }
    uint32_t code = 0;
    if (!SCA_IsPathExists(dir) && !SCA_CreateDirectory(dir, &code)) {
        say(SCA_LEVEL_ERROR,
            "SCA_KvnDevice::BuildDeviceDir: cannot create device directory (ERR:%u) - %s", code,
            dir);
        dir[0] = '\0';
        return 0;
    }
    return 1;
}

int SCA_KvnDevice::BuildDeviceFileName(char* path, uint32_t size) const {
    return BuildDeviceFile(SCA_KVN_DEVICE_DATA_FILE, path, size);
}

int SCA_KvnDevice::BuildReportFileName(uint32_t reportId, char* path, uint32_t size) const {
    char name[32];
    std::snprintf(name, sizeof(name), "kvn_report_%.6u.hdx", reportId);
    return BuildDeviceFile(name, path, size);
}

int SCA_KvnDevice::BuildDeviceFile(const char* name, char* path, uint32_t size) const {
    if (path == nullptr || size == 0) {
        return 0;
    }
    path[0] = '\0';
    char dir[SCA_KVN_PATH_SIZE];
    return BuildDeviceDir(dir, sizeof(dir)) && SCA_KvnBuildPath(path, size, dir, name) ? 1 : 0;
}

int SCA_KvnDevice::Serialize(int withReportIndex, int withSessions, SCA_ConfigObj* object) const {
    if (!SCA_KvnDeviceInfo::Serialize(object, 0)) {
        return 0;
    }
    if (!object->AddField("TotalMonitors", m_TotalMonitors) ||
        !object->AddField("CurrentErrors", m_CurrentErrors) ||
        !object->AddField("CurrentWarnings", m_CurrentWarnings) ||
        !object->AddField("TotalErrors", m_TotalErrors) ||
        !object->AddField("TotalWarnings", m_TotalWarnings)) {
        return 0;
    }
    // An index that cannot be written must not pass for an empty one.
    if (withReportIndex &&
        !m_ReportIndex.Serialize(object->AddConfigObj("ReportIndex"), SCA_KVN_NO_NUMBER)) {
        return 0;
    }
    if (withSessions) {
        return m_Sessions.Serialize(object->AddConfigObj("Sessions"));
    }
    return 1;
}

int SCA_KvnDevice::Deserialize(int withReportIndex, int withSessions, SCA_ConfigObj* object) {
    if (object == nullptr) {
        return 0;
    }
    ClearAll();
    SCA_KvnDeviceInfo::Deserialize(object, 0);
    object->GetField("TotalMonitors", &m_TotalMonitors);
    object->GetField("CurrentErrors", &m_CurrentErrors);
    object->GetField("CurrentWarnings", &m_CurrentWarnings);
    object->GetField("TotalErrors", &m_TotalErrors);
    object->GetField("TotalWarnings", &m_TotalWarnings);
    SCA_ConfigObj* part = nullptr;
    if (withReportIndex && object->GetField("ReportIndex", &part) &&
        !m_ReportIndex.Deserialize(part)) {
        return 0;
    }
    if (withSessions && object->GetField("Sessions", &part)) {
        return m_Sessions.Deserialize(part);
    }
    return 1;
}

int SCA_KvnDevice::Save(int withReportIndex, int withSessions, uint32_t* error) {
    auto say = SCA_GetReportFunction(__FILE__, __LINE__);
    char path[SCA_KVN_PATH_SIZE];
    if (!BuildDeviceFileName(path, sizeof(path))) {
        say(SCA_LEVEL_ERROR, "SCA_KvnDevice::Save: cannot build device file name for %s(%u)",
            GetHostName(), GetDeviceId());
        return 0;
    }
    const int reportsSaved = withReportIndex ? SaveReports() : 1;
    SCA_ConfigObj root(SCA_KVN_DEVICE_ROOT, nullptr);
    if (!root.IsConstructed() || !Serialize(withReportIndex, withSessions, &root)) {
        return 0;
    }
    uint32_t code = 0;
    if (!root.Save(path, SCA_KVN_DEVICE_FILE_TYPE, 0, &code)) {
        say(SCA_LEVEL_ERROR, "SCA_KvnDevice::Save: cannot save device file (ERR:%u) - %s", code,
            path);
        if (error != nullptr) {
            *error = code;
        }
        return 0;
    }
    return reportsSaved;
}

int SCA_KvnDevice::Load(int withReportIndex, int withSessions, uint32_t* error) {
    auto say = SCA_GetReportFunction(__FILE__, __LINE__);
    char path[SCA_KVN_PATH_SIZE];
    if (!BuildDeviceFileName(path, sizeof(path))) {
        say(SCA_LEVEL_ERROR, "SCA_KvnDevice::Load: cannot build device file name for %s(%u)",
            GetHostName(), GetDeviceId());
        return 0;
    }
    SCA_ConfigObj root(SCA_KVN_DEVICE_ROOT, nullptr);
    if (!root.IsConstructed() ||
        !SCA_KvnLoadStoreFile(path, SCA_KVN_DEVICE_FILE_TYPE, "SCA_KvnDevice::Load", "device data",
                              &root, error)) {
        return 0;
    }
    // Reading empties the device first: a file that breaks off halfway is read into a scratch
    // device before it may replace what this one holds.
    SCA_KvnDevice trial(m_Config, m_UserConfig);
    if (!trial.Deserialize(withReportIndex, withSessions, &root) ||
        !Deserialize(withReportIndex, withSessions, &root)) {
        say(SCA_LEVEL_ERROR, "SCA_KvnDevice::Load: cannot deserialize device data - %s", path);
        return 0;
    }
    return 1;
}

int SCA_KvnDevice::SetContent(const SCA_KvnDevice* source, int withReportIndex, int withSessions) {
    if (source == nullptr) {
        return 0;
    }
    return SCA_KvnCopyThrough(
        SCA_KVN_DEVICE_ROOT,
        [&](SCA_ConfigObj* temp) { return source->Serialize(withReportIndex, withSessions, temp); },
        [&](SCA_ConfigObj* temp) { return Deserialize(withReportIndex, withSessions, temp); });
}

int SCA_KvnDevice::OpenSession(SCA_KvnDeviceSession** session) {
    SCA_KvnDeviceSession* current = GetCurrentSession();
    if (current == nullptr) {
        if (!m_Sessions.OpenSession(&current)) {
            return 0;
        }
        m_CurrentSessionId = current->GetSessionId();
    }
    return SCA_KvnHandOut(current, session);
}

int SCA_KvnDevice::CloseSession() {
    SCA_KvnDeviceSession* current = GetCurrentSession();
    if (current != nullptr) {
        current->SetStopTime(SCA_GetAbsTime());
    }
    m_CurrentSessionId = SCA_KVN_NO_NUMBER;
    return 1;
}
