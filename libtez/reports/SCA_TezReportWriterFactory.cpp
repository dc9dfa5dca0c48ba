// SPDX-License-Identifier: MIT
#include "libtez/reports/SCA_TezReportWriterFactory.h"

#include <cerrno>
#include <dlfcn.h>
#include <new>
#include <string>

#include "libmor/SCA_LateLibrary.h"
#include "libtez/reports/SCA_TezConfigWriter.h"
#include "libtez/reports/SCA_TezCsvWriter.h"
#include "libtez/reports/SCA_TezHtmlWriter.h"
#include "libtez/reports/SCA_TezJsonWriter.h"
#include "libtez/reports/SCA_TezReportWriter.h"
#include "libtez/reports/SCA_TezTextWriter.h"
#include "model/SCA_TezReportFormat.h"

namespace {

using ModuleWriterMaker = decltype(&SCA_TezCreateModuleWriter);

constexpr char kModuleFileName[] = "libtez_report_formats.so";
constexpr char kModuleEntry[] = "SCA_TezCreateModuleWriter";

bool InModule(uint32_t format) {
    return format == SCA_TEZ_FORMAT_XML || format == SCA_TEZ_FORMAT_PDF ||
           format == SCA_TEZ_FORMAT_EXCEL;
}

// The module lies in the folder this library was loaded from, in the build tree as installed.
std::string ModulePath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&SCA_TezReportWriterFactory::Create), &info) == 0 ||
        info.dli_fname == nullptr) {
        return kModuleFileName;
    }
    const std::string library = info.dli_fname;
    const size_t slash = library.rfind('/');
    return slash == std::string::npos ? kModuleFileName
                                      : library.substr(0, slash + 1) + kModuleFileName;
}

ModuleWriterMaker LoadModule() {
    static const std::string path = ModulePath();
    SCA_LateLibrary module(path.c_str());
    ModuleWriterMaker make = nullptr;
    if (!module.Resolve(kModuleEntry, &make)) {
        module.Failed("report writers");
    }
    return make;
}

// Loaded once, by the first caller of any thread; a module that failed stays failed.
ModuleWriterMaker ModuleMaker() {
    static const ModuleWriterMaker make = LoadModule();
    return make;
}

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
    const ModuleWriterMaker make = InModule(format) ? ModuleMaker() : nullptr;
    if (InModule(format) && make == nullptr) {
        if (error != nullptr) {
            *error = ELIBACC;
        }
        return nullptr;
    }
    SCA_TezReportWriter* writer = make != nullptr ? make(format) : Make(format);
    if (writer == nullptr && error != nullptr) {
        *error = ENOMEM;
    }
    return writer;
}
