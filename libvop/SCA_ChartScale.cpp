// SPDX-License-Identifier: MIT
#include "libvop/SCA_ChartScale.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

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

// The finite values, sorted.
std::vector<double> FiniteSorted(std::vector<double> values) {
    values.erase(std::remove_if(values.begin(), values.end(),
                                [](double value) { return !std::isfinite(value); }),
                 values.end());
    std::sort(values.begin(), values.end());
    return values;
}

double RoundStep(double raw) {
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 2.5, 5.0}) {
        if (factor * magnitude >= raw) {
            return factor * magnitude;
        }
    }
    return 10.0 * magnitude;
}

} // namespace

tagSCA_CHART_RANGE SCA_ChartScale::Round(double low, double high, int steps) {
    steps = std::max(steps, 1);
    if (!std::isfinite(low) || !std::isfinite(high)) {
        return {0.0, 1.0, 1.0 / steps};
    }
    if (high < low) {
        std::swap(low, high);
    }
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
    const double step = RoundStep(span / steps);
    if (!std::isfinite(step) || step <= 0.0) {
        return {low, high, span / steps};
    }
    tagSCA_CHART_RANGE range{std::floor(low / step) * step, std::ceil(high / step) * step, step};
    if (!(range.High > range.Low) || !std::isfinite(range.High - range.Low)) {
        return {low, high, span / steps};
    }
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
                                       int steps) {
    double low = 0.0;
    double high = fixedHigh > 0.0 ? fixedHigh : 1.0;
    if (!DataBounds(values, &low, &high)) {
        return Round(0.0, high, steps);
    }
    low = std::min(low, 0.0);
    high = std::max(high, 0.0);
    if (fixedHigh > 0.0 && high <= fixedHigh && low >= 0.0) {
        return Round(0.0, fixedHigh, steps);
    }
    const double room = (high - low) * kHeadroom;
    if (high > 0.0 && std::isfinite(room)) {
        high += room;
    }
    return Round(low, high, steps);
}
