// SPDX-License-Identifier: MIT
#include "libtez/reports/SCA_TezReportModel.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "libmor/SCA_Limits.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_Time.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezCounterMeta.h"
#include "model/SCA_TezProcessList.h"
#include "model/SCA_TezProcessLog.h"
#include "model/SCA_TezRepStatus.h"
#include "model/SCA_TezReport.h"
#include "model/SCA_TezReportFormat.h"
#include "model/SCA_TezVocabulary.h"

namespace {

constexpr uint32_t kTextSize = 256;

// The summary's value fields in their order; its child objects (the statistics) are
// shown through the counters instead.
void AddSummary(SCA_ConfigObj* summary, std::vector<SCA_TezReportModel::Field>* out) {
    for (SCA_Field* field = summary->GetHead(); field != nullptr; field = field->GetNext()) {
        if (field->IsObject()) {
            continue;
        }
        const std::string name = field->GetName();
        const char* label = SCA_TezReport::GetSummaryLabel(name.c_str());
        // The sample times are stored as platform time; people read them as dates.
        if (name == "FirstTime" || name == "LastTime") {
            out->push_back(
                {label, SCA_TezReportModel::FormatTime(SCA_AtoUint64(field->GetValue()))});
        } else {
            out->push_back({label, field->GetValue()});
        }
    }
}

std::string InstanceText(uint32_t counterType, const char* instance) {
    char text[kTextSize];
    SCA_TezBuildInstanceDescr(counterType, instance, text, sizeof(text));
    return text;
}

} // namespace

std::string SCA_TezReportModel::FormatNumber(double value) {
    if (!std::isfinite(value)) {
        return "---";
    }
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof(buf), value);
    return std::string(buf, result.ptr);
}

std::string SCA_TezReportModel::FormatValue(uint32_t counterType, double value) {
    char buf[kTextSize];
    SCA_TezBuildValueString(counterType, value, buf, sizeof(buf), 0);
    return buf;
}

std::string SCA_TezReportModel::FormatTime(uint64_t absTime) {
    if (absTime == 0) {
        return "";
    }
    char buf[kTextSize];
    return SCA_FormatAbsTime(absTime, buf, sizeof(buf)) ? buf : "";
}

int SCA_TezReportModel::Build(SCA_TezReport* report, uint32_t mode) {
    if (report == nullptr) {
        return 0;
    }
    *this = SCA_TezReportModel();
    m_Report = report;
    m_Mode = mode;
    Title = report->GetShownTitle();
    char duration[kTextSize];
    SCA_FormatTime(report->GetProcessTime(), duration, sizeof(duration));
    Header = {{"Description", report->GetDescription()},
              {"Monitor Profile", report->GetProfileName()},
              {"Host Name", report->GetHostName()},
              {"User", report->GetUserName()},
              {"Start Time", FormatTime(report->GetStartTime())},
              {"Report Time", FormatTime(report->GetReportTime())},
              {"Duration", duration}};
    AddSummary(report->GetSummary(), &Summary);

    for (auto* node = report->GetCounterList()->GetHead(); node != nullptr;
         node = node->GetNext()) {
        const SCA_TezCounter& source = *node->GetItem();
        Counter counter;
        counter.Id = source.GetCounterId();
        counter.Type = source.GetCounterType();
        counter.Description = SCA_TezGetCounterDescr(counter.Type);
        counter.Instance = InstanceText(counter.Type, source.GetInstance());
        counter.Computer = source.IsLocal() ? "Local" : source.GetComputerName();
        counter.RepStatus = source.GetRepStatus();
        counter.Status = source.GetRepStatusString();
        counter.Count = source.GetValueCount();
        if (counter.Count != 0) {
            counter.Minimum = source.GetMinValue();
            counter.Maximum = source.GetMaxValue();
            counter.Average = source.GetAverageValue();
            counter.Last = source.GetLastValue();
        }
        const auto* store = dynamic_cast<const SCA_TezSampleStore*>(source.GetCounterData());
        if (store != nullptr && ShowsSamples()) {
            counter.Samples = store->GetSamples();
        }
        Counters.push_back(std::move(counter));
    }
    if (!ShowsStatistics()) {
        return 1;
    }

    for (auto* node = report->GetErrorList()->GetHead(); node != nullptr; node = node->GetNext()) {
        const SCA_TezError& source = *node->GetItem();
        Error error;
        error.AbsTime = source.GetAbsTime();
        error.RepStatus = source.GetRepStatus();
        error.Status = source.GetRepStatusDescr();
        error.CounterType = source.GetCounterType();
        error.Counter = SCA_TezGetCounterDescr(error.CounterType);
        error.Instance = InstanceText(error.CounterType, source.GetInstance());
        error.Description = source.GetDescription();
        error.Value = source.GetCounterValue();
        Errors.push_back(std::move(error));
    }
    return 1;
}

bool SCA_TezReportModel::IsCounterIncluded(uint32_t mode, uint32_t counterType) {
    switch (mode) {
    case SCA_TEZ_REPORT_MODE_SUMMARY:
        return false;
    case SCA_TEZ_REPORT_MODE_COMPACT:
        return counterType == SCA_COUNTER_PROCESS_CPU_USAGE ||
               counterType == SCA_COUNTER_PROCESS_MEM_USED ||
               counterType == SCA_COUNTER_PROCESS_DATA_RATE;
    default:
        return true;
    }
}

int SCA_TezReportModel::Build(SCA_TezProcessList* list, SCA_TezProcessLog* log, uint32_t selector,
                              uint32_t includeMode) {
    if (list == nullptr) {
        return 0;
    }
    *this = SCA_TezReportModel();
    m_ProcessReport = true;
    m_List = list;
    m_Log = log;
    m_Selector = selector;
    Title = list->GetReportTitle();
    Header = {{"Start Time", FormatTime(list->GetAbsStartTime())},
              {"Last Update", FormatTime(list->GetLastUpdateTime())}};
    Summary = {{"Processes", std::to_string(list->GetProcessCount())},
               {"Counters", std::to_string(list->GetNumOfCounters())}};

    for (auto* node = list->GetHead(); node != nullptr; node = node->GetNext()) {
        SCA_TezProcess& source = *node->GetItem();
        if (selector != SCA_ALL_ONES && source.GetProcessId() != selector) {
            continue;
        }
        Process process;
        process.Id = source.GetProcessId();
        process.Name = source.GetProcessName();
        process.RepStatus = source.GetRepStatus();
        process.Status = source.GetRepStatusDescr();
        process.Instances = source.GetInstanceCount();
        process.Errors = source.GetTotalErrors();
        process.Warnings = source.GetTotalWarnings();
        for (auto* c = source.GetDataCounters()->GetHead(); c != nullptr; c = c->GetNext()) {
            const SCA_TezCounter& counter = *c->GetItem();
            if (!IsCounterIncluded(includeMode, counter.GetCounterType()) ||
                counter.GetValueCount() == 0) {
                continue;
            }
            process.Statistics.push_back(
                {counter.GetCounterType(), SCA_TezGetCounterDescr(counter.GetCounterType()),
                 counter.GetAverageValue(), counter.GetMinValue(), counter.GetMaxValue()});
        }
        Processes.push_back(std::move(process));
    }

    if (log != nullptr) {
        // Log items carry the operating system's pid, not the list's process id: a selected
        // process keeps the items of its name.
        for (auto* node = log->GetHead(); node != nullptr; node = node->GetNext()) {
            const SCA_TezProcessLogItem& item = *node->GetItem();
            if (selector != SCA_ALL_ONES &&
                (Processes.empty() || Processes.front().Name != item.GetProcessName())) {
                continue;
            }
            char description[kTextSize];
            item.BuildDescription(description, sizeof(description));
            Log.push_back({item.GetAbsTime() * SCA_ABS_TIME_SECOND,
                           item.GetOpCode() == SCA_PROCESS_LOG_START ? "Start" : "End",
                           item.GetProcessName(), item.GetProcessId(), item.GetUserName(),
                           description});
        }
    }
    return 1;
}
