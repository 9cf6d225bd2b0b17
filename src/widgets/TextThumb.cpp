#include "widgets/TextThumb.h"

#include "base/PaletteSelector.h"
#include "base/Reference.h"
#include "widgets/MiniArtMarkup.h"

#include <algorithm>
#include <cctype>
#include <cstring>

IMPLEMENT_DYNAMIC(CTextThumb, CThumbnail)

BEGIN_MESSAGE_MAP(CTextThumb, CThumbnail)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

namespace {

// The pen's start on the card.
const int kLeft = 8;
const int kTop = 6;

// Endings before which a long word is hyphenated, in the order they are tried.
const char* const kEndings[] = {"OGRAPH", "ograph", "OLOGY", "ology", "IAN",  "ian",  "ism",  "ISM",  "GRAPHY",
                                "graphy", "TION",   "tion",  "SION",  "sion", "ALD",  "ald",  "TANT", "tant",
                                "STER",   "ster",   "TING",  "ting",  "SING", "sing", "IUM",  "ium"};

BOOL HasDigit(const CString& str)
{
    for (int i = 0; i < str.GetLength(); ++i)
        if (std::isdigit(static_cast<unsigned char>(str[i])))
            return TRUE;
    return FALSE;
}

BOOL IsBlankText(const CString& str)
{
    for (int i = 0; i < str.GetLength(); ++i)
        if (str[i] != ' ' && str[i] != '\t' && str[i] != '\r' && str[i] != '\n')
            return FALSE;
    return TRUE;
}

// Punctuation that never starts a line: it joins the word before it.
BOOL IsTrailingPunctuation(const CString& str)
{
    return str == "," || str == "." || str == ";" || str == ":";
}

}  // namespace

CTextThumb::CTextThumb(CReference* pReference, const CString* pText, const CString* pTitle)
{
    if (pReference != NULL)
        m_pReference = pReference->Clone();
    if (pText != NULL)
        m_strDescription = *pText;
    if (pTitle != NULL)
        m_strGivenTitle = *pTitle;
    JoinFonts();
    ComposeTitle();
}

CTextThumb::CTextThumb()
{
    JoinFonts();
}

void CTextThumb::JoinFonts()
{
    if (!m_bJoined) {
        CTextThumbFonts::Join();
        m_bJoined = TRUE;
    }
}

CTextThumb::~CTextThumb()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    if (m_bJoined)
        CTextThumbFonts::Leave();
}

CFont* CTextThumb::GetRegularFont()
{
    return CTextThumbFonts::GetFonts().pNormal;
}

CFont* CTextThumb::GetBoldFont()
{
    return CTextThumbFonts::GetFonts().pBold;
}

void CTextThumb::ComposeTitle()
{
    const BOOL bAvailable = m_pReference != NULL && m_pReference->IsFileAvailable();
    CString strTitle = bAvailable ? m_pReference->GetTitle() : m_strGivenTitle;
    strTitle.Trim();
    m_nTitleLength = m_pReference != NULL ? strTitle.GetLength() : 0;
    m_nDescriptionLength = m_strDescription.GetLength();
    if (!strTitle.IsEmpty()) {
        m_strTitle = strTitle + " " TEXTTHUMB_TITLE_END;
        if (m_strDescription.Find(strTitle) == 0)
            m_strComposed = m_strTitle + m_strDescription.Mid(strTitle.GetLength());
        else
            m_strComposed = m_strTitle + " " + m_strDescription;
    } else {
        // No title: the body alone, in regular type.
        m_strTitle.Empty();
        m_strComposed = m_strDescription.IsEmpty() ? CString() : CString(TEXTTHUMB_TITLE_END) + m_strDescription;
    }
    m_nTitleMark = 1;
}

CString CTextThumb::NextWord(CString& strText)
{
    CMiniArtTokenizer tokenizer(strText);
    CString strToken = tokenizer.NextToken();
    strText = strText.Mid(tokenizer.GetPosition());
    return strToken;
}

CString CTextThumb::SplitWord(CString strWord, CString& strRest, int nAvailable, CDC* pDC)
{
    if (strWord.IsEmpty())
        return strWord;
    strWord.TrimRight();
    m_bSplit = FALSE;
    if (HasDigit(strWord))
        return strWord;
    m_bSplit = TRUE;
    auto fits = [&](const CString& str) { return pDC->GetTextExtent(str).cx <= nAvailable; };
    auto pushBack = [&](const CString& strRemainder) { strRest = strRemainder + " " + strRest; };
    const int nLength = strWord.GetLength();

    // At a comma inside the word, without a hyphen.
    int nComma = strWord.Find(',');
    if (nComma >= 1 && nComma < nLength - 1 && fits(strWord.Left(nComma + 1))) {
        pushBack(strWord.Mid(nComma + 1));
        return strWord.Left(nComma + 1);
    }
    // Before a known ending.
    for (const char* pszEnding : kEndings) {
        const int nEnding = static_cast<int>(std::strlen(pszEnding));
        if (nLength > nEnding && strWord.Right(nEnding) == pszEnding) {
            CString strPart = strWord.Left(nLength - nEnding) + "-";
            if (fits(strPart)) {
                pushBack(strWord.Right(nEnding));
                return strPart;
            }
        }
    }
    // Before the last four letters.
    if (nLength > 4 && fits(strWord.Left(nLength - 4) + "-")) {
        pushBack(strWord.Right(4));
        return strWord.Left(nLength - 4) + "-";
    }
    // As far right as fits.
    for (int nCut = nLength - 5; nCut >= 1; --nCut) {
        CString strPart = strWord.Left(nCut) + "-";
        if (fits(strPart)) {
            pushBack(strWord.Mid(nCut));
            return strPart;
        }
    }
    m_bSplit = FALSE;
    return strWord;
}

void CTextThumb::SetThumbSize(int nHeight, int nWidth)
{
    if (GetSafeHwnd() != NULL)
        SetWindowPos(NULL, 0, 0, nWidth, nHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_rectCard.SetRect(0, 0, nWidth, nHeight);
    m_rectText = m_rectCard;
    m_rectText.DeflateRect(3, 3);
    m_rectInner = m_rectCard;
    m_rectInner.DeflateRect(10, 10);
}

void CTextThumb::LayoutText(CDC* pDC)
{
    CClientDC* pClientDC = NULL;
    CDC memoryDC;
    if (pDC == NULL) {
        if (GetSafeHwnd() != NULL) {
            pClientDC = new CClientDC(this);
            pDC = pClientDC;
        } else {
            memoryDC.CreateCompatibleDC(NULL);
            pDC = &memoryDC;
        }
    }
    if (m_rectCard.IsRectEmpty())
        SetThumbSize(THUMBNAIL_HEIGHT, THUMBNAIL_WIDTH);
    m_placed.clear();
    m_nEllipsisWord = -1;
    m_nMeasuredWidth = 0;
    m_bSplit = FALSE;

    CString strText = m_strComposed;
    if (strText.IsEmpty())
        strText = CString(TEXTTHUMB_TITLE_END) + TEXTTHUMB_NO_TEXT;

    CFont* pBold = GetBoldFont();
    CFont* pRegular = GetRegularFont();
    CFont* pOldFont = pBold != NULL ? pDC->SelectObject(pBold) : NULL;
    BOOL bBold = TRUE;
    TEXTMETRIC tm;
    pDC->GetTextMetrics(&tm);
    const int nLineHeight = std::max(1, static_cast<int>(tm.tmHeight + tm.tmExternalLeading));
    const int nGap = pDC->GetTextExtent(CString("r")).cx * 3 / 4;

    int nWidth;
    if (pDC->IsPrinting()) {
        const int nPerInch = std::max(1, pDC->GetDeviceCaps(LOGPIXELSX) / 100);
        nWidth = pDC->GetDeviceCaps(HORZRES) / nPerInch;
    } else {
        CRect rectInner = m_rectInner;
        pDC->DPtoLP(&rectInner);
        nWidth = rectInner.right;
    }
    const int nLineEnd = nWidth * 97 / 100;
    const int nSplitRoom = nWidth * 3 / 10;

    int x = kLeft, y = kTop, nLastY = kTop, cy = nLineHeight;
    int nWiden = 0;
    int nCount = 0;
    auto newLine = [&]() {
        x = kLeft;
        y += nLineHeight;
    };
    for (;;) {
        CString strToken = NextWord(strText);
        if (strToken.IsEmpty())
            break;
        // A comma standing apart joins the word before it.
        if (strText.Left(3).Find(',') >= 0) {
            CString strSaved = strText;
            CString strNext = NextWord(strText);
            CString strNextTrimmed = strNext;
            strNextTrimmed.TrimLeft();
            if (!strNextTrimmed.IsEmpty() && strNextTrimmed[0] == ',') {
                strToken.TrimRight();
                strToken += strNextTrimmed;
            } else {
                strText = strSaved;
            }
        }
        // A line end inside the text ends the line after the word.
        BOOL bBreakAfter = FALSE;
        if (strToken.FindOneOf("\r\n") >= 0) {
            bBreakAfter = strToken.Find('\n') >= 0;
            strToken.Remove('\r');
            strToken.Remove('\n');
        }
        if (strToken == TEXTTHUMB_TITLE_END) {
            if (pRegular != NULL)
                pDC->SelectObject(pRegular);
            bBold = FALSE;
            continue;
        }
        CString strWord = strToken;
        strWord.Trim();
        if (strWord.IsEmpty()) {
            if (bBreakAfter)
                newLine();
            continue;
        }
        if (bBold)
            strWord.MakeUpper();
        CSize size = pDC->GetTextExtent(strWord);

        // A word wider than a whole line: the body hyphenates it, a title word widens the card.
        if (size.cx > nLineEnd) {
            if (!bBold) {
                if (nLineEnd - x > 5) {
                    strWord = SplitWord(strWord, strText, nLineEnd - x, pDC);
                    size = pDC->GetTextExtent(strWord);
                }
            } else {
                nWiden = std::max(nWiden, static_cast<int>(size.cx) - nLineEnd);
            }
        }
        // On the card's last line a body word that does not fit ends the text with "...".
        const BOOL bLastLine = y + nLineHeight >= m_rectText.bottom;
        if (!bBold && bLastLine && x + size.cx >= nLineEnd - 3 && (x + size.cx > nLineEnd || !IsBlankText(strText))) {
            m_bSplit = FALSE;
            m_placed.push_back({CString("..."), x, y, FALSE});
            m_nMeasuredWidth = std::max(m_nMeasuredWidth, x + static_cast<int>(pDC->GetTextExtent(CString("...")).cx));
            m_nEllipsisWord = nCount;
            nLastY = y;
            break;
        }
        // Wrap: split a body word into the room left when there is enough of it, else a new line.
        if (x + size.cx > nLineEnd && x != kLeft) {
            BOOL bKept = FALSE;
            const int nRoom = nLineEnd - x;
            if (!bBold && nRoom >= nSplitRoom && nRoom > 5) {
                CString strPart = SplitWord(strWord, strText, nRoom, pDC);
                if (m_bSplit) {
                    strWord = strPart;
                    size = pDC->GetTextExtent(strWord);
                    bKept = TRUE;
                }
            }
            if (!bKept) {
                newLine();
                if (y >= m_rectInner.bottom)
                    break;  // the title ran out of card
            }
        }
        // Punctuation never starts a line.
        if (x == kLeft && !m_placed.empty() && IsTrailingPunctuation(strWord)) {
            PLACED_WORD& last = m_placed.back();
            last.strText += strWord;
            CFont* pFont = pDC->SelectObject(last.bBold ? pBold : pRegular);
            const int nRight = last.x + static_cast<int>(pDC->GetTextExtent(last.strText).cx);
            m_nMeasuredWidth = std::max(m_nMeasuredWidth, nRight);
            pDC->SelectObject(pFont);
            y = last.y;
            x = nRight + nGap;
            continue;
        }
        m_placed.push_back({strWord, x, y, bBold});
        ++nCount;
        nLastY = y;
        cy = size.cy;
        m_nMeasuredWidth = std::max(m_nMeasuredWidth, x + static_cast<int>(size.cx));
        x += size.cx + nGap;
        if (m_bSplit) {
            m_bSplit = FALSE;
            newLine();
        } else if (bBreakAfter) {
            newLine();
        }
    }
    if (pOldFont != NULL)
        pDC->SelectObject(pOldFont);

    int nMeasured = m_nMeasuredWidth;
    if (nWiden > 0)
        nMeasured = std::max(nMeasured, nLineEnd + nWiden);
    else if (nMeasured >= THUMBNAIL_WIDTH || nLastY > kTop)
        nMeasured = THUMBNAIL_WIDTH - 10;
    m_nMeasuredWidth = nMeasured;
    delete pClientDC;
    SetThumbSize(nLastY + cy + 7, nMeasured + 10);
}

int CTextThumb::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CThumbnail::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_rectCard.SetRect(0, 0, THUMBNAIL_WIDTH, THUMBNAIL_HEIGHT);
    m_rectText = m_rectCard;
    m_rectText.DeflateRect(3, 3);
    m_rectInner = m_rectCard;
    m_rectInner.DeflateRect(10, 10);
    LayoutText(NULL);
    return 0;
}

void CTextThumb::DrawText(CDC* pDC)
{
    CFont* pBold = GetBoldFont();
    CFont* pRegular = GetRegularFont();
    CFont* pOldFont = NULL;
    for (const PLACED_WORD& word : m_placed) {
        CFont* pFont = word.bBold ? pBold : pRegular;
        CFont* pPrevious = pFont != NULL ? pDC->SelectObject(pFont) : NULL;
        if (pOldFont == NULL)
            pOldFont = pPrevious;
        pDC->TextOut(word.x, word.y, word.strText);
    }
    if (pOldFont != NULL)
        pDC->SelectObject(pOldFont);
}

void CTextThumb::OnPaint()
{
    CPaintDC dc(this);
    CAppPaletteSelector palette(&dc);
    DrawCardFrame(&dc, m_rectCard, m_rectText, PALETTERGB(255, 255, 231));
    dc.SetBkColor(PALETTERGB(255, 255, 231));
    DrawText(&dc);
}

void CTextThumb::OnLButtonDblClk(UINT, CPoint)
{
    Default();
}
