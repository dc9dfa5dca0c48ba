// SPDX-License-Identifier: MIT
#include "model/SCA_TezReportInfo.h"

#include <cstring>

#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"

void SCA_TezReportInfo::SetGlobalId(const char* id) {
    SCA_StrnCpy(m_GlobalId, id, sizeof(m_GlobalId));
}

void SCA_TezReportInfo::SetProfileId(const char* id) {
    SCA_StrnCpy(m_ProfileId, id, sizeof(m_ProfileId));
}

void SCA_TezReportInfo::SetReportTitle(const char* title) {
    SCA_StrnCpy(m_ReportTitle, title, sizeof(m_ReportTitle));
}

std::string SCA_TezReportInfo::DefaultTitle(const char* description) {
    return std::string("Korvanta ") + (description != nullptr ? description : "") + " Report";
}

std::string SCA_TezReportInfo::GetShownTitle() const {
    if (m_ReportTitle[0] != '\0') {
        return m_ReportTitle;
    }
    const char* name = m_Description[0] != '\0' ? m_Description : m_ProfileName;
    return name[0] != '\0' ? DefaultTitle(name) : "Monitoring Report";
}

void SCA_TezReportInfo::SetProfileName(const char* name) {
    SCA_StrnCpy(m_ProfileName, name, sizeof(m_ProfileName));
}

void SCA_TezReportInfo::SetDescription(const char* description) {
    SCA_StrnCpy(m_Description, description, sizeof(m_Description));
}

void SCA_TezReportInfo::SetHostName(const char* name) {
    SCA_StrnCpy(m_HostName, name, sizeof(m_HostName));
}

void SCA_TezReportInfo::SetUserName(const char* name) {
    SCA_StrnCpy(m_UserName, name, sizeof(m_UserName));
}

int SCA_TezReportInfo::IsSameReport(const SCA_TezReportInfo& other) const {
    if (IsGlobalIdSet()) {
        return std::strcmp(m_GlobalId, other.m_GlobalId) == 0 ? 1 : 0;
    }
    return !other.IsGlobalIdSet() && std::strcmp(m_HostName, other.m_HostName) == 0 &&
                   m_MonitorId == other.m_MonitorId && m_StartTime == other.m_StartTime &&
                   m_ReportTime == other.m_ReportTime
               ? 1
               : 0;
}

void SCA_TezReportInfo::WriteInfoFields(SCA_TezFieldWriter* writer) const {
    writer->Put("ReportId", m_ReportId);
    writer->Put("StartTime", m_StartTime);
    writer->Put("ReportTime", m_ReportTime);
    writer->Put("ProcessTime", m_ProcessTime);
    writer->Put("GlobalId", m_GlobalId);
    writer->Put("ProfileId", m_ProfileId);
    writer->Put("ReportTitle", m_ReportTitle);
    writer->Put("ProfileName", m_ProfileName);
    writer->Put("Description", m_Description);
    writer->Put("HostName", m_HostName);
    writer->Put("UserName", m_UserName);
    writer->Put("ProfileMode", m_ProfileMode);
    writer->Put("MonitorId", m_MonitorId);
    writer->Put("MonitorMode", m_MonitorMode);
    writer->Put("MonitorType", m_MonitorType);
    writer->Put("NumOfCounters", m_NumOfCounters);
    writer->Put("NumOfErrors", m_NumOfErrors);
}

void SCA_TezReportInfo::ReadInfoFields(SCA_TezFieldReader* reader) {
    reader->Get("ReportId", &m_ReportId);
    reader->Get("StartTime", &m_StartTime);
    reader->Get("ReportTime", &m_ReportTime);
    reader->Get("ProcessTime", &m_ProcessTime);
    reader->Get("GlobalId", m_GlobalId, sizeof(m_GlobalId));
    reader->Get("ProfileId", m_ProfileId, sizeof(m_ProfileId));
    reader->Get("ReportTitle", m_ReportTitle, sizeof(m_ReportTitle));
    reader->Get("ProfileName", m_ProfileName, sizeof(m_ProfileName));
    reader->Get("Description", m_Description, sizeof(m_Description));
    reader->Get("HostName", m_HostName, sizeof(m_HostName));
    reader->Get("UserName", m_UserName, sizeof(m_UserName));
    reader->Get("ProfileMode", &m_ProfileMode);
    reader->Get("MonitorId", &m_MonitorId);
    reader->Get("MonitorMode", &m_MonitorMode);
    reader->Get("MonitorType", &m_MonitorType);
    reader->Get("NumOfCounters", &m_NumOfCounters);
    reader->Get("NumOfErrors", &m_NumOfErrors);
}

int SCA_TezReportInfo::Serialize(SCA_ConfigObj* object) const {
    SCA_TezFieldWriter writer(object);
    WriteInfoFields(&writer);
    if (!writer.IsOk()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "SCA_TezReportInfo::Serialize: "
                                                                   "cannot add fields");
        return 0;
    }
    return 1;
}

int SCA_TezReportInfo::Deserialize(SCA_ConfigObj* object) {
    SCA_TezFieldReader reader(object);
    SCA_TezReportInfo read(*this);
    read.ReadInfoFields(&reader);
    if (!reader.IsOk()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "SCA_TezReportInfo::Deserialize: "
                                                  "invalid field - %s",
                                                  reader.GetBadField());
        return 0;
    }
    *this = read;
    return 1;
}
