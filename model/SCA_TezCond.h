// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Object.h"
#include "model/SCA_TezRecordFields.h"
#include "model/SCA_TezRepStatus.h"

class SCA_ConfigObj;

// A condition on a counter's value: its type, mode and threshold, whether it is enabled, the
// report status of its outcome (3 message, 4 warning, 5 error), and the action it may trigger
// with that action's bookkeeping. Rules and process rules are conditions with more fields.
class SCA_TezCond : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_TezCond() { SetConstructed(); }
    ~SCA_TezCond() override = default;

    // Every field is copied, the construction flag and the whole action text included.
    SCA_TezCond(const SCA_TezCond&) = default;
    SCA_TezCond& operator=(const SCA_TezCond&) = default;

    uint32_t GetCondId() const { return m_CondId; }
    void SetCondId(uint32_t id) { m_CondId = id; }
    uint32_t GetCondType() const { return m_CondType; }
    void SetCondType(uint32_t type) { m_CondType = type; }
    uint32_t GetCondMode() const { return m_CondMode; }
    void SetCondMode(uint32_t mode) { m_CondMode = mode; }
    double GetCondValue() const { return m_CondValue; }
    void SetCondValue(double value) { m_CondValue = value; }
    int IsEnabled() const { return m_Enabled; }
    void SetEnabled(int enabled) { m_Enabled = enabled; }
    uint32_t GetRepStatus() const { return m_RepStatus; }
    void SetRepStatus(uint32_t status) { m_RepStatus = status; }
    int GetExecuteAction() const { return m_ExecuteAction; }
    void SetExecuteAction(int execute) { m_ExecuteAction = execute; }
    uint32_t GetActionType() const { return m_ActionType; }
    void SetActionType(uint32_t type) { m_ActionType = type; }
    const char* GetActionValue() const { return m_ActionValue; }
    // Bounded copy: at most 255 bytes, cut on a UTF-8 character boundary; null empties it.
    void SetActionValue(const char* value);
    uint32_t GetActionCount() const { return m_ActionCount; }
    void SetActionCount(uint32_t count) { m_ActionCount = count; }
    // One more action; the count wraps at 32 bits (4294967295 + 1 = 0).
    void AddActionCount() {
        m_ActionCount = m_ActionCount == SCA_ALL_ONES ? 0u : m_ActionCount + 1u;
    }
    uint64_t GetLastActionTime() const { return m_LastActionTime; }
    void SetLastActionTime(uint64_t time) { m_LastActionTime = time; }

    // "Message", "Warning" or "Error" for report status 3, 4, 5; "NA" for any other.
    const char* GetRepStatusDescr() const;
    // 1 when the action is to be executed and is a report action (type 3, or 8 to 14).
    int HasReportAction() const;

    // Adds the fields to object. 0 when a field cannot be added.
    virtual int Serialize(SCA_ConfigObj* object) const;
    // Reads the fields that object holds; on failure (reported) the record is left as it was.
    virtual int Deserialize(SCA_ConfigObj* object);

protected:
    void WriteCondFields(SCA_TezFieldWriter* writer) const;
    void ReadCondFields(SCA_TezFieldReader* reader);

private:
    uint32_t m_CondId = SCA_ALL_ONES; // not in a list yet
    uint32_t m_CondType = 0;
    uint32_t m_CondMode = 0;
    double m_CondValue = 0.0;
    int m_Enabled = 1;
    uint32_t m_RepStatus = SCA_REP_STATUS_WARNING;
    int m_ExecuteAction = 0;
    uint32_t m_ActionType = 0;
    char m_ActionValue[SCA_TEZ_TEXT_SIZE] = {};
    uint32_t m_ActionCount = 0;
    uint64_t m_LastActionTime = 0;
};
