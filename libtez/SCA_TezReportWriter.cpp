#include "libtez/SCA_TezReportWriter.h"

#include <cerrno>
#include <new>

#include "libmor/SCA_FileSystem.h"
#include "libtez/SCA_TezConfigWriter.h"
#include "libtez/SCA_TezCsvWriter.h"
#include "libtez/SCA_TezExcelWriter.h"
#include "libtez/SCA_TezHtmlWriter.h"
#include "libtez/SCA_TezJsonWriter.h"
#include "libtez/SCA_TezPdfWriter.h"
#include "libtez/SCA_TezTextWriter.h"
#include "libtez/SCA_TezXmlWriter.h"

const char* SCA_TezReportWriter::GetExtension(uint32_t format) {
    const tagSCA_TEZ_REPORT_FORMAT* entry = SCA_TezGetReportFormat(format);
    return entry != nullptr ? entry->Extension : nullptr;
}

int SCA_TezReportWriter::IsValidFormat(uint32_t format) {
    return GetExtension(format) != nullptr ? 1 : 0;
}

SCA_TezReportWriter* SCA_TezReportWriter::Create(uint32_t format) {
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

int SCA_TezReportWriter::WriteText(const std::string& text, const char* path, uint32_t* error) {
    uint32_t ignored = 0;
    return SCA_WriteFileAtomic(path, text.data(), text.size(), error != nullptr ? error : &ignored);
}
