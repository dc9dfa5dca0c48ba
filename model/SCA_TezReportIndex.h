#pragma once

#include <cstdint>

#include "model/SCA_TezRecordList.h"
#include "model/SCA_TezReportInfo.h"

class SCA_TezConfig;
class SCA_TezConfigUser;

// The report index file and the stored reports, all in the reports folder.
inline constexpr const char* SCA_TEZ_REPORT_INDEX_FILE = "report_index.hdx";
inline constexpr const char* SCA_TEZ_REPORT_INDEX_ROOT = "ReportIndex";
inline constexpr uint32_t SCA_TEZ_REPORT_INDEX_FILE_TYPE = 1017;
// A stored report's file is "report_%.6u.hdx" with its report id (GetReportFilePath).

// The headers of the stored monitoring reports, oldest first. Item ids are report ids; they
// are never handed out twice, so a deleted report's id never names another report.
//
// The index owns its headers; not copyable.
class SCA_TezReportIndex : public SCA_TezRecordList<SCA_TezReportInfo> {
public:
    // The configurations are kept, not owned.
    SCA_TezReportIndex(SCA_TezConfig* config, SCA_TezConfigUser* userConfig);
    ~SCA_TezReportIndex() override = default;

    SCA_TezConfig* GetConfig() const { return m_Config; }
    SCA_TezConfigUser* GetUserConfig() const { return m_UserConfig; }
    // The id that the next added report receives.
    uint32_t GetNextReportId() const { return GetNextItemId(); }

    // By report id; out untouched when none matches.
    int GetReportInfo(uint32_t id, SCA_TezReportInfo** info) const { return GetItem(id, info); }

    // Appends a copy of info under the next report id (written into the copy), handed back
    // through reportId. When maxReports is not 0 and the index then holds more reports, the
    // oldest are deleted (files included) until it holds maxReports.
    int AddReport(const SCA_TezReportInfo& info, uint32_t maxReports, uint32_t* reportId);
    // Removes the header and deletes the report's file when there is one.
    int DeleteReport(uint32_t id);
    // Deletes every report; the ids handed out stay used.
    int DeleteAllReports();
    // 1 when the index holds the same report as info (SCA_TezReportInfo::IsSameReport).
    int IsReportExists(const SCA_TezReportInfo& info) const;

    // The reports folder, where the index file and the report files live.
    void SetReportsDir(const char* dir);
    const char* GetReportsDir() const { return m_ReportsDir; }
    // The path of a report's file; 0 without a folder or when the path does not fit.
    int GetReportFilePath(uint32_t id, char* path, uint32_t size) const;

    // Reads the index file; a missing file is an empty index. On failure (reported) the index
    // is left as it was.
    int Load();
    // Writes the index file atomically (mode 0600), creating the folder if needed.
    int Save();

protected:
    SCA_TezReportInfo* NewRecord() const override { return new (std::nothrow) SCA_TezReportInfo(); }

private:
    // Deletes the file of a report; a missing file or folder is not an error.
    void DeleteReportFile(uint32_t id) const;

    SCA_TezConfig* m_Config;
    SCA_TezConfigUser* m_UserConfig;
    char m_ReportsDir[4096] = {};
};
