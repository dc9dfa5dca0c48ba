// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libkvn/SCA_KvnCounterList.h"
#include "libkvn/SCA_KvnExport.h"
#include "libkvn/SCA_KvnReportInfo.h"

class SCA_ConfigObj;

inline constexpr const char* SCA_KVN_REPORT_ROOT = "Report";
// Load's error for a well-formed file that is not a device report (another type or root).
inline constexpr uint32_t SCA_KVN_ERROR_NOT_REPORT = 100145;

// A device's report of one day: the header and the per-minute statistics of every counter the
// device sent that day. Its file holds the root "Report" with the header and "Counters".
class SCA_KVN_EXPORT SCA_KvnReport : public SCA_KvnReportInfo {
public:
    SCA_HEAP_OPERATORS

    SCA_KvnReport() = default;
    ~SCA_KvnReport() override = default;
    // Copies take the header and their own copies of the counters; flag 0 when those failed.
    SCA_KvnReport(const SCA_KvnReport& other);
    SCA_KvnReport& operator=(const SCA_KvnReport& other);

    SCA_KvnCounterList* GetCounterList() { return &m_Counters; }
    const SCA_KvnCounterList* GetCounterList() const { return &m_Counters; }

    // Empties the counter list; the header stays.
    int ClearAll();

    // The header, then the counters in a sub-object "Counters".
    int Serialize(SCA_ConfigObj* object) const;
    // Empties the counters, reads the header and the counters when "Counters" is there.
    int Deserialize(SCA_ConfigObj* object);

    // Writes the report file (marked saved in it); on failure the report stays not saved and
    // error receives the code.
    int Save(const char* path, uint32_t* error);
    // Reads the report file, refusing one of another type or root (SCA_KVN_ERROR_NOT_REPORT);
    // on failure the report stays as it was and error receives the code.
    int Load(const char* path, uint32_t* error);

    // The header of a report or an index entry.
    using SCA_KvnReportInfo::SetContent;
    // The whole report, counters included.
    int SetContent(const SCA_KvnReport* source);

    int Show() const;
    uint64_t CalcMemoryUsage() const;

private:
    SCA_KvnCounterList m_Counters;
};
