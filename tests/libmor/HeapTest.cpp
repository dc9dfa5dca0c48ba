// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <new>
#include <thread>

#include "libmor/SCA_Heap.h"

namespace {

bool AllocOnce() {
    void* memory = SCA_HeapAlloc(16);
    SCA_HeapFree(memory);
    return memory != nullptr;
}

class HeapTest : public testing::Test {
protected:
    void TearDown() override { SCA_HeapFailAfter(0); }
};

TEST_F(HeapTest, ExactlyTheNthAllocationFailsOnce) {
    const uint64_t start = SCA_HeapAllocCount();
    SCA_HeapFailAfter(3);
    EXPECT_TRUE(AllocOnce());
    EXPECT_TRUE(AllocOnce());
    EXPECT_FALSE(AllocOnce());
    EXPECT_TRUE(AllocOnce());
    EXPECT_EQ(SCA_HeapAllocCount() - start, 4u); // the failed one counts too

    SCA_HeapFailAfter(2);
    SCA_HeapFailAfter(0);
    EXPECT_TRUE(AllocOnce());
    EXPECT_TRUE(AllocOnce());
}

TEST_F(HeapTest, HookAndCounterBelongToTheCallingThread) {
    SCA_HeapFailAfter(1);
    const uint64_t start = SCA_HeapAllocCount();
    bool otherSucceeded = false;
    uint64_t otherCount = 0;
    std::thread([&] {
        otherSucceeded = AllocOnce();
        otherCount = SCA_HeapAllocCount();
    }).join();
    EXPECT_TRUE(otherSucceeded);
    EXPECT_EQ(otherCount, 1u);
    EXPECT_EQ(SCA_HeapAllocCount(), start);
    EXPECT_FALSE(AllocOnce());
}

TEST_F(HeapTest, StrDupCopiesAndFailsWithTheHook) {
    char* copy = SCA_HeapStrDup("k\xC3\xB6rva");
    ASSERT_NE(copy, nullptr);
    EXPECT_STREQ(copy, "k\xC3\xB6rva");
    SCA_HeapFree(copy);
    EXPECT_EQ(SCA_HeapStrDup(nullptr), nullptr);
    SCA_HeapFailAfter(1);
    EXPECT_EQ(SCA_HeapStrDup("x"), nullptr);
}

struct Routed {
    SCA_HEAP_OPERATORS
    int Value = 7;
};

TEST_F(HeapTest, ClassOperatorsGoThroughTheHook) {
    SCA_HeapFailAfter(2);
    Routed* routed = new (std::nothrow) Routed;
    ASSERT_NE(routed, nullptr);
    EXPECT_EQ(routed->Value, 7);
    delete routed;
    EXPECT_EQ(new (std::nothrow) Routed, nullptr);
    SCA_HeapFailAfter(1);
    EXPECT_THROW(delete new Routed, std::bad_alloc);
}

} // namespace
