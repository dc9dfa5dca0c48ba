// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// The status table that a counter monitor's manager and a process monitor show: six rows,
// "Status", "Time", "Counters", "Errors", "Warnings", "Memory".

// The rows, in order.
enum : uint32_t {
    SCA_TEZ_STATUS_ROW_STATE,
    SCA_TEZ_STATUS_ROW_TIME,
    SCA_TEZ_STATUS_ROW_COUNTERS,
    SCA_TEZ_STATUS_ROW_ERRORS,
    SCA_TEZ_STATUS_ROW_WARNINGS,
    SCA_TEZ_STATUS_ROW_MEMORY,
    SCA_TEZ_STATUS_ROWS
};

// The name of a row; "Invalid Status" outside the table.
const char* SCA_TezGetStatusName(uint32_t index);
// The icon of every row.
const char* SCA_TezGetStatusIcon(uint32_t index);

// What the rows show.
struct tagSCA_TEZ_STATUS_VALUES {
    uint32_t ProcessStatus; // run state
    uint64_t ProcessTime;   // run time, 100-ns units
    uint32_t Counters;
    uint32_t Errors;
    uint32_t Warnings;
    uint64_t MemoryBytes;
};

// Empties buf, then writes the row's value: the run-state text, the run time, the three counts
// in decimal, the memory for people. 1 for rows 0-5; any other index writes "INV" and answers
// 0. Bounded by size; a null buf or a size of 0 writes nothing (and answers 0).
int SCA_TezWriteStatusValue(uint32_t index, const tagSCA_TEZ_STATUS_VALUES& values, char* buf,
                            uint32_t size);
