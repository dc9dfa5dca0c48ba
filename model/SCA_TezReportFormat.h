// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// Report save formats: the codes that reports are saved in, with the file extension, the name
// and the icon each is offered with. Every other code is invalid.
inline constexpr uint32_t SCA_TEZ_FORMAT_HTML = 0;
inline constexpr uint32_t SCA_TEZ_FORMAT_TEXT = 1;
inline constexpr uint32_t SCA_TEZ_FORMAT_CSV = 2;
inline constexpr uint32_t SCA_TEZ_FORMAT_REPORT = 3; // the product's own report format
inline constexpr uint32_t SCA_TEZ_FORMAT_XML = 5;
inline constexpr uint32_t SCA_TEZ_FORMAT_PDF = 6;
inline constexpr uint32_t SCA_TEZ_FORMAT_EXCEL = 15;
inline constexpr uint32_t SCA_TEZ_FORMAT_DATA = 21; // the product's own data file (export)
inline constexpr uint32_t SCA_TEZ_FORMAT_JSON = 22;

inline constexpr uint32_t SCA_TEZ_REPORT_FORMATS = 9;

// Report modes (the save dialogs' report option): how much of a monitor a report shows.
inline constexpr uint32_t SCA_TEZ_REPORT_MODE_SUMMARY = 0;
inline constexpr uint32_t SCA_TEZ_REPORT_MODE_COMPACT = 1;
inline constexpr uint32_t SCA_TEZ_REPORT_MODE_DETAILED = 2;
inline constexpr uint32_t SCA_TEZ_REPORT_MODES = 3;

struct tagSCA_TEZ_REPORT_FORMAT {
    uint32_t Format;
    const char* Extension; // "pdf", without the dot
    const char* Name;      // "PDF Report"
    const char* Icon;      // ":/images/file_pdf_16px.png"
};

// The valid formats in the order they are offered (PDF first), SCA_TEZ_REPORT_FORMATS of them.
const tagSCA_TEZ_REPORT_FORMAT* SCA_TezGetReportFormats();
// The entry of a code; null for an invalid one.
const tagSCA_TEZ_REPORT_FORMAT* SCA_TezGetReportFormat(uint32_t format);
int SCA_TezIsValidReportFormat(uint32_t format);
// "Short Summary Report", "Compact Monitoring Report", "Detailed Monitoring Report"; null for
// any other mode.
const char* SCA_TezGetReportModeName(uint32_t mode);
// The icon a mode is offered with; null for any other mode.
const char* SCA_TezGetReportModeIcon(uint32_t mode);
