// Article records read and parsed per second on a disc's archive.
//
//   bench_article_records [SOURCES [READS]]
//
// Builds a disc from SOURCES (the sample disc's sources by default; the reference disc's sources
// that scripts/make-reference-disc writes give thousands of real articles) into a temporary
// folder, then measures side by side:
//   - archive reads: ReadArticleRecord on vl.dat (inflate, then parse) for every article in turn;
//   - single-file reads: the same records uncompressed in ".rcv" files;
//   - parsing alone: ParseArticleRecord again on records already in memory;
//   - random reads, READS of them (10,000 by default): ReadArticleRecord against zlib inflating the same compressed
//     records from memory into a buffer of the same size (the limit of any archive read), and,
//     where libzim is installed, against reading the same records from a ZIM archive (2 MiB
//     clusters) that the benchmark writes.
#include "article/ArticleRecord.h"

#include <ArticleRecordWriter.h>
#include <ArticleSource.h>
#include <SampleDisc.h>
#include <host/Drives.h>

#include <afxwin.h>

#include <zlib.h>

#ifdef VL_HAVE_LIBZIM
#include <fcntl.h>
#include <unistd.h>
#include <zim/archive.h>
#include <zim/item.h>
#include <zim/writer/contentProvider.h>
#include <zim/writer/creator.h>
#include <zim/writer/item.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
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

// Microseconds per call of `read` over the indices, in the order given.
template <class F>
double MicrosPerRead(const std::vector<std::size_t>& order, F read)
{
    auto start = std::chrono::steady_clock::now();
    for (std::size_t i : order)
        read(i);
    return Seconds(std::chrono::steady_clock::now() - start) * 1e6 / static_cast<double>(order.size());
}

// Inflates one zlib stream from memory into the buffer; the bytes made.
std::size_t InflateFromMemory(const unsigned char* in, std::size_t inLength, unsigned char* out, std::size_t outLength)
{
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return 0;
    stream.next_in = const_cast<unsigned char*>(in);
    stream.avail_in = static_cast<uInt>(inLength);
    stream.next_out = out;
    stream.avail_out = static_cast<uInt>(outLength);
    inflate(&stream, Z_FINISH);
    std::size_t made = outLength - stream.avail_out;
    inflateEnd(&stream);
    return made;
}

#ifdef VL_HAVE_LIBZIM
// Writes the records into a ZIM archive, one item each ("A/<n>"), 2 MiB clusters.
void WriteZim(const std::filesystem::path& file, const std::vector<std::string>& records)
{
    zim::writer::Creator creator;
    creator.configVerbose(false);
    creator.configClusterSize(2 * 1024 * 1024);
    creator.startZimCreation(file.string());
    for (std::size_t i = 0; i < records.size(); ++i)
        creator.addItem(zim::writer::StringItem::create("A/" + std::to_string(i), "application/octet-stream",
                                                         "record " + std::to_string(i), zim::writer::Hints{}, records[i]));
    creator.addMetadata("Title", "article records");
    // The library reports its steps on standard output: kept out of the figures.
    std::fflush(stdout);
    int saved = dup(1);
    int null = open("/dev/null", O_WRONLY);
    if (null >= 0)
        dup2(null, 1);
    creator.finishZimCreation();
    std::fflush(stdout);
    if (saved >= 0)
        dup2(saved, 1);
    if (null >= 0)
        close(null);
    if (saved >= 0)
        close(saved);
}
#endif

}  // namespace

int main(int argc, char** argv)
{
    std::random_device rd;
    std::filesystem::path root = std::filesystem::temp_directory_path() / ("vlbench-" + std::to_string(rd()));
    std::filesystem::create_directories(root);
    int status = 0;
    {
        const std::filesystem::path sources = argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::path(VL_SAMPLE_DIR);
        discbuilder::SampleDiscReport disc = discbuilder::BuildSampleDisc(sources, root / "disc");
        host::MapDrive('B', root.string(), DRIVE_FIXED, "BENCH");
        CWinApp app("bench_article_records");
        app.m_pszProfileName = "B:\\bench.ini";
        WritePrivateProfileString("Files", "DataDir", "B:\\disc\\info_dat\\", "B:\\bench.ini");

        std::vector<Place> archive;
        std::vector<Place> single;
        std::size_t bytes = 0;
        for (const auto& source : discbuilder::ReadArticleSources(sources / "articles")) {
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

        // Random reads: the same 10,000 picks for every reader.
        std::mt19937 pick(12345);
        std::vector<std::size_t> order(argc > 2 ? std::size_t(std::atol(argv[2])) : 10000);
        for (std::size_t& i : order)
            i = archive.empty() ? 0 : pick() % archive.size();
        std::ifstream whole(disc.dataFolder / "vl.dat", std::ios::binary);
        std::string archiveBytes((std::istreambuf_iterator<char>(whole)), std::istreambuf_iterator<char>());
        std::vector<unsigned char> out(ARTICLE_RECORD_BUFFER_SIZE);
        std::vector<std::string> records(archive.size());
        for (std::size_t i = 0; i < archive.size(); ++i) {
            std::size_t at = std::size_t(archive[i].block) * 512;
            std::size_t made = InflateFromMemory(reinterpret_cast<const unsigned char*>(archiveBytes.data()) + at,
                                                 std::size_t(archive[i].count) * 512, out.data(), out.size());
            records[i].assign(reinterpret_cast<const char*>(out.data()), made);
        }
        if (!archive.empty()) {
            double ours = MicrosPerRead(order, [&](std::size_t i) {
                FreeArticleRecord(ReadArticleRecord(archive[i].path.c_str(), archive[i].block, archive[i].count));
            });
            volatile std::size_t sink = 0;
            double limit = MicrosPerRead(order, [&](std::size_t i) {
                std::size_t at = std::size_t(archive[i].block) * 512;
                sink = sink + InflateFromMemory(reinterpret_cast<const unsigned char*>(archiveBytes.data()) + at,
                                                std::size_t(archive[i].count) * 512, out.data(), out.size());
            });
            std::printf("random reads (%zu):\n", order.size());
            std::printf("  ours: open the archive, inflate, parse  %8.2f us\n", ours);
            std::printf("  zlib inflating from memory (the limit)  %8.2f us   ours/it %.2f (target <= 2)\n", limit,
                        ours / limit);
#ifdef VL_HAVE_LIBZIM
            std::filesystem::path zimFile = root / "records.zim";
            WriteZim(zimFile, records);
            zim::Archive zimArchive(zimFile.string());
            double zimRead = MicrosPerRead(order, [&](std::size_t i) {
                zim::Blob blob = zimArchive.getEntryByPath("A/" + std::to_string(i)).getItem().getData();
                sink = sink + blob.size();
            });
            std::printf("  libzim random read (2 MiB clusters)     %8.2f us   ours/it %.2f (target <= 1)\n", zimRead,
                        ours / zimRead);
#else
            std::printf("  libzim: not installed (scripts/install-deps bench), not measured\n");
#endif
        }
        host::ResetDrives();
    }
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
    return status;
}
