// SPDX-License-Identifier: MIT
// The stored monitoring reports (the report index guards itself with its own lock) and the
// join of a central network server.
#include <new>

#include "korvas/SCA_KorvantaCtrl.h"
#include "libkvn/SCA_KorvantaNetInterface.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Report.h"
#include "model/SCA_TezReport.h"
#include "model/SCA_TezReportInfo.h"

namespace {

// The time a network server has to answer the connection.
constexpr uint32_t kNetworkConnectMs = 1000;
constexpr uint32_t kTextSize = 256;
// Reports read from clients keep their counters' samples.
constexpr uint32_t kReportWithSamples = 1;

} // namespace

int SCA_KorvantaCtrl::GetReportIndexObj(SCA_ConfigObj** object) {
    auto* index = new (std::nothrow) SCA_ConfigObj(SCA_TEZ_REPORT_INDEX_ROOT, nullptr);
    if (index == nullptr || !index->IsConstructed()) {
        SCA_Object::Destroy(index);
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR,
            "SCA_KorvantaCtrl::GetReportIndexObj: cannot create report index config object");
        return 0;
    }
    m_ReportIndex.Lock();
    const int done = m_ReportIndex.Serialize(index);
    m_ReportIndex.Unlock();
    if (!done) {
        SCA_Object::Destroy(index);
        return 0;
    }
    *object = index;
    return 1;
}

int SCA_KorvantaCtrl::IsReportExists(SCA_ConfigObj* info, uint32_t* exists) {
    SCA_TezReportInfo read;
    if (info == nullptr || !read.Deserialize(info)) {
        return 0;
    }
    *exists = m_ReportIndex.IsReportExists(read) ? 1 : 0;
    return 1;
}

int SCA_KorvantaCtrl::AddReportObj(SCA_ConfigObj* object, uint32_t* reportId) {
    SCA_TezReport report(&m_Config, &m_UserConfig, kReportWithSamples);
    if (object == nullptr || !report.IsConstructed() || !report.Deserialize(object)) {
        return 0;
    }
    uint32_t error = 0;
    m_ReportIndex.Lock();
    const int added =
        m_ReportIndex.AddReport(&report, report.GetMonitorMode(), SCA_TEZ_REPORT_SAVE_FILE,
                                m_UserConfig.GetMaxDatabaseReports(), &error) &&
        m_ReportIndex.Save();
    m_ReportIndex.Unlock();
    if (!added) {
        return 0;
    }
    *reportId = report.GetReportId();
    return 1;
}

int SCA_KorvantaCtrl::GetReportObj(uint32_t reportId, SCA_ConfigObj** object) {
    auto log = SCA_GetReportFunction(__FILE__, __LINE__);
    SCA_TezReport report(&m_Config, &m_UserConfig, kReportWithSamples);
    if (!report.IsConstructed() || !m_ReportIndex.LoadReport(reportId, &report)) {
        log(SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::GetReportObj: cannot load report - %u", reportId);
        return 0;
    }
    auto* result = new (std::nothrow) SCA_ConfigObj(SCA_TEZ_REPORT_ROOT, nullptr);
    if (result == nullptr || !result->IsConstructed()) {
        SCA_Object::Destroy(result);
        log(SCA_LEVEL_ERROR,
            "SCA_KorvantaCtrl::GetReportIndexObj: cannot create report config object");
        return 0;
    }
    if (!report.Serialize(result)) {
        SCA_Object::Destroy(result);
        return 0;
    }
    *object = result;
    return 1;
}

int SCA_KorvantaCtrl::DeleteReport(uint32_t reportId) {
    m_ReportIndex.Lock();
    m_ReportIndex.DeleteReport(reportId);
    const int saved = m_ReportIndex.Save();
    m_ReportIndex.Unlock();
    return saved;
}

int SCA_KorvantaCtrl::DeleteAllReports() {
    m_ReportIndex.Lock();
    m_ReportIndex.DeleteAllReports();
    const int saved = m_ReportIndex.Save();
    m_ReportIndex.Unlock();
    return saved;
}

int SCA_KorvantaCtrl::DoConnect(const char* host, SCA_KorvantaNetInterface** netInterface,
                                int reportFailures) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    const uint16_t port = m_NetworkPort;
    auto* connection = new (std::nothrow) SCA_KorvantaNetInterface();
    uint32_t error = 0;
    if (connection == nullptr || host == nullptr ||
        !connection->Connect(host, port, kNetworkConnectMs, &error)) {
        if (reportFailures) {
            report(SCA_LEVEL_ERROR,
                   "SCA_KorvantaDevCtrl::DoConnect: Cannot connect to Korvanta Network @ %s:%u",
                   host != nullptr ? host : "", static_cast<unsigned>(port));
        }
        delete connection;
        return 0;
    }
    uint32_t productType = 0;
    char version[kTextSize] = "";
    char serverHost[kTextSize] = "";
    if (!connection->GetServerInfo(&productType, version, serverHost)) {
        if (reportFailures) {
            report(SCA_LEVEL_ERROR,
                   "SCA_KorvantaDevCtrl::DoConnect: Cannot get Korvanta Network info");
        }
        delete connection;
        return 0;
    }
    report(SCA_LEVEL_INFO, "Connected To: Korvanta Network v%s @ %s", version, serverHost);
    *netInterface = connection;
    return 1;
}
