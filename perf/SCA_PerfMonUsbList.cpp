// SPDX-License-Identifier: MIT
#include "perf/SCA_PerfMonUsbList.h"

#include <algorithm>
#include <string>

#include "perf/SCA_PerfFileReader.h"
#include "perf/SCA_PerfInventory.h"
#include "perf/SCA_PerfMonitor.h"

int SCA_PerfMonUsbList::Init(SCA_PerfMonitor* perfMonitor, const char* computer, uint32_t* error) {
    if (!SCA_PerfInventory::Begin("SCA_PerfMonUsbList::Init", perfMonitor, computer, this, error)) {
        return 0;
    }
    const std::string folder = perfMonitor->GetStore()->GetRoots().Sys + "/bus/usb/devices";
    std::vector<std::string> entries = SCA_PerfFileReader::ListFolder(folder);
    std::sort(entries.begin(), entries.end());
    for (const std::string& entry : entries) {
        // "1-2" is a device, "1-2:1.0" one of its interfaces, "usb1" the bus's own hub.
        if (entry.find(':') != std::string::npos || entry.rfind("usb", 0) == 0) {
            continue;
        }
        std::string product;
        SCA_PerfFileReader::ReadFile(folder + "/" + entry + "/product", &product);
        while (!product.empty() && (product.back() == '\n' || product.back() == ' ')) {
            product.pop_back();
        }
        const std::string name = product.empty() ? entry : entry + " " + product;
        SCA_PerfInventory::Add(this, name.c_str());
    }
    return 1;
}
