#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

namespace {

TEST(Memory, LockCountsOfAMovableBlock)
{
    HGLOBAL h = GlobalAlloc(GHND, 100);
    ASSERT_NE(h, nullptr);
    struct Step {
        enum { Lock, Unlock } op;
        BOOL unlockResult;
        DWORD error;
        UINT flagsAfter;
    } steps[] = {
        {Step::Lock, 0, 0, 1},
        {Step::Lock, 0, 0, 2},
        {Step::Unlock, TRUE, 0, 1},                              // still locked
        {Step::Unlock, FALSE, NO_ERROR, 0},                      // this call unlocked it
        {Step::Unlock, FALSE, ERROR_NOT_LOCKED, 0},              // was not locked
    };
    void* first = nullptr;
    for (const Step& s : steps) {
        SetLastError(12345);
        if (s.op == Step::Lock) {
            void* p = GlobalLock(h);
            ASSERT_NE(p, nullptr);
            if (first) {
                EXPECT_EQ(p, first);  // a locked block does not move
            }
            first = p;
        } else {
            EXPECT_EQ(GlobalUnlock(h), s.unlockResult);
            EXPECT_EQ(GetLastError(), s.unlockResult ? 12345u : s.error);
        }
        EXPECT_EQ(GlobalFlags(h), s.flagsAfter);
    }
    auto* bytes = static_cast<unsigned char*>(first);
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(bytes[i], 0) << "GMEM_ZEROINIT";
    EXPECT_EQ(GlobalFree(h), nullptr);
}

TEST(Memory, ReallocatingAMovableBlockKeepsHandleAndContents)
{
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 64);
    auto* p = static_cast<char*>(GlobalLock(h));
    std::memcpy(p, "encyclopedia", 13);
    EXPECT_EQ(GlobalHandle(p), h);
    EXPECT_NE(static_cast<void*>(p), h);
    EXPECT_EQ(GlobalHandle(h), nullptr);  // a movable handle is not an address

    // Locked: growing needs GMEM_MOVEABLE.
    SetLastError(0);
    EXPECT_EQ(GlobalReAlloc(h, 100000, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_EQ(GlobalSize(h), 64u);
    EXPECT_EQ(GlobalReAlloc(h, 100000, GMEM_MOVEABLE | GMEM_ZEROINIT), h);
    EXPECT_EQ(GlobalFlags(h), 1u);  // still locked once
    EXPECT_FALSE(GlobalUnlock(h));

    // Unlocked: may move freely; the handle stays.
    EXPECT_EQ(GlobalReAlloc(h, 200000, GMEM_ZEROINIT), h);
    EXPECT_EQ(GlobalSize(h), 200000u);
    p = static_cast<char*>(GlobalLock(h));
    EXPECT_STREQ(p, "encyclopedia");
    EXPECT_EQ(p[199999], 0);
    EXPECT_EQ(GlobalHandle(p), h);
    EXPECT_FALSE(GlobalUnlock(h));

    // Shrinking keeps the start.
    EXPECT_EQ(GlobalReAlloc(h, 5, 0), h);
    EXPECT_EQ(GlobalSize(h), 5u);
    EXPECT_EQ(std::memcmp(GlobalLock(h), "encyc", 5), 0);
    GlobalUnlock(h);
    EXPECT_EQ(GlobalFree(h), nullptr);
}

TEST(Memory, FixedBlocksAreTheirOwnAddress)
{
    HGLOBAL h = GlobalAlloc(GPTR, 10);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GlobalLock(h), h);
    EXPECT_EQ(GlobalFlags(h), 0u);  // no lock count for fixed blocks
    SetLastError(0);
    EXPECT_FALSE(GlobalUnlock(h));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));
    EXPECT_EQ(GlobalHandle(h), h);
    std::memcpy(h, "fixed", 6);

    EXPECT_EQ(GlobalReAlloc(h, 16, 0), h);  // within its slack: in place
    EXPECT_EQ(GlobalReAlloc(h, 5000, 0), nullptr);  // cannot grow where it is
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    HGLOBAL moved = GlobalReAlloc(h, 5000, GMEM_MOVEABLE);
    ASSERT_NE(moved, nullptr);
    EXPECT_STREQ(static_cast<char*>(moved), "fixed");
    EXPECT_EQ(GlobalFlags(moved), 0u);  // still fixed
    if (moved != h) {
        EXPECT_EQ(GlobalSize(h), 0u);
    }
    EXPECT_EQ(GlobalFree(moved), nullptr);
}

TEST(Memory, DiscardableBlocksAndModify)
{
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_DISCARDABLE, 32);
    EXPECT_EQ(GlobalFlags(h), static_cast<UINT>(GMEM_DISCARDABLE));
    GlobalLock(h);
    EXPECT_EQ(GlobalDiscard(h), nullptr);  // locked blocks are not discarded
    GlobalUnlock(h);
    EXPECT_EQ(GlobalDiscard(h), h);
    EXPECT_EQ(GlobalFlags(h), static_cast<UINT>(GMEM_DISCARDABLE | GMEM_DISCARDED));
    EXPECT_EQ(GlobalSize(h), 0u);
    EXPECT_EQ(GlobalLock(h), nullptr);
    EXPECT_EQ(GlobalReAlloc(h, 8, GMEM_MOVEABLE), h);  // brought back
    EXPECT_EQ(GlobalFlags(h), static_cast<UINT>(GMEM_DISCARDABLE));
    EXPECT_EQ(GlobalReAlloc(h, 0, GMEM_MODIFY), h);     // clear the discardable flag
    EXPECT_EQ(GlobalFlags(h), 0u);
    GlobalFree(h);

    HGLOBAL empty = GlobalAlloc(GMEM_MOVEABLE, 0);  // allocated discarded
    EXPECT_EQ(GlobalFlags(empty), static_cast<UINT>(GMEM_DISCARDED));
    GlobalFree(empty);

    // A fixed block made movable gets a handle of its own.
    HGLOBAL fixed = GlobalAlloc(GMEM_FIXED, 4);
    std::memcpy(fixed, "abc", 4);
    HGLOBAL movable = GlobalReAlloc(fixed, 0, GMEM_MODIFY | GMEM_MOVEABLE);
    ASSERT_NE(movable, nullptr);
    EXPECT_NE(movable, fixed);
    EXPECT_STREQ(static_cast<char*>(GlobalLock(movable)), "abc");
    EXPECT_EQ(GlobalFlags(movable), 1u);
    GlobalUnlock(movable);
    GlobalFree(movable);

    HLOCAL local = LocalAlloc(LMEM_MOVEABLE | LMEM_DISCARDABLE, 16);
    EXPECT_EQ(LocalFlags(local), static_cast<UINT>(LMEM_DISCARDABLE));
    EXPECT_EQ(LocalSize(local), 16u);
    EXPECT_EQ(LocalFree(local), nullptr);
}

TEST(Memory, BadHandlesAreRejected)
{
    HGLOBAL freed = GlobalAlloc(GMEM_MOVEABLE, 8);
    GlobalFree(freed);
    int onStack = 0;
    HGLOBAL bad[] = {freed, reinterpret_cast<HGLOBAL>(0x1234), &onStack};
    for (HGLOBAL h : bad) {
        SetLastError(0);
        EXPECT_EQ(GlobalLock(h), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
        EXPECT_EQ(GlobalSize(h), 0u);
        EXPECT_EQ(GlobalFlags(h), static_cast<UINT>(GMEM_INVALID_HANDLE));
        EXPECT_FALSE(GlobalUnlock(h));
        EXPECT_EQ(GlobalReAlloc(h, 10, GMEM_MOVEABLE), nullptr);
        EXPECT_EQ(GlobalFree(h), h);
        EXPECT_EQ(GlobalHandle(h), nullptr);
        EXPECT_EQ(LocalLock(h), nullptr);
    }
    EXPECT_EQ(GlobalFree(nullptr), nullptr);
    SetLastError(0);
    EXPECT_EQ(GlobalAlloc(0x80000, 10), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(Memory, ThreadsShareTheTableSafely)
{
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < 500; ++i) {
                HGLOBAL h = GlobalAlloc(GHND, static_cast<SIZE_T>(16 + i));
                auto* p = static_cast<int*>(GlobalLock(h));
                p[0] = t * 1000 + i;
                GlobalUnlock(h);
                h = GlobalReAlloc(h, static_cast<SIZE_T>(4096 + i), GMEM_MOVEABLE);
                p = static_cast<int*>(GlobalLock(h));
                EXPECT_EQ(p[0], t * 1000 + i);
                GlobalUnlock(h);
                EXPECT_EQ(GlobalFree(h), nullptr);
            }
        });
    for (std::thread& th : threads)
        th.join();
}

}  // namespace
