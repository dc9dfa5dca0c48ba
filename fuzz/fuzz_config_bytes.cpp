// SPDX-License-Identifier: MIT
// The byte form of configuration trees, as it arrives in messages: whatever parses must write
// back to bytes that parse to an equal tree, and writing is stable.
#include <cstddef>
#include <cstdint>
#include <string>

#include "libmor/SCA_Report.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_StringStor.h"

namespace {

int Quiet(tagSCA_ERROR_DESCR*, void*) {
    return 1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1u << 20) {
        return 0;
    }
    SCA_SetErrorCallback(Quiet, nullptr);
    SCA_StringStor input;
    input.SetData(reinterpret_cast<const char*>(data), static_cast<uint32_t>(size));
    SCA_ConfigObj tree("Root", nullptr);
    if (!tree.Deserialize(&input)) {
        return 0;
    }
    SCA_StringStor first;
    if (!tree.Serialize(&first) || first.GetSize() > tree.GetDataSize()) {
        __builtin_trap();
    }
    SCA_ConfigObj again("Again", nullptr);
    SCA_StringStor second;
    if (!again.Deserialize(&first) || !again.Compare(&tree) || !again.Serialize(&second) ||
        second.GetBytes() != first.GetBytes()) {
        __builtin_trap();
    }
    return 0;
}
