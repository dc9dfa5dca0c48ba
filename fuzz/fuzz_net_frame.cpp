// SPDX-License-Identifier: MIT
// Frames as they arrive from the network, fed to the frame reader in chunks (the first input
// byte picks the chunk size). The reader must never take bytes past its frame or read past its
// input, and every message it hands out must write back to a frame that reads as the same
// message.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "libmor/SCA_Report.h"
#include "net/SCA_NetFrameReader.h"
#include "net/SCA_NetFrameWriter.h"
#include "net/SCA_NetMessage.h"

namespace {

int Quiet(tagSCA_ERROR_DESCR*, void*) {
    return 1;
}

void CheckRoundTrip(SCA_NetMessage* message, uint32_t sequence) {
    SCA_NetFrameWriter writer;
    uint32_t error = 0;
    if (!writer.Encode(message, sequence, &error)) {
        __builtin_trap(); // what was read within the limits can be written
    }
    SCA_NetFrameReader reader;
    const auto size = static_cast<uint32_t>(writer.GetSize());
    SCA_NetMessage again;
    if (reader.Feed(writer.GetData(), size) != size || !reader.IsComplete() ||
        reader.GetSequence() != sequence || !reader.TakeMessage(&again) ||
        std::strcmp(again.GetCommandName(), message->GetCommandName()) != 0 ||
        again.GetControlCode() != message->GetControlCode() ||
        again.GetControlFlags() != message->GetControlFlags() ||
        !again.GetData()->Compare(message->GetData())) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 1u << 20) {
        return 0;
    }
    SCA_SetErrorCallback(Quiet, nullptr);
    const uint32_t chunkSize = 1 + data[0] % 64;
    const char* bytes = reinterpret_cast<const char*>(data + 1);
    const auto total = static_cast<uint32_t>(size - 1);

    SCA_NetFrameReader reader;
    uint32_t at = 0;
    while (reader.GetError() == 0) {
        if (reader.IsComplete()) {
            const uint32_t sequence = reader.GetSequence();
            SCA_NetMessage message;
            if (reader.TakeMessage(&message)) {
                CheckRoundTrip(&message, sequence);
            }
            continue;
        }
        if (at == total) {
            break;
        }
        const uint32_t chunk = std::min(chunkSize, total - at);
        const uint32_t used = reader.Feed(bytes + at, chunk);
        // Short only when the frame completed or turned out bad.
        if (used > chunk || (used < chunk && !reader.IsComplete() && reader.GetError() == 0)) {
            __builtin_trap();
        }
        at += used;
    }
    return 0;
}
