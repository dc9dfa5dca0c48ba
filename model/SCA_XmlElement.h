// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_OwnerList.h"

// An element of an XML tree: its name, its text value, its attributes (as the value fields of
// a configuration object) and, as the list's items, its child elements, which it owns. Not
// copyable: it owns heap texts, children and an embedded object.
class SCA_XmlElement : public SCA_OwnerList<SCA_XmlElement> {
public:
    SCA_HEAP_OPERATORS

    SCA_XmlElement();
    ~SCA_XmlElement() override;
    SCA_XmlElement(const SCA_XmlElement&) = delete;
    SCA_XmlElement& operator=(const SCA_XmlElement&) = delete;

    // The name, null when there is none.
    const char* GetName() const { return m_Name; }
    // The value, null when there is none.
    const char* GetValue() const { return m_Value; }
    // Copies the value into buf (bounded, cut on a UTF-8 boundary). 0, with buf untouched,
    // when there is no value or size is 0.
    int GetValue(char* buf, uint32_t size) const;
    SCA_ConfigObj* GetProperties() { return &m_Properties; }

    // A null or empty text leaves no name (1). Otherwise the name becomes a copy of text; when
    // the copy cannot be allocated the failure is reported, the old name stays and the answer
    // is 0.
    int SetName(const char* text);
    // As SetName, for the value.
    int SetValue(const char* text);

    // Appends child (owned from then on). 0 when it cannot be linked in; the caller then still
    // owns it.
    int AddChild(SCA_XmlElement* child);

private:
    char* m_Name = nullptr;
    char* m_Value = nullptr;
    SCA_ConfigObj m_Properties;
};
