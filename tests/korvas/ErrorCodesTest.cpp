// SPDX-License-Identifier: MIT
// The codes of every layer the service is built from: each number is one layer's own, and the
// one error text names what it means, so that a message's "(ERR:<code>) - <words>" tells the
// truth whichever layer failed.
#include <cstdint>
#include <gtest/gtest.h>
#include <set>
#include <string>

#include "libkvn/SCA_KvnReport.h"
#include "libkvn/SCA_KvnStoredForm.h"
#include "libmor/SCA_System.h"
#include "libmor/mail/SCA_SmtpClient.h"
#include "libtez/SCA_TezProcessMonitor.h"
#include "libtez/SCA_UpdateManager.h"
#include "libtez/reports/SCA_SrvReportManager.h"
#include "libtez/reports/SCA_TezReportWriter.h"
#include "model/SCA_ConfigObj.h"
#include "net/SCA_NetProtocol.h"
#include "perf/SCA_PerfErrors.h"

namespace {

TEST(ErrorCodesTest, EveryLayersCodeIsItsOwnAndToldInItsOwnWords) {
    struct Code {
        const char* Name;
        uint32_t Value;
        const char* Words;
    };
    const Code codes[] = {
        {"SCA_CONFIG_ERROR_CHECKSUM", SCA_CONFIG_ERROR_CHECKSUM,
         "configuration file truncated or altered"},
        {"SCA_NET_ERROR_NOT_CONNECTED", SCA_NET_ERROR_NOT_CONNECTED, "not connected"},
        {"SCA_NET_ERROR_TOO_LARGE", SCA_NET_ERROR_TOO_LARGE, "message larger than 64 MiB"},
        {"SCA_NET_ERROR_HOST", SCA_NET_ERROR_HOST, "unknown host"},
        {"SCA_PERF_ERROR_REMOTE", SCA_PERF_ERROR_REMOTE, "remote computers are not supported"},
        {"SCA_SMTP_ERR_SETTINGS", SCA_SMTP_ERR_SETTINGS, "mail settings out of range"},
        {"SCA_SMTP_ERR_CONNECT", SCA_SMTP_ERR_CONNECT, "no connection to the mail server"},
        {"SCA_SMTP_ERR_LOGIN", SCA_SMTP_ERR_LOGIN, "the mail server refused the login"},
        {"SCA_SMTP_ERR_SEND", SCA_SMTP_ERR_SEND, "the mail server refused the mail"},
        {"SCA_SMTP_ERR_HEADER", SCA_SMTP_ERR_HEADER,
         "a mail address or subject holds a line break"},
        {"SCA_KVN_ERROR_NOT_REPORT", SCA_KVN_ERROR_NOT_REPORT, "not a device report file"},
        {"SCA_KVN_ERROR_NOT_STORE_FILE", SCA_KVN_ERROR_NOT_STORE_FILE,
         "a store file of another kind"},
        {"SCA_UPDATE_ERR_HTTP", SCA_UPDATE_ERR_HTTP, "the update server answered with an error"},
        {"SCA_UPDATE_ERR_DESCRIPTION", SCA_UPDATE_ERR_DESCRIPTION,
         "the update description cannot be read"},
        {"SCA_UPDATE_ERR_TOO_LARGE", SCA_UPDATE_ERR_TOO_LARGE,
         "the update description is too long"},
        {"SCA_REPORT_ERROR_NOT_REPORT", SCA_REPORT_ERROR_NOT_REPORT, "not a report file"},
        {"SCA_TEZ_ERR_FORMAT", SCA_TEZ_ERR_FORMAT, "not a report save format"},
    };
    std::set<uint32_t> seen;
    for (const Code& code : codes) {
        SCOPED_TRACE(code.Name);
        EXPECT_TRUE(seen.insert(code.Value).second) << code.Value << " is another code's too";
        char words[256] = "";
        ASSERT_EQ(SCA_GetErrorDescr(code.Value, words, sizeof(words)), 1);
        EXPECT_STREQ(words, code.Words);
    }
    // A process monitor of another computer fails as the collector does for it.
    EXPECT_EQ(SCA_PROCESS_MONITOR_REMOTE_ERROR, SCA_PERF_ERROR_REMOTE);
}

} // namespace
