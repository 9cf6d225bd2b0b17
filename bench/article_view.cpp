// Article open to first paint in the article view, beside the bare read of the same records.
//
// For each article of a disc (every one, or an even spread of 300 on a large disc) it measures
//   - bare: the record read from vl.dat, inflated and parsed (ReadArticleRecord), then freed;
//   - view: the article view asked to show the article (VLM_OPEN_WINDOW, mode 2) until its page
//     window has painted the first page (document, outline and related panes, history and recent
//     list included);
// and prints the median and the 95th percentile of each and their ratio: what the view adds.
//
//   bench_article_view [SOURCES]
// SOURCES is a folder of disc sources, such as the reference disc's (scripts/make-reference-disc
// BUILD_DIR writes BUILD_DIR/reference-sources); without it the sample disc is used.
#include "article/ArticleMainWin.h"
#include "article/ArticlePageWin.h"
#include "article/ArticleRecord.h"
#include "base/AppServices.h"
#include "base/Reference.h"
#include "base/VLMessages.h"

#include <SampleDisc.h>
#include <host/Desktop.h>
#include <host/Drives.h>

#include <afxwin.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

// An article of the archive at its block.
class CArchiveReference : public CReference {
public:
    CArchiveReference(LONG nRin, LONG nBlock, LONG nBlocks)
    {
        SetLocation(nRin, nBlock, nBlocks);
        SetKind(REFKIND_ARTICLE);
    }
    CString GetFilePath() override { return "B:\\disc\\info_dat\\vl.dat"; }
    CReference* Clone() override { return new CArchiveReference(GetNumber(), GetBlock(), GetBlockCount()); }
};

// The frame as the view sees it: it takes what the view posts and frees it.
class CSinkFrame : public CWnd {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == VLM_PUSH_STATE || (message == VLM_OPEN_WINDOW && wParam != IDW_TABLE)) {
            delete reinterpret_cast<CObject*>(lParam);
            return 0;
        }
        if (message == VLM_RECENT_ARTICLES) {
            delete reinterpret_cast<CStringArray*>(lParam);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

void Pump()
{
    MSG msg;
    while (::PeekMessage(&msg, NULL, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
}

double Milliseconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double Percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[std::min(v.size() - 1, static_cast<std::size_t>(p * static_cast<double>(v.size())))];
}

}  // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path sources = argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::path(VL_SAMPLE_DIR);
    std::random_device rd;
    std::filesystem::path root = std::filesystem::temp_directory_path() / ("vlbench-" + std::to_string(rd()));
    std::filesystem::create_directories(root);
    int status = 0;
    {
        discbuilder::SampleDiscReport disc = discbuilder::BuildSampleDisc(sources, root / "disc");
        host::MapDrive('B', root.string(), DRIVE_FIXED, "BENCH");
        host::SetDesktopSize(1024, 768);
        CWinApp app("bench_article_view");
        app.m_pszProfileName = "B:\\bench.ini";
        WritePrivateProfileString("Files", "DataDir", "B:\\disc\\info_dat\\", "B:\\bench.ini");
        AppServices().env.nScreenClass = 2;

        std::vector<discbuilder::ArchivedRecord> articles = disc.articles;
        if (articles.size() > 300) {
            std::vector<discbuilder::ArchivedRecord> spread;
            for (std::size_t i = 0; i < 300; ++i)
                spread.push_back(articles[i * articles.size() / 300]);
            articles.swap(spread);
        }

        CSinkFrame frame;
        frame.CreateEx(0, AfxRegisterWndClass(0), "Frame", WS_POPUP | WS_VISIBLE, CRect(0, 0, 1024, 768), nullptr, 0);
        auto* view = new CArticleMainWin;
        view->Create(&frame, CRect(0, 50, 1024, 768));
        view->ShowWindow(SW_SHOW);
        Pump();

        std::vector<double> bare, shown;
        for (int round = 0; round < 2; ++round) {  // the first round warms the file cache
            bare.clear();
            shown.clear();
            for (const discbuilder::ArchivedRecord& r : articles) {
                auto t0 = std::chrono::steady_clock::now();
                FreeArticleRecord(ReadArticleRecord("B:\\disc\\info_dat\\vl.dat", r.block,
                                                    static_cast<DWORD>(r.blockCount)));
                auto t1 = std::chrono::steady_clock::now();
                view->SendMessage(VLM_OPEN_WINDOW, 2,
                                  reinterpret_cast<LPARAM>(new CArchiveReference(r.rin, r.block, r.blockCount)));
                view->GetPageWin()->UpdateWindow();
                auto t2 = std::chrono::steady_clock::now();
                Pump();
                bare.push_back(Milliseconds(t1 - t0));
                shown.push_back(Milliseconds(t2 - t1));
            }
        }
        std::printf("article view: %zu articles of %s\n", articles.size(), sources.string().c_str());
        std::printf("  read + inflate + parse:      median %8.3f ms   p95 %8.3f ms\n", Percentile(bare, 0.5),
                    Percentile(bare, 0.95));
        std::printf("  open to first paint (view):  median %8.3f ms   p95 %8.3f ms\n", Percentile(shown, 0.5),
                    Percentile(shown, 0.95));
        std::printf("  the view adds %.1fx the bare read at the median, %.1fx at p95\n",
                    Percentile(shown, 0.5) / std::max(Percentile(bare, 0.5), 1e-6),
                    Percentile(shown, 0.95) / std::max(Percentile(bare, 0.95), 1e-6));
        if (articles.empty())
            status = 1;
        view->DestroyWindow();
        delete view;
        frame.DestroyWindow();
        host::ResetDrives();
    }
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
    return status;
}
