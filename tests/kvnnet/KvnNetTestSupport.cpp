// SPDX-License-Identifier: MIT
#include <cstring>
#include <gtest/gtest.h>

#include "KvnNetTestSupport.h"

namespace kvnnet_test {

namespace {

using V = SCA_KorvantaNetVirtual;

// fields: the arguments in order, blank-separated; a leading '>' marks an output (a reply
// field), a suffix ":t" a text, ":l" a 64-bit number, ":o" an object; the rest are u32.
Command Make(const char* name, const std::string& fields, int (*call)(V*, Slots&)) {
    Command command{name, {}, call};
    size_t start = 0;
    while (start < fields.size()) {
        size_t end = fields.find(' ', start);
        end = end == std::string::npos ? fields.size() : end;
        std::string word = fields.substr(start, end - start);
        start = end + 1;
        Field field{word, Kind::U32, word[0] == '>'};
        if (field.Out) {
            field.Name.erase(0, 1);
        }
        const size_t colon = field.Name.find(':');
        if (colon != std::string::npos) {
            const char kind = field.Name[colon + 1];
            field.Type = kind == 't' ? Kind::Text : kind == 'l' ? Kind::U64 : Kind::Object;
            field.Name.erase(colon);
        }
        command.Fields.push_back(field);
    }
    return command;
}

std::vector<Command> MakeProtocol() {
    return {
        Make("GetDebugLog", "LastMessageId Count >LogSessionId >DebugLogObj:o",
             [](V* c, Slots& s) {
                 return c->GetDebugLog(s.U32[0], s.U32[1], &s.U32[2], &s.Obj[3]);
             }),
        Make("ClearDebugLog", "", [](V* c, Slots&) { return c->ClearDebugLog(); }),
        Make("LoginEx2", "LoginData:o >LoginResults:o",
             [](V* c, Slots& s) { return c->LoginEx2(s.Obj[0], &s.Obj[1]); }),
        Make("GetStatus", ">ServerStatus:o",
             [](V* c, Slots& s) { return c->GetStatus(&s.Obj[0]); }),
        Make("GetStatusEx", "DevsStatusId LastUpdateTime:l >ServerStatus:o >DeviceStatusList:o",
             [](V* c, Slots& s) {
                 return c->GetStatusEx(s.U32[0], s.U64[1], &s.Obj[2], &s.Obj[3]);
             }),
        Make("GetServerInfo", ">ServerProductType >ServerVersion:t >ServerHostName:t",
             [](V* c, Slots& s) { return c->GetServerInfo(&s.U32[0], s.Text[1], s.Text[2]); }),
        Make(
            "GetServerInfoEx",
            ">ServerProductType >ServerVersion:t >ServerHostName:t >EnableOsLogon >ServerLogonMode",
            [](V* c, Slots& s) {
                return c->GetServerInfoEx(&s.U32[0], s.Text[1], s.Text[2], &s.U32[3], &s.U32[4]);
            }),
        Make("GetServiceInfo", ">ServiceHostName:t >ServiceUserName:t",
             [](V* c, Slots& s) { return c->GetServiceInfo(s.Text[0], s.Text[1]); }),
        Make("GetProductConfig", ">Config:o",
             [](V* c, Slots& s) { return c->GetProductConfig(&s.Obj[0]); }),
        Make("SetProductConfig", "Config:o",
             [](V* c, Slots& s) { return c->SetProductConfig(s.Obj[0]); }),
        Make("GetUserConfig", ">Config:o",
             [](V* c, Slots& s) { return c->GetUserConfig(&s.Obj[0]); }),
        Make("SetUserConfig", "Config:o Flags",
             [](V* c, Slots& s) { return c->SetUserConfig(s.Obj[0], s.U32[1]); }),
        Make("StopServer", "", [](V* c, Slots&) { return c->StopServer(); }),
        Make("RestartServer", "", [](V* c, Slots&) { return c->RestartServer(); }),
        Make("Suspend", "", [](V* c, Slots&) { return c->Suspend(); }),
        Make("GetGroupIndex", ">GroupIndex:o",
             [](V* c, Slots& s) { return c->GetGroupIndex(&s.Obj[0]); }),
        Make("AddGroup", "GroupName:t", [](V* c, Slots& s) { return c->AddGroup(s.Text[0]); }),
        Make("DeleteGroup", "GroupName:t",
             [](V* c, Slots& s) { return c->DeleteGroup(s.Text[0]); }),
        Make("ConnectToNetwork", "HostName:t Port UserName:t Passord:t >DeviceId",
             [](V* c, Slots& s) {
                 return c->ConnectToNetwork(s.Text[0], s.U32[1], s.Text[2], s.Text[3], &s.U32[4]);
             }),
        Make("GetDeviceIndexObj", ">DeviceIndexObj:o IncludeRuntimeInfo",
             [](V* c, Slots& s) { return c->GetDeviceIndexObj(&s.Obj[0], s.U32[1]); }),
        Make("AddDevice", "HostName:t >DeviceId",
             [](V* c, Slots& s) { return c->AddDevice(s.Text[0], &s.U32[1]); }),
        Make("GetDeviceInfo", "DeviceId IncludeRuntimeInfo >DeviceObj:o",
             [](V* c, Slots& s) { return c->GetDeviceInfo(s.U32[0], s.U32[1], &s.Obj[2]); }),
        Make("GetDeviceStatus", "DeviceId >StatusObj:o",
             [](V* c, Slots& s) { return c->GetDeviceStatus(s.U32[0], &s.Obj[1]); }),
        Make("GetDeviceStatusEx", "DeviceId Counters:t >StatusObj:o >CountersObj:o",
             [](V* c, Slots& s) {
                 return c->GetDeviceStatusEx(s.U32[0], s.Text[1], &s.Obj[2], &s.Obj[3]);
             }),
        Make("GetDeviceDebugStatus", "DeviceId >StatusObj:o",
             [](V* c, Slots& s) { return c->GetDeviceDebugStatus(s.U32[0], &s.Obj[1]); }),
        Make("GetDeviceListStatus", "DeviceList:o >StatusObj:o >CountersObj:o",
             [](V* c, Slots& s) { return c->GetDeviceListStatus(s.Obj[0], &s.Obj[1], &s.Obj[2]); }),
        Make("DeviceLogin", "DeviceId HostName:t DeviceData:o >DeviceConfig:o >StatusCode",
             [](V* c, Slots& s) {
                 return c->DeviceLogin(s.U32[0], s.Text[1], s.Obj[2], &s.Obj[3], &s.U32[4]);
             }),
        Make("UpdateDeviceStatus", "DeviceId DeviceStatus:o >StatusCode",
             [](V* c, Slots& s) { return c->UpdateDeviceStatus(s.U32[0], s.Obj[1], &s.U32[2]); }),
        Make("UpdateDeviceStatusEx",
             "DeviceId UpTime MonitorCount ActiveMonitors DeviceStatus:o >StatusCode",
             [](V* c, Slots& s) {
                 return c->UpdateDeviceStatusEx(s.U32[0], s.U32[1], s.U32[2], s.U32[3], s.Obj[4],
                                                &s.U32[5]);
             }),
        Make("DeviceLogout", "DeviceId", [](V* c, Slots& s) { return c->DeviceLogout(s.U32[0]); }),
        Make("GetDeviceMonitors", "DeviceId >Monitors:o",
             [](V* c, Slots& s) { return c->GetDeviceMonitors(s.U32[0], &s.Obj[1]); }),
        Make("GetDeviceSessions", "DeviceId >Sessions:o",
             [](V* c, Slots& s) { return c->GetDeviceSessions(s.U32[0], &s.Obj[1]); }),
        Make("GetDeviceLastSession", "DeviceId >Session:o",
             [](V* c, Slots& s) { return c->GetDeviceLastSession(s.U32[0], &s.Obj[1]); }),
        Make("GetDeviceReportIndex", "DeviceId >Reports:o",
             [](V* c, Slots& s) { return c->GetDeviceReportIndex(s.U32[0], &s.Obj[1]); }),
        Make("GetDeviceReportList", "DeviceId >Reports:o",
             [](V* c, Slots& s) { return c->GetDeviceReportList(s.U32[0], &s.Obj[1]); }),
        Make("GetDeviceReportCounter", "DeviceId ReportId CounterType >CounterObj:o",
             [](V* c, Slots& s) {
                 return c->GetDeviceReportCounter(s.U32[0], s.U32[1], s.U32[2], &s.Obj[3]);
             }),
        Make("GetDeviceMonitorCounter", "DeviceId CounterType >CounterObj:o",
             [](V* c, Slots& s) {
                 return c->GetDeviceMonitorCounter(s.U32[0], s.U32[1], &s.Obj[2]);
             }),
        Make("GetDeviceMonitorReportIndex", "DeviceId MaxReports >ReportsObj:o",
             [](V* c, Slots& s) {
                 return c->GetDeviceMonitorReportIndex(s.U32[0], s.U32[1], &s.Obj[2]);
             }),
        Make("GetDeviceMonitorReport", "DeviceId >ReportObj:o",
             [](V* c, Slots& s) { return c->GetDeviceMonitorReport(s.U32[0], &s.Obj[1]); }),
        Make("DeleteDeviceReports", "DeviceId",
             [](V* c, Slots& s) { return c->DeleteDeviceReports(s.U32[0]); }),
        Make("SetNetworkUpdatePeriod", "UpdatePeriod",
             [](V* c, Slots& s) { return c->SetNetworkUpdatePeriod(s.U32[0]); }),
        Make("SetDeviceUpdatePeriod", "DeviceId UpdatePeriod",
             [](V* c, Slots& s) { return c->SetDeviceUpdatePeriod(s.U32[0], s.U32[1]); }),
        Make("SetNetworkMaxPendingStatus", "MaxPendingStatus",
             [](V* c, Slots& s) { return c->SetNetworkMaxPendingStatus(s.U32[0]); }),
        Make("SetDeviceMaxPendingStatus", "DeviceId MaxPendingStatus",
             [](V* c, Slots& s) { return c->SetDeviceMaxPendingStatus(s.U32[0], s.U32[1]); }),
        Make("DeleteDevice", "DeviceId", [](V* c, Slots& s) { return c->DeleteDevice(s.U32[0]); }),
        Make("DeleteAllReports", "", [](V* c, Slots&) { return c->DeleteAllReports(); }),
        Make("GetRules", "GroupName:t >RulesObj:o",
             [](V* c, Slots& s) { return c->GetRules(s.Text[0], &s.Obj[1]); }),
        Make("IsRuleExists", "GroupName:t RuleObj:o >Status",
             [](V* c, Slots& s) { return c->IsRuleExists(s.Text[0], s.Obj[1], &s.U32[2]); }),
        Make("AddRule", "GroupName:t RuleObj:o >RuleId",
             [](V* c, Slots& s) { return c->AddRule(s.Text[0], s.Obj[1], &s.U32[2]); }),
        Make("SetRule", "GroupName:t RuleId RuleObj:o",
             [](V* c, Slots& s) { return c->SetRule(s.Text[0], s.U32[1], s.Obj[2]); }),
        Make("GetRule", "GroupName:t RuleId >RuleObj:o",
             [](V* c, Slots& s) { return c->GetRule(s.Text[0], s.U32[1], &s.Obj[2]); }),
        Make("DeleteRule", "GroupName:t RuleId",
             [](V* c, Slots& s) { return c->DeleteRule(s.Text[0], s.U32[1]); }),
    };
}

} // namespace

const std::vector<Command>& Protocol() {
    static const std::vector<Command> commands = MakeProtocol();
    return commands;
}

const Command& FindCommand(const std::string& name) {
    for (const Command& command : Protocol()) {
        if (name == command.Name) {
            return command;
        }
    }
    ADD_FAILURE() << "no command " << name;
    return Protocol().front();
}

SCA_ConfigObj* MakeObject(const char* name, const std::string& tag) {
    auto* object = new SCA_ConfigObj(name, nullptr);
    object->AddField("Tag", tag.c_str());
    return object;
}

std::string TagOf(SCA_ConfigObj* object) {
    char tag[256] = "";
    return object != nullptr && object->GetField("Tag", tag, sizeof(tag)) ? tag : "<none>";
}

void FillInputs(const Command& command, size_t index, Slots* slots) {
    for (size_t i = 0; i < command.Fields.size(); ++i) {
        const Field& field = command.Fields[i];
        if (field.Out) {
            continue;
        }
        const std::string text = command.Name + "." + field.Name;
        slots->U32[i] = static_cast<uint32_t>(1000 * (index + 1) + i);
        slots->U64[i] = 0x123456789ABCull + index; // beyond 32 bits
        std::snprintf(slots->Text[i], sizeof(slots->Text[i]), "%s", text.c_str());
        slots->Obj[i] = field.Type == Kind::Object ? MakeObject("Caller", text) : nullptr;
    }
}

void ReleaseObjects(const Command& command, Slots* slots) {
    for (size_t i = 0; i < command.Fields.size(); ++i) {
        SCA_Object::Destroy(slots->Obj[i]);
        slots->Obj[i] = nullptr;
    }
}

std::string Describe(const Field& field, const Slots& slots, size_t i) {
    switch (field.Type) {
    case Kind::U32:
        return field.Name + "=" + std::to_string(slots.U32[i]);
    case Kind::U64:
        return field.Name + "=" + std::to_string(slots.U64[i]);
    case Kind::Text:
        return field.Name + "=" + slots.Text[i];
    case Kind::Object:
        return field.Name + "{" + TagOf(slots.Obj[i]) + "}";
    }
    return {};
}

std::string Describe(SCA_Field* field) {
    if (field->IsObject()) {
        return std::string(field->GetName()) + "{" + TagOf(static_cast<SCA_ConfigObj*>(field)) +
               "}";
    }
    return std::string(field->GetName()) + "=" + field->GetValue();
}

std::vector<std::string> Children(SCA_ConfigObj* data) {
    std::vector<std::string> children;
    for (SCA_Field* field = data->GetHead(); field != nullptr; field = field->GetNext()) {
        children.push_back(Describe(field));
    }
    return children;
}

std::vector<std::string> Expected(const Command& command, const Slots& slots, bool out) {
    std::vector<std::string> fields;
    for (size_t i = 0; i < command.Fields.size(); ++i) {
        const Field& field = command.Fields[i];
        if (field.Out != out) {
            continue;
        }
        if (!out) {
            fields.push_back(Describe(field, slots, i));
        } else if (field.Type == Kind::U32) {
            fields.push_back(field.Name + "=" + std::to_string(OutU32(i)));
        } else {
            const char* open = field.Type == Kind::Object ? "{" : "=";
            const char* close = field.Type == Kind::Object ? "}" : "";
            fields.push_back(field.Name + open + OutText(command.Name, i) + close);
        }
    }
    return fields;
}

std::vector<std::string> Actual(const Command& command, const Slots& slots, bool out) {
    std::vector<std::string> fields;
    for (size_t i = 0; i < command.Fields.size(); ++i) {
        const Field& field = command.Fields[i];
        SCA_ConfigObj* object = slots.Obj[i];
        if (field.Out != out) {
            continue;
        }
        if (field.Type != Kind::Object) {
            fields.push_back(Describe(field, slots, i));
        } else if (object == nullptr) {
            fields.push_back("null");
        } else {
            fields.push_back(Describe(object) + (object->IsLinked() ? " linked" : ""));
        }
    }
    return fields;
}

void AddField(SCA_ConfigObj* data, const Command& command, const Slots& slots, size_t i) {
    const Field& field = command.Fields[i];
    const char* name = field.Name.c_str();
    if (field.Out && field.Type == Kind::U32) {
        data->AddField(name, OutU32(i));
    } else if (field.Out && field.Type == Kind::Text) {
        data->AddField(name, OutText(command.Name, i).c_str());
    } else if (field.Out) {
        data->AddField(name, MakeObject("Made", OutText(command.Name, i)), 0);
    } else if (field.Type == Kind::U32) {
        data->AddField(name, slots.U32[i]);
    } else if (field.Type == Kind::U64) {
        data->AddField(name, slots.U64[i]);
    } else if (field.Type == Kind::Text) {
        data->AddField(name, slots.Text[i]);
    } else {
        data->AddField(name, slots.Obj[i]->Clone(), 0);
    }
}

int ReportCapture::Count(uint32_t level, const std::string& text) const {
    std::lock_guard<std::mutex> lock(m_Lock);
    int count = 0;
    for (const auto& record : m_Records) {
        count += record.first == level && record.second.find(text) != std::string::npos ? 1 : 0;
    }
    return count;
}

int ReportCapture::Collect(tagSCA_ERROR_DESCR* record, void* context) {
    auto* self = static_cast<ReportCapture*>(context);
    std::lock_guard<std::mutex> lock(self->m_Lock);
    self->m_Records.emplace_back(record->Level, record->Text);
    return 0;
}

WireServer::WireServer(uint16_t port, uint32_t* error)
    : SCA_NetServer<WireServer>(this, "0.0", port, error) {
    if (!IsConstructed()) {
        return;
    }
    for (const Command& command : Protocol()) {
        RegisterCommand(command.Name.c_str(), &WireServer::Answer);
    }
    StartDispatch(error);
}

int WireServer::Answer(SCA_NetServerAgent*, SCA_NetMessage* request, SCA_NetMessage* reply) {
    {
        std::lock_guard<std::mutex> lock(m_Lock);
        m_Requests.push_back({request->GetCommandName(), Children(request->GetData())});
    }
    const Command& command = FindCommand(request->GetCommandName());
    for (size_t i = 0; i < command.Fields.size(); ++i) {
        if (command.Fields[i].Out && Omit != command.Fields[i].Name) {
            AddField(reply->GetData(), command, Slots{}, i);
        }
    }
    reply->SetCommandName(ReplyName.c_str());
    return 1;
}

} // namespace kvnnet_test
