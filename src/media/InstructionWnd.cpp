#include "media/InstructionWnd.h"

#include "base/AppServices.h"
#include "base/PaletteSelector.h"
#include "base/VLMessages.h"
#include "widgets/DibButton.h"
#include "widgets/MiniArtThumb.h"
#include "widgets/RadioButton.h"

#include "resource.h"

#include <algorithm>
#include <new>

BEGIN_MESSAGE_MAP(CInstructionWnd, CGenericTabWin)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_CTLCOLOR()
    ON_COMMAND_RANGE(INSTRUCT_CMD_ANIMATIONS, INSTRUCT_CMD_PICTURES, OnPageCommand)
    ON_MESSAGE(VLM_RADIO_CHECKED, OnRadioChecked)
    ON_WM_SHOWWINDOW()
    ON_MESSAGE(WM_CHILDACTIVATE, OnChildActivate)
END_MESSAGE_MAP()

const char g_szInstructVideoText[] =
    "To control playback of a video, use the grey control bar beneath the media window.<P></P>1.  STARTING AND "
    "PAUSING. A video will automatically start playing when you open it. To pause playback, click the second "
    "button from the left which has two vertical lines. To start playback again, click on this same button which "
    "will have changed to a left arrow.<P></P>2.  VOLUME CONTROL. To adjust the sound level, use the speaker "
    "button.<P></P>3.  FAST FORWARD/REVERSE. The control bar contains a slider that moves during playback. To "
    "move quickly through a video, drag the slider to the left or right.<P></P>4.  FRAME-BY-FRAME PLAYBACK. To "
    "move forwards or backwards one frame at a time, use the two arrow buttons at the right.";

namespace {

const int kHeights[3] = {237, 297, 401};
const int kWidths[3] = {174, 174, 218};
const int kTabAreaHeight = 50;

CString LoadText(UINT nId)
{
    CString str;
    str.LoadString(nId);
    return str;
}

int ClassIndex(int nScreenClass)
{
    return std::clamp(nScreenClass, 0, 2);
}

}  // namespace

CInstructionWnd::CInstructionWnd()
{
    m_brush.CreateSolidBrush(PALETTERGB(198, 198, 222));
}

CInstructionWnd::~CInstructionWnd()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    DeleteChildren();
    delete m_pTabFont;
    m_pTabFont = NULL;
}

void CInstructionWnd::DeleteChildren()
{
    delete m_pTextBox;
    m_pTextBox = NULL;
    for (CDibButton** ppTab : {&m_pVideoTab, &m_pBubblesTab, &m_pSoundsTab, &m_pPicturesTab}) {
        delete *ppTab;
        *ppTab = NULL;
    }
}

int CInstructionWnd::WindowWidth(int nScreenClass)
{
    return kWidths[ClassIndex(nScreenClass)];
}

int CInstructionWnd::WindowHeight(int nScreenClass)
{
    return kHeights[ClassIndex(nScreenClass)];
}

BOOL CInstructionWnd::Create(LPCSTR lpszTitle, int x, int y, CWnd* pParent, UINT nID)
{
    LPCSTR lpszClass = AfxRegisterWndClass(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW));
    const int nClass = GetAppScreenClass();
    int nBottom = y + WindowHeight(nClass);
    if (pParent != NULL && pParent->GetSafeHwnd() != NULL) {
        CRect rectParent;
        pParent->GetClientRect(&rectParent);
        nBottom = std::min(nBottom, static_cast<int>(rectParent.bottom) - 12);
    }
    return CGenericTabWin::Create(lpszClass, lpszTitle, WS_CLIPCHILDREN | WS_CAPTION | WS_THICKFRAME,
                                  CRect(x, y, x + WindowWidth(nClass), nBottom), pParent, nID);
}

CString CInstructionWnd::PageText(UINT nCommand)
{
    switch (nCommand) {
    case INSTRUCT_CMD_BUBBLES: return LoadText(IDS_INSTRUCT_BUBBLES) + LoadText(IDS_INSTRUCT_MULTIPLE_VIEWS);
    case INSTRUCT_CMD_SOUNDS: return LoadText(IDS_INSTRUCT_SOUNDS);
    case INSTRUCT_CMD_VIDEO: return CString(g_szInstructVideoText);
    case INSTRUCT_CMD_PICTURES: return LoadText(IDS_INSTRUCT_PICTURES);
    default: return CString();
    }
}

CDibButton* CInstructionWnd::GetTabButton(UINT nCommand) const
{
    switch (nCommand) {
    case INSTRUCT_CMD_BUBBLES: return m_pBubblesTab;
    case INSTRUCT_CMD_SOUNDS: return m_pSoundsTab;
    case INSTRUCT_CMD_VIDEO: return m_pVideoTab;
    case INSTRUCT_CMD_PICTURES: return m_pPicturesTab;
    default: return NULL;
    }
}

int CInstructionWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CGenericTabWin::OnCreate(lpCreateStruct) == -1)
        return -1;
    CRect rectClient;
    GetClientRect(&rectClient);
    m_rectText = rectClient;
    m_rectText.DeflateRect(10, 10);
    m_rectText.top = 80;
    m_strPageText = LoadText(IDS_INSTRUCT_PICTURES);
    try {
        m_pTextBox = new CMiniArtThumb(TRUE);
        if (!m_pTextBox->Create(WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER | WS_VSCROLL, m_rectText, this))
            AfxThrowResourceException();
        m_pTextBox->SetBkColor(PALETTEINDEX(10));
        m_pTextBox->SetText(m_strPageText);

        m_pBubblesTab = new CDibButton(FALSE);
        m_pSoundsTab = new CDibButton(FALSE);
        m_pVideoTab = new CDibButton(FALSE);
        m_pPicturesTab = new CDibButton(FALSE);
    } catch (CException* e) {
        e->Delete();
        DeleteChildren();
        ::MessageBox(GetSafeHwnd(), INSTRUCT_CREATE_FAILED, NULL, MB_ICONEXCLAMATION);
        return 0;
    } catch (const std::bad_alloc&) {
        DeleteChildren();
        ::MessageBox(GetSafeHwnd(), INSTRUCT_CREATE_FAILED, NULL, MB_ICONEXCLAMATION);
        return 0;
    }

    const int nClass = GetAppScreenClass();
    m_rectTabs.SetRect(0, 0, WindowWidth(nClass), 80);
    int a = 8, b = 115;
    switch (nClass) {
    case 0: b = 108; break;
    case 1: b = 110; break;
    case 2: a = 10; b = 131; break;
    default: break;
    }
    // The labels stand right of their 13-pixel marks. The bold 14-pixel font is used when both
    // columns fit the window; else the second column moves right of the first one's labels and
    // the font shrinks until both fit (the narrow windows of the smaller screens).
    m_pTabFont = new CFont;
    {
        CClientDC dc(this);
        const int nRight = rectClient.right - 4;
        for (int nHeight = 14; nHeight >= 8; --nHeight) {
            m_pTabFont->DeleteObject();
            m_pTabFont->CreateFont(nHeight, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, FF_SWISS, "Arial");
            CFont* pOld = dc.SelectObject(m_pTabFont);
            const int nLeft = std::max(dc.GetTextExtent(CString("BUBBLE VIEWS")).cx, dc.GetTextExtent(CString("SOUNDS")).cx);
            const int nSecond = std::max(dc.GetTextExtent(CString("VIDEO")).cx, dc.GetTextExtent(CString("PICTURES")).cx);
            dc.SelectObject(pOld);
            const int bFit = std::max(b, a + 13 + 4 + nLeft + 6);
            if (bFit + 13 + 4 + nSecond <= nRight || nHeight == 8) {
                b = bFit;
                break;
            }
        }
    }
    const DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_OWNERDRAW;
    struct TAB {
        CDibButton* pButton;
        LPCSTR lpszLabel;
        CRect rect;
        UINT nId;
    } const tabs[] = {
        {m_pBubblesTab, "BUBBLE VIEWS", CRect(a, 5, 105, 18), INSTRUCT_CMD_BUBBLES},
        {m_pSoundsTab, "SOUNDS", CRect(a, 25, 110, 38), INSTRUCT_CMD_SOUNDS},
        {m_pVideoTab, "VIDEO", CRect(b, 5, b + 13, 18), INSTRUCT_CMD_VIDEO},
        {m_pPicturesTab, "PICTURES", CRect(b, 25, b + 13, 38), INSTRUCT_CMD_PICTURES},
    };
    for (const TAB& tab : tabs) {
        tab.pButton->Create(tab.lpszLabel, dwStyle, tab.rect, this, tab.nId);
        tab.pButton->LoadStateBitmaps(INSTRUCT_TAB_PICTURE, 0, 0, 0, INSTRUCT_TAB_PICTURE_CHOSEN);
        tab.pButton->SizeToBitmap();
        tab.pButton->ShowWindow(SW_SHOW);
    }
    m_pTextBox->ShowWindow(SW_SHOW);
    ShowPage(INSTRUCT_CMD_PICTURES);
    return 0;
}

void CInstructionWnd::ShowPage(UINT nCommand)
{
    if (nCommand != INSTRUCT_CMD_BUBBLES && nCommand != INSTRUCT_CMD_SOUNDS && nCommand != INSTRUCT_CMD_VIDEO &&
        nCommand != INSTRUCT_CMD_PICTURES)
        return;  // the animation and simulation pages do not exist here
    if (m_pTextBox == NULL)
        return;
    m_pTextBox->SetText(" ");
    for (UINT nTab : {INSTRUCT_CMD_BUBBLES, INSTRUCT_CMD_SOUNDS, INSTRUCT_CMD_VIDEO, INSTRUCT_CMD_PICTURES})
        if (CDibButton* pButton = GetTabButton(nTab))
            pButton->SetAlternate(nTab == nCommand);
    m_strPageText = PageText(nCommand);
    m_pTextBox->SetText(m_strPageText);
}

void CInstructionWnd::OnPageCommand(UINT nID)
{
    ShowPage(nID);
}

LRESULT CInstructionWnd::OnRadioChecked(WPARAM, LPARAM)
{
    struct {
        CDibButton* pButton;
        UINT nCommand;
    } const order[] = {{m_pBubblesTab, INSTRUCT_CMD_BUBBLES},
                       {m_pSoundsTab, INSTRUCT_CMD_SOUNDS},
                       {m_pVideoTab, INSTRUCT_CMD_VIDEO},
                       {m_pPicturesTab, INSTRUCT_CMD_PICTURES}};
    if (m_pTextBox == NULL)
        return 0;
    for (const auto& tab : order) {
        if (tab.pButton == NULL || tab.pButton->GetSafeHwnd() == NULL)
            continue;
        // A picture button keeps no check state of its own: its latched (alternate) look is it.
        if (tab.pButton->SendMessage(BM_GETCHECK, 0, 0) != 0 || tab.pButton->IsAlternate()) {
            // The string table's video page here, not the built-in one.
            m_strPageText = tab.nCommand == INSTRUCT_CMD_VIDEO ? LoadText(IDS_INSTRUCT_VIDEO) : PageText(tab.nCommand);
            m_pTextBox->SetText(m_strPageText);
            break;
        }
    }
    m_pTextBox->ShowWindow(SW_SHOW);
    return 0;
}

void CInstructionWnd::OnSize(UINT nType, int cx, int cy)
{
    CGenericTabWin::OnSize(nType, cx, cy);
    if (m_sizeLast == CSize(cx, cy))
        return;
    m_sizeLast = CSize(cx, cy);
    CRect rectClient;
    GetClientRect(&rectClient);
    m_rectTabs = rectClient;
    m_rectTabs.bottom = kTabAreaHeight;
    m_rectText = rectClient;
    m_rectText.DeflateRect(10, 10);
    m_rectText.top = kTabAreaHeight;
    if (m_pTextBox != NULL && m_pTextBox->GetSafeHwnd() != NULL)
        m_pTextBox->MoveWindow(&m_rectText, TRUE);
}

void CInstructionWnd::OnPaint()
{
    CPaintDC dc(this);
    CAppPaletteSelector palette(&dc);
    CRect rectClient;
    GetClientRect(&rectClient);
    dc.FillSolidRect(&rectClient, PALETTEINDEX(56));
    if (m_pTabFont == NULL)
        return;
    CFont* pOldFont = dc.SelectObject(m_pTabFont);
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    for (UINT nTab : {INSTRUCT_CMD_BUBBLES, INSTRUCT_CMD_SOUNDS, INSTRUCT_CMD_VIDEO, INSTRUCT_CMD_PICTURES}) {
        CDibButton* pButton = GetTabButton(nTab);
        if (pButton == NULL || pButton->GetSafeHwnd() == NULL)
            continue;
        CString strLabel;
        pButton->GetWindowText(strLabel);
        CRect rect;
        pButton->GetWindowRect(&rect);
        ScreenToClient(&rect);
        rect.left = rect.right + 4;
        rect.right = rectClient.right;
        CRect rectCalc = rect;
        dc.DrawText(strLabel, &rectCalc, DT_CALCRECT | DT_SINGLELINE);
        rect.right = rectCalc.right;
        dc.DrawText(strLabel, &rect, DT_VCENTER | DT_SINGLELINE);
    }
    dc.SetBkMode(nOldMode);
    dc.SelectObject(pOldFont);
}

HBRUSH CInstructionWnd::OnCtlColor(CDC* pDC, CWnd*, UINT nCtlColor)
{
    CAppPaletteSelector palette(pDC);
    if (nCtlColor == CTLCOLOR_BTN) {
        pDC->SetBkMode(OPAQUE);
        pDC->SetBkColor(PALETTEINDEX(56));
    } else if (nCtlColor == CTLCOLOR_STATIC) {
        pDC->SetBkColor(PALETTEINDEX(56));
    }
    return static_cast<HBRUSH>(m_brush.GetSafeHandle());
}

void CInstructionWnd::PostShown(BOOL bShown)
{
    if (CWnd* pView = AppServices().ui.pCurrentView)
        if (pView->GetSafeHwnd() != NULL)
            pView->PostMessage(VLM_CAPTION_SHOWN, WPARAM(bShown), reinterpret_cast<LPARAM>(this));
}

void CInstructionWnd::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CWnd* pParent = GetParent();
    if (pParent == NULL || pParent->GetSafeHwnd() == NULL || !pParent->IsWindowVisible())
        return;
    CGenericTabWin::OnShowWindow(bShow, nStatus);
    if (nStatus != SW_PARENTCLOSING)
        PostShown(bShow);
}

LRESULT CInstructionWnd::OnChildActivate(WPARAM, LPARAM)
{
    Default();
    PostShown(TRUE);
    return 0;
}
