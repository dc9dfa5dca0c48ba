// SPDX-License-Identifier: MIT
#include "libtez/reports/SCA_TezProcessReporter.h"

#include <cerrno>
#include <memory>

#include "libmor/SCA_FileSystem.h"
#include "libmor/SCA_Time.h"
#include "libtez/reports/SCA_TezReportModel.h"
#include "libtez/reports/SCA_TezReportWriter.h"
#include "libtez/reports/SCA_TezReportWriterFactory.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_Field.h"
#include "model/SCA_TezCounterMeta.h"
#include "model/SCA_TezProcess.h"
#include "model/SCA_TezRepStatus.h"
#include "model/SCA_TezVocabulary.h"

namespace {

constexpr uint32_t kTextSize = 256;

// The statistics a process id's report shows, in this order.
constexpr struct {
    const char* Name;
    uint32_t CounterType;
} kPidStatistics[] = {
    {"CPU Usage", SCA_COUNTER_PROCESS_CPU_USAGE},
    {"Memory Usage", SCA_COUNTER_PROCESS_MEM_USED},
    {"Data Transfer", SCA_COUNTER_PROCESS_DATA_RATE},
    {"Process Threads", SCA_COUNTER_PROCESS_THREADS},
    {"Process Handles", SCA_COUNTER_PROCESS_HANDLES},
};

std::string Value(uint32_t counterType, double value) {
    char text[kTextSize] = "";
    SCA_TezBuildValueString(counterType, value, text, sizeof(text), 0);
    return text;
}

void AddLine(std::string* text, const char* name, const std::string& value) {
    *text += "  ";
    *text += name;
    *text += ": ";
    *text += value;
    *text += "\n";
}

} // namespace

int SCA_TezProcessReporter::IsCounterIncluded(uint32_t mode, uint32_t counterType) {
    return SCA_TezReportModel::IsCounterIncluded(mode, counterType) ? 1 : 0;
}

bool SCA_TezProcessReporter::IsRepStatusFondBold(uint32_t repStatus) {
    return SCA_TezIsRepStatusBold(repStatus);
}

int SCA_TezProcessReporter::Save(SCA_TezProcessList* list, uint32_t selector, uint32_t format,
                                 uint32_t option, const char* path, uint32_t* error,
                                 SCA_TezProcessLog* log) {
    std::unique_ptr<SCA_TezReportWriter> writer(SCA_TezReportWriterFactory::Create(format, error));
    if (writer == nullptr) {
        return 0;
    }
    SCA_TezReportModel model;
    if (path == nullptr || !model.Build(list, log, selector, option)) {
        if (error != nullptr) {
            *error = EINVAL;
        }
        return 0;
    }
    return writer->Write(model, path, error);
}

std::string SCA_TezProcessReporter::BuildPidsText(SCA_TezProcess* process) {
    std::string text = "Process: ";
    text += process->GetProcessName();
    text += "\n";
    for (auto* node = process->GetPids()->GetHead(); node != nullptr; node = node->GetNext()) {
        const SCA_TezProcessPid* pid = node->GetItem();
        text += "\nPID " + std::to_string(pid->GetProcessId()) + "\n";
        AddLine(&text, "Parent PID", std::to_string(pid->GetParentProcessId()));
        char started[kTextSize] = "";
        SCA_FormatAbsTime(pid->GetFirstUpdateTime() * SCA_ABS_TIME_SECOND, started,
                          sizeof(started));
        AddLine(&text, "Start Time", started);
        for (const auto& statistic : kPidStatistics) {
            tagSCA_TEZ_PROCESS_COUNTER* counter = nullptr;
            if (pid->GetCounter(statistic.CounterType, &counter) && counter != nullptr) {
                const uint32_t type = statistic.CounterType;
                AddLine(&text, statistic.Name,
                        "Average " + Value(type, counter->AverageValue) + ", Min " +
                            Value(type, counter->MinValue) + ", Max " +
                            Value(type, counter->MaxValue));
            }
        }
        if (const SCA_ConfigObj* info = pid->GetProcessInfo()) {
            for (const SCA_Field* field = info->GetHead(); field != nullptr;
                 field = field->GetNext()) {
                if (!field->IsObject()) {
                    AddLine(&text, field->GetName(),
                            field->GetValue() != nullptr ? field->GetValue() : "");
                }
            }
        }
    }
    return text;
}

int SCA_TezProcessReporter::SavePids(SCA_TezProcess* process, int, const char* path,
                                     uint32_t* error) {
    if (process == nullptr || path == nullptr) {
        if (error != nullptr) {
            *error = EINVAL;
        }
        return 0;
    }
    const std::string text = BuildPidsText(process);
    return SCA_WriteFileAtomic(path, text.data(), text.size(), error);
}
