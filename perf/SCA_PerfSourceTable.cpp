// SPDX-License-Identifier: MIT
#include "perf/SCA_PerfSourceTable.h"

#include <array>

#include "model/SCA_TezCounterRows.h"

namespace {

using S = SCA_PerfSource;
using I = SCA_PerfInstanceKind;
using M = SCA_PerfMetric;
constexpr uint8_t v4 = SCA_PERF_IP_V4;
constexpr uint8_t v6 = SCA_PERF_IP_V6;
constexpr uint8_t any = SCA_PERF_IP_ANY;

// Every counter type that Linux answers. Types not listed (file-system control rates, USB
// transfer rates, logon and access errors, handle kinds, nonpaged-pool allocations, split I/O,
// cache peaks, per-version TCP segment counts, the printer spooler's statistics, and whole
// categories: shares, SQL servers, web sites, iSCSI targets, network filter, directory
// service) have no source.
constexpr tagSCA_PERF_SOURCE kSources[] = {
    // Processor: /proc/stat, cpuidle and cpufreq of /sys.
    {1, S::Cpu, I::Cpu, M::CpuTotal, any},
    {2, S::Cpu, I::Cpu, M::CpuUser, any},
    {3, S::Cpu, I::Cpu, M::CpuSystem, any},
    {60, S::Cpu, I::Cpu, M::CpuInterrupt, any},
    {61, S::Cpu, I::Single, M::CpuInterruptRate, any},
    {75, S::Cpu, I::Cpu, M::CpuIdleC1, any},
    {76, S::Cpu, I::Cpu, M::CpuIdleC2, any},
    {77, S::Cpu, I::Cpu, M::CpuIdleC3, any},
    {40, S::Cpu, I::Single, M::CpuQueue, any},
    {41, S::Cpu, I::Single, M::ContextSwitchRate, any},
    {80, S::CpuFreq, I::Cpu, M::FreqMhz, any},
    {81, S::CpuFreq, I::Cpu, M::FreqPercent, any},
    // Memory: meminfo and vmstat.
    {4, S::Memory, I::Single, M::MemUsage, any},
    {5, S::Memory, I::Single, M::MemAvailable, any},
    {6, S::Memory, I::Single, M::MemCache, any},
    {19, S::Memory, I::Single, M::MemUsed, any},
    {72, S::Memory, I::Single, M::MemPageFaultRate, any},
    {73, S::Memory, I::Single, M::MemPageReadRate, any},
    {74, S::Memory, I::Single, M::MemPageWriteRate, any},
    {78, S::Memory, I::Single, M::SwapUsage, any},
    {84, S::Memory, I::Single, M::MemLimit, any},
    {85, S::Memory, I::Single, M::MemKernelPool, any},
    // Operating system.
    {38, S::System, I::Single, M::Processes, any},
    {39, S::System, I::Single, M::Threads, any},
    {115, S::System, I::Single, M::Handles, any},
    {298, S::System, I::Single, M::OpenFiles, any},
    {83, S::System, I::Single, M::Sessions, any},
    {82, S::System, I::Single, M::InactiveSessions, any},
    // Logical disks: mounted file systems, statvfs and their device in diskstats.
    {7, S::LogicalDisk, I::LogicalDisk, M::DiskActivity, any},
    {8, S::LogicalDisk, I::LogicalDisk, M::DiskReadActivity, any},
    {9, S::LogicalDisk, I::LogicalDisk, M::DiskWriteActivity, any},
    {10, S::LogicalDisk, I::LogicalDisk, M::DiskBytes, any},
    {11, S::LogicalDisk, I::LogicalDisk, M::DiskReadBytes, any},
    {12, S::LogicalDisk, I::LogicalDisk, M::DiskWriteBytes, any},
    {13, S::LogicalDisk, I::LogicalDisk, M::DiskIops, any},
    {14, S::LogicalDisk, I::LogicalDisk, M::DiskReadIops, any},
    {15, S::LogicalDisk, I::LogicalDisk, M::DiskWriteIops, any},
    {57, S::LogicalDisk, I::LogicalDisk, M::DiskFreeSpace, any},
    {59, S::LogicalDisk, I::LogicalDisk, M::DiskSpaceUsage, any},
    {151, S::LogicalDisk, I::LogicalDisk, M::DiskAvgBytes, any},
    {152, S::LogicalDisk, I::LogicalDisk, M::DiskAvgReadBytes, any},
    {153, S::LogicalDisk, I::LogicalDisk, M::DiskAvgWriteBytes, any},
    {154, S::LogicalDisk, I::LogicalDisk, M::DiskAvgTime, any},
    {155, S::LogicalDisk, I::LogicalDisk, M::DiskAvgReadTime, any},
    {156, S::LogicalDisk, I::LogicalDisk, M::DiskAvgWriteTime, any},
    {157, S::LogicalDisk, I::LogicalDisk, M::DiskAvgQueue, any},
    {158, S::LogicalDisk, I::LogicalDisk, M::DiskAvgReadQueue, any},
    {159, S::LogicalDisk, I::LogicalDisk, M::DiskAvgWriteQueue, any},
    {160, S::LogicalDisk, I::LogicalDisk, M::DiskQueue, any},
    // Physical disks: whole block devices in diskstats.
    {248, S::PhysicalDisk, I::PhysicalDisk, M::DiskActivity, any},
    {249, S::PhysicalDisk, I::PhysicalDisk, M::DiskReadActivity, any},
    {250, S::PhysicalDisk, I::PhysicalDisk, M::DiskWriteActivity, any},
    {251, S::PhysicalDisk, I::PhysicalDisk, M::DiskBytes, any},
    {252, S::PhysicalDisk, I::PhysicalDisk, M::DiskReadBytes, any},
    {253, S::PhysicalDisk, I::PhysicalDisk, M::DiskWriteBytes, any},
    {254, S::PhysicalDisk, I::PhysicalDisk, M::DiskIops, any},
    {255, S::PhysicalDisk, I::PhysicalDisk, M::DiskReadIops, any},
    {256, S::PhysicalDisk, I::PhysicalDisk, M::DiskWriteIops, any},
    {257, S::PhysicalDisk, I::PhysicalDisk, M::DiskAvgBytes, any},
    {258, S::PhysicalDisk, I::PhysicalDisk, M::DiskAvgReadBytes, any},
    {259, S::PhysicalDisk, I::PhysicalDisk, M::DiskAvgWriteBytes, any},
    {260, S::PhysicalDisk, I::PhysicalDisk, M::DiskAvgTime, any},
    {261, S::PhysicalDisk, I::PhysicalDisk, M::DiskAvgReadTime, any},
    {262, S::PhysicalDisk, I::PhysicalDisk, M::DiskAvgWriteTime, any},
    {263, S::PhysicalDisk, I::PhysicalDisk, M::DiskAvgQueue, any},
    {264, S::PhysicalDisk, I::PhysicalDisk, M::DiskAvgReadQueue, any},
    {265, S::PhysicalDisk, I::PhysicalDisk, M::DiskAvgWriteQueue, any},
    {266, S::PhysicalDisk, I::PhysicalDisk, M::DiskQueue, any},
    // Network interfaces: /proc/net/dev and the link speed in /sys/class/net.
    {16, S::Nic, I::Nic, M::NetBytes, any},
    {17, S::Nic, I::Nic, M::NetSendBytes, any},
    {18, S::Nic, I::Nic, M::NetRecvBytes, any},
    {62, S::Nic, I::Nic, M::NetPackets, any},
    {63, S::Nic, I::Nic, M::NetSendPackets, any},
    {64, S::Nic, I::Nic, M::NetRecvPackets, any},
    {65, S::Nic, I::Nic, M::NetSendErrors, any},
    {66, S::Nic, I::Nic, M::NetRecvErrors, any},
    {67, S::Nic, I::Nic, M::NetSendDrops, any},
    {68, S::Nic, I::Nic, M::NetRecvDrops, any},
    {300, S::Nic, I::Nic, M::NetBandwidth, any},
    // TCP: the kernel keeps one TCP MIB for both versions (/proc/net/snmp); only the
    // established connections can be told apart, from the connection tables.
    {161, S::Tcp, I::Single, M::TcpSegments, any},
    {162, S::Tcp, I::Single, M::TcpEstablished, any},
    {163, S::Tcp, I::Single, M::TcpActiveOpens, any},
    {164, S::Tcp, I::Single, M::TcpPassiveOpens, any},
    {165, S::Tcp, I::Single, M::TcpFailures, any},
    {166, S::Tcp, I::Single, M::TcpResets, any},
    {167, S::Tcp, I::Single, M::TcpInSegments, any},
    {168, S::Tcp, I::Single, M::TcpOutSegments, any},
    {169, S::Tcp, I::Single, M::TcpRetransmits, any},
    {171, S::Tcp, I::Single, M::TcpEstablished, v4},
    {180, S::Tcp, I::Single, M::TcpEstablished, v6},
    // UDP: snmp for version 4, snmp6 for version 6, both added for the common types.
    {281, S::Udp, I::Single, M::UdpDatagrams, any},
    {282, S::Udp, I::Single, M::UdpNoPorts, any},
    {283, S::Udp, I::Single, M::UdpSent, any},
    {284, S::Udp, I::Single, M::UdpReceived, any},
    {285, S::Udp, I::Single, M::UdpErrors, any},
    {286, S::Udp, I::Single, M::UdpDatagrams, v4},
    {287, S::Udp, I::Single, M::UdpNoPorts, v4},
    {288, S::Udp, I::Single, M::UdpSent, v4},
    {289, S::Udp, I::Single, M::UdpReceived, v4},
    {290, S::Udp, I::Single, M::UdpErrors, v4},
    {291, S::Udp, I::Single, M::UdpDatagrams, v6},
    {292, S::Udp, I::Single, M::UdpNoPorts, v6},
    {293, S::Udp, I::Single, M::UdpSent, v6},
    {294, S::Udp, I::Single, M::UdpReceived, v6},
    {295, S::Udp, I::Single, M::UdpErrors, v6},
    // Processes: /proc/PID/stat, io and fd.
    {43, S::Process, I::Process, M::ProcCpu, any},
    {44, S::Process, I::Process, M::ProcUser, any},
    {45, S::Process, I::Process, M::ProcSystem, any},
    {46, S::Process, I::Process, M::ProcMemory, any},
    {47, S::Process, I::Process, M::ProcHandles, any},
    {48, S::Process, I::Process, M::ProcThreads, any},
    {51, S::Process, I::Process, M::ProcDataRate, any},
    {52, S::Process, I::Process, M::ProcDataIops, any},
    {53, S::Process, I::Process, M::ProcReadRate, any},
    {54, S::Process, I::Process, M::ProcReadIops, any},
    {55, S::Process, I::Process, M::ProcWriteRate, any},
    {56, S::Process, I::Process, M::ProcWriteIops, any},
    {114, S::Process, I::Process, M::ProcFaultRate, any},
    {245, S::Process, I::Process, M::ProcId, any},
    {246, S::Process, I::Process, M::ProcTime, any},
    {247, S::Process, I::Process, M::ProcParentId, any},
    // Printers: the print server's active jobs.
    {268, S::Printer, I::Printer, M::PrintJobs, any},
};

namespace rows = SCA_TezCounterRows;

// The unit each metric delivers its values in.
constexpr uint32_t UnitsOf(M metric) {
    switch (metric) {
    case M::CpuInterruptRate:
    case M::ContextSwitchRate:
    case M::MemPageFaultRate:
    case M::MemPageReadRate:
    case M::MemPageWriteRate:
    case M::DiskIops:
    case M::DiskReadIops:
    case M::DiskWriteIops:
    case M::NetPackets:
    case M::NetSendPackets:
    case M::NetRecvPackets:
    case M::TcpSegments:
    case M::TcpInSegments:
    case M::TcpOutSegments:
    case M::TcpRetransmits:
    case M::UdpDatagrams:
    case M::UdpNoPorts:
    case M::UdpSent:
    case M::UdpReceived:
    case M::ProcDataIops:
    case M::ProcReadIops:
    case M::ProcWriteIops:
    case M::ProcFaultRate:
        return rows::uRate;
    case M::CpuTotal:
    case M::CpuUser:
    case M::CpuSystem:
    case M::CpuInterrupt:
    case M::CpuIdleC1:
    case M::CpuIdleC2:
    case M::CpuIdleC3:
    case M::FreqPercent:
    case M::MemUsage:
    case M::SwapUsage:
    case M::DiskActivity:
    case M::DiskReadActivity:
    case M::DiskWriteActivity:
    case M::DiskSpaceUsage:
    case M::ProcCpu:
    case M::ProcUser:
    case M::ProcSystem:
        return rows::uPct;
    case M::MemAvailable:
    case M::MemCache:
    case M::MemUsed:
    case M::MemLimit:
    case M::MemKernelPool:
    case M::DiskFreeSpace:
    case M::DiskAvgBytes:
    case M::DiskAvgReadBytes:
    case M::DiskAvgWriteBytes:
    case M::ProcMemory:
        return rows::uBytes;
    case M::DiskBytes:
    case M::DiskReadBytes:
    case M::DiskWriteBytes:
    case M::NetBytes:
    case M::NetSendBytes:
    case M::NetRecvBytes:
    case M::ProcDataRate:
    case M::ProcReadRate:
    case M::ProcWriteRate:
        return rows::uByteRate;
    case M::DiskAvgTime:
    case M::DiskAvgReadTime:
    case M::DiskAvgWriteTime:
        return rows::uMs;
    case M::FreqMhz:
        return rows::uMhz;
    case M::NetBandwidth:
        return rows::uBitRate;
    case M::ProcTime:
        return rows::uSec;
    default:
        return rows::uCount;
    }
}

// Whether the instances the counter picker offers for a group are the ones the source reads.
constexpr bool FitsGroup(I kind, uint32_t group) {
    switch (kind) {
    case I::Cpu:
        return group == rows::gCpu || group == rows::gFreq;
    case I::LogicalDisk:
        return group == rows::gDisk;
    case I::PhysicalDisk:
        return group == rows::gPDisk;
    case I::Nic:
        return group == rows::gNic;
    case I::Process:
        return group == rows::gProc;
    case I::Printer:
        return group == rows::gPrint;
    case I::Single:
        // The whole computer: a group of one instance, or processors (interrupt rate).
        return group == rows::gCpu || group == rows::gMem || group == rows::gSys ||
               group == rows::gFs || group == rows::gProto;
    }
    return false;
}

// Each source is a type of the metadata, once, whose unit and instance group it serves.
constexpr bool SourcesFitTheMetadata() {
    bool seen[SCA_TEZ_MAX_COUNTER_TYPE + 1] = {};
    for (const tagSCA_PERF_SOURCE& source : kSources) {
        if (source.Type == 0 || source.Type > SCA_TEZ_MAX_COUNTER_TYPE || seen[source.Type]) {
            return false;
        }
        seen[source.Type] = true;
        const rows::Row& row = rows::Find(source.Type);
        if (row.Units != UnitsOf(source.Metric) || !FitsGroup(source.Instance, row.Group)) {
            return false;
        }
    }
    return true;
}

static_assert(SourcesFitTheMetadata(), "a source does not serve its counter type's unit or group");

constexpr auto kByType = [] {
    std::array<tagSCA_PERF_SOURCE, SCA_TEZ_MAX_COUNTER_TYPE + 1> table{};
    for (const tagSCA_PERF_SOURCE& source : kSources) {
        table[source.Type] = source;
    }
    return table;
}();

constexpr tagSCA_PERF_SOURCE kNoSource{};

} // namespace

const tagSCA_PERF_SOURCE& SCA_PerfSourceTable::Find(uint32_t type) {
    return type < kByType.size() ? kByType[type] : kNoSource;
}
