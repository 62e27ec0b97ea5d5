// CMemBlock: shared blocks freed once (the sanitizer build proves it), Alloc and Free per holder.
#include <windows.h>

#include <string.h>

#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "TQTH.h"

namespace {

std::string Bytes(const CMemBlock& m) {
    return std::string(reinterpret_cast<const char*>(static_cast<BYTE*>(m)), m.Size());
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
        EXPECT_EQ(Bytes(*h[orders[i][2]]), std::string(64, 0x5A)) << "case " << i;
    }
}

TEST(MemBlockTest, AllocReplacesOnlyThisHoldersBlock) {
    CMemBlock a(8);
    EXPECT_EQ(Bytes(a), std::string(8, '\0'));  // the constructor hands out zeroed bytes
    memset(static_cast<BYTE*>(a), 0xAB, 8);
    CMemBlock b(a);
    void* p = b.Alloc(32, true);
    EXPECT_NE(p, static_cast<void*>(a));
    EXPECT_EQ(Bytes(b), std::string(32, '\0'));
    EXPECT_EQ(Bytes(a), std::string(8, '\xAB'));
    EXPECT_NE(a.Alloc(4, false), nullptr);  // the last holder frees its old block (leak check)
    EXPECT_EQ(a.Size(), 4u);
    // A real, empty block: NULL stays the out-of-memory answer.
    CMemBlock none;
    EXPECT_TRUE(!none);
    EXPECT_FALSE(!CMemBlock(0));
    EXPECT_NE(none.Alloc(0, true), nullptr);
}
