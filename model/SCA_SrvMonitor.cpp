// SPDX-License-Identifier: MIT
#include "model/SCA_SrvMonitor.h"

#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_Time.h"
#include "model/SCA_ConfigObj.h"

namespace {

constexpr const char* kExcludeList = "ExcludeList";

} // namespace

SCA_SrvMonitor::SCA_SrvMonitor(SCA_TezConfig* config, SCA_TezConfigUser* userConfig)
    : m_ExcludeList(kExcludeList, nullptr) {
    m_Fields.Config = config;
    m_Fields.UserConfig = userConfig;
    m_Fields.AbsTime = SCA_GetAbsTime();
    SetConstructed(m_Profile.IsConstructed());
}

SCA_SrvMonitor::SCA_SrvMonitor(const SCA_SrvMonitor& other)
    : SCA_Object(other), m_Fields(other.m_Fields), m_Profile(other.m_Profile),
      m_ExcludeList(other.m_ExcludeList) {
    if (!m_Profile.IsConstructed() || !m_ExcludeList.IsConstructed()) {
        SetConstructed(0);
    }
}

SCA_SrvMonitor& SCA_SrvMonitor::operator=(const SCA_SrvMonitor& other) {
    if (!SetContent(other)) {
        SetConstructed(0);
    }
    return *this;
}

int SCA_SrvMonitor::SetContent(const SCA_SrvMonitor& from) {
    if (&from == this) {
        return 1;
    }
    if (!m_Profile.SetContent(from.m_Profile) ||
        !m_ExcludeList.SetContent(const_cast<SCA_ConfigObj*>(&from.m_ExcludeList))) {
        return 0;
    }
    SCA_Object::operator=(from);
    m_Fields = from.m_Fields;
    return 1;
}

void SCA_SrvMonitor::SetDescription(const char* description) {
    SCA_StrnCpy(m_Fields.Description, description, sizeof(m_Fields.Description));
}

void SCA_SrvMonitor::SetComputerName(const char* name) {
    SCA_StrnCpy(m_Fields.ComputerName, name, sizeof(m_Fields.ComputerName));
}

void SCA_SrvMonitor::SetSaveReportsDir(const char* dir) {
    SCA_StrnCpy(m_Fields.SaveReportsDir, dir, sizeof(m_Fields.SaveReportsDir));
}

int SCA_SrvMonitor::IsEmpty() const {
    return m_Fields.MonitorType != SCA_SRV_MONITOR_PROCESS &&
                   m_Profile.GetCounterList()->Count() == 0
               ? 1
               : 0;
}

void SCA_SrvMonitor::WriteFields(const Fields& fields, SCA_TezFieldWriter* writer) {
    writer->Put("MonitorId", fields.MonitorId);
    writer->Put("MonitorType", fields.MonitorType);
    writer->Put("MonitorMode", fields.MonitorMode);
    writer->Put("ProfileMode", fields.ProfileMode);
    writer->Put("Description", fields.Description);
    writer->Put("ComputerName", fields.ComputerName);
    writer->Put("RemoteMonitor", fields.RemoteMonitor);
    writer->Put("AutoStart", fields.AutoStart);
    writer->Put("AbsTime", fields.AbsTime);
    writer->Put("SaveReports", fields.SaveReports);
    writer->Put("SaveReportsTime", fields.SaveReportsTime);
    writer->Put("SaveReportsPeriod", fields.SaveReportsPeriod);
    writer->Put("SaveReportsFormat", fields.SaveReportsFormat);
    writer->Put("SaveReportsMode", fields.SaveReportsMode);
    writer->Put("SaveReportsHistory", fields.SaveReportsHistory);
    writer->Put("SaveReportsDir", fields.SaveReportsDir);
}

void SCA_SrvMonitor::ReadFields(SCA_TezFieldReader* reader, Fields* fields) {
    reader->Get("MonitorId", &fields->MonitorId);
    reader->Get("MonitorType", &fields->MonitorType);
    reader->Get("MonitorMode", &fields->MonitorMode);
    reader->Get("ProfileMode", &fields->ProfileMode);
    reader->Get("Description", fields->Description, sizeof(fields->Description));
    reader->Get("ComputerName", fields->ComputerName, sizeof(fields->ComputerName));
    reader->Get("RemoteMonitor", &fields->RemoteMonitor);
    reader->Get("AutoStart", &fields->AutoStart);
    reader->Get("AbsTime", &fields->AbsTime);
    reader->Get("SaveReports", &fields->SaveReports);
    reader->Get("SaveReportsTime", &fields->SaveReportsTime);
    reader->Get("SaveReportsPeriod", &fields->SaveReportsPeriod);
    reader->Get("SaveReportsFormat", &fields->SaveReportsFormat);
    reader->Get("SaveReportsMode", &fields->SaveReportsMode);
    reader->Get("SaveReportsHistory", &fields->SaveReportsHistory);
    reader->Get("SaveReportsDir", fields->SaveReportsDir, sizeof(fields->SaveReportsDir));
}

int SCA_SrvMonitor::Serialize(SCA_ConfigObj* object) const {
    SCA_TezFieldWriter writer(object);
    WriteFields(m_Fields, &writer);
    SCA_ConfigObj* profile = writer.PutObject("Profile");
    // The configuration tree's readers are not const; reading changes nothing.
    auto* excludeList = const_cast<SCA_ConfigObj*>(&m_ExcludeList);
    SCA_ConfigObj* excluded =
        excludeList->GetFieldCount() > 0 ? writer.PutObject(kExcludeList) : nullptr;
    if (!writer.IsOk() || !m_Profile.Serialize(profile) ||
        (excluded != nullptr && !excluded->SetContent(excludeList))) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "SCA_SrvMonitor::Serialize: "
                                                  "cannot serialize monitor - %u",
                                                  m_Fields.MonitorId);
        return 0;
    }
    return 1;
}

int SCA_SrvMonitor::Deserialize(SCA_ConfigObj* object) {
    SCA_TezFieldReader reader(object);
    Fields read = m_Fields;
    ReadFields(&reader, &read);
    SCA_ConfigObj* profile = reader.GetObject("Profile");
    SCA_ConfigObj* excluded = reader.GetObject(kExcludeList);
    if (!reader.IsOk()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "SCA_SrvMonitor::Deserialize: "
                                                  "invalid field - %s",
                                                  reader.GetBadField());
        return 0;
    }
    if (profile != nullptr && !m_Profile.Deserialize(profile)) {
        return 0;
    }
    if (excluded != nullptr && !m_ExcludeList.SetContent(excluded)) {
        return 0;
    }
    m_Fields = read;
    return 1;
}
