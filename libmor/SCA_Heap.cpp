// SPDX-License-Identifier: MIT
#include "libmor/SCA_Heap.h"

#include <cstdlib>
#include <cstring>

namespace {

// Per thread, so that a test that arms the hook is not disturbed by other threads' allocations.
thread_local uint32_t t_FailAfter = 0;
thread_local uint64_t t_AllocCount = 0;

// True when the armed hook says this allocation is the one to fail.
bool ShouldFail() noexcept {
    if (t_FailAfter == 0) {
        return false;
    }
    --t_FailAfter;
    return t_FailAfter == 0;
}

} // namespace

void* SCA_HeapAlloc(size_t size) noexcept {
    ++t_AllocCount;
    if (ShouldFail()) {
        return nullptr;
    }
    // malloc(0) may answer null; callers treat null as failure, so ask for one byte instead.
    return std::malloc(size == 0 ? 1 : size);
}

void SCA_HeapFree(void* memory) noexcept {
    std::free(memory);
}

char* SCA_HeapStrDup(const char* text) noexcept {
    if (text == nullptr) {
        return nullptr;
    }
    const size_t size = std::strlen(text) + 1;
    char* copy = static_cast<char*>(SCA_HeapAlloc(size));
    if (copy != nullptr) {
        std::memcpy(copy, text, size);
    }
    return copy;
}

void SCA_HeapFailAfter(uint32_t n) noexcept {
    t_FailAfter = n;
}

uint64_t SCA_HeapAllocCount() noexcept {
    return t_AllocCount;
}
