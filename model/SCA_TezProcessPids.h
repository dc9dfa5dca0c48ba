// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "model/SCA_OwnerList.h"
#include "model/SCA_TezProcessPid.h"

class SCA_ConfigObj;

// The process ids seen under one process name, each under its process id. The list owns its
// records.
class SCA_TezProcessPids : public SCA_OwnerList<SCA_TezProcessPid> {
public:
    SCA_HEAP_OPERATORS

    SCA_TezProcessPids() = default;
    ~SCA_TezProcessPids() override = default;

    // Appends pid (owned from then on) under its process id. 0 when it cannot be linked in;
    // the caller then still owns it.
    int AddPid(SCA_TezProcessPid* pid);
    uint32_t GetPidCount() const { return Count(); }
    int IsPidExists(uint32_t processId) const { return GetListItem(processId) != nullptr ? 1 : 0; }
    // 0 with *pid untouched when no record has that process id.
    int GetPid(uint32_t processId, SCA_TezProcessPid** pid) const {
        return GetItem(processId, pid);
    }

    // One child object per record, in order.
    int Serialize(SCA_ConfigObj* object) const { return SerializeRecords(object); }
    // Replaces the records with those of every child object. On failure the list holds the
    // records read so far.
    int Deserialize(SCA_ConfigObj* object);
};
