// SPDX-License-Identifier: MIT
// Configuration files as read from disk: a damaged file is refused and leaves the object as it
// was; an accepted one holds a tree that writes back within its size bound.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "libmor/SCA_Report.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_StringStor.h"

namespace {

int Quiet(tagSCA_ERROR_DESCR*, void*) {
    return 1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SCA_SetErrorCallback(Quiet, nullptr);
    SCA_ConfigObj tree("Before", nullptr);
    tree.AddField("Kept", 1);
    uint32_t error = 0;
    if (!tree.LoadBytes(reinterpret_cast<const char*>(data), size, &error)) {
        int kept = 0;
        if (error == 0 || std::string_view(tree.GetName()) != "Before" ||
            tree.GetFieldCount() != 1 || !tree.GetField("Kept", &kept) || kept != 1) {
            __builtin_trap();
        }
        return 0;
    }
    SCA_StringStor bytes;
    if (!tree.Serialize(&bytes) || bytes.GetSize() > tree.GetDataSize()) {
        __builtin_trap();
    }
    return 0;
}
