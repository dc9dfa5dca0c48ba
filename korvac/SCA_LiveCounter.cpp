// SPDX-License-Identifier: MIT
#include "korvac/SCA_LiveCounter.h"

#include "libvop/SCA_ChartFrame.h"
#include "libvop/SCA_GaugeFrame.h"

uint32_t SCA_LiveCounter::RangeOf(const SCA_ChartFrame* chart) {
    return chart != nullptr ? chart->GetViewSpan() : 0;
}

void SCA_LiveCounter::Clear() {
    m_LastDataTime = 0;
    m_Counter.ClearAll();
}

int SCA_LiveCounter::Add(const std::vector<tagSCA_TEZ_SAMPLE>& samples) {
    return m_Counter.AddSamples(samples, &m_LastDataTime);
}

void SCA_LiveCounter::Show(SCA_GaugeFrame* gauge, SCA_ChartFrame* chart,
                           const tagSCA_TEZ_COUNTER_STATUS* status, int redraw) const {
    if (status != nullptr) {
        gauge->Update(status, redraw);
    } else {
        gauge->Update(&m_Counter, redraw);
    }
    chart->Update(status, &m_Counter);
}
