// SPDX-License-Identifier: MIT
// The client object's status wrappers: the replies the windows poll, read with the codecs that
// the service writes them with.
#include "libmor/SCA_Object.h"
#include "libmor/SCA_String.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_Field.h"
#include "model/SCA_TezCounterList.h"
#include "model/SCA_TezProcessLog.h"

namespace {

// Reads every field of a list object into items with read (field, item); 0 at the first field
// that is not an item.
template <typename Item, typename Read>
int ReadEach(SCA_ConfigObj* object, std::vector<Item>* items, Read read) {
    items->clear();
    if (object == nullptr) {
        return 1;
    }
    for (SCA_Field* field = object->GetHead(); field != nullptr; field = field->GetNext()) {
        Item item{};
        if (!read(field, &item)) {
            return 0;
        }
        items->push_back(item);
    }
    return 1;
}

int ReadSamples(SCA_ConfigObj* object, std::vector<tagSCA_TEZ_SAMPLE>* samples) {
    return ReadEach(object, samples, &SCA_TezReadSampleField);
}

int ReadCounterStates(SCA_ConfigObj* object,
                      std::vector<SCA_KorvantaInterface::CounterState>* counters) {
    return ReadEach(
        object, counters, [](const SCA_Field* field, SCA_KorvantaInterface::CounterState* counter) {
            return SCA_TezReadCounterStatusField(field, &counter->CounterId, &counter->Status);
        });
}

// The rows up to the first that cannot be read; which one that was goes into status.
void ReadProcessRows(SCA_ConfigObj* object, SCA_KorvantaInterface::ProcessListStatus* status) {
    status->Processes.clear();
    status->ListPresent = object != nullptr ? 1 : 0;
    status->RowsRead = 1;
    if (object == nullptr) {
        return;
    }
    status->Processes.reserve(object->GetFieldCount());
    for (SCA_Field* field = object->GetHead(); field != nullptr; field = field->GetNext()) {
        SCA_KorvantaInterface::ProcessRow row;
        if (!SCA_TezReadProcessStatusField(field, row.Name, sizeof(row.Name), &row.Status,
                                           &status->BadToken)) {
            status->RowsRead = 0;
            SCA_StrnCpy(status->BadName, field->GetName() != nullptr ? field->GetName() : "",
                        sizeof(status->BadName));
            return;
        }
        status->Processes.push_back(row);
    }
}

} // namespace

int SCA_KorvantaInterface::GetStatusEx(SCA_KorvantaServerStatus* status,
                                       std::vector<SCA_KorvantaMonitorRow>* rows, int* rowsRead) {
    if (status == nullptr || rows == nullptr || rowsRead == nullptr) {
        return ReportFailure("GetStatusEx", "no record given");
    }
    SCA_ConfigObj* serverStatus = nullptr;
    SCA_ConfigObj* monitorsStatus = nullptr;
    const int called = GetStatusEx(&serverStatus, &monitorsStatus);
    const SCA_OwnedPtr<SCA_ConfigObj> server(serverStatus);
    const SCA_OwnedPtr<SCA_ConfigObj> monitors(monitorsStatus);
    if (!called) {
        return OperationFailed("GetStatusEx");
    }
    status->Read(server.get());
    *rowsRead = SCA_KorvantaMonitorRow::ReadAll(monitors.get(), rows);
    return 1;
}

int SCA_KorvantaInterface::GetMonitorStats(uint32_t monitorId, MonitorStats* stats) {
    if (stats == nullptr) {
        return ReportFailure("GetMonitorStats", "no record given");
    }
    MonitorStats read;
    if (!GetMonitorStats(monitorId, &read.Type, &read.Status, &read.RunState, &read.Counters,
                         &read.Errors, &read.Warnings)) {
        return OperationFailed("GetMonitorStats");
    }
    *stats = read;
    return 1;
}

int SCA_KorvantaInterface::GetMonitorStatusEx(uint32_t monitorId, uint32_t counterId,
                                              uint64_t lastDataTime, uint32_t range,
                                              MonitorStatus* status) {
    if (status == nullptr) {
        return ReportFailure("GetMonitorStatusEx", "no record given");
    }
    SCA_ConfigObj* countersStatus = nullptr;
    SCA_ConfigObj* counterData = nullptr;
    MonitorStatus read;
    const int called = GetMonitorStatusEx(monitorId, &read.Type, &read.Status, &read.RunState,
                                          &read.Errors, &read.Warnings, &read.ProcessTime,
                                          &read.CountersStatusId, &countersStatus, counterId,
                                          lastDataTime, range, &counterData, &read.LastSoundTime);
    const SCA_OwnedPtr<SCA_ConfigObj> counters(countersStatus);
    const SCA_OwnedPtr<SCA_ConfigObj> data(counterData);
    if (!called) {
        return OperationFailed("GetMonitorStatusEx");
    }
    if (!ReadCounterStates(counters.get(), &read.Counters) ||
        !ReadSamples(data.get(), &read.Samples)) {
        return ReportFailure("GetMonitorStatusEx", "cannot read the reply");
    }
    *status = std::move(read);
    return 1;
}

int SCA_KorvantaInterface::GetCounterStatusEx(uint32_t monitorId, uint32_t counterId,
                                              uint64_t since, uint32_t count,
                                              tagSCA_TEZ_COUNTER_STATUS* status,
                                              std::vector<tagSCA_TEZ_SAMPLE>* samples) {
    if (status == nullptr || samples == nullptr) {
        return ReportFailure("GetCounterStatusEx", "no record given");
    }
    SCA_ConfigObj* counterData = nullptr;
    char text[SCA_NET_TEXT_SIZE] = "";
    const int called = GetCounterStatusEx(monitorId, counterId, since, count, &counterData, text);
    const SCA_OwnedPtr<SCA_ConfigObj> data(counterData);
    if (!called) {
        return OperationFailed("GetCounterStatusEx");
    }
    tagSCA_TEZ_COUNTER_STATUS read{};
    std::vector<tagSCA_TEZ_SAMPLE> taken;
    if (!SCA_TezGetCounterStatus(text, &read) || !ReadSamples(data.get(), &taken)) {
        return ReportFailure("GetCounterStatusEx", "cannot read the reply");
    }
    *status = read;
    *samples = std::move(taken);
    return 1;
}

int SCA_KorvantaInterface::GetMonitorProcessListStatusEx(uint32_t monitorId, uint32_t logFromId,
                                                         ProcessListStatus* status,
                                                         SCA_TezProcessLog* log) {
    if (status == nullptr || log == nullptr) {
        return ReportFailure("GetMonitorProcessListStatusEx", "no record given");
    }
    SCA_ConfigObj* listStatus = nullptr;
    SCA_ConfigObj* processLog = nullptr;
    ProcessListStatus read;
    const int called = GetMonitorProcessListStatusEx(
        monitorId, &read.Type, &read.Status, &read.ProcessStatus, &read.StartTime, &read.ListStatus,
        &listStatus, logFromId, &processLog);
    const SCA_OwnedPtr<SCA_ConfigObj> list(listStatus);
    const SCA_OwnedPtr<SCA_ConfigObj> items(processLog);
    if (!called) {
        return OperationFailed("GetMonitorProcessListStatusEx");
    }
    // The caller's rows lend their room: a poll of thousands of rows every second then reads
    // into memory already mapped.
    read.Processes.swap(status->Processes);
    ReadProcessRows(list.get(), &read);
    read.LogRead = items != nullptr && log->Deserialize(items.get()) ? 1 : 0;
    *status = std::move(read);
    return 1;
}

int SCA_KorvantaInterface::GetMonitorProcessCounterList(uint32_t monitorId, uint32_t processId,
                                                        ProcessState* state,
                                                        SCA_TezCounterList* counters) {
    if (state == nullptr || counters == nullptr) {
        return ReportFailure("GetMonitorProcessCounterList", "no record given");
    }
    SCA_ConfigObj* counterList = nullptr;
    ProcessState read;
    const int called = GetMonitorProcessCounterList(
        monitorId, &read.MonitorProcessStatus, processId, &read.Status, &read.RepStatus,
        &read.Errors, &read.Warnings, &read.Instances, &read.StartTime, &counterList);
    const SCA_OwnedPtr<SCA_ConfigObj> list(counterList);
    if (!called) {
        return OperationFailed("GetMonitorProcessCounterList");
    }
    counters->ClearAll();
    if (list != nullptr && !counters->Deserialize(list.get())) {
        return ReportFailure("GetMonitorProcessCounterList", "cannot read the reply");
    }
    *state = read;
    return 1;
}

int SCA_KorvantaInterface::GetMonitorProcessCountersStatusEx(uint32_t monitorId, uint32_t processId,
                                                             uint32_t counterId, uint64_t since,
                                                             uint32_t span,
                                                             ProcessCountersStatus* status) {
    if (status == nullptr) {
        return ReportFailure("GetMonitorProcessCountersStatusEx", "no record given");
    }
    SCA_ConfigObj* countersStatus = nullptr;
    SCA_ConfigObj* counterData = nullptr;
    ProcessCountersStatus read;
    uint64_t unused = 0;
    ProcessState& state = read.State;
    const int called = GetMonitorProcessCountersStatusEx(
        monitorId, &state.MonitorProcessStatus, processId, &state.Status, &state.RepStatus,
        &state.Errors, &state.Warnings, &state.Instances, &countersStatus, counterId, since, span,
        &counterData, &unused);
    const SCA_OwnedPtr<SCA_ConfigObj> counters(countersStatus);
    const SCA_OwnedPtr<SCA_ConfigObj> data(counterData);
    if (!called) {
        return OperationFailed("GetMonitorProcessCountersStatusEx");
    }
    if (!ReadCounterStates(counters.get(), &read.Counters) ||
        !ReadSamples(data.get(), &read.Samples)) {
        return ReportFailure("GetMonitorProcessCountersStatusEx", "cannot read the reply");
    }
    *status = std::move(read);
    return 1;
}

int SCA_KorvantaInterface::GetMonitorProcessExcludeList(uint32_t monitorId,
                                                        std::vector<std::string>* names) {
    if (names == nullptr) {
        return ReportFailure("GetMonitorProcessExcludeList", "no record given");
    }
    SCA_ConfigObj* excludeList = nullptr;
    const int called = GetMonitorProcessExcludeList(monitorId, &excludeList);
    const SCA_OwnedPtr<SCA_ConfigObj> list(excludeList);
    if (!called || list == nullptr) {
        return OperationFailed("GetMonitorProcessExcludeList");
    }
    names->clear();
    for (SCA_Field* field = list->GetHead(); field != nullptr; field = field->GetNext()) {
        if (!field->IsObject() && field->GetName() != nullptr) {
            names->emplace_back(field->GetName());
        }
    }
    return 1;
}

int SCA_KorvantaInterface::SetMonitorProcessExcludeList(uint32_t monitorId,
                                                        const std::vector<std::string>& names) {
    SCA_ConfigObj list("ExcludeList", nullptr);
    for (const std::string& name : names) {
        // A name the list holds already, or one no field can carry, is left out.
        if (!name.empty()) {
            list.AddField(name.c_str(), "", 1);
        }
    }
    return SetMonitorProcessExcludeList(monitorId, &list)
               ? 1
               : OperationFailed("SetMonitorProcessExcludeList");
}
