// SPDX-License-Identifier: MIT
#include "libtez/reports/SCA_TezTextWriter.h"

#include "libtez/reports/SCA_TezReportModel.h"

namespace {

constexpr size_t kNameWidth = 20;

void Line(std::string* out, const std::string& name, const std::string& value) {
    *out += "  " + name + ":";
    *out += std::string(name.size() < kNameWidth ? kNameWidth - name.size() : 1, ' ');
    *out += value + "\n";
}

void Heading(std::string* out, const std::string& text) {
    *out += "\n" + text + "\n" + std::string(text.size(), '-') + "\n";
}

} // namespace

int SCA_TezTextWriter::Write(const SCA_TezReportModel& model, const char* path, uint32_t* error) {
    using Model = SCA_TezReportModel;
    std::string out = model.Title + "\n" + std::string(model.Title.size(), '=') + "\n";
    for (const auto& field : model.Header) {
        Line(&out, field.Name, field.Value);
    }
    Heading(&out, "Summary");
    for (const auto& field : model.Summary) {
        Line(&out, field.Name, field.Value);
    }
    for (const auto& counter : model.Counters) {
        Heading(&out, "Counter " + std::to_string(counter.Id) + ": " + counter.Description +
                          (counter.Instance.empty() ? "" : " (" + counter.Instance + ")"));
        if (!counter.Computer.empty()) {
            Line(&out, "Computer", counter.Computer);
        }
        Line(&out, "Status", counter.Status);
        if (model.ShowsStatistics()) {
            Line(&out, "Values", std::to_string(counter.Count));
        }
        if (model.ShowsStatistics() && counter.Count != 0) {
            Line(&out, "Minimum", Model::FormatValue(counter.Type, counter.Minimum));
            Line(&out, "Maximum", Model::FormatValue(counter.Type, counter.Maximum));
            Line(&out, "Average", Model::FormatValue(counter.Type, counter.Average));
            Line(&out, "Last", Model::FormatValue(counter.Type, counter.Last));
        }
        if (!counter.Samples.empty()) {
            out += "  Samples:\n";
        }
        for (const auto& sample : counter.Samples) {
            out += "    " + Model::FormatTime(sample.AbsTime) + "  " +
                   (sample.HasValue ? Model::FormatValue(counter.Type, sample.Value) : "---") +
                   "\n";
        }
    }
    if (!model.Errors.empty()) {
        Heading(&out, "Errors");
        for (const auto& e : model.Errors) {
            out += "  " + Model::FormatTime(e.AbsTime) + "  " + e.Status + "  " + e.Counter +
                   (e.Instance.empty() ? "" : " (" + e.Instance + ")") + "  " +
                   Model::FormatValue(e.CounterType, e.Value) + "  " + e.Description + "\n";
        }
    }
    for (const auto& process : model.Processes) {
        Heading(&out, "Process " + process.Name + " (" + std::to_string(process.Id) + ")");
        Line(&out, "Status", process.Status);
        Line(&out, "Instances", std::to_string(process.Instances));
        Line(&out, "Errors", std::to_string(process.Errors));
        Line(&out, "Warnings", std::to_string(process.Warnings));
        for (const auto& s : process.Statistics) {
            Line(&out, s.Counter,
                 "Average " + Model::FormatValue(s.CounterType, s.Average) + ", Min " +
                     Model::FormatValue(s.CounterType, s.Minimum) + ", Max " +
                     Model::FormatValue(s.CounterType, s.Maximum));
        }
    }
    if (!model.Log.empty()) {
        Heading(&out, "Process Log");
        for (const auto& entry : model.Log) {
            out += "  " + Model::FormatTime(entry.AbsTime) + "  " + entry.Event + "  " +
                   entry.Process + " (PID " + std::to_string(entry.ProcessId) + ")  " +
                   entry.Description + "\n";
        }
    }
    return WriteText(out, path, error);
}
