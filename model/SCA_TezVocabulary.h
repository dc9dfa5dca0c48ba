// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Limits.h"

// The numbers that travel between the service, its clients and their files, each named once.
// Code and tests use these names; nobody declares a number of its own for them.

// Monitor types (other values are counter monitors of the monitoring core's own kinds).
inline constexpr uint32_t SCA_SRV_MONITOR_COUNTERS = 0;
inline constexpr uint32_t SCA_SRV_MONITOR_PROCESS = 1;

// Report statuses: the status scale of rules, conditions, counters, processes, errors and log
// messages.
inline constexpr uint32_t SCA_REP_STATUS_MESSAGE = 3;
inline constexpr uint32_t SCA_REP_STATUS_WARNING = 4;
inline constexpr uint32_t SCA_REP_STATUS_ERROR = 5;
// A counter whose source failed: it reads as an error but is not counted as one.
inline constexpr uint32_t SCA_REP_STATUS_FAILED = 6;
// No status yet: a monitor or a process that no running task watches.
inline constexpr uint32_t SCA_REP_STATUS_NONE = 7;

// What a task's GetStatus tells the clients (and the clients show), first rule that applies:
// paused, a counter in error (or a failed start), a counter in warning, running, stopped,
// otherwise idle. A monitor without a task shows SCA_TASK_STATUS_IDLE.
inline constexpr uint32_t SCA_TASK_STATUS_PAUSED = 8;
inline constexpr uint32_t SCA_TASK_STATUS_ERROR = 5;
inline constexpr uint32_t SCA_TASK_STATUS_WARNING = 4;
inline constexpr uint32_t SCA_TASK_STATUS_RUNNING = 9;
inline constexpr uint32_t SCA_TASK_STATUS_STOPPED = 1;
inline constexpr uint32_t SCA_TASK_STATUS_IDLE = 7;

// Counter types that code picks by number, named as the counter vocabulary names them
// (model/SCA_TezCounterMeta.cpp checks each name against its row when it compiles).
inline constexpr uint32_t SCA_COUNTER_CPU_USAGE = 1;
inline constexpr uint32_t SCA_COUNTER_CPU_USAGE_USER = 2;
inline constexpr uint32_t SCA_COUNTER_CPU_USAGE_SYSTEM = 3;
inline constexpr uint32_t SCA_COUNTER_MEMORY_USAGE = 4;
inline constexpr uint32_t SCA_COUNTER_MEMORY_FREE = 5;
inline constexpr uint32_t SCA_COUNTER_DISK_ACTIVITY = 7;
inline constexpr uint32_t SCA_COUNTER_DISK_TRANSFER_WRITE = 12;
inline constexpr uint32_t SCA_COUNTER_OS_TOTAL_PROCESSES = 38;
inline constexpr uint32_t SCA_COUNTER_OS_TOTAL_THREADS = 39;
inline constexpr uint32_t SCA_COUNTER_PROCESS_CPU_USAGE = 43;
inline constexpr uint32_t SCA_COUNTER_PROCESS_CPU_USER = 44;
inline constexpr uint32_t SCA_COUNTER_PROCESS_CPU_SYSTEM = 45;
inline constexpr uint32_t SCA_COUNTER_PROCESS_MEM_USED = 46;
inline constexpr uint32_t SCA_COUNTER_PROCESS_HANDLES = 47;
inline constexpr uint32_t SCA_COUNTER_PROCESS_THREADS = 48;
inline constexpr uint32_t SCA_COUNTER_PROCESS_DATA_RATE = 51;
inline constexpr uint32_t SCA_COUNTER_PROCESS_DATA_IOPS = 52;
inline constexpr uint32_t SCA_COUNTER_PROCESS_READ_RATE = 53;
inline constexpr uint32_t SCA_COUNTER_PROCESS_READ_IOPS = 54;
inline constexpr uint32_t SCA_COUNTER_PROCESS_WRITE_RATE = 55;
inline constexpr uint32_t SCA_COUNTER_PROCESS_WRITE_IOPS = 56;
inline constexpr uint32_t SCA_COUNTER_PROCESS_NPP_USED = 87;
inline constexpr uint32_t SCA_COUNTER_PROCESS_PAGE_FAULT_RATE = 114;
inline constexpr uint32_t SCA_COUNTER_PROCESS_ID = 245;
inline constexpr uint32_t SCA_COUNTER_PROCESS_TIME = 246;
inline constexpr uint32_t SCA_COUNTER_PROCESS_PARENT_ID = 247;
