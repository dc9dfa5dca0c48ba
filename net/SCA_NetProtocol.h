// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// The wire form of the transport. A frame is:
//   "KVNT", u8 version, u32 control code, u32 control flags, u32 sequence number,
//   u8 name length, the command name (no terminator), u32 payload length,
//   the payload: the byte form of one configuration tree.
// Integers are little-endian, as in the configuration files.
inline constexpr char SCA_NET_MAGIC[4] = {'K', 'V', 'N', 'T'};
inline constexpr uint8_t SCA_NET_FRAME_VERSION = 1;
// Bytes up to and including the name length; the name and the payload length follow.
inline constexpr uint32_t SCA_NET_FIXED_HEADER = 18;
inline constexpr uint32_t SCA_NET_MAX_NAME = 63;
// The longest frame head: fixed part, longest name, payload length.
inline constexpr uint32_t SCA_NET_MAX_HEAD = SCA_NET_FIXED_HEADER + SCA_NET_MAX_NAME + 4;
// A larger payload closes the connection before any of it is read.
inline constexpr uint32_t SCA_NET_MAX_PAYLOAD = 64u << 20;

// Control codes 2 to 11 belong to the transport itself and never reach a command handler.
inline constexpr uint32_t SCA_NET_CODE_COMMAND = 0;
inline constexpr uint32_t SCA_NET_CODE_FIRST_INTERNAL = 2;
inline constexpr uint32_t SCA_NET_CODE_GREETING = 2;
inline constexpr uint32_t SCA_NET_CODE_GREETING_REPLY = 3;
inline constexpr uint32_t SCA_NET_CODE_LAST_INTERNAL = 11;

// The largest frame a server recognises as waiting before it reads it: room for a login
// request, so that a connection whose login has arrived is not closed to make room.
inline constexpr uint32_t SCA_NET_PEEK_LIMIT = 4096;

// How long a server waits for a new connection to answer its greeting.
inline constexpr uint32_t SCA_NET_GREETING_TIMEOUT_MS = 10000;
// How long a server waits for the rest of a frame once its first byte came, logged in or not:
// the same read time-out as the greeting's answer has.
inline constexpr uint32_t SCA_NET_FRAME_TIMEOUT_MS = SCA_NET_GREETING_TIMEOUT_MS;
// The slowest a frame's payload may come on top of that, so that a large request still gets
// through on a slow link: a second more for each of these many bytes.
inline constexpr uint32_t SCA_NET_SLOWEST_BYTES_PER_SECOND = 64u * 1024u;
// How long a send waits for room in the socket without any byte going out.
inline constexpr uint32_t SCA_NET_SEND_TIMEOUT_MS = 30000;

// Protocol error codes (system calls give errno values). Their texts are in SCA_System.cpp.
inline constexpr uint32_t SCA_NET_ERROR_NOT_CONNECTED = 100300; // no open connection
inline constexpr uint32_t SCA_NET_ERROR_CLOSED = 100301;        // the peer closed it
inline constexpr uint32_t SCA_NET_ERROR_TIMEOUT = 100302;       // nothing within the time-out
inline constexpr uint32_t SCA_NET_ERROR_MAGIC = 100303;         // not a frame of this protocol
inline constexpr uint32_t SCA_NET_ERROR_VERSION = 100304;       // a frame version we cannot read
inline constexpr uint32_t SCA_NET_ERROR_NAME = 100305;          // command name too long or with 0
inline constexpr uint32_t SCA_NET_ERROR_TOO_LARGE = 100306;     // payload above the limit
inline constexpr uint32_t SCA_NET_ERROR_PAYLOAD = 100307;       // not one tree, or nested too deep
inline constexpr uint32_t SCA_NET_ERROR_GREETING = 100308;      // the greeting is missing or wrong
inline constexpr uint32_t SCA_NET_ERROR_UNEXPECTED = 100309;    // transport message out of place
inline constexpr uint32_t SCA_NET_ERROR_HOST = 100310;          // the host name cannot be resolved
inline constexpr uint32_t SCA_NET_ERROR_ARGUMENT = 100311;      // null or reserved argument

// True for the codes that say the peer broke the protocol (a frame or greeting that cannot be
// read), as against a connection that ended, a wait that timed out or a system error.
inline constexpr bool SCA_NetIsProtocolFault(uint32_t code) {
    return code >= SCA_NET_ERROR_MAGIC && code <= SCA_NET_ERROR_UNEXPECTED;
}
