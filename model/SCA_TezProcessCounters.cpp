// SPDX-License-Identifier: MIT
// The counters side of a watched process: its properties, counter list and counter status.
#include <cstdio>

#include "libmor/SCA_Time.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezCounterList.h"
#include "model/SCA_TezCounterStatus.h"
#include "model/SCA_TezProcess.h"
#include "model/SCA_TezProcessInfoSource.h"
#include "model/SCA_TezSampleStore.h"

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
    for (auto* node = m_DataCounters.GetHead(); node != nullptr; node = node->GetNext()) {
        const SCA_TezCounter* counter = node->GetItem();
        tagSCA_TEZ_COUNTER_STATUS status{};
        SCA_TezFillCounterStatus(*counter, &status);
        if (!SCA_TezAddCounterStatusField(object, counter->GetCounterId(), status)) {
            return 0;
        }
    }
    return 1;
}

int SCA_TezProcess::GetCountersStatusEx(SCA_ConfigObj* object, uint32_t counterId, uint64_t since,
                                        uint32_t count, SCA_ConfigObj* second) const {
    if (!GetCountersStatus(object) || second == nullptr) {
        return 0;
    }
    SCA_TezCounter* counter = nullptr;
    if (!GetCounterById(counterId, &counter)) {
        return 1;
    }
    const auto* store = dynamic_cast<const SCA_TezSampleStore*>(counter->GetCounterData());
    return store == nullptr || store->WriteSamples(since, count, second);
}
