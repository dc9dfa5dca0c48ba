// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Limits.h"
#include "model/SCA_TezCond.h"

// A condition of the process monitor: it measures one quantity (the rule type, 0 to 8) of one
// named process, or of every process when the process name is empty (a global rule).
class SCA_TezProcessRule : public SCA_TezCond {
public:
    SCA_HEAP_OPERATORS

    SCA_TezProcessRule() = default;
    ~SCA_TezProcessRule() override = default;

    // Every field is copied, the construction flag and the whole texts included.
    SCA_TezProcessRule(const SCA_TezProcessRule&) = default;
    SCA_TezProcessRule& operator=(const SCA_TezProcessRule&) = default;

    uint32_t GetRuleId() const { return m_RuleId; }
    void SetRuleId(uint32_t id) { m_RuleId = id; }
    uint32_t GetRuleType() const { return m_RuleType; }
    void SetRuleType(uint32_t type) { m_RuleType = type; }
    const char* GetProcessName() const { return m_ProcessName; }
    // At most 255 bytes, cut on a UTF-8 character boundary; null empties the name.
    void SetProcessName(const char* name);
    uint32_t GetLastRepStatus() const { return m_LastRepStatus; }
    void SetLastRepStatus(uint32_t status) { m_LastRepStatus = status; }
    // The rule's own last action time, beside the condition's.
    uint64_t GetLastActionTime() const { return m_RuleLastActionTime; }
    void SetLastActionTime(uint64_t time) { m_RuleLastActionTime = time; }

    int IsGlobalRule() const { return m_ProcessName[0] == '\0' ? 1 : 0; }
    // The counter type the rule type measures; all ones for a rule type outside 0..8.
    uint32_t GetCounterType() const;

    int Serialize(SCA_ConfigObj* object) const override;
    int Deserialize(SCA_ConfigObj* object) override;

private:
    uint32_t m_RuleId = SCA_ALL_ONES; // not in a list yet
    uint32_t m_RuleType = 0;
    char m_ProcessName[SCA_TEZ_TEXT_SIZE] = {};
    uint32_t m_LastRepStatus = 0;
    uint64_t m_RuleLastActionTime = 0;
};
