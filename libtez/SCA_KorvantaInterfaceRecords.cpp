// SPDX-License-Identifier: MIT
// The client object: the typed wrappers that read reply objects into records and write records
// into the objects that operations send.
#include <cstring>
#include <string>

#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Report.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_DebugLog.h"
#include "model/SCA_ExeModuleList.h"
#include "model/SCA_SoundActions.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezCounterInfo.h"
#include "model/SCA_TezErrorList.h"
#include "model/SCA_TezProcess.h"
#include "model/SCA_TezProcessList.h"
#include "model/SCA_TezProcessLog.h"
#include "model/SCA_TezProcessRules.h"
#include "model/SCA_TezProfile.h"
#include "model/SCA_TezReport.h"
#include "model/SCA_TezReportIndex.h"

namespace {

// Every part of a user configuration.
constexpr uint32_t kAllParts = SCA_ALL_ONES;
// A refusal's reason is among the messages logged since the caller last read the log, which
// the service keeps 500 of.
constexpr uint32_t kRefusalSearch = 500;

// Calls an operation that hands out an object, reads the object into a record and releases
// it. The operation's failure and a reply the record cannot read are reported as the
// wrapper's; an absent record fails before anything is sent.
template <typename Call, typename Read>
int Fetch(const SCA_KorvantaInterface& client, const char* wrapper, bool usable, Call call,
          Read read) {
    SCA_OwnedPtr<SCA_ConfigObj> object;
    if (!usable) {
        return SCA_KorvantaInterface::ReportFailure(wrapper, "no record given");
    }
    SCA_ConfigObj* raw = nullptr;
    const int called = call(&raw);
    object.reset(raw);
    if (!called || object == nullptr) {
        return client.OperationFailed(wrapper);
    }
    return read(object.get())
               ? 1
               : SCA_KorvantaInterface::ReportFailure(wrapper, "cannot read the reply");
}

// Serialises a record into an object named root and sends it with send.
template <typename Write, typename Send>
int SendRecord(const SCA_KorvantaInterface& client, const char* wrapper, const char* root,
               Write write, Send send) {
    SCA_ConfigObj object(root, nullptr);
    if (!write(&object)) {
        return SCA_KorvantaInterface::ReportFailure(wrapper, "cannot serialize the record");
    }
    return send(&object) ? 1 : client.OperationFailed(wrapper);
}

// The items of an inventory reply become the caller's list's, in order.
int MoveItems(SCA_ConfigObj* from, SCA_ConfigObj* to) {
    if (to == nullptr) {
        return 0;
    }
    to->Clear();
    for (SCA_Field* item = from->GetHead(); item != nullptr; item = from->GetHead()) {
        from->RemoveField(item->GetName());
        if (!to->AddField(item)) {
            SCA_Object::Destroy(item);
            return 0;
        }
    }
    return 1;
}

} // namespace

int SCA_KorvantaInterface::GetProductConfig(SCA_TezConfig* config) {
    return Fetch(
        *this, "GetProductConfig", config != nullptr,
        [&](SCA_ConfigObj** object) { return GetProductConfig(object); },
        [&](SCA_ConfigObj* reply) { return config->Deserialize(reply); });
}

int SCA_KorvantaInterface::GetUserConfig(SCA_TezConfig* config, SCA_TezConfigUser* userConfig) {
    return Fetch(
        *this, "GetUserConfig", userConfig != nullptr,
        [&](SCA_ConfigObj** object) { return GetUserConfig(object); },
        [&](SCA_ConfigObj* reply) { return userConfig->Deserialize(config, reply, kAllParts); });
}

int SCA_KorvantaInterface::SetUserConfig(SCA_TezConfigUser* userConfig, uint32_t mask) {
    return SendRecord(
        *this, "SetUserConfig", "UserConfig",
        [&](SCA_ConfigObj* object) {
            return userConfig != nullptr && userConfig->Serialize(object);
        },
        [&](SCA_ConfigObj* object) { return SetUserConfig(object, mask); });
}

int SCA_KorvantaInterface::GetProcessMonitorRules(SCA_TezProcessRules* rules) {
    return Fetch(
        *this, "GetProcessMonitorRules", rules != nullptr,
        [&](SCA_ConfigObj** object) { return GetProcessMonitorRules(object); },
        [&](SCA_ConfigObj* reply) { return rules->Deserialize(reply); });
}

int SCA_KorvantaInterface::SetProcessMonitorRules(SCA_TezProcessRules* rules) {
    return SendRecord(
        *this, "SetProcessMonitorRules", "Rules",
        [&](SCA_ConfigObj* object) { return rules != nullptr && rules->Serialize(object); },
        [&](SCA_ConfigObj* object) { return SetProcessMonitorRules(object); });
}

int SCA_KorvantaInterface::GetDebugLog(uint32_t lastMessageId, uint32_t count,
                                       uint32_t* logSessionId, SCA_DebugLog* log) {
    return Fetch(
        *this, "GetDebugLog", log != nullptr,
        [&](SCA_ConfigObj** object) {
            return GetDebugLog(lastMessageId, count, logSessionId, object);
        },
        [&](SCA_ConfigObj* reply) { return log->Deserialize(reply); });
}

int SCA_KorvantaInterface::GetRefusalReason(uint32_t sinceId, const char* operation,
                                            std::string* reason) {
    if (operation == nullptr || reason == nullptr) {
        return ReportFailure("GetRefusalReason", "no record given");
    }
    reason->clear();
    SCA_DebugLog log(kRefusalSearch);
    uint32_t session = 0;
    if (!GetDebugLog(sinceId, kRefusalSearch, &session, &log)) {
        return 0;
    }
    const std::string named = std::string("::") + operation + ": ";
    for (uint32_t position = log.GetMessageCount(); position > 0; --position) {
        tagSCA_ERROR_DESCR* message = nullptr;
        if (!log.GetMessageByPos(position - 1, &message) || message->Level != SCA_LEVEL_ERROR) {
            continue;
        }
        const char* at = std::strstr(message->Text, named.c_str());
        if (at != nullptr) {
            reason->assign(at + named.size());
            return 1;
        }
    }
    return 1;
}

int SCA_KorvantaInterface::GetSoundActions(uint64_t since, uint64_t* lastActionTime,
                                           SCA_SoundActions* actions) {
    return Fetch(
        *this, "GetSoundActions", actions != nullptr,
        [&](SCA_ConfigObj** object) { return GetSoundActions(since, lastActionTime, object); },
        [&](SCA_ConfigObj* reply) { return actions->Deserialize(reply); });
}

int SCA_KorvantaInterface::GetMonitor(uint32_t monitorId, SCA_SrvMonitor* monitor) {
    return Fetch(
        *this, "GetMonitor", monitor != nullptr,
        [&](SCA_ConfigObj** object) { return GetMonitorObj(monitorId, object); },
        [&](SCA_ConfigObj* reply) { return monitor->Deserialize(reply); });
}

int SCA_KorvantaInterface::SetMonitor(uint32_t monitorId, SCA_SrvMonitor* monitor) {
    return SendRecord(
        *this, "SetMonitor", "Monitor",
        [&](SCA_ConfigObj* object) { return monitor != nullptr && monitor->Serialize(object); },
        [&](SCA_ConfigObj* object) { return SetMonitorObj(monitorId, object); });
}

int SCA_KorvantaInterface::IsMonitorExists(SCA_SrvMonitor* monitor, uint32_t* monitorId,
                                           uint32_t* exists) {
    return SendRecord(
        *this, "IsMonitorExists", "Monitor",
        [&](SCA_ConfigObj* object) { return monitor != nullptr && monitor->Serialize(object); },
        [&](SCA_ConfigObj* object) { return IsMonitorExists(object, monitorId, exists); });
}

int SCA_KorvantaInterface::GetMonitorProfile(uint32_t monitorId, uint32_t* type,
                                             uint32_t* countersStatusId, SCA_TezProfile* profile) {
    return Fetch(
        *this, "GetMonitorProfile", profile != nullptr,
        [&](SCA_ConfigObj** object) {
            return GetMonitorProfile(monitorId, type, countersStatusId, object);
        },
        [&](SCA_ConfigObj* reply) { return profile->Deserialize(reply); });
}

int SCA_KorvantaInterface::GetMonitorErrors(uint32_t monitorId, SCA_TezErrorList* errors) {
    return Fetch(
        *this, "GetMonitorErrors", errors != nullptr,
        [&](SCA_ConfigObj** object) { return GetMonitorErrors(monitorId, object); },
        [&](SCA_ConfigObj* reply) { return errors->Deserialize(reply); });
}

int SCA_KorvantaInterface::GetMonitorReport(uint32_t monitorId, SCA_TezReport* report) {
    return Fetch(
        *this, "GetMonitorReport", report != nullptr,
        [&](SCA_ConfigObj** object) { return GetMonitorReport(monitorId, object); },
        [&](SCA_ConfigObj* reply) { return report->Deserialize(reply); });
}

int SCA_KorvantaInterface::GetCounterInfo(uint32_t monitorId, uint32_t counterId,
                                          SCA_TezCounterInfo* info) {
    return Fetch(
        *this, "GetCounterInfo", info != nullptr,
        [&](SCA_ConfigObj** object) { return GetCounterInfo(monitorId, counterId, object); },
        [&](SCA_ConfigObj* reply) { return info->Deserialize(reply); });
}

int SCA_KorvantaInterface::SetCounterInfo(uint32_t monitorId, uint32_t counterId,
                                          SCA_TezCounterInfo* info) {
    return SendRecord(
        *this, "SetCounterInfo", "CounterInfo",
        [&](SCA_ConfigObj* object) { return info != nullptr && info->Serialize(object); },
        [&](SCA_ConfigObj* object) { return SetCounterInfo(monitorId, counterId, object); });
}

int SCA_KorvantaInterface::GetMonitorProcessList(uint32_t monitorId, uint32_t details,
                                                 SCA_TezProcessList* list) {
    return Fetch(
        *this, "GetMonitorProcessList", list != nullptr,
        [&](SCA_ConfigObj** object) { return GetMonitorProcessList(monitorId, details, object); },
        [&](SCA_ConfigObj* reply) { return list->Deserialize(reply); });
}

int SCA_KorvantaInterface::GetMonitorProcessLog(uint32_t monitorId, SCA_TezProcessLog* log) {
    return Fetch(
        *this, "GetMonitorProcessLog", log != nullptr,
        [&](SCA_ConfigObj** object) { return GetMonitorProcessLog(monitorId, object); },
        [&](SCA_ConfigObj* reply) { return log->Deserialize(reply); });
}

int SCA_KorvantaInterface::GetMonitorProcess(uint32_t monitorId, uint32_t processId,
                                             uint32_t loadInfo, SCA_TezProcess* process) {
    return Fetch(
        *this, "GetMonitorProcess", process != nullptr,
        [&](SCA_ConfigObj** object) {
            return GetMonitorProcess(monitorId, processId, loadInfo, object);
        },
        [&](SCA_ConfigObj* reply) { return process->Deserialize(reply); });
}

int SCA_KorvantaInterface::GetMonitorProcessModules(uint32_t monitorId, uint32_t processId,
                                                    uint32_t option, char* processName,
                                                    SCA_ExeModuleList* modules,
                                                    uint32_t* errorCode) {
    uint32_t ok = 0;
    uint32_t error = 0;
    const int done = Fetch(
        *this, "GetMonitorProcessModules", modules != nullptr,
        [&](SCA_ConfigObj** object) {
            return GetMonitorProcessModules(monitorId, processId, option, processName, object, &ok,
                                            &error);
        },
        // The service answers modules it cannot read with an empty object and ok 0.
        [&](SCA_ConfigObj* reply) { return ok != 0 && modules->Deserialize(reply); });
    if (errorCode != nullptr) {
        *errorCode = done ? 0 : error;
    }
    return done;
}

int SCA_KorvantaInterface::GetReportIndex(SCA_TezReportIndex* index) {
    return Fetch(
        *this, "GetReportIndex", index != nullptr,
        [&](SCA_ConfigObj** object) { return GetReportIndexObj(object); },
        [&](SCA_ConfigObj* reply) { return index->Deserialize(reply); });
}

int SCA_KorvantaInterface::GetReport(uint32_t reportId, SCA_TezReport* report) {
    return Fetch(
        *this, "GetReport", report != nullptr,
        [&](SCA_ConfigObj** object) { return GetReportObj(reportId, object); },
        [&](SCA_ConfigObj* reply) { return report->Deserialize(reply); });
}

int SCA_KorvantaInterface::IsReportExists(const SCA_TezReportInfo& info, uint32_t* exists) {
    return SendRecord(
        *this, "IsReportExists", "ReportInfo",
        [&](SCA_ConfigObj* object) { return info.SCA_TezReportInfo::Serialize(object); },
        [&](SCA_ConfigObj* object) { return IsReportExists(object, exists); });
}

int SCA_KorvantaInterface::AddReport(SCA_TezReport* report, uint32_t* reportId) {
    return SendRecord(
        *this, "AddReport", SCA_TEZ_REPORT_ROOT,
        [&](SCA_ConfigObj* object) { return report != nullptr && report->Serialize(object); },
        [&](SCA_ConfigObj* object) { return AddReportObj(object, reportId); });
}

int SCA_KorvantaInterface::ReportFailure(const char* wrapper, const char* what) {
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "SCA_KorvantaInterface::%s: %s",
                                              wrapper, what);
    return 0;
}

int SCA_KorvantaInterface::OperationFailed(const char* wrapper) const {
    return LostConnection() ? 0 : ReportFailure(wrapper, "the operation failed");
}

// --- inventories -------------------------------------------------------------------------------

int SCA_KorvantaInterface::GetCpuList(const char* computer, SCA_ConfigObj* list, uint32_t* status) {
    return Fetch(
        *this, "GetCpuList", list != nullptr,
        [&](SCA_ConfigObj** object) { return PerfMonitorGetCpuList(computer, object, status); },
        [&](SCA_ConfigObj* reply) { return MoveItems(reply, list); });
}

int SCA_KorvantaInterface::GetCpuListEx(const char* computer, SCA_ConfigObj* list,
                                        uint32_t* status) {
    return Fetch(
        *this, "GetCpuListEx", list != nullptr,
        [&](SCA_ConfigObj** object) { return PerfMonitorGetCpuListEx(computer, object, status); },
        [&](SCA_ConfigObj* reply) { return MoveItems(reply, list); });
}

int SCA_KorvantaInterface::GetUsbDevList(const char* computer, SCA_ConfigObj* list,
                                         uint32_t* status) {
    return Fetch(
        *this, "GetUsbDevList", list != nullptr,
        [&](SCA_ConfigObj** object) { return PerfMonitorGetUsbDevList(computer, object, status); },
        [&](SCA_ConfigObj* reply) { return MoveItems(reply, list); });
}

int SCA_KorvantaInterface::GetNicList(const char* computer, SCA_ConfigObj* list, uint32_t* status) {
    return Fetch(
        *this, "GetNicList", list != nullptr,
        [&](SCA_ConfigObj** object) { return PerfMonitorGetNicList(computer, object, status); },
        [&](SCA_ConfigObj* reply) { return MoveItems(reply, list); });
}

int SCA_KorvantaInterface::GetDiskList(const char* computer, SCA_ConfigObj* list,
                                       uint32_t* status) {
    return Fetch(
        *this, "GetDiskList", list != nullptr,
        [&](SCA_ConfigObj** object) { return PerfMonitorGetDiskList(computer, object, status); },
        [&](SCA_ConfigObj* reply) { return MoveItems(reply, list); });
}

int SCA_KorvantaInterface::GetPDiskList(const char* computer, SCA_ConfigObj* list,
                                        uint32_t* status) {
    return Fetch(
        *this, "GetPDiskList", list != nullptr,
        [&](SCA_ConfigObj** object) { return PerfMonitorGetPDiskList(computer, object, status); },
        [&](SCA_ConfigObj* reply) { return MoveItems(reply, list); });
}

int SCA_KorvantaInterface::GetProcessList(const char* computer, SCA_ConfigObj* filter,
                                          SCA_ConfigObj* list, uint32_t* status) {
    return Fetch(
        *this, "GetProcessList", list != nullptr,
        [&](SCA_ConfigObj** object) {
            return PerfMonitorGetProcessList(computer, filter, object, status);
        },
        [&](SCA_ConfigObj* reply) { return MoveItems(reply, list); });
}

int SCA_KorvantaInterface::GetSmbShareList(const char* computer, uint32_t kind,
                                           SCA_ConfigObj* filter, SCA_ConfigObj* list,
                                           uint32_t* status) {
    return Fetch(
        *this, "GetSmbShareList", list != nullptr,
        [&](SCA_ConfigObj** object) {
            return PerfMonitorGetSmbShareList(computer, kind, filter, object, status);
        },
        [&](SCA_ConfigObj* reply) { return MoveItems(reply, list); });
}

int SCA_KorvantaInterface::GetSqlInstances(const char* computer, SCA_ConfigObj* list,
                                           uint32_t* status) {
    return Fetch(
        *this, "GetSqlInstances", list != nullptr,
        [&](SCA_ConfigObj** object) {
            return PerfMonitorGetSqlInstances(computer, object, status);
        },
        [&](SCA_ConfigObj* reply) { return MoveItems(reply, list); });
}

int SCA_KorvantaInterface::GetSqlDatabases(const char* computer, const char* instance,
                                           SCA_ConfigObj* filter, SCA_ConfigObj* list,
                                           uint32_t* status) {
    return Fetch(
        *this, "GetSqlDatabases", list != nullptr,
        [&](SCA_ConfigObj** object) {
            return PerfMonitorGetSqlDatabases(computer, instance, filter, object, status);
        },
        [&](SCA_ConfigObj* reply) { return MoveItems(reply, list); });
}

int SCA_KorvantaInterface::GetWebSiteList(const char* computer, SCA_ConfigObj* filter,
                                          SCA_ConfigObj* list, uint32_t* status) {
    return Fetch(
        *this, "GetWebSiteList", list != nullptr,
        [&](SCA_ConfigObj** object) {
            return PerfMonitorGetWebSiteList(computer, filter, object, status);
        },
        [&](SCA_ConfigObj* reply) { return MoveItems(reply, list); });
}

int SCA_KorvantaInterface::GetISCSITargets(const char* computer, SCA_ConfigObj* filter,
                                           SCA_ConfigObj* list, uint32_t* status) {
    return Fetch(
        *this, "GetISCSITargets", list != nullptr,
        [&](SCA_ConfigObj** object) {
            return PerfMonitorGetISCSITargets(computer, filter, object, status);
        },
        [&](SCA_ConfigObj* reply) { return MoveItems(reply, list); });
}

int SCA_KorvantaInterface::GetPrinters(const char* computer, SCA_ConfigObj* list,
                                       uint32_t* status) {
    return Fetch(
        *this, "GetPrinters", list != nullptr,
        [&](SCA_ConfigObj** object) { return PerfMonitorGetPrinters(computer, object, status); },
        [&](SCA_ConfigObj* reply) { return MoveItems(reply, list); });
}
