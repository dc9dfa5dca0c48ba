#include "model/SCA_TezCondList.h"

#include "libmor/SCA_Report.h"

int SCA_TezCondList::AddCond(SCA_TezCond* cond, uint32_t* id) {
    uint32_t newId = kNoId;
    if (!AddRecord(cond, nullptr, &newId)) {
        return 0;
    }
    cond->SetCondId(newId);
    if (id != nullptr) {
        *id = newId;
    }
    return 1;
}

int SCA_TezCondList::Serialize(SCA_ConfigObj* object) const {
    if (!SerializeRecords(object)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(5, "SCA_TezCondList::Serialize: "
                                                     "cannot serialize conditions");
        return 0;
    }
    return 1;
}

int SCA_TezCondList::Deserialize(SCA_ConfigObj* object) {
    if (!DeserializeRecords(object)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(5, "SCA_TezCondList::Deserialize: "
                                                     "cannot read conditions");
        return 0;
    }
    return 1;
}
