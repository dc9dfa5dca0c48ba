// SPDX-License-Identifier: MIT
#include "model/SCA_TezProcessList.h"

#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezRecordFields.h"

namespace {

// Each record with the list node that holds it.
template <typename T>
constexpr uint64_t kRecordSize = sizeof(T) + sizeof(SCA_ListItem<T*>);

uint64_t PidMemory(SCA_TezProcessPids* pids) {
    uint64_t bytes = 0;
    for (auto* node = pids->GetHead(); node != nullptr; node = node->GetNext()) {
        bytes += kRecordSize<SCA_TezProcessPid> +
                 node->GetItem()->GetCounters()->Count() * kRecordSize<tagSCA_TEZ_PROCESS_COUNTER>;
    }
    return bytes;
}

uint64_t ProcessMemory(SCA_TezProcess* process) {
    return kRecordSize<SCA_TezProcess> + PidMemory(process->GetPids()) +
           process->GetInstanceList()->Count() * kRecordSize<SCA_TezProcessInst> +
           process->GetDataCounters()->Count() * kRecordSize<SCA_TezCounter>;
}

} // namespace

void SCA_TezProcessList::SetReportTitle(const char* title) {
    SCA_StrnCpy(m_ReportTitle, title, sizeof(m_ReportTitle));
}

int SCA_TezProcessList::AddProcess(SCA_TezProcess* process) {
    return process != nullptr &&
                   AddItemToTail(process, process->GetProcessName(), process->GetProcessId())
               ? 1
               : 0;
}

uint32_t SCA_TezProcessList::GetNumOfCounters() const {
    uint32_t count = 0;
    for (Item* node = GetHead(); node != nullptr; node = node->GetNext()) {
        count += node->GetItem()->GetDataCounters()->Count();
    }
    return count;
}

uint64_t SCA_TezProcessList::CalcMemoryUsage() const {
    uint64_t bytes = sizeof(*this);
    for (Item* node = GetHead(); node != nullptr; node = node->GetNext()) {
        bytes += ProcessMemory(node->GetItem());
    }
    return bytes;
}

int SCA_TezProcessList::Serialize(SCA_ConfigObj* object, uint32_t details) const {
    if (object == nullptr || !object->AddField("AbsStartTime", m_AbsStartTime) ||
        !object->AddField("LastUpdateTime", m_LastUpdateTime) ||
        !SCA_AddTextField(object, "ReportTitle", m_ReportTitle)) {
        return 0;
    }
    return SerializeRecords(object, [details](const SCA_TezProcess* process, SCA_ConfigObj* child) {
        return process->Serialize(child, details);
    });
}

int SCA_TezProcessList::Deserialize(SCA_ConfigObj* object) {
    if (!DeserializeRecords(object,
                            [this](SCA_TezProcess* process) { return AddProcess(process); })) {
        return 0;
    }
    object->GetField("AbsStartTime", &m_AbsStartTime);
    object->GetField("LastUpdateTime", &m_LastUpdateTime);
    object->GetField("ReportTitle", m_ReportTitle, sizeof(m_ReportTitle));
    return 1;
}
