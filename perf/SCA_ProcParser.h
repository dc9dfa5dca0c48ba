// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The records that the /proc and /sys files turn into. Counters are the kernel's raw cumulative
// values; the calculators make shares and rates of two of them.

// Jiffies of one processor line of /proc/stat (guest time is already inside user and nice).
struct tagSCA_CPU_TIMES {
    uint64_t User = 0;
    uint64_t Nice = 0;
    uint64_t System = 0;
    uint64_t Idle = 0;
    uint64_t IoWait = 0;
    uint64_t Irq = 0;
    uint64_t SoftIrq = 0;
    uint64_t Steal = 0;

    uint64_t Total() const { return User + Nice + System + Idle + IoWait + Irq + SoftIrq + Steal; }
    uint64_t IdleAll() const { return Idle + IoWait; }
};

struct tagSCA_PROC_STAT {
    tagSCA_CPU_TIMES All;
    std::vector<std::pair<uint32_t, tagSCA_CPU_TIMES>> Cpus; // by processor number
    std::optional<uint64_t> ContextSwitches;
    std::optional<uint64_t> Interrupts;
    std::optional<uint64_t> ProcsRunning;
    std::optional<uint64_t> BootTime; // seconds since 1970
};

// "name value" pairs in file order (meminfo values in bytes, the rest as written).
using tagSCA_KEY_VALUES = std::vector<std::pair<std::string, uint64_t>>;

struct tagSCA_DISK_STAT {
    uint32_t Major = 0;
    uint32_t Minor = 0;
    std::string Name;
    uint64_t Reads = 0;
    uint64_t ReadSectors = 0;
    uint64_t ReadMs = 0;
    uint64_t Writes = 0;
    uint64_t WriteSectors = 0;
    uint64_t WriteMs = 0;
    uint64_t InProgress = 0;
    uint64_t IoMs = 0;
    uint64_t WeightedMs = 0;
};

struct tagSCA_NET_DEV {
    std::string Name;
    uint64_t RxBytes = 0;
    uint64_t RxPackets = 0;
    uint64_t RxErrors = 0;
    uint64_t RxDrops = 0;
    uint64_t TxBytes = 0;
    uint64_t TxPackets = 0;
    uint64_t TxErrors = 0;
    uint64_t TxDrops = 0;
};

struct tagSCA_MOUNT {
    uint32_t Major = 0;
    uint32_t Minor = 0;
    std::string MountPoint;
    std::string FsType;
    std::string Source;
};

// The kernel marks its own threads with this flag in the stat flags field.
inline constexpr uint32_t SCA_PROC_FLAG_KERNEL_THREAD = 0x00200000u;
// ... and a task that has begun to exit with this one.
inline constexpr uint32_t SCA_PROC_FLAG_EXITING = 0x00000004u;
// The kernel cuts the name in stat to this many bytes.
inline constexpr uint32_t SCA_PROC_COMM_MAX = 15;

struct tagSCA_PID_STAT {
    uint32_t Pid = 0;
    std::string Name; // the command name between the parentheses, raw bytes
    char State = '?';
    uint32_t ParentPid = 0;
    uint32_t Flags = 0;
    int32_t Priority = 0;
    int32_t Nice = 0;
    uint64_t MinorFaults = 0;
    uint64_t MajorFaults = 0;
    uint64_t UserTicks = 0;
    uint64_t SystemTicks = 0;
    uint64_t Threads = 0;
    uint64_t StartTicks = 0; // since boot
    uint64_t RssPages = 0;
};

struct tagSCA_PID_IO {
    uint64_t ReadChars = 0;
    uint64_t WriteChars = 0;
    uint64_t ReadCalls = 0;
    uint64_t WriteCalls = 0;
};

// Turns the text of /proc files into records. Pure functions over the text: no I/O, no state.
// Malformed lines are skipped; a file without its essential lines gives std::nullopt.
class SCA_ProcParser {
public:
    static std::optional<tagSCA_PROC_STAT> ParseStat(std::string_view text);
    // "Key: value [kB]" (meminfo, values made bytes) or "key value" (vmstat, snmp6).
    static tagSCA_KEY_VALUES ParseKeyValues(std::string_view text);
    // Header and value line pairs of /proc/net/snmp and netstat, as "Tcp.InSegs".
    static tagSCA_KEY_VALUES ParseSnmp(std::string_view text);
    static std::vector<tagSCA_DISK_STAT> ParseDiskStats(std::string_view text);
    static std::vector<tagSCA_NET_DEV> ParseNetDev(std::string_view text);
    // /proc/self/mountinfo, with the octal escapes of names undone.
    static std::vector<tagSCA_MOUNT> ParseMountInfo(std::string_view text);
    static std::optional<tagSCA_PID_STAT> ParsePidStat(std::string_view text);
    static std::optional<tagSCA_PID_IO> ParsePidIo(std::string_view text);
    // The total of scheduling entities (threads) of "0.1 0.2 0.3 2/345 678".
    static std::optional<uint64_t> ParseLoadAvgThreads(std::string_view text);
    // The first number of a file (file-nr, cpufreq values, link speed); none when it is negative.
    static std::optional<uint64_t> ParseFirstNumber(std::string_view text);
    // The second number of a line ("allocated free max" of file-nr).
    static std::optional<uint64_t> ParseNthNumber(std::string_view text, uint32_t index);
    // Connections of /proc/net/tcp or tcp6 in state 01 (established).
    static uint64_t CountEstablished(std::string_view text);
    // The file-backed paths of /proc/PID/maps, each once, in order of first appearance.
    static std::vector<std::string> ParseMapsPaths(std::string_view text);
    // The section names of an smb.conf text, less the special ones (global, homes, printers).
    static std::vector<std::string> ParseSambaShares(std::string_view text);

    // Records of a utmp file that are user logins; a cut record at the end is ignored.
    static uint64_t CountUtmpUsers(std::string_view bytes);

    static const uint64_t* Find(const tagSCA_KEY_VALUES& values, std::string_view key);
};
