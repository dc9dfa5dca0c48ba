// SPDX-License-Identifier: MIT
#include "korvac/kit/SCA_LiveCounter.h"

#include <QSplitter>

#include "libvop/SCA_ChartFrame.h"
#include "libvop/SCA_GaugeFrame.h"
#include "model/SCA_TezCounterInfo.h"
#include "model/SCA_TezCounterMeta.h"
#include "model/SCA_TezRepStatus.h"

uint32_t SCA_LiveCounter::RangeOf(const SCA_ChartFrame* chart) {
    return chart != nullptr ? chart->GetViewSpan() : 0;
}

void SCA_LiveCounter::AddFrames(QSplitter* splitter, SCA_TezConfigUser* userConfig,
                                SCA_GaugeFrame** gauge, SCA_ChartFrame** chart) {
    constexpr uint32_t kShown = SCA_FRAME_TITLE | SCA_FRAME_SCALE | SCA_FRAME_STATISTICS;
    *gauge =
        new SCA_GaugeFrame(splitter, userConfig, SCA_GAUGE_NEEDLE, SCA_FRAME_AUTO_RANGE, kShown);
    *chart = new SCA_ChartFrame(splitter, userConfig, SCA_FRAME_AUTO_RANGE, kShown);
}

void SCA_LiveCounter::ShowTitle(SCA_GaugeFrame* gauge, SCA_ChartFrame* chart,
                                const SCA_TezCounterInfo* counter) {
    if (counter == nullptr) {
        gauge->SetTitle(SCA_REP_STATUS_ERROR, "Invalid Counter");
        chart->SetTitle(SCA_REP_STATUS_ERROR, "Invalid Counter");
        return;
    }
    const char* description = SCA_TezGetCounterDescr(counter->GetCounterType());
    gauge->SetTitle(SCA_REP_STATUS_MESSAGE, description);
    chart->SetTitle(SCA_REP_STATUS_MESSAGE, description);
}

const tagSCA_TEZ_COUNTER_STATUS*
SCA_LiveCounter::FindStatus(const std::vector<SCA_KorvantaInterface::CounterState>& counters,
                            uint32_t counterId) {
    for (const SCA_KorvantaInterface::CounterState& counter : counters) {
        if (counter.CounterId == counterId) {
            return &counter.Status;
        }
    }
    return nullptr;
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

void SCA_LiveCounter::ShowPolled(SCA_GaugeFrame* gauge, SCA_ChartFrame* chart, uint32_t counterId,
                                 const std::vector<SCA_KorvantaInterface::CounterState>& counters,
                                 const std::vector<tagSCA_TEZ_SAMPLE>& samples) {
    Add(samples);
    Show(gauge, chart, FindStatus(counters, counterId), 0);
}
