// SPDX-License-Identifier: MIT
#include "model/SCA_TezRecordFields.h"

#include <new>

#include <cstdio>
#include <cstring>
#include <string>

#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"

namespace {

SCA_ConfigObj* ObjFrom(SCA_Field* field) {
    while (field != nullptr && !field->IsObject()) {
        field = field->GetNext();
    }
    return static_cast<SCA_ConfigObj*>(field);
}

} // namespace

int SCA_AddTextField(SCA_ConfigObj* object, const char* name, const char* text) {
    if (object == nullptr) {
        return 0;
    }
    if (text == nullptr) {
        return object->AddField(name, "");
    }
    const size_t length = std::strlen(text);
    if (length <= SCA_FIELD_MAX_VALUE && std::memchr(text, '\x01', length) == nullptr) {
        return object->AddField(name, text);
    }
    std::string clean(SCA_FIELD_MAX_VALUE + 1, '\0');
    SCA_StrnCpy(clean.data(), text, clean.size());
    clean.resize(std::strlen(clean.c_str()));
    for (char& c : clean) {
        if (c == '\x01') {
            c = '?';
        }
    }
    return object->AddField(name, clean.c_str());
}

SCA_ConfigObj* SCA_AddNumberedObj(SCA_ConfigObj* object, uint32_t number) {
    if (object == nullptr) {
        return nullptr;
    }
    char name[16];
    std::snprintf(name, sizeof(name), "%u", number);
    return object->AddConfigObj(name);
}

SCA_ConfigObj* SCA_NewConfigObj(const char* name) {
    auto* object = new (std::nothrow) SCA_ConfigObj(name, nullptr);
    if (object == nullptr || !object->IsConstructed()) {
        SCA_Object::Destroy(object);
        return nullptr;
    }
    return object;
}

SCA_ConfigObj* SCA_FirstChildObj(SCA_ConfigObj* object) {
    return object != nullptr ? ObjFrom(object->GetHead()) : nullptr;
}

SCA_ConfigObj* SCA_NextChildObj(SCA_ConfigObj* child) {
    return child != nullptr ? ObjFrom(child->GetNext()) : nullptr;
}

SCA_TezFieldWriter::SCA_TezFieldWriter(SCA_ConfigObj* object)
    : m_Object(object), m_Ok(object != nullptr) {}

void SCA_TezFieldWriter::Put(const char* name, uint32_t value) {
    m_Ok = m_Ok && m_Object->AddField(name, value) != 0;
}

void SCA_TezFieldWriter::Put(const char* name, int value) {
    m_Ok = m_Ok && m_Object->AddField(name, value) != 0;
}

void SCA_TezFieldWriter::Put(const char* name, uint64_t value) {
    m_Ok = m_Ok && m_Object->AddField(name, value) != 0;
}

void SCA_TezFieldWriter::Put(const char* name, double value) {
    m_Ok = m_Ok && m_Object->AddField(name, value) != 0;
}

void SCA_TezFieldWriter::Put(const char* name, const char* text) {
    m_Ok = m_Ok && m_Object->AddField(name, text != nullptr ? text : "") != 0;
}

SCA_ConfigObj* SCA_TezFieldWriter::PutObject(const char* name) {
    SCA_ConfigObj* child = m_Ok ? m_Object->AddConfigObj(name) : nullptr;
    m_Ok = child != nullptr;
    return child;
}

SCA_TezFieldReader::SCA_TezFieldReader(SCA_ConfigObj* object)
    : m_Object(object), m_Ok(object != nullptr),
      m_BadField(object != nullptr ? "" : "(no object)") {}

void SCA_TezFieldReader::Fail(const char* name) {
    if (m_Ok) {
        m_Ok = false;
        m_BadField = name;
    }
}

bool SCA_TezFieldReader::FindValue(const char* name, bool* present) {
    *present = false;
    if (!m_Ok) {
        return false;
    }
    SCA_Field* field = nullptr;
    if (!m_Object->GetFieldByName(name, &field) || field == nullptr) {
        return true;
    }
    if (field->IsObject()) {
        Fail(name);
        return false;
    }
    *present = true;
    return true;
}

template <typename Number>
void SCA_TezFieldReader::GetNumber(const char* name, Number* value) {
    bool present = false;
    if (FindValue(name, &present) && present && !m_Object->GetField(name, value)) {
        Fail(name);
    }
}

void SCA_TezFieldReader::Get(const char* name, uint32_t* value) {
    GetNumber(name, value);
}
void SCA_TezFieldReader::Get(const char* name, int* value) {
    GetNumber(name, value);
}
void SCA_TezFieldReader::Get(const char* name, uint64_t* value) {
    GetNumber(name, value);
}
void SCA_TezFieldReader::Get(const char* name, double* value) {
    GetNumber(name, value);
}

void SCA_TezFieldReader::Get(const char* name, char* text, uint32_t size) {
    bool present = false;
    if (FindValue(name, &present) && present && !m_Object->GetField(name, text, size)) {
        Fail(name);
    }
}

SCA_ConfigObj* SCA_TezFieldReader::GetObject(const char* name) {
    if (!m_Ok) {
        return nullptr;
    }
    SCA_Field* field = nullptr;
    if (!m_Object->GetFieldByName(name, &field) || field == nullptr) {
        return nullptr;
    }
    if (!field->IsObject()) {
        Fail(name);
        return nullptr;
    }
    return static_cast<SCA_ConfigObj*>(field);
}
