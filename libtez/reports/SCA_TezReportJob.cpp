// SPDX-License-Identifier: MIT
#include "libtez/reports/SCA_TezReportJob.h"

#include <cerrno>
#include <cstdio>

#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_Time.h"
#include "libtez/SCA_TezActionCtrl.h"
#include "libtez/reports/SCA_TezReportWriter.h"
#include "libtez/reports/SCA_TezReporter.h"
#include "model/SCA_TezReport.h"
#include "model/SCA_TezReportIndex.h"

namespace {

constexpr uint32_t kProgressDone = 100;
constexpr uint32_t kTextSize = 256;
constexpr uint32_t kPathSize = 4096;

int Fail(uint32_t* error, uint32_t code) {
    if (error != nullptr) {
        *error = code;
    }
    return 0;
}

} // namespace

SCA_TezReportJob::SCA_TezReportJob(SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                                   SCA_ConfigObj* params, SCA_TezReportIndex* index)
    : m_Config(config), m_UserConfig(userConfig), m_Params(params), m_Index(index) {}

SCA_TezReportJob::~SCA_TezReportJob() {
    Unlock(__FILE__);
}

void SCA_TezReportJob::SetStatusString(const char* text) {
    std::lock_guard<std::mutex> lock(m_Lock);
    SCA_StrnCpy(m_StatusString, text, sizeof(m_StatusString));
}

void SCA_TezReportJob::CopyStatusString(char* buf, uint32_t size) const {
    std::lock_guard<std::mutex> lock(m_Lock);
    SCA_StrnCpy(buf, m_StatusString, size);
}

int SCA_TezReportJob::SaveReports(const std::vector<uint32_t>& reportIds, uint32_t format,
                                  uint32_t option, const char* folder, uint32_t* error) {
    if (IsRunning()) {
        return Fail(error, EBUSY);
    }
    if (reportIds.empty() || folder == nullptr || *folder == '\0' || m_Index == nullptr) {
        return Fail(error, EINVAL);
    }
    if (!SCA_TezIsValidReportFormat(format)) {
        return Fail(error, SCA_TEZ_ERR_FORMAT);
    }
    Unlock(__FILE__); // joins a job that ended
    m_ReportIds = reportIds;
    m_Format = format;
    m_Option = option;
    SCA_StrnCpy(m_Folder, folder, sizeof(m_Folder));
    m_Progress.store(0);
    m_StatusCode.store(0);
    m_Saved.store(0);
    SetStatusString("");
    m_ProcessStatus.store(SCA_PROCESS_RUNNING);
    if (!Lock(error)) {
        m_ProcessStatus.store(SCA_PROCESS_FAILED);
        SetStatusString("Cannot start saving reports");
        return 0;
    }
    return 1;
}

int SCA_TezReportJob::StopAll() {
    Unlock(__FILE__);
    return 1;
}

int SCA_TezReportJob::SaveOne(uint32_t reportId) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    SCA_TezReport stored(m_Config, m_UserConfig, 1);
    if (!m_Index->LoadReport(reportId, &stored)) {
        report(SCA_LEVEL_ERROR, "SCA_TezReportJob::SaveOne: cannot load report - %u", reportId);
        return 0;
    }
    char dateTime[kTextSize];
    SCA_GetDateTimeStringEx(dateTime, sizeof(dateTime), "-", "-");
    char path[kPathSize];
    if (!SCA_TezActionCtrl::BuildReportPath(m_Folder, stored.GetDescription(),
                                            stored.GetMonitorId(), reportId, dateTime, m_Format,
                                            path, sizeof(path))) {
        report(SCA_LEVEL_ERROR, "SCA_TezReportJob::SaveOne: report path too long - %u", reportId);
        return 0;
    }
    SCA_TezReporter reporter(m_Config, m_UserConfig, m_Params);
    uint32_t error = 0;
    if (!reporter.SaveReport(&stored, m_Format, m_Option, path, &error)) {
        report(SCA_LEVEL_ERROR, "SCA_TezReportJob::SaveOne: cannot save report %u - %s (ERR:%u)",
               reportId, path, error);
        return 0;
    }
    return 1;
}

int SCA_TezReportJob::ThreadFunc() {
    const auto count = static_cast<uint32_t>(m_ReportIds.size());
    uint32_t failed = 0;
    char text[kTextSize];
    for (uint32_t i = 0; i < count; ++i) {
        if (GetStopEvent() != nullptr && GetStopEvent()->IsSignaled()) {
            std::snprintf(text, sizeof(text), "Saving reports stopped - %u of %u reports saved",
                          m_Saved.load(), count);
            SetStatusString(text);
            m_StatusCode.store(failed);
            m_ProcessStatus.store(failed == 0 ? SCA_PROCESS_STOPPED : SCA_PROCESS_FAILED);
            return 1;
        }
        std::snprintf(text, sizeof(text), "Saving report %u of %u ...", i + 1, count);
        SetStatusString(text);
        if (SaveOne(m_ReportIds[i])) {
            m_Saved.fetch_add(1);
        } else {
            ++failed;
        }
        m_Progress.store((i + 1) * kProgressDone / count);
    }
    std::snprintf(text, sizeof(text), "%u of %u reports saved", m_Saved.load(), count);
    SetStatusString(text);
    m_StatusCode.store(failed);
    m_ProcessStatus.store(failed == 0 ? SCA_PROCESS_STOPPED : SCA_PROCESS_FAILED);
    return failed == 0 ? 1 : 0;
}
