// SPDX-License-Identifier: MIT
#include "net/SCA_NetMessage.h"

#include <cstring>

#include "libmor/SCA_Report.h"

SCA_NetMessage::SCA_NetMessage() : m_Data("Data", nullptr) {
    SetConstructed(m_Data.IsConstructed());
}

SCA_NetMessage::~SCA_NetMessage() = default;

SCA_NetMessage::SCA_NetMessage(const SCA_NetMessage& other)
    : SCA_Object(other), m_ControlCode(other.m_ControlCode), m_ControlFlags(other.m_ControlFlags),
      m_Data(other.m_Data) {
    std::memcpy(m_CommandName, other.m_CommandName, sizeof(m_CommandName));
    if (!m_Data.IsConstructed()) {
        SetConstructed(0);
    }
}

SCA_NetMessage& SCA_NetMessage::operator=(const SCA_NetMessage& other) {
    if (this == &other) {
        return *this;
    }
    // SetContent leaves this tree as it was when the copy fails.
    if (!m_Data.SetContent(const_cast<SCA_ConfigObj*>(&other.m_Data))) {
        SetConstructed(0);
        return *this;
    }
    m_ControlCode = other.m_ControlCode;
    m_ControlFlags = other.m_ControlFlags;
    std::memcpy(m_CommandName, other.m_CommandName, sizeof(m_CommandName));
    SetConstructed(other.IsConstructed());
    return *this;
}

int SCA_NetMessage::Init(const char* commandName) {
    m_Data.Clear();
    if (!SetCommandName(commandName)) {
        m_CommandName[0] = '\0';
        return 0;
    }
    return 1;
}

int SCA_NetMessage::SetCommandName(const char* name) {
    if (name == nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_NetMessage::SetCommandName: no command name");
        return 0;
    }
    const size_t length = strnlen(name, kMaxCommandName + 1);
    if (length > kMaxCommandName) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_NetMessage::SetCommandName: command name longer than %u bytes",
            kMaxCommandName);
        return 0;
    }
    std::memcpy(m_CommandName, name, length);
    m_CommandName[length] = '\0';
    return 1;
}
