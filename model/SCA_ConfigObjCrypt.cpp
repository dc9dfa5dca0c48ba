// SPDX-License-Identifier: MIT
// Encryption of a configuration object in place. The enciphered object keeps its name; its
// children become value fields:
//   "Nonce"              the 12-byte GCM nonce, hex
//   "Cipher0", "Cipher1" the ciphertext of the object's byte form, hex, in chunks that fit a value
//   "Tag"                the 16-byte GCM tag, hex
#include <cstdio>
#include <cstring>
#include <string>

#include "libmor/SCA_Crypto.h"
#include "libmor/SCA_Report.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_StringStor.h"

namespace {

constexpr uint32_t kChunkHexSize = SCA_FIELD_MAX_VALUE; // even, so chunks hold whole bytes

bool DeriveKey(const char* key, uint8_t derived[SCA_AES_KEY_SIZE]) {
    return key != nullptr && SCA_Sha256(key, std::strlen(key), derived);
}

std::string ChunkName(uint32_t index) {
    char name[24];
    std::snprintf(name, sizeof(name), "Cipher%u", index);
    return name;
}

// The bytes of a hex value field of exactly size bytes (size 0: any length).
bool ReadHexField(SCA_ConfigObj* object, const char* name, size_t size, std::string* out) {
    SCA_Field* field = nullptr;
    if (!object->GetFieldByName(name, &field) || field->IsObject() ||
        !SCA_FromHex(field->GetValue(), field->GetValueSize(), out)) {
        return false;
    }
    return size == 0 || out->size() == size;
}

} // namespace

int SCA_ConfigObj::Encrypt(const char* key, uint32_t, uint32_t) {
    uint8_t derived[SCA_AES_KEY_SIZE];
    uint8_t nonce[SCA_GCM_NONCE_SIZE];
    uint8_t tag[SCA_GCM_TAG_SIZE];
    SCA_StringStor plain;
    std::string cipher;
    if (!DeriveKey(key, derived) || !SCA_RandomBytes(nonce, sizeof(nonce)) || !Serialize(&plain) ||
        !SCA_AesGcmEncrypt(derived, nonce, plain.GetData(), plain.GetSize(), &cipher, tag)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_CONFIG, "SCA_ConfigObj::Encrypt: cannot encrypt %s", GetName());
        return 0;
    }
    const std::string hex = SCA_ToHex(cipher.data(), cipher.size());
    SCA_ConfigObj sealed(nullptr);
    bool built = sealed.AddField("Nonce", SCA_ToHex(nonce, sizeof(nonce)).c_str()) != 0;
    for (uint32_t index = 0; built && static_cast<size_t>(index) * kChunkHexSize < hex.size();
         ++index) {
        const std::string chunk =
            hex.substr(static_cast<size_t>(index) * kChunkHexSize, kChunkHexSize);
        built = sealed.AddField(ChunkName(index).c_str(), chunk.c_str()) != 0;
    }
    built = built && sealed.AddField("Tag", SCA_ToHex(tag, sizeof(tag)).c_str()) != 0;
    if (!built) {
        return 0;
    }
    m_Fields.Clear();
    TakeChildren(&sealed);
    return 1;
}

int SCA_ConfigObj::Decrypt(const char* key, uint32_t, uint32_t) {
    uint8_t derived[SCA_AES_KEY_SIZE];
    std::string nonce;
    std::string tag;
    if (!DeriveKey(key, derived) || !ReadHexField(this, "Nonce", SCA_GCM_NONCE_SIZE, &nonce) ||
        !ReadHexField(this, "Tag", SCA_GCM_TAG_SIZE, &tag)) {
        return 0;
    }
    std::string cipher;
    std::string chunk;
    for (uint32_t index = 0; ReadHexField(this, ChunkName(index).c_str(), 0, &chunk); ++index) {
        cipher += chunk;
    }
    std::string plain;
    if (!SCA_AesGcmDecrypt(derived, reinterpret_cast<const uint8_t*>(nonce.data()), cipher.data(),
                           cipher.size(), reinterpret_cast<const uint8_t*>(tag.data()), &plain)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_CONFIG, "SCA_ConfigObj::Decrypt: wrong key or altered content in %s",
            GetName());
        return 0;
    }
    SCA_StringStor stor;
    stor.SetData(plain.data(), static_cast<uint32_t>(plain.size()));
    SCA_ConfigObj opened(nullptr);
    if (!opened.Deserialize(&stor)) {
        return 0;
    }
    m_Fields.Clear();
    TakeChildren(&opened);
    return 1;
}
