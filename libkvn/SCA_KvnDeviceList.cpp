// SPDX-License-Identifier: MIT
#include "libkvn/SCA_KvnDeviceList.h"

#include <new>

#include "libmor/SCA_Report.h"

SCA_KvnDeviceInfo* SCA_KvnDeviceList::NewRecord() const {
    return new (std::nothrow) SCA_KvnDeviceInfo();
}

int SCA_KvnDeviceList::AddDevice(uint32_t deviceId, SCA_KvnDeviceInfo** info) {
    SCA_KvnDeviceInfo* device = FindRecord(deviceId);
    if (device == nullptr) {
        device = AddRecordAs(deviceId);
    }
    if (device == nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KvnDeviceList::AddDevice: Cannot create device info object");
        return 0;
    }
    return SCA_KvnHandOut(device, info);
}

int SCA_KvnDeviceList::GetDevice(uint32_t deviceId, SCA_KvnDeviceInfo** info) const {
    return SCA_KvnHandOut(FindRecord(deviceId), info);
}

int SCA_KvnDeviceList::DeleteDevice(uint32_t deviceId) {
    DestroyRecord(deviceId);
    return 1;
}

int SCA_KvnDeviceList::ClearAll() {
    DestroyRecords();
    return 1;
}
