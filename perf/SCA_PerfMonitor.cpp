// SPDX-License-Identifier: MIT
#include "perf/SCA_PerfMonitor.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <strings.h>
#include <unistd.h>

#include "libmor/SCA_ErrorText.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_System.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezCounterMeta.h"
#include "perf/SCA_PerfCounterEval.h"
#include "perf/SCA_PerfErrors.h"
#include "perf/SCA_PerfFileReader.h"
#include "perf/SCA_PerfSourceTable.h"
#include "perf/SCA_ProcParser.h"

namespace {

constexpr uint32_t kHostNameSize = 256;
constexpr uint32_t kIdTextSize = 16;

void SetError(uint32_t* error, uint32_t code) {
    if (error != nullptr) {
        *error = code;
    }
}

} // namespace

int SCA_PerfMonitor::Init(uint32_t* error) {
    return Init(SCA_PerfSnapshotStore::GetDefault(), error);
}

int SCA_PerfMonitor::Init(std::shared_ptr<SCA_PerfSnapshotStore> store, uint32_t* error) {
    if (store == nullptr) {
        SetError(error, SCA_PERF_ERROR_ARGUMENT);
        return 0;
    }
    // /proc/stat is in every Linux since the first: without it the root is not a /proc.
    const std::string stat = store->GetRoots().Proc + "/stat";
    std::string text;
    if (!SCA_PerfFileReader::ReadFile(stat, &text) || !SCA_ProcParser::ParseStat(text)) {
        const uint32_t code = SCA_PerfErrorFromErrno(errno != 0 ? errno : ENOENT);
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_PerfMonitor::Init: cannot read %s (ERR:%u) - %s", stat.c_str(),
            code, SCA_ErrorText(code).Get());
        SetError(error, code);
        return 0;
    }
    m_Store = std::move(store);
    m_Before.reset();
    m_Now.reset();
    return 1;
}

int SCA_PerfMonitor::IsLocalComputer(const char* computer) {
    if (computer == nullptr || computer[0] == '\0' || strcasecmp(computer, "localhost") == 0 ||
        std::strcmp(computer, "127.0.0.1") == 0 || std::strcmp(computer, "::1") == 0) {
        return 1;
    }
    char host[kHostNameSize] = "";
    if (!SCA_GetHostName(host, sizeof(host))) {
        return 0;
    }
    // The short name of a fully qualified host name names it too.
    const char* dot = std::strchr(host, '.');
    const size_t shortLength = dot != nullptr ? static_cast<size_t>(dot - host) : std::strlen(host);
    return strcasecmp(computer, host) == 0 || (std::strlen(computer) == shortLength &&
                                               strncasecmp(computer, host, shortLength) == 0)
               ? 1
               : 0;
}

int SCA_PerfMonitor::CheckComputer(const char* operation, const char* computer,
                                   uint32_t* error) const {
    if (!IsLocalComputer(computer)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "%s: remote computers are not supported - %s", operation, computer);
        SetError(error, SCA_PERF_ERROR_REMOTE);
        return 0;
    }
    if (m_Store == nullptr) {
        SetError(error, SCA_PERF_ERROR_NOT_INIT);
        return 0;
    }
    return 1;
}

int SCA_PerfMonitor::Connect(const char* computer, uint32_t* error) {
    return CheckComputer("SCA_PerfMonitor::Connect", computer, error);
}

int SCA_PerfMonitor::GetTotalMemory(const char* computer, uint64_t* bytes, uint32_t* error) {
    if (!CheckComputer("SCA_PerfMonitor::GetTotalMemory", computer, error)) {
        return 0;
    }
    const auto snapshot = m_Store->MakeSnapshot();
    const tagSCA_KEY_VALUES* info = snapshot->GetMemInfo();
    const uint64_t* total = info != nullptr ? SCA_ProcParser::Find(*info, "MemTotal") : nullptr;
    if (total == nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_PerfMonitor::GetTotalMemory: cannot read the memory size");
        SetError(error, SCA_PERF_ERROR_NOT_SUPPORTED);
        return 0;
    }
    if (bytes != nullptr) {
        *bytes = *total;
    }
    return 1;
}

int SCA_PerfMonitor::IsTCPv6Supported(const char* computer, uint32_t* error) {
    if (!CheckComputer("SCA_PerfMonitor::IsTCPv6Supported", computer, error)) {
        return 0;
    }
    std::string text;
    if (!SCA_PerfFileReader::ReadFile(m_Store->GetRoots().Proc + "/net/tcp6", &text)) {
        SetError(error, SCA_PERF_ERROR_NOT_SUPPORTED);
        return 0;
    }
    return 1;
}

int SCA_PerfMonitor::IsUDPv6Supported(const char* computer, uint32_t* error) {
    if (!CheckComputer("SCA_PerfMonitor::IsUDPv6Supported", computer, error)) {
        return 0;
    }
    const auto snapshot = m_Store->MakeSnapshot();
    const tagSCA_KEY_VALUES* snmp6 = snapshot->GetSnmp6();
    if (snmp6 == nullptr || SCA_ProcParser::Find(*snmp6, "Udp6InDatagrams") == nullptr) {
        SetError(error, SCA_PERF_ERROR_NOT_SUPPORTED);
        return 0;
    }
    return 1;
}

// The network filter and the directory service have no counters on Linux.
int SCA_PerfMonitor::IsWFPv4Supported(const char* computer, uint32_t* error) {
    if (CheckComputer("SCA_PerfMonitor::IsWFPv4Supported", computer, error)) {
        SetError(error, SCA_PERF_ERROR_NOT_SUPPORTED);
    }
    return 0;
}

int SCA_PerfMonitor::IsWFPv6Supported(const char* computer, uint32_t* error) {
    if (CheckComputer("SCA_PerfMonitor::IsWFPv6Supported", computer, error)) {
        SetError(error, SCA_PERF_ERROR_NOT_SUPPORTED);
    }
    return 0;
}

int SCA_PerfMonitor::IsActiveDirectorySupported(const char* computer, uint32_t* error) {
    if (CheckComputer("SCA_PerfMonitor::IsActiveDirectorySupported", computer, error)) {
        SetError(error, SCA_PERF_ERROR_NOT_SUPPORTED);
    }
    return 0;
}

int SCA_PerfMonitor::OpenCounter(uint32_t type, const char* instance, uint32_t* id,
                                 uint32_t* error) {
    if (m_Store == nullptr) {
        SetError(error, SCA_PERF_ERROR_NOT_INIT);
        return 0;
    }
    if (SCA_TezGetCounterMeta(type) == nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_PerfMonitor::OpenCounter: invalid counter type - %u", type);
        SetError(error, SCA_PERF_ERROR_BAD_TYPE);
        return 0;
    }
    auto* counter = new SCA_PerfMonCounter();
    const uint32_t newId = m_NextId;
    counter->SetId(newId);
    counter->SetType(type);
    if (!m_Counters.AddItemToTail(counter, newId)) {
        SCA_Object::Destroy(counter);
        SetError(error, SCA_PERF_ERROR_ARGUMENT);
        return 0;
    }
    ++m_NextId;
    m_Instances[newId] = instance != nullptr ? instance : "";
    if (id != nullptr) {
        *id = newId;
    }
    return 1;
}

int SCA_PerfMonitor::CloseCounter(uint32_t id) {
    m_Instances.erase(id);
    return m_Counters.DestroyItem(id);
}

int SCA_PerfMonitor::Sample(uint64_t tick) {
    return Sample(tick, SCA_PerfSnapshotStore::GetMonotonicNs());
}

int SCA_PerfMonitor::Sample(uint64_t tick, uint64_t monotonicNs) {
    if (m_Store == nullptr) {
        return 0;
    }
    std::shared_ptr<SCA_PerfSnapshot> now = m_Store->GetSnapshot(tick, monotonicNs);
    if (now == m_Now) {
        return 1; // this tick was sampled already
    }
    m_Before = std::move(m_Now);
    m_Now = std::move(now);
    for (auto* node = m_Counters.GetHead(); node != nullptr; node = node->GetNext()) {
        SCA_PerfMonCounter* counter = node->GetItem();
        const auto value =
            SCA_PerfCounterEval::Evaluate(SCA_PerfSourceTable::Find(counter->GetType()),
                                          m_Instances[node->GetId()], m_Before.get(), *m_Now);
        counter->SetValid(value ? 1 : 0);
        counter->SetValue(value ? *value : 0.0);
        counter->SetUpdateCount(counter->GetUpdateCount() + 1);
    }
    return 1;
}

int SCA_PerfMonitor::GetCounterValue(uint32_t id, double* value) const {
    SCA_PerfMonCounter* counter = nullptr;
    if (!m_Counters.GetItem(id, &counter) || !counter->IsValid()) {
        return 0;
    }
    if (value != nullptr) {
        *value = counter->GetValue();
    }
    return 1;
}

int SCA_PerfMonitor::GetCounterList(SCA_ConfigObj* object) const {
    if (object == nullptr) {
        return 0;
    }
    for (auto* node = m_Counters.GetHead(); node != nullptr; node = node->GetNext()) {
        const SCA_PerfMonCounter* counter = node->GetItem();
        char name[kIdTextSize];
        std::snprintf(name, sizeof(name), "%u", counter->GetId());
        SCA_ConfigObj* child = object->AddConfigObj(name);
        const auto found = m_Instances.find(node->GetId());
        if (child == nullptr || !child->AddField("Type", counter->GetType()) ||
            !child->AddField("Name", counter->GetName()) ||
            !child->AddField("Instance", found != m_Instances.end() ? found->second.c_str() : "") ||
            !child->AddField("Valid", counter->IsValid()) ||
            !child->AddField("Value", counter->GetValue())) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "SCA_PerfMonitor::GetCounterList: cannot add counter - %u",
                counter->GetId());
            return 0;
        }
    }
    return 1;
}
