// SPDX-License-Identifier: MIT
#include "libtez/SCA_TezManager.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <string>

#include "containers/SCA_DataQueue.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_Sync.h"
#include "libmor/SCA_System.h"
#include "libmor/SCA_Time.h"
#include "libtez/SCA_TezActionCtrl.h"
#include "libtez/SCA_TezCondAction.h"
#include "libtez/SCA_TezSampleClock.h"
#include "libtez/SCA_TezStatusTable.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezActionType.h"
#include "model/SCA_TezCondType.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezCounterMeta.h"
#include "model/SCA_TezCounterStatus.h"
#include "model/SCA_TezRepStatus.h"
#include "model/SCA_TezSampleStore.h"

namespace {

constexpr uint64_t kNanosPerAbsTick = 100;

} // namespace

// The ready event as a lock: taken by waiting for it, handed on by setting it again.
class SCA_TezManager::DataLock {
public:
    explicit DataLock(SCA_Event* ready) : m_Ready(ready) { m_Ready->Wait(SCA_INFINITE); }
    ~DataLock() { m_Ready->Set(); }
    DataLock(const DataLock&) = delete;
    DataLock& operator=(const DataLock&) = delete;

private:
    SCA_Event* m_Ready;
};

// The ready event is automatic and signalled: the first waiter gets the data, Set hands it on.
SCA_TezManager::SCA_TezManager(SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                               SCA_ConfigObj* params, SCA_TezActionCtrl* actionCtrl,
                               SCA_TezReportIndex* reportIndex, SCA_SrvMonitor* monitor)
    : m_Config(config), m_UserConfig(userConfig), m_Params(params), m_ActionCtrl(actionCtrl),
      m_ReportIndex(reportIndex), m_Monitor(monitor), m_Ready(0, 1), m_Report(config, userConfig) {
    SetConstructed(m_Profile.IsConstructed() && m_Ready.IsConstructed() &&
                           m_PerfMonitor.IsConstructed() && m_Report.IsConstructed()
                       ? 1
                       : 0);
}

SCA_TezManager::~SCA_TezManager() {
    StopAll(0);
}

void SCA_TezManager::SetSampleCallback(SCA_TezSampleCallback callback, void* userData) {
    m_SampleCallback = callback;
    m_SampleUserData = userData;
}

int SCA_TezManager::PrepareProcess(SCA_TezProfile* profile, const char* name, const char* host,
                                   uint32_t* error) {
    DataLock lock(&m_Ready);
    const int initialised =
        m_Store != nullptr ? m_PerfMonitor.Init(m_Store, error) : m_PerfMonitor.Init(error);
    if (!initialised || !m_PerfMonitor.Connect(host, error)) {
        m_ProcessStatus = SCA_PROCESS_FAILED;
        return 0;
    }
    m_PerfMonitor.GetTotalMemory(host, &m_HostTotalMemory, nullptr);
    m_SampledProfile = profile != nullptr ? profile : &m_Profile;
    // Reports name the computer sampled and the user the sampling ran as.
    if (!SCA_PerfMonitor::IsLocalComputer(host) ||
        !SCA_GetHostName(m_HostName, sizeof(m_HostName))) {
        SCA_StrnCpy(m_HostName, host != nullptr ? host : "", sizeof(m_HostName));
    }
    if (!SCA_GetUserName(m_UserName, sizeof(m_UserName))) {
        m_UserName[0] = '\0';
    }
    SCA_StrnCpy(m_MonitorName, name, sizeof(m_MonitorName));
    m_AbsStartTime = SCA_GetAbsTime();
    m_PeriodStartNs = 0;
    m_Paused = 0;
    m_ProcessStatus = SCA_PROCESS_RUNNING;
    return 1;
}

int SCA_TezManager::StartProcess(SCA_TezProfile* profile, const char* name, const char* host,
                                 uint32_t /*mode*/, uint32_t* error) {
    if (IsSampling()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_TezManager::StartProcess: %s is already sampling", m_MonitorName);
        return 0;
    }
    if (!PrepareProcess(profile, name, host, error)) {
        return 0;
    }
    auto clock = SCA_TezSampleClock::ForInterval(m_SampleIntervalMs);
    if (!clock->Attach(this, error)) {
        m_ProcessStatus = SCA_PROCESS_FAILED;
        return 0;
    }
    m_Clock = std::move(clock);
    return 1;
}

int SCA_TezManager::SampleTick(uint64_t tickKey, uint64_t monotonicNs, uint64_t absTime) {
    if (m_Paused) {
        return 1;
    }
    {
        // The collector is not shared between threads: counters open and close under the same
        // lock.
        DataLock lock(&m_Ready);
        m_PerfMonitor.Sample(tickKey, monotonicNs);
        if (m_LastSampleNs != 0 && monotonicNs > m_LastSampleNs) {
            m_ProcessTimeNs += monotonicNs - m_LastSampleNs;
        }
        m_LastSampleNs = monotonicNs;
        // The rules and settings as the user configuration's owner last published them: a
        // configuration changed meanwhile applies from the next tick.
        const auto config = m_UserConfig != nullptr ? m_UserConfig->GetSnapshot() : nullptr;
        const Tick tick{config.get(), monotonicNs, absTime};
        for (auto* node = GetCounterList()->GetHead(); node != nullptr; node = node->GetNext()) {
            auto live = m_Live.find(node->GetId());
            if (live != m_Live.end()) {
                SampleCounter(node->GetItem(), &live->second, tick);
            }
        }
        QueuePeriodicReport(tick);
        CountStatuses();
    }
    if (m_SampleCallback != nullptr) {
        m_SampleCallback(m_SampledProfile, &m_Report, absTime, m_SampleUserData);
    }
    return 1;
}

void SCA_TezManager::SampleCounter(SCA_TezCounter* counter, LiveState* state, const Tick& tick) {
    auto* store = static_cast<SCA_TezSampleStore*>(counter->GetCounterData());
    double value = 0.0;
    const bool hasValue = m_PerfMonitor.GetCounterValue(state->PerfCounterId, &value) != 0;
    store->AddSample(tick.AbsTime, value, hasValue);
    counter->SetValid(hasValue ? 1 : 0);
    if (!hasValue) {
        // No value, nothing to judge: the status stays as the last value left it.
        return;
    }
    const tagSCA_TEZ_COND_INPUT input{value, store->GetAverageValue(), value - state->Previous,
                                      state->HasPrevious};
    state->Previous = value;
    state->HasPrevious = true;
    counter->SetRepStatus(EvaluateConditions(counter, state, tick, input));
}

// The counter's own conditions, then the user's rules for its type. The status is the highest
// report status among those that hold.
uint32_t SCA_TezManager::EvaluateConditions(SCA_TezCounter* counter, LiveState* state,
                                            const Tick& tick, const tagSCA_TEZ_COND_INPUT& input) {
    uint32_t status = SCA_REP_STATUS_MESSAGE;
    SCA_TezCondList* conds = counter->GetCounterInfo()->GetCondList();
    for (auto* node = conds->GetHead(); node != nullptr; node = node->GetNext()) {
        const SCA_TezCond& cond = *node->GetItem();
        CondMemory& memory = state->Conds[node->GetId()];
        const auto result = SCA_TezEvalCond(cond, input, &memory.Eval);
        status = std::max(status, Apply(cond, result, counter, input.Value, tick, &memory.Repeat));
    }
    if (tick.Config == nullptr) {
        return status;
    }
    const SCA_TezRuleList& rules = tick.Config->Rules;
    for (auto* node = rules.GetHead(); node != nullptr; node = node->GetNext()) {
        const SCA_TezRule& rule = *node->GetItem();
        if (rule.GetCounterType() != counter->GetCounterType()) {
            continue;
        }
        CondMemory& memory = state->Rules[node->GetId()];
        const auto result = SCA_TezEvalCond(rule, input, &memory.Eval);
        status = std::max(status, Apply(rule, result, counter, input.Value, tick, &memory.Repeat));
    }
    return status;
}

uint32_t SCA_TezManager::Apply(const SCA_TezCond& cond, const tagSCA_TEZ_COND_RESULT& result,
                               SCA_TezCounter* counter, double value, const Tick& tick,
                               tagSCA_TEZ_ACTION_REPEAT* repeat) {
    if (result.Acts) {
        counter->SetLastTriggerTime(tick.AbsTime);
        RecordError(cond, counter, value, tick.AbsTime);
        QueueAction(cond, tick, repeat);
    }
    return result.Holds ? cond.GetRepStatus() : SCA_REP_STATUS_MESSAGE;
}

void SCA_TezManager::RecordError(const SCA_TezCond& cond, SCA_TezCounter* counter, double value,
                                 uint64_t absTime) {
    SCA_TezErrorList* errors = m_Report.GetErrorList();
    while (errors->Count() >= SCA_TEZ_MAX_ERROR_RECORDS) {
        errors->DestroyHeadItem();
    }
    auto* error = new (std::nothrow) SCA_TezError();
    if (error == nullptr) {
        return;
    }
    char description[256];
    char mode[64];
    SCA_TezGetCondModeDescr(cond.GetCondMode(), mode, sizeof(mode));
    std::snprintf(description, sizeof(description), "%s: %s %.17g (%s)",
                  SCA_TezGetCounterDescr(counter->GetCounterType()),
                  SCA_TezGetCondTypeDescr(cond.GetCondType()), cond.GetCondValue(), mode);
    error->SetErrorId(m_NextErrorId);
    m_NextErrorId = m_NextErrorId == SCA_ALL_ONES - 1 ? 1 : m_NextErrorId + 1;
    error->SetAbsTime(absTime);
    error->SetRepStatus(cond.GetRepStatus());
    error->SetCounterId(counter->GetCounterId());
    error->SetCounterType(counter->GetCounterType());
    error->SetComputerName(counter->GetComputerName());
    error->SetInstance(counter->GetInstance());
    error->SetDescription(description);
    error->SetCounterValue(value);
    if (!errors->AddError(error)) {
        SCA_Object::Destroy(error);
    }
}

void SCA_TezManager::QueueAction(const SCA_TezCond& cond, const Tick& tick,
                                 tagSCA_TEZ_ACTION_REPEAT* repeat) {
    if (m_ActionCtrl == nullptr || cond.GetActionType() == SCA_ACTION_NONE ||
        !cond.GetExecuteAction() ||
        !SCA_TezMayRepeatAction(tick.Config != nullptr ? &tick.Config->Settings : nullptr,
                                cond.GetActionType(), tick.MonotonicNs, repeat)) {
        return;
    }
    Queue(new (std::nothrow)
              SCA_TezCondAction(cond, tick.AbsTime, m_MonitorName,
                                m_Monitor != nullptr ? m_Monitor->GetMonitorId() : SCA_ALL_ONES));
}

void SCA_TezManager::QueuePeriodicReport(const Tick& tick) {
    if (m_ActionCtrl == nullptr || m_Monitor == nullptr || !m_Monitor->GetSaveReports() ||
        m_Monitor->GetSaveReportsPeriod() == 0) {
        m_PeriodStartNs = 0;
        return;
    }
    if (m_PeriodStartNs == 0) {
        m_PeriodStartNs = tick.MonotonicNs;
        return;
    }
    const uint64_t periodNs = uint64_t{m_Monitor->GetSaveReportsPeriod()} * kNanosPerSecond;
    if (tick.MonotonicNs - m_PeriodStartNs < periodNs) {
        return;
    }
    m_PeriodStartNs = tick.MonotonicNs;
    uint32_t actionType = 0;
    if (!SCA_TezGetReportActionType(m_Monitor->GetSaveReportsFormat(), &actionType)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_TezManager::QueuePeriodicReport: %s has no report format - %u",
            m_MonitorName, m_Monitor->GetSaveReportsFormat());
        return;
    }
    auto* action = new (std::nothrow) SCA_TezAction();
    if (action != nullptr) {
        action->SetActionType(actionType);
        action->SetActionId(SCA_TEZ_PERIODIC_REPORT_ACTION);
        action->SetActionTime(tick.AbsTime);
        action->SetMonitorName(m_MonitorName);
        action->SetMonitorId(m_Monitor->GetMonitorId());
        action->SetReportFormat(m_Monitor->GetSaveReportsFormat());
        action->SetReportMode(m_Monitor->GetSaveReportsMode());
        action->SetReportsHistory(m_Monitor->GetSaveReportsHistory());
        action->SetReportDir(m_Monitor->GetSaveReportsDir());
    }
    Queue(action);
}

void SCA_TezManager::Queue(SCA_TezAction* action) {
    if (action == nullptr || !action->IsConstructed() ||
        !m_ActionCtrl->GetActionQueue()->Put(action)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_TezManager::QueueAction: cannot queue action of %s",
            m_MonitorName);
        SCA_Object::Destroy(action);
    }
}

void SCA_TezManager::CountStatuses() {
    m_ErrorCounters = m_Report.GetErrors();
    m_WarningCounters = m_Report.GetWarnings();
}

int SCA_TezManager::Pause() {
    m_Paused = 1;
    DataLock lock(&m_Ready);
    m_LastSampleNs = 0;
    return 1;
}

int SCA_TezManager::Resume() {
    m_Paused = 0;
    return 1;
}

int SCA_TezManager::ResetAll() {
    DataLock lock(&m_Ready);
    for (auto* node = GetCounterList()->GetHead(); node != nullptr; node = node->GetNext()) {
        node->GetItem()->ClearAll();
    }
    for (auto& [id, state] : m_Live) {
        state = LiveState{state.PerfCounterId, false, 0.0, {}, {}};
    }
    m_Report.GetErrorList()->Clear();
    m_ProcessTimeNs = 0;
    m_LastSampleNs = 0;
    m_AbsStartTime = SCA_GetAbsTime();
    CountStatuses();
    return 1;
}

int SCA_TezManager::StopAll(uint32_t /*flags*/) {
    if (m_Clock != nullptr) {
        m_Clock->Detach(this);
        m_Clock.reset();
    }
    if (m_ProcessStatus == SCA_PROCESS_RUNNING) {
        m_ProcessStatus = SCA_PROCESS_STOPPED;
    }
    m_Paused = 0;
    return 1;
}

int SCA_TezManager::AddCounter(uint32_t counterId) {
    DataLock lock(&m_Ready);
    if (m_Live.count(counterId) != 0) {
        return 1;
    }
    SCA_TezCounterInfo* info = nullptr;
    uint32_t perfId = 0;
    uint32_t error = 0;
    if (!m_SampledProfile->GetCounterList()->GetCounter(counterId, &info)) {
        return 0;
    }
    if (!m_PerfMonitor.OpenCounter(info->GetCounterType(), info->GetInstance(), &perfId, &error)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_TezManager::AddCounter: cannot open counter %u (ERR:%u)",
            counterId, error);
        return 0;
    }
    auto* counter = new (std::nothrow) SCA_TezCounter();
    auto* store = new (std::nothrow) SCA_TezSampleStore();
    if (counter == nullptr || store == nullptr || !counter->GetCounterInfo()->SetContent(*info)) {
        SCA_Object::Destroy(counter);
        SCA_Object::Destroy(store);
        m_PerfMonitor.CloseCounter(perfId);
        return 0;
    }
    counter->SetCounterData(store);
    counter->SetCounterId(counterId);
    counter->SetCounterType(info->GetCounterType());
    counter->SetPerfCounterId(perfId);
    counter->SetComputerName(info->GetComputerName());
    counter->SetInstance(info->GetInstance());
    counter->SetUnits(info->GetUnits());
    counter->SetRepStatus(SCA_REP_STATUS_MESSAGE);
    if (!m_Report.AddCounter(counter)) {
        SCA_Object::Destroy(counter);
        m_PerfMonitor.CloseCounter(perfId);
        return 0;
    }
    m_Live[counterId].PerfCounterId = perfId;
    return 1;
}

std::vector<uint32_t> SCA_TezManager::GetProfileCounterIds() {
    DataLock lock(&m_Ready);
    std::vector<uint32_t> ids;
    SCA_TezCounterList* counters = m_SampledProfile->GetCounterList();
    for (auto* node = counters->GetHead(); node != nullptr; node = node->GetNext()) {
        ids.push_back(node->GetId());
    }
    return ids;
}

int SCA_TezManager::DeleteCounter(uint32_t counterId) {
    DataLock lock(&m_Ready);
    auto live = m_Live.find(counterId);
    if (live == m_Live.end()) {
        return 0;
    }
    m_PerfMonitor.CloseCounter(live->second.PerfCounterId);
    m_Live.erase(live);
    SCA_TezCounter* counter = nullptr;
    if (GetCounterList()->DeleteItem(counterId, &counter)) {
        SCA_Object::Destroy(counter);
    }
    CountStatuses();
    return 1;
}

int SCA_TezManager::DeleteAllCounters() {
    DataLock lock(&m_Ready);
    for (const auto& [id, state] : m_Live) {
        m_PerfMonitor.CloseCounter(state.PerfCounterId);
    }
    m_Live.clear();
    GetCounterList()->Clear();
    CountStatuses();
    return 1;
}

int SCA_TezManager::WriteStatusList(SCA_ConfigObj* list) {
    if (list == nullptr) {
        return 0;
    }
    for (auto* node = GetCounterList()->GetHead(); node != nullptr; node = node->GetNext()) {
        tagSCA_TEZ_COUNTER_STATUS status{};
        char text[SCA_TEZ_COUNTER_STATUS_SIZE];
        SCA_TezFillCounterStatus(*node->GetItem(), &status);
        if (!SCA_TezBuildCounterStatus(status, text, sizeof(text)) ||
            !list->AddField(std::to_string(node->GetId()).c_str(), text)) {
            return 0;
        }
    }
    return 1;
}

int SCA_TezManager::BuildCountersStatusList(SCA_ConfigObj* list) {
    DataLock lock(&m_Ready);
    return WriteStatusList(list);
}

int SCA_TezManager::GetStatusEx(SCA_ConfigObj* list, uint32_t counterId, uint64_t since,
                                uint32_t count, SCA_ConfigObj* data) {
    DataLock lock(&m_Ready);
    if (!WriteStatusList(list)) {
        return 0;
    }
    SCA_TezCounter* counter = nullptr;
    if (data == nullptr || !GetCounterList()->GetItem(counterId, &counter)) {
        return 1;
    }
    const auto* store = static_cast<const SCA_TezSampleStore*>(counter->GetCounterData());
    return store->WriteSamples(since, count, data);
}

int SCA_TezManager::GetCounterStatusEx(uint32_t counterId, uint64_t since, uint32_t count,
                                       SCA_ConfigObj* data, char* text, uint32_t size) {
    DataLock lock(&m_Ready);
    SCA_TezCounter* counter = nullptr;
    if (!GetCounterList()->GetItem(counterId, &counter)) {
        return 0;
    }
    const auto* store = static_cast<const SCA_TezSampleStore*>(counter->GetCounterData());
    tagSCA_TEZ_COUNTER_STATUS status{};
    SCA_TezFillCounterStatus(*counter, &status);
    return (data == nullptr || store->WriteSamples(since, count, data)) &&
                   (text == nullptr || SCA_TezBuildCounterStatus(status, text, size))
               ? 1
               : 0;
}

void SCA_TezManager::UpdateReportLocked() {
    // The index lists and filters reports by their monitor.
    if (m_Monitor != nullptr) {
        m_Report.SetMonitorId(m_Monitor->GetMonitorId());
    }
    m_Report.SetProfileName(m_SampledProfile->GetProfileName());
    m_Report.SetHostName(m_HostName);
    m_Report.SetUserName(m_UserName);
    m_Report.SetDescription(m_MonitorName);
    // Titled as the main window titles a monitor's saved report; the clients retitle their copy.
    m_Report.SetReportTitle(SCA_TezReportInfo::DefaultTitle(m_MonitorName).c_str());
    m_Report.SetTimes(m_AbsStartTime, SCA_GetAbsTime(), m_ProcessTimeNs / kNanosPerAbsTick);
    m_Report.UpdateStatistics();
    m_Report.UpdateSummary();
}

int SCA_TezManager::UpdateReport() {
    DataLock lock(&m_Ready);
    UpdateReportLocked();
    return 1;
}

int SCA_TezManager::SerializeReport(SCA_ConfigObj* object) {
    DataLock lock(&m_Ready);
    UpdateReportLocked();
    return m_Report.Serialize(object);
}

int SCA_TezManager::SerializeErrorList(SCA_ConfigObj* object) {
    DataLock lock(&m_Ready);
    return m_Report.GetErrorList()->Serialize(object);
}

uint32_t SCA_TezManager::GetActiveCounters() {
    DataLock lock(&m_Ready);
    return GetCounterList()->Count();
}

int SCA_TezManager::SerializePerfCounters(SCA_ConfigObj* list) {
    DataLock lock(&m_Ready);
    return m_PerfMonitor.GetCounterList(list);
}

uint32_t SCA_TezManager::GetStatusCount() {
    return SCA_TEZ_STATUS_ROWS;
}

const char* SCA_TezManager::GetStatusName(uint32_t index) {
    return SCA_TezGetStatusName(index);
}

const char* SCA_TezManager::GetStatusIcon(uint32_t index) {
    return SCA_TezGetStatusIcon(index);
}

int SCA_TezManager::GetStatusValue(uint32_t index, char* buf, uint32_t size) {
    DataLock lock(&m_Ready);
    const tagSCA_TEZ_STATUS_VALUES values{
        m_ProcessStatus,           GetProcessTime() * SCA_ABS_TIME_SECOND,
        GetCounterList()->Count(), m_ErrorCounters,
        m_WarningCounters,         m_Report.CalcMemoryUsage()};
    return SCA_TezWriteStatusValue(index, values, buf, size);
}
