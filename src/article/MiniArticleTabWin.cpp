#include "article/MiniArticleTabWin.h"

#include "base/ClipboardText.h"

#include "base/PaletteSelector.h"
#include "base/Reference.h"
#include "widgets/MiniArtThumb.h"

#include <afxres.h>

#include <cstring>

BEGIN_MESSAGE_MAP(CMiniArticleTabWin, CGenericTabWin)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

CMiniArticleTabWin::CMiniArticleTabWin() = default;

CMiniArticleTabWin::~CMiniArticleTabWin()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    DestroyThumb();
}

COLORREF CMiniArticleTabWin::GetCaptionColor()
{
    return PALETTERGB(74, 74, 148);
}

COLORREF CMiniArticleTabWin::GetActiveTextColor()
{
    return PALETTERGB(255, 255, 255);
}

COLORREF CMiniArticleTabWin::GetInactiveTextColor()
{
    return PALETTERGB(198, 198, 222);
}

void CMiniArticleTabWin::DestroyThumb()
{
    if (m_pThumb == NULL)
        return;
    CMiniArtThumb* pThumb = m_pThumb;
    m_pThumb = NULL;
    if (pThumb->GetSafeHwnd() != NULL)
        pThumb->DestroyWindow();
    delete pThumb;
}

void CMiniArticleTabWin::ShowMiniArticle(const CReference* pReference)
{
    CRect client;
    GetClientRect(&client);
    DestroyThumb();
    m_pThumb = new CMiniArtThumb(pReference);
    m_pThumb->SetBkColor(PALETTERGB(255, 255, 255));
    if (!m_pThumb->Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_VSCROLL, client, this)) {
        DestroyThumb();
        return;
    }
    m_pThumb->MoveWindow(&client, TRUE);
    m_pThumb->Invalidate();
    m_pThumb->UpdateWindow();
}

BOOL CMiniArticleTabWin::CanCopy() const
{
    return m_pThumb != NULL && !m_pThumb->GetCopyText().IsEmpty();
}

BOOL CMiniArticleTabWin::CopyToClipboard()
{
    return m_pThumb != NULL && CopyTextToClipboard(this, m_pThumb->GetCopyText());
}

int CMiniArticleTabWin::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    return CGenericTabWin::OnCreate(lpCreateStruct) == -1 ? -1 : 0;
}

void CMiniArticleTabWin::OnSize(UINT nType, int cx, int cy)
{
    CGenericTabWin::OnSize(nType, cx, cy);
    if (m_pThumb != NULL && m_pThumb->GetSafeHwnd() != NULL) {
        m_pThumb->MoveWindow(0, 0, cx, cy, TRUE);
        m_pThumb->Invalidate();
    }
}

void CMiniArticleTabWin::OnPaint()
{
    CPaintDC dc(this);
    CPalettePaintDC palette(&dc, TRUE);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, PALETTERGB(255, 255, 255));
    if (m_pThumb != NULL && m_pThumb->GetSafeHwnd() != NULL)
        m_pThumb->Invalidate(TRUE);
}

void CMiniArticleTabWin::OnClose()
{
    CGenericTabWin::OnClose();
    if (CWnd* pParent = GetParent()) {
        pParent->Invalidate();
        pParent->SetFocus();
    }
}

void CMiniArticleTabWin::OnDestroy()
{
    DestroyThumb();
    CGenericTabWin::OnDestroy();
}

void CMiniArticleTabWin::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == 'C' && (::GetKeyState(VK_CONTROL) & 0x8000) != 0) {
        if (CWnd* pParent = GetParent())
            pParent->SendMessage(WM_COMMAND, ID_EDIT_COPY, 0);
        return;
    }
    CGenericTabWin::OnKeyDown(nChar, nRepCnt, nFlags);
}
