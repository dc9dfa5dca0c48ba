// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libkvn/SCA_KvnExport.h"
#include "libkvn/SCA_KvnStoredForm.h"
#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Object.h"

class SCA_ConfigObj;

// An alert rule of the network server: the report status a device counter earns when its value
// meets the condition, and the action to run. Action count and last action time belong to
// whoever runs the actions and are not stored. A plain record: copies take every member.
class SCA_KVN_EXPORT SCA_KvnRule : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_KvnRule() { SetConstructed(); }
    ~SCA_KvnRule() override = default;
    SCA_KvnRule(const SCA_KvnRule&) = default;
    SCA_KvnRule& operator=(const SCA_KvnRule&) = default;

    uint32_t GetRuleId() const { return m_RuleId; }
    void SetRuleId(uint32_t id) { m_RuleId = id; }
    uint32_t GetCounterType() const { return m_CounterType; }
    void SetCounterType(uint32_t type) { m_CounterType = type; }
    uint32_t GetCondType() const { return m_CondType; }
    void SetCondType(uint32_t type) { m_CondType = type; }
    uint32_t GetCondMode() const { return m_CondMode; }
    void SetCondMode(uint32_t mode) { m_CondMode = mode; }
    double GetCondValue() const { return m_CondValue; }
    void SetCondValue(double value) { m_CondValue = value; }
    uint32_t GetRepStatus() const { return m_RepStatus; }
    void SetRepStatus(uint32_t status) { m_RepStatus = status; }
    int GetExecuteAction() const { return m_ExecuteAction; }
    void SetExecuteAction(int execute) { m_ExecuteAction = execute; }
    uint32_t GetActionType() const { return m_ActionType; }
    void SetActionType(uint32_t type) { m_ActionType = type; }
    // At most 255 bytes are kept, cut on a UTF-8 boundary; null empties.
    const char* GetActionValue() const { return m_ActionValue; }
    void SetActionValue(const char* value);
    uint32_t GetActionCount() const { return m_ActionCount; }
    void SetActionCount(uint32_t count) { m_ActionCount = count; }
    void AddActionCount() { ++m_ActionCount; }
    uint64_t GetLastActionTime() const { return m_LastActionTime; }
    void SetLastActionTime(uint64_t time) { m_LastActionTime = time; }

    // "Message" (3), "Warning" (4), "Error" (5), else "NA".
    const char* GetRepStatusDescr() const;
    // The same condition: counter type, condition mode and type, and value.
    int IsIdentical(const SCA_KvnRule* other) const;

    // The nine stored fields; 0 when one cannot be added.
    int Serialize(SCA_ConfigObj* object) const;
    // A missing or mistyped field keeps its member.
    int Deserialize(SCA_ConfigObj* object);
    // Takes the stored fields of source; action count and last action time stay this rule's.
    int SetContent(const SCA_KvnRule* source);

private:
    uint32_t m_RuleId = SCA_ALL_ONES;
    uint32_t m_CounterType = 1;
    uint32_t m_CondType = 0;
    uint32_t m_CondMode = 1;
    double m_CondValue = 0.0;
    uint32_t m_RepStatus = 5;
    int m_ExecuteAction = 0;
    uint32_t m_ActionType = 0;
    char m_ActionValue[SCA_KVN_TEXT_SIZE] = {};
    uint32_t m_ActionCount = 0;
    uint64_t m_LastActionTime = 0;
};
