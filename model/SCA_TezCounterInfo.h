// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Object.h"
#include "model/SCA_TezCondList.h"
#include "model/SCA_TezRecordFields.h"

class SCA_ConfigObj;

// One counter of a profile: its counter type, the computer (empty for the local one), the
// counter-name prefix (the SQL Server instance for SQL Server counters) and the instance it
// measures, its state, and the conditions that watch it.
class SCA_TezCounterInfo : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_TezCounterInfo() { SetConstructed(); }
    ~SCA_TezCounterInfo() override = default;

    // A copy owns copies of the conditions, never the source's; its flag is 0 when they could
    // not be copied.
    SCA_TezCounterInfo(const SCA_TezCounterInfo& other);
    // As SetContent; when that fails the record keeps its content and its flag becomes 0.
    SCA_TezCounterInfo& operator=(const SCA_TezCounterInfo& other);
    // Takes every field, the flag and copies of the conditions of from. 0, with the record
    // unchanged, when the conditions cannot be copied.
    int SetContent(const SCA_TezCounterInfo& from);

    uint32_t GetCounterId() const { return m_Fields.CounterId; }
    void SetCounterId(uint32_t id) { m_Fields.CounterId = id; }
    uint32_t GetCounterType() const { return m_Fields.CounterType; }
    void SetCounterType(uint32_t type) { m_Fields.CounterType = type; }
    uint32_t GetUnits() const { return m_Fields.Units; }
    void SetUnits(uint32_t units) { m_Fields.Units = units; }
    // Text setters copy bounded by their field (63 or 255 bytes), cut on a UTF-8 character
    // boundary; null empties the field.
    const char* GetComputerName() const { return m_Fields.ComputerName.c_str(); }
    void SetComputerName(const char* name);
    const char* GetNamePrefix() const { return m_Fields.NamePrefix.c_str(); }
    void SetNamePrefix(const char* prefix);
    const char* GetInstance() const { return m_Fields.Instance.c_str(); }
    void SetInstance(const char* instance);
    int IsEnabled() const { return m_Fields.Enabled; }
    void SetEnabled(int enabled) { m_Fields.Enabled = enabled; }
    int IsRequired() const { return m_Fields.Required; }
    void SetRequired(int required) { m_Fields.Required = required; }
    uint32_t GetStatus() const { return m_Fields.Status; }
    void SetStatus(uint32_t status) { m_Fields.Status = status; }
    uint32_t GetStatusCode() const { return m_Fields.StatusCode; }
    void SetStatusCode(uint32_t code) { m_Fields.StatusCode = code; }
    SCA_TezCondList* GetCondList() { return &m_CondList; }
    const SCA_TezCondList* GetCondList() const { return &m_CondList; }

    // The display description of the counter type (SCA_TezGetCounterDescr).
    const char* GetDescription() const;

    // Adds the fields and a child object "Conditions" to object.
    int Serialize(SCA_ConfigObj* object) const;
    // Reads the fields and conditions that object holds; on failure (reported) the record is
    // left as it was.
    int Deserialize(SCA_ConfigObj* object);

private:
    struct Fields {
        uint32_t CounterId = SCA_ALL_ONES; // not in a list yet
        uint32_t CounterType = 0;
        uint32_t Units = 0;
        SCA_BoundedText<SCA_TEZ_NAME_SIZE> ComputerName;
        SCA_BoundedText<SCA_TEZ_NAME_SIZE> NamePrefix;
        SCA_BoundedText<SCA_TEZ_TEXT_SIZE> Instance;
        int Enabled = 1;
        int Required = 0;
        uint32_t Status = 0;
        uint32_t StatusCode = 0;
    };

    static void WriteFields(const Fields& fields, SCA_TezFieldWriter* writer);
    static void ReadFields(SCA_TezFieldReader* reader, Fields* fields);

    Fields m_Fields;
    SCA_TezCondList m_CondList;
};
