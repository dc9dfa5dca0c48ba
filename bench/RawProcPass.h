// SPDX-License-Identifier: MIT
#pragma once

// A pass over /proc that reads and parses what the process monitor reads and keeps (the
// computer's processor ticks once; each process's stat fields, its io counters, its open
// descriptors and its owner) into plain structs, with no bookkeeping: the floor that the
// monitor's own cost is compared with.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvanta_bench {

// The kernel's mark of a kernel thread in the flags of /proc/PID/stat.
constexpr unsigned kKernelThreadFlag = 0x00200000u;
constexpr size_t kRawBufferSize = 65536;
constexpr int kCpuFields = 8;
// The positions (counted from the state, 0) of the stat fields the monitor keeps.
constexpr int kRawStatFields = 22;
constexpr int kRawParent = 1;
constexpr int kRawFlags = 6;
constexpr int kRawMinorFaults = 7;
constexpr int kRawMajorFaults = 9;
constexpr int kRawUserTicks = 11;
constexpr int kRawSystemTicks = 12;
constexpr int kRawPriority = 15;
constexpr int kRawNice = 16;
constexpr int kRawThreads = 17;
constexpr int kRawStartTicks = 19;
constexpr int kRawRss = 21;

struct RawProcess {
    unsigned long Pid;
    char Name[16];
    char State;
    unsigned long long Fields[kRawStatFields];
    long Priority;
    long Nice;
    unsigned long long Io[4]; // rchar wchar syscr syscw
    unsigned Handles;
    unsigned Uid;
};

inline size_t ReadProcFile(int dir, const char* name, char* buf, size_t size) {
    const int fd = openat(dir, name, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    size_t total = 0;
    ssize_t got = 0;
    while (total < size && (got = read(fd, buf + total, size - total)) > 0) {
        total += static_cast<size_t>(got);
    }
    close(fd);
    buf[total < size ? total : size - 1] = '\0';
    return total;
}

// The sum of the eight tick counts of the "cpu" line.
inline unsigned long long RawMachineTicks(const char* text) {
    if (std::strncmp(text, "cpu ", 4) != 0) {
        return 0;
    }
    char* next = const_cast<char*>(text + 4);
    unsigned long long total = 0;
    for (int i = 0; i < kCpuFields; ++i) {
        total += std::strtoull(next, &next, 10);
    }
    return total;
}

// pid (name) state and the numeric fields after it; false for a kernel thread or bad text.
inline bool RawParseStat(char* text, RawProcess* process) {
    char* open = std::strchr(text, '(');
    char* close = std::strrchr(text, ')');
    if (open == nullptr || close == nullptr || close < open || close[1] == '\0') {
        return false;
    }
    process->Pid = std::strtoul(text, nullptr, 10);
    const size_t length = static_cast<size_t>(close - open - 1);
    const size_t kept = length < sizeof(process->Name) - 1 ? length : sizeof(process->Name) - 1;
    std::memcpy(process->Name, open + 1, kept);
    process->Name[kept] = '\0';
    process->State = close[2];
    char* next = close + 3;
    for (int i = 1; i < kRawStatFields; ++i) {
        if (i == kRawPriority || i == kRawNice) {
            (i == kRawPriority ? process->Priority : process->Nice) = std::strtol(next, &next, 10);
        } else {
            process->Fields[i] = std::strtoull(next, &next, 10);
        }
    }
    return (process->Fields[kRawFlags] & kKernelThreadFlag) == 0;
}

// "rchar: N" ... : the first four lines.
inline void RawParseIo(char* text, RawProcess* process) {
    char* next = text;
    for (unsigned long long& value : process->Io) {
        next = std::strchr(next, ':');
        if (next == nullptr) {
            return;
        }
        value = std::strtoull(next + 1, &next, 10);
    }
}

inline unsigned RawCountHandles(int dir) {
    const int fdDir = openat(dir, "fd", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* fds = fdDir >= 0 ? fdopendir(fdDir) : nullptr;
    if (fds == nullptr) {
        if (fdDir >= 0) {
            close(fdDir);
        }
        return 0;
    }
    unsigned count = 0;
    while (const dirent* entry = readdir(fds)) {
        count += entry->d_name[0] != '.' ? 1u : 0u;
    }
    closedir(fds);
    return count;
}

// A checksum of what was parsed, so that the work cannot be optimised away.
inline size_t RawProcPass() {
    static thread_local char buf[kRawBufferSize];
    DIR* root = opendir("/proc");
    if (root == nullptr) {
        return 0;
    }
    ReadProcFile(dirfd(root), "stat", buf, sizeof(buf));
    size_t sum = RawMachineTicks(buf);
    RawProcess process{};
    while (const dirent* entry = readdir(root)) {
        if (entry->d_name[0] < '1' || entry->d_name[0] > '9') {
            continue;
        }
        const int dir = openat(dirfd(root), entry->d_name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir < 0) {
            continue;
        }
        if (ReadProcFile(dir, "stat", buf, sizeof(buf)) == 0 || !RawParseStat(buf, &process)) {
            close(dir);
            continue;
        }
        if (ReadProcFile(dir, "io", buf, sizeof(buf)) != 0) {
            RawParseIo(buf, &process);
        }
        process.Handles = RawCountHandles(dir);
        struct stat info {};
        process.Uid = fstat(dir, &info) == 0 ? info.st_uid : 0;
        close(dir);
        sum += process.Pid + process.Fields[kRawUserTicks] + process.Fields[kRawSystemTicks] +
               process.Fields[kRawRss] + process.Fields[kRawStartTicks] + process.Io[0] +
               process.Handles + process.Uid + static_cast<size_t>(process.Name[0]);
    }
    closedir(root);
    return sum;
}

} // namespace korvanta_bench
