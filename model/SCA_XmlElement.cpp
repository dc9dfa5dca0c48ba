// SPDX-License-Identifier: MIT
#include "model/SCA_XmlElement.h"

#include <cstring>

#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"

namespace {

// Replaces *text with a copy of value (none for a null or empty value). A copy that cannot be
// allocated is reported and leaves *text as it was.
int ReplaceText(char** text, const char* value) {
    if (value == nullptr || value[0] == '\0') {
        SCA_HeapFree(*text);
        *text = nullptr;
        return 1;
    }
    const size_t size = std::strlen(value) + 1;
    auto* copy = static_cast<char*>(SCA_HeapAlloc(size));
    if (copy == nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "Cannot alloc %zu bytes of memory", size);
        return 0;
    }
    std::memcpy(copy, value, size);
    SCA_HeapFree(*text);
    *text = copy;
    return 1;
}

} // namespace

SCA_XmlElement::SCA_XmlElement() : m_Properties("Properties", nullptr) {
    if (!m_Properties.IsConstructed()) {
        SetConstructed(0);
    }
}

SCA_XmlElement::~SCA_XmlElement() {
    SCA_HeapFree(m_Name);
    SCA_HeapFree(m_Value);
}

int SCA_XmlElement::GetValue(char* buf, uint32_t size) const {
    if (m_Value == nullptr || m_Value[0] == '\0' || buf == nullptr || size == 0) {
        return 0;
    }
    SCA_StrnCpy(buf, m_Value, size);
    return 1;
}

int SCA_XmlElement::SetName(const char* text) {
    return ReplaceText(&m_Name, text);
}

int SCA_XmlElement::SetValue(const char* text) {
    return ReplaceText(&m_Value, text);
}

int SCA_XmlElement::AddChild(SCA_XmlElement* child) {
    return child != nullptr && child != this && AddItemToTail(child) ? 1 : 0;
}
