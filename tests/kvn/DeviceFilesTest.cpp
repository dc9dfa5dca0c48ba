// SPDX-License-Identifier: MIT
// The files of the device store: the device index, the device folders with their data files
// and report files, and what loads of missing or damaged files leave behind.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "KvnTestSupport.h"
#include "libkvn/SCA_KvnDevice.h"
#include "libkvn/SCA_KvnDeviceIndex.h"
#include "libkvn/SCA_KvnGroupList.h"
#include "libkvn/SCA_KvnReport.h"
#include "libkvn/SCA_KvnStoredForm.h"
#include "libmor/SCA_FileSystem.h"
#include "model/SCA_ConfigObj.h"

using kvn_test::Damage;
using kvn_test::FullStatus;
using kvn_test::ReadBytes;
using kvn_test::Reports;
using kvn_test::ServerFolders;
using kvn_test::Value;

namespace {

bool Contains(const std::vector<std::string>& texts, const std::string& part) {
    for (const std::string& text : texts) {
        if (text.find(part) != std::string::npos) {
            return true;
        }
    }
    return false;
}

// A device of the server with one counter's samples on day 0 and day 1.
class DeviceFiles : public ::testing::Test {
protected:
    DeviceFiles() : m_Device(nullptr, &m_Folders.Settings) {
        m_Device.SetDeviceId(7);
        m_Device.SetHostName("web-07");
    }

    void UpdateTwoDays(SCA_KvnDevice* device) {
        FullStatus status;
        SCA_ConfigObj* data = status.AddCounter(21);
        FullStatus::Sample(data, 86000, "10");
        FullStatus::Sample(data, 86500, "30");
        ASSERT_EQ(1, device->UpdateStatus(status.Get(), nullptr, nullptr));
    }

    ServerFolders m_Folders;
    SCA_KvnDevice m_Device;
};

} // namespace

TEST(DeviceIndexFile, RoundTripWithoutOnlineAndWithNumberingAboveTheFile) {
    ServerFolders folders;
    SCA_KvnDeviceIndex index(nullptr, &folders.Settings);
    SCA_KvnDeviceInfo* device = nullptr;
    for (const char* host : {"a", "b", "c", "d", "e", "f"}) {
        index.AddDevice(host, &device);
        device->SetOnline(1);
    }
    for (uint32_t id : {0u, 1u, 3u, 4u}) {
        index.DeleteDevice(id);
    }
    ASSERT_EQ(1, index.Save());
    const std::string path = folders.Dir / "devices.hdx";
    EXPECT_EQ(std::string::npos, ReadBytes(path).find("Online"));

    SCA_KvnDeviceIndex loaded(nullptr, &folders.Settings);
    ASSERT_EQ(1, loaded.Load());
    EXPECT_EQ(2u, loaded.Count());
    EXPECT_EQ(2u, loaded.GetStatusId());
    ASSERT_EQ(1, loaded.GetDevice("F", &device));
    EXPECT_EQ(5u, device->GetDeviceId());
    EXPECT_EQ(0, device->IsOnline());
    ASSERT_EQ(1, loaded.AddDevice("g", &device));
    EXPECT_EQ(6u, device->GetDeviceId());
}

TEST(DeviceIndexFile, MissingDamagedAndFolderlessFiles) {
    ServerFolders folders;
    SCA_KvnDeviceIndex index(nullptr, &folders.Settings);
    ASSERT_EQ(1, index.Load()); // no file yet
    EXPECT_EQ(0u, index.Count());
    EXPECT_EQ(0u, index.GetStatusId());

    SCA_KvnDeviceInfo* device = nullptr;
    index.AddDevice("kept", &device);
    ASSERT_EQ(1, index.Save());
    index.AddDevice("only-in-memory", &device);
    Damage(folders.Dir / "devices.hdx");
    Reports reports;
    EXPECT_EQ(0, index.Load());
    EXPECT_EQ(2u, index.Count());
    EXPECT_TRUE(Contains(reports.TakeTexts(), "SCA_KvnDeviceIndex::Load: cannot load (ERR:"));

    // No configuration folder: refused, never a file at the root of the file system.
    SCA_KvnNetConfigUser noFolder(nullptr);
    SCA_KvnDeviceIndex homeless(nullptr, &noFolder);
    EXPECT_EQ(0, homeless.Save());
    EXPECT_EQ(0, homeless.Load());
    EXPECT_TRUE(Contains(reports.TakeTexts(), "cannot build server device list file name"));
}

TEST_F(DeviceFiles, FolderAndFileNamesOfADevice) {
    char path[SCA_KVN_PATH_SIZE];
    const std::string folder = m_Folders.DevicePath("device_000007");
    EXPECT_FALSE(std::filesystem::exists(folder));
    ASSERT_EQ(1, m_Device.BuildDeviceFileName(path, sizeof(path)));
    EXPECT_EQ(folder + "/kvn_device_data.hdx", path);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    ASSERT_EQ(1, m_Device.BuildReportFileName(12, path, sizeof(path)));
    EXPECT_EQ(folder + "/kvn_report_000012.hdx", path);

    SCA_KvnNetConfigUser noFolder(nullptr);
    SCA_KvnDevice homeless(nullptr, &noFolder);
    Reports reports;
    EXPECT_EQ(0, homeless.BuildDeviceFileName(path, sizeof(path)));
    EXPECT_STREQ("", path);
    uint32_t error = 0;
    EXPECT_EQ(0, homeless.Save(1, 1, &error));
    EXPECT_TRUE(
        Contains(reports.TakeTexts(), "SCA_KvnDevice::Save: cannot build device file name"));
}

TEST_F(DeviceFiles, DataFileRoundTripFollowsTheFlags) {
    m_Device.SetTotalMonitors(3);
    m_Device.SetCurrentErrors(1);
    m_Device.SetCurrentWarnings(2);
    m_Device.SetTotalErrors(40);
    m_Device.SetTotalWarnings(50);
    m_Device.SetActiveMonitors(2);
    m_Device.SetOnline(1);
    SCA_KvnDeviceSession* session = nullptr;
    m_Device.OpenSession(&session);
    session->SetKvMajor(13);
    UpdateTwoDays(&m_Device);
    uint32_t error = 0;
    ASSERT_EQ(1, m_Device.Save(1, 1, &error));

    SCA_KvnDevice loaded(nullptr, &m_Folders.Settings);
    loaded.SetDeviceId(7);
    ASSERT_EQ(1, loaded.Load(1, 1, &error));
    EXPECT_STREQ("web-07", loaded.GetHostName());
    EXPECT_EQ(3u, loaded.GetTotalMonitors());
    EXPECT_EQ(2u, loaded.GetCurrentWarnings());
    EXPECT_EQ(50u, loaded.GetTotalWarnings());
    EXPECT_EQ(0u, loaded.GetActiveMonitors()); // not persisted
    EXPECT_EQ(0, loaded.IsOnline());
    EXPECT_EQ(2u, loaded.GetReportIndex()->Count());
    ASSERT_EQ(1u, loaded.GetSessions()->Count());
    EXPECT_EQ(13u, loaded.GetSessions()->GetHead()->GetItem()->GetKvMajor());
    EXPECT_EQ(nullptr, loaded.GetCurrentSession());

    ASSERT_EQ(1, loaded.Load(0, 0, &error));
    EXPECT_EQ(0u, loaded.GetReportIndex()->Count());
    EXPECT_EQ(0u, loaded.GetSessions()->Count());
}

TEST_F(DeviceFiles, ADamagedDataFileLeavesTheDeviceAsItWas) {
    uint32_t error = 0;
    ASSERT_EQ(1, m_Device.Save(0, 0, &error));
    char path[SCA_KVN_PATH_SIZE];
    ASSERT_EQ(1, m_Device.BuildDeviceFileName(path, sizeof(path)));
    Damage(path);
    UpdateTwoDays(&m_Device);
    m_Device.SetTotalMonitors(9);
    EXPECT_EQ(0, m_Device.Load(1, 1, &error));
    EXPECT_NE(0u, error);
    EXPECT_EQ(9u, m_Device.GetTotalMonitors());
    EXPECT_EQ(2u, m_Device.GetReportList()->Count());
}

TEST_F(DeviceFiles, ReportsAreSavedBeforeTheIndexThatMarksThem) {
    UpdateTwoDays(&m_Device);
    uint32_t error = 0;
    ASSERT_EQ(1, m_Device.Save(1, 0, &error));
    for (auto* node = m_Device.GetReportIndex()->GetHead(); node; node = node->GetNext()) {
        EXPECT_EQ(1, node->GetItem()->IsSaved());
    }
    EXPECT_TRUE(
        SCA_IsFileExists(m_Folders.DevicePath("device_000007/kvn_report_000000.hdx").c_str()));
    EXPECT_TRUE(
        SCA_IsFileExists(m_Folders.DevicePath("device_000007/kvn_report_000001.hdx").c_str()));

    // After a restart the reports come back from their files, on demand or all at once.
    SCA_KvnDevice restarted(nullptr, &m_Folders.Settings);
    restarted.SetDeviceId(7);
    ASSERT_EQ(1, restarted.Load(1, 0, &error));
    SCA_KvnReport* report = nullptr;
    ASSERT_EQ(1, restarted.GetReport(1, &report));
    SCA_KvnCounter* counter = nullptr;
    ASSERT_EQ(1, report->GetCounterList()->GetCounter(21, &counter));
    EXPECT_EQ(1u, counter->GetTotalValues());
    EXPECT_EQ(1, restarted.LoadReports());
    EXPECT_EQ(2u, restarted.GetReportList()->Count());
    ASSERT_EQ(1, restarted.GetLastReport(&report));
    EXPECT_EQ(1u, report->GetAbsDay());
}

TEST_F(DeviceFiles, AnEntryNotMarkedSavedIsFilledFromAnExistingFile) {
    UpdateTwoDays(&m_Device);
    ASSERT_EQ(1, m_Device.SaveReports());
    // The index was written before its reports: it says "not saved" although the file exists.
    SCA_KvnReportInfo* entry = nullptr;
    ASSERT_EQ(1, m_Device.GetReportIndex()->GetReportInfo(0, &entry));
    entry->SetSaved(0);
    m_Device.GetReportList()->ClearAll();

    SCA_KvnReport* report = nullptr;
    ASSERT_EQ(1, m_Device.GetReport(0, &report));
    EXPECT_EQ(1u, report->GetCounterList()->Count());
    EXPECT_EQ(86000u, report->GetFirstReportTime());
}

TEST_F(DeviceFiles, AReportThatFailsToLoadIsNeverSavedOverItsFile) {
    UpdateTwoDays(&m_Device);
    ASSERT_EQ(1, m_Device.SaveReports());
    const std::string path = m_Folders.DevicePath("device_000007/kvn_report_000000.hdx");
    Damage(path);
    const std::string damaged = ReadBytes(path);
    m_Device.GetReportList()->ClearAll();

    Reports reports;
    EXPECT_EQ(0, m_Device.LoadReports());
    EXPECT_TRUE(
        Contains(reports.TakeTexts(), "SCA_KvnDevice::LoadReports: cannot load report (ERR:"));
    EXPECT_EQ(0, m_Device.GetReportList()->GetReport(0, nullptr));
    SCA_KvnReport* report = nullptr;
    EXPECT_EQ(0, m_Device.GetReport(0, &report));
    EXPECT_EQ(1, m_Device.SaveReports());
    EXPECT_EQ(damaged, ReadBytes(path));

    // A new sample of that day goes to a new report rather than over the damaged one.
    FullStatus status;
    FullStatus::Sample(status.AddCounter(21), 86100, "5");
    ASSERT_EQ(1, m_Device.UpdateStatus(status.Get(), nullptr, nullptr));
    EXPECT_EQ(3u, m_Device.GetReportIndex()->Count());
    EXPECT_EQ(1, m_Device.SaveReports());
    EXPECT_EQ(damaged, ReadBytes(path));
}

TEST_F(DeviceFiles, DeleteReportsEmptiesBothCollectionsEvenWithoutFiles) {
    UpdateTwoDays(&m_Device);
    ASSERT_EQ(1, m_Device.SaveReports());
    std::filesystem::remove(m_Folders.DevicePath("device_000007/kvn_report_000000.hdx"));
    Reports reports;
    EXPECT_EQ(1, m_Device.DeleteReports());
    EXPECT_EQ(0u, m_Device.GetReportIndex()->Count());
    EXPECT_EQ(0u, m_Device.GetReportList()->Count());
    EXPECT_FALSE(
        std::filesystem::exists(m_Folders.DevicePath("device_000007/kvn_report_000001.hdx")));
    EXPECT_TRUE(Contains(reports.TakeTexts(), "web-07(7) - 2 device reports deleted"));
}

TEST(ReportFile, SavedFlagFollowsTheOutcome) {
    kvn_test::TempDir dir;
    SCA_KvnReport report;
    report.SetReportId(2);
    SCA_KvnCounter* counter = nullptr;
    report.GetCounterList()->AddCounter(4, &counter);
    counter->AddValue(nullptr, 600, 1.5);

    uint32_t error = 0;
    Reports reports;
    EXPECT_EQ(0, report.Save((dir / "missing/folder/r.hdx").c_str(), &error));
    EXPECT_EQ(0, report.IsSaved());
    EXPECT_NE(0u, error);

    ASSERT_EQ(1, report.Save((dir / "r.hdx").c_str(), &error));
    EXPECT_EQ(1, report.IsSaved());
    SCA_KvnReport loaded;
    ASSERT_EQ(1, loaded.Load((dir / "r.hdx").c_str(), &error));
    EXPECT_EQ(1, loaded.IsSaved());
    EXPECT_EQ(2u, loaded.GetReportId());
    ASSERT_EQ(1, loaded.GetCounterList()->GetCounter(4, &counter));
    EXPECT_EQ(1u, counter->GetMinutes()->Count());

    EXPECT_EQ(0, loaded.Load((dir / "absent.hdx").c_str(), &error));
    EXPECT_EQ(1u, loaded.GetCounterList()->Count());
}

// Every store file has the same well-formed container: one of another kind (a group list as
// the fuzzer found, or a report's content under a foreign type or root) is no report, and the
// report read into stays as it was rather than becoming an empty one saved over the real file.
TEST(ReportFile, AStoreFileOfAnotherKindIsRefused) {
    kvn_test::TempDir dir;
    struct Kind {
        const char* Root;
        uint32_t FileType;
    };
    for (const Kind kind : {Kind{"Groups", SCA_KVN_GROUPS_FILE_TYPE},
                            Kind{SCA_KVN_REPORT_ROOT, SCA_KVN_GROUPS_FILE_TYPE},
                            Kind{"Groups", SCA_KVN_REPORT_FILE_TYPE}}) {
        SCA_KvnReport written;
        written.SetReportId(5);
        SCA_ConfigObj other(kind.Root, nullptr);
        ASSERT_EQ(1, written.Serialize(&other));
        uint32_t error = 0;
        const std::string path = dir / "other.hdx";
        ASSERT_EQ(1, other.Save(path.c_str(), kind.FileType, 0, &error));

        SCA_KvnReport report;
        report.SetReportId(2);
        SCA_KvnCounter* counter = nullptr;
        report.GetCounterList()->AddCounter(4, &counter);
        Reports reports;
        EXPECT_EQ(0, report.Load(path.c_str(), &error)) << kind.Root << " " << kind.FileType;
        EXPECT_EQ(SCA_KVN_ERROR_NOT_REPORT, error);
        EXPECT_TRUE(Contains(reports.TakeTexts(), "SCA_KvnReport::Load: not a report file"));
        EXPECT_EQ(2u, report.GetReportId());
        EXPECT_EQ(1u, report.GetCounterList()->Count());
    }
}

namespace {

// One loader of the store's files: where its file lies, what its part holds in stored form, and
// the load itself with the error code it hands back (0 when it gives none).
struct StoreLoader {
    const char* Name;
    const char* Root;
    uint32_t FileType;
    std::function<std::string()> Path;
    std::function<std::string()> Form;
    std::function<int(uint32_t*)> Load;
    bool HandsBackCode;
};

std::string BytesOf(SCA_ConfigObj* form) {
    std::string bytes;
    EXPECT_EQ(1, form->ToFileBytes(0, &bytes));
    return bytes;
}

} // namespace

// Every store file shares one well-formed container, so a file of another kind, or one of the
// right kind whose checksum broke, must be refused with a clear error by each loader, and what
// the part held must stay: an empty list or device taken from it would be saved over the real
// file later.
TEST_F(DeviceFiles, EveryLoaderRefusesADamagedFileOrOneOfAnotherKindAndKeepsWhatItHeld) {
    SCA_KvnDeviceIndex index(nullptr, &m_Folders.Settings);
    SCA_KvnDeviceInfo* info = nullptr;
    ASSERT_EQ(1, index.AddDevice("kept-host", &info));
    SCA_KvnGroupList groups(nullptr, &m_Folders.Settings);
    SCA_KvnGroup* group = nullptr;
    ASSERT_EQ(1, groups.AddGroup("kept-group", &group));
    UpdateTwoDays(&m_Device);
    m_Device.SetTotalMonitors(9);
    uint32_t error = 0;
    ASSERT_EQ(1, index.Save());
    ASSERT_EQ(1, groups.Save());
    ASSERT_EQ(1, m_Device.Save(1, 1, &error));

    const std::vector<StoreLoader> loaders = {
        {"SCA_KvnDeviceIndex::Load", SCA_KVN_DEVICE_INDEX_ROOT, SCA_KVN_DEVICE_INDEX_FILE_TYPE,
         [&] { return std::string(m_Folders.Dir / "devices.hdx"); },
         [&] {
             SCA_ConfigObj form("Form", nullptr);
             EXPECT_EQ(1, index.Serialize(&form, 1));
             return BytesOf(&form);
         },
         [&](uint32_t* /*error*/) { return index.Load(); }, false},
        {"SCA_KvnGroupList::Load", SCA_KVN_GROUPS_ROOT, SCA_KVN_GROUPS_FILE_TYPE,
         [&] { return std::string(m_Folders.Dir / "groups.hdx"); },
         [&] {
             SCA_ConfigObj form("Form", nullptr);
             EXPECT_EQ(1, groups.Serialize(&form));
             return BytesOf(&form);
         },
         [&](uint32_t* /*error*/) { return groups.Load(); }, false},
        {"SCA_KvnDevice::Load", SCA_KVN_DEVICE_ROOT, SCA_KVN_DEVICE_FILE_TYPE,
         [&] { return m_Folders.DevicePath("device_000007/kvn_device_data.hdx"); },
         [&] {
             SCA_ConfigObj form("Form", nullptr);
             EXPECT_EQ(1, m_Device.Serialize(1, 1, &form));
             return BytesOf(&form);
         },
         [&](uint32_t* code) { return m_Device.Load(1, 1, code); }, true},
    };
    struct Kind {
        const char* Root;
        uint32_t FileType; // 0: the loader's own
    };
    for (const StoreLoader& loader : loaders) {
        SCOPED_TRACE(loader.Name);
        const std::string good = ReadBytes(loader.Path());
        const std::string before = loader.Form();
        for (const Kind kind : {Kind{SCA_KVN_REPORT_ROOT, SCA_KVN_REPORT_FILE_TYPE},
                                Kind{loader.Root, SCA_KVN_REPORT_FILE_TYPE},
                                Kind{SCA_KVN_REPORT_ROOT, loader.FileType}}) {
            SCOPED_TRACE(std::string(kind.Root) + " " + std::to_string(kind.FileType));
            SCA_ConfigObj other(kind.Root, nullptr);
            other.AddField("Note", "another store file");
            ASSERT_EQ(1, other.Save(loader.Path().c_str(), kind.FileType, 0, &error));
            Reports reports;
            error = 0;
            EXPECT_EQ(0, loader.Load(&error));
            EXPECT_EQ(before, loader.Form());
            EXPECT_TRUE(Contains(reports.TakeTexts(), std::string(loader.Name) + ": not a "));
            if (loader.HandsBackCode) {
                EXPECT_EQ(SCA_KVN_ERROR_NOT_STORE_FILE, error);
            }
        }
        kvn_test::WriteBytes(loader.Path(), good);
        Damage(loader.Path());
        Reports reports;
        EXPECT_EQ(0, loader.Load(&error));
        EXPECT_EQ(before, loader.Form());
        EXPECT_TRUE(
            Contains(reports.TakeTexts(), std::string(loader.Name) + ": cannot load (ERR:"));

        kvn_test::WriteBytes(loader.Path(), good); // the file as saved still reads
        EXPECT_EQ(1, loader.Load(&error));
    }
}
