// SPDX-License-Identifier: MIT
// The monitors journal as a restarted service reads it, beside an empty monitors file. The first
// byte chooses what the rest is: the whole journal (0), or damage put between the records of
// three acknowledged additions (1-4: before the first ... after the last). Whatever it holds,
// loading never crashes, keeps only whole records (a damaged journal is folded away) and
// loading again gives the same monitors; around damage that holds no record of its own, every
// acknowledged addition before and after it is replayed, and no id is handed out again. What
// the journal tells of the damaged bytes never adds up to more than there are, and a prefix of
// a record after the last one is a record cut short, never damage.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

#include "fuzz/FuzzHome.h"
#include "fuzz/FuzzTreeSupport.h"
#include "libmor/SCA_FileSystem.h"
#include "model/SCA_SrvMonitorList.h"

namespace {

constexpr uint32_t kAcknowledged = 3;
constexpr uint8_t kModes = kAcknowledged + 2;

// One folder for the whole run, under TMPDIR (else /tmp), removed when the run ends.
const std::string& Folder() {
    static const fuzz_service::Home folder(fuzz_service::Home::TemporaryFolder());
    return folder.Path();
}

std::string Description(uint32_t id) {
    return "acknowledged " + std::to_string(id);
}

// The records of the acknowledged additions, ids 1..kAcknowledged, one string each.
const std::string* Acknowledged() {
    static const std::string* records = [] {
        static std::string made[kAcknowledged];
        SCA_SrvMonitorList list(nullptr, nullptr);
        for (uint32_t id = 1; id <= kAcknowledged; ++id) {
            SCA_SrvMonitor* monitor = nullptr;
            SCA_ConfigObj change(SCA_SRV_JOURNAL_CHANGE_ROOT, nullptr);
            if (!list.AddMonitor(0, 0, Description(id).c_str(), &monitor) ||
                !change.AddField(SCA_SRV_JOURNAL_CHANGE_ID, id) ||
                !change.AddField(SCA_TEZ_NEXT_ID_FIELD, id + 1) ||
                !change.AddField(SCA_SRV_JOURNAL_CHANGE_SEQ, uint64_t{id}) ||
                !monitor->Serialize(change.AddConfigObj(SCA_SRV_JOURNAL_CHANGE_MONITOR)) ||
                !SCA_SrvMonitorJournal::AppendRecord(&change, &made[id - 1])) {
                __builtin_trap();
            }
        }
        return made;
    }();
    return records;
}

std::string FormOf(SCA_SrvMonitorList* list) {
    SCA_ConfigObj form("Form", nullptr);
    if (!list->Serialize(&form)) {
        __builtin_trap();
    }
    return fuzz_service::BytesOf(&form);
}

void CheckAcknowledgedKept(SCA_SrvMonitorList* list) {
    for (uint32_t id = 1; id <= kAcknowledged; ++id) {
        SCA_SrvMonitor* monitor = nullptr;
        if (!list->GetMonitor(id, &monitor) || Description(id) != monitor->GetDescription()) {
            __builtin_trap();
        }
    }
    if (list->GetNextItemId() <= kAcknowledged) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& folder = Folder();
    if (folder.empty() || size == 0) {
        return 0;
    }
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ignored)) {
        std::filesystem::remove(entry.path(), ignored);
    }
    const uint8_t mode = data[0] % kModes;
    const std::string damage(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string bytes = damage;
    if (mode != 0) {
        bytes.clear();
        for (uint32_t at = 0; at <= kAcknowledged; ++at) {
            bytes += at + 1 == mode ? damage : std::string();
            bytes += at < kAcknowledged ? Acknowledged()[at] : std::string();
        }
    }
    const SCA_SrvMonitorJournal records(bytes);
    const uint64_t damaged = records.GetDamagedBytes() + records.GetTailBytes();
    if (records.GetCutShortBytes() > records.GetTailBytes() ||
        records.GetUnmarkedBytes() + records.GetCutShortBytes() > damaged ||
        records.GetWholeSize() + records.GetTailBytes() != bytes.size()) {
        __builtin_trap();
    }
    if (mode == kAcknowledged + 1 && !damage.empty() &&
        Acknowledged()[0].compare(0, damage.size(), damage) == 0 &&
        damage.size() < Acknowledged()[0].size() && !records.EndsInCutShortRecordOnly()) {
        __builtin_trap(); // an append cut off after the last whole record
    }
    const std::string journal = folder + "/" + SCA_SRV_MONITORS_JOURNAL;
    uint32_t error = 0;
    if (!SCA_WriteFileAtomic(journal.c_str(), bytes.data(), bytes.size(), &error)) {
        return 0;
    }
    SCA_SrvMonitorList first(nullptr, nullptr);
    first.SetConfigDir(folder.c_str());
    if (!first.Load()) {
        return 0;
    }
    struct stat info {};
    if (::stat(journal.c_str(), &info) != 0 || static_cast<uint64_t>(info.st_size) > bytes.size() ||
        first.GetJournalSize() != static_cast<uint64_t>(info.st_size)) {
        __builtin_trap(); // only whole records stay
    }
    // Damage that holds a record of its own may carry changes of those monitors.
    if (mode != 0 && std::string_view(damage).find("KHDX") == std::string_view::npos) {
        CheckAcknowledgedKept(&first);
    }
    SCA_SrvMonitorList second(nullptr, nullptr);
    second.SetConfigDir(folder.c_str());
    if (!second.Load() || FormOf(&second) != FormOf(&first)) {
        __builtin_trap();
    }
    return 0;
}
