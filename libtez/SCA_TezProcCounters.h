// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "model/SCA_TezVocabulary.h"
#include "perf/SCA_ProcSample.h"

// The nine counters kept for every process, in the order of the process rule types: rule type
// n measures the counter in slot n.
enum : uint32_t {
    SCA_PROC_CPU = 0,
    SCA_PROC_MEMORY,
    SCA_PROC_THREADS,
    SCA_PROC_HANDLES,
    SCA_PROC_DATA_RATE,
    SCA_PROC_READ_RATE,
    SCA_PROC_WRITE_RATE,
    SCA_PROC_PAGE_FAULT_RATE,
    SCA_PROC_NON_PAGED,
    SCA_PROC_COUNTERS
};

// The counter type of each slot.
inline constexpr uint32_t SCA_TEZ_PROC_COUNTER_TYPES[SCA_PROC_COUNTERS] = {
    SCA_COUNTER_PROCESS_CPU_USAGE,  SCA_COUNTER_PROCESS_MEM_USED,
    SCA_COUNTER_PROCESS_THREADS,    SCA_COUNTER_PROCESS_HANDLES,
    SCA_COUNTER_PROCESS_DATA_RATE,  SCA_COUNTER_PROCESS_READ_RATE,
    SCA_COUNTER_PROCESS_WRITE_RATE, SCA_COUNTER_PROCESS_PAGE_FAULT_RATE,
    SCA_COUNTER_PROCESS_NPP_USED};

// One value per slot; a slot without its bit in Valid is "not available" (a file that could
// not be read, no earlier sample to take a rate from, no Linux source), never 0.
struct tagSCA_TEZ_PROC_VALUES {
    double Value[SCA_PROC_COUNTERS] = {};
    uint32_t Valid = 0;

    bool Has(uint32_t slot) const { return (Valid & (1u << slot)) != 0; }
    void Set(uint32_t slot, double value) {
        Value[slot] = value;
        Valid |= 1u << slot;
    }
    // Adds value into slot, which becomes available.
    void Add(uint32_t slot, double value) { Set(slot, (Has(slot) ? Value[slot] : 0.0) + value); }
};

// The slots of a process's figures; the non-paged pool has no Linux source and never a value.
inline tagSCA_TEZ_PROC_VALUES SCA_TezProcValuesOf(const tagSCA_PROC_FIGURES& figures) {
    tagSCA_TEZ_PROC_VALUES values;
    const std::optional<double> tagSCA_PROC_FIGURES::*kSlots[SCA_PROC_NON_PAGED] = {
        &tagSCA_PROC_FIGURES::Cpu,       &tagSCA_PROC_FIGURES::Memory,
        &tagSCA_PROC_FIGURES::Threads,   &tagSCA_PROC_FIGURES::Handles,
        &tagSCA_PROC_FIGURES::DataRate,  &tagSCA_PROC_FIGURES::ReadRate,
        &tagSCA_PROC_FIGURES::WriteRate, &tagSCA_PROC_FIGURES::FaultRate};
    for (uint32_t slot = 0; slot < SCA_PROC_NON_PAGED; ++slot) {
        if (const auto& value = figures.*kSlots[slot]) {
            values.Set(slot, *value);
        }
    }
    return values;
}
