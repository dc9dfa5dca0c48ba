#pragma once

#include <cstdint>
#include <vector>

#include "libmor/SCA_Heap.h"
#include "model/SCA_TezAverage.h"
#include "model/SCA_TezCounterData.h"

// The sample store of one counter of a watched process: running statistics over every value
// and the most recent values (with their times) in a ring, enough for the longest history the
// process window asks for.
class SCA_TezProcCounterData : public SCA_TezCounterData {
public:
    SCA_HEAP_OPERATORS

    // Ten minutes of one value a second.
    static constexpr uint32_t kDefaultCapacity = 600;

    explicit SCA_TezProcCounterData(uint32_t capacity = kDefaultCapacity);

    // absSeconds: whole seconds of absolute time.
    void AddValue(uint64_t absSeconds, double value);

    uint32_t GetValueCount() override { return m_Count; }
    double GetMaxValue() override { return m_Max; }
    double GetMinValue() override { return m_Min; }
    double GetTotalValue() override { return m_Total; }
    double GetAverageValue() override { return m_Count != 0 ? m_Total / m_Count : 0.0; }
    double GetLastValue() override { return m_Last; }
    SCA_TezAverage* GetAverage10() override;
    SCA_TezAverage* GetAverage30() override;
    SCA_TezAverage* GetAverage60() override;
    uint64_t GetLastTime() override;
    uint64_t GetFirstTime() override;
    uint32_t GetHistoryLength() override;
    uint64_t GetPosition() override { return m_Position; }
    int GetValueAt(uint64_t position, uint64_t* absSeconds, double* value) override;

private:
    SCA_TezAverage* Recent(uint32_t window, SCA_TezAverage* average);

    std::vector<uint64_t> m_Times;
    std::vector<double> m_Values;
    uint64_t m_Position = 0;
    uint64_t m_FirstTime = 0;
    uint32_t m_Count = 0;
    double m_Min = 0.0;
    double m_Max = 0.0;
    double m_Total = 0.0;
    double m_Last = 0.0;
    SCA_TezAverage m_Average10;
    SCA_TezAverage m_Average30;
    SCA_TezAverage m_Average60;
};
