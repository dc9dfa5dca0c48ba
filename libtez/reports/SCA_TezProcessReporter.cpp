#include "libtez/reports/SCA_TezProcessReporter.h"

#include <cerrno>
#include <memory>

#include "libtez/reports/SCA_TezReportModel.h"
#include "libtez/reports/SCA_TezReportWriter.h"
#include "libtez/reports/SCA_TezReportWriterFactory.h"
#include "model/SCA_TezRepStatus.h"

int SCA_TezProcessReporter::IsCounterIncluded(uint32_t mode, uint32_t counterType) {
    return SCA_TezReportModel::IsCounterIncluded(mode, counterType) ? 1 : 0;
}

bool SCA_TezProcessReporter::IsRepStatusFondBold(uint32_t repStatus) {
    return SCA_TezIsRepStatusBold(repStatus);
}

int SCA_TezProcessReporter::Save(SCA_TezProcessList* list, uint32_t selector, uint32_t format,
                                 uint32_t option, const char* path, uint32_t* error,
                                 SCA_TezProcessLog* log) {
    std::unique_ptr<SCA_TezReportWriter> writer(SCA_TezReportWriterFactory::Create(format, error));
    if (writer == nullptr) {
        return 0;
    }
    SCA_TezReportModel model;
    if (path == nullptr || !model.Build(list, log, selector, option)) {
        if (error != nullptr) {
            *error = EINVAL;
        }
        return 0;
    }
    return writer->Write(model, path, error);
}
