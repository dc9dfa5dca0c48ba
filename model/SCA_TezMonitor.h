// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Object.h"
#include "model/SCA_TezRecordFields.h"

class SCA_ConfigObj;

// A monitor entry of the user configuration: the monitor's id and mode and the computer it
// watches (empty for the local computer).
class SCA_TezMonitor : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_TezMonitor() { SetConstructed(); }
    ~SCA_TezMonitor() override = default;

    SCA_TezMonitor(const SCA_TezMonitor&) = default;
    SCA_TezMonitor& operator=(const SCA_TezMonitor&) = default;

    uint32_t GetMonitorId() const { return m_MonitorId; }
    void SetMonitorId(uint32_t id) { m_MonitorId = id; }
    uint32_t GetMonitorMode() const { return m_MonitorMode; }
    void SetMonitorMode(uint32_t mode) { m_MonitorMode = mode; }
    const char* GetComputerName() const { return m_ComputerName; }
    // At most 255 bytes, cut on a UTF-8 character boundary; null empties the name.
    void SetComputerName(const char* name);

    int IsLocal() const { return m_ComputerName[0] == '\0' ? 1 : 0; }
    int IsRemote() const { return m_ComputerName[0] != '\0' ? 1 : 0; }

    int Serialize(SCA_ConfigObj* object) const;
    // On failure (reported) the entry is left as it was.
    int Deserialize(SCA_ConfigObj* object);

private:
    uint32_t m_MonitorId = SCA_ALL_ONES;
    uint32_t m_MonitorMode = 0;
    char m_ComputerName[SCA_TEZ_TEXT_SIZE] = {};
};
