// SPDX-License-Identifier: MIT
#include "libkvn/SCA_KvnRuleList.h"

#include <new>

#include "libkvn/SCA_KvnStoredForm.h"
#include "libmor/SCA_Report.h"
#include "model/SCA_ConfigObj.h"

namespace {

const tagSCA_KVN_LIST_TEXTS kTexts = {
    "SCA_KvnRuleList::Serialize: invalid config object",
    "SCA_KvnRuleList::Serialize: Cannot create rule config object",
    "SCA_KvnRuleList::Serialize: Cannot create rule config object",
    "SCA_KvnRuleList::Deserialize: Cannot create rule object",
    "SCA_KvnRuleList::Deserialize: Cannot create rule object",
};

struct DefaultRule {
    uint32_t CounterType;
    uint32_t CondType;
    double CondValue;
    uint32_t RepStatus;
};

// Memory, disk space, operating-system and process limits every new group starts from.
constexpr DefaultRule kDefaultRules[] = {
    {4, 0, 90.0, 5},   {4, 0, 80.0, 4},    {5, 1, 50.0, 5},      {5, 1, 100.0, 4},
    {59, 0, 95.0, 5},  {59, 0, 90.0, 4},   {57, 1, 50.0, 5},     {57, 1, 100.0, 4},
    {38, 0, 200.0, 4}, {39, 0, 2000.0, 4}, {115, 0, 50000.0, 4}, {35, 0, 3.0, 4},
    {36, 0, 3.0, 4},   {37, 0, 1.0, 4},    {65, 0, 10.0, 4},     {66, 0, 10.0, 4},
    {43, 0, 90.0, 4},  {46, 0, 2000.0, 4}, {48, 0, 1000.0, 4},   {47, 0, 20000.0, 4},
};

} // namespace

SCA_KvnRuleList::SCA_KvnRuleList(const SCA_KvnRuleList& other) {
    if (!CopyRecords(other)) {
        SetConstructed(0);
    }
}

SCA_KvnRuleList& SCA_KvnRuleList::operator=(const SCA_KvnRuleList& other) {
    if (this != &other) {
        SetConstructed(CopyRecords(other) ? 1u : 0u);
    }
    return *this;
}

SCA_KvnRule* SCA_KvnRuleList::NewRecord() const {
    return new (std::nothrow) SCA_KvnRule();
}

int SCA_KvnRuleList::AddRule(SCA_KvnRule** rule) {
    SCA_KvnRule* added = AddNextRecord([](SCA_KvnRule* /*record*/) {});
    if (added == nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KvnRuleList::AddRule: Cannot create rule object");
        return 0;
    }
    return SCA_KvnHandOut(added, rule);
}

int SCA_KvnRuleList::AddRule(uint32_t counterType, uint32_t condMode, uint32_t condType,
                             double condValue, uint32_t repStatus) {
    SCA_KvnRule* rule = nullptr;
    if (!AddRule(&rule)) {
        return 0;
    }
    rule->SetCounterType(counterType);
    rule->SetCondMode(condMode);
    rule->SetCondType(condType);
    rule->SetCondValue(condValue);
    rule->SetRepStatus(repStatus);
    return 1;
}

int SCA_KvnRuleList::GetRule(uint32_t ruleId, SCA_KvnRule** rule) const {
    return SCA_KvnHandOut(FindRecord(ruleId), rule);
}

int SCA_KvnRuleList::GetRuleByRepStatus(uint32_t repStatus, SCA_KvnRule** rule) const {
    return SCA_KvnHandOut(FindRecordIf([repStatus](const SCA_KvnRule& record) {
                              return record.GetRepStatus() == repStatus;
                          }),
                          rule);
}

int SCA_KvnRuleList::IsRuleExists(const SCA_KvnRule* rule) const {
    if (rule == nullptr) {
        return 0;
    }
    return FindRecordIf([rule](const SCA_KvnRule& record) {
               return record.GetRuleId() != rule->GetRuleId() && record.IsIdentical(rule) != 0;
           }) != nullptr
               ? 1
               : 0;
}

int SCA_KvnRuleList::DeleteRule(uint32_t ruleId) {
    DestroyRecord(ruleId);
    return 1;
}

int SCA_KvnRuleList::ClearAll() {
    DestroyRecords();
    return 1;
}

int SCA_KvnRuleList::InitDefaultRules() {
    ClearAll();
    for (const DefaultRule& rule : kDefaultRules) {
        if (!AddRule(rule.CounterType, 0, rule.CondType, rule.CondValue, rule.RepStatus)) {
            return 0;
        }
    }
    return 1;
}

int SCA_KvnRuleList::Serialize(SCA_ConfigObj* object) const {
    return SerializeRecords(object, kTexts, [](const SCA_KvnRule* rule, SCA_ConfigObj* child) {
        return rule->Serialize(child);
    });
}

int SCA_KvnRuleList::Deserialize(SCA_ConfigObj* object) {
    if (object == nullptr) {
        return 0;
    }
    ClearAll();
    return DeserializeRecords(object, true, kTexts, [](SCA_KvnRule* rule, SCA_ConfigObj* child) {
        return rule->Deserialize(child);
    });
}

int SCA_KvnRuleList::SetContents(const SCA_KvnRuleList* source) {
    if (source == nullptr) {
        return 0;
    }
    return SCA_KvnCopyThrough(
        "RuleList", [source](SCA_ConfigObj* temp) { return source->Serialize(temp); },
        [this](SCA_ConfigObj* temp) { return Deserialize(temp); });
}

SCA_KvnRuleList* SCA_KvnRuleList::Clone() const {
    return SCA_KvnFinishClone(new (std::nothrow) SCA_KvnRuleList(),
                              "SCA_KvnRuleList::Clone: cannot create rule list object", nullptr,
                              [this](SCA_KvnRuleList* copy) { return copy->SetContents(this); });
}
