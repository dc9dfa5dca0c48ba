// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/SCA_TezReportFormat.h"
#include "model/SCA_TezSampleStore.h"

class SCA_TezProcessList;
class SCA_TezProcessLog;
class SCA_TezReport;

// What every report writer shows, taken once from a counter monitor's report or a process
// monitor's list and log: the title, the header and summary as name/value pairs, the counters
// with their statistics and samples, the errors, the processes and their event log. Numbers stay
// numbers here; each writer formats them its own way.
class SCA_TezReportModel {
public:
    struct Field {
        std::string Name;
        std::string Value;
    };
    struct Counter {
        uint32_t Id = 0;
        uint32_t Type = 0;
        std::string Description;
        std::string Instance; // as the counter views show it ("All", "CPU 2")
        std::string Computer; // "Local" for the service's own computer
        uint32_t RepStatus = 0;
        std::string Status;
        uint32_t Count = 0; // values of the run; the statistics below mean something only above 0
        double Minimum = 0.0;
        double Maximum = 0.0;
        double Average = 0.0;
        double Last = 0.0;
        std::vector<tagSCA_TEZ_SAMPLE> Samples; // oldest first
    };
    struct Error {
        uint64_t AbsTime = 0;
        uint32_t RepStatus = 0;
        std::string Status;
        uint32_t CounterType = 0;
        std::string Counter;
        std::string Instance;
        std::string Description;
        double Value = 0.0;
    };
    struct Statistic {
        uint32_t CounterType = 0;
        std::string Counter;
        double Average = 0.0;
        double Minimum = 0.0;
        double Maximum = 0.0;
    };
    struct Process {
        uint32_t Id = 0;
        std::string Name;
        uint32_t RepStatus = 0;
        std::string Status;
        uint32_t Instances = 0;
        uint32_t Errors = 0;
        uint32_t Warnings = 0;
        std::vector<Statistic> Statistics;
    };
    struct LogEntry {
        uint64_t AbsTime = 0; // platform absolute time
        std::string Event;
        std::string Process;
        uint32_t ProcessId = 0;
        std::string User;
        std::string Description;
    };

    // A counter monitor's report as a report mode (SCA_TEZ_REPORT_MODE_*) shows it: the
    // header, the summary (as the report's UpdateSummary left it) and every counter with its
    // status in each mode; the counters' statistics and the errors recorded from compact on;
    // every sample in a detailed report (and in any other mode). 0 when the report is null.
    int Build(SCA_TezReport* report, uint32_t mode = SCA_TEZ_REPORT_MODE_DETAILED);
    // A process monitor's processes (every one for the all-ones selector, else that process
    // id only) with the statistics of the counter types that includeMode admits
    // (IsCounterIncluded), and the log when one is given.
    int Build(SCA_TezProcessList* list, SCA_TezProcessLog* log, uint32_t selector,
              uint32_t includeMode);

    bool IsProcessReport() const { return m_ProcessReport; }
    // What the writers show of the counters: their statistics (compact and detailed reports)
    // and their samples (detailed reports).
    bool ShowsStatistics() const { return m_Mode != SCA_TEZ_REPORT_MODE_SUMMARY; }
    bool ShowsSamples() const {
        return m_Mode != SCA_TEZ_REPORT_MODE_SUMMARY && m_Mode != SCA_TEZ_REPORT_MODE_COMPACT;
    }
    // The records the model was taken from: the data-file format stores them whole.
    SCA_TezReport* GetSourceReport() const { return m_Report; }
    SCA_TezProcessList* GetSourceList() const { return m_List; }
    SCA_TezProcessLog* GetSourceLog() const { return m_Log; }
    uint32_t GetSelector() const { return m_Selector; }

    // Whether a process report of include mode shows a counter type: mode 2 every counter, 1
    // only CPU usage, memory used and data rate, 0 none, any other every counter.
    static bool IsCounterIncluded(uint32_t mode, uint32_t counterType);

    // Shortest text that reads back as the same double, in the C locale; "---" when not finite.
    static std::string FormatNumber(double value);
    // A value as its counter type shows it ("45.3%").
    static std::string FormatValue(uint32_t counterType, double value);
    // Local "YYYY-MM-DD HH:MM:SS" of an absolute time; empty for 0.
    static std::string FormatTime(uint64_t absTime);

    std::string Title;
    std::vector<Field> Header;
    std::vector<Field> Summary;
    std::vector<Counter> Counters;
    std::vector<Error> Errors;
    std::vector<Process> Processes;
    std::vector<LogEntry> Log;

private:
    bool m_ProcessReport = false;
    SCA_TezReport* m_Report = nullptr;
    SCA_TezProcessList* m_List = nullptr;
    SCA_TezProcessLog* m_Log = nullptr;
    uint32_t m_Selector = 0;
    uint32_t m_Mode = SCA_TEZ_REPORT_MODE_DETAILED;
};
