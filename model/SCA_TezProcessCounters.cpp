// The counters side of a watched process: its properties, counter list and counter status.
#include <cstdio>

#include "libmor/SCA_Time.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezCounterList.h"
#include "model/SCA_TezProcess.h"
#include "model/SCA_TezProcessInfoSource.h"

namespace {

// A counter's line of the counters status.
void FormatStatus(const SCA_TezCounter* counter, char* buf, size_t size) {
    const uint32_t count = counter->GetValueCount();
    std::snprintf(buf, size, "%u %u %u %.17g %.17g %.17g %.17g", counter->GetCounterType(),
                  counter->GetRepStatus(), count, count ? counter->GetLastValue() : 0.0,
                  count ? counter->GetAverageValue() : 0.0, count ? counter->GetMinValue() : 0.0,
                  count ? counter->GetMaxValue() : 0.0);
}

int AddCurrentData(SCA_TezCounterData* data, uint64_t lastPosition, uint32_t spanSeconds,
                   SCA_ConfigObj* second) {
    const uint64_t newest = data != nullptr ? data->GetPosition() : 0;
    if (!second->AddField("LastPosition", newest)) {
        return 0;
    }
    uint64_t newestTime = 0;
    double value = 0.0;
    if (newest == 0 || !data->GetValueAt(newest, &newestTime, &value)) {
        return 1;
    }
    const uint64_t oldest =
        spanSeconds != 0 && newestTime > spanSeconds ? newestTime - spanSeconds : 0;
    char name[32];
    char text[64];
    uint64_t time = 0;
    for (uint64_t position = lastPosition + 1; position <= newest; ++position) {
        if (!data->GetValueAt(position, &time, &value) || time < oldest) {
            continue;
        }
        std::snprintf(name, sizeof(name), "%llu", static_cast<unsigned long long>(position));
        std::snprintf(text, sizeof(text), "%llu %.17g", static_cast<unsigned long long>(time),
                      value);
        if (!second->AddField(name, text)) {
            return 0;
        }
    }
    return 1;
}

} // namespace

int SCA_TezProcess::LoadProcessInfo(SCA_TezProcessInfoSource* source) {
    if (source == nullptr) {
        return 0;
    }
    for (auto* node = m_Pids.GetHead(); node != nullptr; node = node->GetNext()) {
        source->LoadPidInfo(node->GetItem());
    }
    return 1;
}

int SCA_TezProcess::SerializeCounterList(SCA_ConfigObj* object) const {
    SCA_TezCounterList list;
    for (auto* node = m_DataCounters.GetHead(); node != nullptr; node = node->GetNext()) {
        const SCA_TezCounterInfo* from = node->GetItem()->GetCounterInfo();
        uint32_t id = 0;
        SCA_TezCounterInfo* info = nullptr;
        if (!list.AddCounter(from->GetCounterType(), from->GetComputerName(), from->GetInstance(),
                             from->GetNamePrefix(), &id) ||
            !list.GetCounter(id, &info) || !info->SetContent(*from)) {
            return 0;
        }
    }
    // Each record carries the counter id of its status line (SetContent copied it).
    return list.Serialize(object);
}

int SCA_TezProcess::GetCountersStatus(SCA_ConfigObj* object) const {
    if (object == nullptr) {
        return 0;
    }
    char name[16];
    char text[256];
    for (auto* node = m_DataCounters.GetHead(); node != nullptr; node = node->GetNext()) {
        const SCA_TezCounter* counter = node->GetItem();
        std::snprintf(name, sizeof(name), "%u", counter->GetCounterId());
        FormatStatus(counter, text, sizeof(text));
        if (!object->AddField(name, text)) {
            return 0;
        }
    }
    return 1;
}

int SCA_TezProcess::GetCountersStatusEx(SCA_ConfigObj* object, uint32_t counterId,
                                        uint64_t lastPosition, uint32_t spanSeconds,
                                        SCA_ConfigObj* second) const {
    if (!GetCountersStatus(object) || second == nullptr) {
        return 0;
    }
    SCA_TezCounter* counter = nullptr;
    if (!GetCounterById(counterId, &counter)) {
        return second->AddField("LastPosition", uint64_t{0});
    }
    return AddCurrentData(counter->GetCounterData(), lastPosition, spanSeconds, second);
}
