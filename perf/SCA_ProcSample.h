// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>

#include "perf/SCA_ProcParser.h"

// What one reading takes of one process: its stat, and what the optional files tell (another
// user's io and fd folder are closed to an unprivileged reader, so those may be missing).
struct tagSCA_PROC_SAMPLE {
    tagSCA_PID_STAT Stat;
    std::optional<tagSCA_PID_IO> Io;
    std::optional<uint32_t> Handles; // open descriptors
    std::optional<uint32_t> Uid;     // the owner
};

// The figures of one process as every monitor shows them: gauges from one reading, shares and
// rates from two. A figure without a value is "not available" (a file that could not be read,
// no earlier reading, a counter that went backwards), never 0.
struct tagSCA_PROC_FIGURES {
    // Shares of the whole computer's processor time, in percent.
    std::optional<double> Cpu;
    std::optional<double> CpuUser;
    std::optional<double> CpuSystem;
    std::optional<double> Memory; // resident bytes
    std::optional<double> Threads;
    std::optional<double> Handles;
    // Per second: bytes and calls through read and write, and page faults.
    std::optional<double> ReadRate;
    std::optional<double> WriteRate;
    std::optional<double> DataRate;
    std::optional<double> ReadIops;
    std::optional<double> WriteIops;
    std::optional<double> DataIops;
    std::optional<double> FaultRate;
};
