#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "libmor/SCA_FileName.h"
#include "libtez/SCA_TezActionCtrl.h"
#include "libtez/SCA_TezReportWriter.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezActionType.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigUser.h"
#include "tests/libtez/ReportTestSupport.h"
#include "tests/support/KorvantaTestSupport.h"

namespace {

int ProvideReport(const SCA_TezAction*, SCA_TezReport* report, void* calls) {
    ++*static_cast<int*>(calls);
    korvanta_test::FillReport(report);
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

TEST(ActionCtrl, WorkerSavesTheProvidedReportBelowTheReportsFolderOnly) {
    korvanta_test::TempDir dir;
    std::filesystem::create_directory(dir / "Web");
    const auto WebNames = [&dir] {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir / "Web")) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    };
    SCA_TezConfig config(kServiceVersion);
    SCA_TezConfigUser userConfig(&config);
    userConfig.SetReportsDir(dir.Path().c_str());
    ASSERT_EQ(userConfig.PublishSnapshot(), 1);
    SCA_TezActionCtrl ctrl(nullptr, &userConfig, nullptr, nullptr, 0);
    int calls = 0;
    ctrl.SetReportProvider(&ProvideReport, &calls);
    ASSERT_EQ(ctrl.StartProcess(), 1);
    uint32_t jsonAction = 0;
    for (uint32_t type = SCA_ACTION_REPORT_FIRST; type <= SCA_ACTION_REPORT_LAST; ++type) {
        uint32_t format = 0;
        if (SCA_TezGetActionReportFormat(type, &format) && format == SCA_TEZ_FORMAT_JSON) {
            jsonAction = type;
        }
    }
    ASSERT_NE(jsonAction, 0u);
    // One action names a folder outside the reports folder, the other one inside it.
    for (const char* folder : {"../elsewhere", "Web"}) {
        auto* action = new SCA_TezAction();
        action->SetActionType(jsonAction);
        action->SetActionId(5);
        action->SetReportFormat(SCA_TEZ_FORMAT_JSON);
        action->SetReportDir(folder);
        action->SetMonitorName("../../Web/DB");
        ASSERT_EQ(ctrl.GetActionQueue()->Put(action), 1);
    }
    for (int i = 0; i < 100 && WebNames().empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ctrl.StopAll();
    const auto names = WebNames();
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].rfind("Korvanta ____Web_DB ", 0), 0u) << names[0];
    EXPECT_EQ(names[0].substr(names[0].size() - 5), ".json");
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"Web"});
}
