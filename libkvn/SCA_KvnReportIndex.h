// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libkvn/SCA_KvnExport.h"
#include "libkvn/SCA_KvnRecordList.h"
#include "libkvn/SCA_KvnReportInfo.h"

class SCA_ConfigObj;
class SCA_KvnDevice;
class SCA_KvnNetConfigUser;
class SCA_KvnReport;
class SCA_TezConfig;

// The headers of one device's reports, numbered by the index. The owning device builds the
// report file names. Not copyable.
class SCA_KVN_EXPORT SCA_KvnReportIndex : public SCA_KvnRecordList<SCA_KvnReportInfo> {
public:
    SCA_HEAP_OPERATORS

    // The pointers are kept, not owned (any may be null; without a device no file is reached).
    SCA_KvnReportIndex(SCA_TezConfig* config, SCA_KvnNetConfigUser* userConfig,
                       SCA_KvnDevice* device);
    ~SCA_KvnReportIndex() override { ClearAll(); }

    SCA_TezConfig* GetConfig() const { return m_Config; }
    SCA_KvnNetConfigUser* GetUserConfig() const { return m_UserConfig; }
    uint32_t GetNextReportId() const { return GetNextNumber(); }

    // A header with the defaults under the next report number, at the tail.
    int AddReport(SCA_KvnReportInfo** info);
    int GetReportInfo(uint32_t reportId, SCA_KvnReportInfo** info) const;
    int GetReportByDay(uint32_t absDay, SCA_KvnReportInfo** info) const;
    // 1 when an entry is identical to info (same first and last report times).
    int IsReportExists(const SCA_KvnReportInfo* info) const;
    // Loads the file of that report into report.
    int LoadReport(uint32_t reportId, SCA_KvnReport* report) const;
    // Removes the entry and deletes the report's file; 0 when there is no such entry.
    int DeleteReport(uint32_t reportId);
    // Destroys every entry (files stay); numbering starts at 0 again.
    int ClearAll();

    // At most maxCount entries (checked after each, so 0 still writes one); 0xFFFFFFFF: all.
    int Serialize(SCA_ConfigObj* object, uint32_t maxCount) const;
    int Deserialize(SCA_ConfigObj* object);

    int Show() const;

protected:
    SCA_KvnReportInfo* NewRecord() const override;
    uint32_t GetRecordNumber(const SCA_KvnReportInfo& record) const override {
        return record.GetReportId();
    }
    void SetRecordNumber(SCA_KvnReportInfo* record, uint32_t number) const override {
        record->SetReportId(number);
    }

private:
    SCA_TezConfig* m_Config;
    SCA_KvnNetConfigUser* m_UserConfig;
    SCA_KvnDevice* m_Device;
};
