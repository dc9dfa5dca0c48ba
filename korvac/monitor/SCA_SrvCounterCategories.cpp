// SPDX-License-Identifier: MIT
#include "korvac/monitor/SCA_SrvCounterCategories.h"

namespace {

// Counter types first to last, both included.
struct Span {
    uint32_t First;
    uint32_t Last;
};

constexpr Span kCpu[] = {{1, 3}, {60, 61}, {75, 77}};
constexpr Span kCpuFrequency[] = {{80, 81}};
constexpr Span kMemory[] = {{4, 5}, {19, 19}, {6, 6}, {70, 74}, {78, 79}, {85, 86}};
constexpr Span kDisk[] = {{59, 59}, {57, 57}, {7, 15}, {58, 58}, {151, 160}};
constexpr Span kNetwork[] = {{16, 18}, {62, 69}, {300, 300}};
constexpr Span kProtocolsIp[] = {{161, 169}, {281, 285}};
constexpr Span kProtocolsV4V6[] = {{170, 187}, {286, 295}};
constexpr Span kSystem[] = {{38, 39},   {115, 115}, {314, 317}, {32, 32}, {31, 31},
                            {298, 298}, {297, 297}, {33, 33},   {82, 83}, {34, 34},
                            {299, 299}, {35, 36},   {296, 296}, {37, 37}, {40, 42}};
constexpr Span kProcess[] = {{43, 46}, {87, 87},   {114, 114}, {48, 48},  {47, 47},
                             {49, 56}, {245, 245}, {247, 247}, {246, 246}};
constexpr Span kFileSystem[] = {{24, 30}};
constexpr Span kPhysicalDisks[] = {{248, 256}, {267, 267}, {257, 266}};
constexpr Span kNetFilter[] = {{301, 313}};
constexpr Span kDirectory[] = {
    {349, 350}, {346, 346}, {348, 348}, {347, 347}, {345, 345}, {327, 327}, {331, 331},
    {330, 330}, {332, 332}, {328, 328}, {336, 338}, {318, 321}, {342, 344}, {322, 326},
    {351, 357}, {329, 329}, {358, 361}, {333, 335}, {340, 340}, {364, 366}, {339, 339},
    {362, 362}, {370, 371}, {363, 363}, {367, 369}, {372, 374}, {341, 341}};
constexpr Span kShares[] = {{88, 113}};
constexpr Span kSql[] = {{116, 131}, {150, 150}, {132, 149}};
constexpr Span kWeb[] = {{203, 218}, {225, 227}, {219, 224}, {228, 232}, {188, 202}};
constexpr Span kIscsi[] = {{243, 244}, {236, 236}, {242, 242}, {241, 241},
                           {239, 240}, {233, 235}, {237, 238}};
constexpr Span kPrinters[] = {{268, 280}};
constexpr Span kUsb[] = {{20, 23}};

// The lists that do not depend on what the computer offers.
struct List {
    uint32_t Category;
    std::span<const Span> Spans;
};
constexpr List kLists[] = {
    {SCA_COUNTER_CATEGORY_CPU, kCpu},
    {SCA_COUNTER_CATEGORY_MEMORY, kMemory},
    {SCA_COUNTER_CATEGORY_DISK, kDisk},
    {SCA_COUNTER_CATEGORY_NETWORK, kNetwork},
    {SCA_COUNTER_CATEGORY_SYSTEM, kSystem},
    {SCA_COUNTER_CATEGORY_PROCESS, kProcess},
    {SCA_COUNTER_CATEGORY_FILE_SYSTEM, kFileSystem},
    {SCA_COUNTER_CATEGORY_PHYSICAL_DISKS, kPhysicalDisks},
    {SCA_COUNTER_CATEGORY_NET_FILTER, kNetFilter},
    {SCA_COUNTER_CATEGORY_DIRECTORY, kDirectory},
    {SCA_COUNTER_CATEGORY_SHARES, kShares},
    {SCA_COUNTER_CATEGORY_SQL, kSql},
    {SCA_COUNTER_CATEGORY_WEB, kWeb},
    {SCA_COUNTER_CATEGORY_ISCSI, kIscsi},
    {SCA_COUNTER_CATEGORY_PRINTERS, kPrinters},
    {SCA_COUNTER_CATEGORY_USB, kUsb},
};

constexpr SCA_SrvCounterCategories::Row kRows[] = {
    {SCA_COUNTER_CATEGORY_ALL, "All Counters", ":/images/profiles_32px.png"},
    {SCA_COUNTER_CATEGORY_CPU, "CPU Usage", ":/images/cpu_32px.png"},
    {SCA_COUNTER_CATEGORY_MEMORY, "Memory Usage", ":/images/history_32px.png"},
    {SCA_COUNTER_CATEGORY_DISK, "Disk Activity", ":/images/disk_activity_32px.png"},
    {SCA_COUNTER_CATEGORY_PHYSICAL_DISKS, "Physical Disks", ":/images/disk_activity_32px.png"},
    {SCA_COUNTER_CATEGORY_NETWORK, "Network Activity", ":/images/network_32px.png"},
    {SCA_COUNTER_CATEGORY_PROTOCOLS, "Network Protocols", ":/images/net_proto_32px.png"},
    {SCA_COUNTER_CATEGORY_NET_FILTER, "Network Filter", ":/images/net_filter_32px.png"},
    {SCA_COUNTER_CATEGORY_SYSTEM, "Operating System", ":/images/server_32px.png"},
    {SCA_COUNTER_CATEGORY_PROCESS, "Process Status", ":/images/advanced_options_32px.png"},
    {SCA_COUNTER_CATEGORY_FILE_SYSTEM, "File System", ":/images/dir_32px.png"},
    {SCA_COUNTER_CATEGORY_DIRECTORY, "Active Directory", ":/images/active_dir_32px.png"},
    {SCA_COUNTER_CATEGORY_SHARES, "NAS Server", ":/images/network_drive_32px.png"},
    {SCA_COUNTER_CATEGORY_SQL, "SQL Server", ":/images/database_32px.png"},
    {SCA_COUNTER_CATEGORY_WEB, "IIS Server", ":/images/web_32px.png"},
    {SCA_COUNTER_CATEGORY_ISCSI, "iSCSI Target", ":/images/iscsi_32px.png"},
    {SCA_COUNTER_CATEGORY_PRINTERS, "Printer Status", ":/images/print_32px.png"},
};

constexpr uint32_t kStandard[] = {SCA_COUNTER_CATEGORY_CPU,       SCA_COUNTER_CATEGORY_MEMORY,
                                  SCA_COUNTER_CATEGORY_DISK,      SCA_COUNTER_CATEGORY_NETWORK,
                                  SCA_COUNTER_CATEGORY_PROTOCOLS, SCA_COUNTER_CATEGORY_SYSTEM,
                                  SCA_COUNTER_CATEGORY_PROCESS,   SCA_COUNTER_CATEGORY_FILE_SYSTEM};

void Append(std::span<const Span> spans, std::vector<uint32_t>* counterTypes) {
    for (const Span& span : spans) {
        for (uint32_t type = span.First; type <= span.Last; ++type) {
            counterTypes->push_back(type);
        }
    }
}

} // namespace

std::span<const SCA_SrvCounterCategories::Row> SCA_SrvCounterCategories::Rows() {
    return kRows;
}

std::span<const uint32_t> SCA_SrvCounterCategories::StandardCategories() {
    return kStandard;
}

bool SCA_SrvCounterCategories::HasOwnFiller(uint32_t category) {
    switch (category) {
    case SCA_COUNTER_CATEGORY_USB:
    case SCA_COUNTER_CATEGORY_SHARES:
    case SCA_COUNTER_CATEGORY_SQL:
    case SCA_COUNTER_CATEGORY_WEB:
    case SCA_COUNTER_CATEGORY_ISCSI:
    case SCA_COUNTER_CATEGORY_PHYSICAL_DISKS:
    case SCA_COUNTER_CATEGORY_PRINTERS:
    case SCA_COUNTER_CATEGORY_NET_FILTER:
    case SCA_COUNTER_CATEGORY_DIRECTORY:
        return true;
    default:
        return false;
    }
}

void SCA_SrvCounterCategories::AppendCounters(uint32_t category, bool cpuFrequency, bool tcpV6,
                                              std::vector<uint32_t>* counterTypes) {
    if (category == SCA_COUNTER_CATEGORY_PROTOCOLS) {
        Append(tcpV6 ? std::span<const Span>(kProtocolsV4V6) : std::span<const Span>(kProtocolsIp),
               counterTypes);
        return;
    }
    for (const List& list : kLists) {
        if (list.Category == category) {
            Append(list.Spans, counterTypes);
        }
    }
    if (category == SCA_COUNTER_CATEGORY_CPU && cpuFrequency) {
        Append(kCpuFrequency, counterTypes);
    }
}
