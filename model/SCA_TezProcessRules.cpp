#include "model/SCA_TezProcessRules.h"

#include "libmor/SCA_Report.h"

int SCA_TezProcessRules::AddRule(SCA_TezProcessRule* rule, uint32_t* id) {
    uint32_t newId = kNoId;
    if (!AddRecord(rule, nullptr, &newId)) {
        return 0;
    }
    rule->SetRuleId(newId);
    if (id != nullptr) {
        *id = newId;
    }
    return 1;
}

int SCA_TezProcessRules::Serialize(SCA_ConfigObj* object) const {
    if (!SerializeRecords(object)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(5, "SCA_TezProcessRules::Serialize: "
                                                     "cannot serialize process rules");
        return 0;
    }
    return 1;
}

int SCA_TezProcessRules::Deserialize(SCA_ConfigObj* object) {
    if (!DeserializeRecords(object)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(5, "SCA_TezProcessRules::Deserialize: "
                                                     "cannot read process rules");
        return 0;
    }
    return 1;
}
