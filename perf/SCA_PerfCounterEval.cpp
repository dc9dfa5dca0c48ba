// SPDX-License-Identifier: MIT
#include "perf/SCA_PerfCounterEval.h"

#include <algorithm>
#include <charconv>
#include <unistd.h>
#include <vector>

#include "perf/SCA_PerfCalc.h"

namespace {

using M = SCA_PerfMetric;
using Value = std::optional<double>;

constexpr double kBytesPerSector = 512.0; // diskstats counts 512-byte sectors whatever the disk
constexpr double kMsPerSecond = 1000.0;
constexpr double kUsPerSecond = 1e6;
constexpr double kKHzPerMHz = 1000.0;
constexpr double kBitsPerMegabit = 1e6;
constexpr const char* kLoopback = "lo";
constexpr double kPercent = 100.0;

std::optional<uint32_t> ParseNumber(const std::string& text) {
    uint32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> ElapsedOf(SCA_PerfSnapshot* before, SCA_PerfSnapshot& now) {
    return before == nullptr
               ? std::nullopt
               : SCA_PerfCalc::Elapsed(before->GetMonotonicNs(), now.GetMonotonicNs());
}

Value FromCount(std::optional<uint64_t> count) {
    return count ? Value(static_cast<double>(*count)) : std::nullopt;
}

// ---- processor --------------------------------------------------------------------------

const tagSCA_CPU_TIMES* CpuTimes(const tagSCA_PROC_STAT* stat, const std::string& instance) {
    if (stat == nullptr) {
        return nullptr;
    }
    if (instance.empty()) {
        return &stat->All;
    }
    const auto cpu = ParseNumber(instance);
    for (const auto& [index, times] : stat->Cpus) {
        if (cpu && index == *cpu) {
            return &times;
        }
    }
    return nullptr; // offline, or not a processor of this computer
}

std::vector<uint32_t> CpusOf(const tagSCA_PROC_STAT* stat, const std::string& instance) {
    std::vector<uint32_t> cpus;
    if (stat == nullptr) {
        return cpus;
    }
    const auto wanted = ParseNumber(instance);
    for (const auto& entry : stat->Cpus) {
        if (instance.empty() || (wanted && entry.first == *wanted)) {
            cpus.push_back(entry.first);
        }
    }
    return cpus;
}

Value CpuIdleState(const char* state, const std::string& instance, SCA_PerfSnapshot* before,
                   SCA_PerfSnapshot& now) {
    const auto seconds = ElapsedOf(before, now);
    if (!seconds) {
        return std::nullopt;
    }
    double sum = 0.0;
    uint32_t counted = 0;
    for (uint32_t cpu : CpusOf(now.GetStat(), instance)) {
        const auto a = before->GetCpuIdleTime(cpu, state);
        const auto b = now.GetCpuIdleTime(cpu, state);
        const auto share = a && b ? SCA_PerfCalc::Rate(*a, *b, *seconds) : std::nullopt;
        if (!share) {
            return std::nullopt;
        }
        sum += *SCA_PerfCalc::Percent(*share, kUsPerSecond);
        ++counted;
    }
    return counted > 0 ? Value(sum / counted) : std::nullopt;
}

Value EvaluateCpu(M metric, const std::string& instance, SCA_PerfSnapshot* before,
                  SCA_PerfSnapshot& now) {
    const tagSCA_PROC_STAT* stat = now.GetStat();
    switch (metric) {
    case M::CpuQueue:
        return stat != nullptr ? FromCount(stat->ProcsRunning) : std::nullopt;
    case M::CpuIdleC1:
        return CpuIdleState("C1", instance, before, now);
    case M::CpuIdleC2:
        return CpuIdleState("C2", instance, before, now);
    case M::CpuIdleC3:
        return CpuIdleState("C3", instance, before, now);
    default:
        break;
    }
    const tagSCA_PROC_STAT* old = before != nullptr ? before->GetStat() : nullptr;
    if (metric == M::CpuInterruptRate || metric == M::ContextSwitchRate) {
        auto pick = [metric](const tagSCA_PROC_STAT* s) {
            return s == nullptr                    ? std::nullopt
                   : metric == M::CpuInterruptRate ? s->Interrupts
                                                   : s->ContextSwitches;
        };
        const auto a = pick(old);
        const auto b = pick(stat);
        return a && b ? SCA_PerfCalc::Rate(*a, *b, ElapsedOf(before, now)) : std::nullopt;
    }
    const tagSCA_CPU_TIMES* a = CpuTimes(old, instance);
    const tagSCA_CPU_TIMES* b = CpuTimes(stat, instance);
    if (a == nullptr || b == nullptr) {
        return std::nullopt;
    }
    auto share = [&](uint64_t partA, uint64_t partB) {
        return SCA_PerfCalc::ShareOfDelta(partA, partB, a->Total(), b->Total());
    };
    switch (metric) {
    case M::CpuTotal: {
        const auto idle = share(a->IdleAll(), b->IdleAll());
        return idle ? Value(kPercent - *idle) : std::nullopt;
    }
    case M::CpuUser:
        return share(a->User + a->Nice, b->User + b->Nice);
    case M::CpuSystem:
        return share(a->System + a->Irq + a->SoftIrq, b->System + b->Irq + b->SoftIrq);
    case M::CpuInterrupt:
        return share(a->Irq + a->SoftIrq, b->Irq + b->SoftIrq);
    default:
        return std::nullopt;
    }
}

Value EvaluateCpuFreq(M metric, const std::string& instance, SCA_PerfSnapshot& now) {
    double sum = 0.0;
    uint32_t counted = 0;
    for (uint32_t cpu : CpusOf(now.GetStat(), instance)) {
        const auto freq = now.GetCpuFreq(cpu);
        if (!freq) {
            continue; // no cpufreq for this processor: it does not count in the average
        }
        if (metric == M::FreqMhz) {
            sum += static_cast<double>(freq->CurrentKHz) / kKHzPerMHz;
        } else {
            const auto percent = SCA_PerfCalc::Percent(static_cast<double>(freq->CurrentKHz),
                                                       static_cast<double>(freq->MaxKHz));
            if (!percent) {
                continue;
            }
            sum += *percent;
        }
        ++counted;
    }
    return counted > 0 ? Value(sum / counted) : std::nullopt;
}

// ---- memory and system ------------------------------------------------------------------

Value EvaluateMemory(M metric, SCA_PerfSnapshot* before, SCA_PerfSnapshot& now) {
    if (metric == M::MemPageFaultRate || metric == M::MemPageReadRate ||
        metric == M::MemPageWriteRate) {
        const char* key = metric == M::MemPageFaultRate  ? "pgfault"
                          : metric == M::MemPageReadRate ? "pswpin"
                                                         : "pswpout";
        const tagSCA_KEY_VALUES* old = before != nullptr ? before->GetVmStat() : nullptr;
        const tagSCA_KEY_VALUES* cur = now.GetVmStat();
        const uint64_t* a = old != nullptr ? SCA_ProcParser::Find(*old, key) : nullptr;
        const uint64_t* b = cur != nullptr ? SCA_ProcParser::Find(*cur, key) : nullptr;
        return a != nullptr && b != nullptr ? SCA_PerfCalc::Rate(*a, *b, ElapsedOf(before, now))
                                            : std::nullopt;
    }
    const tagSCA_KEY_VALUES* info = now.GetMemInfo();
    if (info == nullptr) {
        return std::nullopt;
    }
    auto field = [info](const char* key) -> std::optional<double> {
        const uint64_t* value = SCA_ProcParser::Find(*info, key);
        return value != nullptr ? std::optional(static_cast<double>(*value)) : std::nullopt;
    };
    const auto total = field("MemTotal");
    // Kernels before 3.14 have no MemAvailable: free plus page cache is the old estimate.
    auto available = field("MemAvailable");
    if (!available && field("MemFree") && field("Cached")) {
        available = *field("MemFree") + *field("Cached");
    }
    switch (metric) {
    case M::MemUsage:
        return total && available ? SCA_PerfCalc::Percent(*total - *available, *total)
                                  : std::nullopt;
    case M::MemAvailable:
        return available;
    case M::MemUsed:
        return total && available && *available <= *total ? Value(*total - *available)
                                                          : std::nullopt;
    case M::MemCache: {
        const auto cached = field("Cached");
        const auto buffers = field("Buffers");
        return cached && buffers ? Value(*cached + *buffers) : std::nullopt;
    }
    case M::SwapUsage: {
        const auto swapTotal = field("SwapTotal");
        const auto swapFree = field("SwapFree");
        return swapTotal && swapFree ? SCA_PerfCalc::Percent(*swapTotal - *swapFree, *swapTotal)
                                     : std::nullopt;
    }
    case M::MemLimit:
        return field("CommitLimit");
    case M::MemKernelPool:
        return field("SUnreclaim");
    default:
        return std::nullopt;
    }
}

Value EvaluateSystem(M metric, SCA_PerfSnapshot& now) {
    switch (metric) {
    case M::Processes:
        return FromCount(now.GetProcessCount());
    case M::Threads:
        return FromCount(now.GetThreadCount());
    case M::Handles:
    case M::OpenFiles:
        return FromCount(now.GetOpenFileHandles());
    case M::Sessions: {
        const auto sessions = now.GetSessions();
        return sessions ? Value(static_cast<double>(sessions->Total)) : std::nullopt;
    }
    case M::InactiveSessions: {
        const auto sessions = now.GetSessions();
        return sessions ? FromCount(sessions->Inactive) : std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

// ---- disks --------------------------------------------------------------------------------

struct DiskTotals {
    tagSCA_DISK_STAT Sum;
    uint32_t Disks = 0;
};

void Add(tagSCA_DISK_STAT& sum, const tagSCA_DISK_STAT& disk) {
    sum.Reads += disk.Reads;
    sum.ReadSectors += disk.ReadSectors;
    sum.ReadMs += disk.ReadMs;
    sum.Writes += disk.Writes;
    sum.WriteSectors += disk.WriteSectors;
    sum.WriteMs += disk.WriteMs;
    sum.InProgress += disk.InProgress;
    sum.IoMs += disk.IoMs;
    sum.WeightedMs += disk.WeightedMs;
}

// The devices that an instance stands for, as major:minor pairs.
std::vector<std::pair<uint32_t, uint32_t>>
DevicesOf(SCA_PerfSource source, const std::string& instance, SCA_PerfSnapshot& now) {
    std::vector<std::pair<uint32_t, uint32_t>> devices;
    auto addOnce = [&devices](uint32_t major, uint32_t minor) {
        if (std::find(devices.begin(), devices.end(), std::make_pair(major, minor)) ==
            devices.end()) {
            devices.emplace_back(major, minor);
        }
    };
    if (source == SCA_PerfSource::LogicalDisk) {
        if (const auto* mounts = now.GetMounts()) {
            for (const tagSCA_MOUNT_SPACE& mount : *mounts) {
                if (instance.empty() || mount.Mount.MountPoint == instance) {
                    addOnce(mount.Mount.Major, mount.Mount.Minor);
                }
            }
        }
        return devices;
    }
    const auto* disks = now.GetPhysicalDisks();
    const auto* stats = now.GetDiskStats();
    if (disks == nullptr || stats == nullptr) {
        return devices;
    }
    for (const tagSCA_DISK_STAT& stat : *stats) {
        const bool whole = std::find(disks->begin(), disks->end(), stat.Name) != disks->end();
        if (whole && (instance.empty() || stat.Name == instance)) {
            addOnce(stat.Major, stat.Minor);
        }
    }
    return devices;
}

std::optional<DiskTotals> SumDisks(SCA_PerfSnapshot* snapshot,
                                   const std::vector<std::pair<uint32_t, uint32_t>>& devices) {
    const auto* stats = snapshot != nullptr ? snapshot->GetDiskStats() : nullptr;
    if (stats == nullptr || devices.empty()) {
        return std::nullopt;
    }
    DiskTotals totals;
    for (const tagSCA_DISK_STAT& stat : *stats) {
        if (std::find(devices.begin(), devices.end(), std::make_pair(stat.Major, stat.Minor)) !=
            devices.end()) {
            Add(totals.Sum, stat);
            ++totals.Disks;
        }
    }
    // A device that vanished between the samples would make the sums jump: no value then.
    if (totals.Disks != devices.size()) {
        return std::nullopt;
    }
    return totals;
}

Value EvaluateSpace(M metric, const std::string& instance, SCA_PerfSnapshot& now) {
    const auto* mounts = now.GetMounts();
    if (mounts == nullptr) {
        return std::nullopt;
    }
    double free = 0.0;
    double used = 0.0;
    double available = 0.0;
    bool any = false;
    for (const tagSCA_MOUNT_SPACE& mount : *mounts) {
        if (!instance.empty() && mount.Mount.MountPoint != instance) {
            continue;
        }
        if (!mount.HasSpace || mount.Blocks == 0 || mount.FreeBlocks > mount.Blocks) {
            continue; // no space of its own (a file system without blocks)
        }
        const auto size = static_cast<double>(mount.BlockSize);
        free += static_cast<double>(mount.AvailableBlocks) * size;
        available += static_cast<double>(mount.AvailableBlocks) * size;
        used += static_cast<double>(mount.Blocks - mount.FreeBlocks) * size;
        any = true;
    }
    if (!any) {
        return std::nullopt;
    }
    return metric == M::DiskFreeSpace ? Value(free) : SCA_PerfCalc::Percent(used, used + available);
}

Value EvaluateDisk(SCA_PerfSource source, M metric, const std::string& instance,
                   SCA_PerfSnapshot* before, SCA_PerfSnapshot& now) {
    if (metric == M::DiskFreeSpace || metric == M::DiskSpaceUsage) {
        return source == SCA_PerfSource::LogicalDisk ? EvaluateSpace(metric, instance, now)
                                                     : std::nullopt;
    }
    const auto devices = DevicesOf(source, instance, now);
    const auto b = SumDisks(&now, devices);
    if (!b) {
        return std::nullopt;
    }
    if (metric == M::DiskQueue) {
        return Value(static_cast<double>(b->Sum.InProgress));
    }
    const auto a = SumDisks(before, devices);
    const auto seconds = ElapsedOf(before, now);
    if (!a || !seconds) {
        return std::nullopt;
    }
    const tagSCA_DISK_STAT& x = a->Sum;
    const tagSCA_DISK_STAT& y = b->Sum;
    const auto reads = SCA_PerfCalc::Delta(x.Reads, y.Reads);
    const auto writes = SCA_PerfCalc::Delta(x.Writes, y.Writes);
    const auto readSectors = SCA_PerfCalc::Delta(x.ReadSectors, y.ReadSectors);
    const auto writeSectors = SCA_PerfCalc::Delta(x.WriteSectors, y.WriteSectors);
    const auto readMs = SCA_PerfCalc::Delta(x.ReadMs, y.ReadMs);
    const auto writeMs = SCA_PerfCalc::Delta(x.WriteMs, y.WriteMs);
    const auto ioMs = SCA_PerfCalc::Delta(x.IoMs, y.IoMs);
    const auto weightedMs = SCA_PerfCalc::Delta(x.WeightedMs, y.WeightedMs);
    if (!reads || !writes || !readSectors || !writeSectors || !readMs || !writeMs || !ioMs ||
        !weightedMs) {
        return std::nullopt; // a counter went backwards: the disk was reset or re-added
    }
    const double ms = *seconds * kMsPerSecond;
    const double disks = b->Disks;
    auto perSecond = [&](uint64_t amount) { return Value(static_cast<double>(amount) / *seconds); };
    // Busy time is shared between reads and writes in proportion to their service times, so
    // the read and write activities add up to the activity.
    const auto activity = SCA_PerfCalc::Percent(static_cast<double>(*ioMs), ms * disks);
    auto activityShare = [&](uint64_t partMs) -> Value {
        const uint64_t serviceMs = *readMs + *writeMs;
        if (!activity) {
            return std::nullopt;
        }
        return serviceMs == 0 ? Value(0.0)
                              : Value(*activity * static_cast<double>(partMs) /
                                      static_cast<double>(serviceMs));
    };
    switch (metric) {
    case M::DiskActivity:
        return activity;
    case M::DiskReadActivity:
        return activityShare(*readMs);
    case M::DiskWriteActivity:
        return activityShare(*writeMs);
    case M::DiskBytes:
        return Value(static_cast<double>(*readSectors + *writeSectors) * kBytesPerSector /
                     *seconds);
    case M::DiskReadBytes:
        return Value(static_cast<double>(*readSectors) * kBytesPerSector / *seconds);
    case M::DiskWriteBytes:
        return Value(static_cast<double>(*writeSectors) * kBytesPerSector / *seconds);
    case M::DiskIops:
        return perSecond(*reads + *writes);
    case M::DiskReadIops:
        return perSecond(*reads);
    case M::DiskWriteIops:
        return perSecond(*writes);
    case M::DiskAvgBytes: {
        const auto sectors = SCA_PerfCalc::PerEvent(*readSectors + *writeSectors, *reads + *writes);
        return sectors ? Value(*sectors * kBytesPerSector) : std::nullopt;
    }
    case M::DiskAvgReadBytes: {
        const auto sectors = SCA_PerfCalc::PerEvent(*readSectors, *reads);
        return sectors ? Value(*sectors * kBytesPerSector) : std::nullopt;
    }
    case M::DiskAvgWriteBytes: {
        const auto sectors = SCA_PerfCalc::PerEvent(*writeSectors, *writes);
        return sectors ? Value(*sectors * kBytesPerSector) : std::nullopt;
    }
    case M::DiskAvgTime:
        return SCA_PerfCalc::PerEvent(*readMs + *writeMs, *reads + *writes);
    case M::DiskAvgReadTime:
        return SCA_PerfCalc::PerEvent(*readMs, *reads);
    case M::DiskAvgWriteTime:
        return SCA_PerfCalc::PerEvent(*writeMs, *writes);
    case M::DiskAvgQueue:
        return Value(static_cast<double>(*weightedMs) / ms);
    case M::DiskAvgReadQueue:
        return Value(static_cast<double>(*readMs) / ms);
    case M::DiskAvgWriteQueue:
        return Value(static_cast<double>(*writeMs) / ms);
    default:
        return std::nullopt;
    }
}

// ---- network ------------------------------------------------------------------------------

std::optional<tagSCA_NET_DEV> SumNics(SCA_PerfSnapshot* snapshot, const std::string& instance) {
    const auto* devices = snapshot != nullptr ? snapshot->GetNetDev() : nullptr;
    if (devices == nullptr) {
        return std::nullopt;
    }
    tagSCA_NET_DEV sum;
    bool any = false;
    for (const tagSCA_NET_DEV& nic : *devices) {
        if (instance.empty() ? nic.Name == kLoopback : nic.Name != instance) {
            continue;
        }
        sum.RxBytes += nic.RxBytes;
        sum.RxPackets += nic.RxPackets;
        sum.RxErrors += nic.RxErrors;
        sum.RxDrops += nic.RxDrops;
        sum.TxBytes += nic.TxBytes;
        sum.TxPackets += nic.TxPackets;
        sum.TxErrors += nic.TxErrors;
        sum.TxDrops += nic.TxDrops;
        any = true;
    }
    return any ? std::optional(sum) : std::nullopt;
}

Value EvaluateNic(M metric, const std::string& instance, SCA_PerfSnapshot* before,
                  SCA_PerfSnapshot& now) {
    if (metric == M::NetBandwidth) {
        const auto* devices = now.GetNetDev();
        if (devices == nullptr) {
            return std::nullopt;
        }
        double bits = 0.0;
        bool any = false;
        for (const tagSCA_NET_DEV& nic : *devices) {
            if (instance.empty() ? nic.Name == kLoopback : nic.Name != instance) {
                continue;
            }
            if (const auto speed = now.GetLinkSpeed(nic.Name)) {
                bits += static_cast<double>(*speed) * kBitsPerMegabit;
                any = true;
            }
        }
        return any ? Value(bits) : std::nullopt;
    }
    const auto b = SumNics(&now, instance);
    if (!b) {
        return std::nullopt;
    }
    switch (metric) { // the error and drop counts are totals since the interface came up
    case M::NetSendErrors:
        return Value(static_cast<double>(b->TxErrors));
    case M::NetRecvErrors:
        return Value(static_cast<double>(b->RxErrors));
    case M::NetSendDrops:
        return Value(static_cast<double>(b->TxDrops));
    case M::NetRecvDrops:
        return Value(static_cast<double>(b->RxDrops));
    default:
        break;
    }
    const auto a = SumNics(before, instance);
    if (!a) {
        return std::nullopt;
    }
    const auto seconds = ElapsedOf(before, now);
    auto rate = [&](uint64_t x1, uint64_t y1, uint64_t x2, uint64_t y2) -> Value {
        const auto one = SCA_PerfCalc::Rate(x1, y1, seconds);
        const auto two = SCA_PerfCalc::Rate(x2, y2, seconds);
        return one && two ? Value(*one + *two) : std::nullopt;
    };
    switch (metric) {
    case M::NetBytes:
        return rate(a->TxBytes, b->TxBytes, a->RxBytes, b->RxBytes);
    case M::NetSendBytes:
        return SCA_PerfCalc::Rate(a->TxBytes, b->TxBytes, seconds);
    case M::NetRecvBytes:
        return SCA_PerfCalc::Rate(a->RxBytes, b->RxBytes, seconds);
    case M::NetPackets:
        return rate(a->TxPackets, b->TxPackets, a->RxPackets, b->RxPackets);
    case M::NetSendPackets:
        return SCA_PerfCalc::Rate(a->TxPackets, b->TxPackets, seconds);
    case M::NetRecvPackets:
        return SCA_PerfCalc::Rate(a->RxPackets, b->RxPackets, seconds);
    default:
        return std::nullopt;
    }
}

// ---- protocols ----------------------------------------------------------------------------

// The sum of the named counters of snmp (version 4) and snmp6 (version 6) for the version asked.
std::optional<uint64_t> ProtocolSum(SCA_PerfSnapshot* snapshot, uint8_t version,
                                    std::initializer_list<const char*> v4Keys,
                                    std::initializer_list<const char*> v6Keys) {
    if (snapshot == nullptr) {
        return std::nullopt;
    }
    uint64_t sum = 0;
    auto addAll = [&sum](const tagSCA_KEY_VALUES* values, std::initializer_list<const char*> keys) {
        if (values == nullptr) {
            return false;
        }
        for (const char* key : keys) {
            const uint64_t* value = SCA_ProcParser::Find(*values, key);
            if (value == nullptr) {
                return false;
            }
            sum += *value;
        }
        return true;
    };
    if (version != SCA_PERF_IP_V6 && !addAll(snapshot->GetSnmp(), v4Keys)) {
        return std::nullopt;
    }
    if (version != SCA_PERF_IP_V4 && !addAll(snapshot->GetSnmp6(), v6Keys)) {
        return std::nullopt;
    }
    return sum;
}

Value EvaluateProtocol(const tagSCA_PERF_SOURCE& source, SCA_PerfSnapshot* before,
                       SCA_PerfSnapshot& now) {
    const uint8_t version = source.IpVersion;
    if (source.Metric == M::TcpEstablished && version != SCA_PERF_IP_ANY) {
        return FromCount(now.GetTcpEstablished(version == SCA_PERF_IP_V6));
    }
    // TCP has one MIB for both versions; it has no snmp6 counters to add.
    auto tcp = [&](SCA_PerfSnapshot* s, std::initializer_list<const char*> keys) {
        return ProtocolSum(s, SCA_PERF_IP_V4, keys, {});
    };
    auto udp = [&](SCA_PerfSnapshot* s, std::initializer_list<const char*> v4,
                   std::initializer_list<const char*> v6) {
        return ProtocolSum(s, version, v4, v6);
    };
    auto rateOf = [&](auto read) -> Value {
        const auto a = read(before);
        const auto b = read(&now);
        return a && b ? SCA_PerfCalc::Rate(*a, *b, ElapsedOf(before, now)) : std::nullopt;
    };
    switch (source.Metric) {
    case M::TcpEstablished:
        return FromCount(tcp(&now, {"Tcp.CurrEstab"}));
    case M::TcpActiveOpens:
        return FromCount(tcp(&now, {"Tcp.ActiveOpens"}));
    case M::TcpPassiveOpens:
        return FromCount(tcp(&now, {"Tcp.PassiveOpens"}));
    case M::TcpFailures:
        return FromCount(tcp(&now, {"Tcp.AttemptFails"}));
    case M::TcpResets:
        return FromCount(tcp(&now, {"Tcp.EstabResets"}));
    case M::TcpSegments:
        return rateOf([&](SCA_PerfSnapshot* s) { return tcp(s, {"Tcp.InSegs", "Tcp.OutSegs"}); });
    case M::TcpInSegments:
        return rateOf([&](SCA_PerfSnapshot* s) { return tcp(s, {"Tcp.InSegs"}); });
    case M::TcpOutSegments:
        return rateOf([&](SCA_PerfSnapshot* s) { return tcp(s, {"Tcp.OutSegs"}); });
    case M::TcpRetransmits:
        return rateOf([&](SCA_PerfSnapshot* s) { return tcp(s, {"Tcp.RetransSegs"}); });
    case M::UdpDatagrams:
        return rateOf([&](SCA_PerfSnapshot* s) {
            return udp(s, {"Udp.InDatagrams", "Udp.OutDatagrams"},
                       {"Udp6InDatagrams", "Udp6OutDatagrams"});
        });
    case M::UdpNoPorts:
        return rateOf(
            [&](SCA_PerfSnapshot* s) { return udp(s, {"Udp.NoPorts"}, {"Udp6NoPorts"}); });
    case M::UdpSent:
        return rateOf([&](SCA_PerfSnapshot* s) {
            return udp(s, {"Udp.OutDatagrams"}, {"Udp6OutDatagrams"});
        });
    case M::UdpReceived:
        return rateOf(
            [&](SCA_PerfSnapshot* s) { return udp(s, {"Udp.InDatagrams"}, {"Udp6InDatagrams"}); });
    case M::UdpErrors:
        return FromCount(udp(&now, {"Udp.InErrors"}, {"Udp6InErrors"}));
    default:
        return std::nullopt;
    }
}

// ---- processes ----------------------------------------------------------------------------

bool Matches(const tagSCA_PID_STAT& process, const std::string& instance,
             std::optional<uint32_t> pid) {
    return instance.empty() || (pid ? process.Pid == *pid : process.Name == instance);
}

const tagSCA_PID_STAT* FindPid(const std::vector<tagSCA_PID_STAT>& processes,
                               const tagSCA_PID_STAT& process) {
    const auto found =
        std::lower_bound(processes.begin(), processes.end(), process.Pid,
                         [](const tagSCA_PID_STAT& p, uint32_t pid) { return p.Pid < pid; });
    // The same id with another start time is a new process that reused the number.
    return found != processes.end() && found->Pid == process.Pid &&
                   found->StartTicks == process.StartTicks
               ? &*found
               : nullptr;
}

using Figure = std::optional<double> tagSCA_PROC_FIGURES::*;

// The figure a process metric reads; null for the metrics that are not figures.
Figure FigureOf(M metric) {
    switch (metric) {
    case M::ProcCpu:
        return &tagSCA_PROC_FIGURES::Cpu;
    case M::ProcUser:
        return &tagSCA_PROC_FIGURES::CpuUser;
    case M::ProcSystem:
        return &tagSCA_PROC_FIGURES::CpuSystem;
    case M::ProcMemory:
        return &tagSCA_PROC_FIGURES::Memory;
    case M::ProcThreads:
        return &tagSCA_PROC_FIGURES::Threads;
    case M::ProcHandles:
        return &tagSCA_PROC_FIGURES::Handles;
    case M::ProcFaultRate:
        return &tagSCA_PROC_FIGURES::FaultRate;
    case M::ProcDataRate:
        return &tagSCA_PROC_FIGURES::DataRate;
    case M::ProcDataIops:
        return &tagSCA_PROC_FIGURES::DataIops;
    case M::ProcReadRate:
        return &tagSCA_PROC_FIGURES::ReadRate;
    case M::ProcReadIops:
        return &tagSCA_PROC_FIGURES::ReadIops;
    case M::ProcWriteRate:
        return &tagSCA_PROC_FIGURES::WriteRate;
    case M::ProcWriteIops:
        return &tagSCA_PROC_FIGURES::WriteIops;
    default:
        return nullptr;
    }
}

bool IsGauge(M metric) {
    return metric == M::ProcMemory || metric == M::ProcThreads || metric == M::ProcHandles;
}

bool IsShare(M metric) {
    return metric == M::ProcCpu || metric == M::ProcUser || metric == M::ProcSystem;
}

// What a figure needs of one process beyond its stat, read only when the metric needs it.
tagSCA_PROC_SAMPLE SampleOf(const tagSCA_PID_STAT& stat, M metric, SCA_PerfSnapshot& snapshot) {
    tagSCA_PROC_SAMPLE sample{stat, std::nullopt, std::nullopt, std::nullopt};
    if (metric >= M::ProcDataRate && metric <= M::ProcWriteIops) {
        sample.Io = snapshot.GetProcessIo(stat.Pid);
    }
    if (metric == M::ProcHandles) {
        const auto handles = snapshot.GetProcessHandles(stat.Pid);
        if (handles && *handles <= UINT32_MAX) {
            sample.Handles = static_cast<uint32_t>(*handles);
        }
    }
    return sample;
}

std::optional<uint64_t> MachineTicks(SCA_PerfSnapshot* snapshot) {
    const tagSCA_PROC_STAT* stat = snapshot != nullptr ? snapshot->GetStat() : nullptr;
    return stat != nullptr ? std::optional(stat->All.Total()) : std::nullopt;
}

// The sum of a figure over the matching processes: every one for a gauge, each that ran in
// both snapshots for a share or rate (those that started since add nothing yet). Nothing when
// one of them has no value (another user's process, a counter that went back) or none counts.
Value SumFigure(M metric, const std::vector<const tagSCA_PID_STAT*>& matching,
                SCA_PerfSnapshot* before, SCA_PerfSnapshot& now) {
    const Figure figure = FigureOf(metric);
    const bool gauge = IsGauge(metric);
    const auto* old = before != nullptr ? before->GetProcesses() : nullptr;
    const auto seconds = ElapsedOf(before, now);
    if (figure == nullptr || (!gauge && (old == nullptr || !seconds))) {
        return std::nullopt;
    }
    const auto machineBefore = MachineTicks(before);
    const auto machineNow = MachineTicks(&now);
    double sum = 0.0;
    bool counted = false;
    for (const tagSCA_PID_STAT* p : matching) {
        const tagSCA_PID_STAT* q = gauge ? nullptr : FindPid(*old, *p);
        if (!gauge && q == nullptr) {
            continue;
        }
        const tagSCA_PROC_SAMPLE current = SampleOf(*p, metric, now);
        const tagSCA_PROC_SAMPLE previous =
            q != nullptr ? SampleOf(*q, metric, *before) : tagSCA_PROC_SAMPLE{};
        const tagSCA_PROC_FIGURES figures = SCA_PerfCalc::ProcessFigures(
            q != nullptr ? &previous : nullptr, current, machineBefore, machineNow, seconds);
        const std::optional<double>& value = figures.*figure;
        if (!value) {
            return std::nullopt;
        }
        sum += *value;
        counted = true;
    }
    if (!counted) {
        return std::nullopt;
    }
    // Shares of the whole computer add up to at most all of it.
    return IsShare(metric) ? Value(std::min(sum, kPercent)) : Value(sum);
}

Value EvaluateProcess(M metric, const std::string& instance, SCA_PerfSnapshot* before,
                      SCA_PerfSnapshot& now) {
    const auto* processes = now.GetProcesses();
    if (processes == nullptr) {
        return std::nullopt;
    }
    const auto pid = ParseNumber(instance);
    std::vector<const tagSCA_PID_STAT*> matching;
    for (const tagSCA_PID_STAT& process : *processes) {
        if (Matches(process, instance, pid)) {
            matching.push_back(&process);
        }
    }
    if (matching.empty()) {
        return std::nullopt; // not running (any more)
    }
    const tagSCA_PID_STAT& first = *matching.front();
    static const long kTicksPerSecond = sysconf(_SC_CLK_TCK);
    switch (metric) {
    case M::ProcId:
        return Value(first.Pid);
    case M::ProcParentId:
        return Value(first.ParentPid);
    case M::ProcTime: {
        const auto uptime = now.GetUptimeSeconds();
        if (!uptime || kTicksPerSecond <= 0) {
            return std::nullopt;
        }
        uint64_t oldest = UINT64_MAX;
        for (const tagSCA_PID_STAT* p : matching) {
            oldest = std::min(oldest, p->StartTicks);
        }
        const double started = static_cast<double>(oldest) / static_cast<double>(kTicksPerSecond);
        return started <= static_cast<double>(*uptime) ? Value(*uptime - started) : Value(0.0);
    }
    default:
        return SumFigure(metric, matching, before, now);
    }
}

} // namespace

std::optional<double> SCA_PerfCounterEval::Evaluate(const tagSCA_PERF_SOURCE& source,
                                                    const std::string& instance,
                                                    SCA_PerfSnapshot* before,
                                                    SCA_PerfSnapshot& now) {
    switch (source.Source) {
    case SCA_PerfSource::Cpu:
        return EvaluateCpu(source.Metric, instance, before, now);
    case SCA_PerfSource::CpuFreq:
        return EvaluateCpuFreq(source.Metric, instance, now);
    case SCA_PerfSource::Memory:
        return EvaluateMemory(source.Metric, before, now);
    case SCA_PerfSource::System:
        return EvaluateSystem(source.Metric, now);
    case SCA_PerfSource::LogicalDisk:
    case SCA_PerfSource::PhysicalDisk:
        return EvaluateDisk(source.Source, source.Metric, instance, before, now);
    case SCA_PerfSource::Nic:
        return EvaluateNic(source.Metric, instance, before, now);
    case SCA_PerfSource::Tcp:
    case SCA_PerfSource::Udp:
        return EvaluateProtocol(source, before, now);
    case SCA_PerfSource::Process:
        return EvaluateProcess(source.Metric, instance, before, now);
    case SCA_PerfSource::Printer:
        return FromCount(now.GetPrintJobs(instance));
    case SCA_PerfSource::None:
        break;
    }
    return std::nullopt;
}
