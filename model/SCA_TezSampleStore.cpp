// SPDX-License-Identifier: MIT
#include "model/SCA_TezSampleStore.h"

#include <algorithm>
#include <limits>

#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezCounterStatus.h"

namespace {

constexpr uint32_t kWindow10 = 10;
constexpr uint32_t kWindow30 = 30;
constexpr uint32_t kWindow60 = 60;

} // namespace

SCA_TezSampleStore::SCA_TezSampleStore(uint32_t capacity) {
    m_Series.Capacity = std::max(capacity, 1u);
}

void SCA_TezSampleStore::AddSample(uint64_t absTime, double value, bool hasValue) {
    Add(&m_Series, absTime, value, hasValue);
}

void SCA_TezSampleStore::Clear() {
    Series empty;
    empty.Capacity = m_Series.Capacity;
    m_Series = std::move(empty);
}

void SCA_TezSampleStore::Add(Series* series, uint64_t absTime, double value, bool hasValue) {
    hasValue = hasValue && !std::isnan(value);
    const Slot sample{absTime, hasValue ? value : std::numeric_limits<double>::quiet_NaN()};
    if (series->Samples.size() < series->Capacity) {
        if (series->Samples.empty()) {
            // Sized once: growing by doubling would leave most of a live ring unused. A stored
            // store's capacity is outside input and takes no more than a live ring up front.
            series->Samples.reserve(std::min(series->Capacity, SCA_TEZ_LIVE_SAMPLES));
        }
        series->Samples.push_back(sample);
    } else {
        series->Samples[series->Start] = sample;
        series->Start = (series->Start + 1) % series->Capacity;
    }
    if (series->FirstTime == 0) {
        series->FirstTime = absTime;
    }
    series->LastTime = absTime;
    series->HasLastValue = hasValue;
    if (!hasValue) {
        return;
    }
    series->LastValue = value;
    series->Min = series->Count == 0 ? value : std::min(series->Min, value);
    series->Max = series->Count == 0 ? value : std::max(series->Max, value);
    series->Total += value;
    ++series->Count;
    UpdateAverages(series);
}

// The averages over the newest values of the ring; gaps do not count.
void SCA_TezSampleStore::UpdateAverages(Series* series) {
    struct Window {
        uint32_t Size;
        SCA_TezAverage* Average;
        double Sum = 0.0;
        uint32_t Count = 0;
    };
    Window windows[] = {{kWindow10, &series->Average10},
                        {kWindow30, &series->Average30},
                        {kWindow60, &series->Average60}};
    const auto kept = static_cast<uint32_t>(series->Samples.size());
    for (uint32_t back = 0; back < kept && windows[2].Count < kWindow60; ++back) {
        const tagSCA_TEZ_SAMPLE sample = SampleAt(*series, kept - 1 - back).Sample();
        if (!sample.HasValue) {
            continue;
        }
        for (Window& window : windows) {
            if (window.Count < window.Size) {
                window.Sum += sample.Value;
                ++window.Count;
            }
        }
    }
    for (Window& window : windows) {
        window.Average->SetAverageValue(window.Count != 0 ? window.Sum / window.Count : 0.0);
    }
}

int SCA_TezSampleStore::WriteSamples(uint64_t since, uint32_t maxCount,
                                     SCA_ConfigObj* object) const {
    if (object == nullptr) {
        return 0;
    }
    const uint32_t kept = KeptSamples();
    uint32_t first = kept;
    if (kept != 0 && since > GetSample(kept - 1).AbsTime) {
        first = FirstAfterStepBack(since, maxCount);
    } else {
        while (first > 0 && kept - first < maxCount && GetSample(first - 1).AbsTime > since) {
            --first;
        }
    }
    for (uint32_t i = first; i < kept; ++i) {
        if (!SCA_TezAddSampleField(object, GetSample(i))) {
            return 0;
        }
    }
    return 1;
}

// A client that holds a sample newer than the newest one here saw the wall clock before it
// stepped back. It gets the samples kept after the one it holds last, found by its time, or
// the newest ones when that one is gone; from then on it follows their times, rather than
// getting nothing until the clock has caught up.
uint32_t SCA_TezSampleStore::FirstAfterStepBack(uint64_t since, uint32_t maxCount) const {
    const uint32_t kept = KeptSamples();
    uint32_t after = 0;
    for (uint32_t i = kept; i > 0; --i) {
        if (GetSample(i - 1).AbsTime == since) {
            after = i;
            break;
        }
    }
    return std::max(after, kept - std::min(kept, maxCount));
}

int SCA_TezSampleStore::Serialize(SCA_ConfigObj* object) const {
    const Series& series = m_Series;
    if (object == nullptr || !object->AddField("Capacity", series.Capacity) ||
        !object->AddField("Count", series.Count) || !object->AddField("Total", series.Total) ||
        !object->AddField("Minimum", series.Min) || !object->AddField("Maximum", series.Max) ||
        !object->AddField("FirstTime", series.FirstTime) ||
        !object->AddField("LastTime", series.LastTime)) {
        return 0;
    }
    SCA_ConfigObj* samples = object->AddConfigObj("Samples");
    return samples != nullptr && WriteSamples(0, KeptSamples(), samples);
}

int SCA_TezSampleStore::Deserialize(SCA_ConfigObj* object) {
    Series read;
    SCA_ConfigObj* samples = nullptr;
    if (object == nullptr || !object->GetField("Capacity", &read.Capacity) || read.Capacity == 0 ||
        !object->GetField("Samples", &samples)) {
        return 0;
    }
    for (SCA_Field* field = samples->GetHead(); field != nullptr; field = field->GetNext()) {
        tagSCA_TEZ_SAMPLE sample{};
        if (!SCA_TezReadSampleField(field, &sample)) {
            return 0;
        }
        Add(&read, sample.AbsTime, sample.Value, sample.HasValue);
    }
    // The run's statistics cover more than the samples kept: they are taken as stored.
    if (!object->GetField("Count", &read.Count) || !object->GetField("Total", &read.Total) ||
        !object->GetField("Minimum", &read.Min) || !object->GetField("Maximum", &read.Max) ||
        !object->GetField("FirstTime", &read.FirstTime) ||
        !object->GetField("LastTime", &read.LastTime)) {
        return 0;
    }
    m_Series = std::move(read);
    return 1;
}
