#pragma once

#include <cstdint>

// What a task's GetStatus tells the clients (and the clients show), first rule that applies:
// paused, a counter in error (or a failed start), a counter in warning, running, stopped, otherwise
// idle. A monitor without a task shows SCA_TASK_STATUS_IDLE.
inline constexpr uint32_t SCA_TASK_STATUS_PAUSED = 8;
inline constexpr uint32_t SCA_TASK_STATUS_ERROR = 5;
inline constexpr uint32_t SCA_TASK_STATUS_WARNING = 4;
inline constexpr uint32_t SCA_TASK_STATUS_RUNNING = 9;
inline constexpr uint32_t SCA_TASK_STATUS_STOPPED = 1;
inline constexpr uint32_t SCA_TASK_STATUS_IDLE = 7;
