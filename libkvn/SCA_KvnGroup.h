// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "containers/SCA_List.h"
#include "libkvn/SCA_KvnExport.h"
#include "libkvn/SCA_KvnRuleList.h"
#include "libkvn/SCA_KvnStoredForm.h"
#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Object.h"
#include "model/SCA_SrvMonitorList.h"

class SCA_ConfigObj;
class SCA_TezConfig;
class SCA_TezConfigUser;

// Name, type and profile of the monitor every group runs at least.
inline constexpr const char* SCA_KVN_DEFAULT_MONITOR_NAME = "System Monitor";
inline constexpr uint32_t SCA_KVN_DEFAULT_MONITOR_TYPE = 0;
inline constexpr uint32_t SCA_KVN_DEFAULT_MONITOR_PROFILE = 1;

// A group of the network server's devices: its member devices (id and name), the monitors its
// devices are to run and its alert rules. A group read from its stored form always has at
// least the default monitor.
class SCA_KVN_EXPORT SCA_KvnGroup : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    // The configurations are kept, not owned, and given to the monitor list.
    SCA_KvnGroup(SCA_TezConfig* config, SCA_TezConfigUser* userConfig);
    ~SCA_KvnGroup() override { ClearAll(); }
    // Copies hold their own devices, monitors and rules; flag 0 when a part failed.
    SCA_KvnGroup(const SCA_KvnGroup& other);
    SCA_KvnGroup& operator=(const SCA_KvnGroup& other);

    uint32_t GetGroupId() const { return m_GroupId; }
    void SetGroupId(uint32_t id) { m_GroupId = id; }
    // At most 255 bytes are kept, cut on a UTF-8 boundary; null empties.
    const char* GetGroupName() const { return m_GroupName; }
    void SetGroupName(const char* name);
    SCA_SrvMonitorList* GetMonitors() { return &m_Monitors; }
    SCA_KvnRuleList* GetRules() { return &m_Rules; }
    // The members: item id and element the device id, item name the device name.
    const SCA_List<uint32_t>* GetDevices() const { return &m_Devices; }

    // A member already there keeps its name (result 1). A name that cannot be stored (null,
    // empty, or not a valid field name) is refused with a report.
    int AddDevice(uint32_t deviceId, const char* name);
    // 1 also when the device is not a member.
    int DeleteDevice(uint32_t deviceId);
    int IsMember(uint32_t deviceId) const;
    // Removes every device and monitor; id, name and rules stay.
    int ClearAll();

    // "GroupId", "GroupName", "Monitors", "Devices" and "Rules".
    int Serialize(SCA_ConfigObj* object) const;
    // ClearAll, then the stored form; without monitors the group gets the default monitor,
    // without "Rules" it keeps its rules.
    int Deserialize(SCA_ConfigObj* object);
    // Takes id, name, devices and monitors of source; the rules stay this group's.
    int SetContent(const SCA_KvnGroup* source);

protected:
    int SerializeDevices(SCA_ConfigObj* object) const;
    int DeserializeDevices(SCA_ConfigObj* object);
    // Replaces the monitors by the default monitor.
    int InitDefaultMonitors();

private:
    int SerializeGroup(SCA_ConfigObj* object, bool withRules) const;
    int DeserializeMonitors(SCA_ConfigObj* object);

    uint32_t m_GroupId = 0;
    char m_GroupName[SCA_KVN_TEXT_SIZE] = {};
    SCA_List<uint32_t> m_Devices;
    SCA_SrvMonitorList m_Monitors;
    SCA_KvnRuleList m_Rules;
};
