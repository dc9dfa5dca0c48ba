// SPDX-License-Identifier: MIT
#include "model/SCA_PerfMonCounter.h"

#include "model/SCA_TezCounterMeta.h"

namespace {

constexpr const char* kInvalid = "INV";

// The vocabulary is the part of the counter table flagged as such; other entries (the
// monitoring core's own types) have neither name nor vocabulary description.
const tagSCA_TEZ_COUNTER_META* VocabularyEntry(uint32_t type) {
    const tagSCA_TEZ_COUNTER_META* meta = SCA_TezGetCounterMeta(type);
    return meta != nullptr && (meta->Flags & SCA_TEZ_COUNTER_VOCABULARY) != 0 ? meta : nullptr;
}

} // namespace

const char* SCA_PerfMonCounter::GetTypeName(uint32_t type) {
    const tagSCA_TEZ_COUNTER_META* meta = VocabularyEntry(type);
    return meta != nullptr && meta->Name != nullptr ? meta->Name : kInvalid;
}

const char* SCA_PerfMonCounter::GetTypeDescription(uint32_t type) {
    const tagSCA_TEZ_COUNTER_META* meta = VocabularyEntry(type);
    return meta != nullptr ? meta->Description : kInvalid;
}

int SCA_PerfMonCounter::IsCpuUsageCounter(uint32_t type) {
    const tagSCA_TEZ_COUNTER_META* meta = SCA_TezGetCounterMeta(type);
    return meta != nullptr && (meta->Flags & SCA_TEZ_COUNTER_CPU_USAGE) != 0 ? 1 : 0;
}
