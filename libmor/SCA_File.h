// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_VirtualFile.h"

// The file wrapper: owns a platform file and forwards every slot to it. Open records the mode
// first, even when the platform open then fails. Construction flag 1 only when the platform
// file object was created; a file is closed when the wrapper is destroyed.
class SCA_File : public SCA_VirtualFile {
public:
    SCA_File();
    // Wraps a platform file object (owned from now on); a null one leaves the flag at 0.
    explicit SCA_File(SCA_VirtualFile* file);
    ~SCA_File() override;
    SCA_File(const SCA_File&) = delete;
    SCA_File& operator=(const SCA_File&) = delete;

    int Open(const char* path, uint32_t mode, uint32_t* error) override;
    int Read(void* buffer, uint32_t size, uint32_t* done, uint32_t* error) override;
    int Write(void* buffer, uint32_t size, uint32_t* done, uint32_t* error) override;
    int ReadString(char* buffer, uint32_t size, uint32_t* error) override;
    int WriteString(const char* text) override;
    int Seek(uint32_t high, uint32_t low, uint32_t* error) override;
    int GetCurrentPos(uint64_t* position) override;
    int GetCurrentPos(uint32_t* high, uint32_t* low) override;
    int GetFileSize(uint64_t* size, uint32_t* error) override;
    int SetFileSize(uint64_t size, uint32_t* error) override;
    int GetProperties(uint32_t* mode, uint32_t* owner, uint64_t* modified) override;
    uint32_t GetHardLinks() override;
    int Flush() override;
    int IsEof() override;
    __attribute__((format(printf, 2, 3))) int WriteStringEx(const char* format, ...) override;

    // The position as one number; 4294967295 (the 32-bit all-ones value) when it cannot be read.
    uint64_t GetPos();
    // The high half of the position; the 32-bit all-ones value when it cannot be read.
    uint32_t GetPosHigh();
    // Splits the position into halves and seeks there.
    int Seek(uint64_t position, uint32_t* error);
    int SetPos(uint64_t position, uint32_t* error) { return Seek(position, error); }

    uint32_t GetOpenMode() const { return m_OpenMode; }
    SCA_VirtualFile* GetVirtualFile() const { return m_File; }

private:
    SCA_VirtualFile* m_File;
    uint32_t m_OpenMode = 0;
};

// A new platform file object (closed), or null when it cannot be allocated.
SCA_VirtualFile* SCA_CreateFile();
