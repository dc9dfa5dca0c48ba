// SPDX-License-Identifier: MIT
#include "libtez/SCA_TezCondAction.h"

#include "libtez/SCA_TezActionCtrl.h"
#include "model/SCA_TezActionType.h"

SCA_TezCondAction::SCA_TezCondAction(const SCA_TezCond& cond, uint64_t absTime,
                                     const char* monitorName, uint32_t monitorId)
    : m_CondCopy(cond) {
    SetActionType(cond.GetActionType());
    SetActionId(cond.GetCondId());
    SetActionTime(absTime);
    SetMonitorName(monitorName);
    SetMonitorId(monitorId);
    SetSubject(nullptr, nullptr, &m_CondCopy, nullptr, nullptr);
    uint32_t format = 0;
    if (SCA_TezGetActionReportFormat(cond.GetActionType(), &format)) {
        SetReportFormat(format);
        SetReportDir(cond.GetActionValue());
        SetReportsHistory(SCA_TEZ_REPORT_ACTION_HISTORY);
    } else if (cond.GetActionType() == SCA_ACTION_SEND_MAIL) {
        SetReportEmail(cond.GetActionValue());
    }
    SetConstructed(m_CondCopy.IsConstructed() ? 1 : 0);
}
