// Article records read and parsed per second on the sample disc's archive.
//
// Builds the sample disc into a temporary folder, then measures side by side:
//   - archive reads: ReadArticleRecord on vl.dat (inflate, then parse) for every article in turn;
//   - single-file reads: the same records uncompressed in ".rcv" files;
//   - parsing alone: ParseArticleRecord again on records already in memory.
#include "article/ArticleRecord.h"

#include <ArticleRecordWriter.h>
#include <ArticleSource.h>
#include <SampleDisc.h>
#include <host/Drives.h>

#include <afxwin.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

struct Place {
    std::string path;
    DWORD block;
    DWORD count;
};

double Seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// Reads every place in turn until at least `minimum` seconds have passed; records per second.
double ReadRate(const std::vector<Place>& places, double minimum)
{
    auto start = std::chrono::steady_clock::now();
    long records = 0;
    do {
        for (const Place& place : places) {
            HGLOBAL hDescriptor = ReadArticleRecord(place.path.c_str(), place.block, place.count);
            FreeArticleRecord(hDescriptor);
            ++records;
        }
    } while (Seconds(std::chrono::steady_clock::now() - start) < minimum);
    return records / Seconds(std::chrono::steady_clock::now() - start);
}

}  // namespace

int main()
{
    std::random_device rd;
    std::filesystem::path root = std::filesystem::temp_directory_path() / ("vlbench-" + std::to_string(rd()));
    std::filesystem::create_directories(root);
    int status = 0;
    {
        discbuilder::SampleDiscReport disc = discbuilder::BuildSampleDisc(VL_SAMPLE_DIR, root / "disc");
        host::MapDrive('B', root.string(), DRIVE_FIXED, "BENCH");
        CWinApp app("bench_article_records");
        app.m_pszProfileName = "B:\\bench.ini";
        WritePrivateProfileString("Files", "DataDir", "B:\\disc\\info_dat\\", "B:\\bench.ini");

        std::vector<Place> archive;
        std::vector<Place> single;
        std::size_t bytes = 0;
        for (const auto& source : discbuilder::ReadArticleSources(std::filesystem::path(VL_SAMPLE_DIR) / "articles")) {
            std::string record = discbuilder::WriteArticleRecord(source);
            bytes += record.size();
            std::string name = std::to_string(source.rin) + ".rcv";
            std::ofstream(root / name, std::ios::binary).write(record.data(), static_cast<std::streamsize>(record.size()));
            single.push_back({"B:\\" + name, 0, static_cast<DWORD>((record.size() + 511) / 512)});
        }
        for (const discbuilder::ArchivedRecord& r : disc.articles)
            archive.push_back({"B:\\disc\\info_dat\\vl.dat", r.block, static_cast<DWORD>(r.blockCount)});

        // Parsing alone: the records stay loaded; each round parses every one again.
        std::vector<HGLOBAL> loaded;
        for (const Place& place : single)
            loaded.push_back(ReadArticleRecord(place.path.c_str(), place.block, place.count));
        auto start = std::chrono::steady_clock::now();
        long parsed = 0;
        do {
            for (HGLOBAL h : loaded) {
                ParseArticleRecord(static_cast<ArticleRecordDescriptor*>(GlobalLock(h)));
                GlobalUnlock(h);
                ++parsed;
            }
        } while (Seconds(std::chrono::steady_clock::now() - start) < 1.0);
        double parseRate = parsed / Seconds(std::chrono::steady_clock::now() - start);
        for (HGLOBAL h : loaded)
            FreeArticleRecord(h);

        double archiveRate = ReadRate(archive, 1.0);
        double singleRate = ReadRate(single, 1.0);
        std::printf("article records: %zu sample articles, %zu bytes uncompressed, vl.dat %ju bytes\n", archive.size(),
                    bytes, static_cast<std::uintmax_t>(std::filesystem::file_size(disc.dataFolder / "vl.dat")));
        std::printf("  read from vl.dat and parsed:   %10.0f records/s\n", archiveRate);
        std::printf("  read from .rcv and parsed:     %10.0f records/s\n", singleRate);
        std::printf("  parsed (already in memory):    %10.0f records/s\n", parseRate);
        std::printf("  inflating costs %.2fx a plain read\n", singleRate / archiveRate);
        if (archive.empty())
            status = 1;
        host::ResetDrives();
    }
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
    return status;
}
