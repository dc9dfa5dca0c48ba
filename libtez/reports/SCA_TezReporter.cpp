// SPDX-License-Identifier: MIT
#include "libtez/reports/SCA_TezReporter.h"

#include <cerrno>
#include <memory>

#include "libtez/reports/SCA_TezReportModel.h"
#include "libtez/reports/SCA_TezReportWriter.h"
#include "libtez/reports/SCA_TezReportWriterFactory.h"
#include "model/SCA_TezRepStatus.h"
#include "model/SCA_TezReport.h"
#include "model/SCA_TezReportFormat.h"

bool SCA_TezReporter::IsRepStatusFondBold(uint32_t repStatus) {
    return SCA_TezIsRepStatusBold(repStatus);
}

int SCA_TezReporter::SaveReport(SCA_TezReport* report, uint32_t format, uint32_t option,
                                const char* path, uint32_t* error) {
    std::unique_ptr<SCA_TezReportWriter> writer(SCA_TezReportWriterFactory::Create(format, error));
    if (writer == nullptr) {
        return 0;
    }
    // The own formats hold the whole report whatever the mode: the save dialogs offer none.
    const bool whole = format == SCA_TEZ_FORMAT_REPORT || format == SCA_TEZ_FORMAT_DATA;
    SCA_TezReportModel model;
    if (path == nullptr || !model.Build(report, whole ? SCA_TEZ_REPORT_MODE_DETAILED : option)) {
        if (error != nullptr) {
            *error = EINVAL;
        }
        return 0;
    }
    return writer->Write(model, path, error);
}

int SCA_TezReporter::Save(SCA_TezReport* report, uint32_t format, uint32_t option, const char* path,
                          uint32_t* error) {
    return SCA_TezReporter(nullptr, nullptr, nullptr)
        .SaveReport(report, format, option, path, error);
}

int SCA_TezReporter::SaveReport(SCA_TezReport* report, uint32_t counterId, uint32_t format,
                                uint32_t option, const char* path, uint32_t* error) {
    if (report == nullptr || !report->KeepCounter(counterId)) {
        if (error != nullptr) {
            *error = ENOENT;
        }
        return 0;
    }
    report->UpdateSummary();
    report->UpdateStatistics();
    return SaveReport(report, format, option, path, error);
}
