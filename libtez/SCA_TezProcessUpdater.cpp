// SPDX-License-Identifier: MIT
#include "libtez/SCA_TezProcessUpdater.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "libmor/SCA_Time.h"
#include "libtez/SCA_TezProcessStatusText.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezProcessList.h"
#include "model/SCA_TezProcessLog.h"
#include "model/SCA_TezProcessStatus.h"
#include "model/SCA_TezSampleStore.h"

namespace {

struct CleanName {
    explicit CleanName(const char* raw) { SCA_TezCleanProcessName(raw, Text, sizeof(Text)); }
    char Text[256];
};

// The name of a process's owner; empty when its folder could not be examined.
const char* UserOf(SCA_ProcScanner* scanner, const tagSCA_PROC_ENTRY& entry) {
    return entry.Sample.Uid ? scanner->GetReader()->GetUserName(*entry.Sample.Uid) : "";
}

// Memory, threads and handles come from one reading; the other slots are shares and rates.
bool IsGauge(uint32_t slot) {
    return slot == SCA_PROC_MEMORY || slot == SCA_PROC_THREADS || slot == SCA_PROC_HANDLES;
}

bool IsExcluded(SCA_ConfigObj* excludeList, const char* name) {
    return excludeList != nullptr && excludeList->IsFieldExists(name);
}

// The running statistics of one measure of one pid.
void AddStatistic(SCA_TezProcessPid* pid, uint32_t counterType, double value) {
    tagSCA_TEZ_PROCESS_COUNTER* counter = nullptr;
    if (!pid->GetCounter(counterType, &counter)) {
        pid->SetCounter({counterType, 1, value, value, value, value});
        return;
    }
    ++counter->ValueCount;
    counter->LastValue = value;
    counter->MinValue = value < counter->MinValue ? value : counter->MinValue;
    counter->MaxValue = value > counter->MaxValue ? value : counter->MaxValue;
    counter->AverageValue += (value - counter->AverageValue) / counter->ValueCount;
}

int AddDataCounters(SCA_TezProcess* process) {
    for (uint32_t slot = 0; slot < SCA_PROC_COUNTERS; ++slot) {
        auto* counter = new (std::nothrow) SCA_TezCounter();
        auto* data = new (std::nothrow) SCA_TezSampleStore();
        if (counter == nullptr || data == nullptr) {
            delete counter;
            delete data;
            return 0;
        }
        // Counter ids from 1, in the order of the rule types.
        counter->SetCounterId(slot + 1);
        counter->SetCounterType(SCA_TEZ_PROC_COUNTER_TYPES[slot]);
        counter->SetInstance(process->GetProcessName());
        counter->GetCounterInfo()->SetCounterId(slot + 1);
        counter->GetCounterInfo()->SetCounterType(SCA_TEZ_PROC_COUNTER_TYPES[slot]);
        counter->GetCounterInfo()->SetInstance(process->GetProcessName());
        counter->SetCounterData(data);
        if (!process->AddDataCounter(counter)) {
            counter->Destroy();
            return 0;
        }
    }
    return 1;
}

} // namespace

int SCA_TezProcessUpdater::Apply(SCA_ProcScanner* scanner, uint64_t absTime,
                                 SCA_ConfigObj* excludeList, uint32_t logLength) {
    m_Now = absTime;
    m_Changed = false;
    m_Sums.clear();
    m_Unknown.clear();
    m_Removed.clear();
    // Ends first: a pid taken again under the same name leaves before it comes back.
    for (const tagSCA_PROC_ENTRY& entry : scanner->GetEnded()) {
        Ended(scanner, entry, excludeList);
    }
    for (const tagSCA_PROC_ENTRY& entry : scanner->GetCurrent()) {
        Live(scanner, entry, excludeList);
    }
    for (const auto& [processId, unknown] : m_Unknown) {
        m_Sums[processId].Valid &= ~unknown;
    }
    for (auto* node = m_List->GetHead(); node != nullptr; node = node->GetNext()) {
        const auto sums = m_Sums.find(node->GetItem()->GetProcessId());
        if (sums != m_Sums.end()) {
            UpdateCounters(node->GetItem(), sums->second);
        }
    }
    TrimLog(logLength);
    m_List->SetLastUpdateTime(absTime);
    m_Log->SetLastUpdateTime(absTime);
    return m_Changed ? 1 : 0;
}

const tagSCA_TEZ_PROC_VALUES* SCA_TezProcessUpdater::GetSums(uint32_t processId) const {
    const auto found = m_Sums.find(processId);
    return found != m_Sums.end() ? &found->second : nullptr;
}

void SCA_TezProcessUpdater::Ended(SCA_ProcScanner* scanner, const tagSCA_PROC_ENTRY& entry,
                                  SCA_ConfigObj* excludeList) {
    const CleanName name(entry.Sample.Stat.Name.c_str());
    const uint32_t processId = entry.Sample.Stat.Pid;
    SCA_TezProcess* process = nullptr;
    SCA_TezProcessPid* pid = nullptr;
    if (IsExcluded(excludeList, name.Text) || !m_List->GetProcess(name.Text, &process) ||
        !process->GetPids()->GetPid(processId, &pid)) {
        return;
    }
    const uint64_t first = pid->GetFirstUpdateTime();
    const uint64_t now = m_Now / SCA_ABS_TIME_SECOND;
    Log(SCA_PROCESS_LOG_END, entry, name.Text, UserOf(scanner, entry),
        now > first ? now - first : 0);
    m_Log->OnProcessStop(m_Now, process, pid);
    m_Records.erase(processId);
    process->GetInstanceList()->DestroyItem(processId);
    process->GetPids()->DestroyItem(processId);
    if (process->GetPids()->GetPidCount() == 0) {
        m_Removed.push_back(process->GetProcessId());
        m_List->DestroyItem(process->GetProcessId());
        m_Changed = true;
    }
}

void SCA_TezProcessUpdater::Live(SCA_ProcScanner* scanner, const tagSCA_PROC_ENTRY& entry,
                                 SCA_ConfigObj* excludeList) {
    const CleanName name(entry.Sample.Stat.Name.c_str());
    if (IsExcluded(excludeList, name.Text)) {
        return;
    }
    PidRecords records{};
    if (!RecordsOf(scanner, entry, name.Text, &records)) {
        return;
    }
    SCA_TezProcess* process = records.Process;
    SCA_TezProcessPid* pid = records.Pid;
    pid->SetLastUpdateTime(m_Now / SCA_ABS_TIME_SECOND);
    tagSCA_TEZ_PROC_VALUES& sums = m_Sums[process->GetProcessId()];
    const tagSCA_TEZ_PROC_VALUES values = SCA_TezProcValuesOf(entry.Figures);
    for (uint32_t slot = 0; slot < SCA_PROC_COUNTERS; ++slot) {
        if (values.Has(slot)) {
            AddStatistic(pid, SCA_TEZ_PROC_COUNTER_TYPES[slot], values.Value[slot]);
            sums.Add(slot, values.Value[slot]);
        } else if (!entry.IsNew || IsGauge(slot)) {
            // A sum that leaves out an instance it cannot read is no figure of the name; a
            // new instance only has no rate yet.
            m_Unknown[process->GetProcessId()] |= 1u << slot;
        }
    }
}

bool SCA_TezProcessUpdater::RecordsOf(SCA_ProcScanner* scanner, const tagSCA_PROC_ENTRY& entry,
                                      const char* name, PidRecords* records) {
    const uint32_t processId = entry.Sample.Stat.Pid;
    const auto known = m_Records.find(processId);
    // A pid taken again by a program of another name is not the records it was under.
    if (known != m_Records.end() &&
        std::strcmp(known->second.Process->GetProcessName(), name) == 0) {
        *records = known->second;
        return true;
    }
    SCA_TezProcess* process = FindOrAdd(name);
    if (process == nullptr) {
        return false;
    }
    SCA_TezProcessPid* pid = nullptr;
    if (!process->GetPids()->GetPid(processId, &pid)) {
        AddPid(scanner, process, entry);
        if (!process->GetPids()->GetPid(processId, &pid)) {
            return false;
        }
    }
    *records = {process, pid};
    m_Records[processId] = *records;
    return true;
}

SCA_TezProcess* SCA_TezProcessUpdater::FindOrAdd(const char* name) {
    SCA_TezProcess* process = nullptr;
    if (m_List->GetProcess(name, &process)) {
        return process;
    }
    process = new (std::nothrow) SCA_TezProcess();
    if (process == nullptr) {
        return nullptr;
    }
    process->SetProcessId(m_NextId);
    process->SetProcessName(name);
    process->SetActive(1);
    process->SetStatus(SCA_PROCESS_RUNNING);
    process->SetStartTime(m_Now);
    if (!AddDataCounters(process) || !m_List->AddProcess(process)) {
        process->Destroy();
        return nullptr;
    }
    ++m_NextId;
    m_Changed = true;
    return process;
}

void SCA_TezProcessUpdater::AddPid(SCA_ProcScanner* scanner, SCA_TezProcess* process,
                                   const tagSCA_PROC_ENTRY& entry) {
    auto* pid = new (std::nothrow) SCA_TezProcessPid();
    auto* instance = new (std::nothrow) SCA_TezProcessInst();
    if (pid == nullptr || instance == nullptr) {
        delete pid;
        delete instance;
        return;
    }
    const tagSCA_PID_STAT& stat = entry.Sample.Stat;
    const char* user = UserOf(scanner, entry);
    pid->SetProcessId(stat.Pid);
    pid->SetInstanceId(stat.Pid);
    pid->SetFirstUpdateTime(m_Now / SCA_ABS_TIME_SECOND);
    pid->SetUserName(user);
    pid->SetParentProcessId(stat.ParentPid);
    const tagSCA_PROC_ENTRY* parent = scanner->FindLive(stat.ParentPid);
    if (parent != nullptr) {
        const CleanName parentName(parent->Sample.Stat.Name.c_str());
        pid->SetParentProcess(parentName.Text);
        if (parent->Sample.Uid) {
            pid->SetParentUser(UserOf(scanner, *parent));
        }
    }
    char instanceName[16];
    std::snprintf(instanceName, sizeof(instanceName), "%u", stat.Pid);
    instance->SetInstanceId(stat.Pid);
    instance->SetInstance(instanceName);
    if (!process->GetPids()->AddPid(pid)) {
        pid->Destroy();
        instance->Destroy();
        return;
    }
    if (!process->AddInstance(instance)) {
        instance->Destroy();
    }
    // Processes already running at the first pass were not started while we watched.
    if (entry.IsNew && !scanner->IsFirstPass()) {
        Log(SCA_PROCESS_LOG_START, entry, process->GetProcessName(), user, 0);
        m_Log->OnProcessStart(m_Now, process, pid, nullptr, nullptr);
    }
}

void SCA_TezProcessUpdater::Log(uint32_t opCode, const tagSCA_PROC_ENTRY& entry, const char* name,
                                const char* user, uint64_t runSeconds) {
    auto* item = new (std::nothrow) SCA_TezProcessLogItem();
    if (item == nullptr) {
        return;
    }
    const tagSCA_TEZ_PROC_VALUES v = SCA_TezProcValuesOf(entry.Figures);
    item->SetItemId(SCA_ALL_ONES);
    item->SetOpCode(opCode);
    item->SetProcessId(entry.Sample.Stat.Pid);
    item->SetParentPid(entry.Sample.Stat.ParentPid);
    item->SetAbsTime(m_Now / SCA_ABS_TIME_SECOND);
    item->SetRunTime(runSeconds);
    item->SetCpuUsage(v.Value[SCA_PROC_CPU]);
    item->SetUsedMemory(v.Value[SCA_PROC_MEMORY]);
    item->SetDataTransfer(v.Value[SCA_PROC_DATA_RATE]);
    item->SetThreadCount(v.Value[SCA_PROC_THREADS]);
    item->SetHandleCount(v.Value[SCA_PROC_HANDLES]);
    item->SetProcessName(name);
    item->SetUserName(user);
    if (!m_Log->AddItem(item)) {
        item->Destroy();
    }
}

void SCA_TezProcessUpdater::UpdateCounters(SCA_TezProcess* process,
                                           const tagSCA_TEZ_PROC_VALUES& sums) {
    for (auto* node = process->GetDataCounters()->GetHead(); node != nullptr;
         node = node->GetNext()) {
        SCA_TezCounter* counter = node->GetItem();
        const uint32_t slot = counter->GetCounterId() - 1;
        // What could not be read is a gap in the series, never a 0.
        if (slot < SCA_PROC_COUNTERS) {
            static_cast<SCA_TezSampleStore*>(counter->GetCounterData())
                ->AddSample(m_Now, sums.Has(slot) ? sums.Value[slot] : 0.0, sums.Has(slot));
        }
    }
    process->SetUpdateTime(m_Now);
}

void SCA_TezProcessUpdater::TrimLog(uint32_t logLength) {
    while (m_Log->Count() > logLength && m_Log->DestroyHeadItem()) {
    }
}
