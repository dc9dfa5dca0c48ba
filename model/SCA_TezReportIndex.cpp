#include "model/SCA_TezReportIndex.h"

#include <cerrno>
#include <cstdio>

#include "libmor/SCA_FileSystem.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"

namespace {

// Room for the folder, a '/' and the longest file name.
constexpr uint32_t kPathSize = 4096 + 64;

// "<dir>/<name>" in path; 0 without a folder or when it does not fit.
int JoinPath(const char* dir, const char* name, char* path, uint32_t size) {
    if (dir[0] == '\0' || path == nullptr || size == 0) {
        return 0;
    }
    const int length = std::snprintf(path, size, "%s/%s", dir, name);
    return length > 0 && static_cast<uint32_t>(length) < size ? 1 : 0;
}

} // namespace

SCA_TezReportIndex::SCA_TezReportIndex(SCA_TezConfig* config, SCA_TezConfigUser* userConfig)
    : m_Config(config), m_UserConfig(userConfig) {}

int SCA_TezReportIndex::AddReport(const SCA_TezReportInfo& info, uint32_t maxReports,
                                  uint32_t* reportId) {
    auto* header = new (std::nothrow) SCA_TezReportInfo(info);
    uint32_t id = kNoId;
    if (header == nullptr || !AddRecord(header, nullptr, &id)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(5,
                                                  "SCA_TezReportIndex::AddReport: "
                                                  "cannot add report - %s",
                                                  info.GetReportTitle());
        SCA_Object::Destroy(header);
        return 0;
    }
    header->SetReportId(id);
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
        SCA_GetReportFunction(__FILE__, __LINE__)(5,
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

int SCA_TezReportIndex::GetIndexPath(char* path, uint32_t size) const {
    return JoinPath(m_ReportsDir, SCA_TEZ_REPORT_INDEX_FILE, path, size);
}

void SCA_TezReportIndex::DeleteReportFile(uint32_t id) const {
    char path[kPathSize];
    if (!GetReportFilePath(id, path, sizeof(path)) || !SCA_IsFileExists(path)) {
        return;
    }
    uint32_t error = 0;
    if (!SCA_DeleteFile(path, &error) && error != ENOENT) {
        SCA_GetReportFunction(__FILE__, __LINE__)(4,
                                                  "SCA_TezReportIndex::DeleteReport: "
                                                  "cannot delete report file %s (ERR:%u)",
                                                  path, error);
    }
}

int SCA_TezReportIndex::Load() {
    char path[kPathSize];
    if (!GetIndexPath(path, sizeof(path))) {
        SCA_GetReportFunction(__FILE__, __LINE__)(5, "SCA_TezReportIndex::Load: "
                                                     "no reports folder");
        return 0;
    }
    if (!SCA_IsFileExists(path)) {
        return 1;
    }
    SCA_ConfigObj root(SCA_TEZ_REPORT_INDEX_ROOT, nullptr);
    uint32_t error = 0;
    uint32_t fileType = 0;
    if (!root.IsConstructed() || !root.Load(path, &error, &fileType)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(5,
                                                  "SCA_TezReportIndex::Load: "
                                                  "cannot load report index %s (ERR:%u)",
                                                  path, error);
        return 0;
    }
    if (fileType != SCA_TEZ_REPORT_INDEX_FILE_TYPE || !Deserialize(&root)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(5,
                                                  "SCA_TezReportIndex::Load: "
                                                  "invalid report index %s",
                                                  path);
        return 0;
    }
    return 1;
}

int SCA_TezReportIndex::Save() {
    char path[kPathSize];
    if (!GetIndexPath(path, sizeof(path))) {
        SCA_GetReportFunction(__FILE__, __LINE__)(5, "SCA_TezReportIndex::Save: "
                                                     "no reports folder");
        return 0;
    }
    uint32_t error = 0;
    if (!SCA_CreateDirectory(m_ReportsDir, &error)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(5,
                                                  "SCA_TezReportIndex::Save: "
                                                  "cannot create folder %s (ERR:%u)",
                                                  m_ReportsDir, error);
        return 0;
    }
    SCA_ConfigObj root(SCA_TEZ_REPORT_INDEX_ROOT, nullptr);
    if (!root.IsConstructed() || !Serialize(&root) ||
        !root.Save(path, SCA_TEZ_REPORT_INDEX_FILE_TYPE, 0, &error)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(5,
                                                  "SCA_TezReportIndex::Save: "
                                                  "cannot save report index %s (ERR:%u)",
                                                  path, error);
        return 0;
    }
    return 1;
}

int SCA_TezReportIndex::Serialize(SCA_ConfigObj* object) const {
    if (!SerializeRecords(object)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(5, "SCA_TezReportIndex::Serialize: "
                                                     "cannot serialize report index");
        return 0;
    }
    return 1;
}

int SCA_TezReportIndex::Deserialize(SCA_ConfigObj* object) {
    if (!DeserializeRecords(object)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(5, "SCA_TezReportIndex::Deserialize: "
                                                     "cannot read report index");
        return 0;
    }
    return 1;
}
