// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "containers/SCA_List.h"
#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Object.h"

class SCA_ConfigObj;
class SCA_PerfMonCounter;

// One running instance of a watched process name, with the collector's counters that sample
// it (referred to, owned by the collector). Not copyable: it embeds a list.
class SCA_TezProcessInst : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_TezProcessInst() { SetConstructed(); }
    ~SCA_TezProcessInst() override = default;
    SCA_TezProcessInst(const SCA_TezProcessInst&) = delete;
    SCA_TezProcessInst& operator=(const SCA_TezProcessInst&) = delete;

    uint32_t GetInstanceId() const { return m_InstanceId; }
    void SetInstanceId(uint32_t id) { m_InstanceId = id; }
    const char* GetInstance() const { return m_Instance; }
    // Cut on a UTF-8 boundary when it does not fit.
    void SetInstance(const char* instance);
    uint64_t GetLastUpdateTime() const { return m_LastUpdateTime; }
    void SetLastUpdateTime(uint64_t time) { m_LastUpdateTime = time; }
    SCA_List<SCA_PerfMonCounter*>* GetPerfCounters() { return &m_PerfCounters; }

    // Fields "InstanceId", "Instance", "LastUpdateTime" (the collector's counters stay).
    int Serialize(SCA_ConfigObj* object) const;
    // 0 for a null object or one without "InstanceId".
    int Deserialize(SCA_ConfigObj* object);

private:
    uint32_t m_InstanceId = 0;
    char m_Instance[256] = "";
    uint64_t m_LastUpdateTime = 0;
    SCA_List<SCA_PerfMonCounter*> m_PerfCounters;
};
