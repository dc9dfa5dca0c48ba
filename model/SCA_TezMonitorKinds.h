// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// The kinds of monitor by number: the monitor mode a definition carries, and the counter presets
// that SCA_TezCounterList::Init fills a profile from (a profile's mode names the preset it was
// made from).

// Monitor modes. 0 is a monitor made empty, of no kind.
inline constexpr uint32_t SCA_TEZ_MODE_EMPTY = 0;
inline constexpr uint32_t SCA_TEZ_MODE_SYSTEM = 1;
inline constexpr uint32_t SCA_TEZ_MODE_CPU = 3;
inline constexpr uint32_t SCA_TEZ_MODE_MEMORY = 4;
inline constexpr uint32_t SCA_TEZ_MODE_PROCESS = 5;
inline constexpr uint32_t SCA_TEZ_MODE_NETWORK = 6;
inline constexpr uint32_t SCA_TEZ_MODE_DISK = 7;
inline constexpr uint32_t SCA_TEZ_MODE_SHARES = 8;
inline constexpr uint32_t SCA_TEZ_MODE_SQL = 11;
inline constexpr uint32_t SCA_TEZ_MODE_WEB = 12;
inline constexpr uint32_t SCA_TEZ_MODE_ISCSI = 13;
inline constexpr uint32_t SCA_TEZ_MODE_PHYSICAL_DISKS = 14;
inline constexpr uint32_t SCA_TEZ_MODE_PRINTERS = 15;
inline constexpr uint32_t SCA_TEZ_MODE_TCP = 16;
inline constexpr uint32_t SCA_TEZ_MODE_DIRECTORY = 17;
inline constexpr uint32_t SCA_TEZ_MODE_NET_FILTER = 19;
inline constexpr uint32_t SCA_TEZ_MODE_UDP = 20;

// Counter presets (profile modes). 0 is no preset: a profile without counters.
inline constexpr uint32_t SCA_TEZ_PRESET_NONE = 0;
inline constexpr uint32_t SCA_TEZ_PRESET_SYSTEM = 1;
inline constexpr uint32_t SCA_TEZ_PRESET_CPU = 2;
inline constexpr uint32_t SCA_TEZ_PRESET_MEMORY = 3;
inline constexpr uint32_t SCA_TEZ_PRESET_DISK = 4;
inline constexpr uint32_t SCA_TEZ_PRESET_NETWORK = 5;
inline constexpr uint32_t SCA_TEZ_PRESET_TCP = 6;
inline constexpr uint32_t SCA_TEZ_PRESET_TCP4 = 7;
inline constexpr uint32_t SCA_TEZ_PRESET_WEB = 8;
inline constexpr uint32_t SCA_TEZ_PRESET_SHARES = 9;
inline constexpr uint32_t SCA_TEZ_PRESET_SQL = 10;
inline constexpr uint32_t SCA_TEZ_PRESET_ISCSI = 11;
inline constexpr uint32_t SCA_TEZ_PRESET_PHYSICAL_DISKS = 12;
inline constexpr uint32_t SCA_TEZ_PRESET_TCP6 = 13;
inline constexpr uint32_t SCA_TEZ_PRESET_PRINTERS = 14;
inline constexpr uint32_t SCA_TEZ_PRESET_UDP = 15;
inline constexpr uint32_t SCA_TEZ_PRESET_UDP4 = 16;
inline constexpr uint32_t SCA_TEZ_PRESET_UDP6 = 17;
inline constexpr uint32_t SCA_TEZ_PRESET_NET_FILTER = 18;
// A process monitor's profile mode; it names no counter preset.
inline constexpr uint32_t SCA_TEZ_PRESET_PROCESS = 19;
inline constexpr uint32_t SCA_TEZ_PRESET_DIRECTORY = 21;
