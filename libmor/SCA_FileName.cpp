#include "libmor/SCA_FileName.h"

#include <cstring>

int SCA_NormalizeFileName(char* text, uint32_t size) {
    if (text == nullptr || size == 0) {
        return 0;
    }
    text[size - 1] = '\0';
    char* out = text;
    for (const char* in = text; *in != '\0'; ++in) {
        const auto c = static_cast<unsigned char>(*in);
        if (c == '.' && (in[1] == '.' || out == text)) {
            // ".." anywhere and a leading dot: one '_' for the whole run of dots.
            while (in[1] == '.') {
                ++in;
            }
            *out++ = '_';
        } else if (c < 0x20 || c == 0x7F || std::strchr("/\\:*?\"<>|", c) != nullptr) {
            *out++ = '_';
        } else {
            *out++ = static_cast<char>(c);
        }
    }
    if (out == text) {
        *out++ = '_';
    }
    *out = '\0';
    return 1;
}
