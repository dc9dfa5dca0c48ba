// SPDX-License-Identifier: MIT
// Encryption of configuration objects in place: the sealed form, round trips, and refusal of
// wrong keys and altered content with the object left as it was.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "libmor/SCA_Crypto.h"
#include "model/SCA_ConfigObj.h"
#include "tests/model/ModelTestSupport.h"

namespace {

using model_test::Bytes;
using model_test::HeapFailure;
using model_test::Names;
using model_test::ParentsAreSound;
using model_test::Reports;
using Texts = std::vector<std::string>;

void BuildLogin(SCA_ConfigObj* login) {
    ASSERT_EQ(1, login->AddField("UserName", "admin"));
    ASSERT_EQ(1, login->AddField("Password", "s3cret-passw0rd"));
    ASSERT_EQ(1, login->AddField("Port", uint16_t{8000}));
    SCA_ConfigObj* extra = login->AddConfigObj("Extra");
    ASSERT_NE(nullptr, extra);
    ASSERT_EQ(1, extra->AddField("Empty", ""));
}

std::string ValueOf(SCA_ConfigObj& object, const char* name) {
    SCA_Field* field = nullptr;
    return object.GetFieldByName(name, &field) ? field->GetValue() : "<missing>";
}

bool IsLowerHex(const std::string& text) {
    return text.size() % 2 == 0 && text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

std::string ChunkName(int index) {
    return "Cipher" + std::to_string(index);
}

// Changes the value of the named field in place.
void EditValue(SCA_ConfigObj* object, const char* name,
               const std::function<void(std::string*)>& change) {
    SCA_Field* field = nullptr;
    ASSERT_EQ(1, object->GetFieldByName(name, &field)) << name;
    std::string value = field->GetValue();
    change(&value);
    ASSERT_EQ(1, field->SetValue(value.c_str())) << name;
}

// One way of tampering with a sealed object.
struct Alteration {
    const char* What;
    std::function<void(SCA_ConfigObj*)> Apply;
};

// The names a sealed object must hold for a ciphertext of chunks chunks.
Texts SealedNames(int chunks) {
    Texts names{"Nonce"};
    for (int i = 0; i < chunks; ++i) {
        names.push_back(ChunkName(i));
    }
    names.push_back("Tag");
    return names;
}

TEST(ConfigCryptTest, SealedObjectKeepsItsNameAndHoldsOnlyHex) {
    SCA_ConfigObj login("Login", nullptr);
    BuildLogin(&login);
    const std::string plain = Bytes(login);
    ASSERT_EQ(1, login.Encrypt("key", 0, 0));
    EXPECT_STREQ("Login", login.GetName());
    EXPECT_EQ(SealedNames(1), Names(login));
    for (SCA_Field* field = login.GetHead(); field != nullptr; field = field->GetNext()) {
        EXPECT_FALSE(field->IsObject()) << field->GetName();
        EXPECT_TRUE(IsLowerHex(field->GetValue())) << field->GetName();
    }
    EXPECT_EQ(2 * SCA_GCM_NONCE_SIZE, ValueOf(login, "Nonce").size());
    EXPECT_EQ(2 * SCA_GCM_TAG_SIZE, ValueOf(login, "Tag").size());
    EXPECT_EQ(2 * plain.size(), ValueOf(login, "Cipher0").size());
    EXPECT_EQ(std::string::npos, Bytes(login).find("s3cret")) << "no plain text left";
    EXPECT_TRUE(ParentsAreSound(login));
}

TEST(ConfigCryptTest, DecryptRestoresTheTreeUnderTheCurrentName) {
    SCA_ConfigObj login("Login", nullptr);
    BuildLogin(&login);
    SCA_ConfigObj original(login);
    ASSERT_EQ(1, login.Encrypt("key", 0, 0));
    ASSERT_EQ(1, login.SetName("Renamed"));
    ASSERT_EQ(1, login.Decrypt("key", 0, 0));
    EXPECT_STREQ("Renamed", login.GetName());
    ASSERT_EQ(1, login.SetName("Login"));
    EXPECT_EQ(Bytes(original), Bytes(login));
    EXPECT_TRUE(ParentsAreSound(login));
}

// The sealed form is AES-256-GCM under SHA-256 of the key text over the object's byte form,
// so that any side holding the key text can open it.
TEST(ConfigCryptTest, SealedFormOpensWithTheDocumentedKeyAndLayout) {
    SCA_ConfigObj login("Login", nullptr);
    BuildLogin(&login);
    const std::string plain = Bytes(login);
    ASSERT_EQ(1, login.Encrypt("key text", 0, 0));

    uint8_t key[SCA_AES_KEY_SIZE];
    ASSERT_EQ(1, SCA_Sha256("key text", 8, key));
    std::string nonce;
    std::string cipher;
    std::string tag;
    ASSERT_EQ(1, SCA_FromHex(ValueOf(login, "Nonce").c_str(), 2 * SCA_GCM_NONCE_SIZE, &nonce));
    const std::string cipherHex = ValueOf(login, "Cipher0");
    ASSERT_EQ(1, SCA_FromHex(cipherHex.c_str(), cipherHex.size(), &cipher));
    ASSERT_EQ(1, SCA_FromHex(ValueOf(login, "Tag").c_str(), 2 * SCA_GCM_TAG_SIZE, &tag));
    std::string opened;
    ASSERT_EQ(1, SCA_AesGcmDecrypt(key, reinterpret_cast<const uint8_t*>(nonce.data()),
                                   cipher.data(), cipher.size(),
                                   reinterpret_cast<const uint8_t*>(tag.data()), &opened));
    EXPECT_EQ(plain, opened);
}

TEST(ConfigCryptTest, EachEncryptionTakesAFreshNonce) {
    SCA_ConfigObj first("Login", nullptr);
    BuildLogin(&first);
    SCA_ConfigObj second(first);
    ASSERT_EQ(1, first.Encrypt("key", 0, 0));
    ASSERT_EQ(1, second.Encrypt("key", 0, 0));
    EXPECT_NE(ValueOf(first, "Nonce"), ValueOf(second, "Nonce"));
    EXPECT_NE(ValueOf(first, "Cipher0"), ValueOf(second, "Cipher0"));
}

TEST(ConfigCryptTest, WrongKeyIsRefusedAndTheObjectKept) {
    Reports reports;
    SCA_ConfigObj login("Login", nullptr);
    BuildLogin(&login);
    SCA_ConfigObj original(login);
    ASSERT_EQ(1, login.Encrypt("key", 0, 0));
    const std::string sealed = Bytes(login);
    for (const char* wrong : {"Key", "key ", "", "ke", static_cast<const char*>(nullptr)}) {
        EXPECT_EQ(0, login.Decrypt(wrong, 0, 0)) << (wrong != nullptr ? wrong : "(null)");
        EXPECT_EQ(sealed, Bytes(login));
    }
    ASSERT_EQ(1, login.Decrypt("key", 0, 0));
    EXPECT_EQ(Bytes(original), Bytes(login));
    EXPECT_TRUE(reports.AllAtLevel(SCA_LEVEL_CONFIG));
}

TEST(ConfigCryptTest, PlainObjectDoesNotDecrypt) {
    SCA_ConfigObj login("Login", nullptr);
    BuildLogin(&login);
    const std::string before = Bytes(login);
    EXPECT_EQ(0, login.Decrypt("key", 0, 0));
    EXPECT_EQ(before, Bytes(login));
    SCA_ConfigObj empty("Empty", nullptr);
    EXPECT_EQ(0, empty.Decrypt("key", 0, 0));
    EXPECT_EQ(0u, empty.GetFieldCount());
}

// A large tree whose ciphertext needs several chunks, each within the value limit.
class ConfigCryptChunksTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 4; ++i) {
            const std::string name = "Blob" + std::to_string(i);
            ASSERT_EQ(1, m_Tree.AddField(name.c_str(), std::string(20000, 'a' + i).c_str()));
        }
        SCA_ConfigObj* nested = m_Tree.AddConfigObj("Nested");
        ASSERT_NE(nullptr, nested);
        ASSERT_EQ(1, nested->AddField("Value", 42));
        m_Plain = Bytes(m_Tree);
        ASSERT_EQ(1, m_Tree.Encrypt("key", 0, 0));
        m_Sealed = Bytes(m_Tree);
    }

    int Chunks() {
        int chunks = 0;
        while (m_Tree.IsFieldExists(ChunkName(chunks).c_str())) {
            ++chunks;
        }
        return chunks;
    }

    SCA_ConfigObj m_Tree{"Big", nullptr};
    std::string m_Plain;
    std::string m_Sealed;
};

TEST_F(ConfigCryptChunksTest, ChunksFitValuesAndTogetherHoldTheCiphertext) {
    const int chunks = Chunks();
    EXPECT_GE(chunks, 4);
    EXPECT_EQ(SealedNames(chunks), Names(m_Tree));
    size_t hexSize = 0;
    for (int i = 0; i < chunks; ++i) {
        const std::string chunk = ValueOf(m_Tree, ChunkName(i).c_str());
        EXPECT_LE(chunk.size(), SCA_FIELD_MAX_VALUE);
        EXPECT_TRUE(IsLowerHex(chunk)) << ChunkName(i);
        hexSize += chunk.size();
    }
    EXPECT_EQ(2 * m_Plain.size(), hexSize);

    ASSERT_EQ(1, m_Tree.Decrypt("key", 0, 0));
    EXPECT_EQ(m_Plain, Bytes(m_Tree));
}

TEST_F(ConfigCryptChunksTest, SealedTreeSurvivesAFile) {
    model_test::TempDir dir;
    const std::string path = dir / "sealed.hdx";
    uint32_t error = 0;
    ASSERT_EQ(1, m_Tree.Save(path.c_str(), 3, 0, &error));
    SCA_ConfigObj loaded("Loaded", nullptr);
    ASSERT_EQ(1, loaded.Load(path.c_str(), &error));
    ASSERT_EQ(1, loaded.Decrypt("key", 0, 0));
    EXPECT_EQ(m_Plain, Bytes(loaded));
}

TEST_F(ConfigCryptChunksTest, AlteredContentIsRefusedAndTheObjectKept) {
    Reports reports;
    ASSERT_GE(Chunks(), 2);
    const auto flip = [](std::string* value) { (*value)[0] = (*value)[0] == '0' ? '1' : '0'; };
    const Alteration alterations[] = {
        {"cipher", [&flip](SCA_ConfigObj* o) { EditValue(o, "Cipher0", flip); }},
        {"second chunk", [&flip](SCA_ConfigObj* o) { EditValue(o, "Cipher1", flip); }},
        {"tag", [&flip](SCA_ConfigObj* o) { EditValue(o, "Tag", flip); }},
        {"nonce", [&flip](SCA_ConfigObj* o) { EditValue(o, "Nonce", flip); }},
        {"chunk shortened",
         [](SCA_ConfigObj* o) {
             EditValue(o, "Cipher0", [](std::string* value) { value->resize(value->size() - 2); });
         }},
        {"not hex",
         [](SCA_ConfigObj* o) {
             EditValue(o, "Cipher0", [](std::string* value) { (*value)[4] = 'g'; });
         }},
        {"short tag",
         [](SCA_ConfigObj* o) { EditValue(o, "Tag", [](std::string* value) { *value = "00"; }); }},
        {"chunk removed", [](SCA_ConfigObj* o) { o->GetFieldList()->DeleteItem("Cipher1"); }},
        {"tag removed", [](SCA_ConfigObj* o) { o->GetFieldList()->DeleteItem("Tag"); }},
        {"chunks swapped",
         [](SCA_ConfigObj* o) {
             EXPECT_EQ(1, o->RenameField("Cipher0", "Swap"));
             EXPECT_EQ(1, o->RenameField("Cipher1", "Cipher0"));
             EXPECT_EQ(1, o->RenameField("Swap", "Cipher1"));
         }},
    };
    for (const Alteration& alteration : alterations) {
        SCA_ConfigObj copy(m_Tree);
        alteration.Apply(&copy);
        const std::string altered = Bytes(copy);
        ASSERT_NE(m_Sealed, altered) << alteration.What;
        EXPECT_EQ(0, copy.Decrypt("key", 0, 0)) << alteration.What;
        EXPECT_EQ(altered, Bytes(copy)) << alteration.What;
    }
    ASSERT_EQ(1, m_Tree.Decrypt("key", 0, 0)) << "the original is intact";
    EXPECT_EQ(m_Plain, Bytes(m_Tree));
}

TEST(ConfigCryptFailureTest, RefusedEncryptionLeavesTheObject) {
    Reports reports;
    SCA_ConfigObj login("Login", nullptr);
    BuildLogin(&login);
    const std::string before = Bytes(login);
    EXPECT_EQ(0, login.Encrypt(nullptr, 0, 0));
    EXPECT_EQ(before, Bytes(login));

    SCA_ConfigObj deep("Deep", nullptr);
    SCA_ConfigObj* object = &deep;
    for (uint32_t level = 0; level < SCA_CONFIG_MAX_DEPTH; ++level) {
        object = object->AddConfigObj("L");
        ASSERT_NE(nullptr, object);
    }
    EXPECT_EQ(0, deep.Encrypt("key", 0, 0));
    EXPECT_EQ(1u, deep.GetFieldCount());
    EXPECT_STREQ("L", deep.GetHead()->GetName());
}

TEST(ConfigCryptFailureTest, FailedAllocationsLeaveTheObject) {
    Reports reports;
    SCA_ConfigObj login("Login", nullptr);
    BuildLogin(&login);
    const std::string plain = Bytes(login);
    for (uint32_t failing = 1;; ++failing) {
        int result = 0;
        {
            HeapFailure failure(failing);
            result = login.Encrypt("key", 0, 0);
        }
        if (result) {
            break;
        }
        ASSERT_EQ(plain, Bytes(login)) << "allocation " << failing;
    }
    const std::string sealed = Bytes(login);
    for (uint32_t failing = 1;; ++failing) {
        int result = 0;
        {
            HeapFailure failure(failing);
            result = login.Decrypt("key", 0, 0);
        }
        if (result) {
            break;
        }
        ASSERT_EQ(sealed, Bytes(login)) << "allocation " << failing;
    }
    EXPECT_EQ(plain, Bytes(login));
}

} // namespace
