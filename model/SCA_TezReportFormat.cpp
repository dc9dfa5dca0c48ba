// SPDX-License-Identifier: MIT
#include "model/SCA_TezReportFormat.h"

#include <iterator>

namespace {

constexpr tagSCA_TEZ_REPORT_FORMAT kFormats[] = {
    {SCA_TEZ_FORMAT_PDF, "pdf", "PDF Report", ":/images/file_pdf_16px.png"},
    {SCA_TEZ_FORMAT_HTML, "html", "HTML Report", ":/images/file_html_16px.png"},
    {SCA_TEZ_FORMAT_EXCEL, "xlsx", "Excel Report", ":/images/file_excel_16px.png"},
    {SCA_TEZ_FORMAT_TEXT, "txt", "Text Report", ":/images/file_text_16px.png"},
    {SCA_TEZ_FORMAT_JSON, "json", "JSON Report", ":/images/file_json_16px.png"},
    {SCA_TEZ_FORMAT_CSV, "csv", "CSV Report", ":/images/file_csv_16px.png"},
    {SCA_TEZ_FORMAT_XML, "xml", "XML Report", ":/images/file_xml_16px.png"},
    {SCA_TEZ_FORMAT_REPORT, "hdr", "Korvanta Report", ":/images/korva_16px.png"},
    {SCA_TEZ_FORMAT_DATA, "hdx", "Korvanta Data File", ":/images/korva_16px.png"},
};
static_assert(std::size(kFormats) == SCA_TEZ_REPORT_FORMATS);

struct ReportMode {
    const char* Name;
    const char* Icon;
};

constexpr ReportMode kModes[] = {
    {"Short Summary Report", ":/images/select_16px.png"},
    {"Compact Monitoring Report", ":/images/chart_16px.png"},
    {"Detailed Monitoring Report", ":/images/reports_16px.png"},
};
static_assert(std::size(kModes) == SCA_TEZ_REPORT_MODES);

} // namespace

const tagSCA_TEZ_REPORT_FORMAT* SCA_TezGetReportFormats() {
    return kFormats;
}

const tagSCA_TEZ_REPORT_FORMAT* SCA_TezGetReportFormat(uint32_t format) {
    for (const auto& entry : kFormats) {
        if (entry.Format == format) {
            return &entry;
        }
    }
    return nullptr;
}

int SCA_TezIsValidReportFormat(uint32_t format) {
    return SCA_TezGetReportFormat(format) != nullptr ? 1 : 0;
}

const char* SCA_TezGetReportModeName(uint32_t mode) {
    return mode < SCA_TEZ_REPORT_MODES ? kModes[mode].Name : nullptr;
}

const char* SCA_TezGetReportModeIcon(uint32_t mode) {
    return mode < SCA_TEZ_REPORT_MODES ? kModes[mode].Icon : nullptr;
}
