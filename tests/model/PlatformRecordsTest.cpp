// SPDX-License-Identifier: MIT
// The platform's data records: XML elements, string lists, dynamic libraries, disk volumes,
// executable modules and directories.
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>

#include <gtest/gtest.h>

#include "model/SCA_ConfigObj.h"
#include "model/SCA_Dir.h"
#include "model/SCA_DiskVolume.h"
#include "model/SCA_DiskVolumeList.h"
#include "model/SCA_DynLib.h"
#include "model/SCA_ExeModule.h"
#include "model/SCA_ExeModuleList.h"
#include "model/SCA_StringList.h"
#include "model/SCA_XmlElement.h"
#include "tests/model/ModelTestSupport.h"
#include "tests/model/RecordTestSupport.h"

namespace {

using model_test::HeapFailure;
using model_test::Reports;
using records_test::Travel;

static_assert(!std::is_copy_constructible_v<SCA_XmlElement>, "an element owns its children");
static_assert(!std::is_copy_constructible_v<SCA_StringList>, "a list owns its texts");
static_assert(!std::is_copy_constructible_v<SCA_DynLib>, "a library is released once");
static_assert(!std::is_copy_constructible_v<SCA_Dir>, "a directory listing owns its items");
static_assert(std::is_copy_constructible_v<SCA_DiskVolume> &&
                  std::is_copy_constructible_v<SCA_ExeModule>,
              "plain records copy member by member");

// Counts its destructions.
class Probe : public SCA_Object {
public:
    explicit Probe(int* destroyed) : m_Destroyed(destroyed) { SetConstructed(); }
    ~Probe() override { ++*m_Destroyed; }

private:
    int* m_Destroyed;
};

SCA_ExeModule* NewModule(uint32_t id, const char* path) {
    auto* module = new SCA_ExeModule();
    module->SetId(id);
    module->SetFileName(path);
    return module;
}

TEST(XmlElementTest, EmptyTextsLeaveNoNameOrValue) {
    SCA_XmlElement element;
    ASSERT_EQ(1u, element.IsConstructed());
    EXPECT_EQ(nullptr, element.GetName());
    ASSERT_EQ(1, element.SetName("counter"));
    EXPECT_STREQ("counter", element.GetName());
    EXPECT_EQ(1, element.SetName(""));
    EXPECT_EQ(nullptr, element.GetName());
    ASSERT_EQ(1, element.SetValue("42"));
    EXPECT_EQ(1, element.SetValue(nullptr));
    EXPECT_EQ(nullptr, element.GetValue());
}

TEST(XmlElementTest, AFailedCopyIsReportedAndKeepsTheOldText) {
    SCA_XmlElement element;
    ASSERT_EQ(1, element.SetName("old"));
    ASSERT_EQ(1, element.SetValue("old value"));
    Reports reports;
    {
        HeapFailure failure(1);
        EXPECT_EQ(0, element.SetName("renamed"));
    }
    {
        HeapFailure failure(1);
        EXPECT_EQ(0, element.SetValue("new value"));
    }
    EXPECT_STREQ("old", element.GetName());
    EXPECT_STREQ("old value", element.GetValue());
    const auto texts = reports.TakeTexts();
    ASSERT_EQ(2u, texts.size());
    EXPECT_EQ("Cannot alloc 8 bytes of memory", texts[0]);
    EXPECT_EQ("Cannot alloc 10 bytes of memory", texts[1]);
    EXPECT_TRUE(reports.AllAtLevel(5));
}

TEST(XmlElementTest, ValueCopiesAreBoundedAndAbsentValuesWriteNothing) {
    SCA_XmlElement element;
    char buf[8];
    std::memset(buf, 'z', sizeof(buf));
    EXPECT_EQ(0, element.GetValue(buf, sizeof(buf)));
    EXPECT_EQ('z', buf[0]) << "buf untouched without a value";
    ASSERT_EQ(1, element.SetValue("0123456789"));
    EXPECT_EQ(0, element.GetValue(buf, 0));
    EXPECT_EQ('z', buf[0]) << "a zero-size buffer gets nothing";
    ASSERT_EQ(1, element.GetValue(buf, sizeof(buf)));
    EXPECT_STREQ("0123456", buf);
}

TEST(XmlElementTest, ChildrenAndAttributesBelongToTheElement) {
    SCA_XmlElement root;
    auto* child = new SCA_XmlElement();
    ASSERT_EQ(1, child->SetName("child"));
    ASSERT_EQ(1, root.AddChild(child));
    EXPECT_EQ(0, root.AddChild(&root));
    EXPECT_EQ(1u, root.Count());
    ASSERT_EQ(1, root.GetProperties()->AddField("unit", "ms"));
    char unit[8] = "";
    ASSERT_EQ(1, root.GetProperties()->GetField("unit", unit, sizeof(unit)));
    EXPECT_STREQ("ms", unit);
    // The child is freed with the root; the leak check would fail the run otherwise.
}

TEST(StringListTest, DataLengthCountsEveryTextWithItsTerminator) {
    SCA_StringList list;
    ASSERT_EQ(1, list.AddString("abc"));
    ASSERT_EQ(1, list.AddString(""));
    ASSERT_EQ(1, list.AddString(nullptr));
    EXPECT_EQ(3u, list.Count());
    EXPECT_EQ(6u, list.GetDataLength());
    {
        HeapFailure failure(1);
        EXPECT_EQ(0, list.AddString("lost"));
    }
    EXPECT_EQ(6u, list.GetDataLength());
    list.Clear();
    EXPECT_EQ(0u, list.Count());
    EXPECT_EQ(0u, list.GetDataLength());
}

TEST(DynLibTest, TheLibraryIsReleasedOnceWithTheLoader) {
    int destroyed = 0;
    {
        SCA_DynLib library(new Probe(&destroyed));
        SCA_DynLib none;
        EXPECT_EQ(1u, none.IsConstructed());
    }
    EXPECT_EQ(1, destroyed);
}

TEST(DiskVolumeTest, TextsAreBoundedAndTheListFindsVolumesByPath) {
    auto* root = new SCA_DiskVolume();
    root->SetPath("/");
    root->SetFileSystem("ext4");
    root->SetLabel(std::string(300, 'l').c_str());
    root->SetTotalDiskSpace(500ull << 30);
    root->SetFreeDiskSpace(120ull << 30);
    EXPECT_EQ(255u, std::strlen(root->GetLabel()));
    auto* home = new SCA_DiskVolume(*root);
    home->SetPath("/home");
    EXPECT_STREQ("ext4", home->GetFileSystem()) << "copies take every member";

    SCA_DiskVolumeList volumes;
    ASSERT_EQ(1, volumes.AddDiskVolume(root));
    ASSERT_EQ(1, volumes.AddDiskVolume(home));
    SCA_DiskVolume* found = nullptr;
    ASSERT_EQ(1, volumes.GetDiskVolume("/home", &found));
    EXPECT_EQ(home, found);
    EXPECT_EQ(120ull << 30, found->GetFreeDiskSpace());
    EXPECT_EQ(0, volumes.GetDiskVolume("/HOME", &found));
    EXPECT_EQ(0, volumes.GetDiskVolume(nullptr, &found));
}

TEST(ExeModuleTest, ModulesAreNamedByTheirFileName) {
    SCA_ExeModuleList modules;
    EXPECT_EQ(0, modules.GetMode());
    ASSERT_EQ(1, modules.AddModule(NewModule(1, "/usr/lib/x86_64-linux-gnu/libc.so.6")));
    ASSERT_EQ(1, modules.AddModule(NewModule(2, "korvas")));
    SCA_ExeModule* found = nullptr;
    ASSERT_EQ(1, modules.GetModule("libc.so.6", &found));
    EXPECT_EQ(1u, found->GetId());
    ASSERT_EQ(1, modules.GetModule("korvas", &found));
    EXPECT_EQ(0, modules.GetModule("LIBC.SO.6", &found));
}

TEST(ExeModuleTest, ListsTravelWithEveryField) {
    SCA_ExeModule* module = NewModule(3, "/usr/sbin/nginx");
    module->SetFileOwner("root");
    module->SetSHA256(std::string(64, 'a').c_str());
    module->SetFileAttr(0755);
    module->SetFileSize(1234567);
    module->SetCreationDate(11);
    module->SetModificationDate(22);
    module->SetCompanyName("nginx");
    module->SetProductName("nginx");
    module->SetProductVersion("1.22.1");
    module->SetFileVersion("1.22.1-9");
    module->SetFileDescr("HTTP server");
    module->SetFileName(std::string(5000, 'f').c_str());
    EXPECT_EQ(4095u, std::strlen(module->GetFileName()));
    module->SetFileName("/usr/sbin/nginx");
    SCA_ExeModuleList modules;
    ASSERT_EQ(1, modules.AddModule(module));

    SCA_ConfigObj object("Modules", nullptr);
    ASSERT_EQ(1, modules.Serialize(&object));
    auto received = Travel(object);
    ASSERT_NE(nullptr, received);
    SCA_ExeModuleList read;
    ASSERT_EQ(1, read.Deserialize(received.get()));
    SCA_ExeModule* found = nullptr;
    ASSERT_EQ(1, read.GetModule("nginx", &found));
    EXPECT_EQ(3u, found->GetId());
    EXPECT_STREQ("/usr/sbin/nginx", found->GetFileName());
    EXPECT_STREQ("root", found->GetFileOwner());
    EXPECT_EQ(std::string(64, 'a'), found->GetSHA256());
    EXPECT_EQ(0755u, found->GetFileAttr());
    EXPECT_EQ(1234567u, found->GetFileSize());
    EXPECT_EQ(11u, found->GetCreationDate());
    EXPECT_EQ(22u, found->GetModificationDate());
    EXPECT_STREQ("nginx", found->GetCompanyName());
    EXPECT_STREQ("1.22.1", found->GetProductVersion());
    EXPECT_STREQ("1.22.1-9", found->GetFileVersion());
    EXPECT_STREQ("HTTP server", found->GetFileDescr());
}

} // namespace
