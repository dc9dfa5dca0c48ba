// SPDX-License-Identifier: MIT
#include "libtez/reports/formats/SCA_TezExcelWriter.h"

#include <xlsxwriter.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <unistd.h>

#include "libtez/reports/SCA_TezReportModel.h"

namespace {

constexpr lxw_row_t kChartRow = 1;
constexpr lxw_col_t kTimeColumn = 0;
constexpr double kNameWidth = 22.0;
constexpr double kTextWidth = 40.0;

void Str(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t col, const std::string& text,
         lxw_format* format = nullptr) {
    // Written as a string cell, never as a formula, whatever the text begins with.
    worksheet_write_string(sheet, row, col, text.c_str(), format);
}

void Num(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t col, double value) {
    if (std::isfinite(value)) {
        worksheet_write_number(sheet, row, col, value, nullptr);
    }
}

void WriteHeadings(lxw_worksheet* sheet, lxw_row_t row, const std::vector<std::string>& names,
                   lxw_format* bold) {
    for (size_t i = 0; i < names.size(); ++i) {
        Str(sheet, row, static_cast<lxw_col_t>(i), names[i], bold);
    }
}

void WriteSamples(lxw_workbook* book, const SCA_TezReportModel& model, lxw_format* bold) {
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Samples");
    worksheet_set_column(sheet, 0, 0, kNameWidth, nullptr);
    Str(sheet, 0, kTimeColumn, "Time", bold);
    size_t rows = 0;
    for (size_t i = 0; i < model.Counters.size(); ++i) {
        const auto& c = model.Counters[i];
        const auto col = static_cast<lxw_col_t>(i + 1);
        Str(sheet, 0, col, c.Description + (c.Instance.empty() ? "" : " - " + c.Instance), bold);
        for (size_t r = 0; r < c.Samples.size(); ++r) {
            const auto row = static_cast<lxw_row_t>(r + 1);
            if (i == 0) {
                Str(sheet, row, kTimeColumn, SCA_TezReportModel::FormatTime(c.Samples[r].AbsTime));
            }
            if (c.Samples[r].HasValue) {
                Num(sheet, row, col, c.Samples[r].Value);
            }
        }
        rows = std::max(rows, c.Samples.size());
    }
    if (rows == 0 || model.Counters.empty()) {
        return;
    }
    lxw_chart* chart = workbook_add_chart(book, LXW_CHART_LINE);
    for (size_t i = 0; i < model.Counters.size(); ++i) {
        lxw_chart_series* series = chart_add_series(chart, nullptr, nullptr);
        const auto col = static_cast<lxw_col_t>(i + 1);
        chart_series_set_categories(series, "Samples", 1, kTimeColumn, static_cast<lxw_row_t>(rows),
                                    kTimeColumn);
        chart_series_set_values(series, "Samples", 1, col, static_cast<lxw_row_t>(rows), col);
        chart_series_set_name_range(series, "Samples", 0, col);
    }
    chart_title_set_name(chart, model.Title.empty() ? "Samples" : model.Title.c_str());
    worksheet_insert_chart(sheet, kChartRow, static_cast<lxw_col_t>(model.Counters.size() + 2),
                           chart);
}

void WriteReport(lxw_workbook* book, const SCA_TezReportModel& model, lxw_format* bold) {
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Report");
    worksheet_set_column(sheet, 0, 0, kNameWidth, nullptr);
    worksheet_set_column(sheet, 1, 3, kNameWidth, nullptr);
    lxw_row_t row = 0;
    Str(sheet, row++, 0, model.Title, bold);
    for (const auto& f : model.Header) {
        Str(sheet, row, 0, f.Name);
        Str(sheet, row++, 1, f.Value);
    }
    ++row;
    Str(sheet, row++, 0, "Summary", bold);
    for (const auto& f : model.Summary) {
        Str(sheet, row, 0, f.Name);
        Str(sheet, row++, 1, f.Value);
    }
    if (!model.Counters.empty()) {
        ++row;
        std::vector<std::string> headings = {"Counter Id", "Counter", "Instance", "Computer",
                                             "Status"};
        if (model.ShowsStatistics()) {
            headings.insert(headings.end(), {"Values", "Minimum", "Maximum", "Average", "Last"});
        }
        WriteHeadings(sheet, row++, headings, bold);
        for (const auto& c : model.Counters) {
            worksheet_write_number(sheet, row, 0, c.Id, nullptr);
            Str(sheet, row, 1, c.Description);
            Str(sheet, row, 2, c.Instance);
            Str(sheet, row, 3, c.Computer);
            Str(sheet, row, 4, c.Status);
            if (model.ShowsStatistics()) {
                worksheet_write_number(sheet, row, 5, c.Count, nullptr);
            }
            if (model.ShowsStatistics() && c.Count != 0) {
                Num(sheet, row, 6, c.Minimum);
                Num(sheet, row, 7, c.Maximum);
                Num(sheet, row, 8, c.Average);
                Num(sheet, row, 9, c.Last);
            }
            ++row;
        }
    }
    if (!model.Errors.empty()) {
        lxw_worksheet* errors = workbook_add_worksheet(book, "Errors");
        worksheet_set_column(errors, 0, 5, kNameWidth, nullptr);
        WriteHeadings(errors, 0, {"Time", "Status", "Counter", "Instance", "Value", "Description"},
                      bold);
        lxw_row_t r = 1;
        for (const auto& e : model.Errors) {
            Str(errors, r, 0, SCA_TezReportModel::FormatTime(e.AbsTime));
            Str(errors, r, 1, e.Status);
            Str(errors, r, 2, e.Counter);
            Str(errors, r, 3, e.Instance);
            Num(errors, r, 4, e.Value);
            Str(errors, r++, 5, e.Description);
        }
    }
}

void WriteProcesses(lxw_workbook* book, const SCA_TezReportModel& model, lxw_format* bold) {
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Processes");
    worksheet_set_column(sheet, 0, 9, kNameWidth, nullptr);
    WriteHeadings(sheet, 0,
                  {"Process Id", "Process", "Status", "Instances", "Errors", "Warnings", "Counter",
                   "Average", "Minimum", "Maximum"},
                  bold);
    lxw_row_t row = 1;
    for (const auto& p : model.Processes) {
        const auto base = [&](lxw_row_t r) {
            worksheet_write_number(sheet, r, 0, p.Id, nullptr);
            Str(sheet, r, 1, p.Name);
            Str(sheet, r, 2, p.Status);
            worksheet_write_number(sheet, r, 3, p.Instances, nullptr);
            worksheet_write_number(sheet, r, 4, p.Errors, nullptr);
            worksheet_write_number(sheet, r, 5, p.Warnings, nullptr);
        };
        if (p.Statistics.empty()) {
            base(row++);
        }
        for (const auto& s : p.Statistics) {
            base(row);
            Str(sheet, row, 6, s.Counter);
            Num(sheet, row, 7, s.Average);
            Num(sheet, row, 8, s.Minimum);
            Num(sheet, row++, 9, s.Maximum);
        }
    }
    if (!model.Log.empty()) {
        lxw_worksheet* log = workbook_add_worksheet(book, "Log");
        worksheet_set_column(log, 0, 5, kNameWidth, nullptr);
        worksheet_set_column(log, 5, 5, kTextWidth, nullptr);
        WriteHeadings(log, 0, {"Time", "Event", "Process", "PID", "User", "Description"}, bold);
        lxw_row_t r = 1;
        for (const auto& l : model.Log) {
            Str(log, r, 0, SCA_TezReportModel::FormatTime(l.AbsTime));
            Str(log, r, 1, l.Event);
            Str(log, r, 2, l.Process);
            worksheet_write_number(log, r, 3, l.ProcessId, nullptr);
            Str(log, r, 4, l.User);
            Str(log, r++, 5, l.Description);
        }
    }
}

} // namespace

int SCA_TezExcelWriter::Write(const SCA_TezReportModel& model, const char* path, uint32_t* error) {
    // The workbook goes to a file beside the target and replaces it only when complete.
    const std::string temporary = std::string(path) + ".part";
    lxw_workbook* book = workbook_new(temporary.c_str());
    if (book == nullptr) {
        if (error != nullptr) {
            *error = ENOMEM;
        }
        return 0;
    }
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    WriteReport(book, model, bold);
    if (model.IsProcessReport()) {
        WriteProcesses(book, model, bold);
    } else if (model.ShowsSamples()) {
        WriteSamples(book, model, bold);
    }
    const lxw_error closed = workbook_close(book);
    if (closed != LXW_NO_ERROR || std::rename(temporary.c_str(), path) != 0) {
        const int saved = errno;
        unlink(temporary.c_str());
        if (error != nullptr) {
            *error = closed != LXW_NO_ERROR ? EIO : static_cast<uint32_t>(saved);
        }
        return 0;
    }
    return 1;
}
