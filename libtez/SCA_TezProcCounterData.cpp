#include "libtez/SCA_TezProcCounterData.h"

#include <algorithm>

#include "libmor/SCA_Time.h"

namespace {

constexpr uint32_t kWindow10 = 10;
constexpr uint32_t kWindow30 = 30;
constexpr uint32_t kWindow60 = 60;

} // namespace

SCA_TezProcCounterData::SCA_TezProcCounterData(uint32_t capacity)
    : m_Times(std::max(capacity, 1u)), m_Values(std::max(capacity, 1u)) {}

void SCA_TezProcCounterData::AddValue(uint64_t absSeconds, double value) {
    m_Min = m_Count == 0 ? value : std::min(m_Min, value);
    m_Max = m_Count == 0 ? value : std::max(m_Max, value);
    m_FirstTime = m_Count == 0 ? absSeconds : m_FirstTime;
    m_Count = m_Count + 1 != 0 ? m_Count + 1 : m_Count;
    m_Total += value;
    m_Last = value;
    const size_t slot = m_Position % m_Values.size();
    m_Times[slot] = absSeconds;
    m_Values[slot] = value;
    ++m_Position;
}

uint32_t SCA_TezProcCounterData::GetHistoryLength() {
    return static_cast<uint32_t>(std::min<uint64_t>(m_Position, m_Values.size()));
}

int SCA_TezProcCounterData::GetValueAt(uint64_t position, uint64_t* absSeconds, double* value) {
    if (position == 0 || position > m_Position || m_Position - position >= m_Values.size()) {
        return 0;
    }
    const size_t slot = (position - 1) % m_Values.size();
    *absSeconds = m_Times[slot];
    *value = m_Values[slot];
    return 1;
}

uint64_t SCA_TezProcCounterData::GetLastTime() {
    uint64_t seconds = 0;
    double value = 0.0;
    return GetValueAt(m_Position, &seconds, &value) ? seconds * SCA_ABS_TIME_SECOND : 0;
}

uint64_t SCA_TezProcCounterData::GetFirstTime() {
    return m_FirstTime * SCA_ABS_TIME_SECOND;
}

SCA_TezAverage* SCA_TezProcCounterData::Recent(uint32_t window, SCA_TezAverage* average) {
    const uint32_t kept = GetHistoryLength();
    if (kept == 0) {
        return nullptr;
    }
    const uint32_t count = std::min(window, kept);
    double total = 0.0;
    uint64_t time = 0;
    double value = 0.0;
    for (uint64_t position = m_Position - count + 1; position <= m_Position; ++position) {
        GetValueAt(position, &time, &value);
        total += value;
    }
    average->SetAverageValue(total / count);
    return average;
}

SCA_TezAverage* SCA_TezProcCounterData::GetAverage10() {
    return Recent(kWindow10, &m_Average10);
}

SCA_TezAverage* SCA_TezProcCounterData::GetAverage30() {
    return Recent(kWindow30, &m_Average30);
}

SCA_TezAverage* SCA_TezProcCounterData::GetAverage60() {
    return Recent(kWindow60, &m_Average60);
}
