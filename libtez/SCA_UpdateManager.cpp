// SPDX-License-Identifier: MIT
#include "libtez/SCA_UpdateManager.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <string_view>

#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libmor/mail/SCA_CurlCalls.h"
#include "model/SCA_TezConfig.h"

namespace {

constexpr uint32_t kDefaultTimeoutMs = 5000;
constexpr uint16_t kHttpsPort = 443;
constexpr long kHttpOkFirst = 200;
constexpr long kHttpOkLast = 299;
constexpr uint32_t kProgressDone = 100;
// Weights of the parts of "major.minor.build" in the absolute version; minor and build stay
// below them.
constexpr uint32_t kMajorWeight = 1000000;
constexpr uint32_t kMinorWeight = 1000;
constexpr uint32_t kMaxMajor = 4293; // the largest major whose absolute version fits 32 bits

constexpr const char* kNoUpdate = "No product updates available";

struct Transfer {
    std::string Body;
    SCA_Event* Stop;
    bool TooLarge = false;
};

size_t Collect(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const size_t bytes = size * count;
    if (transfer->Body.size() + bytes > SCA_UPDATE_MAX_DESCRIPTION) {
        transfer->TooLarge = true;
        return 0; // ends the transfer
    }
    transfer->Body.append(data, bytes);
    return bytes;
}

// Called by the transfer while it waits; a non-zero answer abandons it, so StopAll never waits
// for a server that does not answer.
int Abandon(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto* transfer = static_cast<const Transfer*>(user);
    return transfer->Stop != nullptr && transfer->Stop->IsSignaled() ? 1 : 0;
}

bool ParseNumber(std::string_view text, uint64_t* value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, *value);
    return ec == std::errc() && ptr == end && !text.empty();
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

// Reads one "Name=Value" into update; 0 for a number that does not fit its field.
int ApplyField(std::string_view name, std::string_view value, SCA_Update* update) {
    using Setter = void (SCA_Update::*)(const char*);
    static const struct {
        const char* Name;
        Setter Set;
    } texts[] = {{"Platform", &SCA_Update::SetPlatformName},
                 {"Product", &SCA_Update::SetProductName},
                 {"Version", &SCA_Update::SetVersion},
                 {"Date", &SCA_Update::SetDate},
                 {"Url", &SCA_Update::SetUrl},
                 {"ReleaseNotesUrl", &SCA_Update::SetReleaseNotesUrl},
                 {"SHA256", &SCA_Update::SetSHA256}};
    for (const auto& text : texts) {
        if (name == text.Name) {
            (update->*text.Set)(std::string(value).c_str());
            return 1;
        }
    }
    uint64_t number = 0;
    if (name == "FileSize") {
        if (!ParseNumber(value, &number)) {
            return 0;
        }
        update->SetFileSize(number);
    } else if (name == "PackageType" || name == "ProductType") {
        if (!ParseNumber(value, &number) || number > SCA_ALL_ONES) {
            return 0;
        }
        if (name == "PackageType") {
            update->SetPackageType(static_cast<uint32_t>(number));
        } else {
            update->SetProductType(static_cast<uint32_t>(number));
        }
    }
    return 1;
}

} // namespace

SCA_UpdateManager::SCA_UpdateManager(SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                                     SCA_ConfigObj* params)
    : m_Config(config), m_UserConfig(userConfig), m_Params(params), m_ReadyEvent(1, 0),
      m_TimeoutMs(kDefaultTimeoutMs) {
    if (!m_ReadyEvent.IsConstructed()) {
        SetConstructed(0);
    }
}

void SCA_UpdateManager::SetStatusString(const char* text) {
    std::lock_guard<std::mutex> lock(m_Lock);
    SCA_StrnCpy(m_StatusString, text, sizeof(m_StatusString));
}

void SCA_UpdateManager::CopyStatusString(char* buf, uint32_t size) const {
    std::lock_guard<std::mutex> lock(m_Lock);
    SCA_StrnCpy(buf, m_StatusString, size);
}

void SCA_UpdateManager::GetUpdate(SCA_Update* update) const {
    std::lock_guard<std::mutex> lock(m_Lock);
    *update = m_Update;
}

int SCA_UpdateManager::BuildAddress() {
    m_Address[0] = '\0';
    if (m_Config == nullptr || *m_Config->GetUpdateServerName() == '\0') {
        return 0;
    }
    const uint16_t port = m_Config->GetUpdatePortNumber();
    const char* resource = m_Config->GetUpdateResourceName();
    const int written =
        std::snprintf(m_Address, sizeof(m_Address), "%s://%s:%u%s%s",
                      port == kHttpsPort ? "https" : "http", m_Config->GetUpdateServerName(),
                      static_cast<unsigned>(port), *resource == '/' ? "" : "/", resource);
    if (written <= 0 || static_cast<size_t>(written) >= sizeof(m_Address)) {
        m_Address[0] = '\0';
        return 0;
    }
    return 1;
}

int SCA_UpdateManager::CheckUpdates(uint32_t* error) {
    StopAll();
    m_Target = nullptr;
    BuildAddress();
    return Start(error);
}

int SCA_UpdateManager::GetUpdateEx(SCA_Update* update, uint32_t* error) {
    StopAll();
    m_Target = update;
    m_Address[0] = '\0';
    if (update != nullptr) {
        SCA_StrnCpy(m_Address, update->GetUrl(), sizeof(m_Address));
    }
    return Start(error);
}

int SCA_UpdateManager::Start(uint32_t* error) {
    m_ReadyEvent.Reset();
    m_UpdateAvailable.store(0);
    m_StatusCode.store(0);
    m_Progress.store(0);
    {
        std::lock_guard<std::mutex> lock(m_Lock);
        m_Update = SCA_Update();
    }
    SetProcessStatus(SCA_PROCESS_RUNNING);
    if (!Lock(error)) {
        Finish(SCA_PROCESS_FAILED, error != nullptr ? *error : 0,
               "Cannot start the product update check");
        return 0;
    }
    return 1;
}

int SCA_UpdateManager::StopAll() {
    Unlock(__FILE__);
    return 1;
}

void SCA_UpdateManager::Finish(uint32_t status, uint32_t code, const char* text) {
    SetStatusString(text);
    m_StatusCode.store(code);
    m_Progress.store(kProgressDone);
    SetProcessStatus(status);
    m_ReadyEvent.Set();
}

int SCA_UpdateManager::ThreadFunc() {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    if (m_Address[0] == '\0') {
        Finish(SCA_PROCESS_STOPPED, 0, kNoUpdate);
        return 1;
    }
    const SCA_CurlCalls* calls = SCA_GetCurlCalls();
    CURL* curl = calls != nullptr ? calls->EasyInit() : nullptr;
    if (curl == nullptr) {
        Finish(SCA_PROCESS_FAILED, SCA_UPDATE_ERR_HTTP, "Cannot start the product update check");
        return 0;
    }
    Transfer transfer{std::string(), GetStopEvent()};
    calls->EasySetopt(curl, CURLOPT_URL, m_Address);
    calls->EasySetopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    calls->EasySetopt(curl, CURLOPT_NOSIGNAL, 1L);
    calls->EasySetopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(m_TimeoutMs));
    calls->EasySetopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(m_TimeoutMs));
    calls->EasySetopt(curl, CURLOPT_WRITEFUNCTION, &Collect);
    calls->EasySetopt(curl, CURLOPT_WRITEDATA, &transfer);
    calls->EasySetopt(curl, CURLOPT_NOPROGRESS, 0L);
    calls->EasySetopt(curl, CURLOPT_XFERINFOFUNCTION, &Abandon);
    calls->EasySetopt(curl, CURLOPT_XFERINFODATA, &transfer);
    const CURLcode code = calls->EasyPerform(curl);
    long httpStatus = 0;
    calls->EasyGetinfo(curl, CURLINFO_RESPONSE_CODE, &httpStatus);
    calls->EasyCleanup(curl);

    if (transfer.TooLarge) {
        report(SCA_LEVEL_WARNING, "SCA_UpdateManager: update description too long - %s", m_Address);
        Finish(SCA_PROCESS_FAILED, SCA_UPDATE_ERR_TOO_LARGE, "Invalid product update description");
        return 0;
    }
    if (code != CURLE_OK) {
        // Offline machines and closed networks are normal: nothing to update from.
        Finish(SCA_PROCESS_STOPPED, 0, kNoUpdate);
        return 1;
    }
    if (httpStatus < kHttpOkFirst || httpStatus > kHttpOkLast) {
        report(SCA_LEVEL_WARNING, "SCA_UpdateManager: update server answered %ld - %s", httpStatus,
               m_Address);
        Finish(SCA_PROCESS_FAILED, SCA_UPDATE_ERR_HTTP, "Cannot get product update information");
        return 0;
    }
    SCA_Update found;
    if (!ParseDescription(transfer.Body.data(), transfer.Body.size(), &found)) {
        report(SCA_LEVEL_WARNING, "SCA_UpdateManager: invalid update description - %s", m_Address);
        Finish(SCA_PROCESS_FAILED, SCA_UPDATE_ERR_DESCRIPTION,
               "Invalid product update description");
        return 0;
    }
    const bool newer = found.GetAbsVersion() > GetAbsVersion(SCA_TEZ_PRODUCT_VERSION);
    {
        std::lock_guard<std::mutex> lock(m_Lock);
        m_Update = found;
        if (m_Target != nullptr) {
            *m_Target = found;
        }
    }
    m_UpdateAvailable.store(newer ? 1 : 0);
    if (!newer) {
        Finish(SCA_PROCESS_STOPPED, 0, kNoUpdate);
        return 1;
    }
    char text[2 * sizeof(m_StatusString)]; // SetStatusString cuts what does not fit
    std::snprintf(text, sizeof(text), "Product update available - %s", found.GetVersion());
    Finish(SCA_PROCESS_STOPPED, 0, text);
    return 1;
}

uint32_t SCA_UpdateManager::GetAbsVersion(const char* version) {
    if (version == nullptr) {
        return 0;
    }
    const std::string_view text(version);
    uint64_t parts[3] = {};
    size_t start = 0;
    for (size_t i = 0; i < 3; ++i) {
        const size_t dot = i < 2 ? text.find('.', start) : text.size();
        if (dot == std::string_view::npos ||
            !ParseNumber(text.substr(start, dot - start), &parts[i])) {
            return 0;
        }
        start = dot + 1;
    }
    if (parts[0] > kMaxMajor || parts[1] >= kMajorWeight / kMinorWeight ||
        parts[2] >= kMinorWeight) {
        return 0;
    }
    const uint64_t absolute = parts[0] * kMajorWeight + parts[1] * kMinorWeight + parts[2];
    return absolute > SCA_ALL_ONES ? 0 : static_cast<uint32_t>(absolute);
}

int SCA_UpdateManager::ParseDescription(const char* data, size_t length, SCA_Update* update) {
    if (data == nullptr || update == nullptr || length == 0) {
        return 0;
    }
    SCA_Update read;
    std::string_view rest(data, length);
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        std::string_view line = Trim(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos || line.find('\0') != std::string_view::npos) {
            return 0;
        }
        if (!ApplyField(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)), &read)) {
            return 0;
        }
    }
    const uint32_t absolute = GetAbsVersion(read.GetVersion());
    if (absolute == 0) {
        return 0;
    }
    read.SetAbsVersion(absolute);
    *update = read;
    return 1;
}
