// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "perf/SCA_PerfRoots.h"
#include "perf/SCA_ProcParser.h"
#include "perf/SCA_ProcReader.h"

// A mounted file system as the logical-disk counters see it, with its space at the time of the
// snapshot (HasSpace false when statvfs failed).
struct tagSCA_MOUNT_SPACE {
    tagSCA_MOUNT Mount;
    bool HasSpace = false;
    uint64_t BlockSize = 0;
    uint64_t Blocks = 0;
    uint64_t FreeBlocks = 0;      // free for root too
    uint64_t AvailableBlocks = 0; // free for ordinary users
};

struct tagSCA_CPU_FREQ {
    uint64_t CurrentKHz = 0;
    uint64_t MaxKHz = 0; // 0 when unknown
};

struct tagSCA_SESSIONS {
    uint64_t Total = 0;
    std::optional<uint64_t> Inactive; // logind tells, utmp does not
};

// What the machine looked like at one tick: every /proc and /sys file a counter needs, read
// and parsed at most once, on first demand, however many monitors ask. Safe to share between
// threads; pointers it hands out stay valid for its lifetime. A getter answers null (or
// nothing) when its file cannot be read, which makes the counters that need it "no value".
class SCA_PerfSnapshot {
public:
    SCA_PerfSnapshot(tagSCA_PERF_ROOTS roots, uint64_t tick, uint64_t monotonicNs)
        : m_Roots(std::move(roots)), m_Tick(tick), m_MonotonicNs(monotonicNs),
          m_ProcReader(m_Roots.Proc.c_str()) {}
    SCA_PerfSnapshot(const SCA_PerfSnapshot&) = delete;
    SCA_PerfSnapshot& operator=(const SCA_PerfSnapshot&) = delete;

    uint64_t GetTick() const { return m_Tick; }
    uint64_t GetMonotonicNs() const { return m_MonotonicNs; }
    const tagSCA_PERF_ROOTS& GetRoots() const { return m_Roots; }

    const tagSCA_PROC_STAT* GetStat();
    const tagSCA_KEY_VALUES* GetMemInfo();
    const tagSCA_KEY_VALUES* GetVmStat();
    const tagSCA_KEY_VALUES* GetSnmp();
    const tagSCA_KEY_VALUES* GetSnmp6();
    const std::vector<tagSCA_DISK_STAT>* GetDiskStats();
    const std::vector<tagSCA_NET_DEV>* GetNetDev();
    // Real file systems only: pseudo ones (proc, sysfs, tmpfs, cgroup ...) are left out.
    const std::vector<tagSCA_MOUNT_SPACE>* GetMounts();
    // Whole disks: the block devices of /sys/block, less loop and RAM disks.
    const std::vector<std::string>* GetPhysicalDisks();
    // Every process, sorted by process id.
    const std::vector<tagSCA_PID_STAT>* GetProcesses();
    std::optional<uint64_t> GetProcessCount();
    std::optional<uint64_t> GetThreadCount();
    std::optional<uint64_t> GetOpenFileHandles();
    std::optional<uint64_t> GetUptimeSeconds();
    std::optional<tagSCA_SESSIONS> GetSessions();
    std::optional<uint64_t> GetTcpEstablished(bool v6);
    std::optional<tagSCA_PID_IO> GetProcessIo(uint32_t pid);
    std::optional<uint64_t> GetProcessHandles(uint32_t pid);
    std::optional<tagSCA_CPU_FREQ> GetCpuFreq(uint32_t cpu);
    // Microseconds spent in the idle state of that name ("C1") since boot.
    std::optional<uint64_t> GetCpuIdleTime(uint32_t cpu, const std::string& state);
    // Active print jobs of a queue ("" for all); nothing when no print server runs.
    std::optional<uint64_t> GetPrintJobs(const std::string& printer);
    // Link speed in megabits per second.
    std::optional<uint64_t> GetLinkSpeed(const std::string& nic);

    static bool IsPseudoFileSystem(const std::string& fsType);

private:
    template <class T>
    struct Slot {
        bool Done = false;
        std::optional<T> Value;
    };

    template <class T, class Fill>
    const T* Get(Slot<T>& slot, Fill fill) {
        std::lock_guard<std::mutex> guard(m_Lock);
        if (!slot.Done) {
            slot.Done = true;
            slot.Value = fill();
        }
        return slot.Value ? &*slot.Value : nullptr;
    }

    template <class K, class T, class Fill>
    std::optional<T> GetKeyed(std::map<K, std::optional<T>>& cache, const K& key, Fill fill) {
        std::lock_guard<std::mutex> guard(m_Lock);
        auto found = cache.find(key);
        if (found == cache.end()) {
            found = cache.emplace(key, fill()).first;
        }
        return found->second;
    }

    std::optional<std::string> Read(const std::string& path);
    std::string Proc(const char* name) const { return m_Roots.Proc + "/" + name; }

    const tagSCA_PERF_ROOTS m_Roots;
    const uint64_t m_Tick;
    const uint64_t m_MonotonicNs;
    std::mutex m_Lock;
    std::string m_Buffer;        // one read buffer, used under the lock
    SCA_ProcReader m_ProcReader; // the process files, read under the lock

    Slot<tagSCA_PROC_STAT> m_Stat;
    Slot<tagSCA_KEY_VALUES> m_MemInfo;
    Slot<tagSCA_KEY_VALUES> m_VmStat;
    Slot<tagSCA_KEY_VALUES> m_Snmp;
    Slot<tagSCA_KEY_VALUES> m_Snmp6;
    Slot<std::vector<tagSCA_DISK_STAT>> m_DiskStats;
    Slot<std::vector<tagSCA_NET_DEV>> m_NetDev;
    Slot<std::vector<tagSCA_MOUNT_SPACE>> m_Mounts;
    Slot<std::vector<std::string>> m_PhysicalDisks;
    Slot<std::vector<tagSCA_PID_STAT>> m_Processes;
    Slot<uint64_t> m_ProcessCount;
    Slot<uint64_t> m_ThreadCount;
    Slot<uint64_t> m_FileHandles;
    Slot<uint64_t> m_Uptime;
    Slot<tagSCA_SESSIONS> m_Sessions;
    Slot<uint64_t> m_Tcp4;
    Slot<uint64_t> m_Tcp6;
    Slot<std::map<std::string, uint64_t>> m_PrintJobs;
    std::map<uint32_t, std::optional<tagSCA_PID_IO>> m_ProcessIo;
    std::map<uint32_t, std::optional<uint64_t>> m_ProcessHandles;
    std::map<uint32_t, std::optional<tagSCA_CPU_FREQ>> m_CpuFreq;
    std::map<std::pair<uint32_t, std::string>, std::optional<uint64_t>> m_CpuIdle;
    std::map<std::string, std::optional<uint64_t>> m_LinkSpeed;
};
