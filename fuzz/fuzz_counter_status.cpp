// SPDX-License-Identifier: MIT
// What a client reads of a counter from the service: status texts (whatever parses writes back
// to a text that parses to the same status) and sample fields ("<time>\n<value>": the client's
// last time moves only with a sample taken - back too, after the service's clock stepped back -
// and a field refused leaves nothing held). Nothing is read past an input's end.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezCounter.h"
#include "model/SCA_TezCounterStatus.h"

namespace {

void CheckStatus(const std::string& text) {
    tagSCA_TEZ_COUNTER_STATUS status{};
    if (!SCA_TezGetCounterStatus(text.c_str(), &status)) {
        return;
    }
    char written[SCA_TEZ_COUNTER_STATUS_SIZE];
    tagSCA_TEZ_COUNTER_STATUS again{};
    if (!SCA_TezBuildCounterStatus(status, written, sizeof(written)) ||
        !SCA_TezGetCounterStatus(written, &again) || again.CounterType != status.CounterType ||
        again.ValueCount != status.ValueCount || again.HasCurrent != status.HasCurrent ||
        (status.HasCurrent && again.Current != status.Current)) {
        std::abort();
    }
}

void CheckSample(const std::string& text) {
    const size_t split = text.find('\n');
    if (split == std::string::npos) {
        return;
    }
    SCA_ConfigObj values("CD", nullptr);
    if (!values.AddField(text.substr(0, split).c_str(), text.substr(split + 1).c_str())) {
        return;
    }
    SCA_TezCounter counter;
    uint64_t lastTime = 5;
    const int taken = counter.AddData(&values, &lastTime);
    const bool held = counter.GetHistoryLength() != 0;
    if ((!taken && held) || (!held && lastTime != 5)) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckStatus(text);
    CheckSample(text);
    return 0;
}
