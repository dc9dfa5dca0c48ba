// SPDX-License-Identifier: MIT
#include "libmor/SCA_File.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_Time.h"

namespace {

void SetError(uint32_t* error, int code) {
    if (error != nullptr) {
        *error = static_cast<uint32_t>(code);
    }
}

void SetDone(uint32_t* done, size_t count) {
    if (done != nullptr) {
        *done = static_cast<uint32_t>(count);
    }
}

// The open(2) flags of a mode; -1 for a mode that makes no sense.
int OpenFlags(uint32_t mode) {
    const bool read = (mode & SCA_FILE_READ) != 0;
    const bool write = (mode & SCA_FILE_WRITE) != 0;
    if (!read && !write) {
        return -1;
    }
    if (!write && (mode & (SCA_FILE_TRUNCATE | SCA_FILE_APPEND)) != 0) {
        return -1;
    }
    int flags = O_CLOEXEC | (read && write ? O_RDWR : (write ? O_WRONLY : O_RDONLY));
    flags |= (mode & SCA_FILE_CREATE) != 0 ? O_CREAT : 0;
    flags |= (mode & SCA_FILE_TRUNCATE) != 0 ? O_TRUNC : 0;
    flags |= (mode & SCA_FILE_APPEND) != 0 ? O_APPEND : 0;
    return flags;
}

// printf into a string; an empty string when the format fails.
__attribute__((format(printf, 1, 0))) std::string FormatText(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length <= 0) {
        return std::string();
    }
    std::string text(static_cast<size_t>(length), '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, args);
    return text;
}

class PosixFile final : public SCA_VirtualFile {
public:
    SCA_HEAP_OPERATORS

    PosixFile() { SetConstructed(); }
    ~PosixFile() override { Close(); }

    int Open(const char* path, uint32_t mode, uint32_t* error) override {
        Close();
        const int flags = OpenFlags(mode);
        if (path == nullptr || flags < 0) {
            SetError(error, EINVAL);
            return 0;
        }
        do {
            m_Fd = ::open(path, flags, 0600);
        } while (m_Fd < 0 && errno == EINTR);
        if (m_Fd < 0) {
            SetError(error, errno);
            return 0;
        }
        return 1;
    }

    int Read(void* buffer, uint32_t size, uint32_t* done, uint32_t* error) override {
        size_t total = 0;
        while (total < size) {
            const ssize_t count = ::read(m_Fd, static_cast<char*>(buffer) + total, size - total);
            if (count < 0 && errno == EINTR) {
                continue;
            }
            if (count < 0) {
                SetDone(done, total);
                SetError(error, errno);
                return 0;
            }
            if (count == 0) {
                break;
            }
            total += static_cast<size_t>(count);
        }
        SetDone(done, total);
        return 1;
    }

    int Write(void* buffer, uint32_t size, uint32_t* done, uint32_t* error) override {
        const int code = WriteAll(buffer, size, done);
        SetError(error, code);
        return code == 0 ? 1 : 0;
    }

    int ReadString(char* buffer, uint32_t size, uint32_t* error) override;

    int WriteString(const char* text) override {
        if (text == nullptr) {
            return 0;
        }
        return WriteAll(text, std::strlen(text), nullptr) == 0 ? 1 : 0;
    }

    int Seek(uint32_t high, uint32_t low, uint32_t* error) override {
        const uint64_t position = (static_cast<uint64_t>(high) << 32) | low;
        if (position > static_cast<uint64_t>(INT64_MAX)) {
            SetError(error, EINVAL);
            return 0;
        }
        if (::lseek(m_Fd, static_cast<off_t>(position), SEEK_SET) < 0) {
            SetError(error, errno);
            return 0;
        }
        return 1;
    }

    int GetCurrentPos(uint64_t* position) override {
        const off_t offset = ::lseek(m_Fd, 0, SEEK_CUR);
        if (offset < 0 || position == nullptr) {
            return 0;
        }
        *position = static_cast<uint64_t>(offset);
        return 1;
    }

    int GetCurrentPos(uint32_t* high, uint32_t* low) override {
        uint64_t position = 0;
        if (high == nullptr || low == nullptr || !GetCurrentPos(&position)) {
            return 0;
        }
        *high = static_cast<uint32_t>(position >> 32);
        *low = static_cast<uint32_t>(position);
        return 1;
    }

    int GetFileSize(uint64_t* size, uint32_t* error) override {
        struct stat info {};
        if (::fstat(m_Fd, &info) != 0) {
            SetError(error, errno);
            return 0;
        }
        if (size != nullptr) {
            *size = static_cast<uint64_t>(info.st_size);
        }
        return 1;
    }

    int SetFileSize(uint64_t size, uint32_t* error) override {
        if (size > static_cast<uint64_t>(INT64_MAX)) {
            SetError(error, EINVAL);
            return 0;
        }
        int result = 0;
        do {
            result = ::ftruncate(m_Fd, static_cast<off_t>(size));
        } while (result != 0 && errno == EINTR);
        if (result != 0) {
            SetError(error, errno);
            return 0;
        }
        return 1;
    }

    int GetProperties(uint32_t* mode, uint32_t* owner, uint64_t* modified) override {
        struct stat info {};
        if (::fstat(m_Fd, &info) != 0) {
            return 0;
        }
        if (mode != nullptr) {
            *mode = static_cast<uint32_t>(info.st_mode & 07777);
        }
        if (owner != nullptr) {
            *owner = static_cast<uint32_t>(info.st_uid);
        }
        if (modified != nullptr) {
            *modified = static_cast<uint64_t>(info.st_mtim.tv_sec) * SCA_ABS_TIME_SECOND +
                        static_cast<uint64_t>(info.st_mtim.tv_nsec) / 100;
        }
        return 1;
    }

    uint32_t GetHardLinks() override {
        struct stat info {};
        return ::fstat(m_Fd, &info) == 0 ? static_cast<uint32_t>(info.st_nlink) : 0;
    }

    int Flush() override { return m_Fd >= 0 && ::fsync(m_Fd) == 0 ? 1 : 0; }

    // No more bytes after the current position (or no file open).
    int IsEof() override {
        uint64_t position = 0;
        uint64_t size = 0;
        if (!GetCurrentPos(&position) || !GetFileSize(&size, nullptr)) {
            return 1;
        }
        return position >= size ? 1 : 0;
    }

    __attribute__((format(printf, 2, 3))) int WriteStringEx(const char* format, ...) override {
        va_list args;
        va_start(args, format);
        const std::string text = FormatText(format, args);
        va_end(args);
        return WriteString(text.c_str());
    }

private:
    void Close() {
        if (m_Fd >= 0) {
            ::close(m_Fd);
            m_Fd = -1;
        }
    }

    // 0, or the errno value of the write that failed.
    int WriteAll(const void* buffer, size_t size, uint32_t* done) {
        size_t total = 0;
        while (total < size) {
            const ssize_t count =
                ::write(m_Fd, static_cast<const char*>(buffer) + total, size - total);
            if (count < 0 && errno == EINTR) {
                continue;
            }
            if (count < 0) {
                SetDone(done, total);
                return errno;
            }
            total += static_cast<size_t>(count);
        }
        SetDone(done, total);
        return 0;
    }

    int m_Fd = -1;
};

// Reads a chunk at a time and seeks back over what follows the line, so the file position
// always stays right after the line and the other operations need no buffer of their own.
int PosixFile::ReadString(char* buffer, uint32_t size, uint32_t* error) {
    std::string line;
    bool any = false;
    char chunk[512];
    for (;;) {
        const ssize_t count = ::read(m_Fd, chunk, sizeof(chunk));
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            SetError(error, errno);
            return 0;
        }
        if (count == 0) {
            break;
        }
        any = true;
        const size_t got = static_cast<size_t>(count);
        const char* end = static_cast<const char*>(std::memchr(chunk, '\n', got));
        const size_t used = end != nullptr ? static_cast<size_t>(end - chunk) : got;
        // Only what the buffer can hold (and one byte to see where to cut) is kept.
        if (line.size() < size) {
            line.append(chunk, std::min(used, size - line.size()));
        }
        if (end != nullptr) {
            ::lseek(m_Fd, static_cast<off_t>(used + 1) - static_cast<off_t>(got), SEEK_CUR);
            break;
        }
    }
    if (!line.empty() && line.back() == '\r' && line.size() < size) {
        line.pop_back();
    }
    SCA_StrnCpy(buffer, line.c_str(), size);
    return any ? 1 : 0;
}

} // namespace

SCA_VirtualFile* SCA_CreateFile() {
    return new (std::nothrow) PosixFile();
}

SCA_File::SCA_File() : SCA_File(SCA_CreateFile()) {}

SCA_File::SCA_File(SCA_VirtualFile* file) : m_File(file) {
    if (m_File != nullptr) {
        SetConstructed();
    }
}

SCA_File::~SCA_File() {
    SCA_Object::Destroy(m_File);
}

int SCA_File::Open(const char* path, uint32_t mode, uint32_t* error) {
    m_OpenMode = mode;
    if (m_File == nullptr) {
        SetError(error, ENOMEM);
        return 0;
    }
    return m_File->Open(path, mode, error);
}

int SCA_File::Read(void* buffer, uint32_t size, uint32_t* done, uint32_t* error) {
    return m_File != nullptr ? m_File->Read(buffer, size, done, error) : 0;
}

int SCA_File::Write(void* buffer, uint32_t size, uint32_t* done, uint32_t* error) {
    return m_File != nullptr ? m_File->Write(buffer, size, done, error) : 0;
}

int SCA_File::ReadString(char* buffer, uint32_t size, uint32_t* error) {
    return m_File != nullptr ? m_File->ReadString(buffer, size, error) : 0;
}

int SCA_File::WriteString(const char* text) {
    return m_File != nullptr ? m_File->WriteString(text) : 0;
}

int SCA_File::Seek(uint32_t high, uint32_t low, uint32_t* error) {
    return m_File != nullptr ? m_File->Seek(high, low, error) : 0;
}

int SCA_File::GetCurrentPos(uint64_t* position) {
    return m_File != nullptr ? m_File->GetCurrentPos(position) : 0;
}

int SCA_File::GetCurrentPos(uint32_t* high, uint32_t* low) {
    return m_File != nullptr ? m_File->GetCurrentPos(high, low) : 0;
}

int SCA_File::GetFileSize(uint64_t* size, uint32_t* error) {
    return m_File != nullptr ? m_File->GetFileSize(size, error) : 0;
}

int SCA_File::SetFileSize(uint64_t size, uint32_t* error) {
    return m_File != nullptr ? m_File->SetFileSize(size, error) : 0;
}

int SCA_File::GetProperties(uint32_t* mode, uint32_t* owner, uint64_t* modified) {
    return m_File != nullptr ? m_File->GetProperties(mode, owner, modified) : 0;
}

uint32_t SCA_File::GetHardLinks() {
    return m_File != nullptr ? m_File->GetHardLinks() : 0;
}

int SCA_File::Flush() {
    return m_File != nullptr ? m_File->Flush() : 0;
}

int SCA_File::IsEof() {
    return m_File != nullptr ? m_File->IsEof() : 0;
}

int SCA_File::WriteStringEx(const char* format, ...) {
    if (m_File == nullptr) {
        return 0;
    }
    va_list args;
    va_start(args, format);
    const std::string text = FormatText(format, args);
    va_end(args);
    // A variadic slot cannot pass its arguments on; the formatted text goes instead.
    return m_File->WriteStringEx("%s", text.c_str());
}

uint64_t SCA_File::GetPos() {
    uint32_t high = 0;
    uint32_t low = 0;
    if (!GetCurrentPos(&high, &low)) {
        return SCA_ALL_ONES;
    }
    return (static_cast<uint64_t>(high) << 32) | low;
}

uint32_t SCA_File::GetPosHigh() {
    uint32_t high = 0;
    uint32_t low = 0;
    return GetCurrentPos(&high, &low) ? high : SCA_ALL_ONES;
}

int SCA_File::Seek(uint64_t position, uint32_t* error) {
    return Seek(static_cast<uint32_t>(position >> 32), static_cast<uint32_t>(position), error);
}
