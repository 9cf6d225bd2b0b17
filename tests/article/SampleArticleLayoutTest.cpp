// The sample disc's articles laid out with the page's own fonts: every line kind and style the
// layout knows appears, every table loads and lays out, idle layout finishes every article; two
// pages are drawn from their page lines into pictures to look at.
#include "ArticleTestSupport.h"

#include "article/ArticlePageLayout.h"
#include "article/ArticleSection.h"
#include "article/ArticleTable.h"
#include "widgets/Dib.h"

#include <SampleDisc.h>
#include <host/Surface.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>

namespace article_test {
namespace {

const RECT kClient = {0, 0, 612, 480};

class SamplePageLayout : public CArticlePageLayout {
public:
    SamplePageLayout() { SetTextSize(1); }
    ~SamplePageLayout() override { ResetPage(); }

protected:
    CWnd* CreateThumbnailWindow(CArticleDocument*, int) override
    {
        auto* pWnd = new CWnd;
        pWnd->CreateEx(0, "STATIC", "", WS_POPUP, 0, 4000, 140, 105, NULL, 0);
        return pWnd;
    }
};

// Draws the page lines the way a page shows them, enough to see the layout: text in its style
// fonts (small styles raised or lowered), pictures, icon lines with their titles, thumbnails as
// grey boxes. Returns the bitmap's host PNG path.
std::string DrawPage(SamplePageLayout& layout, CArticleDocument& doc, CDC& dc, const std::string& png)
{
    const int nHeight = layout.GetLineHeight();
    const int nLines = std::min(layout.GetLineCount(), 1400 / nHeight);
    CBitmap bitmap;
    HDC hScreen = ::GetDC(NULL);  // a colour bitmap: the memory context alone holds one bit
    bitmap.Attach(::CreateCompatibleBitmap(hScreen, 620, nLines * nHeight + 8));
    ::ReleaseDC(NULL, hScreen);
    CBitmap* pOldBitmap = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, 620, nLines * nHeight + 8, RGB(255, 255, 231));
    dc.SetBkMode(TRANSPARENT);
    CFont* pOldFont = dc.SelectObject(layout.GetFont(0));
    std::map<int, std::unique_ptr<CArticleSection>> sections;
    for (int i = 0; i < nLines; ++i) {
        const PageLine& line = layout.GetLine(i);
        const int y = 4 + i * nHeight;
        if (line.nKind == PAGE_LINE_PICTURE) {
            if (line.nLineInParagraph == 0) {
                int nPicture = 0;
                while (layout.GetPictureOffset(nPicture) != line.dwStart)
                    ++nPicture;
                CDib dib(doc.GetPictureArea() + line.dwStart,
                         layout.GetPictureOffset(nPicture + 1) - layout.GetPictureOffset(nPicture));
                dib.Draw(&dc, line.x, y);
            }
            continue;
        }
        if (line.nKind >= PAGE_LINE_MEDIA_ICON) {
            dc.FillSolidRect(8, y + 2, 18, nHeight - 4, RGB(40, 90, 160));
            dc.SelectObject(layout.GetFont(0));
            LPCSTR title = line.nKind == PAGE_LINE_MEDIA_ICON   ? doc.GetMediaCaption(static_cast<int>(line.dwStart))
                           : line.nKind == PAGE_LINE_TABLE_ICON ? doc.GetTableTitle(static_cast<int>(line.dwStart))
                                                                : doc.GetExtraItemTitle(static_cast<int>(line.dwStart));
            if (title != nullptr)
                dc.TextOut(line.x, y, title);
            continue;
        }
        if ((line.nKind == PAGE_LINE_THUMBNAIL_LEFT || line.nKind == PAGE_LINE_THUMBNAIL_RIGHT) &&
            (i == 0 || layout.GetLine(i - 1).nThumbnailSlot != line.nThumbnailSlot ||
             layout.GetLine(i - 1).nKind != line.nKind)) {
            const int xThumb = line.nKind == PAGE_LINE_THUMBNAIL_LEFT ? 0 : layout.GetTextWidth() - 140;
            dc.FillSolidRect(xThumb, y, 140, 105, RGB(170, 170, 170));
        }
        if (line.nLength == 0)
            continue;
        auto& pSection = sections[line.nSection];
        if (!pSection)
            pSection.reset(doc.GetSection(line.nSection));
        const BYTE* pStyles = pSection->GetStyleTable();
        LPCSTR pText = reinterpret_cast<LPCSTR>(pSection->GetText());
        DWORD dwOffset = line.dwStart;
        const DWORD dwEnd = line.dwStart + line.nLength;
        int nStyle = line.nStyleIndex;
        DWORD dwStyleStart = line.nStyleStart;
        int x = line.x;
        while (dwOffset < dwEnd) {
            WORD wEntry = nStyle < pSection->GetShortListCount() ? ArticleWord(pStyles + 2 * nStyle) : 0;
            DWORD dwLength = (wEntry & 1) ? wEntry >> 5 : wEntry >> 1;
            DWORD dwRunEnd = nStyle < pSection->GetShortListCount() ? dwStyleStart + dwLength : dwEnd;
            const int nSlot = CArticlePageLayout::StyleFontSlot(wEntry);
            dc.SelectObject(layout.GetFont(nSlot));
            const int n = static_cast<int>(std::min(dwRunEnd, dwEnd) - dwOffset);
            const int dy = (nSlot == 5 || nSlot == 9) ? nHeight / 4 : 0;
            if (n > 0) {
                dc.TextOut(x, y + dy, pText + dwOffset, n);
                x += dc.GetTextExtent(pText + dwOffset, n).cx;
                dwOffset += static_cast<DWORD>(n);
            }
            if (dwOffset >= dwRunEnd) {
                dwStyleStart = dwRunEnd;
                ++nStyle;
            }
        }
    }
    dc.SelectObject(pOldFont);
    dc.SelectObject(pOldBitmap);
    auto pSurface = host::SurfaceOfBitmap(static_cast<HBITMAP>(bitmap.GetSafeHandle()));
    EXPECT_TRUE(pSurface && pSurface->WritePng(png));
    if (const char* keep = std::getenv("VL_SCREENSHOT_DIR"))
        std::filesystem::copy_file(png, std::filesystem::path(keep) / std::filesystem::path(png).filename(),
                                   std::filesystem::copy_options::overwrite_existing);
    return png;
}

class SampleArticleLayoutTest : public ArticleTest {};

TEST_F(SampleArticleLayoutTest, EverySampleArticleLaysOutWithEveryKindOfLine)
{
    discbuilder::SampleDiscReport disc = discbuilder::BuildSampleDisc(VL_SAMPLE_DIR, HostT("sample"));
    ASSERT_TRUE(WritePrivateProfileString("Files", "DataDir", "T:\\sample\\info_dat\\", "T:\\vl00i1se.ini"));
    CDC dc;
    dc.CreateCompatibleDC(NULL);
    std::set<int> kinds, styles;
    int nTables = 0, nFrozen = 0, nFootnoted = 0, nWrapped = 0;
    int nLongest = 0;
    for (const auto& place : disc.articles) {
        SCOPED_TRACE(place.rin);
        CArticleDocument doc;
        ASSERT_TRUE(OpenDocument(doc, "T:\\sample\\info_dat\\vl.dat", static_cast<LONG>(place.block),
                                 place.blockCount));
        SamplePageLayout layout;
        layout.LayoutSections(&dc, &doc, kClient, CArticlePageLayout::targetFirstPage);
        LONG lCount = 0;
        while (layout.OnIdle(lCount, &dc, &doc, kClient))
            ASSERT_LT(++lCount, 10 * 210);
        EXPECT_TRUE(layout.IsComplete(&doc));
        EXPECT_GT(layout.GetLineCount(), 0);
        for (int i = 0; i < layout.GetLineCount(); ++i) {
            const PageLine& line = layout.GetLine(i);
            kinds.insert(line.nKind);
            ASSERT_LE(line.x + 0, 612);
        }
        for (int s = 0; s < doc.GetSectionCount(); ++s) {
            std::unique_ptr<CArticleSection> pSection(doc.GetSection(s));
            for (int e = 0; e < pSection->GetShortListCount(); ++e) {
                WORD wEntry = ArticleWord(pSection->GetStyleTable() + 2 * e);
                if (wEntry & 1)
                    styles.insert((wEntry >> 1) & 0x0F);
            }
            int nLines = 0;
            for (int i = 0; i < layout.GetLineCount(); ++i)
                nLines += layout.GetLine(i).nSection == s;
            nLongest = std::max(nLongest, nLines);
        }
        CTableFontSet fonts(11);
        for (int t = 0; t < doc.GetTableCount(); ++t) {
            CArticleTable table(&doc, t, &fonts);
            ASSERT_FALSE(table.IsDamaged()) << table.GetDamage();
            ++nTables;
            nFrozen += table.GetFrozenColumnEdge() > 0;
            nFootnoted += table.GetFootnoteLineCount() > 0 && table.HasFootnotes();
            for (int r = 0; r < table.GetRunCount(); ++r)
                nWrapped += table.GetRunLayout(r).nLines > 1;
            EXPECT_GT(table.GetLineCount(), 0);
        }
        if (place.rin == 1002 || place.rin == 1003)
            DrawPage(layout, doc, dc, (dir.path() / ("page-" + std::to_string(place.rin) + ".png")).string());
    }
    EXPECT_EQ(kinds, (std::set<int>{0, 1, 2, 3, 6, 7, 8}));
    EXPECT_EQ(styles, (std::set<int>{0, 2, 4, 5, 6, 7, 8, 9}));
    EXPECT_GE(nTables, 2);
    EXPECT_GE(nFrozen, 1);
    EXPECT_GE(nFootnoted, 1);
    EXPECT_GE(nWrapped, 1);
    EXPECT_GE(nLongest, 30);  // the long section
}

}  // namespace
}  // namespace article_test
