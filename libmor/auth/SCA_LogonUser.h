// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// The PAM service under which accounts are checked; its rules live in /etc/pam.d/korvas (PAM
// falls back to "other" without it).
inline constexpr const char* SCA_LOGON_SERVICE = "korvas";

// Checks an account of the operating system: the password, then whether the account may log in
// now (PAM authentication and account management of SCA_LOGON_SERVICE). reserved: 0.
//
// 1 when the system accepts the account. 0 otherwise, with an errno value in *error (may be
// null) whose text SCA_GetErrorDescr gives: EACCES for an unknown user or a wrong password (not
// told apart), EPERM for an account that may not log in now (expired, locked, password change
// due), EINVAL for a null or empty user name or a null password, ENOMEM, and EIO when the check
// itself fails. Blocks for as long as the system takes (PAM may delay a refusal).
int SCA_LogonUser(const char* user, const char* password, uint32_t reserved, uint32_t* error);
// The same check for a user who connects from remoteHost (an address; null or empty when not
// known), which PAM learns as PAM_RHOST for its rules and its log.
int SCA_LogonUserFrom(const char* user, const char* password, const char* remoteHost,
                      uint32_t* error);

// What checks the account: the PAM result (PAM_SUCCESS, PAM_AUTH_ERR, ...) for a service, user
// name, password and remote host (null when not known). Called from any thread.
using SCA_LogonBackend = int (*)(const char* service, const char* user, const char* password,
                                 const char* remoteHost);

// Replaces the check (tests use a fake instead of real accounts); null restores PAM. Answers the
// check that was in place.
SCA_LogonBackend SCA_SetLogonBackend(SCA_LogonBackend backend);
