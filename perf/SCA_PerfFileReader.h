// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Whole-file reads of /proc and /sys files, whose sizes the kernel reports as 0, so they are
// read until the end rather than by their size.
class SCA_PerfFileReader {
public:
    // Replaces *out with the file's content; false (and errno set) when it cannot be read.
    static bool ReadFile(const std::string& path, std::string* out);
    // The same for the file name in the open folder dirFd, so that a process's files are all
    // read from the folder that was opened, not from whatever its path names by then.
    static bool ReadFileAt(int dirFd, const char* name, std::string* out);
    // The same into a buffer kept for many reads: it only ever grows (so it is not filled
    // anew each time), *length tells how much is the file's, and a NUL follows it.
    static bool ReadFileInto(int dirFd, const char* name, std::string* buffer, size_t* length);
    // The entry names of a folder, without "." and ".."; empty when it cannot be read.
    static std::vector<std::string> ListFolder(const std::string& path);
};
