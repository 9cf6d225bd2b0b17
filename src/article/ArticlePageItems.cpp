// CArticlePageWin, continued: what the page's items open. A sound icon plays its sound in place
// (CQTAudioWin under the page) with its caption in the mini-article pop-up; a timeline icon asks
// the main window for the timeline viewer; a thumbnail beside the text, or the first picture,
// opens its item in the atlas, article or media view; Find Next moves the page to the next
// search hit and, after the last, round to the first.
#include "article/ArticlePageWin.h"

#include "article/ArticleDocument.h"
#include "article/ArticleMediaOpen.h"
#include "base/AppServices.h"
#include "base/DataFolders.h"
#include "base/HitList.h"
#include "base/Reference.h"
#include "base/TimelineRequest.h"
#include "base/VLMessages.h"
#include "media/CaptionMarkup.h"
#include "media/GrfDocument.h"
#include "media/QTAudioWin.h"
#include "widgets/MiniArtThumb.h"

#include <algorithm>
#include <memory>

namespace {

const char kPassedTheEnd[] = "Find Next passed the end of the article";

// Content numbers of timelines (tm000000 to tm009999).
const DWORD kFirstTimeline = 4060000;
const DWORD kLastTimeline = 4069999;

// Guards ClosePopup against being entered again while it runs (stopping a sound can pump).
BOOL s_bClosingPopup = FALSE;

BOOL IsSkippedByFind(const PageLine& line)
{
    return line.nKind == PAGE_LINE_PICTURE || line.nKind >= PAGE_LINE_MEDIA_ICON;
}

}  // namespace

CString CaptionToMiniArticleText(LPCSTR lpszCaption)
{
    CString strText;
    CCaptionMarkup markup;
    for (const BYTE* p = reinterpret_cast<const BYTE*>(lpszCaption != NULL ? lpszCaption : ""); *p != 0; ++p)
        markup.Put(strText, *p);
    strText += "<P>";
    return strText;
}

// ---------------------------------------------------------------------------------------------
// The pop-up and sounds

void CArticlePageWin::ClosePopup()
{
    if (s_bClosingPopup)
        return;
    s_bClosingPopup = TRUE;
    if (m_pSoundWin != NULL) {
        CQTAudioWin* pSound = m_pSoundWin;
        m_pSoundWin = NULL;
        pSound->Stop();
        if (pSound->GetSafeHwnd() != NULL)
            pSound->DestroyWindow();
        delete pSound;
    }
    if (m_pMiniArt != NULL && m_pMiniArt->GetSafeHwnd() != NULL && m_pMiniArt->IsWindowVisible()) {
        m_pMiniArt->ShowWindow(SW_HIDE);
        Invalidate();
    }
    m_pLayout->m_bPopupShown = FALSE;
    s_bClosingPopup = FALSE;
}

void CArticlePageWin::OnSoundDone()
{
    m_pLayout->m_bPopupShown = FALSE;
}

LRESULT CArticlePageWin::OnMciNotify(WPARAM, LPARAM)
{
    OnSoundDone();
    return 0;
}

void CArticlePageWin::PlaySoundLine(DWORD dwRin, int nLineOffset)
{
    if (m_pLayout->m_bPopupShown)
        ClosePopup();
    if (GetAppProfileString(VL_PRODUCT_SECTION, "DSC", "").CompareNoCase("y") == 0) {
        // The sound that opening the article starts goes quietly.
        if (!m_bStartingFirstMedia)
            AfxMessageBox("Sounds have been disabled.");
        return;
    }
    if (m_bStartingFirstMedia && GetAppProfileString(VL_PRODUCT_SECTION, "PAA", "").CompareNoCase("n") == 0)
        return;
    if (nLineOffset < 0) {
        for (int i = GetTopLine(); i < GetLineCount() && m_pDocument != NULL; ++i) {
            const PageLine& line = GetLine(i);
            if (line.nKind == PAGE_LINE_MEDIA_ICON && m_pDocument->GetMediaRin(static_cast<int>(line.dwStart)) == dwRin) {
                nLineOffset = i - GetTopLine();
                break;
            }
        }
        nLineOffset = std::max(nLineOffset, 0);
    }
    CString strFolder;
    if (!GetDataDir(strFolder, 6, 1, TRUE))
        AfxThrowUserException();
    CString strPath;
    strPath.Format("%sAU%06ld.mov", static_cast<LPCSTR>(strFolder), static_cast<long>(dwRin % 1000000));
    if (m_pSoundWin == NULL) {
        m_pSoundWin = new CQTAudioWin;
        if (!m_pSoundWin->Create(this)) {
            delete m_pSoundWin;
            m_pSoundWin = NULL;
            return;
        }
    }
    if (m_pSoundWin->OpenAndPlay(strPath) != 0)
        return;
    ShowSoundCaption(dwRin, nLineOffset);
}

void CArticlePageWin::ShowSoundCaption(DWORD dwRin, int nLineOffset)
{
    m_pLayout->m_bPopupShown = TRUE;
    std::unique_ptr<CReference> pReference(new CReference(static_cast<LONG>(dwRin), ""));
    std::unique_ptr<CGrfDocument> pPicture(new CGrfDocument);
    pPicture->Load(pReference.get(), FALSE);
    if (m_pMiniArt != NULL && m_pMiniArt->GetSafeHwnd() != NULL) {
        m_pMiniArt->SetText(CaptionToMiniArticleText(pPicture->GetCaptionText()), TRUE, NULL);
        CRect rc;
        GetClientRect(&rc);
        const int nLineHeight = GetLineHeight();
        const int nOffset = std::max(nLineOffset - 1, 0);
        const int nHeight = (nOffset == 0 ? 2 : 3) * nLineHeight;
        m_pMiniArt->MoveWindow(32, nOffset * nLineHeight, std::max(rc.Width() - 42, 300), nHeight, TRUE);
        m_pMiniArt->ShowWindow(SW_SHOW);
    }
}

// ---------------------------------------------------------------------------------------------
// References, timelines

void CArticlePageWin::OnShowReference(CReference* pReference)
{
    if (m_bHighlighter)
        ToggleHighlighter();
    OpenArticleMediaReference(this, m_pDocument, pReference);
}

void CArticlePageWin::OpenMediaLine(int nItem, int nLineOffset)
{
    if (m_pDocument == NULL)
        return;
    const DWORD dwRin = m_pDocument->GetMediaRin(nItem);
    if (IsSoundRin(dwRin)) {
        PlaySoundLine(dwRin, nLineOffset);
        return;
    }
    if (m_bHighlighter)
        ToggleHighlighter();
    if (dwRin >= kFirstTimeline && dwRin <= kLastTimeline) {
        OpenTimelineNumber(dwRin);
        return;
    }
    OpenArticleMedia(this, m_pDocument, nItem);
}

void CArticlePageWin::OpenTimeline(int nItem)
{
    OpenTimelineNumber(m_pLayout->GetItemValue(nItem));
}

void CArticlePageWin::OpenTimelineNumber(DWORD dwNumber)
{
    CWnd* pFrame = GetParent();
    CWnd* pMain = GetAppMainWnd();
    if (dwNumber == 0 || pFrame == NULL || pMain == NULL || pMain->GetSafeHwnd() == NULL)
        return;
    CRect rcWindow;
    CRect rcClient;
    pFrame->GetWindowRect(&rcWindow);
    pFrame->GetClientRect(&rcClient);
    // A timeline's content number names the same timeline as its number within the kind.
    if (dwNumber >= kFirstTimeline && dwNumber <= kLastTimeline)
        dwNumber -= kFirstTimeline;
    CString strName;
    strName.Format("TM%06ld", static_cast<long>(dwNumber));
    auto* pRequest = new TimelineRequest(rcWindow.left + 40, rcWindow.top + 10, std::max(rcClient.Width() - 80, 200),
                                         std::max(rcClient.Height() - 40, 200), strName);
    if (!pMain->PostMessage(VLM_TIMELINE_VIEWER, 3, reinterpret_cast<LPARAM>(pRequest)))
        delete pRequest;
}

// ---------------------------------------------------------------------------------------------
// Find next

void CArticlePageWin::FindNext()
{
    if (m_pDocument == NULL || GetSafeHwnd() == NULL)
        return;
    CHitList* pHits = m_pDocument->GetHitList();
    if (pHits == NULL || pHits->GetCount() == 0 || pHits->GetAt(0) == NULL || pHits->GetAt(0)->GetLength() == 0)
        return;
    // Hits further down count only once their sections are laid out.
    LayoutForJump(m_pDocument->GetSectionCount());
    const int nVisible = GetPageLines();
    const int nCount = GetLineCount();
    if (nCount <= nVisible)
        return;
    const int nHits = static_cast<int>(pHits->GetCount());
    const int nTop = GetTopLine();
    int nStart = nTop + 1 + nVisible / 4;
    // At the foot of the article the search starts from the top: that is already the way round.
    BOOL bRound = FALSE;
    if (nTop < nCount - nVisible - 1) {
        PostStatusText(NULL);
    } else {
        nStart = 0;
        bRound = TRUE;
        PostStatusText(new CString(kPassedTheEnd));
    }
    int nFound = -1;
    for (int nPass = 0; nPass < 2 && nFound < 0; ++nPass) {
        if (nPass == 1) {
            nStart = 0;
            bRound = TRUE;
        }
        // A start on a picture or an icon moves on to the first line after it with text.
        while (nStart < nCount && IsSkippedByFind(GetLine(nStart)))
            ++nStart;
        for (int i = nStart; i < nCount; ++i) {
            const PageLine& line = GetLine(i);
            if (IsSkippedByFind(line))
                continue;
            const int nHit = line.nHitIndex;
            if (nHit >= nHits)
                break;
            CHitPosition* pHit = pHits->GetAt(static_cast<UINT>(nHit));
            if (pHit == NULL || static_cast<int>(pHit->GetSection()) != line.nSection || pHit->GetLength() == 0)
                continue;
            const DWORD dwOffset = pHit->GetOffset();
            if (dwOffset >= line.dwStart && dwOffset < line.dwStart + line.nLength) {
                nFound = i;
                PostStatusText(nHit == 0 && (bRound || nHits < 2) ? new CString(kPassedTheEnd) : NULL);
                break;
            }
        }
    }
    int nNewTop = nFound < 0 ? nTop : nFound - nVisible / 4;
    nNewTop = std::max(std::min(nNewTop, nCount - nVisible), 0);
    OnVScroll(SB_THUMBTRACK, static_cast<UINT>(nNewTop * GetLineHeight()), NULL);
}
