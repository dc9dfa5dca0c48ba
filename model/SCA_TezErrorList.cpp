// SPDX-License-Identifier: MIT
#include "model/SCA_TezErrorList.h"

#include <new>

int SCA_TezErrorList::AddError(SCA_TezError* error) {
    return error != nullptr && AddItemToTail(error, error->GetErrorId()) ? 1 : 0;
}

int SCA_TezErrorList::AddErrors(const SCA_TezErrorList& from) {
    for (const Item* node = from.GetHead(); node != nullptr; node = node->GetNext()) {
        if (node->GetItem() == nullptr) {
            continue;
        }
        auto* copy = new (std::nothrow) SCA_TezError(*node->GetItem());
        if (copy == nullptr || !AddError(copy)) {
            SCA_Object::Destroy(copy);
            return 0;
        }
    }
    return 1;
}

int SCA_TezErrorList::Deserialize(SCA_ConfigObj* object) {
    return DeserializeRecords(object, [this](SCA_TezError* error) { return AddError(error); });
}
