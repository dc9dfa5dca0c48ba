// SPDX-License-Identifier: MIT
#include "libkvn/SCA_KvnReportList.h"

#include <cstdio>
#include <new>

#include "libkvn/SCA_KvnStoredForm.h"
#include "libmor/SCA_Report.h"
#include "model/SCA_ConfigObj.h"

namespace {

const tagSCA_KVN_LIST_TEXTS kTexts = {
    "SCA_KvnReportList::Serialize: invalid config object",
    "SCA_KvnReportList::Serialize: Cannot create report info config object",
    "SCA_KvnReportList::Serialize: Cannot serialize report info object",
    "SCA_KvnReportList::Deserilaize: cannot create report info object",
    "SCA_KvnReportList::Deserialize: Cannot deserialize report info to the report index",
};

} // namespace

SCA_KvnReportList::SCA_KvnReportList(SCA_TezConfig* config, SCA_KvnNetConfigUser* userConfig)
    : m_Config(config), m_UserConfig(userConfig) {}

SCA_KvnReport* SCA_KvnReportList::NewRecord() const {
    return new (std::nothrow) SCA_KvnReport();
}

int SCA_KvnReportList::AddReport(uint32_t reportId, SCA_KvnReport** report) {
    SCA_KvnReport* added = AddRecordAs(reportId);
    if (added == nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KvnReportList::AddMonitorReport: cannot create report object");
        return 0;
    }
    return SCA_KvnHandOut(added, report);
}

int SCA_KvnReportList::GetReport(uint32_t reportId, SCA_KvnReport** report) const {
    return SCA_KvnHandOut(FindRecord(reportId), report);
}

int SCA_KvnReportList::GetReportByDay(uint32_t absDay, SCA_KvnReport** report) const {
    return SCA_KvnHandOut(FindRecordIf([absDay](const SCA_KvnReport& record) {
                              return record.GetAbsDay() == absDay;
                          }),
                          report);
}

int SCA_KvnReportList::DeleteReport(uint32_t reportId) {
    DestroyRecord(reportId);
    return 1;
}

int SCA_KvnReportList::ClearAll() {
    DestroyRecords();
    return 1;
}

int SCA_KvnReportList::Serialize(SCA_ConfigObj* object) const {
    return SerializeRecords(object, kTexts, [](const SCA_KvnReport* report, SCA_ConfigObj* child) {
        return report->Serialize(child);
    });
}

int SCA_KvnReportList::Deserialize(SCA_ConfigObj* object) {
    if (object == nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KvnReportList::Deserialize: invalid config object");
        return 0;
    }
    ClearAll();
    return DeserializeRecords(
        object, false, kTexts,
        [](SCA_KvnReport* report, SCA_ConfigObj* child) { return report->Deserialize(child); });
}

int SCA_KvnReportList::Show() const {
    std::printf("%u Device Report%s in the Report List\n\n", Count(), Count() == 1 ? "" : "s");
    for (Item* node = GetHead(); node != nullptr; node = node->GetNext()) {
        node->GetItem()->Show();
        std::printf("\n");
    }
    return 1;
}
