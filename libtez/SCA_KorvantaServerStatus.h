// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

class SCA_ConfigObj;

// The "ServerStatus" object of GetStatusEx: what a client polls every second. The service
// writes it and every client reads it with this one class, so a field cannot be renamed on one
// side only; the protocol reference describes it from the same table.
//
// Every field is a decimal number. A reader takes a missing field, or one that is not a number
// of its kind, as 0: a newer service may add fields, an older one may lack some.
class SCA_KorvantaServerStatus {
public:
    uint32_t ServerStatus = 0;     // 1 while the service serves
    uint32_t MonitorsStatusId = 0; // change counter of the set of monitors
    uint32_t MonitorCount = 0;
    uint32_t ActiveMonitors = 0;
    uint32_t FailedMonitors = 0;
    uint32_t MonitorErrors = 0;
    uint32_t MonitorWarnings = 0;
    uint32_t TotalReports = 0;
    uint32_t LastDebugMessageId = 0;
    uint64_t LastSoundActionTime = 0;

    // Adds every field to object, in table order; 0 when one cannot be added.
    int Write(SCA_ConfigObj* object) const;
    // Fills this record from object (see above); 0, with the record all zero, for null.
    int Read(SCA_ConfigObj* object);
    // The fields as a Markdown table (name, kind, meaning), for the protocol reference.
    static std::string Schema();
};
