// SPDX-License-Identifier: MIT
#pragma once

// What every test program needs around the platform layer: a temporary folder, the heap's
// failure hook for one scope, and the reports made while a test runs.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Report.h"

namespace korvanta_test {

// A fresh folder under TMPDIR (or /tmp), removed with its content at the end of the test.
class TempDir {
public:
    TempDir() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern =
            std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/korvanta-test-XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr) {
            m_Path = pattern;
        }
    }
    ~TempDir() {
        std::error_code ignored;
        if (!m_Path.empty()) {
            std::filesystem::remove_all(m_Path, ignored);
        }
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_Path; }
    std::string operator/(const std::string& name) const { return m_Path + "/" + name; }

    // The names in the folder, sorted.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_Path)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string m_Path;
};

// Arms the heap's failure hook for the calling thread and disarms it again on scope exit, so a
// hook that the code under test never reached cannot hit a later allocation.
class HeapFailure {
public:
    explicit HeapFailure(uint32_t n) { SCA_HeapFailAfter(n); }
    ~HeapFailure() { SCA_HeapFailAfter(0); }
    HeapFailure(const HeapFailure&) = delete;
    HeapFailure& operator=(const HeapFailure&) = delete;
};

// Collects every report made while it lives, from any thread; the callback is removed again at
// its end.
class ReportCapture {
public:
    struct Record {
        uint32_t Level;
        uint64_t AbsTime;
        std::string Text;
    };
    using Report = Record;

    ReportCapture() { SCA_SetErrorCallback(&ReportCapture::Collect, this); }
    ~ReportCapture() { SCA_SetErrorCallback(nullptr, nullptr); }
    ReportCapture(const ReportCapture&) = delete;
    ReportCapture& operator=(const ReportCapture&) = delete;

    // Every report so far.
    std::vector<Record> Records() const {
        std::lock_guard<std::mutex> lock(m_Lock);
        return m_Records;
    }

    // The reports made since the last Take or TakeTexts.
    std::vector<Record> Take() {
        std::lock_guard<std::mutex> lock(m_Lock);
        std::vector<Record> taken(m_Records.begin() + static_cast<std::ptrdiff_t>(m_Taken),
                                  m_Records.end());
        m_Taken = m_Records.size();
        return taken;
    }
    std::vector<std::string> TakeTexts() {
        std::vector<std::string> texts;
        for (const Record& record : Take()) {
            texts.push_back(record.Text);
        }
        return texts;
    }

    // Reports at level whose text contains part.
    int Count(uint32_t level, const std::string& part) const {
        std::lock_guard<std::mutex> lock(m_Lock);
        return static_cast<int>(
            std::count_if(m_Records.begin(), m_Records.end(), [&](const Record& record) {
                return record.Level == level && record.Text.find(part) != std::string::npos;
            }));
    }

    // There was at least one report, and every report was made at this level.
    bool AllAtLevel(uint32_t level) const {
        std::lock_guard<std::mutex> lock(m_Lock);
        return !m_Records.empty() &&
               std::all_of(m_Records.begin(), m_Records.end(),
                           [level](const Record& record) { return record.Level == level; });
    }

private:
    static int Collect(tagSCA_ERROR_DESCR* record, void* context) {
        auto* self = static_cast<ReportCapture*>(context);
        std::lock_guard<std::mutex> lock(self->m_Lock);
        self->m_Records.push_back({record->Level, record->AbsTime, record->Text});
        return 1;
    }

    mutable std::mutex m_Lock;
    std::vector<Record> m_Records;
    size_t m_Taken = 0;
};

} // namespace korvanta_test
