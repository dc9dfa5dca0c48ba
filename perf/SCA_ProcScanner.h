// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "perf/SCA_ProcReader.h"
#include "perf/SCA_ProcSample.h"

// One live process as the scan knows it: its latest sample and its figures from that sample
// and the one before.
struct tagSCA_PROC_ENTRY {
    tagSCA_PROC_SAMPLE Sample;
    tagSCA_PROC_FIGURES Figures;
    bool IsNew = false; // first seen in this pass
};

// One pass over /proc per call: every process (kernel threads left out) with its figures, the
// processes first seen and those gone since the previous pass. A process is the pair (pid,
// start time), so a pid taken again by another program is an end and a start. Shares are of
// the computer's processor ticks between the two passes, read once per pass. The entry vectors
// and the index are reused from pass to pass.
class SCA_ProcScanner {
public:
    explicit SCA_ProcScanner(const char* root = "/proc");

    SCA_ProcReader* GetReader() { return &m_Reader; }
    // Clock ticks per second of the start times (0 takes the system's own).
    void SetTicksPerSecond(uint32_t ticks);
    uint32_t GetTicksPerSecond() const { return m_TicksPerSecond; }

    // One pass at monotonicNs (a monotonic clock in nanoseconds). 0 when the root cannot be
    // listed; the previous pass then stays.
    int Scan(uint64_t monotonicNs);
    // Forgets every process: the next pass sees all as new, without rates.
    void Reset();

    const std::vector<tagSCA_PROC_ENTRY>& GetCurrent() const { return m_Current; }
    // The processes of the previous pass that this pass did not find, with their last figures.
    const std::vector<tagSCA_PROC_ENTRY>& GetEnded() const { return m_Ended; }
    // The live process with that pid, or null.
    const tagSCA_PROC_ENTRY* FindLive(uint32_t pid) const;
    // 1 after the first pass since construction or Reset: its processes were already running.
    int IsFirstPass() const { return m_Passes == 1 ? 1 : 0; }

private:
    // Where a process of a pass sits in its entries, sorted by pid (unique within a pass):
    // looked up by binary search, and refilled each pass without allocating.
    struct Position {
        uint32_t Pid;
        uint64_t StartTicks;
        size_t Entry;
        bool operator<(const Position& other) const { return Pid < other.Pid; }
    };
    using Index = std::vector<Position>;

    static const Position* Find(const Index& index, uint32_t pid);
    void ReadAll(std::optional<double> seconds, std::optional<uint64_t> machineTicks);
    void CollectEnded();

    SCA_ProcReader m_Reader;
    uint32_t m_TicksPerSecond;
    std::vector<uint32_t> m_Pids;
    std::vector<tagSCA_PROC_ENTRY> m_Current;
    std::vector<tagSCA_PROC_ENTRY> m_Previous;
    std::vector<tagSCA_PROC_ENTRY> m_Ended;
    std::vector<bool> m_Matched;
    Index m_Index;
    Index m_PreviousIndex;
    uint64_t m_LastNs = 0;
    std::optional<uint64_t> m_LastMachineTicks;
    uint32_t m_Passes = 0;
};
