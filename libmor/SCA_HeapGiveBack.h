// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>

// Hands the free pages of every thread's heap back to the system once the resident memory that
// no block in use holds has grown by more than threshold bytes since it last did: what a burst
// of work took and freed (a large reply, a long list dropped) leaves the process instead of
// staying resident in the arena of the thread that freed it, while a steady load that frees and
// takes again as much costs a look at the heap and the resident size. 1 when it gave back. Any
// thread may call it.
int SCA_HeapGiveBackFreed(size_t threshold) noexcept;
// How many times SCA_HeapGiveBackFreed looked at the heap since the process started: each look
// walks every heap's free lists, a cost that a caller keeps off its steady path.
uint64_t SCA_HeapGiveBackLooks() noexcept;
// The process's resident memory in bytes; 0 when unknown.
size_t SCA_HeapResidentBytes() noexcept;
