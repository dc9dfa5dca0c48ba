// SPDX-License-Identifier: MIT
#include "model/SCA_TezLogMsg.h"

#include <cerrno>
#include <cstring>

#include "libmor/SCA_Report.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezRecordFields.h"
#include "model/SCA_TezRepStatus.h"

namespace {

// A heap copy of a non-empty text; null (reported) when it cannot be allocated.
char* CopyMessage(const char* text) {
    const size_t size = std::strlen(text) + 1;
    auto* copy = static_cast<char*>(SCA_HeapAlloc(size));
    if (copy == nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "Cannot alloc %zu bytes of memory - %d", size, ENOMEM);
        return nullptr;
    }
    std::memcpy(copy, text, size);
    return copy;
}

bool IsEmpty(const char* text) {
    return text == nullptr || text[0] == '\0';
}

} // namespace

SCA_TezLogMsg::SCA_TezLogMsg() {
    SetConstructed();
}

SCA_TezLogMsg::SCA_TezLogMsg(uint32_t repStatus, uint64_t absTime, const char* message)
    : m_RepStatus(repStatus), m_AbsTime(absTime) {
    if (SetMessage(message)) {
        SetConstructed();
    }
}

SCA_TezLogMsg::SCA_TezLogMsg(const SCA_TezLogMsg& other)
    : SCA_Object(other), m_RepStatus(other.m_RepStatus), m_AbsTime(other.m_AbsTime) {
    if (other.m_Message != nullptr) {
        m_Message = CopyMessage(other.m_Message);
        if (m_Message == nullptr) {
            SetConstructed(0);
        }
    }
}

SCA_TezLogMsg& SCA_TezLogMsg::operator=(const SCA_TezLogMsg& other) {
    if (this == &other) {
        return *this;
    }
    char* copy = nullptr;
    if (other.m_Message != nullptr) {
        copy = CopyMessage(other.m_Message);
        if (copy == nullptr) {
            return *this;
        }
    }
    SCA_HeapFree(m_Message);
    m_Message = copy;
    SCA_Object::operator=(other);
    m_RepStatus = other.m_RepStatus;
    m_AbsTime = other.m_AbsTime;
    return *this;
}

SCA_TezLogMsg::~SCA_TezLogMsg() {
    SCA_HeapFree(m_Message);
}

int SCA_TezLogMsg::SetMessage(const char* text) {
    if (IsEmpty(text)) {
        SCA_HeapFree(m_Message);
        m_Message = nullptr;
        return 1;
    }
    char* copy = CopyMessage(text);
    if (copy == nullptr) {
        return 0;
    }
    SCA_HeapFree(m_Message);
    m_Message = copy;
    return 1;
}

const char* SCA_TezLogMsg::GetRepStatusDescr() const {
    switch (m_RepStatus) {
    case 0:
        return "-D-";
    case 1:
        return "-R-";
    case SCA_REP_STATUS_MESSAGE:
        return "-I-";
    case SCA_REP_STATUS_WARNING:
        return "-W-";
    case SCA_REP_STATUS_ERROR:
        return "ERR";
    default:
        return "---";
    }
}

int SCA_TezLogMsg::Serialize(SCA_ConfigObj* object) const {
    if (object == nullptr) {
        return 0;
    }
    return object->AddField("RepStatus", m_RepStatus) && object->AddField("AbsTime", m_AbsTime) &&
           SCA_AddTextField(object, "Message", m_Message);
}

int SCA_TezLogMsg::Deserialize(SCA_ConfigObj* object) {
    if (object == nullptr) {
        return 0;
    }
    object->GetField("RepStatus", &m_RepStatus);
    object->GetField("AbsTime", &m_AbsTime);
    SCA_Field* field = nullptr;
    if (object->GetFieldByName("Message", &field) && !field->IsObject()) {
        return SetMessage(field->GetValue());
    }
    return 1;
}
