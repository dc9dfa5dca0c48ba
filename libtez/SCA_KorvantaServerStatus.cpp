// SPDX-License-Identifier: MIT
#include "libtez/SCA_KorvantaServerStatus.h"

#include "model/SCA_ConfigObj.h"

namespace {

using Status = SCA_KorvantaServerStatus;

// One field of the record: a 32-bit member or a 64-bit one.
struct Field {
    const char* Name;
    uint32_t Status::*Small;
    uint64_t Status::*Large;
    const char* About;
};

constexpr Field kFields[] = {
    {"ServerStatus", &Status::ServerStatus, nullptr, "1 while the service serves"},
    {"MonitorsStatusId", &Status::MonitorsStatusId, nullptr,
     "change counter of the set of monitors: adding, deleting, moving or editing a monitor "
     "raises it; a client rebuilds its list of monitors when it changes"},
    {"MonitorCount", &Status::MonitorCount, nullptr, "monitors defined"},
    {"ActiveMonitors", &Status::ActiveMonitors, nullptr, "monitors running or paused"},
    {"FailedMonitors", &Status::FailedMonitors, nullptr, "monitors whose run failed"},
    {"MonitorErrors", &Status::MonitorErrors, nullptr, "errors counted by all monitors"},
    {"MonitorWarnings", &Status::MonitorWarnings, nullptr, "warnings counted by all monitors"},
    {"TotalReports", &Status::TotalReports, nullptr, "reports kept by the service"},
    {"LastDebugMessageId", &Status::LastDebugMessageId, nullptr,
     "id of the newest message of the service's log (GetDebugLog)"},
    {"LastSoundActionTime", nullptr, &Status::LastSoundActionTime,
     "time of the newest notification sound (GetSoundActions), 0 before the first"},
};

} // namespace

int SCA_KorvantaServerStatus::Write(SCA_ConfigObj* object) const {
    if (object == nullptr) {
        return 0;
    }
    for (const Field& field : kFields) {
        const int added = field.Small != nullptr ? object->AddField(field.Name, this->*field.Small)
                                                 : object->AddField(field.Name, this->*field.Large);
        if (!added) {
            return 0;
        }
    }
    return 1;
}

int SCA_KorvantaServerStatus::Read(SCA_ConfigObj* object) {
    *this = SCA_KorvantaServerStatus();
    if (object == nullptr) {
        return 0;
    }
    for (const Field& field : kFields) {
        if (field.Small != nullptr) {
            object->GetField(field.Name, &(this->*field.Small));
        } else {
            object->GetField(field.Name, &(this->*field.Large));
        }
    }
    return 1;
}

std::string SCA_KorvantaServerStatus::Schema() {
    std::string text = "| field | kind | meaning |\n|---|---|---|\n";
    for (const Field& field : kFields) {
        text += std::string("| ") + field.Name + " | " + (field.Small != nullptr ? "u32" : "u64") +
                " | " + field.About + " |\n";
    }
    return text;
}
