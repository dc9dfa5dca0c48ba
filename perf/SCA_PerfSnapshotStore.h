// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>

#include "perf/SCA_PerfRoots.h"
#include "perf/SCA_PerfSnapshot.h"

// Hands every monitor that samples in the same tick the same snapshot, so each file is read
// and parsed once per tick however many monitors sample. Safe to share between threads.
class SCA_PerfSnapshotStore {
public:
    explicit SCA_PerfSnapshotStore(tagSCA_PERF_ROOTS roots) : m_Roots(std::move(roots)) {}

    // The snapshot of tick, made by the first caller of that tick and taken at monotonicNs.
    std::shared_ptr<SCA_PerfSnapshot> GetSnapshot(uint64_t tick, uint64_t monotonicNs);
    std::shared_ptr<SCA_PerfSnapshot> GetSnapshot(uint64_t tick) {
        return GetSnapshot(tick, GetMonotonicNs());
    }
    // A snapshot of its own, for one-off questions (inventories) outside the ticks.
    std::shared_ptr<SCA_PerfSnapshot> MakeSnapshot() const;

    tagSCA_PERF_ROOTS GetRoots() const;
    // Later snapshots read from these roots (tests move between captured samples this way).
    void SetRoots(tagSCA_PERF_ROOTS roots);
    // How many tick snapshots were made.
    uint64_t GetSnapshotCount() const;

    // The store of the real /proc and /sys that every monitor of the process shares.
    static std::shared_ptr<SCA_PerfSnapshotStore> GetDefault();
    static uint64_t GetMonotonicNs();

private:
    mutable std::mutex m_Lock;
    tagSCA_PERF_ROOTS m_Roots;
    std::shared_ptr<SCA_PerfSnapshot> m_Current;
    uint64_t m_SnapshotCount = 0;
};
