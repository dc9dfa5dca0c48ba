#pragma once

// A client object whose replies a test scripts: every operation the live window uses answers
// from the script and is written to the call log; nothing goes over the network.

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_DebugLog.h"
#include "model/SCA_Field.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigUser.h"

namespace korvac_test {

struct ClientScript {
    int ConnectOk = 1;
    uint32_t LoginStatus = 1;
    int StatusOk = 1;
    uint32_t ProductType = SCA_PRODUCT_TYPE_KORVANTA;
    // The "ServerStatus" fields and the "MonitorsStatus" values by monitor id.
    std::map<std::string, uint64_t> Status;
    std::vector<std::pair<std::string, std::string>> Monitors;
    // What GetDebugLog answers: its session and messages numbered from FirstMessageId.
    uint32_t SessionId = 1;
    uint32_t FirstMessageId = 1;
    uint32_t MessageCount = 0;
    // The service's user configuration as GetUserConfig answers it.
    uint16_t ServerPort = 8000;
    uint32_t LogonMode = 2;
    // What SetUserConfig received: its mask and the settings by name.
    uint32_t SetMask = 0;
    std::map<std::string, std::string> SetFields;
    std::vector<std::string> Calls;

    int Count(const std::string& call) const {
        int count = 0;
        for (const auto& name : Calls) {
            count += name == call ? 1 : 0;
        }
        return count;
    }
};

class ScriptedClient : public SCA_KorvantaInterface {
public:
    explicit ScriptedClient(ClientScript* script) : m_Script(*script) {}

    int Connect(const char*, uint16_t, uint32_t, uint32_t* error) override {
        m_Script.Calls.push_back("Connect");
        *error = m_Script.ConnectOk ? 0 : 111;
        return m_Script.ConnectOk;
    }
    int Login(const char*, const char*, uint32_t* status) override {
        m_Script.Calls.push_back("Login");
        *status = m_Script.LoginStatus;
        return 1;
    }
    int GetServerInfo(uint32_t* productType, char* version, char* host) override {
        m_Script.Calls.push_back("GetServerInfo");
        *productType = m_Script.ProductType;
        SCA_StrnCpy(version, "13.5.48", 256);
        SCA_StrnCpy(host, "scripted-host", 256);
        return 1;
    }
    int GetServiceInfo(char* host, char* account) override {
        m_Script.Calls.push_back("GetServiceInfo");
        SCA_StrnCpy(host, "scripted-host", 256);
        SCA_StrnCpy(account, "root", 256);
        return 1;
    }
    int GetProductConfig(SCA_ConfigObj** out) override {
        m_Script.Calls.push_back("GetProductConfig");
        SCA_TezConfig config(m_Script.ProductType);
        auto* object = new SCA_ConfigObj("ProductConfig", nullptr);
        config.Serialize(object);
        *out = object;
        return 1;
    }
    int GetUserConfig(SCA_ConfigObj** out) override {
        m_Script.Calls.push_back("GetUserConfig");
        SCA_TezConfig config(m_Script.ProductType);
        SCA_TezConfigUser user(&config);
        user.InitDefConfig(&config);
        user.SetServerControlPort(m_Script.ServerPort);
        user.SetServerLogonMode(m_Script.LogonMode);
        user.SetServerUserName("admin");
        user.SetServerPassword("service-secret");
        auto* object = new SCA_ConfigObj("UserConfig", nullptr);
        user.Serialize(object);
        *out = object;
        return 1;
    }
    int SetUserConfig(SCA_ConfigObj* config, uint32_t mask) override {
        m_Script.Calls.push_back("SetUserConfig");
        m_Script.SetMask = mask;
        m_Script.SetFields.clear();
        for (SCA_Field* field = config->GetHead(); field != nullptr; field = field->GetNext()) {
            if (!field->IsObject()) {
                m_Script.SetFields[field->GetName()] = field->GetValue();
            }
        }
        return 1;
    }
    int StopAllMonitors() override {
        m_Script.Calls.push_back("StopAllMonitors");
        return 1;
    }
    int ClearDebugLog() override {
        m_Script.Calls.push_back("ClearDebugLog");
        return 1;
    }
    int GetStatusEx(SCA_ConfigObj** serverStatus, SCA_ConfigObj** monitorsStatus) override {
        m_Script.Calls.push_back("GetStatusEx");
        if (!m_Script.StatusOk) {
            return 0;
        }
        auto* status = new SCA_ConfigObj("ServerStatus", nullptr);
        for (const auto& [name, value] : m_Script.Status) {
            status->AddField(name.c_str(), value);
        }
        auto* monitors = new SCA_ConfigObj("MonitorsStatus", nullptr);
        for (const auto& [id, text] : m_Script.Monitors) {
            monitors->AddField(id.c_str(), text.c_str());
        }
        *serverStatus = status;
        *monitorsStatus = monitors;
        return 1;
    }
    int GetDebugLog(uint32_t from, uint32_t count, uint32_t* session,
                    SCA_ConfigObj** out) override {
        m_Script.Calls.push_back("GetDebugLog");
        SCA_DebugLog log(m_Script.MessageCount + 1);
        // As the service's log: a reader of an earlier session gets everything kept.
        if (from != SCA_ALL_ONES && from >= m_Script.FirstMessageId + m_Script.MessageCount) {
            from = SCA_ALL_ONES;
        }
        for (uint32_t i = 0; i < m_Script.MessageCount && log.GetMessageCount() < count; ++i) {
            if (from != SCA_ALL_ONES && m_Script.FirstMessageId + i <= from) {
                continue;
            }
            tagSCA_ERROR_DESCR message{};
            message.Level = SCA_LEVEL_INFO;
            message.AbsTime = 133000000000000000ull;
            std::snprintf(message.Text, sizeof(message.Text), "message %u", i);
            log.AddMessage(&message, m_Script.FirstMessageId + i);
        }
        auto* object = new SCA_ConfigObj("DebugLog", nullptr);
        log.Serialize(SCA_ALL_ONES, SCA_ALL_ONES, SCA_ALL_ONES, object);
        *session = m_Script.SessionId;
        *out = object;
        return 1;
    }
    int GetSoundActions(uint64_t, uint64_t* last, SCA_ConfigObj** out) override {
        m_Script.Calls.push_back("GetSoundActions");
        *last = m_Script.Status["LastSoundActionTime"];
        *out = new SCA_ConfigObj("SoundActions", nullptr);
        return 1;
    }

private:
    ClientScript& m_Script;
};

} // namespace korvac_test
