// SPDX-License-Identifier: MIT
// The folders clients name: where report actions and periodic saves write. Each lies below the
// service's reports folder; a change that names another is refused when it is made, so that no
// logged-in client can make the service create folders or write files anywhere else.
#include <string>

#include "korvas/SCA_KorvantaCtrl.h"
#include "libmor/SCA_FileName.h"
#include "libmor/SCA_Report.h"
#include "model/SCA_TezActionType.h"
#include "model/SCA_TezCondList.h"
#include "model/SCA_TezProcessRules.h"
#include "model/SCA_TezProfile.h"
#include "model/SCA_TezRuleList.h"

namespace {

constexpr uint32_t kPathSize = 4096;

} // namespace

int SCA_KorvantaCtrl::CheckReportFolder(const char* folder, const char* operation) {
    char resolved[kPathSize];
    if (SCA_ResolveFolderBelow(m_ReportIndex.GetReportsDir(), folder, resolved, sizeof(resolved))) {
        return 1;
    }
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                              "%s: the report folder must lie below %s - %s",
                                              operation, m_ReportIndex.GetReportsDir(), folder);
    return 0;
}

template <typename List>
int SCA_KorvantaCtrl::CheckActionFolders(const List& conds, const char* operation) {
    for (auto* node = conds.GetHead(); node != nullptr; node = node->GetNext()) {
        const auto* cond = node->GetItem();
        if (SCA_TezIsReportAction(cond->GetActionType()) &&
            !CheckReportFolder(cond->GetActionValue(), operation)) {
            return 0;
        }
    }
    return 1;
}

int SCA_KorvantaCtrl::CheckCounterFolders(const SCA_TezCounterList& counters,
                                          const char* operation) {
    for (auto* node = counters.GetHead(); node != nullptr; node = node->GetNext()) {
        if (!CheckActionFolders(*node->GetItem()->GetCondList(), operation)) {
            return 0;
        }
    }
    return 1;
}

int SCA_KorvantaCtrl::CheckMonitorFolders(const SCA_SrvMonitor& monitor, const char* operation) {
    return CheckReportFolder(monitor.GetSaveReportsDir(), operation) &&
                   CheckCounterFolders(*monitor.GetProfile()->GetCounterList(), operation)
               ? 1
               : 0;
}

int SCA_KorvantaCtrl::CheckUserConfigFolders(SCA_TezConfigUser* config, const char* operation) {
    // The reports folder itself is the administrator's, but stays in the service's own folder.
    char resolved[kPathSize];
    if (!SCA_ResolveFolderBelow(m_Config.GetConfigFolder(), config->GetReportsDir(), resolved,
                                sizeof(resolved))) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "%s: the reports folder must lie below %s - %s", operation,
            m_Config.GetConfigFolder(), config->GetReportsDir());
        return 0;
    }
    if (!CheckReportFolder(config->GetSaveReportsDir(), operation) ||
        !CheckActionFolders(*config->GetRules(), operation) ||
        !CheckActionFolders(*config->GetProcRules(), operation)) {
        return 0;
    }
    for (auto* node = config->GetProfiles()->GetHead(); node != nullptr; node = node->GetNext()) {
        if (!CheckCounterFolders(*node->GetItem()->GetCounterList(), operation)) {
            return 0;
        }
    }
    return 1;
}

template int SCA_KorvantaCtrl::CheckActionFolders(const SCA_TezCondList&, const char*);
template int SCA_KorvantaCtrl::CheckActionFolders(const SCA_TezRuleList&, const char*);
template int SCA_KorvantaCtrl::CheckActionFolders(const SCA_TezProcessRules&, const char*);
