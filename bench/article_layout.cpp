// Page layout time: one idle step (one section) and the whole article, for the longest article
// at hand, against the 16 ms of one frame. Then the growth of line breaking with length: the
// page layout of one paragraph of 4, 16 and 64 KB and the table layout of one cell of 1,000,
// 3,500 and 7,000 characters (and eight such cells), each as time per character; the ratio of
// the longest to the shortest stays near 1 when breaking lines is linear.
//
// The reference disc is not built on this machine yet, so the longest article is made from the
// sample articles: every section of every sample article, over and over, up to 200 sections (the
// most a record holds), with their styles, icons, thumbnails and the inline picture. The sample
// disc's own longest article is measured beside it.
#include "article/ArticleDocument.h"
#include "article/ArticlePageLayout.h"
#include "article/ArticleTable.h"
#include "base/Reference.h"

#include <ArticleRecordWriter.h>
#include <ArticleSource.h>
#include <FoldocSource.h>
#include <TableWriter.h>
#include <host/Drives.h>

#include <afxwin.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

class CFileReference : public CReference {
public:
    CFileReference(const CString& strPath, LONG nBlocks) : m_strPath(strPath)
    {
        SetLocation(1, 0, nBlocks);
        SetKind(REFKIND_ARTICLE);
    }
    CString GetFilePath() override { return m_strPath; }

private:
    CString m_strPath;
};

double Milliseconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

struct Timing {
    int sections = 0;
    int lines = 0;
    double firstPage = 0;  // ms
    double stepMean = 0;
    double stepMax = 0;
    double whole = 0;
};

Timing Measure(const std::string& path, std::size_t bytes)
{
    Timing t;
    CArticleDocument doc;
    if (!doc.Open(new CFileReference(path.c_str(), static_cast<LONG>((bytes + 511) / 512))))
        return t;
    CDC dc;
    dc.CreateCompatibleDC(NULL);
    const RECT client = {0, 0, 800, 600};
    CArticlePageLayout layout;
    layout.SetTextSize(2);
    t.sections = doc.GetSectionCount();
    // Round 0 realises the fonts and glyphs (as the first paint does) and is not counted.
    layout.LayoutSections(&dc, &doc, client, t.sections);
    const int rounds = 5;
    double stepTotal = 0;
    int steps = 0;
    for (int round = 0; round < rounds; ++round) {
        layout.ResetPage();
        auto start = std::chrono::steady_clock::now();
        layout.LayoutSections(&dc, &doc, client, CArticlePageLayout::targetFirstPage);
        t.firstPage = std::max(t.firstPage, Milliseconds(std::chrono::steady_clock::now() - start));
        while (!layout.IsComplete(&doc)) {
            auto stepStart = std::chrono::steady_clock::now();
            layout.LayoutSections(&dc, &doc, client, CArticlePageLayout::targetNextSection);
            double ms = Milliseconds(std::chrono::steady_clock::now() - stepStart);
            stepTotal += ms;
            ++steps;
            t.stepMax = std::max(t.stepMax, ms);
        }
        layout.ResetPage();
        start = std::chrono::steady_clock::now();
        layout.LayoutSections(&dc, &doc, client, t.sections);
        double whole = Milliseconds(std::chrono::steady_clock::now() - start);
        t.whole = round == 0 ? whole : std::min(t.whole, whole);
        t.lines = layout.GetLineCount();
    }
    t.stepMean = steps > 0 ? stepTotal / steps : 0;
    return t;
}

// Words of varied lengths with spaces and now and then a hyphen or a full stop.
std::string Prose(std::size_t length)
{
    std::string text;
    for (int i = 0; text.size() < length; ++i) {
        text += std::string(static_cast<std::size_t>(2 + (i * 7) % 9), static_cast<char>('a' + i % 26));
        text += i % 11 == 10 ? ". " : i % 7 == 6 ? "-" : " ";
    }
    text.resize(length);
    return text;
}

std::string WriteRecordFile(const std::filesystem::path& root, const std::string& name,
                            const discbuilder::ArticleRecordSource& source)
{
    const std::string record = discbuilder::WriteArticleRecord(source);
    std::ofstream(root / name, std::ios::binary).write(record.data(), static_cast<std::streamsize>(record.size()));
    return record;
}

// The least time of a few layouts of one paragraph of the given length, per character (ns).
double PageNanosPerCharacter(const std::filesystem::path& root, std::size_t length)
{
    discbuilder::ArticleRecordSource source;
    source.rin = 1998;
    source.title = "Paragraph";
    discbuilder::RecordSection section;
    section.title = "Text";
    discbuilder::RecordRun run;
    run.text = Prose(length);
    section.runs.push_back(run);
    source.sections.push_back(section);
    const std::string record = WriteRecordFile(root, "paragraph.rcv", source);
    CArticleDocument doc;
    if (!doc.Open(new CFileReference("B:\\paragraph.rcv", static_cast<LONG>((record.size() + 511) / 512))))
        return -1;
    CDC dc;
    dc.CreateCompatibleDC(NULL);
    const RECT client = {0, 0, 800, 600};
    CArticlePageLayout layout;
    layout.SetTextSize(2);
    double best = 0;
    for (int round = 0; round < 4; ++round) {
        layout.ResetPage();
        const auto start = std::chrono::steady_clock::now();
        layout.LayoutSections(&dc, &doc, client, doc.GetSectionCount());
        const double ms = Milliseconds(std::chrono::steady_clock::now() - start);
        if (round == 1 || (round > 1 && ms < best))
            best = ms;
    }
    return best * 1e6 / static_cast<double>(length);
}

// The least time of a few layouts of a table of `cells` rows of one cell of the given length,
// per character (ns).
double TableNanosPerCharacter(const std::filesystem::path& root, std::size_t length, int cells)
{
    discbuilder::TableSource table;
    for (int c = 0; c < cells; ++c) {
        discbuilder::TableBandSource band;
        discbuilder::TableCellSource cell;
        cell.runs.push_back({Prose(length), 0, {}, true});
        band.cells.push_back(cell);
        table.bands.push_back(band);
    }
    discbuilder::ArticleRecordSource source;
    source.rin = 1997;
    source.title = "Table";
    discbuilder::RecordSection section;
    section.title = "Text";
    discbuilder::RecordRun run;
    run.text = "A table follows.";
    section.runs.push_back(run);
    source.sections.push_back(section);
    source.tables.push_back({"Cells", discbuilder::WriteTable(table)});
    const std::string record = WriteRecordFile(root, "table.rcv", source);
    CTableFontSet fonts(10);
    double best = 0;
    for (int round = 0; round < 2; ++round) {
        CArticleDocument doc;
        if (!doc.Open(new CFileReference("B:\\table.rcv", static_cast<LONG>((record.size() + 511) / 512))))
            return -1;
        const auto start = std::chrono::steady_clock::now();
        CArticleTable laidOut(&doc, 0, &fonts);
        const double ms = Milliseconds(std::chrono::steady_clock::now() - start);
        if (laidOut.IsDamaged())
            return -1;
        if (round == 0 || ms < best)
            best = ms;
    }
    return best * 1e6 / (static_cast<double>(length) * cells);
}

void Print(const char* name, const Timing& t)
{
    std::printf("%s: %d sections, %d page lines\n", name, t.sections, t.lines);
    std::printf("  first page (7 sections):   %8.2f ms  (%.2f of a 16 ms frame)\n", t.firstPage, t.firstPage / 16.0);
    std::printf("  idle step (one section):   %8.2f ms mean, %8.2f ms worst  (worst %.2f of a frame)\n", t.stepMean,
                t.stepMax, t.stepMax / 16.0);
    std::printf("  whole article at once:     %8.2f ms  (%.2f frames)\n", t.whole, t.whole / 16.0);
}

}  // namespace

// bench_article_layout [LONGEST_CELL]: the table cells measured go up to LONGEST_CELL characters
// (7,000 unless given; a smaller figure keeps a run with the sanitizers short).
int main(int argc, char** argv)
{
    const std::size_t longestCell = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 7000;
    std::random_device rd;
    std::filesystem::path root = std::filesystem::temp_directory_path() / ("vlbench-" + std::to_string(rd()));
    std::filesystem::create_directories(root);
    int status = 0;
    {
        host::MapDrive('B', root.string(), DRIVE_FIXED, "BENCH");
        CWinApp app("bench_article_layout");
        auto sources = discbuilder::ReadArticleSources(std::filesystem::path(VL_SAMPLE_DIR) / "articles");

        // The long article: sections of every sample article in turn, without their links and
        // media (which name other records), up to 200 sections or 250,000 bytes.
        discbuilder::ArticleRecordSource longest;
        longest.rin = 1999;
        longest.title = "Everything";
        for (const auto& source : sources)
            longest.pictures += source.pictures;
        std::string record;
        for (std::size_t i = 0; longest.sections.size() < 200; ++i) {
            const auto& source = sources[i % sources.size()];
            for (const auto& section : source.sections) {
                longest.sections.push_back(section);
                if (discbuilder::WriteArticleRecord(longest).size() > 250000 || longest.sections.size() == 200)
                    break;
            }
            if (discbuilder::WriteArticleRecord(longest).size() > 250000) {
                longest.sections.pop_back();
                break;
            }
        }
        record = discbuilder::WriteArticleRecord(longest);
        std::ofstream(root / "longest.rcv", std::ios::binary).write(record.data(), static_cast<std::streamsize>(record.size()));

        // The sample disc's longest article: the most text.
        const discbuilder::ArticleRecordSource* pSample = nullptr;
        std::size_t most = 0;
        for (const auto& source : sources) {
            std::size_t text = 0;
            for (const auto& section : source.sections)
                for (const auto& run : section.runs)
                    text += run.text.size();
            if (text > most) {
                most = text;
                pSample = &source;
            }
        }
        discbuilder::ArticleRecordSource sampleCopy = *pSample;
        sampleCopy.media.clear();
        sampleCopy.captions.clear();
        std::string sampleRecord = discbuilder::WriteArticleRecord(sampleCopy);
        std::ofstream(root / "sample.rcv", std::ios::binary)
            .write(sampleRecord.data(), static_cast<std::streamsize>(sampleRecord.size()));

        Timing big = Measure("B:\\longest.rcv", record.size());
        Timing sample = Measure("B:\\sample.rcv", sampleRecord.size());
        std::printf("page layout (800 x 600 window, the large text size), %zu-byte long article\n", record.size());
        Print("long article", big);
        Print(("sample \"" + pSample->title + "\"").c_str(), sample);
        if (big.lines == 0 || sample.lines == 0)
            status = 1;

        // FOLDOC's largest articles (the reference corpus, when dict-foldoc is installed).
        const std::filesystem::path dictd = "/usr/share/dictd";
        if (std::filesystem::exists(dictd / "foldoc.index")) {
            std::vector<foldoc::FoldocEntry> entries = foldoc::ReadFoldoc(dictd / "foldoc.index", dictd / "foldoc.dict.dz");
            auto size = [](const foldoc::FoldocEntry& e) {
                std::size_t n = 0;
                for (const std::string& p : e.paragraphs)
                    n += p.size();
                return n;
            };
            std::stable_sort(entries.begin(), entries.end(),
                             [&](const foldoc::FoldocEntry& a, const foldoc::FoldocEntry& b) { return size(a) > size(b); });
            entries.resize(std::min<std::size_t>(entries.size(), 3));
            const std::filesystem::path folder = root / "foldoc";
            std::filesystem::create_directories(folder);
            for (const foldoc::ArticleSourceFile& file : foldoc::MakeArticleSources(entries))
                std::ofstream(folder / file.fileName, std::ios::binary) << file.text;
            std::printf("\nFOLDOC's largest articles, whole article at once\n");
            for (discbuilder::ArticleRecordSource source : discbuilder::ReadArticleSources(folder)) {
                source.links.clear();
                std::size_t characters = 0;
                for (const auto& section : source.sections)
                    for (const auto& run : section.runs)
                        characters += run.text.size();
                const std::string bytes = WriteRecordFile(root, "foldoc.rcv", source);
                const Timing t = Measure("B:\\foldoc.rcv", bytes.size());
                std::printf("  \"%s\": %zu characters, %d page lines, %8.2f ms  (%.1f ns a character)\n",
                            source.title.c_str(), characters, t.lines, t.whole,
                            t.whole * 1e6 / static_cast<double>(std::max<std::size_t>(characters, 1)));
                if (t.lines == 0)
                    status = 1;
            }
        }

        std::printf("\nline breaking against length (time per character; ratio to the shortest)\n");
        double pageFirst = 0;
        for (std::size_t length : {4096u, 16384u, 65535u}) {
            const double ns = PageNanosPerCharacter(root, length);
            if (pageFirst == 0)
                pageFirst = ns;
            std::printf("  page, one paragraph of %6zu characters: %9.1f ns a character  (x%.2f)\n", length, ns,
                        ns / pageFirst);
            if (ns < 0)
                status = 1;
        }
        double tableFirst = 0;
        for (auto [length, cells] : {std::pair<std::size_t, int>{1000, 1}, {3500, 1}, {7000, 1}, {7000, 8}}) {
            if (length > longestCell)
                continue;
            const double ns = TableNanosPerCharacter(root, length, cells);
            if (tableFirst == 0)
                tableFirst = ns;
            std::printf("  table, %d cell(s) of %5zu characters:   %9.1f ns a character  (x%.2f)\n", cells, length, ns,
                        ns / tableFirst);
            if (ns < 0)
                status = 1;
        }
        host::ResetDrives();
    }
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
    return status;
}
