#include "model/SCA_TezMonitorMode.h"

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

} // namespace

const char* SCA_TezGetModeDescr(uint32_t monitorMode) {
    for (const ModeName& entry : kModeNames) {
        if (entry.Mode == monitorMode) {
            return entry.Name;
        }
    }
    return kModeNames[0].Name;
}
