#include "libmor/SCA_FileSystem.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
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

int OpenRetrying(const char* path, int flags) {
    int fd = -1;
    do {
        fd = ::open(path, flags);
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

// Fills the temporary file and syncs it; 0 or an errno value. The descriptor is closed.
int FillTemporary(int fd, const void* data, size_t size) {
    int code = ::fchmod(fd, 0600) == 0 ? 0 : errno;
    if (code == 0) {
        code = WriteAll(fd, data, size);
    }
    if (code == 0 && ::fsync(fd) != 0) {
        code = errno;
    }
    if (::close(fd) != 0 && code == 0) {
        code = errno;
    }
    return code;
}

// Writes data to a new temporary file beside path and renames it over path; 0 or an errno
// value. The temporary file is gone afterwards whatever happens.
int ReplaceFile(const std::string& path, const std::string& folder, const void* data, size_t size) {
    std::string name = path + ".tmp.XXXXXX";
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    int code = FillTemporary(fd, data, size);
    if (code == 0 && ::rename(name.c_str(), path.c_str()) != 0) {
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

int SCA_WriteFileAtomic(const char* path, const void* data, size_t size, uint32_t* error) {
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

int SCA_ReadFile(const char* path, std::string* out, size_t maxSize, uint32_t* error) {
    if (path == nullptr || out == nullptr) {
        SetError(error, EINVAL);
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
