// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>

#include "libmor/SCA_String.h"

// A text of at most Size - 1 bytes, cut as SCA_StrnCpy cuts (on a UTF-8 character boundary),
// that takes the memory of its content rather than of its bound: records copied per counter
// would otherwise carry hundreds of bytes of empty text each.
template <size_t Size>
class SCA_BoundedText {
    static_assert(Size > 0, "a bounded text holds at least its terminator");

public:
    static constexpr size_t kSize = Size;

    const char* c_str() const { return m_Text.c_str(); }
    bool empty() const { return m_Text.empty(); }
    // Null empties the text.
    void Assign(const char* text) {
        char cut[Size];
        m_Text.assign(SCA_StrnCpy(cut, text, Size));
    }

    friend bool operator==(const SCA_BoundedText& a, const SCA_BoundedText& b) = default;

private:
    std::string m_Text;
};
