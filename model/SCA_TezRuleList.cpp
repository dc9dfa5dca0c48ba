#include "model/SCA_TezRuleList.h"

#include "libmor/SCA_Report.h"

int SCA_TezRuleList::AddRule(SCA_TezRule* rule, uint32_t* id) {
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

int SCA_TezRuleList::Serialize(SCA_ConfigObj* object) const {
    if (!SerializeRecords(object)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(5, "SCA_TezRuleList::Serialize: "
                                                     "cannot serialize rules");
        return 0;
    }
    return 1;
}

int SCA_TezRuleList::Deserialize(SCA_ConfigObj* object) {
    if (!DeserializeRecords(object)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(5, "SCA_TezRuleList::Deserialize: "
                                                     "cannot read rules");
        return 0;
    }
    return 1;
}
