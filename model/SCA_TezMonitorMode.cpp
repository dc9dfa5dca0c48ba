// SPDX-License-Identifier: MIT
#include "model/SCA_TezMonitorMode.h"

#include "model/SCA_TezMonitorKinds.h"

namespace {

struct ModeName {
    uint32_t Mode;
    const char* Name;
};

constexpr ModeName kModeNames[] = {
    {1, "System Monitor"},
    {3, "CPU Monitor"},
    {4, "Memory Monitor"},
    {5, "Process Monitor"},
    {6, "Network Monitor"},
    {7, "Disk Monitor"},
    {8, "NAS Monitor"},
    {11, "SQL Monitor"},
    {12, "IIS Monitor"},
    {13, "iSCSI Monitor"},
    {14, "Physical Disks"},
    {15, "Printer Monitor"},
    {16, "TCP/IP Monitor"},
    {17, "Active Directory Monitor"},
    {19, "Network Filter Monitor"},
    {20, "UDP/IP Monitor"},
};

struct ModeIcon {
    uint32_t Mode;
    const char* Icon;
};

constexpr const char* kSystemIcon = ":/images/server_16px.png";

constexpr ModeIcon kModeIcons[] = {
    {SCA_TEZ_MODE_SYSTEM, kSystemIcon},
    {SCA_TEZ_MODE_CPU, ":/images/cpu_16px.png"},
    {SCA_TEZ_MODE_MEMORY, ":/images/memory_16px.png"},
    {SCA_TEZ_MODE_PROCESS, ":/images/profile_16px.png"},
    {SCA_TEZ_MODE_NETWORK, ":/images/nic_16px.png"},
    {SCA_TEZ_MODE_DISK, ":/images/disk_activity_16px.png"},
    {SCA_TEZ_MODE_SHARES, ":/images/network_drive_16px.png"},
    {SCA_TEZ_MODE_SQL, ":/images/database_16px.png"},
    {SCA_TEZ_MODE_WEB, ":/images/web_16px.png"},
    {SCA_TEZ_MODE_ISCSI, ":/images/iscsi_16px.png"},
    {SCA_TEZ_MODE_PHYSICAL_DISKS, ":/images/disk_activity_16px.png"},
    {SCA_TEZ_MODE_PRINTERS, ":/images/print_16px.png"},
    {SCA_TEZ_MODE_TCP, ":/images/os_server_16px.png"},
    {SCA_TEZ_MODE_DIRECTORY, ":/images/active_dir_16px.png"},
    {SCA_TEZ_MODE_NET_FILTER, ":/images/net_filter_16px.png"},
    {SCA_TEZ_MODE_UDP, ":/images/os_server_16px.png"},
};

} // namespace

const char* SCA_TezGetModeDescr(uint32_t monitorMode) {
    for (const ModeName& entry : kModeNames) {
        if (entry.Mode == monitorMode) {
            return entry.Name;
        }
    }
    return kModeNames[0].Name;
}

const char* SCA_TezGetModeSmallIcon(uint32_t mode) {
    for (const ModeIcon& entry : kModeIcons) {
        if (entry.Mode == mode) {
            return entry.Icon;
        }
    }
    return kSystemIcon;
}
