// SPDX-License-Identifier: MIT
#include "perf/SCA_ProcScanner.h"

#include <algorithm>
#include <unistd.h>

#include "perf/SCA_PerfCalc.h"

namespace {

uint32_t SystemTicksPerSecond() {
    const long ticks = sysconf(_SC_CLK_TCK);
    return ticks > 0 ? static_cast<uint32_t>(ticks) : 0u;
}

} // namespace

SCA_ProcScanner::SCA_ProcScanner(const char* root)
    : m_Reader(root), m_TicksPerSecond(SystemTicksPerSecond()) {}

void SCA_ProcScanner::SetTicksPerSecond(uint32_t ticks) {
    m_TicksPerSecond = ticks != 0 ? ticks : SystemTicksPerSecond();
}

int SCA_ProcScanner::Scan(uint64_t monotonicNs) {
    const SCA_ProcReader::Pass pass(&m_Reader);
    if (!m_Reader.ListPids(&m_Pids)) {
        return 0;
    }
    const auto machine = m_Reader.ReadMachineStat();
    const std::optional<uint64_t> machineTicks =
        machine ? std::optional(machine->All.Total()) : std::nullopt;
    const auto seconds = m_Passes > 0 ? SCA_PerfCalc::Elapsed(m_LastNs, monotonicNs) : std::nullopt;
    m_Current.swap(m_Previous);
    m_Index.swap(m_PreviousIndex);
    ReadAll(seconds, machineTicks);
    CollectEnded();
    m_LastNs = monotonicNs;
    m_LastMachineTicks = machineTicks;
    ++m_Passes;
    return 1;
}

void SCA_ProcScanner::ReadAll(std::optional<double> seconds, std::optional<uint64_t> machineTicks) {
    m_Current.clear();
    m_Index.clear();
    m_Current.reserve(m_Pids.size());
    m_Index.reserve(m_Pids.size());
    m_Matched.assign(m_Previous.size(), false);
    tagSCA_PROC_ENTRY entry;
    for (const uint32_t pid : m_Pids) {
        if (!m_Reader.ReadSample(pid, &entry.Sample)) {
            continue; // gone, ended, or a kernel thread
        }
        const uint64_t startTicks = entry.Sample.Stat.StartTicks;
        const Position* known = Find(m_PreviousIndex, pid);
        const tagSCA_PROC_SAMPLE* prev = nullptr;
        if (known != nullptr && known->StartTicks == startTicks) {
            prev = &m_Previous[known->Entry].Sample;
            m_Matched[known->Entry] = true;
            // A known process keeps the name it was given: names are completed only once.
            entry.Sample.Stat.Name = prev->Stat.Name;
        } else {
            m_Reader.CompleteName(pid, &entry.Sample);
        }
        entry.Figures = SCA_PerfCalc::ProcessFigures(prev, entry.Sample, m_LastMachineTicks,
                                                     machineTicks, seconds);
        entry.IsNew = prev == nullptr;
        m_Index.push_back({pid, startTicks, m_Current.size()});
        m_Current.push_back(std::move(entry));
    }
    // /proc lists its processes by pid already; a fixture tree may not.
    if (!std::is_sorted(m_Index.begin(), m_Index.end())) {
        std::sort(m_Index.begin(), m_Index.end());
    }
}

void SCA_ProcScanner::CollectEnded() {
    m_Ended.clear();
    for (size_t i = 0; i < m_Previous.size(); ++i) {
        if (!m_Matched[i]) {
            m_Ended.push_back(m_Previous[i]);
        }
    }
}

void SCA_ProcScanner::Reset() {
    m_Current.clear();
    m_Previous.clear();
    m_Ended.clear();
    m_Index.clear();
    m_PreviousIndex.clear();
    m_LastMachineTicks.reset();
    m_Passes = 0;
}

const SCA_ProcScanner::Position* SCA_ProcScanner::Find(const Index& index, uint32_t pid) {
    const auto found = std::lower_bound(index.begin(), index.end(), Position{pid, 0, 0});
    return found != index.end() && found->Pid == pid ? &*found : nullptr;
}

const tagSCA_PROC_ENTRY* SCA_ProcScanner::FindLive(uint32_t pid) const {
    const Position* found = Find(m_Index, pid);
    return found != nullptr ? &m_Current[found->Entry] : nullptr;
}
