// The ten tokens of one process of "ProcessListStatus" as a client receives them. What parses
// must format back to text that parses the same.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "libtez/SCA_TezProcessStatusText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
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
