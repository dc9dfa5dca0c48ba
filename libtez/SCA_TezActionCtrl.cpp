// SPDX-License-Identifier: MIT
#include "libtez/SCA_TezActionCtrl.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "libmor/SCA_ErrorText.h"
#include "libmor/SCA_FileName.h"
#include "libmor/SCA_FileSystem.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_Time.h"
#include "libmor/mail/SCA_SmtpClient.h"
#include "model/SCA_TezActionType.h"
#include "model/SCA_TezCond.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezReport.h"
#include "model/SCA_TezReportFormat.h"

namespace {

// Room the queue's semaphore counts; the queue itself has no limit.
constexpr uint32_t kQueueCapacity = 256;

} // namespace

SCA_TezActionCtrl::SCA_TezActionCtrl(SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                                     SCA_ConfigObj* params, SCA_TezReportIndex* reportIndex,
                                     int mode)
    : m_Config(config), m_UserConfig(userConfig), m_Params(params), m_ReportIndex(reportIndex),
      m_Mode(mode), m_Actions(kQueueCapacity) {
    if (!m_Actions.IsConstructed()) {
        SetConstructed(0);
    }
}

SCA_TezActionCtrl::~SCA_TezActionCtrl() {
    // The worker must be gone before the queue and the sound actions it uses.
    Unlock(__FILE__);
    m_Actions.Drain([](SCA_TezAction* action) { SCA_Object::Destroy(action); });
}

namespace {

constexpr uint32_t kTextSize = 256;
constexpr uint32_t kPathSize = 4096;

} // namespace

void SCA_TezActionCtrl::SetReportProvider(SCA_TezReportProvider provider, void* userData) {
    m_Provider = provider;
    m_ProviderData = userData;
}

int SCA_TezActionCtrl::SerializeSoundActions(uint64_t since, SCA_ConfigObj* object) {
    std::lock_guard<std::mutex> lock(m_SoundLock);
    return m_SoundActions.Serialize(since, object);
}

uint64_t SCA_TezActionCtrl::GetLastSoundActionTime() {
    return m_LastSoundTime.load();
}

int SCA_TezActionCtrl::StartProcess() {
    uint32_t error = 0;
    if (!Lock(&error)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_TezActionCtrl::StartProcess: cannot start worker (ERR:%u) - %s",
            error, SCA_ErrorText(error).Get());
        m_ProcessStatus = SCA_PROCESS_FAILED;
        return 0;
    }
    m_ProcessStatus = SCA_PROCESS_RUNNING;
    return 1;
}

int SCA_TezActionCtrl::StopAll() {
    Unlock(__FILE__);
    m_ProcessStatus = SCA_PROCESS_STOPPED;
    return 1;
}

int SCA_TezActionCtrl::Unlock(const char* sourceFile) {
    // The worker sleeps until an action comes: the stop event goes first, then a wake, so that
    // the worker sees the stop whether it is waiting or about to wait.
    if (SCA_Event* stop = GetStopEvent()) {
        stop->Set();
    }
    m_Actions.Wake();
    return SCA_ThreadObj::Unlock(sourceFile);
}

int SCA_TezActionCtrl::ThreadFunc() {
    while (GetStopEvent()->Wait(0) == SCA_WAIT_TIMEOUT) {
        m_Actions.WaitAndTakeAll(SCA_INFINITE, [this](SCA_TezAction* action) {
            DoAction(action);
            SCA_Object::Destroy(action);
        });
    }
    return 0;
}

int SCA_TezActionCtrl::DoAction(SCA_TezAction* action) {
    if (action == nullptr) {
        return 0;
    }
    const uint32_t type = action->GetActionType();
    if (type == SCA_ACTION_PLAY_SOUND) {
        return PlaySound(action);
    }
    if (type == SCA_ACTION_SEND_MAIL) {
        return SendMail(action);
    }
    if (SCA_TezIsReportAction(type)) {
        return SaveReport(action);
    }
    return 1;
}

int SCA_TezActionCtrl::PlaySound(SCA_TezAction* action) {
    const SCA_TezCond* cond = action->GetCond();
    auto* sound = new (std::nothrow) SCA_SoundAction();
    if (sound == nullptr) {
        return 0;
    }
    sound->SetActionTime(action->GetActionTime());
    sound->SetSoundName(cond != nullptr ? cond->GetActionValue() : "");
    std::lock_guard<std::mutex> lock(m_SoundLock);
    sound->SetActionId(m_NextSoundId++);
    if (!m_SoundActions.AddAction(sound)) {
        SCA_Object::Destroy(sound);
        return 0;
    }
    // Clients that poll seldom miss the oldest sounds rather than the service growing without end.
    while (m_SoundActions.Count() > SCA_TEZ_MAX_SOUND_ACTIONS) {
        m_SoundActions.DestroyHeadItem();
    }
    m_LastSoundTime.store(m_SoundActions.GetLastActionTime());
    return 1;
}

namespace {

// "Korvanta <monitor> <monitor id>-<action id> " (no "-<action id>" for a periodic save), the
// monitor name made file-name safe.
std::string ReportNamePrefix(const char* monitorName, uint32_t monitorId, uint32_t actionId) {
    char name[kTextSize];
    SCA_StrnCpy(name, monitorName, sizeof(name));
    SCA_NormalizeFileName(name, sizeof(name));
    std::string prefix = std::string("Korvanta ") + name + " " + std::to_string(monitorId);
    if (actionId != SCA_TEZ_PERIODIC_REPORT_ACTION) {
        prefix += "-" + std::to_string(actionId);
    }
    return prefix + " ";
}

// The date-time of a report's name: "YYYY-MM-DD hh-mm-ss", which sorts as time does.
bool IsReportStamp(std::string_view text) {
    constexpr std::string_view kShape = "0000-00-00 00-00-00";
    if (text.size() != kShape.size()) {
        return false;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (kShape[i] == '0' ? !digit : text[i] != kShape[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

int SCA_TezActionCtrl::BuildReportPath(const char* folder, const char* monitorName,
                                       uint32_t monitorId, uint32_t actionId, const char* dateTime,
                                       uint32_t format, char* path, uint32_t size) {
    const tagSCA_TEZ_REPORT_FORMAT* entry = SCA_TezGetReportFormat(format);
    if (folder == nullptr || *folder == '\0' || entry == nullptr || path == nullptr) {
        return 0;
    }
    char stamp[kTextSize];
    SCA_StrnCpy(stamp, dateTime, sizeof(stamp));
    SCA_NormalizeFileName(stamp, sizeof(stamp));
    const size_t folderLength = std::strlen(folder);
    const char* separator = folder[folderLength - 1] == '/' ? "" : "/";
    const std::string prefix = ReportNamePrefix(monitorName, monitorId, actionId);
    const int written = std::snprintf(path, size, "%s%s%s%s.%s", folder, separator, prefix.c_str(),
                                      stamp, entry->Extension);
    return written > 0 && static_cast<uint32_t>(written) < size ? 1 : 0;
}

void SCA_TezActionCtrl::PruneReports(const char* folder, const char* monitorName,
                                     uint32_t monitorId, uint32_t actionId, uint32_t format,
                                     uint32_t keep) {
    const tagSCA_TEZ_REPORT_FORMAT* entry = SCA_TezGetReportFormat(format);
    if (entry == nullptr || keep == 0) {
        return;
    }
    const std::string prefix = ReportNamePrefix(monitorName, monitorId, actionId);
    const std::string suffix = std::string(".") + entry->Extension;
    std::vector<std::string> names;
    std::error_code failure;
    for (const auto& item : std::filesystem::directory_iterator(folder, failure)) {
        const std::string name = item.path().filename().string();
        if (name.size() > prefix.size() + suffix.size() && name.starts_with(prefix) &&
            name.ends_with(suffix) &&
            IsReportStamp(std::string_view(name).substr(prefix.size(), name.size() - prefix.size() -
                                                                           suffix.size())) &&
            item.is_regular_file(failure)) {
            names.push_back(name);
        }
    }
    if (names.size() <= keep) {
        return;
    }
    // Newest first: the names differ only in their date-time.
    std::sort(names.begin(), names.end(), std::greater<>());
    for (size_t i = keep; i < names.size(); ++i) {
        const std::string path = std::string(folder) + "/" + names[i];
        uint32_t error = 0;
        if (!SCA_DeleteFile(path.c_str(), &error)) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "SCA_TezActionCtrl::PruneReports: cannot delete %s - %u",
                path.c_str(), error);
        }
    }
}

int SCA_TezActionCtrl::SaveReport(SCA_TezAction* action) {
    const auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    // The folder a condition names lies below the reports folder; one that leads elsewhere
    // (stored before such folders were refused) is never created nor written.
    const auto config = m_UserConfig != nullptr ? m_UserConfig->GetSnapshot() : nullptr;
    char folder[kPathSize] = "";
    if (config == nullptr ||
        !SCA_ResolveFolderBelow(config->Settings.ReportsDir, action->GetReportDir(), folder,
                                sizeof(folder))) {
        report(SCA_LEVEL_ERROR,
               "SCA_TezActionCtrl::SaveReport: the report folder must lie below the reports "
               "folder - %s",
               action->GetReportDir());
        return 0;
    }
    SCA_TezReport fetched(m_Config, m_UserConfig, 1);
    SCA_TezReport* subject = action->GetReport();
    if (m_Provider != nullptr && m_Provider(action, &fetched, m_ProviderData)) {
        subject = &fetched;
    }
    if (subject == nullptr) {
        report(SCA_LEVEL_ERROR, "SCA_TezActionCtrl::SaveReport: no report of monitor %s",
               action->GetMonitorName());
        return 0;
    }
    char dateTime[kTextSize];
    SCA_GetDateTimeStringEx(dateTime, sizeof(dateTime), "-", "-");
    char path[kPathSize];
    if (!BuildReportPath(folder, action->GetMonitorName(), subject->GetMonitorId(),
                         action->GetActionId(), dateTime, action->GetReportFormat(), path,
                         sizeof(path))) {
        report(SCA_LEVEL_ERROR,
               "SCA_TezActionCtrl::SaveReport: invalid report folder or format - %u",
               action->GetReportFormat());
        return 0;
    }
    if (m_Saver == nullptr) {
        report(SCA_LEVEL_ERROR, "SCA_TezActionCtrl::SaveReport: no report writer - %s", path);
        return 0;
    }
    uint32_t error = 0;
    SCA_CreateDirectory(folder, &error);
    if (!m_Saver(subject, action->GetReportFormat(), action->GetReportMode(), path, &error)) {
        report(SCA_LEVEL_ERROR, "SCA_TezActionCtrl::SaveReport: cannot save report %s - %u", path,
               error);
        return 0;
    }
    PruneReports(folder, action->GetMonitorName(), subject->GetMonitorId(), action->GetActionId(),
                 action->GetReportFormat(), action->GetReportsHistory());
    return 1;
}

int SCA_TezActionCtrl::SendMail(SCA_TezAction* action) {
    const auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    const auto config = m_UserConfig != nullptr ? m_UserConfig->GetSnapshot() : nullptr;
    if (config == nullptr || !config->Settings.EnableEmail) {
        report(SCA_LEVEL_WARNING, "E-Mail Notifications are disabled");
        return 0;
    }
    const SCA_TezUserSettings& mail = config->Settings;
    SCA_SmtpClient client;
    uint32_t error = 0;
    if (!client.Connect(mail.EmailServer, mail.EmailServerPort, mail.EmailAccount,
                        mail.EmailPassword, mail.EmailLogin, mail.EmailSecureConnect,
                        mail.EmailConnectMode, &error)) {
        report(SCA_LEVEL_ERROR, "Cannot connect to the specified SMTP server.");
        return 0;
    }
    const SCA_TezCond* cond = action->GetCond();
    std::string subject = std::string("Korvanta Notification - ") + action->GetMonitorName();
    std::string body = std::string("Monitor: ") + action->GetMonitorName() + "\n";
    char when[kTextSize];
    if (SCA_FormatAbsTime(action->GetActionTime(), when, sizeof(when))) {
        body += std::string("Time: ") + when + "\n";
    }
    if (cond != nullptr) {
        body += std::string("Condition: ") + cond->GetRepStatusDescr() + "\n";
    }
    // The subject carries a monitor name; a line break there would start a header of its own.
    for (char& c : subject) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    if (!client.SendMail(mail.EmailAddress, action->GetReportEmail(), subject.c_str(), body.c_str(),
                         &error)) {
        report(SCA_LEVEL_ERROR, "SCA_TezActionCtrl::SendMail: cannot send mail to %s - %u",
               action->GetReportEmail(), error);
        return 0;
    }
    return 1;
}
