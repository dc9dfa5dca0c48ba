// SPDX-License-Identifier: MIT
#include "model/SCA_NumberText.h"

#include <charconv>

namespace {

template <typename Number>
uint32_t WriteInteger(char* text, uint32_t room, Number value) {
    return static_cast<uint32_t>(std::to_chars(text, text + room, value).ptr - text);
}

} // namespace

SCA_NumberText::SCA_NumberText(int value) : m_Size(WriteInteger(m_Text, kRoom, value)) {}

SCA_NumberText::SCA_NumberText(uint32_t value) : m_Size(WriteInteger(m_Text, kRoom, value)) {}

SCA_NumberText::SCA_NumberText(uint64_t value) : m_Size(WriteInteger(m_Text, kRoom, value)) {}

SCA_NumberText::SCA_NumberText(double value) {
    // to_chars does not read the locale; precision 17 in general form is "%.17g".
    const auto result =
        std::to_chars(m_Text, m_Text + kRoom, value, std::chars_format::general, 17);
    m_Size = static_cast<uint32_t>(result.ptr - m_Text);
}
