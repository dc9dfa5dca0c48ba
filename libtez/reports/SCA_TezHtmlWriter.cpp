// SPDX-License-Identifier: MIT
#include "libtez/reports/SCA_TezHtmlWriter.h"

#include <initializer_list>

#include "libtez/reports/SCA_TezReportModel.h"
#include "model/SCA_TezRepStatus.h"

namespace {

std::string Escape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

void Row(std::string* out, std::initializer_list<std::string> cells, bool bold = false) {
    *out += bold ? "<tr class=\"alert\">" : "<tr>";
    for (const auto& cell : cells) {
        *out += "<td>" + Escape(cell) + "</td>";
    }
    *out += "</tr>\n";
}

void Head(std::string* out, const std::string& title, std::initializer_list<std::string> cells) {
    *out += "<h2>" + Escape(title) + "</h2>\n<table>\n<tr>";
    for (const auto& cell : cells) {
        *out += "<th>" + Escape(cell) + "</th>";
    }
    *out += "</tr>\n";
}

} // namespace

int SCA_TezHtmlWriter::Write(const SCA_TezReportModel& model, const char* path, uint32_t* error) {
    using Model = SCA_TezReportModel;
    std::string out = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" +
                      Escape(model.Title) +
                      "</title>\n<style>body{font-family:sans-serif}table{border-collapse:collapse}"
                      "td,th{border:1px solid #bbb;padding:2px 6px}th{background:#dae4ef}"
                      "tr.alert td{font-weight:bold}</style></head><body>\n<h1>" +
                      Escape(model.Title) + "</h1>\n<table>\n";
    for (const auto& f : model.Header) {
        Row(&out, {f.Name, f.Value});
    }
    out += "</table>\n";
    Head(&out, "Summary", {"Name", "Value"});
    for (const auto& f : model.Summary) {
        Row(&out, {f.Name, f.Value});
    }
    out += "</table>\n";
    if (!model.Counters.empty() && !model.ShowsStatistics()) {
        Head(&out, "Counters", {"Id", "Counter", "Instance", "Computer", "Status"});
        for (const auto& c : model.Counters) {
            Row(&out, {std::to_string(c.Id), c.Description, c.Instance, c.Computer, c.Status},
                SCA_TezIsRepStatusBold(c.RepStatus));
        }
        out += "</table>\n";
    } else if (!model.Counters.empty()) {
        Head(&out, "Counters",
             {"Id", "Counter", "Instance", "Computer", "Status", "Values", "Minimum", "Maximum",
              "Average", "Last"});
        for (const auto& c : model.Counters) {
            const auto value = [&c](double v) {
                return c.Count != 0 ? Model::FormatValue(c.Type, v) : std::string("---");
            };
            Row(&out,
                {std::to_string(c.Id), c.Description, c.Instance, c.Computer, c.Status,
                 std::to_string(c.Count), value(c.Minimum), value(c.Maximum), value(c.Average),
                 value(c.Last)},
                SCA_TezIsRepStatusBold(c.RepStatus));
        }
        out += "</table>\n";
    }
    for (const auto& c : model.Counters) {
        if (c.Samples.empty()) {
            continue;
        }
        Head(&out, "Samples: " + c.Description + (c.Instance.empty() ? "" : " - " + c.Instance),
             {"Time", "Value"});
        for (const auto& sample : c.Samples) {
            Row(&out, {Model::FormatTime(sample.AbsTime),
                       sample.HasValue ? Model::FormatValue(c.Type, sample.Value) : "---"});
        }
        out += "</table>\n";
    }
    if (!model.Errors.empty()) {
        Head(&out, "Errors", {"Time", "Status", "Counter", "Instance", "Value", "Description"});
        for (const auto& e : model.Errors) {
            Row(&out,
                {Model::FormatTime(e.AbsTime), e.Status, e.Counter, e.Instance,
                 Model::FormatValue(e.CounterType, e.Value), e.Description},
                SCA_TezIsRepStatusBold(e.RepStatus));
        }
        out += "</table>\n";
    }
    if (model.IsProcessReport()) {
        Head(&out, "Processes",
             {"PID", "Process", "Status", "Instances", "Errors", "Warnings", "Statistics"});
        for (const auto& p : model.Processes) {
            std::string stats;
            for (const auto& s : p.Statistics) {
                stats += (stats.empty() ? "" : "; ") + s.Counter + ": Average " +
                         Model::FormatValue(s.CounterType, s.Average) + ", Min " +
                         Model::FormatValue(s.CounterType, s.Minimum) + ", Max " +
                         Model::FormatValue(s.CounterType, s.Maximum);
            }
            Row(&out,
                {std::to_string(p.Id), p.Name, p.Status, std::to_string(p.Instances),
                 std::to_string(p.Errors), std::to_string(p.Warnings), stats},
                SCA_TezIsRepStatusBold(p.RepStatus));
        }
        out += "</table>\n";
        if (!model.Log.empty()) {
            Head(&out, "Process Log", {"Time", "Event", "Process", "PID", "User", "Description"});
            for (const auto& l : model.Log) {
                Row(&out, {Model::FormatTime(l.AbsTime), l.Event, l.Process,
                           std::to_string(l.ProcessId), l.User, l.Description});
            }
            out += "</table>\n";
        }
    }
    out += "</body></html>\n";
    return WriteText(out, path, error);
}
