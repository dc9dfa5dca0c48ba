// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// Where each counter type's value comes from on Linux: the one place that says which counters
// are real. A type without an entry is still offered and can be opened, but it never has a
// value ("---" in the views), never a made-up 0.

enum class SCA_PerfSource : uint8_t {
    None, // no Linux source
    Cpu,
    CpuFreq,
    Memory,
    System,
    LogicalDisk,
    PhysicalDisk,
    Nic,
    Tcp,
    Udp,
    Process,
    Printer,
};

// What an instance name names for a source.
enum class SCA_PerfInstanceKind : uint8_t {
    Single,       // the whole computer; the instance name is ignored
    Cpu,          // "0", "1", ... or "" for all processors
    LogicalDisk,  // a mount point, or "" for all
    PhysicalDisk, // a block device of /sys/block, or "" for all
    Nic,          // an interface name, or "" for all but loopback
    Process,      // a process name or a process id, or "" for all processes
    Printer,      // a print queue, or "" for all
};

enum class SCA_PerfMetric : uint8_t {
    CpuTotal,
    CpuUser,
    CpuSystem,
    CpuInterrupt,
    CpuInterruptRate,
    CpuIdleC1,
    CpuIdleC2,
    CpuIdleC3,
    CpuQueue,
    ContextSwitchRate,
    FreqMhz,
    FreqPercent,
    MemUsage,
    MemAvailable,
    MemCache,
    MemUsed,
    MemPageFaultRate,
    MemPageReadRate,
    MemPageWriteRate,
    SwapUsage,
    MemLimit,
    MemKernelPool,
    Processes,
    Threads,
    Handles,
    OpenFiles,
    Sessions,
    InactiveSessions,
    DiskActivity,
    DiskReadActivity,
    DiskWriteActivity,
    DiskBytes,
    DiskReadBytes,
    DiskWriteBytes,
    DiskIops,
    DiskReadIops,
    DiskWriteIops,
    DiskFreeSpace,
    DiskSpaceUsage,
    DiskAvgBytes,
    DiskAvgReadBytes,
    DiskAvgWriteBytes,
    DiskAvgTime,
    DiskAvgReadTime,
    DiskAvgWriteTime,
    DiskAvgQueue,
    DiskAvgReadQueue,
    DiskAvgWriteQueue,
    DiskQueue,
    NetBytes,
    NetSendBytes,
    NetRecvBytes,
    NetPackets,
    NetSendPackets,
    NetRecvPackets,
    NetSendErrors,
    NetRecvErrors,
    NetSendDrops,
    NetRecvDrops,
    NetBandwidth,
    TcpSegments,
    TcpEstablished,
    TcpActiveOpens,
    TcpPassiveOpens,
    TcpFailures,
    TcpResets,
    TcpInSegments,
    TcpOutSegments,
    TcpRetransmits,
    UdpDatagrams,
    UdpNoPorts,
    UdpSent,
    UdpReceived,
    UdpErrors,
    ProcCpu,
    ProcUser,
    ProcSystem,
    ProcMemory,
    ProcHandles,
    ProcThreads,
    ProcDataRate,
    ProcDataIops,
    ProcReadRate,
    ProcReadIops,
    ProcWriteRate,
    ProcWriteIops,
    ProcFaultRate,
    ProcId,
    ProcTime,
    ProcParentId,
    PrintJobs,
};

// IP version of a protocol counter: both together, or one of them.
inline constexpr uint8_t SCA_PERF_IP_ANY = 0;
inline constexpr uint8_t SCA_PERF_IP_V4 = 4;
inline constexpr uint8_t SCA_PERF_IP_V6 = 6;

struct tagSCA_PERF_SOURCE {
    uint32_t Type = 0;
    SCA_PerfSource Source = SCA_PerfSource::None;
    SCA_PerfInstanceKind Instance = SCA_PerfInstanceKind::Single;
    SCA_PerfMetric Metric = SCA_PerfMetric::CpuTotal;
    uint8_t IpVersion = SCA_PERF_IP_ANY;
};

class SCA_PerfSourceTable {
public:
    // The source of a counter type; Source None for every type without one (and outside the
    // vocabulary). Constant time.
    static const tagSCA_PERF_SOURCE& Find(uint32_t type);
    // Whether a type has a Linux source at all.
    static bool HasSource(uint32_t type) { return Find(type).Source != SCA_PerfSource::None; }
};
