// SPDX-License-Identifier: MIT
#include "libmor/auth/SCA_LogonUser.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <security/pam_appl.h>

#include "libmor/SCA_LateLibrary.h"

namespace {

struct Credentials {
    const char* User;
    const char* Password;
};

void FreeResponses(pam_response* responses, int count) {
    for (int i = 0; i < count; ++i) {
        std::free(responses[i].resp);
    }
    std::free(responses);
}

// The text that answers one message: the password for a hidden prompt, the user name for a
// visible one (modules that ask for it again); nothing for information and error texts.
int Answer(const pam_message* message, const Credentials* credentials, char** answer) {
    *answer = nullptr;
    switch (message->msg_style) {
    case PAM_PROMPT_ECHO_OFF:
        *answer = strdup(credentials->Password);
        return *answer != nullptr ? PAM_SUCCESS : PAM_BUF_ERR;
    case PAM_PROMPT_ECHO_ON:
        *answer = strdup(credentials->User);
        return *answer != nullptr ? PAM_SUCCESS : PAM_BUF_ERR;
    case PAM_ERROR_MSG:
    case PAM_TEXT_INFO:
        return PAM_SUCCESS;
    default:
        return PAM_CONV_ERR;
    }
}

// PAM's conversation: nobody is there to ask, so the answers come from the credentials given.
// The responses are allocated with malloc, as PAM frees them.
int Converse(int count, const pam_message** messages, pam_response** responses, void* data) {
    if (count <= 0 || messages == nullptr || responses == nullptr || data == nullptr) {
        return PAM_CONV_ERR;
    }
    auto* answers =
        static_cast<pam_response*>(std::calloc(static_cast<size_t>(count), sizeof(pam_response)));
    if (answers == nullptr) {
        return PAM_BUF_ERR;
    }
    const auto* credentials = static_cast<const Credentials*>(data);
    for (int i = 0; i < count; ++i) {
        const int result = Answer(messages[i], credentials, &answers[i].resp);
        if (result != PAM_SUCCESS) {
            FreeResponses(answers, count);
            return result;
        }
    }
    *responses = answers;
    return PAM_SUCCESS;
}

// The calls of libpam, which (with libaudit and libcap-ng) is loaded at the first logon through
// it: most services never use login mode 1.
struct PamCalls {
    decltype(&pam_start) Start;
    decltype(&pam_set_item) SetItem;
    decltype(&pam_authenticate) Authenticate;
    decltype(&pam_acct_mgmt) AcctMgmt;
    decltype(&pam_end) End;
};

constexpr char kPamLibrary[] = "libpam.so.0";

std::optional<PamCalls> LoadPamCalls() {
    SCA_LateLibrary library(kPamLibrary);
    PamCalls calls{};
    if (!library.Resolve("pam_start", &calls.Start) ||
        !library.Resolve("pam_set_item", &calls.SetItem) ||
        !library.Resolve("pam_authenticate", &calls.Authenticate) ||
        !library.Resolve("pam_acct_mgmt", &calls.AcctMgmt) ||
        !library.Resolve("pam_end", &calls.End)) {
        library.Failed("SCA_LogonUser");
        return std::nullopt;
    }
    return calls;
}

int PamCheck(const char* service, const char* user, const char* password, const char* remoteHost) {
    static const std::optional<PamCalls> pam = LoadPamCalls();
    if (!pam) {
        return PAM_SYSTEM_ERR;
    }
    Credentials credentials{user, password};
    const pam_conv conversation{&Converse, &credentials};
    pam_handle_t* handle = nullptr;
    int result = pam->Start(service, user, &conversation, &handle);
    if (result != PAM_SUCCESS) {
        return result;
    }
    if (remoteHost != nullptr && remoteHost[0] != '\0') {
        result = pam->SetItem(handle, PAM_RHOST, remoteHost);
        if (result != PAM_SUCCESS) {
            pam->End(handle, result);
            return result;
        }
    }
    const int flags = PAM_SILENT | PAM_DISALLOW_NULL_AUTHTOK;
    result = pam->Authenticate(handle, flags);
    if (result == PAM_SUCCESS) {
        result = pam->AcctMgmt(handle, flags);
    }
    pam->End(handle, result);
    return result;
}

std::atomic<SCA_LogonBackend> g_Backend{&PamCheck};

uint32_t ErrorOf(int pamResult) {
    switch (pamResult) {
    case PAM_AUTH_ERR:
    case PAM_USER_UNKNOWN:
    case PAM_MAXTRIES:
    case PAM_CRED_INSUFFICIENT:
        return EACCES;
    case PAM_ACCT_EXPIRED:
    case PAM_NEW_AUTHTOK_REQD:
    case PAM_AUTHTOK_EXPIRED:
    case PAM_PERM_DENIED:
        return EPERM;
    case PAM_BUF_ERR:
        return ENOMEM;
    default:
        return EIO;
    }
}

int Refuse(uint32_t code, uint32_t* error) {
    if (error != nullptr) {
        *error = code;
    }
    return 0;
}

} // namespace

int SCA_LogonUser(const char* user, const char* password, uint32_t /*reserved*/, uint32_t* error) {
    return SCA_LogonUserFrom(user, password, nullptr, error);
}

int SCA_LogonUserFrom(const char* user, const char* password, const char* remoteHost,
                      uint32_t* error) {
    if (user == nullptr || user[0] == '\0' || password == nullptr) {
        return Refuse(EINVAL, error);
    }
    const int result = g_Backend.load()(SCA_LOGON_SERVICE, user, password, remoteHost);
    if (result != PAM_SUCCESS) {
        return Refuse(ErrorOf(result), error);
    }
    if (error != nullptr) {
        *error = 0;
    }
    return 1;
}

SCA_LogonBackend SCA_SetLogonBackend(SCA_LogonBackend backend) {
    return g_Backend.exchange(backend != nullptr ? backend : &PamCheck);
}
