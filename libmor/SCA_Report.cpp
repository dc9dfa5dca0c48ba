// SPDX-License-Identifier: MIT
#include "libmor/SCA_Report.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

#include "libmor/SCA_ReportText.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_Time.h"

namespace {

// The installed callback. The mutex is held while the callback runs, so replacing the callback
// waits for every running call; it is recursive so that a callback may report again.
struct ReportState {
    std::recursive_mutex Lock;
    SCA_ErrorCallback Callback = nullptr;
    void* Context = nullptr;
};

ReportState& State() {
    // Never destroyed: objects torn down at exit may still report.
    static ReportState* state = new ReportState;
    return *state;
}

const char* BaseName(const char* path) {
    const char* slash = std::strrchr(path, '/');
    return slash != nullptr ? slash + 1 : path;
}

} // namespace

void SCA_SetErrorCallback(SCA_ErrorCallback callback, void* context) {
    ReportState& state = State();
    std::lock_guard<std::recursive_mutex> guard(state.Lock);
    state.Callback = callback;
    state.Context = context;
}

void SCA_ReportFunction::operator()(uint32_t level, const char* format, ...) const {
    tagSCA_ERROR_DESCR record{};
    record.Level = level;
    record.AbsTime = SCA_GetAbsTime();

    // A few bytes beyond the field let the cut see whether the last character is complete.
    va_list args;
    va_start(args, format);
    const std::string text = SCA_FormatReportText(sizeof(record.Text) + 4, format, args);
    va_end(args);
    SCA_StrnCpy(record.Text, text.c_str(), sizeof(record.Text));

    ReportState& state = State();
    std::lock_guard<std::recursive_mutex> guard(state.Lock);
    if (state.Callback != nullptr) {
        state.Callback(&record, state.Context);
        return;
    }
    const char* file = m_SourceFile != nullptr ? BaseName(m_SourceFile) : "?";
    std::fprintf(stderr, "%s %s:%d %s\n", SCA_GetLevelTag(level), file, m_Line, record.Text);
}

SCA_ReportFunction SCA_GetReportFunction(const char* sourceFile, int line) {
    return SCA_ReportFunction(sourceFile, line);
}

const char* SCA_GetLevelTag(uint32_t level) {
    switch (level) {
    case SCA_LEVEL_CONFIG:
        return " D ";
    case SCA_LEVEL_INFO:
        return " I ";
    case SCA_LEVEL_WARNING:
        return " W ";
    default:
        return "ERR";
    }
}
