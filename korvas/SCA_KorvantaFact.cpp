// SPDX-License-Identifier: MIT
#include "korvas/SCA_KorvantaFact.h"

#include <new>

#include "korvas/SCA_KorvantaAgent.h"
#include "libmor/SCA_Report.h"
#include "model/SCA_TezConfigUser.h"
#include "net/SCA_KorvantaLogin.h"
#include "net/SCA_NetServerAgent.h"

SCA_KorvantaFact::SCA_KorvantaFact(SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                                   SCA_DebugLog* debugLog, SCA_KorvantaCtrl* ctrl)
    : m_StopEvent(0, 0), m_Agents(1), m_Config(config), m_UserConfig(userConfig),
      m_DebugLog(debugLog), m_Ctrl(ctrl) {
    if (!m_StopEvent.IsConstructed()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "Cannot create SCA_VirtualEvent");
    }
    SetConstructed();
}

SCA_KorvantaFact::~SCA_KorvantaFact() {
    std::lock_guard<std::mutex> lock(m_AgentsLock);
    while (auto* node = m_Agents.GetHead()) {
        SCA_KorvantaAgent* agent = node->GetItem();
        m_Agents.DeleteListItem(node);
        SCA_Object::Destroy(agent);
    }
}

SCA_KorvantaVirtual* SCA_KorvantaFact::CreateAgent(SCA_NetServerAgent* connection) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    auto* agent = connection == nullptr ? nullptr
                                        : new (std::nothrow)
                                              SCA_KorvantaAgent(m_Config, m_UserConfig, m_DebugLog,
                                                                &m_StopEvent, connection, m_Ctrl);
    if (agent == nullptr || !agent->IsConstructed()) {
        report(SCA_LEVEL_ERROR, "Cannot create SCA_KorvantaAgent");
        SCA_Object::Destroy(agent);
        return nullptr;
    }
    std::lock_guard<std::mutex> lock(m_AgentsLock);
    if (!m_Agents.AddItemToTail(agent, connection->GetId())) {
        report(SCA_LEVEL_ERROR, "Cannot create SCA_KorvantaAgent");
        SCA_Object::Destroy(agent);
        return nullptr;
    }
    agent->SetAgentId(connection->GetId());
    return agent;
}

SCA_KorvantaVirtual* SCA_KorvantaFact::GetAgent(uint32_t connectionId) {
    std::lock_guard<std::mutex> lock(m_AgentsLock);
    for (auto* node = m_Agents.GetHead(); node != nullptr; node = node->GetNext()) {
        if (node->GetId() == connectionId) {
            return node->GetItem();
        }
    }
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "Invalid agent Id - %u",
                                              connectionId);
    return nullptr;
}

int SCA_KorvantaFact::DeleteAgent(uint32_t connectionId) {
    SCA_KorvantaAgent* agent = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_AgentsLock);
        for (auto* node = m_Agents.GetHead(); node != nullptr; node = node->GetNext()) {
            if (node->GetId() == connectionId) {
                agent = node->GetItem();
                m_Agents.DeleteListItem(node);
                break;
            }
        }
    }
    if (agent == nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "Invalid agent Id - %u",
                                                  connectionId);
        return 0;
    }
    // Outside the lock: the destructor reports, and other connections go on meanwhile.
    SCA_Object::Destroy(agent);
    return 1;
}

uint32_t SCA_KorvantaFact::GetServerLoginMode() {
    const auto config = m_UserConfig != nullptr ? m_UserConfig->GetSnapshot() : nullptr;
    return config != nullptr ? SCA_TezEffectiveLogonMode(config->Settings.EnableOsLogon,
                                                         config->Settings.ServerLogonMode)
                             : SCA_KORVANTA_LOGIN_SIGNATURE;
}

uint32_t SCA_KorvantaFact::GetLoginModeFor(SCA_NetServerAgent* connection) {
    return m_UserConfig != nullptr && m_Ctrl != nullptr
               ? SCA_KorvantaAgent::LoginModeFor(m_Ctrl, m_UserConfig, connection)
               : GetServerLoginMode();
}

uint32_t SCA_KorvantaFact::GetAgentCount() const {
    std::lock_guard<std::mutex> lock(m_AgentsLock);
    return m_Agents.Count();
}
