// FIND look-up benchmark: the browsing view's FIND list on the reference disc's volume (every
// FOLDOC article, as scripts/make-reference-disc gives the disc: a [Dada Vaveroz Data] row and a
// show-list row each), written by the disc builder's writers into a temporary disc folder. A
// fixed set of typed prefixes (1 to 6 characters of titles spread over the list, and some that
// match nothing) is looked up, in one run, through
//   - the show list file (CJustLookingFileVirtualList::FindTitle: index block, then the lines),
//   - the database list filtered by a category (CJustLookingVirtualData::FindTitle over the
//     record set's prefix search),
//   - a plain binary search over the same titles held sorted in memory (the baseline).
// Prints the median and 95th percentile of each, their ratio to the baseline, and whether every
// look-up stays within one 16 ms frame.
//
//   bench_find_lookup [DICTD_FOLDER] [CATEGORY 1-8]
#include "base/AppDatabase.h"
#include "base/JustLookingRandomSet.h"
#include "explore/JustLookingFileVirtualList.h"
#include "explore/JustLookingRecSet.h"

#include <ContentDatabaseWriter.h>
#include <FoldocJustLooking.h>
#include <ListFileWriter.h>

#include <host/Drives.h>

#include <afxwin.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Micros(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

struct Stats {
    double median = 0, p95 = 0, max = 0;
};

Stats Summarise(std::vector<double> times)
{
    Stats s;
    if (times.empty())
        return s;
    std::sort(times.begin(), times.end());
    s.median = times[times.size() / 2];
    s.p95 = times[std::min(times.size() - 1, times.size() * 95 / 100)];
    s.max = times.back();
    return s;
}

std::vector<std::vector<std::string>> Lines(const std::string& text)
{
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::size_t start = 0;
        for (;;) {
            const std::size_t bar = line.find('|', start);
            fields.push_back(line.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
            if (bar == std::string::npos)
                break;
            start = bar + 1;
        }
        rows.push_back(fields);
    }
    return rows;
}

bool LessNoCase(const std::string& a, const std::string& b) { return CString(a.c_str()).CompareNoCase(b.c_str()) < 0; }

}  // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path dictd = argc > 1 ? argv[1] : "/usr/share/dictd";
    const int nCategory = argc > 2 ? std::atoi(argv[2]) : 4;  // IND, the largest group
    if (!std::filesystem::exists(dictd / "foldoc.index")) {
        std::printf("bench_find_lookup: %s has no foldoc.index (install dict-foldoc)\n", dictd.string().c_str());
        return 1;
    }
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("vl-bench-find-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder / "data");

    // The reference disc's rows, written as the disc builder writes them.
    const auto t0 = Clock::now();
    const foldoc::JustLookingRows rows =
        foldoc::MakeJustLookingRows(foldoc::ReadFoldoc(dictd / "foldoc.index", dictd / "foldoc.dict.dz"));
    std::vector<discbuilder::ListFileEntry> shows;
    std::vector<std::string> titles;
    {
        discbuilder::ContentDatabaseWriter writer((folder / "data" / "vl00i1.mdb").string());
        for (const auto& f : Lines(rows.items))
            if (f.size() == 6)
                writer.AddDadaVaverozItem({f[0], f[1], f[2], f[3], f[4], f[5]});
        writer.Close();
        for (const auto& f : Lines(rows.shows))
            if (f.size() == 4) {
                shows.push_back({{"ART", f[1], f[3]}, f[0]});
                titles.push_back(f[0]);
            }
        discbuilder::WriteListFiles(folder / "data" / "Jlshow.dat", folder / "data" / "jlshow.ndx", shows);
    }
    std::sort(titles.begin(), titles.end(), LessNoCase);
    std::printf("FIND list: %zu items (built in %.1f s)\n", titles.size(), Micros(Clock::now() - t0) / 1e6);

    host::MapDrive('T', folder.string(), DRIVE_FIXED, "BENCH");
    CWinApp app("vl00i1se");
    app.m_pszProfileName = "T:\\vl00i1se.ini";
    ::WritePrivateProfileString("Files", "DataDir", "T:\\data", "T:\\vl00i1se.ini");

    // Prefixes typed: 1 to 6 characters of titles spread over the list, and misses.
    std::vector<std::string> prefixes;
    for (std::size_t i = 0; i < 400; ++i) {
        const std::string& title = titles[(i * 7919) % titles.size()];
        prefixes.push_back(title.substr(0, 1 + i % 6));
    }
    for (const char* miss : {"zzzz", "Qx", "~~", "0000", "Mzq"})
        prefixes.push_back(miss);

    const int kRounds = 5;
    std::vector<double> memoryTimes, fileTimes, databaseTimes;
    long nChecksum = 0;
    for (int round = 0; round < kRounds; ++round)
        for (const std::string& prefix : prefixes) {
            const auto start = Clock::now();
            const auto it = std::lower_bound(titles.begin(), titles.end(), prefix, LessNoCase);
            nChecksum += static_cast<long>(it - titles.begin());
            memoryTimes.push_back(Micros(Clock::now() - start));
        }

    {
        CJustLookingFileVirtualList list;
        if (!list.IsListOpen()) {
            std::printf("bench_find_lookup: the show list could not be opened\n");
            return 1;
        }
        long nMismatches = 0;
        for (int round = 0; round < kRounds; ++round)
            for (const std::string& prefix : prefixes) {
                const auto start = Clock::now();
                const long nRow = list.FindTitle(prefix.c_str());
                fileTimes.push_back(Micros(Clock::now() - start));
                // The list looks the text up without its trailing blanks.
                const std::string trimmed = prefix.substr(0, prefix.find_last_not_of(' ') + 1);
                const long nExpected = std::min<long>(
                    static_cast<long>(std::lower_bound(titles.begin(), titles.end(), trimmed, LessNoCase) - titles.begin()) + 1,
                    static_cast<long>(titles.size()));
                if (nRow != nExpected) {
                    ++nMismatches;
                    if (round == 0 && std::getenv("VL_BENCH_VERBOSE") != nullptr) {
                        CVLVirtualData::VLLISTENTRY got;
                        list.GetListEntry(nRow, got);
                        std::printf("  \"%s\": row %ld \"%s\", binary search row %ld \"%s\"\n", prefix.c_str(), nRow,
                                    static_cast<LPCSTR>(got.strTitle), nExpected, titles[static_cast<std::size_t>(nExpected - 1)].c_str());
                    }
                }
            }
        std::printf("show list: %ld rows, %ld look-ups not on the binary search's row\n", list.GetCount(), nMismatches);
    }

    CVLDatabase db;
    db.Open("T:\\data\\vl00i1.mdb");
    SetAppDatabase(&db);
    {
        CJustLookingVirtualData data;
        const auto tf = Clock::now();
        const long nRows = data.BuildFilter(nCategory, 0);
        const double dFirst = Micros(Clock::now() - tf);
        const auto tc = Clock::now();
        CJustLookingVirtualData again;
        again.BuildFilter(nCategory, 0);
        const double dCached = Micros(Clock::now() - tc);
        std::printf("database list, category %d (%s): %ld rows; filter opened in %.1f ms, again with the count cached in "
                    "%.1f ms\n",
                    nCategory, JustLookingCategoryCode(nCategory), nRows, dFirst / 1000, dCached / 1000);
        // A look-up is off when the row it gives does not begin with the prefix while the row
        // before it sorts before the prefix and some title does begin with it.
        auto titleAt = [&](long nRow) {
            TVITEM item = {};
            item.hItem = reinterpret_cast<HTREEITEM>(static_cast<INT_PTR>(nRow));
            return data.GetItem(&item) && item.pszText != NULL ? CString(item.pszText) : CString();
        };
        long nOff = 0;
        for (int round = 0; round < kRounds; ++round)
            for (const std::string& prefix : prefixes) {
                const auto start = Clock::now();
                const long nRow = data.FindTitle(prefix.c_str());
                databaseTimes.push_back(Micros(Clock::now() - start));
                nChecksum += nRow;
                if (round == 0 && titleAt(nRow).Left(static_cast<int>(prefix.size())).CompareNoCase(prefix.c_str()) != 0) {
                    for (long n = 1; n <= nRows; ++n)
                        if (titleAt(n).Left(static_cast<int>(prefix.size())).CompareNoCase(prefix.c_str()) == 0) {
                            ++nOff;
                            if (std::getenv("VL_BENCH_VERBOSE") != nullptr)
                                std::printf("  \"%s\": row %ld \"%s\", row %ld \"%s\" begins with it\n", prefix.c_str(), nRow,
                                            static_cast<LPCSTR>(titleAt(nRow)), n, static_cast<LPCSTR>(titleAt(n)));
                            break;
                        }
                }
            }
        std::printf("database list: %ld of %zu prefixes that some title begins with were not found\n", nOff, prefixes.size());
    }
    SetAppDatabase(NULL);
    db.Close();

    const Stats memory = Summarise(memoryTimes), file = Summarise(fileTimes), database = Summarise(databaseTimes);
    std::printf("%zu look-ups each (checksum %ld)\n", memoryTimes.size(), nChecksum);
    std::printf("%-34s median %9.2f us   p95 %9.2f us   max %9.1f us\n", "binary search in memory", memory.median,
                memory.p95, memory.max);
    std::printf("%-34s median %9.2f us   p95 %9.2f us   max %9.1f us   ratio %7.0fx / %7.0fx\n", "show list file", file.median,
                file.p95, file.max, file.median / std::max(memory.median, 0.01), file.p95 / std::max(memory.p95, 0.01));
    std::printf("%-34s median %9.2f us   p95 %9.2f us   max %9.1f us   ratio %7.0fx / %7.0fx\n", "database list by category",
                database.median, database.p95, database.max, database.median / std::max(memory.median, 0.01),
                database.p95 / std::max(memory.p95, 0.01));
    const bool bWithin = file.max < 16000 && database.max < 16000;
    std::printf("every look-up within one 16 ms frame: %s\n", bWithin ? "yes" : "no");
    std::filesystem::remove_all(folder);
    return 0;
}
