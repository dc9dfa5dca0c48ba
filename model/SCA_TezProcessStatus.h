#pragma once

#include <cstdint>

// The text of a run state: "Failed" (0), "Stopped" (1), "Idle" (10), "Running" (11), "Paused"
// (12), "Unknown" for any other value. Static texts.
const char* SCA_TezGetProcessStatusDescr(uint32_t processStatus);
