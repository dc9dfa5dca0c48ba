// SPDX-License-Identifier: MIT
#include "model/SCA_TezAction.h"

#include "libmor/SCA_String.h"

void SCA_TezAction::SetSubject(SCA_TezReport* report, SCA_TezCounter* counter, SCA_TezCond* cond,
                               SCA_TezProcessRule* processRule, SCA_TezProcessList* processList) {
    m_Report = report;
    m_Counter = counter;
    m_Cond = cond;
    m_ProcessRule = processRule;
    m_ProcessList = processList;
}

void SCA_TezAction::SetReportDir(const char* dir) {
    SCA_StrnCpy(m_ReportDir, dir, sizeof(m_ReportDir));
}

void SCA_TezAction::SetReportEmail(const char* address) {
    SCA_StrnCpy(m_ReportEmail, address, sizeof(m_ReportEmail));
}

void SCA_TezAction::SetMonitorName(const char* name) {
    SCA_StrnCpy(m_MonitorName, name, sizeof(m_MonitorName));
}
