// SPDX-License-Identifier: MIT
#include "model/SCA_TezCounterMeta.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>

#include "libmor/SCA_String.h"
#include "libmor/SCA_Time.h"
#include "model/SCA_TezCounterRows.h"
#include "model/SCA_TezVocabulary.h"

namespace {

using SCA_TezCounterRows::kRows;
using SCA_TezCounterRows::Row;

using Table = std::array<tagSCA_TEZ_COUNTER_META, SCA_TEZ_MAX_COUNTER_TYPE>;

// The rows placed by type, so that a look-up is one index.
constexpr Table BuildTable() {
    Table table{};
    for (const Row& row : kRows) {
        table[row.Type - 1] = {row.Name, row.Description, row.Units, row.Group, row.Flags};
    }
    return table;
}

constexpr Table kTable = BuildTable();

constexpr bool Named(uint32_t type, std::string_view name) {
    const char* own = SCA_TezCounterRows::Find(type).Name;
    return own != nullptr && std::string_view(own) == name;
}

// The vocabulary's named types are the rows of those names.
static_assert(Named(SCA_COUNTER_CPU_USAGE, "CPU_USAGE") &&
              Named(SCA_COUNTER_CPU_USAGE_USER, "CPU_USAGE_USER") &&
              Named(SCA_COUNTER_CPU_USAGE_SYSTEM, "CPU_USAGE_SYSTEM") &&
              Named(SCA_COUNTER_MEMORY_USAGE, "MEMORY_USAGE") &&
              Named(SCA_COUNTER_MEMORY_FREE, "MEMORY_FREE") &&
              Named(SCA_COUNTER_DISK_ACTIVITY, "DISK_ACTIVITY") &&
              Named(SCA_COUNTER_DISK_TRANSFER_WRITE, "DISK_TRANSFER_WRITE") &&
              Named(SCA_COUNTER_OS_TOTAL_PROCESSES, "OS_TOTAL_PROCESSES") &&
              Named(SCA_COUNTER_OS_TOTAL_THREADS, "OS_TOTAL_THREADS") &&
              Named(SCA_COUNTER_PROCESS_CPU_USAGE, "PROCESS_CPU_USAGE") &&
              Named(SCA_COUNTER_PROCESS_CPU_USER, "PROCESS_CPU_USER") &&
              Named(SCA_COUNTER_PROCESS_CPU_SYSTEM, "PROCESS_CPU_SYSTEM") &&
              Named(SCA_COUNTER_PROCESS_MEM_USED, "PROCESS_MEM_USED") &&
              Named(SCA_COUNTER_PROCESS_HANDLES, "PROCESS_HANDLES") &&
              Named(SCA_COUNTER_PROCESS_THREADS, "PROCESS_THREADS") &&
              Named(SCA_COUNTER_PROCESS_DATA_RATE, "PROCESS_DATA_RATE") &&
              Named(SCA_COUNTER_PROCESS_DATA_IOPS, "PROCESS_DATA_IOPS") &&
              Named(SCA_COUNTER_PROCESS_READ_RATE, "PROCESS_READ_RATE") &&
              Named(SCA_COUNTER_PROCESS_READ_IOPS, "PROCESS_READ_IOPS") &&
              Named(SCA_COUNTER_PROCESS_WRITE_RATE, "PROCESS_WRITE_RATE") &&
              Named(SCA_COUNTER_PROCESS_WRITE_IOPS, "PROCESS_WRITE_IOPS") &&
              Named(SCA_COUNTER_PROCESS_NPP_USED, "PROCESS_NPP_USED") &&
              Named(SCA_COUNTER_PROCESS_PAGE_FAULT_RATE, "PROCESS_PAGE_FAULT_RATE") &&
              Named(SCA_COUNTER_PROCESS_ID, "PROCESS_ID") &&
              Named(SCA_COUNTER_PROCESS_TIME, "PROCESS_TIME") &&
              Named(SCA_COUNTER_PROCESS_PARENT_ID, "PROCESS_PARENT_ID"));

// What printf's "%.<digits>f" followed by the tails writes, cut to size as it cuts, without
// the parse of a format that printf pays for each value: a list of thousands of rows formats
// thousands of values a second.
void FormatFixed(double value, int digits, std::initializer_list<const char*> tails, char* text,
                 size_t size) {
    char* const last = text + size - 1;
    const std::to_chars_result written =
        std::to_chars(text, last, value, std::chars_format::fixed, digits);
    if (written.ec != std::errc()) {
        // Too long for the room: printf cuts the figure itself.
        std::string tail;
        for (const char* part : tails) {
            tail += part;
        }
        std::snprintf(text, size, "%.*f%s", digits, value, tail.c_str());
        return;
    }
    char* out = written.ptr;
    for (const char* part : tails) {
        for (; *part != '\0' && out < last; ++part) {
            *out++ = *part;
        }
    }
    *out = '\0';
}

// Formats a size or data rate in binary multiples: "512 B", "1.50 KB", "3.20 MB/s".
void FormatBytes(double value, const char* suffix, char* text, size_t size) {
    static const char* const kUnits[] = {"B", "KB", "MB", "GB", "TB", "PB"};
    double scaled = value;
    size_t unit = 0;
    while (std::fabs(scaled) >= 1024.0 && unit + 1 < sizeof(kUnits) / sizeof(kUnits[0])) {
        scaled /= 1024.0;
        ++unit;
    }
    FormatFixed(scaled, unit == 0 ? 0 : 2, {" ", kUnits[unit], suffix}, text, size);
}

// Link speeds count in decimal multiples of bits: "100.00 Mbit/s".
void FormatBits(double value, char* text, size_t size) {
    static const char* const kUnits[] = {"bit/s", "Kbit/s", "Mbit/s", "Gbit/s", "Tbit/s"};
    double scaled = value;
    size_t unit = 0;
    while (std::fabs(scaled) >= 1000.0 && unit + 1 < sizeof(kUnits) / sizeof(kUnits[0])) {
        scaled /= 1000.0;
        ++unit;
    }
    FormatFixed(scaled, unit == 0 ? 0 : 2, {" ", kUnits[unit]}, text, size);
}

// Whole counts without decimals; averages of counts keep two.
void FormatCount(double value, char* text, size_t size) {
    const bool whole = value == std::floor(value) && std::fabs(value) < 1e15;
    FormatFixed(value, whole ? 0 : 2, {}, text, size);
}

void FormatElapsed(double seconds, char* text, size_t size) {
    if (seconds >= 0.0 && seconds < 1e9) {
        const auto units =
            static_cast<uint64_t>(seconds * static_cast<double>(SCA_ABS_TIME_SECOND));
        SCA_FormatTime(units, text, static_cast<uint32_t>(size));
    } else {
        std::snprintf(text, size, "%.0f s", seconds);
    }
}

void FormatValue(uint32_t units, double value, char* text, size_t size) {
    if (!std::isfinite(value)) {
        std::snprintf(text, size, "---");
        return;
    }
    switch (units) {
    case SCA_TEZ_UNITS_PERCENT:
        FormatFixed(value, 1, {"%"}, text, size);
        return;
    case SCA_TEZ_UNITS_BYTES:
        FormatBytes(value, "", text, size);
        return;
    case SCA_TEZ_UNITS_BYTES_PER_SEC:
        FormatBytes(value, "/s", text, size);
        return;
    case SCA_TEZ_UNITS_PER_SEC:
        FormatFixed(value, 1, {"/s"}, text, size);
        return;
    case SCA_TEZ_UNITS_MSEC:
        FormatFixed(value, 2, {" ms"}, text, size);
        return;
    case SCA_TEZ_UNITS_MHZ:
        FormatFixed(value, 0, {" MHz"}, text, size);
        return;
    case SCA_TEZ_UNITS_SECONDS:
        FormatElapsed(value, text, size);
        return;
    case SCA_TEZ_UNITS_BITS_PER_SEC:
        FormatBits(value, text, size);
        return;
    default:
        FormatCount(value, text, size);
        return;
    }
}

} // namespace

const tagSCA_TEZ_COUNTER_META* SCA_TezGetCounterMeta(uint32_t counterType) {
    // Type 0 wraps to the all-ones index and fails the same test as types above the table.
    const uint32_t index = counterType - 1u;
    return index < SCA_TEZ_MAX_COUNTER_TYPE ? &kTable[index] : nullptr;
}

const char* SCA_TezGetCounterDescr(uint32_t counterType) {
    const tagSCA_TEZ_COUNTER_META* meta = SCA_TezGetCounterMeta(counterType);
    return meta != nullptr ? meta->Description : "Unknown Counter";
}

uint32_t SCA_TezGetCounterUnits(uint32_t counterType) {
    const tagSCA_TEZ_COUNTER_META* meta = SCA_TezGetCounterMeta(counterType);
    return meta != nullptr ? meta->Units : SCA_TEZ_UNITS_COUNT;
}

uint32_t SCA_TezGetCounterGroup(uint32_t counterType) {
    const tagSCA_TEZ_COUNTER_META* meta = SCA_TezGetCounterMeta(counterType);
    return meta != nullptr ? meta->Group : SCA_TEZ_GROUP_NONE;
}

int SCA_TezBuildValueString(uint32_t counterType, double value, char* buf, uint32_t size,
                            uint32_t flags) {
    (void)flags;
    if (buf == nullptr || size == 0) {
        return 0;
    }
    char text[96];
    text[0] = '\0';
    FormatValue(SCA_TezGetCounterUnits(counterType), value, text, sizeof(text));
    SCA_StrnCpy(buf, text, size);
    return std::strlen(text) < size ? 1 : 0;
}

const char* SCA_TezGetCounterIcon(uint32_t counterType) {
    // By instance group, in the order of the SCA_TEZ_GROUP_* values.
    static constexpr const char* kGroupIcons[] = {
        ":/images/cpu_16px.png",
        ":/images/cpu_16px.png",
        ":/images/history_16px.png",
        ":/images/server_16px.png",
        ":/images/dir_16px.png",
        ":/images/disk_activity_16px.png",
        ":/images/network_16px.png",
        ":/images/net_proto_16px.png",
        ":/images/advanced_options_16px.png",
        ":/images/usb_16px.png",
        ":/images/network_drive_16px.png",
        ":/images/database_16px.png",
        ":/images/web_16px.png",
        ":/images/iscsi_16px.png",
        ":/images/disk_activity_16px.png",
        ":/images/print_16px.png",
        ":/images/net_filter_16px.png",
        ":/images/active_dir_16px.png",
    };
    static_assert(std::size(kGroupIcons) == SCA_TEZ_GROUP_DIRECTORY + 1);
    const uint32_t group = SCA_TezGetCounterGroup(counterType);
    return group < std::size(kGroupIcons) ? kGroupIcons[group] : ":/images/attr_16px.png";
}

int SCA_TezBuildInstanceDescr(uint32_t counterType, const char* instance, char* buf,
                              uint32_t size) {
    if (buf == nullptr || size == 0) {
        return 0;
    }
    std::string text = instance != nullptr ? instance : "";
    const uint32_t group = SCA_TezGetCounterGroup(counterType);
    if (text.empty()) {
        const bool single = group == SCA_TEZ_GROUP_MEMORY || group == SCA_TEZ_GROUP_SYSTEM ||
                            group == SCA_TEZ_GROUP_FILE_SYSTEM || group == SCA_TEZ_GROUP_PROTOCOL ||
                            group == SCA_TEZ_GROUP_NET_FILTER || group == SCA_TEZ_GROUP_DIRECTORY ||
                            group == SCA_TEZ_GROUP_NONE;
        text = single ? "" : "All";
    } else if ((group == SCA_TEZ_GROUP_CPU || group == SCA_TEZ_GROUP_CPU_FREQ) &&
               text.find_first_not_of("0123456789") == std::string::npos) {
        text = "CPU " + text;
    }
    SCA_StrnCpy(buf, text.c_str(), size);
    return text.size() < size ? 1 : 0;
}
