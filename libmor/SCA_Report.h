// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// Report levels: configuration-object errors, information, warning, error.
inline constexpr uint32_t SCA_LEVEL_CONFIG = 2;
inline constexpr uint32_t SCA_LEVEL_INFO = 3;
inline constexpr uint32_t SCA_LEVEL_WARNING = 4;
inline constexpr uint32_t SCA_LEVEL_ERROR = 5;

// One report as the error callback receives it. Texts longer than the field are cut on a
// UTF-8 character boundary.
struct tagSCA_ERROR_DESCR {
    uint32_t Level;
    uint64_t AbsTime; // SCA_GetAbsTime() when the report was made
    char Text[2048];
};

// The process-wide error callback; its result is ignored.
using SCA_ErrorCallback = int (*)(tagSCA_ERROR_DESCR* record, void* context);

// Installs the callback with its context; (nullptr, nullptr) removes it. Returns only when no
// call of the previous callback is still running, so its context may be destroyed afterwards.
// Without a callback, reports go to standard error.
void SCA_SetErrorCallback(SCA_ErrorCallback callback, void* context);

// A reporter bound to a source position: SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
// "...").
class SCA_ReportFunction {
public:
    SCA_ReportFunction(const char* sourceFile, int line) : m_SourceFile(sourceFile), m_Line(line) {}

    // Formats the text, with the control bytes of its arguments escaped (SCA_ReportText.h), and
    // hands the record to the error callback. Safe from any thread; a callback that reports
    // again from within itself is allowed.
    void operator()(uint32_t level, const char* format, ...) const
        __attribute__((format(printf, 3, 4)));

    const char* GetSourceFile() const { return m_SourceFile; }
    int GetLine() const { return m_Line; }

private:
    const char* m_SourceFile;
    int m_Line;
};

SCA_ReportFunction SCA_GetReportFunction(const char* sourceFile, int line);

// The tag a log line shows for a level: " D ", " I ", " W ", and "ERR" for any other level.
const char* SCA_GetLevelTag(uint32_t level);
