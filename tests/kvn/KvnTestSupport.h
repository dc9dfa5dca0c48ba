// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "libkvn/SCA_KvnNetConfigUser.h"
#include "model/SCA_ConfigObj.h"
#include "tests/model/ModelTestSupport.h"

// Helpers shared by the device store's tests.
namespace kvn_test {

using model_test::HeapFailure;
using model_test::Names;
using model_test::Reports;
using model_test::TempDir;

// What a Show operation printed.
template <typename Show>
std::string Printed(Show&& show) {
    ::testing::internal::CaptureStdout();
    show();
    std::fflush(stdout);
    return ::testing::internal::GetCapturedStdout();
}

// The value text of a field of object ("<none>" when it has none of that name).
inline std::string Value(SCA_ConfigObj& object, const char* name) {
    char text[1024];
    return object.GetField(name, text, sizeof(text)) ? std::string(text) : "<none>";
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Flips the last byte of a file, as a disk fault would; its checksum no longer matches.
inline void Damage(const std::string& path) {
    std::string bytes = ReadBytes(path);
    ASSERT_FALSE(bytes.empty());
    bytes.back() = static_cast<char>(bytes.back() ^ 0x5A);
    WriteBytes(path, bytes);
}

// A network server's settings over a temporary folder: the configuration folder is the
// folder itself, the devices folder "devices" below it.
struct ServerFolders {
    ServerFolders() : Settings(nullptr) {
        Settings.SetConfigDir(Dir.Path().c_str());
        Settings.SetDevicesDirName((Dir / "devices").c_str());
    }
    std::string DevicePath(const char* name) const {
        return Dir / ("devices/" + std::string(name));
    }

    TempDir Dir;
    SCA_KvnNetConfigUser Settings;
};

// A full status update of one monitor, built counter by counter.
class FullStatus {
public:
    FullStatus() : m_Root("Status", nullptr) {
        m_Root.AddField("MonitorId", 3u);
        m_Root.AddField("MonitorName", "System");
        m_Counters = m_Root.AddConfigObj("MonitorData")->AddConfigObj("Counters");
    }

    // A counter object named by its id; its fields only when withFields is set.
    SCA_ConfigObj* AddCounter(uint32_t id, bool withFields = true, uint32_t type = 4,
                              uint32_t units = 1, double fixedMax = 100.0) {
        SCA_ConfigObj* counter = m_Counters->AddConfigObj(std::to_string(id).c_str());
        if (withFields) {
            counter->AddField("TezCounterType", type);
            counter->AddField("Units", units);
            counter->AddField("FixedMaxValue", fixedMax);
        }
        return counter->AddConfigObj("Data")->AddConfigObj("Data");
    }
    static void Sample(SCA_ConfigObj* data, uint64_t time, const char* value) {
        data->AddField(std::to_string(time).c_str(), value);
    }

    SCA_ConfigObj* Get() { return &m_Root; }

private:
    SCA_ConfigObj m_Root;
    SCA_ConfigObj* m_Counters;
};

} // namespace kvn_test
