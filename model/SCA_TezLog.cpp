// SPDX-License-Identifier: MIT
#include "model/SCA_TezLog.h"
#include "model/SCA_TezRepStatus.h"

#include <new>

int SCA_TezLog::AddMessage(SCA_TezLogMsg* message) {
    if (message == nullptr || !AddItemToTail(message)) {
        return 0;
    }
    if (message->GetRepStatus() == SCA_REP_STATUS_ERROR) {
        ++m_ErrorCount;
    } else if (message->GetRepStatus() == SCA_REP_STATUS_WARNING) {
        ++m_WarningCount;
    }
    return 1;
}

int SCA_TezLog::AddMessage(uint32_t repStatus, uint64_t absTime, const char* text) {
    auto* message = new (std::nothrow) SCA_TezLogMsg(repStatus, absTime, text);
    if (message == nullptr || !message->IsConstructed() || !AddMessage(message)) {
        SCA_Object::Destroy(message);
        return 0;
    }
    return 1;
}

int SCA_TezLog::ClearAll() {
    m_ErrorCount = 0;
    m_WarningCount = 0;
    return SCA_OwnerList<SCA_TezLogMsg>::ClearAll();
}

int SCA_TezLog::Deserialize(SCA_ConfigObj* object) {
    m_ErrorCount = 0;
    m_WarningCount = 0;
    return DeserializeRecords(object,
                              [this](SCA_TezLogMsg* message) { return AddMessage(message); });
}
