// SPDX-License-Identifier: MIT
#include "model/SCA_TezCounterInfo.h"

#include "libmor/SCA_Report.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezCounterMeta.h"

SCA_TezCounterInfo::SCA_TezCounterInfo(const SCA_TezCounterInfo& other)
    : SCA_Object(other), m_Fields(other.m_Fields) {
    if (!m_CondList.CopyFrom(other.m_CondList)) {
        SetConstructed(0);
    }
}

SCA_TezCounterInfo& SCA_TezCounterInfo::operator=(const SCA_TezCounterInfo& other) {
    if (!SetContent(other)) {
        SetConstructed(0);
    }
    return *this;
}

int SCA_TezCounterInfo::SetContent(const SCA_TezCounterInfo& from) {
    if (&from == this) {
        return 1;
    }
    if (!m_CondList.CopyFrom(from.m_CondList)) {
        return 0;
    }
    SCA_Object::operator=(from);
    m_Fields = from.m_Fields;
    return 1;
}

void SCA_TezCounterInfo::SetComputerName(const char* name) {
    m_Fields.ComputerName.Assign(name);
}

void SCA_TezCounterInfo::SetNamePrefix(const char* prefix) {
    m_Fields.NamePrefix.Assign(prefix);
}

void SCA_TezCounterInfo::SetInstance(const char* instance) {
    m_Fields.Instance.Assign(instance);
}

const char* SCA_TezCounterInfo::GetDescription() const {
    return SCA_TezGetCounterDescr(m_Fields.CounterType);
}

void SCA_TezCounterInfo::WriteFields(const Fields& fields, SCA_TezFieldWriter* writer) {
    writer->Put("CounterId", fields.CounterId);
    writer->Put("CounterType", fields.CounterType);
    writer->Put("Units", fields.Units);
    writer->Put("ComputerName", fields.ComputerName.c_str());
    writer->Put("NamePrefix", fields.NamePrefix.c_str());
    writer->Put("Instance", fields.Instance.c_str());
    writer->Put("Enabled", fields.Enabled);
    writer->Put("Required", fields.Required);
    writer->Put("Status", fields.Status);
    writer->Put("StatusCode", fields.StatusCode);
}

void SCA_TezCounterInfo::ReadFields(SCA_TezFieldReader* reader, Fields* fields) {
    reader->Get("CounterId", &fields->CounterId);
    reader->Get("CounterType", &fields->CounterType);
    reader->Get("Units", &fields->Units);
    reader->Get("ComputerName", &fields->ComputerName);
    reader->Get("NamePrefix", &fields->NamePrefix);
    reader->Get("Instance", &fields->Instance);
    reader->Get("Enabled", &fields->Enabled);
    reader->Get("Required", &fields->Required);
    reader->Get("Status", &fields->Status);
    reader->Get("StatusCode", &fields->StatusCode);
}

int SCA_TezCounterInfo::Serialize(SCA_ConfigObj* object) const {
    SCA_TezFieldWriter writer(object);
    WriteFields(m_Fields, &writer);
    SCA_ConfigObj* conditions = writer.PutObject("Conditions");
    if (!writer.IsOk() || !m_CondList.Serialize(conditions)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "SCA_TezCounterInfo::Serialize: "
                                                  "cannot serialize counter %u",
                                                  m_Fields.CounterId);
        return 0;
    }
    return 1;
}

int SCA_TezCounterInfo::Deserialize(SCA_ConfigObj* object) {
    SCA_TezFieldReader reader(object);
    Fields read = m_Fields;
    ReadFields(&reader, &read);
    SCA_ConfigObj* conditions = reader.GetObject("Conditions");
    if (!reader.IsOk()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "SCA_TezCounterInfo::Deserialize: "
                                                  "invalid field - %s",
                                                  reader.GetBadField());
        return 0;
    }
    if (conditions != nullptr && !m_CondList.Deserialize(conditions)) {
        return 0;
    }
    m_Fields = read;
    return 1;
}
