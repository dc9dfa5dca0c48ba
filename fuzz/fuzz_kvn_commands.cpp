// SPDX-License-Identifier: MIT
// The command payloads of the network protocol as a central server decodes them: the first
// byte picks the command, the rest is the request tree. The handlers' field walk reads the
// inputs; an object input goes on to the network library's reader of that payload (a device's
// record at its login, a full or a compact status update, a rule, the network settings). What
// a reader took writes back to a form that reads again to the same thing, in memory and in the
// device's files.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/FuzzKvnSupport.h"
#include "fuzz/FuzzTreeSupport.h"
#include "libkvn/SCA_KorvantaNetCommands.h"
#include "libkvn/SCA_KvnDeviceInfo.h"
#include "libkvn/SCA_KvnRule.h"
#include "libkvn/SCA_KvnRuleList.h"
#include "libmor/SCA_Report.h"

namespace {

constexpr int kWithOnline = 1;

std::string FormOf(const SCA_KvnDeviceInfo& info) {
    SCA_ConfigObj form("Device", nullptr);
    if (!info.Serialize(&form, kWithOnline)) {
        __builtin_trap();
    }
    return fuzz_service::BytesOf(&form);
}

void ReadDeviceRecord(SCA_ConfigObj* object) {
    SCA_KvnDeviceInfo info;
    if (!info.Deserialize(object, kWithOnline)) {
        return;
    }
    SCA_ConfigObj form("Device", nullptr);
    info.Serialize(&form, kWithOnline);
    SCA_KvnDeviceInfo again;
    if (!again.Deserialize(&form, kWithOnline) || FormOf(again) != FormOf(info)) {
        __builtin_trap();
    }
}

std::string FormOf(const SCA_KvnRule& rule) {
    SCA_ConfigObj form("Rule", nullptr);
    if (!rule.Serialize(&form)) {
        __builtin_trap();
    }
    return fuzz_service::BytesOf(&form);
}

// A rule as AddRule, SetRule and IsRuleExists take it: read, then looked for in a group's list.
void ReadRule(SCA_ConfigObj* object) {
    SCA_KvnRule rule;
    if (!rule.Deserialize(object)) {
        return;
    }
    SCA_ConfigObj form("Rule", nullptr);
    rule.Serialize(&form);
    SCA_KvnRule again;
    if (!again.Deserialize(&form) || FormOf(again) != FormOf(rule)) {
        __builtin_trap();
    }
    SCA_KvnRuleList rules;
    rules.InitDefaultRules();
    rules.IsRuleExists(&rule);
}

void ReadSettings(SCA_ConfigObj* object, uint32_t mask) {
    SCA_KvnNetConfigUser settings(nullptr);
    if (!settings.Deserialize(nullptr, object, mask)) {
        return;
    }
    SCA_ConfigObj form("Settings", nullptr);
    settings.Serialize(&form);
}

void UpdateStatus(SCA_ConfigObj* object, bool compact) {
    auto device = fuzz_kvn::TheServer().NewDevice();
    uint64_t first = 0;
    uint64_t last = 0;
    uint32_t error = 0;
    const int taken = compact ? device->UpdateStatusEx(object, &error)
                              : device->UpdateStatus(object, &first, &last);
    if (taken) {
        fuzz_kvn::CheckDeviceRoundTrip(device.get());
    }
    device->DeleteReports();
}

// The payload's reader, by the command that carries it.
void ReadPayload(std::string_view command, const tagSCA_NET_VALUE* values, uint32_t i) {
    SCA_ConfigObj* object = values[i].Object;
    if (command == "DeviceLogin") {
        ReadDeviceRecord(object);
    } else if (command == "UpdateDeviceStatus") {
        UpdateStatus(object, false);
    } else if (command == "UpdateDeviceStatusEx") {
        UpdateStatus(object, true);
    } else if (command == "IsRuleExists" || command == "AddRule" || command == "SetRule") {
        ReadRule(object);
    } else if (command == "SetUserConfig") {
        ReadSettings(object, values[i + 1].U32);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SCA_SetErrorCallback(fuzz_service::Quiet, nullptr);
    if (size < 1 || size > fuzz_service::kMaxInput) {
        return 0;
    }
    const uint32_t row = data[0] % SCA_KorvantaNetCommands::Count();
    auto request = fuzz_service::TreeFrom(data + 1, size - 1);
    if (request == nullptr) {
        return 0;
    }
    const tagSCA_NET_COMMAND_SHAPE& command = SCA_KorvantaNetCommands::Shape(row);
    tagSCA_NET_VALUE values[SCA_KVN_NET_MAX_FIELDS];
    if (!SCA_NetCommandFields::ReadInputs(command, request.get(), values)) {
        return 0;
    }
    for (uint32_t i = 0; i < command.FieldCount; ++i) {
        if (!command.Fields[i].Out && command.Fields[i].Kind == SCA_NetKind::Object) {
            ReadPayload(command.Name, values, i);
        }
    }
    return 0;
}
