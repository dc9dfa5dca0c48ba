#include "model/SCA_TezReportIndex.h"

#include <cerrno>
#include <cstdio>

#include "libmor/SCA_FileSystem.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"

namespace {

const tagSCA_TEZ_LIST_FILE kIndexFile = {SCA_TEZ_REPORT_INDEX_FILE, SCA_TEZ_REPORT_INDEX_ROOT,
                                         SCA_TEZ_REPORT_INDEX_FILE_TYPE, "report index",
                                         "no reports folder"};

} // namespace

SCA_TezReportIndex::SCA_TezReportIndex(SCA_TezConfig* config, SCA_TezConfigUser* userConfig)
    : SCA_TezRecordList("SCA_TezReportIndex", "report index"), m_Config(config),
      m_UserConfig(userConfig) {}

int SCA_TezReportIndex::AddReport(const SCA_TezReportInfo& info, uint32_t maxReports,
                                  uint32_t* reportId) {
    auto* header = new (std::nothrow) SCA_TezReportInfo(info);
    uint32_t id = kNoId;
    if (header == nullptr || !AddRecord(header, nullptr, &id, &SCA_TezReportInfo::SetReportId)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "SCA_TezReportIndex::AddReport: "
                                                  "cannot add report - %s",
                                                  info.GetReportTitle());
        SCA_Object::Destroy(header);
        return 0;
    }
    while (maxReports != 0 && Count() > maxReports) {
        DeleteReport(GetHead()->GetId());
    }
    if (reportId != nullptr) {
        *reportId = id;
    }
    return 1;
}

int SCA_TezReportIndex::DeleteReport(uint32_t id) {
    if (!DeleteRecord(id)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "SCA_TezReportIndex::DeleteReport: "
                                                  "invalid report ID - %u",
                                                  id);
        return 0;
    }
    DeleteReportFile(id);
    return 1;
}

int SCA_TezReportIndex::DeleteAllReports() {
    while (GetHead() != nullptr) {
        DeleteReport(GetHead()->GetId());
    }
    return 1;
}

int SCA_TezReportIndex::IsReportExists(const SCA_TezReportInfo& info) const {
    for (Item* node = GetHead(); node != nullptr; node = node->GetNext()) {
        if (node->GetItem() != nullptr && info.IsSameReport(*node->GetItem())) {
            return 1;
        }
    }
    return 0;
}

void SCA_TezReportIndex::SetReportsDir(const char* dir) {
    SCA_StrnCpy(m_ReportsDir, dir, sizeof(m_ReportsDir));
}

int SCA_TezReportIndex::GetReportFilePath(uint32_t id, char* path, uint32_t size) const {
    char name[64];
    std::snprintf(name, sizeof(name), "report_%.6u.hdx", id);
    return JoinPath(m_ReportsDir, name, path, size);
}

void SCA_TezReportIndex::DeleteReportFile(uint32_t id) const {
    char path[kPathSize];
    if (!GetReportFilePath(id, path, sizeof(path)) || !SCA_IsFileExists(path)) {
        return;
    }
    uint32_t error = 0;
    if (!SCA_DeleteFile(path, &error) && error != ENOENT) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_WARNING,
                                                  "SCA_TezReportIndex::DeleteReport: "
                                                  "cannot delete report file %s (ERR:%u)",
                                                  path, error);
    }
}

int SCA_TezReportIndex::Load() {
    return LoadFile(m_ReportsDir, kIndexFile);
}

int SCA_TezReportIndex::Save() {
    return SaveFile(m_ReportsDir, kIndexFile);
}
