// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "model/SCA_OwnerList.h"
#include "model/SCA_TezProcess.h"

class SCA_ConfigObj;

// The processes a process monitor watches, each under its process id and named by its process
// name, with the times of the watch and the title its reports carry. The list owns its
// processes.
class SCA_TezProcessList : public SCA_OwnerList<SCA_TezProcess> {
public:
    SCA_HEAP_OPERATORS

    SCA_TezProcessList() = default;
    ~SCA_TezProcessList() override = default;

    uint32_t GetProcessCount() const { return Count(); }
    uint64_t GetAbsStartTime() const { return m_AbsStartTime; }
    void SetAbsStartTime(uint64_t time) { m_AbsStartTime = time; }
    uint64_t GetLastUpdateTime() const { return m_LastUpdateTime; }
    void SetLastUpdateTime(uint64_t time) { m_LastUpdateTime = time; }
    const char* GetReportTitle() const { return m_ReportTitle; }
    // Cut on a UTF-8 boundary when it does not fit.
    void SetReportTitle(const char* title);

    // Appends process (owned from then on) under its process id, named by its process name.
    // 0 when it cannot be linked in; the caller then still owns it.
    int AddProcess(SCA_TezProcess* process);
    int IsProcessExists(uint32_t id) const { return GetListItem(id) != nullptr ? 1 : 0; }
    int GetProcess(uint32_t id, SCA_TezProcess** process) const { return GetItem(id, process); }
    int GetProcess(const char* name, SCA_TezProcess** process) const {
        return GetItem(name, process);
    }

    // The counters kept for all processes together.
    uint32_t GetNumOfCounters() const;
    // An estimate of the bytes the list and its records take.
    uint64_t CalcMemoryUsage() const;

    // The list's times and title as fields, then one child object per process in order, each
    // with its details when details is nonzero (see SCA_TezProcess::Serialize).
    int Serialize(SCA_ConfigObj* object, uint32_t details) const;
    // Replaces the processes with those of every child object and takes the times and title
    // of object. On failure the list holds the processes read so far.
    int Deserialize(SCA_ConfigObj* object);

private:
    uint64_t m_AbsStartTime = 0;
    uint64_t m_LastUpdateTime = 0;
    char m_ReportTitle[256] = "";
};
