// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Object.h"

// Open modes, combined with |.
inline constexpr uint32_t SCA_FILE_READ = 0x1;
inline constexpr uint32_t SCA_FILE_WRITE = 0x2;
inline constexpr uint32_t SCA_FILE_CREATE = 0x4;   // create when missing
inline constexpr uint32_t SCA_FILE_TRUNCATE = 0x8; // empty an existing file
inline constexpr uint32_t SCA_FILE_APPEND = 0x10;  // every write goes to the end

// A file of the platform. Every operation answers nonzero on success unless its type says
// otherwise; error out-parameters receive errno values. Files are created with mode 0600.
class SCA_VirtualFile : public SCA_Object {
public:
    virtual int Open(const char* path, uint32_t mode, uint32_t* error) = 0;
    virtual int Read(void* buffer, uint32_t size, uint32_t* done, uint32_t* error) = 0;
    virtual int Write(void* buffer, uint32_t size, uint32_t* done, uint32_t* error) = 0;
    // One line without its end-of-line bytes, bounded by size; 0 at the end of the file.
    virtual int ReadString(char* buffer, uint32_t size, uint32_t* error) = 0;
    virtual int WriteString(const char* text) = 0;
    // Absolute position, high 32 bits first.
    virtual int Seek(uint32_t high, uint32_t low, uint32_t* error) = 0;
    virtual int GetCurrentPos(uint64_t* position) = 0;
    virtual int GetCurrentPos(uint32_t* high, uint32_t* low) = 0;
    virtual int GetFileSize(uint64_t* size, uint32_t* error) = 0;
    virtual int SetFileSize(uint64_t size, uint32_t* error) = 0;
    // File mode bits, owner user id and last modification (absolute time).
    virtual int GetProperties(uint32_t* mode, uint32_t* owner, uint64_t* modified) = 0;
    virtual uint32_t GetHardLinks() = 0;
    // Writes the file's data through to the disk (fsync).
    virtual int Flush() = 0;
    virtual int IsEof() = 0;
    __attribute__((format(printf, 2, 3))) virtual int WriteStringEx(const char* format, ...) = 0;
};
