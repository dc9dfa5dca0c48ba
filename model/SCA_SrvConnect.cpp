// SPDX-License-Identifier: MIT
#include "model/SCA_SrvConnect.h"

#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezSettingReader.h"

void SCA_SrvConnect::SetComputerNameA(const char* name) {
    SCA_StrnCpy(m_ComputerName, name, sizeof(m_ComputerName));
}

void SCA_SrvConnect::SetUserName(const char* name) {
    SCA_StrnCpy(m_UserName, name, sizeof(m_UserName));
}

void SCA_SrvConnect::SetPassword(const char* password) {
    SCA_StrnCpy(m_Password, password, sizeof(m_Password));
}

int SCA_SrvConnect::Serialize(SCA_ConfigObj* object) const {
    SCA_TezFieldWriter writer(object);
    writer.Put("ComputerName", m_ComputerName);
    writer.Put("UserName", m_UserName);
    writer.Put("Password", m_Password);
    writer.Put("Port", static_cast<uint32_t>(m_Port));
    if (!writer.IsOk()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "SCA_SrvConnect::Serialize: cannot add fields");
        return 0;
    }
    return 1;
}

int SCA_SrvConnect::Deserialize(SCA_ConfigObj* object) {
    SCA_TezSettingReader reader(object);
    SCA_SrvConnect read(*this);
    reader.Get("ComputerName", &read.m_ComputerName);
    reader.Get("UserName", &read.m_UserName);
    reader.Get("Password", &read.m_Password);
    reader.Get("Port", &read.m_Port);
    if (!reader.IsOk()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "SCA_SrvConnect::Deserialize: invalid field - %s",
                                                  reader.GetBadField());
        return 0;
    }
    *this = read;
    return 1;
}
