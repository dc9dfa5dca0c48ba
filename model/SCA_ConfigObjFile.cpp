// SPDX-License-Identifier: MIT
// Files of configuration trees: a fixed header, then the byte form of the root object.
//
//   offset  size  content
//   0       4     magic "KHDX"
//   4       4     format version (1), little-endian
//   8       4     file type, little-endian
//   12      8     payload length, little-endian
//   20      32    SHA-256 of the payload
//   52      n     payload: the byte form of the root object
#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>

#include "libmor/SCA_Crypto.h"
#include "libmor/SCA_FileSystem.h"
#include "libmor/SCA_Report.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_StringStor.h"

namespace {

constexpr char kMagic[4] = {'K', 'H', 'D', 'X'};
constexpr uint32_t kFormatVersion = 1;
constexpr size_t kHeaderSize = 4 + 4 + 4 + 8 + SCA_SHA256_SIZE;
// Trees are held in memory whole; no configuration file comes near this.
constexpr size_t kMaxFileSize = 1ULL << 30;

void PutLittleEndian(std::string* out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out->push_back(static_cast<char>(value >> (8 * i)));
    }
}

uint64_t GetLittleEndian(const char* in, int bytes) {
    uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        value = value << 8 | static_cast<unsigned char>(in[i]);
    }
    return value;
}

void SetError(uint32_t* error, uint32_t code) {
    if (error != nullptr) {
        *error = code;
    }
}

} // namespace

int SCA_ConfigObj::ToFileBytes(uint32_t fileType, std::string* file) {
    SCA_StringStor payload;
    if (file == nullptr || !Serialize(&payload)) {
        return 0;
    }
    file->clear();
    file->reserve(kHeaderSize + payload.GetSize());
    file->append(kMagic, sizeof(kMagic));
    PutLittleEndian(file, kFormatVersion, 4);
    PutLittleEndian(file, fileType, 4);
    PutLittleEndian(file, payload.GetSize(), 8);
    uint8_t digest[SCA_SHA256_SIZE];
    if (!SCA_Sha256(payload.GetData(), payload.GetSize(), digest)) {
        return 0;
    }
    file->append(reinterpret_cast<const char*>(digest), sizeof(digest));
    file->append(payload.GetData(), payload.GetSize());
    return 1;
}

int SCA_ConfigObj::Save(const char* path, uint32_t fileType, uint32_t, uint32_t* error) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    std::string file;
    if (path == nullptr || !ToFileBytes(fileType, &file)) {
        SetError(error, EINVAL);
        report(SCA_LEVEL_CONFIG, "SCA_ConfigObj::Save: cannot serialize %s", GetName());
        return 0;
    }
    uint32_t code = 0;
    if (!SCA_WriteFileAtomic(path, file.data(), file.size(), &code)) {
        SetError(error, code);
        report(SCA_LEVEL_CONFIG, "SCA_ConfigObj::Save: cannot write %s (%s)", path,
               std::strerror(static_cast<int>(code)));
        return 0;
    }
    SetError(error, 0);
    return 1;
}

int SCA_ConfigObj::Load(const char* path, uint32_t* error, uint32_t* fileType) {
    std::string file;
    uint32_t code = 0;
    if (path == nullptr || !SCA_ReadFile(path, &file, kMaxFileSize, &code)) {
        SetError(error, path == nullptr ? EINVAL : code);
        return 0;
    }
    return LoadBytes(file.data(), file.size(), error, fileType);
}

int SCA_ConfigObj::LoadBytes(const char* data, size_t size, uint32_t* error, uint32_t* fileType) {
    const std::string_view file(data, size);
    if (file.size() < kHeaderSize || std::memcmp(file.data(), kMagic, sizeof(kMagic)) != 0) {
        SetError(error, SCA_CONFIG_ERROR_FORMAT);
        return 0;
    }
    if (GetLittleEndian(file.data() + 4, 4) != kFormatVersion) {
        SetError(error, SCA_CONFIG_ERROR_VERSION);
        return 0;
    }
    const uint64_t payloadSize = GetLittleEndian(file.data() + 12, 8);
    uint8_t digest[SCA_SHA256_SIZE];
    if (payloadSize != file.size() - kHeaderSize ||
        !SCA_Sha256(file.data() + kHeaderSize, payloadSize, digest) ||
        std::memcmp(digest, file.data() + 20, SCA_SHA256_SIZE) != 0) {
        SetError(error, SCA_CONFIG_ERROR_CHECKSUM);
        return 0;
    }
    SCA_StringStor payload;
    payload.SetData(file.data() + kHeaderSize, static_cast<uint32_t>(payloadSize));
    if (!Deserialize(&payload)) {
        SetError(error, SCA_CONFIG_ERROR_CONTENT);
        return 0;
    }
    if (fileType != nullptr) {
        *fileType = static_cast<uint32_t>(GetLittleEndian(file.data() + 8, 4));
    }
    SetError(error, 0);
    return 1;
}
