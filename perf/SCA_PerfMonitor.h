// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Object.h"
#include "model/SCA_OwnerList.h"
#include "model/SCA_PerfMonCounter.h"
#include "perf/SCA_PerfSnapshot.h"
#include "perf/SCA_PerfSnapshotStore.h"

class SCA_ConfigObj;

// The performance-counter collector of the local computer. A monitor opens its counters by
// type and instance, calls Sample once per tick, and reads each counter's value, or learns
// that it has none (no Linux source, no second sample yet, a counter that went backwards, an
// instance that is gone). Collectors that sample the same tick share one read of each file.
//
// Only this computer is served: "", "localhost", 127.0.0.1 and the host's own name; every other
// computer fails at once with SCA_PERF_ERROR_REMOTE. Not copyable: it owns its counters.
class SCA_PerfMonitor : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_PerfMonitor() { SetConstructed(); }
    ~SCA_PerfMonitor() override = default;
    SCA_PerfMonitor(const SCA_PerfMonitor&) = delete;
    SCA_PerfMonitor& operator=(const SCA_PerfMonitor&) = delete;

    // Reads the real /proc and /sys through the store that every collector of the process shares.
    int Init(uint32_t* error);
    // Reads through the given store (tests give one over fixture trees).
    int Init(std::shared_ptr<SCA_PerfSnapshotStore> store, uint32_t* error);
    int IsInitialized() const { return m_Store != nullptr ? 1 : 0; }
    std::shared_ptr<SCA_PerfSnapshotStore> GetStore() const { return m_Store; }

    int Connect(const char* computer, uint32_t* error);
    int GetTotalMemory(const char* computer, uint64_t* bytes, uint32_t* error);
    // One child object per open counter, named by its id: type, name, instance and the last
    // value with its validity.
    int GetCounterList(SCA_ConfigObj* object) const;

    // Feature tests: 1 when present; otherwise 0 with *error set (100196 when this computer has
    // no such thing).
    int IsTCPv6Supported(const char* computer, uint32_t* error);
    int IsUDPv6Supported(const char* computer, uint32_t* error);
    int IsWFPv4Supported(const char* computer, uint32_t* error);
    int IsWFPv6Supported(const char* computer, uint32_t* error);
    int IsActiveDirectorySupported(const char* computer, uint32_t* error);

    // Opens a counter of type for instance ("" or null for all instances, or for a counter
    // without instances). Types of the vocabulary without a Linux source open too and never
    // have a value. 0 with *error for a type outside the vocabulary or before Init.
    int OpenCounter(uint32_t type, const char* instance, uint32_t* id, uint32_t* error);
    int CloseCounter(uint32_t id);
    uint32_t GetCounterCount() const { return m_Counters.Count(); }
    // Takes the sample of tick: every collector that samples the same tick shares its reads.
    int Sample(uint64_t tick);
    int Sample(uint64_t tick, uint64_t monotonicNs);
    // 1 with *value when the counter has a value at the last sample, else 0.
    int GetCounterValue(uint32_t id, double* value) const;
    // The counter record with that id (owned by the collector); 0 when there is none.
    int GetCounter(uint32_t id, SCA_PerfMonCounter** counter) const {
        return m_Counters.GetItem(id, counter);
    }

    int GetVerboseMessages() const { return m_VerboseMessages; }
    void SetVerboseMessages(int verbose) { m_VerboseMessages = verbose; }

    // Whether computer names this machine.
    static int IsLocalComputer(const char* computer);
    // 1 for this machine; else 0 with SCA_PERF_ERROR_REMOTE (reported) or SCA_PERF_ERROR_NOT_INIT.
    int CheckComputer(const char* operation, const char* computer, uint32_t* error) const;

private:
    std::shared_ptr<SCA_PerfSnapshotStore> m_Store;
    std::shared_ptr<SCA_PerfSnapshot> m_Before;
    std::shared_ptr<SCA_PerfSnapshot> m_Now;
    int m_VerboseMessages = 0;
    uint32_t m_NextId = 1;
    SCA_OwnerList<SCA_PerfMonCounter> m_Counters;
    std::map<uint32_t, std::string> m_Instances;
};
