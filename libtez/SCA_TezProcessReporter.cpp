#include "libtez/SCA_TezProcessReporter.h"

#include <cerrno>
#include <memory>

#include "libtez/SCA_TezReportModel.h"
#include "libtez/SCA_TezReportWriter.h"
#include "libtez/SCA_TezReporter.h"
#include "model/SCA_TezVocabulary.h"

namespace {

constexpr uint32_t kIncludeNone = 0;
constexpr uint32_t kIncludeMain = 1;

} // namespace

int SCA_TezProcessReporter::IsCounterIncluded(uint32_t mode, uint32_t counterType) {
    if (mode == kIncludeNone) {
        return 0;
    }
    if (mode == kIncludeMain) {
        return counterType == SCA_COUNTER_PROCESS_CPU_USAGE ||
                       counterType == SCA_COUNTER_PROCESS_MEM_USED ||
                       counterType == SCA_COUNTER_PROCESS_DATA_RATE
                   ? 1
                   : 0;
    }
    return 1;
}

bool SCA_TezProcessReporter::IsRepStatusFondBold(uint32_t repStatus) {
    return SCA_TezReporter::IsRepStatusFondBold(repStatus);
}

int SCA_TezProcessReporter::Save(SCA_TezProcessList* list, uint32_t selector, uint32_t format,
                                 uint32_t option, const char* path, uint32_t* error,
                                 SCA_TezProcessLog* log) {
    std::unique_ptr<SCA_TezReportWriter> writer(SCA_TezReportWriter::Create(format));
    if (writer == nullptr) {
        if (error != nullptr) {
            *error = SCA_TezReportWriter::IsValidFormat(format) ? ENOMEM : SCA_TEZ_ERR_FORMAT;
        }
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
