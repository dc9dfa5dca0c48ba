// SPDX-License-Identifier: MIT
#include "model/SCA_EncodedObject.h"

#include <utility>

SCA_EncodedObject::SCA_EncodedObject(const char* name, std::shared_ptr<const std::string> children)
    : SCA_ConfigObj(name, nullptr), m_Children(std::move(children)) {}

SCA_EncodedObject::~SCA_EncodedObject() = default;
