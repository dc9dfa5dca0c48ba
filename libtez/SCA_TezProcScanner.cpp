#include "libtez/SCA_TezProcScanner.h"

#include <cstring>
#include <unistd.h>

#include "libtez/SCA_TezProcCalc.h"

namespace {

constexpr double kNsPerSecond = 1e9;
// Spreads the start time over the hash together with the pid.
constexpr uint64_t kHashMix = 0x9E3779B97F4A7C15ull;

uint32_t SystemCpuCount() {
    const long count = sysconf(_SC_NPROCESSORS_ONLN);
    return count > 0 ? static_cast<uint32_t>(count) : 1u;
}

uint32_t SystemTicksPerSecond() {
    const long ticks = sysconf(_SC_CLK_TCK);
    return ticks > 0 ? static_cast<uint32_t>(ticks) : 0u;
}

} // namespace

size_t SCA_TezProcScanner::KeyHash::operator()(const Key& key) const {
    return static_cast<size_t>((key.StartTicks * kHashMix) ^ key.Pid);
}

SCA_TezProcScanner::SCA_TezProcScanner(const char* root)
    : m_Reader(root), m_CpuCount(SystemCpuCount()), m_TicksPerSecond(SystemTicksPerSecond()) {}

void SCA_TezProcScanner::SetCpuCount(uint32_t count) {
    m_CpuCount = count != 0 ? count : SystemCpuCount();
}

void SCA_TezProcScanner::SetTicksPerSecond(uint32_t ticks) {
    m_TicksPerSecond = ticks != 0 ? ticks : SystemTicksPerSecond();
}

int SCA_TezProcScanner::Scan(uint64_t monotonicNs) {
    if (!m_Reader.ListPids(&m_Pids)) {
        return 0;
    }
    const double elapsed =
        m_Passes > 0 && monotonicNs > m_LastNs ? (monotonicNs - m_LastNs) / kNsPerSecond : 0.0;
    m_Current.swap(m_Previous);
    m_Index.swap(m_PreviousIndex);
    ReadAll(elapsed);
    CollectEnded();
    m_LastNs = monotonicNs;
    ++m_Passes;
    return 1;
}

void SCA_TezProcScanner::ReadAll(double elapsedSeconds) {
    m_Current.clear();
    m_Index.clear();
    m_ByPid.clear();
    m_Matched.assign(m_Previous.size(), false);
    tagSCA_TEZ_PROC_ENTRY entry;
    for (const uint32_t pid : m_Pids) {
        if (!m_Reader.ReadSample(pid, &entry.Sample)) {
            continue; // gone, or a kernel thread
        }
        const auto known = m_PreviousIndex.find(Key{pid, entry.Sample.StartTicks});
        const tagSCA_TEZ_PROC_SAMPLE* prev = nullptr;
        if (known != m_PreviousIndex.end()) {
            prev = &m_Previous[known->second].Sample;
            m_Matched[known->second] = true;
            // A known process keeps the name it was given: names are completed only once.
            std::memcpy(entry.Sample.Name, prev->Name, sizeof(entry.Sample.Name));
        } else {
            m_Reader.CompleteName(pid, &entry.Sample);
        }
        SCA_TezCalcProcValues(prev, entry.Sample, elapsedSeconds, m_TicksPerSecond, m_CpuCount,
                              &entry.Values);
        entry.IsNew = prev == nullptr;
        m_Index.emplace(Key{pid, entry.Sample.StartTicks}, m_Current.size());
        m_ByPid[pid] = m_Current.size();
        m_Current.push_back(entry);
    }
}

void SCA_TezProcScanner::CollectEnded() {
    m_Ended.clear();
    for (size_t i = 0; i < m_Previous.size(); ++i) {
        if (!m_Matched[i]) {
            m_Ended.push_back(m_Previous[i]);
        }
    }
}

void SCA_TezProcScanner::Reset() {
    m_Current.clear();
    m_Previous.clear();
    m_Ended.clear();
    m_Index.clear();
    m_PreviousIndex.clear();
    m_ByPid.clear();
    m_Passes = 0;
}

const tagSCA_TEZ_PROC_ENTRY* SCA_TezProcScanner::FindLive(uint32_t pid) const {
    const auto found = m_ByPid.find(pid);
    return found != m_ByPid.end() ? &m_Current[found->second] : nullptr;
}
