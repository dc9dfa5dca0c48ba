// SPDX-License-Identifier: MIT
#include "model/SCA_SrvMonitorList.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "libmor/SCA_ErrorText.h"
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

namespace {

constexpr size_t kMaxJournalBytes = size_t{1} << 30;
// A damaged journal is kept beside the monitors file under this name, then .2, .3, ...
constexpr const char* kDamagedSuffix = ".damaged";
constexpr uint32_t kMaxDamagedCopies = 1000;

// "1 change", "2 changes".
std::string Counted(uint64_t count, const char* noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

// What a journal's damage cost, in changes where they can be told and in bytes where not, with
// a last record cut short by an interrupted append (whose change was never acknowledged) told
// apart from damage to what was written whole.
std::string DamageText(const char* path, const SCA_SrvMonitorJournal& records, uint32_t skipped,
                       const std::string& copy) {
    const size_t replayed = records.Changes().size() - skipped;
    const std::string kept = "the journal as it was is kept in " + copy;
    if (records.EndsInCutShortRecordOnly() && skipped == 0) {
        return std::string(path) + " ends in an incomplete change, which is dropped: its last " +
               Counted(records.GetCutShortBytes(), "byte") +
               " are a change cut short by an interrupted write; the " +
               Counted(replayed, "change") + " before it were replayed and " + kept;
    }
    std::vector<std::string> losses;
    const uint64_t unread =
        records.GetDamagedBytes() + records.GetTailBytes() - records.GetCutShortBytes();
    if (unread != 0) {
        const uint32_t places = records.GetDamagedParts() +
                                (records.GetTailBytes() != records.GetCutShortBytes() ? 1u : 0u);
        std::string loss =
            Counted(unread, "byte") + " in " + Counted(places, "place") + " could not be read";
        if (records.GetLostChanges() == 0) {
            loss += ", in which no change can be recognised";
        } else {
            loss += ": " + Counted(records.GetLostChanges(), "change") + " in damaged records";
            if (records.GetUnmarkedBytes() != 0) {
                loss += " and " + Counted(records.GetUnmarkedBytes(), "byte") +
                        " in which no change can be recognised";
            }
        }
        losses.push_back(loss);
    }
    if (skipped != 0) {
        losses.push_back(Counted(skipped, "change") + " that could not be applied");
    }
    if (records.GetMisplaced() != 0) {
        losses.push_back(Counted(records.GetMisplaced(), "change") + " out of order or repeated");
    }
    if (records.GetCutShortBytes() != 0) {
        losses.push_back("the last change, cut short by an interrupted write (" +
                         Counted(records.GetCutShortBytes(), "byte") + "), is dropped");
    }
    std::string text = std::string(path) + " is damaged: ";
    for (size_t i = 0; i < losses.size(); ++i) {
        text += (i == 0 ? "" : "; ") + losses[i];
    }
    return text + "; the " + Counted(replayed, "change") +
           " that could be read were replayed in order and " + kept;
}

// Writes a byte-identical copy of journal under the first free name beside path.
int KeepCopy(const char* path, const std::string& journal, std::string* copy, uint32_t* error) {
    for (uint32_t n = 1; n <= kMaxDamagedCopies; ++n) {
        *copy = std::string(path) + kDamagedSuffix + (n == 1 ? "" : "." + std::to_string(n));
        if (!SCA_IsFileExists(copy->c_str()) && !SCA_IsPathExists(copy->c_str())) {
            return SCA_WriteFileAtomic(copy->c_str(), journal.data(), journal.size(), error);
        }
    }
    *error = EEXIST;
    return 0;
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
        report(SCA_LEVEL_ERROR, "SCA_SrvMonitorList::Load: cannot read %s (ERR:%u) - %s", path,
               error, SCA_ErrorText(error).Get());
        return 0;
    }
    SCA_ConfigObj before(SCA_SRV_MONITORS_ROOT, nullptr);
    if (!Serialize(&before) || !LoadFile(m_ConfigDir, kMonitorsFile)) {
        return 0;
    }
    NoteFileSize();
    const SCA_SrvMonitorJournal records(journal);
    const uint32_t skipped = Replay(records);
    m_NextSeq = records.GetLastSeq() + 1;
    m_JournalBytes = journal.size();
    if ((!records.IsIntact() || skipped != 0) && !Mend(path, journal, records, skipped)) {
        Deserialize(&before);
        return 0;
    }
    RecordsRead();
    return 1;
}

uint32_t SCA_SrvMonitorList::Replay(const SCA_SrvMonitorJournal& records) {
    uint32_t skipped = 0;
    for (const SCA_SrvMonitorJournal::Record& record : records.Changes()) {
        SCA_ConfigObj change(SCA_SRV_JOURNAL_CHANGE_ROOT, nullptr);
        if (!records.ReadChange(record, &change) || !ApplyChange(&change)) {
            ++skipped;
        }
    }
    return skipped;
}

int SCA_SrvMonitorList::Mend(const char* path, const std::string& journal,
                             const SCA_SrvMonitorJournal& records, uint32_t skipped) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    std::string copy;
    uint32_t error = 0;
    // Without a copy the damaged bytes would be gone for good: the journal stays as it is.
    if (!KeepCopy(path, journal, &copy, &error)) {
        report(SCA_LEVEL_ERROR,
               "SCA_SrvMonitorList::Load: %s is damaged and cannot be copied (ERR:%u) - %s", path,
               error, SCA_ErrorText(error).Get());
        return 0;
    }
    // The changes in the damaged bytes after the last whole record may have handed out ids that
    // no record read holds any more.
    const uint64_t after =
        uint64_t{GetNextItemId()} + SCA_SrvMonitorJournal::ChangesThatFit(records.GetTailBytes());
    SetNextItemId(static_cast<uint32_t>(std::min<uint64_t>(after, kNoId - 1)));
    report(SCA_LEVEL_WARNING, "SCA_SrvMonitorList::Load: %s",
           DamageText(path, records, skipped, copy).c_str());
    // The monitors now hold every change that could be read, and the ids the damage may have
    // used: they are stored whole and the damaged journal goes.
    return Save();
}

int SCA_SrvMonitorList::ApplyChange(SCA_ConfigObj* change) {
    uint32_t id = 0;
    uint32_t next = 0;
    if (!change->GetField(SCA_SRV_JOURNAL_CHANGE_ID, &id) ||
        !change->GetField(SCA_TEZ_NEXT_ID_FIELD, &next) || id == kNoId) {
        return 0;
    }
    SCA_ConfigObj* stored = nullptr;
    if (!change->GetField(SCA_SRV_JOURNAL_CHANGE_MONITOR, &stored)) {
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
            SCA_LEVEL_ERROR, "SCA_SrvMonitorList::Save: cannot empty the journal (ERR:%u) - %s",
            error, SCA_ErrorText(error).Get());
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
        report(SCA_LEVEL_ERROR, "SCA_SrvMonitorList::StoreChange: %s (ERR:%u) - %s",
               kMonitorsFile.NoFolder, error, SCA_ErrorText(error).Get());
        return 0;
    }
    SCA_ConfigObj change(SCA_SRV_JOURNAL_CHANGE_ROOT, nullptr);
    SCA_SrvMonitor* monitor = nullptr;
    SCA_ConfigObj* stored = nullptr;
    std::string record;
    if (!change.AddField(SCA_SRV_JOURNAL_CHANGE_ID, id) ||
        !change.AddField(SCA_TEZ_NEXT_ID_FIELD, GetNextItemId()) ||
        !change.AddField(SCA_SRV_JOURNAL_CHANGE_SEQ, m_NextSeq) ||
        (GetMonitor(id, &monitor) &&
         ((stored = change.AddConfigObj(SCA_SRV_JOURNAL_CHANGE_MONITOR)) == nullptr ||
          !monitor->Serialize(stored))) ||
        !SCA_SrvMonitorJournal::AppendRecord(&change, &record)) {
        report(SCA_LEVEL_ERROR, "SCA_SrvMonitorList::StoreChange: cannot serialize monitor %u", id);
        return 0;
    }
    if (!SCA_AppendFileSynced(path, record.data(), record.size(), &error)) {
        report(SCA_LEVEL_ERROR, "SCA_SrvMonitorList::StoreChange: cannot write %s (ERR:%u) - %s",
               path, error, SCA_ErrorText(error).Get());
        return 0;
    }
    m_JournalBytes += record.size();
    ++m_NextSeq;
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
