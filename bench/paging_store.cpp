// Paging store benchmark: allocations per second in the pre-allocated pool, and page round trips
// (one block written out, another read back) per second through the swap file.
#include "search/PagingStore.h"

#include <afxwin.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

namespace {

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void Allocations(const char* title, unsigned minSize, unsigned maxSize)
{
    VmShutdown();
    VmSetPoolMaximum(VM_DEFAULT_POOL_MAXIMUM);
    VmInit();
    VmInitPool(TRUE);
    std::mt19937 random(1);
    std::uniform_int_distribution<unsigned> size(minSize, maxSize);
    std::vector<VMHANDLE> live;
    const unsigned count = 300000;
    auto start = std::chrono::steady_clock::now();
    for (unsigned i = 0; i < count; ++i) {
        if (live.size() >= 48) {
            std::size_t at = random() % live.size();
            VmFree(live[at]);
            live[at] = live.back();
            live.pop_back();
        }
        VMHANDLE h = VmAlloc(size(random), FALSE);
        if (h)
            live.push_back(h);
    }
    double seconds = Seconds(start);
    VmStatistics s;
    VmGetStatistics(&s);
    std::printf("%-40s %12.0f allocations/s  (%lu compactions, %lu page-outs)\n", title, count / seconds,
                static_cast<unsigned long>(s.compactions), static_cast<unsigned long>(s.pageOuts));
    for (VMHANDLE h : live)
        VmFree(h);
}

void RoundTrips(const char* title, BOOL dirty)
{
    VmShutdown();
    VmSetPoolMaximum(64000);  // eight blocks of 8,000 bytes cannot all stay in memory
    if (VmInit() != VM_INIT_OK) {
        std::printf("%-40s no swap file\n", title);
        return;
    }
    VmInitPool(TRUE);
    std::vector<VMHANDLE> blocks;
    for (unsigned i = 0; i < 16; ++i)
        blocks.push_back(VmAlloc(8000, TRUE));
    VmStatistics before;
    VmGetStatistics(&before);
    const unsigned count = 40000;
    auto start = std::chrono::steady_clock::now();
    for (unsigned i = 0; i < count; ++i) {
        auto* p = static_cast<unsigned char*>(VmLock(blocks[i % blocks.size()], dirty, TRUE));
        if (p)
            p[i % 8000] ^= dirty ? 1 : 0;
        VmLock(blocks[i % blocks.size()], FALSE, FALSE);
    }
    double seconds = Seconds(start);
    VmStatistics after;
    VmGetStatistics(&after);
    unsigned long trips = after.pageIns - before.pageIns;
    std::printf("%-40s %12.0f round trips/s  (%lu page-ins, %lu writes of 8,000 bytes)\n", title, trips / seconds,
                trips, static_cast<unsigned long>(after.swapWrites - before.swapWrites));
    VmShutdown();
}

}  // namespace

int main()
{
    CWinApp app("vl00i1se");  // the swap folder setting is read from its profile
    Allocations("pool blocks of 15 to 2,000 bytes", 15, 2000);
    Allocations("pool blocks of 2,000 to 20,000 bytes", 2000, 20000);
    Allocations("small blocks of up to 14 bytes", 0, 14);
    RoundTrips("page round trips, blocks changed", TRUE);
    RoundTrips("page round trips, blocks read only", FALSE);
    VmShutdown();
    return 0;
}
