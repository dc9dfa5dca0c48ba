// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>

#include "model/SCA_ConfigObj.h"

// An object whose children were turned into their byte form once, to go out in many trees: the
// monitor rows that every client polls, unchanged between two samples, are encoded when they
// change instead of in each reply. Its byte form is its name with those bytes as its children,
// after any children added to it as fields; read back, it is an ordinary object.
//
// It is made to be written, not read: the encoded children are no fields of it (GetFieldCount,
// GetFieldByName and a copy do not see them). The bytes must be the byte forms of whole fields,
// as SCA_Field::AppendValueForm writes them, and are shared, never changed.
class SCA_EncodedObject : public SCA_ConfigObj {
public:
    SCA_EncodedObject(const char* name, std::shared_ptr<const std::string> children);
    ~SCA_EncodedObject() override;

protected:
    const std::string* GetEncodedChildren() const override { return m_Children.get(); }

private:
    std::shared_ptr<const std::string> m_Children;
};
