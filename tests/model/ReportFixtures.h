// SPDX-License-Identifier: MIT
#pragma once

// Monitoring reports of known content, built in memory, for the tests of comparisons, report
// dialogs and the reports window.

#include <cstdint>
#include <initializer_list>

#include "libmor/SCA_Time.h"
#include "model/SCA_TezCounter.h"
#include "model/SCA_TezError.h"
#include "model/SCA_TezReport.h"
#include "model/SCA_TezSampleStore.h"

namespace korvanta_test {

// 2024-01-02 03:04:05 UTC in platform time.
inline constexpr uint64_t kFixtureStart = 17041646450000000ULL;
// Counter types, all percentages: "CPU Usage", "Memory Usage", "Disk Activity".
inline constexpr uint32_t kFixtureCpu = 1;
inline constexpr uint32_t kFixtureMemory = 4;
inline constexpr uint32_t kFixtureDisk = 7;
inline constexpr uint32_t kStatusNormal = 3;

// The header of a report: what a run of a monitor stamps on it.
inline void SetReportHeader(SCA_TezReport* report, const char* title, const char* profile,
                            const char* host, uint32_t monitorMode, uint64_t start,
                            uint32_t seconds) {
    report->SetReportTitle(title);
    report->SetProfileName(profile);
    report->SetDescription(profile);
    report->SetHostName(host);
    report->SetUserName("korvas");
    report->SetMonitorMode(monitorMode);
    report->SetMonitorId(monitorMode + 1);
    report->SetTimes(start, start + seconds * SCA_ABS_TIME_SECOND, seconds * SCA_ABS_TIME_SECOND);
}

// A counter with one sample a second from the report's start (none: a counter without values).
inline void AddFixtureCounter(SCA_TezReport* report, uint32_t type, const char* instance,
                              std::initializer_list<double> values,
                              uint32_t status = kStatusNormal) {
    auto* counter = new SCA_TezCounter();
    counter->SetCounterId(report->GetCounterList()->Count() + 1);
    counter->SetCounterType(type);
    counter->SetInstance(instance);
    counter->SetRepStatus(status);
    auto* store = new SCA_TezSampleStore();
    uint64_t time = report->GetStartTime();
    for (double value : values) {
        time += SCA_ABS_TIME_SECOND;
        store->AddSample(time, value, true);
    }
    counter->SetCounterData(store);
    report->AddCounter(counter);
}

inline void AddFixtureError(SCA_TezReport* report, uint32_t status, uint32_t type, double value,
                            const char* text) {
    auto* error = new SCA_TezError();
    error->SetErrorId(report->GetErrorList()->Count() + 1);
    error->SetAbsTime(report->GetStartTime() + SCA_ABS_TIME_SECOND);
    error->SetRepStatus(status);
    error->SetCounterType(type);
    error->SetCounterValue(value);
    error->SetDescription(text);
    report->GetErrorList()->AddError(error);
}

} // namespace korvanta_test
