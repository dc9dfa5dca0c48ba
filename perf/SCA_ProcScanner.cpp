// SPDX-License-Identifier: MIT
#include "perf/SCA_ProcScanner.h"

#include <unistd.h>

#include "perf/SCA_PerfCalc.h"

namespace {

// Spreads the start time over the hash together with the pid.
constexpr uint64_t kHashMix = 0x9E3779B97F4A7C15ull;

uint32_t SystemTicksPerSecond() {
    const long ticks = sysconf(_SC_CLK_TCK);
    return ticks > 0 ? static_cast<uint32_t>(ticks) : 0u;
}

} // namespace

size_t SCA_ProcScanner::KeyHash::operator()(const Key& key) const {
    return static_cast<size_t>((key.StartTicks * kHashMix) ^ key.Pid);
}

SCA_ProcScanner::SCA_ProcScanner(const char* root)
    : m_Reader(root), m_TicksPerSecond(SystemTicksPerSecond()) {}

void SCA_ProcScanner::SetTicksPerSecond(uint32_t ticks) {
    m_TicksPerSecond = ticks != 0 ? ticks : SystemTicksPerSecond();
}

int SCA_ProcScanner::Scan(uint64_t monotonicNs) {
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
    m_ByPid.clear();
    m_Matched.assign(m_Previous.size(), false);
    tagSCA_PROC_ENTRY entry;
    for (const uint32_t pid : m_Pids) {
        if (!m_Reader.ReadSample(pid, &entry.Sample)) {
            continue; // gone, or a kernel thread
        }
        const Key key{pid, entry.Sample.Stat.StartTicks};
        const auto known = m_PreviousIndex.find(key);
        const tagSCA_PROC_SAMPLE* prev = nullptr;
        if (known != m_PreviousIndex.end()) {
            prev = &m_Previous[known->second].Sample;
            m_Matched[known->second] = true;
            // A known process keeps the name it was given: names are completed only once.
            entry.Sample.Stat.Name = prev->Stat.Name;
        } else {
            m_Reader.CompleteName(pid, &entry.Sample);
        }
        entry.Figures = SCA_PerfCalc::ProcessFigures(prev, entry.Sample, m_LastMachineTicks,
                                                     machineTicks, seconds);
        entry.IsNew = prev == nullptr;
        m_Index.emplace(key, m_Current.size());
        m_ByPid[pid] = m_Current.size();
        m_Current.push_back(entry);
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
    m_ByPid.clear();
    m_LastMachineTicks.reset();
    m_Passes = 0;
}

const tagSCA_PROC_ENTRY* SCA_ProcScanner::FindLive(uint32_t pid) const {
    const auto found = m_ByPid.find(pid);
    return found != m_ByPid.end() ? &m_Current[found->second] : nullptr;
}
