// SPDX-License-Identifier: MIT
#pragma once

// The folder a fuzz target keeps its files in.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

namespace fuzz_service {

// A folder of the process's own, in memory when the machine offers one (the files are saved
// with a sync each), removed at exit.
class Home {
public:
    Home() {
        const char* shm = "/dev/shm";
        const char* tmp = std::getenv("TMPDIR");
        std::string base = access(shm, W_OK) == 0 ? shm : (tmp != nullptr ? tmp : "/tmp");
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

private:
    std::string m_Path;
};

} // namespace fuzz_service
