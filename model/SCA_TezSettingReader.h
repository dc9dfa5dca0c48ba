// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/SCA_TezRecordFields.h"

class SCA_ConfigObj;

// The record field reader with the two kinds of member it lacks: 16-bit ports and fixed text
// arrays. One Get per member kind, so that settings tables read every row with the same call.
// As with the record reader, an absent field leaves its member as it was and a field that does
// not hold a value of the member's kind (a port above 65535 included) makes the reader fail.
class SCA_TezSettingReader {
public:
    explicit SCA_TezSettingReader(SCA_ConfigObj* object) : m_Fields(object) {}

    void Get(const char* name, int* value) { m_Fields.Get(name, value); }
    void Get(const char* name, uint32_t* value) { m_Fields.Get(name, value); }
    void Get(const char* name, uint64_t* value) { m_Fields.Get(name, value); }
    void Get(const char* name, double* value) { m_Fields.Get(name, value); }
    void Get(const char* name, uint16_t* value) {
        uint32_t wide = *value;
        m_Fields.Get(name, &wide);
        if (wide > 0xFFFFu) {
            Fail(name);
            return;
        }
        *value = static_cast<uint16_t>(wide);
    }
    template <size_t Size>
    void Get(const char* name, char (*text)[Size]) {
        m_Fields.Get(name, *text, static_cast<uint32_t>(Size));
    }
    SCA_ConfigObj* GetObject(const char* name) { return m_Fields.GetObject(name); }

    int IsOk() const { return m_BadField == nullptr && m_Fields.IsOk(); }
    const char* GetBadField() const {
        return m_BadField != nullptr ? m_BadField : m_Fields.GetBadField();
    }

private:
    void Fail(const char* name) {
        if (IsOk()) {
            m_BadField = name;
        }
    }

    SCA_TezFieldReader m_Fields;
    const char* m_BadField = nullptr;
};
