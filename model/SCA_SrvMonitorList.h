// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

#include "libmor/SCA_Limits.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_SrvMonitorJournal.h"
#include "model/SCA_TezRecordList.h"

class SCA_TezConfig;
class SCA_TezConfigUser;

// The monitors file in the service's configuration folder.
inline constexpr const char* SCA_SRV_MONITORS_FILE = "monitors.hdx";
inline constexpr const char* SCA_SRV_MONITORS_ROOT = "Monitors";
inline constexpr uint32_t SCA_SRV_MONITORS_FILE_TYPE = 1016;
// The journal is folded into the file once it outgrows the file, or this many bytes when the
// file is smaller: the cost of a fold is spread over the changes that made it necessary.
inline constexpr uint64_t SCA_SRV_MONITORS_MIN_FOLD_BYTES = 16384;

// The service's monitor definitions, in the order the user arranged them. Item ids are monitor
// ids; they are never handed out twice, not even after a clear or across a save and load, so a
// new monitor never takes over a task or reports of a monitor that is gone.
//
// The monitors status is a change counter that clients poll ("MonitorsStatusId"): adding,
// deleting, clearing and loading raise it.
//
// The list owns its monitors; not copyable.
class SCA_SrvMonitorList : public SCA_TezRecordList<SCA_SrvMonitor> {
public:
    // The configurations are kept, not owned, and handed to every monitor the list makes.
    SCA_SrvMonitorList(SCA_TezConfig* config, SCA_TezConfigUser* userConfig);
    ~SCA_SrvMonitorList() override = default;

    SCA_TezConfig* GetConfig() const { return m_Config; }
    SCA_TezConfigUser* GetUserConfig() const { return m_UserConfig; }

    // By monitor id; out untouched when none matches.
    int GetMonitor(uint32_t id, SCA_SrvMonitor** monitor) const { return GetItem(id, monitor); }

    uint32_t GetMonitorsStatus() const { return m_MonitorsStatus; }
    // One step on; wraps at 32 bits (4294967295 + 1 = 0).
    void UpdateMonitorsStatus() {
        m_MonitorsStatus = m_MonitorsStatus == SCA_ALL_ONES ? 0u : m_MonitorsStatus + 1u;
    }

    // A new monitor of that type, mode and description at the tail, under a new id (written
    // into the monitor and its profile). The list keeps the monitor; it is handed back.
    int AddMonitor(uint32_t type, uint32_t mode, const char* description, SCA_SrvMonitor** monitor);
    int DeleteMonitor(uint32_t id);
    // Destroys every monitor; the ids handed out stay used.
    void ClearAll();

    // 1, with its id, when the list holds a monitor with the same definition as monitor: type,
    // mode, description, watched computer (for a remote monitor) and the same counters in the
    // same order (type, computer, instance and name prefix). Ids and the report settings do
    // not count. 0 for a null monitor or when none matches (id untouched).
    int IsMonitorExists(const SCA_SrvMonitor* monitor, uint32_t* id) const;

    // The folder of the monitors file (the service's configuration folder).
    void SetConfigDir(const char* dir);
    const char* GetConfigDir() const { return m_ConfigDir; }
    // Reads the monitors file (a missing file is a list without monitors), then replays the
    // journal's changes. A journal that ends in a record cut off by a crash is cut back to its
    // whole records. Damage anywhere in the journal never costs the records that verify: they
    // are replayed in the order they were made, the journal as it was is kept beside it
    // (monitors.journal.damaged, then .2, ...) with a warning that says how many changes (or,
    // where no change can be told, bytes) could not be read, telling a last record cut short by
    // an interrupted write ("ends in an incomplete change") apart from damage to records
    // written whole ("is damaged"), and the ids the damaged bytes may have handed out stay
    // used. On failure (reported; also when
    // no copy can be kept) the list is left as it was and the journal untouched.
    int Load();
    // Writes the monitors file atomically (mode 0600), creating the folder if needed, then
    // empties the journal it now holds.
    int Save();
    // Makes the change of the monitor with that id durable, as its definition now or its
    // absence, by appending it to the journal (the cost of one monitor, however many there
    // are); folds the journal into the file when it has grown. 0 (reported) when the change
    // could not be stored.
    int StoreChange(uint32_t id);
    uint64_t GetJournalSize() const { return m_JournalBytes; }
    // Undoes a change that could not be stored: a copy of monitor (null: none) goes back under
    // id at position, replacing or removing what the change left there.
    int Restore(uint32_t id, const SCA_SrvMonitor* monitor, uint32_t position);

protected:
    SCA_SrvMonitor* NewRecord() const override {
        return new (std::nothrow) SCA_SrvMonitor(m_Config, m_UserConfig);
    }
    // Each monitor read takes its list id as its monitor id (and its profile's); reading
    // raises the monitors status.
    void RecordsRead() override;

private:
    int JournalPath(char* path, uint32_t size) const;
    // Applies the journal's changes in order; how many of them could not be applied.
    uint32_t Replay(const SCA_SrvMonitorJournal& records);
    // Keeps a copy of a damaged journal, then leaves only what was replayed.
    int Mend(const char* path, const std::string& journal, const SCA_SrvMonitorJournal& records,
             uint32_t skipped);
    int ApplyChange(SCA_ConfigObj* change);
    void NoteFileSize();

    SCA_TezConfig* m_Config;
    SCA_TezConfigUser* m_UserConfig;
    uint32_t m_MonitorsStatus = 0;
    char m_ConfigDir[4096] = {};
    uint64_t m_JournalBytes = 0;
    uint64_t m_FileBytes = 0;
    uint64_t m_NextSeq = 1;
};
