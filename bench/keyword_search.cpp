// Word search benchmark: a fixed query set on the reference corpus (the FOLDOC dictionary as
// articles, indexed by the disc builder), timed side by side in one run:
//   - the keyword engine, each query with an empty result cache (words read from the files);
//   - the oracle: a plain scan of every article text, then the query by brute force;
//   - Xapian's `quest` on the same texts indexed by `scriptindex`, where xapian-tools and
//     xapian-omega are installed (scripts/install-deps bench); its time includes starting the
//     program, so the time of a query that finds nothing is printed too.
// Prints the median and 95th percentile of each, and the ratio engine / Xapian.
//
// Then the whole path of the search pane on the sample disc: word queries typed into the pane's
// first field and the Search button pressed, through the spelling check, the search engine's
// word search, the title lookups and the result list's rows, until the list is filled; beside
// the keyword engine alone on the same queries. Prints both and the ratio pane / engine.
//
//   bench_keyword_search [DICTD_FOLDER [LIMIT]]
#include "base/AppServices.h"
#include "base/ResourceLibrary.h"
#include "base/VLMessages.h"
#include "search/KeywordIndex.h"
#include "search/PagingStore.h"
#include "search/QueryParser.h"
#include "search/SearchEngine.h"
#include "search/SearchTabWin.h"
#include "search/SpellCheckDlg.h"

#include <ArticleSource.h>
#include <FoldocSource.h>
#include <KeywordIndexWriter.h>
#include <KeywordOracle.h>
#include <SampleDisc.h>

#include <host/Drives.h>
#include <host/Paths.h>

#include <afxwin.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct BenchQuery {
    const char* query;   // our query language
    const char* xapian;  // the nearest Xapian query
};

const BenchQuery kQueries[] = {
    {"language", "language"},
    {"compiler", "compiler"},
    {"unix or linux", "unix OR linux"},
    {"compiler and language", "compiler AND language"},
    {"memory without cache", "memory AND NOT cache"},
    {"\"operating system\"", "\"operating system\""},
    {"\"programming language\"", "\"programming language\""},
    {"programming language", "programming NEAR/1 language"},
    {"source andw1 code", "source NEAR/1 code"},
    {"network andh protocol", "network AND protocol"},
    {"software anda hardware", "software AND hardware"},
    {"data andp structure", "data AND structure"},
    {"(unix or c) and (program or system)", "(unix OR c) AND (program OR system)"},
    {"algol nearw3 language", "algol NEAR/3 language"},
    {"standard &p3 ansi", "standard AND ansi"},
    {"A1990D or A1995D", "1990 OR 1995"},
    {"language /d1", "language"},
    {"\"@computer program\"", "computer AND program"},
    {"protocol withoutp internet", "protocol AND NOT internet"},
    {"jargon file", "jargon NEAR/1 file"},
};

double Milliseconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

struct Figures {
    double median = 0, p95 = 0;
};

Figures Summarise(std::vector<double> v)
{
    Figures f;
    if (v.empty())
        return f;
    std::sort(v.begin(), v.end());
    f.median = v[v.size() / 2];
    f.p95 = v[std::min(v.size() - 1, static_cast<std::size_t>(v.size() * 0.95))];
    return f;
}

bool HaveProgram(const char* name)
{
    return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

std::string ShellQuote(const std::string& s)
{
    std::string out = "'";
    for (char ch : s)
        out += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    return out + "'";
}

// Indexes the texts with scriptindex into folder/xapian; false when that fails.
bool BuildXapian(const std::filesystem::path& folder, const std::vector<discbuilder::IndexedArticle>& articles)
{
    std::ofstream script(folder / "index.script");
    script << "id : boolean=Q unique=Q\ntext : index\n";
    script.close();
    std::ofstream input(folder / "input.txt", std::ios::binary);
    for (const discbuilder::IndexedArticle& article : articles) {
        input << "id=" << article.rin << "\n";
        for (const auto& section : article.sections)
            for (const std::string& paragraph : section) {
                std::string line = paragraph;
                std::replace(line.begin(), line.end(), '\n', ' ');
                input << "text=" << line << "\n";
            }
        input << "\n";
    }
    input.close();
    const std::string command = "scriptindex " + ShellQuote((folder / "xapian").string()) + " " +
                                ShellQuote((folder / "index.script").string()) + " " +
                                ShellQuote((folder / "input.txt").string()) + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

double TimeQuest(const std::filesystem::path& db, const char* query)
{
    const std::string command = "quest -m 100 -d " + ShellQuote(db.string()) + " " + ShellQuote(query) + " >/dev/null 2>&1";
    auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0)
        return -1;
    return Milliseconds(start);
}

// The frame as the pane sees it: it takes the article the pane opens and frees it.
class CSinkFrame : public CWnd {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == VLM_OPEN_FOUND_ITEM || message == VLM_OPEN_WINDOW) {
            delete reinterpret_cast<CObject*>(lParam);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

const char* const kPaneQueries[] = {
    "volcano", "water", "light", "radio", "music", "lava or jazz", "water and plates", "radio or music or light",
};

// The search pane's whole path on the sample disc, against the keyword engine alone.
void BenchSearchPane(const std::filesystem::path& folder)
{
    std::printf("\nThe search pane on the sample disc: Search button to the filled result list\n");
    discbuilder::BuildSampleDisc(VL_SAMPLE_DIR, folder / "sample");
    ::WritePrivateProfileString("Files", "DataDir", "T:\\sample\\info_dat\\", "T:\\vl00i1se.ini");
    if (!LoadAppPalettes()) {
        std::printf("the palettes do not load\n");
        return;
    }
    AppServices().env.nScreenWidth = 1024;
    if (auto library = host::FromHostPath(std::string(VL_LIBRARY_DIR) + "/vl_res0.dll"))
        AppServices().env.hResourceLibrary = ::LoadLibrary(library->c_str());
    CSearchEngine engine;
    AppServices().owned.pSearchEngine = &engine;
    if (!engine.Init()) {
        std::printf("the search engine does not open on the sample disc\n");
        return;
    }
    CSinkFrame frame;
    frame.CreateEx(0, AfxRegisterWndClass(0), "Frame", WS_POPUP | WS_VISIBLE, CRect(0, 0, 1024, 768), nullptr, 0);
    AfxGetApp()->m_pMainWnd = &frame;
    {
        CSearchTabWin pane;
        if (!pane.Create(CPoint(10, 16), &frame)) {
            std::printf("the pane is not made\n");
            return;
        }
        pane.ShowWindow(SW_SHOW);
        pane.SendMessage(WM_COMMAND, IDC_SEARCH_WORD_MODE);
        auto pump = [] {
            MSG msg;
            while (::PeekMessage(&msg, NULL, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessage(&msg);
            }
        };
        pump();
        const int kRuns = 15;
        std::vector<double> engineAll, paneAll;
        std::printf("\n%-32s %7s %9s %9s %7s\n", "query", "rows", "engine", "pane", "ratio");
        for (const char* query : kPaneQueries) {
            // Only queries that find something with every word known: no box or pop-up waits.
            CSpellCheckDlg spell(CRect(0, 0, 1, 1), NULL);
            spell.FindMisspelt(query);
            KeywordFreeResults();
            if (!spell.GetMisspelt().empty() || RunKeywordQuery(query) == NULL) {
                std::printf("%-32s skipped (a word the index lacks, or no hit)\n", query);
                continue;
            }
            std::vector<double> alone, whole;
            for (int run = 0; run < kRuns; ++run) {
                KeywordFreeResults();
                auto t = std::chrono::steady_clock::now();
                RunKeywordQuery(query);
                alone.push_back(Milliseconds(t));
                KeywordFreeResults();
                pane.GetWordField(0).SetWindowText(query);
                t = std::chrono::steady_clock::now();
                pane.SendMessage(WM_COMMAND, IDC_SEARCH_GO);
                whole.push_back(Milliseconds(t));
                pump();
            }
            const Figures a = Summarise(alone), w = Summarise(whole);
            engineAll.insert(engineAll.end(), alone.begin(), alone.end());
            paneAll.insert(paneAll.end(), whole.begin(), whole.end());
            std::printf("%-32s %7d %9.3f %9.3f %7.1f\n", query, pane.GetResultList().GetCount(), a.median, w.median,
                        w.median / std::max(a.median, 1e-6));
        }
        const Figures a = Summarise(engineAll), w = Summarise(paneAll);
        std::printf("\n%-22s %12s %12s\n", "latency (ms)", "median", "p95");
        std::printf("%-22s %12.3f %12.3f\n", "keyword engine", a.median, a.p95);
        std::printf("%-22s %12.3f %12.3f\n", "pane, button to list", w.median, w.p95);
        std::printf("pane / engine         %12.2f %12.2f\n", w.median / std::max(a.median, 1e-6),
                    w.p95 / std::max(a.p95, 1e-6));
    }
    AfxGetApp()->m_pMainWnd = NULL;
    frame.DestroyWindow();
    AppServices().owned.pSearchEngine = NULL;
    engine.Cleanup();
    if (AppServices().env.hResourceLibrary != NULL)
        ::FreeLibrary(AppServices().env.hResourceLibrary);
    AppServices().env.hResourceLibrary = NULL;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path dictd = argc > 1 ? argv[1] : "/usr/share/dictd";
    const std::size_t limit = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 0;

    std::printf("Reading the corpus from %s ...\n", dictd.string().c_str());
    std::vector<discbuilder::IndexedArticle> articles;
    for (const foldoc::ArticleSourceFile& file :
         foldoc::MakeArticleSources(foldoc::ReadFoldoc(dictd / "foldoc.index", dictd / "foldoc.dict.dz", limit))) {
        discbuilder::ArticleRecordSource source = discbuilder::ParseArticleSource(file.text, file.fileName);
        articles.push_back(discbuilder::IndexedArticleFrom(source, source.category));
    }
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("vl-bench-keyword-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder / "data");
    auto start = std::chrono::steady_clock::now();
    const discbuilder::KeywordIndexFiles files = discbuilder::BuildKeywordIndex(articles);
    discbuilder::WriteKeywordIndex(files, folder / "data");
    std::printf("%zu articles, %zu words, %zu occurrences indexed in %.0f ms\n", articles.size(), files.words,
                files.occurrences.size() / 10 - 1, Milliseconds(start));

    host::MapDrive('T', folder.string(), DRIVE_FIXED, "BENCH");
    CWinApp app("vl00i1se");
    app.m_pszProfileName = "T:\\vl00i1se.ini";
    ::WritePrivateProfileString("Files", "DataDir", "T:\\data", "T:\\vl00i1se.ini");
    ::setenv("VMPATH", "T:\\", 1);  // the paging store's swap file beside the index
    if (KeywordInit() != 1) {
        std::printf("the keyword engine does not open\n");
        return 1;
    }

    const bool xapian = HaveProgram("quest") && HaveProgram("scriptindex") && BuildXapian(folder, articles);
    double questBaseline = 0;
    if (xapian) {
        std::vector<double> v;
        for (int i = 0; i < 5; ++i)
            v.push_back(TimeQuest(folder / "xapian", "qqqqzzzz"));
        questBaseline = Summarise(v).median;
    }

    const int kRuns = 7;
    std::vector<double> engineAll, oracleAll, questAll;
    std::printf("\n%-40s %9s %9s %9s %9s\n", "query", "records", "engine", "oracle", "quest");
    for (const BenchQuery& q : kQueries) {
        std::vector<double> engine;
        DWORD records = 0;
        for (int run = 0; run < kRuns; ++run) {
            KeywordFreeResults();
            auto t = std::chrono::steady_clock::now();
            RESULT_SET* pSet = RunKeywordQuery(q.query);
            engine.push_back(Milliseconds(t));
            records = pSet != NULL ? pSet->dwCount : 0;
        }
        std::vector<double> oracle;
        for (int run = 0; run < 2; ++run) {
            auto t = std::chrono::steady_clock::now();
            KeywordOracle scan(articles, files);  // the plain scan of every text
            OracleResult result = scan.Answer(q.query);
            oracle.push_back(Milliseconds(t));
            if (result.kind == OracleResult::Records && result.records.size() != records && records < KEYWORD_MAX_RECORDS)
                std::printf("  (the oracle finds %zu records)\n", result.records.size());
        }
        std::vector<double> quest;
        if (xapian)
            for (int run = 0; run < 3; ++run)
                quest.push_back(TimeQuest(folder / "xapian", q.xapian));
        const Figures e = Summarise(engine), o = Summarise(oracle), x = Summarise(quest);
        engineAll.insert(engineAll.end(), engine.begin(), engine.end());
        oracleAll.insert(oracleAll.end(), oracle.begin(), oracle.end());
        questAll.insert(questAll.end(), quest.begin(), quest.end());
        if (xapian)
            std::printf("%-40s %9lu %9.3f %9.1f %9.1f\n", q.query, static_cast<unsigned long>(records), e.median, o.median, x.median);
        else
            std::printf("%-40s %9lu %9.3f %9.1f %9s\n", q.query, static_cast<unsigned long>(records), e.median, o.median, "-");
    }
    const Figures e = Summarise(engineAll), o = Summarise(oracleAll), x = Summarise(questAll);
    std::printf("\n%-22s %12s %12s\n", "latency (ms)", "median", "p95");
    std::printf("%-22s %12.3f %12.3f\n", "engine", e.median, e.p95);
    std::printf("%-22s %12.1f %12.1f\n", "oracle (plain scan)", o.median, o.p95);
    std::printf("engine / oracle       %12.4f %12.4f\n", e.median / o.median, e.p95 / o.p95);
    if (xapian) {
        std::printf("%-22s %12.1f %12.1f   (a query that finds nothing: %.1f ms)\n", "xapian quest", x.median, x.p95, questBaseline);
        std::printf("engine / quest        %12.4f %12.4f\n", e.median / x.median, e.p95 / x.p95);
        const double xm = std::max(x.median - questBaseline, 1e-3), xp = std::max(x.p95 - questBaseline, 1e-3);
        std::printf("engine / quest less its start-up %5.4f %12.4f\n", e.median / xm, e.p95 / xp);
    } else {
        std::printf("xapian quest: not installed (scripts/install-deps bench)\n");
    }
    KeywordShutdown();
    VmShutdown();
    BenchSearchPane(folder);
    KeywordShutdown();
    VmShutdown();
    std::filesystem::remove_all(folder);
    return 0;
}
