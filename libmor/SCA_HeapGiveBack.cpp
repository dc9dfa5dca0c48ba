// SPDX-License-Identifier: MIT
#include "libmor/SCA_HeapGiveBack.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

namespace {

// The resident memory that no block in use holds (free heap pages not yet given back, and
// whatever else the process maps) after the last give-back, or lower once it shrank.
std::atomic<size_t> g_SlackGivenBack{0};
std::atomic<uint64_t> g_Looks{0};

// Resident bytes beyond the heap blocks in use.
size_t ResidentSlack() noexcept {
    const size_t resident = SCA_HeapResidentBytes();
    const struct mallinfo2 heap = mallinfo2();
    const size_t inUse = heap.uordblks + heap.hblkhd;
    return resident > inUse ? resident - inUse : 0;
}

} // namespace

size_t SCA_HeapResidentBytes() noexcept {
    // "size resident ..." in pages.
    const int statm = open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
    if (statm < 0) {
        return 0;
    }
    char text[128];
    const ssize_t got = read(statm, text, sizeof(text) - 1);
    close(statm);
    if (got <= 0) {
        return 0;
    }
    const char* end = text + got;
    const char* at = std::find(static_cast<const char*>(text), end, ' ');
    size_t pages = 0;
    if (at == end || std::from_chars(at + 1, end, pages).ec != std::errc()) {
        return 0;
    }
    return pages * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

uint64_t SCA_HeapGiveBackLooks() noexcept {
    return g_Looks.load();
}

int SCA_HeapGiveBackFreed(size_t threshold) noexcept {
    g_Looks.fetch_add(1, std::memory_order_relaxed);
    const size_t slack = ResidentSlack();
    size_t given = g_SlackGivenBack.load();
    // Slack taken again lowers the mark, so that freeing it anew counts.
    while (slack < given && !g_SlackGivenBack.compare_exchange_weak(given, slack)) {
    }
    if (slack <= given + threshold || !g_SlackGivenBack.compare_exchange_strong(given, slack)) {
        return 0;
    }
    malloc_trim(0);
    g_SlackGivenBack.store(ResidentSlack());
    return 1;
}
