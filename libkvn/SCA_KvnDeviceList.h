// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libkvn/SCA_KvnDeviceInfo.h"
#include "libkvn/SCA_KvnExport.h"
#include "libkvn/SCA_KvnRecordList.h"

// A plain list of device records keyed by device number; it owns them. Not copyable.
class SCA_KVN_EXPORT SCA_KvnDeviceList : public SCA_KvnRecordList<SCA_KvnDeviceInfo> {
public:
    SCA_HEAP_OPERATORS

    SCA_KvnDeviceList() = default;
    ~SCA_KvnDeviceList() override { ClearAll(); }

    // The record of that device, added with the defaults when the list has none.
    int AddDevice(uint32_t deviceId, SCA_KvnDeviceInfo** info);
    // 0, info untouched, when the list has no such device.
    int GetDevice(uint32_t deviceId, SCA_KvnDeviceInfo** info) const;
    // 1 also when there is no such device.
    int DeleteDevice(uint32_t deviceId);
    int ClearAll();

protected:
    SCA_KvnDeviceInfo* NewRecord() const override;
    uint32_t GetRecordNumber(const SCA_KvnDeviceInfo& record) const override {
        return record.GetDeviceId();
    }
    void SetRecordNumber(SCA_KvnDeviceInfo* record, uint32_t number) const override {
        record->SetDeviceId(number);
    }
};
