// SPDX-License-Identifier: MIT
#include "net/SCA_NetCommandDoc.h"

#include "model/SCA_ConfigObj.h"
#include "model/SCA_Field.h"
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
           "\", and serves mode 2 to every client: the greeting tells each client the mode it "
           "may use, so another computer is greeted with mode 2 and logs in with the service's "
           "own login user by signature. A login is checked by the mode its greeting told; when "
           "the mode changed since, the login is refused and the client connects again.\n\n"
           "A refused login answers \"LoginStatus\" 0 with a text \"LoginMessage\" that says why. "
           "After " +
           std::to_string(SCA_NetLoginThrottle::kFreeFailures) +
           " failed logins from one address, that address waits " +
           std::to_string(SCA_NetLoginThrottle::kFirstWaitMs / 1000) +
           " second before its next login is checked, twice as long after every further "
           "failure, up to " +
           std::to_string(SCA_NetLoginThrottle::kLongestWaitMs / 1000) +
           " seconds, counted from the start of its latest failed check. A login that comes "
           "while its address waits is held, never refused unchecked: when the wait is over, "
           "every login held then is checked, together. So every login is answered at most " +
           std::to_string(SCA_NetLoginThrottle::kLongestWaitMs / 1000) +
           " seconds after it came (and the time its check takes), the right password too while "
           "someone else guesses from the same address; and since a connection has one request "
           "at a time, an address gets at most two checks a minute for each of its connections "
           "that holds a login, plus " +
           std::to_string(SCA_NetLoginThrottle::MostChecksPerMinute(0)) +
           " more while its wait still grows. A login that succeeds changes none of "
           "this: it would otherwise give a guesser at the same address fresh tries. Failures "
           "are forgotten " +
           std::to_string(SCA_NetLoginThrottle::kForgetMs / 60000) +
           " minutes after the last. A held login whose connection closes, or whose server "
           "stops, is dropped without being checked; a held login is never closed to make room "
           "for another connection.\n\n";
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
           std::to_string(SCA_NET_MAX_PAYLOAD >> 20) + " MiB or a tree nested deeper than " +
           std::to_string(SCA_CONFIG_MAX_DEPTH) +
           " closes the connection.\n\n"
           "| control code | frame |\n|---|---|\n"
           "| " +
           std::to_string(SCA_NET_CODE_COMMAND) +
           " | a request or its reply |\n"
           "| " +
           std::to_string(SCA_NET_CODE_GREETING) +
           " | the server's greeting |\n"
           "| " +
           std::to_string(SCA_NET_CODE_GREETING_REPLY) +
           " | the client's answer to it |\n"
           "| " +
           std::to_string(SCA_NET_CODE_FIRST_INTERNAL + 2) + " to " +
           std::to_string(SCA_NET_CODE_LAST_INTERNAL) +
           " | reserved to the transport; a command frame may not use them |\n\n"
           "A server closes a connection whose frame has begun and is not whole " +
           std::to_string(SCA_NET_FRAME_TIMEOUT_MS / 1000) +
           " s after its first byte, and 1 s more for every " +
           std::to_string(SCA_NET_SLOWEST_BYTES_PER_SECOND / 1024) +
           " KiB of its payload, logged in or not; between frames a connection that has logged "
           "in may stay silent as long as it likes.\n\n"
           "The control flags are 0. The greeting and its answer carry sequence number 0; a "
           "client numbers its requests 1, 2, 3, ... (after the largest number it goes on at 1), "
           "and a reply carries the number of its request.\n\n"
           "A request is named by its command; its reply is named \"OK\" when the command was "
           "carried out, \"ERR\" otherwise. Every request gets exactly one reply; a client "
           "drops a reply whose number is not that of its latest request.\n\n"
           "## Byte form of a tree\n\n"
           "A tree is an object; an object holds value fields and objects, in order. With 0x01 "
           "as the separator:\n\n"
           "- a value field: the byte '1', 0x01, the name, 0x01, the value, 0x01;\n"
           "- an object: the byte '2', 0x01, the name, 0x01, its children, then the end mark "
           "'0', 0x01.\n\n"
           "Names and values are bytes without 0x00 and 0x01 (texts are UTF-8); a name is at "
           "most " +
           std::to_string(SCA_FIELD_MAX_NAME) + " bytes and a value at most " +
           std::to_string(SCA_FIELD_MAX_VALUE) +
           ". Every value is text: a number (u16, u32, u64) in decimal, a signed number with its "
           "minus sign, a fraction in its shortest exact form, all in the C locale; a field of "
           "kind text holds its bytes as they are. The payload's root object is named "
           "\"Data\"; its children are the message's fields.\n\n"
           "For example the value field Port=8000 is the 12 bytes `31 01 50 6f 72 74 01 38 30 "
           "30 30 01`.\n\n"
           "## Greeting\n\n"
           "On accepting a connection the server sends a greeting (control code " +
           std::to_string(SCA_NET_CODE_GREETING) +
           ", name \"Greeting\") with the fields \"ServerVersion\", \"ServerHostName\", "
           "\"ServerLoginMode\" (u32), \"ServerStartTime\" and \"ServerConnectTime\" (u64 "
           "absolute times: 100-ns units since 1970-01-01 00:00 UTC). The client answers "
           "(control code " +
           std::to_string(SCA_NET_CODE_GREETING_REPLY) +
           ", name \"GreetingReply\") with \"ClientStartTime\" and \"ClientConnectTime\" (the "
           "time the greeting came). Both ends then hold the same four times. A server waits " +
           std::to_string(SCA_NET_GREETING_TIMEOUT_MS / 1000) +
           " s for the answer and closes the connection without it; a client gives up when the "
           "greeting does not come within its own connect time-out.\n\n" +
           "## What the login encryption hides\n\n" + LoginSecurity() +
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
