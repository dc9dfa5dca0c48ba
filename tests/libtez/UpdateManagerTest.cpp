// SPDX-License-Identifier: MIT
// The update check against tiny HTTP servers of the test on 127.0.0.1: one that answers, one
// that never answers, and a port where nothing listens.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "libmor/SCA_Sync.h"
#include "libtez/SCA_UpdateManager.h"
#include "model/SCA_TezConfig.h"
#include "tests/support/HttpTestServer.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint32_t kShortTimeoutMs = 300;
// Far beyond the wait for the answer: a check that ends within that wait did not wait this out.
constexpr uint32_t kLongTimeoutMs = 600000;
constexpr uint32_t kReadyWaitMs = static_cast<uint32_t>(korvanta_test::kWaitDeadline.count());

// A port of 127.0.0.1 where nothing listens: the kernel chose it, then it was closed.
uint16_t UnusedPort() {
    korvanta_test::TestHttpServer closed(std::string(), false);
    return closed.Port();
}

class UpdateCheck : public ::testing::Test {
protected:
    void Point(uint16_t port, const char* resource = "/korvanta/update.txt") {
        m_Config.SetUpdateServerName("127.0.0.1");
        m_Config.SetUpdatePortNumber(port);
        m_Config.SetUpdateResourceName(resource);
    }
    // Runs a check to its end; the time it took.
    Clock::duration Check(SCA_UpdateManager* manager) {
        const auto start = Clock::now();
        uint32_t error = 0;
        EXPECT_EQ(manager->CheckUpdates(&error), 1);
        EXPECT_EQ(manager->GetReadyEvent()->Wait(kReadyWaitMs), SCA_WAIT_OK);
        return Clock::now() - start;
    }

    SCA_TezConfig m_Config{SCA_PRODUCT_TYPE_KORVANTA};
};

const char* kNewer = "# Korvanta update\r\n"
                     "Version=99.1.2\r\n"
                     "Product = Korvanta\r\n"
                     "ProductType=503\r\n"
                     "PackageType=1\r\n"
                     "Url=https://updates.example/korvanta-99.1.2.tar.gz\r\n"
                     "SHA256=abc123\r\n"
                     "FileSize=1048576\r\n"
                     "Future=ignored\r\n";

} // namespace

TEST_F(UpdateCheck, NoAddressAnswersNoUpdate) {
    SCA_UpdateManager manager(&m_Config, nullptr, nullptr);
    ASSERT_TRUE(manager.IsConstructed());
    manager.SetTimeout(kLongTimeoutMs);
    Check(&manager);
    EXPECT_EQ(manager.GetProcessStatus(), SCA_PROCESS_STOPPED);
    EXPECT_EQ(manager.IsUpdateAvailable(), 0);
    EXPECT_STREQ(manager.GetStatusString(), "No product updates available");
}

TEST_F(UpdateCheck, AnsweringServerGivesTheNewerPackage) {
    korvanta_test::TestHttpServer server(korvanta_test::TestHttpServer::Ok(kNewer));
    ASSERT_NE(server.Port(), 0);
    Point(server.Port());
    SCA_UpdateManager manager(&m_Config, nullptr, nullptr);
    manager.SetTimeout(kLongTimeoutMs);
    Check(&manager);
    EXPECT_EQ(server.RequestLine(), "GET /korvanta/update.txt HTTP/1.1");
    EXPECT_EQ(manager.GetProcessStatus(), SCA_PROCESS_STOPPED);
    EXPECT_EQ(manager.GetStatusCode(), 0u);
    EXPECT_EQ(manager.IsUpdateAvailable(), 1);
    EXPECT_STREQ(manager.GetStatusString(), "Product update available - 99.1.2");
    SCA_Update update;
    manager.GetUpdate(&update);
    EXPECT_EQ(update.GetAbsVersion(), 99001002u);
    EXPECT_STREQ(update.GetProductName(), "Korvanta");
    EXPECT_EQ(update.GetProductType(), SCA_PRODUCT_TYPE_KORVANTA);
    EXPECT_STREQ(update.GetPackageTypeName(), "Setup");
    EXPECT_STREQ(update.GetUrl(), "https://updates.example/korvanta-99.1.2.tar.gz");
    EXPECT_EQ(update.GetFileSize(), 1048576u);
}

TEST_F(UpdateCheck, SameVersionIsNoUpdateAndGetUpdateExFillsTheRecord) {
    const std::string body = std::string("Version=") + SCA_TEZ_PRODUCT_VERSION + "\n";
    korvanta_test::TestHttpServer server(korvanta_test::TestHttpServer::Ok(body));
    SCA_UpdateManager manager(&m_Config, nullptr, nullptr);
    SCA_Update record;
    record.SetUrl(("http://127.0.0.1:" + std::to_string(server.Port()) + "/u").c_str());
    uint32_t error = 0;
    ASSERT_EQ(manager.GetUpdateEx(&record, &error), 1);
    ASSERT_EQ(manager.GetReadyEvent()->Wait(kReadyWaitMs), SCA_WAIT_OK);
    EXPECT_EQ(manager.GetProcessStatus(), SCA_PROCESS_STOPPED);
    EXPECT_EQ(manager.IsUpdateAvailable(), 0);
    EXPECT_EQ(record.GetAbsVersion(), SCA_UpdateManager::GetAbsVersion(SCA_TEZ_PRODUCT_VERSION));
    EXPECT_STREQ(manager.GetStatusString(), "No product updates available");
}

TEST_F(UpdateCheck, UnreachableServersAnswerNoUpdateWithinTheTimeout) {
    {
        korvanta_test::TestHttpServer silent(std::string(), false);
        Point(silent.Port());
        SCA_UpdateManager manager(&m_Config, nullptr, nullptr);
        manager.SetTimeout(kShortTimeoutMs);
        EXPECT_GE(Check(&manager), std::chrono::milliseconds(kShortTimeoutMs))
            << "not before its time-out";
        EXPECT_EQ(manager.GetProcessStatus(), SCA_PROCESS_STOPPED);
        EXPECT_EQ(manager.IsUpdateAvailable(), 0);
    }
    Point(UnusedPort());
    SCA_UpdateManager manager(&m_Config, nullptr, nullptr);
    manager.SetTimeout(kLongTimeoutMs);
    Check(&manager); // a refused connection ends the check, not the time-out
    EXPECT_EQ(manager.GetProcessStatus(), SCA_PROCESS_STOPPED);
    EXPECT_STREQ(manager.GetStatusString(), "No product updates available");
}

TEST_F(UpdateCheck, StopAllAbandonsAServerThatNeverAnswers) {
    korvanta_test::TestHttpServer silent(std::string(), false);
    Point(silent.Port());
    SCA_UpdateManager manager(&m_Config, nullptr, nullptr);
    manager.SetTimeout(kLongTimeoutMs);
    uint32_t error = 0;
    ASSERT_EQ(manager.CheckUpdates(&error), 1);
    EXPECT_EQ(manager.GetProcessStatus(), SCA_PROCESS_RUNNING) << "the check runs on its own";
    const auto start = Clock::now();
    EXPECT_EQ(manager.StopAll(), 1);
    EXPECT_LT(Clock::now() - start, korvanta_test::kWaitDeadline) << "not the time-out";
    EXPECT_NE(manager.GetProcessStatus(), SCA_PROCESS_RUNNING);
}

TEST_F(UpdateCheck, ServerErrorsAndBadDescriptionsAreFailuresNotNoUpdate) {
    const struct {
        std::string Answer;
        uint32_t Code;
    } cases[] = {
        {"HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n",
         SCA_UPDATE_ERR_HTTP},
        {korvanta_test::TestHttpServer::Ok("Version=banana\n"), SCA_UPDATE_ERR_DESCRIPTION},
        {korvanta_test::TestHttpServer::Ok(std::string(SCA_UPDATE_MAX_DESCRIPTION + 1, '#')),
         SCA_UPDATE_ERR_TOO_LARGE},
    };
    for (const auto& c : cases) {
        korvanta_test::TestHttpServer server(c.Answer);
        Point(server.Port());
        SCA_UpdateManager manager(&m_Config, nullptr, nullptr);
        manager.SetTimeout(kLongTimeoutMs);
        Check(&manager);
        EXPECT_EQ(manager.GetProcessStatus(), SCA_PROCESS_FAILED) << c.Code;
        EXPECT_EQ(manager.GetStatusCode(), c.Code);
        EXPECT_EQ(manager.IsUpdateAvailable(), 0);
    }
}

TEST(UpdateDescription, ParserAcceptsOnlyWellFormedDescriptions) {
    SCA_Update update;
    ASSERT_EQ(SCA_UpdateManager::ParseDescription(kNewer, std::strlen(kNewer), &update), 1);
    EXPECT_STREQ(update.GetVersion(), "99.1.2");
    EXPECT_STREQ(update.GetSHA256(), "abc123");

    const char* refused[] = {
        "",
        "# only a comment\n",
        "Product=Korvanta\n",  // no version
        "Version=13.5\n",      // not major.minor.build
        "Version=13.5.48.1\n", // one part too many
        "Version=13.5.1000\n", // build out of range
        "Version=1.2.3\nthis line has no equals\n",
        "Version=1.2.3\nFileSize=-1\n",
        "Version=1.2.3\nFileSize=99999999999999999999999\n",
        "Version=1.2.3\nPackageType=4294967296\n",
    };
    for (const char* text : refused) {
        SCA_Update untouched;
        untouched.SetVersion("keep");
        EXPECT_EQ(SCA_UpdateManager::ParseDescription(text, std::strlen(text), &untouched), 0)
            << text;
        EXPECT_STREQ(untouched.GetVersion(), "keep") << text;
    }
    const std::string withNul("Version=1.2.3\nDate=a\0b\n", 23);
    EXPECT_EQ(SCA_UpdateManager::ParseDescription(withNul.data(), withNul.size(), &update), 0);
    // A long text is cut to its field, never written past it.
    const std::string longUrl = "Version=1.2.3\nUrl=" + std::string(5000, 'u') + "\n";
    ASSERT_EQ(SCA_UpdateManager::ParseDescription(longUrl.data(), longUrl.size(), &update), 1);
    EXPECT_EQ(std::strlen(update.GetUrl()), 255u);
}

TEST(UpdateDescription, AbsoluteVersionsOrderLikeTheirParts) {
    EXPECT_EQ(SCA_UpdateManager::GetAbsVersion("13.5.48"), 13005048u);
    EXPECT_LT(SCA_UpdateManager::GetAbsVersion("13.5.48"),
              SCA_UpdateManager::GetAbsVersion("13.6.0"));
    EXPECT_LT(SCA_UpdateManager::GetAbsVersion("9.999.999"),
              SCA_UpdateManager::GetAbsVersion("10.0.0"));
    EXPECT_EQ(SCA_UpdateManager::GetAbsVersion("4293.999.999"), 4293999999u);
    EXPECT_EQ(SCA_UpdateManager::GetAbsVersion("4294.0.0"), 0u);
    EXPECT_EQ(SCA_UpdateManager::GetAbsVersion("1..2"), 0u);
    EXPECT_EQ(SCA_UpdateManager::GetAbsVersion(nullptr), 0u);
}
