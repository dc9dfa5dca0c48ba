// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A value range of a chart or gauge and the step of its grid lines: Low and High are whole
// multiples of Step, and High > Low. Unit is the size of the unit the axis is labelled in (1024
// for an axis of kilobytes); Step is 1, 2 or 5 times a power of ten of that unit.
struct tagSCA_CHART_RANGE {
    double Low;
    double High;
    double Step;
    double Unit = 1.0;
};

// A grid line of an axis and what is written at it.
struct tagSCA_CHART_TICK {
    double Value;
    std::string Label;
};

// How the charts and gauges choose the values and times they show: ranges that fit the data with
// steps of 1, 2 or 5 times a power of ten, labelled in one unit per axis. Pure arithmetic, no
// painting.
class SCA_ChartScale {
public:
    // 1, 2 or 5 times a power of ten: the one of these that cuts low..high into a number of
    // steps nearest to steps (the larger step when two are as near).
    static double NiceStep(double low, double high, int steps);

    // The round range over low..high with about the given number of steps, in multiples of
    // unit.
    static tagSCA_CHART_RANGE Round(double low, double high, int steps, double unit = 1.0);

    // The range a series of values of units (SCA_TEZ_UNITS_*) is drawn in. Values that are not
    // finite are left out; a few far-out values (at most one in a hundred, and only among eight
    // or more) are left out too, so that a lone spike is drawn cut at the edge instead of
    // squeezing every other value into a line. Data that never goes below (above) zero keeps
    // zero in view. A positive fixedHigh is the top of the range whenever the data stays below it
    // (100 for percentages). The steps are round in the unit the axis is labelled in.
    static tagSCA_CHART_RANGE Fit(const std::vector<double>& values, double fixedHigh, int steps,
                                  uint32_t units = 0);

    // The lowest and highest values Fit keeps in view (before rounding); 0 when no value is
    // finite, with *low and *high untouched.
    static int DataBounds(std::vector<double> values, double* low, double* high);

    // The size of the unit an axis of values of units reaching magnitude is labelled in: the
    // largest multiple (kilo, mega, ...) that magnitude reaches; 1 for a unit without multiples.
    static double AxisUnit(uint32_t units, double magnitude);

    // A tick at every step of range, from Low to High, labelled in the range's unit with as
    // many decimals as the step needs ("0 MB/s", "0.5 MB/s", "1 MB/s").
    static std::vector<tagSCA_CHART_TICK> ValueTicks(const tagSCA_CHART_RANGE& range,
                                                     uint32_t units);

    // Ticks back in time from the newest sample over span seconds, Value in seconds back: at most
    // steps + 1 of them, a whole number of seconds, minutes or hours apart (1, 2, 5, 10, 15, 20 or
    // 30 seconds or minutes; 1, 2, 3, 6 or 12 hours; whole days), labelled in the one unit that
    // step is whole in ("-4 min"). The newest is "now" while a run goes on, "end" once it ended.
    static std::vector<tagSCA_CHART_TICK> TimeTicks(double span, int steps, bool runEnded);
};
