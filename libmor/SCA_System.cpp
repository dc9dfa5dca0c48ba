// SPDX-License-Identifier: MIT
#include "libmor/SCA_System.h"

#include <climits>
#include <csignal>
#include <cstring>
#include <pwd.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "libmor/SCA_String.h"

namespace {

// Codes from here on are the product's own protocol codes, not errno values.
constexpr uint32_t kFirstProtocolCode = 100000;

struct ProtocolError {
    uint32_t Code;
    const char* Text;
};

// The texts of the protocol codes. It fills as the protocol layers define their codes; a code
// not listed gets a generic text with its number.
constexpr ProtocolError kProtocolErrors[] = {
    // Configuration files (model/SCA_ConfigObj.h).
    {100010, "not a configuration file"},
    {100011, "unsupported configuration file version"},
    {100012, "configuration file truncated or altered"},
    {100013, "configuration file content cannot be read"},
    // Performance collector (perf/SCA_PerfErrors.h).
    {100196, "not supported on this computer"},
    {100400, "remote computers are not supported"},
    {100401, "performance monitor not initialized"},
    {100402, "unknown counter type"},
    {100403, "operation not permitted"},
    {100404, "invalid argument"},
    // Network transport (net/SCA_NetProtocol.h).
    {100300, "not connected"},
    {100301, "connection closed by the peer"},
    {100302, "no answer within the time-out"},
    {100303, "not a message of this protocol"},
    {100304, "unsupported message version"},
    {100305, "invalid command name"},
    {100306, "message larger than 64 MiB"},
    {100307, "invalid message content"},
    {100308, "no valid greeting from the peer"},
    {100309, "unexpected transport message"},
    {100310, "unknown host"},
    {100311, "invalid argument"},
    // Mail (libmor/mail/SCA_SmtpClient.h).
    {100320, "mail settings out of range"},
    {100321, "no connection to the mail server"},
    {100322, "the mail server refused the login"},
    {100323, "the mail server refused the mail"},
    {100324, "a mail address or subject holds a line break"},
    // Network server's store (libkvn).
    {100145, "not a device report file"},
    {100146, "a store file of another kind"},
    // Product updates (libtez/SCA_UpdateManager.h).
    {100500, "the update server answered with an error"},
    {100501, "the update description cannot be read"},
    {100502, "the update description is too long"},
    // Reports (libtez/reports).
    {100600, "not a report file"},
    {100601, "not a report save format"},
};

const char* FindProtocolText(uint32_t code) {
    for (const ProtocolError& entry : kProtocolErrors) {
        if (entry.Code == code) {
            return entry.Text;
        }
    }
    return nullptr;
}

std::string ProtocolErrorText(uint32_t code) {
    const char* text = FindProtocolText(code);
    return text != nullptr ? text : "protocol error " + std::to_string(code);
}

std::string SystemErrorText(uint32_t code) {
    char text[256];
    // The GNU strerror_r: answers a text, not always in the buffer; unknown codes name their
    // number.
    return strerror_r(static_cast<int>(code), text, sizeof(text));
}

int PutText(const std::string& text, char* buf, uint32_t size) {
    if (size == 0) {
        return 0;
    }
    SCA_StrnCpy(buf, text.c_str(), size);
    return 1;
}

} // namespace

int SCA_InitSystem(uint32_t /*flags*/) {
    // A peer that closes its socket must give EPIPE on the next send, not end the process.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    return sigaction(SIGPIPE, &ignore, nullptr) == 0 ? 1 : 0;
}

int SCA_GetHostName(char* buf, uint32_t size) {
    char name[HOST_NAME_MAX + 1] = "";
    if (gethostname(name, sizeof(name)) != 0) {
        return 0;
    }
    name[HOST_NAME_MAX] = '\0';
    return PutText(name, buf, size);
}

// A user without an entry in the user database (common in containers) is named by its number.
int SCA_GetUserName(char* buf, uint32_t size) {
    const uid_t uid = geteuid();
    const long hint = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> scratch(hint > 0 ? static_cast<size_t>(hint) : 16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (getpwuid_r(uid, &entry, scratch.data(), scratch.size(), &found) == 0 && found != nullptr) {
        return PutText(found->pw_name, buf, size);
    }
    return PutText(std::to_string(uid), buf, size);
}

int SCA_GetErrorDescr(uint32_t code, char* buf, uint32_t size) {
    const std::string text =
        code >= kFirstProtocolCode ? ProtocolErrorText(code) : SystemErrorText(code);
    return PutText(text, buf, size);
}
