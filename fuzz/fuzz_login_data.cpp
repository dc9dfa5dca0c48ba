// SPDX-License-Identifier: MIT
// The sealed login data as a stranger sends it, through the agent's login, in every login mode,
// from a peer that is not this computer's: the first byte picks the mode (its low two bits),
// whether the administrator opened modes 0 and 1 to remote clients (bit 2) and whether the
// tree in the remaining bytes is sealed under the login key first (bit 3) or sent as it is.
// Whatever the data, a login answered as done carries a readable status, and it logs in only
// where the mode lets anyone in: the signature and the password (the fake accounts know none)
// cannot be guessed, and a remote client is greeted with mode 2 in modes 0 and 1 unless they
// were opened to it.
#include <cstddef>
#include <cstdint>
#include <security/pam_appl.h>

#include "fuzz/FuzzServiceSupport.h"
#include "libmor/auth/SCA_LogonUser.h"

namespace {

constexpr uint8_t kModeBits = 0x3;
constexpr uint8_t kOpenBit = 0x4;
constexpr uint8_t kSealBit = 0x8;

int NoAccounts(const char*, const char*, const char*, const char*) {
    return PAM_AUTH_ERR;
}

fuzz_service::Service& TheService() {
    static fuzz_service::Service service;
    return service;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > fuzz_service::kMaxInput) {
        return 0;
    }
    SCA_SetErrorCallback(fuzz_service::Quiet, nullptr);
    SCA_SetLogonBackend(&NoAccounts);
    fuzz_service::Service& service = TheService();
    if (!service.IsReady()) {
        __builtin_trap();
    }
    auto tree = fuzz_service::TreeFrom(data + 1, size - 1);
    if (tree == nullptr) {
        return 0;
    }
    const uint32_t mode = data[0] & kModeBits;
    const bool open = (data[0] & kOpenBit) != 0;
    SCA_TezConfigUser* user = service.GetCtrl()->GetUserConfig();
    user->SetEnableOsLogon(1);
    user->SetServerLogonMode(mode);
    user->SetAdvancedOption(SCA_OPTION_REMOTE_OPEN_LOGINS, open ? 1 : 0);

    auto agent = service.NewAgent();
    uint32_t status = 0;
    if (!service.Login(agent.get(), tree.get(), (data[0] & kSealBit) != 0, &status)) {
        return 0;
    }
    const bool anyoneMayIn = mode == SCA_KORVANTA_LOGIN_NAMES && open;
    if (status == SCA_KORVANTA_LOGGED_IN && !anyoneMayIn) {
        __builtin_trap();
    }
    SCA_ConfigObj* config = nullptr;
    const int served = agent->GetUserConfig(&config);
    SCA_Object::Destroy(config);
    if ((served != 0) != (status == SCA_KORVANTA_LOGGED_IN)) {
        __builtin_trap(); // logged in is what the login said, nothing else
    }
    return 0;
}
