#include "model/SCA_TezRecordFields.h"

#include "model/SCA_ConfigObj.h"

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
