// SPDX-License-Identifier: MIT
#include "libmor/SCA_FileSystem.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

void SetError(uint32_t* error, int code) {
    if (error != nullptr) {
        *error = static_cast<uint32_t>(code);
    }
}

// 0, or the errno value of the write that failed.
int WriteAll(int fd, const void* data, size_t size) {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t count = ::write(fd, bytes, size);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return errno;
        }
        bytes += count;
        size -= static_cast<size_t>(count);
    }
    return 0;
}

// A file that O_CREAT makes gets `mode` (less the umask) from its first instant; without one
// it would take whatever the stack held.
int OpenRetrying(const char* path, int flags, mode_t mode = 0) {
    int fd = -1;
    do {
        fd = ::open(path, flags, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Syncs the folder entry of a rename. File systems that cannot sync a folder (EINVAL) keep
// their own guarantee, which is the best there is.
int SyncFolder(const std::string& folder) {
    const int fd = OpenRetrying(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    const int code = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
    ::close(fd);
    return code;
}

// Fills the temporary file and syncs it; 0 or an errno value.
int FillTemporary(int fd, const void* data, size_t size) {
    int code = ::fchmod(fd, 0600) == 0 ? 0 : errno;
    if (code == 0) {
        code = WriteAll(fd, data, size);
    }
    if (code == 0 && ::fsync(fd) != 0) {
        code = errno;
    }
    return code;
}

// A temporary file is "<file>.tmp." and six characters from mkostemp.
constexpr char kTemporaryMark[] = ".tmp.";
constexpr size_t kTemporarySuffix = 6;

// Whether name is a temporary file of target (a file name), or of any file when target is
// empty: "<target>.tmp." and six characters.
bool IsTemporaryOf(const char* name, const std::string& target) {
    const size_t length = std::strlen(name);
    const size_t mark = sizeof(kTemporaryMark) - 1;
    if (length <= mark + kTemporarySuffix) {
        return false;
    }
    const size_t base = length - kTemporarySuffix - mark;
    if (std::strncmp(name + base, kTemporaryMark, mark) != 0) {
        return false;
    }
    return target.empty() ||
           (base == target.size() && std::strncmp(name, target.c_str(), base) == 0);
}

// Removes the temporary files of target (a file name; empty: of every file) in folder that
// writers killed before their rename left behind. A writer holds an exclusive lock on its
// temporary file until it is renamed, and the kernel drops the lock when the writer dies, so a
// file whose lock can be taken has no writer.
void RemoveAbandonedTemporaries(const std::string& target, const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsTemporaryOf(entry->d_name, target)) {
            continue;
        }
        const int fd =
            ::openat(::dirfd(dir), entry->d_name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0) {
            continue;
        }
        struct stat info {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
        }
        ::close(fd);
    }
    ::closedir(dir);
}

// A new temporary file beside path, locked for as long as fd stays open; -1 with errno set.
int CreateTemporary(const std::string& path, std::string* name) {
    for (;;) {
        *name = path + kTemporaryMark + std::string(kTemporarySuffix, 'X');
        const int fd = ::mkostemp(name->data(), O_CLOEXEC);
        if (fd < 0) {
            return -1;
        }
        // Another writer's clean-up may take the file between its creation and the lock; then
        // it is already unlinked, and a fresh one is made.
        struct stat info {};
        if (::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &info) == 0 && info.st_nlink > 0) {
            return fd;
        }
        const int code = errno;
        ::close(fd);
        if (info.st_nlink > 0) {
            ::unlink(name->c_str());
            errno = code;
            return -1;
        }
    }
}

// Writes data to a new temporary file beside path and renames it over path; 0 or an errno
// value. The temporary file is gone afterwards whatever happens, and so are those of earlier
// writers of path that died before their rename.
int ReplaceFile(const std::string& path, const std::string& folder, const void* data, size_t size) {
    const size_t slash = path.rfind('/');
    RemoveAbandonedTemporaries(slash == std::string::npos ? path : path.substr(slash + 1), folder);
    std::string name;
    const int fd = CreateTemporary(path, &name);
    if (fd < 0) {
        return errno;
    }
    int code = FillTemporary(fd, data, size);
    if (code == 0 && ::rename(name.c_str(), path.c_str()) != 0) {
        code = errno;
    }
    // Closed only now: the lock keeps other writers' clean-up away until the rename is done.
    if (::close(fd) != 0 && code == 0) {
        code = errno;
    }
    if (code != 0) {
        ::unlink(name.c_str());
        return code;
    }
    return SyncFolder(folder);
}

} // namespace

int SCA_IsFileExists(const char* path) {
    struct stat info {};
    return path != nullptr && ::stat(path, &info) == 0 && S_ISREG(info.st_mode) ? 1 : 0;
}

int SCA_IsFileMissing(const char* path) {
    struct stat info {};
    return path == nullptr || (::stat(path, &info) != 0 && errno == ENOENT) ? 1 : 0;
}

int SCA_IsPathExists(const char* path) {
    struct stat info {};
    return path != nullptr && ::stat(path, &info) == 0 && S_ISDIR(info.st_mode) ? 1 : 0;
}

int SCA_CreateDirectory(const char* path, uint32_t* error) {
    if (path == nullptr || path[0] == '\0') {
        SetError(error, ENOENT);
        return 0;
    }
    const std::string full = path;
    // Each prefix that ends before a '/', then the whole path.
    for (size_t end = full.find('/', 1);; end = full.find('/', end + 1)) {
        const std::string part = full.substr(0, end);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            SetError(error, errno);
            return 0;
        }
        if (end == std::string::npos) {
            break;
        }
    }
    if (!SCA_IsPathExists(path)) {
        SetError(error, ENOTDIR);
        return 0;
    }
    return 1;
}

int SCA_DeleteFile(const char* path, uint32_t* error) {
    if (path == nullptr || ::unlink(path) != 0) {
        SetError(error, path == nullptr ? EINVAL : errno);
        return 0;
    }
    return 1;
}

namespace {

std::atomic<uint32_t> g_WriteFailure{0};

} // namespace

void SCA_SetWriteFailure(uint32_t code) {
    g_WriteFailure.store(code);
}

int SCA_WriteFileAtomic(const char* path, const void* data, size_t size, uint32_t* error) {
    if (const uint32_t failure = g_WriteFailure.load()) {
        SetError(error, static_cast<int>(failure));
        return 0;
    }
    const std::string target = path != nullptr ? path : "";
    const size_t slash = target.rfind('/');
    if (target.empty() || target.back() == '/' || (data == nullptr && size > 0)) {
        SetError(error, EINVAL);
        return 0;
    }
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const int code = ReplaceFile(target, folder, data, size);
    if (code != 0) {
        SetError(error, code);
        return 0;
    }
    return 1;
}

namespace {

// The unit of struct stat's st_blocks, whatever the file system's own block size.
constexpr uint64_t kStatBlockBytes = 512;

uint64_t RoomOf(const struct stat& info) {
    const uint64_t allocated = static_cast<uint64_t>(info.st_blocks) * kStatBlockBytes;
    return std::min(static_cast<uint64_t>(info.st_size), allocated);
}

// Gives the open file exactly size bytes, allocated; 0 or an errno value.
int AllocateRoom(int fd, uint64_t size, const struct stat& info) {
    int code = 0;
    if (RoomOf(info) < size) {
        do {
            code = ::posix_fallocate(fd, 0, static_cast<off_t>(size));
        } while (code == EINTR);
    }
    if (code == 0 && static_cast<uint64_t>(info.st_size) > size &&
        ::ftruncate(fd, static_cast<off_t>(size)) != 0) {
        code = errno;
    }
    if (code == 0 && ::fsync(fd) != 0) {
        code = errno;
    }
    // A file system that stores zeros in no blocks (compressing ones) keeps no room this way.
    struct stat allocated {};
    if (code == 0) {
        code = ::fstat(fd, &allocated) != 0 ? errno : RoomOf(allocated) < size ? EOPNOTSUPP : 0;
    }
    return code;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

// Writes data over the start of the reserve open as fd and cuts it there, synced; 0 or an errno
// value. A write that fails gives back what it took beyond the reserve's former size.
int FillReserve(int fd, const void* data, size_t size, off_t formerSize) {
    if (::fchmod(fd, 0600) != 0) {
        return errno;
    }
    int code = WriteAll(fd, data, size);
    if (code != 0) {
        while (::ftruncate(fd, formerSize) != 0 && errno == EINTR) {
        }
        return code;
    }
    if (::ftruncate(fd, static_cast<off_t>(size)) != 0) {
        code = errno;
    }
    if (code == 0 && ::fsync(fd) != 0) {
        code = errno;
    }
    return code;
}

} // namespace

int SCA_ReserveRoom(const char* path, uint64_t size, uint32_t* error) {
    if (path == nullptr || path[0] == '\0' ||
        size > static_cast<uint64_t>(std::numeric_limits<off_t>::max())) {
        SetError(error, EINVAL);
        return 0;
    }
    if (const uint32_t failure = g_WriteFailure.load()) {
        if (SCA_GetReservedRoom(path) < size) {
            SetError(error, static_cast<int>(failure));
            return 0;
        }
    }
    const bool existed = SCA_IsFileExists(path) != 0;
    const int fd =
        OpenRetrying(path, O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, S_IRUSR | S_IWUSR);
    if (fd < 0) {
        SetError(error, errno);
        return 0;
    }
    struct stat info {};
    int code = ::fstat(fd, &info) != 0 ? errno : AllocateRoom(fd, size, info);
    if (::close(fd) != 0 && code == 0) {
        code = errno;
    }
    if (code != 0) {
        // Part of the room may be allocated: a reserve that is not whole is not kept.
        ::unlink(path);
    } else if (!existed) {
        code = SyncFolder(FolderOf(path));
    }
    if (code != 0) {
        SetError(error, code);
        return 0;
    }
    return 1;
}

uint64_t SCA_GetReservedRoom(const char* path) {
    struct stat info {};
    return path != nullptr && ::stat(path, &info) == 0 && S_ISREG(info.st_mode) ? RoomOf(info) : 0;
}

int SCA_WriteFileIntoReserve(const char* reserve, const char* path, const void* data, size_t size,
                             uint32_t* error) {
    const std::string target = path != nullptr ? path : "";
    if (reserve == nullptr || target.empty() || target.back() == '/' ||
        (data == nullptr && size > 0)) {
        SetError(error, EINVAL);
        return 0;
    }
    const int fd = OpenRetrying(reserve, O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        SetError(error, errno);
        return 0;
    }
    struct stat info {};
    int code = ::fstat(fd, &info) != 0 ? errno : 0;
    if (code == 0 && !S_ISREG(info.st_mode)) {
        code = EINVAL;
    }
    if (const uint32_t failure = g_WriteFailure.load(); code == 0 && failure != 0) {
        // The part beyond the reserved room would need room the full disk does not have.
        code = size > RoomOf(info) ? static_cast<int>(failure) : 0;
    }
    if (code == 0) {
        code = FillReserve(fd, data, size, info.st_size);
    }
    if (code == 0 && ::rename(reserve, target.c_str()) != 0) {
        code = errno;
    }
    if (::close(fd) != 0 && code == 0) {
        code = errno;
    }
    if (code == 0) {
        code = SyncFolder(FolderOf(target));
    }
    if (code != 0) {
        SetError(error, code);
        return 0;
    }
    return 1;
}

int SCA_AppendFileSynced(const char* path, const void* data, size_t size, uint32_t* error) {
    if (const uint32_t failure = g_WriteFailure.load()) {
        SetError(error, static_cast<int>(failure));
        return 0;
    }
    if (path == nullptr || path[0] == '\0' || (data == nullptr && size > 0)) {
        SetError(error, EINVAL);
        return 0;
    }
    const bool existed = SCA_IsFileExists(path) != 0;
    const int fd = OpenRetrying(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0) {
        SetError(error, errno);
        return 0;
    }
    ::fchmod(fd, S_IRUSR | S_IWUSR);
    struct stat before {};
    int code = ::fstat(fd, &before) != 0 ? errno : 0;
    if (code == 0) {
        code = WriteAll(fd, data, size);
        if (code != 0) {
            // No part of a record may stay behind for a later one to follow.
            while (::ftruncate(fd, before.st_size) != 0 && errno == EINTR) {
            }
        }
    }
    if (code == 0 && ::fdatasync(fd) != 0) {
        code = errno;
    }
    if (::close(fd) != 0 && code == 0) {
        code = errno;
    }
    if (code == 0 && !existed) {
        const std::string target = path;
        const size_t slash = target.rfind('/');
        code = SyncFolder(slash == std::string::npos ? "." : target.substr(0, slash + 1));
    }
    if (code != 0) {
        SetError(error, code);
        return 0;
    }
    return 1;
}

int SCA_TruncateFileSynced(const char* path, uint64_t size, uint32_t* error) {
    if (path == nullptr) {
        SetError(error, EINVAL);
        return 0;
    }
    const int fd = OpenRetrying(path, O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        const int code = errno;
        if (code == ENOENT && size == 0) {
            return 1;
        }
        SetError(error, code);
        return 0;
    }
    int code = 0;
    while (::ftruncate(fd, static_cast<off_t>(size)) != 0) {
        if (errno != EINTR) {
            code = errno;
            break;
        }
    }
    if (code == 0 && ::fsync(fd) != 0) {
        code = errno;
    }
    ::close(fd);
    if (code != 0) {
        SetError(error, code);
        return 0;
    }
    return 1;
}

void SCA_RemoveAbandonedTemporaries(const char* folder) {
    if (folder != nullptr && folder[0] != '\0') {
        RemoveAbandonedTemporaries(std::string(), folder);
    }
}

namespace {

// Without a hook set, a read looks at the flag only and takes no lock.
std::atomic<bool> g_ReadFailureSet{false};
std::mutex g_ReadFailureLock;
std::string g_ReadFailurePath;
uint32_t g_ReadFailureCode = 0;

uint32_t ReadFailure(const char* path) {
    if (!g_ReadFailureSet.load()) {
        return 0;
    }
    std::lock_guard<std::mutex> hold(g_ReadFailureLock);
    return g_ReadFailurePath == path ? g_ReadFailureCode : 0;
}

} // namespace

void SCA_SetReadFailure(const char* path, uint32_t code) {
    std::lock_guard<std::mutex> hold(g_ReadFailureLock);
    g_ReadFailurePath = path != nullptr ? path : "";
    g_ReadFailureCode = code;
    g_ReadFailureSet.store(code != 0 && path != nullptr);
}

int SCA_ReadFile(const char* path, std::string* out, size_t maxSize, uint32_t* error) {
    if (path == nullptr || out == nullptr) {
        SetError(error, EINVAL);
        return 0;
    }
    if (const uint32_t failure = ReadFailure(path)) {
        SetError(error, static_cast<int>(failure));
        return 0;
    }
    const int fd = OpenRetrying(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        SetError(error, errno);
        return 0;
    }
    // Files under /proc report a size of 0, so the limit is checked on what is read.
    std::string content;
    std::vector<char> chunk(65536);
    int code = 0;
    for (;;) {
        const ssize_t count = ::read(fd, chunk.data(), chunk.size());
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            code = count < 0 ? errno : 0;
            break;
        }
        if (content.size() + static_cast<size_t>(count) > maxSize) {
            code = EFBIG;
            break;
        }
        content.append(chunk.data(), static_cast<size_t>(count));
    }
    ::close(fd);
    if (code != 0) {
        SetError(error, code);
        return 0;
    }
    out->swap(content);
    return 1;
}
