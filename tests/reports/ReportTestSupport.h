// SPDX-License-Identifier: MIT
#pragma once

// Reports of known content for the writer and action tests.

#include <cstdint>

#include "libmor/SCA_Time.h"
#include "model/SCA_TezCounter.h"
#include "model/SCA_TezError.h"
#include "model/SCA_TezProcessList.h"
#include "model/SCA_TezProcessLog.h"
#include "model/SCA_TezReport.h"
#include "model/SCA_TezSampleStore.h"
#include "model/SCA_TezVocabulary.h"

namespace korvanta_test {

// 2024-01-02 03:04:05 UTC in platform time.
inline constexpr uint64_t kReportStart = 17041646450000000ULL;

// A counter report whose texts try formulas and markup: counter 1 (CPU usage) with samples
// 1.5, a gap, 2.25 and 100.125; counter 2 (memory usage) without values; two errors.
inline void FillReport(SCA_TezReport* report) {
    report->SetReportTitle("Korvanta <Web & DB> Report");
    report->SetDescription("=HYPERLINK(\"http://x\")");
    report->SetHostName("host-1");
    report->SetTimes(kReportStart, kReportStart + 60 * SCA_ABS_TIME_SECOND,
                     60 * SCA_ABS_TIME_SECOND);

    auto* cpu = new SCA_TezCounter();
    cpu->SetCounterId(1);
    cpu->SetCounterType(SCA_COUNTER_PROCESS_CPU_USAGE);
    cpu->SetInstance("=SUM(A1:A9)");
    cpu->SetRepStatus(5);
    auto* store = new SCA_TezSampleStore();
    store->AddSample(kReportStart + 1 * SCA_ABS_TIME_SECOND, 1.5, true);
    store->AddSample(kReportStart + 2 * SCA_ABS_TIME_SECOND, 0.0, false);
    store->AddSample(kReportStart + 3 * SCA_ABS_TIME_SECOND, 2.25, true);
    store->AddSample(kReportStart + 4 * SCA_ABS_TIME_SECOND, 100.125, true);
    cpu->SetCounterData(store);
    report->AddCounter(cpu);

    auto* memory = new SCA_TezCounter();
    memory->SetCounterId(2);
    memory->SetCounterType(SCA_COUNTER_PROCESS_MEM_USED);
    memory->SetInstance("@total, \"all\"");
    memory->SetCounterData(new SCA_TezSampleStore());
    report->AddCounter(memory);

    auto* error = new SCA_TezError();
    error->SetErrorId(1);
    error->SetAbsTime(kReportStart + 4 * SCA_ABS_TIME_SECOND);
    error->SetRepStatus(5);
    error->SetCounterId(1);
    error->SetCounterType(SCA_COUNTER_PROCESS_CPU_USAGE);
    error->SetDescription("<script>alert('x')</script> & \"more\"");
    error->SetCounterValue(100.125);
    report->GetErrorList()->AddError(error);
    auto* warning = new SCA_TezError();
    warning->SetErrorId(2);
    warning->SetAbsTime(kReportStart + 3 * SCA_ABS_TIME_SECOND);
    warning->SetRepStatus(4);
    warning->SetCounterType(SCA_COUNTER_PROCESS_CPU_USAGE);
    warning->SetDescription("-2+3 line\nbreak");
    warning->SetCounterValue(-2.5);
    report->GetErrorList()->AddError(warning);
    report->UpdateSummary();
    report->UpdateStatistics();
}

// Two processes, the first with CPU and memory statistics, and a log of one start.
inline void FillProcesses(SCA_TezProcessList* list, SCA_TezProcessLog* log) {
    list->SetReportTitle("Processes <all>");
    list->SetAbsStartTime(kReportStart);
    auto* first = new SCA_TezProcess();
    first->SetProcessId(7);
    first->SetProcessName("=calc");
    first->SetRepStatus(4);
    for (uint32_t type : {SCA_COUNTER_PROCESS_CPU_USAGE, SCA_COUNTER_PROCESS_MEM_USED}) {
        auto* counter = new SCA_TezCounter();
        counter->SetCounterId(type);
        counter->SetCounterType(type);
        auto* store = new SCA_TezSampleStore();
        store->AddSample(kReportStart, 10.0, true);
        store->AddSample(kReportStart + SCA_ABS_TIME_SECOND, 30.0, true);
        counter->SetCounterData(store);
        first->AddDataCounter(counter);
    }
    list->AddProcess(first);
    auto* second = new SCA_TezProcess();
    second->SetProcessId(9);
    second->SetProcessName("sshd");
    list->AddProcess(second);

    auto* item = new SCA_TezProcessLogItem();
    item->SetItemId(SCA_ALL_ONES);
    item->SetOpCode(SCA_PROCESS_LOG_START);
    item->SetProcessId(4242);
    item->SetProcessName("=calc");
    item->SetAbsTime(kReportStart / SCA_ABS_TIME_SECOND);
    log->AddItem(item);
}

} // namespace korvanta_test
