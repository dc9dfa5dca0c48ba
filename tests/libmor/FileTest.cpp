// SPDX-License-Identifier: MIT
#include <cerrno>
#include <gtest/gtest.h>
#include <string>

#include "TestSupport.h"
#include "libmor/SCA_File.h"
#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Time.h"

namespace {

constexpr uint64_t k4GiB = 1ull << 32;
constexpr uint32_t kReadWrite = SCA_FILE_READ | SCA_FILE_WRITE | SCA_FILE_CREATE;

TEST(FileTest, WriteThenReadBackFromPrivateFile) {
    TempDir dir;
    SCA_File file;
    uint32_t error = 0;
    ASSERT_EQ(file.Open((dir / "data").c_str(), kReadWrite, &error), 1) << error;
    EXPECT_EQ(file.WriteStringEx("%s=%u;", "port", 8000u), 1);
    char extra[] = "end";
    uint32_t done = 0;
    ASSERT_EQ(file.Write(extra, 3, &done, &error), 1);
    EXPECT_EQ(file.Flush(), 1);

    ASSERT_EQ(file.Seek(0, 0, &error), 1);
    char buf[32] = {};
    ASSERT_EQ(file.Read(buf, sizeof(buf), &done, &error), 1);
    EXPECT_EQ(std::string(buf, done), "port=8000;end");
    EXPECT_EQ(file.IsEof(), 1);

    uint32_t mode = 0;
    uint64_t modified = 0;
    ASSERT_EQ(file.GetProperties(&mode, nullptr, &modified), 1);
    EXPECT_EQ(mode, 0600u);
    EXPECT_NEAR(static_cast<double>(modified), static_cast<double>(SCA_GetAbsTime()),
                60.0 * SCA_ABS_TIME_SECOND);
    EXPECT_EQ(file.GetHardLinks(), 1u);
}

TEST(FileTest, OpenFailureKeepsModeAndGivesErrno) {
    TempDir dir;
    SCA_File file;
    uint32_t error = 0;
    EXPECT_EQ(file.Open((dir / "missing").c_str(), SCA_FILE_READ, &error), 0);
    EXPECT_EQ(error, static_cast<uint32_t>(ENOENT));
    EXPECT_EQ(file.GetOpenMode(), SCA_FILE_READ);
}

TEST(FileTest, ReadStringSplitsLinesAndCutsLongOnes) {
    TempDir dir;
    SCA_File file;
    uint32_t error = 0;
    ASSERT_EQ(file.Open((dir / "lines").c_str(), kReadWrite, &error), 1);
    ASSERT_EQ(file.WriteString("first\r\n\nk\xC3\xB6rvanta\nlast"), 1);
    ASSERT_EQ(file.Seek(0, 0, &error), 1);
    char buf[16];
    ASSERT_EQ(file.ReadString(buf, sizeof(buf), &error), 1);
    EXPECT_STREQ(buf, "first");
    ASSERT_EQ(file.ReadString(buf, sizeof(buf), &error), 1);
    EXPECT_STREQ(buf, "");
    ASSERT_EQ(file.ReadString(buf, 3, &error), 1);
    EXPECT_STREQ(buf, "k"); // the ö would not fit whole
    ASSERT_EQ(file.ReadString(buf, sizeof(buf), &error), 1);
    EXPECT_STREQ(buf, "last"); // the cut line was consumed whole
    EXPECT_EQ(file.ReadString(buf, sizeof(buf), &error), 0);
}

TEST(FileTest, PositionsBeyondFourGiB) {
    TempDir dir;
    SCA_File file;
    uint32_t error = 0;
    ASSERT_EQ(file.Open((dir / "sparse").c_str(), kReadWrite, &error), 1);
    ASSERT_EQ(file.SetFileSize(k4GiB + 100, &error), 1) << error;
    uint64_t size = 0;
    ASSERT_EQ(file.GetFileSize(&size, &error), 1);
    EXPECT_EQ(size, k4GiB + 100);

    ASSERT_EQ(file.Seek(k4GiB, &error), 1);
    EXPECT_EQ(file.GetPos(), k4GiB);
    EXPECT_EQ(file.GetPosHigh(), 1u);
    uint32_t high = 0;
    uint32_t low = 7;
    ASSERT_EQ(file.GetCurrentPos(&high, &low), 1);
    EXPECT_EQ(high, 1u);
    EXPECT_EQ(low, 0u);

    ASSERT_EQ(file.WriteString("xyz"), 1);
    EXPECT_EQ(file.GetPos(), k4GiB + 3);
    ASSERT_EQ(file.SetPos(k4GiB + 1, &error), 1);
    char buf[2] = {};
    uint32_t done = 0;
    ASSERT_EQ(file.Read(buf, 2, &done, &error), 1);
    EXPECT_EQ(std::string(buf, done), "yz");
}

// A platform file that records seeks and tells the position 2^32 only when it knows it.
class FakeFile : public SCA_VirtualFile {
public:
    FakeFile(bool knowsPosition, uint64_t* seekedTo) : m_Knows(knowsPosition), m_Seek(seekedTo) {
        SetConstructed();
    }
    int Open(const char*, uint32_t, uint32_t*) override { return 1; }
    int Read(void*, uint32_t, uint32_t*, uint32_t*) override { return 0; }
    int Write(void*, uint32_t, uint32_t*, uint32_t*) override { return 0; }
    int ReadString(char*, uint32_t, uint32_t*) override { return 0; }
    int WriteString(const char*) override { return 0; }
    int Seek(uint32_t high, uint32_t low, uint32_t*) override {
        *m_Seek = (static_cast<uint64_t>(high) << 32) | low;
        return 1;
    }
    int GetCurrentPos(uint64_t* position) override {
        *position = k4GiB;
        return m_Knows ? 1 : 0;
    }
    int GetCurrentPos(uint32_t* high, uint32_t* low) override {
        *high = 1;
        *low = 0;
        return m_Knows ? 1 : 0;
    }
    int GetFileSize(uint64_t*, uint32_t*) override { return 0; }
    int SetFileSize(uint64_t, uint32_t*) override { return 0; }
    int GetProperties(uint32_t*, uint32_t*, uint64_t*) override { return 0; }
    uint32_t GetHardLinks() override { return 0; }
    int Flush() override { return 0; }
    int IsEof() override { return 0; }
    int WriteStringEx(const char*, ...) override { return 0; }

private:
    const bool m_Knows;
    uint64_t* m_Seek;
};

TEST(FileTest, UnknownPositionIsThe32BitAllOnesValue) {
    uint64_t seekedTo = 0;
    SCA_File file(new FakeFile(false, &seekedTo));
    ASSERT_EQ(file.IsConstructed(), 1u);
    EXPECT_EQ(file.GetPos(), 4294967295ull);
    EXPECT_EQ(file.GetPosHigh(), 0xFFFFFFFFu);
}

TEST(FileTest, PositionIsJoinedAndSplitInHalves) {
    uint64_t seekedTo = 0;
    SCA_File file(new FakeFile(true, &seekedTo));
    EXPECT_EQ(file.GetPos(), k4GiB);
    EXPECT_EQ(file.GetPosHigh(), 1u);
    uint32_t error = 0;
    ASSERT_EQ(file.Seek(k4GiB * 3 + 5, &error), 1);
    EXPECT_EQ(seekedTo, k4GiB * 3 + 5);
}

TEST(FileTest, WithoutPlatformFileEverySlotAnswersZero) {
    SCA_HeapFailAfter(1);
    SCA_File file;
    SCA_HeapFailAfter(0);
    EXPECT_EQ(file.IsConstructed(), 0u);
    uint32_t error = 0;
    EXPECT_EQ(file.Open("/dev/null", SCA_FILE_READ, &error), 0);
    EXPECT_EQ(file.GetOpenMode(), SCA_FILE_READ);
    EXPECT_EQ(file.WriteStringEx("%d", 1), 0);
    EXPECT_EQ(file.GetPos(), 4294967295ull);
    EXPECT_EQ(SCA_File(nullptr).IsConstructed(), 0u);
}

} // namespace
