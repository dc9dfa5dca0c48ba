// SPDX-License-Identifier: MIT
#include "libtez/SCA_TezProcessRuleCheck.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_Time.h"
#include "libtez/SCA_TezActionCtrl.h"
#include "libtez/SCA_TezCondAction.h"
#include "model/SCA_TezErrorList.h"
#include "model/SCA_TezProcess.h"
#include "model/SCA_TezProcessRules.h"
#include "model/SCA_TezRepStatus.h"

namespace {

bool Applies(const SCA_TezProcessRule* rule, const SCA_TezProcess* process) {
    return rule->IsEnabled() && rule->GetRuleType() < SCA_PROC_COUNTERS &&
           (rule->IsGlobalRule() ||
            std::strcmp(rule->GetProcessName(), process->GetProcessName()) == 0);
}

bool Holds(const SCA_TezProcessRule* rule, double value) {
    switch (rule->GetCondType()) {
    case SCA_PROCESS_RULE_ABOVE:
        return value > rule->GetCondValue();
    case SCA_PROCESS_RULE_BELOW:
        return value < rule->GetCondValue();
    default:
        return false;
    }
}

} // namespace

uint32_t SCA_TezProcessRuleCheck::Check(SCA_TezProcess* process,
                                        const tagSCA_TEZ_PROC_VALUES& values,
                                        const SCA_TezProcessRules* rules, uint64_t absTime) {
    uint32_t worst = SCA_REP_STATUS_MESSAGE;
    for (auto* node = rules != nullptr ? rules->GetHead() : nullptr; node != nullptr;
         node = node->GetNext()) {
        const SCA_TezProcessRule* rule = node->GetItem();
        const auto key = std::make_pair(process->GetProcessId(), node->GetId());
        // A value that is not available holds no rule: no figure, no alarm.
        const uint32_t slot = rule->GetRuleType();
        if (!Applies(rule, process) || !values.Has(slot) || !Holds(rule, values.Value[slot])) {
            m_Holding.erase(key);
            continue;
        }
        if (m_Holding.emplace(key, true).second) {
            Fire(process, rule, values.Value[slot], absTime);
        }
        worst = rule->GetRepStatus() > worst ? rule->GetRepStatus() : worst;
    }
    worst = worst > SCA_REP_STATUS_ERROR ? SCA_REP_STATUS_ERROR : worst;
    process->SetRepStatus(worst);
    return worst;
}

void SCA_TezProcessRuleCheck::Forget(uint32_t processId) {
    auto it = m_Holding.lower_bound(std::make_pair(processId, 0u));
    while (it != m_Holding.end() && it->first.first == processId) {
        it = m_Holding.erase(it);
    }
}

void SCA_TezProcessRuleCheck::Fire(SCA_TezProcess* process, const SCA_TezProcessRule* rule,
                                   double value, uint64_t absTime) {
    if (rule->GetRepStatus() == SCA_REP_STATUS_ERROR) {
        process->SetTotalErrors(process->GetTotalErrors() + 1);
    } else if (rule->GetRepStatus() == SCA_REP_STATUS_WARNING) {
        process->SetTotalWarnings(process->GetTotalWarnings() + 1);
    }
    auto* error = new (std::nothrow) SCA_TezError();
    if (error != nullptr) {
        // Room for the whole name: the description's own setter cuts it on a UTF-8 boundary.
        char text[320];
        std::snprintf(text, sizeof(text), "Process rule %u: %s", rule->GetRuleId(),
                      process->GetProcessName());
        error->SetErrorId(m_Errors->GetNextItemId());
        error->SetAbsTime(absTime);
        error->SetRepStatus(rule->GetRepStatus());
        error->SetCounterType(rule->GetCounterType());
        error->SetInstance(process->GetProcessName());
        error->SetDescription(text);
        error->SetCounterValue(value);
        if (!m_Errors->AddError(error)) {
            error->Destroy();
        }
    }
    if (rule->GetExecuteAction()) {
        QueueAction(rule, absTime);
    }
}

void SCA_TezProcessRuleCheck::QueueAction(const SCA_TezProcessRule* rule, uint64_t absTime) {
    if (m_ActionCtrl == nullptr) {
        return;
    }
    // The action carries a copy of the rule: the rules it came from may be replaced before the
    // action controller gets to it.
    auto* action = new (std::nothrow) SCA_TezCondAction(*rule, absTime, "", SCA_ALL_ONES);
    if (action == nullptr || !action->IsConstructed()) {
        SCA_Object::Destroy(action);
        return;
    }
    action->SetActionId(rule->GetRuleId());
    if (!m_ActionCtrl->GetActionQueue()->Put(action)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_TezProcessRuleCheck::QueueAction: cannot queue action - %u",
            rule->GetRuleId());
        action->Destroy();
    }
}
