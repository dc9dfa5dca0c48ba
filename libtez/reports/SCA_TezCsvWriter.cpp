// SPDX-License-Identifier: MIT
#include "libtez/reports/SCA_TezCsvWriter.h"

#include <initializer_list>

#include "libtez/reports/SCA_TezReportModel.h"

namespace {

// A text cell: a leading character that spreadsheets read as the start of a formula gets a
// quote in front, so that the cell shows as text and never runs.
std::string TextCell(const std::string& text) {
    std::string cell = text;
    if (!cell.empty() && (cell[0] == '=' || cell[0] == '+' || cell[0] == '-' || cell[0] == '@' ||
                          cell[0] == '\t' || cell[0] == '\r')) {
        cell.insert(cell.begin(), '\'');
    }
    if (cell.find_first_of(",\"\r\n") == std::string::npos) {
        return cell;
    }
    std::string quoted = "\"";
    for (char c : cell) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

class Rows {
public:
    // Cells are written as given: callers pass text through TextCell and numbers as they are.
    void Row(std::initializer_list<std::string> cells) {
        bool first = true;
        for (const auto& cell : cells) {
            m_Out += first ? "" : ",";
            m_Out += cell;
            first = false;
        }
        m_Out += "\r\n";
    }
    void Section() {
        if (!m_Out.empty()) {
            m_Out += "\r\n";
        }
    }
    const std::string& Text() const { return m_Out; }

private:
    std::string m_Out;
};

} // namespace

int SCA_TezCsvWriter::Write(const SCA_TezReportModel& model, const char* path, uint32_t* error) {
    using Model = SCA_TezReportModel;
    const auto num = [](double v) { return Model::FormatNumber(v); };
    const auto u = [](uint64_t v) { return std::to_string(v); };
    Rows rows;
    rows.Row({"Field", "Value"});
    rows.Row({"Title", TextCell(model.Title)});
    for (const auto& f : model.Header) {
        rows.Row({TextCell(f.Name), TextCell(f.Value)});
    }
    rows.Section();
    rows.Row({"Summary", "Value"});
    for (const auto& f : model.Summary) {
        rows.Row({TextCell(f.Name), TextCell(f.Value)});
    }
    if (!model.Counters.empty() && !model.ShowsStatistics()) {
        rows.Section();
        rows.Row({"Counter Id", "Counter Type", "Counter", "Instance", "Computer", "Status"});
        for (const auto& c : model.Counters) {
            rows.Row({u(c.Id), u(c.Type), TextCell(c.Description), TextCell(c.Instance),
                      TextCell(c.Computer), TextCell(c.Status)});
        }
    } else if (!model.Counters.empty()) {
        rows.Section();
        rows.Row({"Counter Id", "Counter Type", "Counter", "Instance", "Computer", "Status",
                  "Values", "Minimum", "Maximum", "Average", "Last"});
        for (const auto& c : model.Counters) {
            const bool has = c.Count != 0;
            rows.Row({u(c.Id), u(c.Type), TextCell(c.Description), TextCell(c.Instance),
                      TextCell(c.Computer), TextCell(c.Status), u(c.Count),
                      has ? num(c.Minimum) : "", has ? num(c.Maximum) : "",
                      has ? num(c.Average) : "", has ? num(c.Last) : ""});
        }
    }
    if (!model.Counters.empty() && model.ShowsSamples()) {
        rows.Section();
        rows.Row({"Counter Id", "Time", "Absolute Time", "Value"});
        for (const auto& c : model.Counters) {
            for (const auto& s : c.Samples) {
                rows.Row({u(c.Id), TextCell(Model::FormatTime(s.AbsTime)), u(s.AbsTime),
                          s.HasValue ? num(s.Value) : ""});
            }
        }
    }
    if (!model.Errors.empty()) {
        rows.Section();
        rows.Row({"Time", "Status", "Counter Type", "Counter", "Instance", "Description", "Value"});
        for (const auto& e : model.Errors) {
            rows.Row({TextCell(Model::FormatTime(e.AbsTime)), TextCell(e.Status), u(e.CounterType),
                      TextCell(e.Counter), TextCell(e.Instance), TextCell(e.Description),
                      num(e.Value)});
        }
    }
    if (model.IsProcessReport()) {
        rows.Section();
        rows.Row({"Process Id", "Process", "Status", "Instances", "Errors", "Warnings",
                  "Counter Type", "Counter", "Average", "Minimum", "Maximum"});
        for (const auto& p : model.Processes) {
            if (p.Statistics.empty()) {
                rows.Row({u(p.Id), TextCell(p.Name), TextCell(p.Status), u(p.Instances),
                          u(p.Errors), u(p.Warnings), "", "", "", "", ""});
            }
            for (const auto& s : p.Statistics) {
                rows.Row({u(p.Id), TextCell(p.Name), TextCell(p.Status), u(p.Instances),
                          u(p.Errors), u(p.Warnings), u(s.CounterType), TextCell(s.Counter),
                          num(s.Average), num(s.Minimum), num(s.Maximum)});
            }
        }
        if (!model.Log.empty()) {
            rows.Section();
            rows.Row({"Time", "Event", "Process", "PID", "User", "Description"});
            for (const auto& l : model.Log) {
                rows.Row({TextCell(Model::FormatTime(l.AbsTime)), TextCell(l.Event),
                          TextCell(l.Process), u(l.ProcessId), TextCell(l.User),
                          TextCell(l.Description)});
            }
        }
    }
    return WriteText(rows.Text(), path, error);
}
