// SPDX-License-Identifier: MIT
// Folder listings for report import and clean-up, on temporary folders.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "model/SCA_Dir.h"
#include "tests/support/KorvantaTestSupport.h"

namespace {

void WriteFile(const std::string& path, size_t bytes) {
    std::ofstream(path, std::ios::binary) << std::string(bytes, 'x');
}

std::vector<std::string> Names(const SCA_Dir& dir) {
    std::vector<std::string> names;
    for (auto* node = dir.GetHead(); node != nullptr; node = node->GetNext()) {
        names.emplace_back(node->GetItem()->GetName());
        EXPECT_STREQ(node->GetName(), node->GetItem()->GetName());
    }
    return names;
}

} // namespace

TEST(DirTest, ListsOnlyTheFolderOwnRegularFilesSortedWithTheirTotalSize) {
    korvanta_test::TempDir folder;
    korvanta_test::TempDir outside;
    WriteFile(folder / "b.hdx", 30);
    WriteFile(folder / "a.hdx", 12);
    WriteFile(folder / "notes.txt", 1000);
    WriteFile(folder / "x.hdx.bak", 7);
    std::filesystem::create_directory(folder / "sub.hdx");
    WriteFile(outside / "secret.hdx", 500);
    ASSERT_EQ(symlink((outside / "secret.hdx").c_str(), (folder / "link.hdx").c_str()), 0);

    SCA_Dir dir;
    uint32_t error = 0;
    ASSERT_EQ(dir.Read(folder.Path().c_str(), ".hdx", &error), 1);
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"a.hdx", "b.hdx"}));
    EXPECT_EQ(dir.Count(), 2u);
    EXPECT_EQ(dir.GetSize(), 42);
    SCA_DirEntry* first = dir.GetHead()->GetItem();
    EXPECT_EQ(std::string(first->GetPath()), folder / "a.hdx");
    EXPECT_EQ(first->GetSize(), 12);
    EXPECT_GT(first->GetModificationTime(), 0);

    // Without an extension every regular file; a second read replaces the first.
    ASSERT_EQ(dir.Read((folder.Path() + "/").c_str(), nullptr, &error), 1);
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"a.hdx", "b.hdx", "notes.txt", "x.hdx.bak"}));
    EXPECT_EQ(dir.GetSize(), 1049);
    EXPECT_EQ(std::string(dir.GetHead()->GetItem()->GetPath()), folder / "a.hdx");
}

TEST(DirTest, AFolderThatCannotBeReadLeavesAnEmptyListAndTheReason) {
    korvanta_test::TempDir folder;
    WriteFile(folder / "a.hdx", 5);
    SCA_Dir dir;
    uint32_t error = 0;
    ASSERT_EQ(dir.Read(folder.Path().c_str(), ".hdx", &error), 1);
    ASSERT_EQ(dir.Count(), 1u);
    EXPECT_EQ(dir.Read((folder / "missing").c_str(), ".hdx", &error), 0);
    EXPECT_EQ(error, static_cast<uint32_t>(ENOENT));
    EXPECT_EQ(dir.Count(), 0u);
    EXPECT_EQ(dir.GetSize(), 0);
    EXPECT_EQ(dir.Read((folder / "a.hdx").c_str(), nullptr, &error), 0);
    EXPECT_EQ(error, static_cast<uint32_t>(ENOTDIR));
    EXPECT_EQ(dir.Read(nullptr, nullptr, &error), 0);
    EXPECT_EQ(error, static_cast<uint32_t>(EINVAL));
}
