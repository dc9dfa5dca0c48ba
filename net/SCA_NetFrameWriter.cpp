// SPDX-License-Identifier: MIT
#include "net/SCA_NetFrameWriter.h"

#include <cstring>

#include "net/SCA_NetMessage.h"
#include "net/SCA_NetProtocol.h"

namespace {

// Buffers above this size are given back after use.
constexpr size_t kKeptBuffer = 1u << 20;

void PutU32(std::string* out, uint32_t value) {
    const char bytes[4] = {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
                           static_cast<char>((value >> 16) & 0xFF),
                           static_cast<char>((value >> 24) & 0xFF)};
    out->append(bytes, 4);
}

int Fail(uint32_t* error, uint32_t code) {
    if (error != nullptr) {
        *error = code;
    }
    return 0;
}

} // namespace

int SCA_NetFrameWriter::Encode(SCA_NetMessage* message, uint32_t sequence, uint32_t* error) {
    m_Frame.clear();
    if (message == nullptr) {
        return Fail(error, SCA_NET_ERROR_ARGUMENT);
    }
    if (!message->GetData()->Serialize(&m_Payload)) {
        return Fail(error, SCA_NET_ERROR_PAYLOAD);
    }
    const std::string& payload = m_Payload.GetBytes();
    if (payload.size() > SCA_NET_MAX_PAYLOAD) {
        m_Payload.Clear();
        return Fail(error, SCA_NET_ERROR_TOO_LARGE);
    }
    // SetCommandName keeps names within SCA_NET_MAX_NAME bytes.
    const char* name = message->GetCommandName();
    const size_t nameLength = std::strlen(name);
    m_Frame.reserve(SCA_NET_MAX_HEAD + payload.size());
    m_Frame.append(SCA_NET_MAGIC, sizeof(SCA_NET_MAGIC));
    m_Frame.push_back(static_cast<char>(SCA_NET_FRAME_VERSION));
    PutU32(&m_Frame, message->GetControlCode());
    PutU32(&m_Frame, message->GetControlFlags());
    PutU32(&m_Frame, sequence);
    m_Frame.push_back(static_cast<char>(nameLength));
    m_Frame.append(name, nameLength);
    PutU32(&m_Frame, static_cast<uint32_t>(payload.size()));
    m_Frame.append(payload);
    return 1;
}

void SCA_NetFrameWriter::Trim() {
    if (m_Frame.capacity() > kKeptBuffer) {
        std::string().swap(m_Frame);
    }
    if (m_Payload.GetBytes().capacity() > kKeptBuffer) {
        std::string().swap(m_Payload.GetBytes());
    }
}
