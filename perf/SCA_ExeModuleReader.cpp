#include "perf/SCA_ExeModuleReader.h"

#include <cerrno>
#include <sys/stat.h>

#include "libmor/SCA_Report.h"
#include "libmor/SCA_Time.h"
#include "model/SCA_ExeModule.h"
#include "model/SCA_ExeModuleList.h"
#include "perf/SCA_PerfErrors.h"
#include "perf/SCA_PerfFileReader.h"
#include "perf/SCA_ProcParser.h"

namespace {

constexpr uint64_t kNsPerAbsUnit = 100;

// A file time as the platform's absolute time (100 ns units since 1970).
uint64_t ToAbsTime(const timespec& time) {
    return static_cast<uint64_t>(time.tv_sec) * SCA_ABS_TIME_SECOND +
           static_cast<uint64_t>(time.tv_nsec) / kNsPerAbsUnit;
}

} // namespace

int SCA_ExeModuleReader::Init(SCA_ExeModuleList* list, uint32_t pid, const std::string& procRoot,
                              uint32_t* error) {
    if (list == nullptr) {
        *error = SCA_PERF_ERROR_ARGUMENT;
        return 0;
    }
    list->ClearAll();
    std::string text;
    const std::string path = procRoot + "/" + std::to_string(pid) + "/maps";
    if (!SCA_PerfFileReader::ReadFile(path, &text)) {
        *error = SCA_PerfErrorFromErrno(errno);
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR,
            "SCA_ExeModuleReader::Init: cannot read modules of process %u (ERR:%u)", pid, *error);
        return 0;
    }
    uint32_t id = 0;
    for (const std::string& file : SCA_ProcParser::ParseMapsPaths(text)) {
        auto* module = new SCA_ExeModule();
        module->SetId(id++);
        module->SetFileName(file.c_str());
        struct stat info {};
        if (stat(file.c_str(), &info) == 0) {
            module->SetFileSize(static_cast<uint64_t>(info.st_size));
            module->SetModificationDate(ToAbsTime(info.st_mtim));
            module->SetCreationDate(ToAbsTime(info.st_ctim));
        }
        if (!list->AddModule(module)) {
            SCA_Object::Destroy(module);
        }
    }
    return 1;
}
