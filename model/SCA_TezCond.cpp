// SPDX-License-Identifier: MIT
#include "model/SCA_TezCond.h"

#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezActionType.h"
#include "model/SCA_TezRepStatus.h"

void SCA_TezCond::SetActionValue(const char* value) {
    SCA_StrnCpy(m_ActionValue, value, sizeof(m_ActionValue));
}

const char* SCA_TezCond::GetRepStatusDescr() const {
    return SCA_TezGetRepStatusDescr(m_RepStatus);
}

int SCA_TezCond::HasReportAction() const {
    return m_ExecuteAction != 0 && SCA_TezIsReportAction(m_ActionType) ? 1 : 0;
}

void SCA_TezCond::WriteCondFields(SCA_TezFieldWriter* writer) const {
    writer->Put("CondId", m_CondId);
    writer->Put("CondType", m_CondType);
    writer->Put("CondMode", m_CondMode);
    writer->Put("CondValue", m_CondValue);
    writer->Put("Enabled", m_Enabled);
    writer->Put("RepStatus", m_RepStatus);
    writer->Put("ExecuteAction", m_ExecuteAction);
    writer->Put("ActionType", m_ActionType);
    writer->Put("ActionValue", m_ActionValue);
    writer->Put("ActionCount", m_ActionCount);
    writer->Put("LastActionTime", m_LastActionTime);
}

void SCA_TezCond::ReadCondFields(SCA_TezFieldReader* reader) {
    reader->Get("CondId", &m_CondId);
    reader->Get("CondType", &m_CondType);
    reader->Get("CondMode", &m_CondMode);
    reader->Get("CondValue", &m_CondValue);
    reader->Get("Enabled", &m_Enabled);
    reader->Get("RepStatus", &m_RepStatus);
    reader->Get("ExecuteAction", &m_ExecuteAction);
    reader->Get("ActionType", &m_ActionType);
    reader->Get("ActionValue", m_ActionValue, sizeof(m_ActionValue));
    reader->Get("ActionCount", &m_ActionCount);
    reader->Get("LastActionTime", &m_LastActionTime);
}

int SCA_TezCond::Serialize(SCA_ConfigObj* object) const {
    SCA_TezFieldWriter writer(object);
    WriteCondFields(&writer);
    if (!writer.IsOk()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "SCA_TezCond::Serialize: cannot add fields");
        return 0;
    }
    return 1;
}

int SCA_TezCond::Deserialize(SCA_ConfigObj* object) {
    SCA_TezFieldReader reader(object);
    SCA_TezCond read(*this);
    read.ReadCondFields(&reader);
    if (!reader.IsOk()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_TezCond::Deserialize: invalid field - %s", reader.GetBadField());
        return 0;
    }
    *this = read;
    return 1;
}
