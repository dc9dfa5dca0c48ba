// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libkvn/SCA_KvnExport.h"
#include "libkvn/SCA_KvnRecordList.h"
#include "libkvn/SCA_KvnRule.h"

class SCA_ConfigObj;

// The alert rules of one device group, numbered by the list. Rule ids are not reused while the
// list lives, except after ClearAll; after a read they continue above the highest id read.
class SCA_KVN_EXPORT SCA_KvnRuleList : public SCA_KvnRecordList<SCA_KvnRule> {
public:
    SCA_HEAP_OPERATORS

    SCA_KvnRuleList() = default;
    ~SCA_KvnRuleList() override { ClearAll(); }
    // Copies hold copies of the rules and the same next rule id; flag 0 on failure.
    SCA_KvnRuleList(const SCA_KvnRuleList& other);
    SCA_KvnRuleList& operator=(const SCA_KvnRuleList& other);

    uint32_t GetNextRuleId() const { return GetNextNumber(); }

    // A rule with the defaults under the next id, at the tail; the caller fills it.
    int AddRule(SCA_KvnRule** rule);
    int GetRule(uint32_t ruleId, SCA_KvnRule** rule) const;
    int GetRuleByRepStatus(uint32_t repStatus, SCA_KvnRule** rule) const;
    // 1 when another rule of the list (another id) has the same condition as rule.
    int IsRuleExists(const SCA_KvnRule* rule) const;
    // 1 also when there is no such rule; the next id stays.
    int DeleteRule(uint32_t ruleId);
    // Destroys every rule; ids start at 0 again.
    int ClearAll();
    // Replaces the rules by the twenty default rules (ids 0 to 19).
    int InitDefaultRules();

    int Serialize(SCA_ConfigObj* object) const;
    int Deserialize(SCA_ConfigObj* object);
    int SetContents(const SCA_KvnRuleList* source);
    SCA_KvnRuleList* Clone() const;

protected:
    int AddRule(uint32_t counterType, uint32_t condMode, uint32_t condType, double condValue,
                uint32_t repStatus);

    SCA_KvnRule* NewRecord() const override;
    uint32_t GetRecordNumber(const SCA_KvnRule& record) const override {
        return record.GetRuleId();
    }
    void SetRecordNumber(SCA_KvnRule* record, uint32_t number) const override {
        record->SetRuleId(number);
    }
};
