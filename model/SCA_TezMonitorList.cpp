#include "model/SCA_TezMonitorList.h"

#include "libmor/SCA_Report.h"

int SCA_TezMonitorList::AddMonitor(SCA_TezMonitor* monitor, uint32_t* id) {
    uint32_t newId = kNoId;
    if (!AddRecord(monitor, nullptr, &newId)) {
        return 0;
    }
    monitor->SetMonitorId(newId);
    if (id != nullptr) {
        *id = newId;
    }
    return 1;
}

int SCA_TezMonitorList::Serialize(SCA_ConfigObj* object) const {
    if (!SerializeRecords(object)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(5, "SCA_TezMonitorList::Serialize: "
                                                     "cannot serialize monitors");
        return 0;
    }
    return 1;
}

int SCA_TezMonitorList::Deserialize(SCA_ConfigObj* object) {
    if (!DeserializeRecords(object)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(5, "SCA_TezMonitorList::Deserialize: "
                                                     "cannot read monitors");
        return 0;
    }
    return 1;
}
