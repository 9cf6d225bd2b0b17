#include "media/AudioTextThumb.h"

IMPLEMENT_DYNAMIC(CAudioTextThumb, CTextThumb)

BEGIN_MESSAGE_MAP(CAudioTextThumb, CTextThumb)
    ON_WM_CREATE()
    ON_WM_SHOWWINDOW()
    ON_MESSAGE(WM_CHILDACTIVATE, OnChildActivate)
END_MESSAGE_MAP()

CAudioTextThumb::CAudioTextThumb(CReference* pReference, const CString* pCaption, const CString* pTitle)
    : CTextThumb(pReference, pCaption, pTitle)
{
}

CAudioTextThumb::~CAudioTextThumb() = default;

int CAudioTextThumb::GetThumbWidth()
{
    CRect rect(0, 0, 0, 0);
    if (GetSafeHwnd() != NULL)
        GetClientRect(&rect);
    return rect.Width();
}

int CAudioTextThumb::GetThumbHeight()
{
    CRect rect(0, 0, 0, 0);
    if (GetSafeHwnd() != NULL)
        GetClientRect(&rect);
    return rect.Height();
}

int CAudioTextThumb::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CTextThumb::OnCreate(lpCreateStruct) == -1)
        return -1;
    CRect rcClient;
    GetClientRect(&rcClient);
    const int x = lpCreateStruct->x;
    const int y = lpCreateStruct->y;
    const int nTop = y + (rcClient.Height() - 16) / 2;
    m_rect4.SetRect(x - 20, nTop, x + 7, nTop + 17);
    m_playButton.SetPath(m_strAudioPath);
    CWnd* pParent = GetParent();
    if (pParent == NULL ||
        !m_playButton.Create("Audio Text thumb play", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_OWNERDRAW, m_rect4,
                             pParent, playButtonId))
        return 0;  // the card works without its button
    ShowWindow(SW_SHOWNA);
    m_playButton.LoadStateBitmaps(playBitmapId, playBitmapId);
    m_playButton.SetWindowPos(&wndTop, m_rect4.left, m_rect4.top, m_rect4.Width(), m_rect4.Height(), SWP_SHOWWINDOW);
    return 0;
}

void CAudioTextThumb::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CTextThumb::OnShowWindow(bShow, nStatus);
    if (m_playButton.GetSafeHwnd() == NULL)
        return;
    if (bShow)
        m_playButton.SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    else
        m_playButton.ShowWindow(SW_HIDE);
}

LRESULT CAudioTextThumb::OnChildActivate(WPARAM, LPARAM)
{
    Default();
    if (m_playButton.GetSafeHwnd() != NULL)
        m_playButton.SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    return 0;
}
