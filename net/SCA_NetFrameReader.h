// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "model/SCA_StringStor.h"
#include "net/SCA_NetProtocol.h"

class SCA_NetMessage;

// Reads frames (see SCA_NetProtocol.h) from bytes as they arrive, in chunks of any size. It
// does no I/O, so the fuzz target and the tests drive it with plain buffers.
//
// A bad head (magic, version, name, payload length) is refused as soon as its bytes are
// there: an oversized payload is never waited for. The payload is parsed only when the caller
// takes the frame, so a frame that is not wanted can be skipped unparsed. After an error the
// reader takes no more bytes until Reset: the stream can no longer be trusted.
class SCA_NetFrameReader {
public:
    SCA_NetFrameReader() = default;
    SCA_NetFrameReader(const SCA_NetFrameReader&) = delete;
    SCA_NetFrameReader& operator=(const SCA_NetFrameReader&) = delete;

    // Takes bytes of the current frame from data, never beyond its end, and answers how many
    // it took: fewer than size once the frame is complete or an error was found.
    uint32_t Feed(const char* data, uint32_t size);

    int IsComplete() const { return m_Complete ? 1 : 0; }
    // 1 once bytes of a frame have been taken and until it is complete.
    int IsBegun() const { return m_HeadFilled > 0 && !m_Complete ? 1 : 0; }
    // The payload length of the current frame once its head is whole (0 before).
    uint32_t GetPayloadLength() const { return m_PayloadLength; }
    // 0, or the SCA_NET_ERROR_ code of the first error.
    uint32_t GetError() const { return m_Error; }
    // Of the complete frame (0 before).
    uint32_t GetControlCode() const;
    uint32_t GetSequence() const;

    // Hands the complete frame to message (code, flags, name, tree) and starts the next frame.
    // 0 when no frame is complete, or with the error SCA_NET_ERROR_PAYLOAD when the payload is
    // not exactly one tree within the depth limit; message is then left as it was.
    int TakeMessage(SCA_NetMessage* message);
    // Drops the complete frame without parsing it and starts the next one. 0 when none is
    // complete.
    int SkipFrame();
    // Forgets the current frame and any error.
    void Reset();
    // The largest payload taken from the next frame head on (at most SCA_NET_MAX_PAYLOAD): a
    // server keeps it small while a connection has not logged in.
    void SetMaxPayload(uint32_t maxPayload);
    uint32_t GetMaxPayload() const { return m_MaxPayload; }
    // The payload size of the last frame taken (0 before).
    uint32_t GetTakenPayload() const { return m_TakenPayload; }
    // The payload size the head of a frame refused as too large announced (0 for none).
    uint32_t GetRefusedPayload() const {
        return m_Error == SCA_NET_ERROR_TOO_LARGE ? m_PayloadLength : 0;
    }

private:
    uint32_t HeadSize() const;
    uint32_t NameLength() const;
    uint32_t ReadU32(uint32_t offset) const;
    // Checks the head bytes that have arrived; false (with m_Error set) on the first bad one.
    bool CheckHead(uint32_t from);
    void StartNextFrame();

    char m_Head[SCA_NET_MAX_HEAD] = {};
    uint32_t m_HeadFilled = 0;
    uint32_t m_PayloadLength = 0;
    uint32_t m_MaxPayload = SCA_NET_MAX_PAYLOAD;
    uint32_t m_TakenPayload = 0;
    SCA_StringStor m_Payload;
    bool m_Complete = false;
    uint32_t m_Error = 0;
};
