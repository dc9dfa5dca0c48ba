#include "libtez/SCA_TezReporter.h"

#include <cerrno>
#include <memory>

#include "libtez/SCA_TezReportModel.h"
#include "libtez/SCA_TezReportWriter.h"
#include "model/SCA_TezRepStatus.h"
#include "model/SCA_TezReport.h"

namespace {

// The failure status of a counter whose source failed.
constexpr uint32_t kRepStatusFailed = 6;

} // namespace

bool SCA_TezReporter::IsRepStatusFondBold(uint32_t repStatus) {
    return repStatus == SCA_REP_STATUS_WARNING || repStatus == SCA_REP_STATUS_ERROR ||
           repStatus == kRepStatusFailed;
}

int SCA_TezReporter::SaveReport(SCA_TezReport* report, uint32_t format, uint32_t /*option*/,
                                const char* path, uint32_t* error) {
    std::unique_ptr<SCA_TezReportWriter> writer(SCA_TezReportWriter::Create(format));
    if (writer == nullptr) {
        if (error != nullptr) {
            *error = SCA_TezReportWriter::IsValidFormat(format) ? ENOMEM : SCA_TEZ_ERR_FORMAT;
        }
        return 0;
    }
    SCA_TezReportModel model;
    if (path == nullptr || !model.Build(report)) {
        if (error != nullptr) {
            *error = EINVAL;
        }
        return 0;
    }
    return writer->Write(model, path, error);
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
