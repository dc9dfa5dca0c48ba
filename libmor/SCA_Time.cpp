// SPDX-License-Identifier: MIT
#include "libmor/SCA_Time.h"

#include <charconv>
#include <cstring>
#include <ctime>
#include <iterator>
#include <string>

#include "libmor/SCA_Clock.h"
#include "libmor/SCA_String.h"

namespace {

constexpr uint64_t kUnitsPerMs = SCA_ABS_TIME_SECOND / 1000;
constexpr uint64_t kSecondsPerDay = 86400;

// Writes text bounded by size; 1 when it fitted whole, 0 when it was cut or size is 0.
int PutText(const char* text, char* buf, uint32_t size) {
    if (size == 0) {
        return 0;
    }
    SCA_StrnCpy(buf, text, size);
    return std::strlen(text) < size ? 1 : 0;
}

const char* OrEmpty(const char* text) {
    return text != nullptr ? text : "";
}

// Local date and time of an absolute time, with milliseconds.
bool ToLocal(uint64_t absTime, struct tm* local, uint32_t* milliseconds) {
    const time_t seconds = static_cast<time_t>(absTime / SCA_ABS_TIME_SECOND);
    if (localtime_r(&seconds, local) == nullptr) {
        return false;
    }
    *milliseconds = static_cast<uint32_t>(absTime % SCA_ABS_TIME_SECOND / kUnitsPerMs);
    return true;
}

// value in decimal, zero-padded to width digits.
std::string Number(uint64_t value, size_t width) {
    std::string text = std::to_string(value);
    if (text.size() < width) {
        text.insert(0, width - text.size(), '0');
    }
    return text;
}

std::string ClockText(uint64_t hour, uint64_t minute, uint64_t second, const std::string& sep) {
    return Number(hour, 2) + sep + Number(minute, 2) + sep + Number(second, 2);
}

// "HH:MM:SS" of a duration, with "N day(s) " in front from one day on.
std::string DurationText(uint64_t duration) {
    const uint64_t seconds = duration / SCA_ABS_TIME_SECOND;
    const uint64_t days = seconds / kSecondsPerDay;
    const uint64_t rest = seconds % kSecondsPerDay;
    std::string text = days > 0 ? std::to_string(days) + " day(s) " : std::string();
    return text + ClockText(rest / 3600, rest / 60 % 60, rest % 60, ":");
}

// Local "YYYY<dateSep>MM<dateSep>DD HH<timeSep>MM<timeSep>SS".
int FormatLocal(uint64_t absTime, const std::string& dateSep, const std::string& timeSep, char* buf,
                uint32_t size) {
    struct tm local {};
    uint32_t milliseconds = 0;
    if (!ToLocal(absTime, &local, &milliseconds)) {
        PutText("", buf, size);
        return 0;
    }
    const std::string text =
        Number(static_cast<uint64_t>(local.tm_year + 1900), 4) + dateSep +
        Number(static_cast<uint64_t>(local.tm_mon + 1), 2) + dateSep +
        Number(static_cast<uint64_t>(local.tm_mday), 2) + " " +
        ClockText(static_cast<uint64_t>(local.tm_hour), static_cast<uint64_t>(local.tm_min),
                  static_cast<uint64_t>(local.tm_sec), timeSep);
    return PutText(text.c_str(), buf, size);
}

} // namespace

uint64_t SCA_GetAbsTime() {
    return SCA_GetClock().AbsTime();
}

int SCA_ConvertAbsTime(uint64_t absTime, tagSCA_DATE* date, tagSCA_TIME* time) {
    struct tm local {};
    uint32_t milliseconds = 0;
    if (!ToLocal(absTime, &local, &milliseconds)) {
        return 0;
    }
    if (date != nullptr) {
        date->Year = static_cast<uint32_t>(local.tm_year + 1900);
        date->Month = static_cast<uint32_t>(local.tm_mon + 1);
        date->Day = static_cast<uint32_t>(local.tm_mday);
        date->DayOfWeek = static_cast<uint32_t>(local.tm_wday);
    }
    if (time != nullptr) {
        time->Hour = static_cast<uint32_t>(local.tm_hour);
        time->Minute = static_cast<uint32_t>(local.tm_min);
        time->Second = static_cast<uint32_t>(local.tm_sec);
        time->Milliseconds = milliseconds;
    }
    return 1;
}

int SCA_FormatDateString(const tagSCA_DATE* date, uint32_t /*flags*/, const char* separator,
                         char* buf, uint32_t size) {
    if (date == nullptr) {
        PutText("", buf, size);
        return 0;
    }
    const std::string sep = OrEmpty(separator);
    return PutText(
        (Number(date->Year, 4) + sep + Number(date->Month, 2) + sep + Number(date->Day, 2)).c_str(),
        buf, size);
}

int SCA_FormatTimeString(const tagSCA_TIME* time, char* buf, uint32_t size) {
    if (time == nullptr) {
        PutText("", buf, size);
        return 0;
    }
    return PutText(ClockText(time->Hour, time->Minute, time->Second, ":").c_str(), buf, size);
}

int SCA_FormatAbsTime(uint64_t absTime, char* buf, uint32_t size) {
    return FormatLocal(absTime, "-", ":", buf, size);
}

int SCA_FormatTime(uint64_t duration, char* buf, uint32_t size) {
    return PutText(DurationText(duration).c_str(), buf, size);
}

int SCA_FormatTimeEx(uint64_t duration, char* buf, uint32_t size) {
    const uint64_t ms = duration % SCA_ABS_TIME_SECOND / kUnitsPerMs;
    return PutText((DurationText(duration) + "." + Number(ms, 3)).c_str(), buf, size);
}

int SCA_FormatSize(uint64_t bytes, char* buf, uint32_t size) {
    static const char* const kUnits[] = {"KB", "MB", "GB", "TB"};
    if (bytes < 1024) {
        return PutText((std::to_string(bytes) + " B").c_str(), buf, size);
    }
    double value = static_cast<double>(bytes) / 1024;
    size_t unit = 0;
    // Move up while the value would print as 1024.00 or more, so 1048575 is "1.00 MB".
    while (value >= 1023.995 && unit + 1 < std::size(kUnits)) {
        value /= 1024;
        ++unit;
    }
    char number[32];
    // to_chars, not printf: the text must not depend on the process locale.
    const auto end =
        std::to_chars(number, number + sizeof(number), value, std::chars_format::fixed, 2).ptr;
    return PutText((std::string(number, end) + " " + kUnits[unit]).c_str(), buf, size);
}

int SCA_GetDateTimeStringEx(char* buf, uint32_t size, const char* dateSeparator,
                            const char* timeSeparator) {
    return FormatLocal(SCA_GetAbsTime(), OrEmpty(dateSeparator), OrEmpty(timeSeparator), buf, size);
}
