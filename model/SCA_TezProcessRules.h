// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "model/SCA_TezProcessRule.h"
#include "model/SCA_TezRecordList.h"

// The process monitor's rules. The list owns its rules; not copyable.
class SCA_TezProcessRules : public SCA_TezRecordList<SCA_TezProcessRule> {
public:
    SCA_TezProcessRules() : SCA_TezRecordList("SCA_TezProcessRules", "process rules") {}
    ~SCA_TezProcessRules() override = default;

    // By list item id; out untouched when none matches.
    int GetRule(uint32_t id, SCA_TezProcessRule** rule) const { return GetItem(id, rule); }

    // Appends rule, which the list owns from then on, under the next item id; the rule id
    // becomes that id. On failure the caller keeps rule.
    int AddRule(SCA_TezProcessRule* rule, uint32_t* id) {
        return AddRecord(rule, nullptr, id, &SCA_TezProcessRule::SetRuleId);
    }
    int DeleteRule(uint32_t id) { return DeleteRecord(id); }
    // Destroys every rule; ids already handed out are not handed out again.
    void ClearAll() { ClearRecords(); }
    // Replaces the rules with copies of other's (same ids and order); left as it was on
    // failure.
    int CopyFrom(const SCA_TezProcessRules& other) { return CopyRecords(other); }

protected:
    SCA_TezProcessRule* NewRecord() const override {
        return new (std::nothrow) SCA_TezProcessRule();
    }
};
