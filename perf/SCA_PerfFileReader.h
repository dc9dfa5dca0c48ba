// SPDX-License-Identifier: MIT
#pragma once

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
    // The entry names of a folder, without "." and ".."; empty when it cannot be read.
    static std::vector<std::string> ListFolder(const std::string& path);
};
