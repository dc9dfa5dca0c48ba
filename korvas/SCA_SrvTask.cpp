// SPDX-License-Identifier: MIT
#include "korvas/SCA_SrvTask.h"

#include "libmor/SCA_Report.h"
#include "model/SCA_TezConfigUser.h"

SCA_SrvTask::SCA_SrvTask(SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                         SCA_ConfigObj* params, SCA_TezReportIndex* reportIndex, uint32_t taskType)
    : m_Config(config), m_UserConfig(userConfig), m_Params(params), m_ReportIndex(reportIndex),
      m_TaskType(taskType), m_Monitor(config, userConfig) {
    SetConstructed(m_Monitor.IsConstructed());
}

uint32_t SCA_SrvTask::StatusCode(uint32_t state, uint32_t errors, uint32_t warnings) {
    if (state == SCA_PROCESS_PAUSED) {
        return SCA_TASK_STATUS_PAUSED;
    }
    if (errors != 0 || state == SCA_PROCESS_FAILED) {
        return SCA_TASK_STATUS_ERROR;
    }
    if (warnings != 0) {
        return SCA_TASK_STATUS_WARNING;
    }
    switch (state) {
    case SCA_PROCESS_RUNNING:
        return SCA_TASK_STATUS_RUNNING;
    case SCA_PROCESS_STOPPED:
        return SCA_TASK_STATUS_STOPPED;
    default:
        return SCA_TASK_STATUS_IDLE;
    }
}

int SCA_SrvTask::CopyMonitor(const SCA_SrvMonitor& monitor, const char* className) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    if (IsActive()) {
        report(SCA_LEVEL_ERROR, "%s::Init: monitor %u is already active", className,
               m_Monitor.GetMonitorId());
        return 0;
    }
    if (!m_Monitor.SetContent(monitor)) {
        report(SCA_LEVEL_ERROR, "%s::Init: cannot copy monitor object", className);
        SetState(SCA_PROCESS_FAILED);
        return 0;
    }
    SCA_TezProfile* profile = m_Monitor.GetProfile();
    profile->SetProfileName(m_Monitor.GetDescription());
    if (const char* host = GetHost()) {
        profile->SetComputerName(host);
        if (m_UserConfig != nullptr) {
            m_UserConfig->UpdateRemoteServers(host);
        }
    }
    SetState(SCA_PROCESS_IDLE);
    return 1;
}

const char* SCA_SrvTask::GetHost() const {
    return m_Monitor.IsRemoteMonitor() && m_Monitor.GetComputerName()[0] != '\0'
               ? m_Monitor.GetComputerName()
               : nullptr;
}

void SCA_SrvTask::NoteSampledStatus() {
    const SampledStatus now{GetStatus(), GetActiveCounters(), GetErrors(), GetWarnings()};
    const std::lock_guard<std::mutex> hold(m_SampledLock);
    if (!(now == m_Sampled)) {
        m_Sampled = now;
        TouchStatus();
    }
}
