// SPDX-License-Identifier: MIT
#include "perf/SCA_PerfSnapshot.h"

#include <algorithm>
#include <sys/statvfs.h>

#include "perf/SCA_PerfFileReader.h"
#include "perf/SCA_PerfPrinters.h"

namespace {

// File systems without storage of their own: they have no space or activity worth a counter.
constexpr const char* kPseudoFileSystems[] = {
    "autofs",     "binfmt_misc", "bpf",      "cgroup",   "cgroup2",         "configfs",
    "debugfs",    "devpts",      "devtmpfs", "efivarfs", "fusectl",         "hugetlbfs",
    "mqueue",     "nsfs",        "proc",     "pstore",   "ramfs",           "rpc_pipefs",
    "securityfs", "sysfs",       "tmpfs",    "tracefs",  "fuse.gvfsd-fuse", "fuse.portal"};

} // namespace

bool SCA_PerfSnapshot::IsPseudoFileSystem(const std::string& fsType) {
    for (const char* pseudo : kPseudoFileSystems) {
        if (fsType == pseudo) {
            return true;
        }
    }
    return false;
}

std::optional<std::string> SCA_PerfSnapshot::Read(const std::string& path) {
    if (!SCA_PerfFileReader::ReadFile(path, &m_Buffer)) {
        return std::nullopt;
    }
    return m_Buffer;
}

const tagSCA_PROC_STAT* SCA_PerfSnapshot::GetStat() {
    return Get(m_Stat, [this]() -> std::optional<tagSCA_PROC_STAT> {
        auto text = Read(Proc("stat"));
        return text ? SCA_ProcParser::ParseStat(*text) : std::nullopt;
    });
}

const tagSCA_KEY_VALUES* SCA_PerfSnapshot::GetMemInfo() {
    return Get(m_MemInfo, [this]() -> std::optional<tagSCA_KEY_VALUES> {
        auto text = Read(Proc("meminfo"));
        return text ? std::optional(SCA_ProcParser::ParseKeyValues(*text)) : std::nullopt;
    });
}

const tagSCA_KEY_VALUES* SCA_PerfSnapshot::GetVmStat() {
    return Get(m_VmStat, [this]() -> std::optional<tagSCA_KEY_VALUES> {
        auto text = Read(Proc("vmstat"));
        return text ? std::optional(SCA_ProcParser::ParseKeyValues(*text)) : std::nullopt;
    });
}

const tagSCA_KEY_VALUES* SCA_PerfSnapshot::GetSnmp() {
    return Get(m_Snmp, [this]() -> std::optional<tagSCA_KEY_VALUES> {
        auto text = Read(Proc("net/snmp"));
        return text ? std::optional(SCA_ProcParser::ParseSnmp(*text)) : std::nullopt;
    });
}

const tagSCA_KEY_VALUES* SCA_PerfSnapshot::GetSnmp6() {
    return Get(m_Snmp6, [this]() -> std::optional<tagSCA_KEY_VALUES> {
        auto text = Read(Proc("net/snmp6"));
        return text ? std::optional(SCA_ProcParser::ParseKeyValues(*text)) : std::nullopt;
    });
}

const std::vector<tagSCA_DISK_STAT>* SCA_PerfSnapshot::GetDiskStats() {
    return Get(m_DiskStats, [this]() -> std::optional<std::vector<tagSCA_DISK_STAT>> {
        auto text = Read(Proc("diskstats"));
        return text ? std::optional(SCA_ProcParser::ParseDiskStats(*text)) : std::nullopt;
    });
}

const std::vector<tagSCA_NET_DEV>* SCA_PerfSnapshot::GetNetDev() {
    return Get(m_NetDev, [this]() -> std::optional<std::vector<tagSCA_NET_DEV>> {
        auto text = Read(Proc("net/dev"));
        return text ? std::optional(SCA_ProcParser::ParseNetDev(*text)) : std::nullopt;
    });
}

const std::vector<tagSCA_MOUNT_SPACE>* SCA_PerfSnapshot::GetMounts() {
    return Get(m_Mounts, [this]() -> std::optional<std::vector<tagSCA_MOUNT_SPACE>> {
        auto text = Read(Proc("self/mountinfo"));
        if (!text) {
            return std::nullopt;
        }
        std::vector<tagSCA_MOUNT_SPACE> mounts;
        for (tagSCA_MOUNT& mount : SCA_ProcParser::ParseMountInfo(*text)) {
            bool seen = false;
            for (const tagSCA_MOUNT_SPACE& other : mounts) {
                seen = seen || other.Mount.MountPoint == mount.MountPoint;
            }
            if (seen || IsPseudoFileSystem(mount.FsType)) {
                continue; // a later mount over the same point hides the earlier one
            }
            tagSCA_MOUNT_SPACE entry;
            struct statvfs space {};
            if (statvfs(mount.MountPoint.c_str(), &space) == 0) {
                entry.HasSpace = true;
                entry.BlockSize = space.f_frsize;
                entry.Blocks = space.f_blocks;
                entry.FreeBlocks = space.f_bfree;
                entry.AvailableBlocks = space.f_bavail;
            }
            entry.Mount = std::move(mount);
            mounts.push_back(std::move(entry));
        }
        return mounts;
    });
}

const std::vector<std::string>* SCA_PerfSnapshot::GetPhysicalDisks() {
    return Get(m_PhysicalDisks, [this]() -> std::optional<std::vector<std::string>> {
        std::vector<std::string> disks;
        for (std::string& name : SCA_PerfFileReader::ListFolder(m_Roots.Sys + "/block")) {
            if (name.rfind("loop", 0) != 0 && name.rfind("ram", 0) != 0) {
                disks.push_back(std::move(name));
            }
        }
        return disks;
    });
}

const std::vector<tagSCA_PID_STAT>* SCA_PerfSnapshot::GetProcesses() {
    return Get(m_Processes, [this]() -> std::optional<std::vector<tagSCA_PID_STAT>> {
        std::vector<uint32_t> pids;
        if (!m_ProcReader.ListPids(&pids)) {
            return std::nullopt;
        }
        std::vector<tagSCA_PID_STAT> processes;
        for (const uint32_t pid : pids) {
            // A process that ended since the folder was listed is simply not there.
            if (auto stat = m_ProcReader.ReadStat(pid)) {
                processes.push_back(std::move(*stat));
            }
        }
        std::sort(processes.begin(), processes.end(),
                  [](const tagSCA_PID_STAT& a, const tagSCA_PID_STAT& b) { return a.Pid < b.Pid; });
        return processes;
    });
}

std::optional<uint64_t> SCA_PerfSnapshot::GetProcessCount() {
    const uint64_t* count = Get(m_ProcessCount, [this]() -> std::optional<uint64_t> {
        std::vector<uint32_t> pids;
        return m_ProcReader.ListPids(&pids) && !pids.empty() ? std::optional<uint64_t>(pids.size())
                                                             : std::nullopt;
    });
    return count != nullptr ? std::optional(*count) : std::nullopt;
}

std::optional<uint64_t> SCA_PerfSnapshot::GetThreadCount() {
    const uint64_t* count = Get(m_ThreadCount, [this]() -> std::optional<uint64_t> {
        auto text = Read(Proc("loadavg"));
        return text ? SCA_ProcParser::ParseLoadAvgThreads(*text) : std::nullopt;
    });
    return count != nullptr ? std::optional(*count) : std::nullopt;
}

std::optional<uint64_t> SCA_PerfSnapshot::GetOpenFileHandles() {
    const uint64_t* count = Get(m_FileHandles, [this]() -> std::optional<uint64_t> {
        auto text = Read(Proc("sys/fs/file-nr"));
        if (!text) {
            return std::nullopt;
        }
        // allocated, allocated but unused (0 since 2.6), maximum
        auto allocated = SCA_ProcParser::ParseNthNumber(*text, 0);
        auto unused = SCA_ProcParser::ParseNthNumber(*text, 1);
        if (!allocated || !unused || *unused > *allocated) {
            return std::nullopt;
        }
        return *allocated - *unused;
    });
    return count != nullptr ? std::optional(*count) : std::nullopt;
}

std::optional<uint64_t> SCA_PerfSnapshot::GetUptimeSeconds() {
    const uint64_t* seconds = Get(m_Uptime, [this]() -> std::optional<uint64_t> {
        auto text = Read(Proc("uptime"));
        if (!text) {
            return std::nullopt;
        }
        const size_t dot = text->find('.');
        return SCA_ProcParser::ParseFirstNumber(text->substr(0, dot));
    });
    return seconds != nullptr ? std::optional(*seconds) : std::nullopt;
}

std::optional<tagSCA_SESSIONS> SCA_PerfSnapshot::GetSessions() {
    const tagSCA_SESSIONS* sessions = Get(m_Sessions, [this]() -> std::optional<tagSCA_SESSIONS> {
        const std::string folder = m_Roots.Run + "/systemd/sessions";
        std::vector<std::string> names = SCA_PerfFileReader::ListFolder(folder);
        if (!names.empty()) {
            tagSCA_SESSIONS result;
            result.Inactive = 0;
            for (const std::string& name : names) {
                auto text =
                    name.find('.') == std::string::npos ? Read(folder + "/" + name) : std::nullopt;
                if (!text) {
                    continue; // the ".ref" pipes, or a session that just ended
                }
                ++result.Total;
                *result.Inactive += text->find("\nACTIVE=1") == std::string::npos ? 1 : 0;
            }
            return result;
        }
        auto utmp = Read(m_Roots.Run + "/utmp");
        if (!utmp) {
            return std::nullopt;
        }
        return tagSCA_SESSIONS{SCA_ProcParser::CountUtmpUsers(*utmp), std::nullopt};
    });
    return sessions != nullptr ? std::optional(*sessions) : std::nullopt;
}

std::optional<uint64_t> SCA_PerfSnapshot::GetTcpEstablished(bool v6) {
    const uint64_t* count = Get(v6 ? m_Tcp6 : m_Tcp4, [this, v6]() -> std::optional<uint64_t> {
        auto text = Read(Proc(v6 ? "net/tcp6" : "net/tcp"));
        return text ? std::optional(SCA_ProcParser::CountEstablished(*text)) : std::nullopt;
    });
    return count != nullptr ? std::optional(*count) : std::nullopt;
}

std::optional<tagSCA_PID_IO> SCA_PerfSnapshot::GetProcessIo(uint32_t pid) {
    return GetKeyed(m_ProcessIo, pid, [this, pid]() -> std::optional<tagSCA_PID_IO> {
        return m_ProcReader.ReadIo(pid);
    });
}

std::optional<uint64_t> SCA_PerfSnapshot::GetProcessHandles(uint32_t pid) {
    return GetKeyed(m_ProcessHandles, pid, [this, pid]() -> std::optional<uint64_t> {
        const auto handles = m_ProcReader.CountHandles(pid);
        return handles ? std::optional<uint64_t>(*handles) : std::nullopt;
    });
}

std::optional<tagSCA_CPU_FREQ> SCA_PerfSnapshot::GetCpuFreq(uint32_t cpu) {
    return GetKeyed(m_CpuFreq, cpu, [this, cpu]() -> std::optional<tagSCA_CPU_FREQ> {
        const std::string folder =
            m_Roots.Sys + "/devices/system/cpu/cpu" + std::to_string(cpu) + "/cpufreq/";
        auto current = Read(folder + "scaling_cur_freq");
        auto now = current ? SCA_ProcParser::ParseFirstNumber(*current) : std::nullopt;
        if (!now) {
            return std::nullopt;
        }
        auto max = Read(folder + "cpuinfo_max_freq");
        auto maxKHz = max ? SCA_ProcParser::ParseFirstNumber(*max) : std::nullopt;
        return tagSCA_CPU_FREQ{*now, maxKHz.value_or(0)};
    });
}

std::optional<uint64_t> SCA_PerfSnapshot::GetCpuIdleTime(uint32_t cpu, const std::string& state) {
    return GetKeyed(m_CpuIdle, std::make_pair(cpu, state), [&]() -> std::optional<uint64_t> {
        const std::string folder =
            m_Roots.Sys + "/devices/system/cpu/cpu" + std::to_string(cpu) + "/cpuidle";
        for (const std::string& entry : SCA_PerfFileReader::ListFolder(folder)) {
            auto name = Read(folder + "/" + entry + "/name");
            if (name && name->substr(0, name->find('\n')) == state) {
                auto time = Read(folder + "/" + entry + "/time");
                return time ? SCA_ProcParser::ParseFirstNumber(*time) : std::nullopt;
            }
        }
        return std::nullopt;
    });
}

std::optional<uint64_t> SCA_PerfSnapshot::GetLinkSpeed(const std::string& nic) {
    return GetKeyed(m_LinkSpeed, nic, [this, &nic]() -> std::optional<uint64_t> {
        // Reading the speed of a link that is down fails with EINVAL; "-1" means unknown.
        auto text = Read(m_Roots.Sys + "/class/net/" + nic + "/speed");
        auto speed = text ? SCA_ProcParser::ParseFirstNumber(*text) : std::nullopt;
        return speed && *speed > 0 ? speed : std::nullopt;
    });
}

std::optional<uint64_t> SCA_PerfSnapshot::GetPrintJobs(const std::string& printer) {
    const auto* jobs = Get(m_PrintJobs, []() -> std::optional<std::map<std::string, uint64_t>> {
        std::map<std::string, uint64_t> counts;
        return SCA_PerfPrinters::CountActiveJobs(&counts) ? std::optional(counts) : std::nullopt;
    });
    if (jobs == nullptr) {
        return std::nullopt;
    }
    if (printer.empty()) {
        uint64_t total = 0;
        for (const auto& entry : *jobs) {
            total += entry.second;
        }
        return total;
    }
    const auto found = jobs->find(printer);
    return found != jobs->end() ? found->second : 0;
}
