// SPDX-License-Identifier: MIT
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "libmor/SCA_Heap.h"
#include "model/SCA_TezAverage.h"
#include "model/SCA_TezCounterData.h"

class SCA_ConfigObj;

// The samples a live chart can ask for: ten minutes of one-second samples.
inline constexpr uint32_t SCA_TEZ_LIVE_SAMPLES = 600;

// One sample: when it was taken (absolute time) and its value; a sample without a value is a
// gap in the series.
struct tagSCA_TEZ_SAMPLE {
    uint64_t AbsTime;
    double Value;
    bool HasValue;
};

// The sample store of one counter: the newest samples, up to its capacity, and the statistics of
// every value of the run, however long (count, total, minimum, maximum, first and last time),
// with the averages over the last 10, 30 and 60 values. Statistics over no values are 0 here;
// callers ask GetValueCount first and show "no value" instead.
class SCA_TezSampleStore : public SCA_TezCounterData {
public:
    SCA_HEAP_OPERATORS

    explicit SCA_TezSampleStore(uint32_t capacity = SCA_TEZ_LIVE_SAMPLES);
    ~SCA_TezSampleStore() override = default;

    // Appends a sample taken at absTime; a sample without a value keeps its place in the series
    // but changes no statistic. Samples are kept in the order they come. A sample's time names
    // it to the clients that ask for the samples after the one they hold (WriteSamples), so no
    // two kept samples share one: a sample taken at a time that a kept one has already (the
    // wall clock stepped back by whole intervals, or stood still) is kept at the next time, in
    // 100-ns units, that none has.
    void AddSample(uint64_t absTime, double value, bool hasValue);
    // Forgets every sample and statistic.
    void Clear();

    uint32_t GetValueCount() override { return m_Series.Count; }
    double GetMaxValue() override { return m_Series.Count != 0 ? m_Series.Max : 0.0; }
    double GetMinValue() override { return m_Series.Count != 0 ? m_Series.Min : 0.0; }
    double GetTotalValue() override { return m_Series.Total; }
    double GetAverageValue() override {
        return m_Series.Count != 0 ? m_Series.Total / m_Series.Count : 0.0;
    }
    double GetLastValue() override { return m_Series.LastValue; }
    SCA_TezAverage* GetAverage10() override { return &m_Series.Windows[0].Average; }
    SCA_TezAverage* GetAverage30() override { return &m_Series.Windows[1].Average; }
    SCA_TezAverage* GetAverage60() override { return &m_Series.Windows[2].Average; }
    uint64_t GetLastTime() override { return m_Series.LastTime; }
    uint64_t GetFirstTime() override { return m_Series.FirstTime; }
    uint32_t GetHistoryLength() override { return KeptSamples(); }

    uint32_t KeptSamples() const { return static_cast<uint32_t>(m_Series.Values.size()); }
    // Whether the newest sample had a value.
    bool HasLastValue() const { return m_Series.HasLastValue; }
    uint32_t GetCapacity() const { return m_Series.Capacity; }
    // The i-th kept sample, oldest first (i below KeptSamples). Times are kept as steps from
    // one sample to the next, so this walks from the nearer end: a caller that reads many
    // samples uses GetSamples or VisitNewestFirst.
    tagSCA_TEZ_SAMPLE GetSample(uint32_t i) const;
    // Every kept sample, oldest first.
    std::vector<tagSCA_TEZ_SAMPLE> GetSamples() const;
    // Calls visit(index, sample) for the kept samples, newest first, while it returns true.
    template <typename Visit>
    void VisitNewestFirst(Visit visit) const {
        const uint32_t kept = KeptSamples();
        uint64_t time = m_Series.NewestTime;
        for (uint32_t i = kept; i > 0; --i) {
            if (i < kept) {
                time = TimeBefore(i, time);
            }
            if (!visit(i - 1, SampleOf(Position(i - 1), time))) {
                return;
            }
        }
    }
    // Calls visit(index, sample) for the kept samples, oldest first, while it returns true.
    template <typename Visit>
    void VisitOldestFirst(Visit visit) const {
        VisitFrom(0, m_Series.OldestTime, visit);
    }

    // The kept samples that came after the one named by since, the newest maxCount of them (0:
    // none), as value fields named by their time. Samples are told apart by arrival, not by
    // the wall clock: after a step of the clock either way a client that holds the sample
    // taken at since gets each later one once. Since 0, or a time no kept sample has (the
    // client's last one is gone): the newest samples taken after since, or the newest samples
    // when since is later than the newest. 0 when a field cannot be added.
    int WriteSamples(uint64_t since, uint32_t maxCount, SCA_ConfigObj* object) const;
    // The statistics and a child "Samples" with every kept sample.
    int Serialize(SCA_ConfigObj* object) const override;
    // Reads what Serialize wrote; the store is left as it was when object is not such a form.
    int Deserialize(SCA_ConfigObj* object);

private:
    // Every live counter keeps a full ring, so a kept sample takes 10 bytes rather than 24: its
    // value, a NaN for a gap (a NaN is never a value the statistics could take), and its time
    // as the step from the sample before it less the run's usual step (its first), in 16 bits:
    // sampling keeps its interval but for the scheduler's lateness. A step that does not fit (a
    // missed tick, a clock step, lateness over 3 ms) is kept whole aside, by its sample's
    // number. Times come back bit for bit either way.
    // The running figures of one average: the newest Size values still kept, gaps left out.
    // A value is added once when it comes and taken off once when it leaves (a newer value
    // pushes it out, or the ring drops it), so a sample costs the same however long the window.
    // The sum is compensated (what each addition rounds away is kept in Lost), so that a large
    // value that comes and goes leaves the small ones after it as they are, and it is added up
    // afresh once every Size values, so that no rounding outlives the values it came from.
    struct Window {
        explicit Window(uint32_t size) : Size(size) {}
        uint32_t Size;
        uint32_t Count = 0;
        uint32_t Running = 0; // values added since the sum was last added up afresh
        uint32_t Oldest = 0;  // the ring position of the oldest value counted
        double Sum = 0.0;
        double Lost = 0.0;
        SCA_TezAverage Average;
    };

    static constexpr int16_t kStepAside = INT16_MIN;
    struct AsideStep {
        uint64_t Number; // of the sample, counted from the first added
        uint64_t Step;
    };

    // Everything the store holds is here, so that a clear or a read replaces it in one
    // assignment.
    struct Series {
        uint32_t Capacity;
        // Rings of the same positions once full, their storage taken once at the capacity.
        std::vector<double> Values;
        std::vector<int16_t> Steps; // each step less UsualStep, or kStepAside; the oldest's unused
        std::vector<AsideStep> Aside; // the kept samples' steps that did not fit, oldest first
        uint64_t UsualStep = 0;
        uint64_t Added = 0;      // samples added since the store was cleared: the next one's number
        uint32_t Start = 0;      // the position of the oldest sample
        uint64_t OldestTime = 0; // the kept samples' ends, which the steps lead from
        uint64_t NewestTime = 0;
        uint32_t Count = 0; // values (not gaps) of the whole run
        double Total = 0.0;
        double Min = 0.0;
        double Max = 0.0;
        double LastValue = 0.0;
        bool HasLastValue = false;
        uint64_t FirstTime = 0;
        uint64_t LastTime = 0;
        uint64_t Latest = 0; // no kept sample is later (it may be later than all)
        Window Windows[3] = {Window(10), Window(30), Window(60)};
    };

    // The index of the first sample a client that holds since has not seen (WriteSamples).
    uint32_t FirstAfter(uint64_t since) const;
    // The time a sample taken at absTime is kept at: absTime, or the next that no kept sample
    // has.
    static uint64_t FreeTime(Series* series, uint64_t absTime);
    static void Add(Series* series, uint64_t absTime, double value, bool hasValue);
    static void StoreTime(Series* series, uint32_t position, uint64_t absTime);
    static void DropUnusedAside(Series* series);
    // The step of kept sample i (above 0) from the one before it, wrapping.
    static uint64_t StepOf(const Series& series, uint32_t i);
    // The windows' share of adding a sample: the ring's oldest leaves (before its place is
    // taken), the new value, at position newest, comes in.
    static void ForgetOldest(Series* series);
    static void AddToWindows(Series* series, uint32_t newest, double value);
    static void TakeOffOldest(const Series& series, Window* window);
    static void Resum(const Series& series, uint32_t newest, Window* window);
    // The ring positions after and before position (no division: this runs per sample).
    static uint32_t NextPosition(const Series& series, uint32_t position) {
        return position + 1 == series.Values.size() ? 0 : position + 1;
    }
    static uint32_t PreviousPosition(const Series& series, uint32_t position) {
        return (position == 0 ? static_cast<uint32_t>(series.Values.size()) : position) - 1;
    }
    // Calls visit(index, sample) from sample first, taken at time, to the newest, while it
    // returns true.
    template <typename Visit>
    void VisitFrom(uint32_t first, uint64_t time, Visit visit) const {
        const uint32_t kept = KeptSamples();
        for (uint32_t i = first; i < kept; ++i) {
            if (i > first) {
                time = TimeAfter(i - 1, time);
            }
            if (!visit(i, SampleOf(Position(i), time))) {
                return;
            }
        }
    }
    static uint32_t PositionIn(const Series& series, uint32_t i) {
        return static_cast<uint32_t>((series.Start + i) % series.Values.size());
    }
    uint32_t Position(uint32_t i) const { return PositionIn(m_Series, i); }
    // The time of sample i + 1 or i - 1 from the time of sample i.
    static uint64_t TimeAfterIn(const Series& series, uint32_t i, uint64_t time) {
        return time + StepOf(series, i + 1);
    }
    uint64_t TimeAfter(uint32_t i, uint64_t time) const { return TimeAfterIn(m_Series, i, time); }
    uint64_t TimeBefore(uint32_t i, uint64_t time) const { return time - StepOf(m_Series, i); }
    tagSCA_TEZ_SAMPLE SampleOf(uint32_t position, uint64_t time) const {
        const double value = m_Series.Values[position];
        const bool hasValue = !std::isnan(value);
        return {time, hasValue ? value : 0.0, hasValue};
    }

    Series m_Series;
};
