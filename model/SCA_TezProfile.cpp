// SPDX-License-Identifier: MIT
#include "model/SCA_TezProfile.h"

#include <string>

#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezCounterStatus.h"
#include "model/SCA_TezRepStatus.h"

SCA_TezProfile::SCA_TezProfile(const SCA_TezProfile& other)
    : SCA_Object(other), m_Fields(other.m_Fields) {
    if (!m_Counters.CopyFrom(other.m_Counters)) {
        SetConstructed(0);
    }
}

SCA_TezProfile& SCA_TezProfile::operator=(const SCA_TezProfile& other) {
    if (!SetContent(other)) {
        SetConstructed(0);
    }
    return *this;
}

int SCA_TezProfile::SetContent(const SCA_TezProfile& from) {
    if (&from == this) {
        return 1;
    }
    if (!m_Counters.CopyFrom(from.m_Counters)) {
        return 0;
    }
    SCA_Object::operator=(from);
    m_Fields = from.m_Fields;
    return 1;
}

void SCA_TezProfile::SetProfileName(const char* name) {
    SCA_StrnCpy(m_Fields.ProfileName, name, sizeof(m_Fields.ProfileName));
}

void SCA_TezProfile::SetComputerName(const char* name) {
    SCA_StrnCpy(m_Fields.ComputerName, name, sizeof(m_Fields.ComputerName));
}

int SCA_TezProfile::Serialize(SCA_ConfigObj* object) const {
    SCA_TezFieldWriter writer(object);
    writer.Put("MonitorId", m_Fields.MonitorId);
    writer.Put("ProfileId", m_Fields.ProfileId);
    writer.Put("ProfileMode", m_Fields.ProfileMode);
    writer.Put("ProfileName", m_Fields.ProfileName);
    writer.Put("ComputerName", m_Fields.ComputerName);
    SCA_ConfigObj* counters = writer.PutObject("Counters");
    if (!writer.IsOk() || !m_Counters.Serialize(counters)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "SCA_TezProfile::Serialize: "
                                                  "cannot serialize profile - %s",
                                                  m_Fields.ProfileName);
        return 0;
    }
    return 1;
}

int SCA_TezProfile::Deserialize(SCA_ConfigObj* object) {
    SCA_TezFieldReader reader(object);
    Fields read = m_Fields;
    reader.Get("MonitorId", &read.MonitorId);
    reader.Get("ProfileId", &read.ProfileId);
    reader.Get("ProfileMode", &read.ProfileMode);
    reader.Get("ProfileName", read.ProfileName, sizeof(read.ProfileName));
    reader.Get("ComputerName", read.ComputerName, sizeof(read.ComputerName));
    SCA_ConfigObj* counters = reader.GetObject("Counters");
    if (!reader.IsOk()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "SCA_TezProfile::Deserialize: "
                                                  "invalid field - %s",
                                                  reader.GetBadField());
        return 0;
    }
    if (counters != nullptr && !m_Counters.Deserialize(counters)) {
        return 0;
    }
    m_Fields = read;
    return 1;
}

int SCA_TezProfile::BuildCountersStatusList(SCA_ConfigObj* list) const {
    if (list == nullptr) {
        return 0;
    }
    for (auto* node = m_Counters.GetHead(); node != nullptr; node = node->GetNext()) {
        const SCA_TezCounterInfo* info = node->GetItem();
        tagSCA_TEZ_COUNTER_STATUS status{};
        status.CounterType = info->GetCounterType();
        status.Status = info->GetStatus() != 0 ? info->GetStatus() : SCA_REP_STATUS_MESSAGE;
        if (!SCA_TezAddCounterStatusField(list, node->GetId(), status)) {
            return 0;
        }
    }
    return 1;
}
