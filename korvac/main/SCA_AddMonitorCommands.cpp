// SPDX-License-Identifier: MIT
#include "korvac/main/SCA_AddMonitorCommands.h"

#include <QMenu>
#include <QMessageBox>
#include <iterator>

#include "korvac/kit/SCA_ClientSession.h"
#include "korvac/main/SCA_GuiUpdateLock.h"
#include "korvac/main/SCA_SrvInventoryStep.h"
#include "korvac/main/SCA_SrvMonDlg.h"
#include "libmor/SCA_Report.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "libvop/SCA_ModalHook.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezMonitorKinds.h"

namespace {

using Step = SCA_SrvInventoryStep::Kind;

// A kind of monitor: its default description, type and modes, the counter preset it starts
// with (none: no counters) and the inventory step that chooses what it watches.
struct MonitorKind {
    void (SCA_AddMonitorCommands::*Slot)();
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
    {&SCA_AddMonitorCommands::AddSystemMonitor, "System Monitor", kCounters, true,
     SCA_TEZ_MODE_SYSTEM, SCA_TEZ_PRESET_SYSTEM, SCA_TEZ_PRESET_SYSTEM, Step::None, true},
    {&SCA_AddMonitorCommands::AddProcessMonitor, "Process Monitor", kProcess, true,
     SCA_TEZ_MODE_PROCESS, SCA_TEZ_PRESET_PROCESS, SCA_TEZ_PRESET_NONE, Step::None, false},
    {&SCA_AddMonitorCommands::AddCpuUsageMonitor, "CPU Monitor", kCounters, true, SCA_TEZ_MODE_CPU,
     SCA_TEZ_PRESET_CPU, SCA_TEZ_PRESET_CPU, Step::None, true},
    {&SCA_AddMonitorCommands::AddMemoryUsageMonitor, "Memory Monitor", kCounters, true,
     SCA_TEZ_MODE_MEMORY, SCA_TEZ_PRESET_MEMORY, SCA_TEZ_PRESET_MEMORY, Step::None, true},
    {&SCA_AddMonitorCommands::AddDiskActivityMonitor, "Disk Monitor", kCounters, true,
     SCA_TEZ_MODE_DISK, SCA_TEZ_PRESET_DISK, SCA_TEZ_PRESET_DISK, Step::LogicalDisk, true},
    {&SCA_AddMonitorCommands::AddPhysicalDisksMonitor, "Physical Disks", kCounters, true,
     SCA_TEZ_MODE_PHYSICAL_DISKS, SCA_TEZ_PRESET_PHYSICAL_DISKS, SCA_TEZ_PRESET_PHYSICAL_DISKS,
     Step::PhysicalDisk, true},
    {&SCA_AddMonitorCommands::AddNetworkActivityMonitor, "Network Monitor", kCounters, true,
     SCA_TEZ_MODE_NETWORK, SCA_TEZ_PRESET_NETWORK, SCA_TEZ_PRESET_NETWORK, Step::NetworkCard, true},
    {&SCA_AddMonitorCommands::AddNetworkFilterMonitor, "Network Filter Monitor", kCounters, true,
     SCA_TEZ_MODE_NET_FILTER, SCA_TEZ_PRESET_NET_FILTER, SCA_TEZ_PRESET_NET_FILTER,
     Step::NetworkFilter, true},
    {&SCA_AddMonitorCommands::AddTcpProtocolMonitor, "TCP/IP Monitor", kCounters, true,
     SCA_TEZ_MODE_TCP, SCA_TEZ_PRESET_TCP, SCA_TEZ_PRESET_TCP, Step::TcpVersion, true},
    {&SCA_AddMonitorCommands::AddUdpProtocolMonitor, "UDP/IP Monitor", kCounters, true,
     SCA_TEZ_MODE_UDP, SCA_TEZ_PRESET_UDP, SCA_TEZ_PRESET_UDP, Step::UdpVersion, true},
    {&SCA_AddMonitorCommands::AddActiveDirMonitor, "Active Directory Monitor", kCounters, true,
     SCA_TEZ_MODE_DIRECTORY, SCA_TEZ_PRESET_DIRECTORY, SCA_TEZ_PRESET_DIRECTORY,
     Step::DirectoryService, true},
    {&SCA_AddMonitorCommands::AddSmbServerMonitor, "NAS Monitor", kCounters, true,
     SCA_TEZ_MODE_SHARES, SCA_TEZ_PRESET_SHARES, SCA_TEZ_PRESET_SHARES, Step::NetworkShare, true},
    {&SCA_AddMonitorCommands::AddSqlServerMonitor, "SQL Monitor", kCounters, true, SCA_TEZ_MODE_SQL,
     SCA_TEZ_PRESET_SQL, SCA_TEZ_PRESET_SQL, Step::SqlDatabase, true},
    {&SCA_AddMonitorCommands::AddWebServiceMonitor, "IIS Monitor", kCounters, true,
     SCA_TEZ_MODE_WEB, SCA_TEZ_PRESET_WEB, SCA_TEZ_PRESET_WEB, Step::WebSite, true},
    {&SCA_AddMonitorCommands::AddISCSITargetMonitor, "iSCSI Monitor", kCounters, true,
     SCA_TEZ_MODE_ISCSI, SCA_TEZ_PRESET_ISCSI, SCA_TEZ_PRESET_ISCSI, Step::IscsiTarget, true},
    {&SCA_AddMonitorCommands::AddPrinterMonitor, "Printer Monitor", kCounters, true,
     SCA_TEZ_MODE_PRINTERS, SCA_TEZ_PRESET_PRINTERS, SCA_TEZ_PRESET_PRINTERS, Step::Printer, true},
    {&SCA_AddMonitorCommands::AddEmptyMonitor, "System Monitor", kCounters, false, 0, 0,
     SCA_TEZ_PRESET_NONE, Step::None, true},
};
static_assert(std::size(kKinds) == 17);

const MonitorKind* FindKind(void (SCA_AddMonitorCommands::*slot)()) {
    for (const MonitorKind& kind : kKinds) {
        if (kind.Slot == slot) {
            return &kind;
        }
    }
    return nullptr;
}

} // namespace

SCA_AddMonitorCommands::SCA_AddMonitorCommands(const SCA_MainCommandContext& context)
    : QObject(context.Window), m_Context(context) {
    setObjectName(QStringLiteral("AddMonitorCommands"));
}

void SCA_AddMonitorCommands::BuildMenu(QMenu* menu) {
    struct Entry {
        const char* Text;
        const char* Icon;
        void (SCA_AddMonitorCommands::*Slot)();
    };
    using Add = SCA_AddMonitorCommands;
    static constexpr Entry kEntries[] = {
        {"System Monitor ...", "server_16px.png", &Add::AddSystemMonitor},
        {"Process Monitor ...", "profile_16px.png", &Add::AddProcessMonitor},
        {nullptr, nullptr, nullptr},
        {"CPU Usage Monitor ...", "cpu_16px.png", &Add::AddCpuUsageMonitor},
        {"Memory Usage Monitor ...", "memory_16px.png", &Add::AddMemoryUsageMonitor},
        {"Disk Activity Monitor ...", "disk_activity_16px.png", &Add::AddDiskActivityMonitor},
        {"Physical Disks Monitor ...", "disk_activity_16px.png", &Add::AddPhysicalDisksMonitor},
        {"Network Activity Monitor ...", "nic_16px.png", &Add::AddNetworkActivityMonitor},
        {"Network Filter Monitor ...", "net_filter_16px.png", &Add::AddNetworkFilterMonitor},
        {"TCP/IP Protocol Monitor ...", "os_server_16px.png", &Add::AddTcpProtocolMonitor},
        {"UDP/IP Protocol Monitor ...", "os_server_16px.png", &Add::AddUdpProtocolMonitor},
        {"Printer Status Monitor ...", "print_16px.png", &Add::AddPrinterMonitor},
        {nullptr, nullptr, nullptr},
        {"Active Directory Monitor ...", "active_dir_16px.png", &Add::AddActiveDirMonitor},
        {"NAS Server Monitor ...", "network_drive_16px.png", &Add::AddSmbServerMonitor},
        {"iSCSI Target Monitor ...", "iscsi_16px.png", &Add::AddISCSITargetMonitor},
        {"SQL Server Monitor ...", "database_16px.png", &Add::AddSqlServerMonitor},
        {"IIS Server Monitor ...", "web_16px.png", &Add::AddWebServiceMonitor},
        {nullptr, nullptr, nullptr},
        {"Empty Monitor ...", "app_16px.png", &Add::AddEmptyMonitor},
    };
    for (const Entry& entry : kEntries) {
        if (entry.Text == nullptr) {
            menu->addSeparator();
            continue;
        }
        connect(SCA_MainCommandContext::AddMenuAction(menu, entry.Text, entry.Icon),
                &QAction::triggered, this, entry.Slot);
    }
}

int SCA_AddMonitorCommands::RunMonitorDialog(SCA_SrvMonitor* monitor, const QString& title) {
    if (!m_Context.CheckConnected(1)) {
        return 0;
    }
    SCA_SrvMonDlg dialog(m_Context.Window, m_Context.ServerUserConfig, m_Context.Session, monitor,
                         title);
    dialog.FillDialog();
    if (SCA_ExecDialog(&dialog) != QDialog::Accepted) {
        return 0;
    }
    return dialog.SaveDialog();
}

int SCA_AddMonitorCommands::AddMonitorToServer(SCA_SrvMonitor* monitor) {
    SCA_ClientSession* session = m_Context.Session;
    const char* description = monitor->GetDescription();
    uint32_t existingId = SCA_ALL_ONES;
    uint32_t exists = 0;
    if (!session->Command([&](SCA_KorvantaInterface& client) {
            return client.IsMonitorExists(monitor, &existingId, &exists);
        })) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "Cannot check monitor status - %s", description);
        return 0;
    }
    if (exists == 1) {
        if (SCA_AskMessageBox(m_Context.Window, SCA_LEVEL_INFO, QStringLiteral("Message"),
                              QStringLiteral("The selected monitor already exists.\nDo you want "
                                             "to open the existing monitor?"),
                              QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes) {
            emit OpenAsked(existingId);
        }
        return 1;
    }
    uint32_t id = 0;
    if (!session->Command([&](SCA_KorvantaInterface& client) {
            return client.AddMonitor(monitor->GetMonitorType(), monitor->GetMonitorMode(),
                                     description, &id);
        })) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "Cannot add monitor - %s",
                                                  description);
        return 0;
    }
    monitor->SetMonitorId(id);
    monitor->GetProfile()->SetMonitorId(id);
    if (!session->Command(
            [&](SCA_KorvantaInterface& client) { return client.SetMonitor(id, monitor); })) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "Cannot set monitor - %s",
                                                  description);
        // A monitor the service holds without its definition would only confuse: it goes.
        session->Command([&](SCA_KorvantaInterface& client) { return client.DeleteMonitor(id); });
        emit MonitorsChanged();
        return 0;
    }
    const bool startable = monitor->GetMonitorType() == SCA_SRV_MONITOR_PROCESS ||
                           monitor->GetProfile()->GetCounterList()->Count() > 0;
    if (monitor->GetAutoStart() && startable &&
        !session->Command([&](SCA_KorvantaInterface& client) { return client.StartMonitor(id); })) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "Cannot start monitor - %s",
                                                  description);
        emit MonitorsChanged();
        return 0;
    }
    emit MonitorsChanged();
    emit OpenAsked(id);
    return 1;
}

void SCA_AddMonitorCommands::AddMonitorOfKind(void (SCA_AddMonitorCommands::*slot)()) {
    const MonitorKind* kind = FindKind(slot);
    if (kind == nullptr) {
        return;
    }
    const SCA_GuiUpdateLock lock(m_Context.UpdateLock);
    SCA_SrvMonitor monitor(m_Context.LocalConfig, m_Context.UserConfig);
    if (!m_Context.CheckConnected(1)) {
        return;
    }
    monitor.SetDescription(kind->Description);
    monitor.SetMonitorType(kind->Type);
    if (kind->SetsModes) {
        monitor.SetMonitorMode(kind->Mode);
        monitor.SetProfileMode(kind->ProfileMode);
    }
    if (!RunMonitorDialog(&monitor, QStringLiteral("Add Monitor"))) {
        return;
    }
    // A remote flag without a computer name is the service's own computer.
    const char* computer = monitor.IsRemote() ? monitor.GetComputerName() : "";
    SCA_SrvInventoryStep step(m_Context.Window, m_Context.Session);
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

#define SCA_ADD_MONITOR_COMMAND(Name)                                                              \
    void SCA_AddMonitorCommands::Name() {                                                          \
        AddMonitorOfKind(&SCA_AddMonitorCommands::Name);                                           \
    }

SCA_ADD_MONITOR_COMMAND(AddSystemMonitor)
SCA_ADD_MONITOR_COMMAND(AddProcessMonitor)
SCA_ADD_MONITOR_COMMAND(AddCpuUsageMonitor)
SCA_ADD_MONITOR_COMMAND(AddMemoryUsageMonitor)
SCA_ADD_MONITOR_COMMAND(AddDiskActivityMonitor)
SCA_ADD_MONITOR_COMMAND(AddPhysicalDisksMonitor)
SCA_ADD_MONITOR_COMMAND(AddNetworkActivityMonitor)
SCA_ADD_MONITOR_COMMAND(AddNetworkFilterMonitor)
SCA_ADD_MONITOR_COMMAND(AddTcpProtocolMonitor)
SCA_ADD_MONITOR_COMMAND(AddUdpProtocolMonitor)
SCA_ADD_MONITOR_COMMAND(AddActiveDirMonitor)
SCA_ADD_MONITOR_COMMAND(AddSmbServerMonitor)
SCA_ADD_MONITOR_COMMAND(AddSqlServerMonitor)
SCA_ADD_MONITOR_COMMAND(AddWebServiceMonitor)
SCA_ADD_MONITOR_COMMAND(AddISCSITargetMonitor)
SCA_ADD_MONITOR_COMMAND(AddPrinterMonitor)
SCA_ADD_MONITOR_COMMAND(AddEmptyMonitor)

#undef SCA_ADD_MONITOR_COMMAND
