// SPDX-License-Identifier: MIT
#include "libmor/SCA_ReportText.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <sys/types.h>

namespace {

enum class Length { None, Char, Short, Long, LongLong, Max, Size, Diff, LongDouble };

// One conversion of a format, taken apart: its flags, its width and precision (with those given
// by '*' already taken from the arguments), its length modifier and its letter.
struct Conversion {
    std::string Flags;
    std::string Width;
    std::string Precision; // with its '.', or empty
    std::string LengthText;
    Length Size = Length::None;
    char Letter = '\0';

    // The conversion with the numbers in place of any '*', for one snprintf of one argument.
    std::string Directive() const {
        return "%" + Flags + Width + Precision + LengthText + std::string(1, Letter);
    }
};

const char* ReadDigits(const char* p, std::string* out) {
    while (*p >= '0' && *p <= '9') {
        *out += *p++;
    }
    return p;
}

const char* ReadLength(const char* p, Conversion* conversion) {
    struct Modifier {
        const char* Text;
        Length Size;
    };
    // Longest first, so that "hh" is not read as "h".
    static constexpr Modifier kModifiers[] = {
        {"hh", Length::Char}, {"ll", Length::LongLong},  {"h", Length::Short},
        {"l", Length::Long},  {"j", Length::Max},        {"z", Length::Size},
        {"t", Length::Diff},  {"L", Length::LongDouble}, {"q", Length::LongLong},
    };
    for (const Modifier& modifier : kModifiers) {
        const size_t length = std::strlen(modifier.Text);
        if (std::strncmp(p, modifier.Text, length) == 0) {
            conversion->LengthText = modifier.Text;
            conversion->Size = modifier.Size;
            return p + length;
        }
    }
    return p;
}

// Room for the usual conversion, on the stack.
constexpr size_t kConversionBuffer = 512;

// Formats one argument of a conversion into out, bounded by room.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
template <typename T>
void AppendOne(std::string* out, size_t room, const Conversion& conversion, T value) {
    const std::string directive = conversion.Directive();
    char buffer[kConversionBuffer];
    const int length = std::snprintf(buffer, sizeof(buffer), directive.c_str(), value);
    if (length < 0) {
        return;
    }
    const auto whole = static_cast<size_t>(length);
    if (whole < sizeof(buffer)) {
        out->append(buffer, std::min(whole, room));
        return;
    }
    // A wider conversion than the buffer holds: formatted again at its full size.
    std::string wide(whole + 1, '\0');
    std::snprintf(wide.data(), wide.size(), directive.c_str(), value);
    out->append(wide.data(), std::min(whole, room));
}
#pragma GCC diagnostic pop

void AppendEscapedByte(unsigned char byte, std::string* out) {
    switch (byte) {
    case '\n':
        *out += "\\n";
        return;
    case '\r':
        *out += "\\r";
        return;
    case '\t':
        *out += "\\t";
        return;
    default: {
        char escape[8];
        std::snprintf(escape, sizeof(escape), "\\x%02X", static_cast<unsigned>(byte));
        *out += escape;
        return;
    }
    }
}

bool IsControl(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F;
}

// The lead byte of the UTF-8 form of U+0080 to U+009F, whose second byte is 0x80 to 0x9F.
constexpr unsigned char kC1Lead = 0xC2;
constexpr unsigned char kC1First = 0x80;
constexpr unsigned char kC1Last = 0x9F;

template <typename Signed, typename Unsigned>
void AppendInteger(std::string* out, size_t room, const Conversion& conversion, va_list* args) {
    const bool isSigned = conversion.Letter == 'd' || conversion.Letter == 'i';
    if (isSigned) {
        AppendOne(out, room, conversion, va_arg(*args, Signed));
    } else {
        AppendOne(out, room, conversion, va_arg(*args, Unsigned));
    }
}

void AppendIntegerBySize(std::string* out, size_t room, const Conversion& conversion,
                         va_list* args) {
    switch (conversion.Size) {
    case Length::Long:
        AppendInteger<long, unsigned long>(out, room, conversion, args);
        break;
    case Length::LongLong:
        AppendInteger<long long, unsigned long long>(out, room, conversion, args);
        break;
    case Length::Max:
        AppendInteger<intmax_t, uintmax_t>(out, room, conversion, args);
        break;
    case Length::Size:
        AppendInteger<ssize_t, size_t>(out, room, conversion, args);
        break;
    case Length::Diff:
        AppendInteger<ptrdiff_t, ptrdiff_t>(out, room, conversion, args);
        break;
    default: // char and short arguments arrive promoted to int
        AppendInteger<int, unsigned>(out, room, conversion, args);
        break;
    }
}

// The text argument of a %s, escaped, then laid out by the conversion's width and precision.
void AppendText(std::string* out, size_t room, const Conversion& conversion, va_list* args) {
    if (conversion.Size == Length::Long) {
        AppendOne(out, room, conversion, va_arg(*args, const wchar_t*));
        return;
    }
    const char* text = va_arg(*args, const char*);
    std::string escaped;
    SCA_AppendEscaped(text != nullptr ? text : "(null)", &escaped);
    AppendOne(out, room, conversion, escaped.c_str());
}

void AppendCharacter(std::string* out, size_t room, const Conversion& conversion, va_list* args) {
    if (conversion.Size == Length::Long) {
        AppendOne(out, room, conversion, va_arg(*args, wint_t));
        return;
    }
    const auto byte = static_cast<unsigned char>(va_arg(*args, int));
    if (!IsControl(byte)) {
        AppendOne(out, room, conversion, static_cast<int>(byte));
        return;
    }
    std::string escaped;
    AppendEscapedByte(byte, &escaped);
    Conversion asText = conversion;
    asText.Letter = 's';
    AppendOne(out, room, asText, escaped.c_str());
}

// Reads the conversion that starts after a '%', taking the '*' numbers from the arguments;
// answers where the format goes on.
const char* ReadConversion(const char* p, Conversion* conversion, va_list* args) {
    while (*p != '\0' && std::strchr("-+ #0'", *p) != nullptr) {
        conversion->Flags += *p++;
    }
    if (*p == '*') {
        conversion->Width = std::to_string(va_arg(*args, int));
        ++p;
    } else {
        p = ReadDigits(p, &conversion->Width);
    }
    if (*p == '.') {
        ++p;
        std::string digits;
        if (*p == '*') {
            // A negative precision is taken as if none were given.
            const int precision = va_arg(*args, int);
            digits = precision >= 0 ? std::to_string(precision) : std::string();
            conversion->Precision = precision >= 0 ? "." + digits : std::string();
            ++p;
        } else {
            p = ReadDigits(p, &digits);
            conversion->Precision = "." + digits;
        }
    }
    p = ReadLength(p, conversion);
    conversion->Letter = *p;
    return *p != '\0' ? p + 1 : p;
}

void AppendConversion(std::string* out, size_t room, const Conversion& conversion, va_list* args) {
    switch (conversion.Letter) {
    case '%':
        *out += '%';
        break;
    case 'd':
    case 'i':
    case 'u':
    case 'o':
    case 'x':
    case 'X':
        AppendIntegerBySize(out, room, conversion, args);
        break;
    case 'f':
    case 'F':
    case 'e':
    case 'E':
    case 'g':
    case 'G':
    case 'a':
    case 'A':
        if (conversion.Size == Length::LongDouble) {
            AppendOne(out, room, conversion, va_arg(*args, long double));
        } else {
            AppendOne(out, room, conversion, va_arg(*args, double));
        }
        break;
    case 'c':
        AppendCharacter(out, room, conversion, args);
        break;
    case 's':
        AppendText(out, room, conversion, args);
        break;
    case 'p':
        AppendOne(out, room, conversion, va_arg(*args, void*));
        break;
    case 'n':
        static_cast<void>(va_arg(*args, void*)); // writes nothing back
        break;
    default:
        break; // not a conversion: dropped, as it takes no argument we could know of
    }
}

} // namespace

void SCA_AppendEscaped(const char* text, std::string* out) {
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != '\0'; ++p) {
        if (IsControl(*p)) {
            AppendEscapedByte(*p, out);
        } else if (p[0] == kC1Lead && p[1] >= kC1First && p[1] <= kC1Last) {
            char escape[8];
            std::snprintf(escape, sizeof(escape), "\\u00%02X", static_cast<unsigned>(p[1]));
            *out += escape;
            ++p;
        } else {
            *out += static_cast<char>(*p);
        }
    }
}

std::string SCA_FormatReportText(size_t maxSize, const char* format, va_list args) {
    std::string out;
    if (format == nullptr) {
        return out;
    }
    // Taken through a pointer, so that the helpers below may take arguments from it in turn.
    va_list rest;
    va_copy(rest, args);
    const char* p = format;
    while (*p != '\0' && out.size() < maxSize) {
        if (*p != '%') {
            out += *p++;
            continue;
        }
        Conversion conversion;
        p = ReadConversion(p + 1, &conversion, &rest);
        AppendConversion(&out, maxSize - out.size(), conversion, &rest);
    }
    va_end(rest);
    if (out.size() > maxSize) {
        out.resize(maxSize);
    }
    return out;
}
