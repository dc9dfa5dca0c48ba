// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Limits.h"

// What the system knows about each counter type: its symbolic name and description, the unit of
// its values, the inventory that lists its instances, and whether it measures processor time.
// Counter types run from 1 to SCA_TEZ_MAX_COUNTER_TYPE; every one of them is described.

inline constexpr uint32_t SCA_TEZ_MAX_COUNTER_TYPE = 374;

// Units of counter values (SCA_TezCounterInfo::GetUnits).
inline constexpr uint32_t SCA_TEZ_UNITS_COUNT = 0;         // a plain number
inline constexpr uint32_t SCA_TEZ_UNITS_PERCENT = 1;       // 0 to 100
inline constexpr uint32_t SCA_TEZ_UNITS_BYTES = 2;         // a size
inline constexpr uint32_t SCA_TEZ_UNITS_BYTES_PER_SEC = 3; // a data rate
inline constexpr uint32_t SCA_TEZ_UNITS_PER_SEC = 4;       // events per second
inline constexpr uint32_t SCA_TEZ_UNITS_MSEC = 5;          // a latency
inline constexpr uint32_t SCA_TEZ_UNITS_MHZ = 6;           // a clock frequency
inline constexpr uint32_t SCA_TEZ_UNITS_SECONDS = 7;       // an elapsed time
inline constexpr uint32_t SCA_TEZ_UNITS_BITS_PER_SEC = 8;  // a link speed

// Instance groups: the inventory from which the instances of a counter are chosen.
inline constexpr uint32_t SCA_TEZ_GROUP_CPU = 0;
inline constexpr uint32_t SCA_TEZ_GROUP_CPU_FREQ = 1;
inline constexpr uint32_t SCA_TEZ_GROUP_MEMORY = 2;      // one instance: the whole system memory
inline constexpr uint32_t SCA_TEZ_GROUP_SYSTEM = 3;      // one instance: the operating system
inline constexpr uint32_t SCA_TEZ_GROUP_FILE_SYSTEM = 4; // one instance: all file systems
inline constexpr uint32_t SCA_TEZ_GROUP_DISK = 5;        // logical disks
inline constexpr uint32_t SCA_TEZ_GROUP_NIC = 6;
inline constexpr uint32_t SCA_TEZ_GROUP_PROTOCOL = 7; // one instance: the network protocols
inline constexpr uint32_t SCA_TEZ_GROUP_PROCESS = 8;
inline constexpr uint32_t SCA_TEZ_GROUP_USB = 9;
inline constexpr uint32_t SCA_TEZ_GROUP_SHARE = 10;
inline constexpr uint32_t SCA_TEZ_GROUP_DATABASE = 11;
inline constexpr uint32_t SCA_TEZ_GROUP_WEB_SITE = 12;
inline constexpr uint32_t SCA_TEZ_GROUP_ISCSI = 13;
inline constexpr uint32_t SCA_TEZ_GROUP_PHYSICAL_DISK = 14;
inline constexpr uint32_t SCA_TEZ_GROUP_PRINTER = 15;
inline constexpr uint32_t SCA_TEZ_GROUP_NET_FILTER = 16;     // one instance: the filtering platform
inline constexpr uint32_t SCA_TEZ_GROUP_DIRECTORY = 17;      // one instance: the directory service
inline constexpr uint32_t SCA_TEZ_GROUP_NONE = SCA_ALL_ONES; // not a counter type

// Flags of a counter type.
// The name and description belong to the symbolic vocabulary (SCA_PerfMonCounter).
inline constexpr uint32_t SCA_TEZ_COUNTER_VOCABULARY = 0x1;
// The counter measures processor time.
inline constexpr uint32_t SCA_TEZ_COUNTER_CPU_USAGE = 0x2;

struct tagSCA_TEZ_COUNTER_META {
    const char* Name;        // symbolic name; null when the type has none
    const char* Description; // display text
    uint32_t Units;          // SCA_TEZ_UNITS_*
    uint32_t Group;          // SCA_TEZ_GROUP_*
    uint32_t Flags;          // SCA_TEZ_COUNTER_*
};

// The entry of a counter type, or null outside 1..SCA_TEZ_MAX_COUNTER_TYPE. Constant time; the
// texts are static and live for the whole program.
const tagSCA_TEZ_COUNTER_META* SCA_TezGetCounterMeta(uint32_t counterType);

// The display description; "Unknown Counter" for a type outside the table.
const char* SCA_TezGetCounterDescr(uint32_t counterType);
// The unit of the values; SCA_TEZ_UNITS_COUNT for a type outside the table.
uint32_t SCA_TezGetCounterUnits(uint32_t counterType);
// The instance group; SCA_TEZ_GROUP_NONE for a type outside the table.
uint32_t SCA_TezGetCounterGroup(uint32_t counterType);

// The 16-pixel icon of the counter type's category (":/images/cpu_16px.png", ...); a general
// icon for a type outside the table.
const char* SCA_TezGetCounterIcon(uint32_t counterType);

// Writes value as the counter type shows it, with its unit ("45.3%", "1.50 MB/s", "12"); a
// value that is not a finite number is shown as "---". flags is reserved (0). Returns 1, or 0
// when buf is null, size is 0, or the text had to be cut (it is still terminated).
int SCA_TezBuildValueString(uint32_t counterType, double value, char* buf, uint32_t size,
                            uint32_t flags);

// Writes the instance of a counter as the counter views show it: "All" for an empty instance of
// a counter type whose group lists instances (an empty instance measures them together), an
// empty text for a group of one instance, "CPU 2" for a processor's number, otherwise the
// instance as it stands. Returns 1, or 0 when buf is null, size is 0, or the text had to be cut
// (on a character boundary; it is still terminated).
int SCA_TezBuildInstanceDescr(uint32_t counterType, const char* instance, char* buf, uint32_t size);
