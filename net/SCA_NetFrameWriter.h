// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "model/SCA_StringStor.h"

class SCA_NetMessage;

// Turns a message into the bytes of one frame (see SCA_NetProtocol.h). No I/O: the transport
// sends what it builds, and tests and the fuzz target read it back without a socket.
// One writer per connection; its buffers are kept for the next frame.
class SCA_NetFrameWriter {
public:
    SCA_NetFrameWriter() = default;
    SCA_NetFrameWriter(const SCA_NetFrameWriter&) = delete;
    SCA_NetFrameWriter& operator=(const SCA_NetFrameWriter&) = delete;

    // Builds the frame of message under sequence. 0 with *error SCA_NET_ERROR_TOO_LARGE when
    // the payload is above SCA_NET_MAX_PAYLOAD, SCA_NET_ERROR_PAYLOAD when the tree cannot be
    // written (deeper than the configuration limit); the previous frame is then gone.
    int Encode(SCA_NetMessage* message, uint32_t sequence, uint32_t* error);

    const char* GetData() const { return m_Frame.data(); }
    size_t GetSize() const { return m_Frame.size(); }
    // Frees the buffers after an unusually large frame, so that an idle connection does not
    // keep them.
    void Trim();

private:
    SCA_StringStor m_Payload;
    std::string m_Frame;
};
