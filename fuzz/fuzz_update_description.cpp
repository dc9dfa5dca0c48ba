// SPDX-License-Identifier: MIT
// An update description as an update server (or anything posing as one) sends it. What parses
// must carry a version whose absolute value is the one the version text gives, and text fields
// that end within their buffers.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "libtez/SCA_UpdateManager.h"
#include "model/SCA_Update.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SCA_Update update;
    if (!SCA_UpdateManager::ParseDescription(reinterpret_cast<const char*>(data), size, &update)) {
        return 0;
    }
    const uint32_t absolute = SCA_UpdateManager::GetAbsVersion(update.GetVersion());
    if (absolute == 0 || absolute != update.GetAbsVersion() ||
        std::strlen(update.GetUrl()) >= 256 || std::strlen(update.GetSHA256()) >= 256) {
        __builtin_trap();
    }
    return 0;
}
