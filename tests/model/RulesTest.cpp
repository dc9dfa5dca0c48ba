// SPDX-License-Identifier: MIT
#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezCond.h"
#include "model/SCA_TezCondList.h"
#include "model/SCA_TezProcessRule.h"
#include "model/SCA_TezProcessRules.h"
#include "model/SCA_TezRule.h"
#include "model/SCA_TezRuleList.h"
#include "model/SCA_TezVocabulary.h"
#include "tests/model/RecordTestSupport.h"

using records_test::Repeat;
using records_test::StoredForm;
using records_test::Transfer;

namespace {

SCA_TezCond* NewCond(uint32_t type, double value) {
    auto* cond = new SCA_TezCond();
    cond->SetCondType(type);
    cond->SetCondValue(value);
    return cond;
}

void FillRule(SCA_TezRule* rule) {
    rule->SetCondType(2);
    rule->SetCondMode(1);
    rule->SetCondValue(87.5);
    rule->SetEnabled(0);
    rule->SetRepStatus(5);
    rule->SetExecuteAction(1);
    rule->SetActionType(9);
    rule->SetActionValue("alarm.wav");
    rule->SetActionCount(3);
    rule->SetLastActionTime(0x0123456789ABCDEFull);
    rule->SetRuleId(11);
    rule->SetCounterType(SCA_COUNTER_PROCESS_CPU_USAGE);
}

} // namespace

TEST(ConditionStatus, DescribesOnlyTheThreeReportStatuses) {
    SCA_TezCond cond;
    const std::pair<uint32_t, const char*> cases[] = {
        {3, "Message"}, {4, "Warning"}, {5, "Error"}, {0, "NA"},
        {1, "NA"},      {2, "NA"},      {6, "NA"},    {0xFFFFFFFFu, "NA"}};
    for (const auto& [status, text] : cases) {
        cond.SetRepStatus(status);
        EXPECT_STREQ(cond.GetRepStatusDescr(), text) << status;
    }
}

TEST(ConditionStatus, ReportActionNeedsTheFlagAndAReportType) {
    SCA_TezCond cond;
    cond.SetEnabled(0); // not consulted
    cond.SetExecuteAction(1);
    for (uint32_t type = 0; type <= 20; ++type) {
        cond.SetActionType(type);
        const int expected = type == 3 || (type >= 8 && type <= 14) ? 1 : 0;
        EXPECT_EQ(cond.HasReportAction(), expected) << type;
    }
    cond.SetExecuteAction(0);
    cond.SetEnabled(1);
    cond.SetActionType(3);
    EXPECT_EQ(cond.HasReportAction(), 0);
}

TEST(ConditionStatus, ActionCountWrapsAtThirtyTwoBits) {
    SCA_TezCond cond;
    cond.SetActionCount(0xFFFFFFFEu);
    cond.AddActionCount();
    EXPECT_EQ(cond.GetActionCount(), 0xFFFFFFFFu);
    cond.AddActionCount();
    EXPECT_EQ(cond.GetActionCount(), 0u);
}

TEST(ConditionStatus, ActionValueIsCutToItsField) {
    SCA_TezCond cond;
    cond.SetActionValue(Repeat('a', 300).c_str());
    EXPECT_EQ(std::string(cond.GetActionValue()), Repeat('a', 255));
    // 254 bytes then a two-byte character: the character does not fit and is left out.
    cond.SetActionValue((Repeat('b', 254) + "\xC3\xA9").c_str());
    EXPECT_EQ(std::string(cond.GetActionValue()), Repeat('b', 254));
    cond.SetActionValue(nullptr);
    EXPECT_STREQ(cond.GetActionValue(), "");
}

TEST(ConditionStatus, CopyKeepsFlagCountAndTime) {
    SCA_TezRule rule;
    FillRule(&rule);
    SCA_TezRule copy(rule);
    EXPECT_EQ(copy.IsConstructed(), 1u);
    EXPECT_EQ(copy.GetActionCount(), 3u);
    EXPECT_EQ(copy.GetLastActionTime(), 0x0123456789ABCDEFull);
    EXPECT_STREQ(copy.GetActionValue(), "alarm.wav");
    EXPECT_NE(copy.GetActionValue(), rule.GetActionValue());
    EXPECT_EQ(StoredForm(copy), StoredForm(rule));
}

TEST(RuleRecords, RoundTripThroughAConfigurationObject) {
    SCA_TezRule rule;
    FillRule(&rule);
    SCA_TezRule read;
    ASSERT_EQ(Transfer(rule, &read), 1);
    EXPECT_EQ(read.GetRuleId(), 11u);
    EXPECT_EQ(read.GetCounterType(), 43u);
    EXPECT_EQ(read.GetCondValue(), 87.5);
    EXPECT_EQ(read.IsEnabled(), 0);
    EXPECT_EQ(read.GetLastActionTime(), 0x0123456789ABCDEFull);
    EXPECT_EQ(StoredForm(read), StoredForm(rule));
}

TEST(RuleRecords, AnUnreadableFieldLeavesTheRecordAsItWas) {
    SCA_TezRule rule;
    FillRule(&rule);
    const std::string before = StoredForm(rule);
    model_test::Reports reports;
    SCA_ConfigObj object("Rule", nullptr);
    object.AddField("RuleId", 99u);
    object.AddField("CondValue", "not a number");
    EXPECT_EQ(rule.Deserialize(&object), 0);
    EXPECT_EQ(StoredForm(rule), before);
    EXPECT_EQ(reports.TakeTexts(),
              std::vector<std::string>{"SCA_TezRule::Deserialize: invalid field - CondValue"});
}

TEST(ConditionLists, LookUpByItemIdNotByConditionId) {
    SCA_TezCondList list;
    SCA_TezCond* found = nullptr;
    EXPECT_EQ(list.GetCond(0u, &found), 0);
    EXPECT_EQ(found, nullptr);

    SCA_TezCond* first = NewCond(1, 10);
    uint32_t id = 0;
    ASSERT_EQ(list.AddCond(first, &id), 1);
    EXPECT_EQ(id, 1u);
    EXPECT_EQ(first->GetCondId(), 1u);
    first->SetCondId(500);
    EXPECT_EQ(list.GetCond(500u, &found), 0);
    ASSERT_EQ(list.GetCond(1u, &found), 1);
    EXPECT_EQ(found, first);
}

TEST(ConditionLists, TheItemNearerTheHeadWinsForADoubledId) {
    SCA_TezCondList list;
    SCA_TezCond* head = NewCond(1, 10);
    SCA_TezCond* tail = NewCond(2, 20);
    ASSERT_EQ(list.AddItemToTail(head, 7u), 1);
    ASSERT_EQ(list.AddItemToTail(tail, 7u), 1);
    SCA_TezCond* found = nullptr;
    ASSERT_EQ(list.GetCond(7u, &found), 1);
    EXPECT_EQ(found, head);
}

TEST(ConditionLists, IdsAreNotHandedOutTwice) {
    SCA_TezRuleList rules;
    uint32_t a = 0;
    uint32_t b = 0;
    ASSERT_EQ(rules.AddRule(new SCA_TezRule(), &a), 1);
    ASSERT_EQ(rules.AddRule(new SCA_TezRule(), &b), 1);
    ASSERT_EQ(rules.DeleteRule(b), 1);
    EXPECT_EQ(rules.DeleteRule(b), 0);
    rules.ClearAll();
    EXPECT_EQ(rules.Count(), 0u);
    uint32_t c = 0;
    ASSERT_EQ(rules.AddRule(new SCA_TezRule(), &c), 1);
    EXPECT_GT(c, b);
}

TEST(ConditionLists, RoundTripKeepsOrderIdsAndNextId) {
    SCA_TezRuleList rules;
    for (uint32_t counterType : {4u, 1u, 16u}) {
        auto* rule = new SCA_TezRule();
        rule->SetCounterType(counterType);
        ASSERT_EQ(rules.AddRule(rule, nullptr), 1);
    }
    ASSERT_EQ(rules.DeleteRule(1u), 1);

    SCA_TezRuleList read;
    ASSERT_EQ(Transfer(rules, &read), 1);
    ASSERT_EQ(read.Count(), 2u);
    SCA_TezRule* rule = nullptr;
    ASSERT_EQ(read.GetRule(2u, &rule), 1);
    EXPECT_EQ(rule->GetCounterType(), 1u);
    EXPECT_EQ(read.GetHead()->GetId(), 2u);
    EXPECT_EQ(read.GetTail()->GetId(), 3u);
    EXPECT_EQ(read.GetNextItemId(), rules.GetNextItemId());
    EXPECT_EQ(StoredForm(read), StoredForm(rules));
}

TEST(ConditionLists, ABrokenStoredListLeavesTheListAsItWas) {
    SCA_TezCondList list;
    ASSERT_EQ(list.AddCond(NewCond(1, 1), nullptr), 1);
    const std::string before = StoredForm(list);

    model_test::Reports reports;
    for (const char* badName : {"x", "4294967295", "", "12a"}) {
        SCA_ConfigObj object("Conditions", nullptr);
        object.AddConfigObj("5");
        SCA_ConfigObj* bad = object.AddConfigObj(badName);
        if (bad == nullptr) {
            continue; // names the tree itself refuses
        }
        EXPECT_EQ(list.Deserialize(&object), 0) << badName;
        EXPECT_EQ(StoredForm(list), before);
    }
    SCA_ConfigObj doubled("Conditions", nullptr);
    doubled.AddConfigObj("5");
    doubled.AddConfigObj("5");
    EXPECT_EQ(list.Deserialize(&doubled), 0);
    EXPECT_EQ(StoredForm(list), before);
}

TEST(ProcessRules, MapRuleTypesOntoProcessCounters) {
    SCA_TezProcessRule rule;
    const uint32_t expected[] = {43, 46, 48, 47, 51, 53, 55, 114, 87};
    for (uint32_t type = 0; type < 9; ++type) {
        rule.SetRuleType(type);
        EXPECT_EQ(rule.GetCounterType(), expected[type]) << type;
    }
    for (uint32_t type : {9u, 100u, 0xFFFFFFFFu}) {
        rule.SetRuleType(type);
        EXPECT_EQ(rule.GetCounterType(), 0xFFFFFFFFu) << type;
    }
}

TEST(ProcessRules, OnlyAnEmptyProcessNameIsGlobal) {
    SCA_TezProcessRule rule;
    EXPECT_EQ(rule.IsGlobalRule(), 1);
    rule.SetProcessName(" ");
    EXPECT_EQ(rule.IsGlobalRule(), 0);
    rule.SetProcessName("sshd");
    EXPECT_EQ(rule.IsGlobalRule(), 0);
}

TEST(ProcessRules, KeepTheirOwnLastActionTimeBesideTheConditions) {
    SCA_TezProcessRule rule;
    rule.SetLastActionTime(100);
    static_cast<SCA_TezCond&>(rule).SetLastActionTime(200);
    EXPECT_EQ(rule.GetLastActionTime(), 100u);
    EXPECT_EQ(static_cast<SCA_TezCond&>(rule).GetLastActionTime(), 200u);

    rule.SetProcessName("postgres");
    rule.SetRuleType(7);
    rule.SetLastRepStatus(4);
    SCA_TezProcessRules rules;
    auto* stored = new SCA_TezProcessRule(rule);
    ASSERT_EQ(rules.AddRule(stored, nullptr), 1);

    SCA_TezProcessRules read;
    ASSERT_EQ(Transfer(rules, &read), 1);
    SCA_TezProcessRule* back = nullptr;
    ASSERT_EQ(read.GetRule(stored->GetRuleId(), &back), 1);
    EXPECT_EQ(back->GetLastActionTime(), 100u);
    EXPECT_EQ(static_cast<SCA_TezCond*>(back)->GetLastActionTime(), 200u);
    EXPECT_STREQ(back->GetProcessName(), "postgres");
    EXPECT_EQ(back->GetCounterType(), 114u);
    EXPECT_EQ(back->GetLastRepStatus(), 4u);
}
