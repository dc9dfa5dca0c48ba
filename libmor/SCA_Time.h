// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// Absolute time: 100-nanosecond units since 1970-01-01 00:00 UTC.
inline constexpr uint64_t SCA_ABS_TIME_SECOND = 10000000ULL;

uint64_t SCA_GetAbsTime();

struct tagSCA_DATE {
    uint32_t Year;
    uint32_t Month;     // 1-12
    uint32_t Day;       // 1-31
    uint32_t DayOfWeek; // 0 Sunday - 6 Saturday
};

struct tagSCA_TIME {
    uint32_t Hour;
    uint32_t Minute;
    uint32_t Second;
    uint32_t Milliseconds;
};

// An absolute time as local date and time. 1 on success.
int SCA_ConvertAbsTime(uint64_t absTime, tagSCA_DATE* date, tagSCA_TIME* time);

// "YYYY<sep>MM<sep>DD" (flags reserved, 0). Buffers are written bounded; a size of 0 writes
// nothing and answers 0.
int SCA_FormatDateString(const tagSCA_DATE* date, uint32_t flags, const char* separator, char* buf,
                         uint32_t size);
// "HH:MM:SS".
int SCA_FormatTimeString(const tagSCA_TIME* time, char* buf, uint32_t size);
// Local "YYYY-MM-DD HH:MM:SS" of an absolute time.
int SCA_FormatAbsTime(uint64_t absTime, char* buf, uint32_t size);
// A duration in 100-ns units: "HH:MM:SS", with "N day(s) " in front from one day on.
int SCA_FormatTime(uint64_t duration, char* buf, uint32_t size);
// A duration with milliseconds: "HH:MM:SS.mmm", days as in SCA_FormatTime.
int SCA_FormatTimeEx(uint64_t duration, char* buf, uint32_t size);
// A byte count for people: "512 B", "1.50 KB", "3.20 MB", "1.00 GB", "2.00 TB".
int SCA_FormatSize(uint64_t bytes, char* buf, uint32_t size);
// The current local date and time for file names: "YYYY<dateSep>MM<dateSep>DD
// HH<timeSep>MM<timeSep>SS".
int SCA_GetDateTimeStringEx(char* buf, uint32_t size, const char* dateSeparator,
                            const char* timeSeparator);
