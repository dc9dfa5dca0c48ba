// SPDX-License-Identifier: MIT
#include "libtez/reports/SCA_SrvReportManager.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "libmor/SCA_FileSystem.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_System.h"
#include "libmor/SCA_Time.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "libtez/SCA_TezActionCtrl.h"
#include "libtez/reports/SCA_TezReportWriter.h"
#include "libtez/reports/SCA_TezReporter.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezDeltaReport.h"
#include "model/SCA_TezRepStatus.h"
#include "model/SCA_TezReport.h"
#include "model/SCA_TezReportFormat.h"
#include "model/SCA_TezReportIndex.h"
#include "net/SCA_KorvantaLogin.h"

namespace {

constexpr uint32_t kFullProgress = 100;
constexpr uint32_t kPathSize = 4096;
constexpr uint32_t kCompared = 2;
// Reports read from the service keep their counters' samples.
constexpr uint32_t kReportWithSamples = 1;
constexpr const char* kNoDeleteParam = "no_delete_reports";

void Report(const char* text) {
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "%s", text);
}

// A status text; SetStatusText and SetFailureText cut it to size on a character boundary.
__attribute__((format(printf, 1, 2))) std::string Format(const char* format, ...) {
    char text[4 * SCA_SrvReportManager::kTextSize];
    va_list arguments;
    va_start(arguments, format);
    const int length = std::vsnprintf(text, sizeof(text), format, arguments);
    va_end(arguments);
    return length >= 0 ? std::string(text) : std::string();
}

} // namespace

SCA_SrvReportManager::SCA_SrvReportManager(SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                                           SCA_ConfigObj* params, SCA_KorvantaInterface* client)
    : m_Config(config), m_UserConfig(userConfig), m_Params(params) {
    if (client != nullptr) {
        SCA_StrnCpy(m_Host, client->GetName(), sizeof(m_Host));
        m_Port = client->GetPort();
        SCA_StrnCpy(m_User, client->GetLoginUser(), sizeof(m_User));
        SCA_StrnCpy(m_Password, client->GetLoginPassword(), sizeof(m_Password));
        m_Connection.reset(client->NewClient());
    }
}

SCA_SrvReportManager::~SCA_SrvReportManager() {
    Unlock(__FILE__);
}

// --- starting and stopping ---------------------------------------------------------------------

int SCA_SrvReportManager::TakeReports(SCA_List<SCA_TezReportInfo*>* reports,
                                      std::vector<SCA_TezReportInfo>* out) {
    out->clear();
    if (reports == nullptr) {
        return 0;
    }
    for (auto* node = reports->GetHead(); node != nullptr; node = node->GetNext()) {
        if (node->GetItem() != nullptr) {
            out->push_back(*node->GetItem());
        }
    }
    return out->empty() ? 0 : 1;
}

int SCA_SrvReportManager::ExportReports(SCA_List<SCA_TezReportInfo*>* reports, uint32_t format,
                                        uint32_t option, const char* folder) {
    if (IsRunning() || !TakeReports(reports, &m_Reports) || folder == nullptr || *folder == '\0' ||
        !SCA_TezIsValidReportFormat(format)) {
        Report("SCA_SrvReportManager::ExportReports: no reports, folder or valid format");
        return 0;
    }
    m_Format = format;
    m_Option = option;
    m_Folder = folder;
    return Start(Operation::Export, "SCA_SrvReportManager::ExportReports");
}

int SCA_SrvReportManager::CompareReports(SCA_List<SCA_TezReportInfo*>* reports,
                                         SCA_TezDeltaReport* delta) {
    if (IsRunning() || !TakeReports(reports, &m_Reports) || m_Reports.size() != kCompared ||
        delta == nullptr) {
        Report("SCA_SrvReportManager::CompareReports: two reports and a comparison report are "
               "needed");
        return 0;
    }
    m_Delta = delta;
    return Start(Operation::Compare, "SCA_SrvReportManager::CompareReports");
}

int SCA_SrvReportManager::DeleteReports(SCA_List<SCA_TezReportInfo*>* reports) {
    if (IsDeleteForbidden(m_Params)) {
        Report("SCA_SrvReportManager::DeleteReports: deleting reports is turned off "
               "(-no_delete_reports)");
        return 0;
    }
    if (IsRunning() || !TakeReports(reports, &m_Reports)) {
        Report("SCA_SrvReportManager::DeleteReports: no reports to delete");
        return 0;
    }
    return Start(Operation::Delete, "SCA_SrvReportManager::DeleteReports");
}

int SCA_SrvReportManager::ImportReports(SCA_List<uint32_t>* files) {
    m_Files.clear();
    for (auto* node = files != nullptr ? files->GetHead() : nullptr; node != nullptr;
         node = node->GetNext()) {
        if (node->GetName() != nullptr && *node->GetName() != '\0') {
            m_Files.emplace_back(node->GetName());
        }
    }
    if (IsRunning() || m_Files.empty()) {
        Report("SCA_SrvReportManager::ImportReports: no report files");
        return 0;
    }
    return Start(Operation::Import, "SCA_SrvReportManager::ImportReports");
}

int SCA_SrvReportManager::Start(Operation operation, const char* caller) {
    if (m_Connection == nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "%s: no client object for the worker's connection", caller);
        return 0;
    }
    Unlock(__FILE__); // joins a run that ended
    m_Operation = operation;
    m_Progress.store(0);
    m_StatusCode.store(0);
    m_Done.store(0);
    m_Skipped.store(0);
    m_Stopped.store(false);
    m_StartTime.store(SCA_GetAbsTime());
    SetFailureText("");
    SetStatusText("Connecting ...");
    m_ProcessStatus.store(SCA_PROCESS_RUNNING);
    uint32_t error = 0;
    if (!Lock(&error)) {
        Finish(false, "Cannot start the report worker");
        return 0;
    }
    return 1;
}

int SCA_SrvReportManager::StopAll() {
    Unlock(__FILE__);
    return 1;
}

int SCA_SrvReportManager::IsStopRequested() const {
    return GetStopEvent() != nullptr && GetStopEvent()->IsSignaled() ? 1 : 0;
}

int SCA_SrvReportManager::IsDeleteForbidden(SCA_ConfigObj* params) {
    SCA_Field* field = nullptr;
    return params != nullptr && params->GetFieldByName(kNoDeleteParam, &field) && field != nullptr
               ? 1
               : 0;
}

// --- the progress interface ---------------------------------------------------------------------

const char* SCA_SrvReportManager::GetStatusString() {
    std::lock_guard<std::mutex> hold(m_TextLock);
    std::memcpy(m_StatusShown, m_StatusString, sizeof(m_StatusShown));
    return m_StatusShown;
}

const char* SCA_SrvReportManager::GetStatusStringEx() {
    std::lock_guard<std::mutex> hold(m_TextLock);
    std::memcpy(m_FailureShown, m_FailureString, sizeof(m_FailureShown));
    return m_FailureShown;
}

uint32_t SCA_SrvReportManager::GetRepStatus() {
    switch (GetProcessStatus()) {
    case SCA_PROCESS_STOPPED:
        return SCA_PROCESS_STOPPED;
    case SCA_PROCESS_IDLE:
        return SCA_REP_STATUS_MESSAGE;
    case SCA_PROCESS_RUNNING:
        return SCA_REP_STATUS_WARNING;
    default:
        return SCA_REP_STATUS_ERROR;
    }
}

void SCA_SrvReportManager::SetStatusText(const char* text) {
    std::lock_guard<std::mutex> hold(m_TextLock);
    SCA_StrnCpy(m_StatusString, text, sizeof(m_StatusString));
}

std::string SCA_SrvReportManager::FailureText() const {
    std::lock_guard<std::mutex> hold(m_TextLock);
    return m_FailureString;
}

void SCA_SrvReportManager::SetFailureText(const char* text) {
    std::lock_guard<std::mutex> hold(m_TextLock);
    SCA_StrnCpy(m_FailureString, text, sizeof(m_FailureString));
}

int SCA_SrvReportManager::Finish(bool ok, const char* text) {
    SetStatusText(text);
    m_ProcessStatus.store(ok ? SCA_PROCESS_STOPPED : SCA_PROCESS_FAILED);
    return ok ? 1 : 0;
}

// --- the thread ---------------------------------------------------------------------------------

SCA_SrvReportManager::Words SCA_SrvReportManager::WordsOf(Operation operation) {
    switch (operation) {
    case Operation::Export:
        return {"Exporting", "exported"};
    case Operation::Compare:
        return {"Reading", "read"};
    case Operation::Delete:
        return {"Deleting", "deleted"};
    case Operation::Import:
        return {"Importing", "imported"};
    default:
        return {"Handling", "handled"};
    }
}

int SCA_SrvReportManager::ThreadFunc() {
    if (!Connect()) {
        return 0;
    }
    return m_Operation == Operation::Compare ? RunCompare() : RunItems();
}

int SCA_SrvReportManager::Connect() {
    if (m_LoggedIn) {
        return 1;
    }
    std::string text = Format("Connecting to %s:%u ...", m_Host, static_cast<unsigned>(m_Port));
    SetStatusText(text.c_str());
    uint32_t error = 0;
    if (!m_Connection->Connect(m_Host, m_Port, kConnectTimeoutMs, &error)) {
        char reason[kTextSize];
        SCA_GetErrorDescr(error, reason, sizeof(reason));
        text =
            Format("Cannot connect to %s:%u - %s", m_Host, static_cast<unsigned>(m_Port), reason);
        return Finish(false, text.c_str());
    }
    m_Connection->SetReplyTimeout(kCallTimeoutMs);
    uint32_t status = 0;
    if (!m_Connection->Login(m_User, m_Password, &status) || status != SCA_KORVANTA_LOGGED_IN) {
        text =
            Format("Cannot log in to %s:%u as %s", m_Host, static_cast<unsigned>(m_Port), m_User);
        return Finish(false, text.c_str());
    }
    m_LoggedIn = true;
    if (IsStopRequested()) {
        m_Stopped.store(true);
        return Finish(false, "Stopped");
    }
    return 1;
}

int SCA_SrvReportManager::RunItems() {
    const Words words = WordsOf(m_Operation);
    const size_t count = m_Operation == Operation::Import ? m_Files.size() : m_Reports.size();
    std::string text;
    uint32_t failed = 0;
    for (size_t i = 0; i < count; ++i) {
        if (IsStopRequested()) {
            m_Stopped.store(true);
            text = Format("Stopped - %u of %zu reports %s", m_Done.load(), count, words.Done);
            m_StatusCode.store(failed);
            return Finish(false, text.c_str());
        }
        text = Format("%s report %zu of %zu ...", words.Doing, i + 1, count);
        SetStatusText(text.c_str());
        const Outcome outcome = HandleItem(i);
        if (outcome == Outcome::Done) {
            m_Done.fetch_add(1);
        } else if (outcome == Outcome::Skipped) {
            m_Skipped.fetch_add(1);
        } else if (m_Connection->LostConnection()) {
            // Without the connection none of the rest can be handled either.
            failed += static_cast<uint32_t>(count - i);
            break;
        } else {
            ++failed;
        }
        m_Progress.store(static_cast<uint32_t>((i + 1) * kFullProgress / count));
    }
    m_StatusCode.store(failed);
    text = Format("%u of %zu reports %s", m_Done.load(), count, words.Done);
    if (m_Skipped.load() > 0) {
        text += Format(", %u already there", m_Skipped.load());
    }
    if (failed > 0) {
        text += " - " + FailureText();
    }
    return Finish(failed == 0, text.c_str());
}

SCA_SrvReportManager::Outcome SCA_SrvReportManager::HandleItem(size_t index) {
    switch (m_Operation) {
    case Operation::Export:
        return ExportOne(m_Reports[index]);
    case Operation::Delete:
        return DeleteOne(m_Reports[index]);
    case Operation::Import:
        return ImportOne(m_Files[index]);
    default:
        return Outcome::Failed;
    }
}

void SCA_SrvReportManager::CallFailed(const char* what, uint32_t reportId) {
    std::string text;
    if (m_Connection->LostConnection()) {
        text = Format("the connection to %s:%u was lost", m_Host, static_cast<unsigned>(m_Port));
    } else {
        text = Format("cannot %s report %u", what, reportId);
    }
    SetFailureText(text.c_str());
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "SCA_SrvReportManager: %s",
                                              text.c_str());
}

SCA_SrvReportManager::Outcome SCA_SrvReportManager::ExportOne(const SCA_TezReportInfo& info) {
    SCA_TezReport report(m_Config, m_UserConfig, kReportWithSamples);
    if (!m_Connection->GetReport(info.GetReportId(), &report)) {
        CallFailed("read", info.GetReportId());
        return Outcome::Failed;
    }
    char dateTime[kTextSize];
    SCA_GetDateTimeStringEx(dateTime, sizeof(dateTime), "-", "-");
    const char* name =
        report.GetDescription()[0] != '\0' ? report.GetDescription() : report.GetProfileName();
    char path[kPathSize];
    uint32_t error = 0;
    SCA_TezReporter reporter(m_Config, m_UserConfig, m_Params);
    if (!SCA_TezActionCtrl::BuildReportPath(m_Folder.c_str(), name, report.GetMonitorId(),
                                            info.GetReportId(), dateTime, m_Format, path,
                                            sizeof(path))) {
        error = ENAMETOOLONG;
        path[0] = '\0';
    }
    if (error != 0 || !reporter.SaveReport(&report, m_Format, m_Option, path, &error)) {
        char reason[kTextSize];
        SCA_GetErrorDescr(error, reason, sizeof(reason));
        const std::string text = Format("cannot write report %u - %s", info.GetReportId(), reason);
        SetFailureText(text.c_str());
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_SrvReportManager::ExportReports: %s (%s)", text.c_str(), path);
        return Outcome::Failed;
    }
    return Outcome::Done;
}

SCA_SrvReportManager::Outcome SCA_SrvReportManager::DeleteOne(const SCA_TezReportInfo& info) {
    // The service answers a delete of a report it no longer has as done: ask first, so that a
    // report deleted meanwhile is told, not counted.
    uint32_t exists = 0;
    if (!m_Connection->IsReportExists(info, &exists)) {
        CallFailed("look up", info.GetReportId());
        return Outcome::Failed;
    }
    if (!exists) {
        const std::string text =
            Format("report %u is no longer on the service", info.GetReportId());
        SetFailureText(text.c_str());
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_SrvReportManager::DeleteReports: %s", text.c_str());
        return Outcome::Failed;
    }
    if (!m_Connection->DeleteReport(info.GetReportId())) {
        CallFailed("delete", info.GetReportId());
        return Outcome::Failed;
    }
    return Outcome::Done;
}

SCA_SrvReportManager::Outcome SCA_SrvReportManager::ImportOne(const std::string& path) {
    SCA_TezReport report(m_Config, m_UserConfig, kReportWithSamples);
    uint32_t error = 0;
    std::string text;
    if (!ReadReportFile(path.c_str(), &report, &error)) {
        const char* slash = std::strrchr(path.c_str(), '/');
        text = Format("%s is not a report file that can be read (ERR:%u)",
                      slash != nullptr ? slash + 1 : path.c_str(), error);
        SetFailureText(text.c_str());
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_SrvReportManager::ImportReports: cannot read %s (ERR:%u)",
            path.c_str(), error);
        return Outcome::Failed;
    }
    uint32_t exists = 0;
    if (!m_Connection->IsReportExists(report, &exists)) {
        CallFailed("look up", report.GetReportId());
        return Outcome::Failed;
    }
    if (exists) {
        return Outcome::Skipped;
    }
    uint32_t reportId = 0;
    if (!m_Connection->AddReport(&report, &reportId)) {
        CallFailed("add", report.GetReportId());
        return Outcome::Failed;
    }
    return Outcome::Done;
}

int SCA_SrvReportManager::RunCompare() {
    SCA_TezReport first(m_Config, m_UserConfig, kReportWithSamples);
    SCA_TezReport second(m_Config, m_UserConfig, kReportWithSamples);
    SCA_TezReport* reports[kCompared] = {&first, &second};
    std::string text;
    for (uint32_t i = 0; i < kCompared; ++i) {
        if (IsStopRequested()) {
            m_Stopped.store(true);
            return Finish(false, "Stopped - the reports were not compared");
        }
        text = Format("Reading report %u of %u ...", i + 1, kCompared);
        SetStatusText(text.c_str());
        if (!m_Connection->GetReport(m_Reports[i].GetReportId(), reports[i])) {
            CallFailed("read", m_Reports[i].GetReportId());
            m_StatusCode.store(1);
            text = "The reports were not compared - " + FailureText();
            return Finish(false, text.c_str());
        }
        m_Progress.store((i + 1) * kFullProgress / (kCompared + 1));
    }
    SetStatusText("Comparing ...");
    const uint32_t major = m_UserConfig != nullptr ? m_UserConfig->GetComparisonMajorChange() : 0;
    const uint32_t minor = m_UserConfig != nullptr ? m_UserConfig->GetComparisonMinorChange() : 0;
    if (!m_Delta->Compare(&first, &second, major, minor)) {
        m_StatusCode.store(1);
        return Finish(false, "The reports could not be compared");
    }
    m_Done.store(1);
    m_Progress.store(kFullProgress);
    return Finish(true, "Reports compared");
}

// --- report files -------------------------------------------------------------------------------

int SCA_SrvReportManager::ReadReportFile(const char* path, SCA_TezReport* report, uint32_t* error) {
    std::string bytes;
    uint32_t code = 0;
    if (path == nullptr || !SCA_ReadFile(path, &bytes, kMaxReportFileSize, &code)) {
        if (error != nullptr) {
            *error = path == nullptr ? EINVAL : code;
        }
        return 0;
    }
    return ReadReportBytes(bytes.data(), bytes.size(), report, error);
}

int SCA_SrvReportManager::ReadReportBytes(const char* data, size_t size, SCA_TezReport* report,
                                          uint32_t* error) {
    uint32_t code = 0;
    uint32_t fileType = 0;
    SCA_ConfigObj root(SCA_TEZ_REPORT_ROOT, nullptr);
    if (report == nullptr || size > kMaxReportFileSize) {
        code = report == nullptr ? EINVAL : EFBIG;
    } else if (!root.LoadBytes(data, size, &code, &fileType)) {
        // code says why
    } else if (fileType != SCA_TEZ_REPORT_FILE_TYPE ||
               std::strcmp(root.GetName(), SCA_TEZ_REPORT_ROOT) != 0 ||
               !report->Deserialize(&root)) {
        code = SCA_REPORT_ERROR_NOT_REPORT;
    } else {
        return 1;
    }
    if (error != nullptr) {
        *error = code;
    }
    return 0;
}
