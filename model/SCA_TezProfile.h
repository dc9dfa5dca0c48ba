// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Object.h"
#include "model/SCA_TezCounterList.h"
#include "model/SCA_TezRecordFields.h"

class SCA_ConfigObj;

// A monitoring profile: a named set of counters and the computer it monitors.
class SCA_TezProfile : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_TezProfile() { SetConstructed(); }
    ~SCA_TezProfile() override = default;

    // A copy owns copies of the counters (and their conditions), never the source's; its flag
    // is 0 when they could not be copied.
    SCA_TezProfile(const SCA_TezProfile& other);
    // As SetContent; when that fails the profile keeps its content and its flag becomes 0.
    SCA_TezProfile& operator=(const SCA_TezProfile& other);
    // Takes every field, the flag and copies of the counters of from. 0, with the profile
    // unchanged, when the counters cannot be copied.
    int SetContent(const SCA_TezProfile& from);

    uint32_t GetMonitorId() const { return m_Fields.MonitorId; }
    void SetMonitorId(uint32_t id) { m_Fields.MonitorId = id; }
    uint32_t GetProfileId() const { return m_Fields.ProfileId; }
    void SetProfileId(uint32_t id) { m_Fields.ProfileId = id; }
    uint32_t GetProfileMode() const { return m_Fields.ProfileMode; }
    void SetProfileMode(uint32_t mode) { m_Fields.ProfileMode = mode; }
    // Text setters copy at most 255 bytes, cut on a UTF-8 character boundary; null empties.
    const char* GetProfileName() const { return m_Fields.ProfileName; }
    void SetProfileName(const char* name);
    const char* GetComputerName() const { return m_Fields.ComputerName; }
    void SetComputerName(const char* name);
    SCA_TezCounterList* GetCounterList() { return &m_Counters; }
    const SCA_TezCounterList* GetCounterList() const { return &m_Counters; }
    uint32_t GetCountersStatusId() const { return m_Counters.GetCountersStatusId(); }

    // One value field per counter, named by its counter id, holding the counter's status text
    // (SCA_TezCounterStatus.h) as it stands before any sample: its status, no values.
    int BuildCountersStatusList(SCA_ConfigObj* list) const;

    // Adds the fields and a child object "Counters" to object.
    int Serialize(SCA_ConfigObj* object) const;
    // Reads the fields and counters that object holds; on failure (reported) the profile is
    // left as it was.
    int Deserialize(SCA_ConfigObj* object);

private:
    struct Fields {
        uint32_t MonitorId = SCA_ALL_ONES; // used by no monitor
        uint32_t ProfileId = SCA_ALL_ONES; // not in a list yet
        uint32_t ProfileMode = 0;
        char ProfileName[SCA_TEZ_TEXT_SIZE] = {};
        char ComputerName[SCA_TEZ_TEXT_SIZE] = {};
    };

    Fields m_Fields;
    SCA_TezCounterList m_Counters;
};
