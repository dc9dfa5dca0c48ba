// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <map>
#include <utility>

#include "libtez/SCA_TezProcCounters.h"

class SCA_TezActionCtrl;
class SCA_TezErrorList;
class SCA_TezProcess;
class SCA_TezProcessRule;
class SCA_TezProcessRules;

// Condition types of process rules: the value above the threshold, or below it.
inline constexpr uint32_t SCA_PROCESS_RULE_ABOVE = 0;
inline constexpr uint32_t SCA_PROCESS_RULE_BELOW = 1;

// Holds a process's counter values against the process rules (the global ones and those
// naming it). A rule that becomes true counts one error or warning for the process, records
// an error and queues the rule's action; while it stays true it only keeps the status. The
// rules are only read: what the check remembers between scans is its own.
class SCA_TezProcessRuleCheck {
public:
    SCA_TezProcessRuleCheck(SCA_TezErrorList* errors, SCA_TezActionCtrl* actionCtrl)
        : m_Errors(errors), m_ActionCtrl(actionCtrl) {}

    // Sets the process's report status (3, 4 or 5: the worst rule that holds) from values and
    // answers it. rules may be null (no rules).
    uint32_t Check(SCA_TezProcess* process, const tagSCA_TEZ_PROC_VALUES& values,
                   const SCA_TezProcessRules* rules, uint64_t absTime);
    // Forgets what the rules held for a process record that is gone.
    void Forget(uint32_t processId);
    void Clear() { m_Holding.clear(); }

private:
    void Fire(SCA_TezProcess* process, const SCA_TezProcessRule* rule, double value,
              uint64_t absTime);
    void QueueAction(const SCA_TezProcessRule* rule, uint64_t absTime);

    SCA_TezErrorList* m_Errors;
    SCA_TezActionCtrl* m_ActionCtrl;
    // (process id, rule id) of every rule that held at the last check.
    std::map<std::pair<uint32_t, uint32_t>, bool> m_Holding;
};
