// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>

// Bounded copy: at most size - 1 bytes of src, cut on a UTF-8 character boundary, always
// terminated. A size of 0 writes nothing; a null src gives an empty text. Returns dst.
char* SCA_StrnCpy(char* dst, const char* src, size_t size);

// The same bounded copy with ASCII letters turned to upper case. Returns 1, or 0 when size is 0
// (nothing written).
int SCA_StrCopyToUpper(const char* src, char* dst, size_t size);

// The decimal number at the start of text (leading blanks skipped); 0 for null or no digits;
// values above the 64-bit range give the all-ones value.
uint64_t SCA_AtoUint64(const char* text);

// Tokens are separated by blanks (spaces and tabs). Copies the token that starts at or after
// *position into buf (bounded like SCA_StrnCpy) and moves *position past it. 0 when no token
// is left (buf then empty).
int SCA_GetToken1(const char* text, uint32_t* position, char* buf, uint32_t size);

// A sort pair as lists hand them to their comparators: the node, then its name (null for an
// unnamed node).
struct tagSCA_SORT_ITEM {
    void* Item;
    const char* Name;
};

// qsort comparator of sort pairs by name: byte order, unnamed nodes first.
int sca_compare_items(const void* a, const void* b);
