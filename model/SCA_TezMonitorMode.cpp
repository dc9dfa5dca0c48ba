#include "model/SCA_TezMonitorMode.h"

namespace {

struct ModeIcon {
    uint32_t Mode;
    const char* Icon;
};

constexpr const char* kSystemIcon = ":/images/server_16px.png";

constexpr ModeIcon kModeIcons[] = {
    {SCA_TEZ_MODE_SYSTEM, kSystemIcon},
    {SCA_TEZ_MODE_SYSTEM_STATUS, kSystemIcon},
    {SCA_TEZ_MODE_CPU, ":/images/cpu_16px.png"},
    {SCA_TEZ_MODE_MEMORY, ":/images/memory_16px.png"},
    {SCA_TEZ_MODE_PROCESS, ":/images/profile_16px.png"},
    {SCA_TEZ_MODE_NETWORK, ":/images/nic_16px.png"},
    {SCA_TEZ_MODE_DISK, ":/images/disk_activity_16px.png"},
    {SCA_TEZ_MODE_NAS, ":/images/network_drive_16px.png"},
    {SCA_TEZ_MODE_SQL, ":/images/database_16px.png"},
    {SCA_TEZ_MODE_IIS, ":/images/web_16px.png"},
    {SCA_TEZ_MODE_ISCSI, ":/images/iscsi_16px.png"},
    {SCA_TEZ_MODE_PHYSICAL_DISKS, ":/images/disk_activity_16px.png"},
    {SCA_TEZ_MODE_PRINTER, ":/images/print_16px.png"},
    {SCA_TEZ_MODE_TCP, ":/images/os_server_16px.png"},
    {SCA_TEZ_MODE_ACTIVE_DIRECTORY, ":/images/active_dir_16px.png"},
    {SCA_TEZ_MODE_NET_FILTER, ":/images/net_filter_16px.png"},
    {SCA_TEZ_MODE_UDP, ":/images/os_server_16px.png"},
};

} // namespace

const char* SCA_TezGetModeSmallIcon(uint32_t mode) {
    for (const ModeIcon& entry : kModeIcons) {
        if (entry.Mode == mode) {
            return entry.Icon;
        }
    }
    return kSystemIcon;
}
