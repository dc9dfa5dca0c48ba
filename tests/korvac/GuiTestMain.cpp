// SPDX-License-Identifier: MIT
// Every client test runs offscreen on two screens side by side: a 1280 x 1024 primary and a
// 1920 x 1080 one to its right.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

#include "../support/KorvantaTestSupport.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    korvanta_test::TempDir dir;
    const std::string config = dir / "screens.json";
    if (FILE* file = std::fopen(config.c_str(), "w")) {
        std::fputs("{ \"screens\": [ { \"name\": \"left\", \"x\": 0, \"y\": 0, \"width\": 1280, "
                   "\"height\": 1024, \"logicalDpi\": 96 }, { \"name\": \"right\", \"x\": 1280, "
                   "\"y\": 0, \"width\": 1920, \"height\": 1080, \"logicalDpi\": 96 } ] }",
                   file);
        std::fclose(file);
    }
    const std::string platform = "offscreen:configfile=" + config;
    setenv("QT_QPA_PLATFORM", platform.c_str(), 1);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
