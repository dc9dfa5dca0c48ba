// SPDX-License-Identifier: MIT
#pragma once

// A pass over /proc that opens and reads the files the process monitor reads (the computer's
// stat once; each process's stat, io, fd folder and owner) with no bookkeeping: the floor that
// the monitor's own cost is compared with.
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvanta_bench {

// The kernel's mark of a kernel thread in the flags of /proc/PID/stat.
constexpr unsigned kKernelThreadFlag = 0x00200000u;
constexpr size_t kRawBufferSize = 65536;

inline size_t ReadProcFile(int dir, const char* name, char* buf, size_t size) {
    const int fd = openat(dir, name, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    size_t total = 0;
    ssize_t got = 0;
    while ((got = read(fd, buf, size)) > 0) {
        total += static_cast<size_t>(got);
    }
    close(fd);
    return total;
}

// The bytes read (and fd entries seen), so that the work cannot be optimised away.
inline size_t RawProcPass() {
    static thread_local char buf[kRawBufferSize];
    size_t bytes = 0;
    DIR* root = opendir("/proc");
    if (root == nullptr) {
        return 0;
    }
    bytes += ReadProcFile(dirfd(root), "stat", buf, sizeof(buf));
    while (const dirent* entry = readdir(root)) {
        if (entry->d_name[0] < '1' || entry->d_name[0] > '9') {
            continue;
        }
        char path[300];
        std::snprintf(path, sizeof(path), "/proc/%s", entry->d_name);
        const int dir = open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir < 0) {
            continue;
        }
        struct stat info {};
        fstat(dir, &info);
        const size_t statBytes = ReadProcFile(dir, "stat", buf, sizeof(buf) - 1);
        buf[statBytes] = '\0';
        // Kernel threads are skipped after their stat, as the monitor does.
        const char* paren = std::strrchr(buf, ')');
        unsigned flags = 0;
        if (paren == nullptr ||
            std::sscanf(paren + 1, " %*c %*d %*d %*d %*d %*d %u", &flags) != 1 ||
            (flags & kKernelThreadFlag) != 0) {
            close(dir);
            continue;
        }
        bytes += statBytes;
        bytes += ReadProcFile(dir, "io", buf, sizeof(buf));
        const int fdDir = openat(dir, "fd", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (DIR* fds = fdDir >= 0 ? fdopendir(fdDir) : nullptr) {
            while (readdir(fds) != nullptr) {
                ++bytes;
            }
            closedir(fds);
        } else if (fdDir >= 0) {
            close(fdDir);
        }
        close(dir);
    }
    closedir(root);
    return bytes;
}

} // namespace korvanta_bench
