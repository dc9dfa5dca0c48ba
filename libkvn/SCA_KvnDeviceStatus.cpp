// SPDX-License-Identifier: MIT
// SCA_KvnDevice: status updates, turning the samples a device sends into the statistics of
// the day's report.
//
// Full form (one monitor): fields "MonitorId", "MonitorName", "FirstValueTime",
// "LastValueTime"; sub-object "MonitorData" / "Counters" with one child per counter, named by
// its counter id, holding "TezCounterType", "Units", "FixedMaxValue" and "Data" / "Data",
// whose fields are the samples: name the sample time in seconds, value the number.
//
// Compact form: one child per sample set, named "monitor profile counters time"; each of its
// fields is one value, named "counter type units fixedMax", its value the number. Tokens are
// separated by blanks.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "libkvn/SCA_KvnCounter.h"
#include "libkvn/SCA_KvnDevice.h"
#include "libkvn/SCA_KvnStoredForm.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"

namespace {

// A number as text, in the C locale. Text that is not a finite number is refused.
bool ParseNumber(const char* text, double* value) {
    const char* end = text + std::strlen(text);
    double parsed = 0.0;
    auto [stop, error] = std::from_chars(text, end, parsed);
    if (error != std::errc() || stop == text || !std::isfinite(parsed)) {
        return false;
    }
    *value = parsed;
    return true;
}

uint32_t DayOf(uint64_t time) {
    return static_cast<uint32_t>(time / SCA_KVN_SECONDS_PER_DAY);
}

// The first child object of object, or null.
SCA_ConfigObj* ChildObj(SCA_ConfigObj* object, const char* name) {
    SCA_ConfigObj* child = nullptr;
    return object != nullptr && object->GetField(name, &child) ? child : nullptr;
}

// Reads the tokens of a compact name one after the other.
class TokenReader {
public:
    explicit TokenReader(const char* name) : m_Name(name) {}

    bool Next() { return SCA_GetToken1(m_Name, &m_Position, m_Token, sizeof(m_Token)) != 0; }
    uint32_t Number32() const { return static_cast<uint32_t>(SCA_AtoUint64(m_Token)); }
    uint64_t Number64() const { return SCA_AtoUint64(m_Token); }
    // A fixed maximum that is not a number counts as none (0).
    double Real() const {
        double value = 0.0;
        return ParseNumber(m_Token, &value) ? value : 0.0;
    }

    const char* GetName() const { return m_Name; }

private:
    const char* m_Name;
    uint32_t m_Position = 0;
    char m_Token[SCA_KVN_TEXT_SIZE] = {};
};

// Moves reader to its next token; when there is none, reports what is missing from which
// kind of name, sets the error code and answers false.
bool NeedToken(TokenReader* reader, uint32_t deviceId, const char* what, const char* kind,
               uint32_t* error) {
    if (reader->Next()) {
        return true;
    }
    SCA_GetReportFunction(__FILE__, __LINE__)(
        SCA_LEVEL_ERROR,
        "SCA_KvnDevice::UpdateStatusEx: device %u cannot get %s from the %s name - %s", deviceId,
        what, kind, reader->GetName());
    if (error != nullptr) {
        *error = SCA_KVN_ERROR_BAD_SAMPLE_NAME;
    }
    return false;
}

// The four tokens of a counter value's name.
bool ReadCounterName(SCA_Field* field, uint32_t deviceId, uint32_t* error, uint32_t* id,
                     uint32_t* type, uint32_t* units, double* fixedMax) {
    TokenReader tokens(field->GetName());
    if (!NeedToken(&tokens, deviceId, "counter Id", "counter", error)) {
        return false;
    }
    *id = tokens.Number32();
    if (!NeedToken(&tokens, deviceId, "counter type", "counter", error)) {
        return false;
    }
    *type = tokens.Number32();
    if (!NeedToken(&tokens, deviceId, "counter units", "counter", error)) {
        return false;
    }
    *units = tokens.Number32();
    if (!NeedToken(&tokens, deviceId, "the fixed max value", "counter", error)) {
        return false;
    }
    *fixedMax = tokens.Real();
    return true;
}

} // namespace

int SCA_KvnDevice::SelectDayReport(uint32_t absDay, uint32_t numOfCounters, DayReport* target) {
    if (!GetReportByDay(absDay, &target->Entry, &target->Report) &&
        !AddReport(numOfCounters, absDay, &target->Entry, &target->Report)) {
        target->Entry = nullptr;
        target->Report = nullptr;
        return 0;
    }
    target->Entry->SetSaved(0);
    target->Report->SetSaved(0);
    return 1;
}

int SCA_KvnDevice::FindOrAddCounter(DayReport* target, const CounterProps& props,
                                    SCA_KvnCounter** counter) {
    SCA_KvnCounterList* counters = target->Report->GetCounterList();
    if (counters->GetCounter(props.Id, counter)) {
        return 1;
    }
    if (!counters->AddCounter(props.Id, counter)) {
        return 0;
    }
    (*counter)->SetCounterType(props.Type);
    (*counter)->SetUnits(props.Units);
    (*counter)->SetFixedMaxValue(props.FixedMaxValue);
    return 1;
}

void SCA_KvnDevice::NoteSampleTime(DayReport* target, uint64_t time) {
    for (SCA_KvnReportInfo* header :
         {static_cast<SCA_KvnReportInfo*>(target->Report), target->Entry}) {
        if (header->GetFirstReportTime() == 0) {
            header->SetFirstReportTime(time);
        }
        if (time > header->GetLastReportTime()) {
            header->SetLastReportTime(time);
        }
    }
}

int SCA_KvnDevice::UpdateCounterStatus(SCA_ConfigObj* counterObj, uint32_t numOfCounters,
                                       SCA_ConfigObj* status, DayReport* target) {
    auto say = SCA_GetReportFunction(__FILE__, __LINE__);
    SCA_ConfigObj* samples = ChildObj(ChildObj(counterObj, "Data"), "Data");
    if (samples == nullptr) {
        say(SCA_LEVEL_ERROR, "SCA_KvnDevice::UpdateStatus: cannot get counter data");
        return 0;
    }
    // Each counter says what it is; a field it lacks is 0, never another counter's value.
    CounterProps props;
    props.Id = static_cast<uint32_t>(SCA_AtoUint64(counterObj->GetName()));
    counterObj->GetField("TezCounterType", &props.Type);
    counterObj->GetField("Units", &props.Units);
    counterObj->GetField("FixedMaxValue", &props.FixedMaxValue);

    SCA_KvnCounter* counter = nullptr;
    for (SCA_Field* sample = samples->GetHead(); sample != nullptr; sample = sample->GetNext()) {
        double value = 0.0;
        if (sample->IsObject() || !ParseNumber(sample->GetValue(), &value)) {
            continue;
        }
        const uint64_t time = SCA_AtoUint64(sample->GetName());
        if (target->Report == nullptr || target->Report->GetAbsDay() != DayOf(time)) {
            if (!SelectDayReport(DayOf(time), numOfCounters, target)) {
                char monitorName[SCA_KVN_TEXT_SIZE] = {};
                uint32_t monitorId = 0;
                status->GetField("MonitorName", monitorName, sizeof(monitorName));
                status->GetField("MonitorId", &monitorId);
                say(SCA_LEVEL_ERROR,
                    "SCA_KvnDevice::UpdateStatus: cannot add report for monitor %s(%u)",
                    monitorName, monitorId);
                return 0;
            }
            counter = nullptr;
        }
        if (counter == nullptr && !FindOrAddCounter(target, props, &counter)) {
            say(SCA_LEVEL_ERROR, "SCA_KvnDevice::UpdateStatus: cannot add counter - %u", props.Id);
            return 0;
        }
        if (!counter->AddValue(m_UserConfig, time, value)) {
            say(SCA_LEVEL_ERROR, "SCA_KvnDevice::UpdateStatus: counter %u cannot add value",
                props.Id);
            return 0;
        }
        NoteSampleTime(target, time);
    }
    return 1;
}

int SCA_KvnDevice::UpdateStatus(SCA_ConfigObj* status, uint64_t* firstValueTime,
                                uint64_t* lastValueTime) {
    auto say = SCA_GetReportFunction(__FILE__, __LINE__);
    SCA_ConfigObj* monitorData = ChildObj(status, "MonitorData");
    if (monitorData == nullptr) {
        say(SCA_LEVEL_ERROR,
            "SCA_KvnDevice::UpdateStatus: no monitor data in the device status - %s(%u)",
            GetHostName(), GetDeviceId());
        return 0;
    }
    SCA_ConfigObj* counters = ChildObj(monitorData, "Counters");
    if (counters == nullptr) {
        say(SCA_LEVEL_ERROR,
            "SCA_KvnDevice::UpdateStatus: cannot get counters status from the monitor data");
        return 0;
    }
    uint32_t numOfCounters = 0;
    for (SCA_ConfigObj* child = SCA_FirstChildObj(counters); child != nullptr;
         child = SCA_NextChildObj(child)) {
        ++numOfCounters;
    }
    DayReport target;
    for (SCA_ConfigObj* counterObj = SCA_FirstChildObj(counters); counterObj != nullptr;
         counterObj = SCA_NextChildObj(counterObj)) {
        if (!UpdateCounterStatus(counterObj, numOfCounters, status, &target)) {
            return 0;
        }
    }
    uint64_t first = 0;
    uint64_t last = 0;
    status->GetField("FirstValueTime", &first);
    status->GetField("LastValueTime", &last);
    if (firstValueTime != nullptr) {
        *firstValueTime = first;
    }
    if (lastValueTime != nullptr) {
        *lastValueTime = last;
    }
    return 1;
}

int SCA_KvnDevice::UpdateSampleSet(SCA_ConfigObj* sampleSet, uint32_t* error, DayReport* target) {
    auto say = SCA_GetReportFunction(__FILE__, __LINE__);
    const uint32_t deviceId = GetDeviceId();
    TokenReader tokens(sampleSet->GetName());
    if (!NeedToken(&tokens, deviceId, "monitor Id", "sample", error)) {
        return 0;
    }
    const uint32_t monitorId = tokens.Number32();
    if (!NeedToken(&tokens, deviceId, "profile Id", "sample", error) ||
        !NeedToken(&tokens, deviceId, "number of counters", "sample", error)) {
        return 0;
    }
    const uint32_t numOfCounters = tokens.Number32();
    if (!NeedToken(&tokens, deviceId, "sample time", "sample", error)) {
        return 0;
    }
    const uint64_t time = tokens.Number64();
    if (time == 0) {
        say(SCA_LEVEL_ERROR,
            "SCA_KvnDevice::UpdateStatusEx: device %u invalid sample time is the sample name - %s",
            deviceId, sampleSet->GetName());
        if (error != nullptr) {
            *error = SCA_KVN_ERROR_BAD_SAMPLE_NAME;
        }
        return 0;
    }
    if ((target->Report == nullptr || target->Report->GetAbsDay() != DayOf(time)) &&
        !SelectDayReport(DayOf(time), numOfCounters, target)) {
        say(SCA_LEVEL_ERROR,
            "SCA_KvnDevice::UpdateStatusEx: device %u cannot add report for monitor %u", deviceId,
            monitorId);
        return 0;
    }
    for (SCA_Field* field = sampleSet->GetHead(); field != nullptr; field = field->GetNext()) {
        if (field->IsObject()) {
            continue;
        }
        CounterProps props;
        if (!ReadCounterName(field, deviceId, error, &props.Id, &props.Type, &props.Units,
                             &props.FixedMaxValue)) {
            return 0;
        }
        double value = 0.0;
        if (!ParseNumber(field->GetValue(), &value)) {
            continue;
        }
        SCA_KvnCounter* counter = nullptr;
        if (!FindOrAddCounter(target, props, &counter)) {
            say(SCA_LEVEL_ERROR, "SCA_KvnDevice::UpdateStatusEx: device %u cannot add counter - %u",
                deviceId, props.Id);
            return 0;
        }
        if (!counter->AddValue(m_UserConfig, time, value)) {
            say(SCA_LEVEL_ERROR,
                "SCA_KvnDevice::UpdateStatusEx: device %u counter %u cannot add value", deviceId,
                props.Id);
            return 0;
        }
        NoteSampleTime(target, time);
    }
    return 1;
}

int SCA_KvnDevice::UpdateStatusEx(SCA_ConfigObj* status, uint32_t* error) {
    if (status == nullptr) {
        return 0;
    }
    DayReport target;
    for (SCA_ConfigObj* sampleSet = SCA_FirstChildObj(status); sampleSet != nullptr;
         sampleSet = SCA_NextChildObj(sampleSet)) {
        if (!UpdateSampleSet(sampleSet, error, &target)) {
            return 0;
        }
    }
    return 1;
}
