#include "model/SCA_SrvMonitorList.h"

#include <cstring>

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

int SCA_SrvMonitorList::Load() {
    return LoadFile(m_ConfigDir, kMonitorsFile);
}

int SCA_SrvMonitorList::Save() {
    return SaveFile(m_ConfigDir, kMonitorsFile);
}

void SCA_SrvMonitorList::RecordsRead() {
    // Tasks and reports know a monitor by its list id: the definition must carry the same.
    for (Item* node = GetHead(); node != nullptr; node = node->GetNext()) {
        node->GetItem()->SetMonitorId(node->GetId());
        node->GetItem()->GetProfile()->SetMonitorId(node->GetId());
    }
    UpdateMonitorsStatus();
}
