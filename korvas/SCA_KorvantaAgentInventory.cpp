// SPDX-License-Identifier: MIT
// The inventory queries of the counter picker: what a computer has to count (processors,
// disks, adapters, processes...) as lists from the service's performance monitor, and the
// yes/no tests of the counter families it offers.
#include <new>
#include <utility>

#include "korvas/SCA_KorvantaAgent.h"
#include "korvas/SCA_KorvantaCtrl.h"
#include "libmor/SCA_Report.h"
#include "perf/SCA_PerfMonCpuList.h"
#include "perf/SCA_PerfMonCpuListEx.h"
#include "perf/SCA_PerfMonIScsiTrgs.h"
#include "perf/SCA_PerfMonLDisks.h"
#include "perf/SCA_PerfMonNicList.h"
#include "perf/SCA_PerfMonPDisks.h"
#include "perf/SCA_PerfMonPrinters.h"
#include "perf/SCA_PerfMonProcList.h"
#include "perf/SCA_PerfMonSmbShares.h"
#include "perf/SCA_PerfMonSqlDbs.h"
#include "perf/SCA_PerfMonSqlSrvs.h"
#include "perf/SCA_PerfMonUsbList.h"
#include "perf/SCA_PerfMonWebSites.h"
#include "perf/SCA_PerfMonitor.h"

namespace {

// The status of an inventory answer that succeeded; otherwise the status is the error code.
constexpr uint32_t kInventoryDone = 1;

// Makes a list of the given kind and fills it for computer. The list goes back even when
// filling failed (empty, with the error as status), so the client always has one to show;
// only a list that cannot be made fails the call, with the report cannotCreate.
template <class List, class... Inputs>
int FillInventory(SCA_PerfMonitor* perfMonitor, const char* cannotCreate, const char* computer,
                  SCA_ConfigObj** list, uint32_t* status, Inputs&&... inputs) {
    auto* made = new (std::nothrow) List();
    if (made == nullptr || !made->IsConstructed()) {
        SCA_Object::Destroy(made);
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "%s", cannotCreate);
        return 0;
    }
    uint32_t error = 0;
    *status = made->Init(perfMonitor, computer, std::forward<Inputs>(inputs)..., &error)
                  ? kInventoryDone
                  : error;
    *list = made;
    return 1;
}

// The collector's yes/no test of a counter family for a computer.
using FeatureTest = int (SCA_PerfMonitor::*)(const char* computer, uint32_t* error);

// supported 1, or 0 with the platform's error code.
int AnswerTest(SCA_PerfMonitor* perfMonitor, FeatureTest test, const char* computer,
               uint32_t* supported, uint32_t* error) {
    uint32_t testError = 0;
    if ((perfMonitor->*test)(computer, &testError) != 0) {
        *supported = 1;
    } else {
        *supported = 0;
        *error = testError;
    }
    return 1;
}

} // namespace

int SCA_KorvantaAgent::PerfMonitorConnect(const char* computer, uint32_t* status) {
    if (!IsLoggedIn()) {
        return 0;
    }
    uint32_t error = 0;
    *status = m_Ctrl->GetPerfMonitor()->Connect(computer, &error) ? kInventoryDone : error;
    return 1;
}

int SCA_KorvantaAgent::PerfMonitorGetTotalMemory(const char* computer, uint64_t* totalBytes,
                                                 uint32_t* status) {
    if (!IsLoggedIn()) {
        return 0;
    }
    uint32_t error = 0;
    uint64_t bytes = 0;
    if (m_Ctrl->GetPerfMonitor()->GetTotalMemory(computer, &bytes, &error)) {
        *totalBytes = bytes;
        *status = kInventoryDone;
    } else {
        *totalBytes = 0;
        *status = error;
    }
    return 1;
}

int SCA_KorvantaAgent::PerfMonitorGetCpuList(const char* computer, SCA_ConfigObj** list,
                                             uint32_t* status) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return FillInventory<SCA_PerfMonCpuList>(
        m_Ctrl->GetPerfMonitor(),
        "SCA_KorvantaAgent::PerfMonitorGetCpuList: cannot create CPU list object", computer, list,
        status);
}

int SCA_KorvantaAgent::PerfMonitorGetCpuListEx(const char* computer, SCA_ConfigObj** list,
                                               uint32_t* status) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return FillInventory<SCA_PerfMonCpuListEx>(
        m_Ctrl->GetPerfMonitor(),
        "SCA_KorvantaAgent::PerfMonitorGetCpuListEx: cannot create CPU list object", computer, list,
        status);
}

int SCA_KorvantaAgent::PerfMonitorGetUsbDevList(const char* computer, SCA_ConfigObj** list,
                                                uint32_t* status) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return FillInventory<SCA_PerfMonUsbList>(
        m_Ctrl->GetPerfMonitor(),
        "SCA_KorvantaAgent::PerfMonitorGetUsbDevList: cannot create USB device list object",
        computer, list, status);
}

int SCA_KorvantaAgent::PerfMonitorGetNicList(const char* computer, SCA_ConfigObj** list,
                                             uint32_t* status) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return FillInventory<SCA_PerfMonNicList>(
        m_Ctrl->GetPerfMonitor(),
        "SCA_KorvantaAgent::PerfMonitorGetNicList: cannot create NIC list object", computer, list,
        status);
}

int SCA_KorvantaAgent::PerfMonitorGetDiskList(const char* computer, SCA_ConfigObj** list,
                                              uint32_t* status) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return FillInventory<SCA_PerfMonLDisks>(
        m_Ctrl->GetPerfMonitor(),
        "SCA_KorvantaAgent::PerfMonitorGetDiskList: cannot create disk list object", computer, list,
        status);
}

int SCA_KorvantaAgent::PerfMonitorGetPDiskList(const char* computer, SCA_ConfigObj** list,
                                               uint32_t* status) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return FillInventory<SCA_PerfMonPDisks>(
        m_Ctrl->GetPerfMonitor(),
        "SCA_KorvantaAgent::PerfMonitorGetPDiskList: cannot create physical disk list object",
        computer, list, status);
}

int SCA_KorvantaAgent::PerfMonitorGetProcessList(const char* computer, SCA_ConfigObj* filter,
                                                 SCA_ConfigObj** list, uint32_t* status) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return FillInventory<SCA_PerfMonProcList>(
        m_Ctrl->GetPerfMonitor(),
        "SCA_KorvantaAgent::PerfMonitorGetProcessList: cannot create process list object", computer,
        list, status, filter);
}

int SCA_KorvantaAgent::PerfMonitorGetSmbShareList(const char* computer, uint32_t kind,
                                                  SCA_ConfigObj* filter, SCA_ConfigObj** list,
                                                  uint32_t* status) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return FillInventory<SCA_PerfMonSmbShares>(
        m_Ctrl->GetPerfMonitor(),
        "SCA_KorvantaAgent::PerfMonitorGetSmbShareList: cannot create share list object", computer,
        list, status, kind, filter);
}

int SCA_KorvantaAgent::PerfMonitorGetSqlInstances(const char* computer, SCA_ConfigObj** list,
                                                  uint32_t* status) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return FillInventory<SCA_PerfMonSqlSrvs>(
        m_Ctrl->GetPerfMonitor(),
        "SCA_KorvantaAgent::PerfMonitorGetSqlInstances: cannot create instance list object",
        computer, list, status);
}

int SCA_KorvantaAgent::PerfMonitorGetSqlDatabases(const char* computer, const char* instance,
                                                  SCA_ConfigObj* filter, SCA_ConfigObj** list,
                                                  uint32_t* status) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return FillInventory<SCA_PerfMonSqlDbs>(
        m_Ctrl->GetPerfMonitor(),
        "SCA_KorvantaAgent::PerfMonitorGetSqlDatabases: cannot create DB list object", computer,
        list, status, instance, filter);
}

int SCA_KorvantaAgent::PerfMonitorGetWebSiteList(const char* computer, SCA_ConfigObj* filter,
                                                 SCA_ConfigObj** list, uint32_t* status) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return FillInventory<SCA_PerfMonWebSites>(
        m_Ctrl->GetPerfMonitor(),
        "SCA_KorvantaAgent::PerfMonitorGetWebSiteList: cannot create site list object", computer,
        list, status, filter);
}

int SCA_KorvantaAgent::PerfMonitorGetISCSITargets(const char* computer, SCA_ConfigObj* filter,
                                                  SCA_ConfigObj** list, uint32_t* status) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return FillInventory<SCA_PerfMonIScsiTrgs>(
        m_Ctrl->GetPerfMonitor(),
        "SCA_KorvantaAgent::PerfMonitorGetISCSITargets: cannot create target list object", computer,
        list, status, filter);
}

int SCA_KorvantaAgent::PerfMonitorGetPrinters(const char* computer, SCA_ConfigObj** list,
                                              uint32_t* status) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return FillInventory<SCA_PerfMonPrinters>(
        m_Ctrl->GetPerfMonitor(),
        "SCA_KorvantaAgent::PerfMonitorGetPrinters: cannot create printer list object", computer,
        list, status);
}

int SCA_KorvantaAgent::PerfMonitorGetCpuFreqStatus(const char* computer, uint32_t* supported,
                                                   uint32_t* error) {
    if (!IsLoggedIn()) {
        return 0;
    }
    SCA_PerfMonCpuListEx cpus;
    uint32_t initError = 0;
    if (cpus.Init(m_Ctrl->GetPerfMonitor(), computer, &initError) && cpus.GetFieldCount() > 0) {
        *supported = 1;
    } else {
        *supported = 0;
        *error = initError;
    }
    return 1;
}

int SCA_KorvantaAgent::PerfMonitorGetTCPv6Status(const char* computer, uint32_t* supported,
                                                 uint32_t* error) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return AnswerTest(m_Ctrl->GetPerfMonitor(), &SCA_PerfMonitor::IsTCPv6Supported, computer,
                      supported, error);
}

int SCA_KorvantaAgent::PerfMonitorGetUDPv6Status(const char* computer, uint32_t* supported,
                                                 uint32_t* error) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return AnswerTest(m_Ctrl->GetPerfMonitor(), &SCA_PerfMonitor::IsUDPv6Supported, computer,
                      supported, error);
}

int SCA_KorvantaAgent::PerfMonitorGetWFPv4Status(const char* computer, uint32_t* supported,
                                                 uint32_t* error) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return AnswerTest(m_Ctrl->GetPerfMonitor(), &SCA_PerfMonitor::IsWFPv4Supported, computer,
                      supported, error);
}

int SCA_KorvantaAgent::PerfMonitorGetWFPv6Status(const char* computer, uint32_t* supported,
                                                 uint32_t* error) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return AnswerTest(m_Ctrl->GetPerfMonitor(), &SCA_PerfMonitor::IsWFPv6Supported, computer,
                      supported, error);
}

int SCA_KorvantaAgent::PerfMonitorGetADStatus(const char* computer, uint32_t* supported,
                                              uint32_t* error) {
    if (!IsLoggedIn()) {
        return 0;
    }
    return AnswerTest(m_Ctrl->GetPerfMonitor(), &SCA_PerfMonitor::IsActiveDirectorySupported,
                      computer, supported, error);
}
