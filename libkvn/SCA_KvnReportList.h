// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libkvn/SCA_KvnExport.h"
#include "libkvn/SCA_KvnRecordList.h"
#include "libkvn/SCA_KvnReport.h"

class SCA_ConfigObj;
class SCA_KvnNetConfigUser;
class SCA_TezConfig;

// The reports of one device held in memory, keyed by report number. Not copyable.
class SCA_KVN_EXPORT SCA_KvnReportList : public SCA_KvnRecordList<SCA_KvnReport> {
public:
    SCA_HEAP_OPERATORS

    // The pointers are kept, not owned.
    SCA_KvnReportList(SCA_TezConfig* config, SCA_KvnNetConfigUser* userConfig);
    ~SCA_KvnReportList() override { ClearAll(); }

    SCA_TezConfig* GetConfig() const { return m_Config; }
    SCA_KvnNetConfigUser* GetUserConfig() const { return m_UserConfig; }

    // A report with the defaults and that number at the tail; an existing report of the same
    // number is not looked for.
    int AddReport(uint32_t reportId, SCA_KvnReport** report);
    int GetReport(uint32_t reportId, SCA_KvnReport** report) const;
    int GetReportByDay(uint32_t absDay, SCA_KvnReport** report) const;
    // 1 also when there is no such report.
    int DeleteReport(uint32_t reportId);
    int ClearAll();

    int Serialize(SCA_ConfigObj* object) const;
    int Deserialize(SCA_ConfigObj* object);

    int Show() const;

protected:
    SCA_KvnReport* NewRecord() const override;
    uint32_t GetRecordNumber(const SCA_KvnReport& record) const override {
        return record.GetReportId();
    }
    void SetRecordNumber(SCA_KvnReport* record, uint32_t number) const override {
        record->SetReportId(number);
    }

private:
    SCA_TezConfig* m_Config;
    SCA_KvnNetConfigUser* m_UserConfig;
};
