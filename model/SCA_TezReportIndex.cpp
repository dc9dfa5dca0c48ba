// SPDX-License-Identifier: MIT
#include "model/SCA_TezReportIndex.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cinttypes>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <string_view>

#include "libmor/SCA_ErrorText.h"
#include "libmor/SCA_FileSystem.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_Time.h"
#include "model/SCA_Dir.h"

namespace {

void SetError(uint32_t* error, uint32_t code) {
    if (error != nullptr) {
        *error = code;
    }
}

std::string LowerAscii(const char* text) {
    std::string lower = text;
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower;
}

bool Matches(const std::string& value, const std::string& wanted, uint32_t op) {
    switch (op) {
    case SCA_TEZ_FILTER_CONTAINS:
        return value.find(wanted) != std::string::npos;
    case SCA_TEZ_FILTER_BEGINS:
        return value.starts_with(wanted);
    case SCA_TEZ_FILTER_ENDS:
        return value.ends_with(wanted);
    default:
        return value == wanted;
    }
}

// A stored report's file: "report_" and the report id in at least six digits, ".hdx".
constexpr std::string_view kReportFilePrefix = "report_";
constexpr std::string_view kReportFileSuffix = ".hdx";
constexpr size_t kReportIdDigits = 6;

// The report id a report file's name carries; false for any other name.
bool ParseReportFileName(std::string_view name, uint32_t* id) {
    if (!name.starts_with(kReportFilePrefix) || !name.ends_with(kReportFileSuffix)) {
        return false;
    }
    name.remove_prefix(kReportFilePrefix.size());
    name.remove_suffix(kReportFileSuffix.size());
    if (name.size() < kReportIdDigits || name.find_first_not_of("0123456789") != name.npos) {
        return false;
    }
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), *id);
    return error == std::errc() && end == name.data() + name.size() && *id != 0 &&
           *id != SCA_ALL_ONES;
}

const tagSCA_TEZ_LIST_FILE kIndexFile = {SCA_TEZ_REPORT_INDEX_FILE, SCA_TEZ_REPORT_INDEX_ROOT,
                                         SCA_TEZ_REPORT_INDEX_FILE_TYPE, "report index",
                                         "no reports folder"};

} // namespace

SCA_TezReportIndex::SCA_TezReportIndex(SCA_TezConfig* config, SCA_TezConfigUser* userConfig)
    : SCA_TezRecordList("SCA_TezReportIndex", "report index"), m_Config(config),
      m_UserConfig(userConfig) {}

int SCA_TezReportIndex::AddReport(const SCA_TezReportInfo& info, uint32_t maxReports,
                                  uint32_t* reportId) {
    const std::lock_guard<PublishingLock> hold(m_Lock);
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
    const std::lock_guard<PublishingLock> hold(m_Lock);
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
    const std::lock_guard<PublishingLock> hold(m_Lock);
    while (GetHead() != nullptr) {
        DeleteReport(GetHead()->GetId());
    }
    return 1;
}

int SCA_TezReportIndex::IsReportExists(const SCA_TezReportInfo& info) const {
    const std::lock_guard<PublishingLock> hold(m_Lock);
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
    const std::lock_guard<PublishingLock> hold(m_Lock);
    if (m_ReportsDir[0] == '\0') {
        return LoadFile(m_ReportsDir, kIndexFile); // reports the missing folder
    }
    SCA_RemoveAbandonedTemporaries(m_ReportsDir);
    const bool read = LoadFile(m_ReportsDir, kIndexFile) != 0;
    m_Unreadable = !read;
    std::vector<uint32_t> ids;
    uint32_t highest = 0;
    ListReportFiles(&ids, &highest);
    return TakeReportFiles(ids, highest, !read);
}

void SCA_TezReportIndex::ListReportFiles(std::vector<uint32_t>* ids, uint32_t* highest) const {
    *highest = 0;
    SCA_Dir dir;
    uint32_t error = 0;
    if (!dir.Read(m_ReportsDir, kReportFileSuffix.data(), &error)) {
        return;
    }
    for (auto* node = dir.GetHead(); node != nullptr; node = node->GetNext()) {
        uint32_t id = 0;
        if (node->GetName() != nullptr && ParseReportFileName(node->GetName(), &id)) {
            ids->push_back(id);
            *highest = id > *highest ? id : *highest;
        }
    }
}

int SCA_TezReportIndex::TakeReportFiles(const std::vector<uint32_t>& ids, uint32_t highest,
                                        bool rebuild) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    // Every header by id, which is the order the reports were added in: the listed ones unless
    // the index is rebuilt, and those read from the files the index does not list.
    std::map<uint32_t, SCA_TezReportInfo> headers;
    if (!rebuild) {
        for (Item* node = GetHead(); node != nullptr; node = node->GetNext()) {
            headers.emplace(node->GetId(), *node->GetItem());
        }
    }
    uint32_t taken = 0;
    for (const uint32_t id : ids) {
        char path[kPathSize];
        SCA_ConfigObj file(SCA_TEZ_REPORT_ROOT, nullptr);
        SCA_TezReportInfo info;
        uint32_t code = 0;
        uint32_t fileType = 0;
        if (headers.count(id) != 0) {
            continue;
        }
        if (!GetReportFilePath(id, path, sizeof(path)) || !file.Load(path, &code, &fileType) ||
            fileType != SCA_TEZ_REPORT_FILE_TYPE || !info.Deserialize(&file)) {
            report(SCA_LEVEL_WARNING,
                   "SCA_TezReportIndex::Load: report file %s cannot be read and is not listed "
                   "(ERR:%u)",
                   path, code);
            continue;
        }
        // The file's name is the report's id, whatever the header inside says.
        info.SetReportId(id);
        headers.emplace(id, info);
        ++taken;
    }
    SkipPast(highest);
    if (taken == 0 && !rebuild) {
        return 1;
    }
    // Read in at once through the stored form: the index changes only when every header can
    // be taken.
    SCA_ConfigObj stored(SCA_TEZ_REPORT_INDEX_ROOT, nullptr);
    for (const auto& [id, info] : headers) {
        SCA_ConfigObj* child = stored.AddConfigObj(std::to_string(id).c_str());
        if (child == nullptr || !info.Serialize(child)) {
            return 0;
        }
    }
    if (!stored.IsConstructed() || !Deserialize(&stored)) {
        return 0;
    }
    if (rebuild) {
        report(SCA_LEVEL_WARNING,
               "SCA_TezReportIndex::Load: report index rebuilt from %u report files in %s", taken,
               m_ReportsDir);
    } else {
        report(SCA_LEVEL_WARNING,
               "SCA_TezReportIndex::Load: %u report files in %s were missing from the index", taken,
               m_ReportsDir);
    }
    return 1;
}

void SCA_TezReportIndex::SkipStoredIds() {
    char path[kPathSize];
    while (GetNextReportId() != kNoId && GetReportFilePath(GetNextReportId(), path, sizeof(path)) &&
           SCA_IsFileExists(path)) {
        SetNextItemId(GetNextReportId() + 1);
    }
}

void SCA_TezReportIndex::SkipPast(uint32_t highest) {
    if (highest != 0 && GetNextItemId() <= highest) {
        SetNextItemId(highest + 1);
    }
}

int SCA_TezReportIndex::Save() {
    const std::lock_guard<PublishingLock> hold(m_Lock);
    if (m_Unreadable && !MoveUnreadableAside()) {
        return 0;
    }
    m_Unreadable = false;
    return SaveFile(m_ReportsDir, kIndexFile);
}

int SCA_TezReportIndex::MoveUnreadableAside() const {
    char path[kPathSize];
    if (!JoinPath(m_ReportsDir, SCA_TEZ_REPORT_INDEX_FILE, path, sizeof(path))) {
        return 0;
    }
    if (!SCA_IsFileExists(path)) {
        return 1;
    }
    const std::string aside = std::string(path) + ".unreadable";
    if (std::rename(path, aside.c_str()) != 0) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_TezReportIndex::Save: cannot move unreadable index %s (ERR:%d)",
            path, errno);
        return 0;
    }
    SCA_GetReportFunction(__FILE__, __LINE__)(
        SCA_LEVEL_WARNING, "SCA_TezReportIndex::Save: unreadable index kept as %s", aside.c_str());
    return 1;
}

int SCA_TezReportIndex::AddReport(SCA_TezReport* report, uint32_t monitorMode, uint32_t flags,
                                  uint32_t maxReports, uint32_t* error) {
    const std::lock_guard<PublishingLock> hold(m_Lock);
    auto report5 = SCA_GetReportFunction(__FILE__, __LINE__);
    if (report == nullptr) {
        SetError(error, EINVAL);
        return 0;
    }
    if ((flags & SCA_TEZ_REPORT_SAVE_FILE) != 0) {
        SkipStoredIds();
    }
    const uint32_t id = GetNextReportId();
    if (id == kNoId) {
        report5(SCA_LEVEL_ERROR, "SCA_TezReportIndex::AddReport: no report id left");
        SetError(error, ENOSPC);
        return 0;
    }
    report->SetReportId(id);
    report->SetMonitorMode(monitorMode);
    if ((flags & SCA_TEZ_REPORT_SAVE_FILE) != 0) {
        char path[kPathSize];
        SCA_ConfigObj root(SCA_TEZ_REPORT_ROOT, nullptr);
        uint32_t code = 0;
        if (!GetReportFilePath(id, path, sizeof(path))) {
            report5(SCA_LEVEL_ERROR, "SCA_TezReportIndex::AddReport: no reports folder");
            SetError(error, ENOENT);
            return 0;
        }
        if (!SCA_CreateDirectory(m_ReportsDir, &code) || !root.IsConstructed() ||
            !report->Serialize(&root) || !WriteReportFile(&root, path, flags, &code)) {
            report5(SCA_LEVEL_ERROR,
                    "SCA_TezReportIndex::AddReport: cannot save report %s (ERR:%u)", path, code);
            SetError(error, code != 0 ? code : EIO);
            return 0;
        }
    }
    uint32_t added = 0;
    if (!AddReport(*report, maxReports, &added)) {
        DeleteReportFile(id);
        SetError(error, ENOMEM);
        return 0;
    }
    return 1;
}

int SCA_TezReportIndex::WriteReportFile(SCA_ConfigObj* root, const char* path, uint32_t flags,
                                        uint32_t* code) const {
    if ((flags & SCA_TEZ_REPORT_INTO_RESERVE) == 0) {
        return root->Save(path, SCA_TEZ_REPORT_FILE_TYPE, 0, code);
    }
    std::string file;
    if (!root->ToFileBytes(SCA_TEZ_REPORT_FILE_TYPE, &file)) {
        *code = EINVAL;
        return 0;
    }
    return WriteIntoReserve(file, path, code);
}

int SCA_TezReportIndex::WriteIntoReserve(const std::string& file, const char* path,
                                         uint32_t* code) const {
    uint64_t largest = 0;
    for (uint32_t slot = 1; slot <= m_ReserveCount; ++slot) {
        char reserve[kPathSize];
        if (!GetReservePath(slot, reserve, sizeof(reserve))) {
            break;
        }
        const uint64_t room = SCA_GetReservedRoom(reserve);
        largest = room > largest ? room : largest;
        if (room != 0 && room >= file.size()) {
            return SCA_WriteFileIntoReserve(reserve, path, file.data(), file.size(), code);
        }
    }
    *code = largest != 0 ? EFBIG : ENOSPC;
    if (largest != 0) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR,
            "SCA_TezReportIndex::AddReport: report %s takes %zu bytes, more than the %" PRIu64
            " bytes of room kept for a report",
            path, file.size(), largest);
    }
    return 0;
}

int SCA_TezReportIndex::GetReservePath(uint32_t slot, char* path, uint32_t size) const {
    char name[64];
    std::snprintf(name, sizeof(name), "room_for_reports_%u.reserve", slot);
    return JoinPath(m_ReportsDir, name, path, size);
}

void SCA_TezReportIndex::SetReserveSize(uint32_t count, uint64_t bytes) {
    m_ReserveCount = count;
    m_ReserveBytes = bytes;
}

int SCA_TezReportIndex::MakeReserve() {
    const std::lock_guard<PublishingLock> hold(m_Lock);
    char path[kPathSize] = "";
    uint32_t code = 0;
    if (m_ReportsDir[0] == '\0' || !SCA_CreateDirectory(m_ReportsDir, &code)) {
        code = code != 0 ? code : ENOENT;
    }
    for (uint32_t slot = 1; code == 0 && slot <= m_ReserveCount; ++slot) {
        if (!GetReservePath(slot, path, sizeof(path))) {
            code = ENAMETOOLONG;
        } else {
            SCA_ReserveRoom(path, m_ReserveBytes, &code);
        }
    }
    if (code != 0) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_WARNING,
            "SCA_TezReportIndex::MakeReserve: cannot keep room for held reports in %s (ERR:%u) - "
            "%s; reports held for a full disk are lost at a stop if it is still full",
            m_ReportsDir, code, SCA_ErrorText(code).Get());
        return 0;
    }
    return 1;
}

void SCA_TezReportIndex::FreeReserve() {
    const std::lock_guard<PublishingLock> hold(m_Lock);
    for (uint32_t slot = 1; slot <= m_ReserveCount; ++slot) {
        char path[kPathSize];
        uint32_t error = 0;
        if (GetReservePath(slot, path, sizeof(path)) && SCA_IsFileExists(path) &&
            !SCA_DeleteFile(path, &error) && error != ENOENT) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_WARNING,
                "SCA_TezReportIndex::FreeReserve: cannot delete %s (ERR:%u) - %s", path, error,
                SCA_ErrorText(error).Get());
        }
    }
}

int SCA_TezReportIndex::LoadReport(uint32_t id, SCA_TezReport* report) {
    const std::lock_guard<PublishingLock> hold(m_Lock);
    char path[kPathSize];
    SCA_ConfigObj root(SCA_TEZ_REPORT_ROOT, nullptr);
    uint32_t code = 0;
    uint32_t fileType = 0;
    if (report == nullptr || GetListItem(id) == nullptr ||
        !GetReportFilePath(id, path, sizeof(path)) || !root.Load(path, &code, &fileType) ||
        fileType != SCA_TEZ_REPORT_FILE_TYPE || !report->Deserialize(&root)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_TezReportIndex::LoadReport: cannot load report - %u (ERR:%u)", id,
            code);
        return 0;
    }
    return 1;
}

void SCA_TezReportIndex::GetFilterText(const SCA_TezReportInfo& info, uint32_t field, char* buf,
                                       uint32_t size) {
    switch (field) {
    case SCA_TEZ_FILTER_PROFILE:
        SCA_StrnCpy(buf, info.GetProfileName(), size);
        break;
    case SCA_TEZ_FILTER_TITLE:
        SCA_StrnCpy(buf, info.GetReportTitle(), size);
        break;
    case SCA_TEZ_FILTER_HOST:
        SCA_StrnCpy(buf, info.GetHostName(), size);
        break;
    default: {
        tagSCA_DATE date{};
        tagSCA_TIME time{};
        buf[0] = '\0';
        if (SCA_ConvertAbsTime(info.GetReportTime(), &date, &time)) {
            SCA_FormatDateString(&date, 0, "-", buf, size);
        }
        break;
    }
    }
}

int SCA_TezReportIndex::FilterReports(int useText, uint32_t field, uint32_t op, const char* text,
                                      SCA_List<SCA_TezReportInfo*>* result) {
    if (result == nullptr || field > SCA_TEZ_FILTER_DATE || op > SCA_TEZ_FILTER_EQUALS ||
        (useText && text == nullptr)) {
        return 0;
    }
    const std::lock_guard<PublishingLock> hold(m_Lock);
    const std::string wanted = useText ? LowerAscii(text) : std::string();
    for (Item* node = GetHead(); node != nullptr; node = node->GetNext()) {
        char value[SCA_TEZ_TEXT_SIZE];
        GetFilterText(*node->GetItem(), field, value, sizeof(value));
        if ((!useText || Matches(LowerAscii(value), wanted, op)) &&
            !result->AddItemToTail(node->GetItem(), nullptr, SCA_ALL_ONES)) {
            return 0;
        }
    }
    return 1;
}

int SCA_TezReportIndex::FillFilterValues(uint32_t field, SCA_ConfigObj* object,
                                         uint32_t /*flags*/) {
    if (object == nullptr || field > SCA_TEZ_FILTER_DATE) {
        return 0;
    }
    const std::lock_guard<PublishingLock> hold(m_Lock);
    std::set<std::string> values;
    for (Item* node = GetHead(); node != nullptr; node = node->GetNext()) {
        char value[SCA_TEZ_TEXT_SIZE];
        GetFilterText(*node->GetItem(), field, value, sizeof(value));
        if (value[0] != '\0') {
            values.insert(value);
        }
    }
    // Named by the value itself: that is what a list of choices shows and gives back. A text
    // that cannot be a field name (a control byte 1 in it) is not offered.
    for (const std::string& value : values) {
        if (value.find('\x01') == std::string::npos &&
            !object->AddField(value.c_str(), value.c_str())) {
            return 0;
        }
    }
    return 1;
}
