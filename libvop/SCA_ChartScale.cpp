// SPDX-License-Identifier: MIT
#include "libvop/SCA_ChartScale.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <iterator>
#include <limits>
#include <span>

#include "model/SCA_TezCounterMeta.h"

namespace {

// Tukey's far-out fence: this many spreads beyond the quartiles.
constexpr double kFenceSpreads = 3.0;
// Values that may be dropped as spikes: one per this many, at least one.
constexpr size_t kSpikeShare = 100;
// Fewer values than this are all shown: two values are not a spike and its series.
constexpr size_t kMinValuesForSpikes = 8;
// Room above the highest value, as a share of the range, so the line does not run on the edge.
constexpr double kHeadroom = 0.05;
// A spread of zero (a constant series) is measured against the size of its values instead.
constexpr double kFlatSpreadShare = 0.5;
// Rounding errors of sums of steps, as a share of a step.
constexpr double kSlack = 1e-9;
// No axis has more grid lines than this, whatever range it is given.
constexpr long kMaxTicks = 1000;

// The finite values, sorted.
std::vector<double> FiniteSorted(std::vector<double> values) {
    values.erase(std::remove_if(values.begin(), values.end(),
                                [](double value) { return !std::isfinite(value); }),
                 values.end());
    std::sort(values.begin(), values.end());
    return values;
}

// The multiples an axis of a unit is labelled in, smallest first.
struct AxisUnitName {
    double Size;
    const char* Suffix;
};
constexpr double kKibi = 1024.0;
constexpr double kKilo = 1000.0;
constexpr AxisUnitName kCountUnits[] = {
    {1, ""}, {kKilo, " K"}, {kKilo * kKilo, " M"}, {kKilo * kKilo * kKilo, " G"}};
constexpr AxisUnitName kPercentUnits[] = {{1, "%"}};
constexpr AxisUnitName kByteUnits[] = {{1, " B"},
                                       {kKibi, " KB"},
                                       {kKibi * kKibi, " MB"},
                                       {kKibi * kKibi * kKibi, " GB"},
                                       {kKibi * kKibi * kKibi * kKibi, " TB"}};
constexpr AxisUnitName kByteRateUnits[] = {{1, " B/s"},
                                           {kKibi, " KB/s"},
                                           {kKibi * kKibi, " MB/s"},
                                           {kKibi * kKibi * kKibi, " GB/s"},
                                           {kKibi * kKibi * kKibi * kKibi, " TB/s"}};
constexpr AxisUnitName kRateUnits[] = {{1, "/s"}, {kKilo, " K/s"}, {kKilo * kKilo, " M/s"}};
constexpr AxisUnitName kMsecUnits[] = {{1, " ms"}, {kKilo, " s"}};
constexpr AxisUnitName kMhzUnits[] = {{1, " MHz"}, {kKilo, " GHz"}};
constexpr AxisUnitName kSecondUnits[] = {{1, " s"}, {60, " min"}, {3600, " h"}, {86400, " d"}};
constexpr AxisUnitName kBitUnits[] = {{1, " bit/s"},
                                      {kKilo, " Kbit/s"},
                                      {kKilo * kKilo, " Mbit/s"},
                                      {kKilo * kKilo * kKilo, " Gbit/s"}};

std::span<const AxisUnitName> UnitNames(uint32_t units) {
    switch (units) {
    case SCA_TEZ_UNITS_PERCENT:
        return kPercentUnits;
    case SCA_TEZ_UNITS_BYTES:
        return kByteUnits;
    case SCA_TEZ_UNITS_BYTES_PER_SEC:
        return kByteRateUnits;
    case SCA_TEZ_UNITS_PER_SEC:
        return kRateUnits;
    case SCA_TEZ_UNITS_MSEC:
        return kMsecUnits;
    case SCA_TEZ_UNITS_MHZ:
        return kMhzUnits;
    case SCA_TEZ_UNITS_SECONDS:
        return kSecondUnits;
    case SCA_TEZ_UNITS_BITS_PER_SEC:
        return kBitUnits;
    default:
        return kCountUnits;
    }
}

// Steps of a time axis in seconds: whole seconds, minutes, hours, then days.
constexpr double kTimeStepsSeconds[] = {1,    2,    5,     10,    15,    20,   30,
                                        60,   120,  300,   600,   900,   1200, 1800,
                                        3600, 7200, 10800, 21600, 43200, 86400};
// The units a time step can be whole in, largest first.
constexpr AxisUnitName kTimeUnits[] = {{86400, " d"}, {3600, " h"}, {60, " min"}, {1, " s"}};

// Decimals a label needs to tell two ticks step apart.
int Decimals(double step) {
    const double digits = -std::floor(std::log10(step) + 1e-9);
    return digits > 0 ? static_cast<int>(digits) : 0;
}

std::string Number(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof(text), "%.*f", decimals, value);
    return text;
}

} // namespace

double SCA_ChartScale::NiceStep(double low, double high, int steps) {
    steps = std::max(steps, 1);
    const double raw = (high - low) / steps;
    if (!(raw > 0.0) || !std::isfinite(raw)) {
        return 1.0;
    }
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    double best = magnitude;
    double bestMiss = std::numeric_limits<double>::max();
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        const double step = factor * magnitude;
        const double count = std::ceil(high / step - kSlack) - std::floor(low / step + kSlack);
        const double miss = std::fabs(count - steps);
        if (miss <= bestMiss) {
            best = step;
            bestMiss = miss;
        }
    }
    return best;
}

tagSCA_CHART_RANGE SCA_ChartScale::Round(double low, double high, int steps, double unit) {
    steps = std::max(steps, 1);
    if (!(unit > 0.0) || !std::isfinite(unit)) {
        unit = 1.0;
    }
    if (!std::isfinite(low) || !std::isfinite(high)) {
        return {0.0, unit, unit / steps, unit};
    }
    if (high < low) {
        std::swap(low, high);
    }
    low /= unit;
    high /= unit;
    double span = high - low;
    if (!(span > 0.0) || !std::isfinite(span)) {
        // A single value: a range around it of its own size (or one unit around zero).
        const double size = std::fabs(low) > 0.0 ? std::fabs(low) : 1.0;
        span = std::isfinite(span) ? size : std::numeric_limits<double>::max() / 4;
        if (low >= 0.0) {
            high = low + span;
        } else {
            low = high - span;
        }
    }
    const double step = NiceStep(low, high, steps);
    tagSCA_CHART_RANGE range{std::floor(low / step + kSlack) * step,
                             std::ceil(high / step - kSlack) * step, step, unit};
    if (!(range.High > range.Low) || !std::isfinite(range.High - range.Low)) {
        range = {low, high, span / steps, unit};
    }
    range.Low *= unit;
    range.High *= unit;
    range.Step *= unit;
    return range;
}

int SCA_ChartScale::DataBounds(std::vector<double> values, double* low, double* high) {
    const std::vector<double> sorted = FiniteSorted(std::move(values));
    if (sorted.empty()) {
        return 0;
    }
    const size_t count = sorted.size();
    size_t first = 0;
    size_t last = count - 1;
    if (count >= kMinValuesForSpikes) {
        const double q1 = sorted[count / 4];
        const double q3 = sorted[(3 * count) / 4];
        double spread = q3 - q1;
        if (spread <= 0.0) {
            spread = std::max(std::fabs(q1), std::fabs(q3)) * kFlatSpreadShare;
        }
        const double lowFence = q1 - kFenceSpreads * spread;
        const double highFence = q3 + kFenceSpreads * spread;
        const size_t allowed = std::max<size_t>(1, count / kSpikeShare);
        const size_t below =
            std::lower_bound(sorted.begin(), sorted.end(), lowFence) - sorted.begin();
        const size_t above =
            sorted.end() - std::upper_bound(sorted.begin(), sorted.end(), highFence);
        if (spread > 0.0 && below <= allowed && below < count) {
            first = below;
        }
        if (spread > 0.0 && above <= allowed && above < count - first) {
            last = count - 1 - above;
        }
    }
    *low = sorted[first];
    *high = sorted[last];
    return 1;
}

tagSCA_CHART_RANGE SCA_ChartScale::Fit(const std::vector<double>& values, double fixedHigh,
                                       int steps, uint32_t units) {
    double low = 0.0;
    double high = fixedHigh > 0.0 ? fixedHigh : 1.0;
    if (!DataBounds(values, &low, &high)) {
        return Round(0.0, high, steps, AxisUnit(units, high));
    }
    low = std::min(low, 0.0);
    high = std::max(high, 0.0);
    if (fixedHigh > 0.0 && high <= fixedHigh && low >= 0.0) {
        return Round(0.0, fixedHigh, steps, AxisUnit(units, fixedHigh));
    }
    const double unit = AxisUnit(units, std::max(std::fabs(low), std::fabs(high)));
    const double room = (high - low) * kHeadroom;
    if (high > 0.0 && std::isfinite(room)) {
        high += room;
    }
    return Round(low, high, steps, unit);
}

double SCA_ChartScale::AxisUnit(uint32_t units, double magnitude) {
    double size = 1.0;
    for (const AxisUnitName& name : UnitNames(units)) {
        if (std::fabs(magnitude) >= name.Size) {
            size = name.Size;
        }
    }
    return size;
}

std::vector<tagSCA_CHART_TICK> SCA_ChartScale::ValueTicks(const tagSCA_CHART_RANGE& range,
                                                          uint32_t units) {
    const char* suffix = "";
    for (const AxisUnitName& name : UnitNames(units)) {
        if (name.Size == range.Unit) {
            suffix = name.Suffix;
        }
    }
    std::vector<tagSCA_CHART_TICK> ticks;
    if (!(range.Step > 0.0) || !(range.High > range.Low) || !(range.Unit > 0.0)) {
        return ticks;
    }
    const double step = range.Step / range.Unit;
    const int decimals = Decimals(step);
    const auto count = static_cast<long>(std::lround((range.High - range.Low) / range.Step));
    for (long i = 0; i <= count && i <= kMaxTicks; ++i) {
        const double value = range.Low + static_cast<double>(i) * range.Step;
        double shown = value / range.Unit;
        // Sums of steps miss zero by a rounding error, which would print as "-0".
        if (std::fabs(shown) < step * kSlack) {
            shown = 0.0;
        }
        ticks.push_back({value, Number(shown, decimals) + suffix});
    }
    return ticks;
}

std::vector<tagSCA_CHART_TICK> SCA_ChartScale::TimeTicks(double span, int steps, bool runEnded) {
    std::vector<tagSCA_CHART_TICK> ticks;
    if (!std::isfinite(span) || span < 0.0) {
        return ticks;
    }
    steps = std::max(steps, 1);
    const double wanted = span / steps;
    double step = 0.0;
    for (double candidate : kTimeStepsSeconds) {
        if (candidate >= wanted - kSlack) {
            step = candidate;
            break;
        }
    }
    if (step == 0.0) {
        // Longer than the table: whole days, as few as keep within the steps.
        step = std::ceil(wanted / kTimeUnits[0].Size - kSlack) * kTimeUnits[0].Size;
    }
    const AxisUnitName* unit = &kTimeUnits[std::size(kTimeUnits) - 1];
    for (const AxisUnitName& candidate : kTimeUnits) {
        if (std::fmod(step, candidate.Size) == 0.0) {
            unit = &candidate;
            break;
        }
    }
    for (double back = 0.0; back <= span + kSlack; back += step) {
        const std::string label = back == 0.0 ? (runEnded ? "end" : "now")
                                              : "-" + Number(back / unit->Size, 0) + unit->Suffix;
        ticks.push_back({back, label});
    }
    return ticks;
}
