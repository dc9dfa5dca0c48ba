// SPDX-License-Identifier: MIT
#include "model/SCA_StringList.h"

#include <cstring>

int SCA_StringList::AddString(const char* text) {
    char* copy = SCA_HeapStrDup(text != nullptr ? text : "");
    if (copy == nullptr) {
        return 0;
    }
    if (!AddItemToTail(copy)) {
        SCA_HeapFree(copy);
        return 0;
    }
    m_DataLength += static_cast<uint32_t>(std::strlen(copy) + 1);
    return 1;
}

int SCA_StringList::ClearAll() {
    m_DataLength = 0;
    return SCA_OwnerList<char>::ClearAll();
}
