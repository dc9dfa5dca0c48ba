// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

class SCA_ConfigObj;
class SCA_PerfMonitor;
class SCA_PerfSnapshot;

#include <memory>

// What every inventory list shares: the computer check, the exclude list, and the items as
// fields named by the item with its number as value.
class SCA_PerfInventory {
public:
    // Empties list and checks that perfMonitor serves computer; 0 with *error otherwise.
    static int Begin(const char* operation, SCA_PerfMonitor* perfMonitor, const char* computer,
                     SCA_ConfigObj* list, uint32_t* error);
    // A fresh snapshot of perfMonitor's roots (Begin succeeded).
    static std::shared_ptr<SCA_PerfSnapshot> Snapshot(SCA_PerfMonitor* perfMonitor);
    // Whether the exclude list (may be null) names the item.
    static bool IsExcluded(SCA_ConfigObj* exclude, const char* name);
    // Adds the item once, numbered by its position; 0 when the name cannot be a field name.
    static int Add(SCA_ConfigObj* list, const char* name);
    // For the categories that Linux has nothing of: 0 with SCA_PERF_ERROR_NOT_SUPPORTED.
    static int NotSupported(const char* operation, SCA_PerfMonitor* perfMonitor,
                            const char* computer, SCA_ConfigObj* list, uint32_t* error);
};
