// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "model/SCA_OwnerList.h"

// A list of texts, each a heap copy the list owns, with the bytes they take (each text with
// its terminating zero). Not copyable.
class SCA_StringList : public SCA_OwnerList<char> {
public:
    SCA_HEAP_OPERATORS

    SCA_StringList() = default;
    ~SCA_StringList() override = default;

    uint32_t GetDataLength() const { return m_DataLength; }

    // Appends a copy of text (a null text counts as empty). 0 when it cannot be allocated.
    int AddString(const char* text);
    // Frees every text; the data length goes back to 0.
    int ClearAll();
    int Clear() { return ClearAll(); }

private:
    // Texts leave only all at once, so that the data length stays their sum.
    using SCA_OwnerList<char>::DeleteItem;
    using SCA_OwnerList<char>::DestroyHeadItem;
    using SCA_OwnerList<char>::DestroyItem;
    using SCA_OwnerList<char>::DestroyListItem;

    uint32_t m_DataLength = 0;
};
