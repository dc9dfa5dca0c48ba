// SPDX-License-Identifier: MIT
// Tokens and numbers read from texts that arrive from clients and files (window geometry,
// sample names of status objects).
#include <cstddef>
#include <cstdint>
#include <string>

#include "libmor/SCA_String.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const uint32_t bufSize = size > 0 ? data[0] % 16 : 0;
    char token[16];
    uint32_t position = 0;
    uint32_t previous = 0;
    while (SCA_GetToken1(text.c_str(), &position, token, bufSize)) {
        if (position <= previous || position > text.size()) {
            __builtin_trap(); // every token must move forward and stay inside the text
        }
        previous = position;
        (void)SCA_AtoUint64(token);
    }
    return 0;
}
