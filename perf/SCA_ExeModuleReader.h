#pragma once

#include <cstdint>
#include <string>

class SCA_ExeModuleList;

// Fills a process's module list from /proc/PID/maps: one module per mapped file, with its
// size and modification time.
class SCA_ExeModuleReader {
public:
    // Replaces the list's modules with those of process pid. 0 with *error (an errno turned
    // into a status, never 1) when the process is gone or not ours to read.
    static int Init(SCA_ExeModuleList* list, uint32_t pid, const std::string& procRoot,
                    uint32_t* error);
};
