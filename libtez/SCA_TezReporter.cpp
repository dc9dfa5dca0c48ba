#include "libtez/SCA_TezReporter.h"

#include <cerrno>
#include <memory>

#include "libtez/SCA_TezReportModel.h"
#include "libtez/SCA_TezReportWriter.h"
#include "model/SCA_TezRepStatus.h"

bool SCA_TezReporter::IsRepStatusFondBold(uint32_t repStatus) {
    return repStatus == SCA_REP_STATUS_WARNING || repStatus == SCA_REP_STATUS_ERROR ||
           repStatus == SCA_REP_STATUS_FAILED;
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
