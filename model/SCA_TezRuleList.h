// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "model/SCA_TezRecordList.h"
#include "model/SCA_TezRule.h"

// The user's rules, each for one counter type. The list owns its rules and is not copyable;
// CopyFrom gives another list copies of them.
class SCA_TezRuleList : public SCA_TezRecordList<SCA_TezRule> {
public:
    SCA_TezRuleList() : SCA_TezRecordList("SCA_TezRuleList", "rules") {}
    ~SCA_TezRuleList() override = default;

    // By list item id (not the rule id), from the head; out untouched when none matches.
    int GetRule(uint32_t id, SCA_TezRule** rule) const { return GetItem(id, rule); }

    // Appends rule, which the list owns from then on, under the next item id; the rule id
    // becomes that id. On failure the caller keeps rule.
    int AddRule(SCA_TezRule* rule, uint32_t* id) {
        return AddRecord(rule, nullptr, id, &SCA_TezRule::SetRuleId);
    }
    // Removes and destroys the rule with this item id.
    int DeleteRule(uint32_t id) { return DeleteRecord(id); }
    // Destroys every rule; ids already handed out are not handed out again.
    void ClearAll() { ClearRecords(); }
    // Replaces the rules with copies of other's (same ids and order); left as it was on
    // failure.
    int CopyFrom(const SCA_TezRuleList& other) { return CopyRecords(other); }

protected:
    SCA_TezRule* NewRecord() const override { return new (std::nothrow) SCA_TezRule(); }
};
