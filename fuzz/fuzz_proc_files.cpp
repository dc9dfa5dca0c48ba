// The /proc files the process scan reads (stat, status, io, maps, the system's stat), as the
// kernel or a hostile process name could shape them. The first byte picks the parser.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "libtez/SCA_TezProcParse.h"
#include "libtez/SCA_TezProcSample.h"
#include "libtez/SCA_TezProcessStatusText.h"
#include "model/SCA_ExeModuleList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const char* text = reinterpret_cast<const char*>(data + 1);
    const size_t length = size - 1;
    tagSCA_TEZ_PROC_SAMPLE sample;
    uint64_t boot = 0;
    SCA_ExeModuleList modules;
    switch (data[0] % 5) {
    case 0:
        if (SCA_TezParseProcStat(text, length, &sample)) {
            if (std::strlen(sample.Name) >= sizeof(sample.Name)) {
                __builtin_trap();
            }
            char clean[256];
            SCA_TezCleanProcessName(sample.Name, clean, sizeof(clean));
            if (clean[0] == '\0' || std::strchr(clean, '\x01') != nullptr) {
                __builtin_trap(); // a name must always travel as a field name
            }
        }
        break;
    case 1:
        SCA_TezParseProcStatus(text, length, &sample);
        break;
    case 2:
        SCA_TezParseProcIo(text, length, &sample);
        break;
    case 3:
        SCA_TezParseBootTime(text, length, &boot);
        break;
    default:
        SCA_TezParseProcMaps(text, length, &modules);
        break;
    }
    return 0;
}
