// SPDX-License-Identifier: MIT
// Where the configuration files live, and how the service and the client load, create and
// reset them at start.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "libmor/SCA_FileSystem.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigFiles.h"
#include "model/SCA_TezConfigUser.h"
#include "tests/model/ModelTestSupport.h"
#include "tests/model/SettingsTestSupport.h"

namespace {

using settings_test::FileMode;
using settings_test::KorvantaHome;
using settings_test::ReadBytes;
using settings_test::WriteBytes;

constexpr const char* kCorrupted =
    "User configuration file is corrupted.\nReseting the current user profile to the default "
    "configuration.";

bool Contains(const std::vector<std::string>& texts, const std::string& part) {
    for (const std::string& text : texts) {
        if (text.find(part) != std::string::npos) {
            return true;
        }
    }
    return false;
}

TEST(ConfigFolderTest, EachSideFindsItsFolderByTheRules) {
    struct Case {
        const char* What;
        tagSCA_CONFIG_ENV Env;
        SCA_TezConfigSide Side;
        const char* Folder; // null: no folder
    };
    using Side = SCA_TezConfigSide;
    const std::vector<Case> cases = {
        {"home replaces all", {"/opt/k/", "/d", "/c", "/h", 1}, Side::Service, "/opt/k"},
        {"home for the client", {"/opt/k", "/d", "/c", "/h", 0}, Side::Client, "/opt/k"},
        {"service as root", {nullptr, "/d", "/c", "/h", 1}, Side::Service, "/var/lib/korvanta"},
        {"empty home is unset", {"", "/d", "/c", "/h", 1}, Side::Service, "/var/lib/korvanta"},
        {"service as a user", {nullptr, "/d/", "/c", "/h", 0}, Side::Service, "/d/korvanta"},
        {"service without XDG",
         {nullptr, nullptr, "/c", "/h", 0},
         Side::Service,
         "/h/.local/share/korvanta"},
        {"relative XDG ignored",
         {nullptr, "rel", "/c", "/h/", 0},
         Side::Service,
         "/h/.local/share/korvanta"},
        {"client as root", {nullptr, "/d", "/c", "/h", 1}, Side::Client, "/c/korvanta"},
        {"client without XDG", {nullptr, "/d", "", "/h", 0}, Side::Client, "/h/.config/korvanta"},
        {"no home folder", {nullptr, nullptr, nullptr, nullptr, 0}, Side::Client, nullptr},
    };
    for (const Case& c : cases) {
        char folder[256] = "unchanged";
        const int found = SCA_GetConfigFolderFor(&c.Env, c.Side, folder, sizeof(folder));
        EXPECT_EQ(found, c.Folder != nullptr ? 1 : 0) << c.What;
        if (c.Folder != nullptr) {
            EXPECT_STREQ(folder, c.Folder) << c.What;
        }
    }
    tagSCA_CONFIG_ENV env = {"/a/long/folder", nullptr, nullptr, nullptr, 0};
    char small[8];
    EXPECT_EQ(SCA_GetConfigFolderFor(&env, SCA_TezConfigSide::Client, small, sizeof(small)), 0);

    KorvantaHome home;
    char folder[4096];
    ASSERT_EQ(SCA_GetConfigFolder(SCA_TezConfigSide::Service, folder, sizeof(folder)), 1);
    EXPECT_EQ(std::string(folder), home.Path());
}

// A service or client start against the temporary folder.
class SettingsFilesTest : public ::testing::Test {
protected:
    struct Start {
        SCA_TezConfig Product{SCA_PRODUCT_TYPE_KORVANTA};
        SCA_TezConfigUser User{&Product};
        uint32_t Code = 0;
        int Loaded = 0;
    };

    // The service's start-up loading; 1 when both configurations are ready.
    static int Run(Start* start, SCA_TezConfigSide side, const char* name = nullptr) {
        start->Loaded = SCA_LoadProductConfig(&start->Product, name, side, &start->Code) &&
                        SCA_LoadUserConfig(&start->User, &start->Product, side, &start->Code);
        return start->Loaded;
    }

    std::string Password() const { return ReadBytes(m_Home / "initial-password"); }

    KorvantaHome m_Home;
    model_test::Reports m_Reports;
};

TEST_F(SettingsFilesTest, AFirstStartCreatesTheFilesAndAPasswordOnlyTheOwnerCanRead) {
    Start first;
    ASSERT_EQ(Run(&first, SCA_TezConfigSide::Service), 1);
    EXPECT_EQ(m_Home.Names(),
              (std::vector<std::string>{"initial-password", "korva.hdx", "korva_user.hdx"}));
    for (const char* file : {"initial-password", "korva.hdx", "korva_user.hdx"}) {
        EXPECT_EQ(FileMode(m_Home / file), 0600) << file;
    }
    const std::string password = first.User.GetServerPassword();
    EXPECT_EQ(Password(), password + "\n");
    EXPECT_STREQ(first.User.GetServerUserName(), "admin");
    EXPECT_EQ(first.User.GetServerControlPort(), 24503);
    EXPECT_TRUE(Contains(m_Reports.TakeTexts(), m_Home / "initial-password"));

    // The next start reads what the first wrote and makes no new password.
    std::remove((m_Home / "initial-password").c_str());
    Start second;
    ASSERT_EQ(Run(&second, SCA_TezConfigSide::Service), 1);
    EXPECT_EQ(std::string(second.User.GetServerPassword()), password);
    EXPECT_EQ(FileMode(m_Home / "initial-password"), -1);
    EXPECT_FALSE(Contains(m_Reports.TakeTexts(), "password"));
}

TEST_F(SettingsFilesTest, TheClientKeepsItsOwnUserFileAndNoPasswordFile) {
    Start client;
    ASSERT_EQ(Run(&client, SCA_TezConfigSide::Client, "lab"), 1);
    EXPECT_EQ(m_Home.Names(), (std::vector<std::string>{"lab.hdx", "lab_user_client.hdx"}));
    EXPECT_STREQ(client.User.GetConnectHostName(), "localhost");
    EXPECT_EQ(client.User.GetConnectControlPort(), 24503);
}

TEST_F(SettingsFilesTest, ACorruptedUserFileIsMovedAsideAndReplacedByDefaults) {
    Start first;
    ASSERT_EQ(Run(&first, SCA_TezConfigSide::Service), 1);
    const std::string damaged = "KHDX but not what it should be";
    WriteBytes(m_Home / "korva_user.hdx", damaged);
    WriteBytes(m_Home / "korva_user.hdx.bad", "an earlier one");
    m_Reports.TakeTexts();

    Start second;
    ASSERT_EQ(Run(&second, SCA_TezConfigSide::Service), 1);
    EXPECT_EQ(ReadBytes(m_Home / "korva_user.hdx.bad.1"), damaged);
    EXPECT_EQ(ReadBytes(m_Home / "korva_user.hdx.bad"), "an earlier one");
    const std::vector<std::string> reports = m_Reports.TakeTexts();
    EXPECT_TRUE(Contains(reports, kCorrupted));
    EXPECT_TRUE(Contains(reports, m_Home / "korva_user.hdx.bad.1"));
    // The defaults were saved, with a new password in its file.
    EXPECT_EQ(Password(), std::string(second.User.GetServerPassword()) + "\n");
    EXPECT_NE(std::string(second.User.GetServerPassword()), first.User.GetServerPassword());
    SCA_TezConfigUser reread(&second.Product);
    ASSERT_EQ(reread.Init(&second.Product, nullptr), 1);
    EXPECT_EQ(reread.LoadConfig(&second.Product), 1);
}

// Every file of the folder with its bytes (a folder stands as "<folder>").
std::map<std::string, std::string> Contents(const KorvantaHome& home) {
    std::map<std::string, std::string> contents;
    for (const std::string& name : home.Names()) {
        contents[name] =
            std::filesystem::is_directory(home / name) ? "<folder>" : ReadBytes(home / name);
    }
    return contents;
}

TEST_F(SettingsFilesTest, AFileTheSystemCannotReadFailsTheStartAndNothingIsMovedResetOrWritten) {
    // A sound file that the system cannot read (owned by another user, a failing disk) is not
    // a damaged one: resetting it would lose the login and everything the file holds.
    struct Row {
        const char* File;
        SCA_TezConfigSide Side;
        uint32_t Error; // by the read-failure hook; 0: a folder stands where the file should be
        uint32_t Code;
        const char* Text;
    };
    using Side = SCA_TezConfigSide;
    const std::vector<Row> rows = {
        {"korva_user.hdx", Side::Service, EACCES, SCA_TEZ_LOAD_USER_FAILED,
         "Unable to load user configuration file."},
        {"korva_user.hdx", Side::Service, EIO, SCA_TEZ_LOAD_USER_FAILED,
         "Unable to load user configuration file."},
        {"korva_user.hdx", Side::Service, 0, SCA_TEZ_LOAD_USER_FAILED,
         "Unable to load user configuration file."},
        {"korva.hdx", Side::Service, EACCES, SCA_TEZ_LOAD_PRODUCT_FAILED,
         "Unable to load product configuration."},
        {"korva.hdx", Side::Service, EIO, SCA_TEZ_LOAD_PRODUCT_FAILED,
         "Unable to load product configuration."},
        {"korva_user_client.hdx", Side::Client, EACCES, SCA_TEZ_LOAD_USER_FAILED,
         "Cannot load user configuration file."},
        {"korva.hdx", Side::Client, EIO, SCA_TEZ_LOAD_PRODUCT_FAILED,
         "Cannot load product configuration file."},
    };
    for (const Row& row : rows) {
        const std::string path = m_Home / row.File;
        SCOPED_TRACE(std::string(row.File) + ", " +
                     (row.Error != 0 ? std::strerror(row.Error) : "a folder in its place"));
        Start first;
        ASSERT_EQ(Run(&first, row.Side), 1);
        if (row.Error == 0) {
            std::filesystem::remove(path);
            std::filesystem::create_directory(path);
        }
        const std::map<std::string, std::string> before = Contents(m_Home);
        m_Reports.TakeTexts();

        SCA_SetReadFailure(path.c_str(), row.Error);
        Start second;
        EXPECT_EQ(Run(&second, row.Side), 0);
        SCA_SetReadFailure(nullptr, 0);
        EXPECT_EQ(second.Code, row.Code);
        EXPECT_EQ(Contents(m_Home), before) << "a file was moved, reset or written";
        const std::vector<std::string> reports = m_Reports.TakeTexts();
        const std::string reason = std::strerror(row.Error != 0 ? row.Error : EISDIR);
        EXPECT_TRUE(Contains(reports,
                             path + " (ERR:" + std::to_string(row.Error != 0 ? row.Error : EISDIR) +
                                 ") - " + reason))
            << "no report names the file and the system's reason";
        EXPECT_TRUE(Contains(reports, row.Text));
        EXPECT_FALSE(Contains(reports, kCorrupted));

        // Once it can be read again, it is read as it was.
        if (row.Error != 0) {
            Start third;
            ASSERT_EQ(Run(&third, row.Side), 1);
            EXPECT_STREQ(third.User.GetServerPassword(), first.User.GetServerPassword());
            EXPECT_EQ(Contents(m_Home), before);
        }
        std::filesystem::remove_all(path);
        for (const auto& [name, bytes] : before) {
            std::filesystem::remove(m_Home / name);
        }
    }
}

TEST_F(SettingsFilesTest, AUserFileOfAnotherProductIsSetAsideToo) {
    Start first;
    ASSERT_EQ(Run(&first, SCA_TezConfigSide::Client), 1);
    SCA_TezConfig network(SCA_PRODUCT_TYPE_NETWORK);
    SCA_TezConfigUser foreign(&network);
    SCA_ConfigObj form(SCA_TEZ_USER_CONFIG_ROOT, nullptr);
    ASSERT_EQ(foreign.Serialize(&form), 1);
    uint32_t error = 0;
    ASSERT_EQ(form.Save((m_Home / "korva_user_client.hdx").c_str(), 1011, 0, &error), 1);
    const std::string bytes = ReadBytes(m_Home / "korva_user_client.hdx");

    Start second;
    ASSERT_EQ(Run(&second, SCA_TezConfigSide::Client), 1);
    EXPECT_EQ(ReadBytes(m_Home / "korva_user_client.hdx.bad"), bytes);
    EXPECT_EQ(second.User.GetProductType(), SCA_PRODUCT_TYPE_KORVANTA);
}

TEST_F(SettingsFilesTest, AFileThatCannotBeMovedAsideIsNeverOverwritten) {
    Start first;
    ASSERT_EQ(Run(&first, SCA_TezConfigSide::Service), 1);
    WriteBytes(m_Home / "korva_user.hdx", "damaged");
    WriteBytes(m_Home / "korva_user.hdx.bad", "");
    for (int i = 1; i < 100; ++i) {
        WriteBytes(m_Home / ("korva_user.hdx.bad." + std::to_string(i)), "");
    }
    Start second;
    EXPECT_EQ(Run(&second, SCA_TezConfigSide::Service), 0);
    EXPECT_EQ(second.Code, SCA_TEZ_RESET_USER_FAILED);
    EXPECT_EQ(ReadBytes(m_Home / "korva_user.hdx"), "damaged");
    EXPECT_TRUE(Contains(m_Reports.TakeTexts(), "Unable to reset user configuration file."));

    // Resetting step by step, as a caller of the single operations would, keeps it too.
    SCA_TezConfigUser user(&second.Product);
    ASSERT_EQ(user.Init(&second.Product, nullptr), 1);
    EXPECT_EQ(user.LoadConfig(&second.Product), 0);
    ASSERT_EQ(user.Init(&second.Product, nullptr), 1);
    ASSERT_EQ(user.InitDefConfig(&second.Product), 1);
    uint32_t error = 0;
    EXPECT_EQ(user.SaveConfig(&error), 0);
    EXPECT_EQ(ReadBytes(m_Home / "korva_user.hdx"), "damaged");

    WriteBytes(m_Home / "korva.hdx", "damaged too");
    WriteBytes(m_Home / "korva.hdx.bad", "");
    for (int i = 1; i < 100; ++i) {
        WriteBytes(m_Home / ("korva.hdx.bad." + std::to_string(i)), "");
    }
    SCA_TezConfig product(SCA_PRODUCT_TYPE_KORVANTA);
    ASSERT_EQ(product.Init("korva"), 1);
    EXPECT_EQ(product.LoadConfig(), 0);
    ASSERT_EQ(product.InitDefConfig(), 1);
    EXPECT_EQ(product.SaveConfig(), 0);
    EXPECT_EQ(ReadBytes(m_Home / "korva.hdx"), "damaged too");
}

TEST_F(SettingsFilesTest, AProductFileOfAnotherTypeIsRefusedAndLeftAsItIs) {
    SCA_TezConfig network(SCA_PRODUCT_TYPE_NETWORK);
    ASSERT_EQ(network.Init("korva"), 1);
    ASSERT_EQ(network.SaveConfig(), 1);
    const std::string bytes = ReadBytes(m_Home / "korva.hdx");

    for (SCA_TezConfigSide side : {SCA_TezConfigSide::Service, SCA_TezConfigSide::Client}) {
        Start start;
        EXPECT_EQ(Run(&start, side), 0);
        EXPECT_EQ(start.Code, SCA_TEZ_PRODUCT_INVALID);
    }
    EXPECT_EQ(ReadBytes(m_Home / "korva.hdx"), bytes);
    EXPECT_EQ(m_Home.Names(), std::vector<std::string>{"korva.hdx"});
    EXPECT_TRUE(Contains(m_Reports.TakeTexts(), "Product configuration file is invalid."));
}

TEST_F(SettingsFilesTest, ACorruptedProductFileIsMovedAsideAndReplacedByDefaults) {
    WriteBytes(m_Home / "korva.hdx", "garbage");
    Start start;
    ASSERT_EQ(Run(&start, SCA_TezConfigSide::Service), 1);
    EXPECT_EQ(ReadBytes(m_Home / "korva.hdx.bad"), "garbage");
    EXPECT_EQ(start.Product.GetProductType(), SCA_PRODUCT_TYPE_KORVANTA);
    EXPECT_EQ(start.Product.GetControlPort(), 24503);

    SCA_TezConfig reread(SCA_PRODUCT_TYPE_NONE);
    ASSERT_EQ(reread.Init("korva"), 1);
    ASSERT_EQ(reread.LoadConfig(), 1);
    EXPECT_EQ(reread.GetProductType(), SCA_PRODUCT_TYPE_KORVANTA);
}

TEST_F(SettingsFilesTest, FailuresBeforeAnyFileAreReportedWithTheSidesTexts) {
    Start start;
    EXPECT_EQ(SCA_LoadProductConfig(&start.Product, "", SCA_TezConfigSide::Client, &start.Code), 0);
    EXPECT_EQ(start.Code, SCA_TEZ_LOAD_PRODUCT_FAILED);
    EXPECT_TRUE(Contains(m_Reports.TakeTexts(), "Cannot load product configuration file."));
    // A user configuration needs a product configuration that knows its folder.
    EXPECT_EQ(
        SCA_LoadUserConfig(&start.User, &start.Product, SCA_TezConfigSide::Service, &start.Code),
        0);
    EXPECT_EQ(start.Code, SCA_TEZ_LOAD_USER_FAILED);
    EXPECT_TRUE(Contains(m_Reports.TakeTexts(), "Unable to load user configuration file."));
    EXPECT_TRUE(m_Home.Names().empty());
}

} // namespace
