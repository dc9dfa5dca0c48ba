// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <span>
#include <vector>

// The categories the counter picker groups counter types in: their rows (text and icon, in the
// order they are offered) and the counter types each offers, in the order they are listed.
inline constexpr uint32_t SCA_COUNTER_CATEGORY_ALL = 0;
inline constexpr uint32_t SCA_COUNTER_CATEGORY_CPU = 1;
inline constexpr uint32_t SCA_COUNTER_CATEGORY_MEMORY = 2;
inline constexpr uint32_t SCA_COUNTER_CATEGORY_DISK = 3;
inline constexpr uint32_t SCA_COUNTER_CATEGORY_NETWORK = 4;
inline constexpr uint32_t SCA_COUNTER_CATEGORY_USB = 5;
inline constexpr uint32_t SCA_COUNTER_CATEGORY_SYSTEM = 6;
inline constexpr uint32_t SCA_COUNTER_CATEGORY_FILE_SYSTEM = 7;
inline constexpr uint32_t SCA_COUNTER_CATEGORY_PROCESS = 8;
inline constexpr uint32_t SCA_COUNTER_CATEGORY_SHARES = 9;
inline constexpr uint32_t SCA_COUNTER_CATEGORY_SQL = 10;
inline constexpr uint32_t SCA_COUNTER_CATEGORY_PROTOCOLS = 11;
inline constexpr uint32_t SCA_COUNTER_CATEGORY_WEB = 12;
inline constexpr uint32_t SCA_COUNTER_CATEGORY_ISCSI = 13;
inline constexpr uint32_t SCA_COUNTER_CATEGORY_PHYSICAL_DISKS = 14;
inline constexpr uint32_t SCA_COUNTER_CATEGORY_PRINTERS = 15;
inline constexpr uint32_t SCA_COUNTER_CATEGORY_NET_FILTER = 16;
inline constexpr uint32_t SCA_COUNTER_CATEGORY_DIRECTORY = 17;

class SCA_SrvCounterCategories {
public:
    struct Row {
        uint32_t Category;
        const char* Text;
        const char* Icon;
    };

    // The rows of the category list in order. The USB devices have no row; the network filter's
    // row is offered only where the computer has a filtering platform.
    static std::span<const Row> Rows();
    // The categories whose lists make the standard table, in its order.
    static std::span<const uint32_t> StandardCategories();
    // Whether the category's instances come from an inventory of its own (which fills the
    // instance list before its counters are listed) rather than from the standard table.
    static bool HasOwnFiller(uint32_t category);
    // Appends the counter types the category offers. The processor's frequency counters come
    // only with cpuFrequency, and the protocols are those of IPv4 and IPv6 apart with tcpV6, of
    // IP as a whole without it.
    static void AppendCounters(uint32_t category, bool cpuFrequency, bool tcpV6,
                               std::vector<uint32_t>* counterTypes);
};
