// SPDX-License-Identifier: MIT
#include "libmor/SCA_String.h"

#include <cstring>

namespace {

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Copies the first len bytes of src into dst (size > 0), cut to size - 1 bytes when longer. A cut
// never splits a UTF-8 character: when the first byte left out continues a character, the whole
// character is left out. At most three bytes are given back, the longest tail a valid character
// can have, so malformed input still keeps its bound.
void CopyCut(char* dst, size_t size, const char* src, size_t len) {
    size_t count = len;
    if (len >= size) {
        count = size - 1;
        size_t back = 0;
        while (count > 0 && back < 3 && IsContinuationByte(src[count])) {
            --count;
            ++back;
        }
        if (IsContinuationByte(src[count])) {
            count = size - 1; // not UTF-8 after all: keep the plain byte bound
        }
    }
    std::memmove(dst, src, count);
    dst[count] = '\0';
}

} // namespace

char* SCA_StrnCpy(char* dst, const char* src, size_t size) {
    if (size == 0) {
        return dst;
    }
    if (src == nullptr) {
        dst[0] = '\0';
        return dst;
    }
    CopyCut(dst, size, src, strnlen(src, size));
    return dst;
}

int SCA_StrCopyToUpper(const char* src, char* dst, size_t size) {
    if (size == 0) {
        return 0;
    }
    SCA_StrnCpy(dst, src, size);
    for (char* p = dst; *p != '\0'; ++p) {
        // ASCII only: bytes of multi-byte characters must stay as they are.
        if (*p >= 'a' && *p <= 'z') {
            *p = static_cast<char>(*p - 'a' + 'A');
        }
    }
    return 1;
}

uint64_t SCA_AtoUint64(const char* text) {
    if (text == nullptr) {
        return 0;
    }
    while (IsBlank(*text)) {
        ++text;
    }
    constexpr uint64_t kMax = 0xFFFFFFFFFFFFFFFFull;
    uint64_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        const uint64_t digit = static_cast<uint64_t>(*text - '0');
        if (value > (kMax - digit) / 10) {
            return kMax;
        }
        value = value * 10 + digit;
    }
    return value;
}

int SCA_GetToken1(const char* text, uint32_t* position, char* buf, uint32_t size) {
    if (size > 0) {
        buf[0] = '\0';
    }
    if (text == nullptr || position == nullptr) {
        return 0;
    }
    const size_t length = std::strlen(text);
    size_t start = *position;
    if (start > length) {
        return 0;
    }
    while (start < length && IsBlank(text[start])) {
        ++start;
    }
    size_t end = start;
    while (end < length && !IsBlank(text[end])) {
        ++end;
    }
    *position = static_cast<uint32_t>(end);
    if (start == end) {
        return 0;
    }
    if (size > 0) {
        CopyCut(buf, size, text + start, end - start);
    }
    return 1;
}

int sca_compare_items(const void* a, const void* b) {
    const char* nameA = static_cast<const tagSCA_SORT_ITEM*>(a)->Name;
    const char* nameB = static_cast<const tagSCA_SORT_ITEM*>(b)->Name;
    if (nameA == nullptr || nameB == nullptr) {
        return (nameA != nullptr) - (nameB != nullptr);
    }
    const int result = std::strcmp(nameA, nameB); // compares as unsigned bytes
    return (result > 0) - (result < 0);
}
