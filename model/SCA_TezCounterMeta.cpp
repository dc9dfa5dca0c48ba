#include "model/SCA_TezCounterMeta.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>

#include "libmor/SCA_String.h"
#include "libmor/SCA_Time.h"

namespace {

// Short names for the table below.
constexpr uint32_t uCount = SCA_TEZ_UNITS_COUNT;
constexpr uint32_t uPct = SCA_TEZ_UNITS_PERCENT;
constexpr uint32_t uBytes = SCA_TEZ_UNITS_BYTES;
constexpr uint32_t uByteRate = SCA_TEZ_UNITS_BYTES_PER_SEC;
constexpr uint32_t uRate = SCA_TEZ_UNITS_PER_SEC;
constexpr uint32_t uMs = SCA_TEZ_UNITS_MSEC;
constexpr uint32_t uMhz = SCA_TEZ_UNITS_MHZ;
constexpr uint32_t uSec = SCA_TEZ_UNITS_SECONDS;
constexpr uint32_t uBitRate = SCA_TEZ_UNITS_BITS_PER_SEC;

constexpr uint32_t gCpu = SCA_TEZ_GROUP_CPU;
constexpr uint32_t gFreq = SCA_TEZ_GROUP_CPU_FREQ;
constexpr uint32_t gMem = SCA_TEZ_GROUP_MEMORY;
constexpr uint32_t gSys = SCA_TEZ_GROUP_SYSTEM;
constexpr uint32_t gFs = SCA_TEZ_GROUP_FILE_SYSTEM;
constexpr uint32_t gDisk = SCA_TEZ_GROUP_DISK;
constexpr uint32_t gNic = SCA_TEZ_GROUP_NIC;
constexpr uint32_t gProto = SCA_TEZ_GROUP_PROTOCOL;
constexpr uint32_t gProc = SCA_TEZ_GROUP_PROCESS;
constexpr uint32_t gUsb = SCA_TEZ_GROUP_USB;
constexpr uint32_t gShare = SCA_TEZ_GROUP_SHARE;
constexpr uint32_t gDb = SCA_TEZ_GROUP_DATABASE;
constexpr uint32_t gWeb = SCA_TEZ_GROUP_WEB_SITE;
constexpr uint32_t gIscsi = SCA_TEZ_GROUP_ISCSI;
constexpr uint32_t gPDisk = SCA_TEZ_GROUP_PHYSICAL_DISK;
constexpr uint32_t gPrint = SCA_TEZ_GROUP_PRINTER;
constexpr uint32_t gFilter = SCA_TEZ_GROUP_NET_FILTER;
constexpr uint32_t gDir = SCA_TEZ_GROUP_DIRECTORY;

constexpr uint32_t fVoc = SCA_TEZ_COUNTER_VOCABULARY;
constexpr uint32_t fCpu = SCA_TEZ_COUNTER_CPU_USAGE;

struct Row {
    uint32_t Type;
    const char* Name;
    const char* Description;
    uint32_t Units;
    uint32_t Group;
    uint32_t Flags;
};

// Every counter type once, in ascending order. Rows flagged fVoc are the symbolic vocabulary,
// whose names and descriptions are fixed texts (spelling included); the others are described
// from their category.
constexpr Row kRows[] = {
    {1, "CPU_USAGE", "CPU Usage", uPct, gCpu, fVoc | fCpu},
    {2, "CPU_USAGE_USER", "CPU Usage User", uPct, gCpu, fVoc | fCpu},
    {3, "CPU_USAGE_SYSTEM", "CPU Usage System", uPct, gCpu, fVoc | fCpu},
    {4, "MEMORY_USAGE", "Memory Usage", uPct, gMem, fVoc},
    {5, "MEMORY_FREE", "Memory Available", uBytes, gMem, fVoc},
    {6, "MEMORY_CACHE", "Memory Cache", uBytes, gMem, fVoc},
    {7, "DISK_ACTIVITY", "Disk Activity", uPct, gDisk, fVoc},
    {8, "DISK_ACTIVITY_READ", "Disk Read Activity", uPct, gDisk, fVoc},
    {9, "DISK_ACTIVITY_WRITE", "Disk Write Activity", uPct, gDisk, fVoc},
    {10, "DISK_TRANSFER", "Disk Transfer Rate", uByteRate, gDisk, fVoc},
    {11, "DISK_TRANSFER_READ", "Disk Read Transfer Rate", uByteRate, gDisk, fVoc},
    {12, "DISK_TRANSFER_WRITE", "Disk Write Transfer Rate", uByteRate, gDisk, fVoc},
    {13, "DISK_IOPS", "Disk Transfer Iops", uRate, gDisk, fVoc},
    {14, "DISK_IOPS_READ", "Disk Read Iops", uRate, gDisk, fVoc},
    {15, "DISK_IOPS_WRITE", "Disk Write Iops", uRate, gDisk, fVoc},
    {16, "NET_TRANS_RATE", "Network Transfer Rate", uByteRate, gNic, fVoc},
    {17, "NET_SEND_RATE", "Network Send Rate", uByteRate, gNic, fVoc},
    {18, "NET_RECV_RATE", "Network Receive Rate", uByteRate, gNic, fVoc},
    {19, "MEMORY_USED", "Memory Used", uBytes, gMem, fVoc},
    {20, "USB_RATE_BULK", "USB Bulk Transfer Rate", uByteRate, gUsb, fVoc},
    {21, "USB_RATE_ISO", "USB Iso Transfer Rate", uByteRate, gUsb, fVoc},
    {22, "USB_RATE_CONTROL", "USB Control Transfer Rate", uByteRate, gUsb, fVoc},
    {23, "USB_RATE_INTERRUPT", "USB Interrupt Transfer Rate", uByteRate, gUsb, fVoc},
    {24, "FS_CONTROL_RATE", "File System Control Rate", uByteRate, gFs, fVoc},
    {25, "FS_CONTROL_IOPS", "File System Control IOPS", uRate, gFs, fVoc},
    {26, "FS_DATA_IOPS", "File System Data IOPS", uRate, gFs, fVoc},
    {27, "FS_READ_RATE", "File System Read Rate", uByteRate, gFs, fVoc},
    {28, "FS_READ_IOPS", "File System Read IOPS", uRate, gFs, fVoc},
    {29, "FS_WRITE_RATE", "File System Write Rate", uByteRate, gFs, fVoc},
    {30, "FS_WRITE_IOPS", "File System Write IOPS", uRate, gFs, fVoc},
    {31, "OS_SERVER_OPEN_FILES", "Server Open Files", uCount, gSys, fVoc},
    {32, "OS_SERVER_SESSIONS", "Server Sessions", uCount, gSys, fVoc},
    {33, "OS_TERMINAL_SESSIONS", "Terminal Sessions", uCount, gSys, fVoc},
    {34, "OS_LOGON_COUNT", "Total User Logons", uCount, gSys, fVoc},
    {35, "OS_LOGON_ERRORS", "Logon Errors", uCount, gSys, fVoc},
    {36, "OS_ACCESS_ERRORS", "Access Denied Errors", uCount, gSys, fVoc},
    {37, "OS_SYSTEM_ERRORS", "System Errors", uCount, gSys, fVoc},
    {38, "OS_TOTAL_PROCESSES", "Total Processes", uCount, gSys, fVoc},
    {39, "OS_TOTAL_THREADS", "Total Threads", uCount, gSys, fVoc},
    {40, nullptr, "Processor Queue", uCount, gSys, fVoc},
    {41, nullptr, "Context Switch Rate", uRate, gSys, fVoc},
    {42, nullptr, "System Call Rate", uRate, gSys, fVoc},
    {43, "PROCESS_CPU_USAGE", "Process CPU Usage", uPct, gProc, fVoc | fCpu},
    {44, "PROCESS_CPU_USER", "Process CPU Usage User", uPct, gProc, fVoc | fCpu},
    {45, "PROCESS_CPU_SYSTEM", "Process CPU Usage System", uPct, gProc, fVoc | fCpu},
    {46, "PROCESS_MEM_USED", "Process Memory Used", uBytes, gProc, fVoc},
    {47, "PROCESS_HANDLES", "Process Handle Count", uCount, gProc, fVoc},
    {48, "PROCESS_THREADS", "Process Thread Count", uCount, gProc, fVoc},
    {49, "PROCESS_CTRL_RATE", "Process Control Rate", uByteRate, gProc, fVoc},
    {50, "PROCESS_CTRL_IOPS", "Process Control IOPS", uRate, gProc, fVoc},
    {51, "PROCESS_DATA_RATE", "Process Data Rate", uByteRate, gProc, fVoc},
    {52, "PROCESS_DATA_IOPS", "Process Data IOPS", uRate, gProc, fVoc},
    {53, "PROCESS_READ_RATE", "Process Read Rate", uByteRate, gProc, fVoc},
    {54, "PROCESS_READ_IOPS", "Process Read IOPS", uRate, gProc, fVoc},
    {55, "PROCESS_WRITE_RATE", "Process Write Rate", uByteRate, gProc, fVoc},
    {56, "PROCESS_WRITE_IOPS", "Process Write IOPS", uRate, gProc, fVoc},
    {57, "DISK_FREE_SPACE", "Disk Free Space", uBytes, gDisk, fVoc},
    {58, "DISK_SPLIT_IOPS", "Disk Split Iops", uRate, gDisk, fVoc},
    {59, "DISK_SPACE_USAGE", "Disk Space Usage", uPct, gDisk, fVoc},
    {60, "CPU_INT_TIME", "CPU Interrupt Time", uPct, gCpu, fVoc},
    {61, "CPU_INT_RATE", "CPU Interrupt Rate", uRate, gCpu, fVoc},
    {62, "NET_PACK_RATE", "Network Packets Rate", uRate, gNic, fVoc},
    {63, "NET_PACK_RATE_SEND", "Network Send Packets Rate", uRate, gNic, fVoc},
    {64, "NET_PACK_RATE_RECV", "Network Receive Packets Rate", uRate, gNic, fVoc},
    {65, "NET_PACK_ERR_SEND", "Network Send Packets Errors", uCount, gNic, fVoc},
    {66, "NET_PACK_ERR_RECV", "Network Receive Packets Errors", uCount, gNic, fVoc},
    {67, "NET_PACK_DISC_SEND", "Network Send Packets Discarded", uCount, gNic, fVoc},
    {68, "NET_PACK_DISC_RECV", "Network Receive Packets Discarded", uCount, gNic, fVoc},
    {69, "NET_OUTPUT_QUEUE", "Network Output Queue Length", uCount, gNic, fVoc},
    {70, "MEMORY_CACHE_PEAK", "Memory Cache Peak", uBytes, gMem, fVoc},
    {71, "MEMORY_CACHE_FAULT_RATE", "Memory Cache Fault Rate", uRate, gMem, fVoc},
    {72, "MEMORY_PAGE_FAULT_RATE", "Memory Page Fault Rate", uRate, gMem, fVoc},
    {73, "MEMORY_PAGE_READ_RATE", "Memory Page Read Rate", uRate, gMem, fVoc},
    {74, "MEMORY_PAGE_WRITE_RATE", "Memory Page Write Rate", uRate, gMem, fVoc},
    {75, "CPU_C1_LP_TIME", "CPU C1 Low-Power Time", uPct, gCpu, fVoc | fCpu},
    {76, "CPU_C2_LP_TIME", "CPU C2 Low-Power Time", uPct, gCpu, fVoc | fCpu},
    {77, "CPU_C3_LP_TIME", "CPU C3 Low-Power Time", uPct, gCpu, fVoc | fCpu},
    {78, "MEMORY_PAGE_FILE_USAGE", "Memory Page File Usage", uPct, gMem, fVoc},
    {79, "MEMORY_PAGE_FILE_PEAK", "Memory Page File Peak", uPct, gMem, fVoc},
    {80, "CPU_FREQ", "CPU Frequency", uMhz, gFreq, fVoc},
    {81, "CPU_FREQ_PERCENT", "CPU Percent of Max Frequency", uPct, gFreq, fVoc},
    {82, "OS_INACTIVE_SESSIONS", "Inactive Sessions", uCount, gSys, fVoc},
    {83, "OS_TOTAL_SESSIONS", "Total Sessions", uCount, gSys, fVoc},
    {84, "MEMORY_LIMIT", "Memory Limit", uBytes, gMem, fVoc},
    {85, "MEMORY_NPP_USED", "Memory Nonpaged Pool Used", uBytes, gMem, fVoc},
    {86, "MEMORY_NPP_ALLOCS", "Memory Nonpaged Pool Allocs", uCount, gMem, fVoc},
    {87, "PROCESS_NPP_USED", "Process Nonpaged Pool Used", uBytes, gProc, fVoc},
    // Network shares of a file server.
    {88, nullptr, "Share Requests Rate", uRate, gShare, 0},
    {89, nullptr, "Share Data Requests Rate", uRate, gShare, 0},
    {90, nullptr, "Share Read Requests Rate", uRate, gShare, 0},
    {91, nullptr, "Share Write Requests Rate", uRate, gShare, 0},
    {92, nullptr, "Share Metadata Requests Rate", uRate, gShare, 0},
    {93, nullptr, "Share Transfer Rate", uByteRate, gShare, 0},
    {94, nullptr, "Share Data Transfer Rate", uByteRate, gShare, 0},
    {95, nullptr, "Share Read Rate", uByteRate, gShare, 0},
    {96, nullptr, "Share Write Rate", uByteRate, gShare, 0},
    {97, nullptr, "Share Receive Rate", uByteRate, gShare, 0},
    {98, nullptr, "Share Send Rate", uByteRate, gShare, 0},
    {99, nullptr, "Share Average Request Time", uMs, gShare, 0},
    {100, nullptr, "Share Average Data Request Time", uMs, gShare, 0},
    {101, nullptr, "Share Average Read Time", uMs, gShare, 0},
    {102, nullptr, "Share Average Write Time", uMs, gShare, 0},
    {103, nullptr, "Share Average Data Request Size", uBytes, gShare, 0},
    {104, nullptr, "Share Average Read Size", uBytes, gShare, 0},
    {105, nullptr, "Share Average Write Size", uBytes, gShare, 0},
    {106, nullptr, "Share Pending Requests", uCount, gShare, 0},
    {107, nullptr, "Share Average Data Queue Length", uCount, gShare, 0},
    {108, nullptr, "Share Average Read Queue Length", uCount, gShare, 0},
    {109, nullptr, "Share Average Write Queue Length", uCount, gShare, 0},
    {110, nullptr, "Share Open Files", uCount, gShare, 0},
    {111, nullptr, "Share Files Opened Rate", uRate, gShare, 0},
    {112, nullptr, "Share Total Opened Files", uCount, gShare, 0},
    {113, nullptr, "Share Tree Connections", uCount, gShare, 0},
    {114, "PROCESS_PAGE_FAULT_RATE", "Process Page Fault Rate", uRate, gProc, fVoc},
    {115, "OS_TOTAL_HANDLES", "Total Handles", uCount, gSys, fVoc},
    {116, "SQL_SRV_LOGICAL_CONNECTIONS", "SQL Server Logical Connections", uCount, gDb, fVoc},
    {117, "SQL_SRV_SUER_CONNECTIONS", "SQL Server User Connections", uCount, gDb, fVoc},
    {118, "SQL_SRV_LOGIN_RATE", "SQL Server Login Rate", uRate, gDb, fVoc},
    {119, "SQL_SRV_LOGOUT_RATE", "SQL Server Logout Rate", uRate, gDb, fVoc},
    {120, "SQL_SRV_FULL_SCAN_RATE", "SQL Server Full Scan Rate", uRate, gDb, fVoc},
    {121, "SQL_SRV_PROBE_SCAN_RATE", "SQL Server Probe Scan Rate", uRate, gDb, fVoc},
    {122, "SQL_SRV_RANGE_SCAN_RATE", "SQL Server Range Scan Rate", uRate, gDb, fVoc},
    {123, "SQL_SRV_INDEX_SEARCH_RATE", "SQL Server Index Search Rate", uRate, gDb, fVoc},
    {124, "SQL_SRV_PAGE_ALLOC_RATE", "SQL Server Page Allocation Rate", uRate, gDb, fVoc},
    {125, "SQL_SRV_PAGE_SPLIT_RATE", "SQL Server Page Split Rate", uRate, gDb, fVoc},
    {126, "SQL_SRV_PAGE_DEALLOC_RATE", "SQL Server Page Deallocation Rate", uRate, gDb, fVoc},
    {127, "SQL_SRV_CONNECTION_MEMORY", "SQL Server Connection Memory", uBytes, gDb, fVoc},
    {128, "SQL_SRV_DB_CACHE_MEMORY", "SQL Server Database Cache Memory", uBytes, gDb, fVoc},
    {129, "SQL_SRV_SQL_CACHE_MEMORY", "SQL Server SQL Cache Memory", uBytes, gDb, fVoc},
    {130, "SQL_SRV_LOCK_MEMORY", "SQL Server Lock Memory", uBytes, gDb, fVoc},
    {131, "SQL_SRV_LOG_POOL_MEMORY", "SQL Server Log Pool Memory", uBytes, gDb, fVoc},
    {132, "SQL_SRV_MAX_WSPACE_MEMORY", "SQL Server Max Workspace Memory", uBytes, gDb, fVoc},
    {133, "SQL_SRV_OPTIMIZER_MEMORY", "SQL Server Optimizer Memory", uBytes, gDb, fVoc},
    {134, "SQL_SRV_FREE_MEMORY", "SQL Server Free Memory", uBytes, gDb, fVoc},
    {135, "SQL_SRV_STOLEN_MEMORY", "SQL Server Stolen Memory", uBytes, gDb, fVoc},
    {136, "SQL_SRV_TARGET_MEMORY", "SQL Server Target Memory", uBytes, gDb, fVoc},
    {137, "SQL_SRV_TOTAL_MEMORY", "SQL Server Total Memory", uBytes, gDb, fVoc},
    {138, "SQL_SRV_BG_WRITER_RATE", "SQL Server Background Write Rate", uRate, gDb, fVoc},
    {139, "SQL_SRV_CACHE_HIT_RATIO", "SQL Server Cache Hit Ratio", uPct, gDb, fVoc},
    {140, "SQL_SRV_DATABASE_PAGES", "SQL Server Database Pages", uCount, gDb, fVoc},
    {141, "SQL_SRV_PAGE_LOOKUP_RATE", "SQL Server Page Lookup Rate", uRate, gDb, fVoc},
    {142, "SQL_SRV_PAGE_READ_RATE", "SQL Server Page Read Rate", uRate, gDb, fVoc},
    {143, "SQL_SRV_PAGE_WRITE_RATE", "SQL Server Page Write Rate", uRate, gDb, fVoc},
    {144, "SQL_SRV_TARGET_PAGES", "SQL Server Target Pages", uCount, gDb, fVoc},
    {145, "SQL_SRV_ACTIVE_TRANSACTIONS", "SQL Server Active Transactions", uCount, gDb, fVoc},
    {146, "SQL_SRV_DATA_FILES_SIZE", "SQL Server Data Files Size", uBytes, gDb, fVoc},
    {147, "SQL_SRV_LOG_SPACE_USED", "SQL Server Log Space Used", uPct, gDb, fVoc},
    {148, "SQL_SRV_TRANS_RATE", "SQL Server Transactions Rate", uRate, gDb, fVoc},
    {149, "SQL_SRV_TRANS_WRITE_RATE", "SQL Server Write Transactions Rate", uRate, gDb, fVoc},
    {150, "SQL_SRV_GRANTED_WSPACE_MEMORY", "SQL Server Granted Workspace Memory", uBytes, gDb,
     fVoc},
    {151, "DISK_AVG_TRANSFER_BYTES", "Disk Average Request Size", uBytes, gDisk, fVoc},
    {152, "DISK_AVG_READ_BYTES", "Disk Average Read Request Size", uBytes, gDisk, fVoc},
    {153, "DISK_AVG_WRITE_BYTES", "Disk Average Write Request Size", uBytes, gDisk, fVoc},
    {154, "DISK_AVG_TRANSFER_TIME", "Disk Average Request Time", uMs, gDisk, fVoc},
    {155, "DISK_AVG_READ_TIME", "Disk Average Read Request Time", uMs, gDisk, fVoc},
    {156, "DISK_AVG_WRITE_TIME", "Disk Average Write Request Time", uMs, gDisk, fVoc},
    {157, "DISK_AVG_QUEUE_LENGTH", "Disk Average Queue Length", uCount, gDisk, fVoc},
    {158, "DISK_AVG_READ_QUEUE_LENGTH", "Disk Average Read Queue Length", uCount, gDisk, fVoc},
    {159, "DISK_AVG_WRITE_QUEUE_LENGTH", "Disk Average Write Queue Length", uCount, gDisk, fVoc},
    {160, "DISK_CURRENT_QUEUE_LENGTH", "Disk Current Queue Length", uCount, gDisk, fVoc},
    // TCP: both versions together, then version 4 and version 6 apart.
    {161, nullptr, "TCP Segments Rate", uRate, gProto, 0},
    {162, nullptr, "TCP Established Connections", uCount, gProto, 0},
    {163, nullptr, "TCP Active Opens", uCount, gProto, 0},
    {164, nullptr, "TCP Passive Opens", uCount, gProto, 0},
    {165, nullptr, "TCP Connection Failures", uCount, gProto, 0},
    {166, nullptr, "TCP Connections Reset", uCount, gProto, 0},
    {167, nullptr, "TCP Segments Received Rate", uRate, gProto, 0},
    {168, nullptr, "TCP Segments Sent Rate", uRate, gProto, 0},
    {169, nullptr, "TCP Segments Retransmitted Rate", uRate, gProto, 0},
    {170, nullptr, "TCP v4 Segments Rate", uRate, gProto, 0},
    {171, nullptr, "TCP v4 Established Connections", uCount, gProto, 0},
    {172, nullptr, "TCP v4 Active Opens", uCount, gProto, 0},
    {173, nullptr, "TCP v4 Passive Opens", uCount, gProto, 0},
    {174, nullptr, "TCP v4 Connection Failures", uCount, gProto, 0},
    {175, nullptr, "TCP v4 Connections Reset", uCount, gProto, 0},
    {176, nullptr, "TCP v4 Segments Received Rate", uRate, gProto, 0},
    {177, nullptr, "TCP v4 Segments Sent Rate", uRate, gProto, 0},
    {178, nullptr, "TCP v4 Segments Retransmitted Rate", uRate, gProto, 0},
    {179, nullptr, "TCP v6 Segments Rate", uRate, gProto, 0},
    {180, nullptr, "TCP v6 Established Connections", uCount, gProto, 0},
    {181, nullptr, "TCP v6 Active Opens", uCount, gProto, 0},
    {182, nullptr, "TCP v6 Passive Opens", uCount, gProto, 0},
    {183, nullptr, "TCP v6 Connection Failures", uCount, gProto, 0},
    {184, nullptr, "TCP v6 Connections Reset", uCount, gProto, 0},
    {185, nullptr, "TCP v6 Segments Received Rate", uRate, gProto, 0},
    {186, nullptr, "TCP v6 Segments Sent Rate", uRate, gProto, 0},
    {187, nullptr, "TCP v6 Segments Retransmitted Rate", uRate, gProto, 0},
    // Web server: its cache first, then the counters of one web site.
    {188, nullptr, "Web Cache Current Files", uCount, gWeb, 0},
    {189, nullptr, "Web Cache Total Files", uCount, gWeb, 0},
    {190, nullptr, "Web Cache File Hits", uCount, gWeb, 0},
    {191, nullptr, "Web Cache File Misses", uCount, gWeb, 0},
    {192, nullptr, "Web Cache File Hit Ratio", uPct, gWeb, 0},
    {193, nullptr, "Web Cache File Flushes", uCount, gWeb, 0},
    {194, nullptr, "Web Cache Memory Used", uBytes, gWeb, 0},
    {195, nullptr, "Web Cache Memory Peak", uBytes, gWeb, 0},
    {196, nullptr, "Web Cache Current URIs", uCount, gWeb, 0},
    {197, nullptr, "Web Cache Total URIs", uCount, gWeb, 0},
    {198, nullptr, "Web Cache URI Hits", uCount, gWeb, 0},
    {199, nullptr, "Web Cache URI Misses", uCount, gWeb, 0},
    {200, nullptr, "Web Cache URI Hit Ratio", uPct, gWeb, 0},
    {201, nullptr, "Web Cache Kernel URI Hit Ratio", uPct, gWeb, 0},
    {202, nullptr, "Web Cache Output Items", uCount, gWeb, 0},
    {203, nullptr, "Web Site Transfer Rate", uByteRate, gWeb, 0},
    {204, nullptr, "Web Site Send Rate", uByteRate, gWeb, 0},
    {205, nullptr, "Web Site Receive Rate", uByteRate, gWeb, 0},
    {206, nullptr, "Web Site Current Connections", uCount, gWeb, 0},
    {207, nullptr, "Web Site Maximum Connections", uCount, gWeb, 0},
    {208, nullptr, "Web Site Connection Attempts Rate", uRate, gWeb, 0},
    {209, nullptr, "Web Site Total Connection Attempts", uCount, gWeb, 0},
    {210, nullptr, "Web Site Requests Rate", uRate, gWeb, 0},
    {211, nullptr, "Web Site GET Requests Rate", uRate, gWeb, 0},
    {212, nullptr, "Web Site POST Requests Rate", uRate, gWeb, 0},
    {213, nullptr, "Web Site PUT Requests Rate", uRate, gWeb, 0},
    {214, nullptr, "Web Site DELETE Requests Rate", uRate, gWeb, 0},
    {215, nullptr, "Web Site HEAD Requests Rate", uRate, gWeb, 0},
    {216, nullptr, "Web Site Other Requests Rate", uRate, gWeb, 0},
    {217, nullptr, "Web Site Files Rate", uRate, gWeb, 0},
    {218, nullptr, "Web Site Files Sent Rate", uRate, gWeb, 0},
    {219, nullptr, "Web Site Anonymous Users", uCount, gWeb, 0},
    {220, nullptr, "Web Site Authenticated Users", uCount, gWeb, 0},
    {221, nullptr, "Web Site Maximum Anonymous Users", uCount, gWeb, 0},
    {222, nullptr, "Web Site Maximum Authenticated Users", uCount, gWeb, 0},
    {223, nullptr, "Web Site Anonymous Users Rate", uRate, gWeb, 0},
    {224, nullptr, "Web Site Logon Attempts Rate", uRate, gWeb, 0},
    {225, nullptr, "Web Site Files Received Rate", uRate, gWeb, 0},
    {226, nullptr, "Web Site Not Found Errors Rate", uRate, gWeb, 0},
    {227, nullptr, "Web Site Locked Errors Rate", uRate, gWeb, 0},
    {228, nullptr, "Web Site CGI Requests Rate", uRate, gWeb, 0},
    {229, nullptr, "Web Site Extension Requests Rate", uRate, gWeb, 0},
    {230, nullptr, "Web Site Current CGI Requests", uCount, gWeb, 0},
    {231, nullptr, "Web Site Current Extension Requests", uCount, gWeb, 0},
    {232, nullptr, "Web Site Uptime", uSec, gWeb, 0},
    {233, "ISCSI_SESSIONS", "iSCSI Target Sessions", uCount, gIscsi, fVoc},
    {234, "ISCSI_SESSION_ERRORS", "iSCSI Target Session Errors", uCount, gIscsi, fVoc},
    {235, "ISCSI_FAILED_LOGINS", "iSCSI Target Failed Logins", uCount, gIscsi, fVoc},
    {236, "ISCSI_PENDING_REQUESTS", "iSCSI Target Pending Requests", uCount, gIscsi, fVoc},
    {237, "ISCSI_PERCENT_READ_OPS", "iSCSI Target Percent of Reads", uPct, gIscsi, fVoc},
    {238, "ISCSI_PERCENT_WRITE_OPS", "iSCSI Target Percent of Writes", uPct, gIscsi, fVoc},
    {239, "ISCSI_AVG_READ_SIZE", "iSCSI Target Average Read Size", uBytes, gIscsi, fVoc},
    {240, "ISCSI_AVG_WRITE_SIZE", "iSCSI Target Average Write Size", uBytes, gIscsi, fVoc},
    {241, "ISCSI_AVG_TRANS_SIZE", "iSCSI Target Average Transfer Size", uBytes, gIscsi, fVoc},
    {242, "ISCSI_AVG_LATENCY", "iSCSI Target Average Latency", uMs, gIscsi, fVoc},
    {243, "ISCSI_TRANSFER_RATE", "iSCSI Target Transfer Rate", uByteRate, gIscsi, fVoc},
    {244, "ISCSI_REQUESTS_RATE", "iSCSI Target Requests Rate", uRate, gIscsi, fVoc},
    {245, "PROCESS_ID", "Process ID", uCount, gProc, fVoc},
    {246, "PROCESS_TIME", "Process Time", uSec, gProc, fVoc},
    {247, "PROCESS_PARENT_ID", "Process Parent ID", uCount, gProc, fVoc},
    {248, "PDISK_ACTIVITY", "Physical Disk Activity", uPct, gPDisk, fVoc},
    {249, "PDISK_ACTIVITY_READ", "Physical Disk Read Activity", uPct, gPDisk, fVoc},
    {250, "PDISK_ACTIVITY_WRITE", "Physical Disk Write Activity", uPct, gPDisk, fVoc},
    {251, "PDISK_TRANSFER", "Physical Disk Transfer Rate", uByteRate, gPDisk, fVoc},
    {252, "PDISK_TRANSFER_READ", "Physical Disk Read Transfer Rate", uByteRate, gPDisk, fVoc},
    {253, "PDISK_TRANSFER_WRITE", "Physical Disk Write Transfer Rate", uByteRate, gPDisk, fVoc},
    {254, "PDISK_IOPS", "Physical Disk Transfer Iops", uRate, gPDisk, fVoc},
    {255, "PDISK_IOPS_READ", "Physical Disk Read Iops", uRate, gPDisk, fVoc},
    {256, "PDISK_IOPS_WRITE", "Physical Disk Write Iops", uRate, gPDisk, fVoc},
    {257, "PDISK_AVG_TRANSFER_BYTES", "Physical Disk Average Request Size", uBytes, gPDisk, fVoc},
    {258, "PDISK_AVG_READ_BYTES", "Physical Disk Average Read Request Size", uBytes, gPDisk, fVoc},
    {259, "PDISK_AVG_WRITE_BYTES", "Physical Disk Average Write Request Size", uBytes, gPDisk,
     fVoc},
    {260, "PDISK_AVG_TRANSFER_TIME", "Physical Disk Average Request Time", uMs, gPDisk, fVoc},
    {261, "PDISK_AVG_READ_TIME", "Physical Disk Average Read Request Time", uMs, gPDisk, fVoc},
    {262, "PDISK_AVG_WRITE_TIME", "Physical Disk Average Write Request Time", uMs, gPDisk, fVoc},
    {263, "PDISK_AVG_QUEUE_LENGTH", "Physical Disk Average Queue Length", uCount, gPDisk, fVoc},
    {264, "PDISK_AVG_READ_QUEUE_LENGTH", "Physical Disk Average Read Queue Length", uCount, gPDisk,
     fVoc},
    {265, "PDISK_AVG_WRITE_QUEUE_LENGTH", "Physical Disk Average Write Queue Length", uCount,
     gPDisk, fVoc},
    {266, "PDISK_CURRENT_QUEUE_LENGTH", "Physical Disk Current Queue Length", uCount, gPDisk, fVoc},
    {267, "PDISK_SPLIT_IOPS", "Physical Disk Split Iops", uRate, gPDisk, fVoc},
    {268, "PRINT_JOBS", "Printer Current Jobs", uCount, gPrint, fVoc},
    {269, "PRINT_JOBS_SPOOLING", "Printer Spooling Jobs", uCount, gPrint, fVoc},
    {270, "PRINT_MAX_JOBS_SPOOLING", "Printer Max Spooling Jobs", uCount, gPrint, fVoc},
    {271, "PRINT_REFERENCES", "Printer References", uCount, gPrint, fVoc},
    {272, "PRINT_MAX_REFERENCES", "Printer Max References", uCount, gPrint, fVoc},
    {273, "PRINT_TOTAL_JOBS", "Printer Total Jobs", uCount, gPrint, fVoc},
    {274, "PRINT_TOTAL_PAGES", "Printer Total Pages", uCount, gPrint, fVoc},
    {275, "PRINT_NOT_READY_ERRORS", "Printer Not Ready Errors", uCount, gPrint, fVoc},
    {276, "PRINT_NO_PAPER_ERRORS", "Printer No Paper Errors", uCount, gPrint, fVoc},
    {277, "PRINT_JOB_ERRORS", "Printer Job Errors", uCount, gPrint, fVoc},
    {278, "PRINT_DATA_RATE", "Printer Data Rate", uByteRate, gPrint, fVoc},
    {279, "PRINT_ADD_NET_REQUESTS", "Printer Add Requests", uCount, gPrint, fVoc},
    {280, "PRINT_ENUM_NET_REQUESTS", "Printer Enum Requests", uCount, gPrint, fVoc},
    {281, "UDP_RATE", "UDP Datagrams Rate", uRate, gProto, fVoc},
    {282, "UDP_RATE_NP", "UDP No Port Rate", uRate, gProto, fVoc},
    {283, "UDP_SEND_RATE", "UDP Datagrams Send Rate", uRate, gProto, fVoc},
    {284, "UDP_RECEIVE_RATE", "UDP Datagrams Recv Rate", uRate, gProto, fVoc},
    {285, "UDP_RECEIVE_ERRORS", "UDP Error Datagrams", uCount, gProto, fVoc},
    {286, "UDP4_RATE", "UDP v4 Datagrams Rate", uRate, gProto, fVoc},
    {287, "UDP4_RATE_NP", "UDP v4 No Port Rate", uRate, gProto, fVoc},
    {288, "UDP4_SEND_RATE", "UDP v4 Datagrams Send Rate", uRate, gProto, fVoc},
    {289, "UDP4_RECEIVE_RATE", "UDP v4 Datagrams Recv Rate", uRate, gProto, fVoc},
    {290, "UDP4_RECEIVE_ERRORS", "UDP v4 Error Datagrams", uCount, gProto, fVoc},
    {291, "UDP6_RATE", "UDP v6 Datagrams Rate", uRate, gProto, fVoc},
    {292, "UDP6_RATE_NP", "UDP v6 No Port Rate", uRate, gProto, fVoc},
    {293, "UDP6_SEND_RATE", "UDP v6 Datagrams Send Rate", uRate, gProto, fVoc},
    {294, "UDP6_RECEIVE_RATE", "UDP v6 Datagrams Recv Rate", uRate, gProto, fVoc},
    {295, "UDP6_RECEIVE_ERRORS", "UDP v6 Error Datagrams", uCount, gProto, fVoc},
    {296, "OS_GRANTED ACCESS_ERRORS", "Access Permissions Errors", uCount, gSys, fVoc},
    {297, "OS_DIRECTORY_SEARCHES", "Directory Searches", uCount, gSys, fVoc},
    {298, "OS_TOTAL_OPEN_FILES", "Total Opened Files", uCount, gSys, fVoc},
    {299, "OS_LOGON_RATE", "Logon Rate", uRate, gSys, fVoc},
    {300, "NET_BANDWIDTH", "Network Bandwidth", uBitRate, gNic, fVoc},
    // Network filtering platform.
    {301, nullptr, "Network Filter Packets Discarded Rate", uRate, gFilter, 0},
    {302, nullptr, "Network Filter Inbound Packets Discarded Rate", uRate, gFilter, 0},
    {303, nullptr, "Network Filter Outbound Packets Discarded Rate", uRate, gFilter, 0},
    {304, nullptr, "Network Filter Blocked Bind Requests", uCount, gFilter, 0},
    {305, nullptr, "Network Filter Inbound Connections Blocked Rate", uRate, gFilter, 0},
    {306, nullptr, "Network Filter Outbound Connections Blocked Rate", uRate, gFilter, 0},
    {307, nullptr, "Network Filter Inbound Connections Allowed Rate", uRate, gFilter, 0},
    {308, nullptr, "Network Filter Outbound Connections Allowed Rate", uRate, gFilter, 0},
    {309, nullptr, "Network Filter Inbound Connections", uCount, gFilter, 0},
    {310, nullptr, "Network Filter Outbound Connections", uCount, gFilter, 0},
    {311, nullptr, "Network Filter Active Inbound Connections", uCount, gFilter, 0},
    {312, nullptr, "Network Filter Active Outbound Connections", uCount, gFilter, 0},
    {313, nullptr, "Network Filter Allowed Classifications Rate", uRate, gFilter, 0},
    {314, "OS_TOTAL_EVENTS", "Total Events", uCount, gSys, fVoc},
    {315, "OS_TOTAL_MUTEXES", "Total Mutexes", uCount, gSys, fVoc},
    {316, "OS_TOTAL_SECTIONS", "Total Sections", uCount, gSys, fVoc},
    {317, "OS_TOTAL_SEMAPHORES", "Total Semaphores", uCount, gSys, fVoc},
    // Directory service.
    {318, nullptr, "Directory Replication Inbound Transfer Rate", uByteRate, gDir, 0},
    {319, nullptr, "Directory Replication Outbound Transfer Rate", uByteRate, gDir, 0},
    {320, nullptr, "Directory Replication Inbound Objects Rate", uRate, gDir, 0},
    {321, nullptr, "Directory Replication Outbound Objects Rate", uRate, gDir, 0},
    {322, nullptr, "Directory Replication Inbound Properties Rate", uRate, gDir, 0},
    {323, nullptr, "Directory Replication Outbound Properties Rate", uRate, gDir, 0},
    {324, nullptr, "Directory Replication Inbound Values Rate", uRate, gDir, 0},
    {325, nullptr, "Directory Replication Outbound Values Rate", uRate, gDir, 0},
    {326, nullptr, "Directory Replication Queue Length", uCount, gDir, 0},
    {327, nullptr, "Directory LDAP New Connections Rate", uRate, gDir, 0},
    {328, nullptr, "Directory LDAP Requests Rate", uRate, gDir, 0},
    {329, nullptr, "Directory Server Binds Rate", uRate, gDir, 0},
    {330, nullptr, "Directory LDAP New Secure Connections Rate", uRate, gDir, 0},
    {331, nullptr, "Directory LDAP Closed Connections Rate", uRate, gDir, 0},
    {332, nullptr, "Directory LDAP UDP Operations Rate", uRate, gDir, 0},
    {333, nullptr, "Directory Group Membership Evaluations Rate", uRate, gDir, 0},
    {334, nullptr, "Directory Account Group Evaluation Latency", uMs, gDir, 0},
    {335, nullptr, "Directory Resource Group Evaluation Latency", uMs, gDir, 0},
    {336, nullptr, "Directory Reads Rate", uRate, gDir, 0},
    {337, nullptr, "Directory Writes Rate", uRate, gDir, 0},
    {338, nullptr, "Directory Searches Rate", uRate, gDir, 0},
    {339, nullptr, "Directory Queued Requests", uCount, gDir, 0},
    {340, nullptr, "Directory Threads In Use", uCount, gDir, 0},
    {341, nullptr, "Directory Search Suboperations Rate", uRate, gDir, 0},
    {342, nullptr, "Directory Replication Pending Synchronizations", uCount, gDir, 0},
    {343, nullptr, "Directory Replication Sync Requests", uCount, gDir, 0},
    {344, nullptr, "Directory Replication Successful Sync Requests", uCount, gDir, 0},
    {345, nullptr, "Directory LDAP Bind Time", uMs, gDir, 0},
    {346, nullptr, "Directory LDAP Searches Rate", uRate, gDir, 0},
    {347, nullptr, "Directory LDAP Successful Binds Rate", uRate, gDir, 0},
    {348, nullptr, "Directory LDAP Writes Rate", uRate, gDir, 0},
    {349, nullptr, "Directory LDAP Client Sessions", uCount, gDir, 0},
    {350, nullptr, "Directory LDAP Active Threads", uCount, gDir, 0},
    {351, nullptr, "Directory Kerberos Authentications Rate", uRate, gDir, 0},
    {352, nullptr, "Directory NTLM Authentications Rate", uRate, gDir, 0},
    {353, nullptr, "Directory Digest Binds Rate", uRate, gDir, 0},
    {354, nullptr, "Directory Simple Binds Rate", uRate, gDir, 0},
    {355, nullptr, "Directory Negotiated Binds Rate", uRate, gDir, 0},
    {356, nullptr, "Directory Fast Binds Rate", uRate, gDir, 0},
    {357, nullptr, "Directory Client Binds Rate", uRate, gDir, 0},
    {358, nullptr, "Directory Account Enumerations Rate", uRate, gDir, 0},
    {359, nullptr, "Directory Password Changes Rate", uRate, gDir, 0},
    {360, nullptr, "Directory User Creations Rate", uRate, gDir, 0},
    {361, nullptr, "Directory Computer Creations Rate", uRate, gDir, 0},
    {362, nullptr, "Directory Request Latency", uMs, gDir, 0},
    {363, nullptr, "Directory Notify Queue Size", uCount, gDir, 0},
    {364, nullptr, "Directory LDAP Worker Threads", uCount, gDir, 0},
    {365, nullptr, "Directory Other Worker Threads", uCount, gDir, 0},
    {366, nullptr, "Directory Total Worker Threads", uCount, gDir, 0},
    {367, nullptr, "Directory Address Book Browses Rate", uRate, gDir, 0},
    {368, nullptr, "Directory Address Book Client Sessions", uCount, gDir, 0},
    {369, nullptr, "Directory Security Propagation Events", uCount, gDir, 0},
    {370, nullptr, "Directory Estimated Queue Delay", uMs, gDir, 0},
    {371, nullptr, "Directory Name Cache Hit Ratio", uPct, gDir, 0},
    {372, nullptr, "Directory Database Cache Hit Ratio", uPct, gDir, 0},
    {373, nullptr, "Directory Database Cache Size", uBytes, gDir, 0},
    {374, nullptr, "Directory Database Log Writes Rate", uRate, gDir, 0},
};

using Table = std::array<tagSCA_TEZ_COUNTER_META, SCA_TEZ_MAX_COUNTER_TYPE>;

// The rows placed by type, so that a look-up is one index.
constexpr Table BuildTable() {
    Table table{};
    for (const Row& row : kRows) {
        table[row.Type - 1] = {row.Name, row.Description, row.Units, row.Group, row.Flags};
    }
    return table;
}

// Each type from 1 to the maximum appears exactly once, in order, with a description.
constexpr bool RowsAreComplete() {
    uint32_t expected = 1;
    for (const Row& row : kRows) {
        if (row.Type != expected++ || row.Description == nullptr) {
            return false;
        }
    }
    return expected == SCA_TEZ_MAX_COUNTER_TYPE + 1;
}

static_assert(RowsAreComplete(), "every counter type 1..374 needs exactly one row, in order");

constexpr Table kTable = BuildTable();

// Formats a size or data rate in binary multiples: "512 B", "1.50 KB", "3.20 MB/s".
void FormatBytes(double value, const char* suffix, char* text, size_t size) {
    static const char* const kUnits[] = {"B", "KB", "MB", "GB", "TB", "PB"};
    double scaled = value;
    size_t unit = 0;
    while (std::fabs(scaled) >= 1024.0 && unit + 1 < sizeof(kUnits) / sizeof(kUnits[0])) {
        scaled /= 1024.0;
        ++unit;
    }
    if (unit == 0) {
        std::snprintf(text, size, "%.0f %s%s", scaled, kUnits[unit], suffix);
    } else {
        std::snprintf(text, size, "%.2f %s%s", scaled, kUnits[unit], suffix);
    }
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
    if (unit == 0) {
        std::snprintf(text, size, "%.0f %s", scaled, kUnits[unit]);
    } else {
        std::snprintf(text, size, "%.2f %s", scaled, kUnits[unit]);
    }
}

// Whole counts without decimals; averages of counts keep two.
void FormatCount(double value, char* text, size_t size) {
    if (value == std::floor(value) && std::fabs(value) < 1e15) {
        std::snprintf(text, size, "%.0f", value);
    } else {
        std::snprintf(text, size, "%.2f", value);
    }
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
        std::snprintf(text, size, "%.1f%%", value);
        return;
    case SCA_TEZ_UNITS_BYTES:
        FormatBytes(value, "", text, size);
        return;
    case SCA_TEZ_UNITS_BYTES_PER_SEC:
        FormatBytes(value, "/s", text, size);
        return;
    case SCA_TEZ_UNITS_PER_SEC:
        std::snprintf(text, size, "%.1f/s", value);
        return;
    case SCA_TEZ_UNITS_MSEC:
        std::snprintf(text, size, "%.2f ms", value);
        return;
    case SCA_TEZ_UNITS_MHZ:
        std::snprintf(text, size, "%.0f MHz", value);
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
