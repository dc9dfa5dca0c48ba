// SPDX-License-Identifier: MIT
// The byte form of configuration trees, as it arrives in messages: whatever parses must write
// back to bytes that parse to an equal tree, and writing is stable. A clone of the tree, and a
// copy built with the adders a reply is built with, write the same bytes.
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

// Copies the children of from into to through the typed adders (a value field with the empty
// name, which they refuse, as a clone). 0 when any is refused.
int Rebuild(SCA_ConfigObj* from, SCA_ConfigObj* to) {
    for (SCA_Field* child = from->GetHead(); child != nullptr; child = child->GetNext()) {
        if (child->IsObject()) {
            SCA_ConfigObj* copy = to->AddConfigObj(child->GetName());
            if (copy == nullptr || !Rebuild(static_cast<SCA_ConfigObj*>(child), copy)) {
                return 0;
            }
        } else if (child->GetName()[0] != '\0') {
            if (!to->AddField(child->GetName(), child->GetValue())) {
                return 0;
            }
        } else if (!to->AddField(child->Clone(), 0)) {
            return 0;
        }
    }
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
    SCA_Field* clone = tree.Clone();
    SCA_StringStor cloned;
    if (clone == nullptr || !clone->Serialize(&cloned) || cloned.GetBytes() != first.GetBytes()) {
        __builtin_trap();
    }
    clone->Destroy();
    SCA_ConfigObj rebuilt(tree.GetName(), nullptr);
    SCA_StringStor built;
    if (!Rebuild(&tree, &rebuilt) || !rebuilt.Serialize(&built) ||
        built.GetBytes() != first.GetBytes()) {
        __builtin_trap();
    }
    return 0;
}
