#pragma once

#include <cstdint>

// The arithmetic of the process scan, apart from the readers: plain numbers in, plain numbers
// out. Each answers 0 (and leaves *out alone) when there is no sound value: no elapsed time,
// or a counter that went backwards (a reused pid, a wrapped or reset counter).

// The share of the whole computer's CPU time a process took between two samples, in percent:
// its tick delta over the ticks all CPUs offered in the elapsed time.
int SCA_TezCalcCpuShare(uint64_t prevTicks, uint64_t curTicks, double elapsedSeconds,
                        uint32_t ticksPerSecond, uint32_t cpuCount, double* out);
// The rate of a growing counter per second between two samples.
int SCA_TezCalcRate(uint64_t prev, uint64_t cur, double elapsedSeconds, double* out);

struct tagSCA_TEZ_PROC_SAMPLE;
struct tagSCA_TEZ_PROC_VALUES;

// The counter values of one process from its sample and, for the CPU share and the rates,
// its sample of the previous pass (null for a process seen for the first time). Memory,
// threads and handles come from cur alone when its files could be read; the non-paged pool
// has no Linux source and is never available.
void SCA_TezCalcProcValues(const tagSCA_TEZ_PROC_SAMPLE* prev, const tagSCA_TEZ_PROC_SAMPLE& cur,
                           double elapsedSeconds, uint32_t ticksPerSecond, uint32_t cpuCount,
                           tagSCA_TEZ_PROC_VALUES* values);
