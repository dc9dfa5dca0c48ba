// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "model/SCA_OwnerList.h"
#include "model/SCA_TezError.h"

class SCA_ConfigObj;

// The errors and warnings of a monitor, oldest first, each under its error id. The list owns
// its errors.
class SCA_TezErrorList : public SCA_OwnerList<SCA_TezError> {
public:
    SCA_HEAP_OPERATORS

    SCA_TezErrorList() = default;
    ~SCA_TezErrorList() override = default;

    // Appends error (owned from then on) under its error id. 0 when it cannot be linked in;
    // the caller then still owns it.
    int AddError(SCA_TezError* error);
    // The error with that list id; 0 with *error untouched when there is none.
    int GetError(uint32_t id, SCA_TezError** error) const { return GetItem(id, error); }
    // Appends copies of from's errors, in order, under their own error ids (several monitors'
    // errors may share ids). 0 when one cannot be copied or linked in; those before it stay.
    int AddErrors(const SCA_TezErrorList& from);

    // One child object per error, in order.
    int Serialize(SCA_ConfigObj* object) const { return SerializeRecords(object); }
    // Replaces the errors with those of every child object. On failure the list holds the
    // errors read so far.
    int Deserialize(SCA_ConfigObj* object);
};
