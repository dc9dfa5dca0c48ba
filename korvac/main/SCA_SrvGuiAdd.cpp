// SPDX-License-Identifier: MIT
// The window's add commands: one per kind of monitor, each from one row of the kinds' table.
#include <iterator>

#include "korvac/main/SCA_GuiUpdateLock.h"
#include "korvac/main/SCA_SrvGui.h"
#include "korvac/main/SCA_SrvInventoryStep.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezMonitorKinds.h"

namespace {

using Step = SCA_SrvInventoryStep::Kind;

// A kind of monitor: its default description, type and modes, the counter preset it starts
// with (none: no counters) and the inventory step that chooses what it watches.
struct MonitorKind {
    void (SCA_SrvGui::*Slot)();
    const char* Description;
    uint32_t Type;
    // The empty monitor keeps the modes a new definition has.
    bool SetsModes;
    uint32_t Mode;
    uint32_t ProfileMode;
    uint32_t Preset;
    Step Inventory;
    // The process monitor's profile stays unnamed.
    bool NamesProfile;
};

constexpr uint32_t kCounters = SCA_SRV_MONITOR_COUNTERS;
constexpr uint32_t kProcess = SCA_SRV_MONITOR_PROCESS;

constexpr MonitorKind kKinds[] = {
    {&SCA_SrvGui::AddSystemMonitor, "System Monitor", kCounters, true, SCA_TEZ_MODE_SYSTEM,
     SCA_TEZ_PRESET_SYSTEM, SCA_TEZ_PRESET_SYSTEM, Step::None, true},
    {&SCA_SrvGui::AddProcessMonitor, "Process Monitor", kProcess, true, SCA_TEZ_MODE_PROCESS,
     SCA_TEZ_PRESET_PROCESS, SCA_TEZ_PRESET_NONE, Step::None, false},
    {&SCA_SrvGui::AddCpuUsageMonitor, "CPU Monitor", kCounters, true, SCA_TEZ_MODE_CPU,
     SCA_TEZ_PRESET_CPU, SCA_TEZ_PRESET_CPU, Step::None, true},
    {&SCA_SrvGui::AddMemoryUsageMonitor, "Memory Monitor", kCounters, true, SCA_TEZ_MODE_MEMORY,
     SCA_TEZ_PRESET_MEMORY, SCA_TEZ_PRESET_MEMORY, Step::None, true},
    {&SCA_SrvGui::AddDiskActivityMonitor, "Disk Monitor", kCounters, true, SCA_TEZ_MODE_DISK,
     SCA_TEZ_PRESET_DISK, SCA_TEZ_PRESET_DISK, Step::LogicalDisk, true},
    {&SCA_SrvGui::AddPhysicalDisksMonitor, "Physical Disks", kCounters, true,
     SCA_TEZ_MODE_PHYSICAL_DISKS, SCA_TEZ_PRESET_PHYSICAL_DISKS, SCA_TEZ_PRESET_PHYSICAL_DISKS,
     Step::PhysicalDisk, true},
    {&SCA_SrvGui::AddNetworkActivityMonitor, "Network Monitor", kCounters, true,
     SCA_TEZ_MODE_NETWORK, SCA_TEZ_PRESET_NETWORK, SCA_TEZ_PRESET_NETWORK, Step::NetworkCard, true},
    {&SCA_SrvGui::AddNetworkFilterMonitor, "Network Filter Monitor", kCounters, true,
     SCA_TEZ_MODE_NET_FILTER, SCA_TEZ_PRESET_NET_FILTER, SCA_TEZ_PRESET_NET_FILTER,
     Step::NetworkFilter, true},
    {&SCA_SrvGui::AddTcpProtocolMonitor, "TCP/IP Monitor", kCounters, true, SCA_TEZ_MODE_TCP,
     SCA_TEZ_PRESET_TCP, SCA_TEZ_PRESET_TCP, Step::TcpVersion, true},
    {&SCA_SrvGui::AddUdpProtocolMonitor, "UDP/IP Monitor", kCounters, true, SCA_TEZ_MODE_UDP,
     SCA_TEZ_PRESET_UDP, SCA_TEZ_PRESET_UDP, Step::UdpVersion, true},
    {&SCA_SrvGui::AddActiveDirMonitor, "Active Directory Monitor", kCounters, true,
     SCA_TEZ_MODE_DIRECTORY, SCA_TEZ_PRESET_DIRECTORY, SCA_TEZ_PRESET_DIRECTORY,
     Step::DirectoryService, true},
    {&SCA_SrvGui::AddSmbServerMonitor, "NAS Monitor", kCounters, true, SCA_TEZ_MODE_SHARES,
     SCA_TEZ_PRESET_SHARES, SCA_TEZ_PRESET_SHARES, Step::NetworkShare, true},
    {&SCA_SrvGui::AddSqlServerMonitor, "SQL Monitor", kCounters, true, SCA_TEZ_MODE_SQL,
     SCA_TEZ_PRESET_SQL, SCA_TEZ_PRESET_SQL, Step::SqlDatabase, true},
    {&SCA_SrvGui::AddWebServiceMonitor, "IIS Monitor", kCounters, true, SCA_TEZ_MODE_WEB,
     SCA_TEZ_PRESET_WEB, SCA_TEZ_PRESET_WEB, Step::WebSite, true},
    {&SCA_SrvGui::AddISCSITargetMonitor, "iSCSI Monitor", kCounters, true, SCA_TEZ_MODE_ISCSI,
     SCA_TEZ_PRESET_ISCSI, SCA_TEZ_PRESET_ISCSI, Step::IscsiTarget, true},
    {&SCA_SrvGui::AddPrinterMonitor, "Printer Monitor", kCounters, true, SCA_TEZ_MODE_PRINTERS,
     SCA_TEZ_PRESET_PRINTERS, SCA_TEZ_PRESET_PRINTERS, Step::Printer, true},
    {&SCA_SrvGui::AddEmptyMonitor, "System Monitor", kCounters, false, 0, 0, SCA_TEZ_PRESET_NONE,
     Step::None, true},
};
static_assert(std::size(kKinds) == 17);

const MonitorKind* FindKind(void (SCA_SrvGui::*slot)()) {
    for (const MonitorKind& kind : kKinds) {
        if (kind.Slot == slot) {
            return &kind;
        }
    }
    return nullptr;
}

} // namespace

void SCA_SrvGui::AddMonitorOfKind(void (SCA_SrvGui::*slot)()) {
    const MonitorKind* kind = FindKind(slot);
    if (kind == nullptr) {
        return;
    }
    const SCA_GuiUpdateLock lock(this);
    SCA_SrvMonitor monitor(&m_LocalConfig, &m_UserConfig);
    if (!CheckConnected(1)) {
        return;
    }
    monitor.SetDescription(kind->Description);
    monitor.SetMonitorType(kind->Type);
    if (kind->SetsModes) {
        monitor.SetMonitorMode(kind->Mode);
        monitor.SetProfileMode(kind->ProfileMode);
    }
    if (!RunMonitorDialog(&monitor)) {
        return;
    }
    // A remote flag without a computer name is the service's own computer.
    const char* computer = monitor.IsRemote() ? monitor.GetComputerName() : "";
    SCA_SrvInventoryStep step(this, m_Session);
    if (monitor.IsRemote() && !step.CheckRemote(computer)) {
        return;
    }
    SCA_SrvInventoryStep::Choice choice;
    choice.Preset = kind->Preset;
    if (!step.Run(kind->Inventory, computer, &monitor, &choice)) {
        return;
    }
    SCA_TezProfile* profile = monitor.GetProfile();
    if (choice.Preset != SCA_TEZ_PRESET_NONE) {
        if (!profile->GetCounterList()->Init(choice.Preset, nullptr, choice.SqlInstance.c_str(),
                                             choice.Instance.c_str())) {
            return;
        }
        profile->SetProfileMode(choice.Preset);
    }
    if (kind->NamesProfile) {
        profile->SetProfileName(monitor.GetDescription());
    }
    AddMonitorToServer(&monitor);
}

#define SCA_SRV_GUI_ADD_COMMAND(Name)                                                              \
    void SCA_SrvGui::Name() {                                                                      \
        AddMonitorOfKind(&SCA_SrvGui::Name);                                                       \
    }

SCA_SRV_GUI_ADD_COMMAND(AddSystemMonitor)
SCA_SRV_GUI_ADD_COMMAND(AddProcessMonitor)
SCA_SRV_GUI_ADD_COMMAND(AddCpuUsageMonitor)
SCA_SRV_GUI_ADD_COMMAND(AddMemoryUsageMonitor)
SCA_SRV_GUI_ADD_COMMAND(AddDiskActivityMonitor)
SCA_SRV_GUI_ADD_COMMAND(AddPhysicalDisksMonitor)
SCA_SRV_GUI_ADD_COMMAND(AddNetworkActivityMonitor)
SCA_SRV_GUI_ADD_COMMAND(AddNetworkFilterMonitor)
SCA_SRV_GUI_ADD_COMMAND(AddTcpProtocolMonitor)
SCA_SRV_GUI_ADD_COMMAND(AddUdpProtocolMonitor)
SCA_SRV_GUI_ADD_COMMAND(AddActiveDirMonitor)
SCA_SRV_GUI_ADD_COMMAND(AddSmbServerMonitor)
SCA_SRV_GUI_ADD_COMMAND(AddSqlServerMonitor)
SCA_SRV_GUI_ADD_COMMAND(AddWebServiceMonitor)
SCA_SRV_GUI_ADD_COMMAND(AddISCSITargetMonitor)
SCA_SRV_GUI_ADD_COMMAND(AddPrinterMonitor)
SCA_SRV_GUI_ADD_COMMAND(AddEmptyMonitor)

#undef SCA_SRV_GUI_ADD_COMMAND
