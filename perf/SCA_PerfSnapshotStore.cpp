// SPDX-License-Identifier: MIT
#include "perf/SCA_PerfSnapshotStore.h"

#include "libmor/SCA_Clock.h"

std::shared_ptr<SCA_PerfSnapshot> SCA_PerfSnapshotStore::GetSnapshot(uint64_t tick,
                                                                     uint64_t monotonicNs) {
    std::lock_guard<std::mutex> guard(m_Lock);
    if (m_Current == nullptr || m_Current->GetTick() != tick) {
        m_Current = std::make_shared<SCA_PerfSnapshot>(m_Roots, tick, monotonicNs);
        ++m_SnapshotCount;
    }
    return m_Current;
}

std::shared_ptr<SCA_PerfSnapshot> SCA_PerfSnapshotStore::MakeSnapshot() const {
    return std::make_shared<SCA_PerfSnapshot>(GetRoots(), 0, GetMonotonicNs());
}

tagSCA_PERF_ROOTS SCA_PerfSnapshotStore::GetRoots() const {
    std::lock_guard<std::mutex> guard(m_Lock);
    return m_Roots;
}

void SCA_PerfSnapshotStore::SetRoots(tagSCA_PERF_ROOTS roots) {
    std::lock_guard<std::mutex> guard(m_Lock);
    m_Roots = std::move(roots);
}

uint64_t SCA_PerfSnapshotStore::GetSnapshotCount() const {
    std::lock_guard<std::mutex> guard(m_Lock);
    return m_SnapshotCount;
}

std::shared_ptr<SCA_PerfSnapshotStore> SCA_PerfSnapshotStore::GetDefault() {
    static const auto store = std::make_shared<SCA_PerfSnapshotStore>(tagSCA_PERF_ROOTS{});
    return store;
}

uint64_t SCA_PerfSnapshotStore::GetMonotonicNs() {
    return SCA_GetClock().MonotonicNs();
}
