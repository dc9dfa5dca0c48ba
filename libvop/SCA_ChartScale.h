// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

// A value range of a chart or gauge and the step of its grid lines: Low and High are whole
// multiples of Step, and High > Low.
struct tagSCA_CHART_RANGE {
    double Low;
    double High;
    double Step;
};

// How the charts and gauges choose the values they show: a range that fits the data with round
// grid steps (1, 2, 2.5 or 5 times a power of ten). Pure arithmetic, no painting.
class SCA_ChartScale {
public:
    // The round range over low..high with about the given number of steps.
    static tagSCA_CHART_RANGE Round(double low, double high, int steps);

    // The range a series is drawn in. Values that are not finite are left out; a few far-out
    // values (at most one in a hundred, and only among eight or more) are left out too, so that a
    // lone spike is drawn cut at the edge instead of squeezing every other value into a line.
    // Data that never goes below (above) zero keeps zero in view. A positive fixedHigh is the
    // top of the range whenever the data stays below it (100 for percentages).
    static tagSCA_CHART_RANGE Fit(const std::vector<double>& values, double fixedHigh, int steps);

    // The lowest and highest values Fit keeps in view (before rounding); 0 when no value is
    // finite, with *low and *high untouched.
    static int DataBounds(std::vector<double> values, double* low, double* high);
};
