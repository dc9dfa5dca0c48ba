// SPDX-License-Identifier: MIT
#include "korvas/SCA_SrvTaskMonitor.h"

#include <malloc.h>

#include "libmor/SCA_Report.h"
#include "libmor/SCA_Sync.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezReport.h"
#include "model/SCA_TezReportIndex.h"

namespace {

constexpr uint32_t kLoaderStopWaitMs = 1000;

// The manager's ready event as the lock of its data.
class ManagerLock {
public:
    explicit ManagerLock(SCA_TezManager* manager) : m_Ready(manager->GetReady()) {
        m_Ready->Wait(SCA_INFINITE);
    }
    ~ManagerLock() { m_Ready->Set(); }
    ManagerLock(const ManagerLock&) = delete;
    ManagerLock& operator=(const ManagerLock&) = delete;

private:
    SCA_Event* m_Ready;
};

} // namespace

SCA_SrvTaskMonitor::SCA_SrvTaskMonitor(SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                                       SCA_ConfigObj* params, SCA_TezReportIndex* reportIndex,
                                       SCA_TezActionCtrl* actionCtrl)
    : SCA_SrvTask(config, userConfig, params, reportIndex, SCA_TASK_COUNTERS),
      m_Loader(config, userConfig, params),
      m_Manager(config, userConfig, params, actionCtrl, reportIndex, GetMonitor()) {
    if (!m_Loader.IsConstructed() || !m_Manager.IsConstructed()) {
        SetConstructed(0);
    }
    m_Manager.SetSampleCallback(&SCA_SrvTaskMonitor::OnSample, this);
}

int SCA_SrvTaskMonitor::OnSample(SCA_TezProfile* /*profile*/, SCA_TezReport* /*report*/,
                                 uint64_t /*absTime*/, void* task) {
    auto* self = static_cast<SCA_SrvTaskMonitor*>(task);
    if (self->m_Loader.JoinIfEnded()) {
        // Loading a profile's counters frees much more than the monitor keeps, in pages
        // between the ones kept: handed back once, rather than held for the life of the
        // service.
        malloc_trim(0);
    }
    self->NoteSampledStatus();
    return 1;
}

SCA_SrvTaskMonitor::~SCA_SrvTaskMonitor() {
    StopProcess();
}

int SCA_SrvTaskMonitor::Init(const SCA_SrvMonitor& monitor) {
    return CopyMonitor(monitor, "SCA_SrvTaskMonitor");
}

int SCA_SrvTaskMonitor::StartProcess() {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    RetryPendingReport();
    const uint32_t id = GetMonitor()->GetMonitorId();
    if (IsActive()) {
        report(SCA_LEVEL_ERROR, "SCA_SrvTaskMonitor::StartProcess: monitor %u is already active",
               id);
        return 0;
    }
    m_Manager.DeleteAllCounters();
    m_Manager.ResetAll();
    uint32_t error = 0;
    if (!m_Manager.StartProcess(GetMonitor()->GetProfile(), GetMonitor()->GetDescription(),
                                GetHost(), 1, &error)) {
        report(SCA_LEVEL_ERROR, "SCA_SrvTaskMonitor::StartProcess: cannot start monitor - %u", id);
        SetState(SCA_PROCESS_FAILED);
        return 0;
    }
    if (!m_Loader.LoadProfile(&m_Manager)) {
        report(SCA_LEVEL_ERROR,
               "SCA_SrvTaskMonitor::StartProcess: cannot load monitor profile - %u", id);
        m_Manager.StopAll(0);
        SetState(SCA_PROCESS_FAILED);
        return 0;
    }
    SetState(SCA_PROCESS_RUNNING);
    return 1;
}

int SCA_SrvTaskMonitor::Reset() {
    if (!IsActive()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_SrvTaskMonitor::Reset: monitor %u is not active",
            GetMonitor()->GetMonitorId());
        return 0;
    }
    return m_Manager.ResetAll();
}

int SCA_SrvTaskMonitor::Pause() {
    if (!IsActive()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_SrvTaskMonitor::Pause: monitor %u is not active",
            GetMonitor()->GetMonitorId());
        return 0;
    }
    if (!m_Manager.Pause()) {
        return 0;
    }
    SetState(SCA_PROCESS_PAUSED);
    return 1;
}

int SCA_SrvTaskMonitor::Resume() {
    if (!IsActive()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_SrvTaskMonitor::Resume: monitor %u is not active",
            GetMonitor()->GetMonitorId());
        return 0;
    }
    if (!m_Manager.Resume()) {
        return 0;
    }
    SetState(SCA_PROCESS_RUNNING);
    return 1;
}

int SCA_SrvTaskMonitor::StopProcess() {
    if (!IsActive()) {
        return 1;
    }
    if (m_Loader.GetProcessStatus() == SCA_PROCESS_RUNNING) {
        m_Loader.GetStopEvent()->Set();
        m_Loader.GetEvent()->Wait(kLoaderStopWaitMs);
    }
    m_Loader.StopAll();
    m_Manager.StopAll(0);
    SaveReport();
    SetState(SCA_PROCESS_STOPPED);
    return 1;
}

void SCA_SrvTaskMonitor::SaveReport() {
    if (m_ReportIndex == nullptr || m_Manager.GetProcessTime() < SCA_TASK_MIN_REPORT_SECONDS) {
        return;
    }
    if (HasPendingReport()) {
        // One report waits already: the newer run's report waits in its place only once the
        // older one is stored.
        StorePending(SCA_TEZ_REPORT_SAVE_FILE);
        if (HasPendingReport()) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR,
                "SCA_SrvTaskMonitor::StopProcess: report of monitor %u lost, an earlier one "
                "still waits to be stored",
                GetMonitor()->GetMonitorId());
            return;
        }
    }
    m_Manager.UpdateReport();
    SCA_ConfigObj form(SCA_TEZ_REPORT_ROOT, nullptr);
    auto copy = std::make_unique<SCA_TezReport>(m_Config, m_UserConfig);
    if (!m_Manager.SerializeReport(&form) || !copy->Deserialize(&form)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_SrvTaskMonitor::StopProcess: cannot copy report of monitor %u",
            GetMonitor()->GetMonitorId());
        return;
    }
    m_PendingReport = std::move(copy);
    m_PendingStage = PendingStage::kAddReport;
    StorePending(SCA_TEZ_REPORT_SAVE_FILE);
}

void SCA_SrvTaskMonitor::StorePending(uint32_t flags) {
    const auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    const bool intoReserve = (flags & SCA_TEZ_REPORT_INTO_RESERVE) != 0;
    if (m_PendingStage == PendingStage::kAddReport) {
        const auto config = m_UserConfig != nullptr ? m_UserConfig->GetSnapshot() : nullptr;
        const uint32_t maxReports = config != nullptr ? config->Settings.MaxDatabaseReports : 0;
        uint32_t error = 0;
        if (!m_ReportIndex->AddReport(m_PendingReport.get(), GetMonitor()->GetMonitorMode(), flags,
                                      maxReports, &error)) {
            report(SCA_LEVEL_ERROR,
                   intoReserve ? "SCA_SrvTaskMonitor::StopProcess: cannot save report of monitor "
                                 "%u into the room kept for it (ERR:%u)"
                               : "SCA_SrvTaskMonitor::StopProcess: cannot save report of monitor "
                                 "%u (ERR:%u), kept to try again",
                   GetMonitor()->GetMonitorId(), error);
            return;
        }
        m_PendingReport.reset();
        m_PendingStage = PendingStage::kSaveIndex;
        if (intoReserve) {
            report(SCA_LEVEL_INFO, "Report of monitor %u saved into the room kept for it",
                   GetMonitor()->GetMonitorId());
        }
    }
    if (m_PendingStage == PendingStage::kSaveIndex) {
        if (!m_ReportIndex->Save()) {
            report(SCA_LEVEL_ERROR,
                   "SCA_SrvTaskMonitor::StopProcess: cannot save the report index after the "
                   "report of monitor %u, kept to try again",
                   GetMonitor()->GetMonitorId());
            return;
        }
        m_PendingStage = PendingStage::kNone;
    }
}

int SCA_SrvTaskMonitor::StorePendingInReserve() {
    if (IsPendingReportInMemory()) {
        StorePending(SCA_TEZ_REPORT_SAVE_FILE | SCA_TEZ_REPORT_INTO_RESERVE);
    }
    return IsPendingReportInMemory() ? 0 : 1;
}

int SCA_SrvTaskMonitor::RetryPendingReport() {
    if (HasPendingReport()) {
        StorePending(SCA_TEZ_REPORT_SAVE_FILE);
        if (!HasPendingReport()) {
            SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_INFO, "Report of monitor %u saved",
                                                      GetMonitor()->GetMonitorId());
        }
    }
    return HasPendingReport() ? 0 : 1;
}

uint32_t SCA_SrvTaskMonitor::GetStatus() {
    // A report that waits to be stored is an error the user must see.
    return HasPendingReport() ? SCA_TASK_STATUS_ERROR
                              : StatusCode(GetState(), GetErrors(), GetWarnings());
}

bool SCA_SrvTaskMonitor::HasRunData() const {
    return IsActive() || GetState() == SCA_PROCESS_STOPPED;
}

int SCA_SrvTaskMonitor::BuildCountersStatusList(SCA_ConfigObj* list) {
    return IsActive() ? m_Manager.BuildCountersStatusList(list)
                      : GetMonitor()->GetProfile()->BuildCountersStatusList(list);
}

int SCA_SrvTaskMonitor::GetStatusEx(SCA_ConfigObj* list, uint32_t counterId, uint64_t since,
                                    uint32_t count, SCA_ConfigObj* data) {
    return HasRunData() ? m_Manager.GetStatusEx(list, counterId, since, count, data)
                        : GetMonitor()->GetProfile()->BuildCountersStatusList(list);
}

int SCA_SrvTaskMonitor::GetCounterStatusEx(uint32_t counterId, uint64_t since, uint32_t count,
                                           SCA_ConfigObj* data, char* text, uint32_t size) {
    if (!HasRunData()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_SrvTaskMonitor::GetCounterStatusEx: monitor %u is not active",
            GetMonitor()->GetMonitorId());
        return 0;
    }
    return m_Manager.GetCounterStatusEx(counterId, since, count, data, text, size);
}

int SCA_SrvTaskMonitor::SerializeReport(SCA_ConfigObj* report) {
    return GetState() == SCA_PROCESS_IDLE ? 1 : m_Manager.SerializeReport(report);
}

int SCA_SrvTaskMonitor::SerializeErrorList(SCA_ConfigObj* errors) {
    return GetState() == SCA_PROCESS_IDLE ? 1 : m_Manager.SerializeErrorList(errors);
}

int SCA_SrvTaskMonitor::UpdateMonitor(const SCA_SrvMonitor& monitor) {
    ManagerLock lock(&m_Manager);
    return GetMonitor()->SetContent(monitor);
}

int SCA_SrvTaskMonitor::SyncCounters(const SCA_TezCounterList& counters) {
    ManagerLock lock(&m_Manager);
    return GetMonitor()->GetProfile()->GetCounterList()->CopyFrom(counters);
}

int SCA_SrvTaskMonitor::SetCounterInfo(uint32_t counterId, SCA_ConfigObj* object) {
    ManagerLock lock(&m_Manager);
    SCA_TezCounterInfo* info = nullptr;
    if (!GetMonitor()->GetProfile()->GetCounterList()->GetCounter(counterId, &info)) {
        return 1;
    }
    if (!info->Deserialize(object)) {
        return 0;
    }
    SCA_TezCounter* live = nullptr;
    if (m_Manager.GetReport()->GetCounter(counterId, &live)) {
        live->GetCounterInfo()->SetContent(*info);
    }
    return 1;
}
