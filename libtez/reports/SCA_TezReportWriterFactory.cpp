// SPDX-License-Identifier: MIT
#include "libtez/reports/SCA_TezReportWriterFactory.h"

#include <cerrno>
#include <new>

#include "libtez/reports/SCA_TezConfigWriter.h"
#include "libtez/reports/SCA_TezCsvWriter.h"
#include "libtez/reports/SCA_TezExcelWriter.h"
#include "libtez/reports/SCA_TezHtmlWriter.h"
#include "libtez/reports/SCA_TezJsonWriter.h"
#include "libtez/reports/SCA_TezPdfWriter.h"
#include "libtez/reports/SCA_TezReportWriter.h"
#include "libtez/reports/SCA_TezTextWriter.h"
#include "libtez/reports/SCA_TezXmlWriter.h"
#include "model/SCA_TezReportFormat.h"

namespace {

SCA_TezReportWriter* Make(uint32_t format) {
    switch (format) {
    case SCA_TEZ_FORMAT_HTML:
        return new (std::nothrow) SCA_TezHtmlWriter();
    case SCA_TEZ_FORMAT_TEXT:
        return new (std::nothrow) SCA_TezTextWriter();
    case SCA_TEZ_FORMAT_CSV:
        return new (std::nothrow) SCA_TezCsvWriter();
    case SCA_TEZ_FORMAT_REPORT:
    case SCA_TEZ_FORMAT_DATA:
        return new (std::nothrow) SCA_TezConfigWriter(format);
    case SCA_TEZ_FORMAT_XML:
        return new (std::nothrow) SCA_TezXmlWriter();
    case SCA_TEZ_FORMAT_PDF:
        return new (std::nothrow) SCA_TezPdfWriter();
    case SCA_TEZ_FORMAT_EXCEL:
        return new (std::nothrow) SCA_TezExcelWriter();
    case SCA_TEZ_FORMAT_JSON:
        return new (std::nothrow) SCA_TezJsonWriter();
    default:
        return nullptr;
    }
}

} // namespace

SCA_TezReportWriter* SCA_TezReportWriterFactory::Create(uint32_t format, uint32_t* error) {
    if (!SCA_TezIsValidReportFormat(format)) {
        if (error != nullptr) {
            *error = SCA_TEZ_ERR_FORMAT;
        }
        return nullptr;
    }
    SCA_TezReportWriter* writer = Make(format);
    if (writer == nullptr && error != nullptr) {
        *error = ENOMEM;
    }
    return writer;
}
