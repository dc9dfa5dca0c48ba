// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Object.h"
#include "model/SCA_TezAverage.h"

class SCA_ConfigObj;

// The sample store of one counter: what a counter knows of its values. The stores themselves
// are the sampling engine's; a counter only reads them through this interface.
class SCA_TezCounterData : public SCA_Object {
public:
    ~SCA_TezCounterData() override = default;

    virtual uint32_t GetValueCount() = 0;
    virtual double GetMaxValue() = 0;
    virtual double GetMinValue() = 0;
    virtual double GetTotalValue() = 0;
    virtual double GetAverageValue() = 0;
    virtual double GetLastValue() = 0;
    // The averages over the last 10, 30 and 60 values; null while the store keeps none.
    virtual SCA_TezAverage* GetAverage10() = 0;
    virtual SCA_TezAverage* GetAverage30() = 0;
    virtual SCA_TezAverage* GetAverage60() = 0;
    // Absolute times of the newest and the oldest value.
    virtual uint64_t GetLastTime() = 0;
    virtual uint64_t GetFirstTime() = 0;
    virtual uint32_t GetHistoryLength() = 0;
    // The values condensed per minute and per hour; none in a store that keeps no history.
    virtual SCA_TezCounterData* GetHistoryMinutes() { return nullptr; }
    virtual SCA_TezCounterData* GetHistoryHours() { return nullptr; }
    // What the store keeps, for a stored report; a store that keeps nothing writes nothing.
    virtual int Serialize(SCA_ConfigObj* /*object*/) const { return 1; }

protected:
    SCA_TezCounterData() { SetConstructed(); }
    SCA_TezCounterData(const SCA_TezCounterData&) = delete;
    SCA_TezCounterData& operator=(const SCA_TezCounterData&) = delete;
};
