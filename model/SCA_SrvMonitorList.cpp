#include "model/SCA_SrvMonitorList.h"

#include <cstdio>
#include <cstring>

#include "libmor/SCA_FileSystem.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"

namespace {

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
    : m_Config(config), m_UserConfig(userConfig) {}

int SCA_SrvMonitorList::AddMonitor(uint32_t type, uint32_t mode, const char* description,
                                   SCA_SrvMonitor** monitor) {
    SCA_SrvMonitor* added = NewRecord();
    uint32_t id = kNoId;
    if (added == nullptr || !added->IsConstructed() || !AddRecord(added, nullptr, &id)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(5,
                                                  "SCA_SrvMonitorList::AddMonitor: "
                                                  "cannot add monitor - %s",
                                                  description != nullptr ? description : "");
        SCA_Object::Destroy(added);
        return 0;
    }
    added->SetMonitorId(id);
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

int SCA_SrvMonitorList::GetFilePath(char* path, uint32_t size) const {
    if (m_ConfigDir[0] == '\0') {
        return 0;
    }
    const int length = std::snprintf(path, size, "%s/%s", m_ConfigDir, SCA_SRV_MONITORS_FILE);
    return length > 0 && static_cast<uint32_t>(length) < size ? 1 : 0;
}

int SCA_SrvMonitorList::Load() {
    char path[sizeof(m_ConfigDir) + 64];
    if (!GetFilePath(path, sizeof(path))) {
        SCA_GetReportFunction(__FILE__, __LINE__)(5, "SCA_SrvMonitorList::Load: "
                                                     "no configuration folder");
        return 0;
    }
    if (!SCA_IsFileExists(path)) {
        return 1;
    }
    SCA_ConfigObj root(SCA_SRV_MONITORS_ROOT, nullptr);
    uint32_t error = 0;
    uint32_t fileType = 0;
    if (!root.IsConstructed() || !root.Load(path, &error, &fileType)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(5,
                                                  "SCA_SrvMonitorList::Load: "
                                                  "cannot load monitors file %s (ERR:%u)",
                                                  path, error);
        return 0;
    }
    if (fileType != SCA_SRV_MONITORS_FILE_TYPE || !Deserialize(&root)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(5,
                                                  "SCA_SrvMonitorList::Load: "
                                                  "invalid monitors file %s",
                                                  path);
        return 0;
    }
    return 1;
}

int SCA_SrvMonitorList::Save() {
    char path[sizeof(m_ConfigDir) + 64];
    if (!GetFilePath(path, sizeof(path))) {
        SCA_GetReportFunction(__FILE__, __LINE__)(5, "SCA_SrvMonitorList::Save: "
                                                     "no configuration folder");
        return 0;
    }
    uint32_t error = 0;
    if (!SCA_CreateDirectory(m_ConfigDir, &error)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(5,
                                                  "SCA_SrvMonitorList::Save: "
                                                  "cannot create folder %s (ERR:%u)",
                                                  m_ConfigDir, error);
        return 0;
    }
    SCA_ConfigObj root(SCA_SRV_MONITORS_ROOT, nullptr);
    if (!root.IsConstructed() || !Serialize(&root) ||
        !root.Save(path, SCA_SRV_MONITORS_FILE_TYPE, 0, &error)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(5,
                                                  "SCA_SrvMonitorList::Save: "
                                                  "cannot save monitors file %s (ERR:%u)",
                                                  path, error);
        return 0;
    }
    return 1;
}

int SCA_SrvMonitorList::Serialize(SCA_ConfigObj* object) const {
    if (!SerializeRecords(object)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(5, "SCA_SrvMonitorList::Serialize: "
                                                     "cannot serialize monitors");
        return 0;
    }
    return 1;
}

int SCA_SrvMonitorList::Deserialize(SCA_ConfigObj* object) {
    if (!DeserializeRecords(object)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(5, "SCA_SrvMonitorList::Deserialize: "
                                                     "cannot read monitors");
        return 0;
    }
    // Tasks and reports know a monitor by its list id: the definition must carry the same.
    for (Item* node = GetHead(); node != nullptr; node = node->GetNext()) {
        node->GetItem()->SetMonitorId(node->GetId());
        node->GetItem()->GetProfile()->SetMonitorId(node->GetId());
    }
    UpdateMonitorsStatus();
    return 1;
}
