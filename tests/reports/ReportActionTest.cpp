// SPDX-License-Identifier: MIT
// Report actions carried out by the action controller's worker with the writers that the
// service hands it.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "libtez/SCA_TezActionCtrl.h"
#include "libtez/reports/SCA_TezReporter.h"
#include "model/SCA_TezActionType.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezReportFormat.h"
#include "tests/reports/ReportTestSupport.h"
#include "tests/support/KorvantaTestSupport.h"
#include "tests/support/WaitUntil.h"

namespace {

int ProvideReport(const SCA_TezAction*, SCA_TezReport* report, void* calls) {
    ++*static_cast<int*>(calls);
    korvanta_test::FillReport(report);
    return 1;
}

constexpr uint32_t kServiceVersion = 503;

} // namespace

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
    ctrl.SetReportSaver(&SCA_TezReporter::Save);
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
    EXPECT_TRUE(korvanta_test::WaitUntil("the awaited state", [&] { return !WebNames().empty(); }));
    ctrl.StopAll();
    const auto names = WebNames();
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].rfind("Korvanta ____Web_DB ", 0), 0u) << names[0];
    EXPECT_EQ(names[0].substr(names[0].size() - 5), ".json");
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"Web"});
}
