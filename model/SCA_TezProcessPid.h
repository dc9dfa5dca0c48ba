// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Object.h"
#include "model/SCA_OwnerList.h"

class SCA_ConfigObj;

// The statistics of one counter of one process id.
struct tagSCA_TEZ_PROCESS_COUNTER {
    uint32_t CounterType;
    uint32_t ValueCount;
    double LastValue;
    double MinValue;
    double MaxValue;
    double AverageValue;
};

// The statistics of one process id, one item per counter type (the item id); the list owns them.
using SCA_TezProcessCounterList = SCA_OwnerList<tagSCA_TEZ_PROCESS_COUNTER>;

// One process id seen under a process name: when it was first and last seen, who runs it, its
// parent, the statistics of its counters (one per counter type) and further properties the
// sampler collected. It owns its statistics and properties; not copyable.
class SCA_TezProcessPid : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_TezProcessPid() { SetConstructed(); }
    ~SCA_TezProcessPid() override;
    SCA_TezProcessPid(const SCA_TezProcessPid&) = delete;
    SCA_TezProcessPid& operator=(const SCA_TezProcessPid&) = delete;

    uint32_t GetProcessId() const { return m_ProcessId; }
    void SetProcessId(uint32_t id) { m_ProcessId = id; }
    uint32_t GetInstanceId() const { return m_InstanceId; }
    void SetInstanceId(uint32_t id) { m_InstanceId = id; }
    uint64_t GetFirstUpdateTime() const { return m_FirstUpdateTime; }
    void SetFirstUpdateTime(uint64_t time) { m_FirstUpdateTime = time; }
    uint64_t GetLastUpdateTime() const { return m_LastUpdateTime; }
    void SetLastUpdateTime(uint64_t time) { m_LastUpdateTime = time; }
    uint32_t GetParentProcessId() const { return m_ParentProcessId; }
    void SetParentProcessId(uint32_t id) { m_ParentProcessId = id; }

    // Texts of 256 bytes; longer ones are cut on a UTF-8 boundary.
    const char* GetUserName() const { return m_UserName; }
    void SetUserName(const char* name);
    const char* GetParentProcess() const { return m_ParentProcess; }
    void SetParentProcess(const char* name);
    const char* GetParentUser() const { return m_ParentUser; }
    void SetParentUser(const char* name);
    int IsUserNameSet() const { return m_UserName[0] != '\0' ? 1 : 0; }
    int IsParentProcessSet() const { return m_ParentProcess[0] != '\0' ? 1 : 0; }
    int IsParentUserSet() const { return m_ParentUser[0] != '\0' ? 1 : 0; }

    // Further properties as value fields (name, value); null when none were collected.
    SCA_ConfigObj* GetProcessInfo() const { return m_ProcessInfo; }
    // Takes info (may be null) in place of the properties held, which are destroyed.
    void SetProcessInfo(SCA_ConfigObj* info);

    // The statistics, one item per counter type (the item id).
    SCA_TezProcessCounterList* GetCounters() { return &m_Counters; }
    // The statistics of that counter type; 0 with *counter untouched when there are none.
    int GetCounter(uint32_t counterType, tagSCA_TEZ_PROCESS_COUNTER** counter) const;
    // Copies values in as the statistics of their counter type, replacing earlier ones. 0 when
    // a new entry cannot be allocated.
    int SetCounter(const tagSCA_TEZ_PROCESS_COUNTER& values);

    // The fields, a child "Counters" with one child per counter type and, when there are
    // properties, a copy of them named "ProcessInfo".
    int Serialize(SCA_ConfigObj* object) const;
    // 0 for a null object, one without "ProcessId", or when the statistics or properties
    // cannot be taken.
    int Deserialize(SCA_ConfigObj* object);

private:
    uint32_t m_ProcessId = 0;
    uint32_t m_InstanceId = 0;
    uint64_t m_FirstUpdateTime = 0;
    uint64_t m_LastUpdateTime = 0;
    char m_UserName[256] = "";
    uint32_t m_ParentProcessId = 0;
    char m_ParentProcess[256] = "";
    char m_ParentUser[256] = "";
    SCA_ConfigObj* m_ProcessInfo = nullptr;
    SCA_TezProcessCounterList m_Counters;
};
