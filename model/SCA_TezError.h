// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Object.h"

class SCA_ConfigObj;

// One error or warning a monitor recorded against a counter: when, how severe, which counter
// (type, computer, instance), what and the value that caused it. Plain members and fixed texts:
// copies are member by member. Text setters cut what does not fit on a UTF-8 boundary.
class SCA_TezError : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_TezError() { SetConstructed(); }
    SCA_TezError(const SCA_TezError&) = default;
    SCA_TezError& operator=(const SCA_TezError&) = default;
    ~SCA_TezError() override = default;

    uint32_t GetErrorId() const { return m_ErrorId; }
    void SetErrorId(uint32_t id) { m_ErrorId = id; }
    uint64_t GetAbsTime() const { return m_AbsTime; }
    void SetAbsTime(uint64_t absTime) { m_AbsTime = absTime; }
    uint32_t GetRepStatus() const { return m_RepStatus; }
    void SetRepStatus(uint32_t status) { m_RepStatus = status; }
    uint32_t GetCounterId() const { return m_CounterId; }
    void SetCounterId(uint32_t id) { m_CounterId = id; }
    uint32_t GetCounterType() const { return m_CounterType; }
    void SetCounterType(uint32_t type) { m_CounterType = type; }
    const char* GetComputerName() const { return m_ComputerName; }
    void SetComputerName(const char* name);
    const char* GetInstance() const { return m_Instance; }
    void SetInstance(const char* instance);
    const char* GetDescription() const { return m_Description; }
    void SetDescription(const char* description);
    double GetCounterValue() const { return m_CounterValue; }
    void SetCounterValue(double value) { m_CounterValue = value; }

    // "Message" (3), "Warning" (4), "Error" (5), "NA" for any other status.
    const char* GetRepStatusDescr() const;

    // Fields "ErrorId", "AbsTime", "RepStatus", "CounterId", "CounterType", "ComputerName",
    // "Instance", "Description", "CounterValue".
    int Serialize(SCA_ConfigObj* object) const;
    // 0 for a null object or one without "ErrorId"; other fields missing keep their values.
    int Deserialize(SCA_ConfigObj* object);

private:
    uint32_t m_ErrorId = 0;
    uint64_t m_AbsTime = 0;
    uint32_t m_RepStatus = 0;
    uint32_t m_CounterId = 0;
    uint32_t m_CounterType = 0;
    char m_ComputerName[64] = "";
    char m_Instance[256] = "";
    char m_Description[256] = "";
    double m_CounterValue = 0.0;
};
