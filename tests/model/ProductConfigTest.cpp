// SPDX-License-Identifier: MIT
// The product configuration: accessors, copies, stored form, product types and ports.
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezConfig.h"
#include "tests/model/ModelTestSupport.h"
#include "tests/model/RecordTestSupport.h"
#include "tests/model/SettingsTestSupport.h"

namespace {

using model_test::Bytes;
using settings_test::KorvantaHome;
using settings_test::SetRaw;

// One row of the product settings: how to give it a value of its own and how to show it.
struct ProductSetting {
    const char* Name;
    std::function<void(SCA_TezConfig&, uint32_t)> Set;
    std::function<std::string(const SCA_TezConfig&)> Show;
};

std::string Text(uint32_t seed) {
    return "product-" + std::to_string(seed) + "-\xC3\xA9\xE2\x82\xAC";
}
std::string Show(const char* text) {
    return text;
}
template <typename Number>
std::string Show(Number value) {
    return std::to_string(value);
}

// The product type stays 503: the forms these tests move between configurations must match.
#define PRODUCT_SETTER_Number(Name) c.Set##Name(503 + seed * 0)
#define PRODUCT_SETTER_Time(Name) c.Set##Name(7000000000000ULL + seed)
#define PRODUCT_SETTER_Port(Name) c.Set##Name(static_cast<uint16_t>(30000 + seed))
#define PRODUCT_SETTER_Text(Name) c.Set##Name(Text(seed).c_str())
#define PRODUCT_SETTER_Version(Name) c.Get##Name(Text(seed).c_str())
#define PRODUCT_ROW(Name, Kind)                                                                    \
    {#Name, [](SCA_TezConfig& c, uint32_t seed) { PRODUCT_SETTER_##Kind(Name); },                  \
     [](const SCA_TezConfig& c) { return Show(c.Get##Name()); }},

const std::vector<ProductSetting>& Rows() {
    static const std::vector<ProductSetting> rows = {SCA_TEZ_PRODUCT_SETTINGS(PRODUCT_ROW)};
    return rows;
}

void Fill(SCA_TezConfig& config) {
    for (size_t i = 0; i < Rows().size(); ++i) {
        Rows()[i].Set(config, static_cast<uint32_t>(i));
    }
    ASSERT_EQ(config.GetSignatures()->AddField("monitors.hdx", "5e88489"), 1);
}

void ExpectSameSettings(const SCA_TezConfig& expected, const SCA_TezConfig& actual) {
    for (const ProductSetting& row : Rows()) {
        EXPECT_EQ(row.Show(actual), row.Show(expected)) << row.Name;
    }
}

std::string Form(SCA_TezConfig& config) {
    SCA_ConfigObj form("ProductConfig", nullptr);
    EXPECT_EQ(config.Serialize(&form), 1);
    return Bytes(form);
}

TEST(ProductConfigTest, TextSettersKeep255BytesAndCutLongerTextsOnACharacterBoundary) {
    SCA_TezConfig config(SCA_PRODUCT_TYPE_KORVANTA);
    const std::string exact(255, 'x');
    config.SetOnlineHelpUrl(exact.c_str());
    EXPECT_EQ(std::string(config.GetOnlineHelpUrl()), exact);

    const std::string straddling = records_test::StraddlingText(SCA_TEZ_TEXT_SIZE);
    config.SetOemVendorName(straddling.c_str());
    EXPECT_EQ(std::string(config.GetOemVendorName()), std::string(SCA_TEZ_TEXT_SIZE - 2, 'a'));
    config.GetSavedProductVersion(std::string(400, 'v').c_str());
    EXPECT_EQ(std::strlen(config.GetSavedProductVersion()), 255u);
    config.SetRootDir(nullptr);
    EXPECT_STREQ(config.GetRootDir(), "");
}

TEST(ProductConfigTest, EverySettingSurvivesTheStoredFormAndTheFile) {
    KorvantaHome home;
    SCA_TezConfig source(SCA_PRODUCT_TYPE_KORVANTA);
    ASSERT_EQ(source.Init("settings"), 1);
    Fill(source);

    SCA_TezConfig received(SCA_PRODUCT_TYPE_NONE);
    SCA_ConfigObj form("ProductConfig", nullptr);
    ASSERT_EQ(source.Serialize(&form), 1);
    ASSERT_EQ(received.Deserialize(records_test::Travel(form).get()), 1);
    ExpectSameSettings(source, received);
    EXPECT_EQ(Bytes(*received.GetSignatures()), Bytes(*source.GetSignatures()));

    // The file name is the location's own, which a load keeps whatever the file says.
    source.SetConfigFileName("settings.hdx");
    ASSERT_EQ(source.SaveConfig(), 1);
    SCA_TezConfig loaded(SCA_PRODUCT_TYPE_NONE);
    ASSERT_EQ(loaded.Init("settings"), 1);
    ASSERT_EQ(loaded.LoadConfig(), 1);
    ExpectSameSettings(source, loaded);
    EXPECT_EQ(Form(loaded), Form(source));
    EXPECT_STREQ(loaded.GetSavedProductVersion(), SCA_TEZ_PRODUCT_VERSION);
}

TEST(ProductConfigTest, CopiesCarryEverythingAndOwnTheirSignatures) {
    KorvantaHome home;
    auto source = std::make_unique<SCA_TezConfig>(SCA_PRODUCT_TYPE_KORVANTA);
    ASSERT_EQ(source->Init("copied"), 1);
    Fill(*source);
    const std::string form = Form(*source);

    SCA_TezConfig copy(*source);
    SCA_TezConfig assigned(SCA_PRODUCT_TYPE_DEVICE);
    assigned = *source;
    source.reset();

    for (SCA_TezConfig* config : {&copy, &assigned}) {
        EXPECT_EQ(config->IsConstructed(), 1u);
        EXPECT_EQ(Form(*config), form);
        // The two texts without setters: the configuration's folder and name.
        EXPECT_EQ(std::string(config->GetConfigFolder()), home.Path());
        EXPECT_STREQ(config->GetConfigName(), "copied");
        EXPECT_EQ(settings_test::Value(*config->GetSignatures(), "monitors.hdx"), "5e88489");
    }
    ASSERT_EQ(copy.GetSignatures()->AddField("extra", "1"), 1);
    EXPECT_EQ(assigned.GetSignatures()->GetFieldCount(), 1u);
}

TEST(ProductConfigTest, AFormOfAnotherProductIsRefusedAndChangesNothing) {
    SCA_TezConfig device(SCA_PRODUCT_TYPE_DEVICE);
    device.SetControlPort(SCA_GetControlPort(SCA_PRODUCT_TYPE_DEVICE));
    SCA_ConfigObj form("ProductConfig", nullptr);
    ASSERT_EQ(device.Serialize(&form), 1);

    SCA_TezConfig config(SCA_PRODUCT_TYPE_KORVANTA);
    config.SetControlPort(1234);
    const std::string before = Form(config);
    model_test::Reports reports;
    EXPECT_EQ(config.Deserialize(&form), 0);
    EXPECT_EQ(Form(config), before);
    EXPECT_TRUE(reports.AllAtLevel(SCA_LEVEL_ERROR));

    SCA_ConfigObj notProduct("ProductConfig", nullptr);
    ASSERT_EQ(config.Serialize(&notProduct), 1);
    SetRaw(notProduct, "FileType", "1011");
    EXPECT_EQ(config.Deserialize(&notProduct), 0);
    SetRaw(notProduct, "FileType", "1010");
    SetRaw(notProduct, "UpdatePortNumber", "65536");
    EXPECT_EQ(config.Deserialize(&notProduct), 0);
    EXPECT_EQ(Form(config), before);

    // A configuration whose type is not known yet takes the peer's.
    SCA_TezConfig unknown(SCA_PRODUCT_TYPE_NONE);
    ASSERT_EQ(unknown.Deserialize(&form), 1);
    EXPECT_EQ(unknown.GetProductType(), SCA_PRODUCT_TYPE_DEVICE);
}

TEST(ProductConfigTest, AFormNeverMovesTheFileOfAConfigurationThatHasOne) {
    KorvantaHome home;
    SCA_TezConfig config(SCA_PRODUCT_TYPE_KORVANTA);
    ASSERT_EQ(config.Init("mine"), 1);
    SCA_TezConfig other(SCA_PRODUCT_TYPE_KORVANTA);
    other.SetConfigFileName("/etc/elsewhere.hdx");
    other.SetWebPortNumber(8088);
    SCA_ConfigObj form("ProductConfig", nullptr);
    ASSERT_EQ(other.Serialize(&form), 1);
    ASSERT_EQ(config.Deserialize(&form), 1);
    EXPECT_EQ(config.GetWebPortNumber(), 8088);
    EXPECT_STREQ(config.GetConfigFileName(), "mine.hdx");
    EXPECT_EQ(std::string(config.GetConfigFilePath()), home / "mine.hdx");
}

TEST(ProductConfigTest, ProductTypesHaveTheirOwnUnprivilegedPortsAndNames) {
    std::set<uint16_t> ports;
    for (uint32_t type :
         {SCA_PRODUCT_TYPE_KORVANTA, SCA_PRODUCT_TYPE_DEVICE, SCA_PRODUCT_TYPE_NETWORK}) {
        const uint16_t port = SCA_GetControlPort(type);
        EXPECT_GE(port, 1024) << type;
        // Below the kernel's ephemeral range, so that no outgoing connection holds it.
        EXPECT_LT(port, 32768) << type;
        ports.insert(port);
        EXPECT_STRNE(SCA_GetProductName(type), "Unknown Product") << type;
    }
    EXPECT_EQ(ports.size(), 3u);
    EXPECT_EQ(SCA_GetControlPort(SCA_PRODUCT_TYPE_KORVANTA), 24503);
    EXPECT_EQ(SCA_GetControlPort(502), 0);
    EXPECT_STREQ(SCA_GetProductName(0), "Unknown Product");

    SCA_TezConfig config(SCA_PRODUCT_TYPE_KORVANTA);
    EXPECT_STREQ(config.GetProductName(), "Korvanta");
    config.SetOemProductName("Acme Watch");
    EXPECT_STREQ(config.GetProductName(), "Acme Watch");
}

TEST(ProductConfigTest, InitChoosesTheFileAndDefaultsThatWorkOnANewMachine) {
    KorvantaHome home;
    SCA_TezConfig config(SCA_PRODUCT_TYPE_KORVANTA);
    ASSERT_EQ(config.Init("../other/conf"), 1);
    // The name cannot leave the folder.
    EXPECT_EQ(std::string(config.GetConfigFilePath()), home / ".._other_conf.hdx");
    EXPECT_EQ(config.GetControlPort(), SCA_GetControlPort(SCA_PRODUCT_TYPE_KORVANTA));
    EXPECT_EQ(std::string(config.GetRootDir()), home.Path());
    EXPECT_EQ(config.GetProductType(), SCA_PRODUCT_TYPE_KORVANTA);

    model_test::Reports reports;
    EXPECT_EQ(config.Init(""), 0);
    EXPECT_EQ(config.Init(nullptr), 0);
    EXPECT_EQ(config.Init(std::string(201, 'n').c_str()), 0);
    settings_test::ScopedEnv deep("KORVANTA_HOME", ("/" + std::string(240, 'd')).c_str());
    EXPECT_EQ(config.Init("korva"), 0);
    EXPECT_TRUE(reports.AllAtLevel(SCA_LEVEL_ERROR));
}

} // namespace
