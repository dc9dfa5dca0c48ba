// SPDX-License-Identifier: MIT
#include "libkvn/SCA_KvnReportIndex.h"

#include <cstdio>
#include <new>

#include "libkvn/SCA_KvnDevice.h"
#include "libkvn/SCA_KvnReport.h"
#include "libkvn/SCA_KvnStoredForm.h"
#include "libmor/SCA_FileSystem.h"
#include "libmor/SCA_Report.h"
#include "model/SCA_ConfigObj.h"

namespace {

const tagSCA_KVN_LIST_TEXTS kTexts = {
    "SCA_KvnReportIndex::Serialize: invalid config object",
    "SCA_KvnReportIndex::Serialize: Cannot create report info config object",
    "SCA_KvnReportIndex::Serialize: Cannot serialize report info object",
    "SCA_KvnReportIndex::Deserilaize: cannot create report info object",
    "SCA_KvnReportIndex::Deserialize: Cannot deserialize report info to the report index",
};

} // namespace

SCA_KvnReportIndex::SCA_KvnReportIndex(SCA_TezConfig* config, SCA_KvnNetConfigUser* userConfig,
                                       SCA_KvnDevice* device)
    : m_Config(config), m_UserConfig(userConfig), m_Device(device) {}

SCA_KvnReportInfo* SCA_KvnReportIndex::NewRecord() const {
    return new (std::nothrow) SCA_KvnReportInfo();
}

int SCA_KvnReportIndex::AddReport(SCA_KvnReportInfo** info) {
    SCA_KvnReportInfo* added = AddNextRecord([](SCA_KvnReportInfo* /*record*/) {});
    if (added == nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KvnReportIndex::AddReport: cannot create report info object");
        return 0;
    }
    return SCA_KvnHandOut(added, info);
}

int SCA_KvnReportIndex::GetReportInfo(uint32_t reportId, SCA_KvnReportInfo** info) const {
    return SCA_KvnHandOut(FindRecord(reportId), info);
}

int SCA_KvnReportIndex::GetReportByDay(uint32_t absDay, SCA_KvnReportInfo** info) const {
    return SCA_KvnHandOut(FindRecordIf([absDay](const SCA_KvnReportInfo& record) {
                              return record.GetAbsDay() == absDay;
                          }),
                          info);
}

int SCA_KvnReportIndex::IsReportExists(const SCA_KvnReportInfo* info) const {
    return FindRecordIf([info](const SCA_KvnReportInfo& record) {
               return record.IsIdentical(info) != 0;
           }) != nullptr
               ? 1
               : 0;
}

int SCA_KvnReportIndex::LoadReport(uint32_t reportId, SCA_KvnReport* report) const {
    auto say = SCA_GetReportFunction(__FILE__, __LINE__);
    if (FindRecord(reportId) == nullptr) {
        say(SCA_LEVEL_ERROR, "SCA_KvnReportIndex::LoadReport: invalid report id - %u", reportId);
        return 0;
    }
    char path[SCA_KVN_PATH_SIZE];
    if (m_Device == nullptr || report == nullptr ||
        !m_Device->BuildReportFileName(reportId, path, sizeof(path))) {
        return 0;
    }
    uint32_t code = 0;
    if (!report->Load(path, &code)) {
        say(SCA_LEVEL_ERROR,
            "SCA_KvnReportIndex::LoadReport: Cannot load report file (ERR:%u) - %s", code, path);
        return 0;
    }
    return 1;
}

int SCA_KvnReportIndex::DeleteReport(uint32_t reportId) {
    if (!DestroyRecord(reportId)) {
        return 0;
    }
    char path[SCA_KVN_PATH_SIZE];
    if (m_Device != nullptr && m_Device->BuildReportFileName(reportId, path, sizeof(path))) {
        uint32_t ignored = 0;
        SCA_DeleteFile(path, &ignored);
    }
    return 1;
}

int SCA_KvnReportIndex::ClearAll() {
    DestroyRecords();
    return 1;
}

int SCA_KvnReportIndex::Serialize(SCA_ConfigObj* object, uint32_t maxCount) const {
    return SerializeRecords(
        object, maxCount, kTexts,
        [](const SCA_KvnReportInfo* info, SCA_ConfigObj* child) { return info->Serialize(child); });
}

int SCA_KvnReportIndex::Deserialize(SCA_ConfigObj* object) {
    if (object == nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KvnReportIndex::Deserialize: invalid config object");
        return 0;
    }
    ClearAll();
    return DeserializeRecords(
        object, true, kTexts,
        [](SCA_KvnReportInfo* info, SCA_ConfigObj* child) { return info->Deserialize(child); });
}

int SCA_KvnReportIndex::Show() const {
    std::printf("%u Device Report%s in the Report Index\n\n", Count(), Count() == 1 ? "" : "s");
    return ShowRecords(nullptr);
}
