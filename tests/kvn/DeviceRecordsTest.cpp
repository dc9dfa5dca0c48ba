// SPDX-License-Identifier: MIT
// Device records, the device list, session histories, the device index in memory and the
// network settings.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "KvnTestSupport.h"
#include "libkvn/SCA_KvnDeviceIndex.h"
#include "libkvn/SCA_KvnDeviceInfo.h"
#include "libkvn/SCA_KvnDeviceList.h"
#include "libkvn/SCA_KvnDeviceSessions.h"
#include "libkvn/SCA_KvnNetConfigUser.h"
#include "model/SCA_ConfigObj.h"

using kvn_test::HeapFailure;
using kvn_test::Names;
using kvn_test::Printed;
using kvn_test::Reports;
using kvn_test::Value;
using Texts = std::vector<std::string>;

namespace {

SCA_KvnDeviceInfo MakeDevice(uint32_t id, const char* host) {
    SCA_KvnDeviceInfo info;
    info.SetDeviceId(id);
    info.SetHostName(host);
    info.SetPortNumber(9100);
    info.SetUserName("ops");
    info.SetPassword("secret");
    info.SetDevUpdatePeriod(30);
    info.SetMaxPendingStatus(12);
    info.SetLastUpdateTime(123456789ULL);
    info.SetSaved(1);
    return info;
}

// The session numbers of a history from head to tail.
std::vector<uint32_t> SessionIds(const SCA_KvnDeviceSessions& sessions) {
    std::vector<uint32_t> ids;
    for (auto* node = sessions.GetHead(); node != nullptr; node = node->GetNext()) {
        ids.push_back(node->GetItem()->GetSessionId());
    }
    return ids;
}

} // namespace

TEST(DeviceInfo, StoredFormHasTheNineFieldsAndOnlineOnlyWithStatus) {
    SCA_KvnDeviceInfo fresh;
    SCA_ConfigObj plain("Device", nullptr);
    ASSERT_EQ(1, fresh.Serialize(&plain, 0));
    EXPECT_EQ((Texts{"DeviceId", "HostName", "PortNumber", "UserName", "Password",
                     "DevUpdatePeriod", "MaxPendingStatus", "LastUpdateTime", "Saved"}),
              Names(plain));
    EXPECT_EQ(std::to_string(SCA_KVN_DEVICE_DEFAULT_PORT), Value(plain, "PortNumber"));
    EXPECT_EQ("qelma", Value(plain, "UserName"));
    EXPECT_EQ("qelma", Value(plain, "Password"));

    fresh.SetOnline(1);
    SCA_ConfigObj withStatus("Device", nullptr);
    ASSERT_EQ(1, fresh.Serialize(&withStatus, 1));
    ASSERT_EQ(10u, withStatus.GetFieldCount());
    EXPECT_EQ("Online", Names(withStatus).back());
    EXPECT_EQ("1", Value(withStatus, "Online"));
}

TEST(DeviceInfo, ReadingChangesOnlyWhatTheObjectHolds) {
    SCA_KvnDeviceInfo info = MakeDevice(4, "alpha");
    info.SetOnline(1);
    SCA_ConfigObj partial("Device", nullptr);
    partial.AddField("HostName", "beta");
    partial.AddField("PortNumber", "not a port");
    partial.AddField("Online", 0);
    ASSERT_EQ(1, info.Deserialize(&partial, 0));
    EXPECT_STREQ("beta", info.GetHostName());
    EXPECT_EQ(9100, info.GetPortNumber());
    EXPECT_EQ(4u, info.GetDeviceId());
    EXPECT_EQ(1, info.IsOnline()); // "Online" is read only with the status flag
    ASSERT_EQ(1, info.Deserialize(&partial, 1));
    EXPECT_EQ(0, info.IsOnline());
}

TEST(DeviceInfo, SetContentCopiesEverythingButOnline) {
    SCA_KvnDeviceInfo source = MakeDevice(8, "gamma");
    source.SetOnline(1);
    SCA_KvnDeviceInfo target;
    ASSERT_EQ(1, target.SetContent(&source));
    EXPECT_EQ(0, target.IsOnline());
    EXPECT_EQ(8u, target.GetDeviceId());
    EXPECT_STREQ("gamma", target.GetHostName());
    EXPECT_STREQ("ops", target.GetUserNameA());
    EXPECT_STREQ("secret", target.GetPassword());
    EXPECT_EQ(30u, target.GetDevUpdatePeriod());
    EXPECT_EQ(12u, target.GetMaxPendingStatus());
    EXPECT_EQ(123456789ULL, target.GetLastUpdateTime());
    EXPECT_EQ(1, target.IsSaved());
}

TEST(DeviceInfo, TextSettersStayWithinTheirFields) {
    SCA_KvnDeviceInfo info;
    // 254 ASCII bytes and then a two-byte character: the character would end past byte 255.
    const std::string name = std::string(254, 'h') + "\xC3\xA9" + std::string(100, 'x');
    info.SetHostName(name.c_str());
    info.SetPassword(std::string(1000, 'p').c_str());
    EXPECT_EQ(std::string(254, 'h'), info.GetHostName());
    EXPECT_EQ(255u, std::string(info.GetPassword()).size());
}

TEST(DeviceInfo, ShowPrintsNumberNameAndState) {
    SCA_KvnDeviceInfo info;
    info.SetDeviceId(3);
    info.SetHostName("hosta");
    info.SetOnline(1);
    const std::string line = Printed([&] { info.Show(); });
    EXPECT_EQ(0u, line.find("03 - hosta        - Online     - Last Update ")) << line;
    EXPECT_EQ('\n', line.back());
    info.SetOnline(0);
    EXPECT_NE(std::string::npos, Printed([&] { info.Show(); }).find("- Offline    -"));
}

TEST(DeviceList, AddsEachNumberOnceAndOwnsItsRecords) {
    SCA_KvnDeviceList list;
    SCA_KvnDeviceInfo* first = nullptr;
    SCA_KvnDeviceInfo* again = nullptr;
    ASSERT_EQ(1, list.AddDevice(5, &first));
    ASSERT_EQ(1, list.AddDevice(5, &again));
    EXPECT_EQ(first, again);
    EXPECT_EQ(1u, list.Count());
    EXPECT_EQ(5u, first->GetDeviceId());

    EXPECT_EQ(1, list.DeleteDevice(9));
    EXPECT_EQ(1u, list.Count());
    EXPECT_EQ(1, list.DeleteDevice(5));
    EXPECT_EQ(0, list.GetDevice(5, &first));

    Reports reports;
    HeapFailure failure(1);
    EXPECT_EQ(0, list.AddDevice(6, &first));
    EXPECT_EQ(0u, list.Count());
    EXPECT_EQ((Texts{"SCA_KvnDeviceList::AddDevice: Cannot create device info object"}),
              reports.TakeTexts());
}

TEST(DeviceSessions, KeepOnlyTheNewestHundred) {
    SCA_KvnDeviceSessions sessions(nullptr, nullptr, nullptr);
    SCA_KvnDeviceSession* session = nullptr;
    for (int i = 0; i < 101; ++i) {
        ASSERT_EQ(1, sessions.OpenSession(&session));
    }
    EXPECT_EQ(100u, sessions.Count());
    EXPECT_EQ(1u, sessions.GetHead()->GetItem()->GetSessionId());
    EXPECT_EQ(100u, session->GetSessionId());
    EXPECT_NE(0u, session->GetStartTime());
    EXPECT_EQ(0u, session->GetStopTime());

    ASSERT_EQ(1, sessions.OpenSession(&session));
    EXPECT_EQ(101u, session->GetSessionId());
    EXPECT_EQ(2u, sessions.GetHead()->GetItem()->GetSessionId());

    sessions.ClearAll();
    ASSERT_EQ(1, sessions.OpenSession(&session));
    EXPECT_EQ(0u, session->GetSessionId());
}

TEST(DeviceSessions, ReadingKeepsTheStoredOrderAndNumbersAboveIt) {
    SCA_ConfigObj stored("Sessions", nullptr);
    for (uint32_t id : {3u, 7u, 5u}) {
        stored.AddConfigObj("any")->AddField("SessionId", id);
    }
    SCA_KvnDeviceSessions sessions(nullptr, nullptr, nullptr);
    SCA_KvnDeviceSession* session = nullptr;
    sessions.OpenSession(&session);
    ASSERT_EQ(1, sessions.Deserialize(&stored));
    EXPECT_EQ((std::vector<uint32_t>{3, 7, 5}), SessionIds(sessions));
    EXPECT_EQ(8u, sessions.GetNextSessionId());
}

TEST(DeviceSessions, SessionRoundTripAndPartialRead) {
    SCA_KvnDeviceSession session;
    session.SetSessionId(4);
    session.SetStartTime(1000);
    session.SetStopTime(2000);
    session.SetKvMajor(13);
    session.SetKvMinor(5);
    session.SetKvRevision(48);
    session.SetOsMajor(6);
    session.SetOsMinor(1);
    session.SetOsBuild(7601);
    session.SetOsProductType(3);
    session.SetHwPlatform(9);
    session.SetTotalMemory(8ULL << 30);
    session.SetTotalDiskSpace(1ULL << 40);
    SCA_ConfigObj object("Session", nullptr);
    ASSERT_EQ(1, session.Serialize(&object));
    EXPECT_EQ(13u, object.GetFieldCount());

    SCA_KvnDeviceSession copy;
    ASSERT_EQ(1, copy.Deserialize(&object));
    SCA_ConfigObj again("Session", nullptr);
    ASSERT_EQ(1, copy.Serialize(&again));
    EXPECT_EQ(1, object.Compare(&again));

    SCA_ConfigObj noStop("Session", nullptr);
    noStop.AddField("SessionId", 9u);
    ASSERT_EQ(1, copy.Deserialize(&noStop));
    EXPECT_EQ(9u, copy.GetSessionId());
    EXPECT_EQ(2000u, copy.GetStopTime());
}

TEST(DeviceSessions, ShowMarksAnOpenSession) {
    SCA_KvnDeviceSessions sessions(nullptr, nullptr, nullptr);
    EXPECT_EQ("No Device Sessions To Display\n", Printed([&] { sessions.Show(); }));
    SCA_KvnDeviceSession* session = nullptr;
    sessions.OpenSession(&session);
    session->SetKvMajor(13);
    const std::string line = Printed([&] { sessions.Show(); });
    EXPECT_EQ(0u, line.find("  0 - KV v13.0.0 OS v0.0.0.0 Memory ")) << line;
    EXPECT_NE(std::string::npos, line.find(", Stop NA\n")) << line;
}

TEST(DeviceSessions, CopiesAreIndependent) {
    SCA_KvnDeviceSessions sessions(nullptr, nullptr, nullptr);
    SCA_KvnDeviceSession* session = nullptr;
    sessions.OpenSession(&session);
    sessions.OpenSession(&session);
    sessions.DeleteSession(1);

    SCA_KvnDeviceSessions copy(sessions);
    ASSERT_EQ(1u, copy.IsConstructed());
    EXPECT_EQ(2u, copy.GetNextSessionId());
    ASSERT_EQ(1, copy.GetSession(0, &session));
    session->SetStopTime(77);
    SCA_KvnDeviceSession* original = nullptr;
    ASSERT_EQ(1, sessions.GetSession(0, &original));
    EXPECT_NE(original, session);
    EXPECT_EQ(0u, original->GetStopTime());

    SCA_KvnDeviceSessions* clone = sessions.Clone();
    ASSERT_NE(nullptr, clone);
    EXPECT_EQ(1u, clone->Count());
    EXPECT_EQ(1u, clone->GetNextSessionId());
    clone->Destroy();
}

TEST(DeviceIndex, NumbersDevicesAndFindsThemByNameWithoutCase) {
    SCA_KvnDeviceIndex index(nullptr, nullptr);
    SCA_KvnDeviceInfo* device = nullptr;
    SCA_KvnDeviceInfo* same = nullptr;
    ASSERT_EQ(1, index.AddDevice("web-01", &device));
    ASSERT_EQ(1, index.AddDevice("WEB-01", &same));
    EXPECT_EQ(device, same);
    EXPECT_EQ(1u, index.Count());
    EXPECT_EQ(1u, index.GetStatusId());

    index.AddDevice("db-01", &device);
    index.AddDevice("db-02", &device);
    EXPECT_EQ(2u, device->GetDeviceId());
    EXPECT_EQ(1, index.DeleteDevice(1));
    EXPECT_EQ(4u, index.GetStatusId());
    EXPECT_EQ(1, index.DeleteDevice(1)); // gone already: no change
    EXPECT_EQ(4u, index.GetStatusId());
    index.AddDevice("db-03", &device);
    EXPECT_EQ(3u, device->GetDeviceId());
    ASSERT_EQ(1, index.GetDevice("Db-03", &same));
    EXPECT_EQ(device, same);
    EXPECT_EQ(0, index.GetDevice("db-01", &same));

    index.ClearAll();
    index.AddDevice("web-01", &device);
    EXPECT_EQ(0u, device->GetDeviceId());
}

TEST(DeviceIndex, ClonesAreOfflineAndNumberedAboveTheHighestDevice) {
    SCA_KvnDeviceIndex index(nullptr, nullptr);
    SCA_KvnDeviceInfo* device = nullptr;
    for (const char* host : {"a", "b", "c"}) {
        index.AddDevice(host, &device);
        device->SetOnline(1);
    }
    index.DeleteDevice(2);
    EXPECT_EQ("No Devices To Display\n", Printed([] {
                  SCA_KvnDeviceIndex empty(nullptr, nullptr);
                  empty.Show();
              }));

    SCA_KvnDeviceIndex* clone = index.Clone();
    ASSERT_NE(nullptr, clone);
    EXPECT_EQ(2u, clone->Count());
    EXPECT_EQ(2u, clone->GetStatusId());
    EXPECT_EQ(2u, clone->GetNextDeviceId());
    for (auto* node = clone->GetHead(); node != nullptr; node = node->GetNext()) {
        EXPECT_EQ(0, node->GetItem()->IsOnline());
    }
    clone->Destroy();

    // A copy is a full copy: online state, status id and the next number included.
    SCA_KvnDeviceIndex copy(index);
    EXPECT_EQ(3u, copy.GetNextDeviceId());
    EXPECT_EQ(index.GetStatusId(), copy.GetStatusId());
    ASSERT_EQ(1, copy.GetDevice(0u, &device));
    EXPECT_EQ(1, device->IsOnline());
}

TEST(NetConfigUser, StoresTheTwoSettingsAfterTheGeneralOnesButNotTheDevicesFolder) {
    SCA_KvnNetConfigUser settings(nullptr);
    EXPECT_EQ(1u, settings.GetNetDevUpdatePeriod());
    EXPECT_EQ(1000u, settings.GetNetMaxPendingStatus());
    settings.SetNetDevUpdatePeriod(15);
    settings.SetNetMaxPendingStatus(40);
    settings.SetDevicesDirName("/srv/devices");
    settings.SetConfigDir("/srv/config");

    SCA_ConfigObj stored("Config", nullptr);
    ASSERT_EQ(1, settings.Serialize(&stored));
    const Texts names = Names(stored);
    ASSERT_GT(names.size(), 2u);
    EXPECT_EQ("FileType", names.front()); // the general settings come first
    EXPECT_EQ((Texts{"NetDevUpdatePeriod", "NetMaxPendingStatus"}),
              Texts(names.end() - 2, names.end()));

    SCA_KvnNetConfigUser read(nullptr);
    read.SetDevicesDirName("/keep");
    ASSERT_EQ(1, read.Deserialize(nullptr, &stored, 0xFFFFFFFFu));
    EXPECT_EQ(15u, read.GetNetDevUpdatePeriod());
    EXPECT_EQ(40u, read.GetNetMaxPendingStatus());
    EXPECT_STREQ("/keep", read.GetDevicesDirName());
    EXPECT_STREQ("/srv/config", read.GetConfigDir());

    // A general configuration without the network fields keeps the values held.
    SCA_TezConfigUser general(nullptr);
    SCA_ConfigObj without("Config", nullptr);
    ASSERT_EQ(1, general.Serialize(&without));
    ASSERT_EQ(1, read.Deserialize(nullptr, &without, 0xFFFFFFFFu));
    EXPECT_EQ(15u, read.GetNetDevUpdatePeriod());

    // A form the general part refuses: the network fields are not read either.
    SCA_ConfigObj foreign("Config", nullptr);
    foreign.AddField("FileType", 5u);
    foreign.AddField("NetDevUpdatePeriod", 99u);
    Reports reports;
    EXPECT_EQ(0, read.Deserialize(nullptr, &foreign, 0xFFFFFFFFu));
    EXPECT_EQ(15u, read.GetNetDevUpdatePeriod());

    SCA_KvnNetConfigUser copy(settings);
    EXPECT_EQ(1u, copy.IsConstructed());
    EXPECT_STREQ("/srv/devices", copy.GetDevicesDirName());
    EXPECT_STREQ("/srv/config", copy.GetConfigDir());
    EXPECT_EQ(40u, copy.GetNetMaxPendingStatus());
}
