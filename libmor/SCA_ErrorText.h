// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_System.h"

// The words of an error code (SCA_GetErrorDescr), for a report that prints the code: the words
// follow it as "(ERR:%u) - %s", so that whoever reads the report need not look the number up.
class SCA_ErrorText {
public:
    explicit SCA_ErrorText(uint32_t code) { SCA_GetErrorDescr(code, m_Text, sizeof(m_Text)); }

    const char* Get() const { return m_Text; }

private:
    char m_Text[256] = {};
};
