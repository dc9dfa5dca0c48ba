// SPDX-License-Identifier: MIT
// The network interface: the typed wrappers that read reply objects into records and write
// records into the objects that commands send.
#include <cstdarg>
#include <cstdio>

#include "libkvn/SCA_KorvantaNetInterface.h"
#include "libkvn/SCA_KvnCounter.h"
#include "libkvn/SCA_KvnDeviceIndex.h"
#include "libkvn/SCA_KvnDeviceInfo.h"
#include "libkvn/SCA_KvnDeviceSession.h"
#include "libkvn/SCA_KvnDeviceSessions.h"
#include "libkvn/SCA_KvnReport.h"
#include "libkvn/SCA_KvnReportIndex.h"
#include "libkvn/SCA_KvnReportList.h"
#include "libkvn/SCA_KvnRule.h"
#include "libkvn/SCA_KvnRuleList.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Report.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_DebugLog.h"
#include "model/SCA_SrvMonitorList.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigUser.h"

namespace {

// The step of a wrapper that failed: the command (fetching) or the record's serialisation
// (sending) first, then the other.
enum class Step { Done, First, Second };

// Every part of a user configuration.
constexpr uint32_t kAllParts = SCA_ALL_ONES;

// The wrappers' reports are all level 5.
__attribute__((format(printf, 1, 0))) void ReportV(const char* format, va_list args) {
    char text[512];
    std::vsnprintf(text, sizeof(text), format, args);
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "%s", text);
}

// Reports at level 5 and answers 0, the result of a failed wrapper.
__attribute__((format(printf, 1, 2))) int Fail(const char* format, ...) {
    va_list args;
    va_start(args, format);
    ReportV(format, args);
    va_end(args);
    return 0;
}

// Reports the message of the step that failed and answers the wrapper's result. Both messages
// take the same arguments.
__attribute__((format(printf, 2, 4), format(printf, 3, 4))) int Finish(Step step, const char* first,
                                                                       const char* second, ...) {
    if (step == Step::Done) {
        return 1;
    }
    va_list args;
    va_start(args, second);
    ReportV(step == Step::First ? first : second, args);
    va_end(args);
    return 0;
}

const char* Text(const char* text) {
    return text != nullptr ? text : "";
}

// A fetching wrapper: the command hands out an object, the record is read from it, and the
// object is released either way.
template <typename Command, typename Read>
Step Fetch(Command command, Read read) {
    SCA_ConfigObj* object = nullptr;
    if (!command(&object) || object == nullptr) {
        return Step::First;
    }
    const int done = read(object);
    SCA_Object::Destroy(object);
    return done ? Step::Done : Step::Second;
}

// A sending wrapper: the record goes into a local object of that name, which the command
// carries.
template <typename Write, typename Command>
Step Send(const char* name, Write write, Command command) {
    SCA_ConfigObj object(name, nullptr);
    if (!object.IsConstructed() || !write(&object)) {
        return Step::First;
    }
    return command(&object) ? Step::Done : Step::Second;
}

} // namespace

int SCA_KorvantaNetInterface::GetProductConfig(SCA_TezConfig* config) {
    const Step step =
        Fetch([this](SCA_ConfigObj** object) { return GetProductConfig(object); },
              [config](SCA_ConfigObj* object) { return config->Deserialize(object); });
    return Finish(
        step, "SCA_KorvantaNetInterface::GetProductConfig: cannot get product configuration",
        "SCA_KorvantaNetInterface::GetProductConfig: cannot deserialize product configuration");
}

int SCA_KorvantaNetInterface::SetProductConfig(SCA_TezConfig* config) {
    const Step step = Send(
        "", [config](SCA_ConfigObj* object) { return config->Serialize(object); },
        [this](SCA_ConfigObj* object) { return SetProductConfig(object); });
    return Finish(
        step, "SCA_KorvantaNetInterface::SetProductConfig: cannot serialize product configuration",
        "SCA_KorvantaNetInterface::SetProductConfig: cannot set product configuration");
}

int SCA_KorvantaNetInterface::GetUserConfig(SCA_TezConfig* config, SCA_TezConfigUser* userConfig) {
    const Step step = Fetch(
        [this](SCA_ConfigObj** object) { return GetUserConfig(object); },
        [&](SCA_ConfigObj* object) { return userConfig->Deserialize(config, object, kAllParts); });
    return Finish(step, "SCA_KorvantaNetInterface::GetUserConfig: cannot get user configuration",
                  "SCA_KorvantaNetInterface::GetUserConfig: cannot deserialize user configuration");
}

int SCA_KorvantaNetInterface::SetUserConfig(SCA_TezConfigUser* userConfig, uint32_t flags) {
    const Step step = Send(
        "", [userConfig](SCA_ConfigObj* object) { return userConfig->Serialize(object); },
        [&](SCA_ConfigObj* object) { return SetUserConfig(object, flags); });
    return Finish(step,
                  "SCA_KorvantaNetInterface::SetUserConfig: cannot serialize user configuration",
                  "SCA_KorvantaNetInterface::SetUserConfig: cannot set user configuration");
}

int SCA_KorvantaNetInterface::GetDebugLog(uint32_t lastMessageId, uint32_t count,
                                          uint32_t* logSessionId, SCA_DebugLog* log) {
    const Step step = Fetch(
        [&](SCA_ConfigObj** object) {
            return GetDebugLog(lastMessageId, count, logSessionId, object);
        },
        [log](SCA_ConfigObj* object) { return log->Deserialize(object); });
    return Finish(step, "SCA_KorvantaNetInterface::GetDebugLog: Cannot get server debug log",
                  "SCA_KorvantaNetInterface::GetDebugLog: Cannot deserialize server debug log");
}

int SCA_KorvantaNetInterface::GetDeviceIndex(SCA_KvnDeviceIndex* index, int includeRuntimeInfo) {
    const Step step = Fetch(
        [&](SCA_ConfigObj** object) {
            return GetDeviceIndexObj(object, static_cast<uint32_t>(includeRuntimeInfo));
        },
        [&](SCA_ConfigObj* object) { return index->Deserialize(object, includeRuntimeInfo); });
    return Finish(step, "SCA_KorvantaNetInterface::GetDeviceIndex: Cannot get device index",
                  "SCA_KorvantaNetInterface::GetDeviceIndex: Cannot deserialize device index");
}

int SCA_KorvantaNetInterface::GetDeviceInfo(uint32_t deviceId, int includeRuntimeInfo,
                                            SCA_KvnDeviceInfo* info) {
    const Step step = Fetch(
        [&](SCA_ConfigObj** object) {
            return GetDeviceInfo(deviceId, static_cast<uint32_t>(includeRuntimeInfo), object);
        },
        [&](SCA_ConfigObj* object) { return info->Deserialize(object, includeRuntimeInfo); });
    return Finish(step, "SCA_KorvantaNetInterface::GetDeviceInfo: Cannot get device info - %u",
                  "SCA_KorvantaNetInterface::GetDeviceInfo: Cannot deserialize device info - %u",
                  deviceId);
}

int SCA_KorvantaNetInterface::GetDeviceMonitors(uint32_t deviceId, SCA_SrvMonitorList* monitors) {
    const Step step =
        Fetch([&](SCA_ConfigObj** object) { return GetDeviceMonitors(deviceId, object); },
              [monitors](SCA_ConfigObj* object) { return monitors->Deserialize(object); });
    return Finish(
        step, "SCA_KorvantaNetInterface::GetDeviceMonitors: Cannot get monitors for device - %u",
        "SCA_KorvantaNetInterface::GetDeviceMonitors: Cannot deserialize monitors for device - %u",
        deviceId);
}

int SCA_KorvantaNetInterface::GetDeviceReportIndex(uint32_t deviceId, SCA_KvnReportIndex* index) {
    const Step step =
        Fetch([&](SCA_ConfigObj** object) { return GetDeviceReportIndex(deviceId, object); },
              [index](SCA_ConfigObj* object) { return index->Deserialize(object); });
    return Finish(step,
                  "SCA_KorvantaNetInterface::GetDeviceReportIndex: Cannot get report index for "
                  "device - %u",
                  "SCA_KorvantaNetInterface::GetDeviceReportIndex: Cannot deserialize report "
                  "index for device - %u",
                  deviceId);
}

int SCA_KorvantaNetInterface::GetDeviceReportList(uint32_t deviceId, SCA_KvnReportList* reports) {
    const Step step =
        Fetch([&](SCA_ConfigObj** object) { return GetDeviceReportList(deviceId, object); },
              [reports](SCA_ConfigObj* object) { return reports->Deserialize(object); });
    return Finish(step,
                  "SCA_KorvantaNetInterface::GetDeviceReportList: Cannot get report list for "
                  "device - %u",
                  "SCA_KorvantaNetInterface::GetDeviceReportList: Cannot deserialize report list "
                  "for device - %u",
                  deviceId);
}

int SCA_KorvantaNetInterface::GetDeviceReportCounter(uint32_t deviceId, uint32_t reportId,
                                                     uint32_t counterType,
                                                     SCA_KvnCounter* counter) {
    const Step step = Fetch(
        [&](SCA_ConfigObj** object) {
            return GetDeviceReportCounter(deviceId, reportId, counterType, object);
        },
        [counter](SCA_ConfigObj* object) { return counter->Deserialize(object); });
    return Finish(step,
                  "SCA_KorvantaNetInterface::GetDeviceReportCounter: Cannot get counter %u for "
                  "device - %u",
                  "SCA_KorvantaNetInterface::GetDeviceReportCounter: Cannot deserialize counter "
                  "%u for device - %u",
                  counterType, deviceId);
}

int SCA_KorvantaNetInterface::GetDeviceMonitorCounter(uint32_t deviceId, uint32_t counterType,
                                                      SCA_KvnCounter* counter) {
    const Step step = Fetch(
        [&](SCA_ConfigObj** object) {
            return GetDeviceMonitorCounter(deviceId, counterType, object);
        },
        [counter](SCA_ConfigObj* object) { return counter->Deserialize(object); });
    return Finish(step,
                  "SCA_KorvantaNetInterface::GetDeviceMonitorCounter: Cannot get counter %u for "
                  "device - %u",
                  "SCA_KorvantaNetInterface::GetDeviceMonitorCounter: Cannot deserialize counter "
                  "%u for device - %u",
                  counterType, deviceId);
}

int SCA_KorvantaNetInterface::GetDeviceMonitorReportIndex(uint32_t deviceId, uint32_t maxReports,
                                                          SCA_KvnReportIndex* index) {
    const Step step = Fetch(
        [&](SCA_ConfigObj** object) {
            return GetDeviceMonitorReportIndex(deviceId, maxReports, object);
        },
        [index](SCA_ConfigObj* object) { return index->Deserialize(object); });
    return Finish(step,
                  "SCA_KorvantaNetInterface::GetDeviceMonitorReportIndex: Cannot get monitor "
                  "report index for device - %u",
                  "SCA_KorvantaNetInterface::GetDeviceMonitorReportIndex: Cannot deserialize "
                  "monitor report index for device - %u",
                  deviceId);
}

int SCA_KorvantaNetInterface::GetDeviceMonitorReport(uint32_t deviceId, SCA_KvnReport* report) {
    const Step step =
        Fetch([&](SCA_ConfigObj** object) { return GetDeviceMonitorReport(deviceId, object); },
              [report](SCA_ConfigObj* object) { return report->Deserialize(object); });
    return Finish(step,
                  "SCA_KorvantaNetInterface::GetDeviceMonitorReport: Cannot get device %u "
                  "monitor report",
                  "SCA_KorvantaNetInterface::GetDeviceMonitorReport: Cannot deserialize device "
                  "%u monitor report",
                  deviceId);
}

int SCA_KorvantaNetInterface::GetDeviceSessions(uint32_t deviceId,
                                                SCA_KvnDeviceSessions* sessions) {
    const Step step =
        Fetch([&](SCA_ConfigObj** object) { return GetDeviceSessions(deviceId, object); },
              [sessions](SCA_ConfigObj* object) { return sessions->Deserialize(object); });
    return Finish(
        step, "SCA_KorvantaNetInterface::GetDeviceSessions: Cannot get sessions for device - %u",
        "SCA_KorvantaNetInterface::GetDeviceSessions: Cannot deserialize sessions for device - %u",
        deviceId);
}

int SCA_KorvantaNetInterface::GetDeviceLastSession(uint32_t deviceId,
                                                   SCA_KvnDeviceSession* session) {
    const Step step =
        Fetch([&](SCA_ConfigObj** object) { return GetDeviceLastSession(deviceId, object); },
              [session](SCA_ConfigObj* object) { return session->Deserialize(object); });
    return Finish(step,
                  "SCA_KorvantaNetInterface::GetDeviceLastSession: Cannot get last session for "
                  "device - %u",
                  "SCA_KorvantaNetInterface::GetDeviceLastSession: Cannot deserialize last "
                  "session for device - %u",
                  deviceId);
}

int SCA_KorvantaNetInterface::GetRules(const char* groupName, SCA_KvnRuleList* rules) {
    const Step step = Fetch([&](SCA_ConfigObj** object) { return GetRules(groupName, object); },
                            [rules](SCA_ConfigObj* object) { return rules->Deserialize(object); });
    return Finish(
        step, "SCA_KorvantaNetInterface::GetRules: Cannot get rules for device group - %s",
        "SCA_KorvantaNetInterface::GetRules: Cannot deserialize rules for device group - %s",
        Text(groupName));
}

int SCA_KorvantaNetInterface::IsRuleExists(const char* groupName, SCA_KvnRule* rule,
                                           uint32_t* status) {
    const Step step = Send(
        "Rule", [rule](SCA_ConfigObj* object) { return rule->Serialize(object); },
        [&](SCA_ConfigObj* object) { return IsRuleExists(groupName, object, status); });
    if (step == Step::First) {
        return Fail("SCA_KorvantaNetInterface::IsRuleExists: cannot serialize the rule object");
    }
    return step == Step::Done ? 1
                              : Fail("SCA_KorvantaNetInterface::IsRuleExists: cannot check rule "
                                     "status for device group - %s",
                                     Text(groupName));
}

int SCA_KorvantaNetInterface::AddRule(const char* groupName, SCA_KvnRule* rule, uint32_t* ruleId) {
    const Step step = Send(
        "Rule", [rule](SCA_ConfigObj* object) { return rule->Serialize(object); },
        [&](SCA_ConfigObj* object) { return AddRule(groupName, object, ruleId); });
    if (step == Step::First) {
        return Fail("SCA_KorvantaNetInterface::AddRule: cannot serialize the rule object");
    }
    return step == Step::Done
               ? 1
               : Fail("SCA_KorvantaNetInterface::AddRule: cannot add rule to device group - %s",
                      Text(groupName));
}

int SCA_KorvantaNetInterface::SetRule(const char* groupName, uint32_t ruleId, SCA_KvnRule* rule) {
    const Step step = Send(
        "Rule", [rule](SCA_ConfigObj* object) { return rule->Serialize(object); },
        [&](SCA_ConfigObj* object) { return SetRule(groupName, ruleId, object); });
    if (step == Step::First) {
        return Fail("SCA_KorvantaNetInterface::SetRule: cannot serialize the rule object");
    }
    return step == Step::Done ? 1
                              : Fail("SCA_KorvantaNetInterface::SetRule: cannot set rule %u for "
                                     "device group - %s",
                                     ruleId, Text(groupName));
}
