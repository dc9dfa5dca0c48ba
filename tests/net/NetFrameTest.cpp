// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <string>

#include "NetTestSupport.h"
#include "net/SCA_NetFrameReader.h"
#include "net/SCA_NetFrameWriter.h"
#include "net/SCA_NetMessage.h"
#include "net/SCA_NetProtocol.h"

namespace {

using nettest::Frame;
using nettest::Head;
using nettest::NestedTree;

SCA_NetMessage SampleMessage() {
    SCA_NetMessage message;
    message.Init("UpdateDeviceStatusEx");
    message.SetControlCode(12);
    message.SetControlFlags(0xA5A5A5A5u);
    SCA_ConfigObj* data = message.GetData();
    data->AddField("DeviceId", 42u);
    data->AddField("LastUpdateTime", uint64_t{0x1122334455667788ull});
    data->AddConfigObj("DeviceStatus")->AddField("Host", "h\xC3\xA9te");
    return message;
}

void ExpectSame(SCA_NetMessage* expected, SCA_NetMessage* actual) {
    EXPECT_STREQ(actual->GetCommandName(), expected->GetCommandName());
    EXPECT_EQ(actual->GetControlCode(), expected->GetControlCode());
    EXPECT_EQ(actual->GetControlFlags(), expected->GetControlFlags());
    EXPECT_EQ(actual->GetData()->Compare(expected->GetData()), 1);
}

TEST(NetFrameTest, FramesReadBackWhateverTheyArriveIn) {
    SCA_NetMessage sent = SampleMessage();
    const std::string bytes = Frame(&sent, 77);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.compare(0, 4, "KVNT"), 0);

    for (uint32_t chunk : {1u, 2u, 5u, 17u, 18u, 19u, 64u, static_cast<uint32_t>(bytes.size())}) {
        SCA_NetFrameReader reader;
        uint32_t at = 0;
        while (at < bytes.size() && !reader.IsComplete()) {
            const uint32_t size = std::min<uint32_t>(chunk, bytes.size() - at);
            const uint32_t used = reader.Feed(bytes.data() + at, size);
            ASSERT_EQ(used, size) << "chunk " << chunk;
            at += used;
        }
        ASSERT_EQ(reader.IsComplete(), 1) << "chunk " << chunk;
        EXPECT_EQ(reader.GetSequence(), 77u);
        EXPECT_EQ(reader.GetControlCode(), 12u);
        SCA_NetMessage received;
        ASSERT_EQ(reader.TakeMessage(&received), 1);
        ExpectSame(&sent, &received);
        EXPECT_EQ(reader.IsComplete(), 0);
    }
}

TEST(NetFrameTest, BackToBackFramesAreTakenOneAtATime) {
    SCA_NetMessage first = SampleMessage();
    SCA_NetMessage second;
    second.Init("");
    const std::string bytes = Frame(&first, 1) + Frame(&second, 2) + Frame(&first, 3);

    SCA_NetFrameReader reader;
    uint32_t at = 0;
    for (uint32_t sequence : {1u, 2u, 3u}) {
        at += reader.Feed(bytes.data() + at, static_cast<uint32_t>(bytes.size()) - at);
        ASSERT_EQ(reader.IsComplete(), 1);
        EXPECT_EQ(reader.GetSequence(), sequence);
        if (sequence == 2) {
            EXPECT_EQ(reader.SkipFrame(), 1); // dropped without being parsed
            continue;
        }
        SCA_NetMessage received;
        ASSERT_EQ(reader.TakeMessage(&received), 1);
        ExpectSame(&first, &received);
    }
    EXPECT_EQ(at, bytes.size());
}

struct BadHead {
    const char* Case;
    std::string Bytes;
    uint32_t Error;
};

// Each is refused once the offending byte has arrived, without waiting for the rest.
TEST(NetFrameTest, BadHeadsAreRefusedAtTheirFirstWrongByte) {
    const std::string good = Head("Echo", 10);
    const BadHead cases[] = {
        {"magic", "KVNX", SCA_NET_ERROR_MAGIC},
        {"first byte", "\x16\x03\x01", SCA_NET_ERROR_MAGIC},
        {"version", Head("Echo", 10, 0, 1, 2).substr(0, 5), SCA_NET_ERROR_VERSION},
        {"name length", Head(std::string(64, 'n'), 10).substr(0, 18), SCA_NET_ERROR_NAME},
        {"name with zero", Head(std::string("Ec\0o", 4), 10).substr(0, 22), SCA_NET_ERROR_NAME},
        {"payload length", Head("Echo", SCA_NET_MAX_PAYLOAD + 1), SCA_NET_ERROR_TOO_LARGE},
        {"payload length all ones", Head("Echo", 0xFFFFFFFFu), SCA_NET_ERROR_TOO_LARGE},
    };
    for (const BadHead& bad : cases) {
        SCA_NetFrameReader reader;
        const uint32_t used =
            reader.Feed(bad.Bytes.data(), static_cast<uint32_t>(bad.Bytes.size()));
        EXPECT_EQ(used, bad.Bytes.size()) << bad.Case;
        EXPECT_EQ(reader.GetError(), bad.Error) << bad.Case;
        EXPECT_EQ(reader.IsComplete(), 0) << bad.Case;
        EXPECT_EQ(reader.Feed(good.data(), static_cast<uint32_t>(good.size())), 0u) << bad.Case;
        reader.Reset();
        EXPECT_EQ(reader.Feed(good.data(), static_cast<uint32_t>(good.size())), good.size())
            << bad.Case;
        EXPECT_EQ(reader.GetError(), 0u) << bad.Case;
    }
}

TEST(NetFrameTest, LimitsThemselvesAreAccepted) {
    const std::string name(SCA_NET_MAX_NAME, 'n');
    SCA_NetFrameReader reader;
    const std::string head = Head(name, SCA_NET_MAX_PAYLOAD);
    EXPECT_EQ(reader.Feed(head.data(), static_cast<uint32_t>(head.size())), head.size());
    EXPECT_EQ(reader.GetError(), 0u);
    EXPECT_EQ(reader.IsComplete(), 0); // now waiting for 64 MiB of payload
}

TEST(NetFrameTest, PayloadMustBeExactlyOneTreeWithinTheDepthLimit) {
    const std::string tree = NestedTree(2);
    const struct {
        const char* Case;
        std::string Payload;
    } cases[] = {
        {"empty", ""},
        {"value field, not an object", std::string("1\x01N\x01V\x01")},
        {"unterminated object", "2\x01"
                                "Data\x01"
                                "1\x01N\x01"},
        {"two trees", tree + tree},
        {"garbage after the tree", tree + "x"},
        {"65 levels", NestedTree(65)},
    };
    for (const auto& bad : cases) {
        SCA_NetMessage message;
        message.Init("Kept");
        message.GetData()->AddField("Kept", 1);
        const std::string bytes =
            Head("Echo", static_cast<uint32_t>(bad.Payload.size())) + bad.Payload;
        SCA_NetFrameReader reader;
        EXPECT_EQ(reader.Feed(bytes.data(), static_cast<uint32_t>(bytes.size())), bytes.size())
            << bad.Case;
        ASSERT_EQ(reader.IsComplete(), 1) << bad.Case;
        EXPECT_EQ(reader.TakeMessage(&message), 0) << bad.Case;
        EXPECT_EQ(reader.GetError(), SCA_NET_ERROR_PAYLOAD) << bad.Case;
        // Nothing of the message is lost.
        EXPECT_STREQ(message.GetCommandName(), "Kept") << bad.Case;
        EXPECT_EQ(message.GetData()->IsFieldExists("Kept"), 1) << bad.Case;
    }

    const std::string deepest = NestedTree(64);
    const std::string bytes = Head("Echo", static_cast<uint32_t>(deepest.size())) + deepest;
    SCA_NetFrameReader reader;
    reader.Feed(bytes.data(), static_cast<uint32_t>(bytes.size()));
    SCA_NetMessage message;
    EXPECT_EQ(reader.TakeMessage(&message), 1);
    EXPECT_EQ(message.GetData()->GetTotalFieldCount(), 64u);
}

TEST(NetFrameTest, WriterRefusesATreeItCannotWrite) {
    SCA_NetMessage message;
    message.Init("Deep");
    SCA_ConfigObj* level = message.GetData();
    for (uint32_t i = 0; i < SCA_CONFIG_MAX_DEPTH; ++i) {
        level = level->AddConfigObj("L");
    }
    SCA_NetFrameWriter writer;
    uint32_t error = 0;
    EXPECT_EQ(writer.Encode(&message, 1, &error), 0);
    EXPECT_EQ(error, SCA_NET_ERROR_PAYLOAD);
    EXPECT_EQ(writer.GetSize(), 0u);
}

} // namespace
