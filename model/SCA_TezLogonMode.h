// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// The login modes a service announces in its greeting.
inline constexpr uint32_t SCA_KORVANTA_LOGIN_NAMES = 0;     // user and host name only
inline constexpr uint32_t SCA_KORVANTA_LOGIN_PASSWORD = 1;  // the password, for the OS logon
inline constexpr uint32_t SCA_KORVANTA_LOGIN_SIGNATURE = 2; // a signature of the password

// The mode a service serves: its stored mode while operating-system logon is on, otherwise
// the signature mode whatever the stored mode says.
inline uint32_t SCA_TezEffectiveLogonMode(int enableOsLogon, uint32_t storedMode) {
    return enableOsLogon != 0 ? storedMode : SCA_KORVANTA_LOGIN_SIGNATURE;
}
