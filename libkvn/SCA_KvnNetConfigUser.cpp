// SPDX-License-Identifier: MIT
#include "libkvn/SCA_KvnNetConfigUser.h"

#include <cstring>

#include "libmor/SCA_Limits.h"
#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"

namespace {

// Every part of the general configuration.
constexpr uint32_t kAllParts = SCA_ALL_ONES;

} // namespace

SCA_KvnNetConfigUser::SCA_KvnNetConfigUser(SCA_TezConfig* config) : SCA_TezConfigUser(config) {
    SetConstructed();
}

SCA_KvnNetConfigUser::SCA_KvnNetConfigUser(SCA_KvnNetConfigUser& other)
    : SCA_TezConfigUser(other.GetProductConfig()) {
    CopyFrom(other);
}

SCA_KvnNetConfigUser& SCA_KvnNetConfigUser::operator=(SCA_KvnNetConfigUser& other) {
    if (this != &other) {
        CopyFrom(other);
    }
    return *this;
}

void SCA_KvnNetConfigUser::CopyFrom(SCA_KvnNetConfigUser& other) {
    // SetContent goes through the virtual Serialize and Deserialize, so it brings the two
    // network settings along with the general ones.
    const int copied = SetContent(&other, kAllParts);
    m_NetDevUpdatePeriod = other.m_NetDevUpdatePeriod;
    m_NetMaxPendingStatus = other.m_NetMaxPendingStatus;
    std::memcpy(m_DevicesDirName, other.m_DevicesDirName, sizeof(m_DevicesDirName));
    SetConstructed(copied ? 1u : 0u);
}

void SCA_KvnNetConfigUser::SetDevicesDirName(const char* dir) {
    SCA_StrnCpy(m_DevicesDirName, dir, sizeof(m_DevicesDirName));
}

int SCA_KvnNetConfigUser::Serialize(SCA_ConfigObj* object) {
    if (object == nullptr || !SCA_TezConfigUser::Serialize(object)) {
        return 0;
    }
    return object->AddField("NetDevUpdatePeriod", m_NetDevUpdatePeriod) &&
                   object->AddField("NetMaxPendingStatus", m_NetMaxPendingStatus)
               ? 1
               : 0;
}

int SCA_KvnNetConfigUser::Deserialize(SCA_TezConfig* config, SCA_ConfigObj* object, uint32_t mask) {
    if (object == nullptr || !SCA_TezConfigUser::Deserialize(config, object, mask)) {
        return 0;
    }
    object->GetField("NetDevUpdatePeriod", &m_NetDevUpdatePeriod);
    object->GetField("NetMaxPendingStatus", &m_NetMaxPendingStatus);
    return 1;
}
