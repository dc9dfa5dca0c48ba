// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Object.h"
#include "model/SCA_OwnerList.h"
#include "model/SCA_TezCounter.h"
#include "model/SCA_TezProcessInst.h"
#include "model/SCA_TezProcessPids.h"

class SCA_ConfigObj;
class SCA_TezProcessInfoSource;
class SCA_TezProcessRule;

// The instances of a process name, named by instance name, and its counters; both own their
// records.
using SCA_TezProcessInstList = SCA_OwnerList<SCA_TezProcessInst>;
using SCA_TezProcessCounters = SCA_OwnerList<SCA_TezCounter>;

// One watched process name of a process monitor: its state, totals, the process ids seen under
// it, its running instances and the counters kept for it. It owns its lists; not copyable.
class SCA_TezProcess : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_TezProcess() { SetConstructed(); }
    ~SCA_TezProcess() override = default;
    SCA_TezProcess(const SCA_TezProcess&) = delete;
    SCA_TezProcess& operator=(const SCA_TezProcess&) = delete;

    void* GetUserData() const { return m_UserData; }
    void SetUserData(void* userData) { m_UserData = userData; }
    uint32_t GetProcessId() const { return m_ProcessId; }
    void SetProcessId(uint32_t id) { m_ProcessId = id; }
    uint32_t GetPidsStatusId() const { return m_PidsStatusId; }
    const char* GetProcessName() const { return m_ProcessName; }
    // Cut on a UTF-8 boundary when it does not fit.
    void SetProcessName(const char* name);
    int IsActive() const { return m_Active; }
    void SetActive(int active) { m_Active = active; }
    uint32_t GetStatus() const { return m_Status; }
    void SetStatus(uint32_t status) { m_Status = status; }
    uint32_t GetRepStatus() const { return m_RepStatus; }
    void SetRepStatus(uint32_t status) { m_RepStatus = status; }
    uint32_t GetTotalErrors() const { return m_TotalErrors; }
    void SetTotalErrors(uint32_t count) { m_TotalErrors = count; }
    uint32_t GetTotalWarnings() const { return m_TotalWarnings; }
    void SetTotalWarnings(uint32_t count) { m_TotalWarnings = count; }
    uint64_t GetStartTime() const { return m_StartTime; }
    void SetStartTime(uint64_t time) { m_StartTime = time; }
    uint64_t GetUpdateTime() const { return m_UpdateTime; }
    void SetUpdateTime(uint64_t time) { m_UpdateTime = time; }
    uint32_t GetErrorActionCount() const { return m_ErrorActionCount; }
    void SetErrorActionCount(uint32_t count) { m_ErrorActionCount = count; }
    uint64_t GetLastActionTime() const { return m_LastActionTime; }
    void SetLastActionTime(uint64_t time) { m_LastActionTime = time; }

    SCA_TezProcessPids* GetPids() { return &m_Pids; }
    SCA_TezProcessInstList* GetInstanceList() { return &m_Instances; }
    SCA_TezProcessCounters* GetDataCounters() { return &m_DataCounters; }

    // The instance count when it was set (nonzero), else the number of instances listed.
    uint32_t GetInstanceCount() const;
    void SetInstanceCount(uint32_t count) { m_InstanceCount = count; }
    // Appends instance (owned from then on) under its id, named by its instance name. 0 when
    // it cannot be linked in; the caller then still owns it.
    int AddInstance(SCA_TezProcessInst* instance);
    // The first instance named exactly name; 0 with *instance untouched when there is none.
    int GetInstance(const char* name, SCA_TezProcessInst** instance) const;

    // Appends counter (owned from then on) under its counter id. 0 when it cannot be linked
    // in; the caller then still owns it.
    int AddDataCounter(SCA_TezCounter* counter);
    // The counter of the list item with that id.
    int GetCounter(uint32_t id, SCA_TezCounter** counter) const;
    // The first counter, from the head, whose counter id is counterId.
    int GetCounterById(uint32_t counterId, SCA_TezCounter** counter) const;

    // "Normal" (1, 3), "Warning" (4), "Error" (5), "Unknown" for any other status.
    const char* GetRepStatusDescr() const;

    // 1 for the counter types kept per process: 43, 46, 47, 48, 51, 53, 55, 87 and 114.
    static int IsProcessCounter(uint32_t counterType);
    // 1 when one of the count rules in rules measures the counter type that rule measures
    // (by rule type: 0 43, 1 46, 2 48, 3 47, 4 51, 5 53, 6 55, 7 114, 8 87; other rule types
    // match nothing). 0 for a null rule or array and for count 0.
    static int IsSimilarRuleSelected(const SCA_TezProcessRule* rule,
                                     const SCA_TezProcessRule* const* rules, uint32_t count);

    // Refreshes the properties of every process id from source (command line, executable,
    // user, start time, parent, priority and nice, state). Ids whose process is gone keep
    // what they had. 0 for a null source.
    int LoadProcessInfo(SCA_TezProcessInfoSource* source);
    // The counters as a counter list would store them (one child per counter with its counter
    // information), for the process window's rows.
    int SerializeCounterList(SCA_ConfigObj* object) const;
    // One value field per counter, named by its counter id in decimal, holding its counter
    // status text (model/SCA_TezCounterStatus.h).
    int GetCountersStatus(SCA_ConfigObj* object) const;
    // The same, and into second the samples of counter counterId taken after since, the newest
    // count of them, as the counter monitors send theirs (an unknown counter: none).
    int GetCountersStatusEx(SCA_ConfigObj* object, uint32_t counterId, uint64_t since,
                            uint32_t count, SCA_ConfigObj* second) const;

    // The fields; with details nonzero also children "Pids", "Instances" and "DataCounters".
    int Serialize(SCA_ConfigObj* object, uint32_t details) const;
    // 0 for a null object, one without "ProcessId", or lists that cannot be read; lists absent
    // from object are left as they are.
    int Deserialize(SCA_ConfigObj* object);

private:
    void* m_UserData = nullptr;
    uint32_t m_ProcessId = 0;
    uint32_t m_PidsStatusId = 0;
    uint32_t m_InstanceCount = 0;
    char m_ProcessName[256] = "";
    int m_Active = 0;
    uint32_t m_Status = 0;
    uint32_t m_RepStatus = 0;
    uint32_t m_TotalErrors = 0;
    uint32_t m_TotalWarnings = 0;
    uint64_t m_StartTime = 0;
    uint64_t m_UpdateTime = 0;
    uint32_t m_ErrorActionCount = 0;
    uint64_t m_LastActionTime = 0;
    SCA_TezProcessPids m_Pids;
    SCA_TezProcessInstList m_Instances;
    SCA_TezProcessCounters m_DataCounters;
};
