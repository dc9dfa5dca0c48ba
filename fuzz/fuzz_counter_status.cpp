// Counter status texts from the service: whatever parses writes back to a text that parses to
// the same status; nothing is read past the text's end.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "model/SCA_TezCounterStatus.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    tagSCA_TEZ_COUNTER_STATUS status{};
    if (!SCA_TezGetCounterStatus(text.c_str(), &status)) {
        return 0;
    }
    char written[SCA_TEZ_COUNTER_STATUS_SIZE];
    tagSCA_TEZ_COUNTER_STATUS again{};
    if (!SCA_TezBuildCounterStatus(status, written, sizeof(written)) ||
        !SCA_TezGetCounterStatus(written, &again) || again.CounterType != status.CounterType ||
        again.ValueCount != status.ValueCount || again.HasCurrent != status.HasCurrent ||
        (status.HasCurrent && again.Current != status.Current)) {
        std::abort();
    }
    return 0;
}
