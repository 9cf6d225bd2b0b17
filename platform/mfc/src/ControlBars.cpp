// CControlBar, CToolBar and CStatusBar: the frame's bars, their drawing, their buttons and panes,
// and their update at idle time through the frame's command routing.
#include <afxext.h>

#include <algorithm>

IMPLEMENT_DYNAMIC(CControlBar, CWnd)
IMPLEMENT_DYNAMIC(CToolBar, CControlBar)
IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

namespace {

// The raised look of a button face or a bar's edge; sunken swaps the edges' colours.
void Edge(HDC hdc, const RECT& r, bool sunken)
{
    HBRUSH light = ::GetSysColorBrush(COLOR_BTNHIGHLIGHT);
    HBRUSH dark = ::GetSysColorBrush(COLOR_BTNSHADOW);
    HBRUSH topLeft = sunken ? dark : light;
    HBRUSH bottomRight = sunken ? light : dark;
    RECT top = {r.left, r.top, r.right, r.top + 1};
    RECT left = {r.left, r.top, r.left + 1, r.bottom};
    RECT bottom = {r.left, r.bottom - 1, r.right, r.bottom};
    RECT right = {r.right - 1, r.top, r.right, r.bottom};
    ::FillRect(hdc, &top, topLeft);
    ::FillRect(hdc, &left, topLeft);
    ::FillRect(hdc, &bottom, bottomRight);
    ::FillRect(hdc, &right, bottomRight);
}

// Separators between toolbar buttons.
constexpr int kSeparatorWidth = 8;
// The gap around the toolbar's buttons and the status bar's panes.
constexpr int kBarBorder = 2;

// Repaints one item (button or pane) of a bar.
template <class Bar>
void InvalidateItem(Bar& bar, int nIndex)
{
    CRect rect;
    bar.GetItemRect(nIndex, &rect);
    bar.InvalidateRect(&rect);
}

// The style of a bar's item; 0 for an index out of range.
template <class Items>
UINT ItemStyle(const Items& items, int nIndex)
{
    return nIndex >= 0 && static_cast<size_t>(nIndex) < items.size() ? items[static_cast<size_t>(nIndex)].style : 0;
}

// Gives a bar's item a new style and repaints it; nothing for an index out of range or the same style.
template <class Bar, class Items>
void SetItemStyle(Bar& bar, Items& items, int nIndex, UINT nStyle)
{
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= items.size() || items[static_cast<size_t>(nIndex)].style == nStyle)
        return;
    items[static_cast<size_t>(nIndex)].style = nStyle;
    InvalidateItem(bar, nIndex);
}

}  // namespace

// ---- CControlBar --------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CControlBar::CControlBar() : m_bAutoDelete(FALSE), m_dwStyle(0) {}

CControlBar::~CControlBar()
{
    if (m_hWnd != NULL)
        DestroyWindow();
}

BOOL CControlBar::CreateBar(CWnd* pParentWnd, DWORD dwStyle, UINT nID, DWORD dwDefaultEdge)
{
    m_dwStyle = dwStyle & CBRS_ALIGN_ANY;
    if (m_dwStyle == 0)
        m_dwStyle = dwDefaultEdge;
    LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursorA(NULL, IDC_ARROW), ::GetSysColorBrush(COLOR_BTNFACE));
    CRect rect(0, 0, 0, 0);
    return CWnd::Create(cls, NULL, (dwStyle & 0xFFFF0000L) | WS_CHILD | WS_CLIPSIBLINGS, rect, pParentWnd, nID);
}

void CControlBar::PostNcDestroy()
{
    if (m_bAutoDelete)
        delete this;
}

BOOL CControlBar::IsVisible() const
{
    return m_hWnd != NULL && (GetStyle() & WS_VISIBLE) != 0;
}

CFrameWnd* CControlBar::GetDockingFrame() const
{
    return dynamic_cast<CFrameWnd*>(GetParent());
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    if (!IsVisible())
        return 0;
    CWnd* owner = GetOwner();
    auto* target = dynamic_cast<CFrameWnd*>(owner != NULL ? owner : GetParent());
    if (target != NULL)
        OnUpdateCmdUI(target, static_cast<BOOL>(wParam));
    return 0;
}

BOOL CControlBar::OnEraseBkgnd(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    ::FillRect(pDC->GetSafeHdc(), &client, ::GetSysColorBrush(COLOR_BTNFACE));
    return TRUE;
}

// ---- CToolBar -----------------------------------------------------------------------------------

namespace {

// A button's state as its update handler sets it.
class CToolCmdUI : public CCmdUI {
public:
    CToolBar* bar = nullptr;
    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        UINT style = bar->GetButtonStyle(static_cast<int>(m_nIndex));
        UINT next = bOn ? (style & ~TBBS_DISABLED) : (style | TBBS_DISABLED);
        if (!bOn)
            next &= ~TBBS_PRESSED;
        if (next != style)
            bar->SetButtonStyle(static_cast<int>(m_nIndex), next);
    }
    void SetCheck(int nCheck) override
    {
        UINT style = bar->GetButtonStyle(static_cast<int>(m_nIndex)) & ~(TBBS_CHECKED | TBBS_INDETERMINATE);
        if (nCheck == 1)
            style |= TBBS_CHECKED;
        else if (nCheck == 2)
            style |= TBBS_INDETERMINATE;
        bar->SetButtonStyle(static_cast<int>(m_nIndex), style | TBBS_CHECKBOX);
    }
    void SetText(LPCSTR) override {}
};

}  // namespace

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_CANCELMODE()
END_MESSAGE_MAP()

CToolBar::CToolBar()
    : m_hbmImageWell(NULL), m_sizeButton(23, 22), m_sizeImage(16, 15), m_nPressed(-1), m_bPressedInside(FALSE)
{
}

CToolBar::~CToolBar()
{
    if (m_hWnd != NULL)
        DestroyWindow();
    if (m_hbmImageWell != NULL)
        ::DeleteObject(m_hbmImageWell);
}

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateBar(pParentWnd, dwStyle, nID, CBRS_TOP);
}

BOOL CToolBar::LoadBitmap(LPCSTR lpszResourceName)
{
    HBITMAP bitmap = ::LoadBitmap(AfxGetResourceHandle(), lpszResourceName);
    if (bitmap == NULL)
        return FALSE;
    if (m_hbmImageWell != NULL)
        ::DeleteObject(m_hbmImageWell);
    m_hbmImageWell = bitmap;
    Invalidate();
    return TRUE;
}

BOOL CToolBar::LoadBitmap(UINT nIDResource)
{
    return LoadBitmap(MAKEINTRESOURCE(nIDResource));
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount)
{
    m_buttons.clear();
    int image = 0;
    for (int i = 0; i < nIDCount; ++i) {
        UINT id = lpIDArray != NULL ? lpIDArray[i] : ID_SEPARATOR;
        if (id == ID_SEPARATOR)
            m_buttons.push_back({ID_SEPARATOR, TBBS_SEPARATOR, -1});
        else
            m_buttons.push_back({id, TBBS_BUTTON, image++});
    }
    Invalidate();
    return TRUE;
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage)
{
    m_sizeButton = sizeButton;
    m_sizeImage = sizeImage;
    Invalidate();
}

int CToolBar::CommandToIndex(UINT nIDFind) const
{
    for (size_t i = 0; i < m_buttons.size(); ++i)
        if (m_buttons[i].id == nIDFind && m_buttons[i].style != TBBS_SEPARATOR)
            return static_cast<int>(i);
    return -1;
}

UINT CToolBar::GetItemID(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_buttons[static_cast<size_t>(nIndex)].id : ID_SEPARATOR;
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    int x = kBarBorder + 4;
    for (int i = 0; i < GetCount(); ++i) {
        bool separator = (m_buttons[static_cast<size_t>(i)].style & TBBS_SEPARATOR) != 0;
        int width = separator ? kSeparatorWidth : m_sizeButton.cx;
        if (i == nIndex) {
            ::SetRect(lpRect, x, kBarBorder, x + width, kBarBorder + m_sizeButton.cy);
            return;
        }
        x += width;
    }
    ::SetRectEmpty(lpRect);
}

UINT CToolBar::GetButtonStyle(int nIndex) const
{
    return ItemStyle(m_buttons, nIndex);
}

void CToolBar::SetButtonStyle(int nIndex, UINT nStyle)
{
    SetItemStyle(*this, m_buttons, nIndex, nStyle);
}

CSize CToolBar::CalcFixedLayout(BOOL, BOOL)
{
    return CSize(32767, m_sizeButton.cy + 2 * kBarBorder + 2);
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    CToolCmdUI state;
    state.bar = this;
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(GetCount());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
        const Button& button = m_buttons[state.m_nIndex];
        if (button.style & TBBS_SEPARATOR)
            continue;
        state.m_nID = button.id;
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
}

int CToolBar::HitTest(CPoint point) const
{
    for (int i = 0; i < GetCount(); ++i) {
        if (m_buttons[static_cast<size_t>(i)].style & TBBS_SEPARATOR)
            continue;
        CRect rect;
        GetItemRect(i, &rect);
        if (rect.PtInRect(point))
            return i;
    }
    return -1;
}

void CToolBar::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    CRect client;
    GetClientRect(&client);
    ::FillRect(hdc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    // A line sets the bar off from the menu above it.
    RECT line = {client.left, client.top, client.right, client.top + 1};
    ::FillRect(hdc, &line, ::GetSysColorBrush(COLOR_BTNHIGHLIGHT));
    HDC images = m_hbmImageWell != NULL ? ::CreateCompatibleDC(hdc) : NULL;
    HGDIOBJ old = images != NULL ? ::SelectObject(images, m_hbmImageWell) : NULL;
    for (int i = 0; i < GetCount(); ++i) {
        const Button& button = m_buttons[static_cast<size_t>(i)];
        CRect rect;
        GetItemRect(i, &rect);
        if (button.style & TBBS_SEPARATOR) {
            RECT shade = {rect.left + 3, rect.top + 1, rect.left + 4, rect.bottom - 1};
            RECT light = {rect.left + 4, rect.top + 1, rect.left + 5, rect.bottom - 1};
            ::FillRect(hdc, &shade, ::GetSysColorBrush(COLOR_BTNSHADOW));
            ::FillRect(hdc, &light, ::GetSysColorBrush(COLOR_BTNHIGHLIGHT));
            continue;
        }
        bool down = (button.style & (TBBS_PRESSED | TBBS_CHECKED)) != 0 || (i == m_nPressed && m_bPressedInside);
        Edge(hdc, rect, down);
        int x = rect.left + (rect.Width() - m_sizeImage.cx) / 2 + (down ? 1 : 0);
        int y = rect.top + (rect.Height() - m_sizeImage.cy) / 2 + (down ? 1 : 0);
        if (images != NULL)
            ::BitBlt(hdc, x, y, m_sizeImage.cx, m_sizeImage.cy, images, button.image * m_sizeImage.cx, 0, SRCCOPY);
        if (button.style & TBBS_DISABLED) {
            // Greyed: the picture washed out towards the face colour.
            HBRUSH wash = ::CreateSolidBrush(RGB(128, 128, 128));
            HGDIOBJ oldBrush = ::SelectObject(hdc, wash);
            ::PatBlt(hdc, x, y, m_sizeImage.cx, m_sizeImage.cy, 0x00FA0089);  // DPo
            ::SelectObject(hdc, oldBrush);
            ::DeleteObject(wash);
        }
    }
    if (images != NULL) {
        ::SelectObject(images, old);
        ::DeleteDC(images);
    }
    ::EndPaint(m_hWnd, &ps);
}

void CToolBar::OnLButtonDown(UINT, CPoint point)
{
    int hit = HitTest(point);
    if (hit < 0 || (m_buttons[static_cast<size_t>(hit)].style & TBBS_DISABLED))
        return;
    m_nPressed = hit;
    m_bPressedInside = TRUE;
    SetCapture();
    CRect rect;
    GetItemRect(hit, &rect);
    InvalidateRect(&rect);
    UpdateWindow();
}

void CToolBar::OnMouseMove(UINT, CPoint point)
{
    if (m_nPressed < 0)
        return;
    BOOL inside = HitTest(point) == m_nPressed;
    if (inside != m_bPressedInside) {
        m_bPressedInside = inside;
        CRect rect;
        GetItemRect(m_nPressed, &rect);
        InvalidateRect(&rect);
    }
}

void CToolBar::OnLButtonUp(UINT, CPoint point)
{
    if (m_nPressed < 0)
        return;
    int pressed = m_nPressed;
    BOOL inside = HitTest(point) == pressed;
    m_nPressed = -1;
    m_bPressedInside = FALSE;
    ::ReleaseCapture();
    CRect rect;
    GetItemRect(pressed, &rect);
    InvalidateRect(&rect);
    if (!inside)
        return;
    UINT id = m_buttons[static_cast<size_t>(pressed)].id;
    CWnd* owner = GetOwner();
    if (owner == NULL)
        owner = GetParent();
    if (owner != NULL)
        owner->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(m_hWnd));
}

void CToolBar::OnCancelMode()
{
    if (m_nPressed >= 0) {
        m_nPressed = -1;
        m_bPressedInside = FALSE;
        ::ReleaseCapture();
        Invalidate();
    }
}

// ---- CStatusBar ---------------------------------------------------------------------------------

namespace {

// An indicator pane's state: shown (its text) or blank.
class CStatusCmdUI : public CCmdUI {
public:
    CStatusBar* bar = nullptr;
    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        UINT style = bar->GetPaneStyle(static_cast<int>(m_nIndex));
        UINT next = bOn ? (style & ~SBPS_DISABLED) : (style | SBPS_DISABLED);
        if (next != style)
            bar->SetPaneStyle(static_cast<int>(m_nIndex), next);
    }
    void SetCheck(int nCheck) override
    {
        UINT style = bar->GetPaneStyle(static_cast<int>(m_nIndex));
        UINT next = nCheck ? (style | SBPS_POPOUT) : (style & ~SBPS_POPOUT);
        if (next != style)
            bar->SetPaneStyle(static_cast<int>(m_nIndex), next);
    }
    void SetText(LPCSTR lpszText) override { bar->SetPaneText(static_cast<int>(m_nIndex), lpszText); }
};

}  // namespace

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
ON_WM_PAINT()
ON_WM_SIZE()
ON_MESSAGE(WM_SETTEXT, OnSetText)
ON_MESSAGE(WM_GETTEXT, OnGetText)
ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
END_MESSAGE_MAP()

CStatusBar::CStatusBar() : m_hFont(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))) {}

CStatusBar::~CStatusBar()
{
    if (m_hWnd != NULL)
        DestroyWindow();
}

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateBar(pParentWnd, dwStyle, nID, CBRS_BOTTOM);
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    m_panes.clear();
    BOOL ok = TRUE;
    HDC hdc = ::GetDC(m_hWnd);
    HGDIOBJ old = ::SelectObject(hdc, m_hFont);
    for (int i = 0; i < nIDCount; ++i) {
        Pane pane{lpIDArray != NULL ? lpIDArray[i] : ID_SEPARATOR, SBPS_NORMAL, 0, CString()};
        if (pane.id == ID_SEPARATOR) {
            pane.style = SBPS_STRETCH | SBPS_NOBORDERS;
        } else {
            if (!AfxLoadString(pane.id, pane.text))
                ok = FALSE;
            SIZE extent = {0, 0};
            ::GetTextExtentPoint32A(hdc, pane.text, pane.text.GetLength(), &extent);
            pane.width = extent.cx + 8;
        }
        m_panes.push_back(pane);
    }
    ::SelectObject(hdc, old);
    ::ReleaseDC(m_hWnd, hdc);
    Layout();
    Invalidate();
    return ok;
}

int CStatusBar::CommandToIndex(UINT nIDFind) const
{
    for (size_t i = 0; i < m_panes.size(); ++i)
        if (m_panes[i].id == nIDFind)
            return static_cast<int>(i);
    return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_panes[static_cast<size_t>(nIndex)].id : ID_SEPARATOR;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    if (nIndex >= 0 && static_cast<size_t>(nIndex) < m_rects.size())
        *lpRect = m_rects[static_cast<size_t>(nIndex)];
    else
        ::SetRectEmpty(lpRect);
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate)
{
    if (nIndex < 0 || nIndex >= GetCount())
        return FALSE;
    Pane& pane = m_panes[static_cast<size_t>(nIndex)];
    CString text = lpszNewText != NULL ? lpszNewText : "";
    if (pane.text == text)
        return TRUE;
    pane.text = text;
    if (bUpdate && m_hWnd != NULL)
        InvalidateItem(*this, nIndex);
    return TRUE;
}

CString CStatusBar::GetPaneText(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_panes[static_cast<size_t>(nIndex)].text : CString();
}

UINT CStatusBar::GetPaneStyle(int nIndex) const
{
    return ItemStyle(m_panes, nIndex);
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle)
{
    SetItemStyle(*this, m_panes, nIndex, nStyle);
}

CString CStatusBar::GetShownText(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount() || (m_panes[static_cast<size_t>(nIndex)].style & SBPS_DISABLED))
        return CString();
    return m_panes[static_cast<size_t>(nIndex)].text;
}

CSize CStatusBar::CalcFixedLayout(BOOL, BOOL)
{
    TEXTMETRICA tm = {};
    HDC hdc = ::GetDC(m_hWnd);
    HGDIOBJ old = ::SelectObject(hdc, m_hFont);
    ::GetTextMetricsA(hdc, &tm);
    ::SelectObject(hdc, old);
    ::ReleaseDC(m_hWnd, hdc);
    return CSize(32767, static_cast<int>(tm.tmHeight) + 2 * kBarBorder + 4);
}

void CStatusBar::Layout()
{
    m_rects.assign(m_panes.size(), CRect(0, 0, 0, 0));
    if (m_hWnd == NULL)
        return;
    CRect client;
    GetClientRect(&client);
    int fixed = 0;
    for (const Pane& pane : m_panes)
        if (!(pane.style & SBPS_STRETCH))
            fixed += pane.width + kBarBorder;
    int stretch = std::max(0, client.Width() - fixed - 2 * kBarBorder);
    int x = kBarBorder;
    for (size_t i = 0; i < m_panes.size(); ++i) {
        int width = (m_panes[i].style & SBPS_STRETCH) ? stretch : m_panes[i].width;
        m_rects[i] = CRect(x, kBarBorder, x + width, client.bottom - kBarBorder);
        x += width + kBarBorder;
    }
}

void CStatusBar::OnSize(UINT nType, int cx, int cy)
{
    CControlBar::OnSize(nType, cx, cy);
    Layout();
    Invalidate();
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    CStatusCmdUI state;
    state.bar = this;
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(GetCount());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
        state.m_nID = m_panes[state.m_nIndex].id;
        // The message pane is the frame's to set.
        if (state.m_nID == ID_SEPARATOR)
            continue;
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
}

void CStatusBar::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    CRect client;
    GetClientRect(&client);
    ::FillRect(hdc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    HGDIOBJ oldFont = ::SelectObject(hdc, m_hFont);
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, ::GetSysColor(COLOR_BTNTEXT));
    for (int i = 0; i < GetCount(); ++i) {
        CRect rect;
        GetItemRect(i, &rect);
        if (!(m_panes[static_cast<size_t>(i)].style & SBPS_NOBORDERS))
            Edge(hdc, rect, !(m_panes[static_cast<size_t>(i)].style & SBPS_POPOUT));
        CString text = GetShownText(i);
        CRect inner = rect;
        inner.DeflateRect(3, 1);
        ::DrawTextA(hdc, text, text.GetLength(), &inner,
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | (i == 0 ? DT_LEFT : DT_CENTER));
    }
    ::SelectObject(hdc, oldFont);
    ::EndPaint(m_hWnd, &ps);
}

LRESULT CStatusBar::OnSetText(WPARAM, LPARAM lParam)
{
    // The window's text is its first pane's.
    int index = CommandToIndex(ID_SEPARATOR);
    SetPaneText(index < 0 ? 0 : index, reinterpret_cast<LPCSTR>(lParam));
    return TRUE;
}

LRESULT CStatusBar::OnGetText(WPARAM wParam, LPARAM lParam)
{
    int index = CommandToIndex(ID_SEPARATOR);
    CString text = GetPaneText(index < 0 ? 0 : index);
    auto* buffer = reinterpret_cast<LPSTR>(lParam);
    if (buffer == NULL || wParam == 0)
        return 0;
    int n = std::min(static_cast<int>(wParam) - 1, text.GetLength());
    std::memcpy(buffer, static_cast<LPCSTR>(text), static_cast<size_t>(n));
    buffer[n] = '\0';
    return n;
}

LRESULT CStatusBar::OnGetTextLength(WPARAM, LPARAM)
{
    int index = CommandToIndex(ID_SEPARATOR);
    return GetPaneText(index < 0 ? 0 : index).GetLength();
}
