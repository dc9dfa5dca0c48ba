// SPDX-License-Identifier: MIT
// The ten tokens of one process of "ProcessListStatus" as a client receives them: what parses
// must format back to text that parses the same. And the same bytes as a process name, as a
// hostile program could set it: cleaned, it must always travel as a field name.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "libtez/SCA_TezProcessStatusText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    char clean[256];
    SCA_TezCleanProcessName(text.c_str(), clean, sizeof(clean));
    if (clean[0] == '\0' || std::strchr(clean, '\x01') != nullptr) {
        __builtin_trap();
    }
    tagSCA_TEZ_PROCESS_STATUS status;
    if (!SCA_TezParseProcessStatus(text.c_str(), &status)) {
        return 0;
    }
    char again[512];
    tagSCA_TEZ_PROCESS_STATUS read;
    if (!SCA_TezFormatProcessStatus(status, again, sizeof(again)) ||
        !SCA_TezParseProcessStatus(again, &read) || read.ProcessId != status.ProcessId ||
        read.MeasureValid != status.MeasureValid || read.Warnings != status.Warnings ||
        std::memcmp(read.Measure, status.Measure, sizeof(read.Measure)) != 0) {
        __builtin_trap();
    }
    return 0;
}
