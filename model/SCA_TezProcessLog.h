// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Event.h"
#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Limits.h"
#include "model/SCA_OwnerList.h"
#include "model/SCA_TezProcessLogItem.h"

class SCA_ConfigObj;
class SCA_TezProcess;
class SCA_TezProcessPid;

// Called for every item added to the log.
using SCA_TezProcessLogCallback = int (*)(SCA_TezProcessLogItem* item, void* userData);
// Called when a process starts: the time, the process and its pid, and a second process and pid
// (the parent, when known; else null).
using SCA_TezProcessStartCallback = int (*)(uint64_t absTime, SCA_TezProcess* process,
                                            SCA_TezProcessPid* pid, SCA_TezProcess* second,
                                            SCA_TezProcessPid* secondPid, void* userData);
// Called when a process ends.
using SCA_TezProcessStopCallback = int (*)(uint64_t absTime, SCA_TezProcess* process,
                                           SCA_TezProcessPid* pid, void* userData);

// The event log of a process monitor: process starts and ends, oldest first, each under its
// item id, with the counts of processes detected and completed and a status id that changes
// with every item. The log owns its items. Its ready event (automatic, signalled at first)
// serves as the lock of the log: wait on it, use the log, set it again.
class SCA_TezProcessLog : public SCA_OwnerList<SCA_TezProcessLogItem> {
public:
    SCA_HEAP_OPERATORS

    // All ones: AddItem gives the next id; Serialize starts at the first item.

    // The construction flag is 0 when the ready event cannot be made.
    SCA_TezProcessLog();
    ~SCA_TezProcessLog() override = default;

    uint64_t GetAbsStartTime() const { return m_AbsStartTime; }
    void SetAbsStartTime(uint64_t time) { m_AbsStartTime = time; }
    uint64_t GetLastUpdateTime() const { return m_LastUpdateTime; }
    void SetLastUpdateTime(uint64_t time) { m_LastUpdateTime = time; }
    uint32_t GetDetectedProcesses() const { return m_DetectedProcesses; }
    uint32_t GetCompletedProcesses() const { return m_CompletedProcesses; }
    uint32_t GetStatusId() const { return m_StatusId; }
    SCA_Event* GetReady() { return &m_Ready; }

    void SetCallback(SCA_TezProcessLogCallback callback, void* userData);
    void SetStartCallback(SCA_TezProcessStartCallback callback, void* userData);
    void SetStopCallback(SCA_TezProcessStopCallback callback, void* userData);
    // Pass a start or end on to its callback; 1 when none is set, else the callback's answer.
    int OnProcessStart(uint64_t absTime, SCA_TezProcess* process, SCA_TezProcessPid* pid,
                       SCA_TezProcess* second, SCA_TezProcessPid* secondPid);
    int OnProcessStop(uint64_t absTime, SCA_TezProcess* process, SCA_TezProcessPid* pid);

    // Appends item (owned from then on) under its item id; an item id of all ones is replaced
    // by the next id, one past the highest the log has held. A start counts as detected, an
    // end as completed; the status id moves on and the item callback sees the item. 0 when it
    // cannot be linked in; the caller then still owns it.
    int AddItem(SCA_TezProcessLogItem* item);

    // The log's times, counts and status id as fields, then one child object per item whose
    // id is after fromId (all ones: every item), in order.
    int Serialize(uint32_t fromId, SCA_ConfigObj* object) const;
    // Replaces the items with those of every child object and takes the times, counts and
    // status id of object. On failure the log holds the items read so far.
    int Deserialize(SCA_ConfigObj* object);

private:
    uint64_t m_AbsStartTime = 0;
    uint64_t m_LastUpdateTime = 0;
    uint32_t m_DetectedProcesses = 0;
    uint32_t m_CompletedProcesses = 0;
    uint32_t m_StatusId = 0;
    SCA_TezProcessLogCallback m_ItemCallback = nullptr;
    void* m_ItemUserData = nullptr;
    SCA_TezProcessStartCallback m_StartCallback = nullptr;
    void* m_StartUserData = nullptr;
    SCA_TezProcessStopCallback m_StopCallback = nullptr;
    void* m_StopUserData = nullptr;
    SCA_Event m_Ready;
};
