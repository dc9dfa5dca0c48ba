// SPDX-License-Identifier: MIT
#include "model/SCA_TezSampleStore.h"

#include <algorithm>
#include <limits>

#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezCounterStatus.h"

namespace {

// Neumaier's step: the rounding error of sum + value goes to lost.
void AddCompensated(double* sum, double* lost, double value) {
    const double total = *sum + value;
    *lost += std::fabs(*sum) >= std::fabs(value) ? (*sum - total) + value : (value - total) + *sum;
    *sum = total;
}

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

tagSCA_TEZ_SAMPLE SCA_TezSampleStore::GetSample(uint32_t i) const {
    tagSCA_TEZ_SAMPLE found{};
    const auto take = [&found, i](uint32_t index, const tagSCA_TEZ_SAMPLE& sample) {
        found = sample;
        return index != i;
    };
    if (i < KeptSamples() / 2) {
        VisitOldestFirst(take);
    } else {
        VisitNewestFirst(take);
    }
    return found;
}

std::vector<tagSCA_TEZ_SAMPLE> SCA_TezSampleStore::GetSamples() const {
    std::vector<tagSCA_TEZ_SAMPLE> samples;
    samples.reserve(KeptSamples());
    VisitOldestFirst([&samples](uint32_t, const tagSCA_TEZ_SAMPLE& sample) {
        samples.push_back(sample);
        return true;
    });
    return samples;
}

void SCA_TezSampleStore::Add(Series* series, uint64_t absTime, double value, bool hasValue) {
    absTime = FreeTime(series, absTime);
    hasValue = hasValue && !std::isnan(value);
    const double kept = hasValue ? value : std::numeric_limits<double>::quiet_NaN();
    const auto size = static_cast<uint32_t>(series->Values.size());
    uint32_t newest = size;
    if (size < series->Capacity) {
        if (size == 0) {
            // Sized once: growing by doubling would leave most of a live ring unused. A stored
            // store's capacity is outside input and takes no more than a live ring up front.
            const uint32_t reserved = std::min(series->Capacity, SCA_TEZ_LIVE_SAMPLES);
            series->Values.reserve(reserved);
            series->Steps.reserve(reserved);
            series->OldestTime = absTime;
            series->NewestTime = absTime;
        }
        series->Values.push_back(kept);
        StoreTime(series, size, absTime);
    } else {
        ForgetOldest(series);
        // The sample after the oldest becomes the oldest; the new one takes the oldest's place.
        series->OldestTime = size == 1 ? absTime : TimeAfterIn(*series, 0, series->OldestTime);
        newest = series->Start;
        series->Start = NextPosition(*series, series->Start);
        DropUnusedAside(series);
        series->Values[newest] = kept;
        StoreTime(series, newest, absTime);
    }
    series->NewestTime = absTime;
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
    AddToWindows(series, newest, value);
}

// Only the kept + 1 times from absTime on can matter: one of them is free. The walk also
// finds the latest kept time, so that once the samples of a step back have left the ring the
// times are checked no more.
uint64_t SCA_TezSampleStore::FreeTime(Series* series, uint64_t absTime) {
    const auto kept = static_cast<uint32_t>(series->Values.size());
    if (kept == 0 || absTime > series->Latest) {
        series->Latest = absTime;
        return absTime;
    }
    std::vector<uint64_t> taken; // offsets from absTime of the kept times near it
    uint64_t latest = 0;
    uint64_t time = series->OldestTime;
    for (uint32_t i = 0; i < kept; ++i) {
        if (i > 0) {
            time = TimeAfterIn(*series, i - 1, time);
        }
        latest = std::max(latest, time);
        if (time - absTime <= kept) {
            taken.push_back(time - absTime);
        }
    }
    std::sort(taken.begin(), taken.end());
    uint64_t free = 0;
    for (const uint64_t offset : taken) {
        if (offset > free) {
            break;
        }
        free = offset + 1;
    }
    series->Latest = std::max(latest, absTime + free);
    return absTime + free;
}

// Stores the time of the sample at position, the newest now; NewestTime is still the time of
// the one before it. Wrapping arithmetic: a step back is a negative step, and a sum of steps
// is exact modulo 2^64 as every time is.
void SCA_TezSampleStore::StoreTime(Series* series, uint32_t position, uint64_t absTime) {
    const uint64_t number = series->Added++;
    const uint64_t step = absTime - series->NewestTime;
    if (number == 1) {
        series->UsualStep = step;
    }
    const auto offset = static_cast<int64_t>(step - series->UsualStep);
    int16_t stored = 0;
    if (number == 0) {
        stored = 0; // the first sample has no step
    } else if (offset > kStepAside && offset <= std::numeric_limits<int16_t>::max()) {
        stored = static_cast<int16_t>(offset);
    } else {
        stored = kStepAside;
        series->Aside.push_back({number, step});
    }
    if (position < series->Steps.size()) {
        series->Steps[position] = stored;
    } else {
        series->Steps.push_back(stored);
    }
}

// Called once the oldest sample has left a full ring and before the newest is stored: the
// new oldest's step leads from a sample no longer kept.
void SCA_TezSampleStore::DropUnusedAside(Series* series) {
    const uint64_t oldest = series->Added - series->Values.size() + 1;
    auto unused = series->Aside.begin();
    while (unused != series->Aside.end() && unused->Number <= oldest) {
        ++unused;
    }
    series->Aside.erase(series->Aside.begin(), unused);
}

uint64_t SCA_TezSampleStore::StepOf(const Series& series, uint32_t i) {
    const int16_t stored = series.Steps[PositionIn(series, i)];
    if (stored != kStepAside) {
        return series.UsualStep + static_cast<uint64_t>(static_cast<int64_t>(stored));
    }
    const uint64_t number = series.Added - series.Values.size() + i;
    const auto aside = std::lower_bound(
        series.Aside.begin(), series.Aside.end(), number,
        [](const AsideStep& kept, uint64_t wanted) { return kept.Number < wanted; });
    return aside->Step;
}

// The ring's oldest sample is about to be overwritten: a window that still counts it (it
// holds fewer values than its size) lets it go. The averages shown change with the next value.
void SCA_TezSampleStore::ForgetOldest(Series* series) {
    for (Window& window : series->Windows) {
        if (window.Count != 0 && window.Oldest == series->Start) {
            TakeOffOldest(*series, &window);
        }
    }
}

// The new value joins every window; a full window lets its oldest go.
void SCA_TezSampleStore::AddToWindows(Series* series, uint32_t newest, double value) {
    for (Window& window : series->Windows) {
        if (window.Count == 0) {
            window.Oldest = newest;
        }
        AddCompensated(&window.Sum, &window.Lost, value);
        ++window.Count;
        if (window.Count > window.Size) {
            TakeOffOldest(*series, &window);
        }
        // An infinity, or a sum beyond the range of a double, cannot be taken off again: while
        // one is counted the window adds up its values afresh each time.
        if (++window.Running >= window.Size || !std::isfinite(window.Sum)) {
            Resum(*series, newest, &window);
        }
        window.Average.SetAverageValue((window.Sum + window.Lost) / window.Count);
    }
}

void SCA_TezSampleStore::TakeOffOldest(const Series& series, Window* window) {
    AddCompensated(&window->Sum, &window->Lost, -series.Values[window->Oldest]);
    if (--window->Count == 0) {
        window->Sum = 0.0;
        window->Lost = 0.0;
        return;
    }
    // A newer value is counted still: the walk stops at it.
    do {
        window->Oldest = NextPosition(series, window->Oldest);
    } while (std::isnan(series.Values[window->Oldest]));
}

// The window's values added up again, newest first as a reader would add them. A sum that is
// not finite is that reader's sum as it stands: nothing was lost to rounding beside it.
void SCA_TezSampleStore::Resum(const Series& series, uint32_t newest, Window* window) {
    double sum = 0.0;
    double lost = 0.0;
    uint32_t position = newest;
    for (uint32_t found = 0; found < window->Count; position = PreviousPosition(series, position)) {
        const double value = series.Values[position];
        if (!std::isnan(value)) {
            AddCompensated(&sum, &lost, value);
            ++found;
        }
    }
    window->Sum = sum;
    window->Lost = std::isfinite(sum) ? lost : 0.0;
    window->Running = 0;
}

int SCA_TezSampleStore::WriteSamples(uint64_t since, uint32_t maxCount,
                                     SCA_ConfigObj* object) const {
    if (object == nullptr) {
        return 0;
    }
    const uint32_t kept = KeptSamples();
    const uint32_t first = std::max(FirstAfter(since), kept - std::min(kept, maxCount));
    if (first >= kept) {
        return 1;
    }
    // A poll asks for the newest few: the walk starts at the first of them, not the oldest.
    int written = 1;
    VisitFrom(first, GetSample(first).AbsTime,
              [&written, object](uint32_t, const tagSCA_TEZ_SAMPLE& sample) {
                  written = SCA_TezAddSampleField(object, sample) ? 1 : 0;
                  return written != 0;
              });
    return written;
}

uint32_t SCA_TezSampleStore::FirstAfter(uint64_t since) const {
    const uint32_t kept = KeptSamples();
    if (since == 0) {
        return 0;
    }
    // One walk from the newest finds the sample named since, and on the way the newest run of
    // samples later than since, for a client whose sample is gone.
    uint32_t named = kept + 1;
    uint32_t later = kept;
    bool inRun = true;
    VisitNewestFirst([&](uint32_t i, const tagSCA_TEZ_SAMPLE& sample) {
        if (sample.AbsTime == since) {
            named = i + 1;
            return false;
        }
        inRun = inRun && sample.AbsTime > since;
        later = inRun ? i : later;
        return true;
    });
    if (named <= kept) {
        return named;
    }
    // The wall clock stepped back and the client's sample is gone: rather than nothing until
    // the clock has caught up, the newest ones.
    return kept != 0 && since > m_Series.NewestTime ? 0 : later;
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
    if (samples == nullptr) {
        return 0;
    }
    int written = 1;
    VisitOldestFirst([&written, samples](uint32_t, const tagSCA_TEZ_SAMPLE& sample) {
        written = SCA_TezAddSampleField(samples, sample) ? 1 : 0;
        return written != 0;
    });
    return written;
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
