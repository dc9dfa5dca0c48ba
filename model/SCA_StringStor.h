// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

#include "libmor/SCA_Object.h"

// A growable byte store: the byte form of a whole configuration tree travels in one.
class SCA_StringStor : public SCA_Object {
public:
    SCA_StringStor() { SetConstructed(); }

    const char* GetData() const { return m_Data.data(); }
    uint32_t GetSize() const { return static_cast<uint32_t>(m_Data.size()); }
    void SetData(const char* data, uint32_t size) { m_Data.assign(data, size); }
    void Clear() { m_Data.clear(); }
    // The bytes themselves, for writers that size the store before filling it.
    std::string& GetBytes() { return m_Data; }

private:
    std::string m_Data;
};
