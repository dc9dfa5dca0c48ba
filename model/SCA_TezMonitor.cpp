// SPDX-License-Identifier: MIT
#include "model/SCA_TezMonitor.h"

#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"

void SCA_TezMonitor::SetComputerName(const char* name) {
    SCA_StrnCpy(m_ComputerName, name, sizeof(m_ComputerName));
}

int SCA_TezMonitor::Serialize(SCA_ConfigObj* object) const {
    SCA_TezFieldWriter writer(object);
    writer.Put("MonitorId", m_MonitorId);
    writer.Put("MonitorMode", m_MonitorMode);
    writer.Put("ComputerName", m_ComputerName);
    if (!writer.IsOk()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "SCA_TezMonitor::Serialize: "
                                                                   "cannot add fields");
        return 0;
    }
    return 1;
}

int SCA_TezMonitor::Deserialize(SCA_ConfigObj* object) {
    SCA_TezFieldReader reader(object);
    SCA_TezMonitor read(*this);
    reader.Get("MonitorId", &read.m_MonitorId);
    reader.Get("MonitorMode", &read.m_MonitorMode);
    reader.Get("ComputerName", read.m_ComputerName, sizeof(read.m_ComputerName));
    if (!reader.IsOk()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "SCA_TezMonitor::Deserialize: "
                                                  "invalid field - %s",
                                                  reader.GetBadField());
        return 0;
    }
    *this = read;
    return 1;
}
