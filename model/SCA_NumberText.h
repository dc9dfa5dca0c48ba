// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// The text a number is kept as in a field: integers in decimal, doubles as "%.17g" writes them
// in the C locale. Written on the stack, so that a field can be made with its text in one go.
class SCA_NumberText {
public:
    explicit SCA_NumberText(int value);
    explicit SCA_NumberText(uint32_t value);
    explicit SCA_NumberText(uint64_t value);
    explicit SCA_NumberText(double value);

    const char* Data() const { return m_Text; }
    uint32_t Size() const { return m_Size; }

private:
    // Room for "-2.2250738585072014e-308" and every integer.
    static constexpr uint32_t kRoom = 40;

    char m_Text[kRoom] = {};
    uint32_t m_Size = 0;
};
