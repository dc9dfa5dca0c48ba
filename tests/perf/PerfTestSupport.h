// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>

#include "perf/SCA_PerfRoots.h"
#include "perf/SCA_PerfSnapshotStore.h"
#include "tests/support/TestPaths.h"

namespace perf_test {

// The roots of one sample ("s1", "s2", ...) of a captured machine under tests/perf/fixtures.
inline tagSCA_PERF_ROOTS Roots(const std::string& machine, const std::string& sample) {
    const std::string base = korvanta_test::PerfFixtures() + "/" + machine + "/" + sample;
    tagSCA_PERF_ROOTS roots;
    roots.Proc = base + "/proc";
    roots.Sys = base + "/sys";
    roots.Run = base + "/run";
    roots.SambaConfig = base + "/etc/samba/smb.conf";
    roots.SambaUserShares = base + "/var/lib/samba/usershares";
    return roots;
}

inline std::shared_ptr<SCA_PerfSnapshotStore> Store(const std::string& machine,
                                                    const std::string& sample) {
    return std::make_shared<SCA_PerfSnapshotStore>(Roots(machine, sample));
}

constexpr uint64_t kSecond = 1000000000u;

} // namespace perf_test
