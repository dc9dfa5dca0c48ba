#pragma once

#include <cstdint>

// Monitor modes: the kind of a monitor (what it watches), kept with its definition and stamped
// on its reports (SCA_TezReportInfo::GetMonitorMode).
inline constexpr uint32_t SCA_TEZ_MODE_SYSTEM = 0;
inline constexpr uint32_t SCA_TEZ_MODE_SYSTEM_STATUS = 1;
inline constexpr uint32_t SCA_TEZ_MODE_CPU = 3;
inline constexpr uint32_t SCA_TEZ_MODE_MEMORY = 4;
inline constexpr uint32_t SCA_TEZ_MODE_PROCESS = 5;
inline constexpr uint32_t SCA_TEZ_MODE_NETWORK = 6;
inline constexpr uint32_t SCA_TEZ_MODE_DISK = 7;
inline constexpr uint32_t SCA_TEZ_MODE_NAS = 8;
inline constexpr uint32_t SCA_TEZ_MODE_SQL = 11;
inline constexpr uint32_t SCA_TEZ_MODE_IIS = 12;
inline constexpr uint32_t SCA_TEZ_MODE_ISCSI = 13;
inline constexpr uint32_t SCA_TEZ_MODE_PHYSICAL_DISKS = 14;
inline constexpr uint32_t SCA_TEZ_MODE_PRINTER = 15;
inline constexpr uint32_t SCA_TEZ_MODE_TCP = 16;
inline constexpr uint32_t SCA_TEZ_MODE_ACTIVE_DIRECTORY = 17;
inline constexpr uint32_t SCA_TEZ_MODE_NET_FILTER = 19;
inline constexpr uint32_t SCA_TEZ_MODE_UDP = 20;

// The 16-pixel icon of a monitor mode (":/images/cpu_16px.png", ...); the system monitor's for
// a mode without one of its own. A static text.
const char* SCA_TezGetModeSmallIcon(uint32_t mode);
