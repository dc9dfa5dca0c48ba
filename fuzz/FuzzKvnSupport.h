// SPDX-License-Identifier: MIT
#pragma once

// What the fuzz targets of the network library share: the settings of a central server over a
// folder of the process's own, and the checks that what a reader took reads back the same.
#include <memory>
#include <string>

#include "fuzz/FuzzHome.h"
#include "fuzz/FuzzTreeSupport.h"
#include "libkvn/SCA_KvnDevice.h"
#include "libkvn/SCA_KvnNetConfigUser.h"
#include "model/SCA_ConfigObj.h"

namespace fuzz_kvn {

// The device every input is about.
constexpr uint32_t kDeviceId = 7;
constexpr int kWithReportIndex = 1;
constexpr int kWithSessions = 1;

// The server's configuration folder is the home itself, its devices folder "devices" below.
struct Server {
    fuzz_service::Home Home;
    SCA_KvnNetConfigUser Settings{nullptr};

    Server() {
        Settings.SetConfigDir(Home.Path().c_str());
        Settings.SetDevicesDirName((Home.Path() + "/devices").c_str());
    }

    // A device of the server with its number set, and nothing else yet.
    std::unique_ptr<SCA_KvnDevice> NewDevice() {
        auto device = std::make_unique<SCA_KvnDevice>(nullptr, &Settings);
        device->SetDeviceId(kDeviceId);
        device->SetHostName("fuzz-device");
        return device;
    }
};

inline Server& TheServer() {
    static Server server;
    return server;
}

// The stored form of a device with its report index and sessions.
inline std::string FormOf(const SCA_KvnDevice& device) {
    SCA_ConfigObj form("Device", nullptr);
    if (!device.Serialize(kWithReportIndex, kWithSessions, &form)) {
        __builtin_trap(); // what the device holds can always be written
    }
    return fuzz_service::BytesOf(&form);
}

// What a device holds reads back the same from its stored form, and from its files.
inline void CheckDeviceRoundTrip(SCA_KvnDevice* device) {
    const std::string form = FormOf(*device);
    SCA_ConfigObj tree("Device", nullptr);
    device->Serialize(kWithReportIndex, kWithSessions, &tree);
    auto copy = TheServer().NewDevice();
    if (!copy->Deserialize(kWithReportIndex, kWithSessions, &tree) || FormOf(*copy) != form) {
        __builtin_trap();
    }
    uint32_t error = 0;
    if (!device->Save(kWithReportIndex, kWithSessions, &error)) {
        return; // a full disk is not the reader's fault
    }
    // Saving marks the reports saved in the index.
    const std::string saved = FormOf(*device);
    auto loaded = TheServer().NewDevice();
    if (!loaded->Load(kWithReportIndex, kWithSessions, &error) || FormOf(*loaded) != saved) {
        __builtin_trap();
    }
}

} // namespace fuzz_kvn
