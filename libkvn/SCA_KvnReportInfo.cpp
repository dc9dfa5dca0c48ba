// SPDX-License-Identifier: MIT
#include "libkvn/SCA_KvnReportInfo.h"

#include <cstdio>
#include <new>

#include "libmor/SCA_String.h"
#include "libmor/SCA_Time.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezRecordFields.h"

void SCA_KvnReportInfo::SetHostName(const char* name) {
    SCA_StrnCpy(m_HostName, name, sizeof(m_HostName));
}

int SCA_KvnReportInfo::Serialize(SCA_ConfigObj* object) const {
    if (object == nullptr) {
        return 0;
    }
    const bool written =
        object->AddField("FileType", static_cast<int>(SCA_KVN_REPORT_FILE_TYPE)) &&
        object->AddField("Version", "1.0") && object->AddField("DeviceId", m_DeviceId) &&
        object->AddField("ReportId", m_ReportId) && object->AddField("MonitorId", m_MonitorId) &&
        object->AddField("AbsDay", m_AbsDay) &&
        object->AddField("FirstReportTime", m_FirstReportTime) &&
        object->AddField("LastReportTime", m_LastReportTime) &&
        SCA_AddTextField(object, "HostName", m_HostName) &&
        object->AddField("NumOfCounters", m_NumOfCounters) &&
        object->AddField("NumOfErrors", m_NumOfErrors) &&
        object->AddField("NumOfWarnings", m_NumOfWarnings) && object->AddField("Saved", m_Saved);
    return written ? 1 : 0;
}

int SCA_KvnReportInfo::Deserialize(SCA_ConfigObj* object) {
    if (object == nullptr) {
        return 0;
    }
    object->GetField("DeviceId", &m_DeviceId);
    object->GetField("ReportId", &m_ReportId);
    object->GetField("MonitorId", &m_MonitorId);
    object->GetField("AbsDay", &m_AbsDay);
    object->GetField("FirstReportTime", &m_FirstReportTime);
    object->GetField("LastReportTime", &m_LastReportTime);
    object->GetField("HostName", m_HostName, sizeof(m_HostName));
    object->GetField("NumOfCounters", &m_NumOfCounters);
    object->GetField("NumOfErrors", &m_NumOfErrors);
    object->GetField("NumOfWarnings", &m_NumOfWarnings);
    object->GetField("Saved", &m_Saved);
    return 1;
}

int SCA_KvnReportInfo::SetContent(const SCA_KvnReportInfo* source) {
    if (source == nullptr) {
        return 0;
    }
    return SCA_KvnCopyThrough(
        "ReportInfo", [source](SCA_ConfigObj* temp) { return source->Serialize(temp); },
        [this](SCA_ConfigObj* temp) { return Deserialize(temp); });
}

SCA_KvnReportInfo* SCA_KvnReportInfo::Clone() const {
    return SCA_KvnFinishClone(new (std::nothrow) SCA_KvnReportInfo(),
                              "SCA_KvnReportInfo::Clone: Cannot create report info object",
                              "SCA_KvnReportInfo::Clone: Cannot update report info object",
                              [this](SCA_KvnReportInfo* copy) { return copy->SetContent(this); });
}

int SCA_KvnReportInfo::IsIdentical(const SCA_KvnReportInfo* other) const {
    return other != nullptr && m_FirstReportTime == other->m_FirstReportTime &&
                   m_LastReportTime == other->m_LastReportTime
               ? 1
               : 0;
}

int SCA_KvnReportInfo::Show() const {
    char day[SCA_KVN_TEXT_SIZE];
    SCA_FormatAbsTime(m_AbsDay * SCA_KVN_SECONDS_PER_DAY * SCA_ABS_TIME_SECOND, day, sizeof(day));
    std::printf("Report %.3u - %s\n", m_ReportId, day);
    return 1;
}
