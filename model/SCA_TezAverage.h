// SPDX-License-Identifier: MIT
#pragma once

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Object.h"

// The average of a counter's values over one window (10, 30 or 60 values) as its sample store
// keeps it. Copies are member by member.
class SCA_TezAverage : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    explicit SCA_TezAverage(double averageValue = 0.0) : m_AverageValue(averageValue) {
        SetConstructed();
    }
    SCA_TezAverage(const SCA_TezAverage&) = default;
    SCA_TezAverage& operator=(const SCA_TezAverage&) = default;
    ~SCA_TezAverage() override = default;

    double GetAverageValue() const { return m_AverageValue; }
    // For the sample store that computes the window.
    void SetAverageValue(double value) { m_AverageValue = value; }

private:
    double m_AverageValue;
};
