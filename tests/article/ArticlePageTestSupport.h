// The article page window's test fixture: the page with a fixed-pitch test face (12 pixels a
// character) on a recording top-level window, a fixture article with links, icons and a hit, and
// the helpers that find lines, characters and coloured pixels on the screen.
#pragma once

#include "ArticleTestSupport.h"

#include "article/ArticlePageWin.h"
#include "article/ArticleSection.h"
#include "base/AppServices.h"
#include "base/HiliteRecordSet.h"
#include "base/HitList.h"
#include "base/Reference.h"
#include "base/ReferenceFactory.h"
#include "base/ResourceLibrary.h"
#include "base/TimelineRequest.h"
#include "base/VLMessages.h"
#include "media/MediaDisplayRef.h"
#include "base/ReferenceList.h"
#include "widgets/TextDropTarget.h"

#include <DialogDriver.h>
#include <GifWriter.h>
#include <SampleDisc.h>
#include <host/Display.h>
#include <host/Input.h>

#include <afxres.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace article_test {


using namespace discbuilder;

const int kCharWidth = 12;

// The page with the test face; what it asks of the page items is recorded.
class TestPageWin : public CArticlePageWin {
public:
    std::vector<std::pair<DWORD, int>> sounds;
    std::vector<int> timelines;
    int findNext = 0;
    bool fixedFace = true;
    bool recordItems = true;

protected:
    void CreateSlotFont(CFont& font, int nSlot, int nTenths, CDC* pDC) override
    {
        if (!fixedFace) {
            CArticlePageWin::CreateSlotFont(font, nSlot, nTenths, pDC);
            return;
        }
        const int nHeight = (nSlot == 4 || nSlot == 5 || nSlot == 8 || nSlot == 9) ? -10 : -20;
        font.CreateFont(nHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, FIXED_PITCH, "Courier New");
    }
public:
    // With recordItems the page items are only recorded; without, the page's own run.
    void PlaySoundLine(DWORD dwRin, int nLineOffset) override
    {
        if (!recordItems)
            return CArticlePageWin::PlaySoundLine(dwRin, nLineOffset);
        sounds.push_back({dwRin, nLineOffset});
    }
    void OpenTimeline(int nItem) override
    {
        if (!recordItems)
            return CArticlePageWin::OpenTimeline(nItem);
        timelines.push_back(nItem);
    }
    void FindNext() override
    {
        if (!recordItems)
            return CArticlePageWin::FindNext();
        ++findNext;
    }
    void OnShowReference(CReference* pReference) override
    {
        if (!recordItems)
            return CArticlePageWin::OnShowReference(pReference);
        shown.push_back(pReference->GetNumber());
        delete pReference;
    }

public:
    std::vector<LONG> shown;
    using CArticlePageWin::ShowSoundCaption;
};

// The article view as the page sees it: a top-level window that records what it is posted and
// frees the objects that travel with the messages.
struct Posted {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::string text;  // a carried string, or a carried reference's link text
};

class CHostWnd : public CWnd {
public:
    std::vector<Posted> posted;
    std::vector<CRect> timelines;  // the requests' rectangles
    int copyCommands = 0;

    std::vector<Posted> Take(UINT nMsg)
    {
        std::vector<Posted> out;
        for (const Posted& p : posted)
            if (p.message == nMsg)
                out.push_back(p);
        return out;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case VLM_OPEN_WINDOW: {
            auto* pRef = reinterpret_cast<CReference*>(lParam);
            posted.push_back({message, wParam, 0, pRef != nullptr ? std::string(pRef->GetLinkText()) : ""});
            delete pRef;
            return 0;
        }
        case VLM_POST_TO_WINDOW: {
            auto* pMedia = reinterpret_cast<CMediaDisplayRef*>(lParam);
            const CReference* pRef = pMedia != nullptr ? pMedia->GetReference() : nullptr;
            posted.push_back({message, wParam, pRef != nullptr ? pRef->GetNumber() : 0,
                              pMedia != nullptr && pMedia->GetMediaList() != nullptr
                                  ? std::to_string(pMedia->GetMediaList()->GetCount())
                                  : ""});
            delete pMedia;
            return 0;
        }
        case VLM_TIMELINE_VIEWER: {
            auto* pRequest = reinterpret_cast<TimelineRequest*>(lParam);
            timelines.push_back(CRect(pRequest->m_nLeft, pRequest->m_nTop, pRequest->m_nLeft + pRequest->m_nWidth,
                                      pRequest->m_nTop + pRequest->m_nHeight));
            posted.push_back({message, wParam, 0, std::string(pRequest->m_strName)});
            delete pRequest;
            return 0;
        }
        case VLM_SHOW_LINKED_SELECTION:
        case VLM_STATUS_TEXT: {
            auto* pText = reinterpret_cast<CString*>(lParam);
            posted.push_back({message, wParam, lParam != 0, pText != nullptr ? std::string(*pText) : ""});
            delete pText;
            return 0;
        }
        case VLM_PANE_SECTION:
        case VLM_PANE_TABLE:
        case VLM_PAGE_FOCUS:
            posted.push_back({message, wParam, lParam, ""});
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == ID_EDIT_COPY)
                ++copyCommands;
            return 0;
        default:
            return CWnd::WindowProc(message, wParam, lParam);
        }
    }
};

// A drop place that records what it is given.
class CRecordingTarget : public CWndTextDropTarget {
public:
    CRecordingTarget(int nRank, int nAction, CWnd* pWnd) : CWndTextDropTarget(nRank, nAction), m_pWnd(pWnd) {}
    CWnd* GetDropWindow() override { return m_pWnd; }
    void DropText(int nAction, const CString& strText) override
    {
        received.push_back({nAction, std::string(static_cast<LPCSTR>(strText))});
    }
    std::vector<std::pair<int, std::string>> received;

private:
    CWnd* m_pWnd;
};

inline RecordRun Text(const std::string& text, int flags = 0)
{
    RecordRun run;
    run.text = text;
    run.flags = flags;
    return run;
}

inline RecordRun Icon(int kind, int item, std::uint32_t extra = 0)
{
    RecordRun run;
    run.kind = kind;
    run.style = item;
    run.extra = extra;
    return run;
}

const std::string kFirst = "Volcanoes erupt molten rock called lava onto the surface of the land.";
const std::string kLong =
    "Eruptions differ. Some are quiet and others explode with great force and send ash high into the "
    "sky where winds carry it far away from the mountain and over the sea to other lands and towns. "
    "Scientists watch the ground for swelling and small quakes before an eruption begins in earnest.";
const std::string kLast = "Ash fell on the town.";

// Offsets in the section texts (text runs follow each other in a section's text).
inline std::size_t At(const std::string& text, const std::string& word)
{
    return text.find(word);
}

// Section 0: a text paragraph, a table icon, a media icon, a centred paragraph; section 1: a long
// paragraph; section 2: one short line. Links: "Volcanoes" (article), "Eruptions" ("TF:" in
// capitals), a long article link in section 1 over three lines. One search hit on "molten".
inline ArticleRecordSource PageFixture()
{
    ArticleRecordSource s = RichArticle();
    s.sections.clear();
    RecordSection intro;
    intro.title = "Start";
    intro.runs = {Text(kFirst), Icon(5, 0), Icon(4, 0), Text(kLast, 0x1)};
    RecordSection body;
    body.title = "Eruptions";
    body.runs = {Text(kLong)};
    RecordSection end;
    end.title = "End";
    end.runs = {Text("The end.")};
    s.sections = {intro, body, end};
    const auto longStart = static_cast<std::uint32_t>(At(kLong, "Some"));
    s.links = {{"vl://001006", {PackTextPosition(0, 0, 9)}},
               {"TF:A190#D", {PackTextPosition(1, 0, 9)}},
               {"vl://001007", {PackTextPosition(1, longStart, 60)}}};
    return s;
}

inline CHitList* MoltenHit()
{
    auto* pHits = new CHitList;
    pHits->AddHit(CHitPosition(0, static_cast<UINT>(At(kFirst, "molten")), 6));
    return pHits;
}

class ArticlePageWinTest : public ArticleTest {
protected:
    void SetUp() override
    {
        ArticleTest::SetUp();
        CArticlePageWin::ResetSharedState();
        ASSERT_TRUE(WritePrivateProfileString("Veltra Jubilee 2000 (International)", "SNL", "T:\\", "T:\\vl00i1se.ini"));
        ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW)), "Article",
                                  WS_POPUP | WS_VISIBLE, CRect(0, 0, 700, 500), nullptr, 0));
        app.m_pMainWnd = &host;
    }
    void TearDown() override
    {
        page.reset();
        doc.reset();
        app.m_pMainWnd = nullptr;
        if (host.GetSafeHwnd() != nullptr)
            host.DestroyWindow();
        ResetAppServices();
        ArticleTest::TearDown();
    }

    // The page over the fixture (or another source), client area 312 x nHeight, laid out by its
    // first paint.
    TestPageWin& Show(const ArticleRecordSource& source, CHitList* pHits = nullptr, int nHeight = 200,
                      bool fixedFace = true)
    {
        doc = OpenSource(source, pHits);
        page = std::make_unique<TestPageWin>();
        page->fixedFace = fixedFace;
        CRect rc(10, 10, 10 + 312 + CVLScrollWnd::GetVScrollBarWidth(), 10 + nHeight);
        EXPECT_TRUE(page->Create("Article Text", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_VSCROLL,
                                 rc, &host, 1));
        page->ShowDocument(doc.get());
        ui::PumpUntilIdle();
        return *page;
    }

    // The first line of a section that holds the offset.
    int LineOf(int nSection, std::size_t nOffset) const
    {
        for (int i = 0; i < page->GetLineCount(); ++i) {
            const PageLine& line = page->GetLine(i);
            if (IsTextPageLine(line) && line.nSection == nSection && line.dwStart <= nOffset &&
                nOffset < line.dwStart + line.nLength)
                return i;
        }
        ADD_FAILURE() << "no line holds " << nSection << ":" << nOffset;
        return 0;
    }
    // The client point in the middle of a character.
    CPoint CharPoint(int nSection, std::size_t nOffset) const
    {
        const int nLine = LineOf(nSection, nOffset);
        const PageLine& line = page->GetLine(nLine);
        return CPoint(line.x + static_cast<int>(nOffset - line.dwStart) * kCharWidth + kCharWidth / 2,
                      (nLine - page->GetTopLine()) * page->GetLineHeight() + page->GetLineHeight() / 2);
    }
    CPoint Screen(CPoint pt) const
    {
        page->ClientToScreen(&pt);
        return pt;
    }
    // How many pixels of the character cells from nOffset on (n characters, one line) pass the test.
    int CountPixels(int nSection, std::size_t nOffset, int n, const std::function<bool(COLORREF)>& test) const
    {
        const int nLine = LineOf(nSection, nOffset);
        const PageLine& line = page->GetLine(nLine);
        CRect rc(line.x + static_cast<int>(nOffset - line.dwStart) * kCharWidth,
                 (nLine - page->GetTopLine()) * page->GetLineHeight(), 0, 0);
        rc.right = rc.left + n * kCharWidth;
        rc.bottom = rc.top + page->GetLineHeight();
        page->ClientToScreen(&rc);
        int nCount = 0;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x)
                nCount += test(host::DesktopPixel(x, y)) ? 1 : 0;
        return nCount;
    }
    static std::function<bool(COLORREF)> Exactly(BYTE r, BYTE g, BYTE b)
    {
        return [=](COLORREF c) { return c == RGB(r, g, b); };
    }
    static bool Reddish(COLORREF c) { return GetRValue(c) > 180 && GetGValue(c) < 90 && GetBValue(c) < 90; }
    static bool Bluish(COLORREF c) { return GetBValue(c) > 180 && GetRValue(c) < 90 && GetGValue(c) < 90; }
    static bool Dark(COLORREF c) { return GetRValue(c) < 90 && GetGValue(c) < 90 && GetBValue(c) < 90; }

    void Press(CPoint client)
    {
        ui::AdvanceClock(1000);  // no double click with the press before
        const CPoint pt = Screen(client);
        host::MouseMove(pt.x, pt.y);
        host::MouseDown();
        ui::PumpUntilIdle();
    }
    void MoveTo(CPoint client)
    {
        const CPoint pt = Screen(client);
        host::MouseMove(pt.x, pt.y);
        ui::PumpUntilIdle();
    }
    void Release()
    {
        host::MouseUp();
        ui::PumpUntilIdle();
    }

    CHostWnd host;
    std::unique_ptr<CArticleDocument> doc;
    std::unique_ptr<TestPageWin> page;
};

}  // namespace article_test
