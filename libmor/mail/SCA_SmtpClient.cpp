// SPDX-License-Identifier: MIT
#include "libmor/mail/SCA_SmtpClient.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "libmor/SCA_String.h"
#include "libmor/mail/SCA_CurlCalls.h"

namespace {

constexpr uint32_t kMaxPort = 65535;
// The reply a server gives to an accepted login.
constexpr const char* kLoginAccepted = "235";

bool HasLineBreak(const char* text) {
    return text != nullptr && std::strpbrk(text, "\r\n") != nullptr;
}

struct Session {
    const std::string* Message = nullptr;
    size_t Sent = 0;
    bool LoginAccepted = false;
    std::string Pending; // a server reply line split over debug calls
};

size_t ReadMessage(char* buffer, size_t size, size_t count, void* user) {
    auto* session = static_cast<Session*>(user);
    const size_t room = size * count;
    const size_t left = session->Message->size() - session->Sent;
    const size_t n = left < room ? left : room;
    std::memcpy(buffer, session->Message->data() + session->Sent, n);
    session->Sent += n;
    return n;
}

// Watches the server's replies for the one that accepts the login: libcurl quietly skips the
// login when a server offers no way to log in, which must not pass for an accepted login.
int WatchReplies(CURL*, curl_infotype type, char* data, size_t size, void* user) {
    if (type != CURLINFO_HEADER_IN) {
        return 0;
    }
    auto* session = static_cast<Session*>(user);
    session->Pending.append(data, size);
    size_t end;
    while ((end = session->Pending.find('\n')) != std::string::npos) {
        if (session->Pending.compare(0, 3, kLoginAccepted) == 0) {
            session->LoginAccepted = true;
        }
        session->Pending.erase(0, end + 1);
    }
    return 0;
}

uint32_t MapError(CURLcode code, bool sending) {
    switch (code) {
    case CURLE_LOGIN_DENIED:
        return SCA_SMTP_ERR_LOGIN;
    case CURLE_OUT_OF_MEMORY:
        return ENOMEM;
    case CURLE_OPERATION_TIMEDOUT:
        return ETIMEDOUT;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_GOT_NOTHING:
    case CURLE_RECV_ERROR:
    case CURLE_USE_SSL_FAILED:
    case CURLE_SSL_CONNECT_ERROR:
        return SCA_SMTP_ERR_CONNECT;
    default:
        return sending ? SCA_SMTP_ERR_SEND : SCA_SMTP_ERR_CONNECT;
    }
}

void SetError(uint32_t* error, uint32_t code) {
    if (error != nullptr) {
        *error = code;
    }
}

} // namespace

SCA_SmtpClient::~SCA_SmtpClient() {
    WipeSecrets();
}

void SCA_SmtpClient::WipeSecrets() {
    volatile char* secret = m_Buffers[kPassword];
    for (size_t i = 0; i < sizeof(m_Buffers[kPassword]); ++i) {
        secret[i] = '\0';
    }
}

int SCA_SmtpClient::Connect(const char* server, uint32_t port, const char* user,
                            const char* password, uint32_t login, uint32_t secure,
                            uint32_t connectMode, uint32_t* error) {
    m_State[kConnected] = 0;
    // A port is refused whole rather than cut to 16 bits, which would reach another service.
    if (server == nullptr || *server == '\0' || port == 0 || port > kMaxPort ||
        connectMode > SCA_SMTP_SSL) {
        SetError(error, SCA_SMTP_ERR_SETTINGS);
        return 0;
    }
    SCA_StrnCpy(m_ServerName, server, sizeof(m_ServerName));
    SCA_StrnCpy(m_Buffers[kUser], user, sizeof(m_Buffers[kUser]));
    SCA_StrnCpy(m_Buffers[kPassword], password, sizeof(m_Buffers[kPassword]));
    m_Settings[kPort] = port;
    m_Settings[kLogin] = login != 0 ? 1 : 0;
    m_Settings[kSecure] = secure != 0 ? 1 : 0;
    m_Settings[kConnectMode] = connectMode;
    if (!Run(nullptr, nullptr, nullptr, error)) {
        return 0;
    }
    m_State[kConnected] = 1;
    return 1;
}

int SCA_SmtpClient::SendMail(const char* from, const char* to, const char* subject,
                             const char* body, uint32_t* error) {
    if (!m_State[kConnected]) {
        SetError(error, SCA_SMTP_ERR_SETTINGS);
        return 0;
    }
    if (from == nullptr || to == nullptr || *to == '\0' || HasLineBreak(from) || HasLineBreak(to) ||
        HasLineBreak(subject) || std::strpbrk(to, "<>") != nullptr ||
        std::strpbrk(from, "<>") != nullptr) {
        SetError(error, SCA_SMTP_ERR_HEADER);
        return 0;
    }
    std::string message;
    message += "From: <" + std::string(from) + ">\r\n";
    message += "To: <" + std::string(to) + ">\r\n";
    message += "Subject: " + std::string(subject != nullptr ? subject : "") + "\r\n";
    message += "MIME-Version: 1.0\r\nContent-Type: text/plain; charset=UTF-8\r\n\r\n";
    // Bare line feeds become the CRLF that SMTP requires; a lone CR is dropped.
    for (const char* p = body != nullptr ? body : ""; *p != '\0'; ++p) {
        if (*p == '\n') {
            message += "\r\n";
        } else if (*p != '\r') {
            message += *p;
        }
    }
    message += "\r\n";
    return Run(from, to, message.c_str(), error);
}

int SCA_SmtpClient::Run(const char* from, const char* to, const char* message, uint32_t* error) {
    const SCA_CurlCalls* calls = SCA_GetCurlCalls();
    if (calls == nullptr) {
        SetError(error, SCA_SMTP_ERR_CONNECT);
        return 0;
    }
    CURL* curl = calls->EasyInit();
    if (curl == nullptr) {
        SetError(error, ENOMEM);
        return 0;
    }
    const bool implicitTls = m_Settings[kSecure] && m_Settings[kConnectMode] == SCA_SMTP_SSL;
    const bool ipv6 = std::strchr(m_ServerName, ':') != nullptr;
    char url[sizeof(m_ServerName) + 32];
    std::snprintf(url, sizeof(url), "%s://%s%s%s:%u", implicitTls ? "smtps" : "smtp",
                  ipv6 ? "[" : "", m_ServerName, ipv6 ? "]" : "", m_Settings[kPort]);

    Session session;
    std::string text = message != nullptr ? message : "";
    session.Message = &text;
    curl_slist* recipients = nullptr;

    calls->EasySetopt(curl, CURLOPT_URL, url);
    calls->EasySetopt(curl, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    calls->EasySetopt(curl, CURLOPT_NOSIGNAL, 1L);
    calls->EasySetopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(m_Settings[kTimeout]));
    calls->EasySetopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(m_Settings[kTimeout]));
    long useSsl = CURLUSESSL_NONE;
    if (m_Settings[kSecure] && !implicitTls) {
        useSsl = m_Settings[kConnectMode] == SCA_SMTP_TLS ? CURLUSESSL_ALL : CURLUSESSL_TRY;
    }
    calls->EasySetopt(curl, CURLOPT_USE_SSL, useSsl);
    if (m_Settings[kLogin]) {
        calls->EasySetopt(curl, CURLOPT_USERNAME, m_Buffers[kUser]);
        calls->EasySetopt(curl, CURLOPT_PASSWORD, m_Buffers[kPassword]);
    }
    calls->EasySetopt(curl, CURLOPT_VERBOSE, 1L);
    calls->EasySetopt(curl, CURLOPT_DEBUGFUNCTION, &WatchReplies);
    calls->EasySetopt(curl, CURLOPT_DEBUGDATA, &session);
    if (message == nullptr) {
        calls->EasySetopt(curl, CURLOPT_CONNECT_ONLY, 1L);
    } else {
        recipients = calls->SlistAppend(nullptr, (std::string("<") + to + ">").c_str());
        calls->EasySetopt(curl, CURLOPT_MAIL_FROM, (std::string("<") + from + ">").c_str());
        calls->EasySetopt(curl, CURLOPT_MAIL_RCPT, recipients);
        calls->EasySetopt(curl, CURLOPT_READFUNCTION, &ReadMessage);
        calls->EasySetopt(curl, CURLOPT_READDATA, &session);
        calls->EasySetopt(curl, CURLOPT_UPLOAD, 1L);
    }
    const CURLcode code = calls->EasyPerform(curl);
    calls->EasyCleanup(curl);
    calls->SlistFreeAll(recipients);

    uint32_t result = 0;
    if (code != CURLE_OK) {
        result = MapError(code, message != nullptr);
    } else if (m_Settings[kLogin] && !session.LoginAccepted) {
        result = SCA_SMTP_ERR_LOGIN;
    }
    m_State[kLastError] = result;
    if (result != 0) {
        SetError(error, result);
        return 0;
    }
    return 1;
}
