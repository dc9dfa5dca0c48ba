// SPDX-License-Identifier: MIT
#include "model/SCA_SrvMonitorList.h"

#include <algorithm>
#include <cstring>
#include <sys/stat.h>

#include "libmor/SCA_FileSystem.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"

namespace {

const tagSCA_TEZ_LIST_FILE kMonitorsFile = {SCA_SRV_MONITORS_FILE, SCA_SRV_MONITORS_ROOT,
                                            SCA_SRV_MONITORS_FILE_TYPE, "monitors file",
                                            "no configuration folder"};

// The computer a monitor watches: its name when it is remote, else the local computer.
const char* WatchedComputer(const SCA_SrvMonitor& monitor) {
    return monitor.IsRemote() ? monitor.GetComputerName() : "";
}

bool SameCounter(const SCA_TezCounterInfo& a, const SCA_TezCounterInfo& b) {
    return a.GetCounterType() == b.GetCounterType() &&
           std::strcmp(a.GetComputerName(), b.GetComputerName()) == 0 &&
           std::strcmp(a.GetInstance(), b.GetInstance()) == 0 &&
           std::strcmp(a.GetNamePrefix(), b.GetNamePrefix()) == 0;
}

bool SameCounters(const SCA_TezCounterList& a, const SCA_TezCounterList& b) {
    if (a.Count() != b.Count()) {
        return false;
    }
    const SCA_ListItem<SCA_TezCounterInfo*>* x = a.GetHead();
    const SCA_ListItem<SCA_TezCounterInfo*>* y = b.GetHead();
    for (; x != nullptr && y != nullptr; x = x->GetNext(), y = y->GetNext()) {
        if (x->GetItem() == nullptr || y->GetItem() == nullptr ||
            !SameCounter(*x->GetItem(), *y->GetItem())) {
            return false;
        }
    }
    return true;
}

bool SameDefinition(const SCA_SrvMonitor& a, const SCA_SrvMonitor& b) {
    return a.GetMonitorType() == b.GetMonitorType() && a.GetMonitorMode() == b.GetMonitorMode() &&
           std::strcmp(a.GetDescription(), b.GetDescription()) == 0 &&
           std::strcmp(WatchedComputer(a), WatchedComputer(b)) == 0 &&
           SameCounters(*a.GetProfile()->GetCounterList(), *b.GetProfile()->GetCounterList());
}

} // namespace

SCA_SrvMonitorList::SCA_SrvMonitorList(SCA_TezConfig* config, SCA_TezConfigUser* userConfig)
    : SCA_TezRecordList("SCA_SrvMonitorList", "monitors"), m_Config(config),
      m_UserConfig(userConfig) {}

int SCA_SrvMonitorList::AddMonitor(uint32_t type, uint32_t mode, const char* description,
                                   SCA_SrvMonitor** monitor) {
    SCA_SrvMonitor* added = NewRecord();
    uint32_t id = kNoId;
    if (added == nullptr || !added->IsConstructed() ||
        !AddRecord(added, nullptr, &id, &SCA_SrvMonitor::SetMonitorId)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "SCA_SrvMonitorList::AddMonitor: "
                                                  "cannot add monitor - %s",
                                                  description != nullptr ? description : "");
        SCA_Object::Destroy(added);
        return 0;
    }
    added->SetMonitorType(type);
    added->SetMonitorMode(mode);
    added->SetDescription(description);
    added->GetProfile()->SetMonitorId(id);
    UpdateMonitorsStatus();
    if (monitor != nullptr) {
        *monitor = added;
    }
    return 1;
}

int SCA_SrvMonitorList::DeleteMonitor(uint32_t id) {
    if (!DeleteRecord(id)) {
        return 0;
    }
    UpdateMonitorsStatus();
    return 1;
}

void SCA_SrvMonitorList::ClearAll() {
    ClearRecords();
    UpdateMonitorsStatus();
}

int SCA_SrvMonitorList::IsMonitorExists(const SCA_SrvMonitor* monitor, uint32_t* id) const {
    if (monitor == nullptr) {
        return 0;
    }
    for (Item* node = GetHead(); node != nullptr; node = node->GetNext()) {
        if (node->GetItem() != nullptr && SameDefinition(*node->GetItem(), *monitor)) {
            if (id != nullptr) {
                *id = node->GetId();
            }
            return 1;
        }
    }
    return 0;
}

void SCA_SrvMonitorList::SetConfigDir(const char* dir) {
    SCA_StrnCpy(m_ConfigDir, dir, sizeof(m_ConfigDir));
}

// A journal record: the u64 length (little-endian) of a file form (SCA_ConfigObj::ToFileBytes,
// which carries its own checksum) of a "Change" object: the monitor's id, the list's next id
// and, unless the monitor is gone, its definition.
namespace {

constexpr const char* kChangeRoot = "Change";
constexpr const char* kChangeId = "Id";
constexpr const char* kChangeMonitor = "Monitor";
constexpr size_t kLengthBytes = 8;
constexpr size_t kMaxJournalBytes = size_t{1} << 30;

uint64_t ReadLength(const char* bytes) {
    uint64_t length = 0;
    for (size_t i = 0; i < kLengthBytes; ++i) {
        length |= uint64_t{static_cast<unsigned char>(bytes[i])} << (8 * i);
    }
    return length;
}

void PutLength(std::string* out, uint64_t length) {
    for (size_t i = 0; i < kLengthBytes; ++i) {
        out->push_back(static_cast<char>((length >> (8 * i)) & 0xFF));
    }
}

} // namespace

int SCA_SrvMonitorList::JournalPath(char* path, uint32_t size) const {
    return JoinPath(m_ConfigDir, SCA_SRV_MONITORS_JOURNAL, path, size);
}

void SCA_SrvMonitorList::NoteFileSize() {
    char path[kPathSize];
    struct stat info {};
    m_FileBytes =
        JoinPath(m_ConfigDir, SCA_SRV_MONITORS_FILE, path, sizeof(path)) && ::stat(path, &info) == 0
            ? static_cast<uint64_t>(info.st_size)
            : 0;
}

int SCA_SrvMonitorList::Load() {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    char path[kPathSize];
    if (!JournalPath(path, sizeof(path))) {
        report(SCA_LEVEL_ERROR, "SCA_SrvMonitorList::Load: %s", kMonitorsFile.NoFolder);
        return 0;
    }
    std::string journal;
    uint32_t error = 0;
    if (SCA_IsFileExists(path) && !SCA_ReadFile(path, &journal, kMaxJournalBytes, &error)) {
        report(SCA_LEVEL_ERROR, "SCA_SrvMonitorList::Load: cannot read %s (ERR:%u)", path, error);
        return 0;
    }
    SCA_ConfigObj before(SCA_SRV_MONITORS_ROOT, nullptr);
    if (!Serialize(&before) || !LoadFile(m_ConfigDir, kMonitorsFile)) {
        return 0;
    }
    NoteFileSize();
    const uint64_t whole = Replay(journal);
    if (whole != journal.size()) {
        // A crash cut the last record off: nothing acknowledged is in it, and the records
        // appended from now on must follow the whole ones.
        report(SCA_LEVEL_WARNING,
               "SCA_SrvMonitorList::Load: %s ends in an incomplete change, which is dropped", path);
        if (!SCA_TruncateFileSynced(path, whole, &error)) {
            report(SCA_LEVEL_ERROR, "SCA_SrvMonitorList::Load: cannot cut %s (ERR:%u)", path,
                   error);
            Deserialize(&before);
            return 0;
        }
    }
    m_JournalBytes = whole;
    RecordsRead();
    return 1;
}

uint64_t SCA_SrvMonitorList::Replay(const std::string& journal) {
    uint64_t at = 0;
    while (journal.size() - at >= kLengthBytes) {
        const uint64_t length = ReadLength(journal.data() + at);
        if (length > journal.size() - at - kLengthBytes) {
            break;
        }
        SCA_ConfigObj change(kChangeRoot, nullptr);
        uint32_t error = 0;
        uint32_t fileType = 0;
        if (!change.LoadBytes(journal.data() + at + kLengthBytes, length, &error, &fileType) ||
            fileType != SCA_SRV_MONITORS_JOURNAL_TYPE || !ApplyChange(&change)) {
            break;
        }
        at += kLengthBytes + length;
    }
    return at;
}

int SCA_SrvMonitorList::ApplyChange(SCA_ConfigObj* change) {
    uint32_t id = 0;
    uint32_t next = 0;
    if (!change->GetField(kChangeId, &id) || !change->GetField(SCA_TEZ_NEXT_ID_FIELD, &next) ||
        id == kNoId) {
        return 0;
    }
    SCA_ConfigObj* stored = nullptr;
    if (!change->GetField(kChangeMonitor, &stored)) {
        DeleteRecord(id);
    } else {
        SCA_SrvMonitor* read = NewRecord();
        if (read == nullptr || !read->Deserialize(stored)) {
            SCA_Object::Destroy(read);
            return 0;
        }
        SCA_SrvMonitor* present = nullptr;
        if (GetMonitor(id, &present)) {
            const int copied = present->SetContent(*read);
            SCA_Object::Destroy(read);
            if (!copied) {
                return 0;
            }
        } else if (!AddItemToTail(read, GetRecordName(*read), id)) {
            SCA_Object::Destroy(read);
            return 0;
        }
    }
    // Ids are never handed out twice, not even those of monitors added and deleted since the
    // file was written.
    const uint32_t after = std::max(next, id + 1);
    if (after > GetNextItemId()) {
        SetNextItemId(after);
    }
    return 1;
}

int SCA_SrvMonitorList::Save() {
    char path[kPathSize];
    uint32_t error = 0;
    if (!SaveFile(m_ConfigDir, kMonitorsFile)) {
        return 0;
    }
    NoteFileSize();
    // A crash before the journal is emptied leaves changes the file holds already: replaying
    // them over it gives the same monitors.
    if (!JournalPath(path, sizeof(path)) || !SCA_TruncateFileSynced(path, 0, &error)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_SrvMonitorList::Save: cannot empty the journal (ERR:%u)", error);
        return 0;
    }
    m_JournalBytes = 0;
    return 1;
}

int SCA_SrvMonitorList::Restore(uint32_t id, const SCA_SrvMonitor* monitor, uint32_t position) {
    SCA_SrvMonitor* present = nullptr;
    const bool exists = GetMonitor(id, &present) != 0;
    if (monitor == nullptr) {
        return exists ? DeleteRecord(id) : 1;
    }
    if (exists) {
        return present->SetContent(*monitor);
    }
    SCA_SrvMonitor* copy = NewRecord();
    if (copy == nullptr || !copy->SetContent(*monitor) ||
        !AddItemByPos(copy, std::min(position, Count()), id)) {
        SCA_Object::Destroy(copy);
        return 0;
    }
    return 1;
}

int SCA_SrvMonitorList::StoreChange(uint32_t id) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    if (m_JournalBytes >= std::max(m_FileBytes, SCA_SRV_MONITORS_MIN_FOLD_BYTES)) {
        return Save();
    }
    char path[kPathSize];
    uint32_t error = 0;
    if (!JournalPath(path, sizeof(path)) || !SCA_CreateDirectory(m_ConfigDir, &error)) {
        report(SCA_LEVEL_ERROR, "SCA_SrvMonitorList::StoreChange: %s (ERR:%u)",
               kMonitorsFile.NoFolder, error);
        return 0;
    }
    SCA_ConfigObj change(kChangeRoot, nullptr);
    SCA_SrvMonitor* monitor = nullptr;
    SCA_ConfigObj* stored = nullptr;
    std::string file;
    std::string record;
    if (!change.AddField(kChangeId, id) ||
        !change.AddField(SCA_TEZ_NEXT_ID_FIELD, GetNextItemId()) ||
        (GetMonitor(id, &monitor) && ((stored = change.AddConfigObj(kChangeMonitor)) == nullptr ||
                                      !monitor->Serialize(stored))) ||
        !change.ToFileBytes(SCA_SRV_MONITORS_JOURNAL_TYPE, &file)) {
        report(SCA_LEVEL_ERROR, "SCA_SrvMonitorList::StoreChange: cannot serialize monitor %u", id);
        return 0;
    }
    record.reserve(kLengthBytes + file.size());
    PutLength(&record, file.size());
    record += file;
    if (!SCA_AppendFileSynced(path, record.data(), record.size(), &error)) {
        report(SCA_LEVEL_ERROR, "SCA_SrvMonitorList::StoreChange: cannot write %s (ERR:%u)", path,
               error);
        return 0;
    }
    m_JournalBytes += record.size();
    return 1;
}

void SCA_SrvMonitorList::RecordsRead() {
    // Tasks and reports know a monitor by its list id: the definition must carry the same.
    for (Item* node = GetHead(); node != nullptr; node = node->GetNext()) {
        node->GetItem()->SetMonitorId(node->GetId());
        node->GetItem()->GetProfile()->SetMonitorId(node->GetId());
    }
    UpdateMonitorsStatus();
}
