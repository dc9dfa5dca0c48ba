// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// Where the collector reads the machine from. Tests point these at fixture trees.
struct tagSCA_PERF_ROOTS {
    std::string Proc = "/proc";
    std::string Sys = "/sys";
    std::string Run = "/run"; // logind's session files
    std::string SambaConfig = "/etc/samba/smb.conf";
    std::string SambaUserShares = "/var/lib/samba/usershares";
};
