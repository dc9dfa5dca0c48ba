// SPDX-License-Identifier: MIT
#include "model/SCA_TezRule.h"

#include "libmor/SCA_Report.h"
#include "model/SCA_ConfigObj.h"

int SCA_TezRule::Serialize(SCA_ConfigObj* object) const {
    SCA_TezFieldWriter writer(object);
    WriteCondFields(&writer);
    writer.Put("RuleId", m_RuleId);
    writer.Put("CounterType", m_CounterType);
    if (!writer.IsOk()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "SCA_TezRule::Serialize: cannot add fields");
        return 0;
    }
    return 1;
}

int SCA_TezRule::Deserialize(SCA_ConfigObj* object) {
    SCA_TezFieldReader reader(object);
    SCA_TezRule read(*this);
    read.ReadCondFields(&reader);
    reader.Get("RuleId", &read.m_RuleId);
    reader.Get("CounterType", &read.m_CounterType);
    if (!reader.IsOk()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_TezRule::Deserialize: invalid field - %s", reader.GetBadField());
        return 0;
    }
    *this = read;
    return 1;
}
