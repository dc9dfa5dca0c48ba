// SPDX-License-Identifier: MIT
#include <new>

#include "libtez/reports/SCA_TezReportWriterFactory.h"
#include "libtez/reports/formats/SCA_TezExcelWriter.h"
#include "libtez/reports/formats/SCA_TezPdfWriter.h"
#include "libtez/reports/formats/SCA_TezXmlWriter.h"
#include "model/SCA_TezReportFormat.h"

SCA_TezReportWriter* SCA_TezCreateModuleWriter(uint32_t format) {
    switch (format) {
    case SCA_TEZ_FORMAT_XML:
        return new (std::nothrow) SCA_TezXmlWriter();
    case SCA_TEZ_FORMAT_PDF:
        return new (std::nothrow) SCA_TezPdfWriter();
    case SCA_TEZ_FORMAT_EXCEL:
        return new (std::nothrow) SCA_TezExcelWriter();
    default:
        return nullptr;
    }
}
