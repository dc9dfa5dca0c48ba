#include "libtez/SCA_TezProcessMonitor.h"

#include "libmor/SCA_String.h"
#include "libtez/SCA_TezStatusTable.h"

// The ready event is automatic and signalled: the first waiter gets the data, Set hands it on.
SCA_TezProcessMonitor::SCA_TezProcessMonitor(SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                                             SCA_ConfigObj* params, SCA_TezActionCtrl* actionCtrl)
    : m_Config(config), m_UserConfig(userConfig), m_Params(params), m_ActionCtrl(actionCtrl),
      m_ExcludeList("ExcludeList", nullptr), m_Ready(0, 1) {
    if (!m_ExcludeList.IsConstructed() || !m_Ready.IsConstructed() ||
        !m_PerfMonitor.IsConstructed() || !m_Updater.IsConstructed() ||
        !m_ProcessLog.IsConstructed()) {
        SetConstructed(0);
    }
}

void SCA_TezProcessMonitor::SetUpdateCallback(SCA_TezProcessMonitorCallback callback,
                                              void* userData) {
    m_UpdateCallback = callback;
    m_UpdateUserData = userData;
}

void SCA_TezProcessMonitor::SetComputerName(const char* name) {
    SCA_StrnCpy(m_ComputerName, name, sizeof(m_ComputerName));
}

void SCA_TezProcessMonitor::SetDebugLogFileName(const char* name) {
    SCA_StrnCpy(m_DebugLogFileName, name, sizeof(m_DebugLogFileName));
}

uint32_t SCA_TezProcessMonitor::GetStatusCount() {
    return SCA_TEZ_STATUS_ROWS;
}

const char* SCA_TezProcessMonitor::GetStatusName(uint32_t index) {
    return SCA_TezGetStatusName(index);
}

const char* SCA_TezProcessMonitor::GetStatusIcon(uint32_t index) {
    return SCA_TezGetStatusIcon(index);
}

int SCA_TezProcessMonitor::GetStatusValue(uint32_t index, char* buf, uint32_t size) {
    const tagSCA_TEZ_STATUS_VALUES values{
        m_ProcessStatus, m_ProcessTime,  m_ProcessList.GetNumOfCounters(),
        m_ErrorCount,    m_WarningCount, m_ProcessList.CalcMemoryUsage()};
    return SCA_TezWriteStatusValue(index, values, buf, size);
}
