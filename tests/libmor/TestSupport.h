#pragma once

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "libmor/SCA_Report.h"

// A fresh folder under TMPDIR (or /tmp), removed with its content at the end of the test.
class TempDir {
public:
    TempDir() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp");
        pattern += "/libmor-test-XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr) {
            m_Path = pattern;
        }
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_Path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_Path; }
    std::string operator/(const std::string& name) const { return m_Path + "/" + name; }

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

// Collects every report while it lives; the callback is removed again at its end.
class ReportCapture {
public:
    struct Record {
        uint32_t Level;
        uint64_t AbsTime;
        std::string Text;
    };

    ReportCapture() { SCA_SetErrorCallback(&ReportCapture::Collect, this); }
    ~ReportCapture() { SCA_SetErrorCallback(nullptr, nullptr); }
    ReportCapture(const ReportCapture&) = delete;
    ReportCapture& operator=(const ReportCapture&) = delete;

    std::vector<Record> Records() const {
        std::lock_guard<std::mutex> lock(m_Lock);
        return m_Records;
    }

private:
    static int Collect(tagSCA_ERROR_DESCR* record, void* context) {
        auto* self = static_cast<ReportCapture*>(context);
        std::lock_guard<std::mutex> lock(self->m_Lock);
        self->m_Records.push_back({record->Level, record->AbsTime, record->Text});
        return 0;
    }

    mutable std::mutex m_Lock;
    std::vector<Record> m_Records;
};
