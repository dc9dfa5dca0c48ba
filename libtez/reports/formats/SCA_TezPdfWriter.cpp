// SPDX-License-Identifier: MIT
#include "libtez/reports/formats/SCA_TezPdfWriter.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <algorithm>
#include <cerrno>
#include <cmath>

#include "libtez/reports/SCA_TezReportModel.h"
#include "model/SCA_TezRepStatus.h"

namespace {

// A4 in points, with the margins and line heights of the layout.
constexpr double kPageWidth = 595.0;
constexpr double kPageHeight = 842.0;
constexpr double kMargin = 40.0;
constexpr double kLine = 14.0;
constexpr double kTitleSize = 16.0;
constexpr double kHeadingSize = 12.0;
constexpr double kTextSize = 9.0;
constexpr double kChartHeight = 130.0;
constexpr double kValueColumn = 150.0;
// Characters of a table cell before it is cut.
constexpr size_t kCellChars = 60;

// At most kCellChars characters of text as valid UTF-8: cairo refuses a whole document over one
// bad sequence, so bytes that do not form a character become '?'.
std::string CellText(const std::string& text) {
    std::string out;
    size_t chars = 0;
    for (size_t i = 0; i < text.size() && chars < kCellChars; ++chars) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t length = lead < 0x80           ? 1
                        : (lead >> 5) == 0x6  ? 2
                        : (lead >> 4) == 0xE  ? 3
                        : (lead >> 3) == 0x1E ? 4
                                              : 0;
        bool valid = length != 0 && i + length <= text.size();
        for (size_t k = 1; valid && k < length; ++k) {
            valid = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
        }
        if (valid && lead >= 0x20) {
            out.append(text, i, length);
            i += length;
        } else {
            out += '?';
            ++i;
        }
    }
    return out;
}

class Page {
public:
    explicit Page(cairo_t* cr) : m_Cr(cr) { SetFont(kTextSize, false); }

    void Ensure(double height) {
        if (m_Y + height > kPageHeight - kMargin) {
            cairo_show_page(m_Cr);
            m_Y = kMargin;
        }
    }
    void Text(double x, const std::string& text, double size, bool bold) {
        SetFont(size, bold);
        cairo_move_to(m_Cr, x, m_Y);
        cairo_show_text(m_Cr, CellText(text).c_str());
    }
    void Title(const std::string& text) {
        Ensure(kLine * 2);
        m_Y += kLine;
        Text(kMargin, text, kTitleSize, true);
        m_Y += kLine;
    }
    void Heading(const std::string& text, double room) {
        Ensure(kLine * 2 + room);
        m_Y += kLine;
        Text(kMargin, text, kHeadingSize, true);
        m_Y += kLine;
    }
    void Pair(const std::string& name, const std::string& value, bool bold = false) {
        Ensure(kLine);
        Text(kMargin, name, kTextSize, bold);
        Text(kMargin + kValueColumn, value, kTextSize, bold);
        m_Y += kLine;
    }
    void Columns(const std::vector<std::string>& cells, const std::vector<double>& xs, bool bold) {
        Ensure(kLine);
        for (size_t i = 0; i < cells.size() && i < xs.size(); ++i) {
            Text(kMargin + xs[i], cells[i], kTextSize, bold);
        }
        m_Y += kLine;
    }
    // A line chart of the samples; gaps break the line.
    void Chart(const std::vector<tagSCA_TEZ_SAMPLE>& samples, uint32_t counterType) {
        Ensure(kChartHeight + kLine);
        const double left = kMargin + 50.0;
        const double right = kPageWidth - kMargin;
        const double top = m_Y;
        const double bottom = m_Y + kChartHeight;
        cairo_set_line_width(m_Cr, 0.5);
        cairo_set_source_rgb(m_Cr, 0.6, 0.6, 0.6);
        cairo_rectangle(m_Cr, left, top, right - left, bottom - top);
        cairo_stroke(m_Cr);
        double low = 0.0;
        double high = 0.0;
        bool any = false;
        for (const auto& s : samples) {
            if (s.HasValue && std::isfinite(s.Value)) {
                low = any ? std::min(low, s.Value) : s.Value;
                high = any ? std::max(high, s.Value) : s.Value;
                any = true;
            }
        }
        cairo_set_source_rgb(m_Cr, 0, 0, 0);
        if (!any || samples.size() < 2) {
            m_Y = top + kChartHeight / 2;
            Text(left + 10.0, "No samples", kTextSize, false);
            m_Y = bottom + kLine;
            return;
        }
        low = std::min(low, 0.0);
        if (high <= low) {
            high = low + 1.0;
        }
        m_Y = top + kTextSize;
        Text(kMargin, SCA_TezReportModel::FormatValue(counterType, high), kTextSize - 2, false);
        m_Y = bottom;
        Text(kMargin, SCA_TezReportModel::FormatValue(counterType, low), kTextSize - 2, false);
        cairo_set_source_rgb(m_Cr, 0.1, 0.3, 0.7);
        cairo_set_line_width(m_Cr, 1.0);
        const double step = (right - left) / static_cast<double>(samples.size() - 1);
        bool drawing = false;
        for (size_t i = 0; i < samples.size(); ++i) {
            const auto& s = samples[i];
            if (!s.HasValue || !std::isfinite(s.Value)) {
                drawing = false;
                continue;
            }
            const double x = left + step * static_cast<double>(i);
            const double y = bottom - (s.Value - low) / (high - low) * (bottom - top);
            if (drawing) {
                cairo_line_to(m_Cr, x, y);
            } else {
                cairo_move_to(m_Cr, x, y);
            }
            drawing = true;
        }
        cairo_stroke(m_Cr);
        cairo_set_source_rgb(m_Cr, 0, 0, 0);
        m_Y = bottom + kLine;
    }

private:
    void SetFont(double size, bool bold) {
        cairo_select_font_face(m_Cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                               bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(m_Cr, size);
    }

    cairo_t* m_Cr;
    double m_Y = kMargin;
};

cairo_status_t Collect(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

void Draw(cairo_t* cr, const SCA_TezReportModel& model) {
    using Model = SCA_TezReportModel;
    Page page(cr);
    page.Title(model.Title);
    for (const auto& f : model.Header) {
        page.Pair(f.Name, f.Value);
    }
    page.Heading("Summary", kLine);
    for (const auto& f : model.Summary) {
        page.Pair(f.Name, f.Value);
    }
    for (const auto& c : model.Counters) {
        // Keep a counter's table and chart together on one page.
        const double chart = model.ShowsSamples() ? kLine + kChartHeight : 0.0;
        page.Heading(c.Description + (c.Instance.empty() ? "" : " - " + c.Instance),
                     kLine * 7 + chart);
        const bool bold = SCA_TezIsRepStatusBold(c.RepStatus);
        page.Pair("Computer", c.Computer);
        page.Pair("Status", c.Status, bold);
        if (model.ShowsStatistics()) {
            page.Pair("Values", std::to_string(c.Count));
        }
        if (model.ShowsStatistics() && c.Count != 0) {
            page.Pair("Minimum", Model::FormatValue(c.Type, c.Minimum));
            page.Pair("Maximum", Model::FormatValue(c.Type, c.Maximum));
            page.Pair("Average", Model::FormatValue(c.Type, c.Average));
            page.Pair("Last", Model::FormatValue(c.Type, c.Last));
        }
        if (model.ShowsSamples()) {
            page.Pair("Samples", std::to_string(c.Samples.size()));
            page.Chart(c.Samples, c.Type);
        }
    }
    if (!model.Errors.empty()) {
        page.Heading("Errors", kLine * 2);
        const std::vector<double> xs = {0, 110, 160, 330, 410};
        page.Columns({"Time", "Status", "Counter", "Value", "Description"}, xs, true);
        for (const auto& e : model.Errors) {
            page.Columns({Model::FormatTime(e.AbsTime), e.Status, e.Counter,
                          Model::FormatValue(e.CounterType, e.Value), e.Description},
                         xs, SCA_TezIsRepStatusBold(e.RepStatus));
        }
    }
    if (model.IsProcessReport()) {
        page.Heading("Processes", kLine);
        const std::vector<double> xs = {0, 50, 200, 270, 330, 390};
        page.Columns({"PID", "Process", "Status", "Instances", "Errors", "Warnings"}, xs, true);
        for (const auto& p : model.Processes) {
            page.Columns({std::to_string(p.Id), p.Name, p.Status, std::to_string(p.Instances),
                          std::to_string(p.Errors), std::to_string(p.Warnings)},
                         xs, SCA_TezIsRepStatusBold(p.RepStatus));
            for (const auto& s : p.Statistics) {
                page.Columns({"", s.Counter,
                              "Average " + Model::FormatValue(s.CounterType, s.Average) + ", Min " +
                                  Model::FormatValue(s.CounterType, s.Minimum) + ", Max " +
                                  Model::FormatValue(s.CounterType, s.Maximum)},
                             {0, 50, 200}, false);
            }
        }
        if (!model.Log.empty()) {
            page.Heading("Process Log", kLine);
            const std::vector<double> logXs = {0, 110, 150, 280, 330};
            page.Columns({"Time", "Event", "Process", "PID", "Description"}, logXs, true);
            for (const auto& l : model.Log) {
                page.Columns({Model::FormatTime(l.AbsTime), l.Event, l.Process,
                              std::to_string(l.ProcessId), l.Description},
                             logXs, false);
            }
        }
    }
}

} // namespace

int SCA_TezPdfWriter::Write(const SCA_TezReportModel& model, const char* path, uint32_t* error) {
    std::string bytes;
    cairo_surface_t* surface =
        cairo_pdf_surface_create_for_stream(&Collect, &bytes, kPageWidth, kPageHeight);
    cairo_t* cr = cairo_create(surface);
    Draw(cr, model);
    cairo_show_page(cr);
    const cairo_status_t drawn = cairo_status(cr);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    const cairo_status_t finished = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    if (drawn != CAIRO_STATUS_SUCCESS || finished != CAIRO_STATUS_SUCCESS) {
        if (error != nullptr) {
            *error = drawn == CAIRO_STATUS_NO_MEMORY ? ENOMEM : EIO;
        }
        return 0;
    }
    return WriteText(bytes, path, error);
}
