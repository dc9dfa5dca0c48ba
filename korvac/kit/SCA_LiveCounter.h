// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

#include "libtez/SCA_KorvantaInterface.h"
#include "model/SCA_TezCounter.h"
#include "model/SCA_TezCounterStatus.h"

class QSplitter;
class SCA_ChartFrame;
class SCA_GaugeFrame;
class SCA_TezConfigUser;
class SCA_TezCounterInfo;

// The samples of one counter that a live window has collected for its gauge and chart, and the
// time of the newest, which its next poll sends so that the service answers only with what is
// new. A window open for hours thus costs each second what one just opened does: one poll with
// the samples of the last second, the series kept within the chart's longest span.
class SCA_LiveCounter {
public:
    // How many samples a poll asks for: the chart's span in seconds at one sample a second (0
    // for a mode without a span).
    static uint32_t RangeOf(const SCA_ChartFrame* chart);
    // The gauge and the chart of a live window, side by side in splitter.
    static void AddFrames(QSplitter* splitter, SCA_TezConfigUser* userConfig,
                          SCA_GaugeFrame** gauge, SCA_ChartFrame** chart);
    // Titles the gauge and the chart with counter's description; null: "Invalid Counter".
    static void ShowTitle(SCA_GaugeFrame* gauge, SCA_ChartFrame* chart,
                          const SCA_TezCounterInfo* counter);
    // The status of counterId among a poll's counters; null when the poll has none of it.
    static const tagSCA_TEZ_COUNTER_STATUS*
    FindStatus(const std::vector<SCA_KorvantaInterface::CounterState>& counters,
               uint32_t counterId);

    uint64_t GetLastDataTime() const { return m_LastDataTime; }
    const SCA_TezCounter& GetCounter() const { return m_Counter; }

    // Forgets every sample: the next poll asks for the whole span again.
    void Clear();
    // Takes the samples newer than the newest held, oldest first. 0 when they cannot be kept.
    int Add(const std::vector<tagSCA_TEZ_SAMPLE>& samples);
    // The gauge from the parsed status (else from the samples held), the chart from both.
    void Show(SCA_GaugeFrame* gauge, SCA_ChartFrame* chart, const tagSCA_TEZ_COUNTER_STATUS* status,
              int redraw) const;
    // Takes the samples a poll brought for counterId and shows them with its status there.
    void ShowPolled(SCA_GaugeFrame* gauge, SCA_ChartFrame* chart, uint32_t counterId,
                    const std::vector<SCA_KorvantaInterface::CounterState>& counters,
                    const std::vector<tagSCA_TEZ_SAMPLE>& samples);

private:
    SCA_TezCounter m_Counter;
    uint64_t m_LastDataTime = 0;
};
