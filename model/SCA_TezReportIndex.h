// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "containers/SCA_List.h"
#include "model/SCA_TezRecordList.h"
#include "model/SCA_TezReport.h"
#include "model/SCA_TezReportInfo.h"

// The folder, inside the service's configuration folder, that holds the report index and the
// report files.
inline constexpr const char* SCA_TEZ_REPORTS_FOLDER = "Reports";

class SCA_TezConfig;
class SCA_TezConfigUser;

// The report index file and the stored reports, all in the reports folder.
inline constexpr const char* SCA_TEZ_REPORT_INDEX_FILE = "report_index.hdx";
inline constexpr const char* SCA_TEZ_REPORT_INDEX_ROOT = "ReportIndex";
inline constexpr uint32_t SCA_TEZ_REPORT_INDEX_FILE_TYPE = 1017;
inline constexpr const char* SCA_TEZ_REPORT_ROOT = "Report";
inline constexpr uint32_t SCA_TEZ_REPORT_FILE_TYPE = 1018;
// A stored report's file is "report_%.6u.hdx" with its report id (GetReportFilePath).

// AddReport's flags: also write the report's stored form (with its samples) into its file;
// with SCA_TEZ_REPORT_INTO_RESERVE too, write that file into room kept for it (MakeReserve)
// rather than into the disk's free room.
inline constexpr uint32_t SCA_TEZ_REPORT_SAVE_FILE = 0x1;
inline constexpr uint32_t SCA_TEZ_REPORT_INTO_RESERVE = 0x2;

// The room kept in the reports folder for the reports that a stop on a full disk would lose: as
// many files as reports it takes, each of that many bytes, allocated when the service starts.
// A reserve is "room_for_reports_<n>.reserve": never read, never listed as a report.
inline constexpr uint32_t SCA_TEZ_REPORT_RESERVES = 4;
inline constexpr uint64_t SCA_TEZ_REPORT_RESERVE_BYTES = uint64_t{4} << 20;

// The fields and operators of FilterReports and FillFilterValues.
inline constexpr uint32_t SCA_TEZ_FILTER_PROFILE = 0;
inline constexpr uint32_t SCA_TEZ_FILTER_TITLE = 1;
inline constexpr uint32_t SCA_TEZ_FILTER_HOST = 2;
inline constexpr uint32_t SCA_TEZ_FILTER_DATE = 3; // the report date, "YYYY-MM-DD" (local)
inline constexpr uint32_t SCA_TEZ_FILTER_CONTAINS = 0;
inline constexpr uint32_t SCA_TEZ_FILTER_BEGINS = 1;
inline constexpr uint32_t SCA_TEZ_FILTER_ENDS = 2;
inline constexpr uint32_t SCA_TEZ_FILTER_EQUALS = 3;

// The headers of the stored monitoring reports, oldest first. Item ids are report ids; they
// are never handed out twice, so a deleted report's id never names another report.
//
// The index owns its headers; not copyable. Tasks, agents and the control thread use one index
// at once: its operations take its lock (Lock/Unlock hold it across several of them).
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
    // Adds report as the newest report: with SCA_TEZ_REPORT_SAVE_FILE its stored form is written
    // into the new report's file first, and nothing is added when that fails (*error says
    // why: into a reserve, EFBIG for a report larger than each reserve left, ENOSPC when none
    // is left). The report takes the new report id and monitorMode; a full index then loses
    // its oldest reports, files included.
    int AddReport(SCA_TezReport* report, uint32_t monitorMode, uint32_t flags, uint32_t maxReports,
                  uint32_t* error);
    // Reads the stored report id into report; 0 (reported) for an unknown id or a file that
    // cannot be read.
    int LoadReport(uint32_t id, SCA_TezReport* report);
    // Appends to result (which does not own them) the headers whose field, as its text,
    // contains, begins with, ends with or equals text (case-insensitive for ASCII letters), in
    // index order; without useText every header. 0 for an unknown field or operator.
    int FilterReports(int useText, uint32_t field, uint32_t op, const char* text,
                      SCA_List<SCA_TezReportInfo*>* result);
    // One value field per distinct value of field among the headers, sorted, each named by its
    // value (so that a list of the names offers the values). flags is reserved (0).
    int FillFilterValues(uint32_t field, SCA_ConfigObj* object, uint32_t flags);

    void Lock() const { m_Lock.lock(); }
    void Unlock() const { m_Lock.unlock(); }
    // The number of reports when the lock was last released, read without taking it: the status
    // that every client polls each second never waits behind a report being written or deleted.
    uint32_t GetPublishedCount() const { return m_PublishedCount.load(std::memory_order_acquire); }

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

    // Makes the reserves (SCA_TEZ_REPORT_RESERVES) that are missing or short of room, in the
    // reports folder. 0 (reported with the reason) when one cannot be made; the index works on
    // without it.
    int MakeReserve();
    // Gives the room of the reserves left back to the disk.
    void FreeReserve();
    // The reserves MakeReserve keeps; for tests, which need fewer or smaller ones.
    void SetReserveSize(uint32_t count, uint64_t bytes);

    // Reads the index file, after removing the temporary files that report writers killed
    // before their rename left. Every id handed out afterwards is past the id of every report
    // file in the folder, so that no stored report is ever written over. Report files that the
    // index does not list (a service killed before it saved the index) are listed from the
    // headers in them, and an unreadable index is rebuilt from them all (both reported); the
    // next Save then first moves the unreadable file aside (to "report_index.hdx.unreadable"),
    // so that what was in it is not lost. 0 (reported) without a folder, or when the headers
    // cannot be taken; the index is then left as it was.
    int Load();
    // 1 after a Load that found the index file unreadable (and rebuilt the index), until the
    // next Save has moved the file aside.
    int IsIndexFileDamaged() const { return m_Unreadable ? 1 : 0; }
    // Writes the index file atomically (mode 0600), creating the folder if needed.
    int Save();

protected:
    SCA_TezReportInfo* NewRecord() const override { return new (std::nothrow) SCA_TezReportInfo(); }

private:
    // The index's lock, recursive; its release publishes the number of reports.
    class PublishingLock {
    public:
        explicit PublishingLock(const SCA_TezReportIndex* index) : m_Index(index) {}
        void lock() { m_Mutex.lock(); }
        bool try_lock() { return m_Mutex.try_lock(); }
        void unlock() {
            m_Index->m_PublishedCount.store(m_Index->Count(), std::memory_order_release);
            m_Mutex.unlock();
        }

    private:
        const SCA_TezReportIndex* m_Index;
        std::recursive_mutex m_Mutex;
    };

    // Deletes the file of a report; a missing file or folder is not an error.
    void DeleteReportFile(uint32_t id) const;
    // Writes a report's stored form into its file at path, into a reserve when flags say so.
    int WriteReportFile(SCA_ConfigObj* root, const char* path, uint32_t flags,
                        uint32_t* code) const;
    // Writes the bytes of a report's file into the first reserve that holds room for them.
    int WriteIntoReserve(const std::string& file, const char* path, uint32_t* code) const;
    // The path of reserve number slot (from 1); 0 without a folder or when it does not fit.
    int GetReservePath(uint32_t slot, char* path, uint32_t size) const;

    // The header's field as filters see it.
    static void GetFilterText(const SCA_TezReportInfo& info, uint32_t field, char* buf,
                              uint32_t size);
    int MoveUnreadableAside() const;
    // The ids of the folder's report files; the highest goes to *highest (0 without any).
    void ListReportFiles(std::vector<uint32_t>* ids, uint32_t* highest) const;
    // Lists the report files of ids that the index does not hold, from the headers in the
    // files (all of them when rebuild), in id order; a file that cannot be read is left out
    // (reported). The next id moves past highest.
    int TakeReportFiles(const std::vector<uint32_t>& ids, uint32_t highest, bool rebuild);
    // Moves the next id past highest.
    void SkipPast(uint32_t highest);
    // Moves the next id past the ids whose report files exist, which no new report may take.
    void SkipStoredIds();

    SCA_TezConfig* m_Config;
    SCA_TezConfigUser* m_UserConfig;
    char m_ReportsDir[4096] = {};
    bool m_Unreadable = false;
    uint32_t m_ReserveCount = SCA_TEZ_REPORT_RESERVES;
    uint64_t m_ReserveBytes = SCA_TEZ_REPORT_RESERVE_BYTES;
    mutable std::atomic<uint32_t> m_PublishedCount{0};
    mutable PublishingLock m_Lock{this};
};
