#include "libtez/SCA_TezManager.h"

#include "libtez/SCA_TezStatusTable.h"

// The ready event is automatic and signalled: the first waiter gets the data, Set hands it on.
SCA_TezManager::SCA_TezManager(SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                               SCA_ConfigObj* params, SCA_TezActionCtrl* actionCtrl,
                               SCA_TezReportIndex* reportIndex, SCA_SrvMonitor* monitor)
    : m_Config(config), m_UserConfig(userConfig), m_Params(params), m_ActionCtrl(actionCtrl),
      m_ReportIndex(reportIndex), m_Monitor(monitor), m_Ready(0, 1), m_Report(config, userConfig) {
    if (!m_Profile.IsConstructed() || !m_Ready.IsConstructed() || !m_PerfMonitor.IsConstructed() ||
        !m_Report.IsConstructed()) {
        SetConstructed(0);
    }
}

void SCA_TezManager::SetSampleCallback(SCA_TezSampleCallback callback, void* userData) {
    m_SampleCallback = callback;
    m_SampleUserData = userData;
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
    const tagSCA_TEZ_STATUS_VALUES values{m_ProcessStatus,     m_ProcessTime,
                                          GetActiveCounters(), m_ErrorCounters,
                                          m_WarningCounters,   m_Report.CalcMemoryUsage()};
    return SCA_TezWriteStatusValue(index, values, buf, size);
}
