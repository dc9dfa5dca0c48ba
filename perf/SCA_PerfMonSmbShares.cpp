// SPDX-License-Identifier: MIT
#include "perf/SCA_PerfMonSmbShares.h"

#include <string>

#include "perf/SCA_PerfErrors.h"
#include "perf/SCA_PerfFileReader.h"
#include "perf/SCA_PerfInventory.h"
#include "perf/SCA_PerfMonitor.h"
#include "perf/SCA_ProcParser.h"

int SCA_PerfMonSmbShares::Init(SCA_PerfMonitor* perfMonitor, const char* computer,
                               uint32_t /*kind*/, SCA_ConfigObj* exclude, uint32_t* error) {
    if (!SCA_PerfInventory::Begin("SCA_PerfMonSmbShares::Init", perfMonitor, computer, this,
                                  error)) {
        return 0;
    }
    const tagSCA_PERF_ROOTS roots = perfMonitor->GetStore()->GetRoots();
    std::string config;
    const bool haveConfig = SCA_PerfFileReader::ReadFile(roots.SambaConfig, &config);
    std::vector<std::string> userShares = SCA_PerfFileReader::ListFolder(roots.SambaUserShares);
    if (!haveConfig && userShares.empty()) {
        *error = SCA_PERF_ERROR_NOT_SUPPORTED; // no file server on this computer
        return 0;
    }
    std::vector<std::string> shares = SCA_ProcParser::ParseSambaShares(config);
    shares.insert(shares.end(), userShares.begin(), userShares.end());
    for (const std::string& share : shares) {
        if (!SCA_PerfInventory::IsExcluded(exclude, share.c_str())) {
            SCA_PerfInventory::Add(this, share.c_str());
        }
    }
    return 1;
}
