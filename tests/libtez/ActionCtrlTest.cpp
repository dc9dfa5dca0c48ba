// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "libmor/SCA_FileName.h"
#include "libtez/SCA_TezActionCtrl.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezActionType.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezReport.h"
#include "model/SCA_TezReportFormat.h"
#include "tests/support/KorvantaTestSupport.h"

namespace {

// The monitor's report as it stands (empty here).
int ProvideReport(const SCA_TezAction*, SCA_TezReport*, void* calls) {
    ++*static_cast<int*>(calls);
    return 1;
}

constexpr uint32_t kServiceVersion = 503;

} // namespace

TEST(ActionCtrl, ReportFileNamesNeverLeaveTheFolder) {
    char path[4096];
    for (const char* name : {"../../etc/passwd", "a/..\\b", "\x01\n..", "", ".hidden"}) {
        ASSERT_EQ(SCA_TezActionCtrl::BuildReportPath("/srv/reports", name, 3, 4, "2024-01-02 03-04",
                                                     SCA_TEZ_FORMAT_CSV, path, sizeof(path)),
                  1);
        const std::string file = std::string(path).substr(std::string("/srv/reports/").size());
        EXPECT_EQ(std::string(path).rfind("/srv/reports/Korvanta ", 0), 0u) << path;
        EXPECT_EQ(file.find('/'), std::string::npos) << path;
        EXPECT_EQ(file.find(".."), std::string::npos) << path;
        for (char c : file) {
            EXPECT_GE(static_cast<unsigned char>(c), 0x20) << path;
        }
    }
    EXPECT_EQ(SCA_TezActionCtrl::BuildReportPath("/srv", "m", 1, 2, "t", 4, path, sizeof(path)), 0);
    EXPECT_EQ(SCA_TezActionCtrl::BuildReportPath("", "m", 1, 2, "t", 0, path, sizeof(path)), 0);
    char name[] = "..";
    SCA_NormalizeFileName(name, sizeof(name));
    EXPECT_STREQ(name, "_");
}

TEST(ActionCtrl, SoundActionsKeepTheNewestWithinTheBound) {
    SCA_TezActionCtrl ctrl(nullptr, nullptr, nullptr, nullptr, 0);
    SCA_TezCond cond;
    cond.SetActionType(SCA_ACTION_PLAY_SOUND);
    cond.SetActionValue("Alarm");
    const uint32_t extra = 10;
    for (uint32_t i = 0; i < SCA_TEZ_MAX_SOUND_ACTIONS + extra; ++i) {
        SCA_TezAction action;
        action.SetActionType(SCA_ACTION_PLAY_SOUND);
        action.SetActionTime(1000 + i);
        action.SetSubject(nullptr, nullptr, &cond, nullptr, nullptr);
        ASSERT_EQ(ctrl.DoAction(&action), 1);
    }
    SCA_ConfigObj out("Sounds", nullptr);
    ASSERT_EQ(ctrl.SerializeSoundActions(0, &out), 1);
    EXPECT_EQ(out.GetFieldCount(), SCA_TEZ_MAX_SOUND_ACTIONS);
    EXPECT_EQ(ctrl.GetLastSoundActionTime(), 1000u + SCA_TEZ_MAX_SOUND_ACTIONS + extra - 1);
    SCA_SoundAction* oldest = nullptr;
    ASSERT_EQ(ctrl.GetSoundActions()->GetHeadItem(&oldest), 1);
    EXPECT_EQ(oldest->GetActionTime(), 1000u + extra);
    EXPECT_STREQ(oldest->GetSoundName(), "Alarm");
}

TEST(ActionCtrl, AReportActionWithoutAWriterFailsAndWritesNothing) {
    korvanta_test::TempDir dir;
    SCA_TezConfig config(kServiceVersion);
    SCA_TezConfigUser userConfig(&config);
    userConfig.SetReportsDir(dir.Path().c_str());
    ASSERT_EQ(userConfig.PublishSnapshot(), 1);
    SCA_TezActionCtrl ctrl(nullptr, &userConfig, nullptr, nullptr, 0);
    int calls = 0;
    ctrl.SetReportProvider(&ProvideReport, &calls);
    SCA_TezAction action;
    action.SetActionType(SCA_ACTION_REPORT_FIRST);
    action.SetReportFormat(SCA_TEZ_FORMAT_TEXT);
    action.SetReportDir(dir.Path().c_str());
    action.SetMonitorName("Disks");
    EXPECT_EQ(ctrl.DoAction(&action), 0);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(dir.Names().empty());
}
