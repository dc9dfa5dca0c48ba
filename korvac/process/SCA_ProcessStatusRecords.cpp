// SPDX-License-Identifier: MIT
#include "korvac/process/SCA_ProcessStatusRecords.h"

#include <algorithm>
#include <cstring>

#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"

namespace {

// What a row that cannot be read lacks, by the place of the failing token.
constexpr const char* kTokenWhat[] = {
    "the process ID",
    "the process status",
    "the process report status",
    "the process instance count",
    "the process CPU usage",
    "the process memory usage",
    "the number of threads",
    "the number of handles",
    "the number of errors",
    "the number of warnings",
};
constexpr uint32_t kTokens = sizeof(kTokenWhat) / sizeof(kTokenWhat[0]);
constexpr uint32_t kMeasureCpu = 0;
constexpr uint32_t kMeasureMemory = 1;
constexpr uint32_t kMeasureThreads = 2;
constexpr uint32_t kMeasureHandles = 3;

SCA_ProcessStatusRecord RecordOf(const SCA_KorvantaInterface::ProcessRow& row) {
    SCA_ProcessStatusRecord record;
    SCA_StrnCpy(record.Name, row.Name, sizeof(record.Name));
    const tagSCA_TEZ_PROCESS_STATUS& status = row.Status;
    record.ProcessId = status.ProcessId;
    record.InstanceCount = status.InstanceCount;
    record.Status = status.Status;
    record.RepStatus = status.RepStatus;
    record.Errors = status.Errors;
    record.Warnings = status.Warnings;
    record.CpuUsage = status.Measure[kMeasureCpu];
    record.MemoryUsage = status.Measure[kMeasureMemory];
    record.Threads = status.Measure[kMeasureThreads];
    record.Handles = status.Measure[kMeasureHandles];
    record.MeasureValid = status.MeasureValid;
    return record;
}

// A count of threads or handles as a total adds it: truncated, never below 0.
uint32_t WholeCount(double value) {
    return value > 0.0 ? static_cast<uint32_t>(value) : 0;
}

template <typename T>
int CompareValues(T left, T right) {
    return left > right ? 1 : (left < right ? -1 : 0);
}

int CompareBy(uint32_t key, const SCA_ProcessStatusRecord& left,
              const SCA_ProcessStatusRecord& right) {
    switch (key) {
    case SCA_PROC_SORT_NAME:
        return SCA_ProcessStatusRecords::CompareNames(left.Name, right.Name);
    case SCA_PROC_SORT_CPU:
        return CompareValues(left.CpuUsage, right.CpuUsage);
    case SCA_PROC_SORT_MEMORY:
        return CompareValues(left.MemoryUsage, right.MemoryUsage);
    case SCA_PROC_SORT_THREADS:
        return CompareValues(left.Threads, right.Threads);
    case SCA_PROC_SORT_HANDLES:
        return CompareValues(left.Handles, right.Handles);
    default:
        return CompareValues(left.InstanceCount, right.InstanceCount);
    }
}

} // namespace

int SCA_ProcessSortState::Click(int column) {
    // The mode a column's first click chooses; names go A to Z first, figures biggest first.
    static constexpr uint32_t kFirstMode[SCA_PROC_COL_HANDLES + 1] = {0,
                                                                      SCA_PROC_SORT_NAME,
                                                                      SCA_PROC_SORT_INSTANCES + 1,
                                                                      SCA_PROC_SORT_CPU + 1,
                                                                      SCA_PROC_SORT_MEMORY + 1,
                                                                      SCA_PROC_SORT_THREADS + 1,
                                                                      SCA_PROC_SORT_HANDLES + 1};
    if (column <= SCA_PROC_COL_ICON) {
        return 0;
    }
    if (column > SCA_PROC_COL_HANDLES) {
        Column = SCA_PROC_COL_MEMORY;
        Mode = kFirstMode[SCA_PROC_COL_MEMORY];
        return 1;
    }
    const uint32_t first = kFirstMode[column];
    // The second click turns the order: the mode's pair differs in its lowest bit.
    Mode = Mode == first ? first ^ 1u : first;
    Column = column;
    return 1;
}

int SCA_ProcessStatusRecords::CompareNames(const char* left, const char* right) {
    for (;; ++left, ++right) {
        const auto a = static_cast<unsigned char>(*left);
        const auto b = static_cast<unsigned char>(*right);
        const unsigned char upperA = a >= 'a' && a <= 'z' ? static_cast<unsigned char>(a - 32) : a;
        const unsigned char upperB = b >= 'a' && b <= 'z' ? static_cast<unsigned char>(b - 32) : b;
        if (upperA != upperB || a == '\0') {
            return CompareValues(upperA, upperB);
        }
    }
}

int SCA_ProcessStatusRecords::IsValidSortMode(uint32_t mode) {
    return mode <= SCA_PROC_SORT_LAST && mode / 2 != 5 ? 1 : 0;
}

int SCA_ProcessStatusRecords::Parse(const SCA_KorvantaInterface::ProcessListStatus& status) {
    if (!status.ListPresent) {
        return 1;
    }
    if (!status.RowsRead) {
        const uint32_t token = status.BadToken;
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR,
            "SCA_SrvProcessListDlg::ParseProcessStatusList: cannot get %s for process - %s",
            token >= 1 && token <= kTokens ? kTokenWhat[token - 1] : "the end of the status",
            status.BadName);
        return 0;
    }
    m_Records.clear();
    m_Totals = SCA_ProcessTotals{};
    for (const SCA_KorvantaInterface::ProcessRow& row : status.Processes) {
        const SCA_ProcessStatusRecord record = RecordOf(row);
        m_Totals.Instances += record.InstanceCount;
        m_Totals.Memory += record.MemoryUsage;
        m_Totals.Threads += WholeCount(record.Threads);
        m_Totals.Handles += WholeCount(record.Handles);
        m_Totals.Errors += record.Errors;
        m_Totals.Warnings += record.Warnings;
        m_Records.push_back(record);
    }
    m_Order.resize(m_Records.size());
    m_Index.clear();
    for (uint32_t index = 0; index < m_Order.size(); ++index) {
        m_Order[index] = index;
        m_Index.emplace(m_Records[index].ProcessId, index);
    }
    return 1;
}

int SCA_ProcessStatusRecords::Sort(uint32_t mode) {
    if (!IsValidSortMode(mode)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_SrvProcessListDlg::SortProcessList: invalid sort mode - %u",
            mode);
        return 0;
    }
    const uint32_t key = mode & ~1u;
    const bool descending = (mode & 1u) != 0;
    std::stable_sort(m_Order.begin(), m_Order.end(), [&](uint32_t left, uint32_t right) {
        const int order = CompareBy(key, m_Records[left], m_Records[right]);
        return descending ? order > 0 : order < 0;
    });
    return 1;
}

const SCA_ProcessStatusRecord* SCA_ProcessStatusRecords::Find(uint32_t processId) const {
    const auto found = m_Index.find(processId);
    return found != m_Index.end() ? &m_Records[found->second] : nullptr;
}
