// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Object.h"
#include "model/SCA_TezRecordFields.h"

class SCA_ConfigObj;

// A language-model server of the user configuration: where it is and how to reach it, the
// model it serves, and the accuracy and performance measured at its last test. Plain members
// and fixed texts: copies are member by member. Text setters cut at 255 bytes on a UTF-8
// character boundary.
class SCA_LlmServer : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_LlmServer() { SetConstructed(); }
    SCA_LlmServer(const SCA_LlmServer&) = default;
    SCA_LlmServer& operator=(const SCA_LlmServer&) = default;
    ~SCA_LlmServer() override = default;

    uint32_t GetServerId() const { return m_ServerId; }
    void SetServerId(uint32_t id) { m_ServerId = id; }
    const char* GetHostName() const { return m_HostName; }
    void SetHostName(const char* name);
    uint16_t GetPortNumber() const { return m_Port; }
    void SetPortNumber(uint16_t port) { m_Port = port; }
    uint32_t GetConnectTimeout() const { return m_ConnectTimeout; }
    void SetConnectTimeout(uint32_t timeout) { m_ConnectTimeout = timeout; }
    uint32_t GetMode() const { return m_Mode; }
    void SetMode(uint32_t mode) { m_Mode = mode; }
    const char* GetModelName() const { return m_ModelName; }
    void SetModelName(const char* name);
    const char* GetDescription() const { return m_Description; }
    void SetDescription(const char* description);
    double GetAccuracy() const { return m_Accuracy; }
    void SetAccuracy(double accuracy) { m_Accuracy = accuracy; }
    double GetPerformance() const { return m_Performance; }
    void SetPerformance(double performance) { m_Performance = performance; }
    uint64_t GetTestAbsTime() const { return m_TestAbsTime; }
    void SetTestAbsTime(uint64_t time) { m_TestAbsTime = time; }

    int IsDescriptionSet() const { return m_Description[0] != '\0' ? 1 : 0; }

    // One field per member, named as its accessors; doubles travel exactly.
    int Serialize(SCA_ConfigObj* object) const;
    // Absent fields keep their values; on failure (reported) nothing changes.
    int Deserialize(SCA_ConfigObj* object);

private:
    uint32_t m_ServerId = SCA_ALL_ONES; // not in a list yet
    char m_HostName[SCA_TEZ_TEXT_SIZE] = {};
    uint16_t m_Port = 0;
    uint32_t m_ConnectTimeout = 0;
    uint32_t m_Mode = 0;
    char m_ModelName[SCA_TEZ_TEXT_SIZE] = {};
    char m_Description[SCA_TEZ_TEXT_SIZE] = {};
    double m_Accuracy = 0.0;
    double m_Performance = 0.0;
    uint64_t m_TestAbsTime = 0;
};
