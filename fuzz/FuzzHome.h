// SPDX-License-Identifier: MIT
#pragma once

// The folder a fuzz target keeps its files in.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

namespace fuzz_service {

// A folder of the process's own, removed at exit: in memory when the machine offers one (the
// files are saved with a sync each), or below the folder given.
class Home {
public:
    Home() : Home(access(kMemoryFolder, W_OK) == 0 ? kMemoryFolder : TemporaryFolder()) {}
    explicit Home(const std::string& base) {
        std::string pattern = base + "/korvanta-fuzz-XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr) {
            m_Path = pattern;
        }
    }
    ~Home() {
        std::error_code ignored;
        if (!m_Path.empty()) {
            std::filesystem::remove_all(m_Path, ignored);
        }
    }
    Home(const Home&) = delete;
    Home& operator=(const Home&) = delete;
    const std::string& Path() const { return m_Path; }

    // TMPDIR (or what else the library takes for it), /tmp when that names no folder.
    static std::string TemporaryFolder() {
        std::error_code error;
        const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
        return error ? std::string("/tmp") : folder.string();
    }

private:
    static constexpr const char* kMemoryFolder = "/dev/shm";
    std::string m_Path;
};

} // namespace fuzz_service
