// SPDX-License-Identifier: MIT
// One monitor's row of "MonitorsStatus" as a client receives it: the field's name (the first
// line of the input) and its value (the rest). What reads must write back to a field that
// reads the same.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "libtez/SCA_KorvantaMonitorRow.h"
#include "model/SCA_ConfigObj.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const size_t split = text.find('\n');
    const std::string name = split == std::string::npos ? "1" : text.substr(0, split);
    const std::string value = split == std::string::npos ? text : text.substr(split + 1);
    SCA_ConfigObj received("MonitorsStatus", nullptr);
    if (!received.AddField(name.c_str(), value.c_str())) {
        return 0;
    }
    SCA_KorvantaMonitorRow row;
    if (!row.Read(received.GetHead())) {
        return 0;
    }
    SCA_ConfigObj written("MonitorsStatus", nullptr);
    SCA_KorvantaMonitorRow again;
    if (!row.Write(&written) || !again.Read(written.GetHead()) ||
        again.MonitorId != row.MonitorId || again.State != row.State ||
        again.Warnings != row.Warnings || std::strcmp(again.Host, row.Host) != 0 ||
        std::strcmp(again.Description, row.Description) != 0) {
        __builtin_trap();
    }
    return 0;
}
