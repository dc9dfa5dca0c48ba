#include "libtez/SCA_TezProcCalc.h"

#include "libtez/SCA_TezProcCounters.h"
#include "libtez/SCA_TezProcSample.h"

namespace {

constexpr double kPercent = 100.0;

} // namespace

int SCA_TezCalcCpuShare(uint64_t prevTicks, uint64_t curTicks, double elapsedSeconds,
                        uint32_t ticksPerSecond, uint32_t cpuCount, double* out) {
    if (!(elapsedSeconds > 0.0) || ticksPerSecond == 0 || cpuCount == 0 || curTicks < prevTicks) {
        return 0;
    }
    const double offered = elapsedSeconds * ticksPerSecond * cpuCount;
    *out = kPercent * static_cast<double>(curTicks - prevTicks) / offered;
    return 1;
}

int SCA_TezCalcRate(uint64_t prev, uint64_t cur, double elapsedSeconds, double* out) {
    if (!(elapsedSeconds > 0.0) || cur < prev) {
        return 0;
    }
    *out = static_cast<double>(cur - prev) / elapsedSeconds;
    return 1;
}

namespace {

void CalcRates(const tagSCA_TEZ_PROC_SAMPLE& prev, const tagSCA_TEZ_PROC_SAMPLE& cur,
               double elapsedSeconds, tagSCA_TEZ_PROC_VALUES* values) {
    double rate = 0.0;
    if (SCA_TezCalcRate(prev.MinorFaults + prev.MajorFaults, cur.MinorFaults + cur.MajorFaults,
                        elapsedSeconds, &rate)) {
        values->Set(SCA_PROC_PAGE_FAULT_RATE, rate);
    }
    if (!prev.HasIo || !cur.HasIo) {
        return;
    }
    double read = 0.0;
    double write = 0.0;
    if (SCA_TezCalcRate(prev.ReadBytes, cur.ReadBytes, elapsedSeconds, &read) &&
        SCA_TezCalcRate(prev.WriteBytes, cur.WriteBytes, elapsedSeconds, &write)) {
        values->Set(SCA_PROC_READ_RATE, read);
        values->Set(SCA_PROC_WRITE_RATE, write);
        values->Set(SCA_PROC_DATA_RATE, read + write);
    }
}

} // namespace

void SCA_TezCalcProcValues(const tagSCA_TEZ_PROC_SAMPLE* prev, const tagSCA_TEZ_PROC_SAMPLE& cur,
                           double elapsedSeconds, uint32_t ticksPerSecond, uint32_t cpuCount,
                           tagSCA_TEZ_PROC_VALUES* values) {
    *values = tagSCA_TEZ_PROC_VALUES{};
    values->Set(SCA_PROC_THREADS, cur.Threads);
    if (cur.HasRss) {
        values->Set(SCA_PROC_MEMORY, static_cast<double>(cur.RssBytes));
    }
    if (cur.HasHandles) {
        values->Set(SCA_PROC_HANDLES, cur.Handles);
    }
    if (prev == nullptr) {
        return;
    }
    double share = 0.0;
    if (SCA_TezCalcCpuShare(prev->UserTicks + prev->SystemTicks, cur.UserTicks + cur.SystemTicks,
                            elapsedSeconds, ticksPerSecond, cpuCount, &share)) {
        values->Set(SCA_PROC_CPU, share);
    }
    CalcRates(*prev, cur, elapsedSeconds, values);
}
