// The client object's status wrappers: the replies the windows poll, read with the codecs that
// the service writes them with.
#include "libmor/SCA_Object.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_Field.h"
#include "model/SCA_TezProcessLog.h"

namespace {

// Reads every field of a list object into items with read (field, item); 0 at the first field
// that is not an item.
template <typename Item, typename Read>
int ReadEach(SCA_ConfigObj* object, std::vector<Item>* items, Read read) {
    items->clear();
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

int ReadProcessRows(SCA_ConfigObj* object,
                    std::vector<SCA_KorvantaInterface::ProcessRow>* processes) {
    return ReadEach(
        object, processes, [](const SCA_Field* field, SCA_KorvantaInterface::ProcessRow* row) {
            return SCA_TezReadProcessStatusField(field, row->Name, sizeof(row->Name), &row->Status);
        });
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
    if (!ReadProcessRows(list.get(), &read.Processes) || !log->Deserialize(items.get())) {
        return ReportFailure("GetMonitorProcessListStatusEx", "cannot read the reply");
    }
    *status = std::move(read);
    return 1;
}
