// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "libtez/SCA_KorvantaInterface.h"

// One process as the process monitor window shows it.
struct SCA_ProcessStatusRecord {
    char Name[256] = "";
    uint32_t ProcessId = 0;
    uint32_t InstanceCount = 0;
    uint32_t Status = 0;
    uint32_t RepStatus = 0;
    uint32_t Errors = 0;
    uint32_t Warnings = 0;
    double CpuUsage = 0.0;
    double MemoryUsage = 0.0;
    double Threads = 0.0;
    double Handles = 0.0;
    // Bit n: measure n (CPU, memory, threads, handles) was sent.
    uint32_t MeasureValid = 0;
};

struct SCA_ProcessTotals {
    uint32_t Instances = 0;
    uint32_t Threads = 0;
    uint32_t Handles = 0;
    double Memory = 0.0;
    uint32_t Errors = 0;
    uint32_t Warnings = 0;
};

// The sort modes of the process list: even ascending, odd descending.
enum : uint32_t {
    SCA_PROC_SORT_NAME = 0,
    SCA_PROC_SORT_CPU = 2,
    SCA_PROC_SORT_MEMORY = 4,
    SCA_PROC_SORT_THREADS = 6,
    SCA_PROC_SORT_HANDLES = 8,
    SCA_PROC_SORT_INSTANCES = 12,
    SCA_PROC_SORT_LAST = 13,
};

// The columns of the process view.
enum : int {
    SCA_PROC_COL_ICON = 0,
    SCA_PROC_COL_NAME,
    SCA_PROC_COL_INSTANCES,
    SCA_PROC_COL_CPU,
    SCA_PROC_COL_MEMORY,
    SCA_PROC_COL_THREADS,
    SCA_PROC_COL_HANDLES,
    SCA_PROC_COL_ERRORS,
    SCA_PROC_COL_WARNINGS,
    SCA_PROC_COLUMNS,
};

// The sort order the header clicks choose: the first click on a column sorts it the way a
// user looks for the biggest (names A to Z), the next one turns the order.
struct SCA_ProcessSortState {
    uint32_t Mode = SCA_PROC_SORT_MEMORY + 1;
    int Column = SCA_PROC_COL_MEMORY;

    // A click on column; 0 when it changes nothing (the icon column).
    int Click(int column);
    bool IsAscending() const { return Mode % 2 == 0; }
};

// The processes of the last poll that could be read, their totals and their order. The records
// are replaced whole or not at all: a list that cannot be read to its end leaves the last good
// one, so the count never runs ahead of the records.
class SCA_ProcessStatusRecords {
public:
    // Takes a poll's list. A reply without a list changes nothing; an empty list empties. 0
    // (reported, with the process and the token that failed) when a row could not be read.
    int Parse(const SCA_KorvantaInterface::ProcessListStatus& status);
    // Orders the records by mode; 0 (reported) for a mode that is none, the order unchanged.
    int Sort(uint32_t mode);

    size_t Count() const { return m_Records.size(); }
    // The records in sort order.
    const SCA_ProcessStatusRecord& At(size_t index) const { return m_Records[m_Order[index]]; }
    // The record of a process id, or null.
    const SCA_ProcessStatusRecord* Find(uint32_t processId) const;
    const SCA_ProcessTotals& Totals() const { return m_Totals; }

    static int IsValidSortMode(uint32_t mode);
    // Names compare by their upper-case bytes, as unsigned values.
    static int CompareNames(const char* left, const char* right);

private:
    std::vector<SCA_ProcessStatusRecord> m_Records;
    std::vector<uint32_t> m_Order;
    // Record index by process id.
    std::unordered_map<uint32_t, uint32_t> m_Index;
    SCA_ProcessTotals m_Totals;
};
