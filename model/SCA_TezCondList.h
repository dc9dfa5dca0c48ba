// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "model/SCA_TezCond.h"
#include "model/SCA_TezRecordList.h"

// The conditions that watch one counter. The list owns its conditions; not copyable (a
// counter's copy takes copies of the conditions through CopyFrom).
class SCA_TezCondList : public SCA_TezRecordList<SCA_TezCond> {
public:
    SCA_TezCondList() : SCA_TezRecordList("SCA_TezCondList", "conditions") {}
    ~SCA_TezCondList() override = default;

    // By list item id (not the condition id), from the head; out untouched when none matches.
    int GetCond(uint32_t id, SCA_TezCond** cond) const { return GetItem(id, cond); }

    // Appends cond, which the list owns from then on, under the next item id; the condition
    // id becomes that id. On failure the caller keeps cond.
    int AddCond(SCA_TezCond* cond, uint32_t* id) {
        return AddRecord(cond, nullptr, id, &SCA_TezCond::SetCondId);
    }
    // Removes and destroys the condition with this item id.
    int DeleteCond(uint32_t id) { return DeleteRecord(id); }
    // Destroys every condition; ids already handed out are not handed out again.
    void ClearAll() { ClearRecords(); }
    // Replaces the conditions with copies of other's (same ids and order); left as it was on
    // failure.
    int CopyFrom(const SCA_TezCondList& other) { return CopyRecords(other); }

protected:
    SCA_TezCond* NewRecord() const override { return new (std::nothrow) SCA_TezCond(); }
};
