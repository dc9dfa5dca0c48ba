// SPDX-License-Identifier: MIT
// The files of the network server's device store as it reads them back: the first byte picks
// the file (the device index, the group list, a device's data file or one of its report
// files), the rest is its content. A file the store refuses leaves what it read into as it
// was; one it takes is saved again and reads back to the same thing.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "fuzz/FuzzKvnSupport.h"
#include "fuzz/FuzzTreeSupport.h"
#include "libkvn/SCA_KvnDeviceIndex.h"
#include "libkvn/SCA_KvnGroupList.h"
#include "libkvn/SCA_KvnReport.h"
#include "libmor/SCA_Report.h"

namespace {

constexpr int kWithoutOnline = 0;
constexpr uint32_t kReportId = 1;
constexpr size_t kPathSize = 1024;

void WriteFile(const std::string& path, const uint8_t* data, size_t size) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

std::string FormOf(const SCA_KvnDeviceIndex& index) {
    SCA_ConfigObj form("Devices", nullptr);
    if (!index.Serialize(&form, kWithoutOnline)) {
        __builtin_trap();
    }
    return fuzz_service::BytesOf(&form);
}

std::string FormOf(const SCA_KvnGroupList& groups) {
    SCA_ConfigObj form("Groups", nullptr);
    if (!groups.Serialize(&form)) {
        __builtin_trap();
    }
    return fuzz_service::BytesOf(&form);
}

std::string FormOf(const SCA_KvnReport& report) {
    SCA_ConfigObj form("Report", nullptr);
    if (!report.Serialize(&form)) {
        __builtin_trap();
    }
    return fuzz_service::BytesOf(&form);
}

// Loads the file at path into a store part that already holds something (made by make);
// a refusal must leave it as it was, an acceptance must save and load back the same.
template <typename Make, typename Load, typename Save>
void CheckFile(const std::string& path, Make&& make, Load&& load, Save&& save) {
    auto part = make();
    const std::string before = FormOf(*part);
    if (!load(part.get(), path)) {
        if (FormOf(*part) != before) {
            __builtin_trap();
        }
        return;
    }
    const std::string read = FormOf(*part);
    const std::string again = path + ".again";
    if (!save(part.get(), again)) {
        return;
    }
    auto reread = make();
    if (!load(reread.get(), again) || FormOf(*reread) != read) {
        __builtin_trap();
    }
}

// The device index or the group list, read over one that already holds an entry.
template <typename List, typename Record>
void CheckListFile(const std::string& path, int (List::*add)(const char*, Record**)) {
    fuzz_kvn::Server& server = fuzz_kvn::TheServer();
    CheckFile(
        path,
        [&] {
            auto list = std::make_unique<List>(nullptr, &server.Settings);
            Record* record = nullptr;
            (list.get()->*add)("before", &record);
            return list;
        },
        [](List* list, const std::string& file) { return list->Load(file.c_str()); },
        [](List* list, const std::string& file) { return list->Save(file.c_str()); });
}

void CheckReport(const std::string& path) {
    CheckFile(
        path, [] { return std::make_unique<SCA_KvnReport>(); },
        [](SCA_KvnReport* report, const std::string& file) {
            uint32_t error = 0;
            return report->Load(file.c_str(), &error);
        },
        [](SCA_KvnReport* report, const std::string& file) {
            uint32_t error = 0;
            return report->Save(file.c_str(), &error);
        });
}

// The data file in the device's own folder, read with its report index and sessions; the
// reports the index names are read from their files too.
void CheckDeviceData(const uint8_t* data, size_t size) {
    auto device = fuzz_kvn::TheServer().NewDevice();
    char path[kPathSize] = "";
    if (!device->BuildDeviceFileName(path, sizeof(path))) {
        return;
    }
    WriteFile(path, data, size);
    const std::string before = fuzz_kvn::FormOf(*device);
    uint32_t error = 0;
    if (!device->Load(fuzz_kvn::kWithReportIndex, fuzz_kvn::kWithSessions, &error)) {
        if (fuzz_kvn::FormOf(*device) != before) {
            __builtin_trap();
        }
        return;
    }
    device->LoadReports();
    fuzz_kvn::CheckDeviceRoundTrip(device.get());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SCA_SetErrorCallback(fuzz_service::Quiet, nullptr);
    if (size < 1 || size > fuzz_service::kMaxInput) {
        return 0;
    }
    const std::string home = fuzz_kvn::TheServer().Home.Path();
    const uint8_t* content = data + 1;
    const size_t length = size - 1;
    switch (data[0] % 4) {
    case 0:
        WriteFile(home + "/devices.hdx", content, length);
        CheckListFile(home + "/devices.hdx", &SCA_KvnDeviceIndex::AddDevice);
        break;
    case 1:
        WriteFile(home + "/groups.hdx", content, length);
        CheckListFile(home + "/groups.hdx", &SCA_KvnGroupList::AddGroup);
        break;
    case 2:
        CheckDeviceData(content, length);
        break;
    default: {
        auto device = fuzz_kvn::TheServer().NewDevice();
        char path[kPathSize] = "";
        if (device->BuildReportFileName(kReportId, path, sizeof(path))) {
            WriteFile(path, content, length);
            CheckReport(path);
        }
        break;
    }
    }
    return 0;
}
