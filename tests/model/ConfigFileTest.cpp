// SPDX-License-Identifier: MIT
// Files of configuration trees: the header, atomic replacement, and refusal of truncated,
// altered or foreign files with the object left as it was.
#include <cerrno>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <sys/stat.h>
#include <vector>

#include <gtest/gtest.h>

#include "libmor/SCA_Crypto.h"
#include "model/SCA_ConfigObj.h"
#include "tests/model/ModelTestSupport.h"

namespace {

using model_test::Bytes;
using model_test::HeapFailure;
using model_test::ObjectOpen;
using model_test::Reports;
using model_test::TempDir;
using model_test::ValueForm;

constexpr size_t kHeaderSize = 52;
constexpr uint32_t kFileType = 0x01020304;

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

uint64_t LittleEndian(const std::string& bytes, size_t offset, int count) {
    uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = value << 8 | static_cast<unsigned char>(bytes[offset + static_cast<size_t>(i)]);
    }
    return value;
}

// A whole file around payload, with a correct checksum.
std::string FileAround(const std::string& payload) {
    std::string file("KHDX\x01\x00\x00\x00\x04\x03\x02\x01", 12);
    for (int i = 0; i < 8; ++i) {
        file.push_back(static_cast<char>(static_cast<uint64_t>(payload.size()) >> (8 * i)));
    }
    uint8_t digest[SCA_SHA256_SIZE];
    EXPECT_EQ(1, SCA_Sha256(payload.data(), payload.size(), digest));
    file.append(reinterpret_cast<const char*>(digest), sizeof(digest));
    return file + payload;
}

// A tree with a value of every kind.
void BuildEveryKind(SCA_ConfigObj* config) {
    ASSERT_EQ(1, config->AddField("Text", "h\xC3\xA9llo world"));
    ASSERT_EQ(1, config->AddField("EmptyText", ""));
    ASSERT_EQ(1, config->AddField("Int", std::numeric_limits<int>::min()));
    ASSERT_EQ(1, config->AddField("U32", std::numeric_limits<uint32_t>::max()));
    ASSERT_EQ(1, config->AddField("U16", std::numeric_limits<uint16_t>::max()));
    ASSERT_EQ(1, config->AddField("U64", std::numeric_limits<uint64_t>::max()));
    ASSERT_EQ(1, config->AddField("Double", 0.1));
    ASSERT_EQ(1, config->AddField("Longest", std::string(SCA_FIELD_MAX_VALUE, 'v').c_str()));
    SCA_ConfigObj* server = config->AddConfigObj("Server");
    ASSERT_NE(nullptr, server);
    ASSERT_EQ(1, server->AddField("Host", "alpha"));
    ASSERT_NE(nullptr, server->AddConfigObj("Empty"));
}

// An object with content of its own, to see that failed loads leave it alone.
class LoadTarget {
public:
    LoadTarget() : m_Object("Target", nullptr) {
        m_Object.AddField("Kept", "yes");
        m_Before = Bytes(m_Object);
    }
    SCA_ConfigObj& Object() { return m_Object; }
    bool Untouched() { return Bytes(m_Object) == m_Before; }

private:
    SCA_ConfigObj m_Object;
    std::string m_Before;
};

class ConfigFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_Dir.Path().empty());
        BuildEveryKind(&m_Tree);
        m_Path = m_Dir / "config.hdx";
        uint32_t error = 1;
        ASSERT_EQ(1, m_Tree.Save(m_Path.c_str(), kFileType, 0, &error));
        ASSERT_EQ(0u, error);
        m_File = ReadBytes(m_Path);
        ASSERT_GT(m_File.size(), kHeaderSize);
    }

    TempDir m_Dir;
    SCA_ConfigObj m_Tree{"Config", nullptr};
    std::string m_Path;
    std::string m_File;
};

TEST_F(ConfigFileTest, HeaderDescribesThePayload) {
    EXPECT_EQ("KHDX", m_File.substr(0, 4));
    EXPECT_EQ(1u, LittleEndian(m_File, 4, 4));
    EXPECT_EQ(std::string("\x04\x03\x02\x01", 4), m_File.substr(8, 4));
    EXPECT_EQ(m_File.size() - kHeaderSize, LittleEndian(m_File, 12, 8));
    const std::string payload = m_File.substr(kHeaderSize);
    EXPECT_EQ(Bytes(m_Tree), payload);
    uint8_t digest[SCA_SHA256_SIZE];
    ASSERT_EQ(1, SCA_Sha256(payload.data(), payload.size(), digest));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(digest), sizeof(digest)),
              m_File.substr(20, 32));
}

TEST_F(ConfigFileTest, LoadRestoresEveryKindOfValue) {
    SCA_ConfigObj loaded("Other", nullptr);
    ASSERT_EQ(1, loaded.AddField("Stale", 1));
    uint32_t error = 1;
    uint32_t type = 0;
    ASSERT_EQ(1, loaded.Load(m_Path.c_str(), &error, &type));
    EXPECT_EQ(0u, error);
    EXPECT_EQ(kFileType, type);
    EXPECT_STREQ("Config", loaded.GetName());
    EXPECT_EQ(1, m_Tree.Compare(&loaded));
    EXPECT_TRUE(model_test::ParentsAreSound(loaded));

    char text[32] = "";
    ASSERT_EQ(1, loaded.GetField("Text", text, sizeof(text)));
    EXPECT_STREQ("h\xC3\xA9llo world", text);
    int i = 0;
    ASSERT_EQ(1, loaded.GetField("Int", &i));
    EXPECT_EQ(std::numeric_limits<int>::min(), i);
    uint32_t u32 = 0;
    ASSERT_EQ(1, loaded.GetField("U32", &u32));
    EXPECT_EQ(std::numeric_limits<uint32_t>::max(), u32);
    uint16_t u16 = 0;
    ASSERT_EQ(1, loaded.GetField("U16", &u16));
    EXPECT_EQ(std::numeric_limits<uint16_t>::max(), u16);
    uint64_t u64 = 0;
    ASSERT_EQ(1, loaded.GetField("U64", &u64));
    EXPECT_EQ(std::numeric_limits<uint64_t>::max(), u64);
    double d = 0;
    ASSERT_EQ(1, loaded.GetField("Double", &d));
    EXPECT_EQ(0.1, d);
    SCA_ConfigObj* server = nullptr;
    ASSERT_EQ(1, loaded.GetField("Server", &server));
    EXPECT_EQ(2u, server->GetFieldCount());

    // Without the optional outputs.
    SCA_ConfigObj again("Again", nullptr);
    EXPECT_EQ(1, again.Load(m_Path.c_str(), nullptr));
    EXPECT_EQ(Bytes(m_Tree), Bytes(again));
}

TEST_F(ConfigFileTest, SavedFileIsPrivateAndNoTemporaryFileStays) {
    struct stat info {};
    ASSERT_EQ(0, ::stat(m_Path.c_str(), &info));
    EXPECT_EQ(0600u, info.st_mode & 07777);

    // Replacing a world-readable file leaves a private one.
    ASSERT_EQ(0, ::chmod(m_Path.c_str(), 0644));
    SCA_ConfigObj other("Other", nullptr);
    ASSERT_EQ(1, other.AddField("Only", 1));
    uint32_t error = 1;
    ASSERT_EQ(1, other.Save(m_Path.c_str(), 7, 0, &error));
    ASSERT_EQ(0, ::stat(m_Path.c_str(), &info));
    EXPECT_EQ(0600u, info.st_mode & 07777);
    EXPECT_EQ(std::vector<std::string>{"config.hdx"}, m_Dir.Names());

    SCA_ConfigObj loaded("Loaded", nullptr);
    uint32_t type = 0;
    ASSERT_EQ(1, loaded.Load(m_Path.c_str(), &error, &type));
    EXPECT_EQ(7u, type);
    EXPECT_EQ(Bytes(other), Bytes(loaded));
}

TEST_F(ConfigFileTest, MissingFileGivesItsErrno) {
    LoadTarget target;
    uint32_t error = 0;
    EXPECT_EQ(0, target.Object().Load((m_Dir / "missing.hdx").c_str(), &error));
    EXPECT_EQ(static_cast<uint32_t>(ENOENT), error);
    error = 0;
    EXPECT_EQ(0, target.Object().Load(m_Dir.Path().c_str(), &error)) << "a folder";
    EXPECT_NE(0u, error);
    error = 0;
    EXPECT_EQ(0, target.Object().Load(nullptr, &error));
    EXPECT_NE(0u, error);
    EXPECT_TRUE(target.Untouched());
}

TEST_F(ConfigFileTest, TruncatedFilesAreRefused) {
    const size_t size = m_File.size();
    const size_t lengths[] = {0, 1, 3, 4, 8, 19, 20, 51, 52, 53, 60, size / 2, size - 33, size - 1};
    LoadTarget target;
    for (const size_t length : lengths) {
        WriteBytes(m_Path, m_File.substr(0, length));
        uint32_t error = 0;
        EXPECT_EQ(0, target.Object().Load(m_Path.c_str(), &error)) << "length " << length;
        EXPECT_EQ(length < kHeaderSize ? SCA_CONFIG_ERROR_FORMAT : SCA_CONFIG_ERROR_CHECKSUM, error)
            << "length " << length;
    }
    WriteBytes(m_Path, m_File + "x");
    uint32_t error = 0;
    EXPECT_EQ(0, target.Object().Load(m_Path.c_str(), &error)) << "one byte too many";
    EXPECT_EQ(SCA_CONFIG_ERROR_CHECKSUM, error);
    EXPECT_TRUE(target.Untouched());
}

TEST_F(ConfigFileTest, SingleBitFlipsAreRefused) {
    LoadTarget target;
    // Every byte of the header and of both ends of the payload, and a sample of its middle
    // (the long value there would make each bit a hash of 20 KiB).
    for (size_t offset = 0; offset < m_File.size();
         offset += offset < 512 || offset + 256 >= m_File.size() ? 1 : 509) {
        if (offset >= 8 && offset < 12) {
            continue; // the file type: see below
        }
        const uint32_t expected = offset < 4   ? SCA_CONFIG_ERROR_FORMAT
                                  : offset < 8 ? SCA_CONFIG_ERROR_VERSION
                                               : SCA_CONFIG_ERROR_CHECKSUM;
        for (int bit = 0; bit < 8; ++bit) {
            std::string altered = m_File;
            altered[offset] = static_cast<char>(altered[offset] ^ (1 << bit));
            uint32_t error = 0;
            ASSERT_EQ(0, target.Object().LoadBytes(altered.data(), altered.size(), &error))
                << "offset " << offset << " bit " << bit;
            EXPECT_EQ(expected, error) << "offset " << offset << " bit " << bit;
        }
    }
    EXPECT_TRUE(target.Untouched());

    // The same through a file on disk, in the header and in the payload.
    for (const size_t offset : {size_t{2}, size_t{5}, size_t{13}, size_t{30}, m_File.size() - 3}) {
        std::string altered = m_File;
        altered[offset] = static_cast<char>(altered[offset] ^ 0x10);
        WriteBytes(m_Path, altered);
        uint32_t error = 0;
        EXPECT_EQ(0, target.Object().Load(m_Path.c_str(), &error)) << "offset " << offset;
        EXPECT_NE(0u, error);
    }
    EXPECT_TRUE(target.Untouched());
}

// The checksum covers the payload only, so an altered file type loads; it never passes for
// the type that was saved, which is what callers check.
TEST_F(ConfigFileTest, AlteredFileTypeNeverPassesForTheSavedOne) {
    for (size_t offset = 8; offset < 12; ++offset) {
        std::string altered = m_File;
        altered[offset] = static_cast<char>(altered[offset] ^ 0x01);
        SCA_ConfigObj loaded("Loaded", nullptr);
        uint32_t type = kFileType;
        const int result = loaded.LoadBytes(altered.data(), altered.size(), nullptr, &type);
        EXPECT_TRUE(result == 0 || type != kFileType) << "offset " << offset;
    }
}

TEST_F(ConfigFileTest, ForeignFilesAreRefused) {
    LoadTarget target;
    const std::string text(200, 't');
    std::string png("\x89PNG\r\n\x1a\n", 8);
    png.resize(300, '\0');
    std::string newer = m_File;
    newer[4] = 2;
    struct Case {
        std::string Bytes;
        uint32_t Error;
    };
    const Case cases[] = {
        {"", SCA_CONFIG_ERROR_FORMAT},
        {text, SCA_CONFIG_ERROR_FORMAT},
        {png, SCA_CONFIG_ERROR_FORMAT},
        {"khdx" + m_File.substr(4), SCA_CONFIG_ERROR_FORMAT},
        {newer, SCA_CONFIG_ERROR_VERSION},
        // Intact files whose payload is no tree.
        {FileAround(""), SCA_CONFIG_ERROR_CONTENT},
        {FileAround("not a tree at all"), SCA_CONFIG_ERROR_CONTENT},
        {FileAround(ValueForm("Port", "8000")), SCA_CONFIG_ERROR_CONTENT},
        {FileAround(ObjectOpen("Root") + ValueForm("A", "b")), SCA_CONFIG_ERROR_CONTENT},
        {FileAround(Bytes(m_Tree) + "x"), SCA_CONFIG_ERROR_CONTENT},
    };
    for (const Case& foreign : cases) {
        WriteBytes(m_Path, foreign.Bytes);
        uint32_t error = 0;
        EXPECT_EQ(0, target.Object().Load(m_Path.c_str(), &error))
            << ::testing::PrintToString(foreign.Bytes.substr(0, 16));
        EXPECT_EQ(foreign.Error, error) << ::testing::PrintToString(foreign.Bytes.substr(0, 16));
    }
    EXPECT_TRUE(target.Untouched());

    // The helper builds files the loader accepts, so the refusals above are about content.
    WriteBytes(m_Path, FileAround(Bytes(m_Tree)));
    SCA_ConfigObj loaded("Loaded", nullptr);
    EXPECT_EQ(1, loaded.Load(m_Path.c_str(), nullptr));
}

TEST_F(ConfigFileTest, InterruptedSaveLeavesTheOldFileLoadable) {
    // A save that died after writing its temporary file and before the rename leaves that
    // file beside the target, whole or in part.
    SCA_ConfigObj newer("Config", nullptr);
    ASSERT_EQ(1, newer.AddField("Version", 2));
    std::string newerFile = FileAround(Bytes(newer));
    WriteBytes(m_Path + ".tmp.Ab12Cd", newerFile.substr(0, newerFile.size() / 2));
    WriteBytes(m_Path + ".tmp.Zz99Yy", "");

    SCA_ConfigObj loaded("Loaded", nullptr);
    uint32_t error = 1;
    ASSERT_EQ(1, loaded.Load(m_Path.c_str(), &error));
    EXPECT_EQ(Bytes(m_Tree), Bytes(loaded));

    ASSERT_EQ(1, newer.Save(m_Path.c_str(), kFileType, 0, &error));
    ASSERT_EQ(1, loaded.Load(m_Path.c_str(), &error));
    EXPECT_EQ(Bytes(newer), Bytes(loaded));
    EXPECT_EQ((std::vector<std::string>{"config.hdx"}), m_Dir.Names())
        << "the next save clears away what the dead one left, and leaves nothing of its own";
}

TEST_F(ConfigFileTest, RefusedSaveLeavesTheOldFile) {
    Reports reports;
    SCA_ConfigObj deep("Deep", nullptr);
    SCA_ConfigObj* object = &deep;
    for (uint32_t level = 0; level < SCA_CONFIG_MAX_DEPTH; ++level) {
        object = object->AddConfigObj("L");
        ASSERT_NE(nullptr, object);
    }
    uint32_t error = 0;
    EXPECT_EQ(0, deep.Save(m_Path.c_str(), kFileType, 0, &error));
    EXPECT_EQ(static_cast<uint32_t>(EINVAL), error);
    EXPECT_EQ(0, m_Tree.Save(nullptr, kFileType, 0, &error));
    EXPECT_EQ(static_cast<uint32_t>(EINVAL), error);
    EXPECT_EQ(0, m_Tree.Save((m_Dir / "no/such/folder.hdx").c_str(), kFileType, 0, &error));
    EXPECT_EQ(static_cast<uint32_t>(ENOENT), error);
    EXPECT_EQ(0, m_Tree.Save(m_Dir.Path().c_str(), kFileType, 0, &error)) << "a folder";
    EXPECT_NE(0u, error);

    EXPECT_EQ(m_File, ReadBytes(m_Path));
    EXPECT_EQ(std::vector<std::string>{"config.hdx"}, m_Dir.Names());
    EXPECT_FALSE(reports.TakeTexts().empty());
}

TEST_F(ConfigFileTest, FailedAllocationsWhileLoadingLeaveTheObject) {
    LoadTarget target;
    for (uint32_t failing = 1;; ++failing) {
        int result = 0;
        uint32_t error = 0;
        {
            HeapFailure failure(failing);
            result = target.Object().LoadBytes(m_File.data(), m_File.size(), &error);
        }
        if (result) {
            break;
        }
        EXPECT_EQ(SCA_CONFIG_ERROR_CONTENT, error) << "allocation " << failing;
        ASSERT_TRUE(target.Untouched()) << "allocation " << failing;
    }
    EXPECT_EQ(Bytes(m_Tree), Bytes(target.Object()));
}

} // namespace
