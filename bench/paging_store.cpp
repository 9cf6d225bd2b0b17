// Paging store benchmark: allocations per second in the pre-allocated pool, page round trips
// (one block written out, another read back) per second through the swap file, and the blocks
// word search makes on a large corpus (thousands of live hit-list pages, shortened last pages,
// set names and word-list pages) against the same operations on malloc in the same run.
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

// One operation of the word-search workload: allocate (and fill) a block of `size` bytes into
// slot `slot`, read a block back, or free it.
struct Step {
    enum Kind { Allocate, Read, Free } kind;
    unsigned slot;
    unsigned size;
};

// The blocks word search makes: hit-list pages of 20,480 bytes (2,048 records of 10 bytes), the
// shortened last page of each list, set names and wildcard expansions of a few bytes, word-list
// pages of 1,024 bytes per index page; `live` of them alive at a time.
std::vector<Step> WordSearchSteps(unsigned live, unsigned count)
{
    std::mt19937 random(7);
    std::vector<Step> steps;
    std::vector<unsigned> sizes(live, 0);  // 0: the slot is empty
    for (unsigned i = 0; i < count; ++i) {
        unsigned slot = random() % live;
        if (sizes[slot] == 0) {
            unsigned kind = random() % 20;
            unsigned size = kind < 6    ? 4 + random() % 40            // names, expansions
                            : kind < 14 ? 10 * (1 + random() % 2048)  // last pages
                            : kind < 17 ? 1024 * (1 + random() % 8)   // word-list pages
                                        : 20480;                      // whole pages
            steps.push_back({Step::Allocate, slot, size});
            sizes[slot] = size;
        } else if (random() % 3) {
            steps.push_back({Step::Read, slot, sizes[slot]});
        } else {
            steps.push_back({Step::Free, slot, sizes[slot]});
            sizes[slot] = 0;
        }
    }
    for (unsigned slot = 0; slot < live; ++slot)
        if (sizes[slot])
            steps.push_back({Step::Free, slot, sizes[slot]});
    return steps;
}

// Seconds for the steps through the paging store (pool bounded at `poolMaximum` bytes with a
// swap file, or growing in memory when 0), and the checksum of what was read.
double StoreRun(const std::vector<Step>& steps, unsigned live, DWORD poolMaximum, unsigned long& sum,
                VmStatistics& statistics)
{
    VmShutdown();
    VmSetPoolMaximum(poolMaximum ? poolMaximum : VM_DEFAULT_POOL_MAXIMUM);
    VmInit();
    VmInitPool(poolMaximum != 0);
    std::vector<VMHANDLE> handles(live, 0);
    sum = 0;
    auto start = std::chrono::steady_clock::now();
    for (const Step& step : steps) {
        VMHANDLE& h = handles[step.slot];
        if (step.kind == Step::Allocate) {
            h = VmAlloc(step.size, FALSE);
            if (auto* p = static_cast<unsigned char*>(VmLock(h, TRUE, TRUE))) {
                std::memset(p, static_cast<int>(step.slot), step.size);
                VmLock(h, FALSE, FALSE);
            }
        } else if (step.kind == Step::Read) {
            if (auto* p = static_cast<const unsigned char*>(VmLock(h, FALSE, TRUE))) {
                sum += p[0] + p[step.size - 1];
                VmLock(h, FALSE, FALSE);
            }
        } else {
            VmFree(h);
            h = 0;
        }
    }
    double seconds = Seconds(start);
    VmGetStatistics(&statistics);
    VmShutdown();
    return seconds;
}

// The same steps on malloc: the baseline.
double MallocRun(const std::vector<Step>& steps, unsigned live, unsigned long& sum)
{
    std::vector<unsigned char*> blocks(live, nullptr);
    sum = 0;
    auto start = std::chrono::steady_clock::now();
    for (const Step& step : steps) {
        unsigned char*& p = blocks[step.slot];
        if (step.kind == Step::Allocate) {
            p = static_cast<unsigned char*>(std::malloc(step.size));
            std::memset(p, static_cast<int>(step.slot), step.size);
        } else if (step.kind == Step::Read) {
            sum += p[0] + p[step.size - 1];
        } else {
            std::free(p);
            p = nullptr;
        }
    }
    return Seconds(start);
}

void WordSearch(const char* title, unsigned live, DWORD poolMaximum)
{
    const std::vector<Step> steps = WordSearchSteps(live, 400000);
    unsigned long storeSum = 0, mallocSum = 0;
    VmStatistics s{};
    double store = StoreRun(steps, live, poolMaximum, storeSum, s);
    double plain = MallocRun(steps, live, mallocSum);
    std::printf("%-40s %8.3f s, malloc %.3f s: ratio %.1f  (%lu compactions, %lu page-outs%s)\n", title, store,
                plain, store / plain, static_cast<unsigned long>(s.compactions), static_cast<unsigned long>(s.pageOuts),
                storeSum == mallocSum ? "" : ", CONTENTS DIFFER");
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
    WordSearch("word search, 4,000 live, pool in memory", 4000, 0);
    WordSearch("word search, 4,000 live, 200 KB pool", 4000, VM_DEFAULT_POOL_MAXIMUM);
    VmShutdown();
    return 0;
}
