// SPDX-License-Identifier: MIT
#include "model/SCA_LlmServer.h"

#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezSettingReader.h"

void SCA_LlmServer::SetHostName(const char* name) {
    SCA_StrnCpy(m_HostName, name, sizeof(m_HostName));
}

void SCA_LlmServer::SetModelName(const char* name) {
    SCA_StrnCpy(m_ModelName, name, sizeof(m_ModelName));
}

void SCA_LlmServer::SetDescription(const char* description) {
    SCA_StrnCpy(m_Description, description, sizeof(m_Description));
}

int SCA_LlmServer::Serialize(SCA_ConfigObj* object) const {
    SCA_TezFieldWriter writer(object);
    writer.Put("ServerId", m_ServerId);
    writer.Put("HostName", m_HostName);
    writer.Put("PortNumber", static_cast<uint32_t>(m_Port));
    writer.Put("ConnectTimeout", m_ConnectTimeout);
    writer.Put("Mode", m_Mode);
    writer.Put("ModelName", m_ModelName);
    writer.Put("Description", m_Description);
    writer.Put("Accuracy", m_Accuracy);
    writer.Put("Performance", m_Performance);
    writer.Put("TestAbsTime", m_TestAbsTime);
    if (!writer.IsOk()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "SCA_LlmServer::Serialize: cannot add fields");
        return 0;
    }
    return 1;
}

int SCA_LlmServer::Deserialize(SCA_ConfigObj* object) {
    SCA_TezSettingReader reader(object);
    SCA_LlmServer read(*this);
    reader.Get("ServerId", &read.m_ServerId);
    reader.Get("HostName", &read.m_HostName);
    reader.Get("PortNumber", &read.m_Port);
    reader.Get("ConnectTimeout", &read.m_ConnectTimeout);
    reader.Get("Mode", &read.m_Mode);
    reader.Get("ModelName", &read.m_ModelName);
    reader.Get("Description", &read.m_Description);
    reader.Get("Accuracy", &read.m_Accuracy);
    reader.Get("Performance", &read.m_Performance);
    reader.Get("TestAbsTime", &read.m_TestAbsTime);
    if (!reader.IsOk()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "SCA_LlmServer::Deserialize: invalid field - %s",
                                                  reader.GetBadField());
        return 0;
    }
    *this = read;
    return 1;
}
