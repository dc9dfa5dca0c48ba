// SPDX-License-Identifier: MIT
#pragma once
// The proportional share (PSS) of a process's memory as it would be without the program that
// measures it. The kernel's PSS splits every page among the processes that map it; a bench
// that links the same libraries as the process it measures (our own, and the ones they load,
// such as libcrypto) takes half of those pages off the measured process's figure. Here a page
// the measuring program maps too is split among the others alone, which is what the process
// holds where it runs without the bench.
//
// Exact where the page frames can be read (/proc/PID/pagemap shows them, and /proc/kpagecount
// how many mappings each has, to a privileged reader); otherwise a file this program maps
// too counts whole in the measured process (never less than the exact figure).
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <set>
#include <string>
#include <sys/types.h>
#include <unistd.h>
#include <unordered_set>
#include <vector>

namespace korvanta_bench {

namespace share_detail {

constexpr uint64_t kPresent = 1ull << 63;
constexpr uint64_t kFrameMask = (1ull << 55) - 1;
constexpr size_t kEntriesPerRead = 512;
constexpr double kBytesPerMb = 1024.0 * 1024.0;

inline std::string ProcPath(pid_t pid, const char* file) {
    return "/proc/" + (pid == 0 ? std::string("self") : std::to_string(pid)) + "/" + file;
}

// Calls visit(frame) for every resident page of pid (0: this program) whose frame is known;
// answers false when no frame could be read (an unprivileged reader sees every frame as 0).
template <typename Visit>
bool VisitFrames(pid_t pid, Visit visit) {
    const int pagemap = open(ProcPath(pid, "pagemap").c_str(), O_RDONLY | O_CLOEXEC);
    if (pagemap < 0) {
        return false;
    }
    const uint64_t pageSize = static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
    std::ifstream maps(ProcPath(pid, "maps"));
    bool seen = false;
    std::vector<uint64_t> entries(kEntriesPerRead);
    for (std::string line; std::getline(maps, line);) {
        const uint64_t start = std::strtoull(line.c_str(), nullptr, 16);
        const uint64_t end = std::strtoull(line.c_str() + line.find('-') + 1, nullptr, 16);
        for (uint64_t page = start / pageSize; page < end / pageSize;) {
            const size_t count =
                static_cast<size_t>(std::min<uint64_t>(kEntriesPerRead, end / pageSize - page));
            const ssize_t got = pread(pagemap, entries.data(), count * sizeof(uint64_t),
                                      static_cast<off_t>(page * sizeof(uint64_t)));
            if (got <= 0) {
                break;
            }
            const size_t read = static_cast<size_t>(got) / sizeof(uint64_t);
            for (size_t i = 0; i < read; ++i) {
                const uint64_t frame = entries[i] & kFrameMask;
                if ((entries[i] & kPresent) != 0 && frame != 0) {
                    seen = true;
                    visit(frame);
                }
            }
            page += read;
        }
    }
    close(pagemap);
    return seen;
}

// The files this program maps.
inline std::set<std::string> OwnFiles() {
    std::set<std::string> files;
    std::ifstream maps(ProcPath(0, "maps"));
    for (std::string line; std::getline(maps, line);) {
        const size_t path = line.find('/');
        if (path != std::string::npos) {
            files.insert(line.substr(path));
        }
    }
    return files;
}

// The fallback: smaps' Pss, but Rss for a file this program maps too.
inline double ShareWithoutFramesMb(pid_t pid) {
    const std::set<std::string> own = OwnFiles();
    std::ifstream smaps(ProcPath(pid, "smaps"));
    uint64_t kb = 0;
    bool whole = false;
    for (std::string line; std::getline(smaps, line);) {
        // A mapping's first line has its address range before any colon; its fields, a name
        // and a colon first.
        if (line.find(':') > line.find(' ')) {
            const size_t path = line.find('/');
            whole = path != std::string::npos && own.count(line.substr(path)) != 0;
        } else if (line.compare(0, 4, whole ? "Rss:" : "Pss:") == 0) {
            kb += std::strtoull(line.c_str() + 4, nullptr, 10);
        }
    }
    return static_cast<double>(kb) * 1024.0 / kBytesPerMb;
}

} // namespace share_detail

// The PSS of pid in MB, without this program's share of the pages it maps too.
inline double ProportionalShareMb(pid_t pid) {
    using namespace share_detail;
    std::unordered_set<uint64_t> ownFrames;
    const int counts = open("/proc/kpagecount", O_RDONLY | O_CLOEXEC);
    if (counts < 0 || !VisitFrames(0, [&](uint64_t frame) { ownFrames.insert(frame); })) {
        if (counts >= 0) {
            close(counts);
        }
        return ShareWithoutFramesMb(pid);
    }
    const double pageSize = static_cast<double>(sysconf(_SC_PAGESIZE));
    double bytes = 0.0;
    const bool read = VisitFrames(pid, [&](uint64_t frame) {
        uint64_t mappings = 0;
        if (pread(counts, &mappings, sizeof(mappings),
                  static_cast<off_t>(frame * sizeof(uint64_t))) != sizeof(mappings)) {
            return;
        }
        const uint64_t others = mappings - (ownFrames.count(frame) != 0 && mappings > 1 ? 1 : 0);
        bytes += pageSize / static_cast<double>(others == 0 ? 1 : others);
    });
    close(counts);
    return read ? bytes / kBytesPerMb : ShareWithoutFramesMb(pid);
}

} // namespace korvanta_bench
