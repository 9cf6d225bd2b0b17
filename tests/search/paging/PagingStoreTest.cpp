// The paging store: blocks, counted locks, page-out and page-in, compaction, reallocation, the
// swap file's place and life, and a store that has to run without a swap file.
#include "search/PagingStore.h"

#include "TempDir.h"
#include "UiTest.h"

#include <afxwin.h>

#include <host/Drives.h>
#include <host/Paths.h>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// The texts of the message boxes shown so far.
std::vector<std::string> Messages()
{
    std::vector<std::string> texts;
    for (const host::MessageBoxRecord& box : host::MessageBoxLog())
        texts.push_back(box.text);
    return texts;
}

VmStatistics Stats()
{
    VmStatistics s;
    VmGetStatistics(&s);
    return s;
}

// Deterministic contents for a block.
std::vector<unsigned char> Pattern(std::size_t size, unsigned seed)
{
    std::vector<unsigned char> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<unsigned char>((i * 131 + seed * 7 + (i >> 8)) & 0xFF);
    return bytes;
}

// True when the block's bytes at `p` equal the first `count` bytes of `expected`.
bool SameBytes(const void* p, const std::vector<unsigned char>& expected, std::size_t count)
{
    return count == 0 || std::memcmp(p, expected.data(), count) == 0;
}

void Fill(VMHANDLE handle, const std::vector<unsigned char>& bytes)
{
    auto* p = static_cast<unsigned char*>(VmLock(handle, TRUE, TRUE));
    ASSERT_NE(p, nullptr);
    std::memcpy(p, bytes.data(), bytes.size());
    VmLock(handle, FALSE, FALSE);
}

std::vector<unsigned char> Contents(VMHANDLE handle, std::size_t size)
{
    auto* p = static_cast<unsigned char*>(VmLock(handle, FALSE, TRUE));
    if (!p)
        return {};
    std::vector<unsigned char> bytes(p, p + size);
    VmLock(handle, FALSE, FALSE);
    return bytes;
}

class PagingStoreTest : public ui::UiTest {
protected:
    void SetUp() override
    {
        ui::UiTest::SetUp();
        VmShutdown();
        VmSetPoolMaximum(VM_DEFAULT_POOL_MAXIMUM);
        auto folder = host::FromHostPath(m_dir.str());
        ASSERT_TRUE(folder);
        m_folder = *folder;
        UseFolder(m_folder);
        // The application's profile: none until a test writes one.
        m_profile = m_folder + "\\vl00i1se.ini";
        m_app.m_pszProfileName = m_profile.c_str();
    }

    void TearDown() override
    {
        VmShutdown();
        VmSetPoolMaximum(VM_DEFAULT_POOL_MAXIMUM);
        unsetenv("VMPATH");
        host::ResetDrives();
        ui::UiTest::TearDown();
    }

    static void UseFolder(const std::string& folder) { setenv("VMPATH", folder.c_str(), 1); }

    // A bounded pool of one chunk: `bytes` in all, of which the first handle table takes 6,144.
    static void TinyPool(DWORD bytes)
    {
        ASSERT_EQ(VmInit(), VM_INIT_OK);
        VmSetPoolMaximum(bytes);
        ASSERT_EQ(VmInitPool(TRUE), bytes);
    }

    std::size_t SwapFilesInFolder() const
    {
        std::size_t count = 0;
        for (const auto& item : std::filesystem::directory_iterator(m_dir.path()))
            count += item.path().filename().string().rfind("vm", 0) == 0;
        return count;
    }

    TempDir m_dir;
    std::string m_folder;
    CWinApp m_app{"vl00i1se"};
    std::string m_profile;
};

TEST_F(PagingStoreTest, PoolPreAllocationFollowsTheChunkRule)
{
    // Three chunks of 64,000 bytes and one of 8,000.
    EXPECT_EQ(VmInitPool(TRUE), 200000u);
    EXPECT_EQ(Stats().poolLimit, 200000u);
    EXPECT_EQ(VmInitPool(FALSE), 0u);
}

TEST_F(PagingStoreTest, BlockSizesAtTheLimits)
{
    ASSERT_NE(VmAlloc(20, FALSE), 0);  // opens the swap file and makes the first handle table
    struct Case {
        UINT size;
        bool granted;
        bool usesPool;
    };
    for (Case c : {Case{0, true, false}, Case{14, true, false}, Case{15, true, true}, Case{63000, true, true},
                   Case{63001, false, false}}) {
        SCOPED_TRACE(c.size);
        DWORD freeBefore = Stats().poolFree;
        DWORD sizeBefore = Stats().poolSize;
        VMHANDLE h = VmAlloc(c.size, TRUE);
        EXPECT_EQ(h != 0, c.granted);
        bool usedPool = Stats().poolFree != freeBefore || Stats().poolSize != sizeBefore;
        EXPECT_EQ(usedPool, c.usesPool);
        if (h) {
            EXPECT_EQ(Contents(h, c.size), std::vector<unsigned char>(c.size, 0));
        }
    }
}

TEST_F(PagingStoreTest, InvalidAndFreedHandlesAreRefused)
{
    EXPECT_EQ(VmLock(0, FALSE, TRUE), nullptr);
    EXPECT_EQ(VmLock(0x0501, FALSE, TRUE), nullptr);  // no such table
    VMHANDLE big = VmAlloc(100, TRUE);
    VMHANDLE small = VmAlloc(4, TRUE);
    ASSERT_NE(big, 0);
    ASSERT_NE(small, 0);
    EXPECT_EQ(VmLock(static_cast<VMHANDLE>(big + 5), FALSE, TRUE), nullptr);  // a free entry
    VmFree(big);
    VmFree(small);
    EXPECT_EQ(VmLock(big, FALSE, TRUE), nullptr);
    EXPECT_EQ(VmLock(small, FALSE, TRUE), nullptr);
    VmFree(big);  // ignored
    EXPECT_EQ(VmRealloc(big, 50), 0);
    EXPECT_EQ(Stats().blocks, 0u);
}

TEST_F(PagingStoreTest, NewBlockIsWrittenAtItsFirstPageOutEvenIfNotMarkedDirty)
{
    TinyPool(24000);  // 17,840 bytes for blocks
    VMHANDLE a = VmAlloc(8000, FALSE);
    ASSERT_NE(a, 0);
    auto* p = static_cast<unsigned char*>(VmLock(a, FALSE, TRUE));  // filled while locked, never marked dirty
    ASSERT_NE(p, nullptr);
    auto bytes = Pattern(8000, 1);
    std::memcpy(p, bytes.data(), bytes.size());
    VmLock(a, FALSE, FALSE);

    VMHANDLE b = VmAlloc(8000, TRUE);
    VMHANDLE c = VmAlloc(8000, TRUE);  // a is the least recently used: it goes out
    ASSERT_NE(b, 0);
    ASSERT_NE(c, 0);
    EXPECT_GE(Stats().pageOuts, 1u);
    EXPECT_EQ(Contents(a, 8000), bytes);
    EXPECT_GE(Stats().pageIns, 1u);
}

TEST_F(PagingStoreTest, CleanBlockIsNotWrittenAgainAndDirtyOneIs)
{
    TinyPool(24000);
    VMHANDLE a = VmAlloc(8000, FALSE);
    Fill(a, Pattern(8000, 2));
    VMHANDLE b = VmAlloc(8000, TRUE);
    VMHANDLE c = VmAlloc(8000, TRUE);  // a out
    ASSERT_NE(c, 0);
    DWORD writes = Stats().swapWrites;

    EXPECT_EQ(Contents(a, 8000), Pattern(8000, 2));  // a in (clean), b out
    EXPECT_EQ(Contents(b, 8000), std::vector<unsigned char>(8000, 0));
    DWORD pageOuts = Stats().pageOuts;
    EXPECT_EQ(Contents(c, 8000), std::vector<unsigned char>(8000, 0));  // forces the clean a out again
    EXPECT_GT(Stats().pageOuts, pageOuts);
    // Only b and c were written (they had no copy yet); a kept its copy.
    EXPECT_EQ(Stats().swapWrites - writes, 2u);
    EXPECT_EQ(Contents(a, 8000), Pattern(8000, 2));

    // A change marked dirty is written and comes back.
    Fill(a, Pattern(8000, 3));
    Contents(b, 8000);
    Contents(c, 8000);
    EXPECT_EQ(Contents(a, 8000), Pattern(8000, 3));
}

TEST_F(PagingStoreTest, TwoCursorsKeepABlockInMemoryUntilBothUnlock)
{
    TinyPool(24000);
    VMHANDLE a = VmAlloc(8000, FALSE);
    Fill(a, Pattern(8000, 4));
    void* first = VmLock(a, FALSE, TRUE);
    void* second = VmLock(a, FALSE, TRUE);
    ASSERT_EQ(first, second);
    VmLock(a, FALSE, FALSE);  // one cursor lets go

    // Memory pressure: everything else is paged, a stays where it is.
    std::vector<VMHANDLE> others;
    for (unsigned i = 0; i < 6; ++i) {
        VMHANDLE h = VmAlloc(8000, FALSE);
        ASSERT_NE(h, 0) << i;
        Fill(h, Pattern(8000, 10 + i));
        others.push_back(h);
    }
    EXPECT_GE(Stats().pageOuts, 4u);
    EXPECT_EQ(std::memcmp(first, Pattern(8000, 4).data(), 8000), 0);
    EXPECT_EQ(VmLock(a, FALSE, TRUE), first);
    VmLock(a, FALSE, FALSE);

    // The second cursor lets go: now a can leave.
    VmLock(a, FALSE, FALSE);
    DWORD outs = Stats().pageOuts;
    for (unsigned i = 0; i < others.size(); ++i)
        EXPECT_EQ(Contents(others[i], 8000), Pattern(8000, 10 + i)) << i;
    EXPECT_GT(Stats().pageOuts, outs);
    EXPECT_EQ(Contents(a, 8000), Pattern(8000, 4));
}

TEST_F(PagingStoreTest, LockCountsAreBounded)
{
    VMHANDLE h = VmAlloc(40, TRUE);
    VMHANDLE small = VmAlloc(8, TRUE);
    for (VMHANDLE handle : {h, small}) {
        for (int i = 0; i < 255; ++i)
            ASSERT_NE(VmLock(handle, FALSE, TRUE), nullptr);
        EXPECT_EQ(VmLock(handle, FALSE, TRUE), nullptr);
        for (int i = 0; i < 255; ++i)
            VmLock(handle, FALSE, FALSE);
        EXPECT_NE(VmLock(handle, FALSE, TRUE), nullptr);
        VmLock(handle, FALSE, FALSE);
    }
}

TEST_F(PagingStoreTest, CompactionMovesUnlockedBlocksAndNeverALockedOne)
{
    TinyPool(24000);  // table, then 17,840 bytes
    VMHANDLE b[4];
    for (unsigned i = 0; i < 4; ++i) {
        b[i] = VmAlloc(4000, FALSE);
        ASSERT_NE(b[i], 0);
        Fill(b[i], Pattern(4000, 20 + i));
    }
    void* locked = VmLock(b[3], FALSE, TRUE);
    void* movable = VmLock(b[1], FALSE, FALSE);
    VmFree(b[0]);
    VmFree(b[2]);  // free: 4,000 + 4,000 + 1,840, no piece of 4,500

    DWORD compactions = Stats().compactions;
    DWORD pageOuts = Stats().pageOuts;
    VMHANDLE n = VmAlloc(4500, TRUE);
    ASSERT_NE(n, 0);
    EXPECT_EQ(Stats().compactions, compactions + 1);
    EXPECT_EQ(Stats().pageOuts, pageOuts);  // compaction was enough
    EXPECT_EQ(VmLock(b[3], FALSE, FALSE), locked);
    EXPECT_EQ(std::memcmp(locked, Pattern(4000, 23).data(), 4000), 0);
    EXPECT_NE(VmLock(b[1], FALSE, TRUE), movable);
    VmLock(b[1], FALSE, FALSE);
    EXPECT_EQ(Contents(b[1], 4000), Pattern(4000, 21));
}

// A locked small block lives inside its handle table, so no table moves while one is locked.
TEST_F(PagingStoreTest, HandleTablesMoveOnlyWhileNoSmallBlockIsLocked)
{
    for (bool locked : {true, false}) {
        SCOPED_TRACE(locked);
        VmShutdown();
        TinyPool(32000);
        VMHANDLE a = VmAlloc(3000, TRUE);  // right after the first table
        for (int i = 0; i < 254; ++i)
            ASSERT_NE(VmAlloc(1, TRUE), 0);  // the first table is full
        VMHANDLE b = VmAlloc(3000, TRUE);    // the second table, then b
        VMHANDLE small = VmAlloc(8, FALSE);
        ASSERT_EQ(small >> 8, 1);
        Fill(small, Pattern(8, 80));
        VMHANDLE c = VmAlloc(3000, TRUE);
        VMHANDLE d = VmAlloc(3000, TRUE);
        VMHANDLE e = VmAlloc(3000, TRUE);
        ASSERT_NE(VmAlloc(4640, TRUE), 0);  // the rest of the chunk, but for 16 bytes
        void* before = VmLock(small, FALSE, locked);
        VmFree(a);
        VmFree(c);
        VmFree(e);  // three holes of about 3,000 bytes, the first one before the second table

        DWORD compactions = Stats().compactions;
        ASSERT_NE(VmAlloc(4000, TRUE), 0);
        EXPECT_EQ(Stats().compactions, compactions + 1);
        EXPECT_EQ(Stats().pageOuts, 0u);
        void* after = VmLock(small, FALSE, FALSE);
        EXPECT_EQ(after == before, locked);
        EXPECT_TRUE(SameBytes(after, Pattern(8, 80), 8));
        EXPECT_EQ(Contents(b, 3000), std::vector<unsigned char>(3000, 0));
        EXPECT_EQ(Contents(d, 3000), std::vector<unsigned char>(3000, 0));
    }
}

TEST_F(PagingStoreTest, FullPoolOfLockedBlocksRefusesAndRecoversAfterAnUnlock)
{
    TinyPool(24000);
    std::vector<VMHANDLE> held;
    for (;;) {
        VMHANDLE h = VmAlloc(3000, TRUE);
        if (!h)
            break;
        ASSERT_NE(VmLock(h, FALSE, TRUE), nullptr);
        held.push_back(h);
        ASSERT_LT(held.size(), 10u);
    }
    EXPECT_EQ(held.size(), 5u);  // 5 × 3,008 of 17,840 bytes
    VmLock(held[0], FALSE, FALSE);
    EXPECT_NE(VmAlloc(3000, TRUE), 0);  // held[0] is paged out for it
    EXPECT_EQ(Contents(held[0], 3000), std::vector<unsigned char>(3000, 0)) << "cannot come back: pool is full";
}

TEST_F(PagingStoreTest, ReallocationKeepsContentsAndHandlesWhereItCan)
{
    VMHANDLE small = VmAlloc(10, FALSE);
    Fill(small, Pattern(10, 30));
    EXPECT_EQ(VmRealloc(small, 14), small);
    EXPECT_EQ(VmRealloc(small, 3), small);
    EXPECT_EQ(Contents(small, 3), Pattern(3, 30));

    VMHANDLE big = VmAlloc(1000, FALSE);
    Fill(big, Pattern(1000, 31));
    EXPECT_EQ(VmRealloc(big, 1000), big);
    EXPECT_EQ(VmRealloc(big, 63001), 0);
    EXPECT_EQ(Contents(big, 1000), Pattern(1000, 31));

    VMHANDLE grown = VmRealloc(big, 5000);
    ASSERT_NE(grown, 0);
    EXPECT_EQ(VmLock(big, FALSE, FALSE), nullptr);  // the old handle is gone
    EXPECT_EQ(Contents(grown, 1000), Pattern(1000, 31));
    VMHANDLE shrunk = VmRealloc(grown, 12);  // becomes a small block
    ASSERT_NE(shrunk, 0);
    EXPECT_EQ(Contents(shrunk, 12), Pattern(12, 31));
    VMHANDLE again = VmRealloc(shrunk, 40);
    ASSERT_NE(again, 0);
    EXPECT_EQ(Contents(again, 12), Pattern(12, 31));
    EXPECT_EQ(Stats().blocks, 2u);
}

TEST_F(PagingStoreTest, ReallocationDoesNotPageOutTheBlockItCopies)
{
    TinyPool(32000);  // 25,840 bytes for blocks
    VMHANDLE b = VmAlloc(4000, TRUE);
    VMHANDLE a = VmAlloc(8000, FALSE);
    VMHANDLE c = VmAlloc(4000, TRUE);
    ASSERT_NE(c, 0);
    Fill(a, Pattern(8000, 40));  // a is now the most recently used; b is the oldest
    DWORD pageOuts = Stats().pageOuts;
    VMHANDLE grown = VmRealloc(a, 12000);  // needs the room of b and c, not of a
    ASSERT_NE(grown, 0);
    EXPECT_EQ(Stats().pageOuts, pageOuts + 2);
    EXPECT_EQ(Contents(grown, 8000), Pattern(8000, 40));
    EXPECT_EQ(Contents(b, 4000), std::vector<unsigned char>(4000, 0));
}

TEST_F(PagingStoreTest, FreedSwapRoomIsReused)
{
    TinyPool(24000);
    VMHANDLE a = VmAlloc(8000, TRUE);
    VMHANDLE b = VmAlloc(8000, TRUE);
    VMHANDLE c = VmAlloc(8000, TRUE);  // a out
    ASSERT_NE(c, 0);
    DWORD end = Stats().swapEnd;
    EXPECT_EQ(end, 8000u);
    VmFree(a);
    EXPECT_EQ(Stats().swapFree, 8000u);
    VMHANDLE d = VmAlloc(8000, TRUE);  // b out, into a's old room
    ASSERT_NE(d, 0);
    EXPECT_EQ(Stats().swapEnd, end);
    EXPECT_EQ(Stats().swapFree, 0u);
    EXPECT_EQ(Contents(b, 8000), std::vector<unsigned char>(8000, 0));
}

TEST_F(PagingStoreTest, SwapFileLivesInTheConfiguredFolderUntilShutdown)
{
    EXPECT_EQ(VmSwapFolder(), m_folder.c_str());
    ASSERT_NE(VmAlloc(100, TRUE), 0);
    VmStatistics s = Stats();
    ASSERT_TRUE(s.swapOpen);
    std::string name = s.swapFile;
    EXPECT_EQ(name.rfind(m_folder + "\\vm", 0), 0u) << name;
    EXPECT_EQ(name.size(), m_folder.size() + 9);
    EXPECT_EQ(SwapFilesInFolder(), 1u);
    EXPECT_EQ(VmInit(), VM_INIT_OK);  // already open: nothing new
    EXPECT_EQ(SwapFilesInFolder(), 1u);

    VmShutdown();
    EXPECT_EQ(SwapFilesInFolder(), 0u);
    EXPECT_FALSE(Stats().swapOpen);
    EXPECT_EQ(Stats().poolSize, 0u);
    EXPECT_TRUE(Messages().empty());

    // The store starts again from nothing, with a new file.
    ASSERT_NE(VmAlloc(100, TRUE), 0);
    EXPECT_NE(std::string(Stats().swapFile), name);
    EXPECT_EQ(SwapFilesInFolder(), 1u);
}

TEST_F(PagingStoreTest, SwapFolderComesFromTheProfileElseTheEnvironment)
{
    const char* temp = getenv("TEMP");
    std::string savedTemp = temp ? temp : "";
    char platformTemp[MAX_PATH];
    ASSERT_NE(GetTempPath(MAX_PATH, platformTemp), 0u);
    struct Case {
        const char* tfl;
        const char* vmpath;
        const char* temp;
        std::string folder;
    };
    for (const Case& c : {Case{"T:\\swap", "V:\\vm", "W:\\temp", "T:\\swap"}, Case{"", "V:\\vm", "W:\\temp", "V:\\vm"},
                          Case{"", "", "W:\\temp", "W:\\temp"}, Case{"", "", "", platformTemp}}) {
        SCOPED_TRACE(c.folder);
        WritePrivateProfileString("Veltra Jubilee 2000 (International)", "TFL", *c.tfl ? c.tfl : NULL,
                                  m_profile.c_str());
        setenv("VMPATH", c.vmpath, 1);
        setenv("TEMP", c.temp, 1);
        EXPECT_EQ(std::string(VmSwapFolder()), c.folder);
    }
    if (temp)
        setenv("TEMP", savedTemp.c_str(), 1);
    else
        unsetenv("TEMP");
}

TEST_F(PagingStoreTest, MissingSwapFolderIsCreated)
{
    UseFolder(m_folder + "\\swap\\");
    ASSERT_EQ(VmInit(), VM_INIT_OK);
    EXPECT_TRUE(std::filesystem::is_directory(m_dir.path() / "swap"));
    EXPECT_EQ(std::string(Stats().swapFile).rfind(m_folder + "\\swap\\vm", 0), 0u);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(PagingStoreTest, FolderWhoseParentIsMissingFallsBackToTheCurrentFolder)
{
    char previous[MAX_PATH];
    ASSERT_NE(GetCurrentDirectory(MAX_PATH, previous), 0u);
    std::filesystem::create_directory(m_dir.path() / "current");
    ASSERT_TRUE(SetCurrentDirectory((m_folder + "\\current").c_str()));
    UseFolder(m_folder + "\\missing\\swap");

    host::AnswerMessageBox("Failed to create this directory", IDOK);
    int result = VmInit();
    SetCurrentDirectory(previous);
    ASSERT_EQ(result, VM_INIT_OK);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find("Failed to create this directory for the virtual memory file.\n"), std::string::npos);
    EXPECT_NE(Messages()[0].find("missing\\swap\n Please specify a valid directory path"), std::string::npos);
    EXPECT_EQ(std::string(Stats().swapFile).rfind("vm", 0), 0u);
    std::size_t inCurrent = 0;
    for (const auto& item : std::filesystem::directory_iterator(m_dir.path() / "current"))
        inCurrent += item.path().filename().string().rfind("vm", 0) == 0;
    EXPECT_EQ(inCurrent, 1u);
    ASSERT_TRUE(SetCurrentDirectory((m_folder + "\\current").c_str()));
    VmShutdown();  // deletes the file by its relative name
    SetCurrentDirectory(previous);
    EXPECT_TRUE(std::filesystem::is_empty(m_dir.path() / "current"));
}

TEST_F(PagingStoreTest, UnwritableFolderLeavesThePoolAloneAndIsReportedOnce)
{
    std::filesystem::create_directory(m_dir.path() / "disc");
    host::MapDrive('R', (m_dir.path() / "disc").string(), DRIVE_CDROM, "READONLY");
    UseFolder("R:\\");

    // The first allocation tries to open the swap file; the store goes on without it.
    host::AnswerMessageBox("cannot create the swap file", IDOK);
    VMHANDLE first = VmAlloc(5000, FALSE);
    ASSERT_NE(first, 0);
    Fill(first, Pattern(5000, 50));
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find("VM system error - VM_init, cannot create the swap file R:\\vm"), std::string::npos)
        << Messages()[0];
    EXPECT_NE(Messages()[0].find(std::strerror(EACCES)), std::string::npos) << Messages()[0];
    EXPECT_FALSE(Stats().swapOpen);
    EXPECT_EQ(VmInit(), VM_INIT_NO_FILE);  // asked again: the same answer, no second report
    EXPECT_EQ(Messages().size(), 1u);

    VmSetPoolMaximum(24000);
    VmInitPool(TRUE);
    std::vector<VMHANDLE> more;
    while (VMHANDLE h = VmAlloc(4000, TRUE)) {
        more.push_back(h);
        ASSERT_LT(more.size(), 20u);
    }
    EXPECT_FALSE(more.empty());
    EXPECT_EQ(Messages().size(), 1u);  // running out of pool is the caller's to report
    VmFree(more.back());
    EXPECT_NE(VmAlloc(4000, TRUE), 0);
    EXPECT_EQ(Contents(first, 5000), Pattern(5000, 50));
    EXPECT_EQ(Stats().pageOuts, 0u);
    EXPECT_TRUE(std::filesystem::is_empty(m_dir.path() / "disc"));
}

// The disk fills up while a block is appended to the swap file: the free ranges are squeezed out
// of the file and the block goes into the room that this makes. Runs in a child process, whose
// file size limit stands in for a full disk.
TEST_F(PagingStoreTest, ShortWriteCompactsTheSwapFileAndRetries)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // the window system has threads of its own
    auto scenario = [this]() -> std::string {
        TinyPool(24000);
        VMHANDLE p[4];
        for (unsigned i = 0; i < 4; ++i) {
            p[i] = VmAlloc(4000, FALSE);
            Fill(p[i], Pattern(4000, 60 + i));
        }
        VMHANDLE x = VmAlloc(16000, TRUE);  // p[0..3] go out: 0, 4,000, 8,000, 12,000
        if (!x || Stats().swapEnd != 16000)
            return "layout";
        VmFree(x);
        VmFree(p[0]);
        VmFree(p[2]);  // holes at 0 and 8,000: 8,000 bytes free, none 8,000 long
        VMHANDLE y = VmAlloc(8000, FALSE);
        Fill(y, Pattern(8000, 70));
        VMHANDLE z = VmAlloc(8000, FALSE);
        Fill(z, Pattern(8000, 71));

        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{16000, RLIM_INFINITY};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return "setrlimit";
        VMHANDLE w = VmAlloc(8000, TRUE);  // y goes out: the append fails, the holes close up
        if (!w)
            return "allocation after the short write";
        limit.rlim_cur = RLIM_INFINITY;  // room again for the checks below
        setrlimit(RLIMIT_FSIZE, &limit);
        VmStatistics s = Stats();
        if (s.swapCompactions != 1 || s.swapEnd != 16000 || s.swapFree != 0)
            return "swap after recovery: " + std::to_string(s.swapCompactions) + " " + std::to_string(s.swapEnd) +
                   " " + std::to_string(s.swapFree);
        if (Contents(p[1], 4000) != Pattern(4000, 61) || Contents(p[3], 4000) != Pattern(4000, 63))
            return "moved blocks";
        if (Contents(y, 8000) != Pattern(8000, 70) || Contents(z, 8000) != Pattern(8000, 71) ||
            Contents(w, 8000) != std::vector<unsigned char>(8000, 0))
            return "blocks";
        if (!Messages().empty())
            return Messages()[0];
        return std::string();
    };
    EXPECT_EXIT(
        {
            std::string failure = scenario();
            if (!failure.empty())
                std::fprintf(stderr, "%s\n", failure.c_str());
            _exit(failure.empty() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

// Random operations on a tiny pool against a plain in-memory copy of every block.
TEST_F(PagingStoreTest, RandomOperationsMatchAPlainModel)
{
    TinyPool(48000);
    std::mt19937 random(20261210);
    struct Model {
        std::vector<unsigned char> bytes;
        int locks = 0;
        unsigned char* address = nullptr;
    };
    std::map<VMHANDLE, Model> blocks;
    unsigned reallocations = 0;

    auto pick = [&]() {
        auto it = blocks.begin();
        std::advance(it, std::uniform_int_distribution<std::size_t>(0, blocks.size() - 1)(random));
        return it;
    };
    auto anyLocked = [&]() {
        return std::any_of(blocks.begin(), blocks.end(), [](const auto& b) { return b.second.locks > 0; });
    };
    auto lockedCount = [&]() {
        return std::count_if(blocks.begin(), blocks.end(), [](const auto& b) { return b.second.locks > 0; });
    };
    auto randomSize = [&]() -> UINT {
        unsigned kind = random() % 10;
        if (kind < 3)
            return random() % 15;
        if (kind < 9)
            return 15 + random() % 3000;
        return 3000 + random() % 9000;
    };
    auto check = [&](VMHANDLE h, const Model& m) {
        auto* p = static_cast<unsigned char*>(VmLock(h, FALSE, TRUE));
        ASSERT_NE(p, nullptr) << h;
        if (m.locks) {
            ASSERT_EQ(p, m.address) << "a locked block moved";
        }
        ASSERT_TRUE(SameBytes(p, m.bytes, m.bytes.size())) << h;
        VmLock(h, FALSE, FALSE);
    };

    for (int step = 0; step < 6000; ++step) {
        SCOPED_TRACE(step);
        unsigned op = random() % 100;
        if (blocks.size() < 4 || (op < 22 && blocks.size() < 80)) {
            UINT size = randomSize();
            BOOL zero = random() % 2;
            VMHANDLE h = VmAlloc(size, zero);
            if (!h) {
                ASSERT_TRUE(anyLocked()) << "allocation of " << size << " failed with nothing locked";
                continue;
            }
            ASSERT_EQ(blocks.count(h), 0u);
            Model m;
            m.bytes.assign(size, 0);
            if (!zero) {  // fill it without marking it dirty: the first page-out must still write it
                auto* p = static_cast<unsigned char*>(VmLock(h, FALSE, TRUE));
                ASSERT_NE(p, nullptr);
                for (auto& b : m.bytes)
                    b = static_cast<unsigned char>(random());
                if (size)
                    std::memcpy(p, m.bytes.data(), size);
                VmLock(h, FALSE, FALSE);
            }
            blocks[h] = std::move(m);
        } else if (op < 34) {
            auto it = pick();
            VmFree(it->first);
            blocks.erase(it);
        } else if (op < 60) {
            auto it = pick();
            Model& m = it->second;
            auto* p = static_cast<unsigned char*>(VmLock(it->first, TRUE, TRUE));
            if (!p) {
                ASSERT_TRUE(anyLocked());
                continue;
            }
            if (m.locks) {
                ASSERT_EQ(p, m.address);
            }
            ASSERT_TRUE(SameBytes(p, m.bytes, m.bytes.size()));
            for (unsigned n = 0; n < 8 && !m.bytes.empty(); ++n) {
                std::size_t at = random() % m.bytes.size();
                m.bytes[at] = p[at] = static_cast<unsigned char>(random());
            }
            VmLock(it->first, FALSE, FALSE);
        } else if (op < 78) {
            auto it = pick();
            check(it->first, it->second);
        } else if (op < 86) {
            // A cursor: lock and hold (at most two blocks held at a time).
            auto it = pick();
            if (lockedCount() >= 2 && !it->second.locks)
                continue;
            void* p = VmLock(it->first, FALSE, TRUE);
            if (!p) {
                ASSERT_TRUE(anyLocked());
                continue;
            }
            if (it->second.locks) {
                ASSERT_EQ(p, it->second.address);
            }
            it->second.address = static_cast<unsigned char*>(p);
            ++it->second.locks;
        } else if (op < 92) {
            for (auto& [h, m] : blocks) {
                if (m.locks) {
                    VmLock(h, FALSE, FALSE);
                    if (--m.locks == 0)
                        m.address = nullptr;
                    break;
                }
            }
        } else {
            auto it = pick();
            UINT size = randomSize();
            VMHANDLE h = VmRealloc(it->first, size);
            if (!h) {
                ASSERT_TRUE(anyLocked());
                check(it->first, it->second);
                continue;
            }
            ++reallocations;
            Model m = std::move(it->second);
            blocks.erase(it);
            std::size_t kept = std::min<std::size_t>(m.bytes.size(), size);
            m.bytes.resize(size, 0);
            m.locks = 0;
            m.address = nullptr;
            auto* p = static_cast<unsigned char*>(VmLock(h, FALSE, TRUE));
            ASSERT_NE(p, nullptr);
            ASSERT_TRUE(SameBytes(p, m.bytes, kept));
            // Bytes past the old size are not defined: take what the store has.
            if (size > kept)
                std::memcpy(m.bytes.data() + kept, p + kept, size - kept);
            VmLock(h, FALSE, FALSE);
            blocks[h] = std::move(m);
        }
        // Held cursors still see their block in place.
        for (const auto& [h, m] : blocks) {
            if (m.locks) {
                ASSERT_TRUE(SameBytes(m.address, m.bytes, m.bytes.size())) << h;
            }
        }
    }
    for (auto& [h, m] : blocks) {
        while (m.locks) {
            VmLock(h, FALSE, FALSE);
            --m.locks;
        }
    }
    for (const auto& [h, m] : blocks)
        check(h, m);

    VmStatistics s = Stats();
    EXPECT_GT(s.pageOuts, 100u);
    EXPECT_GT(s.pageIns, 100u);
    EXPECT_GT(s.compactions, 10u);
    EXPECT_GT(reallocations, 100u);
    EXPECT_EQ(s.blocks, blocks.size());
    EXPECT_TRUE(Messages().empty());
}

// A freed piece serves the next request that fits it best, and freed neighbours merge into one
// piece, whichever of them goes first: no compaction is needed for either.
TEST_F(PagingStoreTest, FreedPiecesAreReusedByBestFitAndMergeWithTheirNeighbours)
{
    for (bool laterFirst : {false, true}) {
        SCOPED_TRACE(laterFirst);
        VmShutdown();
        TinyPool(24000);
        VMHANDLE x[4];
        unsigned char* at[4];
        for (int i = 0; i < 4; ++i) {
            x[i] = VmAlloc(1024, TRUE);
            ASSERT_NE(x[i], 0);
        }
        ASSERT_NE(VmAlloc(4000, TRUE), 0);  // more room after the four, larger than any hole
        for (int i = 0; i < 4; ++i)
            at[i] = static_cast<unsigned char*>(VmLock(x[i], FALSE, FALSE));
        const DWORD compactions = Stats().compactions;

        // Reuse: the hole of the same size, not the larger room at the end.
        VmFree(x[1]);
        VMHANDLE again = VmAlloc(1024, FALSE);
        EXPECT_EQ(VmLock(again, FALSE, FALSE), at[1]);
        // Best fit: the smaller of two holes that both fit.
        VmFree(x[0]);
        VMHANDLE half = VmAlloc(512, FALSE);
        EXPECT_EQ(VmLock(half, FALSE, FALSE), at[0]);
        // Merging: two neighbours freed in either order make one piece with the rest of the
        // first hole before them, the only piece of 2,560 bytes.
        VmFree(laterFirst ? x[2] : again);
        VmFree(laterFirst ? again : x[2]);
        VMHANDLE three = VmAlloc(2560, TRUE);
        ASSERT_NE(three, 0);
        EXPECT_EQ(VmLock(three, FALSE, FALSE), at[0] + 512);
        EXPECT_EQ(Stats().compactions, compactions);
        EXPECT_EQ(Stats().pageOuts, 0u);
        EXPECT_EQ(Contents(x[3], 1024), std::vector<unsigned char>(1024, 0));
    }
}

// Thousands of live blocks of the sizes word search makes (names, shortened last pages of hit
// lists, whole pages), most of them in the swap file: compaction, page-outs and the swap file's
// free ranges keep every block's contents, and freeing them all gives all swap room back.
TEST_F(PagingStoreTest, ThousandsOfBlocksKeepTheirContentsThroughCompactionAndPaging)
{
    ASSERT_EQ(VmInit(), VM_INIT_OK);
    VmInitPool(TRUE);
    std::mt19937 random(42);
    std::map<VMHANDLE, std::vector<unsigned char>> blocks;
    unsigned serial = 0;
    auto allocate = [&]() {
        unsigned kind = random() % 10;
        UINT size = kind < 3 ? 4 + random() % 40 : kind < 9 ? 10 + random() % 2048 : 20480;
        VMHANDLE h = VmAlloc(size, FALSE);
        ASSERT_NE(h, 0) << blocks.size();
        auto bytes = Pattern(size, ++serial);
        Fill(h, bytes);
        blocks[h] = std::move(bytes);
    };
    for (int i = 0; i < 4000; ++i)
        allocate();
    for (int round = 0; round < 3; ++round) {
        // Every third block goes, then as many new ones come: holes in the pool and the swap file.
        int n = 0;
        for (auto it = blocks.begin(); it != blocks.end();) {
            if (n++ % 3 == round) {
                VmFree(it->first);
                it = blocks.erase(it);
            } else {
                ++it;
            }
        }
        while (blocks.size() < 4000)
            allocate();
    }
    for (const auto& [h, bytes] : blocks)
        ASSERT_EQ(Contents(h, bytes.size()), bytes) << h;

    VmStatistics s = Stats();
    EXPECT_EQ(s.blocks, blocks.size());
    EXPECT_GT(s.pageOuts, 4000u);
    EXPECT_GT(s.compactions, 0u);
    EXPECT_GT(s.swapFree, 0u);
    for (const auto& item : blocks)
        VmFree(item.first);
    s = Stats();
    EXPECT_EQ(s.blocks, 0u);
    EXPECT_EQ(s.swapFree, s.swapEnd);
    EXPECT_TRUE(Messages().empty());
}

}  // namespace
