// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

// The process heap: the one allocation path of node names, field values and platform objects.
// Every allocation can fail, and a test can make the n-th one fail on purpose.

// size bytes, or null when the allocation fails. A size of 0 still yields a unique pointer.
void* SCA_HeapAlloc(size_t size) noexcept;
// Frees what SCA_HeapAlloc returned; null is ignored.
void SCA_HeapFree(void* memory) noexcept;
// A heap copy of text (its length plus one byte); null for a null text or a failed allocation.
char* SCA_HeapStrDup(const char* text) noexcept;

// Test hook: the n-th allocation made by the calling thread from now on fails, once
// (1 = the next one). 0 turns the hook off. Other threads are not affected.
void SCA_HeapFailAfter(uint32_t n) noexcept;
// Number of allocations the calling thread has asked for so far (failed ones included).
uint64_t SCA_HeapAllocCount() noexcept;

// Class-level operators that route a class's `new`/`delete` through the heap above, so that
// `new (std::nothrow) T(...)` yields null when the hook makes the allocation fail.
#define SCA_HEAP_OPERATORS                                                                         \
    static void* operator new(std::size_t size, const std::nothrow_t&) noexcept {                  \
        return SCA_HeapAlloc(size);                                                                \
    }                                                                                              \
    static void* operator new(std::size_t size) {                                                  \
        void* memory = SCA_HeapAlloc(size);                                                        \
        if (memory == nullptr) {                                                                   \
            throw std::bad_alloc();                                                                \
        }                                                                                          \
        return memory;                                                                             \
    }                                                                                              \
    static void operator delete(void* memory) noexcept {                                           \
        SCA_HeapFree(memory);                                                                      \
    }                                                                                              \
    static void operator delete(void* memory, const std::nothrow_t&) noexcept {                    \
        SCA_HeapFree(memory);                                                                      \
    }
