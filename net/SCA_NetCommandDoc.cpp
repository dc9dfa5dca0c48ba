#include "net/SCA_NetCommandDoc.h"

#include "model/SCA_TezConfigUser.h"
#include "net/SCA_NetLoginThrottle.h"
#include "net/SCA_NetProtocol.h"

namespace {

const char* KindName(SCA_NetKind kind) {
    switch (kind) {
    case SCA_NetKind::U32:
        return "u32";
    case SCA_NetKind::U64:
        return "u64";
    case SCA_NetKind::Text:
        return "text";
    case SCA_NetKind::Object:
        return "object";
    }
    return "?";
}

const char* LoginName(SCA_NetLogin login) {
    switch (login) {
    case SCA_NetLogin::Agent:
        return "decided by the agent";
    case SCA_NetLogin::Open:
        return "not needed";
    case SCA_NetLogin::Required:
        return "required";
    }
    return "?";
}

// What the login's encryption hides and what it does not, and how a monitoring service
// serves the login modes because of it.
std::string LoginSecurity() {
    return "The encryption of \"LoginData\" and \"LoginResults\" hides them from programs that do "
           "not know this protocol, and from nobody else: its keys are made of times that the "
           "greeting sends in the clear, so whoever watches the connection can decrypt both "
           "directions. It does not hide the host and user names (every mode) nor the password "
           "(mode 1), and it does not keep anyone out in mode 0, which checks no password. Mode 2 "
           "sends no password, only a signature bound to this connection's times, which opens no "
           "other connection; whoever watches it can still test guesses of the password against "
           "it at leisure, so that password is best long and random, as the one a service makes "
           "at its first start is. So a monitoring service serves modes 0 and 1 only to clients on "
           "its own computer (loopback addresses) unless its administrator turns on the advanced "
           "option \"" +
           std::string(SCA_OPTION_REMOTE_OPEN_LOGINS) +
           "\", and serves mode 2 to every client.\n\n"
           "A refused login answers \"LoginStatus\" 0 with a text \"LoginMessage\" that says why. "
           "After " +
           std::to_string(SCA_NetLoginThrottle::kFreeFailures) +
           " failed logins from one address, that address waits " +
           std::to_string(SCA_NetLoginThrottle::kFirstWaitMs / 1000) +
           " second before its next login is looked at, twice as long after every further "
           "failure, up to " +
           std::to_string(SCA_NetLoginThrottle::kLongestWaitMs / 1000) +
           " seconds; logins it tries before are refused.\n\n";
}

} // namespace

std::string SCA_NetCommandDoc::Transport() {
    return "## Frame\n\n"
           "TCP. Every message is one frame: \"KVNT\", u8 version " +
           std::to_string(SCA_NET_FRAME_VERSION) +
           ", u32 control code, u32 control flags, u32 sequence number, u8 name length, the "
           "command name (at most " +
           std::to_string(SCA_NET_MAX_NAME) +
           " bytes, no terminator), u32 payload length, then the payload: the byte form of one "
           "configuration tree whose children are the message's fields. Integers are "
           "little-endian. A payload over " +
           std::to_string(SCA_NET_MAX_PAYLOAD >> 20) +
           " MiB or a tree nested deeper than 64 closes the connection.\n\n"
           "A request is named by its command; its reply carries the request's sequence number "
           "and is named \"OK\" when the command was carried out, \"ERR\" otherwise. Every "
           "request gets exactly one reply; a client drops a reply whose number is not that of "
           "its latest request.\n\n"
           "## Greeting\n\n"
           "On accepting a connection the server sends a greeting (control code " +
           std::to_string(SCA_NET_CODE_GREETING) +
           ") with its version, host name, login mode, start time and connect time; the client "
           "answers (control code " +
           std::to_string(SCA_NET_CODE_GREETING_REPLY) +
           ") with its own start and connect time. Both ends then hold the same four times.\n\n"
           "## Login\n\n"
           "The login sends an object \"LoginData\" with \"HostName\" and \"UserName\", and by "
           "the announced login mode nothing more (0), \"Password\" (1) or \"AuthSig\" (2): the "
           "lowercase hex SHA-256 of \"<user>_<server start><server connect>_<password>\". "
           "\"LoginData\" travels encrypted under the key made of the four times in decimal "
           "(client start, client connect, server start, server connect); the reply's "
           "\"LoginResults\" with the u32 \"LoginStatus\" (1 = logged in) under the key with the "
           "server's times first.\n\n" +
           LoginSecurity() +
           "## Fields\n\n"
           "Inputs are request fields and outputs reply fields, each in the order listed. Texts "
           "are at most 255 bytes; a longer one is refused, never cut. An object output travels "
           "under its field's name; where a root name is given, the client renames the object "
           "to it.\n";
}

std::string SCA_NetCommandDoc::Table(const char* title, const char* about, Row row,
                                     uint32_t count) {
    std::string text = std::string("## ") + title + "\n\n" + about + "\n";
    for (uint32_t index = 0; index < count; ++index) {
        const tagSCA_NET_COMMAND_SHAPE& command = row(index);
        text +=
            std::string("\n### ") + command.Name + "\n\nLogin: " + LoginName(command.Login) + ".\n";
        if (command.FieldCount == 0) {
            text += "\nNo fields.\n";
            continue;
        }
        text += "\n| field | kind | direction | root name |\n|---|---|---|---|\n";
        for (uint32_t i = 0; i < command.FieldCount; ++i) {
            const tagSCA_NET_FIELD& field = command.Fields[i];
            text += std::string("| ") + field.Name + " | " + KindName(field.Kind) + " | " +
                    (field.Out ? "out" : "in") + " | " + (field.Root != nullptr ? field.Root : "") +
                    " |\n";
        }
    }
    return text;
}
