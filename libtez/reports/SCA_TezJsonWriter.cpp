// SPDX-License-Identifier: MIT
#include "libtez/reports/SCA_TezJsonWriter.h"

#include <nlohmann/json.hpp>

#include "libtez/reports/SCA_TezReportModel.h"

namespace {

using nlohmann::json;

json Fields(const std::vector<SCA_TezReportModel::Field>& fields) {
    json out = json::array();
    for (const auto& f : fields) {
        out.push_back({{"name", f.Name}, {"value", f.Value}});
    }
    return out;
}

// A value that is not finite has no JSON number: it travels as null.
json Number(double value) {
    return std::isfinite(value) ? json(value) : json(nullptr);
}

} // namespace

int SCA_TezJsonWriter::Write(const SCA_TezReportModel& model, const char* path, uint32_t* error) {
    json doc = {{"title", model.Title},
                {"header", Fields(model.Header)},
                {"summary", Fields(model.Summary)}};
    json counters = json::array();
    for (const auto& c : model.Counters) {
        json counter = {{"id", c.Id},
                        {"type", c.Type},
                        {"description", c.Description},
                        {"instance", c.Instance},
                        {"computer", c.Computer},
                        {"status", c.Status}};
        if (model.ShowsStatistics()) {
            counter["count"] = c.Count;
        }
        if (model.ShowsStatistics() && c.Count != 0) {
            counter["minimum"] = Number(c.Minimum);
            counter["maximum"] = Number(c.Maximum);
            counter["average"] = Number(c.Average);
            counter["last"] = Number(c.Last);
        }
        json samples = json::array();
        for (const auto& s : c.Samples) {
            samples.push_back({s.AbsTime, s.HasValue ? Number(s.Value) : json(nullptr)});
        }
        if (model.ShowsSamples()) {
            counter["samples"] = std::move(samples);
        }
        counters.push_back(std::move(counter));
    }
    doc["counters"] = std::move(counters);
    json errors = json::array();
    for (const auto& e : model.Errors) {
        errors.push_back({{"time", e.AbsTime},
                          {"status", e.Status},
                          {"counterType", e.CounterType},
                          {"counter", e.Counter},
                          {"instance", e.Instance},
                          {"description", e.Description},
                          {"value", Number(e.Value)}});
    }
    if (model.ShowsStatistics()) {
        doc["errors"] = std::move(errors);
    }
    if (model.IsProcessReport()) {
        json processes = json::array();
        for (const auto& p : model.Processes) {
            json stats = json::array();
            for (const auto& s : p.Statistics) {
                stats.push_back({{"counterType", s.CounterType},
                                 {"counter", s.Counter},
                                 {"average", Number(s.Average)},
                                 {"minimum", Number(s.Minimum)},
                                 {"maximum", Number(s.Maximum)}});
            }
            processes.push_back({{"id", p.Id},
                                 {"name", p.Name},
                                 {"status", p.Status},
                                 {"instances", p.Instances},
                                 {"errors", p.Errors},
                                 {"warnings", p.Warnings},
                                 {"statistics", std::move(stats)}});
        }
        doc["processes"] = std::move(processes);
        json log = json::array();
        for (const auto& l : model.Log) {
            log.push_back({{"time", SCA_TezReportModel::FormatTime(l.AbsTime)},
                           {"event", l.Event},
                           {"process", l.Process},
                           {"pid", l.ProcessId},
                           {"user", l.User},
                           {"description", l.Description}});
        }
        doc["log"] = std::move(log);
    }
    // Invalid UTF-8 in a name or description is replaced rather than failing the whole report.
    return WriteText(doc.dump(2, ' ', false, json::error_handler_t::replace) + "\n", path, error);
}
