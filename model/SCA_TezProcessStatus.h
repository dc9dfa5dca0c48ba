// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// Run states of tasks, jobs and monitoring threads.
inline constexpr uint32_t SCA_PROCESS_FAILED = 0;
inline constexpr uint32_t SCA_PROCESS_STOPPED = 1;
inline constexpr uint32_t SCA_PROCESS_IDLE = 10;
inline constexpr uint32_t SCA_PROCESS_RUNNING = 11;
inline constexpr uint32_t SCA_PROCESS_PAUSED = 12;
// Two further states that peers may send and that no operation of ours sets: a job's 17 reads
// as a warning through the default report status (an error through the self-test's), and a
// task's 22 is counted with the stopped ones.
inline constexpr uint32_t SCA_PROCESS_PENDING = 17;
inline constexpr uint32_t SCA_PROCESS_ENDED = 22;

// The text of a run state: "Failed", "Stopped", "Idle", "Running", "Paused", "Unknown" for any
// other value. Static texts.
const char* SCA_TezGetProcessStatusDescr(uint32_t processStatus);
// The 16-pixel icon of a run state (":/images/play_16px.png", ...); the idle icon for any value
// without one of its own.
const char* SCA_TezGetProcessStatusIcon(uint32_t processStatus);
