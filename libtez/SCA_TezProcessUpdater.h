// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "libtez/SCA_TezProcCounters.h"
#include "perf/SCA_ProcScanner.h"

class SCA_ConfigObj;
class SCA_TezProcess;
class SCA_TezProcessList;
class SCA_TezProcessLog;
class SCA_TezProcessPid;

// Carries one scan into the process monitor's records: processes grouped by (cleaned) name,
// each with its running pids and instances, the statistics of every pid, the nine counters of
// the name (the sum over its instances, as a counter monitor of that name sums them: not
// available when an instance's figure is, new instances adding no rate yet) and the log of
// starts and ends. Records get ids of
// their own, never reused while the monitor runs, so a query for a record that is gone
// finds nothing rather than another process.
class SCA_TezProcessUpdater {
public:
    SCA_TezProcessUpdater(SCA_TezProcessList* list, SCA_TezProcessLog* log)
        : m_List(list), m_Log(log) {}

    // Applies the scanner's last pass at absTime (100-ns units); names in excludeList (field
    // names) are left out; the log keeps at most logLength items. Answers 1 when processes
    // came or went from the list.
    int Apply(SCA_ProcScanner* scanner, uint64_t absTime, SCA_ConfigObj* excludeList,
              uint32_t logLength);
    // Forgets which records the live pids are under, after the list was emptied.
    void Clear() { m_Records.clear(); }
    // The sum of the counters of record id in the last pass.
    const tagSCA_TEZ_PROC_VALUES* GetSums(uint32_t processId) const;
    // Called with the id of every record removed.
    template <typename F>
    void ForEachRemoved(F&& f) const {
        for (uint32_t id : m_Removed) {
            f(id);
        }
    }

private:
    // The records a live pid is under, so that a pass need not search the lists by name and
    // pid for every process: set when the pid record is made, gone when it is destroyed.
    struct PidRecords {
        SCA_TezProcess* Process;
        SCA_TezProcessPid* Pid;
    };

    void Ended(SCA_ProcScanner* scanner, const tagSCA_PROC_ENTRY& entry,
               SCA_ConfigObj* excludeList);
    void Live(SCA_ProcScanner* scanner, const tagSCA_PROC_ENTRY& entry, SCA_ConfigObj* excludeList);
    // The records of entry under name, made when they are not there yet; false when they
    // cannot be made.
    bool RecordsOf(SCA_ProcScanner* scanner, const tagSCA_PROC_ENTRY& entry, const char* name,
                   PidRecords* records);
    SCA_TezProcess* FindOrAdd(const char* name);
    void AddPid(SCA_ProcScanner* scanner, SCA_TezProcess* process, const tagSCA_PROC_ENTRY& entry);
    void Log(uint32_t opCode, const tagSCA_PROC_ENTRY& entry, const char* name, const char* user,
             uint64_t runSeconds);
    void UpdateCounters(SCA_TezProcess* process, const tagSCA_TEZ_PROC_VALUES& sums);
    void TrimLog(uint32_t logLength);

    SCA_TezProcessList* m_List;
    SCA_TezProcessLog* m_Log;
    uint32_t m_NextId = 1;
    uint64_t m_Now = 0;
    bool m_Changed = false;
    std::unordered_map<uint32_t, tagSCA_TEZ_PROC_VALUES> m_Sums;
    // The slots of a record that an instance could not give this pass.
    std::unordered_map<uint32_t, uint32_t> m_Unknown;
    std::vector<uint32_t> m_Removed;
    std::unordered_map<uint32_t, PidRecords> m_Records; // by pid
};
