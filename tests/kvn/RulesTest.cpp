// SPDX-License-Identifier: MIT
// Alert rules and rule lists: identity, numbering and the default rules.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "KvnTestSupport.h"
#include "libkvn/SCA_KvnRule.h"
#include "libkvn/SCA_KvnRuleList.h"
#include "model/SCA_ConfigObj.h"

using kvn_test::Names;
using Texts = std::vector<std::string>;

namespace {

SCA_KvnRule* AddRule(SCA_KvnRuleList* list, uint32_t type, double value, uint32_t status) {
    SCA_KvnRule* rule = nullptr;
    EXPECT_EQ(1, list->AddRule(&rule));
    rule->SetCounterType(type);
    rule->SetCondValue(value);
    rule->SetRepStatus(status);
    return rule;
}

} // namespace

TEST(RuleList, NumbersRulesAcrossDeletesClearsAndReads) {
    SCA_KvnRuleList list;
    for (uint32_t expected = 0; expected < 3; ++expected) {
        EXPECT_EQ(expected, AddRule(&list, 4, 90.0, 5)->GetRuleId());
    }
    EXPECT_EQ(1, list.DeleteRule(2));
    EXPECT_EQ(1, list.DeleteRule(2));
    EXPECT_EQ(3u, AddRule(&list, 4, 90.0, 5)->GetRuleId());
    list.ClearAll();
    EXPECT_EQ(0u, AddRule(&list, 4, 90.0, 5)->GetRuleId());

    SCA_ConfigObj stored("Rules", nullptr);
    stored.AddConfigObj("a")->AddField("RuleId", 4u);
    stored.AddConfigObj("b")->AddField("RuleId", 9u);
    ASSERT_EQ(1, list.Deserialize(&stored));
    EXPECT_EQ(10u, list.GetNextRuleId());
    EXPECT_EQ(10u, AddRule(&list, 4, 90.0, 5)->GetRuleId());
}

TEST(RuleList, AStoredRuleWithoutIdGetsTheNextOne) {
    SCA_ConfigObj stored("Rules", nullptr);
    SCA_ConfigObj* unnumbered = stored.AddConfigObj("0");
    unnumbered->AddField("CounterType", 59u);
    stored.AddConfigObj("1")->AddField("RuleId", 2u);
    SCA_KvnRuleList list;
    ASSERT_EQ(1, list.Deserialize(&stored));
    ASSERT_EQ(2u, list.Count());
    SCA_KvnRule* rule = nullptr;
    ASSERT_EQ(1, list.GetRule(3, &rule));
    EXPECT_EQ(59u, rule->GetCounterType());
    EXPECT_EQ(4u, list.GetNextRuleId());
    EXPECT_EQ(4u, AddRule(&list, 4, 1.0, 4)->GetRuleId());
}

TEST(RuleList, DuplicatesAreSameConditionUnderAnotherId) {
    SCA_KvnRuleList list;
    SCA_KvnRule* stored = AddRule(&list, 4, 90.0, 5);
    SCA_KvnRule copy(*stored);
    EXPECT_EQ(0, list.IsRuleExists(&copy)); // the stored rule itself
    copy.SetRuleId(0xFFFFFFFFu);
    EXPECT_EQ(1, list.IsRuleExists(&copy));
    copy.SetRepStatus(3);
    copy.SetActionValue("notify ops");
    EXPECT_EQ(1, list.IsRuleExists(&copy));
    copy.SetCondValue(90.5);
    EXPECT_EQ(0, list.IsRuleExists(&copy));
    copy.SetCondValue(90.0);
    copy.SetCondMode(0);
    EXPECT_EQ(0, list.IsRuleExists(&copy));
}

TEST(RuleList, DefaultRules) {
    SCA_KvnRuleList list;
    AddRule(&list, 1, 1.0, 3);
    ASSERT_EQ(1, list.InitDefaultRules());
    ASSERT_EQ(20u, list.Count());
    const SCA_KvnRule* first = list.GetHead()->GetItem();
    const SCA_KvnRule* last = list.GetTail()->GetItem();
    EXPECT_EQ(0u, first->GetRuleId());
    EXPECT_EQ(4u, first->GetCounterType());
    EXPECT_EQ(90.0, first->GetCondValue());
    EXPECT_EQ(5u, first->GetRepStatus());
    EXPECT_EQ(0u, first->GetCondMode());
    EXPECT_EQ(19u, last->GetRuleId());
    EXPECT_EQ(47u, last->GetCounterType());
    EXPECT_EQ(20000.0, last->GetCondValue());
    EXPECT_EQ(4u, last->GetRepStatus());
    SCA_KvnRule* rule = nullptr;
    ASSERT_EQ(1, list.GetRuleByRepStatus(5, &rule));
    EXPECT_EQ(0u, rule->GetRuleId());
    EXPECT_EQ(0, list.GetRuleByRepStatus(3, &rule));
}

TEST(Rule, StoredFieldsDescriptionsAndContent) {
    SCA_KvnRule rule;
    EXPECT_STREQ("Error", rule.GetRepStatusDescr());
    rule.SetRepStatus(3);
    EXPECT_STREQ("Message", rule.GetRepStatusDescr());
    rule.SetRepStatus(7);
    EXPECT_STREQ("NA", rule.GetRepStatusDescr());

    rule.SetActionValue(std::string(400, 'a').c_str());
    EXPECT_EQ(255u, std::string(rule.GetActionValue()).size());
    rule.SetActionValue("mail ops");
    rule.SetActionCount(9);
    SCA_ConfigObj object("Rule", nullptr);
    ASSERT_EQ(1, rule.Serialize(&object));
    EXPECT_EQ((Texts{"RuleId", "CounterType", "CondType", "CondMode", "CondValue", "RepStatus",
                     "ExecuteAction", "ActionType", "ActionValue"}),
              Names(object));

    SCA_KvnRule target;
    target.SetActionCount(2);
    target.SetLastActionTime(55);
    ASSERT_EQ(1, target.SetContent(&rule));
    EXPECT_STREQ("mail ops", target.GetActionValue());
    EXPECT_EQ(7u, target.GetRepStatus());
    EXPECT_EQ(2u, target.GetActionCount());
    EXPECT_EQ(55u, target.GetLastActionTime());
}

TEST(RuleList, CopiesAndClones) {
    SCA_KvnRuleList list;
    AddRule(&list, 4, 90.0, 5);
    AddRule(&list, 5, 50.0, 4);
    list.DeleteRule(1);
    SCA_KvnRuleList copy(list);
    EXPECT_EQ(2u, copy.GetNextRuleId());
    copy.GetHead()->GetItem()->SetCondValue(1.0);
    EXPECT_EQ(90.0, list.GetHead()->GetItem()->GetCondValue());

    SCA_KvnRuleList* clone = list.Clone();
    ASSERT_NE(nullptr, clone);
    EXPECT_EQ(1u, clone->Count());
    EXPECT_EQ(1u, clone->GetNextRuleId());
    clone->Destroy();
}
