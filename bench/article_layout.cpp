// Page layout time: one idle step (one section) and the whole article, for the longest article
// at hand, against the 16 ms of one frame.
//
// The reference disc is not built on this machine yet, so the longest article is made from the
// sample articles: every section of every sample article, over and over, up to 200 sections (the
// most a record holds), with their styles, icons, thumbnails and the inline picture. The sample
// disc's own longest article is measured beside it.
#include "article/ArticleDocument.h"
#include "article/ArticlePageLayout.h"
#include "base/Reference.h"

#include <ArticleRecordWriter.h>
#include <ArticleSource.h>
#include <host/Drives.h>

#include <afxwin.h>

#include <algorithm>
#include <chrono>
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

void Print(const char* name, const Timing& t)
{
    std::printf("%s: %d sections, %d page lines\n", name, t.sections, t.lines);
    std::printf("  first page (7 sections):   %8.2f ms  (%.2f of a 16 ms frame)\n", t.firstPage, t.firstPage / 16.0);
    std::printf("  idle step (one section):   %8.2f ms mean, %8.2f ms worst  (worst %.2f of a frame)\n", t.stepMean,
                t.stepMax, t.stepMax / 16.0);
    std::printf("  whole article at once:     %8.2f ms  (%.2f frames)\n", t.whole, t.whole / 16.0);
}

}  // namespace

int main()
{
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
        host::ResetDrives();
    }
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
    return status;
}
