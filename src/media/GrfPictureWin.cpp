#include "media/GrfPictureWin.h"

#include "base/AppServices.h"
#include "base/DataFolders.h"
#include "base/HitList.h"
#include "base/Reference.h"
#include "base/ResourceLibrary.h"
#include "base/VLMessages.h"
#include "media/DetailCaptionBox.h"
#include "media/GrfDocument.h"
#include "media/MediaDisplayRef.h"
#include "media/QTAudioWin.h"
#include "widgets/Dib.h"

#include <afxdlgs.h>
#include <mmsystem.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// Media numbers of sound items: their picture is the program's sound picture.
const DWORD kSoundItemFirst = 5999999;
const DWORD kSoundItemLast = 7000000;

const COLORREF kHitFrameColor = 0x020000FF;

// The label pop-up: its child id and style (a visible, bordered, scrolling child).
const UINT kLabelBoxId = 1;
const DWORD kLabelBoxStyle = 0x54A00944;

LPCSTR s_pszClassName = NULL;

// The text with every byte of 0x80 and above left out.
CString PlainText(const CString& strText)
{
    CString strPlain;
    for (int i = 0; i < strText.GetLength(); ++i)
        if (static_cast<BYTE>(strText[i]) < 0x80)
            strPlain += strText[i];
    return strPlain;
}

// A font of Arial at a point size for a DC.
BOOL CreateArial(CFont& font, CDC& dc, int nPoints, int nWeight = FW_NORMAL)
{
    return font.CreateFont(-MulDiv(nPoints, dc.GetDeviceCaps(LOGPIXELSY), 72), 0, 0, 0, nWeight, FALSE, FALSE, FALSE,
                           ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_SWISS, "Arial");
}

// Height of a text word-wrapped in a width, in the DC's current font (0 for an empty text).
int MeasureText(CDC& dc, const CString& strText, int nWidth)
{
    if (strText.IsEmpty())
        return 0;
    CRect rc(0, 0, nWidth, 0);
    dc.DrawText(strText, &rc, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return rc.Height();
}

}  // namespace

IMPLEMENT_DYNAMIC(CGrfPictureWin, CVLScrollWnd)

BEGIN_MESSAGE_MAP(CGrfPictureWin, CVLScrollWnd)
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_VSCROLL()
    ON_WM_HSCROLL()
    ON_WM_DESTROY()
    ON_MESSAGE(MM_MCINOTIFY, OnMciNotify)
END_MESSAGE_MAP()

CGrfPictureWin::CGrfPictureWin(COLORREF crBackground, COLORREF crSecond)
    : m_crBackground(crBackground), m_crSecond(crSecond)
{
}

CGrfPictureWin::~CGrfPictureWin()
{
    // Destroyed here, while OnDestroy is still this class's, so that the sound stops.
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    StopHotSpotSound();
    DeleteLabel();
    FreePicture();
}

void CGrfPictureWin::FreePicture()
{
    delete m_pPicture;
    m_pPicture = NULL;
    if (m_hPalette != NULL)
        ::DeleteObject(m_hPalette);
    m_hPalette = NULL;
}

BOOL CGrfPictureWin::Create(CWnd* pParent, int cx, int cy, CGrfDocument* pDocument, BOOL bBigMap, BOOL bBorderless)
{
    FreePicture();
    if (s_pszClassName == NULL)
        s_pszClassName = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW));
    m_bBigMap = bBigMap;
    m_bBorderless = bBorderless;
    DWORD dwStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL;
    if (!bBorderless)
        dwStyle |= WS_BORDER;
    if (!CWnd::CreateEx(0, s_pszClassName, bBigMap ? "Big Map" : "Media Resource Picture Window", dwStyle,
                        CRect(0, 0, cx, cy), pParent, 0))
        return 0;
    SetDocument(pDocument, 0);
    return 1;
}

void CGrfPictureWin::SetDocument(CGrfDocument* pDocument, BOOL bKeepSize)
{
    m_bKeepSize = bKeepSize;
    m_pDocument = pDocument;
    m_nOriginX = 0;
    m_nOriginY = 0;
    m_nHotSpot = 0;
    m_sizeLast = CSize(-1, -1);
    DeleteLabel();
    FreePicture();
    m_bSoundPicture = FALSE;
    if (pDocument == NULL)
        return;

    const DWORD dwMedia = pDocument->GetMediaNumber();
    if (dwMedia < kSoundItemFirst || dwMedia > kSoundItemLast) {
        // The full picture lies in the record's own source (the archive or the record's file).
        const CString strSource = pDocument->GetImageSource();
        if (strSource.IsEmpty())
            AfxThrowUserException();
        m_pPicture = new CDib(strSource, pDocument->GetFullImagePosition());
    }
    if (dwMedia > kSoundItemFirst && dwMedia < kSoundItemLast) {
        m_bSoundPicture = TRUE;
        try {
            m_pPicture = new CDib(static_cast<UINT>(soundPictureId));
        } catch (CResourceException* e) {
            e->Delete();
        }
    }
    if (m_pPicture != NULL && m_pPicture->IsEmpty()) {
        delete m_pPicture;
        m_pPicture = NULL;
    }
    if (m_pPicture != NULL)
        m_hPalette = m_pPicture->CreatePalette();

    if (m_hWnd == NULL)
        return;
    if (m_bSoundPicture) {
        // The sound picture is shown as it is, without scroll bars, sizing or hot spots; it is
        // drawn at once over whatever the window showed before.
        ShowScrollBar(SB_BOTH, FALSE);
        Invalidate();
        return;
    }
    if (!bKeepSize && m_pPicture != NULL)
        SetWindowPos(NULL, 0, 0, m_pPicture->GetWidth(), m_pPicture->GetHeight(),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateScrollBars();
    Invalidate();
    UpdateWindow();
    SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);

    // A search that found words in a label's text pops that label up (the first such hit; hits
    // in the picture's own text sections name no label and are passed over).
    if (CHitList* pHits = DYNAMIC_DOWNCAST(CHitList, pDocument->GetReferenceData())) {
        for (int i = 0; i < pHits->GetCount(); ++i) {
            const int nCode = static_cast<int>(pHits->GetAt(static_cast<UINT>(i))->GetSection());
            if (nCode >= static_cast<int>(GRF_SECTION_TEXT) &&
                pDocument->FindLabelHotSpot(nCode - static_cast<int>(GRF_SECTION_TEXT)) != NULL) {
                ShowLabel(nCode);
                break;
            }
        }
    }
}

CSize CGrfPictureWin::CalcWindowSize(int nMaxWidth, int nMaxHeight) const
{
    if (m_pPicture == NULL)
        return CSize(0, 0);
    const int nBorderX = m_bBorderless ? 0 : 2 * ::GetSystemMetrics(SM_CXBORDER);
    const int nBorderY = m_bBorderless ? 0 : 2 * ::GetSystemMetrics(SM_CYBORDER);
    const int w = m_pPicture->GetWidth() + nBorderX;
    const int h = m_pPicture->GetHeight() + nBorderY;
    int v = h > nMaxHeight ? GetVScrollBarWidth() : 0;
    int b = w > nMaxWidth ? GetHScrollBarHeight() : 0;
    if (b != 0 && v == 0 && h + b > nMaxHeight)
        v = GetVScrollBarWidth();
    else if (v != 0 && b == 0 && w + v > nMaxWidth)
        b = GetHScrollBarHeight();
    return CSize(std::min(nMaxWidth, w + v), std::min(nMaxHeight, h + b));
}

HPALETTE CGrfPictureWin::CreatePicturePalette() const
{
    return m_pPicture != NULL ? m_pPicture->CreatePalette() : NULL;
}

// ---- painting ----------------------------------------------------------------------------------

void CGrfPictureWin::OnPaint()
{
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    // The picture's palette goes in as a background palette: its colours are on the screen
    // because the view that shows the picture realised its own palette, which holds them next to
    // the application's. Realised in the foreground it would take every free slot of the screen
    // and turn the frame's ground and toolbar into picture colours.
    HPALETTE hOld = m_hPalette != NULL ? ::SelectPalette(dc.GetSafeHdc(), m_hPalette, TRUE) : NULL;
    if (m_hPalette != NULL)
        ::RealizePalette(dc.GetSafeHdc());
    // The ground beside a picture smaller than the window.
    CBrush ground(GetBkColor());
    if (m_pPicture == NULL) {
        dc.FillRect(&rcClient, &ground);
    } else {
        const CRect rcPicture(m_nOriginX, m_nOriginY, m_nOriginX + m_pPicture->GetWidth(),
                              m_nOriginY + m_pPicture->GetHeight());
        CRgn outside;
        outside.CreateRectRgnIndirect(&rcClient);
        CRgn picture;
        picture.CreateRectRgnIndirect(&rcPicture);
        outside.CombineRgn(&outside, &picture, RGN_DIFF);
        dc.FillRgn(&outside, &ground);
        m_pPicture->Draw(&dc, m_nOriginX, m_nOriginY, 0);
    }
    CHitList* pHits = m_pDocument != NULL ? DYNAMIC_DOWNCAST(CHitList, m_pDocument->GetReferenceData()) : NULL;
    if (pHits != NULL && !m_bSoundPicture) {
        CBrush frame(kHitFrameColor);
        for (int i = 0; i < pHits->GetCount(); ++i) {
            const CHitPosition* pHit = pHits->GetAt(static_cast<UINT>(i));
            if (pHit->GetSection() != GRF_SECTION_HOTSPOTS)
                continue;
            const int nFirst = static_cast<int>(pHit->GetOffset());
            for (int k = nFirst; k < nFirst + static_cast<int>(pHit->GetLength()); ++k) {
                const GRF_HOTSPOT* pSpot = m_pDocument->GetHotSpot(k);
                if (pSpot == NULL)
                    break;
                CRect rc(pSpot->left, pSpot->top, pSpot->right, pSpot->bottom);
                rc.OffsetRect(m_nOriginX, m_nOriginY);
                dc.FrameRect(&rc, &frame);
            }
        }
    }
    if (hOld != NULL)
        ::SelectPalette(dc.GetSafeHdc(), hOld, TRUE);
}

// ---- sizing and scrolling ----------------------------------------------------------------------

void CGrfPictureWin::OnSize(UINT nType, int cx, int cy)
{
    CVLScrollWnd::OnSize(nType, cx, cy);
    if (m_pPicture == NULL || m_bSoundPicture || CSize(cx, cy) == m_sizeLast)
        return;
    m_sizeLast = CSize(cx, cy);
    DeleteLabel();
    if (m_bInSize)
        return;
    m_bInSize = TRUE;
    UpdateScrollBars();
    m_bInSize = FALSE;
}

void CGrfPictureWin::UpdateScrollBars()
{
    if (m_pPicture == NULL || m_hWnd == NULL)
        return;
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    const int nWidth = rcWindow.Width() - 2 * BorderSize();
    const int nHeight = rcWindow.Height() - 2 * BorderSize();
    const int nPicW = m_pPicture->GetWidth();
    const int nPicH = m_pPicture->GetHeight();
    BOOL bHorz = nPicW > nWidth;
    BOOL bVert = nPicH > nHeight;
    if (bHorz && !bVert)
        bVert = nPicH > nHeight - GetHScrollBarHeight();
    if (bVert && !bHorz)
        bHorz = nPicW > nWidth - GetVScrollBarWidth();
    ShowScrollBar(SB_HORZ, bHorz);
    ShowScrollBar(SB_VERT, bVert);

    CRect rcClient;
    GetClientRect(&rcClient);
    m_nMaxVertical = nPicH - rcClient.Height();
    m_nMaxHorizontal = nPicW - rcClient.Width();
    // A window grown while scrolled, or a picture smaller than the window: the positions follow
    // the largest ones.
    if (m_nMaxVertical < -m_nOriginY || (m_nOriginY == 0 && m_nMaxVertical < 0))
        SetVerticalScroll(m_nMaxVertical);
    else
        SetScrollRange(SB_VERT, 0, std::max(m_nMaxVertical, 0), FALSE);
    if (m_nMaxHorizontal < -m_nOriginX || (m_nOriginX == 0 && m_nMaxHorizontal < 0))
        SetHorizontalScroll(m_nMaxHorizontal);
    else
        SetScrollRange(SB_HORZ, 0, std::max(m_nMaxHorizontal, 0), FALSE);
}

void CGrfPictureWin::SetVerticalScroll(int nPosition)
{
    if (m_pPicture == NULL)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    const int nLargest = m_pPicture->GetHeight() - rcClient.Height();
    m_nMaxVertical = nLargest;
    const int p = std::max(nPosition, 0);
    const int nNew = p >= nLargest ? nLargest : p;
    SetScrollRange(SB_VERT, 0, std::max(nLargest, 0), FALSE);
    SetScrollPos(SB_VERT, std::max(nNew, 0), TRUE);
    Invalidate(FALSE);
    m_nOriginY = -nNew;
    UpdateWindow();
}

void CGrfPictureWin::SetHorizontalScroll(int nPosition)
{
    if (m_pPicture == NULL)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    const int nLargest = m_pPicture->GetWidth() - rcClient.Width();
    m_nMaxHorizontal = nLargest;
    const int p = std::max(nPosition, 0);
    const int nNew = p >= nLargest ? nLargest : p;
    SetScrollRange(SB_HORZ, 0, std::max(nLargest, 0), FALSE);
    SetScrollPos(SB_HORZ, std::max(nNew, 0), TRUE);
    Invalidate(FALSE);
    m_nOriginX = -nNew;
    UpdateWindow();
}

void CGrfPictureWin::OnVScroll(UINT nSBCode, UINT nPos, CWnd*)
{
    const int nNow = -m_nOriginY;
    switch (nSBCode) {
    case SB_LINEUP: SetVerticalScroll(nNow - lineStep); break;
    case SB_LINEDOWN: SetVerticalScroll(nNow + lineStep); break;
    case SB_PAGEUP: SetVerticalScroll(nNow - pageStep); break;
    case SB_PAGEDOWN: SetVerticalScroll(nNow + pageStep); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: SetVerticalScroll(static_cast<int>(nPos)); break;
    case SB_TOP: SetVerticalScroll(0); break;
    case SB_BOTTOM: SetVerticalScroll(0x7FFFFFFF); break;
    default: break;
    }
}

void CGrfPictureWin::OnHScroll(UINT nSBCode, UINT nPos, CWnd*)
{
    const int nNow = -m_nOriginX;
    switch (nSBCode) {
    case SB_LINELEFT: SetHorizontalScroll(nNow - lineStep); break;
    case SB_LINERIGHT: SetHorizontalScroll(nNow + lineStep); break;
    case SB_PAGELEFT: SetHorizontalScroll(nNow - pageStep); break;
    case SB_PAGERIGHT: SetHorizontalScroll(nNow + pageStep); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: SetHorizontalScroll(static_cast<int>(nPos)); break;
    case SB_LEFT: SetHorizontalScroll(0); break;
    case SB_RIGHT: SetHorizontalScroll(0x7FFFFFFF); break;
    default: break;
    }
}

// ---- the mouse ---------------------------------------------------------------------------------

void CGrfPictureWin::PostStatus(LPCSTR lpszText)
{
    CWnd* pMain = GetAppMainWnd();
    CString* pText = lpszText != NULL ? new CString(lpszText) : NULL;
    if (pMain == NULL || pMain->GetSafeHwnd() == NULL ||
        !pMain->PostMessage(VLM_STATUS_TEXT, 0, reinterpret_cast<LPARAM>(pText)))
        delete pText;
}

void CGrfPictureWin::OnMouseMove(UINT, CPoint point)
{
    if (m_bSoundPlaying || m_bSoundPicture || m_pDocument == NULL)
        return;
    m_nHotSpot = m_pDocument->HitTest(point.x - m_nOriginX, point.y - m_nOriginY);
    if (m_nHotSpot != 0) {
        if (GetCapture() != this)
            SetCapture();
        LONG nKind = 0;
        if (CReference* pRef = m_pDocument->GetHotSpotReference(m_nHotSpot)) {
            nKind = pRef->GetKind();
            delete pRef;
        } else if (m_pDocument->GetHotSpotSound(m_nHotSpot) != 0) {
            nKind = REFKIND_ONLINESOUND;
        }
        if (nKind == REFKIND_ARTICLE) {
            ::SetCursor(LoadProgramCursor(cursorArticle, IDC_HAND));
            PostStatus("Link to article");
            m_bStatusCleared = FALSE;
        } else if (nKind == REFKIND_MAP) {
            ::SetCursor(LoadProgramCursor(cursorMap, IDC_HAND));
            PostStatus("Link to map");
            m_bStatusCleared = FALSE;
        } else {
            ::SetCursor(LoadProgramCursor(cursorOther, IDC_ARROW));
            PostStatus(NULL);
            m_bStatusCleared = TRUE;
        }
        return;
    }
    if (GetCapture() == this)
        ReleaseCapture();
    if (!m_bStatusCleared) {
        PostStatus(NULL);
        m_bStatusCleared = TRUE;
    }
}

void CGrfPictureWin::OpenHotSpotReference(CReference* pReference)
{
    CWnd* pTop = GetTopLevelParent();
    UINT nMessage = VLM_OPEN_WINDOW;
    UINT nView = 0;
    switch (pReference->GetKind()) {
    case REFKIND_ARTICLE:
    case REFKIND_ARTICLE2: nView = IDW_ARTICLE; break;
    case REFKIND_MAP: nView = IDW_ATLAS; break;
    case REFKIND_ANIMATION:
    case REFKIND_VIDEO:
    case REFKIND_SOUND:
    case REFKIND_SIMULATION:
    case REFKIND_VIRTUALREALITY:
    case REFKIND_ONLINESOUND:
    case REFKIND_BUBBLE: nView = IDW_MEDIA; break;
    case REFKIND_PICTURE: {
        CMediaDisplayRef* pDisplay = new CMediaDisplayRef(pReference, NULL, 0);
        delete pReference;
        if (pTop == NULL || !pTop->PostMessage(VLM_POST_TO_WINDOW, IDW_MEDIA, reinterpret_cast<LPARAM>(pDisplay)))
            delete pDisplay;
        return;
    }
    default: break;
    }
    if (nView == 0 || pTop == NULL || !pTop->PostMessage(nMessage, nView, reinterpret_cast<LPARAM>(pReference)))
        delete pReference;
}

void CGrfPictureWin::OnLButtonDown(UINT, CPoint point)
{
    DeleteLabel();
    if (m_bSoundPlaying) {
        StopHotSpotSound();
        return;
    }
    if (m_bSoundPicture || m_pDocument == NULL)
        return;
    const int k = m_pDocument->HitTest(point.x - m_nOriginX, point.y - m_nOriginY);
    if (k == 0)
        return;
    const GRF_HOTSPOT* pSpot = m_pDocument->GetHotSpot(k - 1);
    if (pSpot->kind == GRF_HOTSPOT_LINK) {
        if (CReference* pRef = m_pDocument->GetHotSpotReference(k))
            OpenHotSpotReference(pRef);
    } else if (pSpot->kind == GRF_HOTSPOT_SOUND) {
        if (PlayHotSpotSound(pSpot->target)) {
            ::SetCursor(LoadProgramCursor(cursorSound, IDC_HAND));
            SetCapture();
        }
    } else if (pSpot->kind == GRF_HOTSPOT_LABEL) {
        ShowLabel(m_pDocument->GetHotSpotLabelCode(k));
    }
}

BOOL CGrfPictureWin::PlayHotSpotSound(DWORD dwSound)
{
    CString strDisabled = GetAppProfileString(VL_PRODUCT_SECTION, "DSC", "");
    if (strDisabled.CompareNoCase("y") == 0) {
        AfxMessageBox("Sounds have been disabled.", MB_OK);
        return 0;
    }
    StopHotSpotSound();
    CString strFolder;
    if (!GetDataDir(strFolder, DDT_SOUND, 1, TRUE))
        AfxThrowUserException();
    CString strPath;
    strPath.Format("%sAU%06ld.mov", static_cast<LPCSTR>(strFolder), static_cast<long>(dwSound % 1000000));
    m_pSoundWin = new CQTAudioWin;
    if (!m_pSoundWin->Create(this)) {
        delete m_pSoundWin;
        m_pSoundWin = NULL;
        return 0;
    }
    if (m_pSoundWin->OpenAndPlay(strPath) == 0)
        m_bSoundPlaying = TRUE;
    return 1;
}

void CGrfPictureWin::StopHotSpotSound()
{
    if (m_bStoppingSound)
        return;
    m_bStoppingSound = TRUE;
    m_bSoundPlaying = FALSE;
    if (GetCapture() == this)
        ReleaseCapture();
    if (m_pSoundWin != NULL) {
        CQTAudioWin* pSoundWin = m_pSoundWin;
        m_pSoundWin = NULL;
        pSoundWin->CQTWin::Stop();
        pSoundWin->Destroy();
        delete pSoundWin;
    }
    m_bStoppingSound = FALSE;
}

void CGrfPictureWin::DeleteLabel()
{
    delete m_pLabelBox;  // its destructor destroys the window
    m_pLabelBox = NULL;
}

void CGrfPictureWin::ShowLabel(int nSectionCode)
{
    DeleteLabel();
    if (m_pDocument == NULL || m_hWnd == NULL)
        return;
    const GRF_HOTSPOT* pSpot = m_pDocument->FindLabelHotSpot(nSectionCode - static_cast<int>(GRF_SECTION_TEXT));
    if (pSpot == NULL)
        return;
    m_pLabelBox = new CDetailCaptionBox(m_pDocument);
    if (!m_pLabelBox->Create(kLabelBoxStyle, CRect(-1000, -1000, -1000 + labelBoxWidth, -1000 + labelBoxHeight),
                             this)) {
        delete m_pLabelBox;
        m_pLabelBox = NULL;
        return;
    }
    m_pLabelBox->SetDlgCtrlID(kLabelBoxId);
    m_pLabelBox->ShowCaption(nSectionCode);

    // Under the label's hot spot, its top-left at the spot's bottom-left; kept inside the
    // client area (above and beside the spot when it would run off the bottom).
    CRect rcBox;
    m_pLabelBox->GetWindowRect(&rcBox);
    const int cx = rcBox.Width();
    const int cy = rcBox.Height();
    CRect rcClient;
    GetClientRect(&rcClient);
    int x = pSpot->left + m_nOriginX;
    int y = pSpot->bottom + m_nOriginY;
    if (y + cy > rcClient.bottom) {
        y -= y + cy - rcClient.bottom;
        x -= cx;
    }
    if (x < rcClient.left)
        x += cx + labelBoxGap;
    if (x + cx > rcClient.right)
        x -= x + cx - rcClient.right;
    m_pLabelBox->MoveWindow(x, y, cx, cy, TRUE);
    m_pLabelBox->Invalidate();
    m_pLabelBox->UpdateWindow();
}

LRESULT CGrfPictureWin::OnMciNotify(WPARAM wParam, LPARAM)
{
    if (wParam == MCI_NOTIFY_SUCCESSFUL || wParam == MCI_NOTIFY_FAILURE) {
        // The sound ended (or could not go on).
        if (GetCapture() == this)
            ReleaseCapture();
        m_bSoundPlaying = FALSE;
    }
    return 0;
}

void CGrfPictureWin::OnDestroy()
{
    StopHotSpotSound();
    DeleteLabel();
    FreePicture();
    CVLScrollWnd::OnDestroy();
}

// ---- printing and copying ----------------------------------------------------------------------

void CGrfPictureWin::Print()
{
    if (m_pPicture == NULL || m_pDocument == NULL)
        return;
    CPrintDialog dialog(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE |
                                   PD_NOSELECTION | PD_RETURNDC,
                        this);
    if (AfxGetApp()->DoPrintDialog(&dialog) != IDOK)
        return;
    HDC hdc = dialog.GetPrinterDC();
    if (hdc == NULL)
        return;
    CDC dc;
    dc.Attach(hdc);
    if (dc.StartDoc("Veltra Atlas") <= 0) {
        dc.DeleteDC();
        return;
    }
    const CRect page(printMarginX, printMarginY, dc.GetDeviceCaps(HORZRES) - printMarginX,
                     dc.GetDeviceCaps(VERTRES) - printMarginY);
    const int nInchY = dc.GetDeviceCaps(LOGPIXELSY);
    CFont titleFont, captionFont, smallFont;
    CreateArial(titleFont, dc, 14);
    CreateArial(captionFont, dc, 10);
    CreateArial(smallFont, dc, 8);

    const CString strTitle = m_pDocument->GetTitle();
    const CString strCaption = PlainText(m_pDocument->GetCaptionText());
    const CString strNote = PlainText(m_pDocument->GetNoteText());
    const CString strCredit = PlainText(m_pDocument->GetCreditText());
    const BOOL bLegend = m_pDocument->GetLegendPosition() != 0;
    const int nWidth = page.Width();

    CFont* pOld = dc.SelectObject(&titleFont);
    const int nTitle = MeasureText(dc, strTitle, nWidth);
    dc.SelectObject(&captionFont);
    const int nCaption = MeasureText(dc, strCaption, nWidth);
    dc.SelectObject(&smallFont);
    const int nNote = MeasureText(dc, strNote, nWidth);
    const int nCredit = MeasureText(dc, strCredit, nWidth);

    int nAvailable = page.Height() - 200;
    if (!strTitle.IsEmpty())
        nAvailable -= nTitle + 40;
    if (!strCaption.IsEmpty())
        nAvailable -= nCaption + 80;
    else if (!strNote.IsEmpty())
        nAvailable -= nNote + 80;
    nAvailable -= nCredit;
    if (bLegend)
        nAvailable -= 2 * nInchY;
    const int nPicW = m_pPicture->GetWidth();
    const int nPicH = m_pPicture->GetHeight();
    const int nScale = std::max(1, std::min(100 * nWidth / std::max(nPicW, 1), 100 * std::max(nAvailable, 1) / std::max(nPicH, 1)));
    const int nFitW = nPicW * nScale / 100;
    const int nFitH = nPicH * nScale / 100;

    dc.StartPage();
    dc.SetBkMode(TRANSPARENT);
    int y = page.top;
    if (!strTitle.IsEmpty()) {
        dc.SelectObject(&titleFont);
        CRect rc(page.left, y, page.right, y + nTitle);
        dc.DrawText(strTitle, &rc, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
        y += nTitle + 40;
    }
    HPALETTE hOldPal = m_hPalette != NULL ? ::SelectPalette(dc.GetSafeHdc(), m_hPalette, TRUE) : NULL;
    // Centred between the margins (centring on the page's right edge alone would push a
    // page-wide picture into the left margin).
    m_pPicture->DrawStretched(&dc, page.left + (page.Width() - nFitW) / 2, y, nFitW, nFitH);
    if (hOldPal != NULL)
        ::SelectPalette(dc.GetSafeHdc(), hOldPal, FALSE);
    y += nFitH + 40;
    if (bLegend) {
        if (const CString strSource = m_pDocument->GetImageSource(); !strSource.IsEmpty()) {
            CDib legend(strSource, m_pDocument->GetLegendPosition());
            if (!legend.IsEmpty() && legend.GetHeight() > 0) {
                const int nLegendH = 2 * nInchY - 40;
                const int nLegendW = legend.GetWidth() * nLegendH / legend.GetHeight();
                legend.DrawStretched(&dc, page.left, y, nLegendW, nLegendH);
                y += nLegendH + 40;
            }
        }
    }
    if (!strCaption.IsEmpty()) {
        dc.SelectObject(&captionFont);
        CRect rc(page.left, y, page.right, y + nCaption);
        dc.DrawText(strCaption, &rc, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
        y += nCaption + 40;
    } else if (!strNote.IsEmpty()) {
        dc.SelectObject(&smallFont);
        CRect rc(page.left, y, page.right, y + nNote);
        dc.DrawText(strNote, &rc, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
        y += nNote + 40;
    }
    if (!strCredit.IsEmpty()) {
        dc.SelectObject(&smallFont);
        CRect rc(page.left, y, page.right, y + nCredit);
        dc.DrawText(strCredit, &rc, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    }
    dc.SelectObject(pOld);
    dc.EndPage();
    dc.EndDoc();
    dc.DeleteDC();
}

void CGrfPictureWin::CopyToClipboard()
{
    if (m_pPicture == NULL)
        return;
    CString strText;
    if (m_pDocument != NULL)
        strText = PlainText(m_pDocument->GetCreditText() + "   " + m_pDocument->GetNoteText());
    strText.TrimRight();
    const int nPicW = m_pPicture->GetWidth();
    const int nPicH = m_pPicture->GetHeight();

    CClientDC screen(this);
    CDC memory;
    memory.CreateCompatibleDC(&screen);
    CFont font;
    font.CreateFont(MulDiv(8, screen.GetDeviceCaps(LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                    ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                    "Arial");
    CFont* pOldFont = memory.SelectObject(&font);
    const int nTextW = std::max(nPicW - 10, 1);
    const int nTextH = MeasureText(memory, strText, nTextW);

    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&screen, nPicW, nPicH + nTextH + 4);
    CBitmap* pOldBitmap = memory.SelectObject(&bitmap);
    CRect rcAll(0, 0, nPicW, nPicH + nTextH + 4);
    memory.FillSolidRect(&rcAll, RGB(255, 255, 255));
    m_pPicture->Draw(&memory, 0, 0, 0);
    memory.SetBkMode(TRANSPARENT);
    memory.SetTextColor(RGB(0, 0, 0));
    CRect rcText(5, nPicH + 2, 5 + nTextW, nPicH + 2 + nTextH);
    if (!strText.IsEmpty())
        memory.DrawText(strText, &rcText, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    memory.SelectObject(pOldFont);
    memory.SelectObject(pOldBitmap);

    // The palette: the application's display palette's entries, then the picture's.
    std::vector<PALETTEENTRY> entries;
    if (CPalette* pDisplay = GetAppDisplayPalette(); pDisplay != NULL && pDisplay->GetSafeHandle() != NULL) {
        const UINT n = pDisplay->GetEntryCount();
        entries.resize(n);
        pDisplay->GetPaletteEntries(0, n, entries.data());
    }
    if (m_hPalette != NULL) {
        const UINT n = ::GetPaletteEntries(m_hPalette, 0, 0, NULL);
        const std::size_t at = entries.size();
        entries.resize(at + n);
        ::GetPaletteEntries(m_hPalette, 0, n, entries.data() + at);
    }
    HPALETTE hClipPalette = NULL;
    if (!entries.empty()) {
        std::vector<BYTE> block(sizeof(LOGPALETTE) + entries.size() * sizeof(PALETTEENTRY));
        auto* pLog = reinterpret_cast<LOGPALETTE*>(block.data());
        pLog->palVersion = 0x300;
        pLog->palNumEntries = static_cast<WORD>(entries.size());
        std::copy(entries.begin(), entries.end(), pLog->palPalEntry);
        hClipPalette = ::CreatePalette(pLog);
    }

    if (!::OpenClipboard(m_hWnd)) {
        if (hClipPalette != NULL)
            ::DeleteObject(hClipPalette);
        return;
    }
    ::EmptyClipboard();
    ::SetClipboardData(CF_BITMAP, bitmap.Detach());
    if (hClipPalette != NULL)
        ::SetClipboardData(CF_PALETTE, hClipPalette);
    ::CloseClipboard();
}
