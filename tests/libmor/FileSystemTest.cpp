// SPDX-License-Identifier: MIT
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "TestSupport.h"
#include "libmor/SCA_FileName.h"
#include "libmor/SCA_FileSystem.h"

namespace {

std::string ReadAll(const std::string& path) {
    std::string content;
    uint32_t error = 0;
    EXPECT_EQ(SCA_ReadFile(path.c_str(), &content, 1 << 20, &error), 1) << error;
    return content;
}

uint32_t ModeOf(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST(FileSystemTest, CreateDirectoryMakesEveryMissingParent) {
    TempDir dir;
    uint32_t error = 0;
    ASSERT_EQ(SCA_CreateDirectory((dir / "a/b/c/").c_str(), &error), 1) << error;
    EXPECT_EQ(SCA_IsPathExists((dir / "a/b/c").c_str()), 1);
    EXPECT_EQ(ModeOf(dir / "a/b"), 0700u);
    EXPECT_EQ(SCA_CreateDirectory((dir / "a/b").c_str(), &error), 1); // already there

    ASSERT_EQ(SCA_WriteFileAtomic((dir / "file").c_str(), "x", 1, &error), 1);
    EXPECT_EQ(SCA_IsFileExists((dir / "file").c_str()), 1);
    EXPECT_EQ(SCA_IsPathExists((dir / "file").c_str()), 0);
    EXPECT_EQ(SCA_IsFileExists(dir.Path().c_str()), 0);
    EXPECT_EQ(SCA_CreateDirectory((dir / "file/sub").c_str(), &error), 0);
    EXPECT_EQ(error, static_cast<uint32_t>(ENOTDIR));

    EXPECT_EQ(SCA_DeleteFile((dir / "file").c_str(), &error), 1);
    EXPECT_EQ(SCA_DeleteFile((dir / "file").c_str(), &error), 0);
    EXPECT_EQ(error, static_cast<uint32_t>(ENOENT));
}

TEST(FileSystemTest, AtomicWriteReplacesContentPrivately) {
    TempDir dir;
    const std::string path = dir / "config";
    uint32_t error = 0;
    ASSERT_EQ(SCA_WriteFileAtomic(path.c_str(), "old content", 11, &error), 1);
    chmod(path.c_str(), 0644);
    ASSERT_EQ(SCA_WriteFileAtomic(path.c_str(), "new", 3, &error), 1) << error;
    EXPECT_EQ(ReadAll(path), "new");
    EXPECT_EQ(ModeOf(path), 0600u);
    EXPECT_THAT(dir.Names(), testing::ElementsAre("config"));
}

TEST(FileSystemTest, FailedRenameLeavesTargetAndNoTemporaryFile) {
    TempDir dir;
    uint32_t error = 0;
    // A folder in the way of the rename, holding the old content.
    const std::string target = dir / "report";
    ASSERT_EQ(SCA_CreateDirectory(target.c_str(), &error), 1);
    ASSERT_EQ(SCA_WriteFileAtomic((target + "/kept").c_str(), "old", 3, &error), 1);

    EXPECT_EQ(SCA_WriteFileAtomic(target.c_str(), "new", 3, &error), 0);
    EXPECT_EQ(error, static_cast<uint32_t>(EISDIR));
    EXPECT_EQ(ReadAll(target + "/kept"), "old");
    EXPECT_THAT(dir.Names(), testing::ElementsAre("report"));
}

TEST(FileSystemTest, FailedWriteLeavesOldContentAndNoTemporaryFile) {
    TempDir dir;
    const std::string path = dir / "state";
    uint32_t error = 0;
    ASSERT_EQ(SCA_WriteFileAtomic(path.c_str(), "old", 3, &error), 1);

    // A lowered file size limit makes the write fail half way (EFBIG instead of SIGXFSZ).
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit lowered = old;
    lowered.rlim_cur = 4096;
    const sighandler_t oldHandler = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &lowered), 0);
    const std::string big(8192, 'n');
    const int result = SCA_WriteFileAtomic(path.c_str(), big.data(), big.size(), &error);
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(result, 0);
    EXPECT_EQ(error, static_cast<uint32_t>(EFBIG));
    EXPECT_EQ(ReadAll(path), "old");
    EXPECT_THAT(dir.Names(), testing::ElementsAre("state"));
}

TEST(FileSystemTest, SavesClearAwayWhatKilledWritersLeftButNotWhatLiveOnesHold) {
    TempDir dir;
    const std::string path = dir / "monitors.hdx";
    uint32_t error = 0;
    ASSERT_EQ(SCA_WriteFileAtomic(path.c_str(), "v1", 2, &error), 1);

    // Writers killed in the middle of their saves.
    const std::string payload(1 << 20, 'p');
    for (int round = 0; round < 20; ++round) {
        int saved[2];
        ASSERT_EQ(pipe(saved), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(saved[0]);
            for (;;) {
                SCA_WriteFileAtomic(path.c_str(), payload.data(), payload.size(), nullptr);
                // Says a save ended, so the kill below comes while the next one is under way.
                (void)!write(saved[1], "s", 1);
            }
        }
        close(saved[1]);
        char done = 0;
        ASSERT_EQ(read(saved[0], &done, 1), 1);
        kill(child, SIGKILL);
        close(saved[0]);
        ASSERT_EQ(waitpid(child, nullptr, 0), child);
    }
    // A writer still at work holds the lock on its temporary file; another file's temporary
    // file and a name that only looks alike are none of this save's business.
    const std::string live = path + ".tmp.live01";
    const int liveFd = open(live.c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
    ASSERT_GE(liveFd, 0);
    ASSERT_EQ(flock(liveFd, LOCK_EX), 0);
    for (const std::string& other : {dir / "other.hdx.tmp.abcdef", path + ".tmp.toolong1"}) {
        ASSERT_EQ(SCA_WriteFileAtomic(other.c_str(), "x", 1, &error), 1);
    }

    ASSERT_EQ(SCA_WriteFileAtomic(path.c_str(), "v2", 2, &error), 1) << error;
    EXPECT_EQ(ReadAll(path), "v2");
    EXPECT_THAT(dir.Names(),
                testing::UnorderedElementsAre("monitors.hdx", "monitors.hdx.tmp.live01",
                                              "other.hdx.tmp.abcdef", "monitors.hdx.tmp.toolong1"));

    // A sweep of the whole folder takes every file's leftovers, still not a live writer's.
    SCA_RemoveAbandonedTemporaries(dir.Path().c_str());
    EXPECT_THAT(dir.Names(),
                testing::UnorderedElementsAre("monitors.hdx", "monitors.hdx.tmp.live01",
                                              "monitors.hdx.tmp.toolong1"));
    close(liveFd);
}

// Room reserved while the disk had it takes a whole file once the disk is full (the test hook),
// replacing the target as an atomic write does; what does not fit it fails and leaves both as
// they were; and no new room is reserved on the full disk.
TEST(FileSystemTest, ReservedRoomTakesAFileWhenTheDiskIsFull) {
    TempDir dir;
    const std::string reserve = dir / "room.reserve";
    const std::string target = dir / "report";
    constexpr uint64_t kRoom = 64 << 10;
    uint32_t error = 0;
    ASSERT_EQ(SCA_WriteFileAtomic(target.c_str(), "old", 3, &error), 1);
    ASSERT_EQ(SCA_ReserveRoom(reserve.c_str(), kRoom, &error), 1) << error;
    struct stat info {};
    ASSERT_EQ(stat(reserve.c_str(), &info), 0);
    EXPECT_GE(static_cast<uint64_t>(info.st_blocks) * 512, kRoom) << "allocated, not sparse";
    EXPECT_EQ(SCA_GetReservedRoom(reserve.c_str()), kRoom);
    EXPECT_EQ(ModeOf(reserve), 0600u);

    SCA_SetWriteFailure(ENOSPC);
    const std::string tooLarge(kRoom + 1, 'l');
    EXPECT_EQ(SCA_WriteFileIntoReserve(reserve.c_str(), target.c_str(), tooLarge.data(),
                                       tooLarge.size(), &error),
              0);
    EXPECT_EQ(error, static_cast<uint32_t>(ENOSPC));
    EXPECT_EQ(ReadAll(target), "old");
    EXPECT_EQ(SCA_GetReservedRoom(reserve.c_str()), kRoom);
    EXPECT_EQ(SCA_ReserveRoom(reserve.c_str(), kRoom, &error), 1) << "its room is there already";
    EXPECT_EQ(SCA_ReserveRoom((dir / "more.reserve").c_str(), kRoom, &error), 0);

    const std::string fits(kRoom / 2, 'f');
    EXPECT_EQ(SCA_WriteFileAtomic(target.c_str(), fits.data(), fits.size(), &error), 0);
    EXPECT_EQ(
        SCA_WriteFileIntoReserve(reserve.c_str(), target.c_str(), fits.data(), fits.size(), &error),
        1)
        << error;
    SCA_SetWriteFailure(0);
    EXPECT_EQ(ReadAll(target), fits);
    EXPECT_EQ(ModeOf(target), 0600u);
    EXPECT_THAT(dir.Names(), testing::ElementsAre("report")) << "the reserve became the file";
    EXPECT_EQ(SCA_GetReservedRoom(reserve.c_str()), 0u);

    // A reserve made again is cut to its size when it held more.
    ASSERT_EQ(SCA_WriteFileAtomic(reserve.c_str(), tooLarge.data(), tooLarge.size(), &error), 1);
    ASSERT_EQ(SCA_ReserveRoom(reserve.c_str(), kRoom, &error), 1) << error;
    EXPECT_EQ(SCA_GetReservedRoom(reserve.c_str()), kRoom);
}

TEST(FileSystemTest, ReadFileRefusesFilesAboveTheLimit) {
    TempDir dir;
    const std::string path = dir / "blob";
    uint32_t error = 0;
    ASSERT_EQ(SCA_WriteFileAtomic(path.c_str(), "12345", 5, &error), 1);
    std::string out = "before";
    EXPECT_EQ(SCA_ReadFile(path.c_str(), &out, 4, &error), 0);
    EXPECT_EQ(error, static_cast<uint32_t>(EFBIG));
    EXPECT_EQ(out, "before");
    ASSERT_EQ(SCA_ReadFile(path.c_str(), &out, 5, &error), 1);
    EXPECT_EQ(out, "12345");
    // /proc files report a size of 0 but have content.
    ASSERT_EQ(SCA_ReadFile("/proc/self/stat", &out, 1 << 16, &error), 1);
    EXPECT_FALSE(out.empty());
}

TEST(FileNameTest, ClientFoldersResolveOnlyBelowTheBase) {
    struct Row {
        const char* Name;
        const char* Resolved; // null: refused
    };
    const Row rows[] = {
        {"", "/srv/reports"},
        {"daily", "/srv/reports/daily"},
        {"./daily//web/", "/srv/reports/daily/web"},
        {"/srv/reports", "/srv/reports"},
        {"/srv/reports/daily/", "/srv/reports/daily"},
        {"/srv//reports/./x", "/srv/reports/x"},
        {"../etc", nullptr},
        {"daily/../../etc", nullptr},
        {"/srv/reports/../etc", nullptr},
        {"/srv/reportsx", nullptr},
        {"/srv", nullptr},
        {"/etc/cron.d", nullptr},
    };
    for (const Row& row : rows) {
        char out[64] = "?";
        const int resolved = SCA_ResolveFolderBelow("/srv/reports/", row.Name, out, sizeof(out));
        EXPECT_EQ(row.Resolved != nullptr ? 1 : 0, resolved) << row.Name;
        if (row.Resolved != nullptr) {
            EXPECT_STREQ(row.Resolved, out) << row.Name;
        }
    }
    char small[8];
    EXPECT_EQ(0, SCA_ResolveFolderBelow("/srv/reports", "", small, sizeof(small)));
    char out[64];
    EXPECT_EQ(0, SCA_ResolveFolderBelow("relative", "x", out, sizeof(out)));
}

} // namespace
