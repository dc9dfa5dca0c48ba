// SPDX-License-Identifier: MIT
#include "perf/SCA_PerfFileReader.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr size_t kReadChunk = 4096;
// /proc files are small; a bound keeps a strange file from filling memory.
constexpr size_t kMaxFileSize = 16u << 20;

} // namespace

bool SCA_PerfFileReader::ReadFile(const std::string& path, std::string* out) {
    return ReadFileAt(AT_FDCWD, path.c_str(), out);
}

bool SCA_PerfFileReader::ReadFileAt(int dirFd, const char* name, std::string* out) {
    size_t length = 0;
    if (!ReadFileInto(dirFd, name, out, &length)) {
        return false;
    }
    out->resize(length);
    return true;
}

bool SCA_PerfFileReader::ReadFileInto(int dirFd, const char* name, std::string* buffer,
                                      size_t* length) {
    const int fd = openat(dirFd, name, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    size_t used = 0;
    for (;;) {
        // Room for a chunk and the NUL after the text.
        if (buffer->size() < used + kReadChunk + 1) {
            buffer->resize(used + kReadChunk + 1);
        }
        const ssize_t got = read(fd, buffer->data() + used, kReadChunk);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int saved = errno;
            close(fd);
            errno = saved;
            return false;
        }
        used += static_cast<size_t>(got);
        if (got == 0 || used > kMaxFileSize) {
            break;
        }
    }
    close(fd);
    (*buffer)[used] = '\0';
    *length = used;
    return true;
}

std::vector<std::string> SCA_PerfFileReader::ListFolder(const std::string& path) {
    std::vector<std::string> names;
    DIR* dir = opendir(path.c_str());
    if (dir == nullptr) {
        return names;
    }
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    closedir(dir);
    return names;
}
