#pragma once

#include <cstdint>

#include "containers/SCA_List.h"
#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Object.h"
#include "model/SCA_DynLib.h"
#include "model/SCA_PerfMonCounter.h"

// The performance-counter collector: the counters it samples (which it owns), the library it
// reads them through and the query they belong to. Not copyable: it owns its counters and its
// library.
class SCA_PerfMonitor : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_PerfMonitor() { SetConstructed(); }
    ~SCA_PerfMonitor() override;
    SCA_PerfMonitor(const SCA_PerfMonitor&) = delete;
    SCA_PerfMonitor& operator=(const SCA_PerfMonitor&) = delete;

    // 1 once the query that samples the counters exists.
    int IsQueryInitialized() const { return m_Query != nullptr ? 1 : 0; }
    int IsPdhLibLoaded() const { return m_PdhLibLoaded; }
    // Whether the library offers the function that adds a counter; both ask the same.
    int IsAddCounterFuncSet() const { return m_AddCounterFunc != nullptr ? 1 : 0; }
    int IsAddEnglishCounterAvailable() const { return IsAddCounterFuncSet(); }
    int GetVerboseMessages() const { return m_VerboseMessages; }
    void SetVerboseMessages(int verbose) { m_VerboseMessages = verbose; }

    SCA_List<SCA_PerfMonCounter*>* GetCounterList() { return &m_CounterList; }
    // The counter of the list item with that id; 0 with *counter untouched when there is none.
    int GetCounter(uint32_t id, SCA_PerfMonCounter** counter) const {
        return m_CounterList.GetItem(id, counter);
    }

private:
    void* m_Query = nullptr;
    SCA_DynLib m_CounterLib;
    int m_PdhLibLoaded = 0;
    void* m_AddCounterFunc = nullptr;
    int m_VerboseMessages = 0;
    SCA_List<SCA_PerfMonCounter*> m_CounterList;
};
