// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Limits.h"
#include "model/SCA_TezCounterInfo.h"
#include "model/SCA_TezRecordList.h"

// The counters of a profile, in the order of the rows of the live windows, with look-ups by
// type, computer, instance and name prefix, and a counters status id that changes whenever
// the set of counters changes (observers compare it to know when to rebuild their views).
//
// The list owns its counters and is not copyable; CopyFrom gives another list copies.
class SCA_TezCounterList : public SCA_TezRecordList<SCA_TezCounterInfo> {
public:
    SCA_TezCounterList() : SCA_TezRecordList("SCA_TezCounterList", "counters") {}
    ~SCA_TezCounterList() override = default;

    // --- look-ups: from the head, first match; out untouched when none matches. Texts match
    // exactly (case-sensitive, whole text); a null text matches nothing.

    // By list item id (not the counter id field).
    int GetCounter(uint32_t id, SCA_TezCounterInfo** info) const { return GetItem(id, info); }
    int GetCounter(uint32_t type, const char* computer, const char* instance,
                   SCA_TezCounterInfo** info) const;
    int GetCounter(uint32_t type, const char* computer, const char* instance,
                   const char* namePrefix, SCA_TezCounterInfo** info) const;
    int GetCounterByType(uint32_t type, SCA_TezCounterInfo** info) const;
    int IsCounterTypeExists(uint32_t type) const { return GetCounterByType(type, nullptr); }

    uint32_t GetCountersStatusId() const { return m_CountersStatusId; }
    void SetCountersStatusId(uint32_t id) { m_CountersStatusId = id; }
    // One step on; wraps at 32 bits (4294967295 + 1 = 0).
    void UpdateCountersStatusId() {
        m_CountersStatusId = m_CountersStatusId == SCA_ALL_ONES ? 0u : m_CountersStatusId + 1u;
    }

    // --- changes; each one but CopyFrom advances the counters status id.

    // Replaces the counters with those of a preset (the presets of the monitor kinds: 1-18 and
    // 21). computer, namePrefix and instance go to every counter (null: empty, which means the
    // local computer, no prefix and all instances). 0 for an unknown preset (reported, list
    // unchanged) or when a counter cannot be added (list left empty).
    int Init(uint32_t preset, const char* computer, const char* namePrefix, const char* instance);
    // Appends a counter of a known type (1..SCA_TEZ_MAX_COUNTER_TYPE) with the type's units,
    // enabled; its counter id is its item id, handed back through id.
    int AddCounter(uint32_t type, const char* computer, const char* instance,
                   const char* namePrefix, uint32_t* id);
    int DeleteCounter(uint32_t id);
    // Swap with the neighbour; a counter already first (last) stays and the answer is 1.
    // 0 for an unknown id.
    int MoveCounterUp(uint32_t id);
    int MoveCounterDown(uint32_t id);
    // Destroys every counter; ids already handed out are not handed out again.
    void ClearAll();
    // Replaces the counters with copies of other's (same ids, order and counters status id);
    // left as it was on failure.
    int CopyFrom(const SCA_TezCounterList& other);

protected:
    SCA_TezCounterInfo* NewRecord() const override {
        return new (std::nothrow) SCA_TezCounterInfo();
    }
    // The counters status id is a live change mark: it is not stored, and reading a stored
    // list advances it like any other change.
    void RecordsRead() override { UpdateCountersStatusId(); }

private:
    int FindCounter(uint32_t type, const char* computer, const char* instance,
                    const char* namePrefix, SCA_TezCounterInfo** info) const;

    uint32_t m_CountersStatusId = 0;
};
