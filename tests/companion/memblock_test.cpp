// CMemBlock: shared blocks freed once (the sanitizer build proves it), Alloc and Free per holder.
#include <windows.h>

#include <string.h>

#include <optional>

#include <gtest/gtest.h>

#include "TQTH.h"

namespace {

bool AllBytes(const CMemBlock& m, BYTE value) {
    for (DWORD i = 0; i < m.Size(); ++i)
        if (*m.Offset(i) != value)
            return false;
    return true;
}

}  // namespace

// Three holders of one block (copied, assigned, self-assigned) let go in every order.
TEST(MemBlockTest, HoldersOfOneBlockGoInAnyOrder) {
    const int orders[][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
    for (size_t i = 0; i < std::size(orders); ++i) {
        std::optional<CMemBlock> h[3];
        h[0].emplace(64);
        memset(static_cast<BYTE*>(*h[0]), 0x5A, 64);
        h[1].emplace(*h[0]);
        h[2].emplace();
        *h[2] = *h[1];
        const CMemBlock& alias = *h[2];
        *h[2] = alias;
        EXPECT_EQ(static_cast<void*>(*h[2]), static_cast<void*>(*h[0])) << "case " << i;
        h[orders[i][0]].reset();
        h[orders[i][1]]->Free();
        EXPECT_TRUE(!*h[orders[i][1]]) << "case " << i;
        const CMemBlock& last = *h[orders[i][2]];
        EXPECT_EQ(last.Size(), 64u) << "case " << i;
        EXPECT_TRUE(AllBytes(last, 0x5A)) << "case " << i;
    }
}

TEST(MemBlockTest, AllocReplacesOnlyThisHoldersBlock) {
    CMemBlock a(8);
    memset(static_cast<BYTE*>(a), 0xAB, 8);
    CMemBlock b(a);
    void* p = b.Alloc(32, true);
    ASSERT_NE(p, nullptr);
    EXPECT_NE(p, static_cast<void*>(a));
    EXPECT_EQ(b.Size(), 32u);
    EXPECT_TRUE(AllBytes(b, 0));
    EXPECT_EQ(a.Size(), 8u);
    EXPECT_TRUE(AllBytes(a, 0xAB));
    EXPECT_NE(a.Alloc(4, false), nullptr);  // the last holder frees its old block (leak check)
    EXPECT_EQ(a.Size(), 4u);
}

TEST(MemBlockTest, SizesZeroAndEmpty) {
    CMemBlock none;
    EXPECT_TRUE(!none);
    EXPECT_EQ(static_cast<int>(none), 0);
    CMemBlock zero(0);  // a real, empty block: NULL stays the out-of-memory answer
    EXPECT_FALSE(!zero);
    EXPECT_EQ(zero.Size(), 0u);
    EXPECT_NE(none.Alloc(0, true), nullptr);
    CMemBlock filled(100);  // the constructor hands out zeroed bytes
    EXPECT_TRUE(AllBytes(filled, 0));
    EXPECT_EQ(filled.Offset(10), static_cast<BYTE*>(filled) + 10);
}
